#include "io/session/visa_com_session.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <string>

#include "errors/status_codes.h"
#include "platform/com/class_registry.h"
#include "platform/com/error_info.h"
#include "platform/com/variant.h"
#include "platform/visa/variant_number.h"
#include "platform/visa/visa_com_status.h"
#include "platform/visa/visa_types.h"

namespace motqr::io {
namespace {

using com::Failed;
using com::S_OK;
using com::Succeeded;

IoInterfaceType FromVisaInterfaceType(std::int16_t type) {
  switch (type) {
    case visa::INTF_GPIB:
      return IoInterfaceType::kGpib;
    case visa::INTF_VXI:
      return IoInterfaceType::kVxi;
    case visa::INTF_GPIB_VXI:
      return IoInterfaceType::kGpibVxi;
    case visa::INTF_ASRL:
      return IoInterfaceType::kSerial;
    case visa::INTF_PXI:
      return IoInterfaceType::kPxi;
    case visa::INTF_TCPIP:
      return IoInterfaceType::kTcpip;
    case visa::INTF_USB:
      return IoInterfaceType::kUsb;
    default:
      return IoInterfaceType::kOther;
  }
}

bool ContainsSocketSuffix(std::string_view name) {
  std::string upper(name);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return upper.find("::SOCKET") != std::string::npos;
}

template <class T>
HRESULT HandOut(const com::ComPtr<T>& object, T** out) {
  if (!out) return com::E_POINTER;
  return object.CopyTo(out);
}

}  // namespace

CVisaComSession::~CVisaComSession() { Close(); }

// ---------------------------------------------------------------- failures

HRESULT CVisaComSession::VisaFailure(HRESULT hr, std::string_view extra) {
  // Whatever the failed call left on the line is not read as the next reply.
  MarkUnsettled(true);
  if (!reporter()) return hr;
  return hr == visa::E_VISA_TMO ? reporter()->IoTimeout(extra) : reporter()->IoError(extra);
}

HRESULT CVisaComSession::IoFailure(std::string_view text) {
  if (!reporter()) return errors::E_MORVANETQR_IO_GENERAL;
  return reporter()->IoError(text);
}

HRESULT CVisaComSession::ThenPoll(HRESULT hr) { return Failed(hr) ? hr : PollStatus(); }

// ---------------------------------------------------------------- Open and Close

HRESULT CVisaComSession::Open(std::string_view resource_name, IInstrErrorPoller* poller,
                              errors::IErrorReporter* reporter, IEnumFormatter* enums) {
  Close();  // a session still open, or whatever a failed Open left behind
  if (HRESULT hr = AttachBuffer(poller, reporter, enums); Failed(hr)) return hr;
  com::ComPtr<visa::IResourceManager> manager;
  if (HRESULT hr = CreateResourceManager(&manager); Failed(hr)) return hr;
  if (HRESULT hr = OpenResource(manager.Get(), resource_name); Failed(hr)) return hr;
  if (HRESULT hr = FindMessageInterfaces(); Failed(hr)) return hr;
  if (HRESULT hr = CreateFormattedIo(); Failed(hr)) return hr;
  manager.Reset();
  if (HRESULT hr = ConfigureByInterfaceType(); Failed(hr)) return hr;
  SetOpen(true);
  return S_OK;
}

HRESULT CVisaComSession::CreateResourceManager(com::ComPtr<visa::IResourceManager>* manager) {
  HRESULT hr = com::CoCreateInstance(visa::kClsidResourceManager, nullptr, com::CLSCTX_ALL,
                                     visa::IResourceManager::kIid, manager->PutVoid());
  if (Failed(hr)) {
    hr = com::CoCreateInstance(visa::kClsidResourceManagerAlternate, nullptr, com::CLSCTX_ALL,
                               visa::IResourceManager::kIid, manager->PutVoid());
  }
  if (Succeeded(hr)) return hr;
  return IoFailure(
      "Could not create instance of VISA-COM Global Resource Manager Component. Make sure it is "
      "installed properly.");
}

HRESULT CVisaComSession::OpenResource(visa::IResourceManager* manager,
                                      std::string_view resource_name) {
  com::Bstr name = com::Bstr::FromUtf8(resource_name);
  com::Bstr options = com::Bstr::FromUtf8("");
  HRESULT hr =
      manager->Open(name.Get(), visa::NO_LOCK, kOpenTimeout, options.Get(), visa_session_.Put());
  if (Succeeded(hr)) return hr;
  // A name VISA cannot parse or find answers the unknown-resource status,
  // which the driver reports with the resource descriptor.
  // The I/O library's own words (for a refused connection: the address and
  // the system's reason) go along.
  if (hr == visa::E_VISA_RSRC_NFOUND || hr == visa::E_VISA_INV_RSRC_NAME) {
    com::ErrorRecord why;
    if (!com::PeekErrorInfo(&why) || why.description.empty()) {
      return reporter()->UnknownResource("Failed to open VISA resource.");
    }
    return reporter()->UnknownResource("Failed to open VISA resource: " + why.description);
  }
  return VisaFailure(hr, "Failed to open VISA resource.");
}

HRESULT CVisaComSession::FindMessageInterfaces() {
  if (HRESULT hr = visa_session_.As(&message_); Failed(hr)) return hr;
  if (HRESULT hr = visa_session_.As(&event_manager_); Failed(hr)) return hr;
  // Optional: transfers in place, and register-based and asynchronous resources only.
  visa_session_.As(&message_bytes_);
  visa_session_.As(&register_);
  visa_session_.As(&async_message_);
  visa_session_.As(&shared_register_);
  return S_OK;
}

HRESULT CVisaComSession::CreateFormattedIo() {
  HRESULT hr = com::CoCreateInstance(visa::kClsidFormattedIO488, nullptr, com::CLSCTX_ALL,
                                     visa::IFormattedIO488::kIid, formatted_.PutVoid());
  if (Succeeded(hr)) hr = formatted_->putref_IO(message_.Get());
  if (Succeeded(hr)) return hr;
  return IoFailure(
      "Could not create instance of VISA-COM FormattedIO488 Component. Make sure this component "
      "is properly installed.");
}

HRESULT CVisaComSession::ConfigureByInterfaceType() {
  std::int16_t type = 0;
  interface_type_ = Succeeded(visa_session_->get_HardwareInterfaceType(&type))
                        ? FromVisaInterfaceType(type)
                        : IoInterfaceType::kOther;
  resource_class_ = "OTHER";
  com::VARIANT value;
  com::VariantInit(&value);
  if (Succeeded(visa_session_->GetAttribute(static_cast<std::int32_t>(visa::VI_ATTR_RSRC_CLASS),
                                            &value)) &&
      value.vt == com::VT_BSTR) {
    resource_class_ = com::BstrToUtf8(value.bstrVal);
  }
  com::VariantClear(&value);
  com::Bstr name;
  resource_name_ =
      Succeeded(visa_session_->get_ResourceName(name.Put())) ? name.ToUtf8() : "UNKNOWN";
  if (interface_type_ == IoInterfaceType::kTcpip && ContainsSocketSuffix(resource_name_)) {
    resource_class_ = "SOCKET";
  }
  const bool no_hardware_end =
      interface_type_ == IoInterfaceType::kSerial ||
      (interface_type_ == IoInterfaceType::kTcpip && resource_class_ == "SOCKET");
  if (!no_hardware_end) return S_OK;
  HRESULT hr = message_->put_TerminationCharacter(std::uint8_t{10});
  if (Succeeded(hr)) hr = message_->put_TerminationCharacterEnabled(com::VARIANT_TRUE);
  if (Succeeded(hr)) hr = message_->put_SendEndEnabled(com::VARIANT_TRUE);
  return Failed(hr) ? VisaFailure(hr) : S_OK;
}

void CVisaComSession::ReleaseVisaObjects() {
  formatted_.Reset();
  message_.Reset();
  message_bytes_.Reset();
  async_message_.Reset();
  register_.Reset();
  shared_register_.Reset();
  event_manager_.Reset();
}

HRESULT CVisaComSession::Close() {
  SetOpen(false);
  ForgetUnsettled();
  serial_end_in_off_ = false;
  DetachBuffer();
  ReleaseVisaObjects();
  if (!visa_session_) return S_OK;
  HRESULT hr = visa_session_->Close();
  visa_session_.Reset();
  return hr;
}

// ---------------------------------------------------------------- device operations

HRESULT CVisaComSession::ReadStatusByte(std::int16_t* status_byte) {
  if (!status_byte) {
    return reporter() ? reporter()->NullPointer("ReadStatusBte", "psStatusByte") : com::E_POINTER;
  }
  if (!IsOpen()) return NotConnected();
  HRESULT hr = message_->ReadSTB(status_byte);
  return Failed(hr) ? VisaFailure(hr) : hr;
}

HRESULT CVisaComSession::TransportDiscardInput(std::int32_t quiet_ms) {
  // A device clear drops what the transport holds (and, where the interface has
  // one, makes the instrument drop its output queue).
  HRESULT hr = message_->Clear();
  if (Failed(hr)) return VisaFailure(hr);
  if (quiet_ms <= 0) return S_OK;
  std::int32_t saved = 0;
  hr = TransportGetTimeout(&saved);
  if (Succeeded(hr)) hr = TransportSetTimeout(quiet_ms);
  if (Failed(hr)) return VisaFailure(hr);
  const auto limit =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(saved, quiet_ms));
  std::int64_t dropped = 0;
  while (true) {
    com::SafeArray chunk;
    hr = message_->Read(kDirectChunk, chunk.Put());
    if (Failed(hr)) break;
    dropped += chunk ? static_cast<std::int64_t>(chunk.size()) : 0;
    if (dropped > kMaxStaleBytes || std::chrono::steady_clock::now() > limit) {
      hr = com::E_FAIL;
      break;
    }
  }
  TransportSetTimeout(saved);
  if (hr == visa::E_VISA_TMO) return S_OK;  // quiet: nothing more of it is coming
  if (hr == com::E_FAIL) {
    MarkUnsettled(true);
    return IoFailure("The instrument went on sending after a failed exchange: " +
                     std::to_string(dropped) + " bytes dropped.");
  }
  return VisaFailure(hr);
}

