// IMorvaneTqrOutputChannel: the output's levels and on/off state, its function
// modes, priority, response speeds and slew rates, the power, negative and
// seamless levels, measurements, the output sync signal, and the channel's
// other interfaces (Protection, Pulse, Sine, IV).
#pragma once

#include "driver/member_macros.h"
#include "interfaces/output_channel.h"

// (type, name, query, reply, set, sim)
#define MOTQR_OUTPUT_CHANNEL_PROPERTIES(P)                                                         \
  P(double, VoltageLevel, ":VOLT?", nullptr, ":VOLT %0.6lg", kYes)                                 \
  P(double, CurrentLevel, ":CURR?", nullptr, ":CURR %0.6lg", kYes)                                 \
  P(VARIANT_BOOL, Enabled, ":OUTP?", "%{VARIANT_BOOL}[^\n]", ":OUTP %{VARIANT_BOOL}s;", kYes)      \
  P(MorvaneTqrPowerOnModeEnum, PowerOnMode, ":OUTP:PON?", "%{MorvaneTqrPowerOnModeEnum}[^\n]",     \
    ":OUTP:PON %{MorvaneTqrPowerOnModeEnum}s", kYes)                                               \
  P(MorvaneTqrOutputFunctionModeEnum, VoltageMode, ":VOLT:FUNC:MODE?",                             \
    "%{MorvaneTqrOutputFunctionModeEnum}[^\n]",                                                    \
    ":VOLT:FUNC:MODE %{MorvaneTqrOutputFunctionModeEnum}s", kYes)                                  \
  P(MorvaneTqrOutputFunctionModeEnum, CurrentMode, ":CURR:FUNC:MODE?",                             \
    "%{MorvaneTqrOutputFunctionModeEnum}[^\n]",                                                    \
    ":CURR:FUNC:MODE %{MorvaneTqrOutputFunctionModeEnum}s", kYes)                                  \
  P(MorvaneTqrOutputFunctionModeEnum, PowerMode, ":POW:FUNC:MODE?",                                \
    "%{MorvaneTqrOutputFunctionModeEnum}[^\n]",                                                    \
    ":POW:FUNC:MODE %{MorvaneTqrOutputFunctionModeEnum}s", kYes)                                   \
  P(MorvaneTqrOutputPriorityEnum, Priority, ":FUNC:MODE?", "%{MorvaneTqrOutputPriorityEnum}[^\n]", \
    ":FUNC:MODE %{MorvaneTqrOutputPriorityEnum}s", kNo)                                            \
  P(MorvaneTqrOutputOffImpedanceModeEnum, ImpedanceMode, ":FUNC:OFF:MODE?",                        \
    "%{MorvaneTqrOutputOffImpedanceModeEnum}[^\n]",                                                \
    ":FUNC:OFF:MODE %{MorvaneTqrOutputOffImpedanceModeEnum}s", kYes)                               \
  P(MorvaneTqrResponseSpeedEnum, CurrentResponseSpeed, ":CURR:RESP?",                              \
    "%{MorvaneTqrResponseSpeedEnum}[^\n]", ":CURR:RESP %{MorvaneTqrResponseSpeedEnum}s", kYes)     \
  P(MorvaneTqrResponseSpeedEnum, VoltageReponseSpeed, ":VOLT:RESP?",                               \
    "%{MorvaneTqrResponseSpeedEnum}[^\n]", ":VOLT:RESP %{MorvaneTqrResponseSpeedEnum}s", kNo)      \
  P(double, CurrentSlewRate, ":CURR:SLEW?", nullptr, ":CURR:SLEW %0.6lg", kYes)                    \
  P(double, VoltageSlewRate, ":VOLT:SLEW?", nullptr, ":VOLT:SLEW %0.6lg", kYes)                    \
  P(double, PowerLevel, ":POW?", nullptr, ":POW %0.6lg", kYes)                                     \
  P(double, NegativeCurrentLevel, ":CURR:NEG?", nullptr, ":CURR:NEG %0.6lg", kYes)                 \
  P(double, NegativePowerLevel, ":POW:NEG?", nullptr, ":POW:NEG %0.6lg", kYes)                     \
  P(double, SeamlessCurrentLevel, ":CURR:SEAM?", nullptr, ":CURR:SEAM %0.6lg", kYes)               \
  P(double, SeamlessPowerLevel, ":POW:SEAM?", nullptr, ":POW:SEAM %0.6lg", kYes)                   \
  P(double, IRLevel, ":RES:IR?", nullptr, ":RES:IR %0.6lg", kYes)                                  \
  P(VARIANT_BOOL, MsyncAcceptEnabled, ":OUTP:MSYN:ACC?", "%{VARIANT_BOOL}[^\n]",                   \
    ":OUTP:MSYN:ACC %{VARIANT_BOOL}s", kYes)

