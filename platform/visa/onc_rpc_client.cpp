#include "platform/visa/onc_rpc_client.h"

#include <netinet/in.h>
#include <rpc/rpc.h>
// after rpc.h, which it needs
#include <rpc/pmap_prot.h>
#include <sys/socket.h>

#include <cerrno>
#include <limits>

#include "platform/visa/tcp_connect.h"

namespace motqr::visa {
namespace {

// Buffer sizes of the record stream: 0 lets the library choose.
constexpr u_int kDefaultBufferSize = 0;

xdrproc_t AsXdrProc(XdrFunction function) {
  // libtirpc declares its XDR procedures variadic; ours take exactly (XDR*, void*).
  return reinterpret_cast<xdrproc_t>(reinterpret_cast<void (*)()>(function));
}

timeval AsTimeval(ViUInt32 timeout_ms) {
  if (timeout_ms == VI_TMO_INFINITE) {
    return timeval{std::numeric_limits<int>::max(), 0};
  }
  return timeval{static_cast<time_t>(timeout_ms / 1000),
                 static_cast<suseconds_t>((timeout_ms % 1000) * 1000)};
}

int EncodePortmapQuery(XDR* xdrs, void* value) {
  auto* mapping = static_cast<pmap*>(value);
  return xdr_u_long(xdrs, &mapping->pm_prog) && xdr_u_long(xdrs, &mapping->pm_vers) &&
         xdr_u_long(xdrs, &mapping->pm_prot) && xdr_u_long(xdrs, &mapping->pm_port);
}

int DecodeUint32(XDR* xdrs, void* value) {
  return xdr_u_int32_t(xdrs, static_cast<std::uint32_t*>(value));
}

}  // namespace

RpcClient::~RpcClient() { Close(); }

void RpcClient::Close() {
  if (client_ != nullptr) {
    CLNT_DESTROY(client_);
    client_ = nullptr;
  }
  fd_.Reset();
}

Status RpcClient::Connect(const std::string& host, std::uint16_t port, std::uint32_t program,
                          std::uint32_t version, const Deadline& deadline, ViUInt32 timeout_ms) {
  Close();
  endpoint_ = host + " port " + std::to_string(port);
  UniqueFd fd;
  MOTQR_VISA_RETURN_IF_ERROR(ConnectTcp(host, port, deadline, timeout_ms, &fd));
  // The library waits with poll() itself and writes whole records: a blocking socket.
  MOTQR_VISA_RETURN_IF_ERROR(SetBlocking(fd.get(), true));
  sockaddr_storage peer{};
  socklen_t peer_length = sizeof peer;
  if (::getpeername(fd.get(), reinterpret_cast<sockaddr*>(&peer), &peer_length) != 0) {
    return Status(VI_ERROR_IO, "getpeername: " + OsErrorText(errno));
  }
  netbuf address{peer_length, peer_length, &peer};
  client_ =
      clnt_vc_create(fd.get(), &address, program, version, kDefaultBufferSize, kDefaultBufferSize);
  if (client_ == nullptr) {
    return Status(VI_ERROR_IO, "Could not set up the RPC client for " + endpoint_ + ": " +
                                   clnt_spcreateerror("clnt_vc_create"));
  }
  fd_ = std::move(fd);
  return Status();
}

Status RpcClient::Call(std::uint32_t procedure, XdrFunction encode, void* arguments,
                       XdrFunction decode, void* result, ViUInt32 timeout_ms) {
  if (client_ == nullptr) return Status(VI_ERROR_CONN_LOST, "The RPC connection is closed.");
  const clnt_stat outcome =
      clnt_call(client_, procedure, AsXdrProc(encode), static_cast<char*>(arguments),
                AsXdrProc(decode), static_cast<char*>(result), AsTimeval(timeout_ms));
  switch (outcome) {
    case RPC_SUCCESS:
      return Status();
    case RPC_TIMEDOUT:
      return Status(VI_ERROR_TMO);
    case RPC_CANTSEND:
    case RPC_CANTRECV: {
      std::string text = clnt_sperror(client_, "");
      Close();
      return Status(VI_ERROR_CONN_LOST, StatusDescription(VI_ERROR_CONN_LOST) + " RPC to " +
                                            endpoint_ + " failed" + text);
    }
    default:
      return Status(VI_ERROR_IO, "RPC to " + endpoint_ + " failed" + clnt_sperror(client_, ""));
  }
}

Status LookUpRpcPort(const std::string& host, std::uint16_t portmapper_port, std::uint32_t program,
                     std::uint32_t version, const Deadline& deadline, ViUInt32 timeout_ms,
                     std::uint16_t* port) {
  RpcClient portmapper;
  Status status =
      portmapper.Connect(host, portmapper_port, PMAPPROG, PMAPVERS, deadline, timeout_ms);
  if (!status.ok()) {
    return Status(status.code(),
                  "The portmapper of " + host + " did not answer: " + status.message());
  }
  pmap query{program, version, IPPROTO_TCP, 0};
  std::uint32_t found = 0;
  const int left = deadline.RemainingMs();
  status = portmapper.Call(PMAPPROC_GETPORT, EncodePortmapQuery, &query, DecodeUint32, &found,
                           left < 0 ? VI_TMO_INFINITE : static_cast<ViUInt32>(left));
  if (!status.ok()) {
    return Status(status.code(),
                  "The portmapper of " + host + " did not answer: " + status.message());
  }
  if (found == 0 || found > 0xFFFF) {
    return Status(VI_ERROR_RSRC_NFOUND, "The portmapper of " + host +
                                            " has no TCP server registered for RPC program " +
                                            std::to_string(program) + ".");
  }
  *port = static_cast<std::uint16_t>(found);
  return Status();
}

}  // namespace motqr::visa
