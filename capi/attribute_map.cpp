#include "capi/attribute_map.h"

#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>

#include "capi/c_call.h"
#include "component/motqr.hpp"

namespace motqr::capi {
namespace {

enum class Reach { kChannel, kSession, kAnySession };

inline constexpr ViStatus kInvalidAttribute = MOTQR_ERROR_INVALID_ATTRIBUTE;
inline constexpr ViStatus kNotWritable = MOTQR_ERROR_ATTRIBUTE_NOT_WRITABLE;
inline constexpr ViStatus kNotReadable = MOTQR_ERROR_ATTRIBUTE_NOT_READABLE;
inline constexpr ViStatus kTypesDoNotMatch = MOTQR_ERROR_TYPES_DO_NOT_MATCH;

template <class M>
struct GetterTraits;
template <class I, class D>
struct GetterTraits<com::HRESULT (I::*)(D*)> {
  using Interface = I;
  using Value = D;
};
template <class M>
struct SetterTraits;
template <class I, class D>
struct SetterTraits<com::HRESULT (I::*)(D)> {
  using Interface = I;
  using Value = D;
};

// Calls `member(I&)` where the scope says: the first or every channel named,
// the session's driver object, or for session 0 a driver object of its own.
template <Reach S, class I, bool kSetting, class F>
ViStatus Invoke(ViSession vi, ViConstString channel, F&& member) {
  if constexpr (S == Reach::kChannel) {
    if constexpr (kSetting) {
      return OnEveryChannel<I>(vi, channel, member);
    } else {
      return OnFirstChannel<I>(vi, channel, member);
    }
  } else {
    if (S == Reach::kAnySession && vi == 0) {
      return Guard(0, [&]() -> ViStatus {
        if (com::Failed(InitializeRuntimeForThread())) {
          return Fail(0, kStatusCannotRecover, "Could not initialize COM.");
        }
        com::ComPtr<IIviDriver> driver;
        if (com::Failed(CreateMorvaneTqr(driver.Put()))) return kStatusUnmapped;
        com::ComPtr<I> target;
        if (ViStatus s = Query(0, driver.Get(), &target); s < 0) return s;
        return Translate(0, member(*target.Get()));
      });
    }
    return OnDriver<I>(vi, member);
  }
}

template <AttributeType T, Reach S, auto Getter>
ViStatus GetProperty(ViSession vi, ViConstString channel, void* out, ViInt32 size) {
  using I = typename GetterTraits<decltype(Getter)>::Interface;
  using D = typename GetterTraits<decltype(Getter)>::Value;
  if constexpr (T == AttributeType::kString) {
    com::Bstr text;
    const ViStatus s =
        Invoke<S, I, false>(vi, channel, [&](I& i) { return (i.*Getter)(text.Put()); });
    return CopyText(s, text, size, static_cast<ViChar*>(out));
  } else {
    if (!out) return NullParameter(vi, "AttributeValue");
    D value{};
    const ViStatus s = Invoke<S, I, false>(vi, channel, [&](I& i) { return (i.*Getter)(&value); });
    if (IsError(s)) return s;
    if constexpr (T == AttributeType::kReal64) {
      *static_cast<ViReal64*>(out) = value;
    } else if constexpr (T == AttributeType::kBoolean) {
      *static_cast<ViBoolean*>(out) = ToViBoolean(value);
    } else {
      // Enumerations travel as their values; 16-bit registers are sign-extended.
      *static_cast<ViInt32*>(out) = static_cast<ViInt32>(value);
    }
    return s;
  }
}

template <AttributeType T, Reach S, auto Setter>
ViStatus SetProperty(ViSession vi, ViConstString channel, const void* in) {
  using I = typename SetterTraits<decltype(Setter)>::Interface;
  using D = typename SetterTraits<decltype(Setter)>::Value;
  return Guard(vi, [&]() -> ViStatus {
    if constexpr (T == AttributeType::kString) {
      const com::Bstr text = ToBstr(static_cast<const char*>(in));
      return Invoke<S, I, true>(vi, channel, [&](I& i) { return (i.*Setter)(text.Get()); });
    } else {
      D value{};
      if constexpr (T == AttributeType::kReal64) {
        value = *static_cast<const ViReal64*>(in);
      } else if constexpr (T == AttributeType::kBoolean) {
        value = ToVariantBool(*static_cast<const ViBoolean*>(in));
      } else if constexpr (std::is_same_v<D, std::int16_t>) {
        // 16-bit registers take the low 16 bits.
        value = static_cast<std::int16_t>(static_cast<std::uint16_t>(
            static_cast<std::uint32_t>(*static_cast<const ViInt32*>(in)) & 0xFFFFu));
      } else {
        value = static_cast<D>(*static_cast<const ViInt32*>(in));
      }
      return Invoke<S, I, true>(vi, channel, [&](I& i) { return (i.*Setter)(value); });
    }
  });
}

ViStatus GetPrefix(ViSession, ViConstString, void* out, ViInt32 size) {
  return CopyText(0, com::Bstr::FromUtf8("motqr"), size, static_cast<ViChar*>(out));
}

#define MOTQR_REACH_Channel Reach::kChannel
#define MOTQR_REACH_Session Reach::kSession
#define MOTQR_REACH_AnySession Reach::kAnySession
#define MOTQR_SETTER_ReadWrite(Type, Scope, Interface, Property) \
  &SetProperty<AttributeType::k##Type, MOTQR_REACH_##Scope, &Interface::put_##Property>
#define MOTQR_SETTER_ReadOnly(Type, Scope, Interface, Property) nullptr

constexpr Attribute kAttributes[] = {
#define MOTQR_ATTRIBUTE(Id, NAME, Type, Scope, Access, Interface, Property)               \
  {Id, AttributeType::k##Type, MOTQR_REACH_##Scope == Reach::kChannel,                    \
   &GetProperty<AttributeType::k##Type, MOTQR_REACH_##Scope, &Interface::get_##Property>, \
   MOTQR_SETTER_##Access(Type, Scope, Interface, Property)},
#define MOTQR_CONSTANT_ATTRIBUTE(Id, NAME, Text) \
  {Id, AttributeType::kString, false, &GetPrefix, nullptr},
#include "capi/attributes.def"
};

static_assert(std::ranges::is_sorted(kAttributes, {}, &Attribute::id),
              "attribute rows are kept in identifier order");

std::string IdText(ViAttr id) { return std::to_string(id); }

const char* TypeName(AttributeType type) {
  switch (type) {
    case AttributeType::kInt32:
      return "ViInt32";
    case AttributeType::kReal64:
      return "ViReal64";
    case AttributeType::kBoolean:
      return "ViBoolean";
    case AttributeType::kSession:
      return "ViSession";
    case AttributeType::kString:
      return "ViString";
  }
  return "";
}

// Checks what the map can tell before any driver object is involved.
const Attribute* Check(ViSession vi, ViAttr id, AttributeType type, bool setting,
                       ViStatus* status) {
  const Attribute* a = FindAttribute(id);
  if (!a) {
    *status = Fail(vi, kInvalidAttribute, "Attribute ID '" + IdText(id) + "' not recognized.");
  } else if (a->type != type) {
    *status =
        Fail(vi, kTypesDoNotMatch,
             std::string(setting ? "Set" : "Get") + "Attribute" + TypeName(type) +
                 " called for attribute '" + IdText(id) + "' of type '" + TypeName(a->type) + "'.");
  } else if (!setting && !a->get) {
    *status = Fail(vi, kNotReadable, "Attribute '" + IdText(id) + "' is write-only.");
  } else if (setting && !a->set) {
    *status = Fail(vi, kNotWritable, "Attribute '" + IdText(id) + "' is read-only.");
  } else {
    return a;
  }
  return nullptr;
}

}  // namespace

std::span<const Attribute> AllAttributes() { return kAttributes; }

const Attribute* FindAttribute(ViAttr id) {
  static const std::unordered_map<ViAttr, const Attribute*> map = [] {
    std::unordered_map<ViAttr, const Attribute*> m;
    for (const Attribute& a : kAttributes) m.emplace(a.id, &a);
    return m;
  }();
  auto it = map.find(id);
  return it == map.end() ? nullptr : it->second;
}

ViStatus GetAttribute(ViSession vi, ViConstString channel, ViAttr id, AttributeType type,
                      void* value, ViInt32 size) {
  return Guard(vi, [&]() -> ViStatus {
    ViStatus status = 0;
    const Attribute* a = Check(vi, id, type, false, &status);
    return a ? a->get(vi, channel, value, size) : status;
  });
}

ViStatus SetAttribute(ViSession vi, ViConstString channel, ViAttr id, AttributeType type,
                      const void* value) {
  return Guard(vi, [&]() -> ViStatus {
    ViStatus status = 0;
    const Attribute* a = Check(vi, id, type, true, &status);
    return a ? a->set(vi, channel, value) : status;
  });
}

}  // namespace motqr::capi
