// The base interface of every component object, and the smallest interfaces the
// runtime itself defines (error support, class factories).
#pragma once

#include "platform/com/types.h"

namespace motqr::com {

// Interfaces are abstract classes whose member order is their binary layout;
// they have no destructor slot, so objects are only ever released, never deleted
// through an interface pointer.
class IUnknown {
 public:
  static constexpr IID kIid{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};

class ISupportErrorInfo : public IUnknown {
 public:
  static constexpr IID kIid{
      0xDF0B3D60, 0x548F, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
  virtual HRESULT InterfaceSupportsErrorInfo(const IID& iid) = 0;

 protected:
  ~ISupportErrorInfo() = default;
};

class IClassFactory : public IUnknown {
 public:
  static constexpr IID kIid{0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) = 0;
  virtual HRESULT LockServer(bool lock) = 0;

 protected:
  ~IClassFactory() = default;
};

// The interface id of an interface type: its kIid member.
template <class T>
constexpr const IID& IidOf() {
  return T::kIid;
}

}  // namespace motqr::com
