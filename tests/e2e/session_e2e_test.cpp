// Initialize and Close over a real socket and a pseudo-terminal.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"
#include "tests/e2e/raw_instrument.h"
#include "tests/e2e/sim_process.h"

namespace motqr::e2e {
namespace {

TEST(SessionE2e, InitializeOverASocketWithIdQueryAndResetOnAndOff) {
  SimProcess sim({"--model", "TQR-M6"});
  ASSERT_TRUE(sim.ok()) << sim.error();
  com::ComPtr<IIviDriver> driver = NewDriver();
  ASSERT_TRUE(driver);
  for (bool id_query : {true, false}) {
    for (bool reset : {true, false}) {
      SCOPED_TRACE(::testing::Message() << "IdQuery " << id_query << ", Reset " << reset);
      ASSERT_EQ(Initialize(driver.Get(), sim.SocketResource(), id_query, reset), com::S_OK)
          << LastError();
      EXPECT_EQ(Model(driver), "TQR-M6");
      // A second Initialize fails and leaves the first session working.
      EXPECT_LT(Initialize(driver.Get(), sim.SocketResource(), id_query, reset), 0);
      std::int32_t code = -1;
      com::Bstr message;
      EXPECT_EQ(As<IIviDriverUtility>(driver)->ErrorQuery(&code, message.Put()), com::S_OK);
      EXPECT_EQ(code, 0);
      EXPECT_EQ(driver->Close(), com::S_OK);
    }
  }
}

TEST(SessionE2e, NobodyListeningIsTheUnknownResource) {
  int free_port = 0;
  {
    SimProcess sim;
    ASSERT_TRUE(sim.ok()) << sim.error();
    free_port = sim.port();
  }  // the simulator is gone; its port refuses connections
  com::ComPtr<IIviDriver> driver = NewDriver();
  const std::string resource = "TCPIP::127.0.0.1::" + std::to_string(free_port) + "::SOCKET";
  EXPECT_EQ(Initialize(driver.Get(), resource, true, false), kUnknownResource);
  EXPECT_NE(LastError().find("Resource descriptor = " + resource + "."), std::string::npos);
}

TEST(SessionE2e, InitializeOverAPseudoTerminal) {
  SimProcess sim({"--pty", "--model", "TQR-M2"});
  ASSERT_TRUE(sim.ok()) << sim.error();
  com::ComPtr<IIviDriver> driver = NewDriver();
  ASSERT_EQ(Initialize(driver.Get(), sim.SerialResource(), true, true, "QueryInstrStatus=true"),
            com::S_OK)
      << LastError();
  EXPECT_EQ(Model(driver), "TQR-M2");
  std::int32_t result = -1;
  com::Bstr message;
  EXPECT_EQ(As<IIviDriverUtility>(driver)->SelfTest(&result, message.Put()), com::S_OK);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(message.ToUtf8(), "Selftest passed");
  EXPECT_EQ(driver->Close(), com::S_OK);
}

}  // namespace
}  // namespace motqr::e2e
