#include "platform/visa/visa_library_transport.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <utility>

#include "platform/visa/attribute_info.h"
#include "platform/visa/visa_library.h"

namespace motqr::visa {
namespace {

class VisaLibraryTransport final : public Transport {
 public:
  VisaLibraryTransport(std::shared_ptr<VisaLibrary> library, ViSession vi)
      : library_(std::move(library)), vi_(vi) {}
  ~VisaLibraryTransport() override { (void)Close(); }

  Status Write(std::span<const std::uint8_t> data, bool end, std::size_t* written) override;
  Status Read(std::span<std::uint8_t> buffer, ReadResult* result) override;
  Status Clear() override {
    if (!is_open()) return ClosedStatus();
    return Check(api().viClear(vi_));
  }
  Status ReadStatusByte(std::uint16_t* status_byte) override {
    if (!is_open()) return ClosedStatus();
    ViUInt16 value = 0;
    Status status = Check(api().viReadSTB(vi_, &value));
    if (status.ok()) *status_byte = value;
    return status;
  }
  Status AssertTrigger(ViUInt16 protocol) override {
    if (!is_open()) return ClosedStatus();
    if (api().viAssertTrigger == nullptr) return Status(VI_ERROR_NSUP_OPER);
    return Check(api().viAssertTrigger(vi_, protocol));
  }
  Status SetAttribute(ViAttr attribute, ViAttrState value) override {
    if (!is_open()) return ClosedStatus();
    return Check(api().viSetAttribute(vi_, attribute, value));
  }
  Status GetAttribute(ViAttr attribute, ViAttrState* value) override;
  Status Lock(ViAccessMode mode, ViUInt32 timeout_ms, std::string_view requested_key,
              std::string* access_key) override;
  Status Unlock() override {
    if (!is_open()) return ClosedStatus();
    return Check(api().viUnlock(vi_));
  }
  Status Close() override {
    if (!is_open()) return Status();
    const ViSession vi = std::exchange(vi_, VI_NULL);
    Status status = library_->Check(api().viClose(vi), VI_NULL);
    library_.reset();
    return status;
  }

 private:
  bool is_open() const { return vi_ != VI_NULL; }
  const VisaApi& api() const { return library_->api(); }
  Status Check(ViStatus status) const { return library_->Check(status, vi_); }
  Status GetSendEnd(bool* enabled);

