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

// A ComObject that an outer object can aggregate. Every interface's IUnknown
// members go to the controlling unknown: the object's own (non-delegating)
// inner unknown, or the outer object's once AggregateInto has made it the
// controller. The inner unknown keeps the reference count and answers
// QueryInterface from Derived::InnerQueryInterface (the interface table),
// and IUnknown with itself while aggregated, so that the outer object holds
// the inner one through it.
//
//   class Driver final : public AggregatableObject<Driver, IDriver> {
//    public:
//     HRESULT InnerQueryInterface(const IID& iid, void** object) {
//       return QueryInterfaceTable(this, iid, object, {Entry<IDriver>(), Entry<IUnknown,
//       IDriver>()});
//     }
//   };
//   // Creating for an outer object: ask only for IUnknown and hand out the inner unknown.
//   driver->AggregateInto(outer);  *object = driver->inner_unknown();
template <class Derived, class... Interfaces>
class AggregatableObject : public ComObject<Derived, Interfaces...> {
  using Base = ComObject<Derived, Interfaces...>;

 public:
  HRESULT QueryInterface(const IID& iid, void** object) final {
    return controlling_->QueryInterface(iid, object);
  }
  ULONG AddRef() final { return controlling_->AddRef(); }
  ULONG Release() final { return controlling_->Release(); }

  // The non-delegating IUnknown (the outer object's one reference to this object).
  IUnknown* inner_unknown() { return &inner_; }
  bool aggregated() const { return controlling_ != &inner_; }
  // Makes `outer` the controlling unknown; called once, before the object is
  // handed out. The outer object is not referenced: it owns this one.
  void AggregateInto(IUnknown* outer) { controlling_ = outer ? outer : &inner_; }

 private:
  class InnerUnknown final : public IUnknown {
   public:
    explicit InnerUnknown(AggregatableObject* self) : self_(self) {}
    HRESULT QueryInterface(const IID& iid, void** object) override {
      if (object && iid == IUnknown::kIid && self_->aggregated()) {
        AddRef();
        *object = this;
        return S_OK;
      }
      return static_cast<Derived*>(self_)->InnerQueryInterface(iid, object);
    }
    ULONG AddRef() override { return self_->Base::AddRef(); }
    ULONG Release() override { return self_->Base::Release(); }

   private:
    AggregatableObject* self_;
  };

  InnerUnknown inner_{this};
  IUnknown* controlling_ = &inner_;
};

// Creates an object with its first reference owned by the returned pointer.
template <class T, class Interface = T, class... Args>
ComPtr<Interface> MakeObject(Args&&... args) {
  T* p = new (std::nothrow) T(static_cast<Args&&>(args)...);
  return ComPtr<Interface>::Attach(p);
}

}  // namespace motqr::com
