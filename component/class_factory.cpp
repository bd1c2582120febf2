// The module's class-factory entry points and the convenience creator.
#include <mutex>

#include "component/morvane_tqr.h"
#include "component/output_channel.h"
#include "platform/com/class_registry.h"
#include "platform/com/object.h"

namespace motqr {
namespace {

// Registers the module's classes in the process's class registry once, so that
// CoCreateInstance finds them too.
void RegisterClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    com::ComPtr<com::IClassFactory> driver = com::MakeClassFactory(&MorvaneTqr::CreateInstance);
    if (driver) com::RegisterClassObject(CLSID_MorvaneTqr, driver.Get());
    com::ComPtr<com::IClassFactory> channel =
        com::MakeClassFactory(&MorvaneTqrOutputChannel::CreateInstance);
    if (channel) com::RegisterClassObject(CLSID_MorvaneTqrOutputChannel, channel.Get());
  });
}

}  // namespace

HRESULT CreateMorvaneTqr(IIviDriver** driver) {
  if (!driver) return com::E_POINTER;
  return MorvaneTqr::CreateInstance(nullptr, IIviDriver::kIid, reinterpret_cast<void**>(driver));
}

HRESULT GetConfigurationStoreWarning(com::IUnknown* driver, BSTR* warning) {
  if (!warning) return com::E_POINTER;
  *warning = nullptr;
  if (!driver) return com::E_POINTER;
  // Only the driver class implements IMorvaneTqr.
  com::ComPtr<IMorvaneTqr> tqr;
  if (HRESULT hr = driver->QueryInterface(IMorvaneTqr::kIid, tqr.PutVoid()); com::Failed(hr)) {
    return hr;
  }
  auto* object = static_cast<MorvaneTqr*>(tqr.Get());
  std::lock_guard<std::recursive_mutex> hold(*object->session_lock());
  const std::string& text = object->configuration_store_warning();
  if (text.empty()) return com::S_OK;
  *warning = com::AllocBstrFromUtf8(text);
  return *warning ? com::S_OK : com::E_OUTOFMEMORY;
}

}  // namespace motqr

extern "C" motqr::com::HRESULT DllGetClassObject(const motqr::com::CLSID& clsid,
                                                 const motqr::com::IID& iid, void** object) {
  motqr::RegisterClasses();
  return motqr::com::CoGetClassObject(clsid, motqr::com::CLSCTX_INPROC_SERVER, iid, object);
}

extern "C" motqr::com::HRESULT DllCanUnloadNow() {
  return motqr::com::ModuleLock::Count() == 0 ? motqr::com::S_OK : motqr::com::S_FALSE;
}
