#include "component/morvane_tqr.h"

#include "commands/enum_token_port.h"
#include "component/output_channel.h"
#include "driver/identity.h"
#include "driver/visa_session_port.h"
#include "repcap/channel_names.h"
#include "repcap/rep_cap.h"

namespace motqr {
namespace {

using com::S_OK;
using driver::CallFrame;
using driver::Check;
using driver::Describe;
using driver::DriverConstants;
using driver::OperationFlag;
using driver::RunFrame;

VARIANT_BOOL ToVariantBool(bool b) { return b ? com::VARIANT_TRUE : com::VARIANT_FALSE; }

HRESULT SetText(CallFrame& frame, BSTR* val, const std::string& text) {
  *val = com::AllocBstrFromUtf8(text);
  return *val ? S_OK : frame.reporter().OutOfMemory();
}

}  // namespace

MorvaneTqr::MorvaneTqr(driver::SessionPortFactory session_factory)
    : CDriver(CLSID_MorvaneTqr, session_factory, &commands::EnumTokenPort()) {}

com::ComPtr<IIviDriver> MorvaneTqr::Create(driver::SessionPortFactory session_factory) {
  auto* object = new (std::nothrow) MorvaneTqr(session_factory);
  return com::ComPtr<IIviDriver>::Attach(object ? object->driver_interface() : nullptr);
}

HRESULT MorvaneTqr::CreateInstance(com::IUnknown* outer, const com::IID& iid, void** object) {
  if (!object) return com::E_POINTER;
  *object = nullptr;
  if (outer && iid != com::IUnknown::kIid) return com::CLASS_E_NOAGGREGATION;
  com::ComPtr<IIviDriver> driver = Create(&driver::MakeVisaSessionPort);
  if (!driver) return com::E_OUTOFMEMORY;
  if (!outer) return driver->QueryInterface(iid, object);
  // The outer object holds the one reference, through the inner unknown.
  auto* created = static_cast<MorvaneTqr*>(static_cast<IMorvaneTqr*>(driver.Detach()));
  created->AggregateInto(outer);
  *object = created->inner_unknown();
  return com::S_OK;
}

HRESULT MorvaneTqr::InnerQueryInterface(const com::IID& iid, void** object) {
  return QueryInterfaceTable(this, iid, object,
                             {Entry<IMorvaneTqr>(),
                              Entry<IIviDriver, IMorvaneTqr>(),
                              Entry<IIviDCPwr>(),
                              Entry<IIviDriverOperation>(),
                              Entry<IIviDriverIdentity>(),
                              Entry<IIviComponentIdentity, IIviDriverIdentity>(),
                              Entry<IIviDriverUtility>(),
                              Entry<IMorvaneTqrOutputs>(),
                              Entry<IIviDCPwrOutputs>(),
                              Entry<IIviDCPwrTrigger>(),
                              Entry<IMorvaneTqrSystem>(),
                              Entry<IMorvaneTqrData>(),
                              Entry<IMorvaneTqrProgram>(),
                              Entry<IMorvaneTqrSense>(),
                              Entry<IMorvaneTqrSystemAnalog>(),
                              Entry<IMorvaneTqrSystemIO>(),
                              Entry<IMorvaneTqrSystemMemory>(),
                              Entry<IMorvaneTqrStatus>(),
                              Entry<IMorvaneTqrStatusQuestionable>(),
                              Entry<IMorvaneTqrStatusOperation>(),
                              Entry<IMorvaneTqrTrigger>(),
                              Entry<IMorvaneTqrGlobal>(),
                              Entry<IMorvaneTqrSystemDiagnostic>(),
                              Entry<com::ISupportErrorInfo>(),
                              Entry<com::IUnknown, IMorvaneTqr>()});
}

HRESULT MorvaneTqr::InterfaceSupportsErrorInfo(const com::IID& iid) {
  for (const com::IID* known :
       {&IIviDriver::kIid, &IIviDriverOperation::kIid, &IIviDriverIdentity::kIid,
        &IIviComponentIdentity::kIid, &IIviDriverUtility::kIid}) {
    if (*known == iid) return S_OK;
  }
  return com::S_FALSE;
}

// Shared member shapes ------------------------------------------------------------

template <class Target>
HRESULT MorvaneTqr::HandOut(const errors::MethodDescriptor& m, Target** val) {
  return RunFrame(*this, m, Check::kNone, [&](CallFrame& f) -> HRESULT {
    MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
    MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val)));
    // This object's own interface, also when an outer object aggregates it.
    return InnerQueryInterface(Target::kIid, reinterpret_cast<void**>(val));
  });
}

