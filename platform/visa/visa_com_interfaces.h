// The VISA-COM interfaces the driver's I/O session uses, in the member order of the VISA COM
// 3.0 type library (slot 3 is the first member after IUnknown). "long" there is 32 bits and
// "short" 16 bits on every platform, so they are std::int32_t and std::int16_t here.
//
// The identifiers and member orders of IVisaSession, IBaseMessage, IMessage and
// IFormattedIO488, and the class identifiers of ResourceManager and FormattedIO488, are the
// published ones. IResourceManager and IEventManager follow VISA-COM's member lists as this
// layer knows them; their interface identifiers, and those of the interfaces no resource here
// offers (IAsyncMessage, IRegister, ISharedRegister, IEvent, IEventHandler), are values of
// this layer's choosing within the VISA-COM family. Nothing outside this process sees them.
//
//   ComPtr<IResourceManager> rm;   // CoCreateInstance(kClsidResourceManager, ...)
//   ComPtr<IVisaSession> session;
//   rm->Open(resource, NO_LOCK, 2000, options, session.Put());
//   ComPtr<IMessage> message;
//   session.As(&message);
//   message->WriteString(command, &count);
#pragma once

#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/safearray.h"
#include "platform/com/unknown.h"
#include "platform/com/variant.h"

namespace motqr::visa {

using com::BSTR;
using com::HRESULT;
using com::IID;
using com::SAFEARRAY;
using com::VARIANT;
using com::VARIANT_BOOL;

// The identifier family of VISA-COM: DB8CBFxx-D6D3-11D4-AA51-00A024EE30BD.
constexpr IID VisaComGuid(std::uint8_t xx) {
  return IID{0xDB8CBF00U | xx, 0xD6D3, 0x11D4, {0xAA, 0x51, 0x00, 0xA0, 0x24, 0xEE, 0x30, 0xBD}};
}

// Enumerations (32-bit).
enum AccessMode : std::int32_t {
  NO_LOCK = 0,
  EXCLUSIVE_LOCK = 1,
  SHARED_LOCK = 2,
  LOAD_CONFIG = 4,
};
enum IOProtocol : std::int32_t {
  PROT_NORMAL = 1,
  PROT_FDC = 2,
  PROT_HS488 = 3,
  PROT_4882_STRS = 4,
  PROT_USBTMC_VENDOR = 5,
};
enum TriggerProtocol : std::int32_t {
  TRIG_PROT_DEFAULT = 0,
  TRIG_PROT_ON = 1,
  TRIG_PROT_OFF = 2,
  TRIG_PROT_SYNC = 5,
};
enum BufferMask : std::int32_t {
  IO_IN_BUF = 0x10,
  IO_OUT_BUF = 0x20,
  IO_IN_AND_OUT_BUFS = 0x30,
};
enum IEEEASCIIType : std::int32_t {
  ASCIIType_I2 = 2,
  ASCIIType_I4 = 3,
  ASCIIType_R4 = 4,
  ASCIIType_R8 = 5,
  ASCIIType_BSTR = 8,
  ASCIIType_Any = 12,
  ASCIIType_UI1 = 17,
};
enum IEEEBinaryType : std::int32_t {
  BinaryType_I2 = 2,
  BinaryType_I4 = 3,
  BinaryType_R4 = 4,
  BinaryType_R8 = 5,
  BinaryType_UI1 = 17,
};
enum HardwareInterfaceType : std::int32_t {
  INTF_GPIB = 1,
  INTF_VXI = 2,
  INTF_GPIB_VXI = 3,
  INTF_ASRL = 4,
  INTF_PXI = 5,
  INTF_TCPIP = 6,
  INTF_USB = 7,
};
enum EventType : std::int32_t {
  EVENT_IO_COMPLETION = 0x3FFF2009,
  EVENT_SERVICE_REQ = 0x3FFF200B,
  EVENT_TRIG = static_cast<std::int32_t>(0xBFFF200AU),
  ALL_ENABLED_EVENTS = 0x3FFF7FFF,
};
enum EventMechanism : std::int32_t {
  EVENT_QUEUE = 1,
  EVENT_HNDLR = 2,
  EVENT_SUSPEND_HNDLR = 4,
  EVENT_ALL_MECH = 0xFFFF,
};

class IVisaSession : public com::IUnknown {
 public:
  static constexpr IID kIid = VisaComGuid(0x03);
  virtual HRESULT get_ComponentVersion(std::int32_t* version) = 0;
  virtual HRESULT get_SpecVersion(std::int32_t* version) = 0;
  virtual HRESULT get_HardwareInterfaceName(BSTR* name) = 0;
  virtual HRESULT get_HardwareInterfaceNumber(std::int16_t* number) = 0;
  virtual HRESULT get_HardwareInterfaceType(std::int16_t* type) = 0;
  virtual HRESULT get_LockState(AccessMode* state) = 0;
  virtual HRESULT get_OptionString(BSTR* options) = 0;
  virtual HRESULT get_ProgID(BSTR* prog_id) = 0;
  virtual HRESULT get_ResourceName(BSTR* name) = 0;
  virtual HRESULT get_SessionType(BSTR* type) = 0;
  virtual HRESULT get_SoftwareManufacturerID(std::int16_t* id) = 0;
  virtual HRESULT get_SoftwareManufacturerName(BSTR* name) = 0;
  virtual HRESULT get_Timeout(std::int32_t* timeout) = 0;
  virtual HRESULT put_Timeout(std::int32_t timeout) = 0;
  virtual HRESULT get_LastStatus(HRESULT* status) = 0;
  virtual HRESULT GetAttribute(std::int32_t attribute, VARIANT* attr_state) = 0;
  virtual HRESULT SetAttribute(std::int32_t attribute, VARIANT attr_state) = 0;
  virtual HRESULT LockRsrc(AccessMode type, std::int32_t lock_timeout, BSTR requested_key,
                           BSTR* access_key) = 0;
  virtual HRESULT UnlockRsrc() = 0;
  virtual HRESULT Init(BSTR resource_name, AccessMode mode, std::int32_t init_timeout,
                       BSTR option_string) = 0;
  virtual HRESULT Close() = 0;

