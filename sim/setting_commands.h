// Turns setting table rows into set and query handlers. `Access` finds the settings the
// row acts on (or reports why there are none and returns null).
#pragma once

#include "sim/command_tree.h"
#include "sim/exec.h"
#include "sim/instrument_model.h"
#include "sim/setting_tables.h"

namespace tqrsim {

template <typename S>
using Access = S* (*)(Exec&);

template <typename S>
void AddRow(CommandTree& tree, const RealRow<S>& row, Access<S> access) {
  tree.Add(
      row.pattern,
      [row, access](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        std::optional<double> value = e.Real(0, RowLimits(row, e.model().ratings()));
        if (!value) return;
        if (S* target = access(e)) row.field(*target) = *value;
      },
      [row, access](Exec& e) {
        if (e.ReplyLimitQuery(RowLimits(row, e.model().ratings()))) return;
        if (S* target = access(e)) e.ReplyReal(row.field(*target));
      });
}

template <typename S>
void AddRow(CommandTree& tree, const IntRow<S>& row, Access<S> access) {
  tree.Add(
      row.pattern,
      [row, access](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        std::optional<int> value = e.Integer(0, row.min, row.max, row.def);
        if (!value) return;
        if (S* target = access(e)) row.field(*target) = *value;
      },
      [row, access](Exec& e) {
        Limits limits{static_cast<double>(row.min), static_cast<double>(row.max),
                      static_cast<double>(row.def)};
        if (e.ReplyLimitQuery(limits)) return;
        if (S* target = access(e)) e.ReplyInt(row.field(*target));
      });
}

template <typename S>
void AddRow(CommandTree& tree, const BoolRow<S>& row, Access<S> access) {
  tree.Add(
      row.pattern,
      [row, access](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        std::optional<bool> value = e.Boolean(0);
        if (!value) return;
        if (S* target = access(e)) row.field(*target) = *value;
      },
      [row, access](Exec& e) {
        if (!e.NoParams()) return;
        if (S* target = access(e)) e.ReplyBool(row.field(*target));
      });
}

template <typename S>
void AddRow(CommandTree& tree, const EnumRow<S>& row, Access<S> access) {
  tree.Add(
      row.pattern,
      [row, access](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        std::optional<int> value = e.Token(0, row.tokens);
        if (!value) return;
        if (S* target = access(e)) row.field(*target) = *value;
      },
      [row, access](Exec& e) {
        if (!e.NoParams()) return;
        if (S* target = access(e)) e.ReplyToken(row.tokens, row.field(*target));
      });
}

template <typename S, typename Rows>
void AddRows(CommandTree& tree, const Rows& rows, Access<S> access) {
  for (const auto& row : rows) AddRow<S>(tree, row, access);
}

}  // namespace tqrsim
