// The usbtmc transport without hardware: a sysfs tree made here, a socket pair standing in for
// /dev/usbtmcN and a stand-in for the driver's ioctls.
#include "platform/visa/usbtmc_transport.h"

#include <gtest/gtest.h>
#include <linux/usb/tmc.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/visa/tests/visa_test_support.h"

namespace motqr::visa {
namespace {

namespace fs = std::filesystem;
using testing::Read;
using testing::Reading;
using testing::Write;

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text << "\n";
}

// A sysfs tree with usbtmc devices as the kernel lays them out: the class entry links to the
// USB interface, whose parent directory is the USB device.
class FakeSysfs {
 public:
  FakeSysfs()
      : root_(fs::path(::testing::TempDir()) / ("motqr-sysfs-" + std::to_string(getpid()))) {
    fs::remove_all(root_);
  }
  ~FakeSysfs() { fs::remove_all(root_); }

  void AddDevice(int node, const std::string& vendor, const std::string& product,
                 const std::string& serial, const std::string& interface_number) {
    const fs::path device = root_ / "devices" / "usb1" / ("1-" + std::to_string(node + 1));
    WriteFile(device / "idVendor", vendor);
    WriteFile(device / "idProduct", product);
    WriteFile(device / "serial", serial);
    const fs::path interface = device / ("1-" + std::to_string(node + 1) + ":1.0");
    WriteFile(interface / "bInterfaceNumber", interface_number);
    const fs::path entry = root_ / "class" / "usbmisc" / ("usbtmc" + std::to_string(node));
    fs::create_directories(entry);
    fs::create_directory_symlink(interface, entry / "device");
  }
  std::string root() const { return root_.string(); }

 private:
  fs::path root_;
};

// The device node: the transport's end of a socket pair, the other end plays the instrument.
// The ioctls are recorded and answered here; a time-out becomes the socket's receive time-out.
class FakeDevice {
 public:
  FakeDevice() {
    int ends[2];
    EXPECT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends), 0);
    driver_end_ = ends[0];
    instrument_ = ends[1];
  }
  ~FakeDevice() {
    ::close(driver_end_);
    if (instrument_ >= 0) ::close(instrument_);
  }

  UsbtmcSystem System(const std::string& sysfs_root) {
    UsbtmcSystem system;
    system.sysfs_root = sysfs_root;
    system.dev_root = "/fake/dev";
    system.open_device = [this](const std::string& path) {
      opened_ = path;
      if (open_error_ != 0) {
        errno = open_error_;
        return -1;
      }
      return ::dup(driver_end_);
    };
    system.control = [this](int fd, unsigned long request, void* argument) {
      return Control(fd, request, argument);
    };
    return system;
  }

  int Control(int fd, unsigned long request, void* argument) {
    requests_.push_back(request);
    switch (request) {
      case USBTMC_IOCTL_SET_TIMEOUT: {
        timeout_ms_ = *static_cast<std::uint32_t*>(argument);
        timeval wait{static_cast<time_t>(timeout_ms_ / 1000),
                     static_cast<suseconds_t>(timeout_ms_ % 1000 * 1000)};
        return ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
      }
      case USBTMC_IOCTL_EOM_ENABLE:
        eom_settings_.push_back(*static_cast<std::uint8_t*>(argument));
        return 0;
      case USBTMC_IOCTL_MSG_IN_ATTR:
        *static_cast<std::uint8_t*>(argument) = last_had_eom_ ? 1 : 0;
        return 0;
      case USBTMC488_IOCTL_READ_STB:
        *static_cast<std::uint8_t*>(argument) = 0x54;
        return 0;
      case USBTMC_IOCTL_CLEAR:
      case USBTMC488_IOCTL_TRIGGER:
      case USBTMC_IOCTL_CONFIG_TERMCHAR:
        return 0;
      default:
        errno = ENOTTY;
        return -1;
    }
  }

  // What the driver wrote (one write is one packet).
  std::string Received() {
    char buffer[256];
    const ssize_t n = ::recv(instrument_, buffer, sizeof buffer, MSG_DONTWAIT);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
  }
  void Reply(const std::string& bytes, bool eom = true) {
    last_had_eom_ = eom;
    ASSERT_EQ(::send(instrument_, bytes.data(), bytes.size(), 0),
              static_cast<ssize_t>(bytes.size()));
  }
  void Unplug() {
    ::close(instrument_);
    instrument_ = -1;
  }
  bool Asked(unsigned long request) const {
    return std::find(requests_.begin(), requests_.end(), request) != requests_.end();
  }

  std::string opened_;
  int open_error_ = 0;
  std::uint32_t timeout_ms_ = 0;
  std::vector<std::uint8_t> eom_settings_;

 private:
  int driver_end_ = -1;
  int instrument_ = -1;
  bool last_had_eom_ = true;
  std::vector<unsigned long> requests_;
};

class UsbtmcTransportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sysfs_.AddDevice(0, "1234", "5678", "A1", "00");
    sysfs_.AddDevice(1, "1234", "5678", "B2", "00");
    sysfs_.AddDevice(10, "f0ab", "0001", "B2", "03");
    SetUsbtmcSystemForTesting(device_.System(sysfs_.root()));
  }
  void TearDown() override { SetUsbtmcSystemForTesting(std::nullopt); }

  std::unique_ptr<Transport> Open(const char* resource, Status* status = nullptr) {
    return testing::Open(resource, Backend::kUsbtmc, status);
  }

  FakeSysfs sysfs_;
  FakeDevice device_;
};

TEST_F(UsbtmcTransportTest, FindsTheDeviceByIdsSerialAndInterface) {
  std::vector<std::string> resources;
  for (const UsbtmcDevice& device : ListUsbtmcDevices()) resources.push_back(device.resource);
  EXPECT_EQ(resources, (std::vector<std::string>{"USB0::0x1234::0x5678::A1::0::INSTR",
                                                 "USB0::0x1234::0x5678::B2::0::INSTR",
                                                 "USB0::0xF0AB::0x0001::B2::3::INSTR"}));

  EXPECT_TRUE(Open("USB::0x1234::22136::B2::INSTR"));
  EXPECT_EQ(device_.opened_, "/fake/dev/usbtmc1");
  EXPECT_TRUE(Open("USB0::0xF0AB::0x1::B2::3::INSTR"));
  EXPECT_EQ(device_.opened_, "/fake/dev/usbtmc10");

  Status status;
  EXPECT_EQ(Open("USB::0x1234::0x5678::b2::INSTR", &status), nullptr);  // serials keep case
  EXPECT_EQ(status.code(), VI_ERROR_RSRC_NFOUND);
  EXPECT_NE(status.message().find("usbtmc kernel module"), std::string::npos) << status.message();
  EXPECT_EQ(Open("USB0::0xF0AB::0x1::B2::2::INSTR", &status), nullptr);  // other interface

  device_.open_error_ = EACCES;
  EXPECT_EQ(Open("USB::0x1234::0x5678::A1::INSTR", &status), nullptr);
  EXPECT_NE(status.message().find("Permission denied"), std::string::npos) << status.message();
  EXPECT_NE(status.message().find("udev rule"), std::string::npos);
}

TEST_F(UsbtmcTransportTest, ReadsEndAtEomAndControlsGoThroughTheDriver) {
  auto io = Open("USB::0x1234::0x5678::A1::INSTR");
  ASSERT_TRUE(io);
  EXPECT_EQ(device_.timeout_ms_, 2000u);  // the session's time-out, given at open

  ASSERT_TRUE(Write(*io, "*IDN?\n").ok());
  EXPECT_EQ(device_.Received(), "*IDN?\n");
  EXPECT_TRUE(device_.eom_settings_.empty());  // END is the driver's default
  ASSERT_TRUE(Write(*io, ":VOLT ", false).ok());
  EXPECT_EQ(device_.eom_settings_, (std::vector<std::uint8_t>{0, 1}));  // held back, restored

  device_.Reply("MORVANE,TQR-M4\n");
  EXPECT_EQ(Read(*io), (Reading{VI_SUCCESS, ReadStop::kEnd, "MORVANE,TQR-M4\n"}));
  // A read that fills the buffer ends at END only when the device said so.
  device_.Reply("1.25", false);
  EXPECT_EQ(Read(*io, 4), (Reading{VI_SUCCESS_MAX_CNT, ReadStop::kCount, "1.25"}));
  device_.Reply("0\n", true);
  EXPECT_EQ(Read(*io, 2), (Reading{VI_SUCCESS, ReadStop::kEnd, "0\n"}));
  ASSERT_TRUE(io->SetTerminationCharacterEnabled(true).ok());
  EXPECT_TRUE(device_.Asked(USBTMC_IOCTL_CONFIG_TERMCHAR));
  device_.Reply("5\n", false);
  EXPECT_EQ(Read(*io, 2), (Reading{VI_SUCCESS_TERM_CHAR, ReadStop::kTermChar, "5\n"}));

  std::uint16_t stb = 0;
  ASSERT_TRUE(io->ReadStatusByte(&stb).ok());
  EXPECT_EQ(stb, 0x54);
  EXPECT_TRUE(io->Clear().ok());
  EXPECT_TRUE(device_.Asked(USBTMC_IOCTL_CLEAR));
  EXPECT_TRUE(io->AssertTrigger(VI_TRIG_PROT_DEFAULT).ok());
  EXPECT_TRUE(device_.Asked(USBTMC488_IOCTL_TRIGGER));

  // The kernel driver takes no time-out below 100 ms; its time-out ends the read.
  ASSERT_TRUE(io->SetTimeout(20).ok());
  EXPECT_EQ(device_.timeout_ms_, 100u);
  EXPECT_EQ(Read(*io).code, VI_ERROR_TMO);

  device_.Unplug();
  EXPECT_EQ(Read(*io).code, VI_ERROR_CONN_LOST);
  EXPECT_TRUE(io->Close().ok());
  EXPECT_EQ(io->Clear().code(), VI_ERROR_INV_OBJECT);
}

}  // namespace
}  // namespace motqr::visa
