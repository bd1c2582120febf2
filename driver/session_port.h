// What the driver core needs of its I/O session: open and close it, send a
// command, run a query, clear the device. The VISA-COM session implements it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "errors/error_reporter.h"
#include "io/enum_formatter.h"
#include "io/input/scan_args.h"
#include "io/instr_error_poller.h"
#include "io/io_status.h"

namespace motqr::driver {

using com::HRESULT;

class ISessionPort {
 public:
  virtual ~ISessionPort() = default;
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
};

// Creates the I/O session of a new driver object.
using SessionPortFactory = std::unique_ptr<ISessionPort> (*)();

}  // namespace motqr::driver
