#include "platform/visa/resource_manager.h"

#include "platform/com/class_registry.h"
#include "platform/com/object.h"
#include "platform/visa/formatted_io.h"
#include "platform/visa/resource_name.h"
#include "platform/visa/visa_com_status.h"
#include "platform/visa/visa_session.h"

namespace motqr::visa {
namespace {

class ResourceManager final
    : public com::ComObject<ResourceManager, IResourceManager, com::ISupportErrorInfo> {
 public:
  HRESULT QueryInterface(const IID& iid, void** object) override {
    return QueryInterfaceTable(this, iid, object,
                               {Entry<com::IUnknown, IResourceManager>(), Entry<IResourceManager>(),
                                Entry<com::ISupportErrorInfo>()});
  }
  HRESULT InterfaceSupportsErrorInfo(const IID& iid) override {
    return iid == IResourceManager::kIid ? com::S_OK : com::S_FALSE;
  }

  HRESULT get_ComponentVersion(std::int32_t* version) override {
    if (version == nullptr) return com::E_POINTER;
    *version = 0x00100000;
    return com::S_OK;
  }
  HRESULT get_ProgID(BSTR* prog_id) override { return Text(prog_id, "VISA.GlobalRM"); }
  HRESULT get_SoftwareManufacturerID(std::int16_t* id) override {
    if (id == nullptr) return com::E_POINTER;
    *id = 0;
    return com::S_OK;
  }
  HRESULT get_SoftwareManufacturerName(BSTR* name) override { return Text(name, "motqr"); }
  HRESULT FindRsrc(BSTR, SAFEARRAY** find_list) override {
    if (find_list != nullptr) *find_list = nullptr;
    return ReportStatus(
        Status(VI_ERROR_NSUP_OPER, "Finding resources is not supported: give the resource name."),
        IResourceManager::kIid);
  }
  HRESULT Open(BSTR resource_name, AccessMode mode, std::int32_t open_timeout, BSTR option_string,
               IVisaSession** session) override {
    return OpenVisaSession(com::BstrToUtf8(resource_name), mode, open_timeout,
                           com::BstrToUtf8(option_string), session);
  }
  HRESULT ParseRsrc(BSTR resource_name, std::int16_t* interface_type,
                    std::int16_t* interface_number, BSTR* session_type) override {
    return ParseRsrcEx(resource_name, interface_type, interface_number, session_type, nullptr,
                       nullptr);
  }
  HRESULT ParseRsrcEx(BSTR resource_name, std::int16_t* interface_type,
                      std::int16_t* interface_number, BSTR* session_type,
                      BSTR* unaliased_expanded_name, BSTR* alias_if_exists) override;

 private:
  static HRESULT Text(BSTR* out, std::string_view text) {
    if (out == nullptr) return com::E_POINTER;
    *out = com::AllocBstrFromUtf8(text);
    return *out != nullptr ? com::S_OK : com::E_OUTOFMEMORY;
  }
};

HRESULT ResourceManager::ParseRsrcEx(BSTR resource_name, std::int16_t* interface_type,
                                     std::int16_t* interface_number, BSTR* session_type,
                                     BSTR* unaliased_expanded_name, BSTR* alias_if_exists) {
  if (interface_type == nullptr || interface_number == nullptr || session_type == nullptr) {
    return com::E_POINTER;
  }
  ResourceName name;
  Status status = ParseResourceName(com::BstrToUtf8(resource_name), &name);
  if (!status.ok()) return ReportStatus(status, IResourceManager::kIid);
  *interface_type = static_cast<std::int16_t>(name.interface_type);
  *interface_number = static_cast<std::int16_t>(name.board);
  HRESULT hr = Text(session_type, ResourceClassName(name.resource_class));
  if (com::Succeeded(hr) && unaliased_expanded_name != nullptr) {
    hr = Text(unaliased_expanded_name, name.text);
  }
  // Resource names have no aliases here.
  if (com::Succeeded(hr) && alias_if_exists != nullptr) hr = Text(alias_if_exists, "");
  return hr;
}

template <class Object, class Interface>
HRESULT CreateObject(com::IUnknown* outer, const IID& iid, void** object) {
  if (object == nullptr) return com::E_POINTER;
  *object = nullptr;
  if (outer != nullptr) return com::CLASS_E_NOAGGREGATION;
  com::ComPtr<Interface> created = com::MakeObject<Object, Interface>();
  if (!created) return com::E_OUTOFMEMORY;
  return created->QueryInterface(iid, object);
}

}  // namespace

HRESULT CreateResourceManager(com::IUnknown* outer, const IID& iid, void** object) {
  return CreateObject<ResourceManager, IResourceManager>(outer, iid, object);
}

HRESULT RegisterResourceManagerClass(const com::CLSID& clsid) {
  com::ComPtr<com::IClassFactory> factory = com::MakeClassFactory(&CreateResourceManager);
  if (!factory) return com::E_OUTOFMEMORY;
  return com::RegisterClassObject(clsid, factory.Get());
}

HRESULT RegisterVisaComClasses() {
  HRESULT hr = RegisterResourceManagerClass(kClsidResourceManager);
  if (com::Succeeded(hr)) hr = RegisterResourceManagerClass(kClsidResourceManagerAlternate);
  if (com::Failed(hr)) return hr;
  com::ComPtr<com::IClassFactory> formatted = com::MakeClassFactory(&CreateFormattedIO488);
  if (!formatted) return com::E_OUTOFMEMORY;
  return com::RegisterClassObject(kClsidFormattedIO488, formatted.Get());
}

void RevokeVisaComClasses() {
  com::RevokeClassObject(kClsidResourceManager);
  com::RevokeClassObject(kClsidResourceManagerAlternate);
  com::RevokeClassObject(kClsidFormattedIO488);
}

}  // namespace motqr::visa
