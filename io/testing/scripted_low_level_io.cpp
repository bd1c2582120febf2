#include "io/testing/scripted_low_level_io.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace motqr::io::testing {

using com::E_INVALIDARG;
using com::E_OUTOFMEMORY;
using com::E_POINTER;
using com::S_OK;

void ScriptedLowLevelIo::QueueReply(std::string_view bytes, bool end) {
  chunks_.push_back(Chunk{std::string(bytes), end});
}

void ScriptedLowLevelIo::QueueChunks(std::initializer_list<std::string_view> chunks, bool end) {
  std::size_t i = 0;
  for (std::string_view c : chunks) {
    ++i;
    chunks_.push_back(Chunk{std::string(c), end && i == chunks.size()});
  }
}

void ScriptedLowLevelIo::FailRead(int n, HRESULT status) {
  read_faults_.push_back(Fault{read_calls_ + n, status, -1});
}
void ScriptedLowLevelIo::FailWrite(int n, HRESULT status) {
  write_faults_.push_back(Fault{write_calls_ + n, status, -1});
}
void ScriptedLowLevelIo::ShortWrite(int n, std::int32_t accepted) {
  write_faults_.push_back(Fault{write_calls_ + n, S_OK, accepted});
}

std::string ScriptedLowLevelIo::WrittenBytes() const {
  std::string all;
  for (const Write& w : writes_) all += w.bytes;
  return all;
}

std::size_t ScriptedLowLevelIo::PendingBytes() const {
  std::size_t n = 0;
  for (const Chunk& c : chunks_) n += c.bytes.size();
  return n;
}

void ScriptedLowLevelIo::ClearRecord() {
  writes_.clear();
  reads_.clear();
  polls_ = 0;
}

const ScriptedLowLevelIo::Fault* ScriptedLowLevelIo::FindFault(const std::vector<Fault>& faults,
                                                               int call) const {
  for (const Fault& f : faults) {
    if (f.at == call) return &f;
  }
  return nullptr;
}

HRESULT ScriptedLowLevelIo::SetTerminationCharacterEnabled(bool enabled) {
  if (HRESULT hr = std::exchange(fail_term_switch_, S_OK); com::Failed(hr)) return hr;
  term_enabled_ = enabled;
  return S_OK;
}
HRESULT ScriptedLowLevelIo::GetTerminationCharacterEnabled(bool* enabled) {
  if (!enabled) return E_POINTER;
  *enabled = term_enabled_;
  return S_OK;
}
HRESULT ScriptedLowLevelIo::SetSendEndEnabled(bool enabled) {
  if (HRESULT hr = std::exchange(fail_end_switch_, S_OK); com::Failed(hr)) return hr;
  send_end_ = enabled;
  return S_OK;
}
HRESULT ScriptedLowLevelIo::GetSendEndEnabled(bool* enabled) {
  if (!enabled) return E_POINTER;
  *enabled = send_end_;
  return S_OK;
}

HRESULT ScriptedLowLevelIo::ReadCore(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                                     std::int32_t timeout) {
  last_timeout_ = timeout;
  if (read) *read = 0;
  if (!buffer && count > 0) return E_POINTER;
  if (count < 0) return E_INVALIDARG;
  ++read_calls_;
  Read record{count, 0, term_enabled_, S_OK};
  if (const Fault* f = FindFault(read_faults_, read_calls_)) {
    record.status = f->status;
  } else if (chunks_.empty()) {
    record.status = kTimeout;
  } else {
    Chunk& chunk = chunks_.front();
    std::size_t n = std::min(chunk.bytes.size(), static_cast<std::size_t>(count));
    bool at_term = false;
    if (term_enabled_) {
      std::size_t t = chunk.bytes.find(static_cast<char>(term_char_));
      if (t != std::string::npos && t < n) {
        n = t + 1;
        at_term = true;
      }
    }
    if (n > 0) std::memcpy(buffer, chunk.bytes.data(), n);
    chunk.bytes.erase(0, n);
    bool ended = at_term || (chunk.end && chunk.bytes.empty());
    if (chunk.bytes.empty()) chunks_.pop_front();
    record.delivered = static_cast<std::int32_t>(n);
    record.status = ended ? S_OK : S_MORE_DATA;
    if (read) *read = record.delivered;
  }
  reads_.push_back(record);
  return record.status;
}

HRESULT ScriptedLowLevelIo::WriteCore(const std::uint8_t* buffer, std::int32_t count,
                                      std::int32_t* written, std::int32_t timeout) {
  last_timeout_ = timeout;
  if (written) *written = 0;
  if (!buffer && count > 0) return E_POINTER;
  if (count < 0) return E_INVALIDARG;
  ++write_calls_;
  std::int32_t accepted = count;
  if (const Fault* f = FindFault(write_faults_, write_calls_)) {
    if (com::Failed(f->status)) return f->status;
    accepted = std::min(count, f->accepted);
  }
  writes_.push_back(
      Write{std::string(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(accepted)),
            send_end_});
  if (written) *written = accepted;
  return S_OK;
}

HRESULT ScriptedLowLevelIo::ReadIntoString(std::int32_t count, std::string* text,
                                           std::int32_t timeout) {
  if (!text) return E_POINTER;
  if (count < 0) return E_INVALIDARG;
  text->assign(static_cast<std::size_t>(count), '\0');
  std::int32_t n = 0;
  HRESULT hr = ReadCore(reinterpret_cast<std::uint8_t*>(text->data()), count, &n, timeout);
  text->resize(static_cast<std::size_t>(n));
  return hr;
}

