#include "platform/visa/discovery.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <future>
#include <set>

#include "platform/visa/deadline.h"
#include "platform/visa/open_transport.h"
#include "platform/visa/unique_fd.h"
#include "platform/visa/usbtmc_transport.h"
#include "platform/visa/vxi11_transport.h"

namespace motqr::visa {
namespace {

constexpr std::uint32_t kPortmapProgram = 100000;
constexpr std::uint32_t kPortmapVersion = 2;
constexpr std::uint32_t kGetPort = 3;
constexpr std::uint32_t kVxi11Core = 0x0607AF;
constexpr std::uint32_t kTcp = 6;
constexpr std::uint32_t kXid = 0x6D717266;  // "mqrf"
// Share of the time bound spent listening for broadcast answers; the rest asks "*IDN?".
constexpr ViUInt32 kListenShareDivisor = 2;
constexpr std::size_t kIdentityLimit = 256;

void PutU32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<char>((value >> shift) & 0xFFu));
  }
}

std::uint32_t GetU32(const std::uint8_t* bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
         (std::uint32_t{bytes[2]} << 8) | bytes[3];
}

// A portmapper GETPORT call for the VXI-11 core channel over TCP, as one datagram.
std::string GetPortCall() {
  std::string call;
  for (std::uint32_t word :
       {kXid, 0u /* call */, 2u /* RPC version */, kPortmapProgram, kPortmapVersion, kGetPort, 0u,
        0u, 0u, 0u /* no credentials */, kVxi11Core, 1u, kTcp, 0u}) {
    PutU32(call, word);
  }
  return call;
}

// The port of an accepted GETPORT reply, 0 for anything else.
std::uint32_t ReplyPort(const std::uint8_t* reply, std::size_t size) {
  // xid, REPLY, MSG_ACCEPTED, verifier flavor and length, SUCCESS, port
  if (size < 28 || GetU32(reply) != kXid || GetU32(reply + 4) != 1 || GetU32(reply + 8) != 0) {
    return 0;
  }
  const std::uint32_t verifier_length = GetU32(reply + 16);
  if (verifier_length > 400 || size < 28 + ((verifier_length + 3) & ~3u)) return 0;
  const std::uint8_t* rest = reply + 20 + ((verifier_length + 3) & ~3u);
  if (GetU32(rest) != 0) return 0;
  return GetU32(rest + 4);
}

// Where the query goes: every IPv4 broadcast address, and this computer.
std::vector<sockaddr_in> QueryTargets(std::uint16_t port, bool loopback_only) {
  std::vector<sockaddr_in> targets;
  sockaddr_in self{};
  self.sin_family = AF_INET;
  self.sin_port = htons(port);
  self.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  targets.push_back(self);
  if (loopback_only) return targets;
  ifaddrs* interfaces = nullptr;
  if (::getifaddrs(&interfaces) != 0) return targets;
  for (const ifaddrs* i = interfaces; i != nullptr; i = i->ifa_next) {
    if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET) continue;
    if ((i->ifa_flags & IFF_UP) == 0 || (i->ifa_flags & IFF_BROADCAST) == 0) continue;
    if (i->ifa_broadaddr == nullptr) continue;
    sockaddr_in target{};
    std::memcpy(&target, i->ifa_broadaddr, sizeof target);
    target.sin_port = htons(port);
    targets.push_back(target);
  }
  ::freeifaddrs(interfaces);
  return targets;
}

