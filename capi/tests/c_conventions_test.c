/* The text-result and array-result conventions at their boundaries, and the
   attribute map's refusals. */
#include "c_check.h"
#include "capi/motqr.h"

#define PREFIX MOTQR_ATTR_SPECIFIC_DRIVER_PREFIX /* the text "motqr": L = 5 */

static ViStatus prefix(ViInt32 size, ViChar* buffer) {
  return motqr_GetAttributeViString(VI_NULL, "", PREFIX, size, buffer);
}

static void text_results(void) {
  ViChar buffer[16];
  memset(buffer, 'x', sizeof buffer);
  CHECK_STATUS(6, prefix(0, buffer));
  CHECK(buffer[0] == 'x');
  CHECK_STATUS(6, prefix(10, NULL));
  CHECK_STATUS(0, prefix(6, buffer)); /* L + 1: whole */
  CHECK_TEXT("motqr", buffer);
  CHECK_STATUS(6, prefix(5, buffer)); /* L: one byte short */
  CHECK_TEXT("motq", buffer);
  CHECK_STATUS(6, prefix(1, buffer));
  CHECK_TEXT("", buffer);
  memset(buffer, 'x', sizeof buffer);
  CHECK_STATUS(0, prefix(-1, buffer));
  CHECK_TEXT("motqr", buffer);
}

static void session_error_text(void) {
  ViSession vi = c_check_open();
  ViStatus code = 0;
  ViChar small[8];
  ViChar whole[128];
  const char* expected = "Parameter LinePower is VI_NULL.";
  ViInt32 length = (ViInt32)strlen(expected);
  if (!vi) return;
  CHECK_STATUS(MOTQR_ERROR_NULL_POINTER, motqr_QueryLinePower(vi, NULL));
  CHECK_STATUS(length + 1, motqr_GetError(vi, &code, 0, NULL));
  CHECK_STATUS(length + 1, motqr_GetError(vi, &code, (ViInt32)sizeof small, small));
  CHECK_TEXT("Paramet", small);
  CHECK_STATUS(MOTQR_ERROR_NULL_POINTER, code);
  /* Partial reads keep the error; the whole read returns 0 and clears it. */
  CHECK_STATUS(0, motqr_GetError(vi, &code, length + 1, whole));
  CHECK_TEXT(expected, whole);
  CHECK_STATUS(0, motqr_GetError(vi, &code, (ViInt32)sizeof whole, whole));
  CHECK_STATUS(0, code);
  CHECK_TEXT("", whole);
  CHECK_STATUS(MOTQR_ERROR_NULL_POINTER, motqr_GetError(vi, NULL, 0, NULL));
  /* After a failure the session holds that failure's code and text, never an
     earlier one's: an empty map reaches no block (0x80070057, which has no C
     code) and the component's description goes with 0x80000000. */
  CHECK_STATUS(MOTQR_ERROR_ATTRIBUTE_NOT_WRITABLE,
               motqr_SetAttributeViInt32(vi, "", MOTQR_ATTR_PARALLEL_UNIT, 1));
  CHECK_STATUS((ViStatus)0x80000000, motqr_SetVoltageIVMap(vi, "OutputChannel1", 0, NULL));
  CHECK(strstr(c_check_error(vi, &code), "SetVoltageIVMap") != NULL);
  CHECK_STATUS((ViStatus)0x80000000, code);
  motqr_close(vi);
}

static void array_results(void) {
  ViSession vi = c_check_open();
  ViInt32 date[3];
  ViReal64 data[2];
  if (!vi) return;
  CHECK_STATUS(MOTQR_ERROR_NULL_POINTER, motqr_QueryDate(vi, 3, date, NULL));
  CHECK_TEXT("Parameter DateActualSize is VI_NULL.", c_check_error(vi, NULL));
  CHECK_STATUS(MOTQR_ERROR_NULL_POINTER, motqr_RemoveIntegralData(vi, 5, 2, data, NULL));
  CHECK_TEXT("Parameter DataActualSize is VI_NULL.", c_check_error(vi, NULL));
  CHECK_STATUS(MOTQR_ERROR_NULL_POINTER, motqr_MeasureAll(vi, "OutputChannel1", 2, data, NULL));
  CHECK_TEXT("Parameter MeasurementsActualSize is VI_NULL.", c_check_error(vi, NULL));
  motqr_close(vi);
}

static void attribute_map_refusals(void) {
  ViReal64 real = 0;
  ViInt32 integer = 0;
  ViSession session = 0;
  ViStatus code = 0;
  motqr_ClearError(VI_NULL);
  CHECK_STATUS(MOTQR_ERROR_INVALID_ATTRIBUTE,
               motqr_GetAttributeViInt32(VI_NULL, "", 1150999, &integer));
  CHECK_TEXT("Attribute ID '1150999' not recognized.", c_check_error(VI_NULL, &code));
  CHECK_STATUS(MOTQR_ERROR_INVALID_ATTRIBUTE, code);
  CHECK_STATUS(MOTQR_ERROR_ATTRIBUTE_NOT_WRITABLE,
               motqr_SetAttributeViInt32(VI_NULL, "", MOTQR_ATTR_PARALLEL_UNIT, 1));
  CHECK_TEXT("Attribute '1150065' is read-only.", c_check_error(VI_NULL, NULL));
  CHECK_STATUS(MOTQR_ERROR_TYPES_DO_NOT_MATCH,
               motqr_GetAttributeViReal64(VI_NULL, "", MOTQR_ATTR_KEY_LOCK_LEVEL, &real));
  CHECK_TEXT("GetAttributeViReal64 called for attribute '1150063' of type 'ViInt32'.",
             c_check_error(VI_NULL, NULL));
  CHECK_STATUS(MOTQR_ERROR_TYPES_DO_NOT_MATCH,
               motqr_GetAttributeViSession(VI_NULL, "", MOTQR_ATTR_CACHE, &session));
  CHECK_STATUS(MOTQR_ERROR_TYPES_DO_NOT_MATCH,
               motqr_SetAttributeViSession(VI_NULL, "", MOTQR_ATTR_VOLTAGE_LEVEL, 1));
  CHECK_STATUS(MOTQR_ERROR_INVALID_ATTRIBUTE,
               motqr_GetAttributeViSession(VI_NULL, "", 42, &session));
  CHECK_STATUS(MOTQR_ERROR_ATTRIBUTE_NOT_WRITABLE,
               motqr_SetAttributeViString(VI_NULL, "", MOTQR_ATTR_SPECIFIC_DRIVER_PREFIX, "x"));
  /* The typed accessors run the same checks. */
  CHECK_STATUS(MOTQR_ERROR_NULL_POINTER, motqr_GetParallelUnit(VI_NULL, NULL));
  CHECK_TEXT("Parameter AttributeValue is VI_NULL.", c_check_error(VI_NULL, NULL));
}

int main(void) {
  text_results();
  session_error_text();
  array_results();
  attribute_map_refusals();
  return c_check_failures;
}