HRESULT MorvaneTqr::GetFlag(const errors::MethodDescriptor& m, OperationFlag flag,
                            VARIANT_BOOL* val) {
  return RunFrame(*this, m, Check::kInitialized, [&](CallFrame& f) -> HRESULT {
    MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
    MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val, com::VT_BOOL)));
    *val = ToVariantBool(flags()[flag]);
    return S_OK;
  });
}

HRESULT MorvaneTqr::PutFlagMember(const errors::MethodDescriptor& m, OperationFlag flag,
                                  VARIANT_BOOL val) {
  return RunFrame(*this, m, Check::kInitialized, [&](CallFrame& f) -> HRESULT {
    MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter("val", val, com::VT_BOOL)));
    return PutFlag(flag, val != com::VARIANT_FALSE);
  });
}

HRESULT MorvaneTqr::GetText(const errors::MethodDescriptor& m, Check check, BSTR* val,
                            std::string (*text)(MorvaneTqr&)) {
  return RunFrame(*this, m, check, [&](CallFrame& f) -> HRESULT {
    MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
    MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val)));
    return SetText(f, val, text(*this));
  });
}

// IIviDriver -------------------------------------------------------------------------

HRESULT MorvaneTqr::get_DriverOperation(IIviDriverOperation** val) {
  return HandOut(Describe<IIviDriver, "get_DriverOperation">(), val);
}
HRESULT MorvaneTqr::get_Identity(IIviDriverIdentity** val) {
  return HandOut(Describe<IIviDriver, "get_Identity">(), val);
}
HRESULT MorvaneTqr::get_Utility(IIviDriverUtility** val) {
  return HandOut(Describe<IIviDriver, "get_Utility">(), val);
}

HRESULT MorvaneTqr::Initialize(BSTR ResourceName, VARIANT_BOOL IdQuery, VARIANT_BOOL Reset,
                               BSTR OptionString) {
  return RunFrame(
      *this, Describe<IIviDriver, "Initialize">(), Check::kNone, [&](CallFrame& f) -> HRESULT {
        MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter("ResourceName", ResourceName),
                                       trace::InParameter("IdQuery", IdQuery, com::VT_BOOL),
                                       trace::InParameter("Reset", Reset, com::VT_BOOL),
                                       trace::InParameter("OptionString", OptionString)));
        return CDriver::Initialize(ResourceName, IdQuery != com::VARIANT_FALSE,
                                   Reset != com::VARIANT_FALSE, OptionString);
      });
}

HRESULT MorvaneTqr::get_Initialized(VARIANT_BOOL* val) {
  return RunFrame(*this, Describe<IIviDriver, "get_Initialized">(), Check::kNone,
                  [&](CallFrame& f) -> HRESULT {
                    MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
                    MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val, com::VT_BOOL)));
                    *val = ToVariantBool(initialized());
                    return S_OK;
                  });
}

HRESULT MorvaneTqr::Close() {
  // Not-initialized is Close's own first step, reported by CDriver::Close.
  return RunFrame(*this, Describe<IIviDriver, "Close">(), Check::kNone,
                  [&](CallFrame& f) -> HRESULT {
                    MOTQR_RETURN_IF_FAILED(f.Trace());
                    return CDriver::Close();
                  });
}

// IMorvaneTqr and IIviDCPwr navigation ----------------------------------------------------

