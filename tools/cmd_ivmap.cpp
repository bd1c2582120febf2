// motqr ivmap get|set voltage|current <file>: whole I-V maps as binary blocks.
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "tools/command.h"
#include "tools/iv_file.h"
#include "tools/text_file.h"

namespace motqr::cli {
namespace {

// The members of one of the two maps, and the values its words carry. A map
// travels as 32-bit words of micro-volts and micro-amperes: written as signed
// words; the voltage map reads back signed, the current map unsigned. A value
// outside [low_word, high_word] (micro-units) would not read back as written
// (the driver sends a value beyond the signed range as 0).
struct MapMembers {
  com::HRESULT (IMorvaneTqrOutputChannelIV::*count)(std::int32_t*);
  com::HRESULT (IMorvaneTqrOutputChannelIV::*get)(com::SAFEARRAY**);
  com::HRESULT (IMorvaneTqrOutputChannelIV::*set)(com::SAFEARRAY*);
  std::int64_t low_word;
  std::int64_t high_word;
};

constexpr std::int64_t kWordMin = INT32_MIN, kWordMax = INT32_MAX;
constexpr MapMembers kVoltageMap{&IMorvaneTqrOutputChannelIV::get_VoltageIVPointCount,
                                 &IMorvaneTqrOutputChannelIV::GetVoltageIVMap,
                                 &IMorvaneTqrOutputChannelIV::SetVoltageIVMap, kWordMin, kWordMax};
constexpr MapMembers kCurrentMap{&IMorvaneTqrOutputChannelIV::get_CurrentIVPointCount,
                                 &IMorvaneTqrOutputChannelIV::GetCurrentIVMap,
                                 &IMorvaneTqrOutputChannelIV::SetCurrentIVMap, 0, kWordMax};

std::string MicroText(std::int64_t micro) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", static_cast<double>(micro) / 1e6);
  return text;
}

// Whether `value` rounds (halves away from zero) to a micro-unit word the map
// holds and reads back.
bool Representable(double value, const MapMembers& map) {
  if (!std::isfinite(value) || std::fabs(value) > 1e7) return false;
  const long long word = std::llround(value * 1e6);
  return word >= map.low_word && word <= map.high_word;
}

// Every value of the file is checked before anything is sent.
Status CheckRepresentable(const std::string& path, const std::vector<IvPoint>& points,
                          const MapMembers& map, std::string_view map_name) {
  for (const IvPoint& p : points) {
    const char* column = !Representable(p.voltage, map)   ? "voltage"
                         : !Representable(p.current, map) ? "current"
                                                          : nullptr;
    if (!column) continue;
    const double value = column[0] == 'v' ? p.voltage : p.current;
    return Status::Usage(path + ": line " + std::to_string(p.line) + ": " + column + " " +
                         FormatReal(value) + " does not fit the " + std::string(map_name) +
                         " map, which holds " + MicroText(map.low_word) + " to " +
                         MicroText(map.high_word) + " (nothing was written)");
  }
  return Status::Ok();
}

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

// Reads the points of a map file, every value checked.
Status ReadMapFile(const std::string& path, const MapMembers& map, std::string_view map_name,
                   std::vector<IvPoint>* points) {
  std::string text;
  MOTQR_CLI_TRY(ReadTextFile(path, &text));
  if (Status s = ParseIvFile(text, points); !s.ok())
    return Status::Usage(path + ": " + s.message());
  return CheckRepresentable(path, *points, map, map_name);
}

Status Set(Context& c, IMorvaneTqrOutputChannelIV& iv, const MapMembers& map,
           const std::vector<IvPoint>& points, const std::string& path) {
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
  // The file is read and checked before the session opens.
  std::vector<IvPoint> points;
  if (args[0] == "set") MOTQR_CLI_TRY(ReadMapFile(args[2], *map, args[1], &points));
  Session* s;
  MOTQR_CLI_TRY(c.OpenSession(&s));
  com::ComPtr<IMorvaneTqrOutputChannelIV> iv;
  MOTQR_CLI_TRY(s->ChannelAs(std::string_view(), &iv));
  const std::string path = args.size() == 3 ? args[2] : "-";
  return args[0] == "get" ? Get(c, *iv, *map, path) : Set(c, *iv, *map, points, path);
}

}  // namespace motqr::cli