 protected:
  ~IVisaSession() = default;
};

class IBaseMessage : public IVisaSession {
 public:
  static constexpr IID kIid = VisaComGuid(0x04);
  virtual HRESULT get_IOProtocol(IOProtocol* protocol) = 0;
  virtual HRESULT put_IOProtocol(IOProtocol protocol) = 0;
  virtual HRESULT get_SendEndEnabled(VARIANT_BOOL* enabled) = 0;
  virtual HRESULT put_SendEndEnabled(VARIANT_BOOL enabled) = 0;
  virtual HRESULT get_TerminationCharacter(std::uint8_t* termchar) = 0;
  virtual HRESULT put_TerminationCharacter(std::uint8_t termchar) = 0;
  virtual HRESULT get_TerminationCharacterEnabled(VARIANT_BOOL* enabled) = 0;
  virtual HRESULT put_TerminationCharacterEnabled(VARIANT_BOOL enabled) = 0;
  virtual HRESULT AssertTrigger(TriggerProtocol protocol) = 0;
  virtual HRESULT Clear() = 0;
  virtual HRESULT ReadSTB(std::int16_t* status_byte) = 0;

 protected:
  ~IBaseMessage() = default;
};

class IMessage : public IBaseMessage {
 public:
  static constexpr IID kIid = VisaComGuid(0x05);
  // Reads up to `count` bytes into a new one-dimensional byte array (zero-based).
  virtual HRESULT Read(std::int32_t count, SAFEARRAY** buffer) = 0;
  virtual HRESULT ReadString(std::int32_t count, BSTR* buffer) = 0;
  // Writes the first `count` bytes of the byte array `*buffer`.
  virtual HRESULT Write(SAFEARRAY** buffer, std::int32_t count, std::int32_t* ret_count) = 0;
  virtual HRESULT WriteString(BSTR buffer, std::int32_t* ret_count) = 0;

 protected:
  ~IMessage() = default;
};

// IMessage's reads and writes with the caller's storage in place of a new byte array, for
// callers in this process: the same bytes, statuses and error objects as Read and Write.
// Sessions opened by this layer offer it; a caller falls back on IMessage where it is refused.
class IMessageBytes : public com::IUnknown {
 public:
  static constexpr IID kIid = VisaComGuid(0x0C);  // value of this layer's choosing
  // Reads up to `count` bytes into `buffer` (which holds `count`); *ret_count gets how many.
  virtual HRESULT ReadBytes(std::int32_t count, std::uint8_t* buffer, std::int32_t* ret_count) = 0;
  // Writes the `count` bytes at `data`.
  virtual HRESULT WriteBytes(const std::uint8_t* data, std::int32_t count,
                             std::int32_t* ret_count) = 0;

 protected:
  ~IMessageBytes() = default;
};

// Event objects and handlers: no resource here raises events, so they stay opaque.
class IEvent : public com::IUnknown {
 public:
  static constexpr IID kIid = VisaComGuid(0x0A);  // value of this layer's choosing

 protected:
  ~IEvent() = default;
};
class IEventHandler : public com::IUnknown {
 public:
  static constexpr IID kIid = VisaComGuid(0x0B);  // value of this layer's choosing

