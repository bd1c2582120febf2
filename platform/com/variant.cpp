#include "platform/com/variant.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace motqr::com {
namespace {

// A scalar read out of a variant, in the widest form that keeps it exact.
struct Scalar {
  enum Kind { kSigned, kUnsigned, kReal } kind;
  std::int64_t i = 0;
  std::uint64_t u = 0;
  double d = 0;
};

std::optional<Scalar> ScalarOf(const VARIANT& v) {
  switch (v.vt) {
    case VT_EMPTY:
      return Scalar{Scalar::kSigned, 0};
    case VT_I1:
      return Scalar{Scalar::kSigned, v.cVal};
    case VT_UI1:
      return Scalar{Scalar::kSigned, v.bVal};
    case VT_I2:
      return Scalar{Scalar::kSigned, v.iVal};
    case VT_UI2:
      return Scalar{Scalar::kSigned, v.uiVal};
    case VT_I4:
    case VT_INT:
      return Scalar{Scalar::kSigned, v.lVal};
    case VT_UI4:
    case VT_UINT:
      return Scalar{Scalar::kSigned, v.ulVal};
    case VT_ERROR:
      return Scalar{Scalar::kSigned, v.scode};
    case VT_I8:
      return Scalar{Scalar::kSigned, v.llVal};
    case VT_UI8:
      return Scalar{Scalar::kUnsigned, 0, v.ullVal};
    case VT_BOOL:
      return Scalar{Scalar::kSigned, v.boolVal ? -1 : 0};
    case VT_R4:
      return Scalar{Scalar::kReal, 0, 0, v.fltVal};
    case VT_R8:
    case VT_DATE:
      return Scalar{Scalar::kReal, 0, 0, v.dblVal};
    default:
      return std::nullopt;
  }
}

std::optional<Scalar> ParseText(std::u16string_view wide) {
  std::string text = Utf16ToUtf8(wide);
  std::size_t b = text.find_first_not_of(" \t\r\n");
  std::size_t e = text.find_last_not_of(" \t\r\n");
  if (b == std::string::npos) return std::nullopt;
  text = text.substr(b, e - b + 1);
  if (text == "True" || text == "true" || text == "#TRUE#") return Scalar{Scalar::kSigned, -1};
  if (text == "False" || text == "false" || text == "#FALSE#") return Scalar{Scalar::kSigned, 0};
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (*first == '+') ++first;
  std::int64_t i;
  auto ri = std::from_chars(first, last, i);
  if (ri.ec == std::errc() && ri.ptr == last) return Scalar{Scalar::kSigned, i};
  double d;
  auto rd = std::from_chars(first, last, d);
  if (rd.ec == std::errc() && rd.ptr == last) return Scalar{Scalar::kReal, 0, 0, d};
  return std::nullopt;
}

std::string FormatReal(double d) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, d);
  return std::string(buf, r.ptr);
}

std::string TextOf(const Scalar& s, VARTYPE src_vt) {
  if (src_vt == VT_BOOL) return s.i ? "True" : "False";
  switch (s.kind) {
    case Scalar::kSigned:
      return std::to_string(s.i);
    case Scalar::kUnsigned:
      return std::to_string(s.u);
    case Scalar::kReal:
      return FormatReal(s.d);
  }
  return {};
}

template <class T>
HRESULT Narrow(const Scalar& s, T* out) {
  if (s.kind == Scalar::kReal) {
    if (!std::isfinite(s.d)) return DISP_E_OVERFLOW;
    // Round half to even, as the component runtime does.
    const double r = std::nearbyint(s.d);
    if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
        r > static_cast<double>(std::numeric_limits<T>::max()))
      return DISP_E_OVERFLOW;
    *out = static_cast<T>(r);
    return S_OK;
  }
  if (s.kind == Scalar::kUnsigned) {
    if (s.u > static_cast<std::uint64_t>(std::numeric_limits<T>::max())) return DISP_E_OVERFLOW;
    *out = static_cast<T>(s.u);
    return S_OK;
  }
  if constexpr (std::is_signed_v<T>) {
    if (s.i < std::int64_t{std::numeric_limits<T>::min()} ||
        s.i > std::int64_t{std::numeric_limits<T>::max()})
      return DISP_E_OVERFLOW;
  } else {
    if (s.i < 0 || static_cast<std::uint64_t>(s.i) > std::uint64_t{std::numeric_limits<T>::max()})
      return DISP_E_OVERFLOW;
  }
  *out = static_cast<T>(s.i);
  return S_OK;
}

