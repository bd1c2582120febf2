// CDriver: one driver session with one instrument -- its settings, identity,
// flags, I/O session and the algorithms of Initialize, Close, Reset and the
// flag setters. The component class wraps each of them in the call frame.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "driver/call_context_stack.h"
#include "driver/enum_token_port.h"
#include "driver/identity.h"
#include "driver/node.h"
#include "driver/options.h"
#include "driver/session_port.h"
#include "errors/morvane_tqr_error_reporter.h"
#include "io/enum_formatter.h"
#include "platform/com/types.h"
#include "trace/trace_writer.h"

namespace motqr::driver {

// Counts the moments when any driver object's channels may change or go (an
// Initialize, a Close, a driver object destroyed). A caller that keeps a channel
// object it found by name may use it again while the count is what it was when
// the channel was found.
std::uint64_t ChannelEpoch();
// Whether any driver object of this process has started its method trace.
bool AnyTraceStarted();

class CDriver : public CNode, public io::IEnumFormatter {
 public:
  // `session_factory` makes the I/O session (null: no I/O library is present);
  // `enum_tokens` holds the token tables (null: none); it outlives the driver.
  CDriver(const com::CLSID& driver_clsid, SessionPortFactory session_factory,
          const IEnumTokenPort* enum_tokens);
  ~CDriver() override;

  // --- Settings and state --------------------------------------------------
  const SessionSettings& settings() const { return settings_; }
  const OperationFlags& flags() const { return settings_.flags; }
  const OperationFlags& initial_flags() const { return initial_flags_; }
  const InstrumentIdentity& identity() const { return identity_; }
  bool initialized() const { return initialized_; }
  bool simulating() const { return settings_.flags.simulate; }
  const std::string& instrument_model() const { return identity_.model; }
  errors::IErrorReporter& reporter() { return *reporter_; }
  CallContextStack& call_contexts() { return call_contexts_; }
  trace::CTraceWriter& trace() { return trace_; }
  ISessionPort* session() { return session_.get(); }
  // Why the configuration store was passed over by the last Initialize (a
  // store that exists but cannot be loaded); empty when it was used or absent.
  const std::string& configuration_store_warning() const { return store_warning_; }

  std::int32_t self_test_timeout = 2000;
  std::int32_t disable_timeout = 2000;
  std::int32_t reset_timeout = 2000;
  static constexpr std::int32_t kCoercionRecordLimit = 1000;

  // --- Algorithms (run inside a call frame by the component class) --------
  HRESULT Initialize(const char16_t* resource_name, bool id_query, bool reset,
                     const char16_t* option_string);
  HRESULT Close();
  HRESULT Reset();
  HRESULT ResetWithDefaults();
  HRESULT Disable();
  // The flag setters, with their side effects.
  HRESULT PutFlag(OperationFlag flag, bool value);
  HRESULT RestoreOperationSettings();
  HRESULT GetNextCoercionRecord(std::string* record);
  HRESULT ErrorQuery(std::int32_t* code, std::string* message);
  HRESULT SelfTest(std::int32_t* result, std::string* message);

  // --- Internal operations -------------------------------------------------
  virtual HRESULT OpenIoSession();
  virtual HRESULT ClearInstrumentStatus();
  virtual HRESULT QueryIdentity();
  virtual bool IsModelSupported();
  virtual HRESULT CloseIoSession();

  CDriver* session_driver() override { return this; }
  // IInstrErrorPoller
  HRESULT PollInstrumentErrors() override;
  // How many status polls have failed so far: a change across an exchange
  // tells that its reply was read and the poll after it failed.
  std::uint64_t failed_polls() const { return failed_polls_; }
  // ICallContextProvider
  const errors::MethodDescriptor* GetCallContext() override { return call_contexts_.Top(); }

  // IEnumFormatter, over the token tables of the enumeration for the member
  // being executed and the instrument model.
  HRESULT FormatEnum(std::string_view enum_name, std::int32_t value, std::string* token) override;
  HRESULT ParseEnum(std::string_view enum_name, std::string_view text,
                    std::int32_t* value) override;
  std::int32_t GetMaxEnumLength(std::string_view enum_name) override;

 protected:
  // Calls made "through the driver's own interface, call frame included".
  virtual HRESULT ResetThroughInterface() = 0;
  virtual HRESULT PutFlagThroughInterface(OperationFlag flag, bool value) = 0;
  // Builds the child collections of every repeated-capability class (step 12).
  virtual HRESULT CreateChildCollections() { return com::S_OK; }
  // Reads the configuration store into `s` for `resource_name` and applies the
  // option string; false when the store cannot be opened or loaded (nothing
  // applied; a store that cannot be loaded leaves its reason in
  // configuration_store_warning()).
  // Defined in driver/configuration_store.cpp.
  virtual bool ApplyConfigurationStore(const std::string& resource_name, const std::string& options,
                                       SessionSettings* s, HRESULT* status);
  // Adds a virtual channel name read from the store; the driver class knows the
  // repeated capability its physical names belong to.
  virtual void AddVirtualName(VirtualNameMap& /*names*/, std::string_view /*virtual_name*/,
                              std::string_view /*maps_to*/) {}

 private:
  // The qualified name of the member being executed ("" outside any member)
  // and the instrument model ("" before Initialize), for the token tables.
  std::string_view ExecutingMember();
  std::string_view TokenModel() const;
  HRESULT ReportUnknownEnum(std::string_view enum_name);
  HRESULT ProcessResourceAndOptions(const char16_t* resource_name, const char16_t* options);
  // Starts (or stops) the method trace as the settings say; and ends it with
  // the session (driver/driver_trace.cpp).
  HRESULT StartTrace();
  void EndTraceWithSession();
  // Hands the session what the driver setup asks of its transport (LogIO,
  // the serial settings).
  HRESULT RequestTransport();
  void UndoInitialize();

  SessionSettings settings_;
  OperationFlags initial_flags_;
  InstrumentIdentity identity_;
  bool id_query_ = false;
  bool reset_ = false;
  bool initialized_ = false;
  std::uint64_t failed_polls_ = 0;
  std::string store_warning_;
  std::deque<std::string> coercion_records_;
  CallContextStack call_contexts_;
  std::unique_ptr<errors::CMorvaneTqrErrorReporter> reporter_;
  SessionPortFactory session_factory_;
  const IEnumTokenPort* enum_tokens_;
  std::unique_ptr<ISessionPort> session_;
  trace::CTraceWriter trace_;
  // This object for the wire log's labels, which may outlive it (null then).
  std::shared_ptr<std::atomic<CDriver*>> self_ = std::make_shared<std::atomic<CDriver*>>(this);
};

}  // namespace motqr::driver
