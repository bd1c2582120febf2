// Writes every member row of the driver to the file named by its argument, one a
// line, tab-separated:
// interface, member, query, reply format, set format, simulated (yes/no).
// "-" stands for an absent text. The binding generator reads it for the
// docstrings.
#include <cstdio>

#include "instrument/row_tables.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::FILE* out = std::fopen(argv[1], "w");
  if (!out) return 1;
  auto text = [](const char* s) { return s ? s : "-"; };
  for (const auto& table : motqr::instrument::AllRowTables()) {
    for (const auto& row : table.rows) {
      std::fprintf(out, "%s\t%s\t%s\t%s\t%s\t%s\n", table.interface_name, row.member,
                   text(row.query), text(row.reply), text(row.set),
                   row.sim == motqr::driver::Sim::kYes ? "yes" : "no");
    }
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
