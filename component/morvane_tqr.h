// MorvaneTqr: the driver class. One object is one driver session; it exposes
// the IVI inherent interfaces and runs every member in the call frame.
#pragma once

#include <string>

#include "component/motqr.hpp"
#include "component/outputs_collection.h"
#include "driver/call_frame.h"
#include "driver/driver.h"
#include "instrument/data.h"
#include "instrument/dcpwr_trigger.h"
#include "instrument/global.h"
#include "instrument/program.h"
#include "instrument/sense.h"
#include "instrument/status.h"
#include "instrument/system.h"
#include "instrument/system_analog.h"
#include "instrument/system_diagnostic.h"
#include "instrument/system_io.h"
#include "instrument/system_memory.h"
#include "instrument/trigger.h"
#include "interfaces/motqr_interfaces.h"
#include "platform/com/object.h"

namespace motqr {

class MorvaneTqr final
    : public com::AggregatableObject<
          MorvaneTqr, IMorvaneTqr, IIviDCPwr, IIviDriverOperation, IIviDriverIdentity,
          IIviDriverUtility,
          component::OutputsCollection<MorvaneTqr, IMorvaneTqrOutputs, IMorvaneTqrOutputChannel>,
          component::OutputsCollection<MorvaneTqr, IIviDCPwrOutputs, IIviDCPwrOutput>,
          instrument::DCPwrTrigger<MorvaneTqr>, instrument::System<MorvaneTqr>,
          instrument::IntegralData<MorvaneTqr>, instrument::Program<MorvaneTqr>,
          instrument::Sense<MorvaneTqr>, instrument::SystemAnalog<MorvaneTqr>,
          instrument::SystemIO<MorvaneTqr>, instrument::SystemMemory<MorvaneTqr>,
          instrument::Status<MorvaneTqr>, instrument::StatusQuestionable<MorvaneTqr>,
          instrument::StatusOperation<MorvaneTqr>, instrument::Trigger<MorvaneTqr>,
          instrument::Global<MorvaneTqr>, instrument::SystemDiagnostic<MorvaneTqr>,
          com::ISupportErrorInfo>,
      public driver::CDriver {
 public:
  // `session_factory` makes the I/O session; tests pass a scripted one.
  explicit MorvaneTqr(driver::SessionPortFactory session_factory = nullptr);

  // A new driver object, handed out through its IIviDriver interface.
  static com::ComPtr<IIviDriver> Create(driver::SessionPortFactory session_factory = nullptr);
  // The class factory's creation: for an outer object (which must ask for
  // IUnknown) the new object's inner unknown.
  static HRESULT CreateInstance(com::IUnknown* outer, const com::IID& iid, void** object);

  driver::CNode& node() { return *this; }
  IIviDriver* driver_interface() { return static_cast<IMorvaneTqr*>(this); }

  // IMorvaneTqr and IIviDCPwr navigation
  HRESULT get_Outputs(IMorvaneTqrOutputs** val) override;
  HRESULT get_System(IMorvaneTqrSystem** val) override;
  HRESULT get_Data(IMorvaneTqrData** val) override;
  HRESULT get_Program(IMorvaneTqrProgram** val) override;
  HRESULT get_Sense(IMorvaneTqrSense** val) override;
  HRESULT get_Status(IMorvaneTqrStatus** val) override;
  HRESULT get_Trigger(IMorvaneTqrTrigger** val) override;
  HRESULT get_Global(IMorvaneTqrGlobal** val) override;
  HRESULT get_Outputs(IIviDCPwrOutputs** val) override;
  HRESULT get_Trigger(IIviDCPwrTrigger** val) override;

  // The interface table (IUnknown of every interface goes to the controlling
  // unknown: this object's own, or the outer object's when aggregated).
  HRESULT InnerQueryInterface(const com::IID& iid, void** object);
  // ISupportErrorInfo
  HRESULT InterfaceSupportsErrorInfo(const com::IID& iid) override;

  // IIviDriver
  HRESULT get_DriverOperation(IIviDriverOperation** val) override;
  HRESULT get_Identity(IIviDriverIdentity** val) override;
  HRESULT get_Utility(IIviDriverUtility** val) override;
  HRESULT Initialize(BSTR ResourceName, VARIANT_BOOL IdQuery, VARIANT_BOOL Reset,
                     BSTR OptionString) override;
  HRESULT get_Initialized(VARIANT_BOOL* val) override;
  HRESULT Close() override;

  // IIviDriverOperation
  HRESULT get_LogicalName(BSTR* val) override;
  HRESULT get_IoResourceDescriptor(BSTR* val) override;
  HRESULT get_Cache(VARIANT_BOOL* val) override;
  HRESULT put_Cache(VARIANT_BOOL val) override;
  HRESULT get_InterchangeCheck(VARIANT_BOOL* val) override;
  HRESULT put_InterchangeCheck(VARIANT_BOOL val) override;
  HRESULT get_QueryInstrumentStatus(VARIANT_BOOL* val) override;
  HRESULT put_QueryInstrumentStatus(VARIANT_BOOL val) override;
  HRESULT get_RangeCheck(VARIANT_BOOL* val) override;
  HRESULT put_RangeCheck(VARIANT_BOOL val) override;
  HRESULT get_RecordCoercions(VARIANT_BOOL* val) override;
  HRESULT put_RecordCoercions(VARIANT_BOOL val) override;
  HRESULT get_Simulate(VARIANT_BOOL* val) override;
  HRESULT put_Simulate(VARIANT_BOOL val) override;
  HRESULT get_DriverSetup(BSTR* val) override;
  HRESULT InvalidateAllAttributes() override;
  HRESULT ClearInterchangeWarnings() override;
  HRESULT GetNextInterchangeWarning(BSTR* pbstrWarning) override;
  HRESULT ResetInterchangeCheck() override;
  HRESULT GetNextCoercionRecord(BSTR* val) override;

  // IIviComponentIdentity, IIviDriverIdentity
  HRESULT get_Description(BSTR* val) override;
  HRESULT get_Revision(BSTR* val) override;
  HRESULT get_Vendor(BSTR* val) override;
  HRESULT get_InstrumentManufacturer(BSTR* val) override;
  HRESULT get_InstrumentModel(BSTR* val) override;
  HRESULT get_InstrumentFirmwareRevision(BSTR* val) override;
  HRESULT get_Identifier(BSTR* val) override;
  HRESULT get_SupportedInstrumentModels(BSTR* val) override;
  HRESULT get_SpecificationMajorVersion(std::int32_t* val) override;
  HRESULT get_SpecificationMinorVersion(std::int32_t* val) override;
  HRESULT get_GroupCapabilities(BSTR* val) override;

  // IIviDriverUtility
  HRESULT Reset() override;
  HRESULT ResetWithDefaults() override;
  HRESULT Disable() override;
  HRESULT SelfTest(std::int32_t* TestResult, BSTR* TestMessage) override;
  HRESULT ErrorQuery(std::int32_t* ErrorCode, BSTR* ErrorMessage) override;
  HRESULT LockObject() override;
  HRESULT UnlockObject() override;

 protected:
  HRESULT ResetThroughInterface() override;
  HRESULT PutFlagThroughInterface(driver::OperationFlag flag, bool value) override;
  HRESULT CreateChildCollections() override;
  void AddVirtualName(driver::VirtualNameMap& names, std::string_view virtual_name,
                      std::string_view maps_to) override;

 private:
  HRESULT GetFlag(const errors::MethodDescriptor& m, driver::OperationFlag flag, VARIANT_BOOL* val);
  HRESULT PutFlagMember(const errors::MethodDescriptor& m, driver::OperationFlag flag,
                        VARIANT_BOOL val);
  HRESULT GetText(const errors::MethodDescriptor& m, driver::Check check, BSTR* val,
                  std::string (*text)(MorvaneTqr&));
  template <class Target>
  HRESULT HandOut(const errors::MethodDescriptor& m, Target** val);
  template <class From, driver::FixedString Member, class To>
  HRESULT NavigateFrom(To** val) {
    return HandOut(driver::Describe<From, Member>(), val);
  }
};

}  // namespace motqr
