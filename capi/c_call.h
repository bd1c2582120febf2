// What every motqr_ function does around its call on the driver object: find
// the session's driver object, turn results into C statuses with the error
// text stored on the session, walk channel selectors, and copy text and array
// results into caller storage.
//
//   ViStatus motqr_SaveSettings(ViSession vi, ViInt32 MemoryNumber) {
//     return OnDriver<IMorvaneTqrSystemMemory>(vi, [&](IMorvaneTqrSystemMemory& m) {
//       return m.SaveSettings(MemoryNumber);
//     });
//   }
#pragma once

#include <algorithm>
#include <cstdint>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "capi/motqr.h"
#include "capi/selector.h"
#include "interfaces/motqr_interfaces.h"
#include "platform/com/com_ptr.h"
#include "platform/com/safearray.h"

#define MOTQR_C_EXPORT extern "C" MOTQR_EXPORT

namespace motqr::capi {

inline constexpr ViStatus kStatusCannotRecover = static_cast<ViStatus>(0xBFFA0000u);
inline constexpr ViStatus kStatusOutOfMemory = static_cast<ViStatus>(0xBFFA0056u);
inline constexpr ViStatus kStatusNullPointer = static_cast<ViStatus>(0xBFFA0058u);
inline constexpr ViStatus kStatusUnmapped = static_cast<ViStatus>(0x80000000u);

// Stores `text` with `status` on the session (session 0: the thread) and
// returns `status`.
ViStatus Fail(ViSession vi, ViStatus status, std::string_view text);
// 0xBFFA0058 with "Parameter <name> is VI_NULL.".
ViStatus NullParameter(ViSession vi, std::string_view name);
// The C status of a driver result; the thread's error description, if any, is
// stored on the session with it.
ViStatus Translate(ViSession vi, com::HRESULT hr);

// Initializes the component runtime for the calling thread (once per thread).
com::HRESULT InitializeRuntimeForThread();

// Interface `iid` of a session's driver object, from the global interface
// table. A driver object that refuses the interface is a C error naming
// `interface_name`.
ViStatus LookUpDriver(ViSession vi, const com::IID& iid, std::string_view interface_name,
                      void** out);
inline ViStatus LookUpDriver(ViSession vi, com::ComPtr<com::IUnknown>* driver) {
  return LookUpDriver(vi, com::IUnknown::kIid, "IUnknown", driver->PutVoid());
}

template <class I>
constexpr std::string_view InterfaceName() {
  if constexpr (requires { I::kName; }) return I::kName;
  return "IUnknown";
}
// The failure of asking an object for an interface it does not offer.
ViStatus InterfaceRefused(ViSession vi, std::string_view interface_name);

// Asks `object` for interface I; a refusal is a C error naming the interface.
template <class I>
ViStatus Query(ViSession vi, com::IUnknown* object, com::ComPtr<I>* out) {
  if (object->QueryInterface(I::kIid, out->PutVoid()) >= 0) return 0;
  return InterfaceRefused(vi, InterfaceName<I>());
}
// Interface I of the session's driver object, asked for directly.
template <class I>
ViStatus DriverInterface(ViSession vi, com::ComPtr<I>* out) {
  return LookUpDriver(vi, I::kIid, InterfaceName<I>(), out->PutVoid());
}

// Runs `body`, turning anything thrown into a C status.
template <class F>
ViStatus Guard(ViSession vi, F&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return Fail(vi, kStatusOutOfMemory, "Could not allocate necessary memory.");
  } catch (...) {
    return Fail(vi, kStatusCannotRecover, "Failure cannot recover.");
  }
}

// Calls `method(I&)` on the session's driver object and translates its result.
template <class I, class F>
ViStatus OnDriver(ViSession vi, F&& method) {
  return Guard(vi, [&]() -> ViStatus {
    com::ComPtr<I> target;
    if (ViStatus s = DriverInterface(vi, &target); s < 0) return s;
    return Translate(vi, method(*target.Get()));
  });
}

// Where ExpandChannels puts each channel's interface pointer: Slot() hands out
// the next empty place.
class ChannelSink {
 public:
  virtual void** Slot() = 0;

 protected:
  ~ChannelSink() = default;
};

