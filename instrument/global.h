// IMorvaneTqrGlobal: switches all outputs of a multichannel domain together,
// chooses the channel being configured, and reads the rated values and the
// channels that can be configured.
#pragma once

#include <cstdint>

#include "instrument/driver_member_shapes.h"
#include "interfaces/global.h"

// (type, name, query, reply, set, sim)
#define MOTQR_GLOBAL_PROPERTIES(P) P(std::int32_t, Activate, ":INST?", "%d", ":INST %d", kYes)

// (name, argument type, argument name, command)
#define MOTQR_GLOBAL_METHODS_IN(M) \
  M(ConfigureEnabled, VARIANT_BOOL, Enabled, "GLOB:OUTP %{VARIANT_BOOL}s")

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
  MOTQR_GLOBAL_METHODS_IN(MOTQR_MEMBER_METHOD_IN)

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

  MOTQR_GLOBAL_PROPERTIES(MOTQR_MEMBER_PROPERTY)

 protected:
  ~Global() = default;
};

// clang-format off
inline constexpr driver::RowView kGlobalRows[] = {
    MOTQR_GLOBAL_PROPERTIES(MOTQR_ROW_VIEW_PROPERTY)
    MOTQR_GLOBAL_METHODS_IN(MOTQR_ROW_VIEW_METHOD_IN)
    MethodRowView("QueryInformation", "information", kQueryInformation),
    MethodRowView("QueryVerifyChannel", "std::int32_t list", kQueryVerifyChannel)};
// clang-format on

}  // namespace motqr::instrument
