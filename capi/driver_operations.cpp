// The operations of the driver object: triggers, system settings and the
// clock, digital I/O, memories, diagnostics, integration, programs, status and
// global settings.
#include "capi/operation_shapes.h"

using namespace motqr;
using namespace motqr::capi;

namespace {

using Trigger = IMorvaneTqrTrigger;
using System = IMorvaneTqrSystem;
using Analog = IMorvaneTqrSystemAnalog;
using SystemIO = IMorvaneTqrSystemIO;
using Memory = IMorvaneTqrSystemMemory;
using Diagnostic = IMorvaneTqrSystemDiagnostic;
using Data = IMorvaneTqrData;
using Program = IMorvaneTqrProgram;

template <class E>
E Enum(ViInt32 value) {
  return static_cast<E>(value);
}

}  // namespace

// Members without arguments: C name, interface, member.
#define MOTQR_DRIVER_ACTION(CName, Interface, Member)                        \
  MOTQR_C_EXPORT ViStatus motqr_##CName(ViSession vi) {                      \
    return OnDriver<Interface>(vi, [](Interface& i) { return i.Member(); }); \
  }
MOTQR_DRIVER_ACTION(Abort, IIviDCPwrTrigger, Abort)
MOTQR_DRIVER_ACTION(Initiate, IIviDCPwrTrigger, Initiate)
MOTQR_DRIVER_ACTION(SendSoftwareTrigger, IIviDCPwrTrigger, SendSoftwareTrigger)
MOTQR_DRIVER_ACTION(SendSoftwareTrigger2, Trigger, SendSoftwareTrigger)
MOTQR_DRIVER_ACTION(PauseTransient, Trigger, PauseTransient)
MOTQR_DRIVER_ACTION(ResumeTransient, Trigger, ResumeTransient)
MOTQR_DRIVER_ACTION(SyncClocks, System, SyncClocks)
MOTQR_DRIVER_ACTION(FactoryDefault, Memory, FactoryDefault)
MOTQR_DRIVER_ACTION(ResetIntegralData, Data, ResetIntegralData)
MOTQR_DRIVER_ACTION(StartIntegral, Data, StartIntegral)
MOTQR_DRIVER_ACTION(StopIntegral, Data, StopIntegral)
MOTQR_DRIVER_ACTION(DeleteAllPrograms, Program, DeleteAllPrograms)
MOTQR_DRIVER_ACTION(DeleteSelectedProgram, Program, DeleteSelectedProgram)
MOTQR_DRIVER_ACTION(SaveProgram, Program, SaveProgram)
MOTQR_DRIVER_ACTION(UnchainAllPrograms, Program, UnchainAllPrograms)
MOTQR_DRIVER_ACTION(ResetFilter, IMorvaneTqrStatus, ResetFilter)
#undef MOTQR_DRIVER_ACTION

// Members with one value argument: C name, interface, member, C type, parameter, driver value.
#define MOTQR_DRIVER_SET(CName, Interface, Member, CType, Param, Value)            \
  MOTQR_C_EXPORT ViStatus motqr_##CName(ViSession vi, CType Param) {               \
    return OnDriver<Interface>(vi, [&](Interface& i) { return i.Member(Value); }); \
  }
MOTQR_DRIVER_SET(Initiate2, Trigger, Initiate, ViInt32, TriggerSystem,
                 Enum<MorvaneTqrTriggerSystemEnum>(TriggerSystem))
MOTQR_DRIVER_SET(Abort2, Trigger, Abort, ViInt32, TriggerSystem,
                 Enum<MorvaneTqrTriggerSystemEnum>(TriggerSystem))
MOTQR_DRIVER_SET(RecallSettings, Memory, RecallSettings, ViInt32, MemoryNumber, MemoryNumber)
MOTQR_DRIVER_SET(SaveSettings, Memory, SaveSettings, ViInt32, MemoryNumber, MemoryNumber)
MOTQR_DRIVER_SET(ConfigureIntegralGateResetMethod, Data, ConfigureIntegralGateResetMethod, ViInt32,
                 Method, Enum<MorvaneTqrDataIntegralGateResetMethodEnum>(Method))
MOTQR_DRIVER_SET(ConfigureIntegralGateStartStopCondition, Data,
                 ConfigureIntegralGateStartStopCondition, ViInt32, Condition,
                 Enum<MorvaneTqrDataIntegralGateStartStopConditionEnum>(Condition))
MOTQR_DRIVER_SET(InsertProgramStep, Program, InsertProgramStep, ViInt32, StepNumber, StepNumber)
MOTQR_DRIVER_SET(DeleteProgramStep, Program, DeleteProgramStep, ViInt32, StepNumber, StepNumber)
MOTQR_DRIVER_SET(ConfigureEnabled, IMorvaneTqrGlobal, ConfigureEnabled, ViBoolean, Enabled,
                 ToVariantBool(Enabled))
