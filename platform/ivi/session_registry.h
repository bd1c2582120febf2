// The IVI C session registry: 32-bit session handles, each with one data
// pointer, one last error (code and text) and a recursive lock that callers can
// hold over a sequence of calls.
//
//   ViSession vi = 0;
//   IviSession_New(&vi);                      // a fresh handle, never 0
//   IviSession_SetDataPtr(vi, cookie_as_pointer);
//   ViBoolean has_lock = VI_FALSE;
//   IviSession_Lock(vi, &has_lock);           // has_lock becomes VI_TRUE
//   ...                                       // the handle's lock is ours
//   IviSession_Unlock(vi, &has_lock);         // has_lock becomes VI_FALSE
//   IviSession_Dispose(vi);
//
// Handle 0 stands for "no session": SetError, GetError and ClearError on it use
// the calling thread's own error record, so errors that happen before a session
// exists (a failed open) still reach the caller. Every other function refuses
// handle 0 and any handle that is not live with kIviErrorInvalidSessionHandle.
// A handle is never reissued while it is live. All functions are thread-safe.
#pragma once

#include <cstdint>

namespace motqr::ivi {

using ViSession = std::uint32_t;
using ViStatus = std::int32_t;
using ViInt32 = std::int32_t;
using ViBoolean = std::uint16_t;
using ViChar = char;
using ViConstString = const char*;
using ViAddr = void*;

inline constexpr ViBoolean kViTrue = 1;
inline constexpr ViBoolean kViFalse = 0;

inline constexpr ViStatus kIviErrorCannotRecover = static_cast<ViStatus>(0xBFFA0000u);
inline constexpr ViStatus kIviErrorOutOfMemory = static_cast<ViStatus>(0xBFFA0056u);
inline constexpr ViStatus kIviErrorNullPointer = static_cast<ViStatus>(0xBFFA0058u);
inline constexpr ViStatus kIviErrorInvalidSessionHandle = static_cast<ViStatus>(0xBFFA1190u);

// Issues a new handle into *handle (0 on failure).
ViStatus IviSession_New(ViSession* handle);
// Ends a handle. Threads waiting for its lock return kIviErrorInvalidSessionHandle.
ViStatus IviSession_Dispose(ViSession handle);

ViStatus IviSession_SetDataPtr(ViSession handle, ViAddr data);
ViStatus IviSession_GetDataPtr(ViSession handle, ViAddr* data);
// The same, once the handle's lock is free or held by the calling thread: what
// Lock, GetDataPtr and Unlock in a row give, in one step.
ViStatus IviSession_GetDataPtrUnlocked(ViSession handle, ViAddr* data);

// Takes the handle's lock (recursively; waits while another thread holds it).
// With a flag: nothing happens when *has_lock is already VI_TRUE, otherwise the
// lock is taken and *has_lock set to VI_TRUE. Without a flag the lock is taken
// once more.
ViStatus IviSession_Lock(ViSession handle, ViBoolean* has_lock);
// Releases one level of the lock. With a flag: nothing happens when *has_lock
// is VI_FALSE, otherwise one level is released and *has_lock set to VI_FALSE.
// Releasing a lock the calling thread does not hold is kIviErrorCannotRecover.
ViStatus IviSession_Unlock(ViSession handle, ViBoolean* has_lock);

// Records the handle's last error, replacing the one before (description may
// be null: no text).
ViStatus IviSession_SetError(ViSession handle, ViStatus code, ViConstString description);
// Reads the last error: *code and the description by the text-result rules
// (size 0 or null buffer: nothing copied, the needed size returned; size from 1
// to the text length: truncated, needed size returned; negative size or room
// for all: copied, 0). The error is cleared once its whole description has
// been delivered; a size query leaves it in place. No error reads as code 0
// and an empty text.
ViStatus IviSession_GetError(ViSession handle, ViInt32 buffer_size, ViStatus* code,
                             ViChar description[]);
ViStatus IviSession_ClearError(ViSession handle);

}  // namespace motqr::ivi
