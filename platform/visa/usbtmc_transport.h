// USB instruments through the Linux kernel's usbtmc driver
// (USB[board]::vendor::product::serial[::interface]::INSTR): the device is found under
// /sys/class/usbmisc/usbtmc* by its vendor id, product id, serial number (and interface
// number), then read and written as /dev/usbtmcN. The time-out, device clear, status byte
// and trigger are the driver's ioctls; a read shorter than asked ends at END.
//
// Opening needs read and write permission on /dev/usbtmcN; a udev rule gives it
// (docs/usbtmc.md), and the failure text says so.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/visa/resource_name.h"
#include "platform/visa/transport.h"

namespace motqr::visa {

// Where the usbtmc devices are looked up and how they are opened and controlled; tests give a
// tree and a device of their own.
struct UsbtmcSystem {
  std::string sysfs_root = "/sys";
  std::string dev_root = "/dev";
  // Opens a device node for reading and writing; a descriptor, or -1 with errno set.
  std::function<int(const std::string& path)> open_device;
  // The ioctl of the device: 0 or -1 with errno set.
  std::function<int(int fd, unsigned long request, void* argument)> control;
};

// Replaces the system the transport uses (the real one again when `system` is empty).
void SetUsbtmcSystemForTesting(std::optional<UsbtmcSystem> system);

struct UsbtmcDevice {
  std::string node;      // "usbtmc0"
  std::string resource;  // "USB0::0x1234::0x5678::SN1::0::INSTR"
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
  std::string serial_number;
  std::uint16_t interface_number = 0;
};

// The usbtmc devices present, in node order.
std::vector<UsbtmcDevice> ListUsbtmcDevices();

Status OpenUsbtmcTransport(const ResourceName& name, std::unique_ptr<Transport>* transport);

}  // namespace motqr::visa
