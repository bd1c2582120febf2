/* A few checks for the C tests: each failed check prints where and what, and
   the test's main returns the number of failures. */
#ifndef MOTQR_C_CHECK_H
#define MOTQR_C_CHECK_H

#include <stdio.h>
#include <string.h>

#include "capi/motqr.h"

static int c_check_failures = 0;

#define CHECK(cond)                                                            \
  do {                                                                         \
    if (!(cond)) {                                                             \
      ++c_check_failures;                                                      \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
    }                                                                          \
  } while (0)

#define CHECK_STATUS(expected, actual)                                                           \
  do {                                                                                           \
    long c_check_e = (long)(expected), c_check_a = (long)(actual);                               \
    if (c_check_e != c_check_a) {                                                                \
      ++c_check_failures;                                                                        \
      fprintf(stderr, "%s:%d: %s: expected 0x%08lX, got 0x%08lX\n", __FILE__, __LINE__, #actual, \
              (unsigned long)c_check_e & 0xFFFFFFFFul, (unsigned long)c_check_a & 0xFFFFFFFFul); \
    }                                                                                            \
  } while (0)

#define CHECK_TEXT(expected, actual)                                                          \
  do {                                                                                        \
    if (strcmp((expected), (actual)) != 0) {                                                  \
      ++c_check_failures;                                                                     \
      fprintf(stderr, "%s:%d: expected \"%s\", got \"%s\"\n", __FILE__, __LINE__, (expected), \
              (actual));                                                                      \
    }                                                                                         \
  } while (0)

/* The session's last error text (and code), read and cleared. */
static inline const char* c_check_error(ViSession vi, ViStatus* code) {
  static char text[512];
  ViStatus ignored;
  text[0] = '\0';
  motqr_GetError(vi, code ? code : &ignored, (ViInt32)sizeof text, text);
  return text;
}

/* A simulated session, or 0 after a recorded failure. */
static inline ViSession c_check_open(void) {
  ViSession vi = VI_NULL;
  ViStatus s = motqr_InitWithOptions("TCPIP::127.0.0.1::5025::SOCKET", VI_FALSE, VI_FALSE,
                                     "Simulate=true", &vi);
  if (s < 0) {
    ++c_check_failures;
    fprintf(stderr, "simulated open failed: 0x%08X %s\n", (unsigned)s,
            c_check_error(VI_NULL, NULL));
    return 0;
  }
  return vi;
}

#endif
