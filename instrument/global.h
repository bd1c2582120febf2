// IMorvaneTqrGlobal: switches all outputs of a multichannel domain together,
// chooses the channel being configured, and reads the rated values and the
// channels that can be configured.
#pragma once

#include <cstdint>

#include "instrument/member_shapes.h"
#include "interfaces/global.h"

// clang-format off
#define MOTQR_GLOBAL_MEMBERS(S) \
  S##_COMMAND_1(ConfigureEnabled, "GLOB:OUTP %{VARIANT_BOOL}s", VARIANT_BOOL, Enabled) \
  S##_BY_HAND(QueryInformation, "query", ::motqr::instrument::kQueryInformation.command, ::motqr::instrument::kQueryInformation.reply, nullptr) \
  S##_BY_HAND(QueryVerifyChannel, "query", ::motqr::instrument::kQueryVerifyChannel.command, ::motqr::instrument::kQueryVerifyChannel.reply, nullptr) \
  S##_PROPERTY(std::int32_t, Activate, ":INST?", "%d", ":INST %d", kYes)
// clang-format on

namespace motqr::instrument {

// Rated voltage, current and power, then the rest of the line as the model name.
inline constexpr driver::MethodRow kQueryInformation{":INST:INFO?", "%lf,%lf,%lf,%$B[^\n]"};
// The channel numbers as a list of 32-bit integers.
inline constexpr driver::MethodRow kQueryVerifyChannel{":INST:CAT?", "%,$Sd"};

// The queries whose results the caller frees: nothing is handed out unless
// the whole exchange succeeded.
HRESULT QueryInformation(driver::CallFrame& f, double* RatedVolt, double* RatedCurr,
                         double* RatedPower, BSTR* ModelName);
HRESULT QueryVerifyChannel(driver::CallFrame& f, com::SAFEARRAY** ChannelList);

template <class Self>
class Global : public driver::MemberSet<Self, IMorvaneTqrGlobal> {
 public:
  using Interface = IMorvaneTqrGlobal;
  MOTQR_GLOBAL_MEMBERS(MOTQR_MEMBER)

  HRESULT QueryInformation(double* RatedVolt, double* RatedCurr, double* RatedPower,
                           BSTR* ModelName) override {
    return driver::RunFrame(this->node(), driver::Describe<Interface, "QueryInformation">(),
                            driver::Check::kInitialized, [&](driver::CallFrame& f) {
                              return instrument::QueryInformation(f, RatedVolt, RatedCurr,
                                                                  RatedPower, ModelName);
                            });
  }
  HRESULT QueryVerifyChannel(com::SAFEARRAY** ChannelList) override {
    return driver::RunFrame(this->node(), driver::Describe<Interface, "QueryVerifyChannel">(),
                            driver::Check::kInitialized, [&](driver::CallFrame& f) {
                              return instrument::QueryVerifyChannel(f, ChannelList);
                            });
  }

 protected:
  ~Global() = default;
};

inline constexpr RowView kGlobalRows[] = {MOTQR_GLOBAL_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