HRESULT MorvaneTqr::get_Outputs(IMorvaneTqrOutputs** val) {
  return NavigateFrom<IMorvaneTqr, "get_Outputs">(val);
}
HRESULT MorvaneTqr::get_System(IMorvaneTqrSystem** val) {
  return NavigateFrom<IMorvaneTqr, "get_System">(val);
}
HRESULT MorvaneTqr::get_Data(IMorvaneTqrData** val) {
  return NavigateFrom<IMorvaneTqr, "get_Data">(val);
}
HRESULT MorvaneTqr::get_Program(IMorvaneTqrProgram** val) {
  return NavigateFrom<IMorvaneTqr, "get_Program">(val);
}
HRESULT MorvaneTqr::get_Sense(IMorvaneTqrSense** val) {
  return NavigateFrom<IMorvaneTqr, "get_Sense">(val);
}
HRESULT MorvaneTqr::get_Status(IMorvaneTqrStatus** val) {
  return NavigateFrom<IMorvaneTqr, "get_Status">(val);
}
HRESULT MorvaneTqr::get_Trigger(IMorvaneTqrTrigger** val) {
  return NavigateFrom<IMorvaneTqr, "get_Trigger">(val);
}
HRESULT MorvaneTqr::get_Global(IMorvaneTqrGlobal** val) {
  return NavigateFrom<IMorvaneTqr, "get_Global">(val);
}
HRESULT MorvaneTqr::get_Outputs(IIviDCPwrOutputs** val) {
  return NavigateFrom<IIviDCPwr, "get_Outputs">(val);
}
HRESULT MorvaneTqr::get_Trigger(IIviDCPwrTrigger** val) {
  return NavigateFrom<IIviDCPwr, "get_Trigger">(val);
}

// The output channel objects -------------------------------------------------------------

HRESULT MorvaneTqr::CreateChildCollections() {
  auto& channels = child_collections()[repcap::kOutputChannelRepCap];
  auto* channel = new (std::nothrow) MorvaneTqrOutputChannel(*this, repcap::kOutputChannel1);
  if (!channel) return reporter().OutOfMemory();
  channel->Attach(this, this);
  channels.push_back({com::ComPtr<com::IUnknown>::Attach(channel->unknown()), channel});
  return S_OK;
}

void MorvaneTqr::AddVirtualName(driver::VirtualNameMap& names, std::string_view virtual_name,
                                std::string_view maps_to) {
  repcap::AddVirtualName(names, virtual_name, maps_to, repcap::kOutputChannelRepCap);
}

// IIviDriverOperation -------------------------------------------------------------------

HRESULT MorvaneTqr::get_LogicalName(BSTR* val) {
  return GetText(Describe<IIviDriverOperation, "get_LogicalName">(), Check::kInitialized, val,
                 [](MorvaneTqr& d) { return d.settings().logical_name; });
}
HRESULT MorvaneTqr::get_IoResourceDescriptor(BSTR* val) {
  return GetText(Describe<IIviDriverOperation, "get_IoResourceDescriptor">(), Check::kInitialized,
                 val, [](MorvaneTqr& d) { return d.settings().resource_descriptor; });
}
HRESULT MorvaneTqr::get_DriverSetup(BSTR* val) {
  return GetText(Describe<IIviDriverOperation, "get_DriverSetup">(), Check::kInitialized, val,
                 [](MorvaneTqr& d) { return d.settings().driver_setup; });
}

