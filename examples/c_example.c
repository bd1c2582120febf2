/*
 * c_example: drive a TQR supply from C.
 *
 *   c_example                                   simulated session (no instrument)
 *   c_example TCPIP::192.168.1.20::5025::SOCKET a real instrument (or tqr-sim)
 *
 * Sets the output levels, switches the output on, measures voltage and
 * current, reads the instrument's error queue and closes the session. Any
 * failure prints the session's error text from motqr_GetError.
 */
#include <stdio.h>

#include "capi/motqr.h"

static const char* kChannel = "OutputChannel1";

/* Prints what failed and the session's error text; returns 1. */
static int report(ViSession vi, const char* what, ViStatus status) {
  ViStatus code = status;
  ViChar text[512] = "";
  motqr_GetError(vi, &code, (ViInt32)sizeof text, text);
  if (text[0] == '\0') motqr_error_message(vi, status, text);
  fprintf(stderr, "%s failed (0x%08X): %s\n", what, (unsigned)status, text);
  return 1;
}

int main(int argc, char** argv) {
  const int simulate = argc < 2;
  ViChar resource[256];
  ViSession vi = VI_NULL;
  ViStatus s;
  ViReal64 volts = 0.0, amps = 0.0;
  ViInt32 error_code = 0;
  ViChar error_message[MOTQR_MAX_MESSAGE_BUF_SIZE];
  int failed = 0;

  snprintf(resource, sizeof resource, "%s", simulate ? "TCPIP::127.0.0.1::5025::SOCKET" : argv[1]);
  s = motqr_InitWithOptions(resource, simulate ? VI_FALSE : VI_TRUE, VI_FALSE,
                            simulate ? "Simulate=true" : "QueryInstrStatus=true", &vi);
  if (s < 0) return report(vi, "open", s);

  if ((s = motqr_ConfigureVoltageLevel(vi, kChannel, 5.0)) < 0) {
    failed |= report(vi, "voltage level", s);
  } else if ((s = motqr_SetAttributeViReal64(vi, kChannel, MOTQR_ATTR_CURRENT_LIMIT, 1.5)) < 0) {
    failed |= report(vi, "current limit", s);
  } else if ((s = motqr_ConfigureOutputEnabled(vi, kChannel, VI_TRUE)) < 0) {
    failed |= report(vi, "output on", s);
  } else if ((s = motqr_Measure(vi, kChannel, MOTQR_VAL_MEASUREMENT_VOLTAGE, &volts)) < 0 ||
             (s = motqr_Measure(vi, kChannel, MOTQR_VAL_MEASUREMENT_CURRENT, &amps)) < 0) {
    /* A simulated session has no instrument to measure: say so, but carry on. */
    if (simulate) {
      report(vi, "measure (simulated)", s);
    } else {
      failed |= report(vi, "measure", s);
    }
  } else {
    printf("output: %.4f V, %.4f A\n", volts, amps);
  }

  s = motqr_error_query(vi, &error_code, error_message);
  if (s < 0) {
    failed |= report(vi, "error query", s);
  } else {
    printf("instrument error queue: %d, \"%s\"\n", (int)error_code, error_message);
  }

  s = motqr_close(vi);
  if (s < 0) failed |= report(VI_NULL, "close", s);
  return failed;
}
