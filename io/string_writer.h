// CCStringWriter: an IIoBuffer that appends everything written to a text
// string, so the formatted output engine can build command text in memory.
// Flushing does nothing; reading and buffer sizes are not available.
//
//   std::string text;
//   CCStringWriter writer(&text);
//   writer.WriteCString(":MEAS:CURR?", nullptr, false);   // text == ":MEAS:CURR?"
#pragma once

#include <string>

#include "io/io_buffer.h"

namespace motqr::io {

class CCStringWriter final : public IIoBuffer {
 public:
  // `text` is not owned and must outlive the writer.
  explicit CCStringWriter(std::string* text) : text_(text) {}

  HRESULT ReadChar(std::uint8_t*) override { return com::E_NOTIMPL; }
  HRESULT ReadBstr(com::BSTR*, std::int32_t, bool) override { return com::E_NOTIMPL; }
  HRESULT ReadSafeArray(com::SAFEARRAY**, std::int32_t, bool) override { return com::E_NOTIMPL; }
  HRESULT ReadBuffer(std::uint8_t*, std::int32_t, std::int32_t*, bool) override {
    return com::E_NOTIMPL;
  }
  HRESULT UnreadChar() override { return com::E_NOTIMPL; }
  HRESULT ReadDirect(std::uint8_t*, std::int32_t, std::int32_t*, bool) override {
    return com::E_NOTIMPL;
  }
  HRESULT WriteChar(std::uint8_t c, bool flush) override;
  HRESULT WriteBstr(const char16_t* text, std::int32_t* written, bool flush) override;
  HRESULT WriteSafeArray(com::SAFEARRAY* data, std::int32_t count, std::int32_t* written,
                         bool flush) override;
  HRESULT WriteCString(const char* text, std::int32_t* written, bool flush) override;
  HRESULT WriteBuffer(const std::uint8_t* buffer, std::int32_t count, std::int32_t* written,
                      bool flush) override;
  HRESULT DiscardReadBuffer() override { return com::E_NOTIMPL; }
  HRESULT FlushWriteBuffer(bool) override { return com::S_OK; }
  HRESULT SetBufferSize(std::int32_t, std::int32_t) override { return com::E_NOTIMPL; }
  HRESULT GetReadBufferSize(std::int32_t*) override { return com::E_NOTIMPL; }
  HRESULT GetWriteBufferSize(std::int32_t*) override { return com::E_NOTIMPL; }
  bool GetSwapBytes() override { return false; }
  void SetSwapBytes(bool) override {}

 private:
  std::string* text_;
};

}  // namespace motqr::io
