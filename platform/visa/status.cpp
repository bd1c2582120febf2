#include "platform/visa/status.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <utility>

namespace motqr::visa {
namespace {

struct CodeText {
  ViStatus code;
  std::string_view text;
};

constexpr CodeText kDescriptions[] = {
    {VI_SUCCESS, "Operation completed successfully."},
    {VI_SUCCESS_TERM_CHAR, "The specified termination character was read."},
    {VI_SUCCESS_MAX_CNT, "The number of bytes read is equal to the input count."},
    {VI_WARN_NSUP_ATTR_STATE,
     "Although the specified state of the attribute is valid, it is "
     "not supported by this implementation."},
    {VI_SUCCESS_NESTED_SHARED,
     "Operation completed successfully, and this session has nested "
     "shared locks."},
    {VI_SUCCESS_NESTED_EXCLUSIVE,
     "Operation completed successfully, and this session has "
     "nested exclusive locks."},
    {VI_ERROR_SYSTEM_ERROR, "Unknown system error (miscellaneous error)."},
    {VI_ERROR_INV_OBJECT, "The given session or object reference is invalid."},
    {VI_ERROR_RSRC_LOCKED,
     "Specified type of lock cannot be obtained or specified operation "
     "cannot be performed, because the resource is locked."},
    {VI_ERROR_RSRC_NFOUND,
     "Insufficient location information or resource not present in the "
     "system."},
    {VI_ERROR_INV_RSRC_NAME, "Invalid resource reference specified. Parsing error."},
    {VI_ERROR_INV_ACC_MODE, "Invalid access mode."},
    {VI_ERROR_TMO, "Timeout expired before operation completed."},
    {VI_ERROR_CLOSING_FAILED,
     "Unable to deallocate the previously allocated data structures "
     "corresponding to this session or object reference."},
    {VI_ERROR_NSUP_ATTR,
     "The specified attribute is not defined or supported by the "
     "referenced session, event, or find list."},
    {VI_ERROR_NSUP_ATTR_STATE,
     "The specified state of the attribute is not valid, or is not "
     "supported as defined by the session, event, or find list."},
    {VI_ERROR_ATTR_READONLY, "The specified attribute is read-only."},
    {VI_ERROR_INV_LOCK_TYPE, "The specified type of lock is not supported by this resource."},
    {VI_ERROR_INV_ACCESS_KEY,
     "The access key to the resource associated with this session is "
     "invalid."},
    {VI_ERROR_ALLOC, "Insufficient system resources to perform necessary memory allocation."},
    {VI_ERROR_IO, "Could not perform operation because of I/O error."},
    {VI_ERROR_NSUP_OPER,
     "The given session or object reference does not support this "
     "operation."},
    {VI_ERROR_ASRL_PARITY, "A parity error occurred during transfer."},
    {VI_ERROR_ASRL_FRAMING, "A framing error occurred during transfer."},
    {VI_ERROR_ASRL_OVERRUN,
     "An overrun error occurred during transfer. A character was not "
     "read from the hardware before the next character arrived."},
    {VI_ERROR_RSRC_BUSY, "The resource is valid, but VISA cannot currently access it."},
    {VI_ERROR_INV_PARAMETER,
     "The value of some parameter (which parameter is not known) is "
     "invalid."},
    {VI_ERROR_SESN_NLOCKED, "The current session did not have any lock on the resource."},
    {VI_ERROR_LIBRARY_NFOUND,
     "A code library required by VISA could not be located or "
     "loaded."},
    {VI_ERROR_CONN_LOST, "The connection for the given session has been lost."},
};

// strerror_r comes in two shapes; each overload picks the text out of its own.
[[maybe_unused]] const char* PickText(int result, const char* buffer) {
  return result == 0 ? buffer : "Unknown error";
}
[[maybe_unused]] const char* PickText(const char* result, const char*) { return result; }

}  // namespace

std::string Status::message() const {
  return message_.empty() ? StatusDescription(code_) : message_;
}

std::string StatusDescription(ViStatus code) {
  for (const CodeText& entry : kDescriptions) {
    if (entry.code == code) return std::string(entry.text);
  }
  std::array<char, 16> hex{};
  auto [end, ec] =
      std::to_chars(hex.data(), hex.data() + hex.size(), static_cast<std::uint32_t>(code), 16);
  return "Unknown VISA status code 0x" + std::string(hex.data(), end) + ".";
}

std::string OsErrorText(int error) {
  std::array<char, 256> buffer{};
  return PickText(strerror_r(error, buffer.data(), buffer.size()), buffer.data());
}

}  // namespace motqr::visa
