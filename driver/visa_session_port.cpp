#include "driver/visa_session_port.h"

#include <mutex>

#include "io/session/visa_com_session.h"
#include "platform/visa/resource_manager.h"

namespace motqr::driver {
namespace {

void RegisterVisaComClassesOnce() {
  static std::once_flag once;
  std::call_once(once, [] { visa::RegisterVisaComClasses(); });
}

class VisaSessionPort final : public ISessionPort {
 public:
  HRESULT Open(const std::string& resource, io::IInstrErrorPoller* poller,
               errors::IErrorReporter* reporter, io::IEnumFormatter* formatter) override {
    RegisterVisaComClassesOnce();
    if (session_.IsOpen()) session_.Close();
    return session_.Open(resource, poller, reporter, formatter);
  }
  HRESULT Close() override { return session_.Close(); }
  bool IsOpen() const override { return session_.IsOpen(); }

  HRESULT WriteString(std::string_view text, bool poll, std::int32_t timeout) override {
    return poll ? session_.WriteString(text, true, timeout)
                : session_.WriteStringNoPoll(text, true, timeout);
  }
  HRESULT ReadString(std::string* text, std::int32_t timeout) override {
    return session_.ReadStringNoPoll(text, timeout);
  }
  HRESULT QueryString(std::string_view command, std::string* reply, std::int32_t timeout) override {
    return session_.QueryStringNoPoll(command, reply, timeout);
  }
  HRESULT QueryInt32(std::string_view command, std::int32_t* value, bool poll,
                     std::int32_t timeout) override {
    return poll ? session_.QueryNumber(command, value, true, timeout)
                : session_.QueryNumberNoPoll(command, value, true, timeout);
  }
  HRESULT Clear() override { return session_.Clear(); }

  HRESULT WriteCommand(std::string_view command) override {
    return session_.WriteString(command, true, io::kTmoKeep);
  }
  // The command is already formatted text: it goes to the write buffer as it
  // is, is flushed with END, and the reply is scanned (then the rest of the
  // response is dropped and the status polled).
  HRESULT QueryFormatted(std::string_view command, std::string_view reply_format,
                         io::ScanArgs outputs) override {
    HRESULT hr = session_.FlushRead(io::kTmoKeep);
    if (com::Succeeded(hr)) hr = session_.WriteStringNoPoll(command, false, io::kTmoKeep);
    if (com::Succeeded(hr)) hr = session_.FlushWrite(true, io::kTmoKeep);
    if (com::Succeeded(hr)) hr = session_.VScanf(reply_format, outputs, io::kTmoKeep);
    return hr == io::S_MORE_DATA ? com::S_OK : hr;
  }

  HRESULT ReadBytes(com::SAFEARRAY** data) override { return session_.ReadBytes(data); }
  HRESULT ReadString(com::BSTR* text) override { return session_.ReadString(text); }
  HRESULT WriteBytes(com::SAFEARRAY* data, std::int64_t* written) override {
    return session_.WriteBytes(data, written);
  }
  HRESULT WriteString(const char16_t* text) override { return session_.WriteString(text); }
  HRESULT GetIoTimeout(std::int32_t* timeout) override { return session_.GetTimeout(timeout); }
  HRESULT SetIoTimeout(std::int32_t timeout) override { return session_.SetTimeout(timeout); }
  HRESULT GetIFormattedIO488Pointer(visa::IFormattedIO488** formatted) override {
    return session_.GetIFormattedIO488Pointer(formatted);
  }

 private:
  io::CVisaComSession session_;
};

}  // namespace

std::unique_ptr<ISessionPort> MakeVisaSessionPort() { return std::make_unique<VisaSessionPort>(); }

}  // namespace motqr::driver
