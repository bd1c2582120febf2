// Initialize with the configuration store: logical names, precedence of the
// store's session settings and the option string, initial settings, software
// module look-up and virtual channel names.
#include <gtest/gtest.h>

#include "component/tests/test_support.h"
#include "driver/testing/scripted_session.h"
#include "errors/status_codes.h"
#include "platform/ivi/testing/scoped_config_store.h"

namespace motqr::testing {
namespace {

using ivi::testing::ScopedConfigStore;

constexpr const char* kStore = R"(<IviConfigStore>
  <SoftwareModules><IviSoftwareModule id="sm"><Name>motqr</Name><DataComponents>
    <IviStructure><Name>Configurable Initial Settings</Name><DataComponents>
      <IviString><Name>model</Name><Value>TQR-M6</Value></IviString>
    </DataComponents></IviStructure></DataComponents></IviSoftwareModule></SoftwareModules>
  <HardwareAssets><IviHardwareAsset id="ha"><Name>Bench</Name>
    <IOResourceDescriptor>TCPIP::10.0.0.5::5025::SOCKET</IOResourceDescriptor>
  </IviHardwareAsset></HardwareAssets>
  <DriverSessions>
    <IviDriverSession id="ds"><Name>BenchSession</Name><IviHardwareAsset idref="ha"/>
      <Cache>false</Cache><QueryInstrStatus>true</QueryInstrStatus><RangeCheck>false</RangeCheck>
      <RecordCoercions>true</RecordCoercions><Simulate>true</Simulate>
      <DriverSetup>Model=TQR-M2</DriverSetup>
      <DataComponents><IviStructure><Name>Configurable Initial Settings</Name><DataComponents>
        <IviString><Name>model</Name><Value>TQR-M5</Value></IviString>
        <IviInteger><Name>Model</Name><Value>7</Value></IviInteger>
      </DataComponents></IviStructure></DataComponents>
      <VirtualNames><IviVirtualName><Name>Main</Name><MapTo>OutputChannel1</MapTo></IviVirtualName>
      </VirtualNames>
    </IviDriverSession>
  </DriverSessions>
  <LogicalNames><IviLogicalName><Name>Bench</Name><IviDriverSession idref="ds"/></IviLogicalName>
  </LogicalNames>
</IviConfigStore>)";

HRESULT Init(const com::ComPtr<IIviDriver>& d, const char* resource, const char* options = "") {
  return d->Initialize(Text(resource).Get(), com::VARIANT_TRUE, com::VARIANT_FALSE,
                       Text(options).Get());
}

struct Flags {
  bool cache, query_status, range_check, record_coercions, simulate;
  friend bool operator==(const Flags&, const Flags&) = default;
};

Flags ReadFlags(const com::ComPtr<IIviDriver>& d) {
  auto op = As<IIviDriverOperation>(d);
  VARIANT_BOOL v[5] = {};
  op->get_Cache(&v[0]);
  op->get_QueryInstrumentStatus(&v[1]);
  op->get_RangeCheck(&v[2]);
  op->get_RecordCoercions(&v[3]);
  op->get_Simulate(&v[4]);
  return {v[0] != 0, v[1] != 0, v[2] != 0, v[3] != 0, v[4] != 0};
}

std::string Operation(const com::ComPtr<IIviDriver>& d,
                      HRESULT (IIviDriverOperation::*get)(BSTR*)) {
  com::Bstr s;
  (As<IIviDriverOperation>(d).Get()->*get)(s.Put());
  return s.ToUtf8();
}

std::string Model(const com::ComPtr<IIviDriver>& d) {
  return GetString(&IIviDriverIdentity::get_InstrumentModel, As<IIviDriverIdentity>(d).Get());
}

TEST(ConfigStoreSession, StoreSettingsThenTheOptionString) {
  ScopedConfigStore store(kStore);
  auto d = NewDriver();
  ASSERT_EQ(Init(d, "Bench"), com::S_OK) << TakeError().description;
  EXPECT_EQ(ReadFlags(d), (Flags{false, true, false, true, true}));
  EXPECT_EQ(Operation(d, &IIviDriverOperation::get_LogicalName), "Bench");
  EXPECT_EQ(Operation(d, &IIviDriverOperation::get_IoResourceDescriptor),
            "TCPIP::10.0.0.5::5025::SOCKET");
  EXPECT_EQ(Operation(d, &IIviDriverOperation::get_DriverSetup), "Model=TQR-M2");
  EXPECT_EQ(Model(d), "TQR-M5");  // the "model" setting (only that letter case) beats the setup
  ASSERT_EQ(d->Close(), com::S_OK);

  // The option string wins flag by flag; its driver setup replaces the store's.
  ASSERT_EQ(Init(d, "BenchSession", "cache=1, RangeCheck=VI_TRUE, DriverSetup=Model=TQR-M3"),
            com::S_OK);
  EXPECT_EQ(ReadFlags(d), (Flags{true, true, true, true, true}));
  EXPECT_EQ(Operation(d, &IIviDriverOperation::get_LogicalName), "BenchSession");
  EXPECT_EQ(Operation(d, &IIviDriverOperation::get_DriverSetup), "Model=TQR-M3");
  EXPECT_EQ(Model(d), "TQR-M3");
}

TEST(ConfigStoreSession, PlainResourceNamesUseTheSoftwareModule) {
  {
    ScopedConfigStore store(kStore);
    auto d = NewDriver();
    ASSERT_EQ(Init(d, "TCPIP::10.0.0.9::5025::SOCKET", "Simulate=true"), com::S_OK);
    EXPECT_EQ(Operation(d, &IIviDriverOperation::get_LogicalName), "");
    EXPECT_EQ(Operation(d, &IIviDriverOperation::get_IoResourceDescriptor),
              "TCPIP::10.0.0.9::5025::SOCKET");
    EXPECT_EQ(Model(d), "TQR-M6");
  }
  ScopedConfigStore other("<IviConfigStore/>");
  auto d = NewDriver();
  EXPECT_EQ(Init(d, "TCPIP::10.0.0.9::5025::SOCKET", "Simulate=true"),
            errors::E_IVI_CANNOT_RECOVER);
  EXPECT_NE(TakeError().description.find("Software module could not be loaded"), std::string::npos);
}

TEST(ConfigStoreSession, AStoreThatCannotBeLoadedIsPassedOverWithItsReasonKept) {
  ScriptedInstrument inst;
  UseScriptedInstrument(&inst);
  inst.fixed["*IDN?"] = "MORVANE,TQR-M3,SN42,2.1";
  auto d = NewDriver(&MakeScriptedSession);
  com::Bstr warning;
  {
    ScopedConfigStore store("<IviConfigStore><DriverSessions>");
    // Simulated or not, the session opens on the resource name as given.
    for (const char* options : {"Simulate=true", ""}) {
      ASSERT_EQ(Init(d, "Bench", options), com::S_OK) << options << TakeError().description;
      EXPECT_EQ(Operation(d, &IIviDriverOperation::get_IoResourceDescriptor), "Bench");
      EXPECT_EQ(Operation(d, &IIviDriverOperation::get_LogicalName), "");
      ASSERT_EQ(GetConfigurationStoreWarning(d.Get(), warning.Put()), com::S_OK);
      EXPECT_EQ(warning.ToUtf8().find("The IVI configuration store " + store.path() +
                                      " could not be loaded and was not used: "),
                0u)
          << warning.ToUtf8();
      ASSERT_EQ(d->Close(), com::S_OK);
    }
  }
  ScopedConfigStore good(kStore);  // a store that loads leaves no warning
  ASSERT_EQ(Init(d, "Bench"), com::S_OK);
  ASSERT_EQ(GetConfigurationStoreWarning(d.Get(), warning.Put()), com::S_OK);
  EXPECT_TRUE(warning.IsNull());
  EXPECT_EQ(GetConfigurationStoreWarning(nullptr, warning.Put()), com::E_POINTER);
}

TEST(ConfigStoreSession, VirtualChannelNameInAnyCaseAndAsPresentationName) {
  ScopedConfigStore store(kStore);
  auto d = NewDriver();
  ASSERT_EQ(Init(d, "Bench"), com::S_OK);
  com::ComPtr<IIviDCPwrOutputs> outputs;
  ASSERT_EQ(As<IIviDCPwr>(d)->get_Outputs(outputs.Put()), com::S_OK);
  for (const char* name : {"Main", "MAIN", "main", "OutputChannel1"}) {
    com::ComPtr<IIviDCPwrOutput> output;
    EXPECT_EQ(outputs->get_Item(Text(name).Get(), output.Put()), com::S_OK) << name;
  }
  com::ComPtr<IIviDCPwrOutput> none;
  EXPECT_EQ(outputs->get_Item(Text("Aux").Get(), none.Put()),
            errors::E_IVI_UNKNOWN_PHYSICAL_IDENTIFIER);
  com::Bstr name;
  ASSERT_EQ(outputs->get_Name(1, name.Put()), com::S_OK);
  EXPECT_EQ(name.ToUtf8(), "Main");
}

}  // namespace
}  // namespace motqr::testing
