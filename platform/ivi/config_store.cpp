#include "platform/ivi/config_store.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace motqr::ivi {
namespace {

constexpr const char* kRootElement = "IviConfigStore";

struct ComponentKind {
  const char* element;
  std::string_view type_name;
  DataComponentType type;
};
constexpr ComponentKind kComponentKinds[] = {
    {"IviBoolean", "Boolean", DataComponentType::kBoolean},
    {"IviInteger", "Integer", DataComponentType::kInteger},
    {"IviReal", "Real", DataComponentType::kReal},
    {"IviString", "String", DataComponentType::kString},
    {"IviStructure", "Structure", DataComponentType::kStructure},
    {"IviAPIReference", "APIReference", DataComponentType::kApiReference},
};

struct SessionSetting {
  const char* element;
  bool DriverSession::*field;
};
constexpr SessionSetting kSessionSettings[] = {
    {"Cache", &DriverSession::cache},
    {"InterchangeCheck", &DriverSession::interchange_check},
    {"QueryInstrStatus", &DriverSession::query_instr_status},
    {"RangeCheck", &DriverSession::range_check},
    {"RecordCoercions", &DriverSession::record_coercions},
    {"Simulate", &DriverSession::simulate},
};

// The kinds of element other elements refer to by idref.
constexpr const char* kReferableKinds[][2] = {
    {"SoftwareModules", "IviSoftwareModule"},
    {"HardwareAssets", "IviHardwareAsset"},
    {"DriverSessions", "IviDriverSession"},
    {"Sessions", "IviSession"},
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<bool> ParseBoolean(std::string_view text) {
  if (EqualsNoCase(text, "true") || text == "1") return true;
  if (EqualsNoCase(text, "false") || text == "0") return false;
  return std::nullopt;
}

template <class T>
std::optional<T> ParseNumber(std::string_view text) {
  T value{};
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

template <class T>
bool Assign(const std::optional<T>& value, DataComponent* out) {
  if (!value) return false;
  out->value = *value;
  return true;
}

std::string Quoted(std::string_view s) { return "'" + std::string(s) + "'"; }

// Reads one parsed document into a ConfigStore; the first problem found ends
// the reading and is kept in error().
class StoreReader {
 public:
  bool Read(const pugi::xml_document& doc, ConfigStore* store);
  const std::string& error() const { return error_; }

 private:
  bool Fail(std::string message) {
    error_ = std::move(message);
    return false;
  }
  // The text of `parent`'s child element `child`, trimmed or raw ("" when absent).
  bool Text(pugi::xml_node parent, const char* child, std::string_view owner, std::string* out,
            bool trim = true);
  // The entries of a collection, bounded in number.
  bool Entries(pugi::xml_node collection, const char* element, std::string_view what,
               std::vector<pugi::xml_node>* out);
  bool IndexIds(pugi::xml_node root);
  // The element `ref` points at with its idref (of kind `element`), or `ref`
  // itself when it has no idref.
  bool Referenced(pugi::xml_node ref, std::string_view owner, pugi::xml_node* out);
  bool ReadDataComponents(pugi::xml_node owner_node, std::string_view owner, int depth,
                          std::vector<DataComponent>* out);
  bool ReadDataComponent(pugi::xml_node node, const ComponentKind& kind, int depth,
                         DataComponent* out);
  bool ReadSoftwareModule(pugi::xml_node node, SoftwareModule* out);
  bool ReadDriverSession(pugi::xml_node node, DriverSession* out);
  bool ReadLogicalName(pugi::xml_node node, LogicalName* out);
  bool ReadName(pugi::xml_node node, std::string_view what, std::string* name);

  std::unordered_map<std::string, pugi::xml_node> ids_;
  std::string error_;
};

bool StoreReader::Text(pugi::xml_node parent, const char* child, std::string_view owner,
                       std::string* out, bool trim) {
  const char* value = parent.child_value(child);
  const std::size_t length = std::strlen(value);
  if (length > kMaxStoreText) {
    return Fail(std::string(owner) + ": " + child + " is longer than " +
                std::to_string(kMaxStoreText) + " bytes");
  }
  const std::string_view text(value, length);
  *out = std::string(trim ? Trim(text) : text);
  return true;
}

bool StoreReader::Entries(pugi::xml_node collection, const char* element, std::string_view what,
                          std::vector<pugi::xml_node>* out) {
  out->clear();
  for (pugi::xml_node n : collection.children(element)) {
    if (out->size() == kMaxStoreCollection) {
      return Fail("more than " + std::to_string(kMaxStoreCollection) + " " + std::string(what));
    }
    out->push_back(n);
  }
  return true;
}

bool StoreReader::IndexIds(pugi::xml_node root) {
  for (const auto& [collection, element] : kReferableKinds) {
    std::vector<pugi::xml_node> entries;
    if (!Entries(root.child(collection), element, collection, &entries)) return false;
    for (pugi::xml_node n : entries) {
      const std::string_view id = n.attribute("id").value();
      if (id.empty()) continue;
      if (id.size() > kMaxStoreText) return Fail(std::string(element) + ": id too long");
      if (!ids_.emplace(std::string(id), n).second) return Fail("duplicate id " + Quoted(id));
    }
  }
  return true;
}

bool StoreReader::Referenced(pugi::xml_node ref, std::string_view owner, pugi::xml_node* out) {
  const pugi::xml_attribute idref = ref.attribute("idref");
  if (!idref) {
    *out = ref;
    return true;
  }
  auto it = ids_.find(idref.value());
  if (it == ids_.end() || std::strcmp(it->second.name(), ref.name()) != 0) {
    return Fail(std::string(owner) + ": " + ref.name() + " idref " + Quoted(idref.value()) +
                " names no " + ref.name());
  }
  *out = it->second;
  return true;
}

bool StoreReader::ReadName(pugi::xml_node node, std::string_view what, std::string* name) {
  if (!Text(node, "Name", what, name)) return false;
  if (name->empty()) return Fail(std::string(what) + " without a Name");
  return true;
}

bool StoreReader::ReadDataComponent(pugi::xml_node node, const ComponentKind& kind, int depth,
                                    DataComponent* out) {
  if (!ReadName(node, std::string(kind.type_name) + " data component", &out->name)) return false;
  out->type = kind.type;
  const std::string owner = "data component " + Quoted(out->name);
  if (kind.type == DataComponentType::kStructure) {
    return ReadDataComponents(node, owner, depth + 1, &out->members);
  }
  std::string raw;
  if (!Text(node, "Value", owner, &raw, /*trim=*/false)) return false;
  const std::string_view text = Trim(raw);
  auto bad_value = [&] {
    return Fail(owner + ": " + Quoted(text) + " is not a valid " + std::string(kind.type_name) +
                " value");
  };
  switch (kind.type) {
    case DataComponentType::kBoolean:
      return Assign(ParseBoolean(text), out) || bad_value();
    case DataComponentType::kInteger:
      return Assign(ParseNumber<std::int32_t>(text), out) || bad_value();
    case DataComponentType::kReal:
      return Assign(ParseNumber<double>(text), out) || bad_value();
    case DataComponentType::kString:
      out->value = std::move(raw);
      return true;
    case DataComponentType::kApiReference:
      out->value = std::string(text);
      return true;
    case DataComponentType::kStructure:
      break;  // read above
  }
  return true;
}

bool StoreReader::ReadDataComponents(pugi::xml_node owner_node, std::string_view owner, int depth,
                                     std::vector<DataComponent>* out) {
  if (depth > kMaxStructureDepth) {
    return Fail(std::string(owner) + ": structures nested deeper than " +
                std::to_string(kMaxStructureDepth));
  }
  std::size_t count = 0;
  for (pugi::xml_node n : owner_node.child("DataComponents").children()) {
    if (n.type() != pugi::node_element) continue;
    if (++count > kMaxStoreCollection) {
      return Fail(std::string(owner) + ": more than " + std::to_string(kMaxStoreCollection) +
                  " data components");
    }
    auto kind =
        std::find_if(std::begin(kComponentKinds), std::end(kComponentKinds),
                     [&](const ComponentKind& k) { return std::strcmp(k.element, n.name()) == 0; });
    if (kind == std::end(kComponentKinds)) continue;  // a kind this driver does not read
    if (!ReadDataComponent(n, *kind, depth, &out->emplace_back())) return false;
  }
  return true;
}

bool StoreReader::ReadSoftwareModule(pugi::xml_node node, SoftwareModule* out) {
  if (!ReadName(node, "software module", &out->name)) return false;
  const std::string owner = "software module " + Quoted(out->name);
  return Text(node, "Prefix", owner, &out->prefix) &&
         ReadDataComponents(node, owner, 0, &out->data_components);
}

bool StoreReader::ReadDriverSession(pugi::xml_node node, DriverSession* out) {
  if (!ReadName(node, "driver session", &out->name)) return false;
  const std::string owner = "driver session " + Quoted(out->name);
  if (pugi::xml_node ref = node.child("IviHardwareAsset")) {
    pugi::xml_node asset;
    if (!Referenced(ref, owner, &asset) ||
        !Text(asset, "IOResourceDescriptor", owner, &out->io_resource_descriptor)) {
      return false;
    }
  }
  if (!Text(node, "SoftwareModuleName", owner, &out->software_module_name)) return false;
  if (pugi::xml_node ref = node.child("IviSoftwareModule");
      ref && out->software_module_name.empty()) {
    pugi::xml_node module;
    if (!Referenced(ref, owner, &module) ||
        !Text(module, "Name", owner, &out->software_module_name)) {
      return false;
    }
  }
  for (const SessionSetting& setting : kSessionSettings) {
    if (!node.child(setting.element)) continue;  // keeps its default
    std::string text;
    if (!Text(node, setting.element, owner, &text)) return false;
    std::optional<bool> b = ParseBoolean(text);
    if (!b) {
      return Fail(owner + ": " + setting.element + " is " + Quoted(text) + ", not true or false");
    }
    out->*setting.field = *b;
  }
  if (!Text(node, "DriverSetup", owner, &out->driver_setup, /*trim=*/false) ||
      !ReadDataComponents(node, owner, 0, &out->data_components)) {
    return false;
  }
  std::vector<pugi::xml_node> names;
  if (!Entries(node.child("VirtualNames"), "IviVirtualName", owner + " virtual names", &names))
    return false;
  for (pugi::xml_node n : names) {
    VirtualName& v = out->virtual_names.emplace_back();
    if (!ReadName(n, owner + " virtual name", &v.name) || !Text(n, "MapTo", owner, &v.map_to))
      return false;
    if (v.map_to.empty())
      return Fail(owner + ": virtual name " + Quoted(v.name) + " maps to nothing");
  }
  return true;
}

bool StoreReader::ReadLogicalName(pugi::xml_node node, LogicalName* out) {
  if (!ReadName(node, "logical name", &out->name)) return false;
  const std::string owner = "logical name " + Quoted(out->name);
  if (pugi::xml_node ref = node.child("IviDriverSession")) {
    pugi::xml_node session;
    if (!ref.attribute("idref")) return Fail(owner + ": IviDriverSession without an idref");
    return Referenced(ref, owner, &session) && Text(session, "Name", owner, &out->driver_session);
  }
  if (pugi::xml_node ref = node.child("IviSession")) {
    pugi::xml_node session;
    if (!ref.attribute("idref")) return Fail(owner + ": IviSession without an idref");
    return Referenced(ref, owner, &session);  // a session, but not a driver session
  }
  return Fail(owner + " names no session");
}

template <class T>
bool HasDuplicateName(const std::vector<T>& items, std::string* duplicate) {
  std::unordered_set<std::string_view> seen;
  for (const T& item : items) {
    if (!seen.insert(item.name).second) {
      *duplicate = item.name;
      return true;
    }
  }
  return false;
}

bool StoreReader::Read(const pugi::xml_document& doc, ConfigStore* store) {
  const pugi::xml_node root = doc.document_element();
  if (std::strcmp(root.name(), kRootElement) != 0) {
    return Fail("the root element is <" + std::string(root.name()) + ">, not <" + kRootElement +
                ">");
  }
  if (!IndexIds(root)) return false;
  std::vector<pugi::xml_node> nodes;
  if (!Entries(root.child("SoftwareModules"), "IviSoftwareModule", "software modules", &nodes))
    return false;
  for (pugi::xml_node n : nodes) {
    if (!ReadSoftwareModule(n, &store->software_modules.emplace_back())) return false;
  }
  if (!Entries(root.child("DriverSessions"), "IviDriverSession", "driver sessions", &nodes))
    return false;
  for (pugi::xml_node n : nodes) {
    if (!ReadDriverSession(n, &store->driver_sessions.emplace_back())) return false;
  }
  if (!Entries(root.child("LogicalNames"), "IviLogicalName", "logical names", &nodes)) return false;
  for (pugi::xml_node n : nodes) {
    if (!ReadLogicalName(n, &store->logical_names.emplace_back())) return false;
  }
  std::string duplicate;
  if (HasDuplicateName(store->software_modules, &duplicate))
    return Fail("two software modules named " + Quoted(duplicate));
  if (HasDuplicateName(store->driver_sessions, &duplicate))
    return Fail("two driver sessions named " + Quoted(duplicate));
  if (HasDuplicateName(store->logical_names, &duplicate))
    return Fail("two logical names named " + Quoted(duplicate));
  return true;
}

template <class T>
const T* FindByName(const std::vector<T>& items, std::string_view name) {
  auto it = std::find_if(items.begin(), items.end(), [&](const T& t) { return t.name == name; });
  return it == items.end() ? nullptr : &*it;
}

}  // namespace

std::string_view DataComponentTypeName(DataComponentType type) {
  for (const ComponentKind& k : kComponentKinds) {
    if (k.type == type) return k.type_name;
  }
  return {};
}

const DriverSession* ConfigStore::FindDriverSession(std::string_view name) const {
  if (const LogicalName* logical = FindByName(logical_names, name)) {
    return logical->driver_session.empty() ? nullptr
                                           : FindByName(driver_sessions, logical->driver_session);
  }
  return FindByName(driver_sessions, name);
}

const SoftwareModule* ConfigStore::FindSoftwareModule(std::string_view name) const {
  return FindByName(software_modules, name);
}

bool ParseConfigStore(std::string_view xml, ConfigStore* store, std::string* error) {
  *store = ConfigStore{};
  error->clear();
  if (xml.size() > kMaxStoreBytes) {
    *error = "larger than " + std::to_string(kMaxStoreBytes) + " bytes";
    return false;
  }
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer(xml.data(), xml.size());
  if (!parsed) {
    *error = std::string(parsed.description()) + " at byte " + std::to_string(parsed.offset);
    return false;
  }
  StoreReader reader;
  if (reader.Read(doc, store)) return true;
  *error = reader.error();
  *store = ConfigStore{};
  return false;
}

StoreLoadStatus LoadConfigStore(const std::string& location, ConfigStore* store,
                                std::string* error) {
  *store = ConfigStore{};
  error->clear();
  std::error_code ec;
  if (location.empty() || !std::filesystem::is_regular_file(location, ec)) {
    return StoreLoadStatus::kCannotOpen;
  }
  const std::uintmax_t size = std::filesystem::file_size(location, ec);
  if (ec) return StoreLoadStatus::kCannotOpen;
  if (size > kMaxStoreBytes) {
    *error = "larger than " + std::to_string(kMaxStoreBytes) + " bytes";
    return StoreLoadStatus::kMalformed;
  }
  std::ifstream in(location, std::ios::binary);
  if (!in) return StoreLoadStatus::kCannotOpen;
  std::string text(static_cast<std::size_t>(size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad()) return StoreLoadStatus::kCannotOpen;
  text.resize(static_cast<std::size_t>(in.gcount()));
  return ParseConfigStore(text, store, error) ? StoreLoadStatus::kLoaded
                                              : StoreLoadStatus::kMalformed;
}

}  // namespace motqr::ivi
