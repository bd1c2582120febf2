#include "platform/visa/vxi11_protocol.h"

#include <rpc/rpc.h>

#include <limits>

namespace motqr::visa::vxi11 {
namespace {

bool_t Int32(XDR* xdrs, std::int32_t* value) { return xdr_int32_t(xdrs, value); }
bool_t Uint32(XDR* xdrs, std::uint32_t* value) { return xdr_u_int32_t(xdrs, value); }

bool_t Bool(XDR* xdrs, bool* value) {
  bool_t wire = *value ? TRUE : FALSE;
  if (!xdr_bool(xdrs, &wire)) return FALSE;
  *value = wire != FALSE;
  return TRUE;
}

// Opaque data of the calls: only ever encoded.
bool_t EncodeOpaque(XDR* xdrs, std::span<const std::uint8_t> data) {
  if (data.size() > std::numeric_limits<u_int>::max()) return FALSE;
  char* bytes = reinterpret_cast<char*>(const_cast<std::uint8_t*>(data.data()));
  u_int length = static_cast<u_int>(data.size());
  return xdr_bytes(xdrs, &bytes, &length, length);
}

}  // namespace

std::string ErrorText(std::int32_t error) {
  switch (error) {
    case kNoError:
      return "no error";
    case kSyntaxError:
      return "syntax error";
    case kDeviceNotAccessible:
      return "device not accessible";
    case kInvalidLinkId:
      return "invalid link identifier";
    case kParameterError:
      return "parameter error";
    case kChannelNotEstablished:
      return "channel not established";
    case kOperationNotSupported:
      return "operation not supported";
    case kOutOfResources:
      return "out of resources";
    case kDeviceLockedByAnotherLink:
      return "device locked by another link";
    case kNoLockHeldByThisLink:
      return "no lock held by this link";
    case kIoTimeout:
      return "I/O timeout";
    case kIoError:
      return "I/O error";
    case kInvalidAddress:
      return "invalid address";
    case kAbort:
      return "abort";
    case kChannelAlreadyEstablished:
      return "channel already established";
    default:
      return "error " + std::to_string(error);
  }
}

int XdrCreateLinkParms(XDR* xdrs, void* value) {
  auto* parms = static_cast<CreateLinkParms*>(value);
  if (!Int32(xdrs, &parms->client_id) || !Bool(xdrs, &parms->lock_device) ||
      !Uint32(xdrs, &parms->lock_timeout)) {
    return FALSE;
  }
  char* device = parms->device.data();
  return xdr_string(xdrs, &device, static_cast<u_int>(parms->device.size()));
}

int XdrCreateLinkResp(XDR* xdrs, void* value) {
  auto* resp = static_cast<CreateLinkResp*>(value);
  u_short abort_port = resp->abort_port;
  if (!Int32(xdrs, &resp->error) || !Int32(xdrs, &resp->link_id) ||
      !xdr_u_short(xdrs, &abort_port) || !Uint32(xdrs, &resp->max_recv_size)) {
    return FALSE;
  }
  resp->abort_port = abort_port;
  return TRUE;
}

int XdrWriteParms(XDR* xdrs, void* value) {
  auto* parms = static_cast<WriteParms*>(value);
  return Int32(xdrs, &parms->link_id) && Uint32(xdrs, &parms->io_timeout) &&
         Uint32(xdrs, &parms->lock_timeout) && Int32(xdrs, &parms->flags) &&
         EncodeOpaque(xdrs, parms->data);
}

int XdrWriteResp(XDR* xdrs, void* value) {
  auto* resp = static_cast<WriteResp*>(value);
  return Int32(xdrs, &resp->error) && Uint32(xdrs, &resp->size);
}

int XdrReadParms(XDR* xdrs, void* value) {
  auto* parms = static_cast<ReadParms*>(value);
  char term_char = static_cast<char>(parms->term_char);
  return Int32(xdrs, &parms->link_id) && Uint32(xdrs, &parms->request_size) &&
         Uint32(xdrs, &parms->io_timeout) && Uint32(xdrs, &parms->lock_timeout) &&
         Int32(xdrs, &parms->flags) && xdr_char(xdrs, &term_char);
}

int XdrReadResp(XDR* xdrs, void* value) {
  auto* resp = static_cast<ReadResp*>(value);
  if (!Int32(xdrs, &resp->error) || !Int32(xdrs, &resp->reason)) return FALSE;
  if (resp->into.size() > std::numeric_limits<u_int>::max()) return FALSE;
  // xdr_bytes stores into the caller's buffer when given one and refuses more than its size.
  char* into = reinterpret_cast<char*>(resp->into.data());
  u_int count = 0;
  if (!xdr_bytes(xdrs, &into, &count, static_cast<u_int>(resp->into.size()))) return FALSE;
  resp->count = count;
  return TRUE;
}

int XdrReadStbResp(XDR* xdrs, void* value) {
  auto* resp = static_cast<ReadStbResp*>(value);
  u_char stb = resp->stb;
  if (!Int32(xdrs, &resp->error) || !xdr_u_char(xdrs, &stb)) return FALSE;
  resp->stb = stb;
  return TRUE;
}

int XdrGenericParms(XDR* xdrs, void* value) {
  auto* parms = static_cast<GenericParms*>(value);
  return Int32(xdrs, &parms->link_id) && Int32(xdrs, &parms->flags) &&
         Uint32(xdrs, &parms->lock_timeout) && Uint32(xdrs, &parms->io_timeout);
}

int XdrLockParms(XDR* xdrs, void* value) {
  auto* parms = static_cast<LockParms*>(value);
  return Int32(xdrs, &parms->link_id) && Int32(xdrs, &parms->flags) &&
         Uint32(xdrs, &parms->lock_timeout);
}

int XdrInt32(XDR* xdrs, void* value) { return Int32(xdrs, static_cast<std::int32_t*>(value)); }

}  // namespace motqr::visa::vxi11
