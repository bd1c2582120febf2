#include "io/string_writer.h"

#include <cstring>
#include <new>

namespace motqr::io {

using com::E_INVALIDARG;
using com::E_OUTOFMEMORY;
using com::S_OK;

HRESULT CCStringWriter::WriteChar(std::uint8_t c, bool flush) {
  return WriteBuffer(&c, 1, nullptr, flush);
}

HRESULT CCStringWriter::WriteBstr(const char16_t* text, std::int32_t* written, bool flush) {
  if (written) *written = 0;
  std::string bytes;
  try {
    bytes = com::BstrToUtf8(text);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return WriteBuffer(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                     static_cast<std::int32_t>(bytes.size()), written, flush);
}

HRESULT CCStringWriter::WriteSafeArray(com::SAFEARRAY* data, std::int32_t count,
                                       std::int32_t* written, bool flush) {
  if (written) *written = 0;
  if (!data || data->cDims != 1 || data->rgsabound[0].lLbound != 0 || data->vt != com::VT_UI1 ||
      count < 0 || static_cast<std::uint32_t>(count) > data->rgsabound[0].cElements) {
    return E_INVALIDARG;
  }
  return WriteBuffer(static_cast<const std::uint8_t*>(data->pvData), count, written, flush);
}

HRESULT CCStringWriter::WriteCString(const char* text, std::int32_t* written, bool flush) {
  if (written) *written = 0;
  if (!text) return E_INVALIDARG;
  return WriteBuffer(reinterpret_cast<const std::uint8_t*>(text),
                     static_cast<std::int32_t>(std::strlen(text)), written, flush);
}

HRESULT CCStringWriter::WriteBuffer(const std::uint8_t* buffer, std::int32_t count,
                                    std::int32_t* written, bool) {
  if (written) *written = 0;
  if ((!buffer && count > 0) || count < 0) return E_INVALIDARG;
  try {
    text_->append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(count));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  if (written) *written = count;
  return S_OK;
}

}  // namespace motqr::io
