#include "tools/property_table.h"

#include <array>
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

#define MOTQR_CLI_ROW(Type, Scope, Access, Interface, Property)            \
  PropertyRow{PropertyPath(#Interface, #Property),                         \
              #Interface "." #Property,                                    \
              MOTQR_CLI_SCOPE_##Scope,                                     \
              TypeOf<MOTQR_CLI_KIND_##Type, &Interface::get_##Property>(), \
              &Read<MOTQR_CLI_KIND_##Type, &Interface::get_##Property>,    \
              MOTQR_CLI_WRITER_##Access(Type, Interface, Property)},

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

std::vector<const PropertyRow*> FindProperties(std::string_view path) {
  std::vector<const PropertyRow*> found;
  for (const PropertyRow& row : AllProperties())
    if (EqualsIgnoringCase(row.path, path) || EqualsIgnoringCase(row.qualified_name, path))
      return {&row};
  const std::string group = ToLower(path) + ".";
  for (const PropertyRow& row : AllProperties())
    if (row.path.starts_with(group)) found.push_back(&row);
  return found;
}

}  // namespace motqr::cli