// Hosts answering the VXI-11 portmapper query before the deadline.
std::vector<std::string> Vxi11Hosts(const Deadline& deadline, bool loopback_only) {
  std::vector<std::string> hosts;
  UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!fd.valid()) return hosts;
  const int on = 1;
  ::setsockopt(fd.get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  const std::string call = GetPortCall();
  for (const sockaddr_in& target : QueryTargets(PortmapperPort(), loopback_only)) {
    ::sendto(fd.get(), call.data(), call.size(), 0, reinterpret_cast<const sockaddr*>(&target),
             sizeof target);
  }
  std::set<std::string> seen;
  while (true) {
    pollfd entry{fd.get(), POLLIN, 0};
    const int ready = ::poll(&entry, 1, deadline.RemainingMs());
    if (ready <= 0) break;
    std::array<std::uint8_t, 512> reply{};
    sockaddr_in from{};
    socklen_t from_length = sizeof from;
    const ssize_t n = ::recvfrom(fd.get(), reply.data(), reply.size(), 0,
                                 reinterpret_cast<sockaddr*>(&from), &from_length);
    if (n <= 0 || ReplyPort(reply.data(), static_cast<std::size_t>(n)) == 0) continue;
    std::array<char, INET_ADDRSTRLEN> text{};
    if (::inet_ntop(AF_INET, &from.sin_addr, text.data(), text.size()) == nullptr) continue;
    if (seen.insert(text.data()).second) hosts.emplace_back(text.data());
  }
  return hosts;
}

std::vector<std::string> SerialAdapters() {
  std::vector<std::string> paths;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/dev", error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0) {
      paths.push_back(entry.path().string());
    }
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

// The "*IDN?" answer of `resource` within `timeout_ms`; empty when none came.
std::string Identify(const std::string& resource, ViUInt32 timeout_ms) {
  ResourceName name;
  std::unique_ptr<Transport> transport;
  if (!ParseResourceName(resource, &name).ok() ||
      !OpenTransport(name, {.open_timeout_ms = timeout_ms}, &transport).ok()) {
    return {};
  }
  (void)transport->SetTimeout(timeout_ms);
  if (name.interface_type == InterfaceType::kAsrl) {
    (void)transport->SetTerminationCharacterEnabled(true);
  }
  std::size_t written = 0;
  if (!transport->Write(AsBytes("*IDN?\n"), true, &written).ok()) return {};
  std::array<std::uint8_t, kIdentityLimit> reply{};
  ReadResult result;
  if (!transport->Read(reply, &result).ok()) return {};
  std::string identity(reply.begin(), reply.begin() + static_cast<long>(result.count));
  while (!identity.empty() && (identity.back() == '\n' || identity.back() == '\r')) {
    identity.pop_back();
  }
  (void)transport->Close();
  return identity;
}

}  // namespace

std::vector<DiscoveredResource> DiscoverResources(const DiscoveryOptions& options) {
  const Deadline deadline(options.timeout_ms);
  std::vector<DiscoveredResource> found;
  if (options.usb) {
    for (const UsbtmcDevice& device : ListUsbtmcDevices()) {
      found.push_back({device.resource, {}, "usbtmc"});
    }
  }
  if (options.serial) {
    for (const std::string& path : SerialAdapters()) {
      found.push_back({"ASRL" + path + "::INSTR", {}, "serial"});
    }
  }
  if (options.lan) {
    const Deadline listening(options.timeout_ms / kListenShareDivisor);
    for (const std::string& host : Vxi11Hosts(listening, options.loopback_only)) {
      found.push_back({"TCPIP::" + host + "::inst0::INSTR", {}, "vxi11"});
    }
  }
  std::sort(found.begin(), found.end(),
            [](const auto& a, const auto& b) { return a.resource < b.resource; });
  found.erase(std::unique(found.begin(), found.end(),
                          [](const auto& a, const auto& b) { return a.resource == b.resource; }),
              found.end());
  // Every instrument is asked in parallel, with what is left of the time bound.
  const ViUInt32 left = static_cast<ViUInt32>(std::max(deadline.RemainingMs(), 1));
  std::vector<std::future<std::string>> answers;
  for (const DiscoveredResource& resource : found) {
    answers.push_back(std::async(std::launch::async, Identify, resource.resource, left));
  }
  for (std::size_t i = 0; i < found.size(); ++i) found[i].identity = answers[i].get();
  return found;
}

}  // namespace motqr::visa
