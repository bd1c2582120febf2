// Building blocks for component objects: a thread-safe reference count, the
// module's live-object count (for DllCanUnloadNow) and an interface table for
// QueryInterface.
//
//   class Widget final : public ComObject<Widget, IWidget, IOther> {
//    public:
//     HRESULT QueryInterface(const IID& iid, void** object) override {
//       return QueryInterfaceTable(this, iid, object,
//           {Entry<IWidget>(), Entry<IOther>(), Entry<IUnknown, IWidget>()});
//     }
//   };
//   ComPtr<IWidget> w = MakeObject<Widget>();
#pragma once

#include <atomic>
#include <initializer_list>
#include <new>

#include "platform/com/com_ptr.h"
#include "platform/com/unknown.h"

namespace motqr::com {

// Number of live objects and class-factory locks of this module.
class ModuleLock {
 public:
  static void Increment();
  static void Decrement();
  static long Count();
};

template <class Derived, class... Interfaces>
class ComObject : public Interfaces... {
 public:
  ComObject() { ModuleLock::Increment(); }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;
  virtual ~ComObject() { ModuleLock::Decrement(); }

  ULONG AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
  ULONG Release() override {
    const ULONG left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete static_cast<Derived*>(this);
    return left;
  }

 protected:
  // One row of an interface table: the id of `Interface` and how to reach it
  // from the object, through `Via` when the object holds `Interface` more than once.
  struct TableEntry {
    const IID* iid;
    IUnknown* (*cast)(Derived*);
  };
  template <class Interface, class Via = Interface>
  static constexpr TableEntry Entry() {
    return {&IidOf<Interface>(), [](Derived* self) -> IUnknown* {
              return static_cast<Interface*>(static_cast<Via*>(self));
            }};
  }
  static HRESULT QueryInterfaceTable(Derived* self, const IID& iid, void** object,
                                     std::initializer_list<TableEntry> table) {
    if (!object) return E_POINTER;
    for (const TableEntry& e : table) {
      if (*e.iid == iid) {
        IUnknown* p = e.cast(self);
        p->AddRef();
        *object = p;
        return S_OK;
      }
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }

 private:
  std::atomic<ULONG> refs_{1};
};

// Creates an object with its first reference owned by the returned pointer.
template <class T, class Interface = T, class... Args>
ComPtr<Interface> MakeObject(Args&&... args) {
  T* p = new (std::nothrow) T(static_cast<Args&&>(args)...);
  return ComPtr<Interface>::Attach(p);
}

}  // namespace motqr::com
