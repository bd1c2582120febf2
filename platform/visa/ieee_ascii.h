// IEEE 488.2 ASCII numbers for FormattedIO488: one VARIANT value to text and one reply token
// to a VARIANT of a requested type, independent of the process locale.
//
//   std::string text;
//   FormatAsciiValue(com::Variant::Double(1.5).Get()[0], ASCIIType_R8, &text);  // "1.5"
#pragma once

#include <string>
#include <string_view>

#include "platform/visa/variant_number.h"
#include "platform/visa/visa_com_interfaces.h"

namespace motqr::visa {

// Reads number text as the formatted writer takes it from a VT_BSTR (blanks around it
// ignored, an optional "+"): a whole number when it has no ".", "e" or "E", else a real.
bool ParseAsciiNumber(std::string_view token, VariantNumber* n);

// The VARIANT type a value of `type` is read as (ASCIIType_Any reads as VT_R8, or VT_BSTR when
// the token is not a number); VT_EMPTY for a type that is not an IEEEASCIIType.
com::VARTYPE AsciiElementType(IEEEASCIIType type);

// Writes `value` as `type`: integers in decimal (a real rounds half to even, as
// kFormattedNumbers says), reals in the shortest text that reads back exactly, text as it is;
// ASCIIType_Any keeps the value's own type. DISP_E_TYPEMISMATCH when
// the value cannot be shown as `type`, DISP_E_OVERFLOW when it is out of its range.
HRESULT FormatAsciiValue(const VARIANT& value, IEEEASCIIType type, std::string* text);

// Reads `token` (blanks around it ignored, an optional "+") as `type` into `value` (which is
// overwritten, not cleared). Integer types take integral reals ("5.000E+00") and round others
// half to even, as the writer does. Errors as above.
HRESULT ParseAsciiValue(std::string_view token, IEEEASCIIType type, VARIANT* value);

}  // namespace motqr::visa
