#include "platform/visa/resource_name.h"

#include <arpa/inet.h>

#include <array>
#include <charconv>
#include <vector>

namespace motqr::visa {
namespace {

constexpr std::string_view kSeparator = "::";

char ToUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToUpper(a[i]) != ToUpper(b[i])) return false;
  }
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

struct InterfaceKeyword {
  std::string_view keyword;
  InterfaceType type;
};
constexpr InterfaceKeyword kInterfaces[] = {
    {"GPIB", InterfaceType::kGpib},        {"VXI", InterfaceType::kVxi},
    {"GPIB-VXI", InterfaceType::kGpibVxi}, {"ASRL", InterfaceType::kAsrl},
    {"PXI", InterfaceType::kPxi},          {"TCPIP", InterfaceType::kTcpip},
    {"USB", InterfaceType::kUsb},
};

struct ClassKeyword {
  std::string_view keyword;
  ResourceClass resource_class;
};
constexpr ClassKeyword kClasses[] = {
    {"INSTR", ResourceClass::kInstr},
    {"SOCKET", ResourceClass::kSocket},
    {"RAW", ResourceClass::kRaw},
    {"INTFC", ResourceClass::kIntfc},
};
// Classes VISA defines that no backend here serves.
constexpr std::string_view kUnsupportedClasses[] = {"BACKPLANE", "SERVANT", "MEMACC"};

// Collects the failure text of one parse.
class Parser {
 public:
  Parser(std::string_view text, ResourceName* name) : text_(text), name_(name) {}

  Status Parse();

 private:
  Status Fail(std::string_view reason) const {
    return Status(VI_ERROR_INV_RSRC_NAME,
                  "Invalid resource name \"" + std::string(text_) + "\": " + std::string(reason));
  }
  Status ParseKeywordAndBoard(std::string_view head);
  Status SplitFields(std::string_view rest);
  Status TakeResourceClass();
  Status ParseTcpip();
  Status ParseHislipDevice();
  Status ParseAsrl();
  Status ParseGpib();
  Status ParseUsb();
  bool ParseNumber(std::string_view field, std::uint32_t max, bool allow_hex,
                   std::uint32_t* value) const;

  std::string_view text_;
  ResourceName* name_;
  std::string_view bracketed_host_;
  bool has_bracketed_host_ = false;
  std::vector<std::string_view> fields_;
  bool board_given_ = false;
};

bool Parser::ParseNumber(std::string_view field, std::uint32_t max, bool allow_hex,
                         std::uint32_t* value) const {
  int base = 10;
  if (allow_hex && field.size() > 2 && field[0] == '0' && (field[1] == 'x' || field[1] == 'X')) {
    field.remove_prefix(2);
    base = 16;
  }
  if (field.empty() || field.size() > 10) return false;
  std::uint32_t parsed = 0;
  auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), parsed, base);
  if (ec != std::errc() || end != field.data() + field.size() || parsed > max) return false;
  *value = parsed;
  return true;
}

Status Parser::ParseKeywordAndBoard(std::string_view head) {
  std::size_t keyword_end = 0;
  while (keyword_end < head.size() && (IsAlpha(head[keyword_end]) || head[keyword_end] == '-')) {
    ++keyword_end;
  }
  const std::string_view keyword = head.substr(0, keyword_end);
  const InterfaceKeyword* found = nullptr;
  for (const InterfaceKeyword& entry : kInterfaces) {
    if (EqualsNoCase(entry.keyword, keyword)) found = &entry;
  }
  if (found == nullptr) {
    return Fail("unknown interface type \"" + std::string(keyword) +
                "\" (expected TCPIP, ASRL, GPIB, USB, VXI, GPIB-VXI or PXI).");
  }
  name_->interface_type = found->type;
  const std::string_view board = head.substr(keyword_end);
  if (board.empty()) return Status();
  board_given_ = true;
  if (found->type == InterfaceType::kAsrl && board.front() == '/') {
    name_->device_path = std::string(board);
    return Status();
  }
  std::uint32_t number = 0;
  if (!ParseNumber(board, 0xFFFF, false, &number)) {
    return Fail("the board number \"" + std::string(board) + "\" is not a number 0 to 65535.");
  }
  name_->board = static_cast<std::uint16_t>(number);
  return Status();
}

