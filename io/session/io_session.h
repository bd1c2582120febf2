// IIoSession: the I/O session as the driver core and the formatted I/O engines
// see it -- open and close, device clear, status byte, time-out, termination
// settings, locking, buffer flushing, the instrument status poll, the
// printf/scanf/query families and the typed convenience operations.
//
//   session->Open("TCPIP::127.0.0.1::5025::SOCKET", &poller, &reporter, &enums);
//   session->Printf(":VOLT %0.6lg", 1.5);                 // ":VOLT 1.5\n", then the poll
//   double volts = 0;
//   session->Queryf(":VOLT?", "%lf", &volts);             // write, read, poll
//   std::string idn;
//   session->QueryStringNoPoll("*IDN?", &idn, io::kTmoKeep);
//   session->Close();
//
// Time-out arguments: a value greater than kTmoKeep (-2) replaces the session
// time-out for the operation and is restored afterwards, also when the
// operation fails; kTmoKeep leaves it alone. Every operation that needs the
// open session reports the not-connected error while it is closed.
//
// Polling forms end with PollStatus; the "NoPoll" cores never poll. Write
// forms poll only when their flush flag is set.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "errors/error_reporter.h"
#include "io/enum_formatter.h"
#include "io/format_args.h"
#include "io/formatted_output.h"
#include "io/input/formatted_input.h"
#include "io/input/scan_args.h"
#include "io/instr_error_poller.h"
#include "io/io_status.h"

namespace motqr::io {

class IIoSession {
 public:
  // Lifecycle and instrument-level operations.
  virtual HRESULT Open(std::string_view resource_name, IInstrErrorPoller* poller,
                       errors::IErrorReporter* reporter, IEnumFormatter* enums) = 0;
  virtual HRESULT Close() = 0;
  virtual bool IsOpen() const = 0;
  virtual HRESULT ReadStatusByte(std::int16_t* status_byte) = 0;
  virtual HRESULT Clear() = 0;

  // Termination strings of the formatted I/O buffers; both "\n" at first.
  virtual HRESULT GetReadTermination(std::string* termination) = 0;
  virtual HRESULT SetReadTermination(std::string_view termination) = 0;
  virtual HRESULT GetWriteTermination(std::string* termination) = 0;
  virtual HRESULT SetWriteTermination(std::string_view termination) = 0;
  virtual HRESULT GetSwapBytes(bool* swap) = 0;
  virtual HRESULT SetSwapBytes(bool swap) = 0;

  // Session time-out in milliseconds and the transport's termination character.
  virtual HRESULT SetTimeout(std::int32_t timeout) = 0;
  virtual HRESULT GetTimeout(std::int32_t* timeout) = 0;
  virtual HRESULT SetTerminationCharacter(std::uint8_t c) = 0;
  virtual HRESULT GetTerminationCharacter(std::uint8_t* c) = 0;
  virtual HRESULT SetTerminationCharacterEnabled(bool enabled) = 0;
  virtual HRESULT GetTerminationCharacterEnabled(bool* enabled) = 0;

  // Buffers. mask: 0 read buffer, 1 write buffer, 2 both.
  virtual HRESULT SetBufferSize(std::int32_t mask, std::int32_t size) = 0;
  virtual HRESULT GetReadBufferSize(std::int32_t* size) = 0;
  virtual HRESULT GetWriteBufferSize(std::int32_t* size) = 0;
  virtual HRESULT FlushWrite(bool send_end, std::int32_t timeout) = 0;
  virtual HRESULT FlushRead(std::int32_t timeout) = 0;

  // mode 0 exclusive, 1 shared. The access key comes back in `access_key`.
  virtual HRESULT Lock(std::int32_t mode, std::int32_t timeout, std::string_view requested_key,
                       std::string* access_key) = 0;
  virtual HRESULT Unlock() = 0;

  // Asks the instrument status poller.
  virtual HRESULT PollStatus() = 0;

  // Formatted output (see io/formatted_output.h for the directives).
  virtual HRESULT VPrintf(std::string_view format, FormatArgs args, std::int32_t timeout) = 0;
  virtual HRESULT VPrintfNoFlush(std::string_view format, FormatArgs args,
                                 std::int32_t timeout) = 0;
  template <class... Args>
  HRESULT Printf(std::string_view format, const Args&... args) {
    const auto list = MakeFormatArgs(args...);
    return VPrintf(format, FormatArgs(list.data(), list.size()), kTmoKeep);
  }
  template <class... Args>
  HRESULT PrintfNoFlush(std::string_view format, const Args&... args) {
    const auto list = MakeFormatArgs(args...);
    return VPrintfNoFlush(format, FormatArgs(list.data(), list.size()), kTmoKeep);
  }