// (name, command)
#define MOTQR_OUTPUT_CHANNEL_MIN_MAX(M)                           \
  M(QueryVoltageLevelMinMax, ":VOLT? MIN;VOLT? MAX")              \
  M(QueryCurrentLevelMinMax, ":CURR? MIN;CURR? MAX")              \
  M(QueryCurrentSlewRateMinMax, ":CURR:SLEW? MIN;SLEW? MAX")      \
  M(QueryVoltageSlewRateMinMax, ":VOLT:SLEW? MIN;SLEW? MAX")      \
  M(QueryPowerLevelMinMax, "POWER? MIN;POWER? MAX")               \
  M(QueryNegativeCurrentLevelMinMax, ":CURR:NEG? MIN;NEG? MAX")   \
  M(QueryNegativePowerLevelMinMax, ":POW:NEG? MIN;NEG? MAX")      \
  M(QuerySeamlessCurrentLevelMinMax, ":CURR:SEAM? MIN;SEAM? MAX") \
  M(QuerySeamlessPowerLevelMinMax, ":POW:SEAM? MIN;SEAM? MAX")    \
  M(QueryResistanceIRMinMax, ":RES:IR? MIN;IR? MAX")

// One measured quantity, chosen by the MeasurementType argument: :MEAS takes a
// new reading, :READ too, :FETC returns the last one taken.
// (name, command, reply)
#define MOTQR_OUTPUT_CHANNEL_MEASUREMENTS(M)                      \
  M(Measure, ":MEAS:%{MorvaneTqrMeasurementTypeEnum}s?", "%@3lf") \
  M(Read, ":READ:%{MorvaneTqrMeasurementTypeEnum}s?", "%@3lf")    \
  M(Fetch, ":FETC:%{MorvaneTqrMeasurementTypeEnum}s?", "%@3lf")

// Every quantity at once (voltage, current, power, elapsed time, capacity,
// energy, in reply order) into a new array of doubles.
// (name, command, reply)
#define MOTQR_OUTPUT_CHANNEL_ALL_MEASUREMENTS(A) \
  A(MeasureAll, ":MEAS:ALL?", "%,$Slf")          \
  A(FetchAll, ":FETC:ALL?", "%,$Slf")            \
  A(ReadAll, ":READ:ALL?", "%,$Slf")

// Sends the output-on (true) or output-off (false) sync signal.
#define MOTQR_OUTPUT_CHANNEL_MSYNC_COMMAND ":OUTP:MSYN %{VARIANT_BOOL}s"

#define MOTQR_MEMBER_CHANNEL_MEASUREMENT(Name, Command, Reply)                                   \
  ::motqr::com::HRESULT Name(MorvaneTqrMeasurementTypeEnum MeasurementType, double* Measurement) \
      override {                                                                                 \
    static constexpr ::motqr::driver::MethodRow kRow{Command, Reply};                            \
    return ::motqr::driver::Call<Interface, #Name>(                                              \
        this->node(), kRow,                                                                      \
        ::motqr::driver::Inputs(MOTQR_ARG(MorvaneTqrMeasurementTypeEnum, MeasurementType)),      \
        ::motqr::driver::Out<double>{Measurement, "Measurement"});                               \
  }