#undef MOTQR_DRIVER_SET

// Members with one text argument.
#define MOTQR_DRIVER_SET_TEXT(CName, Member, Param)                                   \
  MOTQR_C_EXPORT ViStatus motqr_##CName(ViSession vi, ViConstString Param) {          \
    return Guard(vi, [&]() -> ViStatus {                                              \
      const com::Bstr text = ToBstr(Param);                                           \
      return OnDriver<Program>(vi, [&](Program& p) { return p.Member(text.Get()); }); \
    });                                                                               \
  }
MOTQR_DRIVER_SET_TEXT(ConfigureSelectedProgram, ConfigureSelectedProgram, Name)
MOTQR_DRIVER_SET_TEXT(RenameProgram, RenameProgram, NewName)
MOTQR_DRIVER_SET_TEXT(ChainProgram, ChainProgram, Name)
#undef MOTQR_DRIVER_SET_TEXT

// Members with one result: C name, interface, member, C type, parameter, driver type.
#define MOTQR_DRIVER_GET(CName, Interface, Member, CType, Param, DType)                       \
  MOTQR_C_EXPORT ViStatus motqr_##CName(ViSession vi, CType* Param) {                         \
    return DriverValue<Interface, DType>(vi, Param, #Param,                                   \
                                         [](Interface& i, DType* v) { return i.Member(v); }); \
  }
MOTQR_DRIVER_GET(QueryLinePower, Diagnostic, QueryLinePower, ViReal64, LinePower, double)
MOTQR_DRIVER_GET(QueryIntegralGateResetMethod, Data, QueryIntegralGateResetMethod, ViInt32, Method,
                 MorvaneTqrDataIntegralGateResetMethodEnum)
MOTQR_DRIVER_GET(QueryIntegralGateStartStopCondition, Data, QueryIntegralGateStartStopCondition,
                 ViInt32, Condition, MorvaneTqrDataIntegralGateStartStopConditionEnum)
MOTQR_DRIVER_GET(QueryIntegralDataRemainPoints, Data, QueryIntegralDataRemainPoints, ViInt32, Count,
                 std::int32_t)
MOTQR_DRIVER_GET(QueryProgramStepCount, Program, QueryProgramStepCount, ViInt32, Count,
                 std::int32_t)
#undef MOTQR_DRIVER_GET

// Minimum and maximum queries of the driver object.
#define MOTQR_DRIVER_MIN_MAX(CName, Interface, CType)                           \
  MOTQR_C_EXPORT ViStatus motqr_##CName(ViSession vi, CType* Min, CType* Max) { \
    return DriverMinMax(vi, Min, Max, &Interface::CName);                       \
  }
MOTQR_DRIVER_MIN_MAX(QueryAcquireTriggerDelayMinMax, Trigger, ViReal64)
MOTQR_DRIVER_MIN_MAX(QueryAcquireIntervalMinMax, Trigger, ViReal64)
MOTQR_DRIVER_MIN_MAX(QueryAcquireTriggerCountMinMax, Trigger, ViInt32)
MOTQR_DRIVER_MIN_MAX(QueryAnalogControlSelectedRangeMinMax, Analog, ViReal64)
MOTQR_DRIVER_MIN_MAX(QueryAnalogControlVoltageRangeMinMax, Analog, ViReal64)
MOTQR_DRIVER_MIN_MAX(QueryAnalogMonitorCurrentRangeMinMax, Analog, ViReal64)
MOTQR_DRIVER_MIN_MAX(QueryAnalogMonitorVoltageRangeMinMax, Analog, ViReal64)
MOTQR_DRIVER_MIN_MAX(QueryApertureTimeMinMax, IMorvaneTqrSense, ViReal64)
#undef MOTQR_DRIVER_MIN_MAX

// Array arguments of 32-bit values: set from a count and an array, query into a buffer.
#define MOTQR_DRIVER_ARRAY_PAIR(Interface, SetName, QueryName, Param)                        \
  MOTQR_C_EXPORT ViStatus motqr_##SetName(ViSession vi, ViInt32 Param##Count,                \
                                          const ViInt32 Param[]) {                           \
    return Guard(vi, [&]() -> ViStatus {                                                     \
      com::SafeArray values = MakeArray(com::VT_I4, Param##Count, Param);                    \
      return OnDriver<Interface>(vi, [&](Interface& i) { return i.SetName(values.Get()); }); \
    });                                                                                      \
  }                                                                                          \
  MOTQR_C_EXPORT ViStatus motqr_##QueryName(ViSession vi, ViInt32 Param##BufferSize,         \
                                            ViInt32 Param[], ViInt32* Param##ActualSize) {   \
    return DriverArray<Interface>(                                                           \
        vi, #Param, Param##BufferSize, Param, Param##ActualSize,                             \
        [](Interface& i, com::SAFEARRAY** a) { return i.QueryName(a); });                    \
  }
