// tqr-sim as a separate process: the port line, real sockets, a pseudo-terminal, and the
// fault options.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Reads from `fd` until `count` bytes arrived or, when `line` is set, a line feed (not kept);
// false on time-out, end of file or error.
bool ReadFor(int fd, std::string& out, std::size_t count, bool line, int timeout_ms) {
  out.clear();
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (out.size() < count) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd p{fd, POLLIN, 0};
    char c = 0;
    if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0 || read(fd, &c, 1) != 1) {
      return false;
    }
    if (line && c == '\n') return true;
    out.push_back(c);
  }
  return true;
}

bool ReadLine(int fd, std::string& line, int timeout_ms) {
  return ReadFor(fd, line, std::string::npos, true, timeout_ms);
}

// A running tqr-sim, stopped and reaped on destruction.
class SimProcess {
 public:
  explicit SimProcess(std::vector<std::string> args) {
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      close(out[1]);
      std::vector<char*> argv;
      std::string exe = TQR_SIM_EXE;
      argv.push_back(exe.data());
      for (std::string& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      execv(exe.c_str(), argv.data());
      _exit(127);
    }
    close(out[1]);
    stdout_ = out[0];
  }
  ~SimProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status = 0;
      waitpid(pid_, &status, 0);
    }
    if (stdout_ >= 0) close(stdout_);
  }
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // The value of the next "<key> <value>" line of the simulator's output.
  std::string Announced(const std::string& key) {
    std::string line;
    if (!ReadLine(stdout_, line, 1500) || line.rfind(key + " ", 0) != 0) return {};
    return line.substr(key.size() + 1);
  }

 private:
  pid_t pid_ = -1;
  int stdout_ = -1;
};

class Socket {
 public:
  explicit Socket(int port) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~Socket() { close(fd_); }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  bool connected() const { return connected_; }
  int fd() const { return fd_; }
  void Send(const std::string& text) {
    ASSERT_EQ(write(fd_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  std::string Query(const std::string& text, int timeout_ms = 1000) {
    Send(text + "\n");
    std::string line;
    return ReadLine(fd_, line, timeout_ms) ? line : "<no reply>";
  }
  // True when the peer closes the connection within `timeout_ms`.
  bool ClosedWithin(int timeout_ms) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0) return false;
    char c;
    return recv(fd_, &c, 1, 0) == 0;
  }

 private:
  int fd_ = -1;
  bool connected_ = false;
};

int StartedPort(SimProcess& sim) {
  std::string port = sim.Announced("port");
  return port.empty() ? -1 : std::stoi(port);
}

TEST(SimEndToEnd, ServesSequentialConnectionsOnAFreePort) {
  SimProcess sim({"--port", "0", "--noise", "0", "--model", "TQR-M2"});
  int port = StartedPort(sim);
  ASSERT_GT(port, 0);
  {
    Socket first(port);
    ASSERT_TRUE(first.connected());
    EXPECT_EQ(first.Query("*IDN?"), "MORVANE,TQR-M2,M2A004217,1.04");
    EXPECT_EQ(first.Query(":VOLT 5;:CURR 1;:SIM:LOAD 2;:OUTP 1;:MEAS:VOLT?;CURR?"), "2;1");
    std::string words("\x60\xE3\x16\x00\x70\x2F\x0A\x00", 8);  // second word holds a newline
    first.Send(":VOLT:IV:DATA #18" + words + "\n");
    first.Send(":VOLT:IV:DATA?\n");
    std::string block;
    ASSERT_TRUE(ReadFor(first.fd(), block, 12, false, 1000));
    EXPECT_EQ(block, "#18" + words + "\n");
  }
  Socket second(port);
  ASSERT_TRUE(second.connected());
  EXPECT_EQ(second.Query(":VOLT?;:SYST:ERR?"), "5;0,\"No error\"");
}

// Larger memories for bulk benchmarks: a map block over the default message size
// is taken whole, and the logger keeps more than its default number of values.
TEST(SimEndToEnd, MemoryOptionsRaiseTheMapAndLoggerLimits) {
  SimProcess sim({"--port", "0", "--iv-max-points", "150000", "--log-capacity", "20000"});
  int port = StartedPort(sim);
  ASSERT_GT(port, 0);
  Socket client(port);
  const std::string data(150000 * 8, '\0');
  client.Send(":VOLT:IV:DATA #7" + std::to_string(data.size()) + data + "\n");
  EXPECT_EQ(client.Query(":VOLT:IV:COUN?;:SYST:ERR?", 5000), "150000;0,\"No error\"");
  EXPECT_EQ(client.Query(":VOLT:IV:COUN 150001;:SYST:ERR?"), "-222,\"Data out of range\"");
  EXPECT_EQ(client.Query(":DATA:INT:GATE MAN;:DATA:INT:STAR;:SIM:TIME:ADV 15000;:DATA:REM:POIN?"),
            "15000");
}

TEST(SimEndToEnd, DropsTheConnectionAfterNMessages) {
  SimProcess sim({"--port", "0", "--drop-after", "2"});
  int port = StartedPort(sim);
  ASSERT_GT(port, 0);
  Socket client(port);
  EXPECT_EQ(client.Query("*OPC?"), "1");
  EXPECT_EQ(client.Query("*OPC?"), "1");
  EXPECT_TRUE(client.ClosedWithin(1000));
  Socket again(port);  // a new connection is served afresh
  EXPECT_EQ(again.Query("*OPC?"), "1");
}

TEST(SimEndToEnd, StallsButKeepsTheConnection) {
  SimProcess sim({"--port", "0", "--stall-after", "1"});
  int port = StartedPort(sim);
  ASSERT_GT(port, 0);
  Socket client(port);
  EXPECT_EQ(client.Query("*OPC?"), "1");
  EXPECT_EQ(client.Query("*OPC?", 300), "<no reply>");
  EXPECT_FALSE(client.ClosedWithin(100));
}

TEST(SimEndToEnd, GarbageAndDelayedReplies) {
  SimProcess garbage({"--port", "0", "--garbage"});
  int port = StartedPort(garbage);
  ASSERT_GT(port, 0);
  Socket client(port);
  std::string reply = client.Query("*IDN?");
  EXPECT_NE(reply, "<no reply>");
  EXPECT_EQ(reply.find("MORVANE"), std::string::npos);

  SimProcess slow({"--port", "0", "--delay-ms", "200"});
  int slow_port = StartedPort(slow);
  ASSERT_GT(slow_port, 0);
  Socket patient(slow_port);
  auto start = Clock::now();
  EXPECT_EQ(patient.Query("*OPC?"), "1");
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(180));
  patient.Send("*IDN?\n*OPC?\n");  // the second message interrupts the first reply
  std::string line;
  EXPECT_TRUE(ReadLine(patient.fd(), line, 1000));
  EXPECT_EQ(line, "1");
  EXPECT_EQ(patient.Query(":SYST:ERR?"), "-410,\"Query INTERRUPTED\"");
}

