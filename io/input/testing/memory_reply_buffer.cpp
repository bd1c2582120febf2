#include "io/input/testing/memory_reply_buffer.h"

#include <algorithm>
#include <cstring>

namespace motqr::io::testing {

HRESULT MemoryReplyBuffer::Take(std::uint8_t* buffer, std::int32_t count, std::int32_t* read) {
  if (read != nullptr) *read = 0;
  if (buffer == nullptr || count < 0) return com::E_INVALIDARG;
  if (count == 0) return pos_ < data_.size() ? S_MORE_DATA : com::S_OK;
  if (end_delivered_) {
    ++reads_past_end_;
    return kReadPastEnd;
  }
  const std::size_t n = std::min(static_cast<std::size_t>(count), data_.size() - pos_);
  if (n > 0) std::memcpy(buffer, data_.data() + pos_, n);
  pos_ += n;
  if (read != nullptr) *read = static_cast<std::int32_t>(n);
  if (pos_ < data_.size()) return S_MORE_DATA;
  end_delivered_ = true;
  return com::S_OK;
}

HRESULT MemoryReplyBuffer::ReadBuffer(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                                      bool discard) {
  // One character at a time is how the parser reads: keep that cheap.
  if (count == 1 && buffer != nullptr && pos_ + 1 < data_.size() && !discard) {
    *buffer = static_cast<std::uint8_t>(data_[pos_++]);
    if (read != nullptr) *read = 1;
    return S_MORE_DATA;
  }
  const HRESULT hr = Take(buffer, count, read);
  if (com::Failed(hr) || !discard) return hr;
  return DiscardReadBuffer();
}

HRESULT MemoryReplyBuffer::UnreadChar() {
  if (pos_ == 0) return com::E_FAIL;
  --pos_;
  end_delivered_ = false;
  return com::S_OK;
}

HRESULT MemoryReplyBuffer::ReadDirect(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                                      bool discard) {
  ++direct_reads_;
  if (end_delivered_ && count > 0 && buffer != nullptr) {
    // Binary data after the end: a session would wait for them on the device.
    if (read != nullptr) *read = 0;
    ++direct_reads_past_end_;
    return kReadPastEnd;
  }
  const HRESULT hr = Take(buffer, count, read);
  if (com::Failed(hr) || !discard) return hr;
  return DiscardReadBuffer();
}

}  // namespace motqr::io::testing
