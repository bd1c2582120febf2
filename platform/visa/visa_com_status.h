// VISA-COM status values: a VISA completion or error code becomes an HRESULT by keeping its
// low 16 bits under facility 4 (S_VISA_x = 0x00040000 | code, E_VISA_x = 0x80040000 | code).
// A failure also sets the calling thread's error object with a readable description, which is
// what the driver quotes in its I/O error messages.
#pragma once

#include <string_view>

#include "platform/com/types.h"
#include "platform/visa/status.h"

namespace motqr::visa {

using com::HRESULT;

constexpr HRESULT VisaComHresult(ViStatus code) {
  if (code == VI_SUCCESS) return com::S_OK;
  const auto low = static_cast<std::uint32_t>(code) & 0xFFFFU;
  return com::MakeHresult((code < 0 ? 0x80040000U : 0x00040000U) | low);
}

inline constexpr HRESULT S_VISA_TERM_CHAR = VisaComHresult(VI_SUCCESS_TERM_CHAR);
inline constexpr HRESULT S_VISA_MAX_CNT = VisaComHresult(VI_SUCCESS_MAX_CNT);
inline constexpr HRESULT E_VISA_SYSTEM_ERROR = VisaComHresult(VI_ERROR_SYSTEM_ERROR);
inline constexpr HRESULT E_VISA_INV_OBJECT = VisaComHresult(VI_ERROR_INV_OBJECT);
inline constexpr HRESULT E_VISA_RSRC_LOCKED = VisaComHresult(VI_ERROR_RSRC_LOCKED);
inline constexpr HRESULT E_VISA_RSRC_NFOUND = VisaComHresult(VI_ERROR_RSRC_NFOUND);
inline constexpr HRESULT E_VISA_INV_RSRC_NAME = VisaComHresult(VI_ERROR_INV_RSRC_NAME);
inline constexpr HRESULT E_VISA_TMO = VisaComHresult(VI_ERROR_TMO);
inline constexpr HRESULT E_VISA_NSUP_ATTR = VisaComHresult(VI_ERROR_NSUP_ATTR);
inline constexpr HRESULT E_VISA_NSUP_ATTR_STATE = VisaComHresult(VI_ERROR_NSUP_ATTR_STATE);
inline constexpr HRESULT E_VISA_INV_PARAMETER = VisaComHresult(VI_ERROR_INV_PARAMETER);
inline constexpr HRESULT E_VISA_IO = VisaComHresult(VI_ERROR_IO);
inline constexpr HRESULT E_VISA_NSUP_OPER = VisaComHresult(VI_ERROR_NSUP_OPER);
inline constexpr HRESULT E_VISA_LIBRARY_NFOUND = VisaComHresult(VI_ERROR_LIBRARY_NFOUND);
inline constexpr HRESULT E_VISA_CONN_LOST = VisaComHresult(VI_ERROR_CONN_LOST);
static_assert(S_VISA_TERM_CHAR == 0x00040005 && S_VISA_MAX_CNT == 0x00040006);
static_assert(E_VISA_TMO == com::MakeHresult(0x80040015U));

// The HRESULT of `status`; for a failure also sets the thread's error object (description:
// status.message(), source "VISA-COM", interface `iid`).
HRESULT ReportStatus(const Status& status, const com::IID& iid);
// Sets the thread's error object for failure `hr` with `description`; returns `hr`.
HRESULT ReportFailure(HRESULT hr, std::string_view description, const com::IID& iid);

}  // namespace motqr::visa
