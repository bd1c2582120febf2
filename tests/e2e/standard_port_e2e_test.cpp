// VXI-11 as every client finds an instrument: through the portmapper on port 111. The driver,
// PyVISA with pyvisa-py and lxi-tools (liblxi) each talk to one tqr-sim --vxi11, so the
// protocol is also checked by code nobody here wrote. Parts whose client is not installed
// skip with the package to install; the whole test skips when port 111 cannot be served
// here (not root, or another portmapper holds it).
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "platform/visa/onc_rpc_client.h"
#include "platform/visa/open_transport.h"
#include "platform/visa/vxi11_transport.h"
#include "tests/e2e/sim_process.h"

namespace motqr::e2e {
namespace {

// Runs a shell command (bounded by `timeout`) and returns its standard output.
std::string Output(const std::string& command) {
  std::string output;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(("timeout 30 " + command).c_str(), "r"),
                                             ::pclose);
  if (!pipe) return output;
  std::array<char, 512> chunk{};
  while (std::fgets(chunk.data(), chunk.size(), pipe.get()) != nullptr) output += chunk.data();
  return output;
}

bool Succeeds(const std::string& command) {
  return std::system((command + " > /dev/null 2>&1").c_str()) == 0;
}

// A tqr-sim whose portmapper serves port 111; null when none could be had. Another test
// process may hold the port for a moment, so it is tried a few times.
std::unique_ptr<SimProcess> SimOnPort111() {
  for (int attempt = 0; attempt < 5; ++attempt) {
    auto sim = std::make_unique<SimProcess>(std::vector<std::string>{"--vxi11", "--noise", "0"});
    if (sim->ok() && sim->portmapper_port() == 111) return sim;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  return nullptr;
}

constexpr const char* kPyvisaScript = R"(
import pyvisa
rm = pyvisa.ResourceManager('@py')
inst = rm.open_resource('TCPIP::127.0.0.1::INSTR', timeout=5000, read_termination='\n')
print(inst.query('*IDN?'))
inst.write(':VOLT 2.5')
print(inst.query(':VOLT?'))
inst.write(':NOT:A:COMMAND')
print(inst.read_stb() & 4)
inst.write('*IDN?')
inst.clear()
print(inst.query(':SYST:ERR?'))
inst.close()
)";

TEST(StandardPortmapperE2e, TheDriverPyvisaAndLxiToolsTalkVxi11) {
  std::unique_ptr<SimProcess> sim = SimOnPort111();
  if (!sim) GTEST_SKIP() << "port 111 could not be served here (another portmapper, or not root)";

  {
    SCOPED_TRACE("driver");
    visa::SetPortmapperPortForTesting(visa::kPortmapperPort);
    visa::ResourceName name;
    ASSERT_TRUE(visa::ParseResourceName("TCPIP0::127.0.0.1::inst0::INSTR", &name).ok());
    std::unique_ptr<visa::Transport> io;
    const visa::Status opened = visa::OpenTransport(name, {}, &io);
    ASSERT_TRUE(opened.ok()) << opened.message();
    std::size_t written = 0;
    ASSERT_TRUE(io->Write(visa::AsBytes("*IDN?"), true, &written).ok());
    std::array<std::uint8_t, 128> reply{};
    visa::ReadResult result;
    ASSERT_TRUE(io->Read(reply, &result).ok());
    EXPECT_EQ(std::string(reply.begin(), reply.begin() + static_cast<long>(result.count)),
              "MORVANE,TQR-M4,M4A004217,1.04\n");
  }

  if (!Succeeds("/usr/bin/python3 -c 'import pyvisa, pyvisa_py'")) {
    std::printf("skipped: PyVISA with pyvisa-py (apt-get install python3-pyvisa-py)\n");
  } else {
    SCOPED_TRACE("pyvisa-py");
    const std::string script = ::testing::TempDir() + "motqr_pyvisa_vxi11.py";
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(script.c_str(), "w"), std::fclose);
    ASSERT_TRUE(file);
    std::fputs(kPyvisaScript, file.get());
    file.reset();
    // *IDN?, the level set and read back, the error-queue bit of the status byte, and after a
    // device clear dropped the unread *IDN? reply, the -113 of the bad command.
    EXPECT_EQ(Output("/usr/bin/python3 " + script),
              "MORVANE,TQR-M4,M4A004217,1.04\n2.5\n4\n-113,\"Undefined header\"\n");
    ::unlink(script.c_str());
  }

  if (!Succeeds("command -v lxi")) {
    std::printf("skipped: lxi-tools (apt-get install lxi-tools)\n");
  } else {
    SCOPED_TRACE("lxi-tools");
    EXPECT_EQ(Output("lxi scpi -a 127.0.0.1 '*IDN?'"), "MORVANE,TQR-M4,M4A004217,1.04\n");
    Output("lxi scpi -a 127.0.0.1 ':VOLT 3.25'");
    EXPECT_EQ(Output("lxi scpi -a 127.0.0.1 ':VOLT?'"), "3.25\n");
  }
}

}  // namespace
}  // namespace motqr::e2e
