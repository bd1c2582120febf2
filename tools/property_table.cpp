#include "tools/property_table.h"

#include <algorithm>
#include <array>
#include <type_traits>
#include <utility>

#include "interfaces/motqr_interfaces.h"
#include "platform/com/com_ptr.h"
#include "tools/value_codec.h"

namespace motqr::cli {
namespace {

// Where each interface's properties live in the tree the user sees.
constexpr std::array<std::pair<std::string_view, std::string_view>, 21> kGroups{{
    {"IIviDriverOperation", "driver"},
    {"IIviComponentIdentity", "identity"},
    {"IIviDriverIdentity", "identity"},
    {"IIviDCPwrOutputs", "outputs"},
    {"IIviDCPwrOutput", "dcpwr.output"},
    {"IMorvaneTqrOutputChannel", "output"},
    {"IMorvaneTqrOutputChannelProtection", "output.protection"},
    {"IMorvaneTqrOutputChannelPulse", "output.pulse"},
    {"IMorvaneTqrOutputChannelSine", "output.sine"},
    {"IMorvaneTqrOutputChannelIV", "output.iv"},
    {"IMorvaneTqrSystem", "system"},
    {"IMorvaneTqrSystemAnalog", "system.analog"},
    {"IMorvaneTqrSystemIO", "system.io"},
    {"IMorvaneTqrProgram", "program"},
    {"IMorvaneTqrSense", "sense"},
    {"IMorvaneTqrTrigger", "trigger"},
    {"IMorvaneTqrGlobal", "global"},
    {"IMorvaneTqrStatusQuestionable", "status.questionable"},
    {"IMorvaneTqrStatusOperation", "status.operation"},
    {"IMorvaneTqrData", "data"},
    {"IMorvaneTqrOutputs", "outputs"},
}};

template <class M>
struct MemberTraits;
template <class I, class D>
struct MemberTraits<com::HRESULT (I::*)(D)> {
  using Interface = I;
  using Argument = D;
};

template <class I>
Status Reach(com::IUnknown* target, std::string_view path, com::ComPtr<I>* object) {
  return Check(target->QueryInterface(I::kIid, object->PutVoid()), path);
}

template <ValueKind K, auto Getter>
Status Read(com::IUnknown* target, std::string_view path, Scalar* value) {
  using Traits = MemberTraits<decltype(Getter)>;
  using I = typename Traits::Interface;
  using D = std::remove_pointer_t<typename Traits::Argument>;
  com::ComPtr<I> object;
  MOTQR_CLI_TRY(Reach(target, path, &object));
  if constexpr (K == ValueKind::kText) {
    com::Bstr text;
    MOTQR_CLI_TRY(Check((object.Get()->*Getter)(text.Put()), path));
    *value = Codec<K, com::BSTR>::Format(text);
  } else {
    D v{};
    MOTQR_CLI_TRY(Check((object.Get()->*Getter)(&v), path));
    *value = Codec<K, D>::Format(v);
  }
  return Status::Ok();
}

template <ValueKind K, auto Setter>
Status Write(com::IUnknown* target, std::string_view path, std::string_view text) {
  using Traits = MemberTraits<decltype(Setter)>;
  using I = typename Traits::Interface;
  using D = typename Traits::Argument;
  using C = Codec<K, D>;
  std::conditional_t<K == ValueKind::kText, com::Bstr, D> v{};
  if (!C::Parse(text, &v)) {
    return Status::Usage("'" + std::string(text) + "' is not a value of " + std::string(path) +
                         " (" + C::Describe() + ")");
  }
  if (!target) return Status::Ok();
  com::ComPtr<I> object;
  MOTQR_CLI_TRY(Reach(target, path, &object));
  if constexpr (K == ValueKind::kText) {
    return Check((object.Get()->*Setter)(v.Get()), path);
  } else {
    return Check((object.Get()->*Setter)(v), path);
  }
}

template <ValueKind K, auto Getter>
std::string TypeOf() {
  using D = std::remove_pointer_t<typename MemberTraits<decltype(Getter)>::Argument>;
  if constexpr (K == ValueKind::kText) {
    return Codec<K, com::BSTR>::Describe();
  } else {
    return Codec<K, D>::Describe();
  }
}

#define MOTQR_CLI_KIND_Int32 ValueKind::kInteger
#define MOTQR_CLI_KIND_Real64 ValueKind::kReal
#define MOTQR_CLI_KIND_Boolean ValueKind::kBoolean
#define MOTQR_CLI_KIND_String ValueKind::kText
#define MOTQR_CLI_SCOPE_Channel PropertyRow::Scope::kChannel
#define MOTQR_CLI_SCOPE_Session PropertyRow::Scope::kSession
#define MOTQR_CLI_SCOPE_AnySession PropertyRow::Scope::kSession
#define MOTQR_CLI_WRITER_ReadWrite(Type, Interface, Property) \
  &Write<MOTQR_CLI_KIND_##Type, &Interface::put_##Property>
#define MOTQR_CLI_WRITER_ReadOnly(Type, Interface, Property) nullptr

// Query<Property>MinMax of the property's interface, where there is one.
#define MOTQR_CLI_RANGE(Interface, Property)                                       \
  [](com::IUnknown* target, double* low, double* high) -> com::HRESULT {           \
    return [&](auto* tag) -> com::HRESULT {                                        \
      using I = std::remove_pointer_t<decltype(tag)>;                              \
      if constexpr (requires(I * i) { i->Query##Property##MinMax(low, high); }) {  \
        com::ComPtr<I> object;                                                     \
        const com::HRESULT hr = target->QueryInterface(I::kIid, object.PutVoid()); \
        return com::Failed(hr) ? hr : object->Query##Property##MinMax(low, high);  \
      } else {                                                                     \
        return com::E_NOTIMPL;                                                     \
      }                                                                            \
    }(static_cast<Interface*>(nullptr));                                           \
  }
#define MOTQR_CLI_HAS_RANGE(Interface, Property)                             \
  [](auto* tag) {                                                            \
    using I = std::remove_pointer_t<decltype(tag)>;                          \
    return requires(I * i, double* d) { i->Query##Property##MinMax(d, d); }; \
  }(static_cast<Interface*>(nullptr))

#define MOTQR_CLI_ROW(Type, Scope, Access, Interface, Property)                           \
  PropertyRow{PropertyPath(#Interface, #Property),                                        \
              #Interface "." #Property,                                                   \
              MOTQR_CLI_SCOPE_##Scope,                                                    \
              TypeOf<MOTQR_CLI_KIND_##Type, &Interface::get_##Property>(),                \
              &Read<MOTQR_CLI_KIND_##Type, &Interface::get_##Property>,                   \
              MOTQR_CLI_WRITER_##Access(Type, Interface, Property),                       \
              MOTQR_CLI_HAS_RANGE(Interface, Property)                                    \
                  ? static_cast<PropertyRow::Range>(MOTQR_CLI_RANGE(Interface, Property)) \
                  : nullptr,                                                              \
              MOTQR_CLI_KIND_##Type == ValueKind::kReal ? UnitOfProperty(#Property) : ""},

std::vector<PropertyRow> BuildTable() {
  return {
#define MOTQR_ATTRIBUTE(Id, NAME, Type, Scope, Access, Interface, Property) \
  MOTQR_CLI_ROW(Type, Scope, Access, Interface, Property)
#include "capi/attributes.def"
      // Properties of the tree the C attribute functions do not carry.
      MOTQR_CLI_ROW(String, Session, ReadOnly, IIviDriverIdentity, InstrumentManufacturer)
          MOTQR_CLI_ROW(String, Session, ReadOnly, IIviDriverIdentity, InstrumentModel)
              MOTQR_CLI_ROW(String, Session, ReadOnly, IIviDriverIdentity, Identifier)
                  MOTQR_CLI_ROW(String, Session, ReadOnly, IIviDriverOperation,
                                IoResourceDescriptor)};
}

}  // namespace

std::span<const PropertyRow> AllProperties() {
  static const std::vector<PropertyRow> table = BuildTable();
  return table;
}

std::vector<std::string> SplitWords(std::string_view name) {
  const auto upper = [](char c) { return c >= 'A' && c <= 'Z'; };
  std::vector<std::string> words;
  std::size_t start = 0;
  for (std::size_t i = 1; i <= name.size(); ++i) {
    const bool end = i == name.size();
    // A word starts at an upper-case letter after a lower-case one, and at the
    // last capital of an acronym that a lower-case letter follows (OCP|Level).
    const bool boundary =
        end ||
        (upper(name[i]) && (!upper(name[i - 1]) || (i + 1 < name.size() && !upper(name[i + 1]))));
    if (boundary) {
      words.push_back(ToLower(name.substr(start, i - start)));
      start = i;
    }
  }
  return words;
}

std::string PropertyPath(std::string_view interface_name, std::string_view property) {
  std::string_view group;
  for (const auto& [name, path] : kGroups)
    if (name == interface_name) group = path;
  if (group.empty()) return {};
  std::vector<std::string> words = SplitWords(property);
  // Leading words that repeat the group's last segment go: program.loop-count.
  std::string_view last = group.substr(group.rfind('.') + 1);
  std::size_t skip = 0;
  std::string joined;
  for (std::size_t i = 0; i + 1 < words.size(); ++i) {
    joined += words[i];
    if (joined == last) skip = i + 1;
  }
  std::string path(group);
  path += '.';
  for (std::size_t i = skip; i < words.size(); ++i) {
    if (i > skip) path += '-';
    path += words[i];
  }
  return path;
}

Status ParsePropertyQuery(std::string_view text, PropertyQuery* query) {
  query->path.clear();
  query->channel.clear();
  const std::size_t open = text.find('[');
  if (open == std::string_view::npos) {
    if (text.find(']') != std::string_view::npos)
      return Status::Usage("unbalanced ']' in '" + std::string(text) + "'");
    query->path = std::string(text);
    return Status::Ok();
  }
  const std::size_t close = text.find(']', open);
  if (close == std::string_view::npos || close == open + 1 ||
      text.find_first_of("[]", close + 1) != std::string_view::npos)
    return Status::Usage("'" + std::string(text) + "': write one channel as output[name]");
  query->channel = std::string(text.substr(open + 1, close - open - 1));
  query->path = std::string(text.substr(0, open)) + std::string(text.substr(close + 1));
  return Status::Ok();
}

std::string UnitOfProperty(std::string_view property) {
  const std::vector<std::string> words = SplitWords(property);
  const auto has = [&words](std::string_view w) {
    for (const std::string& word : words)
      if (word == w) return true;
    return false;
  };
  const char* quantity = has("voltage") || has("ovp")                  ? "V"
                         : has("current") || has("ocp") || has("nocp") ? "A"
                         : has("power") || has("opp") || has("nopp")   ? "W"
                                                                       : "";
  if (has("slew")) return std::string(quantity) + "/s";
  if (has("duty")) return "%";
  if (has("frequency")) return "Hz";
  if (has("time") || has("delay") || has("interval")) return "s";
  if (has("ir")) return "ohm";
  return quantity;
}

std::vector<const PropertyRow*> FindProperties(std::string_view path) {
  // The driver's member is VoltageReponseSpeed; the word as it should be works too.
  if (const std::string lower = ToLower(path); lower.find("response-speed") != std::string::npos) {
    std::string driver_word = lower;
    driver_word.replace(driver_word.find("response-speed"), 14, "reponse-speed");
    return FindProperties(driver_word);
  }
  std::vector<const PropertyRow*> found;
  for (const PropertyRow& row : AllProperties())
    if (EqualsIgnoringCase(row.path, path) || EqualsIgnoringCase(row.qualified_name, path))
      return {&row};
  const std::string group = ToLower(path) + ".";
  for (const PropertyRow& row : AllProperties())
    if (row.path.starts_with(group)) found.push_back(&row);
  return found;
}

namespace {

// Edits (insert, delete, replace, swap two neighbours) from a to b.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i)
    for (std::size_t j = 1; j <= b.size(); ++j) {
      d[i][j] = std::min(
          {d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  return d[a.size()][b.size()];
}

}  // namespace

std::vector<std::string> SimilarPaths(std::string_view path) {
  const std::string lower = ToLower(path);
  // A path may also name a group: its prefixes are candidates too.
  std::vector<std::string> candidates;
  for (const PropertyRow& row : AllProperties()) {
    candidates.push_back(row.path);
    for (std::size_t dot = row.path.find('.'); dot != std::string::npos;
         dot = row.path.find('.', dot + 1))
      candidates.push_back(row.path.substr(0, dot));
  }
  std::sort(candidates.begin(), candidates.end());
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
  // Close means a few edits, fewer for short names.
  const std::size_t most = std::max<std::size_t>(1, std::min<std::size_t>(3, lower.size() / 4));
  // A path that ends the same way in another group ("output.protection.ocp-level"
  // for "output.ocp-level") comes first; then the few edits away.
  const std::string tail = "." + lower.substr(lower.rfind('.') + 1);
  std::vector<std::pair<std::size_t, std::string>> near;
  for (const std::string& c : candidates) {
    if (c.size() > tail.size() && c.ends_with(tail) && tail.size() > 3) {
      near.emplace_back(0, c);
    } else if (const std::size_t d = EditDistance(lower, c); d <= most) {
      near.emplace_back(d, c);
    }
  }
  std::stable_sort(near.begin(), near.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> out;
  for (const auto& [d, c] : near) {
    if (out.size() == 3) break;
    out.push_back(c);
  }
  return out;
}

}  // namespace motqr::cli
