/* Channel functions and channel attributes on a simulated session: selectors
   reach the output, setters run once per expanded name, getters read the first. */
#include "c_check.h"

static void channel_attributes(ViSession vi) {
  ViReal64 value = 0;
  ViInt32 mode = -1;
  ViBoolean enabled = VI_FALSE;
  CHECK_STATUS(0, motqr_SetCurrentLevel(vi, "OutputChannel1", 2.5));
  CHECK_STATUS(0, motqr_GetCurrentLevel(vi, "", &value));
  CHECK(value == 2.5);
  /* A range over the one output sets it; a comma list reads the first name. */
  CHECK_STATUS(0, motqr_SetAttributeViReal64(vi, "OutputChannel1-OutputChannel1",
                                             MOTQR_ATTR_VOLTAGE_LEVEL, 3.0));
  CHECK_STATUS(0, motqr_GetAttributeViReal64(vi, "outputchannel1, OutputChannel1",
                                             MOTQR_ATTR_VOLTAGE_LEVEL, &value));
  CHECK(value == 3.0);
  CHECK_STATUS(0, motqr_ConfigureVoltageLevel(vi, "[OutputChannel1]", 4.0));
  CHECK_STATUS(0, motqr_GetAttributeViReal64(vi, NULL, MOTQR_ATTR_VOLTAGE_LEVEL, &value));
  CHECK(value == 4.0);
  /* Enumerations travel as their values; booleans read back as VI_TRUE. */
  CHECK_STATUS(0, motqr_SetCurrentMode(vi, "", MOTQR_VAL_OUTPUT_FUNCTION_MODE_PULSE));
  CHECK_STATUS(0, motqr_GetCurrentMode(vi, "", &mode));
  CHECK_STATUS(MOTQR_VAL_OUTPUT_FUNCTION_MODE_PULSE, mode);
  CHECK_STATUS(0, motqr_ConfigureOutputEnabled(vi, "", 7));
  CHECK_STATUS(0, motqr_GetAttributeViBoolean(vi, "", MOTQR_ATTR_OUTPUT_ENABLED, &enabled));
  CHECK(enabled == VI_TRUE);
}

static void channel_names(ViSession vi) {
  ViChar name[32];
  ViInt32 count = 0;
  ViStatus code = 0;
  ViReal64 value = 0;
  CHECK_STATUS(0, motqr_GetAttributeViInt32(vi, "", MOTQR_ATTR_CHANNEL_COUNT, &count));
  CHECK_STATUS(1, count);
  CHECK_STATUS(0, motqr_GetChannelName(vi, 1, (ViInt32)sizeof name, name));
  CHECK_TEXT("OutputChannel1", name);
  CHECK_STATUS(15, motqr_GetChannelName(vi, 1, 0, NULL));
  CHECK_STATUS(MOTQR_ERROR_INVALID_VALUE, motqr_GetChannelName(vi, 2, (ViInt32)sizeof name, name));
  CHECK(strstr(c_check_error(vi, &code), "Index") != NULL);
  /* An unknown name fails before anything is set, with the driver's text. */
  CHECK_STATUS(MOTQR_ERROR_UNKNOWN_PHYSICAL_IDENTIFIER,
               motqr_SetCurrentLevel(vi, "OutputChannel1,Nope", 1.0));
  CHECK(strstr(c_check_error(vi, &code), "Unknown physical repeated capability selector.") != NULL);
  CHECK_STATUS(0, motqr_GetCurrentLevel(vi, "", &value));
  CHECK(value == 2.5);
}

static void text_attribute(ViSession vi) {
  ViChar zone[16];
  CHECK_STATUS(0, motqr_SetTimeZone(vi, "UTC+1"));
  CHECK_STATUS(6, motqr_GetTimeZone(vi, 0, zone));
  CHECK_STATUS(0, motqr_GetTimeZone(vi, (ViInt32)sizeof zone, zone));
  CHECK_TEXT("UTC+1", zone);
}

static void revisions(ViSession vi) {
  ViChar driver[MOTQR_MAX_MESSAGE_BUF_SIZE], instrument[MOTQR_MAX_MESSAGE_BUF_SIZE];
  ViInt16 result = -1;
  CHECK_STATUS(0, motqr_revision_query(vi, driver, instrument));
  CHECK(strlen(driver) > 0 && strlen(instrument) > 0);
  CHECK_STATUS(0, motqr_self_test(vi, &result, driver));
  CHECK_STATUS(0, result);
}

/* The same channel name in turns on two sessions, then on a session opened after
   one closed: each call reaches its own session's output, never one seen before. */
static void one_name_on_several_sessions(void) {
  ViSession a = c_check_open(), b = c_check_open(), c = VI_NULL;
  ViReal64 value = 0;
  int i;
  if (!a || !b) return;
  CHECK_STATUS(0, motqr_SetAttributeViReal64(a, "OutputChannel1", MOTQR_ATTR_VOLTAGE_LEVEL, 1.0));
  CHECK_STATUS(0, motqr_SetAttributeViReal64(b, "OutputChannel1", MOTQR_ATTR_VOLTAGE_LEVEL, 2.0));
  for (i = 0; i < 3; ++i) {
    CHECK_STATUS(0,
                 motqr_GetAttributeViReal64(a, "OutputChannel1", MOTQR_ATTR_VOLTAGE_LEVEL, &value));
    CHECK(value == 1.0);
    CHECK_STATUS(0,
                 motqr_GetAttributeViReal64(b, "OutputChannel1", MOTQR_ATTR_VOLTAGE_LEVEL, &value));
    CHECK(value == 2.0);
  }
  CHECK_STATUS(0, motqr_close(a));
  CHECK_STATUS(MOTQR_ERROR_INVALID_SESSION_HANDLE,
               motqr_GetAttributeViReal64(a, "OutputChannel1", MOTQR_ATTR_VOLTAGE_LEVEL, &value));
  c = c_check_open();
  if (c) {
    /* A new session starts from zero, whatever handle it was given. */
    CHECK_STATUS(0,
                 motqr_GetAttributeViReal64(c, "OutputChannel1", MOTQR_ATTR_VOLTAGE_LEVEL, &value));
    CHECK(value == 0.0);
    CHECK_STATUS(0, motqr_SetAttributeViReal64(c, "OutputChannel1", MOTQR_ATTR_VOLTAGE_LEVEL, 3.0));
    CHECK_STATUS(0,
                 motqr_GetAttributeViReal64(c, "OutputChannel1", MOTQR_ATTR_VOLTAGE_LEVEL, &value));
    CHECK(value == 3.0);
    CHECK_STATUS(0, motqr_close(c));
  }
  CHECK_STATUS(0,
               motqr_GetAttributeViReal64(b, "OutputChannel1", MOTQR_ATTR_VOLTAGE_LEVEL, &value));
  CHECK(value == 2.0);
  CHECK_STATUS(0, motqr_close(b));
}

int main(void) {
  ViSession vi;
  one_name_on_several_sessions();
  vi = c_check_open();
  if (!vi) return c_check_failures;
  channel_attributes(vi);
  channel_names(vi);
  text_attribute(vi);
  revisions(vi);
  CHECK_STATUS(0, motqr_close(vi));
  return c_check_failures;
}
