// System settings of the driver object: raw I/O with the instrument, the
// clock, panel lock, remote sensing, and the Analog, IO, Memory and Diagnostic
// sub-interfaces (the same driver object through another interface).
//
//   IMorvaneTqrSystem* system;
//   driver->get_System(&system);
//   system->WriteString(command);               // raw text, no status check
//   IMorvaneTqrSystemMemory* memory;
//   system->get_Memory(&memory);
//   memory->RecallSettings(1);
//
// Arrays are one-dimensional, zero-based SAFEARRAYs of the element type (bytes,
// 32-bit integers, strings or 32-bit enumeration values); an out array belongs
// to the caller afterwards.
#pragma once

#include <cstdint>

#include "interfaces/common.h"
#include "interfaces/enums.h"

namespace motqr::visa {
// The VISA-COM formatted I/O object of the session (declared with the I/O
// library's interfaces).
class IFormattedIO488;
}  // namespace motqr::visa

namespace motqr {

class IMorvaneTqrSystemAnalog;
class IMorvaneTqrSystemIO;
class IMorvaneTqrSystemMemory;
class IMorvaneTqrSystemDiagnostic;

class IMorvaneTqrSystem : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x08);
  static constexpr const char* kName = "IMorvaneTqrSystem";
  virtual HRESULT ReadBytes(com::SAFEARRAY** Val) = 0;
  virtual HRESULT ReadString(BSTR* Val) = 0;
  virtual HRESULT WriteBytes(com::SAFEARRAY* Buffer, std::int64_t* Val) = 0;
  virtual HRESULT WriteString(BSTR Data) = 0;
  virtual HRESULT SetDate(com::SAFEARRAY* Date) = 0;
  virtual HRESULT QueryDate(com::SAFEARRAY** Date) = 0;
  virtual HRESULT SetTime(com::SAFEARRAY* Time) = 0;
  virtual HRESULT QueryTime(com::SAFEARRAY** Time) = 0;
  virtual HRESULT SyncClocks() = 0;
  virtual HRESULT GetTimeZoneList(MorvaneTqrTimeZoneGroupEnum Group, com::SAFEARRAY** List) = 0;
  virtual HRESULT get_IOTimeout(std::int32_t* val) = 0;
  virtual HRESULT put_IOTimeout(std::int32_t val) = 0;
  virtual HRESULT get_DirectIO(visa::IFormattedIO488** val) = 0;
  virtual HRESULT get_Analog(IMorvaneTqrSystemAnalog** val) = 0;
  virtual HRESULT get_IO(IMorvaneTqrSystemIO** val) = 0;
  virtual HRESULT get_Memory(IMorvaneTqrSystemMemory** val) = 0;
  virtual HRESULT get_KeyLockEnabled(VARIANT_BOOL* val) = 0;
  virtual HRESULT put_KeyLockEnabled(VARIANT_BOOL val) = 0;
  virtual HRESULT get_KeyLockLevel(std::int32_t* val) = 0;
  virtual HRESULT put_KeyLockLevel(std::int32_t val) = 0;
  virtual HRESULT get_RemoteLocalState(MorvaneTqrRemoteLocalStateEnum* val) = 0;
  virtual HRESULT put_RemoteLocalState(MorvaneTqrRemoteLocalStateEnum val) = 0;
  virtual HRESULT get_ParallelUnit(std::int32_t* val) = 0;
  virtual HRESULT get_MsyncEnabled(VARIANT_BOOL* val) = 0;
  virtual HRESULT get_PowerOnRecallState(MorvaneTqrPowerOnRecallStateEnum* val) = 0;
  virtual HRESULT put_PowerOnRecallState(MorvaneTqrPowerOnRecallStateEnum val) = 0;
  virtual HRESULT get_RemoteSensingEnabled(VARIANT_BOOL* val) = 0;
  virtual HRESULT put_RemoteSensingEnabled(VARIANT_BOOL val) = 0;
  virtual HRESULT get_TimeZone(BSTR* val) = 0;
  virtual HRESULT put_TimeZone(BSTR val) = 0;
  virtual HRESULT get_Diagnostic(IMorvaneTqrSystemDiagnostic** val) = 0;

 protected:
  ~IMorvaneTqrSystem() = default;
};

