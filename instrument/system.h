// IMorvaneTqrSystem: the clock, key lock, remote/local state, power-on
// recall, remote sensing, time zone; raw I/O with the instrument (refused
// while simulating); and the Analog, IO, Memory and Diagnostic
// sub-interfaces, which are the same object.
#pragma once

#include <cstdint>
#include <string_view>

#include "driver/member_macros.h"
#include "instrument/member_shapes.h"
#include "interfaces/system.h"

// (type, name, query, reply, set, sim)
#define MOTQR_SYSTEM_PROPERTIES(P)                                                                \
  P(VARIANT_BOOL, KeyLockEnabled, ":SYST:KLOC?", "%{VARIANT_BOOL}[^\n]",                          \
    ":SYST:KLOC %{VARIANT_BOOL}s", kYes)                                                          \
  P(std::int32_t, KeyLockLevel, ":SYST:KLOC:LEV?", nullptr, ":SYST:KLOC:LEV %d", kYes)            \
  P(MorvaneTqrRemoteLocalStateEnum, RemoteLocalState, ":SYST:COMM:RLST?",                         \
    "%{MorvaneTqrRemoteLocalStateEnum}[^\n]",                                                     \
    ":SYST:COMM:RLST %{MorvaneTqrRemoteLocalStateEnum}s", kYes)                                   \
  P(MorvaneTqrPowerOnRecallStateEnum, PowerOnRecallState, ":SYST:PON?",                           \
    "%{MorvaneTqrPowerOnRecallStateEnum}[^\n]", ":SYST:PON %{MorvaneTqrPowerOnRecallStateEnum}s", \
    kYes)                                                                                         \
  P(VARIANT_BOOL, RemoteSensingEnabled, ":SYST:RSEN?", "%{VARIANT_BOOL}[^\n]",                    \
    ":SYST:RSEN %{VARIANT_BOOL}s", kYes)                                                          \
  P(BSTR, TimeZone, "SYST:TZONE?", "%$B[^\n]", "SYST:TZONE %$Bs", kYes)

// (type, name, query, reply, set, sim)
#define MOTQR_SYSTEM_READONLY(P)                                                \
  P(std::int32_t, ParallelUnit, ":SYST:PARA:UNIT:COUN?", nullptr, nullptr, kNo) \
  P(VARIANT_BOOL, MsyncEnabled, ":SYST:MSYN?", "%{VARIANT_BOOL}[^\n]", nullptr, kNo)

// (name, command)
#define MOTQR_SYSTEM_COMMANDS(C) C(SyncClocks, ":SYST:TIME:ADJ")

// (name, argument, command template, placeholder): the placeholder becomes
// the list of the array's elements.
#define MOTQR_SYSTEM_PLACEHOLDER(S)               \
  S(SetDate, Date, ":SYST:DATE {Date}", "{Date}") \
  S(SetTime, Time, ":SYST:TIME {Time}", "{Time}")

// (name, query, reply, result name)
#define MOTQR_SYSTEM_LISTS(L)                  \
  L(QueryDate, ":SYST:DATE?", "%,$Sd", "Date") \
  L(QueryTime, ":SYST:TIME?", "%,$Sd", "Time")

// (name, query, reply, argument type and name, result name)
#define MOTQR_SYSTEM_LISTS_1(L)                                                    \
  L(GetTimeZoneList, ":SYST:TZON:CAT? %{MorvaneTqrTimeZoneGroupEnum}s", "%,$S$Bs", \
    MorvaneTqrTimeZoneGroupEnum, Group, "List")

