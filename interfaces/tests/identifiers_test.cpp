// Interface identifiers and names: every interface has its own identifier,
// the IVI ones are the published ones, and kName spells the class name. All
// checks run at compile time.
#include <array>
#include <cstdint>
#include <string_view>

#include "interfaces/motqr_interfaces.h"

namespace motqr {
namespace {

struct InterfaceId {
  com::IID iid;
  std::string_view name;     // kName
  std::string_view spelled;  // the class name as written
};

#define ID(I) \
  InterfaceId { I::kIid, I::kName, #I }

// The 23 interfaces of the driver class, then the 6 of the channel class.
// clang-format off
constexpr std::array kInterfaces{
    ID(IMorvaneTqr), ID(IIviDriver), ID(IIviDriverOperation), ID(IIviDriverIdentity),
    ID(IIviComponentIdentity), ID(IIviDriverUtility), ID(IMorvaneTqrOutputs), ID(IIviDCPwr),
    ID(IIviDCPwrOutputs), ID(IIviDCPwrTrigger), ID(IMorvaneTqrSystem), ID(IMorvaneTqrData),
    ID(IMorvaneTqrProgram), ID(IMorvaneTqrSense), ID(IMorvaneTqrSystemAnalog),
    ID(IMorvaneTqrSystemIO), ID(IMorvaneTqrSystemMemory), ID(IMorvaneTqrStatus),
    ID(IMorvaneTqrStatusQuestionable), ID(IMorvaneTqrStatusOperation), ID(IMorvaneTqrTrigger),
    ID(IMorvaneTqrGlobal), ID(IMorvaneTqrSystemDiagnostic), ID(IMorvaneTqrOutputChannel),
    ID(IIviDCPwrOutput), ID(IMorvaneTqrOutputChannelProtection), ID(IMorvaneTqrOutputChannelPulse),
    ID(IMorvaneTqrOutputChannelSine), ID(IMorvaneTqrOutputChannelIV)};
// clang-format on
static_assert(kInterfaces.size() == 29);
#undef ID

// Each identifier its own, none IUnknown's; each kName the class name.
constexpr bool IdentifiersAreDistinctAndNamesSpellTheClass() {
  for (std::size_t i = 0; i < kInterfaces.size(); ++i) {
    if (kInterfaces[i].iid == com::IUnknown::kIid) return false;
    if (kInterfaces[i].name != kInterfaces[i].spelled) return false;
    for (std::size_t j = i + 1; j < kInterfaces.size(); ++j) {
      if (kInterfaces[i].iid == kInterfaces[j].iid) return false;
    }
  }
  return true;
}
static_assert(IdentifiersAreDistinctAndNamesSpellTheClass());

// The IVI Foundation's identifiers, xxxxxxxx-a398-11d4-ba58-000064657374.
constexpr com::IID Published(std::uint32_t data1) {
  return {data1, 0xa398, 0x11d4, {0xba, 0x58, 0x00, 0x00, 0x64, 0x65, 0x73, 0x74}};
}
static_assert(IIviDriver::kIid == Published(0x47ed5184));
static_assert(IIviComponentIdentity::kIid == Published(0x47ed5185));
static_assert(IIviDriverIdentity::kIid == Published(0x47ed5186));
static_assert(IIviDriverOperation::kIid == Published(0x47ed5188));
static_assert(IIviDriverUtility::kIid == Published(0x47ed5189));
static_assert(IIviDCPwr::kIid == Published(0x47ed51b6));
static_assert(IIviDCPwrOutputs::kIid == Published(0x47ed51b7));
static_assert(IIviDCPwrOutput::kIid == Published(0x47ed51b8));
static_assert(IIviDCPwrTrigger::kIid == Published(0x47ed51b9));

}  // namespace
}  // namespace motqr
