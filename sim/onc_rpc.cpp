#include "sim/onc_rpc.h"

namespace tqrsim::rpc {
namespace {

constexpr std::uint32_t kCallMessage = 0;
constexpr std::uint32_t kReplyMessage = 1;
constexpr std::uint32_t kMessageAccepted = 0;
constexpr std::uint32_t kRpcVersion = 2;
constexpr std::size_t kMaxAuthBody = 400;
constexpr std::uint32_t kLastFragment = 0x80000000u;

std::size_t Padded(std::size_t length) { return (length + 3) & ~std::size_t{3}; }

}  // namespace

std::uint32_t XdrReader::U32() {
  if (!ok_ || data_.size() - pos_ < 4) {
    ok_ = false;
    return 0;
  }
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(data_[pos_++]);
  return value;
}

std::string_view XdrReader::Opaque(std::size_t max) {
  const std::uint32_t length = U32();
  if (!ok_ || length > max || data_.size() - pos_ < Padded(length)) {
    ok_ = false;
    return {};
  }
  std::string_view bytes = data_.substr(pos_, length);
  pos_ += Padded(length);
  return bytes;
}

void XdrWriter::U32(std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out_.push_back(static_cast<char>((value >> shift) & 0xFFu));
  }
}

void XdrWriter::Opaque(std::string_view bytes) {
  U32(static_cast<std::uint32_t>(bytes.size()));
  out_.append(bytes);
  out_.append(Padded(bytes.size()) - bytes.size(), '\0');
}

bool ParseCall(std::string_view message, Call* call) {
  XdrReader in(message);
  call->xid = in.U32();
  if (in.U32() != kCallMessage || in.U32() != kRpcVersion) return false;
  call->program = in.U32();
  call->version = in.U32();
  call->procedure = in.U32();
  for (int auth = 0; auth < 2; ++auth) {  // credential, then verifier
    in.U32();
    in.Opaque(kMaxAuthBody);
  }
  call->arguments = in.rest();
  return in.ok();
}

std::string AcceptedReply(std::uint32_t xid, AcceptStat status, std::string_view results,
                          std::uint32_t low, std::uint32_t high) {
  XdrWriter out;
  out.U32(xid);
  out.U32(kReplyMessage);
  out.U32(kMessageAccepted);
  out.U32(0);  // AUTH_NULL verifier
  out.U32(0);
  out.U32(status);
  if (status == kProgramMismatch) {
    out.U32(low);
    out.U32(high);
  }
  std::string bytes = out.Take();
  if (status == kSuccess) bytes.append(results);
  return bytes;
}

std::string CallMessage(std::uint32_t xid, std::uint32_t program, std::uint32_t version,
                        std::uint32_t procedure, std::string_view arguments) {
  XdrWriter out;
  out.U32(xid);
  out.U32(kCallMessage);
  out.U32(kRpcVersion);
  out.U32(program);
  out.U32(version);
  out.U32(procedure);
  for (int auth = 0; auth < 2; ++auth) {
    out.U32(0);
    out.U32(0);
  }
  std::string bytes = out.Take();
  bytes.append(arguments);
  return bytes;
}

std::string MarkRecord(std::string_view record) {
  XdrWriter mark;
  mark.U32(kLastFragment | static_cast<std::uint32_t>(record.size()));
  std::string bytes = mark.Take();
  bytes.append(record);
  return bytes;
}

bool RecordAssembler::Take(std::string* record) {
  std::size_t pos = 0;
  bool done = false;
  while (!broken_ && !done && buffer_.size() - pos >= 4) {
    XdrReader mark(std::string_view(buffer_).substr(pos, 4));
    const std::uint32_t header = mark.U32();
    const std::size_t length = header & ~kLastFragment;
    if (record_.size() + length > limit_) {
      broken_ = true;
      break;
    }
    if (buffer_.size() - pos - 4 < length) break;
    record_.append(buffer_, pos + 4, length);
    pos += 4 + length;
    done = (header & kLastFragment) != 0;
  }
  buffer_.erase(0, pos);
  if (!done) return false;
  *record = std::move(record_);
  record_.clear();
  return true;
}

}  // namespace tqrsim::rpc
