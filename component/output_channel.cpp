#include "component/output_channel.h"

#include <memory>
#include <mutex>

namespace motqr {

MorvaneTqrOutputChannel::MorvaneTqrOutputChannel(driver::CDriver& driver, std::string physical_name)
    : CRepCap(driver.session_lock(), repcap::kOutputChannelRepCap, std::move(physical_name)) {}

MorvaneTqrOutputChannel::MorvaneTqrOutputChannel()
    : CRepCap(std::make_shared<std::recursive_mutex>(), repcap::kOutputChannelRepCap,
              repcap::kOutputChannel1) {}

HRESULT MorvaneTqrOutputChannel::CreateInstance(com::IUnknown* outer, const com::IID& iid,
                                                void** object) {
  if (!object) return com::E_POINTER;
  *object = nullptr;
  if (outer) return com::CLASS_E_NOAGGREGATION;
  com::ComPtr<IMorvaneTqrOutputChannel> channel =
      com::MakeObject<MorvaneTqrOutputChannel, IMorvaneTqrOutputChannel>();
  if (!channel) return com::E_OUTOFMEMORY;
  return channel->QueryInterface(iid, object);
}

HRESULT MorvaneTqrOutputChannel::QueryInterface(const com::IID& iid, void** object) {
  return QueryInterfaceTable(
      this, iid, object,
      {Entry<IMorvaneTqrOutputChannel>(), Entry<IIviDCPwrOutput>(),
       Entry<IMorvaneTqrOutputChannelProtection>(), Entry<IMorvaneTqrOutputChannelPulse>(),
       Entry<IMorvaneTqrOutputChannelSine>(), Entry<IMorvaneTqrOutputChannelIV>(),
       Entry<com::ISupportErrorInfo>(), Entry<com::IUnknown, IMorvaneTqrOutputChannel>()});
}

HRESULT MorvaneTqrOutputChannel::InterfaceSupportsErrorInfo(const com::IID& iid) {
  for (const com::IID* known :
       {&IMorvaneTqrOutputChannel::kIid, &IIviDCPwrOutput::kIid,
        &IMorvaneTqrOutputChannelProtection::kIid, &IMorvaneTqrOutputChannelPulse::kIid,
        &IMorvaneTqrOutputChannelSine::kIid, &IMorvaneTqrOutputChannelIV::kIid}) {
    if (*known == iid) return com::S_OK;
  }
  return com::S_FALSE;
}

}  // namespace motqr
