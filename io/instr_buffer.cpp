#include "io/instr_buffer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "platform/com/safearray.h"

namespace motqr::io {
namespace {

using com::E_INVALIDARG;
using com::E_POINTER;
using com::Failed;
using com::S_OK;
using com::Succeeded;

std::unique_ptr<std::uint8_t[]> AllocateZeroed(std::int32_t size) {
  return std::unique_ptr<std::uint8_t[]>(new (std::nothrow)
                                             std::uint8_t[static_cast<std::size_t>(size)]());
}

std::string ReadAllocationMessage(std::int32_t capacity) {
  return "Couldn't allocate formatted I/O read buffer with a capacity of " +
         std::to_string(capacity) + " bytes.";
}

std::string WriteAllocationMessage(std::int32_t capacity) {
  return "Couldn't allocate formatted I/O write buffer with a capacity of " +
         std::to_string(capacity) + " bytes.";
}

std::int32_t Length(const std::string& s) { return static_cast<std::int32_t>(s.size()); }

}  // namespace

CInstrBuffer::CInstrBuffer(ILowLevelIo* io, errors::IErrorReporter* reporter)
    : io_(io), reporter_(reporter) {}

HRESULT CInstrBuffer::Create(ILowLevelIo* io, errors::IErrorReporter* reporter,
                             std::string_view read_termination, std::string_view write_termination,
                             std::unique_ptr<CInstrBuffer>* buffer) {
  if (!buffer || !io || !reporter) return E_POINTER;
  buffer->reset();
  std::unique_ptr<CInstrBuffer> made(new (std::nothrow) CInstrBuffer(io, reporter));
  if (!made)
    return reporter->OutOfMemory("Failed to create the formatted I/O read and write buffers.");
  made->read_termination_ = read_termination;
  made->write_termination_ = write_termination;
  if (HRESULT hr = made->AllocateRead(kDefaultCapacity); Failed(hr)) return hr;
  if (HRESULT hr = made->AllocateWrite(kDefaultCapacity); Failed(hr)) return hr;
  *buffer = std::move(made);
  return S_OK;
}

HRESULT CInstrBuffer::AllocateRead(std::int32_t capacity) {
  auto area = AllocateZeroed(capacity);
  if (!area) return reporter_->OutOfMemory(ReadAllocationMessage(capacity));
  read_ = std::move(area);
  read_capacity_ = capacity;
  read_dirty_ = 0;
  ResetRead();
  return S_OK;
}

HRESULT CInstrBuffer::AllocateWrite(std::int32_t capacity) {
  if (capacity > INT32_MAX - Length(write_termination_)) {
    return reporter_->OutOfMemory(WriteAllocationMessage(capacity));
  }
  auto area = AllocateZeroed(capacity + Length(write_termination_));
  if (!area) return reporter_->OutOfMemory(WriteAllocationMessage(capacity));
  write_ = std::move(area);
  write_capacity_ = capacity;
  write_count_ = 0;
  return S_OK;
}

HRESULT CInstrBuffer::SetWriteTermination(std::string_view termination) {
  if (termination.size() > static_cast<std::size_t>(INT32_MAX - write_capacity_)) {
    return reporter_->OutOfMemory(WriteAllocationMessage(write_capacity_));
  }
  auto area = AllocateZeroed(write_capacity_ + static_cast<std::int32_t>(termination.size()));
  if (!area) return reporter_->OutOfMemory(WriteAllocationMessage(write_capacity_));
  std::memcpy(area.get(), write_.get(), static_cast<std::size_t>(write_count_));
  write_ = std::move(area);
  write_termination_ = termination;
  return S_OK;
}

void CInstrBuffer::SetReadTermination(std::string_view termination) {
  read_termination_ = termination;
}

void CInstrBuffer::ResetRead() {
  std::fill_n(read_.get(), read_dirty_, std::uint8_t{0});
  read_dirty_ = 0;
  read_count_ = 0;
  read_available_ = 0;
  read_position_ = 0;
  end_seen_ = true;
  end_seen_saved_ = true;
  termination_consumed_ = false;
  peeked_refill_ = false;
}

// ---------------------------------------------------------------- reading

bool CInstrBuffer::TerminationEndsReadData() const {
  const std::int32_t n = Length(read_termination_);
  if (n == 0 || read_count_ < n) return false;
  return std::memcmp(read_.get() + read_position_ + read_count_ - n, read_termination_.data(),
                     static_cast<std::size_t>(n)) == 0;
}

HRESULT CInstrBuffer::Refill() {
  std::int32_t received = 0;
  HRESULT hr = io_->LowLevelReadNoPoll(read_.get(), read_capacity_, &received, kTmoKeep);
  if (Failed(hr)) {
    read_dirty_ = read_capacity_;  // whatever a failed read left behind
    return hr;
  }
  received = std::clamp(received, 0, read_capacity_);
  read_dirty_ = std::max(read_dirty_, received);
  read_position_ = 0;
  read_count_ = received;
  end_seen_ = end_seen_saved_ = (hr != S_MORE_DATA);
  read_available_ = read_count_;
  if (end_seen_ && TerminationEndsReadData()) read_available_ -= Length(read_termination_);
  return hr;
}

void CInstrBuffer::ConsumeTrailingTermination() {
  const std::int32_t n = Length(read_termination_);
  if (!end_seen_ || n == 0 || read_available_ != 0 || read_count_ != n) return;
  read_count_ = 0;
  read_position_ += n;
  termination_consumed_ = true;
}

HRESULT CInstrBuffer::ReadChar(std::uint8_t* c) { return ReadBuffer(c, 1, nullptr, false); }

HRESULT CInstrBuffer::ReadBuffer(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                                 bool discard) {
  if (read) *read = 0;
  if (!buffer) return reporter_->NullPointerCurrent("pBuf");
  if (count < 0) return reporter_->InvalidValueIntCurrent("lCount", count);
  // The reply parser's usual request: one byte with more buffered behind it. Nothing
  // about the end of the response can change, so the bookkeeping below is not needed.
  if (count == 1 && !discard && read_available_ > 1) {
    *buffer = read_[static_cast<std::size_t>(read_position_++)];
    --read_count_;
    --read_available_;
    termination_consumed_ = false;
    if (read) *read = 1;
    return S_MORE_DATA;
  }

  HRESULT hr = S_OK;
  // A refill PeekResponse made stands for the one this read would make.
  if (count >= 1 && read_available_ == 0 && !std::exchange(peeked_refill_, false)) hr = Refill();
  if (count >= 1) peeked_refill_ = false;
  std::int32_t copied = 0;
  bool refilled_empty = false;
  while (Succeeded(hr)) {
    const std::int32_t n = std::min(count - copied, read_available_);
    if (n > 0) {
      std::memcpy(buffer + copied, read_.get() + read_position_, static_cast<std::size_t>(n));
      copied += n;
      read_position_ += n;
      read_count_ -= n;
      read_available_ -= n;
      termination_consumed_ = false;
    }
    ConsumeTrailingTermination();
    // A read never crosses the end of a response.
    if (copied == count || end_seen_ || refilled_empty) break;
    hr = Refill();
    refilled_empty = Succeeded(hr) && read_available_ == 0;
  }
  if (read) *read = copied;
  if (Failed(hr)) return hr;
  if (discard) return DiscardReadBuffer();
  return (read_available_ > 0 || !end_seen_) ? S_MORE_DATA : S_OK;
}

HRESULT CInstrBuffer::ReadUpTo(std::int32_t count, bool discard, std::string* bytes) {
  // Storage grows with what arrives, not with what was asked for.
  constexpr std::int32_t kChunk = 65536;
  HRESULT hr = S_OK;
  while (static_cast<std::int32_t>(bytes->size()) < count) {
    const std::int32_t want = std::min(kChunk, count - static_cast<std::int32_t>(bytes->size()));
    const std::size_t at = bytes->size();
    bytes->resize(at + static_cast<std::size_t>(want));
    std::int32_t got = 0;
    hr = ReadBuffer(reinterpret_cast<std::uint8_t*>(bytes->data() + at), want, &got, false);
    bytes->resize(at + static_cast<std::size_t>(std::max(got, 0)));
    if (Failed(hr)) return hr;
    if (got < want || hr == S_OK) break;
  }
  return discard ? DiscardReadBuffer() : hr;
}

HRESULT CInstrBuffer::ReadBstr(com::BSTR* text, std::int32_t count, bool discard) {
  if (!text) return reporter_->NullPointerCurrent("pbstrBuf");
  *text = nullptr;
  if (count < 0) return reporter_->InvalidValueIntCurrent("lCount", count);
  std::string bytes;
  std::u16string wide;
  HRESULT hr;
  try {
    hr = ReadUpTo(count, discard, &bytes);
    if (Failed(hr)) return hr;
    // One character per byte: the bytes are kept as they came.
    wide.assign(bytes.begin(), bytes.end());
  } catch (const std::bad_alloc&) {
    return reporter_->OutOfMemory("Could not allocate BSTR memory for Read.");
  }
  *text = com::SysAllocStringLen(wide.data(), static_cast<std::uint32_t>(wide.size()));
  if (!*text) return reporter_->OutOfMemory("Could not allocate BSTR memory for Read.");
  return hr;
}

HRESULT CInstrBuffer::ReadSafeArray(com::SAFEARRAY** data, std::int32_t count, bool discard) {
  if (!data) return reporter_->NullPointerCurrent("ppsaBuf");
  *data = nullptr;
  if (count < 0) return reporter_->InvalidValueIntCurrent("lCount", count);
  std::string bytes;
  HRESULT hr;
  try {
    hr = ReadUpTo(count, discard, &bytes);
  } catch (const std::bad_alloc&) {
    return reporter_->OutOfMemory("Could not allocate SAFEARRAY memory for Read.");
  }
  if (Failed(hr)) return hr;
  com::SafeArray array =
      com::SafeArray::CreateVector(com::VT_UI1, static_cast<std::uint32_t>(bytes.size()));
  if (!array) return reporter_->OutOfMemory("Could not allocate SAFEARRAY memory for Read.");
  std::copy(bytes.begin(), bytes.end(), array.Data<char>().begin());
  *data = array.Detach();
  return hr;
}

HRESULT CInstrBuffer::PeekResponse(std::string_view* text) {
  *text = {};
  if (read_available_ == 0 && !peeked_refill_) {
    const HRESULT hr = Refill();
    if (Failed(hr)) return hr;
    peeked_refill_ = true;
  }
  if (!end_seen_ || read_available_ == 0) return S_OK;
  *text = std::string_view(reinterpret_cast<const char*>(read_.get()) + read_position_,
                           static_cast<std::size_t>(read_available_));
  return S_OK;
}

HRESULT CInstrBuffer::UnreadChar() {
  if (read_position_ == 0) {
    return reporter_->OutOfMemory(
        "Can't push character back into read buffer.  Buffer has not been read from.");
  }
  if (read_available_ == 0) end_seen_ = end_seen_saved_;
  std::int32_t back = 1;
  if (termination_consumed_) back += Length(read_termination_);
  termination_consumed_ = false;
  read_position_ -= back;
  read_count_ += back;
  read_available_ += 1;
  return S_OK;
}

std::span<const std::uint8_t> CInstrBuffer::BufferedRun() {
  if (read_available_ <= 1) return {};
  return {read_.get() + read_position_, static_cast<std::size_t>(read_available_ - 1)};
}

void CInstrBuffer::TakeBuffered(std::int32_t count) {
  count = std::clamp(count, 0, std::max(read_available_ - 1, 0));
  read_position_ += count;
  read_count_ -= count;
  read_available_ -= count;
  if (count > 0) termination_consumed_ = false;
}

HRESULT CInstrBuffer::ReadDirect(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                                 bool discard) {
  if (read) *read = 0;
  if (!buffer) return reporter_->NullPointerCurrent("pBuf");
  if (count < 0) return reporter_->InvalidValueIntCurrent("lCount", count);
  peeked_refill_ = false;

  // Data bytes equal to the termination character must not end the read.
  bool term_enabled = false;
  HRESULT hr = io_->GetTerminationCharacterEnabled(&term_enabled);
  if (Failed(hr)) return hr;
  if (term_enabled) {
    hr = io_->SetTerminationCharacterEnabled(false);
    if (Failed(hr)) return hr;
  }

  // A termination the last read took for the end of the response is data
  // here: it is the first byte of the binary data.
  if (termination_consumed_ && read_count_ == 0) {
    read_position_ -= Length(read_termination_);
    read_count_ += Length(read_termination_);
    termination_consumed_ = false;
  }
  const std::int32_t buffered = std::min(count, read_count_);
  // Data taken past what the caller could read ran into the termination
  // character that stopped the last read: that read ended at a data byte, not
  // at the end of the response.
  const bool took_termination = term_enabled && buffered > read_available_;
  std::memcpy(buffer, read_.get() + read_position_, static_cast<std::size_t>(buffered));
  read_position_ += buffered;
  read_count_ -= buffered;
  read_available_ = std::max(0, read_available_ - buffered);
  if (buffered > 0) termination_consumed_ = false;
  if (took_termination) end_seen_ = end_seen_saved_ = false;

  std::int32_t total = count;
  if (buffered < count) {
    std::int32_t direct = 0;
    hr = io_->LowLevelReadNoPoll(buffer + buffered, count - buffered, &direct, kTmoKeep);
    total = buffered + (Succeeded(hr) ? std::clamp(direct, 0, count - buffered) : 0);
    if (Succeeded(hr)) end_seen_ = end_seen_saved_ = (hr != S_MORE_DATA);
  }
  if (read) *read = total;
  if (Succeeded(hr) && discard) hr = DiscardReadBuffer();
  if (term_enabled) {
    HRESULT restored = io_->SetTerminationCharacterEnabled(true);
    if (Succeeded(hr) && Failed(restored)) hr = restored;
  }
  return hr;
}

HRESULT CInstrBuffer::DrainResponse() {
  std::string dropped;
  for (int i = 0; i < kMaxDiscardReads; ++i) {
    HRESULT hr = io_->LowLevelReadStringNoPoll(kDiscardChunk, &dropped, kTmoKeep);
    if (hr != S_MORE_DATA) return hr;
  }
  return reporter_->IoError("Gave up discarding the rest of the response after " +
                            std::to_string(kMaxDiscardReads * kDiscardChunk) + " bytes.");
}

std::string_view CInstrBuffer::HeldResponse() const {
  std::string_view held(reinterpret_cast<const char*>(read_.get()),
                        static_cast<std::size_t>(read_position_ + read_count_));
  if (end_seen_ && !read_termination_.empty() && held.ends_with(read_termination_)) {
    held.remove_suffix(read_termination_.size());
  }
  return held;
}

void CInstrBuffer::DropPending() {
  ResetRead();
  std::fill_n(write_.get(), write_count_ + Length(write_termination_), std::uint8_t{0});
  write_count_ = 0;
  binary_end_ = false;
}

HRESULT CInstrBuffer::DiscardReadBuffer() {
  HRESULT hr = S_OK;
  if (!end_seen_saved_) hr = DrainResponse();
  ResetRead();
  return hr;
}

// ---------------------------------------------------------------- writing

HRESULT CInstrBuffer::WriteChar(std::uint8_t c, bool flush) {
  return WriteBuffer(&c, 1, nullptr, flush);
}

HRESULT CInstrBuffer::WriteBstr(const char16_t* text, std::int32_t* written, bool flush) {
  if (written) *written = 0;
  const std::string bytes = com::BstrToUtf8(text);
  return WriteBuffer(reinterpret_cast<const std::uint8_t*>(bytes.data()), Length(bytes), written,
                     flush);
}

HRESULT CInstrBuffer::WriteSafeArray(com::SAFEARRAY* data, std::int32_t count,
                                     std::int32_t* written, bool flush) {
  if (written) *written = 0;
  if (!data) return reporter_->ReportErrorText(E_INVALIDARG, "SAFEARRAY is NULL.");
  if (data->cDims != 1) {
    return reporter_->ReportErrorText(E_INVALIDARG, "SAFEARRAY is not one-dimensional.");
  }
  if (data->rgsabound[0].lLbound != 0) {
    return reporter_->ReportErrorText(E_INVALIDARG, "SAFEARRAY is not zero-based.");
  }
  if (data->vt != com::VT_UI1) {
    return reporter_->ReportErrorText(E_INVALIDARG, "SAFEARRAY was not of the expected type.");
  }
  if (count < 0 || static_cast<std::uint32_t>(count) > data->rgsabound[0].cElements) {
    return reporter_->InvalidValueIntCurrent("lCount", count);
  }
  return WriteBuffer(static_cast<const std::uint8_t*>(data->pvData), count, written, flush);
}

HRESULT CInstrBuffer::WriteCString(const char* text, std::int32_t* written, bool flush) {
  if (written) *written = 0;
  if (!text) return reporter_->NullPointerCurrent("pBuf");
  return WriteBuffer(reinterpret_cast<const std::uint8_t*>(text),
                     static_cast<std::int32_t>(std::strlen(text)), written, flush);
}

HRESULT CInstrBuffer::WriteBuffer(const std::uint8_t* buffer, std::int32_t count,
                                  std::int32_t* written, bool flush) {
  if (written) *written = 0;
  if (!buffer) return reporter_->NullPointerCurrent("pBuf");
  if (count < 0) return reporter_->InvalidValueIntCurrent("lCount", count);

  HRESULT hr = S_OK;
  std::int32_t copied = 0;
  if (count > 0) binary_end_ = false;
  while (copied < count) {
    // Nothing buffered and at least a buffer's worth to go: whole buffers' worth go out in one
    // low-level write, the same bytes and END as buffer-sized flushes, one system call not many.
    if (write_count_ == 0 && count - copied >= write_capacity_) {
      const std::int32_t run = (count - copied) / write_capacity_ * write_capacity_;
      hr = SendUnbuffered(buffer + copied, run);
      if (Failed(hr)) break;
      copied += run;
      continue;
    }
    const std::int32_t n = std::min(count - copied, write_capacity_ - write_count_);
    std::memcpy(write_.get() + write_count_, buffer + copied, static_cast<std::size_t>(n));
    write_count_ += n;
    copied += n;
    if (write_count_ == write_capacity_) {
      hr = FlushWriteBuffer(false);
      if (Failed(hr)) break;
    }
  }
  if (written) *written = copied;
  if (Failed(hr) || !flush) return hr;
  return FlushWriteBuffer(true);
}

bool CInstrBuffer::WriteDataEndsWithTermination() const {
  const std::int32_t n = Length(write_termination_);
  return write_count_ >= n &&
         std::memcmp(write_.get() + write_count_ - n, write_termination_.data(),
                     static_cast<std::size_t>(n)) == 0;
}

namespace {

std::string PartialSendText(std::int32_t sent, std::int32_t length) {
  return "Flush of formatted I/O write buffer only successfully sent " + std::to_string(sent) +
         " of " + std::to_string(length) + " bytes to the device.";
}

}  // namespace

void CInstrBuffer::NoteSent(const std::uint8_t* bytes, std::int32_t length, bool end) {
  if (length <= 0) return;
  message_open_ = !end;
  const std::int32_t n = Length(write_termination_);
  sent_termination_last_ =
      n > 0 && length >= n &&
      std::memcmp(bytes + length - n, write_termination_.data(), static_cast<std::size_t>(n)) == 0;
}

HRESULT CInstrBuffer::SendWriteBuffer(std::int32_t length) {
  std::int32_t sent = 0;
  HRESULT hr = io_->LowLevelWriteNoPoll(write_.get(), length, &sent, kTmoKeep);
  if (Failed(hr)) return hr;  // the buffered bytes stay
  if (sent < length) {
    // The counts stay as they were: what the device did not take is still here.
    return reporter_->IoError(PartialSendText(sent, length));
  }
  // Nothing was ever written past the buffered bytes and one termination after them.
  std::fill_n(write_.get(), write_count_ + Length(write_termination_), std::uint8_t{0});
  write_count_ = 0;
  return hr;
}

template <class F>
HRESULT CInstrBuffer::WithoutEnd(F&& send) {
  bool end_enabled = false;
  HRESULT hr = io_->GetSendEndEnabled(&end_enabled);
  if (Failed(hr)) return hr;
  if (!end_enabled) return send();
  hr = io_->SetSendEndEnabled(false);
  if (Failed(hr)) return hr;
  hr = send();
  const HRESULT restored = io_->SetSendEndEnabled(true);
  return Succeeded(hr) && Failed(restored) ? restored : hr;
}

HRESULT CInstrBuffer::SendUnbuffered(const std::uint8_t* bytes, std::int32_t length) {
  std::int32_t sent = 0;
  const HRESULT hr =
      WithoutEnd([&] { return io_->LowLevelWriteNoPoll(bytes, length, &sent, kTmoKeep); });
  if (Failed(hr)) return hr;
  if (sent < length) {
    return reporter_->IoError(PartialSendText(sent, length));
  }
  NoteSent(bytes, length, false);
  return hr;
}

HRESULT CInstrBuffer::FlushWriteBuffer(bool send_end) {
  // Binary data may end in a byte equal to the termination: it is data, and the
  // message still needs its termination. This departs from "append only when
  // missing" for that case alone.
  const bool terminate = binary_end_ || !WriteDataEndsWithTermination();
  if (write_count_ == 0) {
    // Nothing is sent, not even END -- unless earlier bytes of this message went
    // out without their termination (a full buffer's flush).
    const bool unterminated = message_open_ && (binary_end_ || !sent_termination_last_);
    if (!send_end || !unterminated) return S_OK;
  }
  std::int32_t length = write_count_;
  if (send_end) {
    if (terminate) {
      std::memcpy(write_.get() + write_count_, write_termination_.data(),
                  write_termination_.size());
      length += Length(write_termination_);
    }
    const HRESULT hr = SendWriteBuffer(length);
    if (Succeeded(hr)) {
      message_open_ = false;
      binary_end_ = false;
    }
    return hr;
  }
  const bool ends_with_termination = WriteDataEndsWithTermination();
  return WithoutEnd([&] {
    const HRESULT hr = SendWriteBuffer(length);
    if (Succeeded(hr)) {
      message_open_ = true;
      sent_termination_last_ = ends_with_termination;
    }
    return hr;
  });
}

// ---------------------------------------------------------------- sizes

HRESULT CInstrBuffer::SetBufferSize(std::int32_t mask, std::int32_t size) {
  if (mask < 0 || mask > 2) return S_OK;
  if (size < 1) return reporter_->InvalidValueIntCurrent("lSize", size);
  if (mask == 0 || mask == 2) {
    if (HRESULT hr = DiscardReadBuffer(); Failed(hr)) return hr;
    if (HRESULT hr = AllocateRead(size); Failed(hr)) return hr;
  }
  if (mask == 1 || mask == 2) {
    if (HRESULT hr = FlushWriteBuffer(true); Failed(hr)) return hr;
    if (HRESULT hr = AllocateWrite(size); Failed(hr)) return hr;
  }
  return S_OK;
}

HRESULT CInstrBuffer::GetReadBufferSize(std::int32_t* size) {
  if (!size) return E_POINTER;
  *size = read_capacity_;
  return S_OK;
}

HRESULT CInstrBuffer::GetWriteBufferSize(std::int32_t* size) {
  if (!size) return E_POINTER;
  *size = write_capacity_;
  return S_OK;
}

}  // namespace motqr::io
