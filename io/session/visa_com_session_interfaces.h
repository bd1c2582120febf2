// The VISA-specific faces of the VISA-COM session: its VISA-COM objects, the
// resource information, direct I/O, register and memory access, asynchronous
// messages and events. CVisaComSession implements all of them.
#pragma once

#include <cstdint>
#include <string>

#include "io/io_status.h"
#include "platform/com/bstr.h"
#include "platform/com/safearray.h"
#include "platform/visa/visa_com_interfaces.h"

namespace motqr::io {

// The session's interface type, coded from VISA's interface type.
enum class IoInterfaceType : std::int32_t {
  kGpib = 0,
  kVxi = 1,
  kGpibVxi = 2,
  kSerial = 3,
  kPxi = 4,
  kTcpip = 5,
  kUsb = 6,
  kOther = 8,
};

// The VISA-COM objects of the open resource. Each getter adds a reference and
// hands out null, without error, when the object is absent.
class IVisaComSession {
 public:
  virtual HRESULT GetIVisaSessionPointer(visa::IVisaSession** session) = 0;
  virtual HRESULT GetIFormattedIO488Pointer(visa::IFormattedIO488** formatted) = 0;
  virtual HRESULT GetIMessagePointer(visa::IMessage** message) = 0;
  virtual HRESULT GetIAsyncMessagePointer(visa::IAsyncMessage** async_message) = 0;
  virtual HRESULT GetIRegisterPointer(visa::IRegister** reg) = 0;
  virtual HRESULT GetISharedRegisterPointer(visa::ISharedRegister** shared_register) = 0;
  virtual HRESULT GetIEventManagerPointer(visa::IEventManager** event_manager) = 0;

 protected:
  ~IVisaComSession() = default;
};

// What Open found out about the resource.
class IVisaComSessionInfo {
 public:
  virtual HRESULT GetInterfaceType(IoInterfaceType* type) = 0;
  virtual HRESULT GetResourceClass(std::string* resource_class) = 0;
  virtual HRESULT GetResourceName(std::string* resource_name) = 0;

 protected:
  ~IVisaComSessionInfo() = default;
};

// Direct I/O: straight to the VISA message interface, past the formatted I/O
// buffers, without a status poll. Reads collect the whole response in chunks
// of kDirectChunk.
class IVisaComDirectIo {
 public:
  static constexpr std::int32_t kDirectChunk = 4096;
  virtual HRESULT ReadBytes(com::SAFEARRAY** data) = 0;
  virtual HRESULT ReadString(com::BSTR* text) = 0;
  virtual HRESULT WriteBytes(com::SAFEARRAY* data, std::int64_t* written) = 0;
  virtual HRESULT WriteString(const char16_t* text) = 0;

