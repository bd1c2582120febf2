// Helpers shared by the driver-class tests.
#pragma once

#include <string>

#include "component/morvane_tqr.h"
#include "platform/com/error_info.h"

namespace motqr::testing {

inline com::Bstr Text(const char* s) { return com::Bstr::FromUtf8(s); }

// Takes the calling thread's error object.
inline com::ErrorRecord TakeError() {
  com::ErrorRecord r;
  com::TakeErrorInfo(&r);
  return r;
}

inline com::ComPtr<IIviDriver> NewDriver(driver::SessionPortFactory factory = nullptr) {
  return MorvaneTqr::Create(factory);
}

template <class I>
com::ComPtr<I> As(const com::ComPtr<IIviDriver>& d) {
  com::ComPtr<I> r;
  d.As(&r);
  return r;
}

inline HRESULT InitSimulated(const com::ComPtr<IIviDriver>& d, const char* extra = "") {
  std::string options = std::string("Simulate=true") + extra;
  return d->Initialize(Text("TCPIP::10.0.0.1::5025::SOCKET").Get(), com::VARIANT_TRUE,
                       com::VARIANT_FALSE, Text(options.c_str()).Get());
}

inline std::string GetString(HRESULT (IIviDriverIdentity::*get)(BSTR*), IIviDriverIdentity* p,
                             HRESULT* hr = nullptr) {
  com::Bstr s;
  HRESULT r = (p->*get)(s.Put());
  if (hr) *hr = r;
  return s.ToUtf8();
}

}  // namespace motqr::testing
