// CIoSession: the I/O session's generic half. It owns the formatted I/O
// buffer pair (created at Open, destroyed at Close), the read and write
// termination strings, and the links to the error reporter, the instrument
// status poller and the enum formatter. It implements every IIoSession
// operation that only needs the buffers and the engines; a transport-specific
// session (CVisaComSession) adds Open and Close, the time-out, the device
// operations and the low-level byte transport (ILowLevelIo) underneath the
// buffers.
//
// A derived Open calls AttachBuffer first and sets the session open last;
// its Close calls DetachBuffer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "io/input/formatted_input.h"
#include "io/instr_buffer.h"
#include "io/low_level_io.h"
#include "io/session/io_session.h"

namespace motqr::io {

class CIoSession : public IIoSession, public ILowLevelIo {
 public:
  CIoSession() = default;
  CIoSession(const CIoSession&) = delete;
  CIoSession& operator=(const CIoSession&) = delete;

  bool IsOpen() const override { return open_; }

  HRESULT GetReadTermination(std::string* termination) override;
  HRESULT SetReadTermination(std::string_view termination) override;
  HRESULT GetWriteTermination(std::string* termination) override;
  HRESULT SetWriteTermination(std::string_view termination) override;
  HRESULT GetSwapBytes(bool* swap) override;
  HRESULT SetSwapBytes(bool swap) override;

  HRESULT SetBufferSize(std::int32_t mask, std::int32_t size) override;
  HRESULT GetReadBufferSize(std::int32_t* size) override;
  HRESULT GetWriteBufferSize(std::int32_t* size) override;
  HRESULT FlushWrite(bool send_end, std::int32_t timeout) override;
  HRESULT FlushRead(std::int32_t timeout) override;
  HRESULT PollStatus() override;

  HRESULT VPrintf(std::string_view format, FormatArgs args, std::int32_t timeout) override;
  HRESULT VPrintfNoFlush(std::string_view format, FormatArgs args, std::int32_t timeout) override;
  HRESULT VScanf(std::string_view format, ScanArgs outputs, std::int32_t timeout) override;
  HRESULT VScanfNoFlush(std::string_view format, ScanArgs outputs, std::int32_t timeout) override;
  HRESULT VQueryf(std::string_view write_format, FormatArgs inputs, std::string_view read_format,
                  ScanArgs outputs, std::int32_t timeout) override;

  HRESULT WriteString(std::string_view text, bool flush, std::int32_t timeout) override;
  HRESULT WriteStringNoPoll(std::string_view text, bool flush, std::int32_t timeout) override;
  HRESULT WriteBytes(const std::uint8_t* data, std::int32_t count, bool flush,
                     std::int32_t timeout) override;
  HRESULT WriteBytesNoPoll(const std::uint8_t* data, std::int32_t count, bool flush,
                           std::int32_t timeout) override;
  HRESULT ReadString(std::string* text, std::int32_t timeout) override;
  HRESULT ReadStringNoPoll(std::string* text, std::int32_t timeout) override;
  HRESULT ReadBytes(std::uint8_t* data, std::int32_t count, std::int32_t* read, bool discard,
                    std::int32_t timeout) override;
  HRESULT ReadBytesNoPoll(std::uint8_t* data, std::int32_t count, std::int32_t* read, bool discard,
                          std::int32_t timeout) override;
  HRESULT ReadNumber(std::int32_t* value, bool discard, std::int32_t timeout) override;
  HRESULT ReadNumberNoPoll(std::int32_t* value, bool discard, std::int32_t timeout) override;
  HRESULT ReadNumber(double* value, bool discard, std::int32_t timeout) override;
  HRESULT ReadNumberNoPoll(double* value, bool discard, std::int32_t timeout) override;
  HRESULT QueryString(std::string_view command, std::string* reply, std::int32_t timeout) override;
  HRESULT QueryStringNoPoll(std::string_view command, std::string* reply,
                            std::int32_t timeout) override;
  HRESULT QueryNumber(std::string_view command, std::int32_t* value, bool discard,
                      std::int32_t timeout) override;
  HRESULT QueryNumberNoPoll(std::string_view command, std::int32_t* value, bool discard,
                            std::int32_t timeout) override;
  HRESULT QueryNumber(std::string_view command, double* value, bool discard,
                      std::int32_t timeout) override;
  HRESULT QueryNumberNoPoll(std::string_view command, double* value, bool discard,
                            std::int32_t timeout) override;

  // A query whose command is already text, as FlushRead, WriteStringNoPoll
  // (without flush), FlushWrite with END and VScanf make it one after the other
  // with the session's time-out: drops what is left of an earlier response,
  // writes `command` with END, reads the reply with `reply_format` into
  // `outputs`, drops the rest of the response and polls the status.
  HRESULT QueryText(std::string_view command, std::string_view reply_format, ScanArgs outputs);

  // Longest response the text reads collect (64 MiB).
  static constexpr std::size_t kMaxResponseText = std::size_t{64} << 20;