namespace motqr::instrument {

// Sends `format` (a command template) with every `placeholder` in it
// replaced by the list of the 32-bit elements of `values`.
com::HRESULT SetWithPlaceholder(driver::CallFrame& f, const char* format,
                                std::string_view placeholder, com::SAFEARRAY* values);

// Raw I/O with the instrument, past the formatted I/O buffers.
com::HRESULT DirectReadBytes(driver::CallFrame& f, com::SAFEARRAY** data);
com::HRESULT DirectReadString(driver::CallFrame& f, BSTR* data);
com::HRESULT DirectWriteBytes(driver::CallFrame& f, com::SAFEARRAY* data, std::int64_t* written);
com::HRESULT DirectWriteString(driver::CallFrame& f, BSTR data);
com::HRESULT GetIoTimeout(driver::CallFrame& f, std::int32_t* timeout);
com::HRESULT PutIoTimeout(driver::CallFrame& f, std::int32_t timeout);
com::HRESULT GetDirectIo(driver::CallFrame& f, visa::IFormattedIO488** io);

#define MOTQR_MEMBER_PLACEHOLDER(Name, Argument, Template, Placeholder)         \
  com::HRESULT Name(com::SAFEARRAY* Argument) override {                        \
    return Run<#Name>([&](driver::CallFrame& f) -> com::HRESULT {               \
      MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter(#Argument, Argument))); \
      return SetWithPlaceholder(f, Template, Placeholder, Argument);            \
    });                                                                         \
  }
#define MOTQR_ROW_VIEW_PLACEHOLDER(Name, Argument, Template, Placeholder) \
  driver::RowView{#Name, "method", nullptr, nullptr, Template, driver::Sim::kNo},

template <class Self>
class System : public driver::MemberSet<Self, IMorvaneTqrSystem> {
 public:
  using Interface = IMorvaneTqrSystem;
  MOTQR_SYSTEM_PROPERTIES(MOTQR_MEMBER_PROPERTY)
  MOTQR_SYSTEM_READONLY(MOTQR_MEMBER_READONLY)
  MOTQR_SYSTEM_COMMANDS(MOTQR_MEMBER_COMMAND)
  MOTQR_SYSTEM_PLACEHOLDER(MOTQR_MEMBER_PLACEHOLDER)
  MOTQR_SYSTEM_LISTS(MOTQR_MEMBER_LIST_0)
  MOTQR_SYSTEM_LISTS_1(MOTQR_MEMBER_LIST_1)

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

  // The sub-interfaces: this same object.
  com::HRESULT get_Analog(IMorvaneTqrSystemAnalog** val) override {
    return Navigate<"get_Analog">(val);
  }
  com::HRESULT get_IO(IMorvaneTqrSystemIO** val) override { return Navigate<"get_IO">(val); }
  com::HRESULT get_Memory(IMorvaneTqrSystemMemory** val) override {
    return Navigate<"get_Memory">(val);
  }
  com::HRESULT get_Diagnostic(IMorvaneTqrSystemDiagnostic** val) override {
    return Navigate<"get_Diagnostic">(val);
  }

 protected:
  ~System() = default;

 private:
  template <driver::FixedString M, class Body>
  com::HRESULT Run(Body&& body) {
    return driver::RunFrame(this->node(), driver::Describe<Interface, M>(),
                            driver::Check::kInitialized, body);
  }
  // A navigation property: no initialized check; one more reference.
  template <driver::FixedString M, class Sub>
  com::HRESULT Navigate(Sub** val) {
    return driver::RunFrame(this->node(), driver::Describe<Interface, M>(), driver::Check::kNone,
                            [&](driver::CallFrame& f) -> com::HRESULT {
                              MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
                              MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val)));
                              return this->QueryInterface(Sub::kIid, reinterpret_cast<void**>(val));
                            });
  }
};

inline constexpr driver::RowView kSystemRows[] = {
    MOTQR_SYSTEM_PROPERTIES(MOTQR_ROW_VIEW_PROPERTY) MOTQR_SYSTEM_READONLY(MOTQR_ROW_VIEW_PROPERTY)
        MOTQR_SYSTEM_COMMANDS(MOTQR_ROW_VIEW_COMMAND)
            MOTQR_SYSTEM_PLACEHOLDER(MOTQR_ROW_VIEW_PLACEHOLDER)
                MOTQR_SYSTEM_LISTS(MOTQR_ROW_VIEW_GET) MOTQR_SYSTEM_LISTS_1(MOTQR_ROW_VIEW_GET)};

}  // namespace motqr::instrument
