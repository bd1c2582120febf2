/* Built against an installed driver: a simulated session through the C functions, a level
   set and read back, and a failure's text read from the session. */
#include <stdio.h>

#include "capi/motqr.h"

int main(void) {
  ViSession vi = VI_NULL;
  ViReal64 volts = 0.0;
  ViStatus code = 0;
  ViChar text[256] = "";
  ViStatus s = motqr_InitWithOptions("", VI_FALSE, VI_FALSE, "Simulate=true", &vi);
  if (s >= 0) s = motqr_ConfigureVoltageLevel(vi, "OutputChannel1", 5.0);
  if (s >= 0)
    s = motqr_GetAttributeViReal64(vi, "OutputChannel1", MOTQR_ATTR_VOLTAGE_LEVEL, &volts);
  if (s < 0 || volts != 5.0) {
    fprintf(stderr, "simulated session failed: 0x%08X, %g V\n", (unsigned)s, volts);
    return 1;
  }
  /* An unknown channel fails, and the session holds the driver's text for it. */
  s = motqr_ConfigureVoltageLevel(vi, "NoSuchChannel", 1.0);
  motqr_GetError(vi, &code, (ViInt32)sizeof text, text);
  motqr_close(vi);
  if (s >= 0 || code != s || text[0] == '\0') {
    fprintf(stderr, "no error text for a bad channel: 0x%08X \"%s\"\n", (unsigned)s, text);
    return 1;
  }
  printf("C consumer: %g V, then \"%s\"\n", volts, text);
  return 0;
}
