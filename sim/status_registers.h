// IEEE 488.2 standard event status and the SCPI OPERation / QUEStionable register groups.
#pragma once

#include <cstdint>

namespace tqrsim {

// Bits of the OPERation condition register of this instrument.
namespace oper {
inline constexpr std::uint16_t kConstantVoltage = 1u << 0;
inline constexpr std::uint16_t kConstantCurrent = 1u << 1;
inline constexpr std::uint16_t kConstantPower = 1u << 2;
inline constexpr std::uint16_t kConstantResistance = 1u << 3;
inline constexpr std::uint16_t kOutputOn = 1u << 4;
inline constexpr std::uint16_t kTransientWaitingTrigger = 1u << 5;
inline constexpr std::uint16_t kAcquireWaitingTrigger = 1u << 6;
inline constexpr std::uint16_t kIntegrating = 1u << 7;
inline constexpr std::uint16_t kProgramPaused = 1u << 8;
inline constexpr std::uint16_t kProgramRunning = 1u << 14;
}  // namespace oper

// Bits of the QUEStionable condition register: latched protection alarms.
namespace ques {
inline constexpr std::uint16_t kOverVoltage = 1u << 0;
inline constexpr std::uint16_t kOverCurrent = 1u << 1;
inline constexpr std::uint16_t kOverPower = 1u << 2;
inline constexpr std::uint16_t kSinkOverCurrent = 1u << 3;
inline constexpr std::uint16_t kSinkOverPower = 1u << 4;
inline constexpr std::uint16_t kUnderVoltage = 1u << 5;
inline constexpr std::uint16_t kLineOverVoltage = 1u << 6;
inline constexpr std::uint16_t kWatchdog = 1u << 7;
inline constexpr std::uint16_t kSensing = 1u << 8;
}  // namespace ques

// Condition, event, enable and transition filters of one SCPI register group.
// Bit 15 is never used, so every value fits a signed 16-bit reply.
class RegisterGroup {
 public:
  static constexpr std::uint16_t kMask = 0x7fff;

  void SetCondition(std::uint16_t condition);
  std::uint16_t condition() const { return condition_; }
  // Reading the event register clears it.
  std::uint16_t TakeEvent();
  std::uint16_t event() const { return event_; }
  bool Summary() const { return (event_ & enable_) != 0; }
  void SetEnable(std::uint16_t value) { enable_ = value & kMask; }
  std::uint16_t enable() const { return enable_; }
  void SetPositiveFilter(std::uint16_t value) { positive_ = value & kMask; }
  std::uint16_t positive_filter() const { return positive_; }
  void SetNegativeFilter(std::uint16_t value) { negative_ = value & kMask; }
  std::uint16_t negative_filter() const { return negative_; }
  void ClearEvent() { event_ = 0; }
  // :STATus:PRESet: enable 0, positive filter all ones, negative filter 0.
  void Preset();

 private:
  std::uint16_t condition_ = 0;
  std::uint16_t event_ = 0;
  std::uint16_t enable_ = 0;
  std::uint16_t positive_ = kMask;
  std::uint16_t negative_ = 0;
};

// Standard event status register (*ESR?, *ESE) and service request enable (*SRE).
class EventStatus {
 public:
  static constexpr std::uint8_t kOperationComplete = 1;
  static constexpr std::uint8_t kPowerOn = 128;

  void Set(unsigned bits) { esr_ = static_cast<std::uint8_t>(esr_ | (bits & 0xffu)); }
  std::uint8_t TakeEsr();
  std::uint8_t esr() const { return esr_; }
  void SetEse(unsigned value) { ese_ = static_cast<std::uint8_t>(value & 0xffu); }
  std::uint8_t ese() const { return ese_; }
  void SetSre(unsigned value) { sre_ = static_cast<std::uint8_t>(value & 0xbfu); }
  std::uint8_t sre() const { return sre_; }

 private:
  std::uint8_t esr_ = kPowerOn;
  std::uint8_t ese_ = 0;
  std::uint8_t sre_ = 0;
};

}  // namespace tqrsim
