#include "platform/visa/variant_number.h"

#include <cmath>
#include <string>

#include "platform/visa/ieee_ascii.h"

namespace motqr::visa {
namespace {

using com::DISP_E_OVERFLOW;
using com::DISP_E_TYPEMISMATCH;
using com::S_OK;

// Reals at or beyond this size are refused before they are converted: the conversion of a
// double outside the 64-bit range is undefined.
constexpr double kRealLimit = 9.0e18;

double RoundHalfToEven(double x) {
  const double away = std::round(x);  // a tie goes away from zero
  if (std::fabs(away - x) != 0.5) return away;
  return 2.0 * std::round(x / 2.0);
}

}  // namespace

HRESULT ReadVariantNumber(const com::VARIANT& v, NumberRule rule, VariantNumber* n) {
  auto whole = [n](std::int64_t x) {
    *n = {true, x, 0};
    return S_OK;
  };
  auto real = [n](double x) {
    *n = {false, 0, x};
    return S_OK;
  };
  switch (v.vt) {
    case com::VT_BOOL:
      return whole(v.boolVal != com::VARIANT_FALSE ? 1 : 0);
    case com::VT_I1:
      return whole(v.cVal);
    case com::VT_UI1:
      return whole(v.bVal);
    case com::VT_I2:
      return whole(v.iVal);
    case com::VT_UI2:
      return whole(v.uiVal);
    case com::VT_I4:
    case com::VT_INT:
      return whole(v.lVal);
    case com::VT_UI4:
    case com::VT_UINT:
      return whole(v.ulVal);
    case com::VT_I8:
      return whole(v.llVal);
    case com::VT_UI8:
      if (v.ullVal > static_cast<std::uint64_t>(INT64_MAX)) return DISP_E_TYPEMISMATCH;
      return whole(static_cast<std::int64_t>(v.ullVal));
    case com::VT_R8:
      return real(v.dblVal);
    case com::VT_R4:
      if (!rule.takes_single_and_text) return DISP_E_TYPEMISMATCH;
      return real(v.fltVal);
    case com::VT_BSTR:
      if (!rule.takes_single_and_text) return DISP_E_TYPEMISMATCH;
      return ParseAsciiNumber(com::BstrToUtf8(v.bstrVal), n) ? S_OK : DISP_E_TYPEMISMATCH;
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

HRESULT WholeNumber(const VariantNumber& n, Fraction fraction, std::int64_t low, std::int64_t high,
                    std::int64_t* value) {
  std::int64_t whole = n.integer;
  if (!n.is_integer) {
    double r = n.real;
    switch (fraction) {
      case Fraction::kRefused:
        if (std::isfinite(r) && std::trunc(r) != r) return DISP_E_TYPEMISMATCH;
        break;
      case Fraction::kRoundedHalfToEven:
        r = RoundHalfToEven(r);
        break;
    }
    // Also refuses a NaN and the infinities.
    if (!(std::fabs(r) < kRealLimit)) return DISP_E_OVERFLOW;
    whole = static_cast<std::int64_t>(r);
  }
  if (whole < low || whole > high) return DISP_E_OVERFLOW;
  *value = whole;
  return S_OK;
}

HRESULT VariantToInteger(const com::VARIANT& v, NumberRule rule, std::int64_t low,
                         std::int64_t high, std::int64_t* value) {
  VariantNumber n;
  if (HRESULT hr = ReadVariantNumber(v, rule, &n); com::Failed(hr)) return hr;
  return WholeNumber(n, rule.fraction, low, high, value);
}

}  // namespace motqr::visa
