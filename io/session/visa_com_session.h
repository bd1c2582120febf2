// CVisaComSession: the I/O session over VISA-COM -- the global resource
// manager opens the resource, IMessage carries the bytes, FormattedIO488 is
// offered to direct-I/O callers.
//
//   visa::RegisterVisaComClasses();          // once per process
//   CVisaComSession session;
//   HRESULT hr = session.Open("TCPIP::127.0.0.1::5025::SOCKET", &poller, &reporter, &enums);
//   std::string idn;
//   hr = session.QueryStringNoPoll("*IDN?", &idn, io::kTmoKeep);
//   session.Close();
//
// Serial resources and TCPIP sockets get the line-feed termination character
// and END on writes at Open. VISA-COM reads that end at the termination
// character answer S_OK, reads that stop at their count S_MORE_DATA. A failed
// VISA-COM call is reported as the I/O error (the I/O time-out error for
// E_VISA_TMO) with the library's description and returned as that code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "io/session/generic_io_session.h"
#include "io/session/visa_com_session_interfaces.h"
#include "platform/com/com_ptr.h"

namespace motqr::io {

class CVisaComSession final : public CIoSession,
                              public IVisaComSession,
                              public IVisaComSessionInfo,
                              public IVisaComDirectIo,
                              public IVisaComMemoryIo,
                              public IVisaComEventManager {
 public:
  // The open time-out handed to the resource manager.
  static constexpr std::int32_t kOpenTimeout = 2000;

  CVisaComSession() = default;
  ~CVisaComSession();

  using CIoSession::ReadBytes;
  using CIoSession::ReadString;
  using CIoSession::WriteBytes;
  using CIoSession::WriteString;

  // IIoSession: lifecycle, device, time-out, termination character, locks.
  HRESULT Open(std::string_view resource_name, IInstrErrorPoller* poller,
               errors::IErrorReporter* reporter, IEnumFormatter* enums) override;
  HRESULT Close() override;
  HRESULT ReadStatusByte(std::int16_t* status_byte) override;
  HRESULT Clear() override;
  HRESULT SetTimeout(std::int32_t timeout) override;
  HRESULT GetTimeout(std::int32_t* timeout) override;
  HRESULT SetTerminationCharacter(std::uint8_t c) override;
  HRESULT GetTerminationCharacter(std::uint8_t* c) override;
  HRESULT SetTerminationCharacterEnabled(bool enabled) override;
  HRESULT GetTerminationCharacterEnabled(bool* enabled) override;
  HRESULT Lock(std::int32_t mode, std::int32_t timeout, std::string_view requested_key,
               std::string* access_key) override;
  HRESULT Unlock() override;

  // ILowLevelIo
  HRESULT SetSendEndEnabled(bool enabled) override;
  HRESULT GetSendEndEnabled(bool* enabled) override;
  HRESULT LowLevelRead(std::int32_t count, com::SAFEARRAY** data, std::int32_t timeout) override;
  HRESULT LowLevelRead(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                       std::int32_t timeout) override;
  HRESULT LowLevelReadNoPoll(std::int32_t count, com::SAFEARRAY** data,
                             std::int32_t timeout) override;
  HRESULT LowLevelReadNoPoll(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                             std::int32_t timeout) override;
  HRESULT LowLevelReadString(std::int32_t count, com::BSTR* text, std::int32_t timeout) override;
  HRESULT LowLevelReadString(std::int32_t count, std::string* text, std::int32_t timeout) override;
  HRESULT LowLevelReadStringNoPoll(std::int32_t count, com::BSTR* text,
                                   std::int32_t timeout) override;
  HRESULT LowLevelReadStringNoPoll(std::int32_t count, std::string* text,
                                   std::int32_t timeout) override;
  HRESULT LowLevelWrite(com::SAFEARRAY* data, std::int32_t count, std::int32_t* written,
                        std::int32_t timeout) override;
  HRESULT LowLevelWrite(const std::uint8_t* buffer, std::int32_t count, std::int32_t* written,
                        std::int32_t timeout) override;
  HRESULT LowLevelWriteNoPoll(com::SAFEARRAY* data, std::int32_t count, std::int32_t* written,
                              std::int32_t timeout) override;
  HRESULT LowLevelWriteNoPoll(const std::uint8_t* buffer, std::int32_t count, std::int32_t* written,
                              std::int32_t timeout) override;
  HRESULT LowLevelWriteString(const char16_t* text, std::int32_t* written,
                              std::int32_t timeout) override;
  HRESULT LowLevelWriteString(const std::string& text, std::int32_t* written,
                              std::int32_t timeout) override;
  HRESULT LowLevelWriteStringNoPoll(const char16_t* text, std::int32_t* written,
                                    std::int32_t timeout) override;
  HRESULT LowLevelWriteStringNoPoll(const std::string& text, std::int32_t* written,
                                    std::int32_t timeout) override;

  // IVisaComSession
  HRESULT GetIVisaSessionPointer(visa::IVisaSession** session) override;
  HRESULT GetIFormattedIO488Pointer(visa::IFormattedIO488** formatted) override;
  HRESULT GetIMessagePointer(visa::IMessage** message) override;
  HRESULT GetIAsyncMessagePointer(visa::IAsyncMessage** async_message) override;
  HRESULT GetIRegisterPointer(visa::IRegister** reg) override;
  HRESULT GetISharedRegisterPointer(visa::ISharedRegister** shared_register) override;
  HRESULT GetIEventManagerPointer(visa::IEventManager** event_manager) override;

  // IVisaComSessionInfo
  HRESULT GetInterfaceType(IoInterfaceType* type) override;
  HRESULT GetResourceClass(std::string* resource_class) override;
  HRESULT GetResourceName(std::string* resource_name) override;

  // IVisaComDirectIo
  HRESULT ReadBytes(com::SAFEARRAY** data) override;
  HRESULT ReadString(com::BSTR* text) override;
  HRESULT WriteBytes(com::SAFEARRAY* data, std::int64_t* written) override;
  HRESULT WriteString(const char16_t* text) override;

  // IVisaComMemoryIo
  HRESULT In8(std::int16_t space, std::uint64_t offset, std::uint8_t* value) override;
  HRESULT In16(std::int16_t space, std::uint64_t offset, std::int16_t* value) override;
  HRESULT In32(std::int16_t space, std::uint64_t offset, std::int32_t* value) override;
  HRESULT In64(std::int16_t space, std::uint64_t offset, std::int64_t* value) override;
  HRESULT Out8(std::int16_t space, std::uint64_t offset, std::uint8_t value) override;
  HRESULT Out16(std::int16_t space, std::uint64_t offset, std::int16_t value) override;
  HRESULT Out32(std::int16_t space, std::uint64_t offset, std::int32_t value) override;
  HRESULT Out64(std::int16_t space, std::uint64_t offset, std::int64_t value) override;
  HRESULT MoveIn8(std::int16_t space, std::uint64_t offset, std::int32_t count,
                  std::uint8_t* data) override;
  HRESULT MoveIn16(std::int16_t space, std::uint64_t offset, std::int32_t count,
                   std::int16_t* data) override;
  HRESULT MoveIn32(std::int16_t space, std::uint64_t offset, std::int32_t count,
                   std::int32_t* data) override;
  HRESULT MoveOut8(std::int16_t space, std::uint64_t offset, std::int32_t count,
                   const std::uint8_t* data) override;
  HRESULT MoveOut16(std::int16_t space, std::uint64_t offset, std::int32_t count,
                    const std::int16_t* data) override;
  HRESULT MoveOut32(std::int16_t space, std::uint64_t offset, std::int32_t count,
                    const std::int32_t* data) override;
  HRESULT Move(std::int16_t source_space, std::uint64_t source_offset, std::int32_t source_width,
               std::int16_t destination_space, std::uint64_t destination_offset,
               std::int32_t destination_width, std::int32_t count) override;
  HRESULT MoveAsync(std::int16_t source_space, std::uint64_t source_offset,
                    std::int32_t source_width, std::int16_t destination_space,
                    std::uint64_t destination_offset, std::int32_t destination_width,
                    std::int32_t count, std::int32_t* job) override;
  HRESULT GetSourceBigEndian(bool* big_endian) override;
  HRESULT SetSourceBigEndian(bool big_endian) override;
  HRESULT GetSourceIncrement(std::int32_t* increment) override;
  HRESULT SetSourceIncrement(std::int32_t increment) override;
  HRESULT GetDestinationBigEndian(bool* big_endian) override;
  HRESULT SetDestinationBigEndian(bool big_endian) override;
  HRESULT GetDestinationIncrement(std::int32_t* increment) override;
  HRESULT SetDestinationIncrement(std::int32_t increment) override;
  HRESULT AllocateMemory(std::int32_t size, std::uint64_t* offset) override;
  HRESULT FreeMemory(std::uint64_t offset) override;
  HRESULT ReadAsync(std::int32_t count, std::int32_t* job) override;
  HRESULT WriteAsync(const std::uint8_t* data, std::int32_t count, std::int32_t* job) override;

  // IVisaComEventManager
  HRESULT EnableEvent(IoEventType type, IoEventMechanism mechanism) override;
  HRESULT DisableEvent(IoEventType type, IoEventMechanism mechanism) override;
  HRESULT DiscardEvents(IoEventType type, IoEventMechanism mechanism) override;
  HRESULT WaitOnEvent(IoEventType type, std::int32_t timeout) override;
  HRESULT AssertTrigger(IoTriggerProtocol protocol) override;

 protected:
  HRESULT TransportGetTimeout(std::int32_t* timeout) override;
  HRESULT TransportSetTimeout(std::int32_t timeout) override;

 private:
  HRESULT CreateResourceManager(com::ComPtr<visa::IResourceManager>* manager);
  HRESULT OpenResource(visa::IResourceManager* manager, std::string_view resource_name);
  HRESULT FindMessageInterfaces();
  HRESULT CreateFormattedIo();
  HRESULT ConfigureByInterfaceType();
  void ReleaseVisaObjects();

  // A failed VISA-COM call `hr`, reported as the I/O (or I/O time-out) error.
  HRESULT VisaFailure(HRESULT hr, std::string_view extra = {});
  // The I/O error with a fixed text of this session.
  HRESULT IoFailure(std::string_view text);
  HRESULT ReadCore(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                   std::int32_t timeout);
  HRESULT ReadIntoString(std::int32_t count, std::string* text, std::int32_t timeout);
  // Direct I/O: a whole response, read in chunks of kDirectChunk bytes.
  HRESULT ReadResponse(std::string* collected);
  HRESULT WriteCore(const std::uint8_t* buffer, std::int32_t count, std::int32_t* written,
                    std::int32_t timeout);
  HRESULT WriteFromArray(com::SAFEARRAY* data, std::int32_t count, std::int32_t* written,
                         std::int32_t timeout);
  HRESULT ThenPoll(HRESULT hr);
  HRESULT TransportDiscardInput(std::int32_t quiet_ms) override;
  HRESULT SerialEndIn(bool enabled);
  HRESULT NoRegister();
  HRESULT NoSharedRegister();
  HRESULT NoAsyncMessage();
  HRESULT EventCall(HRESULT (visa::IEventManager::*call)(visa::EventType, visa::EventMechanism,
                                                         std::int32_t),
                    IoEventType type, IoEventMechanism mechanism);

  com::ComPtr<visa::IVisaSession> visa_session_;
  com::ComPtr<visa::IFormattedIO488> formatted_;
  com::ComPtr<visa::IMessage> message_;
  // The same transfers without a byte array each (null when the session does not offer it).
  com::ComPtr<visa::IMessageBytes> message_bytes_;
  com::ComPtr<visa::IAsyncMessage> async_message_;
  com::SafeArray write_array_;  // the bytes of the last short write, reused for one as long
  com::ComPtr<visa::IRegister> register_;
  com::ComPtr<visa::ISharedRegister> shared_register_;
  com::ComPtr<visa::IEventManager> event_manager_;
  IoInterfaceType interface_type_ = IoInterfaceType::kOther;
  std::string resource_class_;
  std::string resource_name_;
  bool serial_end_in_off_ = false;  // switched off with the termination character
};

}  // namespace motqr::io
