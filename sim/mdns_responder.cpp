#include "sim/mdns_responder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace tqrsim {
namespace {

constexpr std::uint16_t kTypeA = 1;
constexpr std::uint16_t kTypePtr = 12;
constexpr std::uint16_t kTypeTxt = 16;
constexpr std::uint16_t kTypeSrv = 33;
constexpr std::uint16_t kTypeAny = 255;
constexpr std::uint16_t kClassIn = 1;
constexpr std::uint16_t kCacheFlush = 0x8000;
constexpr std::uint32_t kTtlSeconds = 120;
constexpr const char* kHost = "tqr-sim.local";

void Put16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value >> 8));
  out.push_back(static_cast<char>(value & 0xFF));
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, static_cast<std::uint16_t>(value >> 16));
  Put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
}

// A name as labels, without compression ("a.b" -> 1 'a' 1 'b' 0). The instance label may hold
// dots and blanks, so it is given on its own.
std::string Name(const std::string& first_label, const std::string& rest) {
  std::string out;
  auto label = [&](std::string_view text) {
    out.push_back(static_cast<char>(text.size()));
    out.append(text);
  };
  if (!first_label.empty()) label(first_label);
  std::size_t start = 0;
  while (start < rest.size()) {
    std::size_t dot = rest.find('.', start);
    if (dot == std::string::npos) dot = rest.size();
    label(std::string_view(rest).substr(start, dot - start));
    start = dot + 1;
  }
  out.push_back('\0');
  return out;
}

void Record(std::string& out, int* count, const std::string& name, std::uint16_t type,
            std::uint16_t klass, const std::string& data) {
  out += name;
  Put16(out, type);
  Put16(out, klass);
  Put32(out, kTtlSeconds);
  Put16(out, static_cast<std::uint16_t>(data.size()));
  out += data;
  ++*count;
}

// Reads a question name (no compression in questions of the queries answered here) as
// dotted text, lower case; false when malformed.
bool ReadName(std::string_view message, std::size_t* pos, std::string* name) {
  name->clear();
  for (int labels = 0; labels < 64; ++labels) {
    if (*pos >= message.size()) return false;
    const auto length = static_cast<unsigned char>(message[*pos]);
    ++*pos;
    if (length == 0) return true;
    if (length > 63 || *pos + length > message.size()) return false;
    if (!name->empty()) name->push_back('.');
    for (std::size_t i = 0; i < length; ++i) {
      char c = message[*pos + i];
      name->push_back((c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c);
    }
    *pos += length;
  }
  return false;
}

}  // namespace

MdnsResponder::MdnsResponder(std::string instance, std::vector<AnnouncedService> services)
    : instance_(std::move(instance)), services_(std::move(services)) {}

std::string MdnsResponder::Listen(int port) {
  UniqueFd fd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!fd) return std::string("socket: ") + std::strerror(errno);
  int yes = 1;
  setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  setsockopt(fd.get(), SOL_SOCKET, SO_REUSEPORT, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    return std::string("bind: ") + std::strerror(errno);
  }
  socklen_t length = sizeof address;
  getsockname(fd.get(), reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  socket_ = std::move(fd);
  return {};
}

void MdnsResponder::CollectPollFds(std::vector<pollfd>& fds) {
  fds.push_back({socket_.get(), static_cast<short>(socket_ ? POLLIN : 0), 0});
}

void MdnsResponder::Dispatch(std::span<const pollfd> fds) {
  if ((fds[0].revents & POLLIN) == 0) return;
  for (;;) {
    std::array<char, 1500> buffer{};
    sockaddr_in from{};
    socklen_t from_length = sizeof from;
    const ssize_t n = recvfrom(socket_.get(), buffer.data(), buffer.size(), 0,
                               reinterpret_cast<sockaddr*>(&from), &from_length);
    if (n < 0) return;
    const std::string reply = Answer(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
    if (reply.empty()) continue;
    sendto(socket_.get(), reply.data(), reply.size(), 0, reinterpret_cast<const sockaddr*>(&from),
           from_length);
  }
}

std::string MdnsResponder::Answer(std::string_view query) const {
  if (query.size() < 12) return {};
  const auto flags = static_cast<std::uint16_t>((static_cast<unsigned char>(query[2]) << 8) |
                                                static_cast<unsigned char>(query[3]));
  if ((flags & 0x8000) != 0) return {};  // a response, not a query
  const unsigned questions = (unsigned{static_cast<unsigned char>(query[4])} << 8) |
                             unsigned{static_cast<unsigned char>(query[5])};
  std::string records;
  int answers = 0;
  int additional_count = 0;
  std::string additional;
  bool host_given = false;
  std::size_t pos = 12;
  for (unsigned q = 0; q < questions && q < 16; ++q) {
    std::string name;
    if (!ReadName(query, &pos, &name) || pos + 4 > query.size()) return {};
    const auto type = static_cast<std::uint16_t>((static_cast<unsigned char>(query[pos]) << 8) |
                                                 static_cast<unsigned char>(query[pos + 1]));
    pos += 4;
    if (type != kTypePtr && type != kTypeAny) continue;
    for (const AnnouncedService& service : services_) {
      if (name != service.type + ".local") continue;
      const std::string service_name = Name("", service.type + ".local");
      const std::string instance_name = Name(instance_, service.type + ".local");
      Record(records, &answers, service_name, kTypePtr, kClassIn, instance_name);
      std::string srv;
      Put16(srv, 0);  // priority
      Put16(srv, 0);  // weight
      Put16(srv, static_cast<std::uint16_t>(service.port));
      srv += Name("", kHost);
      Record(additional, &additional_count, instance_name, kTypeSrv, kClassIn | kCacheFlush, srv);
      const std::string txt = "\x0Dmanufacturer=MORVANE";
      Record(additional, &additional_count, instance_name, kTypeTxt, kClassIn | kCacheFlush, txt);
      host_given = true;
    }
  }
  if (answers == 0) return {};
  if (host_given) {
    std::string address;
    Put32(address, 0x7F000001u);  // 127.0.0.1
    Record(additional, &additional_count, Name("", kHost), kTypeA, kClassIn | kCacheFlush, address);
  }
  std::string reply;
  reply.append(query.substr(0, 2));  // the query's id, for a unicast asker
  Put16(reply, 0x8400);              // response, authoritative
  Put16(reply, 0);
  Put16(reply, static_cast<std::uint16_t>(answers));
  Put16(reply, 0);
  Put16(reply, static_cast<std::uint16_t>(additional_count));
  return reply + records + additional;
}

}  // namespace tqrsim
