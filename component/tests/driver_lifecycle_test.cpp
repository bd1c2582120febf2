#include <gtest/gtest.h>

#include "component/tests/test_support.h"
#include "errors/status_codes.h"

namespace motqr::testing {
namespace {

using errors::E_IVI_ALREADY_INITIALIZED;
using errors::E_IVI_INVALID_VALUE;
using errors::E_IVI_NOT_INITIALIZED;

TEST(Lifecycle, NullResourceNameIsAnInvalidValue) {
  auto d = NewDriver();
  EXPECT_EQ(d->Initialize(nullptr, com::VARIANT_FALSE, com::VARIANT_FALSE, nullptr),
            E_IVI_INVALID_VALUE);
  EXPECT_EQ(TakeError().description,
            "MorvaneTqr: Invalid value '0' for method 'Initialize', parameter 'ResourceName'.");
}

TEST(Lifecycle, SimulatedSessionWithIdQueryNeedsNoInstrument) {
  auto d = NewDriver();
  ASSERT_EQ(InitSimulated(d), com::S_OK);
  auto id = As<IIviDriverIdentity>(d);
  EXPECT_EQ(GetString(&IIviDriverIdentity::get_InstrumentModel, id.Get()), "TQR-M4");
  EXPECT_EQ(GetString(&IIviDriverIdentity::get_InstrumentManufacturer, id.Get()), "Morvane");
  EXPECT_EQ(GetString(&IIviDriverIdentity::get_InstrumentFirmwareRevision, id.Get()), "Sim1.3.0.0");
  EXPECT_EQ(GetString(&IIviDriverIdentity::get_GroupCapabilities, id.Get()),
            "IviDCPwrBase,IviDCPwrTrigger,IviDCPwrSoftwareTrigger,IviDCPwrMeasurement");
  EXPECT_EQ(d->Close(), com::S_OK);
}

TEST(Lifecycle, SecondInitializeFailsAndFirstSessionStillWorks) {
  auto d = NewDriver();
  ASSERT_EQ(InitSimulated(d), com::S_OK);
  EXPECT_EQ(InitSimulated(d), E_IVI_ALREADY_INITIALIZED);
  EXPECT_EQ(TakeError().description, "MorvaneTqr: The driver is already initialized.");
  VARIANT_BOOL sim = 0;
  EXPECT_EQ(As<IIviDriverOperation>(d)->get_Simulate(&sim), com::S_OK);
  EXPECT_EQ(sim, com::VARIANT_TRUE);
}

TEST(Lifecycle, DriverSetupModelAndModelCheck) {
  auto d = NewDriver();
  ASSERT_EQ(InitSimulated(d, ",DriverSetup=Model=TQR-M2"), com::S_OK);
  EXPECT_EQ(GetString(&IIviDriverIdentity::get_InstrumentModel, As<IIviDriverIdentity>(d).Get()),
            "TQR-M2");
  d->Close();
  // A model outside the table fails the model check of an ID query.
  EXPECT_EQ(InitSimulated(d, ",DriverSetup=Model=TQR-X9"), errors::E_IVI_ID_QUERY_FAILED);
  EXPECT_EQ(TakeError().description,
            "MorvaneTqr: Instrument ID query failed.\r\nUnrecognized model: TQR-X9.");
  VARIANT_BOOL init = com::VARIANT_TRUE;
  d->get_Initialized(&init);
  EXPECT_EQ(init, com::VARIANT_FALSE);
}

TEST(Lifecycle, BadOptionLeavesTheObjectAsBefore) {
  auto d = NewDriver();
  EXPECT_EQ(InitSimulated(d, ",Cache=perhaps"), errors::E_IVI_BAD_OPTION_VALUE);
  EXPECT_EQ(TakeError().description,
            "MorvaneTqr: The 'perhaps' value in the option string is unknown.");
  EXPECT_EQ(InitSimulated(d, ",InterchangeCheck=1"), errors::E_IVI_BAD_OPTION_VALUE);
  EXPECT_EQ(TakeError().description,
            "MorvaneTqr: The 'True' value in the option string is unknown.\r\nInterchange "
            "checking is not supported by the driver.");
  VARIANT_BOOL init = com::VARIANT_TRUE;
  d->get_Initialized(&init);
  EXPECT_EQ(init, com::VARIANT_FALSE);
  ASSERT_EQ(InitSimulated(d), com::S_OK);  // and a good option string then works
}

TEST(Lifecycle, MembersBeforeInitializeAndAfterClose) {
  auto d = NewDriver();
  auto id = As<IIviDriverIdentity>(d);
  HRESULT hr;
  EXPECT_EQ(GetString(&IIviDriverIdentity::get_Description, id.Get(), &hr),
            "IVI Driver for MorvaneTqr [Compiled for 64-bit.]");
  EXPECT_EQ(hr, com::S_OK);
  EXPECT_EQ(GetString(&IIviDriverIdentity::get_SupportedInstrumentModels, id.Get(), &hr),
            "TQR-M1,TQR-M2,TQR-M3,TQR-M4,TQR-M5,TQR-M6,TQR-M7");
  GetString(&IIviDriverIdentity::get_InstrumentModel, id.Get(), &hr);
  EXPECT_EQ(hr, E_IVI_NOT_INITIALIZED);
  EXPECT_EQ(TakeError().description,
            "MorvaneTqr: A connection to the instrument has not been established.");
  EXPECT_EQ(d->Close(), E_IVI_NOT_INITIALIZED);
  std::int32_t major = 0;
  EXPECT_EQ(id->get_SpecificationMajorVersion(&major), com::S_OK);
  EXPECT_EQ(major, 3);
  ASSERT_EQ(InitSimulated(d), com::S_OK);
  ASSERT_EQ(d->Close(), com::S_OK);
  EXPECT_EQ(As<IIviDriverUtility>(d)->Reset(), E_IVI_NOT_INITIALIZED);
  ASSERT_EQ(InitSimulated(d), com::S_OK);  // re-Initialize after Close
}

TEST(Lifecycle, NonSimulatedInitializeWithoutAnIoLibraryFailsCleanly) {
  auto d = NewDriver();
  EXPECT_EQ(d->Initialize(Text("TCPIP::127.0.0.1::5025::SOCKET").Get(), com::VARIANT_TRUE,
                          com::VARIANT_FALSE, Text("").Get()),
            errors::E_MORVANETQR_IO_GENERAL);
  EXPECT_NE(TakeError().description.find("Global Resource Manager"), std::string::npos);
  VARIANT_BOOL init = com::VARIANT_TRUE;
  d->get_Initialized(&init);
  EXPECT_EQ(init, com::VARIANT_FALSE);
}

TEST(Lifecycle, ClassFactoriesOfBothClassesAndUnloadCount) {
  com::ComPtr<com::IClassFactory> factory;
  ASSERT_EQ(DllGetClassObject(CLSID_MorvaneTqr, com::IClassFactory::kIid, factory.PutVoid()),
            com::S_OK);
  EXPECT_EQ(DllCanUnloadNow(), com::S_OK);
  {
    com::ComPtr<IIviDriverUtility> u;
    ASSERT_EQ(factory->CreateInstance(nullptr, IIviDriverUtility::kIid, u.PutVoid()), com::S_OK);
    EXPECT_EQ(DllCanUnloadNow(), com::S_FALSE);
  }
  EXPECT_EQ(DllCanUnloadNow(), com::S_OK);
  // A channel made on its own belongs to no session: its members are not initialized.
  ASSERT_EQ(
      DllGetClassObject(CLSID_MorvaneTqrOutputChannel, com::IClassFactory::kIid, factory.PutVoid()),
      com::S_OK);
  {
    com::ComPtr<IIviDCPwrOutput> output;
    ASSERT_EQ(factory->CreateInstance(nullptr, IIviDCPwrOutput::kIid, output.PutVoid()), com::S_OK);
    EXPECT_EQ(DllCanUnloadNow(), com::S_FALSE);
    double volts = 1;
    EXPECT_EQ(output->get_VoltageLevel(&volts), E_IVI_NOT_INITIALIZED);
    com::ComPtr<com::IUnknown> outer_refused;
    EXPECT_EQ(factory->CreateInstance(output.Get(), com::IUnknown::kIid, outer_refused.PutVoid()),
              com::CLASS_E_NOAGGREGATION);
  }
  com::SetErrorInfo(0, nullptr);  // the error object is one of the module's objects too
  EXPECT_EQ(DllCanUnloadNow(), com::S_OK);
  com::ComPtr<com::IUnknown> none;
  EXPECT_EQ(DllGetClassObject(com::GUID_NULL, com::IClassFactory::kIid, none.PutVoid()),
            com::REGDB_E_CLASSNOTREG);
}

// An outer object that aggregates a driver object: it answers IUnknown (and
// a made-up interface of its own) itself and hands every driver interface
// out of the inner object, as aggregation works.
class Outer final : public com::IUnknown {
 public:
  static constexpr com::IID kIidOwn{
      0x0DDBA11, 0x1234, 0x5678, {0x9A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78}};
  HRESULT Aggregate(com::IClassFactory* factory, const com::IID& iid) {
    return factory->CreateInstance(this, iid, inner_.PutVoid());
  }
  HRESULT QueryInterface(const com::IID& iid, void** object) override {
    if (iid == com::IUnknown::kIid || iid == kIidOwn) {
      *object = this;
      AddRef();
      return com::S_OK;
    }
    return inner_->QueryInterface(iid, object);
  }
  com::ULONG AddRef() override { return ++refs; }
  com::ULONG Release() override {
    if (--refs == 0) inner_.Reset();  // the outer lives on the test's stack
    return refs;
  }
  com::ULONG refs = 1;

