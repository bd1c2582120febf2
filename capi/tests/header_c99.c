/* motqr.h on its own, as strict C99 (built with -std=c99 -pedantic). */
#include "capi/motqr.h"

typedef char motqr_boolean_is_16_bit[sizeof(ViBoolean) == 2 ? 1 : -1];
typedef char motqr_session_is_32_bit[sizeof(ViSession) == 4 ? 1 : -1];
typedef char motqr_status_is_32_bit[sizeof(ViStatus) == 4 ? 1 : -1];
