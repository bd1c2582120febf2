#include "capi/c_call.h"

#include <string>

#include "driver/driver.h"
#include "errors/c_status.h"
#include "platform/com/error_info.h"
#include "platform/com/global_interface_table.h"
#include "platform/ivi/session_registry.h"
#include "platform/ivi/text_result.h"

namespace motqr::capi {

ViStatus Fail(ViSession vi, ViStatus status, std::string_view text) {
  const std::string copy(text);
  ivi::IviSession_SetError(vi, status, copy.c_str());
  return status;
}

ViStatus NullParameter(ViSession vi, std::string_view name) {
  return Fail(vi, kStatusNullPointer, "Parameter " + std::string(name) + " is VI_NULL.");
}

ViStatus Translate(ViSession vi, com::HRESULT hr) {
  if (hr == 0) return 0;
  const ViStatus status = errors::ToCStatus(hr);
  com::ErrorRecord record;
  if (com::TakeErrorInfo(&record)) {
    ivi::IviSession_SetError(vi, status, record.description.c_str());
  }
  return status;
}

com::HRESULT InitializeRuntimeForThread() {
  // Our component runtime has no apartments to enter: setting a thread up
  // cannot fail, and the flag keeps it to once per thread.
  thread_local bool initialized = false;
  if (initialized) return com::S_OK;
  initialized = true;
  return com::S_OK;
}

ViStatus InterfaceRefused(ViSession vi, std::string_view interface_name) {
  return Fail(
      vi, kStatusUnmapped,
      "The driver object does not offer the interface " + std::string(interface_name) + ".");
}

ViStatus LookUpDriver(ViSession vi, const com::IID& iid, std::string_view interface_name,
                      void** out) {
  if (com::Failed(InitializeRuntimeForThread())) {
    return Fail(vi, kStatusCannotRecover, "Could not initialize COM.");
  }
  // Waits while another thread holds the session's lock (motqr_LockSession).
  void* data = nullptr;
  if (ViStatus s = ivi::IviSession_GetDataPtrUnlocked(vi, &data); s != 0) return s;
  const auto cookie = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(data));
  // One step for the table and the interface: an unknown cookie is E_INVALIDARG,
  // a refused interface E_NOINTERFACE.
  const com::HRESULT hr = com::GetInterfaceFromGlobal(cookie, iid, out);
  if (hr == com::E_NOINTERFACE) return InterfaceRefused(vi, interface_name);
  if (com::Failed(hr)) {
    return Fail(vi, kStatusCannotRecover,
                "Could not retrieve pointer to IVI-COM driver from global interface table.");
  }
  return 0;
}

namespace {

// The channel a single-name selector named last on this thread, with what it
// was found under. It stands for looking the name up again while no driver
// object anywhere has been initialized, closed or destroyed since and none
// traces (a lookup through the collection would write its own trace record).
struct RememberedChannel {
  ViSession vi = 0;
  void* data = nullptr;
  std::uint64_t epoch = 0;
  std::string name;
  com::ComPtr<IMorvaneTqrOutputChannel> channel;
};

thread_local RememberedChannel t_remembered;

}  // namespace

void ForgetRememberedChannel() { t_remembered = RememberedChannel{}; }

ViStatus ExpandChannels(ViSession vi, const char* selector, RangeUse ranges, const com::IID& iid,
                        std::string_view interface_name, ChannelSink& sink) {
  const std::string_view text = selector ? selector : "";
  RememberedChannel& r = t_remembered;
  const bool named_before = r.channel && r.vi == vi && r.name == text;
  const bool rememberable = !driver::AnyTraceStarted() && (named_before || IsSingleName(text));
  void* data = nullptr;
  // Waits while another thread holds the session's lock, as the lookup of the driver does;
  // the count is read after that wait.
  if (rememberable) {
    if (ViStatus s = ivi::IviSession_GetDataPtrUnlocked(vi, &data); s != 0) return s;
  }
  const std::uint64_t epoch = driver::ChannelEpoch();
  if (rememberable && named_before && r.data == data && r.epoch == epoch) {
    if (r.channel->QueryInterface(iid, sink.Slot()) < 0)
      return InterfaceRefused(vi, interface_name);
    return 0;
  }
  const SelectorExpansion expansion = ExpandSelector(text, ranges);
  if (expansion.status != 0) {
    const ViStatus stored =
        ivi::IviSession_SetError(vi, expansion.status, SelectorStatusText(expansion.status));
    return stored != 0 ? stored : expansion.status;
  }
  com::ComPtr<IMorvaneTqrOutputs> outputs;
  if (ViStatus s = DriverInterface(vi, &outputs); s < 0) return s;
  // Names are resolved as the expansion makes them: the first unknown one
  // ends a range of any length.
  return expansion.ForEachName([&](std::string_view name) -> ViStatus {
    com::ComPtr<IMorvaneTqrOutputChannel> channel;
    const com::Bstr bstr = com::Bstr::FromUtf8(name);
    if (bstr.IsNull()) throw std::bad_alloc();
    if (const com::HRESULT hr = outputs->get_Item(bstr.Get(), channel.Put()); hr != 0) {
      return Translate(vi, hr);
    }
    if (data != nullptr)
      t_remembered = RememberedChannel{vi, data, epoch, std::string(name), channel};
    // Asked straight for the interface the caller works with: one query per channel.
    if (channel->QueryInterface(iid, sink.Slot()) < 0) return InterfaceRefused(vi, interface_name);
    return 0;
  });
}

ViStatus CopyText(ViStatus status, const com::Bstr& text, ViInt32 size, ViChar* buffer) {
  if (IsError(status)) return status;
  ViStatus copied;
  if (text.IsNull()) {
    // No text at all: an empty one where there is room, else the size of "".
    copied = buffer && size != 0 ? ivi::CopyTextResult("", size, buffer) : 1;
  } else {
    copied = ivi::CopyTextResult(text.ToUtf8(), size, buffer);
  }
  return status == 0 ? copied : status;
}

com::Bstr ToBstr(const char* text) {
  com::Bstr b = com::Bstr::FromUtf8(text ? text : "");
  if (b.IsNull()) throw std::bad_alloc();
  return b;
}

}  // namespace motqr::capi
