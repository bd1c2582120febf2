// Direct I/O of the VISA-COM session: whole responses and raw writes straight
// through IMessage, past the formatted I/O buffers, without a status poll.
#include <cstring>
#include <limits>
#include <string>

#include "io/session/visa_com_session.h"
#include "platform/visa/visa_com_status.h"

namespace motqr::io {
namespace {

using com::Failed;
using com::S_OK;

// A response longer than this is refused rather than collected without bound.
constexpr std::size_t kMaxDirectResponse = std::size_t{64} << 20;

}  // namespace

HRESULT CVisaComSession::ReadResponse(std::string* collected) {
  HRESULT hr = S_OK;
  do {
    com::SafeArray chunk;
    hr = message_->Read(kDirectChunk, chunk.Put());
    if (Failed(hr)) return VisaFailure(hr);
    if (chunk && chunk.size() > 0) {
      if (collected->size() + chunk.size() > kMaxDirectResponse) {
        return reporter()->OutOfMemory("Couldn't allocate temporary buffer.");
      }
      const auto bytes = chunk.Data<std::uint8_t>();
      collected->append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
  } while (hr == visa::S_VISA_MAX_CNT);
  return S_OK;
}

HRESULT CVisaComSession::ReadBytes(com::SAFEARRAY** data) {
  if (!data) return reporter() ? reporter()->NullPointer("ReadBytes", "ppsaData") : com::E_POINTER;
  *data = nullptr;
  if (!IsOpen()) return NotConnected();
  std::string collected;
  if (HRESULT hr = ReadResponse(&collected); Failed(hr)) return hr;
  com::SafeArray array =
      com::SafeArray::CreateVector(com::VT_UI1, static_cast<std::uint32_t>(collected.size()));
  if (!array) return reporter()->OutOfMemory("Could not allocate SAFEARRAY memory for Read.");
  if (!collected.empty()) {
    std::memcpy(array.Data<std::uint8_t>().data(), collected.data(), collected.size());
  }
  *data = array.Detach();
  return S_OK;
}

HRESULT CVisaComSession::ReadString(com::BSTR* text) {
  if (!text)
    return reporter() ? reporter()->NullPointer("ReadString", "pbstrData") : com::E_POINTER;
  *text = nullptr;
  if (!IsOpen()) return NotConnected();
  // The response is converted whole: a character whose bytes straddle two
  // reads comes back as one.
  std::string collected;
  if (HRESULT hr = ReadResponse(&collected); Failed(hr)) return hr;
  *text = com::AllocBstrFromUtf8(collected);
  if (!*text) return reporter()->OutOfMemory("Could not allocate BSTR memory for Read.");
  return S_OK;
}

HRESULT CVisaComSession::WriteBytes(com::SAFEARRAY* data, std::int64_t* written) {
  if (!written) {
    return reporter() ? reporter()->NullPointer("WriteBytes", "pcbActual") : com::E_POINTER;
  }
  *written = 0;
  if (!data) return reporter() ? reporter()->NullPointer("WriteBytes", "psaData") : com::E_POINTER;
  if (!IsOpen()) return NotConnected();
  const std::size_t count = com::SafeArrayElementCount(data);
  if (count > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return IoFailure("Write could not allocate SAFEARRAY.");
  }
  std::int32_t sent = 0;
  com::SAFEARRAY* array = data;
  if (HRESULT settled = SettleTransport(); Failed(settled)) return settled;
  HRESULT hr = message_->Write(&array, static_cast<std::int32_t>(count), &sent);
  if (Failed(hr)) return VisaFailure(hr);
  *written = sent;
  return hr;
}

HRESULT CVisaComSession::WriteString(const char16_t* text) {
  if (!text)
    return reporter() ? reporter()->NullPointer("WriteString", "bstrData") : com::E_POINTER;
  if (!IsOpen()) return NotConnected();
  std::int32_t sent = 0;
  if (HRESULT settled = SettleTransport(); Failed(settled)) return settled;
  HRESULT hr = message_->WriteString(const_cast<com::BSTR>(text), &sent);
  return Failed(hr) ? VisaFailure(hr) : hr;
}

}  // namespace motqr::io
