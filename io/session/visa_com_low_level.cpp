// The byte transport of the VISA-COM session: reads and writes through
// IMessage, with the time-out rule and the read status mapping.
#include <cstring>

#include "io/session/visa_com_session.h"
#include "platform/visa/visa_com_status.h"

namespace motqr::io {
namespace {

using com::Failed;
using com::S_OK;
using com::Succeeded;

// VISA-COM's "ended at the termination character" is a complete response;
// its "count reached" means more may follow.
HRESULT MapReadStatus(HRESULT hr) {
  if (hr == visa::S_VISA_TERM_CHAR) return S_OK;
  if (hr == visa::S_VISA_MAX_CNT) return S_MORE_DATA;
  return hr;
}

}  // namespace

// ---------------------------------------------------------------- reads

HRESULT CVisaComSession::ReadCore(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                                  std::int32_t timeout) {
  if (read) *read = 0;
  if (!IsOpen()) return NotConnected();
  if (count < 0) return reporter()->InvalidValueIntCurrent("lCount", count);
  TimeoutScope scope(*this, timeout);
  if (Failed(scope.status())) return scope.status();
  if (message_bytes_) {
    std::int32_t got = 0;
    const HRESULT hr = MapReadStatus(message_bytes_->ReadBytes(count, buffer, &got));
    if (Failed(hr)) return VisaFailure(hr);
    if (got < 0 || got > count) {
      return IoFailure("Read function failed to copy data into the user buffer.");
    }
    if (read) *read = got;
    return hr;
  }
  com::SafeArray data;
  const HRESULT hr = MapReadStatus(message_->Read(count, data.Put()));
  if (Failed(hr)) return VisaFailure(hr);
  const std::size_t received = data ? data.size() : 0;
  if (received > static_cast<std::size_t>(count)) {
    return IoFailure("Read function failed to copy data into the user buffer.");
  }
  if (received > 0) std::memcpy(buffer, data.Data<std::uint8_t>().data(), received);
  if (read) *read = static_cast<std::int32_t>(received);
  return hr;
}

HRESULT CVisaComSession::ReadIntoString(std::int32_t count, std::string* text,
                                        std::int32_t timeout) {
  text->clear();
  if (!IsOpen()) return NotConnected();
  if (count < 0) return reporter()->InvalidValueIntCurrent("lCount", count);
  // Storage for what arrived, not for what was asked.
  constexpr std::int32_t kChunk = 64 * 1024;
  std::string chunk(static_cast<std::size_t>(std::min(count, kChunk)), '\0');
  std::int32_t got = 0;
  HRESULT hr = ReadCore(reinterpret_cast<std::uint8_t*>(chunk.data()),
                        static_cast<std::int32_t>(chunk.size()), &got, timeout);
  if (Failed(hr)) return hr;
  chunk.resize(static_cast<std::size_t>(got));
  *text = std::move(chunk);
  return hr;
}

HRESULT CVisaComSession::LowLevelReadNoPoll(std::uint8_t* buffer, std::int32_t count,
                                            std::int32_t* read, std::int32_t timeout) {
  if (!buffer)
    return reporter() ? reporter()->NullPointer("LowLevelReadNoPoll", "pBuf") : com::E_POINTER;
  if (!read)
    return reporter() ? reporter()->NullPointer("LowLevelReadNoPoll", "plRetCount")
                      : com::E_POINTER;
  return ReadCore(buffer, count, read, timeout);
}

HRESULT CVisaComSession::LowLevelReadNoPoll(std::int32_t count, com::SAFEARRAY** data,
                                            std::int32_t timeout) {
  if (!data)
    return reporter() ? reporter()->NullPointer("LowLevelReadNoPoll", "ppsaBuf") : com::E_POINTER;
  *data = nullptr;
  std::string bytes;
  HRESULT hr = ReadIntoString(count, &bytes, timeout);
  if (Failed(hr)) return hr;
  com::SafeArray array =
      com::SafeArray::CreateVector(com::VT_UI1, static_cast<std::uint32_t>(bytes.size()));
  if (!array) return reporter()->OutOfMemory("Could not allocate SAFEARRAY memory for Read.");
  if (!bytes.empty()) std::memcpy(array.Data<std::uint8_t>().data(), bytes.data(), bytes.size());
  *data = array.Detach();
  return hr;
}

HRESULT CVisaComSession::LowLevelReadStringNoPoll(std::int32_t count, std::string* text,
                                                  std::int32_t timeout) {
  if (!text)
    return reporter() ? reporter()->NullPointer("LowLevelReadStringNoPoll", "pbstrBuf")
                      : com::E_POINTER;
  return ReadIntoString(count, text, timeout);
}

HRESULT CVisaComSession::LowLevelReadStringNoPoll(std::int32_t count, com::BSTR* text,
                                                  std::int32_t timeout) {
  if (!text)
    return reporter() ? reporter()->NullPointer("LowLevelReadStringNoPoll", "pbstrBuf")
                      : com::E_POINTER;
  *text = nullptr;
  std::string bytes;
  HRESULT hr = ReadIntoString(count, &bytes, timeout);
  if (Failed(hr)) return hr;
  *text = com::AllocBstrFromUtf8(bytes);
  if (!*text) return reporter()->OutOfMemory("Could not allocate BSTR memory for Read.");
  return hr;
}

HRESULT CVisaComSession::LowLevelRead(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                                      std::int32_t timeout) {
  return ThenPoll(LowLevelReadNoPoll(buffer, count, read, timeout));
}
HRESULT CVisaComSession::LowLevelRead(std::int32_t count, com::SAFEARRAY** data,
                                      std::int32_t timeout) {
  return ThenPoll(LowLevelReadNoPoll(count, data, timeout));
}
HRESULT CVisaComSession::LowLevelReadString(std::int32_t count, std::string* text,
                                            std::int32_t timeout) {
  return ThenPoll(LowLevelReadStringNoPoll(count, text, timeout));
}
HRESULT CVisaComSession::LowLevelReadString(std::int32_t count, com::BSTR* text,
                                            std::int32_t timeout) {
  return ThenPoll(LowLevelReadStringNoPoll(count, text, timeout));
}

// ---------------------------------------------------------------- writes

HRESULT CVisaComSession::WriteCore(const std::uint8_t* buffer, std::int32_t count,
                                   std::int32_t* written, std::int32_t timeout) {
  if (written) *written = 0;
  if (!IsOpen()) return NotConnected();
  if (count < 0) return reporter()->InvalidValueIntCurrent("lCount", count);
  TimeoutScope scope(*this, timeout);
  if (Failed(scope.status())) return scope.status();
  if (message_bytes_) {
    if (HRESULT settled = SettleTransport(); Failed(settled)) return settled;
    std::int32_t sent = 0;
    const HRESULT hr = message_bytes_->WriteBytes(buffer, count, &sent);
    if (Failed(hr)) return VisaFailure(hr);
    if (written) *written = sent;
    return hr;
  }
  // Commands of one kind repeat their length: a short write reuses the array of the last
  // one; a long one (a block) gets its own, so the session does not keep its storage.
  constexpr std::int32_t kKeptWrite = 4096;
  com::SafeArray own;
  com::SafeArray& data = count <= kKeptWrite ? write_array_ : own;
  if (!data || data.size() != static_cast<std::size_t>(count)) {
    data = com::SafeArray::CreateVector(com::VT_UI1, static_cast<std::uint32_t>(count));
    if (!data) return reporter()->OutOfMemory("Write could not allocate SAFEARRAY.");
  }
  if (count > 0) {
    std::memcpy(data.Data<std::uint8_t>().data(), buffer, static_cast<std::size_t>(count));
  }
  com::SAFEARRAY* array = data.Get();
  std::int32_t sent = 0;
  if (HRESULT settled = SettleTransport(); Failed(settled)) return settled;
  const HRESULT hr = message_->Write(&array, count, &sent);
  if (Failed(hr)) return VisaFailure(hr);
  if (written) *written = sent;
  return hr;
}

HRESULT CVisaComSession::WriteFromArray(com::SAFEARRAY* data, std::int32_t count,
                                        std::int32_t* written, std::int32_t timeout) {
  if (written) *written = 0;
  if (!IsOpen()) return NotConnected();
  if (com::SafeArrayGetDim(data) != 1 || com::SafeArrayGetElemsize(data) != 1 || count < 0 ||
      static_cast<std::size_t>(count) > com::SafeArrayElementCount(data)) {
    return IoFailure("Write could not copy data to SAFEARRAY.");
  }
  void* bytes = nullptr;
  if (Failed(com::SafeArrayAccessData(data, &bytes))) {
    return IoFailure("Write could not copy data to SAFEARRAY.");
  }
  HRESULT hr = WriteCore(static_cast<const std::uint8_t*>(bytes), count, written, timeout);
  com::SafeArrayUnaccessData(data);
  return hr;
}

HRESULT CVisaComSession::LowLevelWriteNoPoll(const std::uint8_t* buffer, std::int32_t count,
                                             std::int32_t* written, std::int32_t timeout) {
  if (!buffer && count > 0) {
    return reporter() ? reporter()->NullPointer("LowLevelWriteNoPoll", "pBuf") : com::E_POINTER;
  }
  if (!written) {
    return reporter() ? reporter()->NullPointer("LowLevelWriteNoPoll", "plRetCount")
                      : com::E_POINTER;
  }
  return WriteCore(buffer, count, written, timeout);
}

HRESULT CVisaComSession::LowLevelWriteNoPoll(com::SAFEARRAY* data, std::int32_t count,
                                             std::int32_t* written, std::int32_t timeout) {
  if (!data) {
    return reporter() ? reporter()->NullPointer("LowLevelWriteNoPoll", "psaBuf") : com::E_POINTER;
  }
  return WriteFromArray(data, count, written, timeout);
}

HRESULT CVisaComSession::LowLevelWriteStringNoPoll(const std::string& text, std::int32_t* written,
                                                   std::int32_t timeout) {
  if (text.size() > static_cast<std::size_t>(INT32_MAX)) {
    return IoFailure("Write could not allocate SAFEARRAY.");
  }
  return WriteCore(reinterpret_cast<const std::uint8_t*>(text.data()),
                   static_cast<std::int32_t>(text.size()), written, timeout);
}

HRESULT CVisaComSession::LowLevelWriteStringNoPoll(const char16_t* text, std::int32_t* written,
                                                   std::int32_t timeout) {
  if (!text) {
    return reporter() ? reporter()->NullPointer("LowLevelWriteStringNoPoll", "bstrBuf")
                      : com::E_POINTER;
  }
  return LowLevelWriteStringNoPoll(com::Utf16ToUtf8(std::u16string_view(text)), written, timeout);
}

HRESULT CVisaComSession::LowLevelWrite(const std::uint8_t* buffer, std::int32_t count,
                                       std::int32_t* written, std::int32_t timeout) {
  return ThenPoll(LowLevelWriteNoPoll(buffer, count, written, timeout));
}
HRESULT CVisaComSession::LowLevelWrite(com::SAFEARRAY* data, std::int32_t count,
                                       std::int32_t* written, std::int32_t timeout) {
  return ThenPoll(LowLevelWriteNoPoll(data, count, written, timeout));
}
HRESULT CVisaComSession::LowLevelWriteString(const std::string& text, std::int32_t* written,
                                             std::int32_t timeout) {
  return ThenPoll(LowLevelWriteStringNoPoll(text, written, timeout));
}
HRESULT CVisaComSession::LowLevelWriteString(const char16_t* text, std::int32_t* written,
                                             std::int32_t timeout) {
  return ThenPoll(LowLevelWriteStringNoPoll(text, written, timeout));
}

}  // namespace motqr::io