HRESULT CVisaComSession::Clear() {
  if (!IsOpen()) return NotConnected();
  ForgetUnsettled();
  HRESULT hr = message_->Clear();
  if (Failed(hr)) return VisaFailure(hr);
  // Whatever the buffers held belongs to the cleared exchange.
  return ResetBuffer();
}

HRESULT CVisaComSession::TransportGetTimeout(std::int32_t* timeout) {
  return visa_session_ ? visa_session_->get_Timeout(timeout) : errors::E_IVI_NOT_INITIALIZED;
}

HRESULT CVisaComSession::TransportSetTimeout(std::int32_t timeout) {
  return visa_session_ ? visa_session_->put_Timeout(timeout) : errors::E_IVI_NOT_INITIALIZED;
}

HRESULT CVisaComSession::SetTimeout(std::int32_t timeout) {
  if (!IsOpen()) return NotConnected();
  HRESULT hr = visa_session_->put_Timeout(timeout);
  return Failed(hr) ? VisaFailure(hr) : hr;
}

HRESULT CVisaComSession::GetTimeout(std::int32_t* timeout) {
  if (!timeout) {
    return reporter() ? reporter()->NullPointer("GetTimeout", "plTimeout") : com::E_POINTER;
  }
  if (!IsOpen()) return NotConnected();
  HRESULT hr = visa_session_->get_Timeout(timeout);
  return Failed(hr) ? VisaFailure(hr) : hr;
}

