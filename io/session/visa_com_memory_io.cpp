// Register, shared-memory, asynchronous and event operations of the VISA-COM
// session. The VISA-COM objects they need (IRegister, ISharedRegister,
// IAsyncMessage) belong to register-based and asynchronous resources; the
// interfaces of this platform declare no members for them, so every such
// operation answers its "does not support" I/O error. Events and triggers go
// to the resource's IEventManager and IMessage.
#include "io/session/visa_com_session.h"

namespace motqr::io {
namespace {

constexpr std::string_view kNoRegister =
    "The VISA-COM session does not support register-based operations.";
constexpr std::string_view kNo64BitRegister =
    "The VISA-COM session does not support 64-bit register-based operations.";
constexpr std::string_view kNoMoveAsync =
    "The VISA-COM session does not support the MoveAsync operation.";
constexpr std::string_view kNoSharedRegister =
    "The VISA-COM session does not support shared memory register-based operations.";
constexpr std::string_view kNoAsyncMessage =
    "The VISA-COM session does not support asynchronous messaging operations.";

bool ToVisaEventType(IoEventType type, visa::EventType* out) {
  switch (type) {
    case IoEventType::kIoCompletion:
      *out = visa::EVENT_IO_COMPLETION;
      return true;
    case IoEventType::kServiceRequest:
      *out = visa::EVENT_SERVICE_REQ;
      return true;
    case IoEventType::kTrigger:
      *out = visa::EVENT_TRIG;
      return true;
    case IoEventType::kAllEnabled:
      *out = visa::ALL_ENABLED_EVENTS;
      return true;
  }
  return false;
}

bool ToVisaMechanism(IoEventMechanism mechanism, visa::EventMechanism* out) {
  switch (mechanism) {
    case IoEventMechanism::kQueue:
      *out = visa::EVENT_QUEUE;
      return true;
    case IoEventMechanism::kHandler:
      *out = visa::EVENT_HNDLR;
      return true;
    case IoEventMechanism::kSuspendHandler:
      *out = visa::EVENT_SUSPEND_HNDLR;
      return true;
    case IoEventMechanism::kAll:
      *out = visa::EVENT_ALL_MECH;
      return true;
  }
  return false;
}

bool ToVisaTriggerProtocol(IoTriggerProtocol protocol, visa::TriggerProtocol* out) {
  switch (protocol) {
    case IoTriggerProtocol::kDefault:
      *out = visa::TRIG_PROT_DEFAULT;
      return true;
    case IoTriggerProtocol::kOn:
      *out = visa::TRIG_PROT_ON;
      return true;
    case IoTriggerProtocol::kOff:
      *out = visa::TRIG_PROT_OFF;
      return true;
    case IoTriggerProtocol::kSync:
      *out = visa::TRIG_PROT_SYNC;
      return true;
  }
  return false;
}

}  // namespace

HRESULT CVisaComSession::NoRegister() {
  if (!IsOpen()) return NotConnected();
  return IoFailure(kNoRegister);
}
HRESULT CVisaComSession::NoSharedRegister() {
  if (!IsOpen()) return NotConnected();
  return IoFailure(kNoSharedRegister);
}
HRESULT CVisaComSession::NoAsyncMessage() {
  if (!IsOpen()) return NotConnected();
  return IoFailure(kNoAsyncMessage);
}

// Register reads and writes of every width.
HRESULT CVisaComSession::In8(std::int16_t, std::uint64_t, std::uint8_t*) { return NoRegister(); }
HRESULT CVisaComSession::In16(std::int16_t, std::uint64_t, std::int16_t*) { return NoRegister(); }
HRESULT CVisaComSession::In32(std::int16_t, std::uint64_t, std::int32_t*) { return NoRegister(); }
HRESULT CVisaComSession::In64(std::int16_t, std::uint64_t, std::int64_t*) {
  if (register_) return IoFailure(kNo64BitRegister);
  return NoRegister();
}
HRESULT CVisaComSession::Out8(std::int16_t, std::uint64_t, std::uint8_t) { return NoRegister(); }
HRESULT CVisaComSession::Out16(std::int16_t, std::uint64_t, std::int16_t) { return NoRegister(); }
HRESULT CVisaComSession::Out32(std::int16_t, std::uint64_t, std::int32_t) { return NoRegister(); }
HRESULT CVisaComSession::Out64(std::int16_t, std::uint64_t, std::int64_t) {
  if (register_) return IoFailure(kNo64BitRegister);
  return NoRegister();
}

// Block moves.
HRESULT CVisaComSession::MoveIn8(std::int16_t, std::uint64_t, std::int32_t, std::uint8_t*) {
  return NoRegister();
}
HRESULT CVisaComSession::MoveIn16(std::int16_t, std::uint64_t, std::int32_t, std::int16_t*) {
  return NoRegister();
}
HRESULT CVisaComSession::MoveIn32(std::int16_t, std::uint64_t, std::int32_t, std::int32_t*) {
  return NoRegister();
}
HRESULT CVisaComSession::MoveOut8(std::int16_t, std::uint64_t, std::int32_t, const std::uint8_t*) {
  return NoRegister();
}
HRESULT CVisaComSession::MoveOut16(std::int16_t, std::uint64_t, std::int32_t, const std::int16_t*) {
  return NoRegister();
}
HRESULT CVisaComSession::MoveOut32(std::int16_t, std::uint64_t, std::int32_t, const std::int32_t*) {
  return NoRegister();
}
HRESULT CVisaComSession::Move(std::int16_t, std::uint64_t, std::int32_t, std::int16_t,
                              std::uint64_t, std::int32_t, std::int32_t) {
  return NoRegister();
}
HRESULT CVisaComSession::MoveAsync(std::int16_t, std::uint64_t, std::int32_t, std::int16_t,
                                   std::uint64_t, std::int32_t, std::int32_t, std::int32_t* job) {
  if (job) *job = 0;
  if (!IsOpen()) return NotConnected();
  return IoFailure(kNoMoveAsync);
}

// Byte order and increment of block moves.
HRESULT CVisaComSession::GetSourceBigEndian(bool*) { return NoRegister(); }
HRESULT CVisaComSession::SetSourceBigEndian(bool) { return NoRegister(); }
HRESULT CVisaComSession::GetSourceIncrement(std::int32_t*) { return NoRegister(); }
HRESULT CVisaComSession::SetSourceIncrement(std::int32_t) { return NoRegister(); }
HRESULT CVisaComSession::GetDestinationBigEndian(bool*) { return NoRegister(); }
HRESULT CVisaComSession::SetDestinationBigEndian(bool) { return NoRegister(); }
HRESULT CVisaComSession::GetDestinationIncrement(std::int32_t*) { return NoRegister(); }
HRESULT CVisaComSession::SetDestinationIncrement(std::int32_t) { return NoRegister(); }

// Shared memory.
HRESULT CVisaComSession::AllocateMemory(std::int32_t, std::uint64_t* offset) {
  if (offset) *offset = 0;
  return NoSharedRegister();
}
HRESULT CVisaComSession::FreeMemory(std::uint64_t) { return NoSharedRegister(); }

// Asynchronous messages.
HRESULT CVisaComSession::ReadAsync(std::int32_t, std::int32_t* job) {
  if (job) *job = 0;
  return NoAsyncMessage();
}
HRESULT CVisaComSession::WriteAsync(const std::uint8_t*, std::int32_t, std::int32_t* job) {
  if (job) *job = 0;
  return NoAsyncMessage();
}

// ---------------------------------------------------------------- events and triggers

HRESULT CVisaComSession::EventCall(HRESULT (visa::IEventManager::*call)(visa::EventType,
                                                                        visa::EventMechanism,
                                                                        std::int32_t),
                                   IoEventType type, IoEventMechanism mechanism) {
  if (!IsOpen()) return NotConnected();
  visa::EventType visa_type{};
  if (!ToVisaEventType(type, &visa_type)) return IoFailure("Unsupported VISA event type.");
  visa::EventMechanism visa_mechanism{};
  if (!ToVisaMechanism(mechanism, &visa_mechanism)) {
    return IoFailure("Unsupported VISA event mechanism.");
  }
  HRESULT hr = (event_manager_.Get()->*call)(visa_type, visa_mechanism, 0);
  return com::Failed(hr) ? VisaFailure(hr) : hr;
}

HRESULT CVisaComSession::EnableEvent(IoEventType type, IoEventMechanism mechanism) {
  return EventCall(&visa::IEventManager::EnableEvent, type, mechanism);
}
HRESULT CVisaComSession::DisableEvent(IoEventType type, IoEventMechanism mechanism) {
  return EventCall(&visa::IEventManager::DisableEvent, type, mechanism);
}
HRESULT CVisaComSession::DiscardEvents(IoEventType type, IoEventMechanism mechanism) {
  return EventCall(&visa::IEventManager::DiscardEvents, type, mechanism);
}

HRESULT CVisaComSession::WaitOnEvent(IoEventType type, std::int32_t timeout) {
  if (!IsOpen()) return NotConnected();
  visa::EventType visa_type{};
  if (!ToVisaEventType(type, &visa_type)) return IoFailure("Unsupported VISA event type.");
  com::ComPtr<visa::IEvent> event;
  HRESULT hr = event_manager_->WaitOnEvent(timeout, visa_type, 0, event.Put());
  return com::Failed(hr) ? VisaFailure(hr) : hr;
}

HRESULT CVisaComSession::AssertTrigger(IoTriggerProtocol protocol) {
  if (!IsOpen()) return NotConnected();
  visa::TriggerProtocol visa_protocol{};
  if (!ToVisaTriggerProtocol(protocol, &visa_protocol)) {
    return IoFailure("Unsupported VISA trigger protocol.");
  }
  HRESULT hr = message_->AssertTrigger(visa_protocol);
  return com::Failed(hr) ? VisaFailure(hr) : hr;
}

}  // namespace motqr::io
