#include "instrument/system.h"

#include <string>

#include "instrument/wire_command.h"

namespace motqr::instrument {
namespace {

constexpr std::string_view kListConversion = "%,$Sd";

// Direct I/O goes past the formatted I/O engine straight to the session's
// message interface, so it has nothing to talk to while simulating.
com::HRESULT RefuseWhenSimulating(driver::CallFrame& f) {
  if (!f.simulating()) return com::S_OK;
  return f.reporter().IoError("Direct I/O operations are not available in simulation mode.");
}

// The open session for a direct I/O member (not-connected error without one).
com::HRESULT RawSession(driver::CallFrame& f, driver::ISessionPort** session) {
  return driver::OpenSession(f, session);
}

}  // namespace

com::HRESULT SetWithPlaceholder(driver::CallFrame& f, const char* format,
                                std::string_view placeholder, com::SAFEARRAY* values) {
  std::string text;
  MOTQR_RETURN_IF_FAILED(driver::FormatCommand(f, format, &text));
  for (std::size_t at = text.find(placeholder); at != std::string::npos;
       at = text.find(placeholder, at + kListConversion.size())) {
    text.replace(at, placeholder.size(), kListConversion);
  }
  std::string command;
  MOTQR_RETURN_IF_FAILED(FormatWireCommand(f, text, &command, values));
  return SendCommand(f, std::move(command));
}

com::HRESULT DirectReadBytes(driver::CallFrame& f, com::SAFEARRAY** data) {
  if (!data) return f.reporter().NullPointer("ReadBytes", "ppsaData");
  *data = nullptr;
  MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("Val", data)));
  MOTQR_RETURN_IF_FAILED(RefuseWhenSimulating(f));
  driver::ISessionPort* session;
  MOTQR_RETURN_IF_FAILED(RawSession(f, &session));
  return session->ReadBytes(data);
}

com::HRESULT DirectReadString(driver::CallFrame& f, BSTR* data) {
  if (!data) return f.reporter().NullPointer("ReadString", "pbstrData");
  *data = nullptr;
  MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("Val", data)));
  MOTQR_RETURN_IF_FAILED(RefuseWhenSimulating(f));
  driver::ISessionPort* session;
  MOTQR_RETURN_IF_FAILED(RawSession(f, &session));
  return session->ReadString(data);
}

com::HRESULT DirectWriteBytes(driver::CallFrame& f, com::SAFEARRAY* data, std::int64_t* written) {
  if (!written) return f.reporter().NullPointer("WriteBytes", "pcbActual");
  *written = 0;
  MOTQR_RETURN_IF_FAILED(
      f.Trace(trace::InParameter("Buffer", data), trace::OutParameter("Val", written)));
  MOTQR_RETURN_IF_FAILED(RefuseWhenSimulating(f));
  driver::ISessionPort* session;
  MOTQR_RETURN_IF_FAILED(RawSession(f, &session));
  return session->WriteBytes(data, written);
}

com::HRESULT DirectWriteString(driver::CallFrame& f, BSTR data) {
  if (!data) return f.reporter().NullPointer("WriteString", "bstrData");
  MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter("Data", data)));
  MOTQR_RETURN_IF_FAILED(RefuseWhenSimulating(f));
  driver::ISessionPort* session;
  MOTQR_RETURN_IF_FAILED(RawSession(f, &session));
  return session->WriteString(data);
}

com::HRESULT GetIoTimeout(driver::CallFrame& f, std::int32_t* timeout) {
  MOTQR_RETURN_IF_FAILED(RefuseWhenSimulating(f));
  driver::ISessionPort* session;
  MOTQR_RETURN_IF_FAILED(RawSession(f, &session));
  return session->GetIoTimeout(timeout);
}

com::HRESULT PutIoTimeout(driver::CallFrame& f, std::int32_t timeout) {
  MOTQR_RETURN_IF_FAILED(RefuseWhenSimulating(f));
  driver::ISessionPort* session;
  MOTQR_RETURN_IF_FAILED(RawSession(f, &session));
  return session->SetIoTimeout(timeout);
}

com::HRESULT GetDirectIo(driver::CallFrame& f, visa::IFormattedIO488** io) {
  MOTQR_RETURN_IF_FAILED(RefuseWhenSimulating(f));
  driver::ISessionPort* session;
  MOTQR_RETURN_IF_FAILED(RawSession(f, &session));
  return session->GetIFormattedIO488Pointer(io);
}

}  // namespace motqr::instrument
