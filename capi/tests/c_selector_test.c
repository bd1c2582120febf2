/* Channel selectors: every selector error is reported before any call reaches
   the driver, with its status and text on the session. */
#include "c_check.h"
#include "capi/motqr.h"

static void expect(ViSession vi, ViStatus status, ViStatus expected, const char* text) {
  ViStatus code = 0;
  CHECK_STATUS(expected, status);
  CHECK_TEXT(text, c_check_error(vi, &code));
  CHECK_STATUS(expected, code);
}

static const char* kBadlyFormed = "The repeated capability selector is badly-formed.";
static const char* kInvalidRange = "Invalid range specified in repeated capability selector.";
static const char* kLevels =
    "Invalid or inconsistent number of levels specified in repeated capability selector.";

/* A status other than a selector error: either done or failed with a text. */
static void expect_past_selector(ViSession vi, ViStatus status) {
  ViStatus code = 0;
  const char* text;
  CHECK(status != MOTQR_ERROR_BADLY_FORMED_SELECTOR);
  CHECK(status != MOTQR_ERROR_INVALID_RANGE_IN_SELECTOR);
  CHECK(status != MOTQR_ERROR_INVALID_NUMBER_OF_LEVELS_IN_SELECTOR);
  text = c_check_error(vi, &code);
  if (status < 0) CHECK(strlen(text) > 0);
}

int main(void) {
  ViSession vi = c_check_open();
  ViReal64 value = 0;
  if (!vi) return c_check_failures;

  /* Functions that return a value take no range. */
  expect(vi, motqr_Measure(vi, "OutputChannel1-OutputChannel1", 0, &value),
         MOTQR_ERROR_BADLY_FORMED_SELECTOR, kBadlyFormed);
  expect(vi, motqr_QueryOCPLevelMinMax(vi, "OutputChannel1-OutputChannel1", &value, &value),
         MOTQR_ERROR_BADLY_FORMED_SELECTOR, kBadlyFormed);
  /* Ranges need one prefix and ascending numbers. */
  expect(vi, motqr_ResetOutputProtection(vi, "OutputChannel2-OutputChannel1"),
         MOTQR_ERROR_INVALID_RANGE_IN_SELECTOR, kInvalidRange);
  expect(vi, motqr_Clear(vi, "OutputChannel1-Output1"), MOTQR_ERROR_INVALID_RANGE_IN_SELECTOR,
         kInvalidRange);
  expect(vi, motqr_Clear(vi, "[OutputChannel1"), MOTQR_ERROR_BADLY_FORMED_SELECTOR, kBadlyFormed);
  expect(vi, motqr_Clear(vi, "OutputChannel1,,OutputChannel1"), MOTQR_ERROR_BADLY_FORMED_SELECTOR,
         kBadlyFormed);
  expect(vi, motqr_Clear(vi, "Output Channel1"), MOTQR_ERROR_BADLY_FORMED_SELECTOR, kBadlyFormed);
  expect(vi, motqr_SetAttributeViReal64(vi, "OutputChannel1:Sub", MOTQR_ATTR_VOLTAGE_LEVEL, 1.0),
         MOTQR_ERROR_INVALID_NUMBER_OF_LEVELS_IN_SELECTOR, kLevels);
  /* Every level is checked element by element. */
  expect(vi, motqr_Clear(vi, "a b:c"), MOTQR_ERROR_BADLY_FORMED_SELECTOR, kBadlyFormed);
  /* A range longer than any list of channels expands; its second name is unknown. */
  expect(vi, motqr_Clear(vi, "OutputChannel1-OutputChannel5000"),
         MOTQR_ERROR_UNKNOWN_PHYSICAL_IDENTIFIER,
         "MorvaneTqr: Unknown physical repeated capability selector.\r\nOutputChannel2");
  /* Well-formed selectors get past the expansion. */
  expect_past_selector(vi, motqr_Clear(vi, " OutputChannel1 - OutputChannel1 "));
  expect_past_selector(vi, motqr_Clear(vi, "[OutputChannel1]"));
  expect_past_selector(vi, motqr_Measure(vi, "OutputChannel1, OutputChannel1", 0, &value));
  expect_past_selector(vi, motqr_GetCurrentLevel(vi, "", &value));
  expect_past_selector(vi, motqr_ConfigureVoltageLevel(vi, NULL, 1.0));
  motqr_close(vi);
  return c_check_failures;
}
