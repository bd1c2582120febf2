#include "platform/com/safearray.h"

#include <cstdlib>
#include <limits>

#include "platform/com/unknown.h"
#include "platform/com/variant.h"

namespace motqr::com {
namespace {

constexpr std::uint16_t kFeatureBstr = 0x0100;
constexpr std::uint16_t kFeatureUnknown = 0x0200;
constexpr std::uint16_t kFeatureVariant = 0x0800;

std::size_t HeaderSize(std::uint32_t dims) {
  return offsetof(SAFEARRAY, rgsabound) + sizeof(SAFEARRAYBOUND) * (dims ? dims : 1);
}

// Calls `release` on every element of `a`, taken as T.
template <class T, class F>
void ReleaseEach(SAFEARRAY* a, F release) {
  T* elements = static_cast<T*>(a->pvData);
  for (std::size_t i = 0, n = SafeArrayElementCount(a); i < n; ++i) release(elements[i]);
}

// Releases what the elements own, leaving the storage in place.
void ClearElements(SAFEARRAY* a) {
  switch (a->vt) {
    case VT_BSTR:
      ReleaseEach<BSTR>(a, [](BSTR s) { SysFreeString(s); });
      break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
      ReleaseEach<IUnknown*>(a, [](IUnknown* p) {
        if (p) p->Release();
      });
      break;
    case VT_VARIANT:
      ReleaseEach<VARIANT>(a, [](VARIANT& v) { VariantClear(&v); });
      break;
    default:
      break;  // numbers and bytes own nothing: no element walk
  }
}

// Offset of the element at `indices`, or false when an index is out of bounds.
bool ElementOffset(const SAFEARRAY* a, const std::int32_t* indices, std::size_t* offset) {
  std::size_t flat = 0;
  std::size_t stride = 1;
  for (std::uint32_t d = 0; d < a->cDims; ++d) {
    const auto& b = a->rgsabound[d];
    const std::int64_t rel = std::int64_t{indices[d]} - b.lLbound;
    if (rel < 0 || rel >= std::int64_t{b.cElements}) return false;
    flat += static_cast<std::size_t>(rel) * stride;
    stride *= b.cElements;
  }
  *offset = flat * a->cbElements;
  return true;
}

}  // namespace

std::uint32_t SafeArrayElementSize(VARTYPE vt) {
  switch (vt) {
    case VT_I1:
    case VT_UI1:
      return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
      return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
      return 4;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
      return 8;
    case VT_BSTR:
    case VT_UNKNOWN:
    case VT_DISPATCH:
      return sizeof(void*);
    case VT_VARIANT:
      return sizeof(VARIANT);
    default:
      return 0;
  }
}

std::size_t SafeArrayElementCount(const SAFEARRAY* a) {
  if (!a) return 0;
  std::size_t n = a->cDims ? 1 : 0;
  for (std::uint32_t d = 0; d < a->cDims; ++d) n *= a->rgsabound[d].cElements;
  return n;
}

SAFEARRAY* SafeArrayCreate(VARTYPE vt, std::uint32_t dims, const SAFEARRAYBOUND* bounds) {
  const std::uint32_t elem = SafeArrayElementSize(vt);
  if (elem == 0 || dims == 0 || dims > 64 || !bounds) return nullptr;
  std::size_t count = 1;
  for (std::uint32_t d = 0; d < dims; ++d) {
    if (bounds[d].cElements &&
        count > std::numeric_limits<std::size_t>::max() / bounds[d].cElements)
      return nullptr;
    count *= bounds[d].cElements;
  }
  if (count > std::numeric_limits<std::size_t>::max() / elem) return nullptr;
  auto* a = static_cast<SAFEARRAY*>(std::calloc(1, HeaderSize(dims)));
  if (!a) return nullptr;
  a->cDims = static_cast<std::uint16_t>(dims);
  a->cbElements = elem;
  a->vt = vt;
  a->fFeatures = vt == VT_BSTR                             ? kFeatureBstr
                 : vt == VT_VARIANT                        ? kFeatureVariant
                 : (vt == VT_UNKNOWN || vt == VT_DISPATCH) ? kFeatureUnknown
                                                           : 0;
  for (std::uint32_t d = 0; d < dims; ++d) a->rgsabound[d] = bounds[d];
  // Zero-filled storage: null strings, empty variants, null references.
  a->pvData = std::calloc(count ? count : 1, elem);
  if (!a->pvData) {
    std::free(a);
    return nullptr;
  }
  return a;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, std::int32_t lower_bound, std::uint32_t count) {
  const SAFEARRAYBOUND b{count, lower_bound};
  return SafeArrayCreate(vt, 1, &b);
}

HRESULT SafeArrayDestroy(SAFEARRAY* a) {
  if (!a) return S_OK;
  if (a->cLocks) return DISP_E_ARRAYISLOCKED;
  ClearElements(a);
  std::free(a->pvData);
  std::free(a);
  return S_OK;
}

HRESULT SafeArrayCopy(const SAFEARRAY* a, SAFEARRAY** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!a) return S_OK;
  SafeArray copy = SafeArray::Attach(SafeArrayCreate(a->vt, a->cDims, a->rgsabound));
  if (!copy) return E_OUTOFMEMORY;
  const std::size_t n = SafeArrayElementCount(a);
  switch (a->vt) {
    case VT_BSTR:
      for (std::size_t i = 0; i < n; ++i) {
        BSTR s = static_cast<BSTR*>(a->pvData)[i];
        if (!s) continue;
        BSTR c = SysAllocStringLen(s, SysStringLen(s));
        if (!c) return E_OUTOFMEMORY;
        static_cast<BSTR*>(copy.Get()->pvData)[i] = c;
      }
      break;
    case VT_VARIANT:
      for (std::size_t i = 0; i < n; ++i) {
        const HRESULT hr = VariantCopy(&static_cast<VARIANT*>(copy.Get()->pvData)[i],
                                       &static_cast<const VARIANT*>(a->pvData)[i]);
        if (Failed(hr)) return hr;
      }
      break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
      for (std::size_t i = 0; i < n; ++i) {
        IUnknown* p = static_cast<IUnknown**>(a->pvData)[i];
        if (p) p->AddRef();
        static_cast<IUnknown**>(copy.Get()->pvData)[i] = p;
      }
      break;
    default:
      if (n) std::memcpy(copy.Get()->pvData, a->pvData, n * a->cbElements);
      break;
  }
  *out = copy.Detach();
  return S_OK;
}

