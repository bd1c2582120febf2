// The whole number an integer-typed VARIANT holds, as the VISA objects read
// it: a boolean counts as 1 or 0 (not COM's -1), and an unsigned 64-bit value
// must fit the signed range.
#pragma once

#include <cstdint>

#include "platform/com/variant.h"

namespace motqr::visa {

inline bool VariantInteger(const com::VARIANT& v, std::int64_t* value) {
  switch (v.vt) {
    case com::VT_BOOL:
      *value = v.boolVal != com::VARIANT_FALSE ? 1 : 0;
      return true;
    case com::VT_I1:
      *value = v.cVal;
      return true;
    case com::VT_UI1:
      *value = v.bVal;
      return true;
    case com::VT_I2:
      *value = v.iVal;
      return true;
    case com::VT_UI2:
      *value = v.uiVal;
      return true;
    case com::VT_I4:
    case com::VT_INT:
      *value = v.lVal;
      return true;
    case com::VT_UI4:
    case com::VT_UINT:
      *value = v.ulVal;
      return true;
    case com::VT_I8:
      *value = v.llVal;
      return true;
    case com::VT_UI8:
      if (v.ullVal > static_cast<std::uint64_t>(INT64_MAX)) return false;
      *value = static_cast<std::int64_t>(v.ullVal);
      return true;
    default:
      return false;
  }
}

}  // namespace motqr::visa