MOTQR_DRIVER_ARRAY_PAIR(System, SetDate, QueryDate, Date)
MOTQR_DRIVER_ARRAY_PAIR(System, SetTime, QueryTime, Time)
MOTQR_DRIVER_ARRAY_PAIR(SystemIO, ConfigureIOInputFilter, QueryIOInputFilter, Filter)
MOTQR_DRIVER_ARRAY_PAIR(SystemIO, ConfigureIOInputFunction, QueryIOInputFunction, Function)
MOTQR_DRIVER_ARRAY_PAIR(SystemIO, ConfigureIOInputPolarity, QueryIOInputPolarity, Polarity)
MOTQR_DRIVER_ARRAY_PAIR(SystemIO, ConfigureIOOutputFunction, QueryIOOutputFunction, Function)
MOTQR_DRIVER_ARRAY_PAIR(SystemIO, ConfigureIOOutputPolarity, QueryIOOutputPolarity, Polarity)
#undef MOTQR_DRIVER_ARRAY_PAIR

MOTQR_C_EXPORT ViStatus motqr_QueryVerifyChannel(ViSession vi, ViInt32 ChannelListBufferSize,
                                                 ViInt32 ChannelList[],
                                                 ViInt32* ChannelListActualSize) {
  return DriverArray<IMorvaneTqrGlobal>(
      vi, "ChannelList", ChannelListBufferSize, ChannelList, ChannelListActualSize,
      [](IMorvaneTqrGlobal& g, com::SAFEARRAY** a) { return g.QueryVerifyChannel(a); });
}

MOTQR_C_EXPORT ViStatus motqr_RemoveIntegralData(ViSession vi, ViInt32 Count,
                                                 ViInt32 DataBufferSize, ViReal64 Data[],
                                                 ViInt32* DataActualSize) {
  return DriverArray<IMorvaneTqrData>(
      vi, "Data", DataBufferSize, Data, DataActualSize,
      [&](IMorvaneTqrData& d, com::SAFEARRAY** a) { return d.RemoveIntegralData(Count, a); });
}

MOTQR_C_EXPORT ViStatus motqr_QueryFirmwareVersion(ViSession vi, ViInt32 FirmwareVersionBufferSize,
                                                   ViChar FirmwareVersion[]) {
  return DriverText<Diagnostic>(vi, FirmwareVersionBufferSize, FirmwareVersion,
                                [](Diagnostic& d, BSTR* t) { return d.QueryFirmwareVersion(t); });
}

MOTQR_C_EXPORT ViStatus motqr_QuerySelectedProgram(ViSession vi, ViInt32 NameBufferSize,
                                                   ViChar Name[]) {
  return DriverText<Program>(vi, NameBufferSize, Name,
                             [](Program& p, BSTR* t) { return p.QuerySelectedProgram(t); });
}

MOTQR_C_EXPORT ViStatus motqr_QueryTransientInfo(ViSession vi, ViInt32* State,
                                                 ViInt32 ProgramNameBufferSize,
                                                 ViChar ProgramName[], ViInt32* StepNumber,
                                                 ViInt32* LoopNumber) {
  if (!State) return NullParameter(vi, "State");
  if (!StepNumber) return NullParameter(vi, "StepNumber");
  if (!LoopNumber) return NullParameter(vi, "LoopNumber");
  MorvaneTqrTransientStateEnum state{};
  std::int32_t step = 0, loop = 0;
  com::Bstr name;
  const ViStatus s = OnDriver<Trigger>(
      vi, [&](Trigger& t) { return t.QueryTransientInfo(&state, name.Put(), &step, &loop); });
  if (IsError(s)) return s;
  *State = state;
  *StepNumber = step;
  *LoopNumber = loop;
  return CopyText(s, name, ProgramNameBufferSize, ProgramName);
}

MOTQR_C_EXPORT ViStatus motqr_QueryInformation(ViSession vi, ViReal64* RatedVolt,
                                               ViReal64* RatedCurr, ViReal64* RatedPower,
                                               ViInt32 ModelNameBufferSize, ViChar ModelName[]) {
  if (!RatedVolt) return NullParameter(vi, "RatedVolt");
  if (!RatedCurr) return NullParameter(vi, "RatedCurr");
  if (!RatedPower) return NullParameter(vi, "RatedPower");
  double volt = 0, curr = 0, power = 0;
  com::Bstr model;
  const ViStatus s = OnDriver<IMorvaneTqrGlobal>(vi, [&](IMorvaneTqrGlobal& g) {
    return g.QueryInformation(&volt, &curr, &power, model.Put());
  });
  if (IsError(s)) return s;
  *RatedVolt = volt;
  *RatedCurr = curr;
  *RatedPower = power;
  return CopyText(s, model, ModelNameBufferSize, ModelName);
}

