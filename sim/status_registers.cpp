#include "sim/status_registers.h"

namespace tqrsim {

void RegisterGroup::SetCondition(std::uint16_t condition) {
  condition &= kMask;
  auto rising = static_cast<std::uint16_t>(condition & ~condition_);
  auto falling = static_cast<std::uint16_t>(condition_ & ~condition);
  event_ = static_cast<std::uint16_t>(event_ | (rising & positive_) | (falling & negative_));
  condition_ = condition;
}

std::uint16_t RegisterGroup::TakeEvent() {
  std::uint16_t value = event_;
  event_ = 0;
  return value;
}

void RegisterGroup::Preset() {
  enable_ = 0;
  positive_ = kMask;
  negative_ = 0;
}

std::uint8_t EventStatus::TakeEsr() {
  std::uint8_t value = esr_;
  esr_ = 0;
  return value;
}

}  // namespace tqrsim
