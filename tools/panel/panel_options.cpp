#include "tools/panel/panel_options.h"

#include <arpa/inet.h>
#include <sys/random.h>

#include <cerrno>
#include <cstring>

#include "tools/scalar.h"

namespace motqr::panel {

cli::Status ParsePanelArguments(std::span<const std::string> args, PanelOptions* options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::string value;
    bool has_value = false;
    if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
      has_value = true;
    }
    const bool takes_value = name == "--port" || name == "--listen" || name == "--rate";
    if (takes_value && !has_value) {
      if (i + 1 >= args.size()) return cli::Status::Usage("panel: " + name + " needs a value");
      value = args[++i];
    }
    if (name == "--port") {
      const auto port = cli::ParseInteger(value);
      if (!port || *port < 0 || *port > 65535)
        return cli::Status::Usage("panel: --port takes 0 to 65535, not '" + value + "'");
      options->port = static_cast<int>(*port);
    } else if (name == "--listen") {
      if (value.empty()) return cli::Status::Usage("panel: --listen needs an address");
      options->listen = value;
    } else if (name == "--rate") {
      const auto rate = cli::ParseReal(value);
      if (!rate || *rate < 1 || *rate > 20)
        return cli::Status::Usage("panel: --rate takes 1 to 20 readings a second");
      options->rate_hz = *rate;
    } else if (name == "--token" && !has_value) {
      options->token = true;
    } else {
      return cli::Status::Usage("panel: unexpected argument '" + args[i] + "'");
    }
  }
  if (!IsLoopbackAddress(options->listen)) options->token = true;
  return cli::Status::Ok();
}

bool IsLoopbackAddress(std::string_view address) {
  if (address == "localhost") return true;
  std::string text(address);
  if (text.size() > 2 && text.front() == '[' && text.back() == ']')
    text = text.substr(1, text.size() - 2);
  unsigned char bytes[16];
  if (inet_pton(AF_INET, text.c_str(), bytes) == 1) return bytes[0] == 127;
  if (inet_pton(AF_INET6, text.c_str(), bytes) != 1) return false;
  static constexpr unsigned char kLoopback[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
  static constexpr unsigned char kMappedPrefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
  if (std::memcmp(bytes, kLoopback, 16) == 0) return true;
  return std::memcmp(bytes, kMappedPrefix, 12) == 0 && bytes[12] == 127;
}

cli::Status NewAccessToken(std::string* token) {
  unsigned char bytes[16];
  std::size_t got = 0;
  while (got < sizeof bytes) {
    const ssize_t n = getrandom(bytes + got, sizeof bytes - got, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      return cli::Status::Failed(std::string("panel: no random token: ") + std::strerror(errno));
    got += static_cast<std::size_t>(n);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  token->clear();
  for (unsigned char b : bytes) {
    *token += kHex[b >> 4];
    *token += kHex[b & 15];
  }
  return cli::Status::Ok();
}

bool SameToken(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned char diff = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    diff = static_cast<unsigned char>(diff | (a[i] ^ b[i]));
  return diff == 0;
}

}  // namespace motqr::panel