  // After an exchange that failed or stopped part-way, input of it that is
  // pending or arrives until the line has been quiet this long is dropped before
  // the next exchange: a tenth of the failed exchange's time-out, within these
  // bounds.
  static constexpr std::int32_t kMinSettleMs = 2;
  static constexpr std::int32_t kMaxSettleMs = 250;
  // ... and at most this many bytes of it.
  static constexpr std::int64_t kMaxStaleBytes = std::int64_t{16} << 20;

 protected:
  ~CIoSession() = default;

  // Step 1 of every Open: checks the links, replaces any buffer left from
  // before with a new one holding the current termination strings.
  HRESULT AttachBuffer(IInstrErrorPoller* poller, errors::IErrorReporter* reporter,
                       IEnumFormatter* enums);
  void DetachBuffer() { buffer_.reset(); }
  // Drops everything buffered in both directions (after a device clear),
  // keeping the buffer sizes.
  HRESULT ResetBuffer();
  void SetOpen(bool open) { open_ = open; }

  // The transport's time-out, read and set without any report.
  virtual HRESULT TransportGetTimeout(std::int32_t* timeout) = 0;
  virtual HRESULT TransportSetTimeout(std::int32_t timeout) = 0;

  // Replaces the time-out for one operation when `timeout` is greater than
  // kTmoKeep and puts the old one back when it goes out of scope, whatever
  // the operation returned.
  class TimeoutScope {
   public:
    TimeoutScope(CIoSession& session, std::int32_t timeout) : session_(session) {
      if (timeout > kTmoKeep) Replace(timeout);
    }
    ~TimeoutScope() {
      if (restore_) session_.TransportSetTimeout(saved_);
    }
    TimeoutScope(const TimeoutScope&) = delete;
    TimeoutScope& operator=(const TimeoutScope&) = delete;
    // The failure (already reported) of reading or replacing the time-out.
    HRESULT status() const { return status_; }

   private:
    void Replace(std::int32_t timeout);

    CIoSession& session_;
    std::int32_t saved_ = 0;
    bool restore_ = false;
    HRESULT status_ = com::S_OK;
  };

  // One rule for every exchange: a reply is never read as another's.
  //
  // An exchange that fails or stops part-way (a reply that does not parse, cut
  // short, a time-out, a transport failure) marks the session unsettled;
  // `late_input` says that more of it may still be on its way. The next
  // exchange starts with StartExchange, which drops what the buffers hold of
  // the failed one and, through TransportDiscardInput, what the transport holds
  // or receives until the line is quiet (bounded in time and bytes).
  void MarkUnsettled(bool late_input);
  // `hr`, marking the session unsettled when it is a failure.
  HRESULT Track(HRESULT hr);
  HRESULT StartExchange();
  // The transport half of StartExchange, for writes that do not go through
  // the buffers.
  HRESULT SettleTransport();
  // Drops input the transport holds and, with `quiet_ms` > 0, whatever arrives
  // until none has for `quiet_ms` (at most the time-out and kMaxStaleBytes).
  virtual HRESULT TransportDiscardInput(std::int32_t quiet_ms) = 0;
  // Called by a device clear: nothing of earlier exchanges is left.
  void ForgetUnsettled() { buffers_unsettled_ = transport_unsettled_ = late_input_ = false; }

  // The not-connected report (or its bare code when no reporter was ever given).
  HRESULT NotConnected();
  errors::IErrorReporter* reporter() const { return reporter_; }
  CInstrBuffer* buffer() const { return buffer_.get(); }

 private:
  template <class T>
  HRESULT ReadNumberCore(T* value, bool discard, std::int32_t timeout);
  template <class T>
  HRESULT QueryNumberCore(std::string_view command, T* value, bool discard, std::int32_t timeout);
  HRESULT ReadStringCore(std::string* text);
  // A reply the parser could not read (E_UNEXPECTED): the error object says
  // which member read it, what it expected and what came. Other statuses are
  // returned as they are.
  HRESULT DescribeUnreadable(HRESULT hr, const ScanFailure& failure);
  // The short cut of VScanf for a reply format of one real ("%lf") read into a
  // double: when the response, read whole into the buffer, is one plain number,
  // its value and the status the parser would give; also the failure of that
  // read. Nothing when the reply must go through the parser.
  std::optional<HRESULT> ScanWholeReal(std::string_view format, ScanArgs outputs,
                                       ScanFailure* failure);
  HRESULT ThenPoll(HRESULT hr);

  std::unique_ptr<CInstrBuffer> buffer_;
  IInstrErrorPoller* poller_ = nullptr;
  errors::IErrorReporter* reporter_ = nullptr;
  IEnumFormatter* enums_ = nullptr;
  std::string read_termination_ = "\n";
  std::string write_termination_ = "\n";
  bool swap_bytes_ = true;
  bool open_ = false;
  bool buffers_unsettled_ = false;
  bool transport_unsettled_ = false;
  bool late_input_ = false;
  std::int32_t settle_ms_ = 0;
};

}  // namespace motqr::io