HRESULT MorvaneTqr::get_Cache(VARIANT_BOOL* val) {
  return GetFlag(Describe<IIviDriverOperation, "get_Cache">(), OperationFlag::kCache, val);
}
HRESULT MorvaneTqr::put_Cache(VARIANT_BOOL val) {
  return PutFlagMember(Describe<IIviDriverOperation, "put_Cache">(), OperationFlag::kCache, val);
}
HRESULT MorvaneTqr::get_InterchangeCheck(VARIANT_BOOL* val) {
  return GetFlag(Describe<IIviDriverOperation, "get_InterchangeCheck">(),
                 OperationFlag::kInterchangeCheck, val);
}
HRESULT MorvaneTqr::put_InterchangeCheck(VARIANT_BOOL val) {
  return PutFlagMember(Describe<IIviDriverOperation, "put_InterchangeCheck">(),
                       OperationFlag::kInterchangeCheck, val);
}
HRESULT MorvaneTqr::get_QueryInstrumentStatus(VARIANT_BOOL* val) {
  return GetFlag(Describe<IIviDriverOperation, "get_QueryInstrumentStatus">(),
                 OperationFlag::kQueryInstrumentStatus, val);
}
HRESULT MorvaneTqr::put_QueryInstrumentStatus(VARIANT_BOOL val) {
  return PutFlagMember(Describe<IIviDriverOperation, "put_QueryInstrumentStatus">(),
                       OperationFlag::kQueryInstrumentStatus, val);
}
HRESULT MorvaneTqr::get_RangeCheck(VARIANT_BOOL* val) {
  return GetFlag(Describe<IIviDriverOperation, "get_RangeCheck">(), OperationFlag::kRangeCheck,
                 val);
}
HRESULT MorvaneTqr::put_RangeCheck(VARIANT_BOOL val) {
  return PutFlagMember(Describe<IIviDriverOperation, "put_RangeCheck">(),
                       OperationFlag::kRangeCheck, val);
}
HRESULT MorvaneTqr::get_RecordCoercions(VARIANT_BOOL* val) {
  return GetFlag(Describe<IIviDriverOperation, "get_RecordCoercions">(),
                 OperationFlag::kRecordCoercions, val);
}
HRESULT MorvaneTqr::put_RecordCoercions(VARIANT_BOOL val) {
  return PutFlagMember(Describe<IIviDriverOperation, "put_RecordCoercions">(),
                       OperationFlag::kRecordCoercions, val);
}
HRESULT MorvaneTqr::get_Simulate(VARIANT_BOOL* val) {
  return GetFlag(Describe<IIviDriverOperation, "get_Simulate">(), OperationFlag::kSimulate, val);
}
HRESULT MorvaneTqr::put_Simulate(VARIANT_BOOL val) {
  return PutFlagMember(Describe<IIviDriverOperation, "put_Simulate">(), OperationFlag::kSimulate,
                       val);
}

HRESULT MorvaneTqr::InvalidateAllAttributes() {
  return RunFrame(*this, Describe<IIviDriverOperation, "InvalidateAllAttributes">(),
                  Check::kInitialized, [&](CallFrame& f) -> HRESULT {
                    MOTQR_RETURN_IF_FAILED(f.Trace());
                    CNode::InvalidateAllAttributes();
                    return S_OK;
                  });
}

HRESULT MorvaneTqr::ClearInterchangeWarnings() {
  return RunFrame(*this, Describe<IIviDriverOperation, "ClearInterchangeWarnings">(),
                  Check::kInitialized, [&](CallFrame& f) -> HRESULT {
                    MOTQR_RETURN_IF_FAILED(f.Trace());
                    return f.reporter().FunctionNotSupported("ClearInterchangeWarnings");
                  });
}

HRESULT MorvaneTqr::GetNextInterchangeWarning(BSTR* pbstrWarning) {
  return RunFrame(
      *this, Describe<IIviDriverOperation, "GetNextInterchangeWarning">(), Check::kInitialized,
      [&](CallFrame& f) -> HRESULT {
        if (!pbstrWarning) {
          return f.reporter().NullPointer("GetNextInterchangeWarning", "pbstrWarning");
        }
        *pbstrWarning = nullptr;
        MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("pbstrWarning", pbstrWarning)));
        return f.reporter().FunctionNotSupported("GetNextInterchangeWarning");
      });
}

HRESULT MorvaneTqr::ResetInterchangeCheck() {
  return RunFrame(*this, Describe<IIviDriverOperation, "ResetInterchangeCheck">(),
                  Check::kInitialized, [&](CallFrame& f) -> HRESULT {
                    MOTQR_RETURN_IF_FAILED(f.Trace());
                    return f.reporter().FunctionNotSupported("ResetInterchangeCheck");
                  });
}

HRESULT MorvaneTqr::GetNextCoercionRecord(BSTR* val) {
  return RunFrame(*this, Describe<IIviDriverOperation, "GetNextCoercionRecord">(),
                  Check::kInitialized, [&](CallFrame& f) -> HRESULT {
                    if (!val) return f.reporter().NullPointer("GetNextCoercionRecord", "val");
                    *val = nullptr;
                    MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val)));
                    std::string record;
                    MOTQR_RETURN_IF_FAILED(CDriver::GetNextCoercionRecord(&record));
                    return SetText(f, val, record);  // empty, never null
                  });
}

// Identity --------------------------------------------------------------------------------

