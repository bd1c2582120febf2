#include "platform/visa/vxi11_transport.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <limits>

#include "platform/visa/deadline.h"
#include "platform/visa/message_attributes.h"
#include "platform/visa/onc_rpc_client.h"
#include "platform/visa/resource_lock.h"
#include "platform/visa/vxi11_protocol.h"

namespace motqr::visa {
namespace {

std::atomic<std::uint16_t> g_portmapper_port{kPortmapperPort};

// Time a call may take beyond the time-out the instrument was given, for the instrument's own
// time-out answer to arrive.
constexpr ViUInt32 kReplyGraceMs = 500;
// Time-out of the calls that must not wait on the instrument (abort, destroy_link).
constexpr ViUInt32 kHousekeepingTimeoutMs = 1000;
// Largest chunk a write sends when the instrument names no limit.
constexpr std::uint32_t kDefaultMaxRecvSize = 1u << 20;

// The time-out a call gives the instrument: what is left of the session time-out.
std::uint32_t InstrumentTimeout(const Deadline& deadline, ViUInt32 timeout_ms) {
  if (timeout_ms == VI_TMO_INFINITE) return std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(std::max(deadline.RemainingMs(), 0));
}

// The time-out this side waits for the reply: the instrument's plus a grace.
ViUInt32 LocalTimeout(std::uint32_t instrument_timeout) {
  if (instrument_timeout >= VI_TMO_INFINITE - kReplyGraceMs) return VI_TMO_INFINITE;
  return instrument_timeout + kReplyGraceMs;
}

// Sessions to the same host and device share process-local (shared) locks.
std::string LockKey(const ResourceName& name) {
  std::string key = "VXI11::" + name.host + "::" + name.lan_device;
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

class Vxi11Transport final : public Transport {
 public:
  Vxi11Transport(const ResourceName& name, std::unique_ptr<RpcClient> core,
                 const vxi11::CreateLinkResp& link)
      : attributes_(VI_INTF_TCPIP, name.board),
        host_(name.host),
        core_(std::move(core)),
        link_id_(link.link_id),
        abort_port_(link.abort_port),
        max_recv_size_(link.max_recv_size == 0 ? kDefaultMaxRecvSize : link.max_recv_size),
        lock_(ResourceLock::For(LockKey(name))) {}
  ~Vxi11Transport() override { (void)Close(); }

  Status Write(std::span<const std::uint8_t> data, bool end, std::size_t* written) override;
  Status Read(std::span<std::uint8_t> buffer, ReadResult* result) override;
  Status Clear() override;
  Status ReadStatusByte(std::uint16_t* status_byte) override;
  Status AssertTrigger(ViUInt16 protocol) override;
  Status SetAttribute(ViAttr attribute, ViAttrState value) override;
  Status GetAttribute(ViAttr attribute, ViAttrState* value) override;
  Status Lock(ViAccessMode mode, ViUInt32 timeout_ms, std::string_view requested_key,
              std::string* access_key) override;
  Status Unlock() override;
  Status Close() override;

 private:
  // Ready for an I/O call: open, and not kept out by another session's shared lock.
  Status CheckUsable() const;
  // A call on the core channel; a call that times out here is aborted.
  Status CoreCall(vxi11::Procedure procedure, XdrFunction encode, void* arguments,
                  XdrFunction decode, void* result, ViUInt32 local_timeout_ms);
  // The status for an error the instrument answered with.
  Status DeviceFailure(std::int32_t error, std::string_view what) const;
  Status GenericCall(vxi11::Procedure procedure, std::string_view what);
  void Abort();

  MessageAttributes attributes_;
  std::string host_;
  std::unique_ptr<RpcClient> core_;
  RpcClient abort_channel_;
  std::int32_t link_id_;
  std::uint16_t abort_port_;
  std::uint32_t max_recv_size_;
  int exclusive_locks_ = 0;  // nested exclusive locks held on the instrument
  std::shared_ptr<ResourceLock> lock_;
};

Status Vxi11Transport::CheckUsable() const {
  if (core_ == nullptr) return ClosedStatus();
  return lock_->CheckAccess(this);
}

void Vxi11Transport::Abort() {
  const Deadline deadline(kHousekeepingTimeoutMs);
  if (!abort_channel_.connected() &&
      !abort_channel_
           .Connect(host_, abort_port_, vxi11::kAbortProgram, vxi11::kAbortVersion, deadline,
                    kHousekeepingTimeoutMs)
           .ok()) {
    return;
  }
  std::int32_t link = link_id_;
  std::int32_t error = 0;
  (void)abort_channel_.Call(vxi11::kDeviceAbort, vxi11::XdrInt32, &link, vxi11::XdrInt32, &error,
                            kHousekeepingTimeoutMs);
}

Status Vxi11Transport::CoreCall(vxi11::Procedure procedure, XdrFunction encode, void* arguments,
                                XdrFunction decode, void* result, ViUInt32 local_timeout_ms) {
  Status status = core_->Call(procedure, encode, arguments, decode, result, local_timeout_ms);
  if (status.code() == VI_ERROR_TMO) {
    Abort();
    return Status(VI_ERROR_TMO, StatusDescription(VI_ERROR_TMO) + " (no answer from " + host_ +
                                    " within " + std::to_string(local_timeout_ms) + " ms)");
  }
  return status;
}

Status Vxi11Transport::DeviceFailure(std::int32_t error, std::string_view what) const {
  const std::string text = "The instrument at " + host_ + " refused " + std::string(what) + ": " +
                           vxi11::ErrorText(error) + ".";
  switch (error) {
    case vxi11::kIoTimeout:
    case vxi11::kAbort:
      return Status(VI_ERROR_TMO, text);
    case vxi11::kDeviceLockedByAnotherLink:
      return Status(VI_ERROR_RSRC_LOCKED, text);
    case vxi11::kNoLockHeldByThisLink:
      return Status(VI_ERROR_SESN_NLOCKED, text);
    case vxi11::kInvalidLinkId:
    case vxi11::kChannelNotEstablished:
      return Status(VI_ERROR_CONN_LOST, text);
    case vxi11::kOperationNotSupported:
      return Status(VI_ERROR_NSUP_OPER, text);
    default:
      return Status(VI_ERROR_IO, text);
  }
}

Status Vxi11Transport::Write(std::span<const std::uint8_t> data, bool end, std::size_t* written) {
  *written = 0;
  MOTQR_VISA_RETURN_IF_ERROR(CheckUsable());
  const Deadline deadline(attributes_.timeout_ms());
  do {
    const std::size_t left = data.size() - *written;
    const std::size_t chunk = std::min<std::size_t>(left, max_recv_size_);
    const bool last = chunk == left;
    vxi11::WriteParms parms;
    parms.link_id = link_id_;
    parms.io_timeout = InstrumentTimeout(deadline, attributes_.timeout_ms());
    parms.flags = (last && end) ? vxi11::kFlagEnd : 0;
    parms.data = data.subspan(*written, chunk);
    vxi11::WriteResp resp;
    MOTQR_VISA_RETURN_IF_ERROR(CoreCall(vxi11::kDeviceWrite, vxi11::XdrWriteParms, &parms,
                                        vxi11::XdrWriteResp, &resp,
                                        LocalTimeout(parms.io_timeout)));
    *written += std::min<std::size_t>(resp.size, chunk);
    if (resp.error != vxi11::kNoError) return DeviceFailure(resp.error, "the write");
    if (resp.size == 0 && chunk != 0) {
      return Status(VI_ERROR_IO, "The instrument at " + host_ + " took none of the data.");
    }
    if (deadline.Expired() && *written < data.size()) return Status(VI_ERROR_TMO);
  } while (*written < data.size());
  return Status();
}

Status Vxi11Transport::Read(std::span<std::uint8_t> buffer, ReadResult* result) {
  *result = ReadResult{};
  MOTQR_VISA_RETURN_IF_ERROR(CheckUsable());
  const Deadline deadline(attributes_.timeout_ms());
  while (true) {
    const std::size_t room = buffer.size() - result->count;
    vxi11::ReadParms parms;
    parms.link_id = link_id_;
    parms.request_size = static_cast<std::uint32_t>(
        std::min<std::size_t>(room, std::numeric_limits<std::int32_t>::max()));
    parms.io_timeout = InstrumentTimeout(deadline, attributes_.timeout_ms());
    parms.flags = attributes_.termchar_enabled() ? vxi11::kFlagTermCharSet : 0;
    parms.term_char = attributes_.termchar();
    vxi11::ReadResp resp;
    resp.into = buffer.subspan(result->count, parms.request_size);
    Status status = CoreCall(vxi11::kDeviceRead, vxi11::XdrReadParms, &parms, vxi11::XdrReadResp,
                             &resp, LocalTimeout(parms.io_timeout));
    if (status.ok()) {
      result->count += resp.count;
      if (resp.error != vxi11::kNoError) status = DeviceFailure(resp.error, "the read");
    }
    if (!status.ok()) {
      result->stop = status.code() == VI_ERROR_TMO ? ReadStop::kTimeout : ReadStop::kError;
      return status;
    }
    if ((resp.reason & vxi11::kReasonTermChar) != 0 && attributes_.termchar_enabled()) {
      result->stop = ReadStop::kTermChar;
      return Status(VI_SUCCESS_TERM_CHAR);
    }
    if ((resp.reason & vxi11::kReasonEnd) != 0) {
      result->stop = ReadStop::kEnd;
      return Status(VI_SUCCESS);
    }
    if (result->count == buffer.size()) {
      result->stop = ReadStop::kCount;
      return Status(VI_SUCCESS_MAX_CNT);
    }
    if (deadline.Expired()) {
      result->stop = ReadStop::kTimeout;
      return Status(VI_ERROR_TMO);
    }
  }
}

Status Vxi11Transport::GenericCall(vxi11::Procedure procedure, std::string_view what) {
  MOTQR_VISA_RETURN_IF_ERROR(CheckUsable());
  vxi11::GenericParms parms;
  parms.link_id = link_id_;
  parms.io_timeout = attributes_.timeout_ms();
  std::int32_t error = 0;
  MOTQR_VISA_RETURN_IF_ERROR(CoreCall(procedure, vxi11::XdrGenericParms, &parms, vxi11::XdrInt32,
                                      &error, LocalTimeout(parms.io_timeout)));
  if (error != vxi11::kNoError) return DeviceFailure(error, what);
  return Status();
}

Status Vxi11Transport::Clear() { return GenericCall(vxi11::kDeviceClear, "the device clear"); }

Status Vxi11Transport::ReadStatusByte(std::uint16_t* status_byte) {
  MOTQR_VISA_RETURN_IF_ERROR(CheckUsable());
  vxi11::GenericParms parms;
  parms.link_id = link_id_;
  parms.io_timeout = attributes_.timeout_ms();
  vxi11::ReadStbResp resp;
  MOTQR_VISA_RETURN_IF_ERROR(CoreCall(vxi11::kDeviceReadStb, vxi11::XdrGenericParms, &parms,
                                      vxi11::XdrReadStbResp, &resp,
                                      LocalTimeout(parms.io_timeout)));
  if (resp.error != vxi11::kNoError) return DeviceFailure(resp.error, "the status byte read");
  *status_byte = resp.stb;
  return Status();
}

Status Vxi11Transport::AssertTrigger(ViUInt16 protocol) {
  MOTQR_VISA_RETURN_IF_ERROR(CheckDefaultTriggerProtocol(protocol));
  return GenericCall(vxi11::kDeviceTrigger, "the trigger");
}

Status Vxi11Transport::SetAttribute(ViAttr attribute, ViAttrState value) {
  if (core_ == nullptr) return ClosedStatus();
  return attributes_.Set(attribute, value);
}

Status Vxi11Transport::GetAttribute(ViAttr attribute, ViAttrState* value) {
  if (core_ == nullptr) return ClosedStatus();
  return attributes_.Get(attribute, value);
}

Status Vxi11Transport::Lock(ViAccessMode mode, ViUInt32 timeout_ms, std::string_view requested_key,
                            std::string* access_key) {
  access_key->clear();
  if (core_ == nullptr) return ClosedStatus();
  if (mode == VI_SHARED_LOCK) return lock_->Lock(this, mode, timeout_ms, requested_key, access_key);
  if (mode != VI_EXCLUSIVE_LOCK) return Status(VI_ERROR_INV_LOCK_TYPE);
  if (exclusive_locks_ > 0) {
    ++exclusive_locks_;
    return Status(VI_SUCCESS_NESTED_EXCLUSIVE);
  }
  vxi11::LockParms parms;
  parms.link_id = link_id_;
  parms.flags = timeout_ms == 0 ? 0 : vxi11::kFlagWaitLock;
  parms.lock_timeout = timeout_ms;
  std::int32_t error = 0;
  MOTQR_VISA_RETURN_IF_ERROR(CoreCall(vxi11::kDeviceLock, vxi11::XdrLockParms, &parms,
                                      vxi11::XdrInt32, &error, LocalTimeout(timeout_ms)));
  if (error != vxi11::kNoError) return DeviceFailure(error, "the lock");
  exclusive_locks_ = 1;
  return Status();
}

Status Vxi11Transport::Unlock() {
  if (core_ == nullptr) return ClosedStatus();
  if (exclusive_locks_ > 1) {
    --exclusive_locks_;
    return Status();
  }
  if (exclusive_locks_ == 0) return lock_->Unlock(this);
  std::int32_t link = link_id_;
  std::int32_t error = 0;
  MOTQR_VISA_RETURN_IF_ERROR(CoreCall(vxi11::kDeviceUnlock, vxi11::XdrInt32, &link, vxi11::XdrInt32,
                                      &error, kHousekeepingTimeoutMs));
  exclusive_locks_ = 0;
  if (error != vxi11::kNoError) return DeviceFailure(error, "the unlock");
  return Status();
}

Status Vxi11Transport::Close() {
  if (core_ == nullptr) return Status();
  lock_->ReleaseAll(this);
  if (core_->connected()) {
    std::int32_t link = link_id_;
    std::int32_t error = 0;
    (void)core_->Call(vxi11::kDestroyLink, vxi11::XdrInt32, &link, vxi11::XdrInt32, &error,
                      kHousekeepingTimeoutMs);
  }
  core_.reset();
  abort_channel_.Close();
  return Status();
}

}  // namespace

void SetPortmapperPortForTesting(std::uint16_t port) { g_portmapper_port.store(port); }

std::uint16_t PortmapperPort() { return g_portmapper_port.load(); }

Status OpenVxi11Transport(const ResourceName& name, ViUInt32 open_timeout_ms,
                          std::unique_ptr<Transport>* transport) {
  const Deadline deadline(open_timeout_ms);
  std::uint16_t core_port = 0;
  MOTQR_VISA_RETURN_IF_ERROR(LookUpRpcPort(name.host, g_portmapper_port.load(), vxi11::kCoreProgram,
                                           vxi11::kCoreVersion, deadline, open_timeout_ms,
                                           &core_port));
  auto core = std::make_unique<RpcClient>();
  MOTQR_VISA_RETURN_IF_ERROR(core->Connect(name.host, core_port, vxi11::kCoreProgram,
                                           vxi11::kCoreVersion, deadline, open_timeout_ms));
  vxi11::CreateLinkParms parms;
  parms.client_id = static_cast<std::int32_t>(::getpid());
  parms.device = name.lan_device;
  vxi11::CreateLinkResp link;
  const int left = deadline.RemainingMs();
  Status status =
      core->Call(vxi11::kCreateLink, vxi11::XdrCreateLinkParms, &parms, vxi11::XdrCreateLinkResp,
                 &link, left < 0 ? VI_TMO_INFINITE : static_cast<ViUInt32>(left));
  if (!status.ok()) {
    return Status(status.code(),
                  "Could not create a VXI-11 link to " + name.host + ": " + status.message());
  }
  if (link.error != vxi11::kNoError) {
    return Status(VI_ERROR_RSRC_NFOUND, "The instrument at " + name.host +
                                            " refused a link to device \"" + name.lan_device +
                                            "\": " + vxi11::ErrorText(link.error) + ".");
  }
  *transport = std::make_unique<Vxi11Transport>(name, std::move(core), link);
  return Status();
}

}  // namespace motqr::visa