Status Parser::SplitFields(std::string_view rest) {
  if (name_->interface_type == InterfaceType::kTcpip && !rest.empty() && rest.front() == '[') {
    const std::size_t close = rest.find(']');
    if (close == std::string_view::npos) return Fail("the \"[\" of the host has no \"]\".");
    bracketed_host_ = rest.substr(1, close - 1);
    has_bracketed_host_ = true;
    rest.remove_prefix(close + 1);
    fields_.push_back({});  // stands for the host
    if (rest.empty()) return Status();
    if (rest.substr(0, kSeparator.size()) != kSeparator) {
      return Fail("\"::\" must follow the bracketed host.");
    }
    rest.remove_prefix(kSeparator.size());
  }
  while (true) {
    const std::size_t next = rest.find(kSeparator);
    const std::string_view field = rest.substr(0, next);
    if (field.empty()) return Fail("a field between \"::\" separators is empty.");
    fields_.push_back(field);
    if (next == std::string_view::npos) break;
    rest.remove_prefix(next + kSeparator.size());
  }
  return Status();
}

Status Parser::TakeResourceClass() {
  if (fields_.empty()) return Status();
  const std::string_view last = fields_.back();
  for (const ClassKeyword& entry : kClasses) {
    if (EqualsNoCase(entry.keyword, last)) {
      name_->resource_class = entry.resource_class;
      fields_.pop_back();
      return Status();
    }
  }
  for (std::string_view unsupported : kUnsupportedClasses) {
    if (EqualsNoCase(unsupported, last)) {
      return Fail("the resource class " + std::string(unsupported) + " is not supported.");
    }
  }
  return Status();
}

bool IsValidHostName(std::string_view host) {
  if (host.empty() || host.size() > 253) return false;
  bool all_numeric = true;
  for (char c : host) {
    if (!IsAlpha(c) && !IsDigit(c) && c != '-' && c != '.' && c != '_') return false;
    if (!IsDigit(c) && c != '.') all_numeric = false;
  }
  if (!all_numeric) return true;
  // Something that looks like dotted decimal must be a valid IPv4 address.
  std::array<unsigned char, 4> address{};
  return inet_pton(AF_INET, std::string(host).c_str(), address.data()) == 1;
}

bool IsValidIpv6(std::string_view literal) {
  const std::string_view address = literal.substr(0, literal.find('%'));
  std::array<unsigned char, 16> bytes{};
  return inet_pton(AF_INET6, std::string(address).c_str(), bytes.data()) == 1;
}

Status Parser::ParseTcpip() {
  if (name_->resource_class != ResourceClass::kInstr &&
      name_->resource_class != ResourceClass::kSocket) {
    return Fail("a TCPIP resource is INSTR or SOCKET.");
  }
  if (fields_.empty()) return Fail("the host is missing.");
  if (has_bracketed_host_) {
    if (!IsValidIpv6(bracketed_host_)) {
      return Fail("\"" + std::string(bracketed_host_) + "\" is not an IPv6 address.");
    }
    name_->host = std::string(bracketed_host_);
  } else {
    if (!IsValidHostName(fields_.front())) {
      return Fail("\"" + std::string(fields_.front()) +
                  "\" is not a host name or IPv4 address (IPv6 addresses go in brackets).");
    }
    name_->host = std::string(fields_.front());
  }
  const std::size_t extra = fields_.size() - 1;
  if (name_->resource_class == ResourceClass::kSocket) {
    if (extra != 1) return Fail("a SOCKET resource needs exactly host and port.");
    std::uint32_t port = 0;
    if (!ParseNumber(fields_[1], 0xFFFF, false, &port) || port == 0) {
      return Fail("the port must be 1 to 65535.");
    }
    name_->port = static_cast<std::uint16_t>(port);
    return Status();
  }
  if (extra > 1) return Fail("too many fields for a TCPIP INSTR resource.");
  name_->lan_device = extra == 1 ? std::string(fields_[1]) : "inst0";
  return ParseHislipDevice();
}

// "hislip<n>[,port]": the sub-address the server is asked for, and the port.
Status Parser::ParseHislipDevice() {
  constexpr std::string_view kHislip = "hislip";
  const std::string_view device = name_->lan_device;
  if (device.size() < kHislip.size() || !EqualsNoCase(device.substr(0, kHislip.size()), kHislip)) {
    return Status();
  }
  name_->lan_protocol = LanProtocol::kHislip;
  name_->port = kHislipDefaultPort;
  const std::size_t comma = device.find(',');
  if (comma == std::string_view::npos) return Status();
  std::uint32_t port = 0;
  if (!ParseNumber(device.substr(comma + 1), 0xFFFF, false, &port) || port == 0) {
    return Fail("the HiSLIP port must be 1 to 65535.");
  }
  name_->port = static_cast<std::uint16_t>(port);
  name_->lan_device.resize(comma);
  return Status();
}

