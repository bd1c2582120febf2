#include "platform/visa/usbtmc_transport.h"

#include <fcntl.h>
#include <linux/usb/tmc.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "platform/visa/message_attributes.h"
#include "platform/visa/resource_lock.h"
#include "platform/visa/unique_fd.h"

namespace motqr::visa {
namespace {

namespace fs = std::filesystem;

// The smallest time-out the kernel driver takes.
constexpr ViUInt32 kMinimumTimeoutMs = 100;
// What "infinite" becomes for the kernel driver (about 24 days).
constexpr ViUInt32 kLongestTimeoutMs = 0x7FFFFFFF;

std::mutex g_system_mutex;
std::optional<UsbtmcSystem> g_test_system;

UsbtmcSystem CurrentSystem() {
  std::lock_guard<std::mutex> lock(g_system_mutex);
  UsbtmcSystem system = g_test_system.value_or(UsbtmcSystem{});
  if (!system.open_device) {
    system.open_device = [](const std::string& path) {
      return ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    };
  }
  if (!system.control) {
    system.control = [](int fd, unsigned long request, void* argument) {
      return ::ioctl(fd, request, argument);
    };
  }
  return system;
}

// The first line of a small sysfs file, without its newline; empty when unreadable.
std::string ReadAttribute(const fs::path& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

bool ParseHex(std::string_view text, std::uint16_t* value) {
  unsigned parsed = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed, 16);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || parsed > 0xFFFF) {
    return false;
  }
  *value = static_cast<std::uint16_t>(parsed);
  return true;
}

std::string Hex4(std::uint16_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", value);
  return text;
}

std::vector<UsbtmcDevice> ListDevices(const UsbtmcSystem& system) {
  std::vector<UsbtmcDevice> devices;
  std::error_code error;
  const fs::path class_dir = fs::path(system.sysfs_root) / "class" / "usbmisc";
  for (const fs::directory_entry& entry : fs::directory_iterator(class_dir, error)) {
    const std::string node = entry.path().filename().string();
    if (node.rfind("usbtmc", 0) != 0) continue;
    // "device" is the USB interface; its parent directory is the USB device.
    const fs::path interface_dir = fs::canonical(entry.path() / "device", error);
    if (error) continue;
    const fs::path device_dir = interface_dir.parent_path();
    UsbtmcDevice device;
    device.node = node;
    if (!ParseHex(ReadAttribute(device_dir / "idVendor"), &device.vendor_id) ||
        !ParseHex(ReadAttribute(device_dir / "idProduct"), &device.product_id) ||
        !ParseHex(ReadAttribute(interface_dir / "bInterfaceNumber"), &device.interface_number)) {
      continue;
    }
    device.serial_number = ReadAttribute(device_dir / "serial");
    device.resource = "USB0::" + Hex4(device.vendor_id) + "::" + Hex4(device.product_id) +
                      "::" + device.serial_number + "::" + std::to_string(device.interface_number) +
                      "::INSTR";
    devices.push_back(std::move(device));
  }
  std::sort(devices.begin(), devices.end(), [](const UsbtmcDevice& a, const UsbtmcDevice& b) {
    return a.node.size() != b.node.size() ? a.node.size() < b.node.size() : a.node < b.node;
  });
  return devices;
}

bool Matches(const UsbtmcDevice& device, const ResourceName& name) {
  return device.vendor_id == name.vendor_id && device.product_id == name.product_id &&
         device.serial_number == name.serial_number &&
         (!name.usb_interface || *name.usb_interface == device.interface_number);
}

class UsbtmcTransport final : public Transport {
 public:
  UsbtmcTransport(UniqueFd fd, UsbtmcSystem system, const ResourceName& name, std::string node)
      : fd_(std::move(fd)),
        system_(std::move(system)),
        attributes_(VI_INTF_USB, name.board),
        node_(std::move(node)),
        lock_(ResourceLock::For("USBTMC::" + node_)) {}
  ~UsbtmcTransport() override { (void)Close(); }

  // Gives the driver the session's time-out.
  Status ApplyTimeout();

