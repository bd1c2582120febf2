#include "repcap/rep_cap.h"

namespace motqr::repcap {

const std::string& CRepCap::DisplayPath() {
  if (display_path_.empty()) {
    std::string parent_path;
    if (auto* parent = dynamic_cast<CRepCap*>(this->parent())) parent_path = parent->DisplayPath();
    if (!parent_path.empty()) parent_path += '.';
    display_path_ = parent_path + rep_cap_name_ + "[" + physical_name_ + "]";
  }
  return display_path_;
}

}  // namespace motqr::repcap
