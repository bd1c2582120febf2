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

#include "platform/visa/open_transport.h"
#include "platform/visa/unique_fd.h"

namespace motqr::visa {
namespace {

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
  ResourceName name;
  EXPECT_TRUE(ParseResourceName(peer.resource(), &name).ok());
  EXPECT_EQ(BackendFor(name), Backend::kSerial);
  std::unique_ptr<Transport> transport;
  Status status = OpenTransport(name, {}, &transport);
  EXPECT_TRUE(status.ok()) << status.message();
  return transport;
}

std::string Text(const std::array<std::uint8_t, 64>& buffer, const ReadResult& result) {
  return std::string(reinterpret_cast<const char*>(buffer.data()), result.count);
}

TEST(VisaSerialTransport, ReadEndsAtTerminationCharacterByDefault) {
  PtyPeer peer;
  auto transport = Open(peer);
  ASSERT_TRUE(transport);
  std::size_t written = 0;
  ASSERT_TRUE(transport->Write(AsBytes("MEAS:VOLT?\n"), true, &written).ok());
  EXPECT_EQ(peer.Receive(11), "MEAS:VOLT?\n");  // sent as given, nothing appended

  peer.Send("+4.998\n+0.5\n");
  std::array<std::uint8_t, 64> buffer{};
  ReadResult result;
  // END_IN defaults to the termination character: the read ends there with END.
  EXPECT_EQ(transport->Read(buffer, &result).code(), VI_SUCCESS);
  EXPECT_EQ(result.stop, ReadStop::kEnd);
  EXPECT_EQ(Text(buffer, result), "+4.998\n");

  // With END_IN off, only the enabled termination character stops a read.
  ASSERT_TRUE(transport->SetAttribute(VI_ATTR_ASRL_END_IN, VI_ASRL_END_NONE).ok());
  ASSERT_TRUE(transport->SetTerminationCharacterEnabled(true).ok());
  EXPECT_EQ(transport->Read(buffer, &result).code(), VI_SUCCESS_TERM_CHAR);
  EXPECT_EQ(Text(buffer, result), "+0.5\n");
}

TEST(VisaSerialTransport, TimeoutCountAndEndOutput) {
  PtyPeer peer;
  auto transport = Open(peer);
  ASSERT_TRUE(transport);
  ASSERT_TRUE(transport->SetTimeout(100).ok());
  peer.Send("12345");
  std::array<std::uint8_t, 64> buffer{};
  ReadResult result;
  EXPECT_EQ(transport->Read(std::span(buffer).first(3), &result).code(), VI_SUCCESS_MAX_CNT);
  EXPECT_EQ(Text(buffer, result), "123");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(transport->Read(buffer, &result).code(), VI_ERROR_TMO);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(Text(buffer, result), "45");
  EXPECT_GE(elapsed, std::chrono::milliseconds(100));
  EXPECT_LT(elapsed, std::chrono::milliseconds(350));

  // END_OUT = TERMCHAR appends the termination character to a write that asserts END only.
  ASSERT_TRUE(transport->SetAttribute(VI_ATTR_ASRL_END_OUT, VI_ASRL_END_TERMCHAR).ok());
  ASSERT_TRUE(transport->SetTerminationCharacter('\r').ok());
  std::size_t written = 0;
  ASSERT_TRUE(transport->Write(AsBytes("OUTP "), false, &written).ok());
  ASSERT_TRUE(transport->Write(AsBytes("ON"), true, &written).ok());
  EXPECT_EQ(written, 2u);
  EXPECT_EQ(peer.Receive(8), "OUTP ON\r");
}

TEST(VisaSerialTransport, LineSettingsAreCheckedAndKept) {
  PtyPeer peer;
  auto transport = Open(peer);
  ASSERT_TRUE(transport);
  struct Default {
    ViAttr attribute;
    ViAttrState value;
  };
  for (const Default& d : {Default{VI_ATTR_ASRL_BAUD, 9600}, Default{VI_ATTR_ASRL_DATA_BITS, 8},
                           Default{VI_ATTR_ASRL_PARITY, VI_ASRL_PAR_NONE},
                           Default{VI_ATTR_ASRL_STOP_BITS, VI_ASRL_STOP_ONE},
                           Default{VI_ATTR_ASRL_FLOW_CNTRL, VI_ASRL_FLOW_NONE},
                           Default{VI_ATTR_INTF_TYPE, VI_INTF_ASRL}}) {
    ViAttrState value = 12345;
    ASSERT_TRUE(transport->GetAttribute(d.attribute, &value).ok());
    EXPECT_EQ(value, d.value) << std::hex << d.attribute;
  }
  EXPECT_TRUE(transport->SetAttribute(VI_ATTR_ASRL_BAUD, 115200).ok());
  EXPECT_TRUE(transport->SetAttribute(VI_ATTR_ASRL_STOP_BITS, VI_ASRL_STOP_TWO).ok());
  EXPECT_TRUE(transport->SetAttribute(VI_ATTR_ASRL_FLOW_CNTRL, VI_ASRL_FLOW_XON_XOFF).ok());
  EXPECT_EQ(transport->SetAttribute(VI_ATTR_ASRL_BAUD, 12345).code(), VI_ERROR_NSUP_ATTR_STATE);
  EXPECT_EQ(transport->SetAttribute(VI_ATTR_ASRL_DATA_BITS, 9).code(), VI_ERROR_NSUP_ATTR_STATE);
  EXPECT_EQ(transport->SetAttribute(VI_ATTR_ASRL_STOP_BITS, VI_ASRL_STOP_ONE5).code(),
            VI_ERROR_NSUP_ATTR_STATE);
  EXPECT_EQ(transport->SetAttribute(VI_ATTR_ASRL_FLOW_CNTRL, VI_ASRL_FLOW_DTR_DSR).code(),
            VI_ERROR_NSUP_ATTR_STATE);
  ViAttrState value = 0;
  ASSERT_TRUE(transport->GetAttribute(VI_ATTR_ASRL_BAUD, &value).ok());
  EXPECT_EQ(value, 115200u);  // a refused setting leaves the last good one
  ASSERT_TRUE(transport->GetAttribute(VI_ATTR_ASRL_STOP_BITS, &value).ok());
  EXPECT_EQ(value, VI_ASRL_STOP_TWO);

  // A pseudo-terminal keeps 8 bits without parity whatever is asked: a setting the device
  // does not take is refused, never dropped silently.
  for (const Default& d :
       {Default{VI_ATTR_ASRL_PARITY, VI_ASRL_PAR_EVEN}, Default{VI_ATTR_ASRL_DATA_BITS, 7}}) {
    Status status = transport->SetAttribute(d.attribute, d.value);
    ASSERT_TRUE(transport->GetAttribute(d.attribute, &value).ok());
    if (status.ok()) {
      EXPECT_EQ(value, d.value);
    } else {
      EXPECT_EQ(status.code(), VI_ERROR_NSUP_ATTR_STATE);
      EXPECT_NE(status.message().find("does not take"), std::string::npos);
      EXPECT_NE(value, d.value);
    }
  }
  ASSERT_TRUE(transport->GetAttribute(VI_ATTR_ASRL_BAUD, &value).ok());
  EXPECT_EQ(value, 115200u);
}

TEST(VisaSerialTransport, HangUpIsAnErrorAndMissingOrBusyPortsFailToOpen) {
  PtyPeer peer;
  auto transport = Open(peer);
  ASSERT_TRUE(transport);
  ResourceName same;
  ASSERT_TRUE(ParseResourceName(peer.resource(), &same).ok());
  std::unique_ptr<Transport> second;
  EXPECT_EQ(OpenTransport(same, {}, &second).code(), VI_ERROR_RSRC_BUSY);

  ASSERT_TRUE(transport->SetTimeout(VI_TMO_INFINITE).ok());
  peer.Send("+1");
  peer.Hang();
  std::array<std::uint8_t, 64> buffer{};
  ReadResult result;
  Status status = transport->Read(buffer, &result);
  EXPECT_EQ(status.code(), VI_ERROR_CONN_LOST) << status.message();

  ResourceName name;
  ASSERT_TRUE(ParseResourceName("ASRL/dev/motqr-no-such-port::INSTR", &name).ok());
  std::unique_ptr<Transport> missing;
  status = OpenTransport(name, {}, &missing);
  EXPECT_EQ(status.code(), VI_ERROR_RSRC_NFOUND);
  EXPECT_NE(status.message().find("/dev/motqr-no-such-port"), std::string::npos);
  ASSERT_TRUE(ParseResourceName("ASRL/dev/null::INSTR", &name).ok());
  EXPECT_EQ(OpenTransport(name, {}, &missing).code(), VI_ERROR_RSRC_NFOUND);
}

}  // namespace
}  // namespace motqr::visa