#define MOTQR_MEMBER_CHANNEL_ALL_MEASUREMENTS(Name, Command, Reply)                       \
  ::motqr::com::HRESULT Name(::motqr::com::SAFEARRAY** Measurements) override {           \
    static constexpr ::motqr::driver::MethodRow kRow{Command, Reply};                     \
    return ::motqr::instrument::QueryMeasurementArray(                                    \
        this->node(), ::motqr::driver::Describe<Interface, #Name>(), kRow, Measurements); \
  }
#define MOTQR_ROW_VIEW_CHANNEL_QUERY(Name, Command, Reply) \
  ::motqr::driver::RowView{#Name, "method", Command, Reply, nullptr, ::motqr::driver::Sim::kNo},

namespace motqr::instrument {

// Runs `row` (a query read with "%,$Slf") in the frame of `method` and hands
// the new array to the caller only when the whole reply was read.
HRESULT QueryMeasurementArray(driver::CNode& node, const errors::MethodDescriptor& method,
                              const driver::MethodRow& row, com::SAFEARRAY** Measurements);

// A navigation property: the same object through its interface `Target`, with
// one more reference. Needs no initialized session.
template <class I, driver::FixedString M, class Target>
HRESULT HandOutInterface(driver::CNode& node, com::IUnknown* self, Target** val) {
  return driver::RunFrame(
      node, driver::Describe<I, M>(), driver::Check::kNone, [&](driver::CallFrame& f) -> HRESULT {
        MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
        MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val)));
        return self->QueryInterface(Target::kIid, reinterpret_cast<void**>(val));
      });
}

template <class Self>
class OutputChannel : public driver::MemberSet<Self, IMorvaneTqrOutputChannel> {
 public:
  using Interface = IMorvaneTqrOutputChannel;
  MOTQR_OUTPUT_CHANNEL_MEASUREMENTS(MOTQR_MEMBER_CHANNEL_MEASUREMENT)
  MOTQR_OUTPUT_CHANNEL_ALL_MEASUREMENTS(MOTQR_MEMBER_CHANNEL_ALL_MEASUREMENTS)
  MOTQR_OUTPUT_CHANNEL_MIN_MAX(MOTQR_MEMBER_MIN_MAX)
  MOTQR_OUTPUT_CHANNEL_PROPERTIES(MOTQR_MEMBER_PROPERTY)

  HRESULT ExecuteMSync(VARIANT_BOOL MSync) override {
    static constexpr driver::MethodRow kRow{MOTQR_OUTPUT_CHANNEL_MSYNC_COMMAND, nullptr};
    return driver::Call<Interface, "ExecuteMSync">(this->node(), kRow,
                                                   driver::Inputs(MOTQR_ARG(VARIANT_BOOL, MSync)));
  }

  HRESULT get_Protection(IMorvaneTqrOutputChannelProtection** val) override {
    return HandOutInterface<Interface, "get_Protection">(this->node(), this, val);
  }
  HRESULT get_Pulse(IMorvaneTqrOutputChannelPulse** val) override {
    return HandOutInterface<Interface, "get_Pulse">(this->node(), this, val);
  }
  HRESULT get_Sine(IMorvaneTqrOutputChannelSine** val) override {
    return HandOutInterface<Interface, "get_Sine">(this->node(), this, val);
  }
  HRESULT get_IV(IMorvaneTqrOutputChannelIV** val) override {
    return HandOutInterface<Interface, "get_IV">(this->node(), this, val);
  }

 protected:
  ~OutputChannel() = default;
};

inline constexpr driver::RowView kOutputChannelRows[] = {
    MOTQR_OUTPUT_CHANNEL_PROPERTIES(MOTQR_ROW_VIEW_PROPERTY)
        MOTQR_OUTPUT_CHANNEL_MIN_MAX(MOTQR_ROW_VIEW_MIN_MAX)
            MOTQR_OUTPUT_CHANNEL_MEASUREMENTS(MOTQR_ROW_VIEW_CHANNEL_QUERY)
                MOTQR_OUTPUT_CHANNEL_ALL_MEASUREMENTS(MOTQR_ROW_VIEW_CHANNEL_QUERY)
                    MOTQR_ROW_VIEW_COMMAND(ExecuteMSync, MOTQR_OUTPUT_CHANNEL_MSYNC_COMMAND)};

}  // namespace motqr::instrument