TEST(SimEndToEnd, AnswersOnAPseudoTerminal) {
  SimProcess sim({"--port", "0", "--pty"});
  ASSERT_GT(StartedPort(sim), 0);
  std::string path = sim.Announced("pty");
  ASSERT_FALSE(path.empty());
  int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  termios settings{};
  tcgetattr(fd, &settings);
  cfmakeraw(&settings);
  tcsetattr(fd, TCSANOW, &settings);
  std::string command = "*IDN?\n";
  ASSERT_EQ(write(fd, command.data(), command.size()), 6);
  std::string line;
  EXPECT_TRUE(ReadLine(fd, line, 1000));
  EXPECT_EQ(line.rfind("MORVANE,TQR-M4,", 0), 0u);
  close(fd);
}

// A HiSLIP message: "HS", type, control code, parameter, 64-bit payload length, payload.
std::string Hislip(int type, int control, std::uint32_t parameter, const std::string& payload) {
  std::string out = "HS";
  out.push_back(static_cast<char>(type));
  out.push_back(static_cast<char>(control));
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(parameter >> shift));
  for (int shift = 56; shift >= 0; shift -= 8) {
    out.push_back(static_cast<char>(static_cast<std::uint64_t>(payload.size()) >> shift));
  }
  return out + payload;
}

// The next message on `socket` (header and payload), or empty on time-out.
std::string NextHislip(Socket& socket) {
  std::string header;
  if (!ReadFor(socket.fd(), header, 16, false, 1500)) return {};
  std::size_t length = 0;
  for (std::size_t i = 8; i < 16; ++i)
    length = (length << 8) | static_cast<unsigned char>(header[i]);
  std::string payload;
  if (length > 0 && !ReadFor(socket.fd(), payload, length, false, 1500)) return {};
  return header + payload;
}

