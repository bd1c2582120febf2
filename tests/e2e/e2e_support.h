// Shared helpers of the end-to-end tests: a driver object made through the
// module's creator (so it opens a real VISA-COM session), Initialize with
// plain strings, and the thread's last error message.
#pragma once

#include <string>

#include "component/motqr.hpp"

namespace motqr::e2e {

inline constexpr com::HRESULT kIoGeneral = com::MakeHresult(0x80044214u);
inline constexpr com::HRESULT kIoTimeout = com::MakeHresult(0x80044215u);
inline constexpr com::HRESULT kInstrumentStatus = com::MakeHresult(0x80047001u);
inline constexpr com::HRESULT kIdQueryFailed = com::MakeHresult(0x8004705Eu);
inline constexpr com::HRESULT kUnknownResource = com::MakeHresult(0x80047060u);

inline com::ComPtr<IIviDriver> NewDriver() {
  com::ComPtr<IIviDriver> driver;
  CreateMorvaneTqr(driver.Put());
  return driver;
}

inline com::HRESULT Initialize(IIviDriver* driver, const std::string& resource, bool id_query,
                               bool reset, const std::string& options = "") {
  return driver->Initialize(
      com::Bstr::FromUtf8(resource).Get(), id_query ? com::VARIANT_TRUE : com::VARIANT_FALSE,
      reset ? com::VARIANT_TRUE : com::VARIANT_FALSE, com::Bstr::FromUtf8(options).Get());
}

// The description of the calling thread's error object (taken).
inline std::string LastError() {
  com::ErrorRecord record;
  com::TakeErrorInfo(&record);
  return record.description;
}

template <class I>
com::ComPtr<I> As(const com::ComPtr<IIviDriver>& driver) {
  com::ComPtr<I> r;
  driver.As(&r);
  return r;
}

inline std::string Model(const com::ComPtr<IIviDriver>& driver) {
  com::Bstr model;
  As<IIviDriverIdentity>(driver)->get_InstrumentModel(model.Put());
  return model.ToUtf8();
}

}  // namespace motqr::e2e
