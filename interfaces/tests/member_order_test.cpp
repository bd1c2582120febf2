// Member order: the members of every interface sit in consecutive vtable
// slots in the published order, right after those of the base interface, and
// nothing follows them. The order is the binary contract with callers, so a
// transposed or extra member is a fault even when everything compiles.
//
// Slots are read from pointers to virtual members as the Itanium C++ ABI
// (GCC and Clang on Linux) lays them out; a probe class deriving from the
// interface puts its own first virtual member in the first free slot.
#include <bit>
#include <cstddef>
#include <string_view>
#include <vector>

#include "gtest/gtest.h"
#include "interfaces/motqr_interfaces.h"

namespace motqr {
namespace {

template <class MemberPointer>
int SlotOf(MemberPointer member) {
  struct Raw {
    std::ptrdiff_t ptr;
    std::ptrdiff_t adj;
  };
  static_assert(sizeof(MemberPointer) == sizeof(Raw));
  const Raw raw = std::bit_cast<Raw>(member);
  constexpr auto kSlotSize = static_cast<std::ptrdiff_t>(sizeof(void*));
#if defined(__arm__) || defined(__aarch64__)
  if ((raw.adj & 1) == 0) return -1;  // not virtual
  return static_cast<int>(raw.ptr / kSlotSize);
#else
  if ((raw.ptr & 1) == 0) return -1;  // not virtual
  return static_cast<int>((raw.ptr - 1) / kSlotSize);
#endif
}

template <class Interface>
struct SlotProbe : Interface {
  virtual void FirstFreeSlot() = 0;