  Status Write(std::span<const std::uint8_t> data, bool end, std::size_t* written) override;
  Status Read(std::span<std::uint8_t> buffer, ReadResult* result) override;
  Status Clear() override;
  Status ReadStatusByte(std::uint16_t* status_byte) override;
  Status AssertTrigger(ViUInt16 protocol) override;
  Status SetAttribute(ViAttr attribute, ViAttrState value) override;
  Status GetAttribute(ViAttr attribute, ViAttrState* value) override;
  Status Lock(ViAccessMode mode, ViUInt32 timeout_ms, std::string_view requested_key,
              std::string* access_key) override {
    access_key->clear();
    if (!fd_.valid()) return ClosedStatus();
    return lock_->Lock(this, mode, timeout_ms, requested_key, access_key);
  }
  Status Unlock() override {
    if (!fd_.valid()) return ClosedStatus();
    return lock_->Unlock(this);
  }
  Status Close() override {
    lock_->ReleaseAll(this);
    fd_.Reset();
    return Status();
  }

 private:
  Status Usable() const {
    if (!fd_.valid()) return ClosedStatus();
    return lock_->CheckAccess(this);
  }
  int Control(unsigned long request, void* argument) {
    return system_.control(fd_.get(), request, argument);
  }
  Status Failure(int error, std::string_view what) const {
    if (error == ETIMEDOUT || error == EAGAIN || error == EWOULDBLOCK) return Status(VI_ERROR_TMO);
    if (error == ENODEV || error == ESHUTDOWN || error == EPIPE || error == ECONNRESET) {
      return Status(VI_ERROR_CONN_LOST, StatusDescription(VI_ERROR_CONN_LOST) + " /dev/" + node_ +
                                            ": " + OsErrorText(error) + ".");
    }
    return Status(VI_ERROR_IO,
                  std::string(what) + " on /dev/" + node_ + ": " + OsErrorText(error) + ".");
  }

  UniqueFd fd_;
  UsbtmcSystem system_;
  MessageAttributes attributes_;
  std::string node_;
  std::shared_ptr<ResourceLock> lock_;
};

Status UsbtmcTransport::ApplyTimeout() {
  ViUInt32 timeout = attributes_.timeout_ms();
  if (timeout == VI_TMO_INFINITE || timeout > kLongestTimeoutMs) timeout = kLongestTimeoutMs;
  timeout = std::max(timeout, kMinimumTimeoutMs);
  std::uint32_t value = timeout;
  if (Control(USBTMC_IOCTL_SET_TIMEOUT, &value) != 0) return Failure(errno, "setting the time-out");
  return Status();
}

Status UsbtmcTransport::Write(std::span<const std::uint8_t> data, bool end, std::size_t* written) {
  *written = 0;
  MOTQR_VISA_RETURN_IF_ERROR(Usable());
  // The driver ends each write's last transfer with EOM unless told otherwise.
  std::uint8_t eom = end ? 1 : 0;
  if (!end && Control(USBTMC_IOCTL_EOM_ENABLE, &eom) != 0) {
    return Failure(errno, "holding back END");
  }
  Status status;
  while (*written < data.size() && status.ok()) {
    const ssize_t n = ::write(fd_.get(), data.data() + *written, data.size() - *written);
    if (n > 0) {
      *written += static_cast<std::size_t>(n);
    } else if (n < 0 && errno != EINTR) {
      status = Failure(errno, "write");
    }
  }
  if (!end) {
    eom = 1;
    (void)Control(USBTMC_IOCTL_EOM_ENABLE, &eom);
  }
  return status;
}

Status UsbtmcTransport::Read(std::span<std::uint8_t> buffer, ReadResult* result) {
  *result = ReadResult{};
  MOTQR_VISA_RETURN_IF_ERROR(Usable());
  ssize_t n = -1;
  do {
    n = ::read(fd_.get(), buffer.data(), buffer.size());
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    const Status status = Failure(errno, "read");
    result->stop = status.code() == VI_ERROR_TMO ? ReadStop::kTimeout : ReadStop::kError;
    return status;
  }
  result->count = static_cast<std::size_t>(n);
  if (n == 0 && !buffer.empty()) {
    result->stop = ReadStop::kError;
    return Status(VI_ERROR_CONN_LOST,
                  StatusDescription(VI_ERROR_CONN_LOST) + " /dev/" + node_ + " gave no data.");
  }
  if (attributes_.termchar_enabled() && n > 0 &&
      buffer[static_cast<std::size_t>(n) - 1] == attributes_.termchar()) {
    result->stop = ReadStop::kTermChar;
    return Status(VI_SUCCESS_TERM_CHAR);
  }
  // A short read ended with the device's EOM; a full one asks the driver whether it did.
  bool end = result->count < buffer.size();
  if (!end) {
    std::uint8_t attributes = 0;
    end = Control(USBTMC_IOCTL_MSG_IN_ATTR, &attributes) == 0 && (attributes & 1) != 0;
  }
  result->stop = end ? ReadStop::kEnd : ReadStop::kCount;
  return Status(end ? VI_SUCCESS : VI_SUCCESS_MAX_CNT);
}

Status UsbtmcTransport::Clear() {
  MOTQR_VISA_RETURN_IF_ERROR(Usable());
  if (Control(USBTMC_IOCTL_CLEAR, nullptr) != 0) return Failure(errno, "device clear");
  return Status();
}

Status UsbtmcTransport::ReadStatusByte(std::uint16_t* status_byte) {
  MOTQR_VISA_RETURN_IF_ERROR(Usable());
  std::uint8_t value = 0;
  if (Control(USBTMC488_IOCTL_READ_STB, &value) != 0) {
    return Failure(errno, "reading the status byte");
  }
  *status_byte = value;
  return Status();
}

Status UsbtmcTransport::AssertTrigger(ViUInt16 protocol) {
  MOTQR_VISA_RETURN_IF_ERROR(CheckDefaultTriggerProtocol(protocol));
  MOTQR_VISA_RETURN_IF_ERROR(Usable());
  if (Control(USBTMC488_IOCTL_TRIGGER, nullptr) != 0) return Failure(errno, "trigger");
  return Status();
}

Status UsbtmcTransport::SetAttribute(ViAttr attribute, ViAttrState value) {
  if (!fd_.valid()) return ClosedStatus();
  MOTQR_VISA_RETURN_IF_ERROR(attributes_.Set(attribute, value));
  if (attribute == VI_ATTR_TMO_VALUE) return ApplyTimeout();
  if (attribute == VI_ATTR_TERMCHAR || attribute == VI_ATTR_TERMCHAR_EN) {
    // The device stops at the character when it can; a read ending in it counts either way.
    usbtmc_termchar termchar{attributes_.termchar(),
                             static_cast<__u8>(attributes_.termchar_enabled() ? 1 : 0)};
    (void)Control(USBTMC_IOCTL_CONFIG_TERMCHAR, &termchar);
  }
  return Status();
}

Status UsbtmcTransport::GetAttribute(ViAttr attribute, ViAttrState* value) {
  if (!fd_.valid()) return ClosedStatus();
  return attributes_.Get(attribute, value);
}

}  // namespace

