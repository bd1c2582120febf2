// Walks every member row of every interface: set formats never end in "?",
// query formats do, a min/max query asks for MIN and MAX, directives agree
// with the value type.
#include <gtest/gtest.h>

#include <string_view>

#include "instrument/row_tables.h"

namespace motqr::instrument {
namespace {

bool EndsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

TEST(RowTables, CommandShapes) {
  for (const RowTable& table : AllRowTables()) {
    for (const RowView& row : table.rows) {
      SCOPED_TRACE(std::string(table.interface_name) + "." + row.member);
      if (row.query) {
        EXPECT_NE(std::string_view(row.query).find('?'), std::string_view::npos);
        EXPECT_FALSE(EndsWith(row.query, " ")) << row.query;
      }
      if (row.set) {
        EXPECT_FALSE(EndsWith(row.set, "?")) << row.set;
        EXPECT_EQ(std::string_view(row.set).find("? "), std::string_view::npos) << row.set;
      }
      const std::string_view kind = row.kind;
      if (kind == "property" && std::string_view(row.arguments) == "double") {
        EXPECT_TRUE(EndsWith(row.set, "%0.6lg")) << row.set;
      }
      if (kind == "min/max query") {
        EXPECT_NE(std::string_view(row.query).find("? MIN;"), std::string_view::npos);
        EXPECT_TRUE(EndsWith(row.query, "? MAX"));
      }
    }
  }
}

TEST(RowTables, NoCommandTextAppearsInTwoRowsOfOneInterface) {
  for (const RowTable& table : AllRowTables()) {
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
      for (std::size_t j = i + 1; j < table.rows.size(); ++j) {
        const auto& a = table.rows[i];
        const auto& b = table.rows[j];
        if (a.set && b.set) {
          EXPECT_STRNE(a.set, b.set) << a.member << " / " << b.member;
        }
      }
    }
  }
}

}  // namespace
}  // namespace motqr::instrument