 protected:
  ~SlotProbe() = default;
};

template <class Interface>
int SlotCount() {
  return SlotOf(&SlotProbe<Interface>::FirstFreeSlot);
}

template <class... MemberPointers>
std::vector<int> SlotsOf(MemberPointers... members) {
  return {SlotOf(members)...};
}

struct Layout {
  std::string_view name;
  int first;  // slots of the base interface
  int count;  // slots of the interface itself, base included
  std::vector<int> slots;
};

#define MOTQR_LAYOUT(Interface, Base, ...)                                       \
  Layout {                                                                       \
#Interface, SlotCount<Base>(), SlotCount<Interface>(), [] {                    \
      using I = Interface;                                                         \
      return SlotsOf(__VA_ARGS__);                                                 \
    }() \
  }

void ExpectPublishedOrder(const std::vector<Layout>& layouts) {
  for (const Layout& layout : layouts) {
    SCOPED_TRACE(layout.name);
    for (std::size_t i = 0; i < layout.slots.size(); ++i) {
      EXPECT_EQ(layout.slots[i], layout.first + static_cast<int>(i)) << "member " << i;
    }
    EXPECT_EQ(layout.count, layout.first + static_cast<int>(layout.slots.size()));
  }
}

TEST(MemberOrder, ProbeReadsTheBaseInterface) {
  EXPECT_EQ(SlotOf(&com::IUnknown::QueryInterface), 0);
  EXPECT_EQ(SlotOf(&com::IUnknown::Release), 2);
  EXPECT_EQ(SlotCount<com::IUnknown>(), 3);
}

TEST(MemberOrder, IviInterfacesAsPublished) {
  ExpectPublishedOrder({
      MOTQR_LAYOUT(IIviDriver, com::IUnknown, &I::get_DriverOperation, &I::get_Identity,
                   &I::get_Utility, &I::Initialize, &I::get_Initialized, &I::Close),
      MOTQR_LAYOUT(
          IIviDriverOperation, com::IUnknown, &I::get_LogicalName, &I::get_IoResourceDescriptor,
          &I::get_Cache, &I::put_Cache, &I::get_InterchangeCheck, &I::put_InterchangeCheck,
          &I::get_QueryInstrumentStatus, &I::put_QueryInstrumentStatus, &I::get_RangeCheck,
          &I::put_RangeCheck, &I::get_RecordCoercions, &I::put_RecordCoercions, &I::get_Simulate,
          &I::put_Simulate, &I::get_DriverSetup, &I::InvalidateAllAttributes,
          &I::ClearInterchangeWarnings, &I::GetNextInterchangeWarning, &I::ResetInterchangeCheck,
          &I::GetNextCoercionRecord),
      MOTQR_LAYOUT(IIviComponentIdentity, com::IUnknown, &I::get_Description, &I::get_Revision,
                   &I::get_Vendor),
      MOTQR_LAYOUT(IIviDriverIdentity, IIviComponentIdentity, &I::get_InstrumentManufacturer,
                   &I::get_InstrumentModel, &I::get_InstrumentFirmwareRevision, &I::get_Identifier,
                   &I::get_SupportedInstrumentModels, &I::get_SpecificationMajorVersion,
                   &I::get_SpecificationMinorVersion, &I::get_GroupCapabilities),
      MOTQR_LAYOUT(IIviDriverUtility, com::IUnknown, &I::Reset, &I::ResetWithDefaults, &I::Disable,
                   &I::SelfTest, &I::ErrorQuery, &I::LockObject, &I::UnlockObject),
      MOTQR_LAYOUT(IIviDCPwr, IIviDriver, &I::get_Outputs, &I::get_Trigger),
      MOTQR_LAYOUT(IIviDCPwrOutputs, com::IUnknown, &I::get_Item, &I::get_Count, &I::get_Name),
      MOTQR_LAYOUT(IIviDCPwrTrigger, com::IUnknown, &I::Abort, &I::Initiate,
                   &I::SendSoftwareTrigger),
      // Setters before getters in this interface.
      MOTQR_LAYOUT(IIviDCPwrOutput, com::IUnknown, &I::ConfigureCurrentLimit, &I::ConfigureRange,
                   &I::ConfigureOVP, &I::Measure, &I::QueryCurrentLimitMax, &I::QueryState,
                   &I::QueryVoltageLevelMax, &I::ResetOutputProtection, &I::put_Enabled,
                   &I::get_Enabled, &I::put_TriggerSource, &I::get_TriggerSource,
                   &I::put_TriggeredCurrentLimit, &I::get_TriggeredCurrentLimit,
                   &I::put_TriggeredVoltageLevel, &I::get_TriggeredVoltageLevel,
                   &I::put_VoltageLevel, &I::get_VoltageLevel, &I::put_CurrentLimit,
                   &I::get_CurrentLimit, &I::put_CurrentLimitBehavior, &I::get_CurrentLimitBehavior,
                   &I::put_OVPLimit, &I::get_OVPLimit, &I::put_OVPEnabled, &I::get_OVPEnabled),
  });
  // Published slot numbers, as a cross-check of the lists above.
  EXPECT_EQ(SlotOf(&IIviDriver::Initialize), 6);
  EXPECT_EQ(SlotOf(&IIviDriverOperation::GetNextCoercionRecord), 22);
  EXPECT_EQ(SlotOf(&IIviDriverIdentity::get_GroupCapabilities), 13);
  EXPECT_EQ(SlotOf(&IIviDCPwr::get_Trigger), 10);
  EXPECT_EQ(SlotOf(&IIviDCPwrOutput::get_OVPEnabled), 28);
}

// Properties count a getter and, when writable, a setter right after it.
TEST(MemberOrder, InstrumentInterfacesInDeclaredOrder) {
  ExpectPublishedOrder({
      MOTQR_LAYOUT(IMorvaneTqr, IIviDriver, &I::get_Outputs, &I::get_System, &I::get_Data,
                   &I::get_Program, &I::get_Sense, &I::get_Status, &I::get_Trigger, &I::get_Global),
      MOTQR_LAYOUT(IMorvaneTqrOutputs, com::IUnknown, &I::get_Count, &I::get_Item, &I::get_Name),
      MOTQR_LAYOUT(
          IMorvaneTqrOutputChannel, com::IUnknown, &I::Measure, &I::Read, &I::Fetch,
          &I::ExecuteMSync, &I::QueryCurrentLevelMinMax, &I::QueryCurrentSlewRateMinMax,
          &I::QueryNegativeCurrentLevelMinMax, &I::QuerySeamlessCurrentLevelMinMax,
          &I::QueryNegativePowerLevelMinMax, &I::QueryPowerLevelMinMax,
          &I::QuerySeamlessPowerLevelMinMax, &I::QueryResistanceIRMinMax,
          &I::QueryVoltageLevelMinMax, &I::QueryVoltageSlewRateMinMax, &I::MeasureAll, &I::FetchAll,
          &I::ReadAll, &I::get_Enabled, &I::put_Enabled, &I::get_PowerOnMode, &I::put_PowerOnMode,
          &I::get_MsyncAcceptEnabled, &I::put_MsyncAcceptEnabled, &I::get_Priority,
          &I::put_Priority, &I::get_ImpedanceMode, &I::put_ImpedanceMode, &I::get_CurrentLevel,
          &I::put_CurrentLevel, &I::get_CurrentMode, &I::put_CurrentMode,
          &I::get_CurrentResponseSpeed, &I::put_CurrentResponseSpeed, &I::get_CurrentSlewRate,
          &I::put_CurrentSlewRate, &I::get_NegativeCurrentLevel, &I::put_NegativeCurrentLevel,
          &I::get_SeamlessCurrentLevel, &I::put_SeamlessCurrentLevel, &I::get_NegativePowerLevel,
          &I::put_NegativePowerLevel, &I::get_PowerLevel, &I::put_PowerLevel, &I::get_PowerMode,
          &I::put_PowerMode, &I::get_SeamlessPowerLevel, &I::put_SeamlessPowerLevel,
          &I::get_IRLevel, &I::put_IRLevel, &I::get_VoltageLevel, &I::put_VoltageLevel,
          &I::get_VoltageMode, &I::put_VoltageMode, &I::get_VoltageReponseSpeed,
          &I::put_VoltageReponseSpeed, &I::get_Protection, &I::get_VoltageSlewRate,
          &I::put_VoltageSlewRate, &I::get_Pulse, &I::get_Sine, &I::get_IV),
      MOTQR_LAYOUT(IMorvaneTqrOutputChannelProtection, com::IUnknown, &I::Clear,
                   &I::QueryWatchdogTimeMinMax, &I::QueryOCPLevelMinMax,
                   &I::QueryOCPGraceTimeMinMax, &I::QueryNOCPLevelMinMax, &I::QueryOPPLevelMinMax,
                   &I::QueryNOPPLevelMinMax, &I::QueryLowerOVPLevelMinMax, &I::QueryOVPLevelMinMax,
                   &I::QueryLineVoltageMinMax, &I::get_RemoteSensingErrorEnabled,
                   &I::put_RemoteSensingErrorEnabled, &I::get_WatchdogEnabled,
                   &I::put_WatchdogEnabled, &I::get_WatchdogTime, &I::put_WatchdogTime,
                   &I::get_OCPLevel, &I::put_OCPLevel, &I::get_OCPGraceTime, &I::put_OCPGraceTime,
                   &I::get_NOCPLevel, &I::put_NOCPLevel, &I::get_OPPLevel, &I::put_OPPLevel,
                   &I::get_NOPPLevel, &I::put_NOPPLevel, &I::get_LowerOVPLevel,
                   &I::put_LowerOVPLevel, &I::get_LowerOVPEnabled, &I::put_LowerOVPEnabled,
                   &I::get_OVPLevel, &I::put_OVPLevel, &I::get_LineVoltage, &I::put_LineVoltage),
      MOTQR_LAYOUT(IMorvaneTqrOutputChannelPulse, com::IUnknown, &I::QueryCurrentDutyCycleMinMax,
                   &I::QueryCurrentFrequencyMinMax, &I::QueryCurrentHighLevelMinMax,
                   &I::QueryCurrentLowLevelMinMax, &I::QueryVoltageDutyCycleMinMax,
                   &I::QueryVoltageFrequencyMinMax, &I::QueryVoltageHighLevelMinMax,
                   &I::QueryVoltageLowLevelMinMax, &I::get_CurrentDutyCycle,
                   &I::put_CurrentDutyCycle, &I::get_CurrentFrequency, &I::put_CurrentFrequency,
                   &I::get_CurrentHighLevel, &I::put_CurrentHighLevel, &I::get_CurrentLowLevel,
                   &I::put_CurrentLowLevel, &I::get_VoltageDutyCycle, &I::put_VoltageDutyCycle,
                   &I::get_VoltageFrequency, &I::put_VoltageFrequency, &I::get_VoltageHighLevel,
                   &I::put_VoltageHighLevel, &I::get_VoltageLowLevel, &I::put_VoltageLowLevel),
      MOTQR_LAYOUT(IMorvaneTqrOutputChannelSine, com::IUnknown, &I::QueryCurrentAmplitudeMinMax,
                   &I::QueryCurrentFrequencyMinMax, &I::QueryCurrentOffsetMinMax,
                   &I::QueryVoltageAmplitudeMinMax, &I::QueryVoltageFrequencyMinMax,
                   &I::QueryVoltageOffsetMinMax, &I::get_CurrentAmplitude, &I::put_CurrentAmplitude,
                   &I::get_CurrentFrequency, &I::put_CurrentFrequency, &I::get_CurrentOffset,
                   &I::put_CurrentOffset, &I::get_VoltageAmplitude, &I::put_VoltageAmplitude,
                   &I::get_VoltageFrequency, &I::put_VoltageFrequency, &I::get_VoltageOffset,
                   &I::put_VoltageOffset),
      MOTQR_LAYOUT(IMorvaneTqrOutputChannelIV, com::IUnknown, &I::ClearCurrentIVMap,
                   &I::SetCurrentIVMap, &I::GetCurrentIVMap, &I::SetCurrentIVPoint,
                   &I::DeleteCurrentIVPoint, &I::InsertCurrentIVPoint, &I::GetAllCurrentIVPoints,
                   &I::ClearVoltageIVMap, &I::SetVoltageIVMap, &I::DeleteVoltageIVPoint,
                   &I::InsertVoltageIVPoint, &I::GetAllVoltageIVPoints, &I::GetVoltageIVMap,
                   &I::SetVoltageIVPoint, &I::get_CurrentIVPointCount, &I::put_CurrentIVPointCount,
                   &I::get_VoltageIVPointCount, &I::put_VoltageIVPointCount),
      MOTQR_LAYOUT(IMorvaneTqrSystem, com::IUnknown, &I::ReadBytes, &I::ReadString, &I::WriteBytes,
                   &I::WriteString, &I::SetDate, &I::QueryDate, &I::SetTime, &I::QueryTime,
                   &I::SyncClocks, &I::GetTimeZoneList, &I::get_IOTimeout, &I::put_IOTimeout,
                   &I::get_DirectIO, &I::get_Analog, &I::get_IO, &I::get_Memory,
                   &I::get_KeyLockEnabled, &I::put_KeyLockEnabled, &I::get_KeyLockLevel,
                   &I::put_KeyLockLevel, &I::get_RemoteLocalState, &I::put_RemoteLocalState,
                   &I::get_ParallelUnit, &I::get_MsyncEnabled, &I::get_PowerOnRecallState,
                   &I::put_PowerOnRecallState, &I::get_RemoteSensingEnabled,
                   &I::put_RemoteSensingEnabled, &I::get_TimeZone, &I::put_TimeZone,
                   &I::get_Diagnostic),
      MOTQR_LAYOUT(
          IMorvaneTqrSystemAnalog, com::IUnknown, &I::QueryAnalogControlSelectedRangeMinMax,
          &I::QueryAnalogControlVoltageRangeMinMax, &I::QueryAnalogMonitorCurrentRangeMinMax,
          &I::QueryAnalogMonitorVoltageRangeMinMax, &I::get_AnalogControlSelectedRange,
          &I::put_AnalogControlSelectedRange, &I::get_AnalogControlVoltageRange,
          &I::put_AnalogControlVoltageRange, &I::get_AnalogMonitorCurrentRange,
          &I::put_AnalogMonitorCurrentRange, &I::get_AnalogMonitorVoltageRange,
          &I::put_AnalogMonitorVoltageRange),
      MOTQR_LAYOUT(IMorvaneTqrSystemIO, com::IUnknown, &I::ConfigureIOInputFilter,
                   &I::QueryIOInputFilter, &I::ConfigureIOInputFunction, &I::QueryIOInputFunction,
                   &I::ConfigureIOInputPolarity, &I::QueryIOInputPolarity,
                   &I::ConfigureIOOutputFunction, &I::QueryIOOutputFunction,
                   &I::ConfigureIOOutputPolarity, &I::QueryIOOutputPolarity, &I::get_IOEnabled,
                   &I::put_IOEnabled),
      MOTQR_LAYOUT(IMorvaneTqrSystemMemory, com::IUnknown, &I::FactoryDefault, &I::RecallSettings,
                   &I::SaveSettings),
      MOTQR_LAYOUT(IMorvaneTqrSystemDiagnostic, com::IUnknown, &I::QueryFirmwareVersion,
                   &I::QueryLinePower),
      MOTQR_LAYOUT(IMorvaneTqrData, com::IUnknown, &I::ResetIntegralData,
                   &I::ConfigureIntegralGateResetMethod,
                   &I::ConfigureIntegralGateStartStopCondition, &I::QueryIntegralGateResetMethod,
                   &I::QueryIntegralGateStartStopCondition, &I::StartIntegral, &I::StopIntegral,
                   &I::RemoveIntegralData, &I::QueryIntegralDataRemainPoints),
      MOTQR_LAYOUT(
          IMorvaneTqrProgram, com::IUnknown, &I::ConfigureSelectedProgram, &I::QuerySelectedProgram,
          &I::RenameProgram, &I::DeleteAllPrograms, &I::GetProgramList, &I::DeleteSelectedProgram,
          &I::ConfigureProgramStepDwell, &I::QueryProgramStepDwell,
          &I::ConfigureProgramStepTransition, &I::QueryProgramStepTransition,
          &I::ConfigureProgramStepFunctionMode, &I::QueryProgramStepFunctionMode,
          &I::ConfigureProgramStepCurrent, &I::ConfigureProgramStepOutputEnabled,
          &I::QueryProgramStepOutputEnabled, &I::QueryProgramStepCurrent,
          &I::ConfigureProgramStepSeamlessCurrent, &I::QueryProgramStepSeamlessCurrent,
          &I::ConfigureProgramStepPower, &I::QueryProgramStepPower,
          &I::ConfigureProgramStepSeamlessPower, &I::QueryProgramStepSeamlessPower,
          &I::ConfigureProgramStepVoltage, &I::QueryProgramStepVoltage,
          &I::ConfigureProgramStepInternalResistance, &I::QueryProgramStepInternalResistance,
          &I::ConfigureProgramStepRamp, &I::QueryProgramStepRamp, &I::ConfigureProgramStepTrigger,
          &I::QueryProgramStepTrigger, &I::InsertProgramStep, &I::QueryProgramStepCount,
          &I::DeleteProgramStep, &I::SaveProgram, &I::ChainProgram, &I::QueryProgramChain,
          &I::UnchainAllPrograms, &I::ConfigureProgramStepSignal, &I::QueryProgramStepSignal,
          &I::get_ProgramLoopCount, &I::put_ProgramLoopCount, &I::get_ProgramCurrentFunctionMode,
          &I::put_ProgramCurrentFunctionMode, &I::get_ProgramPowerFunctionMode,
          &I::put_ProgramPowerFunctionMode, &I::get_ProgramStepCount, &I::put_ProgramStepCount),
      MOTQR_LAYOUT(IMorvaneTqrSense, com::IUnknown, &I::QueryApertureTimeMinMax,
                   &I::get_ApertureTime, &I::put_ApertureTime),
      MOTQR_LAYOUT(IMorvaneTqrStatus, com::IUnknown, &I::ResetFilter, &I::get_Questionable,
                   &I::get_Operation),
      MOTQR_LAYOUT(IMorvaneTqrStatusQuestionable, com::IUnknown, &I::get_ConditionRegister,
                   &I::get_EnableRegister, &I::put_EnableRegister, &I::get_EventRegister,
                   &I::get_NegativeTransition, &I::put_NegativeTransition,
                   &I::get_PositiveTransition, &I::put_PositiveTransition),
      MOTQR_LAYOUT(IMorvaneTqrStatusOperation, com::IUnknown, &I::get_ConditionRegister,
                   &I::get_EnableRegister, &I::put_EnableRegister, &I::get_EventRegister,
                   &I::get_NegativeTransition, &I::put_NegativeTransition,
                   &I::get_PositiveTransition, &I::put_PositiveTransition),
      MOTQR_LAYOUT(IMorvaneTqrTrigger, com::IUnknown, &I::QueryAcquireTriggerDelayMinMax,
                   &I::QueryAcquireIntervalMinMax, &I::Initiate, &I::SendSoftwareTrigger,
                   &I::PauseTransient, &I::ResumeTransient, &I::QueryTransientInfo, &I::Abort,
                   &I::QueryAcquireTriggerCountMinMax, &I::get_AcquireTriggerSource,
                   &I::put_AcquireTriggerSource, &I::get_AcquireTriggerCount,
                   &I::put_AcquireTriggerCount, &I::get_AcquireTriggerDelay,
                   &I::put_AcquireTriggerDelay, &I::get_AcquireIntervalEnabled,
                   &I::put_AcquireIntervalEnabled, &I::get_AcquireInterval, &I::put_AcquireInterval,
                   &I::get_TransientTriggerSource, &I::put_TransientTriggerSource),
      MOTQR_LAYOUT(IMorvaneTqrGlobal, com::IUnknown, &I::ConfigureEnabled, &I::QueryInformation,
                   &I::QueryVerifyChannel, &I::get_Activate, &I::put_Activate),
  });
}

}  // namespace
}  // namespace motqr
