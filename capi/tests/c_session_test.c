/* A simulated session from open to close, as a C test program would use it. */
#include "c_check.h"
#include "capi/motqr.h"

static void open_set_get_close(void) {
  ViSession vi = c_check_open();
  ViBoolean flag = VI_TRUE;
  ViChar text[256];
  ViInt32 major = 0;
  if (!vi) return;
  CHECK_STATUS(0, motqr_GetAttributeViBoolean(vi, "", MOTQR_ATTR_SIMULATE, &flag));
  CHECK(flag == VI_TRUE);
  CHECK_STATUS(0, motqr_SetAttributeViBoolean(vi, "", MOTQR_ATTR_RANGE_CHECK, VI_FALSE));
  CHECK_STATUS(0, motqr_GetAttributeViBoolean(vi, "", MOTQR_ATTR_RANGE_CHECK, &flag));
  CHECK(flag == VI_FALSE);
  /* Any non-zero value is true, and true reads back as VI_TRUE (1). */
  CHECK_STATUS(0, motqr_SetAttributeViBoolean(vi, "", MOTQR_ATTR_RANGE_CHECK, 2));
  CHECK_STATUS(0, motqr_GetAttributeViBoolean(vi, "", MOTQR_ATTR_RANGE_CHECK, &flag));
  CHECK(flag == VI_TRUE);
  CHECK_STATUS(0, motqr_GetAttributeViString(vi, "", MOTQR_ATTR_SPECIFIC_DRIVER_PREFIX,
                                             (ViInt32)sizeof text, text));
  CHECK_TEXT("motqr", text);
  CHECK_STATUS(0, motqr_GetAttributeViInt32(
                      vi, "", MOTQR_ATTR_SPECIFIC_DRIVER_CLASS_SPEC_MAJOR_VERSION, &major));
  CHECK(major > 0);
  CHECK_STATUS(0, motqr_close(vi));
  /* The handle is gone: nothing reaches a driver object any more. */
  CHECK_STATUS(MOTQR_ERROR_INVALID_SESSION_HANDLE,
               motqr_GetAttributeViBoolean(vi, "", MOTQR_ATTR_SIMULATE, &flag));
  CHECK_STATUS(MOTQR_ERROR_INVALID_SESSION_HANDLE, motqr_close(vi));
}

static void identity_without_session(void) {
  ViChar text[512];
  ViInt32 minor = -1;
  CHECK_STATUS(0, motqr_GetAttributeViString(VI_NULL, "", MOTQR_ATTR_SPECIFIC_DRIVER_DESCRIPTION,
                                             (ViInt32)sizeof text, text));
  CHECK(strlen(text) > 0);
  CHECK_STATUS(0, motqr_GetAttributeViString(VI_NULL, "", MOTQR_ATTR_SPECIFIC_DRIVER_VENDOR,
                                             (ViInt32)sizeof text, text));
  CHECK(strlen(text) > 0);
  CHECK_STATUS(0, motqr_GetAttributeViInt32(
                      VI_NULL, "", MOTQR_ATTR_SPECIFIC_DRIVER_CLASS_SPEC_MINOR_VERSION, &minor));
  CHECK(minor >= 0);
  /* Other attributes need a session. */
  CHECK_STATUS(
      MOTQR_ERROR_INVALID_SESSION_HANDLE,
      motqr_GetAttributeViString(VI_NULL, "", MOTQR_ATTR_DRIVER_SETUP, (ViInt32)sizeof text, text));
}

static void open_failures(void) {
  ViSession vi = 123;
  ViStatus code = 0;
  /* A null session pointer: the status and no message. */
  motqr_ClearError(VI_NULL);
  CHECK_STATUS(MOTQR_ERROR_NULL_POINTER,
               motqr_init("TCPIP::127.0.0.1::5025::SOCKET", VI_FALSE, VI_FALSE, NULL));
  CHECK_TEXT("", c_check_error(VI_NULL, &code));
  CHECK_STATUS(0, code);
  /* A failing Initialize leaves the session 0 and its text on the thread. */
  CHECK_STATUS(MOTQR_ERROR_BAD_OPTION_VALUE,
               motqr_InitWithOptions("TCPIP::127.0.0.1::5025::SOCKET", VI_FALSE, VI_FALSE,
                                     "Simulate=maybe", &vi));
  CHECK(vi == VI_NULL);
  CHECK(strstr(c_check_error(VI_NULL, &code), "'maybe'") != NULL);
  CHECK_STATUS(MOTQR_ERROR_BAD_OPTION_VALUE, code);
}

static void error_texts(void) {
  ViChar text[MOTQR_MAX_MESSAGE_BUF_SIZE];
  ViSession vi = c_check_open();
  ViStatus code = 0;
  ViReal64 value = 0;
  CHECK_STATUS(0, motqr_error_message(vi, MOTQR_ERROR_NULL_POINTER, text));
  CHECK_TEXT("Null pointer passed for function '%1', parameter '%2'.", text);
  CHECK_STATUS(0, motqr_error_message(vi, MOTQR_WARN_NSUP_SELF_TEST, text));
  CHECK_TEXT("Self test is not supported by this instrument.", text);
  CHECK_STATUS(0, motqr_error_message(vi, 0x12345, text));
  CHECK_TEXT("", text);
  CHECK_STATUS(MOTQR_ERROR_NULL_POINTER, motqr_error_message(vi, 0, NULL));
  if (!vi) return;
  /* A null result pointer names the parameter. */
  CHECK_STATUS(MOTQR_ERROR_NULL_POINTER, motqr_QueryApertureTimeMinMax(vi, &value, NULL));
  CHECK_TEXT("Parameter Max is VI_NULL.", c_check_error(vi, &code));
  CHECK_STATUS(MOTQR_ERROR_NULL_POINTER, code);
  CHECK_STATUS(MOTQR_ERROR_NULL_POINTER, motqr_error_query(vi, NULL, text));
  CHECK_TEXT("Parameter ErrorCode is VI_NULL.", c_check_error(vi, NULL));
  /* A text read once is gone; motqr_ClearError drops one unread. */
  CHECK_TEXT("", c_check_error(vi, &code));
  CHECK_STATUS(0, code);
  CHECK_STATUS(MOTQR_ERROR_NULL_POINTER, motqr_QueryLinePower(vi, NULL));
  CHECK_STATUS(0, motqr_ClearError(vi));
  CHECK_TEXT("", c_check_error(vi, NULL));
  motqr_close(vi);
}

static void session_lock(void) {
  ViSession vi = c_check_open();
  ViBoolean has = VI_FALSE;
  if (!vi) return;
  CHECK_STATUS(0, motqr_LockSession(vi, &has));
  CHECK(has == VI_TRUE);
  /* Calls from the lock holder still run. */
  CHECK_STATUS(0, motqr_SetAttributeViBoolean(vi, "", MOTQR_ATTR_CACHE, VI_FALSE));
  CHECK_STATUS(0, motqr_UnlockSession(vi, &has));
  CHECK(has == VI_FALSE);
  CHECK_STATUS(0, motqr_UnlockSession(vi, &has));
  motqr_close(vi);
}

int main(void) {
  open_set_get_close();
  identity_without_session();
  open_failures();
  error_texts();
  session_lock();
  return c_check_failures;
}
