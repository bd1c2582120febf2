#include "driver/visa_session_port.h"

#include <cctype>
#include <charconv>
#include <initializer_list>
#include <mutex>
#include <optional>

#include "io/session/visa_com_session.h"
#include "platform/visa/open_transport.h"
#include "platform/visa/resource_manager.h"
#include "platform/visa/wire_log.h"

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
    visa::ScopedOpenAttributes::Attributes attributes;
    for (const auto& [key, value] : request_.serial) {
      std::optional<visa::ViAttrState> state = SerialValue(key, value);
      if (!state) {
        return reporter->BadOptionValue(value,
                                        "Serial settings: Baud a rate, Parity none, odd, "
                                        "even, mark or space, DataBits 5 to 8, StopBits 1, "
                                        "1.5 or 2, FlowControl none, xon, rts or dtr.");
      }
      attributes.emplace_back(SerialAttribute(key), *state);
    }
    visa::ScopedOpenAttributes set(std::move(attributes));
    visa::ScopedVisaLibraryPreference library(request_.prefer_visa_library);
    if (request_.log_path.empty()) return session_.Open(resource, poller, reporter, formatter);
    visa::ScopedWireLog log({request_.log_path, request_.log_size_max, request_.log_label});
    return session_.Open(resource, poller, reporter, formatter);
  }
  void SetTransportRequest(TransportRequest request) override { request_ = std::move(request); }
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
    const HRESULT hr = session_.QueryText(command, reply_format, outputs);
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
  static visa::ViAttr SerialAttribute(const std::string& key) {
    return key == "baud"       ? visa::VI_ATTR_ASRL_BAUD
           : key == "parity"   ? visa::VI_ATTR_ASRL_PARITY
           : key == "databits" ? visa::VI_ATTR_ASRL_DATA_BITS
           : key == "stopbits" ? visa::VI_ATTR_ASRL_STOP_BITS
                               : visa::VI_ATTR_ASRL_FLOW_CNTRL;
  }
  // The attribute value of a serial setting as written; none when it is not one.
  static std::optional<visa::ViAttrState> SerialValue(const std::string& key, std::string value) {
    for (char& c : value) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto pick =
        [&value](std::initializer_list<std::pair<const char*, visa::ViAttrState>> words)
        -> std::optional<visa::ViAttrState> {
      for (const auto& [word, state] : words)
        if (value == word) return state;
      return std::nullopt;
    };
    if (key == "baud") {
      visa::ViAttrState rate = 0;
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), rate);
      if (ec != std::errc() || end != value.data() + value.size() || rate == 0) return std::nullopt;
      return rate;
    }
    if (key == "parity") {
      return pick({{"none", visa::VI_ASRL_PAR_NONE},
                   {"odd", visa::VI_ASRL_PAR_ODD},
                   {"even", visa::VI_ASRL_PAR_EVEN},
                   {"mark", visa::VI_ASRL_PAR_MARK},
                   {"space", visa::VI_ASRL_PAR_SPACE}});
    }
    if (key == "databits") return pick({{"5", 5}, {"6", 6}, {"7", 7}, {"8", 8}});
    if (key == "stopbits") {
      return pick({{"1", visa::VI_ASRL_STOP_ONE},
                   {"1.5", visa::VI_ASRL_STOP_ONE5},
                   {"2", visa::VI_ASRL_STOP_TWO}});
    }
    return pick({{"none", visa::VI_ASRL_FLOW_NONE},
                 {"xon", visa::VI_ASRL_FLOW_XON_XOFF},
                 {"rts", visa::VI_ASRL_FLOW_RTS_CTS},
                 {"dtr", visa::VI_ASRL_FLOW_DTR_DSR}});
  }

  io::CVisaComSession session_;
  TransportRequest request_;
};

}  // namespace

std::unique_ptr<ISessionPort> MakeVisaSessionPort() { return std::make_unique<VisaSessionPort>(); }

}  // namespace motqr::driver
