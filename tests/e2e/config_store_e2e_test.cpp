// The example configuration store against tqr-sim: its logical names open the
// simulator and a simulated session, and its virtual channel name reaches the
// output.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "interfaces/motqr_interfaces.h"
#include "platform/ivi/testing/scoped_config_store.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/sim_process.h"

namespace motqr::e2e {
namespace {

// The example store with its tqr-sim port 5025 replaced by `port`.
std::string ExampleStore(int port) {
  std::ifstream in(MOTQR_EXAMPLE_STORE_PATH);
  std::stringstream text;
  text << in.rdbuf();
  std::string store = text.str();
  const std::string fixed = "::5025::";
  const std::size_t at = store.find(fixed);
  if (at != std::string::npos) store.replace(at, fixed.size(), "::" + std::to_string(port) + "::");
  return store;
}

std::string OperationText(const com::ComPtr<IIviDriver>& driver,
                          HRESULT (IIviDriverOperation::*get)(BSTR*)) {
  com::Bstr text;
  (As<IIviDriverOperation>(driver).Get()->*get)(text.Put());
  return text.ToUtf8();
}

TEST(ConfigStoreE2e, ExampleLogicalNamesOpenTheSimulatorAndASimulatedSession) {
  SimProcess sim({"--model", "TQR-M6"});
  ASSERT_TRUE(sim.ok()) << sim.error();
  ivi::testing::ScopedConfigStore store(ExampleStore(sim.port()));
  com::ComPtr<IIviDriver> driver = NewDriver();

  ASSERT_EQ(Initialize(driver.Get(), "TqrSim", true, false), com::S_OK) << LastError();
  EXPECT_EQ(Model(driver), "TQR-M6");
  EXPECT_EQ(OperationText(driver, &IIviDriverOperation::get_LogicalName), "TqrSim");
  EXPECT_EQ(OperationText(driver, &IIviDriverOperation::get_IoResourceDescriptor),
            sim.SocketResource());
  com::ComPtr<IIviDCPwrOutputs> outputs;
  ASSERT_EQ(As<IIviDCPwr>(driver)->get_Outputs(outputs.Put()), com::S_OK);
  com::ComPtr<IIviDCPwrOutput> output;
  ASSERT_EQ(outputs->get_Item(com::Bstr::FromUtf8("main").Get(), output.Put()), com::S_OK);
  ASSERT_EQ(output->put_VoltageLevel(3.5), com::S_OK) << LastError();
  double level = 0;
  ASSERT_EQ(output->get_VoltageLevel(&level), com::S_OK) << LastError();
  EXPECT_DOUBLE_EQ(level, 3.5);
  ASSERT_EQ(driver->Close(), com::S_OK);

  ASSERT_EQ(Initialize(driver.Get(), "TqrSimulated", true, false), com::S_OK) << LastError();
  EXPECT_EQ(Model(driver), "TQR-M2");
  ASSERT_EQ(driver->Close(), com::S_OK);
}

}  // namespace
}  // namespace motqr::e2e
