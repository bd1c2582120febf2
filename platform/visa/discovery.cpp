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
#include <map>
#include <span>

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

std::string SenderText(const sockaddr_in& from) {
  std::array<char, INET_ADDRSTRLEN> text{};
  if (::inet_ntop(AF_INET, &from.sin_addr, text.data(), text.size()) == nullptr) return {};
  return text.data();
}

constexpr std::uint16_t kMdnsPort = 5353;
constexpr std::uint16_t kTypeA = 1;
constexpr std::uint16_t kTypePtr = 12;
constexpr std::uint16_t kTypeSrv = 33;
constexpr std::uint16_t kQuestionUnicast = 0x8001;  // class IN, unicast answer wanted
constexpr const char* kServiceTypes[] = {"_scpi-raw._tcp", "_hislip._tcp", "_vxi-11._tcp",
                                         "_lxi._tcp"};

// One query for the PTR records of every service type.
std::string MdnsQuery() {
  std::string query(4, '\0');  // id 0, flags 0
  const std::uint16_t counts[] = {std::size(kServiceTypes), 0, 0, 0};
  for (std::uint16_t count : counts) {
    query.push_back(static_cast<char>(count >> 8));
    query.push_back(static_cast<char>(count & 0xFF));
  }
  for (std::string_view type : kServiceTypes) {
    for (std::string_view label : {type.substr(0, type.find('.')), type.substr(type.find('.') + 1),
                                   std::string_view("local")}) {
      query.push_back(static_cast<char>(label.size()));
      query.append(label);
    }
    query.push_back('\0');
    for (std::uint16_t word : {kTypePtr, kQuestionUnicast}) {
      query.push_back(static_cast<char>(word >> 8));
      query.push_back(static_cast<char>(word & 0xFF));
    }
  }
  return query;
}

