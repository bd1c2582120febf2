#include "platform/visa/attribute_info.h"

namespace motqr::visa {
namespace {

constexpr ViAttr VI_ATTR_ASRL_CTS_STATE = 0x3FFF00AEU;
constexpr ViAttr VI_ATTR_ASRL_DCD_STATE = 0x3FFF00AFU;
constexpr ViAttr VI_ATTR_ASRL_DSR_STATE = 0x3FFF00B1U;
constexpr ViAttr VI_ATTR_ASRL_DTR_STATE = 0x3FFF00B2U;
constexpr ViAttr VI_ATTR_ASRL_REPLACE_CHAR = 0x3FFF00BEU;
constexpr ViAttr VI_ATTR_ASRL_RI_STATE = 0x3FFF00BFU;
constexpr ViAttr VI_ATTR_ASRL_RTS_STATE = 0x3FFF00C0U;
constexpr ViAttr VI_ATTR_ASRL_XON_CHAR = 0x3FFF00C1U;
constexpr ViAttr VI_ATTR_ASRL_XOFF_CHAR = 0x3FFF00C2U;

constexpr AttributeInfo kAttributes[] = {
    {VI_ATTR_RSRC_CLASS, AttributeType::kString},
    {VI_ATTR_RSRC_NAME, AttributeType::kString},
    {VI_ATTR_SEND_END_EN, AttributeType::kBoolean},
    {VI_ATTR_TERMCHAR, AttributeType::kUInt8},
    {VI_ATTR_TMO_VALUE, AttributeType::kUInt32},
    {VI_ATTR_IO_PROT, AttributeType::kUInt16},
    {VI_ATTR_ASRL_BAUD, AttributeType::kUInt32},
    {VI_ATTR_ASRL_DATA_BITS, AttributeType::kUInt16},
    {VI_ATTR_ASRL_PARITY, AttributeType::kUInt16},
    {VI_ATTR_ASRL_STOP_BITS, AttributeType::kUInt16},
    {VI_ATTR_ASRL_FLOW_CNTRL, AttributeType::kUInt16},
    {VI_ATTR_SUPPRESS_END_EN, AttributeType::kBoolean},
    {VI_ATTR_TERMCHAR_EN, AttributeType::kBoolean},
    {VI_ATTR_ASRL_AVAIL_NUM, AttributeType::kUInt32},
    {VI_ATTR_ASRL_CTS_STATE, AttributeType::kInt16},
    {VI_ATTR_ASRL_DCD_STATE, AttributeType::kInt16},
    {VI_ATTR_ASRL_DSR_STATE, AttributeType::kInt16},
    {VI_ATTR_ASRL_DTR_STATE, AttributeType::kInt16},
    {VI_ATTR_ASRL_END_IN, AttributeType::kUInt16},
    {VI_ATTR_ASRL_END_OUT, AttributeType::kUInt16},
    {VI_ATTR_ASRL_REPLACE_CHAR, AttributeType::kUInt8},
    {VI_ATTR_ASRL_RI_STATE, AttributeType::kInt16},
    {VI_ATTR_ASRL_RTS_STATE, AttributeType::kInt16},
    {VI_ATTR_ASRL_XON_CHAR, AttributeType::kUInt8},
    {VI_ATTR_ASRL_XOFF_CHAR, AttributeType::kUInt8},
    {VI_ATTR_INTF_TYPE, AttributeType::kUInt16},
    {VI_ATTR_INTF_NUM, AttributeType::kUInt16},
    {VI_ATTR_TCPIP_ADDR, AttributeType::kString},
    {VI_ATTR_TCPIP_HOSTNAME, AttributeType::kString},
    {VI_ATTR_TCPIP_PORT, AttributeType::kUInt16},
    {VI_ATTR_TCPIP_NODELAY, AttributeType::kBoolean},
    {VI_ATTR_TCPIP_KEEPALIVE, AttributeType::kBoolean},
};

}  // namespace

const AttributeInfo* FindAttributeInfo(ViAttr attribute) {
  for (const AttributeInfo& info : kAttributes) {
    if (info.id == attribute) return &info;
  }
  return nullptr;
}

}  // namespace motqr::visa
