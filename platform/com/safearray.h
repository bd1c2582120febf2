// Typed arrays with bounds, as the component interfaces pass them.
//
// Dimensions are stored first to last (rgsabound[0] is the first dimension);
// elements are laid out with the first index varying fastest. Element storage
// follows the element type: BSTR elements are owned copies, VARIANT elements are
// cleared and IUnknown elements released when the array is destroyed.
//
//   SafeArray a = SafeArray::CreateVector(VT_R8, 3);
//   a.Data<double>()[0] = 1.5;          // direct access to the elements
//   SAFEARRAY* out = a.Detach();         // hand it to a caller
#pragma once

#include <cstddef>
#include <span>
#include <utility>

#include "platform/com/bstr.h"
#include "platform/com/types.h"

namespace motqr::com {

struct SAFEARRAYBOUND {
  std::uint32_t cElements;
  std::int32_t lLbound;
};

struct SAFEARRAY {
  std::uint16_t cDims;
  std::uint16_t fFeatures;
  std::uint32_t cbElements;
  std::uint32_t cLocks;
  void* pvData;
  VARTYPE vt;
  SAFEARRAYBOUND rgsabound[1];  // cDims entries
};

// Size in bytes of one element of type `vt`; 0 for types an array cannot hold.
MOTQR_EXPORT std::uint32_t SafeArrayElementSize(VARTYPE vt);

MOTQR_EXPORT SAFEARRAY* SafeArrayCreate(VARTYPE vt, std::uint32_t dims,
                                        const SAFEARRAYBOUND* bounds);
MOTQR_EXPORT SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, std::int32_t lower_bound,
                                              std::uint32_t count);
MOTQR_EXPORT HRESULT SafeArrayDestroy(SAFEARRAY* array);
MOTQR_EXPORT HRESULT SafeArrayCopy(const SAFEARRAY* array, SAFEARRAY** out);
MOTQR_EXPORT std::uint32_t SafeArrayGetDim(const SAFEARRAY* array);
MOTQR_EXPORT std::uint32_t SafeArrayGetElemsize(const SAFEARRAY* array);
MOTQR_EXPORT HRESULT SafeArrayGetVartype(const SAFEARRAY* array, VARTYPE* vt);
// `dim` counts from 1, as in the component runtime.
MOTQR_EXPORT HRESULT SafeArrayGetLBound(const SAFEARRAY* array, std::uint32_t dim,
                                        std::int32_t* lower);
MOTQR_EXPORT HRESULT SafeArrayGetUBound(const SAFEARRAY* array, std::uint32_t dim,
                                        std::int32_t* upper);
MOTQR_EXPORT HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
MOTQR_EXPORT HRESULT SafeArrayUnaccessData(SAFEARRAY* array);
// Element access by one index per dimension; BSTR, VARIANT and IUnknown
// elements are copied (the caller owns what GetElement returns).
MOTQR_EXPORT HRESULT SafeArrayGetElement(const SAFEARRAY* array, const std::int32_t* indices,
                                         void* value);
MOTQR_EXPORT HRESULT SafeArrayPutElement(SAFEARRAY* array, const std::int32_t* indices,
                                         const void* value);

// Total number of elements (product of the dimension sizes).
MOTQR_EXPORT std::size_t SafeArrayElementCount(const SAFEARRAY* array);

// Owns one SAFEARRAY (or null).
class SafeArray {
 public:
  SafeArray() = default;
  static SafeArray CreateVector(VARTYPE vt, std::uint32_t count, std::int32_t lower_bound = 0) {
    return Attach(SafeArrayCreateVector(vt, lower_bound, count));
  }
  static SafeArray Attach(SAFEARRAY* a) {
    SafeArray r;
    r.a_ = a;
    return r;
  }
  SafeArray(SafeArray&& other) noexcept : a_(std::exchange(other.a_, nullptr)) {}
  SafeArray& operator=(SafeArray&& other) noexcept {
    SafeArray(std::move(other)).Swap(*this);
    return *this;
  }
  SafeArray(const SafeArray&) = delete;
  SafeArray& operator=(const SafeArray&) = delete;
  ~SafeArray() { Reset(); }

  void Reset() {
    if (SAFEARRAY* a = std::exchange(a_, nullptr)) SafeArrayDestroy(a);
  }
  void Swap(SafeArray& other) noexcept { std::swap(a_, other.a_); }
  SAFEARRAY* Get() const { return a_; }
  SAFEARRAY* Detach() { return std::exchange(a_, nullptr); }
  SAFEARRAY** Put() {
    Reset();
    return &a_;
  }
  explicit operator bool() const { return a_ != nullptr; }
  std::size_t size() const { return SafeArrayElementCount(a_); }
  VARTYPE vt() const { return a_ ? a_->vt : VARTYPE{VT_EMPTY}; }

  // The elements as a span of T (T must match the element size).
  template <class T>
  std::span<T> Data() const {
    if (!a_ || a_->cbElements != sizeof(T)) return {};
    return {static_cast<T*>(a_->pvData), size()};
  }

 private:
  SAFEARRAY* a_ = nullptr;
};

}  // namespace motqr::com
