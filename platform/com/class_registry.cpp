#include "platform/com/class_registry.h"

#include <mutex>
#include <vector>

#include "platform/com/object.h"

namespace motqr::com {
namespace {

class ClassFactory final : public ComObject<ClassFactory, IClassFactory> {
 public:
  // Class objects do not keep the module loaded by themselves; only LockServer
  // and the objects they create do.
  explicit ClassFactory(CreateInstanceFunction create) : create_(create) {
    ModuleLock::Decrement();
  }
  ~ClassFactory() override { ModuleLock::Increment(); }
  HRESULT QueryInterface(const IID& iid, void** object) override {
    return QueryInterfaceTable(this, iid, object,
                               {Entry<IClassFactory>(), Entry<IUnknown, IClassFactory>()});
  }
  HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    return create_(outer, iid, object);
  }
  HRESULT LockServer(bool lock) override {
    lock ? ModuleLock::Increment() : ModuleLock::Decrement();
    return S_OK;
  }

 private:
  CreateInstanceFunction create_;
};

struct Registration {
  CLSID clsid;
  ComPtr<IClassFactory> factory;
};

struct Registry {
  std::mutex mutex;
  std::vector<Registration> classes;  // a handful of classes: a vector is enough
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;  // lives until the module unloads
  return *registry;
}

}  // namespace

ComPtr<IClassFactory> MakeClassFactory(CreateInstanceFunction create) {
  return MakeObject<ClassFactory, IClassFactory>(create);
}

HRESULT RegisterClassObject(const CLSID& clsid, IClassFactory* factory) {
  if (!factory) return E_POINTER;
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  for (Registration& reg : r.classes) {
    if (reg.clsid == clsid) {
      reg.factory = ComPtr<IClassFactory>(factory);
      return S_OK;
    }
  }
  r.classes.push_back({clsid, ComPtr<IClassFactory>(factory)});
  return S_OK;
}

HRESULT RevokeClassObject(const CLSID& clsid) {
  ComPtr<IClassFactory> released;  // released outside the lock
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  for (auto it = r.classes.begin(); it != r.classes.end(); ++it) {
    if (it->clsid == clsid) {
      released = std::move(it->factory);
      r.classes.erase(it);
      return S_OK;
    }
  }
  return CO_E_OBJNOTREG;
}

HRESULT CoGetClassObject(const CLSID& clsid, std::uint32_t, const IID& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  ComPtr<IClassFactory> factory;
  {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    for (const Registration& reg : r.classes) {
      if (reg.clsid == clsid) factory = reg.factory;
    }
  }
  if (!factory) return REGDB_E_CLASSNOTREG;
  return factory->QueryInterface(iid, object);
}

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, std::uint32_t context, const IID& iid,
                         void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  ComPtr<IClassFactory> factory;
  if (HRESULT hr = CoGetClassObject(clsid, context, IidOf<IClassFactory>(), factory.PutVoid());
      Failed(hr))
    return hr;
  return factory->CreateInstance(outer, iid, object);
}

}  // namespace motqr::com