// Drops this thread's remembered channel (at the close of a session).
void ForgetRememberedChannel();

// The channel objects a selector names, in order, each asked for interface `iid`.
ViStatus ExpandChannels(ViSession vi, const char* selector, RangeUse ranges, const com::IID& iid,
                        std::string_view interface_name, ChannelSink& sink);

// Interface I of every channel a selector names; one channel (the usual case)
// needs no allocation.
template <class I>
class ChannelTargets final : public ChannelSink {
 public:
  ViStatus Expand(ViSession vi, const char* selector, RangeUse ranges) {
    return ExpandChannels(vi, selector, ranges, I::kIid, InterfaceName<I>(), *this);
  }
  void** Slot() override {
    if (!first_) return first_.PutVoid();
    return rest_.emplace_back().PutVoid();
  }
  I& front() const { return *first_.Get(); }
  // Calls `method(I&)` on each in order, stopping at the first result that is not 0.
  template <class F>
  com::HRESULT ForEach(F&& method) const {
    if (!first_) return 0;
    if (const com::HRESULT hr = method(*first_.Get()); hr != 0) return hr;
    for (const com::ComPtr<I>& target : rest_) {
      if (const com::HRESULT hr = method(*target.Get()); hr != 0) return hr;
    }
    return 0;
  }

 private:
  com::ComPtr<I> first_;
  std::vector<com::ComPtr<I>> rest_;
};

// Sets or acts: calls `method(I&)` on every channel named, in order, stopping at
// the first result that is not 0.
template <class I, class F>
ViStatus OnEveryChannel(ViSession vi, const char* selector, F&& method) {
  return Guard(vi, [&]() -> ViStatus {
    ChannelTargets<I> targets;
    if (ViStatus s = targets.Expand(vi, selector, RangeUse::kAllowed); s < 0) return s;
    return Translate(vi, targets.ForEach(method));
  });
}

// Returns a value: calls `method(I&)` on the first channel named (no ranges).
template <class I, class F>
ViStatus OnFirstChannel(ViSession vi, const char* selector, F&& method) {
  return Guard(vi, [&]() -> ViStatus {
    ChannelTargets<I> targets;
    if (ViStatus s = targets.Expand(vi, selector, RangeUse::kRefused); s < 0) return s;
    return Translate(vi, method(targets.front()));
  });
}

// Text results: a BSTR (null reads as "") copied by the text-result rules.
// `status` is the method's translated status; the copy's result replaces it
// only when it was 0.
ViStatus CopyText(ViStatus status, const com::Bstr& text, ViInt32 size, ViChar* buffer);
// The same with a null buffer as the size query and a fixed or given size.
inline bool IsError(ViStatus s) { return s < 0; }

// Array results: at most `size` elements of `array` into `buffer`, the count
// copied into *actual. Without a buffer nothing is copied and *actual stays
// as the caller left it.
template <class T>
void CopyArray(const com::SafeArray& array, ViInt32 size, T* buffer, ViInt32* actual) {
  if (!buffer) return;
  *actual = 0;
  if (size <= 0) return;
  std::span<T> data = array.Data<T>();
  const std::size_t n = std::min<std::size_t>(data.size(), static_cast<std::size_t>(size));
  std::copy_n(data.begin(), n, buffer);
  *actual = static_cast<ViInt32>(n);
}
// Array inputs: `count` elements (a negative count counts as 0) as a new array.
template <class T>
com::SafeArray MakeArray(com::VARTYPE vt, ViInt32 count, const T* data) {
  const auto n = count > 0 && data ? static_cast<std::uint32_t>(count) : 0u;
  com::SafeArray array = com::SafeArray::CreateVector(vt, n);
  if (!array) throw std::bad_alloc();
  std::copy_n(data, n, array.Data<T>().begin());
  return array;
}

// The C boolean of a driver boolean and back.
inline ViBoolean ToViBoolean(com::VARIANT_BOOL b) { return b ? VI_TRUE : VI_FALSE; }
inline com::VARIANT_BOOL ToVariantBool(ViBoolean b) {
  return b ? com::VARIANT_TRUE : com::VARIANT_FALSE;
}
// Text arguments as text objects (null reads as "").
com::Bstr ToBstr(const char* text);

}  // namespace motqr::capi