// Reads a possibly compressed name at *pos as dotted lower-case text.
bool ReadDnsName(std::span<const std::uint8_t> message, std::size_t* pos, std::string* name) {
  name->clear();
  std::size_t at = *pos;
  bool jumped = false;
  for (int steps = 0; steps < 128; ++steps) {
    if (at >= message.size()) return false;
    const std::uint8_t length = message[at];
    if ((length & 0xC0) == 0xC0) {
      if (at + 1 >= message.size()) return false;
      if (!jumped) *pos = at + 2;
      jumped = true;
      at = (static_cast<std::size_t>(length & 0x3F) << 8) | message[at + 1];
      continue;
    }
    if (length == 0) {
      if (!jumped) *pos = at + 1;
      return true;
    }
    if (length > 63 || at + 1 + length > message.size()) return false;
    if (!name->empty()) name->push_back('.');
    for (std::size_t i = 0; i < length; ++i) {
      const char c = static_cast<char>(message[at + 1 + i]);
      name->push_back((c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c);
    }
    at += 1 + length;
  }
  return false;
}

struct MdnsRecords {
  std::map<std::string, std::pair<std::uint16_t, std::string>> services;  // instance: port, host
  std::map<std::string, std::string> addresses;                           // host: IPv4
  std::map<std::string, std::string> responders;                          // instance: sender
};

void ReadMdnsResponse(std::span<const std::uint8_t> message, const std::string& sender,
                      MdnsRecords* records) {
  if (message.size() < 12 || (message[2] & 0x80) == 0) return;
  auto u16 = [&](std::size_t at) {
    return static_cast<std::uint16_t>((message[at] << 8) | message[at + 1]);
  };
  const std::size_t questions = u16(4);
  const std::size_t count = std::size_t{u16(6)} + u16(8) + u16(10);
  std::size_t pos = 12;
  std::string name;
  for (std::size_t i = 0; i < questions; ++i) {
    if (!ReadDnsName(message, &pos, &name) || pos + 4 > message.size()) return;
    pos += 4;
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (!ReadDnsName(message, &pos, &name) || pos + 10 > message.size()) return;
    const std::uint16_t type = u16(pos);
    const std::size_t length = u16(pos + 8);
    pos += 10;
    if (pos + length > message.size()) return;
    if (type == kTypeSrv && length >= 7) {
      std::size_t target_pos = pos + 6;
      std::string target;
      if (ReadDnsName(message, &target_pos, &target)) {
        records->services[name] = {u16(pos + 4), target};
        records->responders[name] = sender;
      }
    } else if (type == kTypeA && length == 4) {
      records->addresses[name] =
          std::to_string(message[pos]) + "." + std::to_string(message[pos + 1]) + "." +
          std::to_string(message[pos + 2]) + "." + std::to_string(message[pos + 3]);
    }
    pos += length;
  }
}

// The resource names of the announced instruments (the web pages of _lxi._tcp are not one).
std::vector<std::string> MdnsResources(const MdnsRecords& records) {
  std::vector<std::string> resources;
  for (const auto& [instance, service] : records.services) {
    const auto& [port, host] = service;
    const auto address = records.addresses.find(host);
    const std::string ip =
        address != records.addresses.end() ? address->second : records.responders.at(instance);
    auto is = [&](std::string_view type) {
      const std::string suffix = "." + std::string(type) + ".local";
      return instance.size() > suffix.size() &&
             instance.compare(instance.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    if (is("_scpi-raw._tcp")) {
      resources.push_back("TCPIP::" + ip + "::" + std::to_string(port) + "::SOCKET");
    } else if (is("_hislip._tcp")) {
      resources.push_back("TCPIP::" + ip + "::hislip0" +
                          (port == kHislipDefaultPort ? "" : "," + std::to_string(port)) +
                          "::INSTR");
    } else if (is("_vxi-11._tcp")) {
      resources.push_back("TCPIP::" + ip + "::inst0::INSTR");
    }
  }
  return resources;
}

// Resources found on the network before the deadline: hosts answering the VXI-11 portmapper
// query, and instruments announced over mDNS.
std::vector<DiscoveredResource> LanResources(const Deadline& deadline,
                                             const DiscoveryOptions& options) {
  std::vector<DiscoveredResource> found;
  UniqueFd portmap(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  UniqueFd mdns(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!portmap.valid() || !mdns.valid()) return found;
  const int on = 1;
  ::setsockopt(portmap.get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  const std::string call = GetPortCall();
  for (const sockaddr_in& target : QueryTargets(PortmapperPort(), options.loopback_only)) {
    ::sendto(portmap.get(), call.data(), call.size(), 0, reinterpret_cast<const sockaddr*>(&target),
             sizeof target);
  }
  const std::string query = MdnsQuery();
  std::vector<sockaddr_in> mdns_targets = QueryTargets(options.mdns_port, true);
  if (!options.loopback_only) {
    sockaddr_in group{};
    group.sin_family = AF_INET;
    group.sin_port = htons(kMdnsPort);
    group.sin_addr.s_addr = htonl(0xE00000FBu);  // 224.0.0.251
    mdns_targets.push_back(group);
  }
  for (const sockaddr_in& target : mdns_targets) {
    ::sendto(mdns.get(), query.data(), query.size(), 0, reinterpret_cast<const sockaddr*>(&target),
             sizeof target);
  }
  MdnsRecords records;
  while (true) {
    std::array<pollfd, 2> entries{pollfd{portmap.get(), POLLIN, 0}, pollfd{mdns.get(), POLLIN, 0}};
    if (::poll(entries.data(), entries.size(), deadline.RemainingMs()) <= 0) break;
    for (const pollfd& entry : entries) {
      if ((entry.revents & POLLIN) == 0) continue;
      std::array<std::uint8_t, 9000> reply{};
      sockaddr_in from{};
      socklen_t from_length = sizeof from;
      const ssize_t n = ::recvfrom(entry.fd, reply.data(), reply.size(), 0,
                                   reinterpret_cast<sockaddr*>(&from), &from_length);
      if (n <= 0) continue;
      const auto size = static_cast<std::size_t>(n);
      if (entry.fd == portmap.get()) {
        if (ReplyPort(reply.data(), size) != 0) {
          found.push_back({"TCPIP::" + SenderText(from) + "::inst0::INSTR", {}, "vxi11"});
        }
      } else {
        ReadMdnsResponse(std::span<const std::uint8_t>(reply.data(), size), SenderText(from),
                         &records);
      }
    }
  }
  for (std::string& resource : MdnsResources(records)) {
    found.push_back({std::move(resource), {}, "mdns"});
  }
  return found;
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
  // Serial lines and raw sockets have no END: the reply ends at its line feed.
  if (name.interface_type == InterfaceType::kAsrl ||
      name.resource_class == ResourceClass::kSocket) {
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
    for (DiscoveredResource& resource : LanResources(listening, options)) {
      found.push_back(std::move(resource));
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
