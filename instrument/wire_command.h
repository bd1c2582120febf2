// Commands whose text carries lists and binary blocks ("%,$Sd", "%$Slb"). The
// members' usual formatting builds command text only and leaves those out;
// these helpers write them as the session's formatted output does, with the
// byte order of the session's write buffer (most significant byte first), and
// then send the finished command like any other.
//
//   std::string command;
//   MOTQR_RETURN_IF_FAILED(FormatWireCommand(f, ":SYST:DATE %,$Sd", &command, date));
//   return SendCommand(f, std::move(command));
#pragma once

#include <string>

#include "driver/member.h"
#include "io/formatted_output.h"
#include "io/io_buffer.h"

namespace motqr::instrument {

// An output sink that appends everything to a string and swaps the bytes of
// block elements, as the session's write buffer does.
class WireTextWriter final : public io::IIoBuffer {
 public:
  explicit WireTextWriter(std::string* text) : text_(text) {}

  com::HRESULT ReadChar(std::uint8_t*) override { return com::E_NOTIMPL; }
  com::HRESULT ReadBstr(com::BSTR*, std::int32_t, bool) override { return com::E_NOTIMPL; }
  com::HRESULT ReadSafeArray(com::SAFEARRAY**, std::int32_t, bool) override {
    return com::E_NOTIMPL;
  }
  com::HRESULT ReadBuffer(std::uint8_t*, std::int32_t, std::int32_t*, bool) override {
    return com::E_NOTIMPL;
  }
  com::HRESULT UnreadChar() override { return com::E_NOTIMPL; }
  com::HRESULT ReadDirect(std::uint8_t*, std::int32_t, std::int32_t*, bool) override {
    return com::E_NOTIMPL;
  }
  com::HRESULT WriteChar(std::uint8_t c, bool flush) override;
  com::HRESULT WriteBstr(const char16_t*, std::int32_t*, bool) override { return com::E_NOTIMPL; }
  com::HRESULT WriteSafeArray(com::SAFEARRAY*, std::int32_t, std::int32_t*, bool) override {
    return com::E_NOTIMPL;
  }
  com::HRESULT WriteCString(const char* text, std::int32_t* written, bool flush) override;
  com::HRESULT WriteBuffer(const std::uint8_t* buffer, std::int32_t count, std::int32_t* written,
                           bool flush) override;
  void NoteBinaryEnd() override { binary_end_ = true; }
  com::HRESULT DiscardReadBuffer() override { return com::E_NOTIMPL; }
  com::HRESULT FlushWriteBuffer(bool) override { return com::S_OK; }
  com::HRESULT SetBufferSize(std::int32_t, std::int32_t) override { return com::E_NOTIMPL; }
  com::HRESULT GetReadBufferSize(std::int32_t*) override { return com::E_NOTIMPL; }
  com::HRESULT GetWriteBufferSize(std::int32_t*) override { return com::E_NOTIMPL; }
  bool GetSwapBytes() override { return true; }
  void SetSwapBytes(bool) override {}

  // The text ends with binary data.
  bool binary_end() const { return binary_end_; }

 private:
  std::string* text_;
  bool binary_end_ = false;
};

// Formats `format` with `args`, lists and blocks included, into `command`. A
// command that ends with binary data gets the line feed that ends the message
// here: its last data byte may itself be a line feed, which the write that
// sends the text would otherwise take for the end of the message.
template <class... A>
com::HRESULT FormatWireCommand(driver::CallFrame& f, std::string_view format, std::string* command,
                               const A&... args) {
  WireTextWriter writer(command);
  const com::HRESULT hr = io::FormatOutput(&writer, &f.driver(), format, args...);
  if (com::Succeeded(hr) && writer.binary_end()) command->push_back('\n');
  return hr;
}

// Sends a finished command through the node's command stack and the generic
// command executor (written with END, then the status poll).
com::HRESULT SendCommand(driver::CallFrame& f, std::string command);

}  // namespace motqr::instrument