HRESULT MorvaneTqr::get_Description(BSTR* val) {
  return GetText(
      Describe<IIviComponentIdentity, "get_Description">(), Check::kNone, val, [](MorvaneTqr&) {
        return std::string(DriverConstants::kDescription) + DriverConstants::kDescriptionSuffix;
      });
}
HRESULT MorvaneTqr::get_Revision(BSTR* val) {
  return GetText(Describe<IIviComponentIdentity, "get_Revision">(), Check::kNone, val,
                 [](MorvaneTqr&) { return std::string(DriverConstants::kRevision); });
}
HRESULT MorvaneTqr::get_Vendor(BSTR* val) {
  return GetText(Describe<IIviComponentIdentity, "get_Vendor">(), Check::kNone, val,
                 [](MorvaneTqr&) { return std::string(DriverConstants::kVendor); });
}
HRESULT MorvaneTqr::get_Identifier(BSTR* val) {
  return GetText(Describe<IIviDriverIdentity, "get_Identifier">(), Check::kNone, val,
                 [](MorvaneTqr&) { return std::string(DriverConstants::kIdentifier); });
}
HRESULT MorvaneTqr::get_SupportedInstrumentModels(BSTR* val) {
  return GetText(Describe<IIviDriverIdentity, "get_SupportedInstrumentModels">(), Check::kNone, val,
                 [](MorvaneTqr&) { return std::string(DriverConstants::kSupportedModels); });
}
HRESULT MorvaneTqr::get_GroupCapabilities(BSTR* val) {
  return GetText(Describe<IIviDriverIdentity, "get_GroupCapabilities">(), Check::kInitialized, val,
                 [](MorvaneTqr&) { return std::string(DriverConstants::kGroupCapabilities); });
}
HRESULT MorvaneTqr::get_InstrumentManufacturer(BSTR* val) {
  return GetText(Describe<IIviDriverIdentity, "get_InstrumentManufacturer">(), Check::kInitialized,
                 val, [](MorvaneTqr& d) {
                   return d.simulating() ? std::string(DriverConstants::kVendor)
                                         : d.identity().manufacturer;
                 });
}
HRESULT MorvaneTqr::get_InstrumentModel(BSTR* val) {
  return GetText(Describe<IIviDriverIdentity, "get_InstrumentModel">(), Check::kInitialized, val,
                 [](MorvaneTqr& d) { return d.instrument_model(); });
}
HRESULT MorvaneTqr::get_InstrumentFirmwareRevision(BSTR* val) {
  return GetText(Describe<IIviDriverIdentity, "get_InstrumentFirmwareRevision">(),
                 Check::kInitialized, val, [](MorvaneTqr& d) {
                   return d.simulating() ? std::string("Sim") + DriverConstants::kRevision
                                         : d.identity().firmware_revision;
                 });
}

HRESULT MorvaneTqr::get_SpecificationMajorVersion(std::int32_t* val) {
  return RunFrame(*this, Describe<IIviDriverIdentity, "get_SpecificationMajorVersion">(),
                  Check::kNone, [&](CallFrame& f) -> HRESULT {
                    MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
                    MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val)));
                    *val = DriverConstants::kSpecificationMajorVersion;
                    return S_OK;
                  });
}
HRESULT MorvaneTqr::get_SpecificationMinorVersion(std::int32_t* val) {
  return RunFrame(*this, Describe<IIviDriverIdentity, "get_SpecificationMinorVersion">(),
                  Check::kNone, [&](CallFrame& f) -> HRESULT {
                    MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
                    MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val)));
                    *val = DriverConstants::kSpecificationMinorVersion;
                    return S_OK;
                  });
}

// IIviDriverUtility --------------------------------------------------------------------------

HRESULT MorvaneTqr::Reset() {
  return RunFrame(*this, Describe<IIviDriverUtility, "Reset">(), Check::kInitialized,
                  [&](CallFrame& f) -> HRESULT {
                    MOTQR_RETURN_IF_FAILED(f.Trace());
                    return CDriver::Reset();
                  });
}
HRESULT MorvaneTqr::ResetWithDefaults() {
  return RunFrame(*this, Describe<IIviDriverUtility, "ResetWithDefaults">(), Check::kInitialized,
                  [&](CallFrame& f) -> HRESULT {
                    MOTQR_RETURN_IF_FAILED(f.Trace());
                    return CDriver::ResetWithDefaults();
                  });
}
HRESULT MorvaneTqr::Disable() {
  return RunFrame(*this, Describe<IIviDriverUtility, "Disable">(), Check::kInitialized,
                  [&](CallFrame& f) -> HRESULT {
                    MOTQR_RETURN_IF_FAILED(f.Trace());
                    return CDriver::Disable();
                  });
}