 private:
  com::ComPtr<com::IUnknown> inner_;
};

TEST(Lifecycle, TheDriverObjectCanBeAggregated) {
  com::ComPtr<com::IClassFactory> factory;
  ASSERT_EQ(DllGetClassObject(CLSID_MorvaneTqr, com::IClassFactory::kIid, factory.PutVoid()),
            com::S_OK);
  Outer outer;
  // An outer object asks for IUnknown and nothing else.
  EXPECT_EQ(outer.Aggregate(factory.Get(), IIviDriver::kIid), com::CLASS_E_NOAGGREGATION);
  ASSERT_EQ(outer.Aggregate(factory.Get(), com::IUnknown::kIid), com::S_OK);
  EXPECT_EQ(DllCanUnloadNow(), com::S_FALSE);
  {
    com::ComPtr<IIviDriver> driver;
    ASSERT_EQ(outer.QueryInterface(IIviDriver::kIid, driver.PutVoid()), com::S_OK);
    EXPECT_EQ(outer.refs, 2u) << "references to the driver's interfaces count on the outer";
    // Every interface of the driver answers with the outer object's identity
    // and interfaces.
    com::ComPtr<com::IUnknown> identity, own;
    ASSERT_EQ(driver->QueryInterface(com::IUnknown::kIid, identity.PutVoid()), com::S_OK);
    EXPECT_EQ(identity.Get(), static_cast<com::IUnknown*>(&outer));
    EXPECT_EQ(driver->QueryInterface(Outer::kIidOwn, own.PutVoid()), com::S_OK);
    EXPECT_EQ(outer.refs, 4u);
    identity.Reset();
    own.Reset();
    // The aggregated driver works as a driver.
    ASSERT_EQ(InitSimulated(driver), com::S_OK);
    com::ComPtr<IIviDriverIdentity> identity_interface;
    ASSERT_EQ(driver->get_Identity(identity_interface.Put()), com::S_OK);
    EXPECT_EQ(outer.refs, 3u);
    EXPECT_EQ(GetString(&IIviDriverIdentity::get_InstrumentModel, identity_interface.Get()),
              "TQR-M4");
    identity_interface.Reset();
    EXPECT_EQ(driver->Close(), com::S_OK);
  }
  EXPECT_EQ(outer.refs, 1u);
  outer.Release();  // the outer's last reference releases the inner object
  EXPECT_EQ(DllCanUnloadNow(), com::S_OK);
}

}  // namespace
}  // namespace motqr::testing
