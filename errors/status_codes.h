// Status codes by name: the component codes the driver returns (as the IVI
// driver and IviDCPwr type libraries name them, plus the driver's own
// MorvaneTqrErrorCodesEnum), and the codes only the C interface uses.
//
//   if (hr == E_IVI_NOT_INITIALIZED) ...
//   return kCStatusInvalidSessionHandle;
#pragma once

#include <cstdint>

#include "platform/com/types.h"

namespace motqr::errors {

// Component codes: S_IVI_SUCCESS, E_IVI_CANNOT_RECOVER ... E_IVI_UNKNOWN_PHYSICAL_IDENTIFIER,
// the warnings S_IVI_NSUP_ID_QUERY ... S_IVI_NSUP_REV_QUERY, E_MORVANETQR_IO_GENERAL,
// E_MORVANETQR_IO_TIMEOUT, E_MORVANETQR_MODEL_NOT_SUPPORTED, E_IVIDCPWR_TRIGGER_NOT_SOFTWARE.
#define MORVANETQR_MESSAGE(Id, Name, CodeName, Code, CCode, HelpContext, Text, CText) \
  inline constexpr com::HRESULT CodeName = com::MakeHresult(Code);
#include "errors/messages.def"

// C codes without a component counterpart: kCStatusInvalidAttribute,
// kCStatusAttributeNotWritable, kCStatusAttributeNotReadable, kCStatusTypesDoNotMatch,
// kCStatusInvalidSessionHandle.
#define MORVANETQR_C_ONLY_STATUS(Name, CCode, CText) \
  inline constexpr std::int32_t kCStatus##Name = com::MakeHresult(CCode);
#include "errors/messages.def"

// The C code of every component status that has no C counterpart.
inline constexpr std::int32_t kCStatusUnmapped = com::MakeHresult(0x80000000u);

}  // namespace motqr::errors