HRESULT ScriptedLowLevelIo::ReadIntoArray(std::int32_t count, com::SAFEARRAY** data,
                                          std::int32_t timeout) {
  if (!data) return E_POINTER;
  *data = nullptr;
  std::string bytes;
  HRESULT hr = ReadIntoString(count, &bytes, timeout);
  if (com::Failed(hr)) return hr;
  com::SafeArray a =
      com::SafeArray::CreateVector(com::VT_UI1, static_cast<std::uint32_t>(bytes.size()));
  if (!a) return E_OUTOFMEMORY;
  if (!bytes.empty()) std::memcpy(a.Get()->pvData, bytes.data(), bytes.size());
  *data = a.Detach();
  return hr;
}

HRESULT ScriptedLowLevelIo::WriteFromArray(com::SAFEARRAY* data, std::int32_t count,
                                           std::int32_t* written, std::int32_t timeout) {
  if (!data || data->vt != com::VT_UI1) return E_INVALIDARG;
  if (count < 0 || static_cast<std::size_t>(count) > com::SafeArrayElementCount(data)) {
    return E_INVALIDARG;
  }
  return WriteCore(static_cast<const std::uint8_t*>(data->pvData), count, written, timeout);
}

HRESULT ScriptedLowLevelIo::LowLevelRead(std::int32_t count, com::SAFEARRAY** data,
                                         std::int32_t timeout) {
  ++polls_;
  return ReadIntoArray(count, data, timeout);
}
HRESULT ScriptedLowLevelIo::LowLevelRead(std::uint8_t* buffer, std::int32_t count,
                                         std::int32_t* read, std::int32_t timeout) {
  ++polls_;
  return ReadCore(buffer, count, read, timeout);
}
HRESULT ScriptedLowLevelIo::LowLevelReadNoPoll(std::int32_t count, com::SAFEARRAY** data,
                                               std::int32_t timeout) {
  return ReadIntoArray(count, data, timeout);
}
HRESULT ScriptedLowLevelIo::LowLevelReadNoPoll(std::uint8_t* buffer, std::int32_t count,
                                               std::int32_t* read, std::int32_t timeout) {
  return ReadCore(buffer, count, read, timeout);
}
HRESULT ScriptedLowLevelIo::LowLevelReadString(std::int32_t count, com::BSTR* text,
                                               std::int32_t timeout) {
  ++polls_;
  return LowLevelReadStringNoPoll(count, text, timeout);
}
HRESULT ScriptedLowLevelIo::LowLevelReadString(std::int32_t count, std::string* text,
                                               std::int32_t timeout) {
  ++polls_;
  return ReadIntoString(count, text, timeout);
}
HRESULT ScriptedLowLevelIo::LowLevelReadStringNoPoll(std::int32_t count, com::BSTR* text,
                                                     std::int32_t timeout) {
  if (!text) return E_POINTER;
  *text = nullptr;
  std::string bytes;
  HRESULT hr = ReadIntoString(count, &bytes, timeout);
  if (com::Failed(hr)) return hr;
  *text = com::AllocBstrFromUtf8(bytes);
  return *text ? hr : E_OUTOFMEMORY;
}
HRESULT ScriptedLowLevelIo::LowLevelReadStringNoPoll(std::int32_t count, std::string* text,
                                                     std::int32_t timeout) {
  return ReadIntoString(count, text, timeout);
}
HRESULT ScriptedLowLevelIo::LowLevelWrite(com::SAFEARRAY* data, std::int32_t count,
                                          std::int32_t* written, std::int32_t timeout) {
  ++polls_;
  return WriteFromArray(data, count, written, timeout);
}
HRESULT ScriptedLowLevelIo::LowLevelWrite(const std::uint8_t* buffer, std::int32_t count,
                                          std::int32_t* written, std::int32_t timeout) {
  ++polls_;
  return WriteCore(buffer, count, written, timeout);
}
HRESULT ScriptedLowLevelIo::LowLevelWriteNoPoll(com::SAFEARRAY* data, std::int32_t count,
                                                std::int32_t* written, std::int32_t timeout) {
  return WriteFromArray(data, count, written, timeout);
}
HRESULT ScriptedLowLevelIo::LowLevelWriteNoPoll(const std::uint8_t* buffer, std::int32_t count,
                                                std::int32_t* written, std::int32_t timeout) {
  return WriteCore(buffer, count, written, timeout);
}
HRESULT ScriptedLowLevelIo::LowLevelWriteString(const char16_t* text, std::int32_t* written,
                                                std::int32_t timeout) {
  ++polls_;
  return LowLevelWriteStringNoPoll(text, written, timeout);
}
HRESULT ScriptedLowLevelIo::LowLevelWriteString(const std::string& text, std::int32_t* written,
                                                std::int32_t timeout) {
  ++polls_;
  return LowLevelWriteStringNoPoll(text, written, timeout);
}
HRESULT ScriptedLowLevelIo::LowLevelWriteStringNoPoll(const char16_t* text, std::int32_t* written,
                                                      std::int32_t timeout) {
  return LowLevelWriteStringNoPoll(com::Utf16ToUtf8(text ? std::u16string_view(text) : u""),
                                   written, timeout);
}
HRESULT ScriptedLowLevelIo::LowLevelWriteStringNoPoll(const std::string& text,
                                                      std::int32_t* written, std::int32_t timeout) {
  return WriteCore(reinterpret_cast<const std::uint8_t*>(text.data()),
                   static_cast<std::int32_t>(text.size()), written, timeout);
}

}  // namespace motqr::io::testing
