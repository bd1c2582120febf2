// MorvaneTqrOutputChannel: the output channel class. One object per output,
// created by Initialize and destroyed by Close; its members run on the
// driver's session through the channel's own node.
#pragma once

#include "instrument/dcpwr_output.h"
#include "instrument/output_channel.h"
#include "instrument/output_channel_iv.h"
#include "instrument/output_channel_protection.h"
#include "instrument/output_channel_pulse.h"
#include "instrument/output_channel_sine.h"
#include "platform/com/object.h"
#include "repcap/rep_cap.h"

namespace motqr {

class MorvaneTqrOutputChannel final
    : public com::ComObject<
          MorvaneTqrOutputChannel, instrument::OutputChannel<MorvaneTqrOutputChannel>,
          instrument::DCPwrOutput<MorvaneTqrOutputChannel>,
          instrument::OutputChannelProtection<MorvaneTqrOutputChannel>,
          instrument::OutputChannelPulse<MorvaneTqrOutputChannel>,
          instrument::OutputChannelSine<MorvaneTqrOutputChannel>,
          instrument::OutputChannelIV<MorvaneTqrOutputChannel>, com::ISupportErrorInfo>,
      public repcap::CRepCap {
 public:
  // A channel of `driver`'s session named `physical_name`.
  MorvaneTqrOutputChannel(driver::CDriver& driver, std::string physical_name);
  // A channel made by the class factory: it belongs to no driver session, so
  // its members fail with the not-initialized error.
  MorvaneTqrOutputChannel();
  static HRESULT CreateInstance(com::IUnknown* outer, const com::IID& iid, void** object);

  driver::CNode& node() { return *this; }
  com::IUnknown* unknown() { return static_cast<IMorvaneTqrOutputChannel*>(this); }

  HRESULT QueryInterface(const com::IID& iid, void** object) override;
  HRESULT InterfaceSupportsErrorInfo(const com::IID& iid) override;
};

}  // namespace motqr