  // Formatted input (see io/input/formatted_input.h). Scanf discards the rest
  // of the response after a successful scan and then polls.
  virtual HRESULT VScanf(std::string_view format, ScanArgs outputs, std::int32_t timeout) = 0;
  virtual HRESULT VScanfNoFlush(std::string_view format, ScanArgs outputs,
                                std::int32_t timeout) = 0;
  template <class... Destinations>
  HRESULT Scanf(std::string_view format, Destinations&&... outputs) {
    const auto list = MakeScanArgs(std::forward<Destinations>(outputs)...);
    return VScanf(format, ScanArgs(list.data(), list.size()), kTmoKeep);
  }
  template <class... Destinations>
  HRESULT ScanfNoFlush(std::string_view format, Destinations&&... outputs) {
    const auto list = MakeScanArgs(std::forward<Destinations>(outputs)...);
    return VScanfNoFlush(format, ScanArgs(list.data(), list.size()), kTmoKeep);
  }

  // Discards a pending response, writes `write_format` with `inputs` and END,
  // reads the reply with `read_format` into `outputs`, then polls.
  virtual HRESULT VQueryf(std::string_view write_format, FormatArgs inputs,
                          std::string_view read_format, ScanArgs outputs, std::int32_t timeout) = 0;
  // The common case of a command without arguments.
  template <class... Destinations>
  HRESULT Queryf(std::string_view write_format, std::string_view read_format,
                 Destinations&&... outputs) {
    const auto list = MakeScanArgs(std::forward<Destinations>(outputs)...);
    return VQueryf(write_format, FormatArgs(), read_format, ScanArgs(list.data(), list.size()),
                   kTmoKeep);
  }

  // Typed operations. Text goes through the write buffer; with `flush` it is
  // flushed with END (the write termination appended).
  virtual HRESULT WriteString(std::string_view text, bool flush, std::int32_t timeout) = 0;
  virtual HRESULT WriteStringNoPoll(std::string_view text, bool flush, std::int32_t timeout) = 0;
  virtual HRESULT WriteBytes(const std::uint8_t* data, std::int32_t count, bool flush,
                             std::int32_t timeout) = 0;
  virtual HRESULT WriteBytesNoPoll(const std::uint8_t* data, std::int32_t count, bool flush,
                                   std::int32_t timeout) = 0;
  // The whole response as text, its read termination removed.
  virtual HRESULT ReadString(std::string* text, std::int32_t timeout) = 0;
  virtual HRESULT ReadStringNoPoll(std::string* text, std::int32_t timeout) = 0;
  // Up to `count` bytes of the response; with `discard` the rest is dropped.
  virtual HRESULT ReadBytes(std::uint8_t* data, std::int32_t count, std::int32_t* read,
                            bool discard, std::int32_t timeout) = 0;
  virtual HRESULT ReadBytesNoPoll(std::uint8_t* data, std::int32_t count, std::int32_t* read,
                                  bool discard, std::int32_t timeout) = 0;
  // One number read as a real ("%e", 100 characters at most), range-checked
  // against the destination; with `discard` the rest of the response is dropped.
  virtual HRESULT ReadNumber(std::int32_t* value, bool discard, std::int32_t timeout) = 0;
  virtual HRESULT ReadNumberNoPoll(std::int32_t* value, bool discard, std::int32_t timeout) = 0;
  virtual HRESULT ReadNumber(double* value, bool discard, std::int32_t timeout) = 0;
  virtual HRESULT ReadNumberNoPoll(double* value, bool discard, std::int32_t timeout) = 0;
  // A command written with END, then the matching read.
  virtual HRESULT QueryString(std::string_view command, std::string* reply,
                              std::int32_t timeout) = 0;
  virtual HRESULT QueryStringNoPoll(std::string_view command, std::string* reply,
                                    std::int32_t timeout) = 0;
  virtual HRESULT QueryNumber(std::string_view command, std::int32_t* value, bool discard,
                              std::int32_t timeout) = 0;
  virtual HRESULT QueryNumberNoPoll(std::string_view command, std::int32_t* value, bool discard,
                                    std::int32_t timeout) = 0;
  virtual HRESULT QueryNumber(std::string_view command, double* value, bool discard,
                              std::int32_t timeout) = 0;
  virtual HRESULT QueryNumberNoPoll(std::string_view command, double* value, bool discard,
                                    std::int32_t timeout) = 0;

 protected:
  ~IIoSession() = default;

 private:
  template <class... Destinations>
  static std::array<ScanArg, sizeof...(Destinations)> MakeScanArgs(Destinations&&... outputs) {
    static_assert((kScanArgAccepts<Destinations&&> && ...),
                  "a reply destination must be one of the kinds ScanArg accepts");
    return {ScanArg(std::forward<Destinations>(outputs))...};
  }
};

}  // namespace motqr::io
