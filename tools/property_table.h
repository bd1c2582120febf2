// The property table: every property of the driver's object tree under a
// readable path, built from capi/attributes.def (the rows the C attribute
// functions use), so no property or command is listed twice.
//
//   output.voltage-level           IMorvaneTqrOutputChannel.VoltageLevel
//   output.protection.ocp-level    IMorvaneTqrOutputChannelProtection.OCPLevel
//   system.time-zone               IMorvaneTqrSystem.TimeZone
//   dcpwr.output.ovp-limit         IIviDCPwrOutput.OVPLimit (the IviDCPwr class view)
//
// A path is the interface's group and the property's words in lower case,
// joined by '-', without words that repeat the group ("program.loop-count").
// Channel properties take a channel in brackets: output[OutputChannel1].enabled,
// output[1].enabled (by 1-based index).
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/unknown.h"
#include "tools/scalar.h"
#include "tools/status.h"

namespace motqr::cli {

struct PropertyRow {
  enum class Scope { kSession, kChannel };
  using Reader = Status (*)(com::IUnknown* target, std::string_view path, Scalar* value);
  // A null target only checks that `text` is a value of the property.
  using Writer = Status (*)(com::IUnknown* target, std::string_view path, std::string_view text);
  // The instrument's allowed range (its MIN and MAX), where a member asks it.
  using Range = com::HRESULT (*)(com::IUnknown* target, double* low, double* high);

  std::string path;
  std::string qualified_name;  // "IMorvaneTqrOutputChannel.VoltageLevel"
  Scope scope;
  std::string type;  // "real", "on|off", "DC|IV|Pulse|...", ...
  Reader read;
  Writer write;      // null for read-only properties
  Range range;       // null when the driver has no member for it
  std::string unit;  // of a real value: "V", "A", "W", "s", ...; may be empty
};

std::span<const PropertyRow> AllProperties();

// "OCPLevel" -> {"ocp", "level"}: the words of a member name, acronyms kept whole.
std::vector<std::string> SplitWords(std::string_view member_name);
// The path of Interface.Property; empty when the interface has no group.
std::string PropertyPath(std::string_view interface_name, std::string_view property);

// A path the user typed, with its channel taken out of the brackets.
struct PropertyQuery {
  std::string path;
  std::string channel;  // empty: the default channel
};
Status ParsePropertyQuery(std::string_view text, PropertyQuery* query);

// The unit of a real property from the words of its name ("OCPLevel": "A").
std::string UnitOfProperty(std::string_view property);

// The rows a query names: one row by path or qualified name (any letter case),
// or every row under a group ("output.protection"). Empty when none.
// "voltage-response-speed" finds the driver's "voltage-reponse-speed".
std::vector<const PropertyRow*> FindProperties(std::string_view path);
// Paths close to a misspelt one (at most three), closest first.
std::vector<std::string> SimilarPaths(std::string_view path);

}  // namespace motqr::cli
