#include "platform/visa/onc_rpc_client.h"

#include <netinet/in.h>
#include <poll.h>
#include <rpc/rpc.h>
#include <sys/socket.h>
#include <unistd.h>
// after rpc.h, which it needs
#include <rpc/pmap_prot.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/visa/tcp_connect.h"

namespace motqr::visa {
namespace {

constexpr std::size_t kReceiveChunk = 64 * 1024;
// The largest record taken or sent (bounded by what a read may ask for).
constexpr std::size_t kMaxRecord = std::size_t{1} << 30;
constexpr std::size_t kCallHeaderSize = 40;

void PutU32(std::uint8_t* out, std::uint32_t value) {
  out[0] = static_cast<std::uint8_t>(value >> 24);
  out[1] = static_cast<std::uint8_t>(value >> 16);
  out[2] = static_cast<std::uint8_t>(value >> 8);
  out[3] = static_cast<std::uint8_t>(value);
}

std::uint32_t GetU32(const std::uint8_t* bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
         (std::uint32_t{bytes[2]} << 8) | bytes[3];
}

xdrproc_t AsXdrProc(XdrFunction function) {
  // libtirpc declares its XDR procedures variadic; ours take exactly (XDR*, void*).
  return reinterpret_cast<xdrproc_t>(reinterpret_cast<void (*)()>(function));
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
  fd_.Reset();
  inbox_begin_ = inbox_end_ = 0;
  record_.clear();
  fragment_left_ = 0;
  fragment_header_read_ = false;
}

Status RpcClient::Lost(std::string_view what) {
  Close();
  return Status(VI_ERROR_CONN_LOST, StatusDescription(VI_ERROR_CONN_LOST) + " RPC to " + endpoint_ +
                                        ": " + std::string(what));
}

Status RpcClient::Connect(const std::string& host, std::uint16_t port, std::uint32_t program,
                          std::uint32_t version, const Deadline& deadline, ViUInt32 timeout_ms) {
  Close();
  endpoint_ = host + " port " + std::to_string(port);
  program_ = program;
  version_ = version;
  // Transaction ids start somewhere else in every connection.
  next_xid_ = static_cast<std::uint32_t>(
      std::chrono::steady_clock::now().time_since_epoch().count() ^ (::getpid() << 16));
  inbox_.resize(kReceiveChunk);
  return ConnectTcp(host, port, deadline, timeout_ms, &fd_);
}

Status RpcClient::SendAll(const std::uint8_t* data, std::size_t size, const Deadline& deadline) {
  while (size > 0) {
    const ssize_t sent = ::send(fd_.get(), data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0) {
      data += sent;
      size -= static_cast<std::size_t>(sent);
      continue;
    }
    if (errno == EPIPE || errno == ECONNRESET) return Lost(OsErrorText(errno) + ".");
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      return Status(VI_ERROR_IO, "send: " + OsErrorText(errno));
    }
    pollfd entry{fd_.get(), POLLOUT, 0};
    const int ready = ::poll(&entry, 1, deadline.RemainingMs());
    if (ready == 0) return Status(VI_ERROR_TMO);
    if (ready < 0 && errno != EINTR) return Status(VI_ERROR_IO, "poll: " + OsErrorText(errno));
  }
  return Status();
}

Status RpcClient::ReceiveRecord(const Deadline& deadline) {
  while (true) {
    // Take what the inbox holds: fragment headers and fragment bytes.
    while (inbox_begin_ < inbox_end_) {
      if (!fragment_header_read_) {
        if (inbox_end_ - inbox_begin_ < 4) break;
        const std::uint32_t mark = GetU32(inbox_.data() + inbox_begin_);
        inbox_begin_ += 4;
        fragment_left_ = mark & 0x7FFFFFFFu;
        last_fragment_ = (mark & 0x80000000u) != 0;
        fragment_header_read_ = true;
        if (record_.size() + fragment_left_ > kMaxRecord) {
          return Lost("a reply of more than " + std::to_string(kMaxRecord) + " bytes.");
        }
      }
      const std::size_t take = std::min(fragment_left_, inbox_end_ - inbox_begin_);
      record_.insert(record_.end(), inbox_.begin() + static_cast<long>(inbox_begin_),
                     inbox_.begin() + static_cast<long>(inbox_begin_ + take));
      inbox_begin_ += take;
      fragment_left_ -= take;
      if (fragment_left_ == 0) {
        fragment_header_read_ = false;
        if (last_fragment_) return Status();
      }
    }
    if (inbox_begin_ == inbox_end_) inbox_begin_ = inbox_end_ = 0;
    if (inbox_begin_ > 0) {  // a partial fragment header: keep it at the front
      std::memmove(inbox_.data(), inbox_.data() + inbox_begin_, inbox_end_ - inbox_begin_);
      inbox_end_ -= inbox_begin_;
      inbox_begin_ = 0;
    }
    // A reply is never there the moment its call went out: wait first, then read.
    pollfd entry{fd_.get(), POLLIN, 0};
    const int ready = ::poll(&entry, 1, deadline.RemainingMs());
    if (ready == 0) return Status(VI_ERROR_TMO);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return Status(VI_ERROR_IO, "poll: " + OsErrorText(errno));
    }
    const ssize_t n =
        ::recv(fd_.get(), inbox_.data() + inbox_end_, inbox_.size() - inbox_end_, MSG_DONTWAIT);
    if (n > 0) {
      inbox_end_ += static_cast<std::size_t>(n);
      continue;
    }
    if (n == 0) return Lost("the instrument closed the connection.");
    if (errno == ECONNRESET) return Lost(OsErrorText(errno) + ".");
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      return Status(VI_ERROR_IO, "recv: " + OsErrorText(errno));
    }
  }
}