Status Parser::ParseAsrl() {
  if (name_->resource_class != ResourceClass::kInstr) return Fail("a serial resource is INSTR.");
  if (!fields_.empty()) return Fail("a serial resource has no fields after the port.");
  if (!name_->device_path.empty()) return Status();
  if (!board_given_) return Fail("the serial port number or device path is missing.");
  if (name_->board == 0) return Fail("serial port numbers start at 1 (ASRL1 is /dev/ttyS0).");
  std::array<char, 8> digits{};
  auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), name_->board - 1);
  name_->device_path = "/dev/ttyS" + std::string(digits.data(), end);
  return Status();
}

Status Parser::ParseGpib() {
  if (name_->resource_class == ResourceClass::kIntfc) {
    if (!fields_.empty()) return Fail("a GPIB INTFC resource has no address.");
    return Status();
  }
  if (name_->resource_class != ResourceClass::kInstr) return Fail("a GPIB resource is INSTR.");
  if (fields_.empty() || fields_.size() > 2) {
    return Fail("a GPIB resource needs a primary address and at most a secondary address.");
  }
  std::uint32_t address = 0;
  if (!ParseNumber(fields_[0], 30, false, &address)) {
    return Fail("the GPIB primary address must be 0 to 30.");
  }
  name_->primary_address = static_cast<std::uint16_t>(address);
  if (fields_.size() == 2) {
    if (!ParseNumber(fields_[1], 30, false, &address)) {
      return Fail("the GPIB secondary address must be 0 to 30.");
    }
    name_->secondary_address = static_cast<std::uint16_t>(address);
  }
  return Status();
}

Status Parser::ParseUsb() {
  if (name_->resource_class != ResourceClass::kInstr &&
      name_->resource_class != ResourceClass::kRaw) {
    return Fail("a USB resource is INSTR or RAW.");
  }
  if (fields_.size() < 3 || fields_.size() > 4) {
    return Fail(
        "a USB resource needs vendor id, product id, serial number and at most an "
        "interface number.");
  }
  std::uint32_t value = 0;
  if (!ParseNumber(fields_[0], 0xFFFF, true, &value)) {
    return Fail("the USB vendor id must be 0 to 0xFFFF.");
  }
  name_->vendor_id = static_cast<std::uint16_t>(value);
  if (!ParseNumber(fields_[1], 0xFFFF, true, &value)) {
    return Fail("the USB product id must be 0 to 0xFFFF.");
  }
  name_->product_id = static_cast<std::uint16_t>(value);
  name_->serial_number = std::string(fields_[2]);
  if (fields_.size() == 4) {
    if (!ParseNumber(fields_[3], 255, false, &value)) {
      return Fail("the USB interface number must be 0 to 255.");
    }
    name_->usb_interface = static_cast<std::uint16_t>(value);
  }
  return Status();
}

Status Parser::Parse() {
  if (text_.empty()) {
    return Status(VI_ERROR_INV_RSRC_NAME, "Invalid resource name: the name is empty.");
  }
  name_->text = std::string(text_);
  const std::size_t head_end = text_.find(kSeparator);
  MOTQR_VISA_RETURN_IF_ERROR(ParseKeywordAndBoard(text_.substr(0, head_end)));
  if (head_end != std::string_view::npos) {
    MOTQR_VISA_RETURN_IF_ERROR(SplitFields(text_.substr(head_end + kSeparator.size())));
  }
  MOTQR_VISA_RETURN_IF_ERROR(TakeResourceClass());
  switch (name_->interface_type) {
    case InterfaceType::kTcpip:
      return ParseTcpip();
    case InterfaceType::kAsrl:
      return ParseAsrl();
    case InterfaceType::kGpib:
      return ParseGpib();
    case InterfaceType::kUsb:
      return ParseUsb();
    case InterfaceType::kVxi:
    case InterfaceType::kGpibVxi:
    case InterfaceType::kPxi:
      return Status();  // resolved by the system VISA library
  }
  return Fail("unknown interface type.");
}

}  // namespace

Status ParseResourceName(std::string_view text, ResourceName* name) {
  ResourceName parsed;
  Status status = Parser(Trim(text), &parsed).Parse();
  if (status.ok()) *name = std::move(parsed);
  return status;
}

std::string_view ResourceClassName(ResourceClass resource_class) {
  for (const ClassKeyword& entry : kClasses) {
    if (entry.resource_class == resource_class) return entry.keyword;
  }
  return "INSTR";
}

std::string_view InterfaceTypeName(InterfaceType type) {
  for (const InterfaceKeyword& entry : kInterfaces) {
    if (entry.type == type) return entry.keyword;
  }
  return "";
}

}  // namespace motqr::visa
