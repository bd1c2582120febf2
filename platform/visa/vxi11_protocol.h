// The VXI-11 core and abort channel messages (ONC RPC programs 0x0607AF and 0x0607B0) and
// their XDR encoding, for the calls a message-based instrument client makes.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/visa/onc_rpc_client.h"

namespace motqr::visa::vxi11 {

inline constexpr std::uint32_t kCoreProgram = 0x0607AF;
inline constexpr std::uint32_t kCoreVersion = 1;
inline constexpr std::uint32_t kAbortProgram = 0x0607B0;
inline constexpr std::uint32_t kAbortVersion = 1;

enum Procedure : std::uint32_t {
  kDeviceAbort = 1,  // abort channel
  kCreateLink = 10,
  kDeviceWrite = 11,
  kDeviceRead = 12,
  kDeviceReadStb = 13,
  kDeviceTrigger = 14,
  kDeviceClear = 15,
  kDeviceRemote = 16,
  kDeviceLocal = 17,
  kDeviceLock = 18,
  kDeviceUnlock = 19,
  kDestroyLink = 23,
};

// Operation flags.
inline constexpr std::int32_t kFlagWaitLock = 0x01;
inline constexpr std::int32_t kFlagEnd = 0x08;
inline constexpr std::int32_t kFlagTermCharSet = 0x80;

// Why a device_read stopped.
inline constexpr std::int32_t kReasonRequestCount = 0x01;
inline constexpr std::int32_t kReasonTermChar = 0x02;
inline constexpr std::int32_t kReasonEnd = 0x04;

// Device_ErrorCode values.
enum ErrorCode : std::int32_t {
  kNoError = 0,
  kSyntaxError = 1,
  kDeviceNotAccessible = 3,
  kInvalidLinkId = 4,
  kParameterError = 5,
  kChannelNotEstablished = 6,
  kOperationNotSupported = 8,
  kOutOfResources = 9,
  kDeviceLockedByAnotherLink = 11,
  kNoLockHeldByThisLink = 12,
  kIoTimeout = 15,
  kIoError = 17,
  kInvalidAddress = 21,
  kAbort = 23,
  kChannelAlreadyEstablished = 29,
};

// The server's text for a Device_ErrorCode ("device locked by another link").
std::string ErrorText(std::int32_t error);

struct CreateLinkParms {
  std::int32_t client_id = 0;
  bool lock_device = false;
  std::uint32_t lock_timeout = 0;
  std::string device;
};
struct CreateLinkResp {
  std::int32_t error = 0;
  std::int32_t link_id = 0;
  std::uint16_t abort_port = 0;
  std::uint32_t max_recv_size = 0;
};
struct WriteParms {
  std::int32_t link_id = 0;
  std::uint32_t io_timeout = 0;
  std::uint32_t lock_timeout = 0;
  std::int32_t flags = 0;
  std::span<const std::uint8_t> data;
};
struct WriteResp {
  std::int32_t error = 0;
  std::uint32_t size = 0;
};
struct ReadParms {
  std::int32_t link_id = 0;
  std::uint32_t request_size = 0;
  std::uint32_t io_timeout = 0;
  std::uint32_t lock_timeout = 0;
  std::int32_t flags = 0;
  std::uint8_t term_char = 0;
};
// Decodes the data straight into `into` (at most its size; more is a decode failure).
struct ReadResp {
  std::int32_t error = 0;
  std::int32_t reason = 0;
  std::span<std::uint8_t> into;
  std::uint32_t count = 0;
};
struct ReadStbResp {
  std::int32_t error = 0;
  std::uint8_t stb = 0;
};
struct GenericParms {
  std::int32_t link_id = 0;
  std::int32_t flags = 0;
  std::uint32_t lock_timeout = 0;
  std::uint32_t io_timeout = 0;
};
struct LockParms {
  std::int32_t link_id = 0;
  std::int32_t flags = 0;
  std::uint32_t lock_timeout = 0;
};

// XDR routines for the structures above (and for Device_Link and Device_Error, both one
// 32-bit integer).
int XdrCreateLinkParms(__rpc_xdr* xdrs, void* value);
int XdrCreateLinkResp(__rpc_xdr* xdrs, void* value);
int XdrWriteParms(__rpc_xdr* xdrs, void* value);
int XdrWriteResp(__rpc_xdr* xdrs, void* value);
int XdrReadParms(__rpc_xdr* xdrs, void* value);
int XdrReadResp(__rpc_xdr* xdrs, void* value);
int XdrReadStbResp(__rpc_xdr* xdrs, void* value);
int XdrGenericParms(__rpc_xdr* xdrs, void* value);
int XdrLockParms(__rpc_xdr* xdrs, void* value);
int XdrInt32(__rpc_xdr* xdrs, void* value);

}  // namespace motqr::visa::vxi11
