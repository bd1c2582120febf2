#include "platform/visa/message_attributes.h"

namespace motqr::visa {
namespace {

Status BooleanValue(ViAttrState value, bool* out) {
  if (value != VI_TRUE && value != VI_FALSE) return Status(VI_ERROR_NSUP_ATTR_STATE);
  *out = value == VI_TRUE;
  return Status();
}

ViAttrState Boolean(bool on) { return on ? VI_TRUE : VI_FALSE; }

}  // namespace

Status MessageAttributes::Set(ViAttr attribute, ViAttrState value) {
  switch (attribute) {
    case VI_ATTR_TMO_VALUE:
      if (value > VI_TMO_INFINITE) return Status(VI_ERROR_NSUP_ATTR_STATE);
      timeout_ms_ = static_cast<ViUInt32>(value);
      return Status();
    case VI_ATTR_TERMCHAR:
      if (value > 0xFF) return Status(VI_ERROR_NSUP_ATTR_STATE);
      termchar_ = static_cast<std::uint8_t>(value);
      return Status();
    case VI_ATTR_TERMCHAR_EN:
      return BooleanValue(value, &termchar_enabled_);
    case VI_ATTR_SEND_END_EN:
      return BooleanValue(value, &send_end_enabled_);
    case VI_ATTR_SUPPRESS_END_EN:
      return BooleanValue(value, &suppress_end_enabled_);
    case VI_ATTR_IO_PROT:
      if (value != VI_PROT_NORMAL && value != VI_PROT_4882_STRS) {
        return Status(VI_ERROR_NSUP_ATTR_STATE);
      }
      io_protocol_ = static_cast<ViUInt16>(value);
      return Status();
    case VI_ATTR_INTF_TYPE:
    case VI_ATTR_INTF_NUM:
      return Status(VI_ERROR_ATTR_READONLY);
    default:
      return Status(VI_ERROR_NSUP_ATTR);
  }
}

Status MessageAttributes::Get(ViAttr attribute, ViAttrState* value) const {
  switch (attribute) {
    case VI_ATTR_TMO_VALUE:
      *value = timeout_ms_;
      return Status();
    case VI_ATTR_TERMCHAR:
      *value = termchar_;
      return Status();
    case VI_ATTR_TERMCHAR_EN:
      *value = Boolean(termchar_enabled_);
      return Status();
    case VI_ATTR_SEND_END_EN:
      *value = Boolean(send_end_enabled_);
      return Status();
    case VI_ATTR_SUPPRESS_END_EN:
      *value = Boolean(suppress_end_enabled_);
      return Status();
    case VI_ATTR_IO_PROT:
      *value = io_protocol_;
      return Status();
    case VI_ATTR_INTF_TYPE:
      *value = interface_type_;
      return Status();
    case VI_ATTR_INTF_NUM:
      *value = board_;
      return Status();
    default:
      return Status(VI_ERROR_NSUP_ATTR);
  }
}

}  // namespace motqr::visa