HRESULT CVisaComSession::SetTerminationCharacter(std::uint8_t c) {
  if (!IsOpen()) return NotConnected();
  HRESULT hr = message_->put_TerminationCharacter(c);
  return Failed(hr) ? VisaFailure(hr) : hr;
}

HRESULT CVisaComSession::GetTerminationCharacter(std::uint8_t* c) {
  if (!c) {
    return reporter() ? reporter()->NullPointer("GetTerminationCharacter", "pbTermChar")
                      : com::E_POINTER;
  }
  if (!IsOpen()) return NotConnected();
  HRESULT hr = message_->get_TerminationCharacter(c);
  return Failed(hr) ? VisaFailure(hr) : hr;
}

HRESULT CVisaComSession::SetTerminationCharacterEnabled(bool enabled) {
  if (!IsOpen()) return NotConnected();
  HRESULT hr =
      message_->put_TerminationCharacterEnabled(enabled ? com::VARIANT_TRUE : com::VARIANT_FALSE);
  if (Succeeded(hr) && interface_type_ == IoInterfaceType::kSerial) hr = SerialEndIn(enabled);
  return Failed(hr) ? VisaFailure(hr) : hr;
}

// A serial line also ends reads at the termination character by its end-in
// mode: while the character is off, that mode is off too, and it comes back
// as it was when the character is switched on again.
HRESULT CVisaComSession::SerialEndIn(bool enabled) {
  const auto attribute = static_cast<std::int32_t>(visa::VI_ATTR_ASRL_END_IN);
  com::VARIANT value;
  com::VariantInit(&value);
  value.vt = com::VT_I4;
  if (enabled) {
    if (!serial_end_in_off_) return S_OK;
    serial_end_in_off_ = false;
    value.lVal = visa::VI_ASRL_END_TERMCHAR;
    return visa_session_->SetAttribute(attribute, value);
  }
  com::VARIANT current;
  com::VariantInit(&current);
  std::int64_t mode = 0;
  const bool read = Succeeded(visa_session_->GetAttribute(attribute, &current)) &&
                    Succeeded(visa::VariantToInteger(current, visa::kAttributeNumbers, INT64_MIN,
                                                     INT64_MAX, &mode));
  com::VariantClear(&current);
  if (!read || mode != visa::VI_ASRL_END_TERMCHAR) return S_OK;
  value.lVal = visa::VI_ASRL_END_NONE;
  const HRESULT hr = visa_session_->SetAttribute(attribute, value);
  if (Succeeded(hr)) serial_end_in_off_ = true;
  return hr;
}