 protected:
  ~IEventHandler() = default;
};

class IEventManager : public IVisaSession {
 public:
  static constexpr IID kIid = VisaComGuid(0x09);  // value of this layer's choosing
  virtual HRESULT EnableEvent(EventType type, EventMechanism mechanism,
                              std::int32_t custom_event_type) = 0;
  virtual HRESULT DisableEvent(EventType type, EventMechanism mechanism,
                               std::int32_t custom_event_type) = 0;
  virtual HRESULT DiscardEvents(EventType type, EventMechanism mechanism,
                                std::int32_t custom_event_type) = 0;
  virtual HRESULT WaitOnEvent(std::int32_t wait_timeout, EventType type,
                              std::int32_t custom_event_type, IEvent** event) = 0;
  virtual HRESULT InstallHandler(EventType type, IEventHandler* handler, std::int32_t user_handle,
                                 std::int32_t custom_event_type) = 0;
  virtual HRESULT UninstallHandler(EventType type, std::int32_t user_handle,
                                   std::int32_t custom_event_type) = 0;

 protected:
  ~IEventManager() = default;
};

// Interfaces of register-based and asynchronous resources. No resource of this layer offers
// them (QueryInterface answers E_NOINTERFACE), so only their identifiers are declared.
class IAsyncMessage : public com::IUnknown {
 public:
  static constexpr IID kIid = VisaComGuid(0x06);  // value of this layer's choosing

 protected:
  ~IAsyncMessage() = default;
};
class IRegister : public com::IUnknown {
 public:
  static constexpr IID kIid = VisaComGuid(0x07);  // value of this layer's choosing

 protected:
  ~IRegister() = default;
};
class ISharedRegister : public com::IUnknown {
 public:
  static constexpr IID kIid = VisaComGuid(0x08);  // value of this layer's choosing

 protected:
  ~ISharedRegister() = default;
};

class IFormattedIO488 : public com::IUnknown {
 public:
  static constexpr IID kIid = VisaComGuid(0x1A);
  virtual HRESULT get_IO(IMessage** io) = 0;
  virtual HRESULT putref_IO(IMessage* io) = 0;
  virtual HRESULT get_InstrumentBigEndian(VARIANT_BOOL* big_endian) = 0;
  virtual HRESULT put_InstrumentBigEndian(VARIANT_BOOL big_endian) = 0;
  virtual HRESULT WriteString(BSTR data, VARIANT_BOOL flush_and_end) = 0;
  virtual HRESULT WriteNumber(VARIANT data, IEEEASCIIType type, VARIANT_BOOL flush_and_end) = 0;
  virtual HRESULT WriteList(VARIANT* data, IEEEASCIIType type, BSTR list_separator,
                            VARIANT_BOOL flush_and_end) = 0;
  virtual HRESULT WriteIEEEBlock(BSTR command, VARIANT data, VARIANT_BOOL flush_and_end) = 0;
  virtual HRESULT ReadString(BSTR* data) = 0;
  virtual HRESULT ReadNumber(IEEEASCIIType type, VARIANT_BOOL flush_to_end, VARIANT* data) = 0;
  virtual HRESULT ReadList(IEEEASCIIType type, BSTR list_separator, VARIANT* data) = 0;
  virtual HRESULT ReadIEEEBlock(IEEEBinaryType type, VARIANT_BOOL seek_to_block,
                                VARIANT_BOOL flush_to_end, VARIANT* data) = 0;
  virtual HRESULT FlushWrite(VARIANT_BOOL send_end) = 0;
  virtual HRESULT FlushRead() = 0;
  virtual HRESULT SetBufferSize(BufferMask mask, std::int32_t size) = 0;

 protected:
  ~IFormattedIO488() = default;
};

class IResourceManager : public com::IUnknown {
 public:
  static constexpr IID kIid = VisaComGuid(0x02);  // value of this layer's choosing
  virtual HRESULT get_ComponentVersion(std::int32_t* version) = 0;
  virtual HRESULT get_ProgID(BSTR* prog_id) = 0;
  virtual HRESULT get_SoftwareManufacturerID(std::int16_t* id) = 0;
  virtual HRESULT get_SoftwareManufacturerName(BSTR* name) = 0;
  virtual HRESULT FindRsrc(BSTR expression, SAFEARRAY** find_list) = 0;
  virtual HRESULT Open(BSTR resource_name, AccessMode mode, std::int32_t open_timeout,
                       BSTR option_string, IVisaSession** session) = 0;
  virtual HRESULT ParseRsrc(BSTR resource_name, std::int16_t* interface_type,
                            std::int16_t* interface_number, BSTR* session_type) = 0;
  virtual HRESULT ParseRsrcEx(BSTR resource_name, std::int16_t* interface_type,
                              std::int16_t* interface_number, BSTR* session_type,
                              BSTR* unaliased_expanded_name, BSTR* alias_if_exists) = 0;

 protected:
  ~IResourceManager() = default;
};

// Class identifiers.
inline constexpr com::CLSID kClsidResourceManager = VisaComGuid(0x1C);
inline constexpr com::CLSID kClsidFormattedIO488 = VisaComGuid(0x1D);
// The alternative resource manager the driver tries when the first cannot be created.
inline constexpr com::CLSID kClsidResourceManagerAlternate{
    0x6D6F7471, 0x7669, 0x7361, {0x52, 0x4D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02}};

}  // namespace motqr::visa
