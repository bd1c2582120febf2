// FindEnumConverter: the token table of an enumeration for one interface
// member, found by the enumeration name of a directive and the qualified name
// of the member being executed. The driver object reaches it through its token
// port (commands/enum_token_port.h):
//
//   FindEnumConverter("VARIANT_BOOL", "IMorvaneTqrOutputChannel.Enabled");  // "0"/"1", reads "ON"
//
// Converters are built on first use and live until the module unloads; the
// pointer returned stays valid and may be shared by any thread.
#pragma once

#include <string_view>

#include "commands/enum_command_converter.h"

namespace motqr::commands {

// The converter of `enum_name` (any of its name forms) for `qualified_member`
// ("Interface.Member"; "" for the enumeration's first member), or null when
// the enumeration has no tokens or the member does not convert it. Booleans
// convert "0"/"1" for any member without a table of its own. Building a
// converter can throw std::bad_alloc, which the call frame turns into the
// out-of-memory error; nothing is kept from a failed build.
const IEnumCommandConverter* FindEnumConverter(std::string_view enum_name,
                                               std::string_view qualified_member);

}  // namespace motqr::commands
