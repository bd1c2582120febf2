// Trace listeners: objects of the program that receive every complete
// top-level trace record as XML text, from every traced driver session of
// the process, while they are registered.
//
//   class Collector : public motqr::trace::ITraceListener {
//    public:
//     void OnTraceEvent(const char* record, std::int32_t kind, const char* trace_name,
//                       std::uint32_t trace_id) override {
//       // record: "<Method Name=... </Method>\r\n" (one call and the calls it made)
//     }
//   };
//   Collector collector;
//   motqr::trace::RegisterTraceListener(&collector);    // from now on
//   ... Initialize(..., "DriverSetup=Trace=1") and calls ...
//   motqr::trace::UnregisterTraceListener(&collector);  // no call is running on return
//
// OnTraceEvent's arguments: the record's text from its first '<' (valid for
// the call only), the kind 1 (a method record), the trace name (the driver
// name, "MorvaneTqr"), and the trace's identifier: a number given to each
// trace when it starts, unique within the process, so that a listener can
// tell the sessions apart. Calls come on the thread that made the traced
// call, one at a time; a listener may call into the driver and may register
// or unregister listeners. A listener is registered at most once; it must be
// unregistered before it is destroyed. Records are kept in memory for
// listeners only while at least one is registered. Tracing itself is turned
// on per session by the driver setup key Trace.
#pragma once

#include <cstdint>

#include "platform/com/types.h"

namespace motqr::trace {

class ITraceListener {
 public:
  virtual void OnTraceEvent(const char* record, std::int32_t kind, const char* trace_name,
                            std::uint32_t trace_id) = 0;

 protected:
  virtual ~ITraceListener() = default;
};

MOTQR_EXPORT void RegisterTraceListener(ITraceListener* listener);
MOTQR_EXPORT void UnregisterTraceListener(ITraceListener* listener);

// Whether any listener is registered (cheap; read when a record starts).
bool HasTraceListeners();
// Delivers one record to every registered listener.
void NotifyTraceListeners(const char* record, const char* trace_name, std::uint32_t trace_id);

}  // namespace motqr::trace
