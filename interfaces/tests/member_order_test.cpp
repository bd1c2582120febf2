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

// The instrument's own member lists are compared with these declarations by
// the member listing test; the two interfaces that have no member list are here.
TEST(MemberOrder, InstrumentRootAndOutputsInDeclaredOrder) {
  ExpectPublishedOrder({
      MOTQR_LAYOUT(IMorvaneTqr, IIviDriver, RO(Outputs), RO(System), RO(Data), RO(Program),
                   RO(Sense), RO(Status), RO(Trigger), RO(Global)),
      MOTQR_LAYOUT(IMorvaneTqrOutputs, com::IUnknown, RO(Count), RO(Item), RO(Name)),
      MOTQR_LAYOUT(IMorvaneTqrStatusQuestionable, com::IUnknown, RO(ConditionRegister),
                   RW(EnableRegister), RO(EventRegister), RW(NegativeTransition),
                   RW(PositiveTransition)),
  });
}

#undef RW
#undef WR
#undef RO

}  // namespace
}  // namespace motqr
