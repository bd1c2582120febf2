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

}  // namespace motqr

extern "C" motqr::com::HRESULT DllGetClassObject(const motqr::com::CLSID& clsid,
                                                 const motqr::com::IID& iid, void** object) {
  motqr::RegisterClasses();
  return motqr::com::CoGetClassObject(clsid, motqr::com::CLSCTX_INPROC_SERVER, iid, object);
}

extern "C" motqr::com::HRESULT DllCanUnloadNow() {
  return motqr::com::ModuleLock::Count() == 0 ? motqr::com::S_OK : motqr::com::S_FALSE;
}
