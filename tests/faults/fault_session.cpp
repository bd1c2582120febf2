#include "tests/faults/fault_session.h"

#include <cstdio>

namespace motqr::faults {
namespace {

template <class T>
std::string Join(std::span<T> values) {
  std::string text;
  for (const T& v : values) {
    if (!text.empty()) text += ',';
    if constexpr (std::is_same_v<T, com::BSTR>) {
      text += com::BstrToUtf8(v);
    } else if constexpr (std::is_floating_point_v<T>) {
      text += Text(v);
    } else {
      text += std::to_string(v);
    }
  }
  return text;
}

}  // namespace

std::string Text(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

std::string Text(const com::SafeArray& array) {
  switch (array.vt()) {
    case com::VT_R8:
      return Join(array.Data<double>());
    case com::VT_I4:
      return Join(array.Data<std::int32_t>());
    case com::VT_I2:
      return Join(array.Data<std::int16_t>());
    case com::VT_UI1:
      return Join(array.Data<std::uint8_t>());
    case com::VT_BSTR:
      return Join(array.Data<com::BSTR>());
    default:
      return array ? "?" : "null";
  }
}

std::string Text(const com::Bstr& text) { return text.IsNull() ? "null" : text.ToUtf8(); }

com::HRESULT FaultSession::Open(const std::string& resource, std::int32_t timeout_ms) {
  return OpenWith(resource, timeout_ms, "QueryInstrStatus=true");
}

com::HRESULT FaultSession::OpenPlain(const std::string& resource, std::int32_t timeout_ms) {
  return OpenWith(resource, timeout_ms, "QueryInstrStatus=false");
}

com::HRESULT FaultSession::OpenWith(const std::string& resource, std::int32_t timeout_ms,
                                    const std::string& options) {
  com::HRESULT hr = e2e::Initialize(driver.Get(), resource, true, false, options);
  if (com::Failed(hr)) return hr;
  tqr = As<IMorvaneTqr>(driver);
  com::ComPtr<IMorvaneTqrOutputs> outputs;
  hr = tqr->get_Outputs(outputs.Put());
  if (com::Succeeded(hr)) {
    hr = outputs->get_Item(com::Bstr::FromUtf8("OutputChannel1").Get(), channel.Put());
  }
  if (com::Succeeded(hr)) hr = tqr->get_System(system.Put());
  if (com::Succeeded(hr)) hr = system->put_IOTimeout(timeout_ms);
  return hr;
}

Outcome FaultSession::Finish(com::HRESULT status, std::string value) {
  Outcome outcome{status, {}, std::move(value)};
  if (com::Failed(status)) outcome.error = LastError();
  return outcome;
}

}  // namespace motqr::faults