// ---- Program steps -----------------------------------------------------------------------------

// Configure/Query pairs of one step value: name, C type, parameter, driver type.
#define MOTQR_PROGRAM_STEP(Name, CType, Param, DType, ToDriver)                              \
  MOTQR_C_EXPORT ViStatus motqr_ConfigureProgramStep##Name(ViSession vi, ViInt32 StepNumber, \
                                                           CType Param) {                    \
    return OnDriver<Program>(vi, [&](Program& p) {                                           \
      return p.ConfigureProgramStep##Name(StepNumber, ToDriver(Param));                      \
    });                                                                                      \
  }                                                                                          \
  MOTQR_C_EXPORT ViStatus motqr_QueryProgramStep##Name(ViSession vi, ViInt32 StepNumber,     \
                                                       CType* Param) {                       \
    return DriverValue<Program, DType>(vi, Param, #Param, [&](Program& p, DType* v) {        \
      return p.QueryProgramStep##Name(StepNumber, v);                                        \
    });                                                                                      \
  }
#define MOTQR_AS_IS(x) (x)
#define MOTQR_AS_ENUM(E) Enum<E>
MOTQR_PROGRAM_STEP(Dwell, ViReal64, Dwell, double, MOTQR_AS_IS)
MOTQR_PROGRAM_STEP(Transition, ViInt32, Factor, MorvaneTqrProgramStepTransitionEnum,
                   MOTQR_AS_ENUM(MorvaneTqrProgramStepTransitionEnum))
MOTQR_PROGRAM_STEP(FunctionMode, ViInt32, FunctionMode, MorvaneTqrProgramStepFunctionModeEnum,
                   MOTQR_AS_ENUM(MorvaneTqrProgramStepFunctionModeEnum))
MOTQR_PROGRAM_STEP(OutputEnabled, ViBoolean, Enabled, com::VARIANT_BOOL, ToVariantBool)
MOTQR_PROGRAM_STEP(SeamlessCurrent, ViReal64, Current, double, MOTQR_AS_IS)
MOTQR_PROGRAM_STEP(SeamlessPower, ViReal64, Power, double, MOTQR_AS_IS)
MOTQR_PROGRAM_STEP(Voltage, ViReal64, Voltage, double, MOTQR_AS_IS)
MOTQR_PROGRAM_STEP(InternalResistance, ViReal64, InternalResistance, double, MOTQR_AS_IS)
MOTQR_PROGRAM_STEP(Ramp, ViInt32, Ramp, MorvaneTqrProgramStepRampEnum,
                   MOTQR_AS_ENUM(MorvaneTqrProgramStepRampEnum))
MOTQR_PROGRAM_STEP(Trigger, ViInt32, ProgramStepTrigger, MorvaneTqrTriggerEnum,
                   MOTQR_AS_ENUM(MorvaneTqrTriggerEnum))
MOTQR_PROGRAM_STEP(Signal, ViInt32, Signal, MorvaneTqrProgramStepSignalEnum,
                   MOTQR_AS_ENUM(MorvaneTqrProgramStepSignalEnum))
#undef MOTQR_PROGRAM_STEP
#undef MOTQR_AS_IS
#undef MOTQR_AS_ENUM

// The step values that also name the positive or negative side.
#define MOTQR_PROGRAM_STEP_SIDE(Name)                                                              \
  MOTQR_C_EXPORT ViStatus motqr_ConfigureProgramStep##Name(                                        \
      ViSession vi, ViInt32 StepNumber, ViInt32 PositiveNegative, ViReal64 Name) {                 \
    return OnDriver<Program>(vi, [&](Program& p) {                                                 \
      return p.ConfigureProgramStep##Name(                                                         \
          StepNumber, Enum<MorvaneTqrPositiveNegativeEnum>(PositiveNegative), Name);               \
    });                                                                                            \
  }                                                                                                \
  MOTQR_C_EXPORT ViStatus motqr_QueryProgramStep##Name(ViSession vi, ViInt32 StepNumber,           \
                                                       ViInt32 PositiveNegative, ViReal64* Name) { \
    return DriverValue<Program, double>(vi, Name, #Name, [&](Program& p, double* v) {              \
      return p.QueryProgramStep##Name(StepNumber,                                                  \
                                      Enum<MorvaneTqrPositiveNegativeEnum>(PositiveNegative), v);  \
    });                                                                                            \
  }
MOTQR_PROGRAM_STEP_SIDE(Current)
MOTQR_PROGRAM_STEP_SIDE(Power)
#undef MOTQR_PROGRAM_STEP_SIDE
