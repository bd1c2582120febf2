// A client of one ONC RPC program over TCP: connects within a deadline, makes calls that each
// end within their own time-out, and finds a program's port through the host's portmapper.
// The call and reply headers and the record marking are done here over a non-blocking socket
// (no locking or signal masking per call); the arguments and results go through libtirpc's
// XDR routines on memory. A reply that arrives after its call timed out is skipped by its
// transaction id when the next call reads its own.
//
//   RpcClient client;
//   Status status = client.Connect(host, port, kProgram, kVersion, Deadline(2000), 2000);
//   status = client.Call(kProcedure, EncodeArgs, &args, DecodeResult, &result, 1000);
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/visa/deadline.h"
#include "platform/visa/status.h"
#include "platform/visa/unique_fd.h"

// libtirpc's XDR stream.
struct __rpc_xdr;

namespace motqr::visa {

// Encodes or decodes one value; the XDR stream's direction decides which.
using XdrFunction = int (*)(struct __rpc_xdr* xdrs, void* value);

// The port of the standard portmapper.
inline constexpr std::uint16_t kPortmapperPort = 111;

class RpcClient {
 public:
  RpcClient() = default;
  ~RpcClient();
  RpcClient(const RpcClient&) = delete;
  RpcClient& operator=(const RpcClient&) = delete;

  Status Connect(const std::string& host, std::uint16_t port, std::uint32_t program,
                 std::uint32_t version, const Deadline& deadline, ViUInt32 timeout_ms);
  // VI_ERROR_TMO when no reply came within `timeout_ms` (VI_TMO_INFINITE waits for ever);
  // VI_ERROR_CONN_LOST when the connection broke; VI_ERROR_IO for any other RPC failure.
  Status Call(std::uint32_t procedure, XdrFunction encode, void* arguments, XdrFunction decode,
              void* result, ViUInt32 timeout_ms);
  bool connected() const { return fd_.valid(); }
  void Close();

 private:
  Status SendAll(const std::uint8_t* data, std::size_t size, const Deadline& deadline);
  // Completes the next reply record into record_; what arrived stays for the next call when
  // the deadline passes first.
  Status ReceiveRecord(const Deadline& deadline);
  Status Lost(std::string_view what);

  UniqueFd fd_;
  std::string endpoint_;
  std::uint32_t program_ = 0;
  std::uint32_t version_ = 0;
  std::uint32_t next_xid_ = 0;
  std::vector<std::uint8_t> call_;   // the call record being sent (storage reused)
  std::vector<std::uint8_t> inbox_;  // bytes received, [inbox_begin_, inbox_end_) not taken
  std::size_t inbox_begin_ = 0;
  std::size_t inbox_end_ = 0;
  std::vector<std::uint8_t> record_;  // the record being assembled from its fragments
  std::size_t fragment_left_ = 0;
  bool fragment_header_read_ = false;
  bool last_fragment_ = false;
};

// Asks the portmapper at `host`:`portmapper_port` for the TCP port of `program`/`version`.
// A program the host does not offer fails with VI_ERROR_RSRC_NFOUND.
Status LookUpRpcPort(const std::string& host, std::uint16_t portmapper_port, std::uint32_t program,
                     std::uint32_t version, const Deadline& deadline, ViUInt32 timeout_ms,
                     std::uint16_t* port);

}  // namespace motqr::visa
