// Fills a message text's inserts (%1 to %99) from a list of strings, as the
// message-table formatter does.
//
//   std::string out, why;
//   std::string_view args[] = {"get_Cache", "val"};
//   ExpandInserts("Null pointer passed for method '%1', parameter '%2'.", args, &out, &why);
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace motqr::errors {

// Appends `pattern` to `out` with each %N replaced by inserts[N-1] and %% by a
// single percent sign; insert text is copied as it is, never expanded again,
// except that an insert ending in a period loses it where the text itself
// puts a period right after the insert.
// Any other percent sign is copied unchanged. Returns false, with `reason`
// saying why, when the pattern refers to an insert that was not given; `out`
// then holds a partial text. May throw std::bad_alloc.
bool ExpandInserts(std::string_view pattern, std::span<const std::string_view> inserts,
                   std::string* out, std::string* reason);

// Removes leading and trailing spaces, tabs, carriage returns and line feeds.
std::string_view TrimWhiteSpace(std::string_view text);

}  // namespace motqr::errors
