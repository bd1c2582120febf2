// FindEnumConverter: the command tables' driver::EnumConverterFinder. The
// driver object calls it for every enumeration directive with the enumeration
// name of the directive and the qualified name of the member being executed:
//
//   auto driver = std::make_unique<MyDriver>(clsid, sessions, &commands::FindEnumConverter);
//   FindEnumConverter("VARIANT_BOOL", "IMorvaneTqrOutputChannel.Enabled");  // "0"/"1", reads "ON"
//
// Converters are built on first use and live until the module unloads; the
// pointer returned stays valid and may be shared by any thread.
#pragma once

#include <string_view>
#include <type_traits>

#include "driver/enum_command_converter.h"

namespace motqr::commands {

// The converter of `enum_name` (any of its name forms) for `qualified_member`
// ("Interface.Member"; "" for the enumeration's first member), or null when
// the enumeration has no tokens or the member does not convert it. Booleans
// convert "0"/"1" for any member without a table of its own. Building a
// converter can throw std::bad_alloc, which the call frame turns into the
// out-of-memory error; nothing is kept from a failed build.
const driver::IEnumCommandConverter* FindEnumConverter(std::string_view enum_name,
                                                       std::string_view qualified_member);

static_assert(std::is_same_v<decltype(&FindEnumConverter), driver::EnumConverterFinder>);

}  // namespace motqr::commands
