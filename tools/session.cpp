#include "tools/session.h"

#include "tools/scalar.h"

namespace motqr::cli {

Status Session::Open(const CliOptions& options, bool check_status,
                     std::unique_ptr<Session>* session) {
  if (options.resource.empty()) {
    return Status::Usage(
        "no instrument: give --resource NAME (or --logical-name, $MOTQR_RESOURCE, --simulate)");
  }
  std::unique_ptr<Session> s(new Session);
  com::ComPtr<IIviDriver> driver;
  MOTQR_CLI_TRY(Check(CreateMorvaneTqr(driver.Put()), "CreateMorvaneTqr"));
  MOTQR_CLI_TRY(Check(driver->QueryInterface(IMorvaneTqr::kIid, s->driver_.PutVoid()), "driver"));
  const std::string option_string = BuildOptionString(options, check_status);
  MOTQR_CLI_TRY(
      Check(driver->Initialize(com::Bstr::FromUtf8(options.resource).Get(), com::VARIANT_TRUE,
                               com::VARIANT_FALSE, com::Bstr::FromUtf8(option_string).Get()),
            "Initialize"));
  com::ComPtr<IIviDriverOperation> operation;
  MOTQR_CLI_TRY(s->Driver(&operation));
  com::VARIANT_BOOL simulate = com::VARIANT_FALSE;
  MOTQR_CLI_TRY(Check(operation->get_Simulate(&simulate), "Simulate"));
  s->simulating_ = simulate != com::VARIANT_FALSE;
  // A simulated session has no I/O session to take a time-out.
  if (options.timeout_ms && !s->simulating_) {
    com::ComPtr<IMorvaneTqrSystem> system;
    MOTQR_CLI_TRY(s->Driver(&system));
    MOTQR_CLI_TRY(Check(system->put_IOTimeout(*options.timeout_ms), "--timeout"));
  }
  s->default_channel_ = options.channel;
  *session = std::move(s);
  return Status::Ok();
}

Session::~Session() {
  if (driver_) {
    driver_->Close();
    com::ErrorRecord ignored;
    com::TakeErrorInfo(&ignored);
  }
}

std::vector<std::string> Session::DrainErrorQueue(int most) const {
  std::vector<std::string> entries;
  com::ComPtr<IIviDriverUtility> utility;
  if (!Driver(&utility).ok()) return entries;
  for (int i = 0; i < most; ++i) {
    std::int32_t code = 0;
    com::Bstr message;
    if (!Check(utility->ErrorQuery(&code, message.Put()), "ErrorQuery").ok() || code == 0) break;
    entries.push_back(std::to_string(code) + ",\"" + message.ToUtf8() + "\"");
  }
  return entries;
}

Status Session::Channel(std::string_view name, com::ComPtr<IMorvaneTqrOutputChannel>* out) const {
  if (name.empty()) name = default_channel_;
  com::ComPtr<IMorvaneTqrOutputs> outputs;
  MOTQR_CLI_TRY(Check(driver_->get_Outputs(outputs.Put()), "Outputs"));
  com::Bstr channel_name;
  const auto index = ParseInteger(name);
  if (name.empty() || index) {
    const auto number = static_cast<std::int32_t>(index.value_or(1));
    MOTQR_CLI_TRY(
        Check(outputs->get_Name(number, channel_name.Put()), "channel " + std::to_string(number)));
  } else {
    channel_name = com::Bstr::FromUtf8(name);
  }
  return Check(outputs->get_Item(channel_name.Get(), out->Put()),
               "channel '" + channel_name.ToUtf8() + "'");
}

}  // namespace motqr::cli
