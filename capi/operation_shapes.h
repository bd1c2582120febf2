// The few shapes the operation functions share: act on channels, read one
// value, read a minimum and maximum, read an array, on a channel or on the
// driver object. Each motqr_ operation is one call of one of these.
#pragma once

#include <string_view>

#include "capi/c_call.h"

namespace motqr::capi {

// A value read through an out-parameter of driver type D, handed to the caller as C type C.
template <class C, class D>
C ToC(D value) {
  if constexpr (std::is_same_v<D, com::VARIANT_BOOL>) {
    return ToViBoolean(value);
  } else {
    return static_cast<C>(value);
  }
}

// One value out of a channel member `read(I&, D*)`.
template <class I, class D, class C, class F>
ViStatus ChannelValue(ViSession vi, const char* channel, C* out, std::string_view name, F&& read) {
  if (!out) return NullParameter(vi, name);
  D value{};
  const ViStatus s = OnFirstChannel<I>(vi, channel, [&](I& i) { return read(i, &value); });
  if (!IsError(s)) *out = ToC<C>(value);
  return s;
}

// One value out of a driver member `read(I&, D*)`.
template <class I, class D, class C, class F>
ViStatus DriverValue(ViSession vi, C* out, std::string_view name, F&& read) {
  if (!out) return NullParameter(vi, name);
  D value{};
  const ViStatus s = OnDriver<I>(vi, [&](I& i) { return read(i, &value); });
  if (!IsError(s)) *out = ToC<C>(value);
  return s;
}

template <class I, class T>
ViStatus ChannelMinMax(ViSession vi, const char* channel, T* min, T* max,
                       com::HRESULT (I::*query)(T*, T*)) {
  if (!min) return NullParameter(vi, "Min");
  if (!max) return NullParameter(vi, "Max");
  T lo{}, hi{};
  const ViStatus s = OnFirstChannel<I>(vi, channel, [&](I& i) { return (i.*query)(&lo, &hi); });
  if (!IsError(s)) *min = lo, *max = hi;
  return s;
}

template <class I, class C, class T>
ViStatus DriverMinMax(ViSession vi, C* min, C* max, com::HRESULT (I::*query)(T*, T*)) {
  if (!min) return NullParameter(vi, "Min");
  if (!max) return NullParameter(vi, "Max");
  T lo{}, hi{};
  const ViStatus s = OnDriver<I>(vi, [&](I& i) { return (i.*query)(&lo, &hi); });
  if (!IsError(s)) *min = lo, *max = hi;
  return s;
}

template <class I, class T>
ViStatus ChannelArray(ViSession vi, const char* channel, std::string_view name, ViInt32 size,
                      T* buffer, ViInt32* actual, com::HRESULT (I::*query)(com::SAFEARRAY**)) {
  if (!actual) return NullParameter(vi, std::string(name) + "ActualSize");
  com::SafeArray array;
  const ViStatus s = OnFirstChannel<I>(vi, channel, [&](I& i) { return (i.*query)(array.Put()); });
  if (!IsError(s)) CopyArray(array, size, buffer, actual);
  return s;
}

// The members that fill an array the caller hands in (the I-V maps): the
// array offered has the caller's buffer size. With a buffer, the array is a
// view of it, zero-filled first, that the member fills in place; its lock
// count keeps anything from freeing it. Without one, the member fills an
// array of its own that is then dropped.
template <class I>
ViStatus ChannelFillArray(ViSession vi, const char* channel, std::string_view name, ViInt32 size,
                          ViReal64* buffer, ViInt32* actual,
                          com::HRESULT (I::*query)(com::SAFEARRAY**)) {
  if (!actual) return NullParameter(vi, std::string(name) + "ActualSize");
  if (buffer && size > 0) {
    return Guard(vi, [&]() -> ViStatus {
      std::fill_n(buffer, size, 0.0);
      com::SAFEARRAY view{};
      view.cDims = 1;
      view.cbElements = sizeof(ViReal64);
      view.cLocks = 1;
      view.pvData = buffer;
      view.vt = com::VT_R8;
      view.rgsabound[0] = {static_cast<std::uint32_t>(size), 0};
      com::SAFEARRAY* raw = &view;
      const ViStatus s = OnFirstChannel<I>(vi, channel, [&](I& i) { return (i.*query)(&raw); });
      if (raw != &view) {  // an array of the member's own came back instead
        com::SafeArray replaced = com::SafeArray::Attach(raw);
        if (!IsError(s)) CopyArray(replaced, size, buffer, actual);
        return s;
      }
      if (!IsError(s)) *actual = size;
      return s;
    });
  }
  return Guard(vi, [&]() -> ViStatus {
    com::SafeArray array =
        com::SafeArray::CreateVector(com::VT_R8, size > 0 ? static_cast<std::uint32_t>(size) : 0u);
    if (!array) throw std::bad_alloc();
    com::SAFEARRAY* raw = array.Detach();
    const ViStatus s = OnFirstChannel<I>(vi, channel, [&](I& i) { return (i.*query)(&raw); });
    array = com::SafeArray::Attach(raw);
    if (!IsError(s)) CopyArray(array, size, buffer, actual);
    return s;
  });
}

template <class I, class T>
ViStatus DriverArray(ViSession vi, std::string_view name, ViInt32 size, T* buffer, ViInt32* actual,
                     auto&& query) {
  if (!actual) return NullParameter(vi, std::string(name) + "ActualSize");
  com::SafeArray array;
  const ViStatus s = OnDriver<I>(vi, [&](I& i) { return query(i, array.Put()); });
  if (!IsError(s)) CopyArray(array, size, buffer, actual);
  return s;
}

// A text result of a driver member `read(I&, BSTR*)`.
template <class I>
ViStatus DriverText(ViSession vi, ViInt32 size, ViChar* buffer, auto&& read) {
  com::Bstr text;
  const ViStatus s = OnDriver<I>(vi, [&](I& i) { return read(i, text.Put()); });
  return CopyText(s, text, size, buffer);
}

}  // namespace motqr::capi
