#include "platform/ivi/config_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <variant>

#include "platform/ivi/config_store_location.h"
#include "platform/ivi/ivi_root.h"
#include "platform/ivi/testing/scoped_config_store.h"

namespace motqr::ivi {
namespace {

using testing::ScopedConfigStore;

constexpr std::string_view kStore = R"(<?xml version="1.0" encoding="utf-8"?>
<IviConfigStore>
  <SoftwareModules>
    <IviSoftwareModule id="sm1"><Name>motqr</Name><Prefix>motqr</Prefix>
      <DataComponents><IviStructure><Name>Configurable Initial Settings</Name><DataComponents>
        <IviString><Name>model</Name><Value>TQR-M6</Value></IviString>
      </DataComponents></IviStructure></DataComponents>
    </IviSoftwareModule>
  </SoftwareModules>
  <HardwareAssets>
    <IviHardwareAsset id="ha1"><Name>Bench</Name>
      <IOResourceDescriptor> TCPIP::10.0.0.5::5025::SOCKET </IOResourceDescriptor></IviHardwareAsset>
  </HardwareAssets>
  <DriverSessions>
    <IviDriverSession id="ds1"><Name>BenchSession</Name>
      <IviHardwareAsset idref="ha1"/><IviSoftwareModule idref="sm1"/>
      <Cache>false</Cache><QueryInstrStatus>TRUE</QueryInstrStatus><Simulate>1</Simulate>
      <DriverSetup>Model=TQR-M2, Trace=false</DriverSetup>
      <DataComponents><IviStructure><Name>Configurable Initial Settings</Name><DataComponents>
        <IviInteger><Name>Retries</Name><Value>-3</Value></IviInteger>
        <IviReal><Name>Settle</Name><Value>2.5e-3</Value></IviReal>
        <IviBoolean><Name>Beep</Name><Value>false</Value></IviBoolean>
        <IviStructure><Name>Inner</Name></IviStructure>
      </DataComponents></IviStructure></DataComponents>
      <VirtualNames><IviVirtualName><Name>Main</Name><MapTo>OutputChannel1</MapTo></IviVirtualName></VirtualNames>
    </IviDriverSession>
  </DriverSessions>
  <Sessions><IviSession id="s1"><Name>Plain</Name></IviSession></Sessions>
  <LogicalNames>
    <IviLogicalName><Name>Bench</Name><IviDriverSession idref="ds1"/></IviLogicalName>
    <IviLogicalName><Name>NotADriver</Name><IviSession idref="s1"/></IviLogicalName>
  </LogicalNames>
</IviConfigStore>)";

ConfigStore Parsed(std::string_view xml) {
  ConfigStore store;
  std::string error;
  EXPECT_TRUE(ParseConfigStore(xml, &store, &error)) << error;
  return store;
}

std::string ParseError(std::string_view xml) {
  ConfigStore store;
  std::string error;
  EXPECT_FALSE(ParseConfigStore(xml, &store, &error));
  EXPECT_TRUE(store.driver_sessions.empty());
  return error;
}

// One driver session whose body is `session`, for the error cases.
std::string WithSession(std::string_view session) {
  return "<IviConfigStore><DriverSessions><IviDriverSession><Name>S</Name>" + std::string(session) +
         "</IviDriverSession></DriverSessions></IviConfigStore>";
}

TEST(ConfigStore, ReadsSessionsByLogicalOrSessionName) {
  const ConfigStore store = Parsed(kStore);
  const DriverSession* s = store.FindDriverSession("Bench");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s, store.FindDriverSession("BenchSession"));
  EXPECT_EQ(store.FindDriverSession("bench"), nullptr);       // names compare exactly
  EXPECT_EQ(store.FindDriverSession("NotADriver"), nullptr);  // a plain session
  EXPECT_EQ(s->io_resource_descriptor, "TCPIP::10.0.0.5::5025::SOCKET");
  EXPECT_EQ(s->software_module_name, "motqr");
  EXPECT_TRUE(!s->cache && s->query_instr_status && s->simulate);
  EXPECT_TRUE(s->range_check);  // absent: the default
  EXPECT_EQ(s->driver_setup, "Model=TQR-M2, Trace=false");
  ASSERT_EQ(s->virtual_names.size(), 1u);
  EXPECT_EQ(s->virtual_names[0].map_to, "OutputChannel1");

  ASSERT_EQ(s->data_components.size(), 1u);
  const auto& settings = s->data_components[0].members;
  ASSERT_EQ(settings.size(), 4u);
  EXPECT_EQ(std::get<std::int32_t>(settings[0].value), -3);
  EXPECT_EQ(std::get<double>(settings[1].value), 2.5e-3);
  EXPECT_EQ(std::get<bool>(settings[2].value), false);
  EXPECT_EQ(DataComponentTypeName(settings[3].type), "Structure");

