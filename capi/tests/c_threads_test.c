/* Errors belong to their session, and without a session to their thread; many
   threads on many sessions keep them apart. */
#include <pthread.h>
#include <stdio.h>

#include "c_check.h"
#include "capi/motqr.h"

enum { kThreads = 8, kRounds = 20 };

typedef struct {
  int index;
  int failures;
} Worker;

static void* work(void* arg) {
  Worker* w = (Worker*)arg;
  int round;
  for (round = 0; round < kRounds; ++round) {
    ViSession vi = VI_NULL;
    ViStatus code = 0;
    ViChar text[256];
    ViChar expected[64];
    ViBoolean flag = VI_FALSE;
    ViInt32 id = 1150900 + w->index;
    if (motqr_InitWithOptions("TCPIP::127.0.0.1::5025::SOCKET", VI_FALSE, VI_FALSE, "Simulate=true",
                              &vi) < 0) {
      ++w->failures;
      continue;
    }
    /* Each thread leaves its own error on its session and on session 0. */
    motqr_GetAttributeViInt32(vi, "", (ViAttr)id, &id);
    motqr_GetAttributeViBoolean(VI_NULL, "", 42, &flag);
    if (motqr_SetAttributeViBoolean(vi, "", MOTQR_ATTR_CACHE, (ViBoolean)(round % 2)) != 0)
      ++w->failures;
    if (motqr_GetAttributeViBoolean(vi, "", MOTQR_ATTR_CACHE, &flag) != 0 || flag != (round % 2)) {
      ++w->failures;
    }
    snprintf(expected, sizeof expected, "Attribute ID '%d' not recognized.",
             (int)(1150900 + w->index));
    motqr_GetError(vi, &code, (ViInt32)sizeof text, text);
    if (code != MOTQR_ERROR_INVALID_ATTRIBUTE || strcmp(text, expected) != 0) ++w->failures;
    motqr_GetError(VI_NULL, &code, (ViInt32)sizeof text, text);
    if (strcmp(text, "Attribute ID '42' not recognized.") != 0) ++w->failures;
    if (motqr_close(vi) != 0) ++w->failures;
  }
  return NULL;
}

int main(void) {
  pthread_t threads[kThreads];
  Worker workers[kThreads];
  int i;
  for (i = 0; i < kThreads; ++i) {
    workers[i].index = i;
    workers[i].failures = 0;
    CHECK(pthread_create(&threads[i], NULL, work, &workers[i]) == 0);
  }
  for (i = 0; i < kThreads; ++i) {
    pthread_join(threads[i], NULL);
    if (workers[i].failures) fprintf(stderr, "thread %d: %d failures\n", i, workers[i].failures);
    c_check_failures += workers[i].failures;
  }
  return c_check_failures;
}
