#include "io/session/generic_io_session.h"

#include <algorithm>
#include <optional>
#include <string>
#include <variant>

#include "errors/status_codes.h"
#include "io/input/number_reader.h"
#include "io/input/typed_read.h"
#include "platform/visa/escaped_text.h"

namespace motqr::io {

using com::Failed;
using com::S_OK;
using com::Succeeded;

namespace {

// Longest part of a reply shown in a description.
constexpr std::size_t kShownReply = 80;

// `bytes` as a C string literal would write them, cut after kShownReply
// characters: "1.5\n", "\x01\xFF".
std::string EscapedReply(std::string_view bytes) {
  std::string out;
  for (const char ch : bytes) {
    if (out.size() >= kShownReply) {
      out += "...";
      break;
    }
    visa::AppendEscaped(&out, static_cast<unsigned char>(ch));
  }
  return out;
}

// How the typed number reads read their number.
const ScanFailure kTypedNumber{"%e", "a real number"};

// The reply format most queries use, and what a failure of its one directive reports.
constexpr std::string_view kRealReply = "%lf";
const ScanFailure kRealReplyFailure{"%lf", "a real number"};

// The destination of a reply read with kRealReply alone, when it is one the
// short cut may write: a double that is there.
double* SingleRealTarget(std::string_view format, ScanArgs outputs) {
  if (format != kRealReply || outputs.empty()) return nullptr;
  double* const* target = std::get_if<double*>(&outputs[0].value());
  return target != nullptr ? *target : nullptr;
}

}  // namespace

// ---------------------------------------------------------------- time-out scope

void CIoSession::TimeoutScope::Replace(std::int32_t timeout) {
  HRESULT hr = session_.TransportGetTimeout(&saved_);
  if (Succeeded(hr)) hr = session_.TransportSetTimeout(timeout);
  if (Failed(hr)) {
    status_ = session_.reporter_ ? session_.reporter_->IoError() : hr;
    return;
  }
  restore_ = true;
}

// ---------------------------------------------------------------- links and buffer

HRESULT CIoSession::AttachBuffer(IInstrErrorPoller* poller, errors::IErrorReporter* reporter,
                                 IEnumFormatter* enums) {
  if (!poller || !reporter || !enums) return com::E_POINTER;
  open_ = false;
  buffer_.reset();
  poller_ = poller;
  reporter_ = reporter;
  enums_ = enums;
  HRESULT hr =
      CInstrBuffer::Create(this, reporter, read_termination_, write_termination_, &buffer_);
  if (Failed(hr) || !buffer_) {
    buffer_.reset();
    return reporter->OutOfMemory("Failed to create the formatted I/O read and write buffers.");
  }
  buffer_->SetSwapBytes(swap_bytes_);
  return S_OK;
}

HRESULT CIoSession::ResetBuffer() {
  if (!buffer_) return S_OK;
  std::int32_t read_size = 0;
  std::int32_t write_size = 0;
  buffer_->GetReadBufferSize(&read_size);
  buffer_->GetWriteBufferSize(&write_size);
  std::unique_ptr<CInstrBuffer> fresh;
  HRESULT hr = CInstrBuffer::Create(this, reporter_, read_termination_, write_termination_, &fresh);
  if (Failed(hr) || !fresh) {
    return reporter_->OutOfMemory("Failed to create the formatted I/O read and write buffers.");
  }
  fresh->SetSwapBytes(swap_bytes_);
  if (read_size != CInstrBuffer::kDefaultCapacity) hr = fresh->SetBufferSize(0, read_size);
  if (Succeeded(hr) && write_size != CInstrBuffer::kDefaultCapacity) {
    hr = fresh->SetBufferSize(1, write_size);
  }
  buffer_ = std::move(fresh);
  return hr;
}

// ---------------------------------------------------------------- exchanges

HRESULT CIoSession::DescribeUnreadable(HRESULT hr, const ScanFailure& failure) {
  if (hr != com::E_UNEXPECTED || !reporter_ || !buffer_ || failure.expected.empty()) return hr;
  std::string text = "Unreadable reply";
  const std::string member = reporter_->CurrentQualifiedName();
  if (!member.empty()) text += " to " + member;
  text += ": expected " + failure.expected;
  if (failure.directive.starts_with('%')) text += " (" + failure.directive + ")";
  text += ", got \"" + EscapedReply(buffer_->HeldResponse()) + "\".";
  return reporter_->ReportErrorText(hr, text);
}

void CIoSession::MarkUnsettled(bool late_input) {
  buffers_unsettled_ = transport_unsettled_ = true;
  if (!late_input) return;
  // What may still come is waited for as long as a tenth of the time-out the
  // failed exchange ran under.
  std::int32_t timeout = 0;
  if (Failed(TransportGetTimeout(&timeout)) || timeout < 0) timeout = kMaxSettleMs * 10;
  const std::int32_t quiet = std::clamp(timeout / 10, kMinSettleMs, kMaxSettleMs);
  settle_ms_ = late_input_ ? std::max(settle_ms_, quiet) : quiet;
  late_input_ = true;
}

HRESULT CIoSession::Track(HRESULT hr) {
  // The rest of a response whose end was not read may still be arriving.
  if (Failed(hr)) MarkUnsettled(!buffer_ || !buffer_->ResponseEnded());
  return hr;
}

HRESULT CIoSession::SettleTransport() {
  if (!transport_unsettled_) return S_OK;
  const HRESULT hr = TransportDiscardInput(late_input_ ? settle_ms_ : 0);
  if (Succeeded(hr)) transport_unsettled_ = late_input_ = false;
  return hr;
}

HRESULT CIoSession::StartExchange() {
  if (!buffers_unsettled_ && !transport_unsettled_) return S_OK;
  if (buffers_unsettled_ && buffer_) buffer_->DropPending();
  buffers_unsettled_ = false;
  return SettleTransport();
}

HRESULT CIoSession::NotConnected() {
  return reporter_ ? reporter_->NotInitialized() : errors::E_IVI_NOT_INITIALIZED;
}

HRESULT CIoSession::PollStatus() {
  if (!open_) return NotConnected();
  return poller_->PollInstrumentErrors();
}

HRESULT CIoSession::ThenPoll(HRESULT hr) { return Failed(hr) ? hr : PollStatus(); }

// ---------------------------------------------------------------- settings

HRESULT CIoSession::GetReadTermination(std::string* termination) {
  if (!termination)
    return reporter_ ? reporter_->NullPointer("GetReadTermination", "pVal") : com::E_POINTER;
  *termination = read_termination_;
  return S_OK;
}

HRESULT CIoSession::SetReadTermination(std::string_view termination) {
  read_termination_ = termination;
  if (buffer_) buffer_->SetReadTermination(termination);
  return S_OK;
}

HRESULT CIoSession::GetWriteTermination(std::string* termination) {
  if (!termination)
    return reporter_ ? reporter_->NullPointer("GetWriteTermination", "pVal") : com::E_POINTER;
  *termination = write_termination_;
  return S_OK;
}

HRESULT CIoSession::SetWriteTermination(std::string_view termination) {
  if (buffer_) {
    if (HRESULT hr = buffer_->SetWriteTermination(termination); Failed(hr)) return hr;
  }
  write_termination_ = termination;
  return S_OK;
}

HRESULT CIoSession::GetSwapBytes(bool* swap) {
  if (!swap) return reporter_ ? reporter_->NullPointer("GetSwapBytes", "pVal") : com::E_POINTER;
  *swap = swap_bytes_;
  return S_OK;
}

HRESULT CIoSession::SetSwapBytes(bool swap) {
  swap_bytes_ = swap;
  if (buffer_) buffer_->SetSwapBytes(swap);
  return S_OK;
}

HRESULT CIoSession::SetBufferSize(std::int32_t mask, std::int32_t size) {
  if (!open_) return NotConnected();
  return buffer_->SetBufferSize(mask, size);
}

HRESULT CIoSession::GetReadBufferSize(std::int32_t* size) {
  if (!open_) return NotConnected();
  return buffer_->GetReadBufferSize(size);
}

HRESULT CIoSession::GetWriteBufferSize(std::int32_t* size) {
  if (!open_) return NotConnected();
  return buffer_->GetWriteBufferSize(size);
}

HRESULT CIoSession::FlushWrite(bool send_end, std::int32_t timeout) {
  if (!open_) return NotConnected();
  TimeoutScope scope(*this, timeout);
  if (Failed(scope.status())) return scope.status();
  return Track(buffer_->FlushWriteBuffer(send_end));
}

HRESULT CIoSession::FlushRead(std::int32_t timeout) {
  if (!open_) return NotConnected();
  TimeoutScope scope(*this, timeout);
  if (Failed(scope.status())) return scope.status();
  // Discarding before a query is where the next exchange starts.
  if (HRESULT hr = StartExchange(); Failed(hr)) return hr;
  return Track(buffer_->DiscardReadBuffer());
}

// ---------------------------------------------------------------- formatted I/O

HRESULT CIoSession::VPrintfNoFlush(std::string_view format, FormatArgs args, std::int32_t timeout) {
  if (!open_) return NotConnected();
  TimeoutScope scope(*this, timeout);
  if (Failed(scope.status())) return scope.status();
  if (HRESULT hr = StartExchange(); Failed(hr)) return hr;
  return Track(FormatOutputV(buffer_.get(), enums_, format, args));
}

HRESULT CIoSession::VPrintf(std::string_view format, FormatArgs args, std::int32_t timeout) {
  if (!open_) return NotConnected();
  TimeoutScope scope(*this, timeout);
  if (Failed(scope.status())) return scope.status();
  HRESULT hr = StartExchange();
  if (Succeeded(hr)) hr = FormatOutputV(buffer_.get(), enums_, format, args);
  if (Succeeded(hr)) hr = buffer_->FlushWriteBuffer(true);
  return ThenPoll(Track(hr));
}

HRESULT CIoSession::VScanfNoFlush(std::string_view format, ScanArgs outputs, std::int32_t timeout) {
  if (!open_) return NotConnected();
  TimeoutScope scope(*this, timeout);
  if (Failed(scope.status())) return scope.status();
  ScanFailure failure;
  return Track(DescribeUnreadable(VScan(*buffer_, enums_, format, outputs, &failure), failure));
}

std::optional<HRESULT> CIoSession::ScanWholeReal(std::string_view format, ScanArgs outputs,
                                                 ScanFailure* failure) {
  double* target = SingleRealTarget(format, outputs);
  if (target == nullptr) return std::nullopt;
  std::string_view text;
  if (const HRESULT hr = buffer_->PeekResponse(&text); Failed(hr)) {
    // The failed read the parser's first character would have met.
    *failure = kRealReplyFailure;
    return hr;
  }
  double value = 0;
  if (!ParseWholeReal(text, &value)) return std::nullopt;
  *target = value;
  // The response was read to its end: VScanf drops the buffered rest.
  return S_OK;
}

HRESULT CIoSession::VScanf(std::string_view format, ScanArgs outputs, std::int32_t timeout) {
  if (!open_) return NotConnected();
  TimeoutScope scope(*this, timeout);
  if (Failed(scope.status())) return scope.status();
  ScanFailure failure;
  // A reply that is one real number and the whole response is read in place;
  // anything else goes through the reply parser.
  std::optional<HRESULT> whole = ScanWholeReal(format, outputs, &failure);
  HRESULT hr = Track(DescribeUnreadable(
      whole ? *whole : VScan(*buffer_, enums_, format, outputs, &failure), failure));
  if (Failed(hr)) return hr;
  if (HRESULT discarded = Track(buffer_->DiscardReadBuffer()); Failed(discarded)) return discarded;
  HRESULT poll = PollStatus();
  return Failed(poll) ? poll : hr;
}

HRESULT CIoSession::VQueryf(std::string_view write_format, FormatArgs inputs,
                            std::string_view read_format, ScanArgs outputs, std::int32_t timeout) {
  if (!open_) return NotConnected();
  TimeoutScope scope(*this, timeout);
  if (Failed(scope.status())) return scope.status();
  HRESULT hr = StartExchange();
  if (Succeeded(hr)) hr = buffer_->DiscardReadBuffer();
  if (Succeeded(hr)) hr = FormatOutputV(buffer_.get(), enums_, write_format, inputs);
  if (Succeeded(hr)) hr = buffer_->FlushWriteBuffer(true);
  ScanFailure failure;
  if (Succeeded(hr)) {
    hr = DescribeUnreadable(VScan(*buffer_, enums_, read_format, outputs, &failure), failure);
  }
  if (Failed(Track(hr))) return hr;
  HRESULT poll = PollStatus();
  return Failed(poll) ? poll : hr;
}

HRESULT CIoSession::QueryText(std::string_view command, std::string_view reply_format,
                              ScanArgs outputs) {
  if (!open_) return NotConnected();
  // Discarding before a query is where the next exchange starts; once it has,
  // the write finds the session settled.
  HRESULT hr = StartExchange();
  if (Failed(hr)) return hr;
  if (hr = Track(buffer_->DiscardReadBuffer()); Failed(hr)) return hr;
  if (command.size() > static_cast<std::size_t>(INT32_MAX)) {
    return reporter_->InvalidValueIntCurrent("lCount", INT32_MAX);
  }
  hr = Track(buffer_->WriteBuffer(reinterpret_cast<const std::uint8_t*>(command.data()),
                                  static_cast<std::int32_t>(command.size()), nullptr, false));
  if (Failed(hr)) return hr;
  if (hr = Track(buffer_->FlushWriteBuffer(true)); Failed(hr)) return hr;
  return VScanf(reply_format, outputs, kTmoKeep);
}

// ---------------------------------------------------------------- typed writes

HRESULT CIoSession::WriteStringNoPoll(std::string_view text, bool flush, std::int32_t timeout) {
  if (!open_) return NotConnected();
  if (text.size() > static_cast<std::size_t>(INT32_MAX)) {
    return reporter_->InvalidValueIntCurrent("lCount", INT32_MAX);
  }
  return WriteBytesNoPoll(reinterpret_cast<const std::uint8_t*>(text.data()),
                          static_cast<std::int32_t>(text.size()), flush, timeout);
}

HRESULT CIoSession::WriteString(std::string_view text, bool flush, std::int32_t timeout) {
  HRESULT hr = WriteStringNoPoll(text, flush, timeout);
  return flush ? ThenPoll(hr) : hr;
}

HRESULT CIoSession::WriteBytesNoPoll(const std::uint8_t* data, std::int32_t count, bool flush,
                                     std::int32_t timeout) {
  if (!open_) return NotConnected();
  TimeoutScope scope(*this, timeout);
  if (Failed(scope.status())) return scope.status();
  HRESULT hr = StartExchange();
  if (Failed(hr)) return hr;
  hr = count == 0 && flush ? buffer_->FlushWriteBuffer(true)
                           : buffer_->WriteBuffer(data, count, nullptr, flush);
  return Track(hr);
}

HRESULT CIoSession::WriteBytes(const std::uint8_t* data, std::int32_t count, bool flush,
                               std::int32_t timeout) {
  HRESULT hr = WriteBytesNoPoll(data, count, flush, timeout);
  return flush ? ThenPoll(hr) : hr;
}

// ---------------------------------------------------------------- typed reads

HRESULT CIoSession::ReadStringCore(std::string* text) {
  // The response arrives in chunks of the read buffer's size; the temporary
  // grows with the data, never beyond kMaxResponseText.
  constexpr std::int32_t kChunk = CInstrBuffer::kDefaultCapacity;
  text->clear();
  std::uint8_t chunk[kChunk];
  while (true) {
    std::int32_t got = 0;
    HRESULT hr = buffer_->ReadBuffer(chunk, kChunk, &got, false);
    if (Failed(hr)) return hr;
    got = std::clamp(got, 0, kChunk);
    if (text->size() + static_cast<std::size_t>(got) > kMaxResponseText) {
      buffer_->DiscardReadBuffer();
      return reporter_->OutOfMemory("Couldn't allocate temporary buffer.");
    }
    text->append(reinterpret_cast<const char*>(chunk), static_cast<std::size_t>(got));
    if (hr != S_MORE_DATA) return S_OK;
  }
}

HRESULT CIoSession::ReadStringNoPoll(std::string* text, std::int32_t timeout) {
  if (!open_) return NotConnected();
  if (!text) return reporter_->NullPointer("ReadString", "pbstrResult");
  TimeoutScope scope(*this, timeout);
  if (Failed(scope.status())) return scope.status();
  return Track(ReadStringCore(text));
}

HRESULT CIoSession::ReadString(std::string* text, std::int32_t timeout) {
  return ThenPoll(ReadStringNoPoll(text, timeout));
}

HRESULT CIoSession::ReadBytesNoPoll(std::uint8_t* data, std::int32_t count, std::int32_t* read,
                                    bool discard, std::int32_t timeout) {
  if (!open_) return NotConnected();
  if (!data) return reporter_->NullPointer("ReadBytes", "pBuf");
  TimeoutScope scope(*this, timeout);
  if (Failed(scope.status())) return scope.status();
  return Track(buffer_->ReadBuffer(data, count, read, discard));
}

HRESULT CIoSession::ReadBytes(std::uint8_t* data, std::int32_t count, std::int32_t* read,
                              bool discard, std::int32_t timeout) {
  return ThenPoll(ReadBytesNoPoll(data, count, read, discard, timeout));
}

template <class T>
HRESULT CIoSession::ReadNumberCore(T* value, bool discard, std::int32_t timeout) {
  if (!open_) return NotConnected();
  if (!value) return reporter_->NullPointer("ReadNumber", "pVal");
  TimeoutScope scope(*this, timeout);
  if (Failed(scope.status())) return scope.status();
  return Track(
      DescribeUnreadable(io::ReadNumber(*buffer_, *reporter_, discard, value), kTypedNumber));
}

HRESULT CIoSession::ReadNumberNoPoll(std::int32_t* value, bool discard, std::int32_t timeout) {
  return ReadNumberCore(value, discard, timeout);
}
HRESULT CIoSession::ReadNumber(std::int32_t* value, bool discard, std::int32_t timeout) {
  return ThenPoll(ReadNumberCore(value, discard, timeout));
}
HRESULT CIoSession::ReadNumberNoPoll(double* value, bool discard, std::int32_t timeout) {
  return ReadNumberCore(value, discard, timeout);
}
HRESULT CIoSession::ReadNumber(double* value, bool discard, std::int32_t timeout) {
  return ThenPoll(ReadNumberCore(value, discard, timeout));
}

// ---------------------------------------------------------------- typed queries

HRESULT CIoSession::QueryStringNoPoll(std::string_view command, std::string* reply,
                                      std::int32_t timeout) {
  if (!open_) return NotConnected();
  if (!reply) return reporter_->NullPointer("QueryString", "pbstrResult");
  TimeoutScope scope(*this, timeout);
  if (Failed(scope.status())) return scope.status();
  // A response left unread by an earlier operation must not answer this one.
  HRESULT hr = StartExchange();
  if (Succeeded(hr)) hr = buffer_->DiscardReadBuffer();
  if (Succeeded(hr)) hr = WriteStringNoPoll(command, true, kTmoKeep);
  if (Succeeded(hr)) hr = ReadStringCore(reply);
  return Track(hr);
}

HRESULT CIoSession::QueryString(std::string_view command, std::string* reply,
                                std::int32_t timeout) {
  return ThenPoll(QueryStringNoPoll(command, reply, timeout));
}

template <class T>
HRESULT CIoSession::QueryNumberCore(std::string_view command, T* value, bool discard,
                                    std::int32_t timeout) {
  if (!open_) return NotConnected();
  if (!value) return reporter_->NullPointer("QueryNumber", "pVal");
  TimeoutScope scope(*this, timeout);
  if (Failed(scope.status())) return scope.status();
  HRESULT hr = StartExchange();
  if (Succeeded(hr)) hr = buffer_->DiscardReadBuffer();
  if (Succeeded(hr)) hr = WriteStringNoPoll(command, true, kTmoKeep);
  if (Succeeded(hr)) {
    hr = DescribeUnreadable(io::ReadNumber(*buffer_, *reporter_, discard, value), kTypedNumber);
  }
  return Track(hr);
}

HRESULT CIoSession::QueryNumberNoPoll(std::string_view command, std::int32_t* value, bool discard,
                                      std::int32_t timeout) {
  return QueryNumberCore(command, value, discard, timeout);
}
HRESULT CIoSession::QueryNumber(std::string_view command, std::int32_t* value, bool discard,
                                std::int32_t timeout) {
  return ThenPoll(QueryNumberCore(command, value, discard, timeout));
}
HRESULT CIoSession::QueryNumberNoPoll(std::string_view command, double* value, bool discard,
                                      std::int32_t timeout) {
  return QueryNumberCore(command, value, discard, timeout);
}
HRESULT CIoSession::QueryNumber(std::string_view command, double* value, bool discard,
                                std::int32_t timeout) {
  return ThenPoll(QueryNumberCore(command, value, discard, timeout));
}

}  // namespace motqr::io
