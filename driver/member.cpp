#include "driver/member.h"

namespace motqr::driver {

HRESULT OpenSession(CallFrame& f, ISessionPort** session) {
  CDriver& d = f.driver();
  *session = d.session();
  if (d.simulating() || !*session || !(*session)->IsOpen()) return f.reporter().NotInitialized();
  return com::S_OK;
}

HRESULT ExecuteCommand(CallFrame& f) {
  ISessionPort* session;
  MOTQR_RETURN_IF_FAILED(OpenSession(f, &session));
  return session->WriteCommand(f.node().TopCommand());
}

HRESULT ExecuteQuery(CallFrame& f, io::ScanArgs outputs, bool* read) {
  if (read) *read = false;
  ISessionPort* session;
  MOTQR_RETURN_IF_FAILED(OpenSession(f, &session));
  const std::uint64_t failed_polls = f.driver().failed_polls();
  const HRESULT hr =
      session->QueryFormatted(f.node().TopCommand(), f.node().TopResponseFormat(), outputs);
  if (read) *read = com::Succeeded(hr) || f.driver().failed_polls() != failed_polls;
  return hr;
}

}  // namespace motqr::driver
