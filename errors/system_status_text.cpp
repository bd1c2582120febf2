#include "errors/system_status_text.h"

#include <cstdio>

namespace motqr::errors {

std::string SystemStatusText(com::HRESULT code) {
  switch (code) {
    case com::E_NOTIMPL:
      return "Not implemented.";
    case com::E_NOINTERFACE:
      return "No such interface supported.";
    case com::E_POINTER:
      return "Invalid pointer.";
    case com::E_ABORT:
      return "Operation aborted.";
    case com::E_FAIL:
      return "Unspecified error.";
    case com::E_UNEXPECTED:
      return "Catastrophic failure.";
    case com::E_HANDLE:
      return "Invalid handle.";
    case com::E_OUTOFMEMORY:
      return "Ran out of memory.";
    case com::E_INVALIDARG:
      return "One or more arguments are invalid.";
    case com::DISP_E_TYPEMISMATCH:
      return "Type mismatch.";
    case com::DISP_E_EXCEPTION:
      return "Exception occurred.";
    case com::DISP_E_OVERFLOW:
      return "Out of present range.";
    case com::DISP_E_BADINDEX:
      return "Invalid index.";
    case com::DISP_E_ARRAYISLOCKED:
      return "Memory is locked.";
    case com::DISP_E_BADVARTYPE:
      return "Bad variable type.";
    case com::CLASS_E_NOAGGREGATION:
      return "Class does not support aggregation.";
    case com::CLASS_E_CLASSNOTAVAILABLE:
      return "ClassFactory cannot supply requested class.";
    case com::REGDB_E_CLASSNOTREG:
      return "Class not registered.";
    default:
      break;
  }
  char text[40];
  std::snprintf(text, sizeof text, "Unknown failure 0x%08X.", static_cast<unsigned>(code));
  return text;
}

}  // namespace motqr::errors
