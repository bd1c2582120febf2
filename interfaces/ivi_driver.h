// The IVI inherent interfaces, with the member order and types the IVI
// Foundation publishes. Every member returns a status code; results travel
// through out-parameters; strings are BSTRs the caller frees.
#pragma once

#include <cstdint>

#include "interfaces/common.h"

namespace motqr {

class IIviDriverOperation;
class IIviDriverIdentity;
class IIviDriverUtility;

class IIviDriver : public com::IUnknown {
 public:
  static constexpr com::IID kIid = IviIid(0x47ED5184);
  static constexpr const char* kName = "IIviDriver";
  virtual HRESULT get_DriverOperation(IIviDriverOperation** val) = 0;
  virtual HRESULT get_Identity(IIviDriverIdentity** val) = 0;
  virtual HRESULT get_Utility(IIviDriverUtility** val) = 0;
  virtual HRESULT Initialize(BSTR ResourceName, VARIANT_BOOL IdQuery, VARIANT_BOOL Reset,
                             BSTR OptionString) = 0;
  virtual HRESULT get_Initialized(VARIANT_BOOL* val) = 0;
  virtual HRESULT Close() = 0;

 protected:
  ~IIviDriver() = default;
};

class IIviDriverOperation : public com::IUnknown {
 public:
  static constexpr com::IID kIid = IviIid(0x47ED5188);
  static constexpr const char* kName = "IIviDriverOperation";
  virtual HRESULT get_LogicalName(BSTR* val) = 0;
  virtual HRESULT get_IoResourceDescriptor(BSTR* val) = 0;
  virtual HRESULT get_Cache(VARIANT_BOOL* val) = 0;
  virtual HRESULT put_Cache(VARIANT_BOOL val) = 0;
  virtual HRESULT get_InterchangeCheck(VARIANT_BOOL* val) = 0;
  virtual HRESULT put_InterchangeCheck(VARIANT_BOOL val) = 0;
  virtual HRESULT get_QueryInstrumentStatus(VARIANT_BOOL* val) = 0;
  virtual HRESULT put_QueryInstrumentStatus(VARIANT_BOOL val) = 0;
  virtual HRESULT get_RangeCheck(VARIANT_BOOL* val) = 0;
  virtual HRESULT put_RangeCheck(VARIANT_BOOL val) = 0;
  virtual HRESULT get_RecordCoercions(VARIANT_BOOL* val) = 0;
  virtual HRESULT put_RecordCoercions(VARIANT_BOOL val) = 0;
  virtual HRESULT get_Simulate(VARIANT_BOOL* val) = 0;
  virtual HRESULT put_Simulate(VARIANT_BOOL val) = 0;
  virtual HRESULT get_DriverSetup(BSTR* val) = 0;
  virtual HRESULT InvalidateAllAttributes() = 0;
  virtual HRESULT ClearInterchangeWarnings() = 0;
  virtual HRESULT GetNextInterchangeWarning(BSTR* pbstrWarning) = 0;
  virtual HRESULT ResetInterchangeCheck() = 0;
  virtual HRESULT GetNextCoercionRecord(BSTR* val) = 0;

 protected:
  ~IIviDriverOperation() = default;
};

class IIviComponentIdentity : public com::IUnknown {
 public:
  static constexpr com::IID kIid = IviIid(0x47ED5185);
  static constexpr const char* kName = "IIviComponentIdentity";
  virtual HRESULT get_Description(BSTR* val) = 0;
  virtual HRESULT get_Revision(BSTR* val) = 0;
  virtual HRESULT get_Vendor(BSTR* val) = 0;

 protected:
  ~IIviComponentIdentity() = default;
};

class IIviDriverIdentity : public IIviComponentIdentity {
 public:
  static constexpr com::IID kIid = IviIid(0x47ED5186);
  static constexpr const char* kName = "IIviDriverIdentity";
  virtual HRESULT get_InstrumentManufacturer(BSTR* val) = 0;
  virtual HRESULT get_InstrumentModel(BSTR* val) = 0;
  virtual HRESULT get_InstrumentFirmwareRevision(BSTR* val) = 0;
  virtual HRESULT get_Identifier(BSTR* val) = 0;
  virtual HRESULT get_SupportedInstrumentModels(BSTR* val) = 0;
  virtual HRESULT get_SpecificationMajorVersion(std::int32_t* val) = 0;
  virtual HRESULT get_SpecificationMinorVersion(std::int32_t* val) = 0;
  virtual HRESULT get_GroupCapabilities(BSTR* val) = 0;

 protected:
  ~IIviDriverIdentity() = default;
};

class IIviDriverUtility : public com::IUnknown {
 public:
  static constexpr com::IID kIid = IviIid(0x47ED5189);
  static constexpr const char* kName = "IIviDriverUtility";
  virtual HRESULT Reset() = 0;
  virtual HRESULT ResetWithDefaults() = 0;
  virtual HRESULT Disable() = 0;
  virtual HRESULT SelfTest(std::int32_t* TestResult, BSTR* TestMessage) = 0;
  virtual HRESULT ErrorQuery(std::int32_t* ErrorCode, BSTR* ErrorMessage) = 0;
  virtual HRESULT LockObject() = 0;
  virtual HRESULT UnlockObject() = 0;

 protected:
  ~IIviDriverUtility() = default;
};

}  // namespace motqr