Status RpcClient::Call(std::uint32_t procedure, XdrFunction encode, void* arguments,
                       XdrFunction decode, void* result, ViUInt32 timeout_ms) {
  if (!fd_.valid()) return Status(VI_ERROR_CONN_LOST, "The RPC connection is closed.");
  const Deadline deadline(timeout_ms);
  const std::uint32_t xid = next_xid_++;
  // Record mark, then xid, CALL, RPC version 2, program, version, procedure, two AUTH_NULL.
  const std::size_t argument_size = xdr_sizeof(AsXdrProc(encode), arguments);
  const std::size_t size = kCallHeaderSize + argument_size;
  if (size > kMaxRecord)
    return Status(VI_ERROR_IO, "An RPC call of " + std::to_string(size) + " bytes is too large.");
  call_.resize(4 + size);
  std::uint8_t* out = call_.data();
  for (std::uint32_t word : {0x80000000u | static_cast<std::uint32_t>(size), xid, 0u, 2u, program_,
                             version_, procedure, 0u, 0u, 0u, 0u}) {
    PutU32(out, word);
    out += 4;
  }
  XDR encoder;
  xdrmem_create(&encoder, reinterpret_cast<char*>(out), static_cast<u_int>(argument_size),
                XDR_ENCODE);
  if (!encode(&encoder, arguments)) {
    return Status(VI_ERROR_IO, "Could not encode the RPC call to " + endpoint_ + ".");
  }
  MOTQR_VISA_RETURN_IF_ERROR(SendAll(call_.data(), call_.size(), deadline));
  while (true) {
    MOTQR_VISA_RETURN_IF_ERROR(ReceiveRecord(deadline));
    // xid, REPLY, MSG_ACCEPTED, verifier (flavor, length, body), accept status, results
    const std::size_t length = record_.size();
    const std::uint8_t* bytes = record_.data();
    if (length < 12 || GetU32(bytes) != xid) {  // a late reply to an earlier call
      record_.clear();
      continue;
    }
    if (GetU32(bytes + 4) != 1 || GetU32(bytes + 8) != 0) {
      record_.clear();
      return Status(VI_ERROR_IO, "RPC to " + endpoint_ + " was denied.");
    }
    const std::size_t verifier = length >= 20 ? ((GetU32(bytes + 16) + 3u) & ~3u) : length;
    const std::size_t at = 20 + verifier;
    if (verifier > 400 || length < at + 4) {
      record_.clear();
      return Status(VI_ERROR_IO, "RPC to " + endpoint_ + " got a malformed reply.");
    }
    const std::uint32_t accepted = GetU32(bytes + at);
    if (accepted != 0) {
      record_.clear();
      return Status(VI_ERROR_IO, "RPC to " + endpoint_ + " was not accepted (status " +
                                     std::to_string(accepted) + ").");
    }
    XDR decoder;
    xdrmem_create(&decoder, reinterpret_cast<char*>(const_cast<std::uint8_t*>(bytes + at + 4)),
                  static_cast<u_int>(length - at - 4), XDR_DECODE);
    const bool decoded = decode(&decoder, result) != 0;
    record_.clear();
    if (!decoded)
      return Status(VI_ERROR_IO, "RPC to " + endpoint_ + " got results it cannot read.");
    return Status();
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