class IMorvaneTqrSystemAnalog : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x09);
  static constexpr const char* kName = "IMorvaneTqrSystemAnalog";
  virtual HRESULT QueryAnalogControlSelectedRangeMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryAnalogControlVoltageRangeMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryAnalogMonitorCurrentRangeMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryAnalogMonitorVoltageRangeMinMax(double* Min, double* Max) = 0;
  virtual HRESULT get_AnalogControlSelectedRange(double* val) = 0;
  virtual HRESULT put_AnalogControlSelectedRange(double val) = 0;
  virtual HRESULT get_AnalogControlVoltageRange(double* val) = 0;
  virtual HRESULT put_AnalogControlVoltageRange(double val) = 0;
  virtual HRESULT get_AnalogMonitorCurrentRange(double* val) = 0;
  virtual HRESULT put_AnalogMonitorCurrentRange(double val) = 0;
  virtual HRESULT get_AnalogMonitorVoltageRange(double* val) = 0;
  virtual HRESULT put_AnalogMonitorVoltageRange(double val) = 0;

 protected:
  ~IMorvaneTqrSystemAnalog() = default;
};

// The digital I/O terminals: arrays of 32-bit enumeration values, one element
// per terminal in terminal order; the Query members' arrays are in/out.
class IMorvaneTqrSystemIO : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x0A);
  static constexpr const char* kName = "IMorvaneTqrSystemIO";
  // Elements: MorvaneTqrIOInputFilterEnum.
  virtual HRESULT ConfigureIOInputFilter(com::SAFEARRAY* Filter) = 0;
  virtual HRESULT QueryIOInputFilter(com::SAFEARRAY** Filter) = 0;
  // Elements: MorvaneTqrIOInputFunctionEnum.
  virtual HRESULT ConfigureIOInputFunction(com::SAFEARRAY* Function) = 0;
  virtual HRESULT QueryIOInputFunction(com::SAFEARRAY** Function) = 0;
  // Elements: MorvaneTqrIOPolarityEnum.
  virtual HRESULT ConfigureIOInputPolarity(com::SAFEARRAY* Polarity) = 0;
  virtual HRESULT QueryIOInputPolarity(com::SAFEARRAY** Polarity) = 0;
  // Elements: MorvaneTqrIOOutputFunctionEnum.
  virtual HRESULT ConfigureIOOutputFunction(com::SAFEARRAY* Function) = 0;
  virtual HRESULT QueryIOOutputFunction(com::SAFEARRAY** Function) = 0;
  // Elements: MorvaneTqrIOPolarityEnum.
  virtual HRESULT ConfigureIOOutputPolarity(com::SAFEARRAY* Polarity) = 0;
  virtual HRESULT QueryIOOutputPolarity(com::SAFEARRAY** Polarity) = 0;
  virtual HRESULT get_IOEnabled(VARIANT_BOOL* val) = 0;
  virtual HRESULT put_IOEnabled(VARIANT_BOOL val) = 0;

 protected:
  ~IMorvaneTqrSystemIO() = default;
};

class IMorvaneTqrSystemMemory : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x0B);
  static constexpr const char* kName = "IMorvaneTqrSystemMemory";
  virtual HRESULT FactoryDefault() = 0;
  virtual HRESULT RecallSettings(std::int32_t MemoryNumber) = 0;
  virtual HRESULT SaveSettings(std::int32_t MemoryNumber) = 0;

 protected:
  ~IMorvaneTqrSystemMemory() = default;
};

class IMorvaneTqrSystemDiagnostic : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x0C);
  static constexpr const char* kName = "IMorvaneTqrSystemDiagnostic";
  virtual HRESULT QueryFirmwareVersion(BSTR* FirmwareVersion) = 0;
  virtual HRESULT QueryLinePower(double* LinePower) = 0;

 protected:
  ~IMorvaneTqrSystemDiagnostic() = default;
};

}  // namespace motqr
