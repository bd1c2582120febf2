// MorvaneTqr: the driver class. One object is one driver session; it exposes
// the IVI inherent interfaces and runs every member in the call frame.
#pragma once

#include <string>

#include "component/motqr.hpp"
#include "driver/call_frame.h"
#include "driver/driver.h"
#include "platform/com/object.h"

namespace motqr {

class MorvaneTqr final
    : public com::ComObject<MorvaneTqr, IIviDriver, IIviDriverOperation, IIviDriverIdentity,
                            IIviDriverUtility, com::ISupportErrorInfo>,
      public driver::CDriver {
 public:
  // `session_factory` makes the I/O session; tests pass a scripted one.
  explicit MorvaneTqr(driver::SessionPortFactory session_factory = nullptr);

  static HRESULT CreateInstance(com::IUnknown* outer, const com::IID& iid, void** object);

  // IUnknown
  HRESULT QueryInterface(const com::IID& iid, void** object) override;
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

 private:
  HRESULT GetFlag(const errors::MethodDescriptor& m, driver::OperationFlag flag, VARIANT_BOOL* val);
  HRESULT PutFlagMember(const errors::MethodDescriptor& m, driver::OperationFlag flag,
                        VARIANT_BOOL val);
  HRESULT GetText(const errors::MethodDescriptor& m, driver::Check check, BSTR* val,
                  std::string (*text)(MorvaneTqr&));
  template <class Interface>
  HRESULT Navigate(const errors::MethodDescriptor& m, Interface** val);
};

}  // namespace motqr
