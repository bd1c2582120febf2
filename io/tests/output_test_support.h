// Helpers shared by the formatted output tests: an enumeration formatter with
// two small tables, and a sink that takes fewer bytes than it is given.
#pragma once

#include <string>
#include <string_view>

#include "io/enum_formatter.h"
#include "io/io_buffer.h"
#include "io/string_writer.h"

namespace motqr::io::testing {

// VARIANT_BOOL writes "0"/"1"; MorvaneTqrPositiveNegativeEnum writes "" / ":NEG";
// MorvaneTqrTriggerEnum writes "IMM" "BUS" "EXT" "MSYN". Anything else fails
// with kNoToken.
class TestEnumFormatter final : public IEnumFormatter {
 public:
  static constexpr HRESULT kNoToken = com::MakeHresult(0x80047010u);

  HRESULT FormatEnum(std::string_view name, std::int32_t value, std::string* token) override {
    if (name == "VARIANT_BOOL" && (value == 0 || value == 1 || value == -1)) {
      *token = value ? "1" : "0";
      return com::S_OK;
    }
    if (name == "MorvaneTqrPositiveNegativeEnum" && (value == 0 || value == 1)) {
      *token = value ? ":NEG" : "";
      return com::S_OK;
    }
    static constexpr const char* kTriggers[] = {"IMM", "BUS", "EXT", "MSYN"};
    if (name == "MorvaneTqrTriggerEnum" && value >= 0 && value < 4) {
      *token = kTriggers[value];
      return com::S_OK;
    }
    return kNoToken;
  }
  HRESULT ParseEnum(std::string_view, std::string_view, std::int32_t*) override {
    return com::E_NOTIMPL;
  }
  std::int32_t GetMaxEnumLength(std::string_view) override { return 4; }
};

// Appends to a string like CCStringWriter, but takes at most `limit` bytes per call.
class ShortSink final : public IIoBuffer {
 public:
  explicit ShortSink(std::int32_t limit) : limit_(limit), writer_(&text_) {}
  const std::string& text() const { return text_; }

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
  HRESULT WriteChar(std::uint8_t c, bool flush) override { return writer_.WriteChar(c, flush); }
  HRESULT WriteBstr(const char16_t*, std::int32_t*, bool) override { return com::E_NOTIMPL; }
  HRESULT WriteSafeArray(com::SAFEARRAY*, std::int32_t, std::int32_t*, bool) override {
    return com::E_NOTIMPL;
  }
  HRESULT WriteCString(const char* text, std::int32_t* written, bool flush) override {
    return WriteBuffer(reinterpret_cast<const std::uint8_t*>(text),
                       static_cast<std::int32_t>(std::string_view(text).size()), written, flush);
  }
  HRESULT WriteBuffer(const std::uint8_t* buffer, std::int32_t count, std::int32_t* written,
                      bool flush) override {
    return writer_.WriteBuffer(buffer, count < limit_ ? count : limit_, written, flush);
  }
  HRESULT DiscardReadBuffer() override { return com::E_NOTIMPL; }
  HRESULT FlushWriteBuffer(bool) override { return com::S_OK; }
  HRESULT SetBufferSize(std::int32_t, std::int32_t) override { return com::E_NOTIMPL; }
  HRESULT GetReadBufferSize(std::int32_t*) override { return com::E_NOTIMPL; }
  HRESULT GetWriteBufferSize(std::int32_t*) override { return com::E_NOTIMPL; }
  bool GetSwapBytes() override { return true; }
  void SetSwapBytes(bool) override {}

 private:
  std::int32_t limit_;
  std::string text_;
  CCStringWriter writer_;
};

}  // namespace motqr::io::testing