HRESULT MorvaneTqr::SelfTest(std::int32_t* TestResult, BSTR* TestMessage) {
  return RunFrame(
      *this, Describe<IIviDriverUtility, "SelfTest">(), Check::kInitialized,
      [&](CallFrame& f) -> HRESULT {
        if (!TestMessage) return f.reporter().NullPointer("SelfTest", "TestMessage");
        com::SysFreeString(*TestMessage);
        *TestMessage = nullptr;
        if (!TestResult) return f.reporter().NullPointer("SelfTest", "TestResult");
        MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("TestResult", TestResult),
                                       trace::OutParameter("TestMessage", TestMessage)));
        std::string message;
        HRESULT hr = CDriver::SelfTest(TestResult, &message);
        if (com::Failed(hr)) return hr;
        MOTQR_RETURN_IF_FAILED(SetText(f, TestMessage, message));
        return hr;
      });
}

HRESULT MorvaneTqr::ErrorQuery(std::int32_t* ErrorCode, BSTR* ErrorMessage) {
  return RunFrame(
      *this, Describe<IIviDriverUtility, "ErrorQuery">(), Check::kInitialized,
      [&](CallFrame& f) -> HRESULT {
        if (!ErrorMessage) {
          return f.reporter().NullPointer("ErrorQuery", "ErrorMessage");
        }
        com::SysFreeString(*ErrorMessage);
        *ErrorMessage = nullptr;
        if (!ErrorCode) return f.reporter().NullPointer("ErrorQuery", "ErrorCode");
        MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("ErrorCode", ErrorCode),
                                       trace::OutParameter("ErrorMessage", ErrorMessage)));
        std::string message;
        HRESULT hr = CDriver::ErrorQuery(ErrorCode, &message);
        if (com::Failed(hr)) return hr;
        MOTQR_RETURN_IF_FAILED(SetText(f, ErrorMessage, message));
        return hr;
      });
}

HRESULT MorvaneTqr::LockObject() {
  return RunFrame(*this, Describe<IIviDriverUtility, "LockObject">(), Check::kInitialized,
                  [&](CallFrame& f) -> HRESULT {
                    MOTQR_RETURN_IF_FAILED(f.Trace());
                    return f.reporter().FunctionNotSupported("LockObject");
                  });
}
HRESULT MorvaneTqr::UnlockObject() {
  return RunFrame(*this, Describe<IIviDriverUtility, "UnlockObject">(), Check::kInitialized,
                  [&](CallFrame& f) -> HRESULT {
                    MOTQR_RETURN_IF_FAILED(f.Trace());
                    return f.reporter().FunctionNotSupported("UnlockObject");
                  });
}

// Calls through the driver's own interfaces -----------------------------------------------------

HRESULT MorvaneTqr::ResetThroughInterface() {
  return static_cast<IIviDriverUtility*>(this)->Reset();
}

HRESULT MorvaneTqr::PutFlagThroughInterface(OperationFlag flag, bool value) {
  IIviDriverOperation* op = this;
  const VARIANT_BOOL v = ToVariantBool(value);
  switch (flag) {
    case OperationFlag::kCache:
      return op->put_Cache(v);
    case OperationFlag::kInterchangeCheck:
      return op->put_InterchangeCheck(v);
    case OperationFlag::kQueryInstrumentStatus:
      return op->put_QueryInstrumentStatus(v);
    case OperationFlag::kRangeCheck:
      return op->put_RangeCheck(v);
    case OperationFlag::kRecordCoercions:
      return op->put_RecordCoercions(v);
    case OperationFlag::kSimulate:
      return op->put_Simulate(v);
  }
  return com::E_INVALIDARG;
}

}  // namespace motqr
