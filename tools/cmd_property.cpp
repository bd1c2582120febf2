// list, get and set: every property of the tree by its path.
#include <string>

#include "tools/command.h"
#include "tools/property_table.h"

namespace motqr::cli {
namespace {

// The object a row's property lives on: a channel, or the driver object.
Status TargetOf(Session& s, const PropertyRow& row, const PropertyQuery& query,
                com::ComPtr<com::IUnknown>* target) {
  if (row.scope == PropertyRow::Scope::kSession) {
    if (!query.channel.empty())
      return Status::Usage(row.path + " belongs to the instrument, not to a channel");
    *target = com::ComPtr<com::IUnknown>(s.driver());
    return Status::Ok();
  }
  com::ComPtr<IMorvaneTqrOutputChannel> channel;
  MOTQR_CLI_TRY(s.Channel(query.channel, &channel));
  *target = com::ComPtr<com::IUnknown>(channel.Get());
  return Status::Ok();
}

Status Resolve(std::string_view text, PropertyQuery* query, std::vector<const PropertyRow*>* rows) {
  MOTQR_CLI_TRY(ParsePropertyQuery(text, query));
  *rows = FindProperties(query->path);
  if (rows->empty()) {
    std::string message = "no property '" + query->path + "'";
    const std::vector<std::string> near = SimilarPaths(query->path);
    for (std::size_t i = 0; i < near.size(); ++i)
      message += (i == 0 ? "; did you mean " : i + 1 == near.size() ? " or " : ", ") + near[i];
    return Status::Usage(message + (near.empty() ? " ('motqr list' shows them all)" : "?"));
  }
  return Status::Ok();
}

// True when `path` named the one row found rather than a group of rows.
bool NamesOne(const std::vector<const PropertyRow*>& rows, std::string_view path) {
  return rows.size() == 1 && (EqualsIgnoringCase(rows[0]->path, path) ||
                              EqualsIgnoringCase(rows[0]->qualified_name, path));
}

}  // namespace

std::vector<std::string> PropertyWords() {
  std::vector<std::string> words;
  for (const PropertyRow& row : AllProperties()) words.push_back(row.path);
  return words;
}

Status RunList(Context& c) {
  if (c.args().size() > 1) return Status::Usage("list takes at most one group");
  const std::string group = c.args().empty() ? std::string() : ToLower(c.args()[0]);
  std::vector<std::vector<Scalar>> rows;
  for (const PropertyRow& row : AllProperties()) {
    if (!group.empty() && row.path != group && !row.path.starts_with(group + ".")) continue;
    rows.push_back({Scalar::Text(row.path), Scalar::Text(row.write ? "rw" : "ro"),
                    Scalar::Text(row.scope == PropertyRow::Scope::kChannel ? "channel" : "driver"),
                    Scalar::Text(row.qualified_name), Scalar::Text(row.type)});
  }
  if (rows.empty()) return Status::Usage("no property under '" + group + "'");
  c.out().Table("properties", {"path", "access", "on", "member", "values"}, std::move(rows));
  return Status::Ok();
}

Status RunGet(Context& c) {
  if (c.args().empty()) return Status::Usage("get needs a property ('motqr list' shows them)");
  // Every path is checked before the session opens.
  for (const std::string& text : c.args()) {
    PropertyQuery query;
    std::vector<const PropertyRow*> rows;
    MOTQR_CLI_TRY(Resolve(text, &query, &rows));
  }
  Session* s;
  MOTQR_CLI_TRY(c.OpenSession(&s));
  std::vector<std::vector<Scalar>> unread;
  std::size_t read = 0;
  for (const std::string& text : c.args()) {
    PropertyQuery query;
    std::vector<const PropertyRow*> rows;
    MOTQR_CLI_TRY(Resolve(text, &query, &rows));
    const bool group = !NamesOne(rows, query.path);
    for (const PropertyRow* row : rows) {
      if (group && !query.channel.empty() && row->scope != PropertyRow::Scope::kChannel) continue;
      Scalar value;
      com::ComPtr<com::IUnknown> target;
      Status status = TargetOf(*s, *row, query, &target);
      if (status.ok()) status = row->read(target.Get(), row->path, &value);
      if (!status.ok()) {
        if (!group) return status;
        // A group shows what it can read, and lists the rest (class features
        // this instrument lacks, for one) with the driver's message.
        std::string message = status.message();
        if (message.starts_with(row->path + ": ")) message.erase(0, row->path.size() + 2);
        unread.push_back({Scalar::Text(row->path), Scalar::Text(std::move(message))});
        continue;
      }
      if (value.kind == Scalar::Kind::kNumber) value.unit = row->unit;
      c.out().Field(row->path, std::move(value));
      ++read;
    }
  }
  if (!unread.empty()) {
    if (read == 0) return Status::Failed(unread.front()[0].text + ": " + unread.front()[1].text);
    c.out().Table("unread", {"unread", "message"}, std::move(unread));
  }
  return Status::Ok();
}

// The instrument's range for a refused value, as words to add to the failure.
std::string AllowedRange(const PropertyRow& row, com::IUnknown* target) {
  if (!row.range) return {};
  double low = 0, high = 0;
  if (com::Failed(row.range(target, &low, &high))) {
    com::ErrorRecord ignored;
    com::TakeErrorInfo(&ignored);
    return {};
  }
  const std::string unit = row.unit.empty() ? "" : " " + row.unit;
  return "the instrument allows " + FormatReal(low) + unit + " to " + FormatReal(high) + unit;
}

Status RunSet(Context& c) {
  if (c.args().empty() || c.args().size() % 2 != 0)
    return Status::Usage("set takes pairs: <property> <value> [<property> <value> ...]");
  // Every path and value is checked before anything is sent.
  struct Pending {
    PropertyQuery query;
    const PropertyRow* row;
    const std::string* value;
  };
  std::vector<Pending> pending;
  for (std::size_t i = 0; i < c.args().size(); i += 2) {
    Pending p{{}, nullptr, &c.args()[i + 1]};
    std::vector<const PropertyRow*> rows;
    MOTQR_CLI_TRY(Resolve(c.args()[i], &p.query, &rows));
    p.row = rows.front();
    if (!NamesOne(rows, p.query.path))
      return Status::Usage("set needs one property, '" + p.query.path + "' is a group");
    if (!p.row->write) return Status::Usage(p.row->path + " is read-only");
    MOTQR_CLI_TRY(p.row->write(nullptr, p.row->path, *p.value));
    pending.push_back(std::move(p));
  }
  Session* s;
  MOTQR_CLI_TRY(c.OpenSession(&s));
  std::vector<std::string> applied;
  for (std::size_t i = 0; i < pending.size(); ++i) {
    const Pending& p = pending[i];
    com::ComPtr<com::IUnknown> target;
    Status status = TargetOf(*s, *p.row, p.query, &target);
    if (status.ok()) status = p.row->write(target.Get(), p.row->path, *p.value);
    if (status.ok()) {
      applied.push_back(p.row->path + " " + *p.value);
      continue;
    }
    std::string message = status.message();
    if (status.exit_code() == Status::kFailureExit && target) {
      if (const std::string range = AllowedRange(*p.row, target.Get()); !range.empty())
        message += " (" + range + ")";
    }
    // Settings are sent in the order given: say which took effect.
    if (pending.size() > 1) {
      std::string not_applied;
      for (std::size_t j = i; j < pending.size(); ++j)
        not_applied += (j > i ? ", " : "") + pending[j].row->path;
      std::string done;
      for (const std::string& a : applied) done += (done.empty() ? "" : ", ") + a;
      message += "\n  applied: " + (done.empty() ? std::string("none") : done) +
                 "\n  not applied: " + not_applied;
    }
    return status.WithMessage(std::move(message));
  }
  return Status::Ok();
}

}  // namespace motqr::cli
