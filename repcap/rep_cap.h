// CRepCap: a repeated-capability instance (the output channel object). It is a
// node of the driver tree whose session services all belong to its root driver.
#pragma once

#include <string>

#include "driver/node.h"

namespace motqr::repcap {

using com::HRESULT;

// The output's repeated capability and its one physical instance.
inline constexpr const char* kOutputChannelRepCap = "MorvaneTqrOutputChannel";
inline constexpr const char* kOutputChannel1 = "OutputChannel1";

class CRepCap : public driver::CNode {
 public:
  CRepCap(driver::SessionLock lock, std::string rep_cap_name, std::string physical_name)
      : CNode(std::move(lock)),
        rep_cap_name_(std::move(rep_cap_name)),
        physical_name_(std::move(physical_name)) {}

  const std::string& physical_name() const { return physical_name_; }
  const std::string& rep_cap_name() const { return rep_cap_name_; }
  // The parent's path, "." when it is not empty, the repeated capability name
  // and the instance name in brackets; computed once.
  const std::string& DisplayPath();

 private:
  std::string rep_cap_name_;
  std::string physical_name_;
  std::string display_path_;
};

}  // namespace motqr::repcap
