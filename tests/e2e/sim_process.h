// SimProcess: one tqr-sim child process for a test. It starts the simulator
// with the given options on a free port, waits (bounded) for the "port N" line
// (and, with --pty, --vxi11 and --hislip, the lines naming their endpoints) and
// stops the process when destroyed.
//
//   SimProcess sim({"--stall-after", "1"});
//   ASSERT_TRUE(sim.ok()) << sim.error();
//   driver->Initialize(Bstr::FromUtf8(sim.SocketResource()).Get(), ...);
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace motqr::e2e {

// How a test reaches the simulator.
enum class Wire { kSocket, kVxi11, kHislip };

// The simulator options that serve `wire` (beside the raw socket, always served).
std::vector<std::string> WireOptions(Wire wire);
// "Socket", "Vxi11", "Hislip": for test names.
const char* WireName(Wire wire);

class SimProcess {
 public:
  explicit SimProcess(std::vector<std::string> options = {});
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool ok() const { return port_ > 0; }
  const std::string& error() const { return error_; }
  int port() const { return port_; }
  // "ASRL/dev/pts/N::INSTR" when started with --pty, else empty.
  std::string SerialResource() const;
  std::string SocketResource() const;
  // With --vxi11: the VXI-11 resource and the port of the portmapper that finds it (0: none).
  std::string Vxi11Resource() const;
  int portmapper_port() const { return portmapper_port_; }
  // With --hislip PORT: the HiSLIP resource.
  std::string HislipResource() const;
  int hislip_port() const { return hislip_port_; }
  // With --announce: the port of its mDNS answers.
  int mdns_port() const { return mdns_port_; }

 private:
  bool ReadLine(std::string* line, int timeout_ms);
  void Stop();

  pid_t pid_ = -1;
  int out_ = -1;  // the child's standard output
  int port_ = 0;
  int vxi11_port_ = 0;
  int portmapper_port_ = 0;
  bool portmapper_seen_ = false;
  int hislip_port_ = 0;
  int mdns_port_ = 0;
  std::string pty_;
  std::string pending_;
  std::string error_;
};

}  // namespace motqr::e2e
