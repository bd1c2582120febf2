#include "tools/session.h"

#include "platform/com/error_info.h"
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

std::vector<InstrumentError> Session::DrainErrorQueue(int most) const {
  std::vector<InstrumentError> entries;
  com::ComPtr<IIviDriverUtility> utility;
  if (!Driver(&utility).ok()) return entries;
  for (int i = 0; i < most; ++i) {
    std::int32_t code = 0;
    com::Bstr message;
    if (!Check(utility->ErrorQuery(&code, message.Put()), "ErrorQuery").ok() || code == 0) break;
    entries.push_back({code, message.ToUtf8()});
  }
  return entries;
}

Status Session::Channel(std::string_view name, com::ComPtr<IMorvaneTqrOutputChannel>* out) const {
  if (name.empty()) name = default_channel_;
  com::ComPtr<IMorvaneTqrOutputs> outputs;
  MOTQR_CLI_TRY(Check(driver_->get_Outputs(outputs.Put()), "Outputs"));
  // The names the instrument has, for a channel it does not have.
  const auto unknown = [&](std::string what) {
    std::int32_t count = 0;
    std::string names;
    if (com::Succeeded(outputs->get_Count(&count))) {
      for (std::int32_t i = 1; i <= count; ++i) {
        com::Bstr n;
        if (com::Failed(outputs->get_Name(i, n.Put()))) break;
        names += (i > 1 ? ", " : "") + std::to_string(i) + " (" + n.ToUtf8() + ")";
      }
    }
    com::ErrorRecord ignored;
    com::TakeErrorInfo(&ignored);
    return Status::Usage(
        "no channel " + what + ": the instrument has " +
        (count == 1 ? std::string("one channel, ") : std::to_string(count) + " channels, ") +
        names + " (--channel takes the number or the name)");
  };
  com::Bstr channel_name;
  const auto index = ParseInteger(name);
  if (name.empty() || index) {
    const auto number = static_cast<std::int32_t>(index.value_or(1));
    if (com::Failed(outputs->get_Name(number, channel_name.Put())))
      return unknown(std::to_string(number));
  } else {
    channel_name = com::Bstr::FromUtf8(name);
  }
  if (com::Failed(outputs->get_Item(channel_name.Get(), out->Put())))
    return unknown("'" + channel_name.ToUtf8() + "'");
  return Status::Ok();
}

}  // namespace motqr::cli
