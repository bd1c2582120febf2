#include "instrument/member_listing.h"

#include "instrument/row_tables.h"

namespace motqr::instrument {
namespace {

void Field(std::string* out, const char* text) {
  out->push_back('\t');
  for (const char* c = text ? text : ""; *c; ++c) {
    if (*c == '\n') {
      *out += "\\n";
    } else if (*c == '\t') {
      *out += "\\t";
    } else {
      out->push_back(*c);
    }
  }
}

}  // namespace

std::string MemberListing() {
  std::string out;
  for (const RowTable& table : AllRowTables()) {
    for (const RowView& row : table.rows) {
      out += table.interface_name;
      Field(&out, row.member);
      Field(&out, row.kind);
      Field(&out, row.arguments);
      Field(&out, row.results);
      Field(&out, row.query);
      Field(&out, row.reply);
      Field(&out, row.set);
      Field(&out, row.sim == driver::Sim::kYes ? "sim" : "-");
      out.push_back('\n');
    }
  }
  return out;
}

}  // namespace motqr::instrument