void SetUsbtmcSystemForTesting(std::optional<UsbtmcSystem> system) {
  std::lock_guard<std::mutex> lock(g_system_mutex);
  g_test_system = std::move(system);
}

std::vector<UsbtmcDevice> ListUsbtmcDevices() { return ListDevices(CurrentSystem()); }

Status OpenUsbtmcTransport(const ResourceName& name, std::unique_ptr<Transport>* transport) {
  const UsbtmcSystem system = CurrentSystem();
  const std::vector<UsbtmcDevice> devices = ListDevices(system);
  const auto found = std::find_if(devices.begin(), devices.end(),
                                  [&](const UsbtmcDevice& d) { return Matches(d, name); });
  if (found == devices.end()) {
    return Status(VI_ERROR_RSRC_NFOUND,
                  "No usbtmc device " + Hex4(name.vendor_id) + ":" + Hex4(name.product_id) +
                      " with serial number \"" + name.serial_number + "\" under " +
                      (fs::path(system.sysfs_root) / "class" / "usbmisc").string() + " (" +
                      std::to_string(devices.size()) +
                      " usbtmc devices present). Is the instrument connected and on, and the "
                      "usbtmc kernel module loaded?");
  }
  const std::string path = (fs::path(system.dev_root) / found->node).string();
  UniqueFd fd(system.open_device(path));
  if (!fd.valid()) {
    const int error = errno;
    std::string text = "Could not open " + path + ": " + OsErrorText(error) + ".";
    if (error == EACCES || error == EPERM) {
      text +=
          " Give your user access to usbtmc devices with a udev rule (see docs/usbtmc.md), "
          "e.g. SUBSYSTEM==\"usbmisc\", KERNEL==\"usbtmc*\", GROUP=\"plugdev\", MODE=\"0660\".";
    }
    return Status(VI_ERROR_RSRC_NFOUND, text);
  }
  auto opened = std::make_unique<UsbtmcTransport>(std::move(fd), system, name, found->node);
  MOTQR_VISA_RETURN_IF_ERROR(opened->ApplyTimeout());
  *transport = std::move(opened);
  return Status();
}

}  // namespace motqr::visa
