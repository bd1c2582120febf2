// motqr ivmap get|set voltage|current <file>: whole I-V maps as binary blocks.
#include "tools/command.h"
#include "tools/iv_file.h"
#include "tools/text_file.h"

namespace motqr::cli {
namespace {

// The members of one of the two maps.
struct MapMembers {
  com::HRESULT (IMorvaneTqrOutputChannelIV::*count)(std::int32_t*);
  com::HRESULT (IMorvaneTqrOutputChannelIV::*get)(com::SAFEARRAY**);
  com::HRESULT (IMorvaneTqrOutputChannelIV::*set)(com::SAFEARRAY*);
};

constexpr MapMembers kVoltageMap{&IMorvaneTqrOutputChannelIV::get_VoltageIVPointCount,
                                 &IMorvaneTqrOutputChannelIV::GetVoltageIVMap,
                                 &IMorvaneTqrOutputChannelIV::SetVoltageIVMap};
constexpr MapMembers kCurrentMap{&IMorvaneTqrOutputChannelIV::get_CurrentIVPointCount,
                                 &IMorvaneTqrOutputChannelIV::GetCurrentIVMap,
                                 &IMorvaneTqrOutputChannelIV::SetCurrentIVMap};

Status Get(Context& c, IMorvaneTqrOutputChannelIV& iv, const MapMembers& map,
           const std::string& path) {
  std::int32_t count = 0;
  MOTQR_CLI_TRY(Check((iv.*map.count)(&count), "point count"));
  std::vector<IvPoint> points;
  if (count > 0) {
    // The block holds the voltage and the current of each point in turn.
    com::SafeArray values =
        com::SafeArray::CreateVector(com::VT_R8, 2 * static_cast<std::uint32_t>(count));
    if (!values) return Status::Failed("out of memory for " + std::to_string(count) + " points");
    com::SAFEARRAY* in_out = values.Get();
    MOTQR_CLI_TRY(Check((iv.*map.get)(&in_out), "read map"));
    const auto numbers = values.Data<double>();
    for (std::size_t i = 0; i + 1 < numbers.size(); i += 2)
      points.push_back({numbers[i], numbers[i + 1]});
  }
  if (path != "-") {
    MOTQR_CLI_TRY(WriteTextFile(path, FormatIvFile(points)));
    c.out().Field("points", Scalar::Integer(static_cast<std::int64_t>(points.size())));
    c.out().Field("file", Scalar::Text(path));
    return Status::Ok();
  }
  if (c.out().style() == Output::Style::kText) return WriteTextFile("-", FormatIvFile(points));
  std::vector<std::vector<Scalar>> rows;
  for (const IvPoint& p : points)
    rows.push_back({Scalar::Number(p.voltage), Scalar::Number(p.current)});
  c.out().Table("points", {"voltage", "current"}, std::move(rows));
  return Status::Ok();
}

Status Set(Context& c, IMorvaneTqrOutputChannelIV& iv, const MapMembers& map,
           const std::string& path) {
  std::string text;
  MOTQR_CLI_TRY(ReadTextFile(path, &text));
  std::vector<IvPoint> points;
  if (Status s = ParseIvFile(text, &points); !s.ok())
    return Status::Usage(path + ": " + s.message());
  com::SafeArray values =
      com::SafeArray::CreateVector(com::VT_R8, 2 * static_cast<std::uint32_t>(points.size()));
  if (!values)
    return Status::Failed("out of memory for " + std::to_string(points.size()) + " points");
  const auto numbers = values.Data<double>();
  for (std::size_t i = 0; i < points.size(); ++i) {
    numbers[2 * i] = points[i].voltage;
    numbers[2 * i + 1] = points[i].current;
  }
  MOTQR_CLI_TRY(Check((iv.*map.set)(values.Get()), "write map"));
  c.out().Field("written", Scalar::Text(path));
  c.out().Field("points", Scalar::Integer(static_cast<std::int64_t>(points.size())));
  return Status::Ok();
}

}  // namespace

Status RunIvMap(Context& c) {
  const auto args = c.args();
  if (args.size() < 2 || args.size() > 3 || (args[0] != "get" && args[0] != "set"))
    return Status::Usage("ivmap get|set voltage|current <file>");
  const MapMembers* map = args[1] == "voltage"   ? &kVoltageMap
                          : args[1] == "current" ? &kCurrentMap
                                                 : nullptr;
  if (!map) return Status::Usage("ivmap takes voltage or current, not '" + args[1] + "'");
  if (args[0] == "set" && args.size() != 3) return Status::Usage("ivmap set needs a file");
  Session* s;
  MOTQR_CLI_TRY(c.OpenSession(&s));
  com::ComPtr<IMorvaneTqrOutputChannelIV> iv;
  MOTQR_CLI_TRY(s->ChannelAs(std::string_view(), &iv));
  const std::string path = args.size() == 3 ? args[2] : "-";
  return args[0] == "get" ? Get(c, *iv, *map, path) : Set(c, *iv, *map, path);
}

}  // namespace motqr::cli
