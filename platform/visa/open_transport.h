// Opens the transport that serves a resource name, chosen from a table by interface type and
// resource class: TCPIP SOCKET, TCPIP INSTR (VXI-11 and HiSLIP), ASRL INSTR and USB INSTR
// (the kernel's usbtmc driver) are built in;
// every other resource goes to the system VISA library, and so does every resource when the
// options prefer that library.
//
//   motqr::visa::ResourceName name;
//   std::unique_ptr<motqr::visa::Transport> transport;
//   motqr::visa::Status status = motqr::visa::ParseResourceName(text, &name);
//   if (status.ok()) status = motqr::visa::OpenTransport(name, {}, &transport);
#pragma once

#include <memory>

#include "platform/visa/resource_name.h"
#include "platform/visa/transport.h"

namespace motqr::visa {

struct OpenOptions {
  ViUInt32 open_timeout_ms = 2000;   // connect time-out of a socket, viOpen time-out
  bool prefer_visa_library = false;  // the system VISA library serves the built-in kinds too
};

enum class Backend : std::uint8_t { kTcpSocket, kVxi11, kHislip, kSerial, kUsbtmc, kVisaLibrary };

// The backend that serves `name`.
Backend BackendFor(const ResourceName& name, const OpenOptions& options = {});

Status OpenTransport(const ResourceName& name, const OpenOptions& options,
                     std::unique_ptr<Transport>* transport);

// While alive, sessions opened on this thread (by OpenVisaSession) set
// OpenOptions::prefer_visa_library to `prefer`.
class ScopedVisaLibraryPreference {
 public:
  explicit ScopedVisaLibraryPreference(bool prefer);
  ~ScopedVisaLibraryPreference();
  ScopedVisaLibraryPreference(const ScopedVisaLibraryPreference&) = delete;
  ScopedVisaLibraryPreference& operator=(const ScopedVisaLibraryPreference&) = delete;

 private:
  bool previous_;
};
// The preference of the thread's innermost ScopedVisaLibraryPreference; false without one.
bool ThreadPrefersVisaLibrary();

}  // namespace motqr::visa
