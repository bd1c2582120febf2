// The attributes every message-based transport keeps for itself: time-out, termination
// character and its enable, END on writes, the I/O protocol, interface type and number.
#pragma once

#include <cstdint>

#include "platform/visa/status.h"
#include "platform/visa/visa_types.h"

namespace motqr::visa {

class MessageAttributes {
 public:
  MessageAttributes(ViUInt16 interface_type, std::uint16_t board)
      : interface_type_(interface_type), board_(board) {}

  // VI_ERROR_NSUP_ATTR for an attribute kept elsewhere.
  Status Set(ViAttr attribute, ViAttrState value);
  Status Get(ViAttr attribute, ViAttrState* value) const;

  ViUInt32 timeout_ms() const { return timeout_ms_; }
  std::uint8_t termchar() const { return termchar_; }
  bool termchar_enabled() const { return termchar_enabled_; }
  bool send_end_enabled() const { return send_end_enabled_; }

 private:
  ViUInt16 interface_type_;
  std::uint16_t board_;
  ViUInt32 timeout_ms_ = 2000;
  std::uint8_t termchar_ = '\n';
  bool termchar_enabled_ = false;
  bool send_end_enabled_ = true;
  bool suppress_end_enabled_ = false;
  ViUInt16 io_protocol_ = VI_PROT_NORMAL;
};

}  // namespace motqr::visa