  const SoftwareModule* m = store.FindSoftwareModule("motqr");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(DataComponentTypeName(m->data_components[0].members[0].type), "String");
}

TEST(ConfigStore, MalformedStoresSayWhatIsWrong) {
  struct Case {
    std::string xml;
    const char* error;
  };
  const Case cases[] = {
      {"<IviConfigStore><Name>x</IviConfigStore>", "at byte"},
      {"", "No document element"},
      {"<Store/>", "root element is <Store>"},
      {WithSession("<Simulate>yes</Simulate>"), "Simulate is 'yes', not true or false"},
      {WithSession("<IviHardwareAsset idref='nowhere'/>"), "idref 'nowhere' names no"},
      {"<IviConfigStore><Sessions><IviSession id='a'/></Sessions>"
       "<HardwareAssets><IviHardwareAsset id='a'/></HardwareAssets></IviConfigStore>",
       "duplicate id 'a'"},
      {"<IviConfigStore><Sessions><IviSession id='x'/></Sessions><DriverSessions>"
       "<IviDriverSession><Name>S</Name><IviHardwareAsset idref='x'/></IviDriverSession>"
       "</DriverSessions></IviConfigStore>",
       "idref 'x' names no IviHardwareAsset"},
      {WithSession("<DataComponents><IviInteger><Name>N</Name><Value>1.5</Value></IviInteger>"
                   "</DataComponents>"),
       "'1.5' is not a valid Integer value"},
      {"<IviConfigStore><DriverSessions><IviDriverSession><Name>A</Name></IviDriverSession>"
       "<IviDriverSession><Name>A</Name></IviDriverSession></DriverSessions></IviConfigStore>",
       "two driver sessions named 'A'"},
  };
  for (const Case& c : cases) {
    const std::string error = ParseError(c.xml);
    EXPECT_NE(error.find(c.error), std::string::npos) << c.xml << "\n" << error;
  }
}

TEST(ConfigStore, OversizedInputIsRefusedNotRead) {
  std::string nested;
  for (int i = 0; i <= kMaxStructureDepth + 1; ++i)
    nested = "<IviStructure><Name>s</Name><DataComponents>" + nested +
             "</DataComponents></IviStructure>";
  EXPECT_NE(ParseError(WithSession("<DataComponents>" + nested + "</DataComponents>"))
                .find("nested deeper than 8"),
            std::string::npos);
  EXPECT_NE(ParseError(WithSession("<DriverSetup>" + std::string(kMaxStoreText + 1, 'x') +
                                   "</DriverSetup>"))
                .find("DriverSetup is longer than 4096 bytes"),
            std::string::npos);
  std::string many = "<IviConfigStore><LogicalNames>";
  for (std::size_t i = 0; i <= kMaxStoreCollection; ++i) many += "<IviLogicalName/>";
  EXPECT_NE(ParseError(many + "</LogicalNames></IviConfigStore>").find("more than 1024 logical"),
            std::string::npos);
  EXPECT_NE(ParseError(std::string(kMaxStoreBytes + 1, ' ')).find("larger than"),
            std::string::npos);
}

TEST(ConfigStore, FilesThatCannotBeOpenedAreNotMalformed) {
  ConfigStore store;
  std::string error;
  EXPECT_EQ(LoadConfigStore("", &store, &error), StoreLoadStatus::kCannotOpen);
  EXPECT_EQ(LoadConfigStore("/nonexistent/store.xml", &store, &error),
            StoreLoadStatus::kCannotOpen);
  EXPECT_EQ(LoadConfigStore(std::filesystem::temp_directory_path().string(), &store, &error),
            StoreLoadStatus::kCannotOpen);  // a directory
  ScopedConfigStore big(std::string(kMaxStoreBytes + 1, ' '));
  EXPECT_EQ(LoadConfigStore(big.path(), &store, &error), StoreLoadStatus::kMalformed);
  EXPECT_NE(error.find("larger than"), std::string::npos);
}

TEST(ConfigStoreLocation, ProcessDefaultElseMasterUnderTheIviRoot) {
  SetIviStandardRootDirForTesting("/opt/ivi");
  EXPECT_EQ(ConfigStoreLocation(), "/opt/ivi/Data/IviConfigurationStore.xml");
  SetConfigStoreProcessDefaultLocation("/home/me/store.xml");
  EXPECT_EQ(ConfigStoreLocation(), "/home/me/store.xml");
  SetConfigStoreProcessDefaultLocation("");
  SetIviStandardRootDirForTesting("");
  EXPECT_EQ(ConfigStoreLocation(), "");  // no IVI root: no store
  SetIviStandardRootDirForTesting(std::nullopt);
}

}  // namespace
}  // namespace motqr::ivi
