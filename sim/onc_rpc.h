// ONC RPC as a server sees it: XDR values read and written by hand, call headers taken apart,
// accepted replies put together, and the record marking of RPC over TCP.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tqrsim::rpc {

// Reads XDR items from a buffer; once something is missing every later read gives 0 / empty
// and ok() is false.
class XdrReader {
 public:
  explicit XdrReader(std::string_view data) : data_(data) {}
  std::uint32_t U32();
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  bool Bool() { return U32() != 0; }
  // Variable-length opaque data or string, refused (ok() false) when longer than `max`.
  std::string_view Opaque(std::size_t max);
  bool ok() const { return ok_; }
  std::string_view rest() const { return data_.substr(pos_); }

 private:
  std::string_view data_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

class XdrWriter {
 public:
  void U32(std::uint32_t value);
  void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
  void Bool(bool value) { U32(value ? 1 : 0); }
  void Opaque(std::string_view bytes);
  const std::string& bytes() const { return out_; }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

// accept_stat of an accepted reply.
enum AcceptStat : std::uint32_t {
  kSuccess = 0,
  kProgramUnavailable = 1,
  kProgramMismatch = 2,
  kProcedureUnavailable = 3,
  kGarbageArguments = 4,
};

struct Call {
  std::uint32_t xid = 0;
  std::uint32_t program = 0;
  std::uint32_t version = 0;
  std::uint32_t procedure = 0;
  std::string_view arguments;
};

// Takes apart a call message; false when it is not a well-formed RPC version 2 call.
bool ParseCall(std::string_view message, Call* call);
// An accepted reply with AUTH_NULL verifier; `results` follow a kSuccess status, and a
// kProgramMismatch status carries the version range `low`..`high`.
std::string AcceptedReply(std::uint32_t xid, AcceptStat status, std::string_view results = {},
                          std::uint32_t low = 0, std::uint32_t high = 0);
// A call message (for registering with a portmapper).
std::string CallMessage(std::uint32_t xid, std::uint32_t program, std::uint32_t version,
                        std::uint32_t procedure, std::string_view arguments);

// Prefixes one record with its single-fragment mark.
std::string MarkRecord(std::string_view record);

// Joins record fragments arriving over a stream into whole records, at most `limit` bytes each.
class RecordAssembler {
 public:
  explicit RecordAssembler(std::size_t limit) : limit_(limit) {}
  void Feed(std::string_view bytes) { buffer_.append(bytes); }
  // Takes the next whole record; false when none is complete yet or the stream is broken
  // (broken() then tells).
  bool Take(std::string* record);
  bool broken() const { return broken_; }

 private:
  std::size_t limit_;
  std::string buffer_;
  std::string record_;
  bool broken_ = false;
};

}  // namespace tqrsim::rpc
