#include "driver/identity.h"

#include <unordered_map>

#include "driver/string_hash.h"

namespace motqr::driver {
namespace {

using ModelTable = std::unordered_map<std::string, std::string, StringHash, StringEqual>;

const ModelTable& Models() {
  static const ModelTable* table = [] {
    auto* t = new ModelTable;  // lives until the module unloads
    for (const char* model : {"TQR-M7", "TQR-M6", "TQR-M5", "TQR-M4", "TQR-M3", "TQR-M2", "TQR-M1"})
      t->emplace(model, "DefaultFamily");
    return t;
  }();
  return *table;
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string Trimmed(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return std::string(s);
}

}  // namespace

InstrumentIdentity ParseIdentity(std::string_view reply) {
  InstrumentIdentity id;
  id.idn_reply = std::string(reply);
  std::string* fields[] = {&id.manufacturer, &id.model, &id.serial_number, &id.firmware_revision};
  std::size_t pos = 0;
  for (std::string* field : fields) {
    while (pos < reply.size() && reply[pos] == ',') ++pos;
    if (pos >= reply.size()) break;
    std::size_t end = reply.find(',', pos);
    if (end == std::string_view::npos) end = reply.size();
    *field = Trimmed(reply.substr(pos, end - pos));
    pos = end;
  }
  return id;
}

const std::string* FindModelFamily(std::string_view model) {
  const ModelTable& t = Models();
  auto it = t.find(model);
  return it == t.end() ? nullptr : &it->second;
}

bool IsKnownModel(std::string_view model) { return FindModelFamily(model) != nullptr; }

bool IsModelFamily(std::string_view name) {
  for (const auto& [model, family] : Models()) {
    if (family == name) return true;
  }
  return false;
}

}  // namespace motqr::driver
