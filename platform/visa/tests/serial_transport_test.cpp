#include "platform/visa/serial_transport.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>
#include <utility>

#include "platform/visa/tests/visa_test_support.h"
#include "platform/visa/unique_fd.h"

namespace motqr::visa {
namespace {

using testing::Attribute;
using testing::Read;
using testing::Reading;
using testing::Write;

// The instrument end of a pseudo-terminal pair; the transport opens the other end.
class PtyPeer {
 public:
  PtyPeer() : master_(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    if (master_.valid() && ::grantpt(master_.get()) == 0 && ::unlockpt(master_.get()) == 0) {
      std::array<char, 128> name{};
      if (::ptsname_r(master_.get(), name.data(), name.size()) == 0) slave_path_ = name.data();
    }
    // The instrument end is raw too, so bytes pass unchanged.
    termios tio{};
    ::tcgetattr(master_.get(), &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(master_.get(), TCSANOW, &tio);
  }
  std::string resource() const { return "ASRL" + slave_path_ + "::INSTR"; }
  void Send(std::string_view text) const {
    EXPECT_EQ(::write(master_.get(), text.data(), text.size()), static_cast<long>(text.size()));
  }
  std::string Receive(std::size_t count) const {
    std::string data;
    while (data.size() < count) {
      pollfd entry{master_.get(), POLLIN, 0};
      if (::poll(&entry, 1, 1000) != 1) break;
      char chunk[64];
      const long n = ::read(master_.get(), chunk, std::min(sizeof chunk, count - data.size()));
      if (n <= 0) break;
      data.append(chunk, static_cast<std::size_t>(n));
    }
    return data;
  }
  void Hang() { master_.Reset(); }

 private:
  UniqueFd master_;
  std::string slave_path_;
};

std::unique_ptr<Transport> Open(const PtyPeer& peer) {
  return testing::Open(peer.resource(), Backend::kSerial);
}

TEST(VisaSerialTransport, ReadEndsAtTerminationCharacterByDefault) {
  PtyPeer peer;
  auto transport = Open(peer);
  ASSERT_TRUE(transport);
  ASSERT_TRUE(Write(*transport, "MEAS:VOLT?\n").ok());
  EXPECT_EQ(peer.Receive(11), "MEAS:VOLT?\n");  // sent as given, nothing appended

  peer.Send("+4.998\n+0.5\n");
  // END_IN defaults to the termination character: the read ends there with END.
  EXPECT_EQ(Read(*transport), (Reading{VI_SUCCESS, ReadStop::kEnd, "+4.998\n"}));
  // With END_IN off, only the enabled termination character stops a read.
  ASSERT_TRUE(transport->SetAttribute(VI_ATTR_ASRL_END_IN, VI_ASRL_END_NONE).ok());
  ASSERT_TRUE(transport->SetTerminationCharacterEnabled(true).ok());
  EXPECT_EQ(Read(*transport), (Reading{VI_SUCCESS_TERM_CHAR, ReadStop::kTermChar, "+0.5\n"}));
}

TEST(VisaSerialTransport, TimeoutCountAndEndOutput) {
  PtyPeer peer;
  auto transport = Open(peer);
  ASSERT_TRUE(transport);
  ASSERT_TRUE(transport->SetTimeout(100).ok());
  peer.Send("12345");
  EXPECT_EQ(Read(*transport, 3), (Reading{VI_SUCCESS_MAX_CNT, ReadStop::kCount, "123"}));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Read(*transport), (Reading{VI_ERROR_TMO, ReadStop::kTimeout, "45"}));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(100));
  EXPECT_LT(elapsed, std::chrono::milliseconds(350));