double RealOf(const Scalar& s) {
  switch (s.kind) {
    case Scalar::kSigned:
      return static_cast<double>(s.i);
    case Scalar::kUnsigned:
      return static_cast<double>(s.u);
    case Scalar::kReal:
      return s.d;
  }
  return 0;
}

}  // namespace

void VariantInit(VARIANT* v) {
  if (!v) return;
  std::memset(v, 0, sizeof *v);
  v->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* v) {
  if (!v) return E_INVALIDARG;
  if (v->vt & VT_ARRAY) {
    if (!(v->vt & VT_BYREF)) SafeArrayDestroy(v->parray);
  } else if (!(v->vt & VT_BYREF)) {
    switch (v->vt) {
      case VT_BSTR:
        SysFreeString(v->bstrVal);
        break;
      case VT_UNKNOWN:
      case VT_DISPATCH:
        if (v->punkVal) v->punkVal->Release();
        break;
      default:
        break;
    }
  }
  VariantInit(v);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
  if (!dest || !src) return E_INVALIDARG;
  if (dest == src) return S_OK;
  VARIANT tmp;
  std::memcpy(&tmp, src, sizeof tmp);
  if ((src->vt & VT_ARRAY) && !(src->vt & VT_BYREF)) {
    const HRESULT hr = SafeArrayCopy(src->parray, &tmp.parray);
    if (Failed(hr)) return hr;
  } else if (src->vt == VT_BSTR && src->bstrVal) {
    tmp.bstrVal = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
    if (!tmp.bstrVal) return E_OUTOFMEMORY;
  } else if ((src->vt == VT_UNKNOWN || src->vt == VT_DISPATCH) && src->punkVal) {
    src->punkVal->AddRef();
  }
  VariantClear(dest);
  std::memcpy(dest, &tmp, sizeof tmp);
  return S_OK;
}

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, std::uint16_t /*flags*/, VARTYPE vt) {
  if (!dest || !src) return E_INVALIDARG;
  if (src->vt == vt) return VariantCopy(dest, src);
  std::optional<Scalar> s = src->vt == VT_BSTR ? ParseText(BstrView(src->bstrVal)) : ScalarOf(*src);
  if (!s) return DISP_E_TYPEMISMATCH;
  VARIANT out;
  VariantInit(&out);
  out.vt = vt;
  HRESULT hr = S_OK;
  switch (vt) {
    case VT_EMPTY:
      break;
    case VT_I1:
      hr = Narrow(*s, &out.cVal);
      break;
    case VT_UI1:
      hr = Narrow(*s, &out.bVal);
      break;
    case VT_I2:
      hr = Narrow(*s, &out.iVal);
      break;
    case VT_UI2:
      hr = Narrow(*s, &out.uiVal);
      break;
    case VT_I4:
    case VT_INT:
      hr = Narrow(*s, &out.lVal);
      break;
    case VT_UI4:
    case VT_UINT:
      hr = Narrow(*s, &out.ulVal);
      break;
    case VT_ERROR:
      hr = Narrow(*s, &out.scode);
      break;
    case VT_I8:
      hr = Narrow(*s, &out.llVal);
      break;
    case VT_UI8:
      hr = Narrow(*s, &out.ullVal);
      break;
    case VT_R4: {
      const double d = RealOf(*s);
      if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()) {
        hr = DISP_E_OVERFLOW;
      } else {
        out.fltVal = static_cast<float>(d);
      }
      break;
    }
    case VT_R8:
    case VT_DATE:
      out.dblVal = RealOf(*s);
      break;
    case VT_BOOL:
      out.boolVal = RealOf(*s) != 0 ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case VT_BSTR:
      out.bstrVal = AllocBstrFromUtf8(TextOf(*s, src->vt));
      if (!out.bstrVal) hr = E_OUTOFMEMORY;
      break;
    default:
      hr = DISP_E_BADVARTYPE;
      break;
  }
  if (Failed(hr)) return hr;
  VariantClear(dest);
  std::memcpy(dest, &out, sizeof out);
  return S_OK;
}

std::string Variant::ToText() const {
  if (v_.vt == VT_BSTR) return BstrToUtf8(v_.bstrVal);
  VARIANT text;
  VariantInit(&text);
  if (Failed(VariantChangeType(&text, &v_, 0, VT_BSTR))) return {};
  std::string r = BstrToUtf8(text.bstrVal);
  VariantClear(&text);
  return r;
}

}  // namespace motqr::com
