// VARIANT: a value tagged with its type, as the component runtime passes it.
#pragma once

#include <string>

#include "platform/com/bstr.h"
#include "platform/com/safearray.h"
#include "platform/com/unknown.h"

namespace motqr::com {

struct VARIANT {
  VARTYPE vt;
  std::uint16_t wReserved1;
  std::uint16_t wReserved2;
  std::uint16_t wReserved3;
  union {
    std::int8_t cVal;
    std::uint8_t bVal;
    std::int16_t iVal;
    std::uint16_t uiVal;
    std::int32_t lVal;
    std::uint32_t ulVal;
    std::int64_t llVal;
    std::uint64_t ullVal;
    float fltVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    HRESULT scode;
    BSTR bstrVal;
    IUnknown* punkVal;
    SAFEARRAY* parray;
    void* byref;
  };
};

MOTQR_EXPORT void VariantInit(VARIANT* v);
// Frees what the variant owns (string, array, reference) and sets it to VT_EMPTY.
MOTQR_EXPORT HRESULT VariantClear(VARIANT* v);
// Deep copy: strings and arrays are duplicated, references added.
MOTQR_EXPORT HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// Converts between the scalar types and text. Text is read and written without
// regard to the process locale. Out-of-range numbers give DISP_E_OVERFLOW,
// unparsable text DISP_E_TYPEMISMATCH.
MOTQR_EXPORT HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, std::uint16_t flags,
                                       VARTYPE vt);

// Owns one VARIANT.
class Variant {
 public:
  Variant() { VariantInit(&v_); }
  Variant(const Variant& other) : Variant() { VariantCopy(&v_, &other.v_); }
  Variant& operator=(const Variant& other) {
    if (this != &other) VariantCopy(&v_, &other.v_);
    return *this;
  }
  ~Variant() { VariantClear(&v_); }

  static Variant Int32(std::int32_t x) {
    Variant r;
    r.v_.vt = VT_I4;
    r.v_.lVal = x;
    return r;
  }
  static Variant Double(double x) {
    Variant r;
    r.v_.vt = VT_R8;
    r.v_.dblVal = x;
    return r;
  }
  static Variant Bool(bool x) {
    Variant r;
    r.v_.vt = VT_BOOL;
    r.v_.boolVal = x ? VARIANT_TRUE : VARIANT_FALSE;
    return r;
  }
  static Variant Text(std::string_view utf8) {
    Variant r;
    r.v_.vt = VT_BSTR;
    r.v_.bstrVal = AllocBstrFromUtf8(utf8);
    return r;
  }

  VARIANT* Get() { return &v_; }
  const VARIANT* Get() const { return &v_; }
  VARTYPE vt() const { return v_.vt; }
  // The value as UTF-8 text (empty when it cannot be converted).
  MOTQR_EXPORT std::string ToText() const;

 private:
  VARIANT v_;
};

}  // namespace motqr::com
