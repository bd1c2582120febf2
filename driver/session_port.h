// What the driver core needs of its I/O session: open and close it, send a
// command, run a query, clear the device, and the raw transfers of direct
// I/O. The VISA-COM session implements it (driver/visa_session_port.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "errors/error_reporter.h"
#include "io/enum_formatter.h"
#include "io/input/scan_args.h"
#include "io/instr_error_poller.h"
#include "io/io_status.h"
#include "platform/com/bstr.h"
#include "platform/com/safearray.h"

namespace motqr::visa {
class IFormattedIO488;
}

namespace motqr::driver {

using com::HRESULT;

// What the driver setup asks of the session's transport: a wire log of its
// transfers (LogIO: the file, its size bound, the label of each line, that is
// the member in progress) and serial line settings (Baud, Parity, DataBits,
// StopBits, FlowControl: key in lower case -> value as written).
struct TransportRequest {
  std::string log_path;
  std::uint64_t log_size_max = 0;
  std::function<std::string()> log_label;
  std::vector<std::pair<std::string, std::string>> serial;
  // VisaLibrary=system: the system VISA library opens the resource, whatever its kind.
  bool prefer_visa_library = false;
};

class ISessionPort {
 public:
  virtual ~ISessionPort() = default;
  // What the next Open sets up on its transport before the first transfer.
  // Sessions without a transport of their own ignore it.
  virtual void SetTransportRequest(TransportRequest) {}
  virtual HRESULT Open(const std::string& resource, io::IInstrErrorPoller* poller,
                       errors::IErrorReporter* reporter, io::IEnumFormatter* formatter) = 0;
  virtual HRESULT Close() = 0;
  virtual bool IsOpen() const = 0;
  // Writes `text` with END; with `poll`, runs the instrument status poll after it.
  virtual HRESULT WriteString(std::string_view text, bool poll, std::int32_t timeout) = 0;
  // Reads one whole response as text.
  virtual HRESULT ReadString(std::string* text, std::int32_t timeout) = 0;
  // Writes `command`, reads the whole response as text (no status poll).
  virtual HRESULT QueryString(std::string_view command, std::string* reply,
                              std::int32_t timeout) = 0;
  // Writes `command`, reads one integer; with `poll`, polls the status after it.
  virtual HRESULT QueryInt32(std::string_view command, std::int32_t* value, bool poll,
                             std::int32_t timeout) = 0;
  // Device clear.
  virtual HRESULT Clear() = 0;

  // The generic executors of the interface members. A command: write it with
  // END, then poll the status. A query: write the command with END, read the
  // reply with `reply_format` into `outputs`, drop what is left of the
  // response, then poll the status.
  virtual HRESULT WriteCommand(std::string_view command) = 0;
  virtual HRESULT QueryFormatted(std::string_view command, std::string_view reply_format,
                                 io::ScanArgs outputs) = 0;

  // Direct I/O: raw transfers straight to the instrument, past the formatted
  // I/O buffers (whatever they hold stays there), without a status poll.
  // Reads collect the whole response, 4096 bytes per read; a time-out ends
  // them with the time-out failure and no data.
  virtual HRESULT ReadBytes(com::SAFEARRAY** data) = 0;
  virtual HRESULT ReadString(com::BSTR* text) = 0;
  // One write of the whole array; the count written comes back.
  virtual HRESULT WriteBytes(com::SAFEARRAY* data, std::int64_t* written) = 0;
  // One write of the whole text (a BSTR), converted to UTF-8.
  virtual HRESULT WriteString(const char16_t* text) = 0;
  // The session time-out in milliseconds.
  virtual HRESULT GetIoTimeout(std::int32_t* timeout) = 0;
  virtual HRESULT SetIoTimeout(std::int32_t timeout) = 0;
  // The session's VISA-COM formatted I/O object, with a new reference (null,
  // without error, while there is none).
  virtual HRESULT GetIFormattedIO488Pointer(visa::IFormattedIO488** formatted) = 0;
};

// Creates the I/O session of a new driver object.
using SessionPortFactory = std::unique_ptr<ISessionPort> (*)();

}  // namespace motqr::driver