 protected:
  ~IVisaComDirectIo() = default;
};

// Register-based, shared-memory and asynchronous operations. They need the
// optional VISA-COM objects (IRegister, ISharedRegister, IAsyncMessage), which
// no message-based resource offers; without them each answers its "does not
// support" I/O error.
class IVisaComMemoryIo {
 public:
  virtual HRESULT In8(std::int16_t space, std::uint64_t offset, std::uint8_t* value) = 0;
  virtual HRESULT In16(std::int16_t space, std::uint64_t offset, std::int16_t* value) = 0;
  virtual HRESULT In32(std::int16_t space, std::uint64_t offset, std::int32_t* value) = 0;
  virtual HRESULT In64(std::int16_t space, std::uint64_t offset, std::int64_t* value) = 0;
  virtual HRESULT Out8(std::int16_t space, std::uint64_t offset, std::uint8_t value) = 0;
  virtual HRESULT Out16(std::int16_t space, std::uint64_t offset, std::int16_t value) = 0;
  virtual HRESULT Out32(std::int16_t space, std::uint64_t offset, std::int32_t value) = 0;
  virtual HRESULT Out64(std::int16_t space, std::uint64_t offset, std::int64_t value) = 0;
  virtual HRESULT MoveIn8(std::int16_t space, std::uint64_t offset, std::int32_t count,
                          std::uint8_t* data) = 0;
  virtual HRESULT MoveIn16(std::int16_t space, std::uint64_t offset, std::int32_t count,
                           std::int16_t* data) = 0;
  virtual HRESULT MoveIn32(std::int16_t space, std::uint64_t offset, std::int32_t count,
                           std::int32_t* data) = 0;
  virtual HRESULT MoveOut8(std::int16_t space, std::uint64_t offset, std::int32_t count,
                           const std::uint8_t* data) = 0;
  virtual HRESULT MoveOut16(std::int16_t space, std::uint64_t offset, std::int32_t count,
                            const std::int16_t* data) = 0;
  virtual HRESULT MoveOut32(std::int16_t space, std::uint64_t offset, std::int32_t count,
                            const std::int32_t* data) = 0;
  // Widths in bits: 8, 16, 32 or 64.
  virtual HRESULT Move(std::int16_t source_space, std::uint64_t source_offset,
                       std::int32_t source_width, std::int16_t destination_space,
                       std::uint64_t destination_offset, std::int32_t destination_width,
                       std::int32_t count) = 0;
  virtual HRESULT MoveAsync(std::int16_t source_space, std::uint64_t source_offset,
                            std::int32_t source_width, std::int16_t destination_space,
                            std::uint64_t destination_offset, std::int32_t destination_width,
                            std::int32_t count, std::int32_t* job) = 0;
  virtual HRESULT GetSourceBigEndian(bool* big_endian) = 0;
  virtual HRESULT SetSourceBigEndian(bool big_endian) = 0;
  virtual HRESULT GetSourceIncrement(std::int32_t* increment) = 0;
  virtual HRESULT SetSourceIncrement(std::int32_t increment) = 0;
  virtual HRESULT GetDestinationBigEndian(bool* big_endian) = 0;
  virtual HRESULT SetDestinationBigEndian(bool big_endian) = 0;
  virtual HRESULT GetDestinationIncrement(std::int32_t* increment) = 0;
  virtual HRESULT SetDestinationIncrement(std::int32_t increment) = 0;
  virtual HRESULT AllocateMemory(std::int32_t size, std::uint64_t* offset) = 0;
  virtual HRESULT FreeMemory(std::uint64_t offset) = 0;
  virtual HRESULT ReadAsync(std::int32_t count, std::int32_t* job) = 0;
  virtual HRESULT WriteAsync(const std::uint8_t* data, std::int32_t count, std::int32_t* job) = 0;

 protected:
  ~IVisaComMemoryIo() = default;
};

// Events and triggers, forwarded to the resource's IEventManager and IMessage.
enum class IoEventType : std::int32_t {
  kIoCompletion = 0,
  kServiceRequest = 1,
  kTrigger = 2,
  kAllEnabled = 3,
};
enum class IoEventMechanism : std::int32_t {
  kQueue = 0,
  kHandler = 1,
  kSuspendHandler = 2,
  kAll = 3,
};
enum class IoTriggerProtocol : std::int32_t { kDefault = 0, kOn = 1, kOff = 2, kSync = 3 };

class IVisaComEventManager {
 public:
  virtual HRESULT EnableEvent(IoEventType type, IoEventMechanism mechanism) = 0;
  virtual HRESULT DisableEvent(IoEventType type, IoEventMechanism mechanism) = 0;
  virtual HRESULT DiscardEvents(IoEventType type, IoEventMechanism mechanism) = 0;
  virtual HRESULT WaitOnEvent(IoEventType type, std::int32_t timeout) = 0;
  virtual HRESULT AssertTrigger(IoTriggerProtocol protocol) = 0;

 protected:
  ~IVisaComEventManager() = default;
};

}  // namespace motqr::io
