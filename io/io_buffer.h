// IIoBuffer: what the formatted I/O engines read from and write to -- the
// session's buffer pair (CInstrBuffer) or, for formatting into a string, a
// CCStringWriter.
#pragma once

#include <cstdint>
#include <span>

#include "io/io_status.h"
#include "platform/com/bstr.h"
#include "platform/com/safearray.h"

namespace motqr::io {

class IIoBuffer {
 public:
  virtual HRESULT ReadChar(std::uint8_t* c) = 0;
  virtual HRESULT ReadBstr(com::BSTR* text, std::int32_t count, bool discard) = 0;
  virtual HRESULT ReadSafeArray(com::SAFEARRAY** data, std::int32_t count, bool discard) = 0;
  // `read` may be null.
  virtual HRESULT ReadBuffer(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                             bool discard) = 0;
  virtual HRESULT UnreadChar() = 0;
  // The buffered bytes of the current response that one-byte reads would return next, up to
  // but not including the last byte buffered (so taking them never ends the response or needs
  // a refill); empty when reads must go through ReadBuffer. TakeBuffered(n) takes the first
  // n of them as n one-byte reads would. A reply parser uses them to take a field's
  // characters without a call per character.
  virtual std::span<const std::uint8_t> BufferedRun() { return {}; }
  virtual void TakeBuffered(std::int32_t /*count*/) {}
  virtual HRESULT ReadDirect(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                             bool discard) = 0;
  virtual HRESULT WriteChar(std::uint8_t c, bool flush) = 0;
  virtual HRESULT WriteBstr(const char16_t* text, std::int32_t* written, bool flush) = 0;
  virtual HRESULT WriteSafeArray(com::SAFEARRAY* data, std::int32_t count, std::int32_t* written,
                                 bool flush) = 0;
  virtual HRESULT WriteCString(const char* text, std::int32_t* written, bool flush) = 0;
  // `written` may be null.
  virtual HRESULT WriteBuffer(const std::uint8_t* buffer, std::int32_t count, std::int32_t* written,
                              bool flush) = 0;
  // The bytes just written are the end of binary data (a block or raw binary):
  // a flush with END then appends the write termination even if they end with it.
  virtual void NoteBinaryEnd() {}
  virtual HRESULT DiscardReadBuffer() = 0;
  virtual HRESULT FlushWriteBuffer(bool send_end) = 0;
  // mask: 0 read buffer, 1 write buffer, 2 both.
  virtual HRESULT SetBufferSize(std::int32_t mask, std::int32_t size) = 0;
  virtual HRESULT GetReadBufferSize(std::int32_t* size) = 0;
  virtual HRESULT GetWriteBufferSize(std::int32_t* size) = 0;
  virtual bool GetSwapBytes() = 0;
  virtual void SetSwapBytes(bool swap) = 0;

  virtual ~IIoBuffer() = default;
};

}  // namespace motqr::io