  std::shared_ptr<VisaLibrary> library_;
  ViSession vi_;
};

Status VisaLibraryTransport::GetSendEnd(bool* enabled) {
  ViAttrState value = 0;
  MOTQR_VISA_RETURN_IF_ERROR(GetAttribute(VI_ATTR_SEND_END_EN, &value));
  *enabled = value != VI_FALSE;
  return Status();
}

Status VisaLibraryTransport::Write(std::span<const std::uint8_t> data, bool end,
                                   std::size_t* written) {
  *written = 0;
  if (!is_open()) return ClosedStatus();
  if (data.size() > std::numeric_limits<ViUInt32>::max()) {
    return Status(VI_ERROR_INV_PARAMETER, "A single write is limited to 4294967295 bytes.");
  }
  bool send_end = true;
  MOTQR_VISA_RETURN_IF_ERROR(GetSendEnd(&send_end));
  // The END flag of this write is the session's send-END setting for the one call.
  if (send_end != end) MOTQR_VISA_RETURN_IF_ERROR(SetAttribute(VI_ATTR_SEND_END_EN, end));
  ViUInt32 count = 0;
  Status status =
      Check(api().viWrite(vi_, data.data(), static_cast<ViUInt32>(data.size()), &count));
  *written = count;
  if (send_end != end) {
    Status restored = SetAttribute(VI_ATTR_SEND_END_EN, send_end);
    if (status.ok() && !restored.ok()) return restored;
  }
  return status;
}

Status VisaLibraryTransport::Read(std::span<std::uint8_t> buffer, ReadResult* result) {
  *result = ReadResult{};
  if (!is_open()) return ClosedStatus();
  const auto count = static_cast<ViUInt32>(
      std::min<std::size_t>(buffer.size(), std::numeric_limits<ViUInt32>::max()));
  ViUInt32 received = 0;
  const ViStatus code = api().viRead(vi_, buffer.data(), count, &received);
  result->count = std::min<std::size_t>(received, count);
  switch (code) {
    case VI_SUCCESS:
      result->stop = ReadStop::kEnd;
      break;
    case VI_SUCCESS_TERM_CHAR:
      result->stop = ReadStop::kTermChar;
      break;
    case VI_SUCCESS_MAX_CNT:
      result->stop = ReadStop::kCount;
      break;
    case VI_ERROR_TMO:
      result->stop = ReadStop::kTimeout;
      break;
    default:
      result->stop = code >= VI_SUCCESS ? ReadStop::kEnd : ReadStop::kError;
      break;
  }
  return Check(code);
}

Status VisaLibraryTransport::GetAttribute(ViAttr attribute, ViAttrState* value) {
  if (!is_open()) return ClosedStatus();
  const AttributeInfo* info = FindAttributeInfo(attribute);
  if (info != nullptr && info->type == AttributeType::kString) return Status(VI_ERROR_NSUP_ATTR);
  // Room for any attribute the library may write, whatever its width.
  alignas(std::uint64_t) std::array<unsigned char, kViStringBufferSize> storage{};
  MOTQR_VISA_RETURN_IF_ERROR(Check(api().viGetAttribute(vi_, attribute, storage.data())));
  const AttributeType type = info != nullptr ? info->type : AttributeType::kUInt32;
  switch (type) {
    case AttributeType::kUInt8:
      *value = storage[0];
      break;
    case AttributeType::kUInt16:
    case AttributeType::kBoolean: {
      ViUInt16 v = 0;
      std::memcpy(&v, storage.data(), sizeof v);
      *value = v;
      break;
    }
    case AttributeType::kInt16: {
      ViInt16 v = 0;
      std::memcpy(&v, storage.data(), sizeof v);
      *value = static_cast<ViAttrState>(static_cast<ViInt64>(v));
      break;
    }
    case AttributeType::kUInt32:
    case AttributeType::kString:
      // Unknown attributes are read at the full ViAttrState width (the buffer was zeroed).
      if (info == nullptr) {
        std::memcpy(value, storage.data(), sizeof *value);
      } else {
        ViUInt32 v = 0;
        std::memcpy(&v, storage.data(), sizeof v);
        *value = v;
      }
      break;
  }
  return Status();
}

Status VisaLibraryTransport::Lock(ViAccessMode mode, ViUInt32 timeout_ms,
                                  std::string_view requested_key, std::string* access_key) {
  access_key->clear();
  if (!is_open()) return ClosedStatus();
  const std::string key(requested_key);
  std::array<ViChar, kViStringBufferSize> granted{};
  Status status = Check(
      api().viLock(vi_, mode, timeout_ms, key.empty() ? nullptr : key.c_str(), granted.data()));
  granted.back() = '\0';
  if (status.ok()) *access_key = granted.data();
  return status;
}

}  // namespace

Status OpenVisaLibraryTransport(const ResourceName& name, ViUInt32 open_timeout_ms,
                                std::unique_ptr<Transport>* transport) {
  std::shared_ptr<VisaLibrary> library;
  Status status = VisaLibrary::Get(&library);
  if (!status.ok()) {
    return Status(status.code(),
                  "Opening " + name.text + " needs a system VISA library. " + status.message());
  }
  ViSession vi = VI_NULL;
  status = library->Check(library->api().viOpen(library->default_rm(), name.text.c_str(),
                                                VI_NO_LOCK, open_timeout_ms, &vi),
                          library->default_rm());
  if (!status.ok()) {
    return Status(status.code(), "Could not open " + name.text + " through " + library->name() +
                                     ": " + status.message());
  }
  *transport = std::make_unique<VisaLibraryTransport>(std::move(library), vi);
  return status;
}

}  // namespace motqr::visa
