#include "platform/visa/visa_session.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/com/object.h"
#include "platform/visa/attribute_info.h"
#include "platform/visa/open_transport.h"
#include "platform/visa/resource_name.h"
#include "platform/visa/variant_number.h"
#include "platform/visa/visa_com_status.h"
#include "platform/visa/wire_log.h"

namespace motqr::visa {
namespace {

using com::ComPtr;
using com::VARIANT_FALSE;
using com::VARIANT_TRUE;

constexpr std::int32_t kComponentVersion = 0x00100000;  // 1.0
constexpr std::int32_t kSpecVersion = 0x00700100;       // VISA 7.1
constexpr std::int32_t kDefaultOpenTimeoutMs = 2000;
// Largest single transfer asked of a transport; longer reads continue chunk by chunk, so
// memory grows only with the bytes that actually arrived.
constexpr std::size_t kReadChunk = 64 * 1024;
// Reads of up to this many bytes may allocate what they ask for before any data arrive.
constexpr std::int32_t kDirectReadLimit = 16 << 20;

VARIANT_BOOL ToVariantBool(ViAttrState value) {
  return value != VI_FALSE ? VARIANT_TRUE : VARIANT_FALSE;
}
ViAttrState FromVariantBool(VARIANT_BOOL value) { return value != VARIANT_FALSE; }

Status InvalidArgument(std::string text) { return Status(VI_ERROR_INV_PARAMETER, std::move(text)); }

// Masks a signed value to the attribute's width (VT_I2 -1 is 0xFFFF for a ViUInt16 attribute,
// VT_I4 -1 is VI_TMO_INFINITE).
bool ToAttrState(ViAttr attribute, std::int64_t value, ViAttrState* state) {
  const AttributeInfo* info = FindAttributeInfo(attribute);
  const AttributeType type = info != nullptr ? info->type : AttributeType::kUInt32;
  std::int64_t low = 0;
  std::uint64_t mask = 0;
  switch (type) {
    case AttributeType::kBoolean:
      *state = value != 0 ? VI_TRUE : VI_FALSE;
      return true;
    case AttributeType::kUInt8:
      low = INT8_MIN, mask = 0xFF;
      break;
    case AttributeType::kUInt16:
    case AttributeType::kInt16:
      low = INT16_MIN, mask = 0xFFFF;
      break;
    case AttributeType::kUInt32:
      low = INT32_MIN, mask = 0xFFFFFFFF;
      break;
    case AttributeType::kString:
      return false;
  }
  if (info == nullptr && value >= 0) {
    *state = static_cast<ViAttrState>(value);  // unknown attributes pass at full width
    return true;
  }
  if (value < low || (value >= 0 && static_cast<std::uint64_t>(value) > mask)) return false;
  *state = static_cast<ViAttrState>(static_cast<std::uint64_t>(value) & mask);
  return true;
}

class VisaSession final : public com::ComObject<VisaSession, IMessage, IEventManager, IMessageBytes,
                                                com::ISupportErrorInfo> {
 public:
  VisaSession(ResourceName name, std::unique_ptr<Transport> transport, std::string options)
      : name_(std::move(name)), transport_(std::move(transport)), options_(std::move(options)) {}
  ~VisaSession() override {
    if (transport_) (void)transport_->Close();
  }

  HRESULT QueryInterface(const IID& iid, void** object) override {
    return QueryInterfaceTable(this, iid, object,
                               {Entry<com::IUnknown, IMessage>(), Entry<IVisaSession, IMessage>(),
                                Entry<IBaseMessage>(), Entry<IMessage>(), Entry<IEventManager>(),
                                Entry<IMessageBytes>(), Entry<com::ISupportErrorInfo>()});
  }
  // Opens the resource of a new session object.
  HRESULT Start(std::string_view resource, AccessMode mode, std::int32_t timeout_ms) {
    std::lock_guard<std::mutex> hold(mutex_);
    return Open(resource, mode, timeout_ms);
  }

  HRESULT InterfaceSupportsErrorInfo(const IID& iid) override {
    const bool ours = iid == IVisaSession::kIid || iid == IBaseMessage::kIid ||
                      iid == IMessage::kIid || iid == IEventManager::kIid;
    return ours ? com::S_OK : com::S_FALSE;
  }

  // IVisaSession
  HRESULT get_ComponentVersion(std::int32_t* version) override {
    return Answer(version, kComponentVersion);
  }
  HRESULT get_SpecVersion(std::int32_t* version) override { return Answer(version, kSpecVersion); }
  HRESULT get_HardwareInterfaceName(BSTR* name) override {
    return AnswerText(
        name, std::string(InterfaceTypeName(name_.interface_type)) + std::to_string(name_.board));
  }
  HRESULT get_HardwareInterfaceNumber(std::int16_t* number) override {
    return Answer(number, static_cast<std::int16_t>(name_.board));
  }
  HRESULT get_HardwareInterfaceType(std::int16_t* type) override {
    return Answer(type, static_cast<std::int16_t>(name_.interface_type));
  }
  HRESULT get_LockState(AccessMode* state) override;
  HRESULT get_OptionString(BSTR* options) override;
  HRESULT get_ProgID(BSTR* prog_id) override { return AnswerText(prog_id, "VISA.Session"); }
  HRESULT get_ResourceName(BSTR* name) override;
  HRESULT get_SessionType(BSTR* type) override {
    return AnswerText(type, std::string(ResourceClassName(name_.resource_class)));
  }
  HRESULT get_SoftwareManufacturerID(std::int16_t* id) override { return Answer(id, 0); }
  HRESULT get_SoftwareManufacturerName(BSTR* name) override { return AnswerText(name, "motqr"); }
  HRESULT get_Timeout(std::int32_t* timeout) override;
  HRESULT put_Timeout(std::int32_t timeout) override;
  HRESULT get_LastStatus(HRESULT* status) override;
  HRESULT GetAttribute(std::int32_t attribute, VARIANT* attr_state) override;
  HRESULT SetAttribute(std::int32_t attribute, VARIANT attr_state) override;
  HRESULT LockRsrc(AccessMode type, std::int32_t lock_timeout, BSTR requested_key,
                   BSTR* access_key) override;
  HRESULT UnlockRsrc() override;
  HRESULT Init(BSTR resource_name, AccessMode mode, std::int32_t init_timeout,
               BSTR option_string) override;
  HRESULT Close() override;

  // IBaseMessage
  HRESULT get_IOProtocol(IOProtocol* protocol) override;
  HRESULT put_IOProtocol(IOProtocol protocol) override {
    return SetNumber(IBaseMessage::kIid, VI_ATTR_IO_PROT, static_cast<ViAttrState>(protocol));
  }
  HRESULT get_SendEndEnabled(VARIANT_BOOL* enabled) override {
    return GetBoolean(VI_ATTR_SEND_END_EN, enabled);
  }
  HRESULT put_SendEndEnabled(VARIANT_BOOL enabled) override {
    return SetNumber(IBaseMessage::kIid, VI_ATTR_SEND_END_EN, FromVariantBool(enabled));
  }
  HRESULT get_TerminationCharacter(std::uint8_t* termchar) override;
  HRESULT put_TerminationCharacter(std::uint8_t termchar) override {
    return SetNumber(IBaseMessage::kIid, VI_ATTR_TERMCHAR, termchar);
  }
  HRESULT get_TerminationCharacterEnabled(VARIANT_BOOL* enabled) override {
    return GetBoolean(VI_ATTR_TERMCHAR_EN, enabled);
  }
  HRESULT put_TerminationCharacterEnabled(VARIANT_BOOL enabled) override {
    return SetNumber(IBaseMessage::kIid, VI_ATTR_TERMCHAR_EN, FromVariantBool(enabled));
  }
  HRESULT AssertTrigger(TriggerProtocol protocol) override;
  HRESULT Clear() override;
  HRESULT ReadSTB(std::int16_t* status_byte) override;

  // IMessage
  HRESULT Read(std::int32_t count, SAFEARRAY** buffer) override;
  HRESULT ReadString(std::int32_t count, BSTR* buffer) override;
  HRESULT Write(SAFEARRAY** buffer, std::int32_t count, std::int32_t* ret_count) override;
  HRESULT WriteString(BSTR buffer, std::int32_t* ret_count) override;

  // IMessageBytes
  HRESULT ReadBytes(std::int32_t count, std::uint8_t* buffer, std::int32_t* ret_count) override;
  HRESULT WriteBytes(const std::uint8_t* data, std::int32_t count,
                     std::int32_t* ret_count) override;

  // IEventManager: no resource here raises events.
  HRESULT EnableEvent(EventType, EventMechanism, std::int32_t) override { return NoEvents(); }
  HRESULT DisableEvent(EventType, EventMechanism, std::int32_t) override { return NoEvents(); }
  HRESULT DiscardEvents(EventType, EventMechanism, std::int32_t) override { return NoEvents(); }
  HRESULT WaitOnEvent(std::int32_t, EventType, std::int32_t, IEvent** event) override {
    if (event != nullptr) *event = nullptr;
    return NoEvents();
  }
  HRESULT InstallHandler(EventType, IEventHandler*, std::int32_t, std::int32_t) override {
    return NoEvents();
  }
  HRESULT UninstallHandler(EventType, std::int32_t, std::int32_t) override { return NoEvents(); }

 private:
  // Records the status of a member and turns it into its HRESULT.
  HRESULT Finish(const Status& status, const IID& iid) {
    last_status_ = VisaComHresult(status.code());
    return ReportStatus(status, iid);
  }
  template <typename T, typename V>
  HRESULT Answer(T* out, V value) {
    if (out == nullptr) return com::E_POINTER;
    *out = static_cast<T>(value);
    return com::S_OK;
  }
  HRESULT AnswerText(BSTR* out, std::string_view text) {
    if (out == nullptr) return com::E_POINTER;
    *out = com::AllocBstrFromUtf8(text);
    return *out != nullptr ? com::S_OK : com::E_OUTOFMEMORY;
  }
  HRESULT NoEvents() {
    return Finish(Status(VI_ERROR_NSUP_OPER, "This VISA session does not support events."),
                  IEventManager::kIid);
  }
  // Requires an open transport; the caller holds mutex_.
  Status Opened() const { return transport_ ? Status() : ClosedStatus(); }
  Status GetNumberLocked(ViAttr attribute, ViAttrState* value) {
    MOTQR_VISA_RETURN_IF_ERROR(Opened());
    return transport_->GetAttribute(attribute, value);
  }
  HRESULT SetNumber(const IID& iid, ViAttr attribute, ViAttrState value);
  HRESULT GetBoolean(ViAttr attribute, VARIANT_BOOL* enabled);
  // Reads up to `count` bytes into `fixed` (which holds `count`) or, when it is empty, into
  // read_scratch_; *size receives how many.
  Status ReadUpTo(std::int32_t count, std::span<std::uint8_t> fixed, std::size_t* size);
  void TrimScratch();
  Status WriteBytes(std::span<const std::uint8_t> data, std::int32_t* ret_count);
  HRESULT Open(std::string_view resource, AccessMode mode, std::int32_t timeout_ms);
  Status LockLocked(AccessMode type, std::int32_t lock_timeout, std::string_view key,
                    std::string* access_key);

  std::mutex mutex_;
  ResourceName name_;
  std::unique_ptr<Transport> transport_;
  std::string options_;
  HRESULT last_status_ = com::S_OK;
  AccessMode lock_state_ = NO_LOCK;
  // Kept between reads (under mutex_) so that a read does not zero-fill fresh storage
  // each time; only the bytes a read stores are used.
  std::vector<std::uint8_t> read_scratch_;
  // The transport's END setting as last read (under mutex_): every attribute set through this
  // session, an Open and a Close drop it.
  std::optional<bool> send_end_;
};

HRESULT VisaSession::get_LockState(AccessMode* state) {
  std::lock_guard<std::mutex> hold(mutex_);
  return Answer(state, lock_state_);
}

HRESULT VisaSession::get_OptionString(BSTR* options) {
  std::lock_guard<std::mutex> hold(mutex_);
  return AnswerText(options, options_);
}

HRESULT VisaSession::get_ResourceName(BSTR* name) {
  std::lock_guard<std::mutex> hold(mutex_);
  return AnswerText(name, name_.text);
}

HRESULT VisaSession::get_Timeout(std::int32_t* timeout) {
  if (timeout == nullptr) return com::E_POINTER;
  std::lock_guard<std::mutex> hold(mutex_);
  ViAttrState value = 0;
  Status status = GetNumberLocked(VI_ATTR_TMO_VALUE, &value);
  // VI_TMO_INFINITE reads as -1.
  if (status.ok()) *timeout = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  return Finish(status, IVisaSession::kIid);
}

HRESULT VisaSession::put_Timeout(std::int32_t timeout) {
  if (timeout < -1) {
    std::lock_guard<std::mutex> hold(mutex_);
    return Finish(Status(VI_ERROR_NSUP_ATTR_STATE,
                         "The time-out must be 0 or more milliseconds, or -1 for none."),
                  IVisaSession::kIid);
  }
  return SetNumber(IVisaSession::kIid, VI_ATTR_TMO_VALUE, static_cast<std::uint32_t>(timeout));
}

HRESULT VisaSession::get_LastStatus(HRESULT* status) {
  std::lock_guard<std::mutex> hold(mutex_);
  return Answer(status, last_status_);
}

HRESULT VisaSession::GetAttribute(std::int32_t attribute, VARIANT* attr_state) {
  if (attr_state == nullptr) return com::E_POINTER;
  std::lock_guard<std::mutex> hold(mutex_);
  const auto id = static_cast<ViAttr>(attribute);
  com::VariantInit(attr_state);
  // String attributes come from the resource name.
  std::string text;
  bool is_text = true;
  switch (id) {
    case VI_ATTR_RSRC_NAME:
      text = name_.text;
      break;
    case VI_ATTR_RSRC_CLASS:
      text = ResourceClassName(name_.resource_class);
      break;
    case VI_ATTR_TCPIP_ADDR:
    case VI_ATTR_TCPIP_HOSTNAME:
      is_text = name_.interface_type == InterfaceType::kTcpip;
      text = name_.host;
      break;
    default:
      is_text = false;
  }
  if (is_text) {
    attr_state->vt = com::VT_BSTR;
    attr_state->bstrVal = com::AllocBstrFromUtf8(text);
    return Finish(Status(), IVisaSession::kIid);
  }
  ViAttrState value = 0;
  Status status = GetNumberLocked(id, &value);
  if (!status.ok()) return Finish(status, IVisaSession::kIid);
  const AttributeInfo* info = FindAttributeInfo(id);
  const AttributeType type = info != nullptr ? info->type : AttributeType::kUInt32;
  switch (type) {
    case AttributeType::kUInt8:
      attr_state->vt = com::VT_UI1;
      attr_state->bVal = static_cast<std::uint8_t>(value);
      break;
    case AttributeType::kUInt16:
    case AttributeType::kInt16:
      attr_state->vt = com::VT_I2;
      attr_state->iVal = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
      break;
    case AttributeType::kBoolean:
      attr_state->vt = com::VT_BOOL;
      attr_state->boolVal = ToVariantBool(value);
      break;
    case AttributeType::kUInt32:
    case AttributeType::kString:
      if (value > 0xFFFFFFFFU) {
        attr_state->vt = com::VT_UI8;
        attr_state->ullVal = value;
      } else {
        attr_state->vt = com::VT_I4;
        attr_state->lVal = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
      }
      break;
  }
  return Finish(status, IVisaSession::kIid);
}

HRESULT VisaSession::SetAttribute(std::int32_t attribute, VARIANT attr_state) {
  const auto id = static_cast<ViAttr>(attribute);
  std::int64_t number = 0;
  ViAttrState value = 0;
  if (com::Failed(VariantToInteger(attr_state, kAttributeNumbers, INT64_MIN, INT64_MAX, &number)) ||
      !ToAttrState(id, number, &value)) {
    std::lock_guard<std::mutex> hold(mutex_);
    return Finish(Status(VI_ERROR_NSUP_ATTR_STATE), IVisaSession::kIid);
  }
  return SetNumber(IVisaSession::kIid, id, value);
}

HRESULT VisaSession::SetNumber(const IID& iid, ViAttr attribute, ViAttrState value) {
  std::lock_guard<std::mutex> hold(mutex_);
  Status status = Opened();
  send_end_.reset();  // whatever the attribute, END is read again at the next write
  if (status.ok()) status = transport_->SetAttribute(attribute, value);
  return Finish(status, iid);
}

HRESULT VisaSession::GetBoolean(ViAttr attribute, VARIANT_BOOL* enabled) {
  if (enabled == nullptr) return com::E_POINTER;
  std::lock_guard<std::mutex> hold(mutex_);
  ViAttrState value = 0;
  Status status = GetNumberLocked(attribute, &value);
  if (status.ok()) *enabled = ToVariantBool(value);
  return Finish(status, IBaseMessage::kIid);
}

Status VisaSession::LockLocked(AccessMode type, std::int32_t lock_timeout, std::string_view key,
                               std::string* access_key) {
  MOTQR_VISA_RETURN_IF_ERROR(Opened());
  const auto timeout = static_cast<ViUInt32>(
      lock_timeout < 0 ? VI_TMO_INFINITE : static_cast<ViUInt32>(lock_timeout));
  Status status = transport_->Lock(static_cast<ViAccessMode>(type), timeout, key, access_key);
  if (status.ok() && lock_state_ != EXCLUSIVE_LOCK) lock_state_ = type;
  return status;
}

HRESULT VisaSession::LockRsrc(AccessMode type, std::int32_t lock_timeout, BSTR requested_key,
                              BSTR* access_key) {
  if (access_key == nullptr) return com::E_POINTER;
  *access_key = nullptr;
  std::lock_guard<std::mutex> hold(mutex_);
  std::string key;
  Status status = LockLocked(type, lock_timeout, com::BstrToUtf8(requested_key), &key);
  if (status.ok()) *access_key = com::AllocBstrFromUtf8(key);
  return Finish(status, IVisaSession::kIid);
}

HRESULT VisaSession::UnlockRsrc() {
  std::lock_guard<std::mutex> hold(mutex_);
  Status status = Opened();
  if (status.ok()) status = transport_->Unlock();
  if (status.code() == VI_SUCCESS) lock_state_ = NO_LOCK;
  return Finish(status, IVisaSession::kIid);
}

HRESULT VisaSession::Open(std::string_view resource, AccessMode mode, std::int32_t timeout_ms) {
  ResourceName name;
  Status status = ParseResourceName(resource, &name);
  if (!status.ok()) return Finish(status, IVisaSession::kIid);
  OpenOptions options;
  options.open_timeout_ms =
      static_cast<ViUInt32>(timeout_ms > 0 ? timeout_ms : kDefaultOpenTimeoutMs);
  options.prefer_visa_library = ThreadPrefersVisaLibrary();
  std::unique_ptr<Transport> transport;
  status = OpenTransport(name, options, &transport);
  if (!status.ok()) return Finish(status, IVisaSession::kIid);
  transport = WithThreadWireLog(std::move(transport), resource);
  if (status = ApplyThreadOpenAttributes(*transport); !status.ok()) {
    (void)transport->Close();
    return Finish(status, IVisaSession::kIid);
  }
  name_ = std::move(name);
  transport_ = std::move(transport);
  send_end_.reset();
  lock_state_ = NO_LOCK;
  if (mode == EXCLUSIVE_LOCK || mode == SHARED_LOCK) {
    std::string key;
    status = LockLocked(mode, timeout_ms, "", &key);
    if (!status.ok()) {
      (void)transport_->Close();
      transport_.reset();
    }
  }
  return Finish(status, IVisaSession::kIid);
}

HRESULT VisaSession::Init(BSTR resource_name, AccessMode mode, std::int32_t init_timeout,
                          BSTR option_string) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (transport_) {
    return Finish(Status(VI_ERROR_INV_OBJECT, "The VISA session is already open."),
                  IVisaSession::kIid);
  }
  options_ = com::BstrToUtf8(option_string);
  return Open(com::BstrToUtf8(resource_name), mode, init_timeout);
}

HRESULT VisaSession::Close() {
  std::lock_guard<std::mutex> hold(mutex_);
  if (!transport_) return com::S_OK;
  Status status = transport_->Close();
  transport_.reset();
  send_end_.reset();
  lock_state_ = NO_LOCK;
  return Finish(status, IVisaSession::kIid);
}

HRESULT VisaSession::get_IOProtocol(IOProtocol* protocol) {
  if (protocol == nullptr) return com::E_POINTER;
  std::lock_guard<std::mutex> hold(mutex_);
  ViAttrState value = 0;
  Status status = GetNumberLocked(VI_ATTR_IO_PROT, &value);
  if (status.ok()) *protocol = static_cast<IOProtocol>(value);
  return Finish(status, IBaseMessage::kIid);
}

HRESULT VisaSession::get_TerminationCharacter(std::uint8_t* termchar) {
  if (termchar == nullptr) return com::E_POINTER;
  std::lock_guard<std::mutex> hold(mutex_);
  ViAttrState value = 0;
  Status status = GetNumberLocked(VI_ATTR_TERMCHAR, &value);
  if (status.ok()) *termchar = static_cast<std::uint8_t>(value);
  return Finish(status, IBaseMessage::kIid);
}

HRESULT VisaSession::AssertTrigger(TriggerProtocol protocol) {
  std::lock_guard<std::mutex> hold(mutex_);
  Status status = Opened();
  if (status.ok()) status = transport_->AssertTrigger(static_cast<ViUInt16>(protocol));
  return Finish(status, IBaseMessage::kIid);
}

HRESULT VisaSession::Clear() {
  std::lock_guard<std::mutex> hold(mutex_);
  Status status = Opened();
  if (status.ok()) status = transport_->Clear();
  return Finish(status, IBaseMessage::kIid);
}

HRESULT VisaSession::ReadSTB(std::int16_t* status_byte) {
  if (status_byte == nullptr) return com::E_POINTER;
  std::lock_guard<std::mutex> hold(mutex_);
  std::uint16_t value = 0;
  Status status = Opened();
  if (status.ok()) status = transport_->ReadStatusByte(&value);
  if (status.ok()) *status_byte = static_cast<std::int16_t>(value);
  return Finish(status, IBaseMessage::kIid);
}

Status VisaSession::ReadUpTo(std::int32_t count, std::span<std::uint8_t> fixed, std::size_t* size) {
  *size = 0;
  MOTQR_VISA_RETURN_IF_ERROR(Opened());
  if (count < 0) return InvalidArgument("The read count must not be negative.");
  const auto wanted = static_cast<std::size_t>(count);
  while (true) {
    std::span<std::uint8_t> room = fixed.subspan(std::min(*size, fixed.size()));
    if (fixed.empty()) {
      // Storage grows with what arrives, a chunk ahead, and is not cleared between reads.
      const std::size_t chunk = std::min(wanted - *size, kReadChunk);
      if (read_scratch_.size() < *size + chunk) read_scratch_.resize(*size + chunk);
      room = std::span(read_scratch_).subspan(*size, chunk);
    }
    ReadResult result;
    Status status = transport_->Read(room, &result);
    *size += std::min(result.count, room.size());
    if (!status.ok() || result.stop != ReadStop::kCount || *size == wanted) return status;
  }
}

// A large reply's storage is not kept for the rest of the session.
void VisaSession::TrimScratch() {
  if (read_scratch_.size() > kReadChunk) std::vector<std::uint8_t>().swap(read_scratch_);
}

HRESULT VisaSession::Read(std::int32_t count, SAFEARRAY** buffer) {
  if (buffer == nullptr) return com::E_POINTER;
  *buffer = nullptr;
  std::lock_guard<std::mutex> hold(mutex_);
  // A large read (a block whose length is known) goes straight into the array handed out,
  // which is then cut to what arrived: no second copy of the data.
  com::SafeArray array;
  if (count > static_cast<std::int32_t>(kReadChunk) && count <= kDirectReadLimit) {
    array = com::SafeArray::CreateVector(com::VT_UI1, static_cast<std::uint32_t>(count));
    if (!array) return com::E_OUTOFMEMORY;
  }
  std::size_t size = 0;
  Status status = ReadUpTo(count, array.Data<std::uint8_t>(), &size);
  if (!status.ok()) {
    TrimScratch();
    return Finish(status, IMessage::kIid);
  }
  if (array) {
    array.Get()->rgsabound[0].cElements = static_cast<std::uint32_t>(size);
  } else {
    array = com::SafeArray::CreateVector(com::VT_UI1, static_cast<std::uint32_t>(size));
    if (!array) return com::E_OUTOFMEMORY;
    if (size > 0) std::memcpy(array.Data<std::uint8_t>().data(), read_scratch_.data(), size);
    TrimScratch();
  }
  *buffer = array.Detach();
  return Finish(status, IMessage::kIid);
}

HRESULT VisaSession::ReadString(std::int32_t count, BSTR* buffer) {
  if (buffer == nullptr) return com::E_POINTER;
  *buffer = nullptr;
  std::lock_guard<std::mutex> hold(mutex_);
  std::size_t size = 0;
  Status status = ReadUpTo(count, {}, &size);
  if (!status.ok()) {
    TrimScratch();
    return Finish(status, IMessage::kIid);
  }
  *buffer = com::AllocBstrFromUtf8(
      std::string_view(reinterpret_cast<const char*>(read_scratch_.data()), size));
  TrimScratch();
  if (*buffer == nullptr) return com::E_OUTOFMEMORY;
  return Finish(status, IMessage::kIid);
}

Status VisaSession::WriteBytes(std::span<const std::uint8_t> data, std::int32_t* ret_count) {
  MOTQR_VISA_RETURN_IF_ERROR(Opened());
  if (!send_end_) {
    ViAttrState send_end = VI_TRUE;
    MOTQR_VISA_RETURN_IF_ERROR(transport_->GetAttribute(VI_ATTR_SEND_END_EN, &send_end));
    send_end_ = send_end != VI_FALSE;
  }
  std::size_t written = 0;
  Status status = transport_->Write(data, *send_end_, &written);
  *ret_count = static_cast<std::int32_t>(written);
  return status;
}

HRESULT VisaSession::Write(SAFEARRAY** buffer, std::int32_t count, std::int32_t* ret_count) {
  if (buffer == nullptr || *buffer == nullptr || ret_count == nullptr) return com::E_POINTER;
  *ret_count = 0;
  std::lock_guard<std::mutex> hold(mutex_);
  SAFEARRAY* array = *buffer;
  if (com::SafeArrayGetDim(array) != 1 || com::SafeArrayGetElemsize(array) != 1) {
    return Finish(InvalidArgument("Write takes a one-dimensional array of bytes."), IMessage::kIid);
  }
  if (count < 0 || static_cast<std::size_t>(count) > com::SafeArrayElementCount(array)) {
    return Finish(InvalidArgument("The write count exceeds the bytes in the array."),
                  IMessage::kIid);
  }
  void* data = nullptr;
  if (com::Failed(com::SafeArrayAccessData(array, &data))) return com::E_UNEXPECTED;
  Status status =
      WriteBytes(std::span(static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(count)),
                 ret_count);
  com::SafeArrayUnaccessData(array);
  return Finish(status, IMessage::kIid);
}

HRESULT VisaSession::ReadBytes(std::int32_t count, std::uint8_t* buffer, std::int32_t* ret_count) {
  if (ret_count == nullptr || (buffer == nullptr && count > 0)) return com::E_POINTER;
  *ret_count = 0;
  std::lock_guard<std::mutex> hold(mutex_);
  std::size_t size = 0;
  const Status status =
      ReadUpTo(count, std::span(buffer, count > 0 ? static_cast<std::size_t>(count) : 0u), &size);
  *ret_count = static_cast<std::int32_t>(size);
  return Finish(status, IMessage::kIid);
}

HRESULT VisaSession::WriteBytes(const std::uint8_t* data, std::int32_t count,
                                std::int32_t* ret_count) {
  if (ret_count == nullptr || (data == nullptr && count > 0)) return com::E_POINTER;
  *ret_count = 0;
  std::lock_guard<std::mutex> hold(mutex_);
  if (count < 0) {
    return Finish(InvalidArgument("The write count exceeds the bytes in the array."),
                  IMessage::kIid);
  }
  return Finish(WriteBytes(std::span(data, static_cast<std::size_t>(count)), ret_count),
                IMessage::kIid);
}

HRESULT VisaSession::WriteString(BSTR buffer, std::int32_t* ret_count) {
  if (ret_count == nullptr) return com::E_POINTER;
  *ret_count = 0;
  std::lock_guard<std::mutex> hold(mutex_);
  const std::string text = com::BstrToUtf8(buffer);
  return Finish(WriteBytes(AsBytes(text), ret_count), IMessage::kIid);
}

}  // namespace

HRESULT OpenVisaSession(std::string_view resource_name, AccessMode mode,
                        std::int32_t open_timeout_ms, std::string_view option_string,
                        IVisaSession** session) {
  if (session == nullptr) return com::E_POINTER;
  *session = nullptr;
  ComPtr<IMessage> created =
      com::MakeObject<VisaSession, IMessage>(ResourceName{}, nullptr, std::string(option_string));
  if (!created) return com::E_OUTOFMEMORY;
  auto* object = static_cast<VisaSession*>(created.Get());
  const HRESULT hr = object->Start(resource_name, mode, open_timeout_ms);
  if (com::Failed(hr)) return hr;
  *session = created.Detach();
  return hr;
}

}  // namespace motqr::visa