TEST(SimEndToEnd, HislipSessionWrittenOutByHand) {
  SimProcess sim({"--port", "0", "--noise", "0", "--hislip", "0"});
  ASSERT_GT(StartedPort(sim), 0);
  const std::string hislip = sim.Announced("hislip");
  ASSERT_FALSE(hislip.empty());
  const int port = std::stoi(hislip);

  Socket sync(port);
  ASSERT_TRUE(sync.connected());
  sync.Send(Hislip(0, 0, 0x01005859, "hislip0"));  // Initialize: version 1.0, vendor "XY"
  EXPECT_EQ(NextHislip(sync), Hislip(1, 0, 0x01000001, ""));  // synchronized, session 1
  Socket async(port);
  ASSERT_TRUE(async.connected());
  async.Send(Hislip(17, 0, 1, ""));                             // AsyncInitialize, session 1
  EXPECT_EQ(NextHislip(async), Hislip(18, 0, 0x00005453, ""));  // vendor "TS"

  sync.Send(Hislip(7, 0, 0xFFFFFF00, "*IDN?"));  // DataEnd: END makes the message
  EXPECT_EQ(NextHislip(sync), Hislip(7, 0, 0xFFFFFF00, "MORVANE,TQR-M4,M4A004217,1.04\n"));
  async.Send(Hislip(21, 0, 0xFFFFFF00, ""));  // status query, reply not yet delivered: MAV
  EXPECT_EQ(NextHislip(async), Hislip(22, 0x10, 0, ""));
  async.Send(Hislip(21, 1, 0xFFFFFF00, ""));  // delivered
  EXPECT_EQ(NextHislip(async), Hislip(22, 0, 0, ""));

  sync.Send(Hislip(99, 0, 0, ""));
  const std::string error = NextHislip(sync);
  ASSERT_GE(error.size(), 16u);
  EXPECT_EQ(error.substr(0, 4), Hislip(3, 1, 0, "").substr(0, 4));  // unrecognized type

  Socket stranger(port);
  ASSERT_TRUE(stranger.connected());
  stranger.Send(std::string(16, 'x'));
  const std::string fatal = NextHislip(stranger);
  ASSERT_GE(fatal.size(), 16u);
  EXPECT_EQ(fatal.substr(0, 4), Hislip(2, 1, 0, "").substr(0, 4));  // poorly formed header
  EXPECT_TRUE(stranger.ClosedWithin(1000));
}

// XDR words, big-endian.
std::string Words(std::initializer_list<std::uint32_t> words) {
  std::string out;
  for (std::uint32_t word : words) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(word >> shift));
  }
  return out;
}

// One VXI-11 core channel call (record mark, RPC call header with no credentials, arguments)
// and the bytes of its reply (record mark taken off).
std::string Vxi11Call(Socket& socket, std::uint32_t xid, std::uint32_t procedure,
                      const std::string& arguments) {
  const std::string call = Words({xid, 0, 2, 0x0607AF, 1, procedure, 0, 0, 0, 0}) + arguments;
  socket.Send(Words({0x80000000u | static_cast<std::uint32_t>(call.size())}) + call);
  std::string mark;
  if (!ReadFor(socket.fd(), mark, 4, false, 1500)) return {};
  std::size_t length = 0;
  for (std::size_t i = 1; i < 4; ++i) length = (length << 8) | static_cast<unsigned char>(mark[i]);
  std::string reply;
  if (!ReadFor(socket.fd(), reply, length, false, 1500)) return {};
  return reply;
}

TEST(SimEndToEnd, Vxi11LinkWrittenOutByHand) {
  SimProcess sim({"--port", "0", "--noise", "0", "--vxi11", "--portmapper-port", "0"});
  ASSERT_GT(StartedPort(sim), 0);
  const std::string core = sim.Announced("vxi11");
  ASSERT_FALSE(core.empty());
  Socket link(std::stoi(core));
  ASSERT_TRUE(link.connected());
  const std::string accepted = Words({1, 0, 0, 0, 0});  // REPLY, accepted, AUTH_NULL, SUCCESS

  // create_link(client 7, no lock, lock time-out 0, "inst0"): error 0, link 1, abort port,
  // maximum receive size 64 KiB.
  std::string reply = Vxi11Call(link, 11, 10, Words({7, 0, 0, 5}) + "inst0" + std::string(3, '\0'));
  ASSERT_EQ(reply.size(), 40u);
  EXPECT_EQ(reply.substr(0, 32), Words({11}) + accepted + Words({0, 1}));
  EXPECT_EQ(reply.substr(36), Words({0x10000}));

  // device_write(link 1, io 1000 ms, lock 0, END, "*IDN?"): error 0, 5 bytes taken.
  EXPECT_EQ(Vxi11Call(link, 12, 11, Words({1, 1000, 0, 8, 5}) + "*IDN?" + std::string(3, '\0')),
            Words({12}) + accepted + Words({0, 5}));
  // device_read of 8 bytes: the request count ends it; then the rest with END.
  EXPECT_EQ(Vxi11Call(link, 13, 12, Words({1, 8, 1000, 0, 0, 0})),
            Words({13}) + accepted + Words({0, 1, 8}) + "MORVANE,");
  EXPECT_EQ(Vxi11Call(link, 14, 12, Words({1, 100, 1000, 0, 0, 0})),
            Words({14}) + accepted + Words({0, 4, 22}) + "TQR-M4,M4A004217,1.04\n" +
                std::string(2, '\0'));
  // Nothing more to read: the I/O time-out error (15) after the 100 ms asked for.
  EXPECT_EQ(Vxi11Call(link, 15, 12, Words({1, 100, 100, 0, 0, 0})),
            Words({15}) + accepted + Words({15, 0, 0}));
  // An unknown link is refused (error 4); destroy_link ends ours.
  EXPECT_EQ(Vxi11Call(link, 16, 23, Words({9})), Words({16}) + accepted + Words({4}));
  EXPECT_EQ(Vxi11Call(link, 17, 23, Words({1})), Words({17}) + accepted + Words({0}));
}

}  // namespace
