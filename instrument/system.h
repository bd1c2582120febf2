// IMorvaneTqrSystem: the clock, key lock, remote/local state, power-on
// recall, remote sensing, time zone; raw I/O with the instrument (refused
// while simulating); and the Analog, IO, Memory and Diagnostic
// sub-interfaces, which are the same object.
#pragma once

#include <cstdint>

#include "instrument/member_shapes.h"
#include "interfaces/system.h"

// clang-format off
#define MOTQR_SYSTEM_MEMBERS(S) \
  S##_BY_HAND(ReadBytes, "direct I/O", nullptr, nullptr, nullptr) \
  S##_BY_HAND(ReadString, "direct I/O", nullptr, nullptr, nullptr) \
  S##_BY_HAND(WriteBytes, "direct I/O", nullptr, nullptr, nullptr) \
  S##_BY_HAND(WriteString, "direct I/O", nullptr, nullptr, nullptr) \
  S##_ARRAY_COMMAND(SetDate, ":SYST:DATE {Date}", Date) \
  S##_ARRAY_QUERY(QueryDate, ":SYST:DATE?", "%,$Sd", "Date") \
  S##_ARRAY_COMMAND(SetTime, ":SYST:TIME {Time}", Time) \
  S##_ARRAY_QUERY(QueryTime, ":SYST:TIME?", "%,$Sd", "Time") \
  S##_COMMAND(SyncClocks, ":SYST:TIME:ADJ") \
  S##_ARRAY_QUERY_1(GetTimeZoneList, ":SYST:TZON:CAT? %{MorvaneTqrTimeZoneGroupEnum}s", "%,$S$Bs", MorvaneTqrTimeZoneGroupEnum, Group, "List") \
  S##_BY_HAND(IOTimeout, "property", nullptr, nullptr, nullptr) \
  S##_BY_HAND(DirectIO, "read-only property", nullptr, nullptr, nullptr) \
  S##_INTERFACE(IMorvaneTqrSystemAnalog, Analog) \
  S##_INTERFACE(IMorvaneTqrSystemIO, IO) \
  S##_INTERFACE(IMorvaneTqrSystemMemory, Memory) \
  S##_PROPERTY(VARIANT_BOOL, KeyLockEnabled, ":SYST:KLOC?", "%{VARIANT_BOOL}[^\n]", ":SYST:KLOC %{VARIANT_BOOL}s", kYes) \
  S##_PROPERTY(std::int32_t, KeyLockLevel, ":SYST:KLOC:LEV?", nullptr, ":SYST:KLOC:LEV %d", kYes) \
  S##_PROPERTY(MorvaneTqrRemoteLocalStateEnum, RemoteLocalState, ":SYST:COMM:RLST?", "%{MorvaneTqrRemoteLocalStateEnum}[^\n]", ":SYST:COMM:RLST %{MorvaneTqrRemoteLocalStateEnum}s", kYes) \
  S##_READ_ONLY(std::int32_t, ParallelUnit, ":SYST:PARA:UNIT:COUN?", nullptr, kNo) \
  S##_READ_ONLY(VARIANT_BOOL, MsyncEnabled, ":SYST:MSYN?", "%{VARIANT_BOOL}[^\n]", kNo) \
  S##_PROPERTY(MorvaneTqrPowerOnRecallStateEnum, PowerOnRecallState, ":SYST:PON?", "%{MorvaneTqrPowerOnRecallStateEnum}[^\n]", ":SYST:PON %{MorvaneTqrPowerOnRecallStateEnum}s", kYes) \
  S##_PROPERTY(VARIANT_BOOL, RemoteSensingEnabled, ":SYST:RSEN?", "%{VARIANT_BOOL}[^\n]", ":SYST:RSEN %{VARIANT_BOOL}s", kYes) \
  S##_PROPERTY(BSTR, TimeZone, "SYST:TZONE?", "%$B[^\n]", "SYST:TZONE %$Bs", kYes) \
  S##_INTERFACE(IMorvaneTqrSystemDiagnostic, Diagnostic)
// clang-format on

namespace motqr::instrument {

// Raw I/O with the instrument, past the formatted I/O buffers.
com::HRESULT DirectReadBytes(driver::CallFrame& f, com::SAFEARRAY** data);
com::HRESULT DirectReadString(driver::CallFrame& f, BSTR* data);
com::HRESULT DirectWriteBytes(driver::CallFrame& f, com::SAFEARRAY* data, std::int64_t* written);
com::HRESULT DirectWriteString(driver::CallFrame& f, BSTR data);
com::HRESULT GetIoTimeout(driver::CallFrame& f, std::int32_t* timeout);
com::HRESULT PutIoTimeout(driver::CallFrame& f, std::int32_t timeout);
com::HRESULT GetDirectIo(driver::CallFrame& f, visa::IFormattedIO488** io);

template <class Self>
class System : public driver::MemberSet<Self, IMorvaneTqrSystem> {
 public:
  using Interface = IMorvaneTqrSystem;
  MOTQR_SYSTEM_MEMBERS(MOTQR_MEMBER)

  // Direct I/O.
  com::HRESULT ReadBytes(com::SAFEARRAY** Val) override {
    return Run<"ReadBytes">([&](driver::CallFrame& f) { return DirectReadBytes(f, Val); });
  }
  com::HRESULT ReadString(BSTR* Val) override {
    return Run<"ReadString">([&](driver::CallFrame& f) { return DirectReadString(f, Val); });
  }
  com::HRESULT WriteBytes(com::SAFEARRAY* Buffer, std::int64_t* Val) override {
    return Run<"WriteBytes">(
        [&](driver::CallFrame& f) { return DirectWriteBytes(f, Buffer, Val); });
  }
  com::HRESULT WriteString(BSTR Data) override {
    return Run<"WriteString">([&](driver::CallFrame& f) { return DirectWriteString(f, Data); });
  }
  com::HRESULT get_IOTimeout(std::int32_t* val) override {
    return Run<"get_IOTimeout">([&](driver::CallFrame& f) -> com::HRESULT {
      MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
      MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val)));
      return GetIoTimeout(f, val);
    });
  }
  com::HRESULT put_IOTimeout(std::int32_t val) override {
    return Run<"put_IOTimeout">([&](driver::CallFrame& f) -> com::HRESULT {
      MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter("val", val)));
      return PutIoTimeout(f, val);
    });
  }
  com::HRESULT get_DirectIO(visa::IFormattedIO488** val) override {
    return Run<"get_DirectIO">([&](driver::CallFrame& f) -> com::HRESULT {
      MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
      // The session's I/O object is only declared here: traced as an interface.
      MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val, com::VT_UNKNOWN)));
      return GetDirectIo(f, val);
    });
  }

 protected:
  ~System() = default;

 private:
  template <driver::FixedString M, class Body>
  com::HRESULT Run(Body&& body) {
    return driver::RunFrame(this->node(), driver::Describe<Interface, M>(),
                            driver::Check::kInitialized, body);
  }
};

inline constexpr RowView kSystemRows[] = {MOTQR_SYSTEM_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
