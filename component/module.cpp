// The module's version, for programs that load it at run time.
#include "platform/com/types.h"

extern "C" MOTQR_EXPORT const char* motqr_module_version() { return "1.3.0.0"; }