  // END_OUT = TERMCHAR appends the termination character to a write that asserts END only.
  ASSERT_TRUE(transport->SetAttribute(VI_ATTR_ASRL_END_OUT, VI_ASRL_END_TERMCHAR).ok());
  ASSERT_TRUE(transport->SetTerminationCharacter('\r').ok());
  ASSERT_TRUE(Write(*transport, "OUTP ", false).ok());
  std::size_t written = 0;
  ASSERT_TRUE(transport->Write(AsBytes("ON"), true, &written).ok());
  EXPECT_EQ(written, 2u);
  EXPECT_EQ(peer.Receive(8), "OUTP ON\r");
}

TEST(VisaSerialTransport, LineSettingsAreCheckedAndKept) {
  PtyPeer peer;
  auto transport = Open(peer);
  ASSERT_TRUE(transport);
  const std::pair<ViAttr, ViAttrState> defaults[] = {{VI_ATTR_ASRL_BAUD, 9600},
                                                     {VI_ATTR_ASRL_DATA_BITS, 8},
                                                     {VI_ATTR_ASRL_PARITY, VI_ASRL_PAR_NONE},
                                                     {VI_ATTR_ASRL_STOP_BITS, VI_ASRL_STOP_ONE},
                                                     {VI_ATTR_ASRL_FLOW_CNTRL, VI_ASRL_FLOW_NONE},
                                                     {VI_ATTR_INTF_TYPE, VI_INTF_ASRL}};
  for (const auto& [attribute, value] : defaults) {
    EXPECT_EQ(Attribute(*transport, attribute), value) << std::hex << attribute;
  }
  EXPECT_TRUE(transport->SetAttribute(VI_ATTR_ASRL_BAUD, 115200).ok());
  EXPECT_TRUE(transport->SetAttribute(VI_ATTR_ASRL_STOP_BITS, VI_ASRL_STOP_TWO).ok());
  EXPECT_TRUE(transport->SetAttribute(VI_ATTR_ASRL_FLOW_CNTRL, VI_ASRL_FLOW_XON_XOFF).ok());
  const std::pair<ViAttr, ViAttrState> refused[] = {
      {VI_ATTR_ASRL_BAUD, 12345},
      {VI_ATTR_ASRL_DATA_BITS, 9},
      {VI_ATTR_ASRL_STOP_BITS, VI_ASRL_STOP_ONE5},
      {VI_ATTR_ASRL_FLOW_CNTRL, VI_ASRL_FLOW_DTR_DSR}};
  for (const auto& [attribute, value] : refused) {
    EXPECT_EQ(transport->SetAttribute(attribute, value).code(), VI_ERROR_NSUP_ATTR_STATE);
  }
  // A refused setting leaves the last good one.
  EXPECT_EQ(Attribute(*transport, VI_ATTR_ASRL_BAUD), 115200u);
  EXPECT_EQ(Attribute(*transport, VI_ATTR_ASRL_STOP_BITS), VI_ASRL_STOP_TWO);

  // A pseudo-terminal keeps 8 bits without parity whatever is asked: a setting the device
  // does not take is refused, never dropped silently.
  for (const auto& [attribute, value] :
       {std::pair<ViAttr, ViAttrState>{VI_ATTR_ASRL_PARITY, VI_ASRL_PAR_EVEN},
        {VI_ATTR_ASRL_DATA_BITS, 7}}) {
    const Status status = transport->SetAttribute(attribute, value);
    EXPECT_EQ(Attribute(*transport, attribute) == value, status.ok()) << status.message();
    if (!status.ok()) {
      EXPECT_EQ(status.code(), VI_ERROR_NSUP_ATTR_STATE);
      EXPECT_NE(status.message().find("does not take"), std::string::npos);
    }
  }
  EXPECT_EQ(Attribute(*transport, VI_ATTR_ASRL_BAUD), 115200u);
}

TEST(VisaSerialTransport, HangUpIsAnErrorAndMissingOrBusyPortsFailToOpen) {
  PtyPeer peer;
  auto transport = Open(peer);
  ASSERT_TRUE(transport);
  Status status;
  EXPECT_EQ(testing::Open(peer.resource(), Backend::kSerial, &status), nullptr);
  EXPECT_EQ(status.code(), VI_ERROR_RSRC_BUSY);

  ASSERT_TRUE(transport->SetTimeout(VI_TMO_INFINITE).ok());
  peer.Send("+1");
  peer.Hang();
  const Reading reading = Read(*transport);
  EXPECT_EQ(reading.code, VI_ERROR_CONN_LOST) << reading.message;

  EXPECT_EQ(testing::Open("ASRL/dev/motqr-no-such-port::INSTR", Backend::kSerial, &status),
            nullptr);
  EXPECT_EQ(status.code(), VI_ERROR_RSRC_NFOUND);
  EXPECT_NE(status.message().find("/dev/motqr-no-such-port"), std::string::npos);
  EXPECT_EQ(testing::Open("ASRL/dev/null::INSTR", Backend::kSerial, &status), nullptr);
  EXPECT_EQ(status.code(), VI_ERROR_RSRC_NFOUND);
}

}  // namespace
}  // namespace motqr::visa
