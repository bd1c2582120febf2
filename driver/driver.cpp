#include "driver/driver.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "errors/morvane_tqr_error_reporter.h"
#include "platform/com/bstr.h"
#include "platform/com/error_info.h"

namespace motqr::driver {
namespace {

constexpr HRESULT kUnknownResourceStatus = com::MakeHresult(0x80047060u);
constexpr int kEsrErrorBits = 0x3C;  // query, device, execution and command errors

constexpr OperationFlag kFlagOrder[] = {OperationFlag::kCache,
                                        OperationFlag::kInterchangeCheck,
                                        OperationFlag::kQueryInstrumentStatus,
                                        OperationFlag::kRangeCheck,
                                        OperationFlag::kRecordCoercions,
                                        OperationFlag::kSimulate};

std::atomic<std::uint64_t> g_channel_epoch{0};
std::atomic<bool> g_trace_started{false};

void NoteChannelsChange() { g_channel_epoch.fetch_add(1, std::memory_order_acq_rel); }

std::string Trim(std::string_view s, std::string_view chars) {
  const std::size_t b = s.find_first_not_of(chars);
  if (b == std::string_view::npos) return {};
  return std::string(s.substr(b, s.find_last_not_of(chars) - b + 1));
}

}  // namespace

std::uint64_t ChannelEpoch() { return g_channel_epoch.load(std::memory_order_acquire); }
bool AnyTraceStarted() { return g_trace_started.load(std::memory_order_acquire); }

CDriver::CDriver(const com::CLSID& driver_clsid, SessionPortFactory session_factory,
                 const IEnumTokenPort* enum_tokens)
    : CNode(std::make_shared<std::recursive_mutex>()),
      reporter_(std::make_unique<errors::CMorvaneTqrErrorReporter>(driver_clsid, this)),
      session_factory_(session_factory),
      enum_tokens_(enum_tokens) {}

CDriver::~CDriver() {
  NoteChannelsChange();
  self_->store(nullptr);
  if (session_ && session_->IsOpen()) session_->Close();
  DestroyChildren();
}

// Initialize ----------------------------------------------------------------

HRESULT CDriver::Initialize(const char16_t* resource_name, bool id_query, bool reset,
                            const char16_t* option_string) {
  if (!resource_name) return reporter_->InvalidValueString("Initialize", "ResourceName", "0");
  if (initialized_) return reporter_->AlreadyInitialized();
  NoteChannelsChange();

  // A failed Initialize leaves the object as it was before the call.
  SessionSettings saved_settings = settings_;
  OperationFlags saved_initial = initial_flags_;
  InstrumentIdentity saved_identity = identity_;
  auto fail = [&](HRESULT hr) {
    settings_ = std::move(saved_settings);
    initial_flags_ = saved_initial;
    identity_ = std::move(saved_identity);
    return hr;
  };

  id_query_ = id_query;
  reset_ = reset;
  if (HRESULT hr = ProcessResourceAndOptions(resource_name, option_string); com::Failed(hr))
    return fail(hr);
  if (settings_.flags.interchange_check) {
    return fail(
        reporter_->BadOptionValue("True", "Interchange checking is not supported by the driver."));
  }
  if (HRESULT hr = StartTrace(); com::Failed(hr)) return fail(hr);
  if (trace_.active()) g_trace_started.store(true, std::memory_order_release);
  if (!store_warning_.empty()) trace_.Note(store_warning_);
  if (HRESULT hr = OpenIoSession(); com::Failed(hr)) return fail(hr);
  initialized_ = true;

  HRESULT hr = com::S_OK;
  if (settings_.flags.query_instrument_status) hr = ClearInstrumentStatus();
  if (com::Succeeded(hr)) hr = QueryIdentity();
  if (com::Succeeded(hr) && id_query_ && !IsModelSupported()) {
    hr = reporter_->IdQueryFailed("Unrecognized model: " + identity_.model + ".");
  }
  if (com::Succeeded(hr)) {
    DestroyChildren();  // left over from an Initialize that failed after building them
    Attach(this, nullptr);
    hr = CreateChildCollections();
  }
  if (com::Succeeded(hr)) hr = ForEachPreOrder(&CNode::OnInitialize);
  if (com::Succeeded(hr) && reset_) {
    if (com::Failed(ResetThroughInterface())) hr = reporter_->ResetFailed();
  }
  if (com::Failed(hr)) {
    UndoInitialize();
    return fail(hr);
  }
  return hr;
}

HRESULT CDriver::ProcessResourceAndOptions(const char16_t* resource_name,
                                           const char16_t* option_string) {
  SessionSettings s;
  s.option_string = com::BstrToUtf8(option_string);
  s.trace = settings_.trace;  // the trace keeps its file state across sessions
  const std::string resource = com::BstrToUtf8(resource_name);
  HRESULT hr = com::S_OK;
  store_warning_.clear();
  if (!ApplyConfigurationStore(resource, s.option_string, &s, &hr)) {
    s.resource_descriptor = resource;
    hr = ProcessOptionString(s.option_string, s, *reporter_);
  }
  if (com::Failed(hr)) return hr;
  if (s.flags.simulate && s.model.empty()) s.model = DriverConstants::kDefaultModel;
  settings_ = std::move(s);
  initial_flags_ = settings_.flags;
  if (!settings_.model.empty()) identity_.model = settings_.model;
  return com::S_OK;
}

void CDriver::UndoInitialize() {
  CloseIoSession();
  initialized_ = false;
}

// Close, Reset, Disable -------------------------------------------------------

HRESULT CDriver::Close() {
  if (!initialized_) return reporter_->NotInitialized();
  NoteChannelsChange();
  EndTraceWithSession();
  HRESULT first = CloseIoSession();
  store().Clear();
  settings_.driver_setup.clear();
  initialized_ = false;
  HRESULT hr = ForEachPostOrder(&CNode::OnClose);
  if (com::Succeeded(first)) first = hr;
  DestroyChildren();
  Attach(nullptr, nullptr);
  return first;
}

HRESULT CDriver::Reset() {
  HRESULT hr = com::S_OK;
  if (!simulating()) {
    std::int32_t opc = 0;
    hr = session_ ? session_->QueryInt32("*RST;*OPC?", &opc, true, reset_timeout)
                  : reporter_->NotInitialized();
  }
  ForEachPreOrder(&CNode::OnReset);
  InvalidateAllAttributes();
  return hr;
}

HRESULT CDriver::ResetWithDefaults() {
  HRESULT hr = Reset();
  if (com::Failed(hr)) return hr;
  return RestoreOperationSettings();
}

HRESULT CDriver::Disable() {
  if (simulating()) return com::S_OK;
  std::int32_t opc = 0;
  return session_ ? session_->QueryInt32("*RST;*OPC?", &opc, true, disable_timeout)
                  : reporter_->NotInitialized();
}

// Flags ------------------------------------------------------------------------

HRESULT CDriver::PutFlag(OperationFlag flag, bool value) {
  OperationFlags& f = settings_.flags;
  switch (flag) {
    case OperationFlag::kCache:
      f.cache = value;
      if (!value) InvalidateAllAttributes();
      return com::S_OK;
    case OperationFlag::kQueryInstrumentStatus:
      f.query_instrument_status = value;
      return value && !f.simulate ? ClearInstrumentStatus() : com::S_OK;
    case OperationFlag::kInterchangeCheck:
      if (value) return reporter_->ValueNotSupported("VARIANT_TRUE", "val", "put_InterchangeCheck");
      f.interchange_check = false;
      return com::S_OK;
    case OperationFlag::kRangeCheck:
    case OperationFlag::kRecordCoercions:
      f[flag] = value;
      return com::S_OK;
    case OperationFlag::kSimulate:
      if (initial_flags_.simulate && !value) return reporter_->CannotChangeSimulationState();
      f.simulate = value;
      return com::S_OK;
  }
  return com::E_INVALIDARG;
}

HRESULT CDriver::RestoreOperationSettings() {
  for (OperationFlag flag : kFlagOrder) {
    if (HRESULT hr = PutFlagThroughInterface(flag, initial_flags_[flag]); com::Failed(hr))
      return hr;
  }
  return com::S_OK;
}

HRESULT CDriver::GetNextCoercionRecord(std::string* record) {
  record->clear();
  if (!settings_.flags.record_coercions || coercion_records_.empty()) return com::S_OK;
  *record = std::move(coercion_records_.front());
  coercion_records_.pop_front();
  return com::S_OK;
}

// Status and error queries -------------------------------------------------------

HRESULT CDriver::PollInstrumentErrors() {
  if (!settings_.flags.query_instrument_status || !session_) return com::S_OK;
  std::string reply;
  if (com::Failed(session_->WriteString("*ESR?", false, io::kTmoKeep)) ||
      com::Failed(session_->ReadString(&reply, io::kTmoKeep))) {
    session_->Clear();
    ++failed_polls_;
    return reporter_->InstrumentStatus();
  }
  if (DecimalPrefix(reply) & kEsrErrorBits) {
    ++failed_polls_;
    return reporter_->InstrumentStatus();
  }
  return com::S_OK;
}

HRESULT CDriver::ErrorQuery(std::int32_t* code, std::string* message) {
  *code = 0;
  message->clear();
  if (simulating()) {
    *message = "No error.";
    return com::S_OK;
  }
  if (!session_) return reporter_->NotInitialized();
  // The query must not trigger a status poll of its own.
  const bool saved = settings_.flags.query_instrument_status;
  settings_.flags.query_instrument_status = false;
  // "<code>,<text>": an integer, a comma, the rest of the response.
  std::string text;
  const io::ScanArg outputs[] = {code, &text};
  const HRESULT hr = session_->QueryFormatted(":SYST:ERR?", "%d,%$Ct", outputs);
  settings_.flags.query_instrument_status = saved;
  if (com::Failed(hr)) return reporter_->UnexpectedResponse();
  text = Trim(text, " \t\r\n\v\f");
  text = Trim(text, "\"");
  *message = Trim(text, " \t\r\n\v\f");
  return com::S_OK;
}

HRESULT CDriver::SelfTest(std::int32_t* result, std::string* message) {
  *result = 0;
  message->clear();
  if (simulating()) {
    *message = "Selftest passed";
    return com::S_OK;
  }
  if (!session_) return reporter_->NotInitialized();
  HRESULT hr = session_->QueryInt32("*TST?", result, true, self_test_timeout);
  if (com::Failed(hr)) return hr;
  *message = *result ? "Selftest failed" : "Selftest passed";
  return hr;
}

// Internal operations -------------------------------------------------------------

HRESULT CDriver::OpenIoSession() {
  if (simulating()) return com::S_OK;
  if (!session_ && session_factory_) session_ = session_factory_();
  if (!session_) {
    return reporter_->IoError(
        "Could not create instance of VISA-COM Global Resource Manager Component. Make sure it "
        "is installed properly.");
  }
  if (HRESULT hr = RequestTransport(); com::Failed(hr)) return hr;
  HRESULT hr = session_->Open(settings_.resource_descriptor, this, reporter_.get(), this);
  if (hr == kUnknownResourceStatus) {
    // The session's report says why (below its first line); that stays.
    com::ErrorRecord session_report;
    com::PeekErrorInfo(&session_report);
    const std::size_t why = session_report.description.find("\r\n");
    return reporter_->UnknownResource(
        "Resource descriptor = " + settings_.resource_descriptor + "." +
        (why == std::string::npos ? std::string() : session_report.description.substr(why)));
  }
  // A time-out from the driver setup holds from the first exchange ("*CLS", "*IDN?") on.
  if (com::Succeeded(hr) && settings_.io_timeout) {
    if (HRESULT set = session_->SetIoTimeout(*settings_.io_timeout); com::Failed(set)) {
      session_->Close();
      return set;
    }
  }
  return hr;
}

HRESULT CDriver::RequestTransport() {
  TransportRequest request;
  request.serial = settings_.serial;
  request.prefer_visa_library = settings_.prefer_visa_library;
  if (!settings_.log_io.empty()) {
    // A log that cannot be written is refused here, not lost silently.
    std::FILE* file = std::fopen(settings_.log_io.c_str(), "a");
    if (!file) {
      return reporter_->IoError("The wire log '" + settings_.log_io +
                                "' cannot be opened: " + std::strerror(errno) + ".");
    }
    std::fclose(file);
    request.log_path = settings_.log_io;
    request.log_size_max = static_cast<std::uint64_t>(std::max(settings_.log_io_size_max, 0));
    request.log_label = [self = self_] {
      CDriver* driver = self->load();
      const errors::MethodDescriptor* d = driver ? driver->GetCallContext() : nullptr;
      return d ? d->qualified_name : std::string();
    };
  }
  session_->SetTransportRequest(std::move(request));
  return com::S_OK;
}

HRESULT CDriver::ClearInstrumentStatus() {
  if (simulating()) return com::S_OK;
  if (!session_) return reporter_->NotInitialized();
  return session_->WriteString("*CLS", true, io::kTmoKeep);
}

HRESULT CDriver::QueryIdentity() {
  if (simulating()) return com::S_OK;
  if (!session_) return reporter_->NotInitialized();
  std::string reply;
  if (HRESULT hr = session_->QueryString("*IDN?", &reply, io::kTmoKeep); com::Failed(hr)) return hr;
  identity_ = ParseIdentity(reply);
  return com::S_OK;
}

bool CDriver::IsModelSupported() { return initialized_ && IsKnownModel(identity_.model); }

HRESULT CDriver::CloseIoSession() {
  if (simulating() || !session_) return com::S_OK;
  return session_->Close();
}

// Enumeration tokens -------------------------------------------------------------

std::string_view CDriver::ExecutingMember() {
  const errors::MethodDescriptor* d = GetCallContext();
  return d ? d->qualified_name : std::string_view();
}

std::string_view CDriver::TokenModel() const {
  return initialized_ ? std::string_view(identity_.model) : std::string_view();
}

HRESULT CDriver::ReportUnknownEnum(std::string_view enum_name) {
  return reporter_->CannotRecover("Unrecognized enum name '" + std::string(enum_name) + "'.");
}

HRESULT CDriver::FormatEnum(std::string_view enum_name, std::int32_t value, std::string* token) {
  const EnumTokenLookup found =
      enum_tokens_ ? enum_tokens_->Token(enum_name, ExecutingMember(), TokenModel(), value, token)
                   : EnumTokenLookup::kNoTable;
  if (found == EnumTokenLookup::kFound) return com::S_OK;
  if (found == EnumTokenLookup::kNoTable) return ReportUnknownEnum(enum_name);
  return reporter_->InvalidValueIntCurrent("nVal", value, "%d");
}

HRESULT CDriver::ParseEnum(std::string_view enum_name, std::string_view text, std::int32_t* value) {
  const EnumTokenLookup found =
      enum_tokens_ ? enum_tokens_->Value(enum_name, ExecutingMember(), TokenModel(), text, value)
                   : EnumTokenLookup::kNoTable;
  if (found == EnumTokenLookup::kFound) return com::S_OK;
  if (found == EnumTokenLookup::kNoTable) return ReportUnknownEnum(enum_name);
  return reporter_->UnexpectedResponse("Unexpected value '" + std::string(text) + "' for enum '" +
                                       std::string(enum_name) + "'.");
}

std::int32_t CDriver::GetMaxEnumLength(std::string_view enum_name) {
  return enum_tokens_ ? enum_tokens_->MaxTokenLength(enum_name, ExecutingMember()) : 0;
}

}  // namespace motqr::driver
