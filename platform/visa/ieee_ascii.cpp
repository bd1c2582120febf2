#include "platform/visa/ieee_ascii.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace motqr::visa {
namespace {

using com::DISP_E_OVERFLOW;
using com::DISP_E_TYPEMISMATCH;
using com::S_OK;

std::string_view TrimToken(std::string_view token) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!token.empty() && blank(token.front())) token.remove_prefix(1);
  while (!token.empty() && blank(token.back())) token.remove_suffix(1);
  return token;
}

bool ParseDouble(std::string_view token, double* value) {
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  if (token.empty()) return false;
  auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), *value);
  return ec == std::errc() && end == token.data() + token.size();
}

bool ParseInteger(std::string_view token, std::int64_t* value) {
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  if (token.empty()) return false;
  auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), *value);
  if (ec == std::errc() && end == token.data() + token.size()) return true;
  double real = 0;
  if (!ParseDouble(token, &real) || !std::isfinite(real) || std::trunc(real) != real ||
      std::fabs(real) > 9.0e18) {
    return false;
  }
  *value = static_cast<std::int64_t>(real);
  return true;
}

template <typename T>
std::string NumberText(T value) {
  std::array<char, 64> buffer{};
  auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), end);
}

HRESULT StoreInteger(std::int64_t integer, com::VARTYPE vt, VARIANT* value) {
  value->vt = vt;
  switch (vt) {
    case com::VT_UI1:
      if (integer < 0 || integer > 0xFF) return DISP_E_OVERFLOW;
      value->bVal = static_cast<std::uint8_t>(integer);
      return S_OK;
    case com::VT_I2:
      if (integer < INT16_MIN || integer > INT16_MAX) return DISP_E_OVERFLOW;
      value->iVal = static_cast<std::int16_t>(integer);
      return S_OK;
    default:
      if (integer < INT32_MIN || integer > INT32_MAX) return DISP_E_OVERFLOW;
      value->lVal = static_cast<std::int32_t>(integer);
      return S_OK;
  }
}

}  // namespace

bool ParseAsciiNumber(std::string_view token, VariantNumber* n) {
  token = TrimToken(token);
  if (ParseInteger(token, &n->integer) && token.find_first_of(".eE") == std::string::npos) {
    n->is_integer = true;
    return true;
  }
  n->is_integer = false;
  return ParseDouble(token, &n->real);
}

com::VARTYPE AsciiElementType(IEEEASCIIType type) {
  switch (type) {
    case ASCIIType_I2:
      return com::VT_I2;
    case ASCIIType_I4:
      return com::VT_I4;
    case ASCIIType_R4:
      return com::VT_R4;
    case ASCIIType_R8:
    case ASCIIType_Any:
      return com::VT_R8;
    case ASCIIType_BSTR:
      return com::VT_BSTR;
    case ASCIIType_UI1:
      return com::VT_UI1;
  }
  return com::VT_EMPTY;
}

HRESULT FormatAsciiValue(const VARIANT& value, IEEEASCIIType type, std::string* text) {
  if (type == ASCIIType_BSTR || (type == ASCIIType_Any && value.vt == com::VT_BSTR)) {
    if (value.vt != com::VT_BSTR) {
      VariantNumber n;
      if (HRESULT hr = ReadVariantNumber(value, kFormattedNumbers, &n); com::Failed(hr)) return hr;
      *text = n.is_integer ? NumberText(n.integer) : NumberText(n.real);
      return S_OK;
    }
    *text = com::BstrToUtf8(value.bstrVal);
    return S_OK;
  }
  VariantNumber n;
  if (HRESULT hr = ReadVariantNumber(value, kFormattedNumbers, &n); com::Failed(hr)) return hr;
  const Fraction fraction = kFormattedNumbers.fraction;
  std::int64_t integer = 0;
  HRESULT hr = S_OK;
  switch (type) {
    case ASCIIType_UI1:
      hr = WholeNumber(n, fraction, 0, 0xFF, &integer);
      break;
    case ASCIIType_I2:
      hr = WholeNumber(n, fraction, INT16_MIN, INT16_MAX, &integer);
      break;
    case ASCIIType_I4:
      hr = WholeNumber(n, fraction, INT32_MIN, INT32_MAX, &integer);
      break;
    case ASCIIType_R4: {
      const double real = n.is_integer ? static_cast<double>(n.integer) : n.real;
      if (std::isfinite(real) && std::fabs(real) > std::numeric_limits<float>::max()) {
        return DISP_E_OVERFLOW;
      }
      *text = NumberText(static_cast<float>(real));
      return S_OK;
    }
    case ASCIIType_R8:
      *text = n.is_integer ? NumberText(static_cast<double>(n.integer)) : NumberText(n.real);
      return S_OK;
    case ASCIIType_Any:
      *text = n.is_integer ? NumberText(n.integer) : NumberText(n.real);
      return S_OK;
    case ASCIIType_BSTR:
      return S_OK;  // handled above
    default:
      return DISP_E_TYPEMISMATCH;
  }
  if (com::Failed(hr)) return hr;
  *text = NumberText(integer);
  return S_OK;
}

HRESULT ParseAsciiValue(std::string_view token, IEEEASCIIType type, VARIANT* value) {
  token = TrimToken(token);
  const com::VARTYPE vt = AsciiElementType(type);
  if (vt == com::VT_EMPTY) return DISP_E_TYPEMISMATCH;
  double real = 0;
  if (vt == com::VT_BSTR || (type == ASCIIType_Any && !ParseDouble(token, &real))) {
    value->vt = com::VT_BSTR;
    value->bstrVal = com::AllocBstrFromUtf8(token);
    return value->bstrVal != nullptr ? S_OK : com::E_OUTOFMEMORY;
  }
  if (vt == com::VT_R8 || vt == com::VT_R4) {
    if (!ParseDouble(token, &real)) return DISP_E_TYPEMISMATCH;
    value->vt = vt;
    if (vt == com::VT_R8) {
      value->dblVal = real;
    } else {
      if (std::isfinite(real) && std::fabs(real) > std::numeric_limits<float>::max()) {
        return DISP_E_OVERFLOW;
      }
      value->fltVal = static_cast<float>(real);
    }
    return S_OK;
  }
  std::int64_t integer = 0;
  if (!ParseInteger(token, &integer)) {
    // A real that is not integral, or text: a real in range is rounded, text is refused.
    if (!ParseDouble(token, &real)) return DISP_E_TYPEMISMATCH;
    const HRESULT hr =
        WholeNumber({false, 0, real}, kFormattedNumbers.fraction, INT64_MIN, INT64_MAX, &integer);
    if (com::Failed(hr)) return hr;
  }
  return StoreInteger(integer, vt, value);
}

}  // namespace motqr::visa
