// CInstrBuffer: the read and write buffers of an I/O session, between the
// formatted I/O engines and the session's low-level transport.
//
// Formatted output collects in the write buffer and goes to the instrument in
// one low-level write per flush (or whenever the buffer fills). Formatted input
// comes from the read buffer, refilled with low-level reads of up to its
// capacity; the buffer remembers whether the last read ended the response
// (END seen), hides the read termination that ends a response, and appends the
// write termination when a flush sends END.
//
//   std::unique_ptr<CInstrBuffer> buffer;
//   HRESULT hr = CInstrBuffer::Create(&io, &reporter, "\n", "\n", &buffer);
//   buffer->WriteCString(":VOLT 1.5", nullptr, /*flush=*/true);   // sends ":VOLT 1.5\n"
//   std::uint8_t reply[64]; std::int32_t n = 0;
//   buffer->ReadBuffer(reply, sizeof reply, &n, /*discard=*/false);  // S_OK: reply ended
//
// Neither the transport nor the reporter is owned. The buffer has no lock: its
// session's callers serialise access.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "errors/error_reporter.h"
#include "io/io_buffer.h"
#include "io/low_level_io.h"

namespace motqr::io {

class CInstrBuffer final : public IIoBuffer {
 public:
  static constexpr std::int32_t kDefaultCapacity = 4096;
  // Bytes asked for by each read that drains an unread response.
  static constexpr std::int32_t kDiscardChunk = 1000;
  // A response still running after this many draining reads is given up on.
  static constexpr int kMaxDiscardReads = 16384;

  // Makes a buffer pair of the default capacities with copies of the session's
  // termination sequences. On failure reports it and leaves `buffer` empty.
  static HRESULT Create(ILowLevelIo* io, errors::IErrorReporter* reporter,
                        std::string_view read_termination, std::string_view write_termination,
                        std::unique_ptr<CInstrBuffer>* buffer);

  // The session's termination setters replace the copies held here. The
  // write buffer keeps its contents and its capacity.
  HRESULT SetWriteTermination(std::string_view termination);
  void SetReadTermination(std::string_view termination);
  const std::string& ReadTermination() const { return read_termination_; }
  const std::string& WriteTermination() const { return write_termination_; }

  // State, for the formatted input engine and for tests.
  std::int32_t ReadCount() const { return read_count_; }
  std::int32_t ReadAvailable() const { return read_available_; }
  std::int32_t WriteCount() const { return write_count_; }
  bool EndSeen() const { return end_seen_; }
  // The last low-level read ended the response.
  bool ResponseEnded() const { return end_seen_saved_; }
  // The bytes of the current response held since the last refill, read or
  // not, without a termination that ends them: what a description of a reply
  // that could not be read shows.
  std::string_view HeldResponse() const;

  // The rest of the response when the read buffer holds all of it, its read
  // termination left out; empty when the response goes on past the buffer or
  // nothing of it is left. An empty buffer is refilled first, as the next read
  // would; that read then finds the bytes in place and does not refill again.
  // Nothing is taken. A failed refill is returned as the read would return it.
  HRESULT PeekResponse(std::string_view* text);

  // Forgets whatever both buffers hold, without any device I/O: the read state
  // of a response that will not be read on, and bytes of a message that will
  // not be sent.
  void DropPending();

  // IIoBuffer
  HRESULT ReadChar(std::uint8_t* c) override;
  HRESULT ReadBstr(com::BSTR* text, std::int32_t count, bool discard) override;
  HRESULT ReadSafeArray(com::SAFEARRAY** data, std::int32_t count, bool discard) override;
  HRESULT ReadBuffer(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                     bool discard) override;
  HRESULT UnreadChar() override;
  std::span<const std::uint8_t> BufferedRun() override;
  void TakeBuffered(std::int32_t count) override;
  HRESULT ReadDirect(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                     bool discard) override;
  HRESULT WriteChar(std::uint8_t c, bool flush) override;
  HRESULT WriteBstr(const char16_t* text, std::int32_t* written, bool flush) override;
  HRESULT WriteSafeArray(com::SAFEARRAY* data, std::int32_t count, std::int32_t* written,
                         bool flush) override;
  HRESULT WriteCString(const char* text, std::int32_t* written, bool flush) override;
  HRESULT WriteBuffer(const std::uint8_t* buffer, std::int32_t count, std::int32_t* written,
                      bool flush) override;
  void NoteBinaryEnd() override { binary_end_ = true; }
  HRESULT DiscardReadBuffer() override;
  HRESULT FlushWriteBuffer(bool send_end) override;
  HRESULT SetBufferSize(std::int32_t mask, std::int32_t size) override;
  HRESULT GetReadBufferSize(std::int32_t* size) override;
  HRESULT GetWriteBufferSize(std::int32_t* size) override;
  bool GetSwapBytes() override { return swap_bytes_; }
  void SetSwapBytes(bool swap) override { swap_bytes_ = swap; }

 private:
  CInstrBuffer(ILowLevelIo* io, errors::IErrorReporter* reporter);

  HRESULT AllocateRead(std::int32_t capacity);
  HRESULT AllocateWrite(std::int32_t capacity);
  HRESULT Refill();
  // Reads up to `count` bytes (fewer when the response ends) into `bytes`.
  HRESULT ReadUpTo(std::int32_t count, bool discard, std::string* bytes);
  // After a copy: a response's trailing read termination is consumed with
  // the last byte the caller takes.
  void ConsumeTrailingTermination();
  bool TerminationEndsReadData() const;
  bool WriteDataEndsWithTermination() const;
  HRESULT SendWriteBuffer(std::int32_t length);
  // After a send: whether the message is still open and how its sent bytes end.
  void NoteSent(const std::uint8_t* bytes, std::int32_t length, bool end);
  // Sends `length` of the caller's bytes as they stand, END held back: what a full buffer's
  // flush sends, without copying them through the buffer first.
  HRESULT SendUnbuffered(const std::uint8_t* bytes, std::int32_t length);
  // Runs `send` with END disabled when it is enabled, and restores it.
  template <class F>
  HRESULT WithoutEnd(F&& send);
  HRESULT DrainResponse();
  void ResetRead();

  ILowLevelIo* io_;
  errors::IErrorReporter* reporter_;
  std::unique_ptr<std::uint8_t[]> read_;
  std::unique_ptr<std::uint8_t[]> write_;
  std::int32_t read_capacity_ = 0;
  std::int32_t write_capacity_ = 0;
  std::int32_t read_count_ = 0;
  std::int32_t read_available_ = 0;
  std::int32_t write_count_ = 0;
  std::int32_t read_position_ = 0;
  // Bytes at the start of the read buffer written since it was last zero-filled:
  // zero-filling touches only those, not the whole capacity, on every response.
  std::int32_t read_dirty_ = 0;
  bool end_seen_ = true;
  bool end_seen_saved_ = true;
  // The last read consumed a trailing termination after the caller's bytes;
  // a push-back restores it together with the byte.
  bool termination_consumed_ = false;
  // PeekResponse refilled the buffer and no read has looked at it yet.
  bool peeked_refill_ = false;
  std::string write_termination_;
  std::string read_termination_;
  bool swap_bytes_ = true;
  // The last bytes written are the end of binary data.
  bool binary_end_ = false;
  // Bytes of the current message went out without END (a full buffer's flush),
  // and whether the last of them were the write termination.
  bool message_open_ = false;
  bool sent_termination_last_ = false;
};

}  // namespace motqr::io