std::uint32_t SafeArrayGetDim(const SAFEARRAY* a) { return a ? a->cDims : 0; }
std::uint32_t SafeArrayGetElemsize(const SAFEARRAY* a) { return a ? a->cbElements : 0; }

HRESULT SafeArrayGetVartype(const SAFEARRAY* a, VARTYPE* vt) {
  if (!a || !vt) return E_INVALIDARG;
  *vt = a->vt;
  return S_OK;
}

HRESULT SafeArrayGetLBound(const SAFEARRAY* a, std::uint32_t dim, std::int32_t* lower) {
  if (!a || !lower) return E_INVALIDARG;
  if (dim < 1 || dim > a->cDims) return DISP_E_BADINDEX;
  *lower = a->rgsabound[dim - 1].lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(const SAFEARRAY* a, std::uint32_t dim, std::int32_t* upper) {
  if (!a || !upper) return E_INVALIDARG;
  if (dim < 1 || dim > a->cDims) return DISP_E_BADINDEX;
  const auto& b = a->rgsabound[dim - 1];
  *upper = static_cast<std::int32_t>(std::int64_t{b.lLbound} + std::int64_t{b.cElements} - 1);
  return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* a, void** data) {
  if (!a || !data) return E_INVALIDARG;
  ++a->cLocks;
  *data = a->pvData;
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* a) {
  if (!a) return E_INVALIDARG;
  if (a->cLocks == 0) return E_UNEXPECTED;
  --a->cLocks;
  return S_OK;
}

HRESULT SafeArrayGetElement(const SAFEARRAY* a, const std::int32_t* indices, void* value) {
  if (!a || !indices || !value) return E_INVALIDARG;
  std::size_t off;
  if (!ElementOffset(a, indices, &off)) return DISP_E_BADINDEX;
  const auto* src = static_cast<const unsigned char*>(a->pvData) + off;
  switch (a->vt) {
    case VT_BSTR: {
      BSTR s = *reinterpret_cast<const BSTR*>(src);
      BSTR c = s ? SysAllocStringLen(s, SysStringLen(s)) : nullptr;
      if (s && !c) return E_OUTOFMEMORY;
      *static_cast<BSTR*>(value) = c;
      return S_OK;
    }
    case VT_VARIANT:
      VariantInit(static_cast<VARIANT*>(value));
      return VariantCopy(static_cast<VARIANT*>(value), reinterpret_cast<const VARIANT*>(src));
    case VT_UNKNOWN:
    case VT_DISPATCH: {
      IUnknown* p = *reinterpret_cast<IUnknown* const*>(src);
      if (p) p->AddRef();
      *static_cast<IUnknown**>(value) = p;
      return S_OK;
    }
    default:
      std::memcpy(value, src, a->cbElements);
      return S_OK;
  }
}

HRESULT SafeArrayPutElement(SAFEARRAY* a, const std::int32_t* indices, const void* value) {
  if (!a || !indices) return E_INVALIDARG;
  std::size_t off;
  if (!ElementOffset(a, indices, &off)) return DISP_E_BADINDEX;
  auto* dst = static_cast<unsigned char*>(a->pvData) + off;
  switch (a->vt) {
    case VT_BSTR: {
      const auto s = static_cast<const char16_t*>(value);  // the BSTR itself
      BSTR c = s ? SysAllocStringLen(s, SysStringLen(const_cast<BSTR>(s))) : nullptr;
      if (s && !c) return E_OUTOFMEMORY;
      SysFreeString(*reinterpret_cast<BSTR*>(dst));
      *reinterpret_cast<BSTR*>(dst) = c;
      return S_OK;
    }
    case VT_VARIANT:
      if (!value) return E_INVALIDARG;
      return VariantCopy(reinterpret_cast<VARIANT*>(dst), static_cast<const VARIANT*>(value));
    case VT_UNKNOWN:
    case VT_DISPATCH: {
      auto* p = const_cast<IUnknown*>(static_cast<const IUnknown*>(value));
      if (p) p->AddRef();
      if (IUnknown* old = *reinterpret_cast<IUnknown**>(dst)) old->Release();
      *reinterpret_cast<IUnknown**>(dst) = p;
      return S_OK;
    }
    default:
      if (!value) return E_INVALIDARG;
      std::memcpy(dst, value, a->cbElements);
      return S_OK;
  }
}

}  // namespace motqr::com
