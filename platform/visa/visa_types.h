// VISA C types, attribute identifiers and completion codes used by the transports, laid out as
// the VISA C headers define them for Linux (plain cdecl, LP64-aware widths).
//
//   motqr::visa::ViStatus status = motqr::visa::VI_ERROR_TMO;
//   bool failed = status < motqr::visa::VI_SUCCESS;
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace motqr::visa {

// ViUInt32/ViInt32 are int-sized where long is 64 bits, long-sized otherwise.
inline constexpr bool kVisaEnvIs64Bit = LONG_MAX > 0x7FFFFFFFL;
using ViUInt32 = std::conditional_t<kVisaEnvIs64Bit, unsigned int, unsigned long>;
using ViInt32 = std::conditional_t<kVisaEnvIs64Bit, signed int, signed long>;
using ViUInt64 = std::uint64_t;
using ViInt64 = std::int64_t;
using ViUInt16 = unsigned short;
using ViInt16 = signed short;
using ViUInt8 = unsigned char;
using ViChar = char;
using ViBoolean = ViUInt16;
using ViStatus = ViInt32;
using ViObject = ViUInt32;
using ViSession = ViUInt32;
using ViAttr = ViUInt32;
using ViAccessMode = ViUInt32;
// ViAttrState is 64 bits wide on LP64: viSetAttribute takes it by value.
using ViAttrState = std::conditional_t<kVisaEnvIs64Bit, ViUInt64, ViUInt32>;
using ViString = char*;
using ViConstString = const char*;
using ViRsrc = ViString;
using ViConstRsrc = ViConstString;
using ViKeyId = ViString;
using ViConstKeyId = ViConstString;
using ViBuf = unsigned char*;
using ViPBuf = unsigned char*;
using ViConstBuf = const unsigned char*;

static_assert(sizeof(ViUInt32) == 4 && sizeof(ViInt32) == 4);
static_assert(sizeof(ViAttrState) == sizeof(void*));

inline constexpr ViBoolean VI_TRUE = 1;
inline constexpr ViBoolean VI_FALSE = 0;
inline constexpr ViSession VI_NULL = 0;

// Completion codes.
inline constexpr ViStatus VI_SUCCESS = 0;
inline constexpr ViStatus VI_SUCCESS_TERM_CHAR = 0x3FFF0005;
inline constexpr ViStatus VI_SUCCESS_MAX_CNT = 0x3FFF0006;
inline constexpr ViStatus VI_WARN_NSUP_ATTR_STATE = 0x3FFF0084;
inline constexpr ViStatus VI_SUCCESS_NESTED_SHARED = 0x3FFF0099;
inline constexpr ViStatus VI_SUCCESS_NESTED_EXCLUSIVE = 0x3FFF009A;

// Error codes: _VI_ERROR (0x80000000) plus the offset, as signed 32-bit values.
constexpr ViStatus ViError(std::uint32_t code) { return static_cast<ViStatus>(code); }
inline constexpr ViStatus VI_ERROR_SYSTEM_ERROR = ViError(0xBFFF0000U);
inline constexpr ViStatus VI_ERROR_INV_OBJECT = ViError(0xBFFF000EU);
inline constexpr ViStatus VI_ERROR_RSRC_LOCKED = ViError(0xBFFF000FU);
inline constexpr ViStatus VI_ERROR_RSRC_NFOUND = ViError(0xBFFF0011U);
inline constexpr ViStatus VI_ERROR_INV_RSRC_NAME = ViError(0xBFFF0012U);
inline constexpr ViStatus VI_ERROR_INV_ACC_MODE = ViError(0xBFFF0013U);
inline constexpr ViStatus VI_ERROR_TMO = ViError(0xBFFF0015U);
inline constexpr ViStatus VI_ERROR_CLOSING_FAILED = ViError(0xBFFF0016U);
inline constexpr ViStatus VI_ERROR_NSUP_ATTR = ViError(0xBFFF001DU);
inline constexpr ViStatus VI_ERROR_NSUP_ATTR_STATE = ViError(0xBFFF001EU);
inline constexpr ViStatus VI_ERROR_ATTR_READONLY = ViError(0xBFFF001FU);
inline constexpr ViStatus VI_ERROR_INV_LOCK_TYPE = ViError(0xBFFF0020U);
inline constexpr ViStatus VI_ERROR_INV_ACCESS_KEY = ViError(0xBFFF0021U);
inline constexpr ViStatus VI_ERROR_ALLOC = ViError(0xBFFF003CU);
inline constexpr ViStatus VI_ERROR_IO = ViError(0xBFFF003EU);
inline constexpr ViStatus VI_ERROR_NSUP_OPER = ViError(0xBFFF0067U);
inline constexpr ViStatus VI_ERROR_ASRL_PARITY = ViError(0xBFFF006AU);
inline constexpr ViStatus VI_ERROR_ASRL_FRAMING = ViError(0xBFFF006BU);
inline constexpr ViStatus VI_ERROR_ASRL_OVERRUN = ViError(0xBFFF006CU);
inline constexpr ViStatus VI_ERROR_RSRC_BUSY = ViError(0xBFFF0072U);
inline constexpr ViStatus VI_ERROR_INV_PARAMETER = ViError(0xBFFF0078U);
inline constexpr ViStatus VI_ERROR_SESN_NLOCKED = ViError(0xBFFF009CU);
inline constexpr ViStatus VI_ERROR_LIBRARY_NFOUND = ViError(0xBFFF009EU);
inline constexpr ViStatus VI_ERROR_CONN_LOST = ViError(0xBFFF00A6U);
static_assert(VI_ERROR_TMO == -1073807339);
static_assert(VI_ERROR_CONN_LOST == -1073807194);

// Attributes.
inline constexpr ViAttr VI_ATTR_RSRC_CLASS = 0xBFFF0001U;
inline constexpr ViAttr VI_ATTR_RSRC_NAME = 0xBFFF0002U;
inline constexpr ViAttr VI_ATTR_SEND_END_EN = 0x3FFF0016U;
inline constexpr ViAttr VI_ATTR_TERMCHAR = 0x3FFF0018U;
inline constexpr ViAttr VI_ATTR_TMO_VALUE = 0x3FFF001AU;
inline constexpr ViAttr VI_ATTR_IO_PROT = 0x3FFF001CU;
inline constexpr ViAttr VI_ATTR_ASRL_BAUD = 0x3FFF0021U;
inline constexpr ViAttr VI_ATTR_ASRL_DATA_BITS = 0x3FFF0022U;
inline constexpr ViAttr VI_ATTR_ASRL_PARITY = 0x3FFF0023U;
inline constexpr ViAttr VI_ATTR_ASRL_STOP_BITS = 0x3FFF0024U;
inline constexpr ViAttr VI_ATTR_ASRL_FLOW_CNTRL = 0x3FFF0025U;
inline constexpr ViAttr VI_ATTR_SUPPRESS_END_EN = 0x3FFF0036U;
inline constexpr ViAttr VI_ATTR_TERMCHAR_EN = 0x3FFF0038U;
inline constexpr ViAttr VI_ATTR_ASRL_AVAIL_NUM = 0x3FFF00ACU;
inline constexpr ViAttr VI_ATTR_ASRL_END_IN = 0x3FFF00B3U;
inline constexpr ViAttr VI_ATTR_ASRL_END_OUT = 0x3FFF00B4U;
inline constexpr ViAttr VI_ATTR_INTF_TYPE = 0x3FFF0171U;
inline constexpr ViAttr VI_ATTR_INTF_NUM = 0x3FFF0176U;
inline constexpr ViAttr VI_ATTR_TCPIP_ADDR = 0xBFFF0195U;
inline constexpr ViAttr VI_ATTR_TCPIP_HOSTNAME = 0xBFFF0196U;
inline constexpr ViAttr VI_ATTR_TCPIP_PORT = 0x3FFF0197U;
inline constexpr ViAttr VI_ATTR_TCPIP_NODELAY = 0x3FFF019AU;
inline constexpr ViAttr VI_ATTR_TCPIP_KEEPALIVE = 0x3FFF019BU;

// Attribute values.
inline constexpr ViUInt32 VI_TMO_IMMEDIATE = 0;
inline constexpr ViUInt32 VI_TMO_INFINITE = 0xFFFFFFFFU;
inline constexpr ViAccessMode VI_NO_LOCK = 0;
inline constexpr ViAccessMode VI_EXCLUSIVE_LOCK = 1;
inline constexpr ViAccessMode VI_SHARED_LOCK = 2;
inline constexpr ViAccessMode VI_LOAD_CONFIG = 4;
inline constexpr ViUInt16 VI_PROT_NORMAL = 1;
inline constexpr ViUInt16 VI_PROT_4882_STRS = 4;
inline constexpr ViUInt16 VI_ASRL_PAR_NONE = 0;
inline constexpr ViUInt16 VI_ASRL_PAR_ODD = 1;
inline constexpr ViUInt16 VI_ASRL_PAR_EVEN = 2;
inline constexpr ViUInt16 VI_ASRL_PAR_MARK = 3;
inline constexpr ViUInt16 VI_ASRL_PAR_SPACE = 4;
inline constexpr ViUInt16 VI_ASRL_STOP_ONE = 10;
inline constexpr ViUInt16 VI_ASRL_STOP_ONE5 = 15;
inline constexpr ViUInt16 VI_ASRL_STOP_TWO = 20;
inline constexpr ViUInt16 VI_ASRL_FLOW_NONE = 0;
inline constexpr ViUInt16 VI_ASRL_FLOW_XON_XOFF = 1;
inline constexpr ViUInt16 VI_ASRL_FLOW_RTS_CTS = 2;
inline constexpr ViUInt16 VI_ASRL_FLOW_DTR_DSR = 4;
inline constexpr ViUInt16 VI_ASRL_END_NONE = 0;
inline constexpr ViUInt16 VI_ASRL_END_LAST_BIT = 1;
inline constexpr ViUInt16 VI_ASRL_END_TERMCHAR = 2;
inline constexpr ViUInt16 VI_ASRL_END_BREAK = 3;
inline constexpr ViUInt16 VI_TRIG_PROT_DEFAULT = 0;
inline constexpr ViUInt16 VI_INTF_GPIB = 1;
inline constexpr ViUInt16 VI_INTF_VXI = 2;
inline constexpr ViUInt16 VI_INTF_GPIB_VXI = 3;
inline constexpr ViUInt16 VI_INTF_ASRL = 4;
inline constexpr ViUInt16 VI_INTF_PXI = 5;
inline constexpr ViUInt16 VI_INTF_TCPIP = 6;
inline constexpr ViUInt16 VI_INTF_USB = 7;

// Size of the caller buffer for string attributes, resource names and access keys.
inline constexpr std::size_t kViStringBufferSize = 256;

}  // namespace motqr::visa
