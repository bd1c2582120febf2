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

// A property's getter then its setter (WR: setter first), or a read-only property's getter.
#define RW(Name) &I::get_##Name, &I::put_##Name
#define WR(Name) &I::put_##Name, &I::get_##Name
#define RO(Name) &I::get_##Name

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
      MOTQR_LAYOUT(IIviDriver, com::IUnknown, RO(DriverOperation), RO(Identity), RO(Utility),
                   &I::Initialize, RO(Initialized), &I::Close),
      MOTQR_LAYOUT(IIviDriverOperation, com::IUnknown, RO(LogicalName), RO(IoResourceDescriptor),
                   RW(Cache), RW(InterchangeCheck), RW(QueryInstrumentStatus), RW(RangeCheck),
                   RW(RecordCoercions), RW(Simulate), RO(DriverSetup), &I::InvalidateAllAttributes,
                   &I::ClearInterchangeWarnings, &I::GetNextInterchangeWarning,
                   &I::ResetInterchangeCheck, &I::GetNextCoercionRecord),
      MOTQR_LAYOUT(IIviComponentIdentity, com::IUnknown, RO(Description), RO(Revision), RO(Vendor)),
      MOTQR_LAYOUT(IIviDriverIdentity, IIviComponentIdentity, RO(InstrumentManufacturer),
                   RO(InstrumentModel), RO(InstrumentFirmwareRevision), RO(Identifier),
                   RO(SupportedInstrumentModels), RO(SpecificationMajorVersion),
                   RO(SpecificationMinorVersion), RO(GroupCapabilities)),
      MOTQR_LAYOUT(IIviDriverUtility, com::IUnknown, &I::Reset, &I::ResetWithDefaults, &I::Disable,
                   &I::SelfTest, &I::ErrorQuery, &I::LockObject, &I::UnlockObject),
      MOTQR_LAYOUT(IIviDCPwr, IIviDriver, RO(Outputs), RO(Trigger)),
      MOTQR_LAYOUT(IIviDCPwrOutputs, com::IUnknown, RO(Item), RO(Count), RO(Name)),
      MOTQR_LAYOUT(IIviDCPwrTrigger, com::IUnknown, &I::Abort, &I::Initiate,
                   &I::SendSoftwareTrigger),
      // Setters before getters in this interface.
      MOTQR_LAYOUT(IIviDCPwrOutput, com::IUnknown, &I::ConfigureCurrentLimit, &I::ConfigureRange,
                   &I::ConfigureOVP, &I::Measure, &I::QueryCurrentLimitMax, &I::QueryState,
                   &I::QueryVoltageLevelMax, &I::ResetOutputProtection, WR(Enabled),
                   WR(TriggerSource), WR(TriggeredCurrentLimit), WR(TriggeredVoltageLevel),
                   WR(VoltageLevel), WR(CurrentLimit), WR(CurrentLimitBehavior), WR(OVPLimit),
                   WR(OVPEnabled)),
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
      MOTQR_LAYOUT(IMorvaneTqr, IIviDriver, RO(Outputs), RO(System), RO(Data), RO(Program),
                   RO(Sense), RO(Status), RO(Trigger), RO(Global)),
      MOTQR_LAYOUT(IMorvaneTqrOutputs, com::IUnknown, RO(Count), RO(Item), RO(Name)),
      MOTQR_LAYOUT(IMorvaneTqrOutputChannel, com::IUnknown, &I::Measure, &I::Read, &I::Fetch,
                   &I::ExecuteMSync, &I::QueryCurrentLevelMinMax, &I::QueryCurrentSlewRateMinMax,
                   &I::QueryNegativeCurrentLevelMinMax, &I::QuerySeamlessCurrentLevelMinMax,
                   &I::QueryNegativePowerLevelMinMax, &I::QueryPowerLevelMinMax,
                   &I::QuerySeamlessPowerLevelMinMax, &I::QueryResistanceIRMinMax,
                   &I::QueryVoltageLevelMinMax, &I::QueryVoltageSlewRateMinMax, &I::MeasureAll,
                   &I::FetchAll, &I::ReadAll, RW(Enabled), RW(PowerOnMode), RW(MsyncAcceptEnabled),
                   RW(Priority), RW(ImpedanceMode), RW(CurrentLevel), RW(CurrentMode),
                   RW(CurrentResponseSpeed), RW(CurrentSlewRate), RW(NegativeCurrentLevel),
                   RW(SeamlessCurrentLevel), RW(NegativePowerLevel), RW(PowerLevel), RW(PowerMode),
                   RW(SeamlessPowerLevel), RW(IRLevel), RW(VoltageLevel), RW(VoltageMode),
                   RW(VoltageReponseSpeed), RO(Protection), RW(VoltageSlewRate), RO(Pulse),
                   RO(Sine), RO(IV)),
      MOTQR_LAYOUT(IMorvaneTqrOutputChannelProtection, com::IUnknown, &I::Clear,
                   &I::QueryWatchdogTimeMinMax, &I::QueryOCPLevelMinMax,
                   &I::QueryOCPGraceTimeMinMax, &I::QueryNOCPLevelMinMax, &I::QueryOPPLevelMinMax,
                   &I::QueryNOPPLevelMinMax, &I::QueryLowerOVPLevelMinMax, &I::QueryOVPLevelMinMax,
                   &I::QueryLineVoltageMinMax, RW(RemoteSensingErrorEnabled), RW(WatchdogEnabled),
                   RW(WatchdogTime), RW(OCPLevel), RW(OCPGraceTime), RW(NOCPLevel), RW(OPPLevel),
                   RW(NOPPLevel), RW(LowerOVPLevel), RW(LowerOVPEnabled), RW(OVPLevel),
                   RW(LineVoltage)),
      MOTQR_LAYOUT(IMorvaneTqrOutputChannelPulse, com::IUnknown, &I::QueryCurrentDutyCycleMinMax,
                   &I::QueryCurrentFrequencyMinMax, &I::QueryCurrentHighLevelMinMax,
                   &I::QueryCurrentLowLevelMinMax, &I::QueryVoltageDutyCycleMinMax,
                   &I::QueryVoltageFrequencyMinMax, &I::QueryVoltageHighLevelMinMax,
                   &I::QueryVoltageLowLevelMinMax, RW(CurrentDutyCycle), RW(CurrentFrequency),
                   RW(CurrentHighLevel), RW(CurrentLowLevel), RW(VoltageDutyCycle),
                   RW(VoltageFrequency), RW(VoltageHighLevel), RW(VoltageLowLevel)),
      MOTQR_LAYOUT(IMorvaneTqrOutputChannelSine, com::IUnknown, &I::QueryCurrentAmplitudeMinMax,
                   &I::QueryCurrentFrequencyMinMax, &I::QueryCurrentOffsetMinMax,
                   &I::QueryVoltageAmplitudeMinMax, &I::QueryVoltageFrequencyMinMax,
                   &I::QueryVoltageOffsetMinMax, RW(CurrentAmplitude), RW(CurrentFrequency),
                   RW(CurrentOffset), RW(VoltageAmplitude), RW(VoltageFrequency),
                   RW(VoltageOffset)),
      MOTQR_LAYOUT(IMorvaneTqrOutputChannelIV, com::IUnknown, &I::ClearCurrentIVMap,
                   &I::SetCurrentIVMap, &I::GetCurrentIVMap, &I::SetCurrentIVPoint,
                   &I::DeleteCurrentIVPoint, &I::InsertCurrentIVPoint, &I::GetAllCurrentIVPoints,
                   &I::ClearVoltageIVMap, &I::SetVoltageIVMap, &I::DeleteVoltageIVPoint,
                   &I::InsertVoltageIVPoint, &I::GetAllVoltageIVPoints, &I::GetVoltageIVMap,
                   &I::SetVoltageIVPoint, RW(CurrentIVPointCount), RW(VoltageIVPointCount)),
      MOTQR_LAYOUT(IMorvaneTqrSystem, com::IUnknown, &I::ReadBytes, &I::ReadString, &I::WriteBytes,
                   &I::WriteString, &I::SetDate, &I::QueryDate, &I::SetTime, &I::QueryTime,
                   &I::SyncClocks, &I::GetTimeZoneList, RW(IOTimeout), RO(DirectIO), RO(Analog),
                   RO(IO), RO(Memory), RW(KeyLockEnabled), RW(KeyLockLevel), RW(RemoteLocalState),
                   RO(ParallelUnit), RO(MsyncEnabled), RW(PowerOnRecallState),
                   RW(RemoteSensingEnabled), RW(TimeZone), RO(Diagnostic)),
      MOTQR_LAYOUT(
          IMorvaneTqrSystemAnalog, com::IUnknown, &I::QueryAnalogControlSelectedRangeMinMax,
          &I::QueryAnalogControlVoltageRangeMinMax, &I::QueryAnalogMonitorCurrentRangeMinMax,
          &I::QueryAnalogMonitorVoltageRangeMinMax, RW(AnalogControlSelectedRange),
          RW(AnalogControlVoltageRange), RW(AnalogMonitorCurrentRange),
          RW(AnalogMonitorVoltageRange)),
      MOTQR_LAYOUT(IMorvaneTqrSystemIO, com::IUnknown, &I::ConfigureIOInputFilter,
                   &I::QueryIOInputFilter, &I::ConfigureIOInputFunction, &I::QueryIOInputFunction,
                   &I::ConfigureIOInputPolarity, &I::QueryIOInputPolarity,
                   &I::ConfigureIOOutputFunction, &I::QueryIOOutputFunction,
                   &I::ConfigureIOOutputPolarity, &I::QueryIOOutputPolarity, RW(IOEnabled)),
      MOTQR_LAYOUT(IMorvaneTqrSystemMemory, com::IUnknown, &I::FactoryDefault, &I::RecallSettings,
                   &I::SaveSettings),
      MOTQR_LAYOUT(IMorvaneTqrSystemDiagnostic, com::IUnknown, &I::QueryFirmwareVersion,
                   &I::QueryLinePower),
      MOTQR_LAYOUT(IMorvaneTqrData, com::IUnknown, &I::ResetIntegralData,
                   &I::ConfigureIntegralGateResetMethod,
                   &I::ConfigureIntegralGateStartStopCondition, &I::QueryIntegralGateResetMethod,
                   &I::QueryIntegralGateStartStopCondition, &I::StartIntegral, &I::StopIntegral,
                   &I::RemoveIntegralData, &I::QueryIntegralDataRemainPoints),
      MOTQR_LAYOUT(IMorvaneTqrProgram, com::IUnknown, &I::ConfigureSelectedProgram,
                   &I::QuerySelectedProgram, &I::RenameProgram, &I::DeleteAllPrograms,
                   &I::GetProgramList, &I::DeleteSelectedProgram, &I::ConfigureProgramStepDwell,
                   &I::QueryProgramStepDwell, &I::ConfigureProgramStepTransition,
                   &I::QueryProgramStepTransition, &I::ConfigureProgramStepFunctionMode,
                   &I::QueryProgramStepFunctionMode, &I::ConfigureProgramStepCurrent,
                   &I::ConfigureProgramStepOutputEnabled, &I::QueryProgramStepOutputEnabled,
                   &I::QueryProgramStepCurrent, &I::ConfigureProgramStepSeamlessCurrent,
                   &I::QueryProgramStepSeamlessCurrent, &I::ConfigureProgramStepPower,
                   &I::QueryProgramStepPower, &I::ConfigureProgramStepSeamlessPower,
                   &I::QueryProgramStepSeamlessPower, &I::ConfigureProgramStepVoltage,
                   &I::QueryProgramStepVoltage, &I::ConfigureProgramStepInternalResistance,
                   &I::QueryProgramStepInternalResistance, &I::ConfigureProgramStepRamp,
                   &I::QueryProgramStepRamp, &I::ConfigureProgramStepTrigger,
                   &I::QueryProgramStepTrigger, &I::InsertProgramStep, &I::QueryProgramStepCount,
                   &I::DeleteProgramStep, &I::SaveProgram, &I::ChainProgram, &I::QueryProgramChain,
                   &I::UnchainAllPrograms, &I::ConfigureProgramStepSignal,
                   &I::QueryProgramStepSignal, RW(ProgramLoopCount), RW(ProgramCurrentFunctionMode),
                   RW(ProgramPowerFunctionMode), RW(ProgramStepCount)),
      MOTQR_LAYOUT(IMorvaneTqrSense, com::IUnknown, &I::QueryApertureTimeMinMax, RW(ApertureTime)),
      MOTQR_LAYOUT(IMorvaneTqrStatus, com::IUnknown, &I::ResetFilter, RO(Questionable),
                   RO(Operation)),
      MOTQR_LAYOUT(IMorvaneTqrStatusQuestionable, com::IUnknown, RO(ConditionRegister),
                   RW(EnableRegister), RO(EventRegister), RW(NegativeTransition),
                   RW(PositiveTransition)),
      MOTQR_LAYOUT(IMorvaneTqrStatusOperation, com::IUnknown, RO(ConditionRegister),
                   RW(EnableRegister), RO(EventRegister), RW(NegativeTransition),
                   RW(PositiveTransition)),
      MOTQR_LAYOUT(IMorvaneTqrTrigger, com::IUnknown, &I::QueryAcquireTriggerDelayMinMax,
                   &I::QueryAcquireIntervalMinMax, &I::Initiate, &I::SendSoftwareTrigger,
                   &I::PauseTransient, &I::ResumeTransient, &I::QueryTransientInfo, &I::Abort,
                   &I::QueryAcquireTriggerCountMinMax, RW(AcquireTriggerSource),
                   RW(AcquireTriggerCount), RW(AcquireTriggerDelay), RW(AcquireIntervalEnabled),
                   RW(AcquireInterval), RW(TransientTriggerSource)),
      MOTQR_LAYOUT(IMorvaneTqrGlobal, com::IUnknown, &I::ConfigureEnabled, &I::QueryInformation,
                   &I::QueryVerifyChannel, RW(Activate)),
  });
}

#undef RW
#undef WR
#undef RO

}  // namespace
}  // namespace motqr