HRESULT CVisaComSession::GetTerminationCharacterEnabled(bool* enabled) {
  if (!enabled) {
    return reporter() ? reporter()->NullPointer("GetTerminationCharacterEnabled", "pbEnabled")
                      : com::E_POINTER;
  }
  if (!IsOpen()) return NotConnected();
  com::VARIANT_BOOL value = com::VARIANT_FALSE;
  HRESULT hr = message_->get_TerminationCharacterEnabled(&value);
  if (Failed(hr)) return VisaFailure(hr);
  *enabled = value != com::VARIANT_FALSE;
  return hr;
}

HRESULT CVisaComSession::SetSendEndEnabled(bool enabled) {
  if (!IsOpen()) return NotConnected();
  HRESULT hr = message_->put_SendEndEnabled(enabled ? com::VARIANT_TRUE : com::VARIANT_FALSE);
  return Failed(hr) ? VisaFailure(hr) : hr;
}

HRESULT CVisaComSession::GetSendEndEnabled(bool* enabled) {
  if (!enabled) {
    return reporter() ? reporter()->NullPointer("GetSendEndEnabled", "pbEnabled") : com::E_POINTER;
  }
  if (!IsOpen()) return NotConnected();
  com::VARIANT_BOOL value = com::VARIANT_FALSE;
  HRESULT hr = message_->get_SendEndEnabled(&value);
  if (Failed(hr)) return VisaFailure(hr);
  *enabled = value != com::VARIANT_FALSE;
  return hr;
}

HRESULT CVisaComSession::Lock(std::int32_t mode, std::int32_t timeout,
                              std::string_view requested_key, std::string* access_key) {
  if (!access_key) {
    return reporter() ? reporter()->NullPointer("Lock", "pszAccessKey") : com::E_POINTER;
  }
  if (!IsOpen()) return NotConnected();
  visa::AccessMode visa_mode = visa::NO_LOCK;
  switch (mode) {
    case 0:
      visa_mode = visa::EXCLUSIVE_LOCK;
      break;
    case 1:
      visa_mode = visa::SHARED_LOCK;
      break;
    default:
      return IoFailure("Unsupported VISA session access mode.");
  }
  com::Bstr requested = com::Bstr::FromUtf8(requested_key);
  com::Bstr granted;
  HRESULT hr = visa_session_->LockRsrc(visa_mode, timeout, requested.Get(), granted.Put());
  if (Failed(hr)) return VisaFailure(hr);
  *access_key = granted.ToUtf8();
  return hr;
}

HRESULT CVisaComSession::Unlock() {
  if (!IsOpen()) return NotConnected();
  HRESULT hr = visa_session_->UnlockRsrc();
  return Failed(hr) ? VisaFailure(hr) : hr;
}

// ---------------------------------------------------------------- objects and information

HRESULT CVisaComSession::GetIVisaSessionPointer(visa::IVisaSession** session) {
  return HandOut(visa_session_, session);
}
HRESULT CVisaComSession::GetIFormattedIO488Pointer(visa::IFormattedIO488** formatted) {
  return HandOut(formatted_, formatted);
}
HRESULT CVisaComSession::GetIMessagePointer(visa::IMessage** message) {
  return HandOut(message_, message);
}
HRESULT CVisaComSession::GetIAsyncMessagePointer(visa::IAsyncMessage** async_message) {
  return HandOut(async_message_, async_message);
}
HRESULT CVisaComSession::GetIRegisterPointer(visa::IRegister** reg) {
  return HandOut(register_, reg);
}
HRESULT CVisaComSession::GetISharedRegisterPointer(visa::ISharedRegister** shared_register) {
  return HandOut(shared_register_, shared_register);
}
HRESULT CVisaComSession::GetIEventManagerPointer(visa::IEventManager** event_manager) {
  return HandOut(event_manager_, event_manager);
}

HRESULT CVisaComSession::GetInterfaceType(IoInterfaceType* type) {
  if (!type) return com::E_POINTER;
  if (!IsOpen()) return NotConnected();
  *type = interface_type_;
  return S_OK;
}

HRESULT CVisaComSession::GetResourceClass(std::string* resource_class) {
  if (!resource_class) return com::E_POINTER;
  if (!IsOpen()) return NotConnected();
  *resource_class = resource_class_;
  return S_OK;
}

HRESULT CVisaComSession::GetResourceName(std::string* resource_name) {
  if (!resource_name) return com::E_POINTER;
  if (!IsOpen()) return NotConnected();
  *resource_name = resource_name_;
  return S_OK;
}

}  // namespace motqr::io
