// System settings that are more than a table row: clock and time zone, diagnostics,
// digital I/O lists, setting memories and the integration data logger.
#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "sim/commands.h"
#include "sim/exec.h"
#include "sim/instrument.h"
#include "sim/number_format.h"

namespace tqrsim {
namespace {

constexpr double kSecondsPerDay = 86400.0;

constexpr std::array<std::string_view, 27> kOffsetZones{
    "UTC-12:00", "UTC-11:00", "UTC-10:00", "UTC-09:00", "UTC-08:00", "UTC-07:00", "UTC-06:00",
    "UTC-05:00", "UTC-04:00", "UTC-03:00", "UTC-02:00", "UTC-01:00", "UTC+00:00", "UTC+01:00",
    "UTC+02:00", "UTC+03:00", "UTC+04:00", "UTC+05:00", "UTC+06:00", "UTC+07:00", "UTC+08:00",
    "UTC+09:00", "UTC+10:00", "UTC+11:00", "UTC+12:00", "UTC+13:00", "UTC+14:00"};
constexpr std::array<std::string_view, 14> kRegionZones{"UTC",
                                                        "Europe/London",
                                                        "Europe/Berlin",
                                                        "Europe/Moscow",
                                                        "Asia/Kolkata",
                                                        "Asia/Shanghai",
                                                        "Asia/Tokyo",
                                                        "Australia/Sydney",
                                                        "Pacific/Auckland",
                                                        "America/Sao_Paulo",
                                                        "America/New_York",
                                                        "America/Chicago",
                                                        "America/Denver",
                                                        "America/Los_Angeles"};

template <std::size_t N>
const std::string_view* FindZone(const std::array<std::string_view, N>& zones,
                                 std::string_view name) {
  std::string wanted = Upper(name);
  for (const std::string_view& zone : zones) {
    if (Upper(zone) == wanted) return &zone;
  }
  return nullptr;
}

template <std::size_t N>
std::string JoinZones(const std::array<std::string_view, N>& zones) {
  std::string text;
  for (std::string_view zone : zones) {
    if (!text.empty()) text += ',';
    text += zone;
  }
  return text;
}

struct WallParts {
  std::int64_t days;
  double seconds_of_day;
};

WallParts SplitWall(double wall) {
  double days = std::floor(wall / kSecondsPerDay);
  return {static_cast<std::int64_t>(days), wall - days * kSecondsPerDay};
}

void SetDate(Exec& e) {
  if (!e.ExpectParams(3, 3)) return;
  auto year = e.Integer(0, 1970, 2099, 2024);
  auto month = e.Integer(1, 1, 12, 1);
  auto day = e.Integer(2, 1, 31, 1);
  if (!year || !month || !day) return;
  CivilDate date{*year, *month, *day};
  if (!IsValidDate(date)) return e.Error(kDataOutOfRange);
  WallParts now = SplitWall(e.model().WallSeconds());
  e.model().SetWallSeconds(static_cast<double>(DaysFromCivil(date)) * kSecondsPerDay +
                           now.seconds_of_day);
}

void QueryDate(Exec& e) {
  if (!e.NoParams()) return;
  CivilDate date = CivilFromDays(SplitWall(e.model().WallSeconds()).days);
  e.Reply(FormatInt(date.year) + "," + FormatInt(date.month) + "," + FormatInt(date.day));
}

void SetTime(Exec& e) {
  if (!e.ExpectParams(3, 3)) return;
  auto hour = e.Integer(0, 0, 23, 0);
  auto minute = e.Integer(1, 0, 59, 0);
  auto second = e.Integer(2, 0, 59, 0);
  if (!hour || !minute || !second) return;
  WallParts now = SplitWall(e.model().WallSeconds());
  e.model().SetWallSeconds(static_cast<double>(now.days) * kSecondsPerDay + *hour * 3600.0 +
                           *minute * 60.0 + *second);
}

void QueryTime(Exec& e) {
  if (!e.NoParams()) return;
  auto seconds = static_cast<long long>(SplitWall(e.model().WallSeconds()).seconds_of_day);
  e.Reply(FormatInt(seconds / 3600) + "," + FormatInt(seconds / 60 % 60) + "," +
          FormatInt(seconds % 60));
}

void SetTimeZone(Exec& e) {
  if (!e.ExpectParams(1, 1)) return;
  std::optional<std::string> name = e.Word(0);
  if (!name) return;
  const std::string_view* zone = FindZone(kOffsetZones, *name);
  if (zone == nullptr) zone = FindZone(kRegionZones, *name);
  if (zone == nullptr) return e.Error(kIllegalParameterValue);
  e.model().system().time_zone = std::string(*zone);
}

using IoList = std::array<int, kIoTerminals>& (*)(SystemSettings&);

// One token per terminal; an empty item leaves its terminal as it is.
void AddIoList(CommandTree& tree, const std::string& pattern, TokenList tokens, IoList list) {
  tree.Add(
      pattern,
      [tokens, list](Exec& e) {
        if (!e.ExpectParams(1, kIoTerminals, true)) return;
        std::array<int, kIoTerminals> values = list(e.model().system());
        for (std::size_t i = 0; i < e.param_count(); ++i) {
          if (e.unit().params[i].kind == ParamKind::kEmpty) continue;
          std::optional<int> token = e.Token(i, tokens);
          if (!token) return;
          values[i] = *token;
        }
        list(e.model().system()) = values;
      },
      [tokens, list](Exec& e) {
        if (!e.NoParams()) return;
        const auto& values = list(e.model().system());
        for (std::size_t i = 0; i < values.size(); ++i) {
          if (i > 0) e.Reply(",");
          e.ReplyToken(tokens, values[i]);
        }
      });
}

void RegisterClock(CommandTree& tree) {
  tree.Add("SYSTem:DATE", SetDate, QueryDate);
  tree.Add("SYSTem:TIME", SetTime, QueryTime);
  tree.Add(
      "SYSTem:TIME:ADJust",
      [](Exec& e) {
        if (e.NoParams()) e.model().SyncWallClock();
      },
      nullptr);
  tree.Add("SYSTem:TZONe", SetTimeZone, [](Exec& e) {
    if (e.NoParams()) e.Reply(e.model().system().time_zone);
  });
  tree.Add("SYSTem:TZONe:CATalog", nullptr, [](Exec& e) {
    if (!e.ExpectParams(1, 1)) return;
    std::optional<int> group = e.Token(0, kTimeZoneGroupTokens);
    if (group) e.Reply(*group == 0 ? JoinZones(kOffsetZones) : JoinZones(kRegionZones));
  });
}

void RegisterDiagnostics(CommandTree& tree) {
  tree.Add("SYSTem:PARAllel:UNIT:COUNt", nullptr, [](Exec& e) {
    if (e.NoParams()) e.ReplyInt(1);
  });
  tree.Add("SYSTem:MSYNc[:STATe]", nullptr, [](Exec& e) {
    if (e.NoParams()) e.ReplyInt(0);
  });
  tree.Add("DIAGnostic:FIRMware:VERSion", nullptr, [](Exec& e) {
    if (e.NoParams()) e.Reply(e.instrument().firmware());
  });
  // Input power from the AC line: the output power over an 85 % efficiency plus 40 W idle.
  tree.Add("DIAGnostic:LINE:POWer", nullptr, [](Exec& e) {
    if (!e.NoParams()) return;
    double watts = std::fabs(e.model().Point().watts()) / 0.85 + 40.0;
    e.ReplyReal(std::round(watts * 10.0) / 10.0);
  });
}

void RegisterIo(CommandTree& tree) {
  AddIoList(tree, "IO:INPut:FILTer", kIoFilterTokens,
            [](SystemSettings& s) -> std::array<int, kIoTerminals>& { return s.io_input_filter; });
  AddIoList(
      tree, "IO:INPut:FUNCtion", kIoInputFunctionTokens,
      [](SystemSettings& s) -> std::array<int, kIoTerminals>& { return s.io_input_function; });
  AddIoList(
      tree, "IO:INPut:POLarity", kIoPolarityTokens,
      [](SystemSettings& s) -> std::array<int, kIoTerminals>& { return s.io_input_polarity; });
  AddIoList(
      tree, "IO:OUTPut:FUNCtion", kIoOutputFunctionTokens,
      [](SystemSettings& s) -> std::array<int, kIoTerminals>& { return s.io_output_function; });
  AddIoList(
      tree, "IO:OUTPut:POLarity", kIoPolarityTokens,
      [](SystemSettings& s) -> std::array<int, kIoTerminals>& { return s.io_output_polarity; });
}

void RegisterMemory(CommandTree& tree) {
  tree.Add(
      "MEMory:CLEar",
      [](Exec& e) {
        if (e.NoParams()) e.model().FactoryDefault();
      },
      nullptr);
  tree.Add(
      "MEMory:RECall",
      [](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        auto number = e.Integer(0, 1, InstrumentModel::kMemories, 1);
        if (number) e.model().RecallMemory(*number);
      },
      nullptr);
  tree.Add(
      "MEMory:SAVE",
      [](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        auto number = e.Integer(0, 1, InstrumentModel::kMemories, 1);
        if (number) e.model().SaveMemory(*number);
      },
      nullptr);
}

void RegisterData(CommandTree& tree) {
  tree.Add(
      "DATA:INTegral:RESet",
      [](Exec& e) {
        if (e.NoParams()) e.model().ResetIntegral();
      },
      nullptr);
  tree.Add(
      "DATA:INTegral:STARt",
      [](Exec& e) {
        if (!e.NoParams()) return;
        if (int rc = e.model().StartIntegral(); rc != 0) e.Error(rc);
      },
      nullptr);
  tree.Add(
      "DATA:INTegral:STOP",
      [](Exec& e) {
        if (!e.NoParams()) return;
        if (int rc = e.model().StopIntegral(); rc != 0) e.Error(rc);
      },
      nullptr);
  // Hands over the oldest logged values (an empty reply when there are none).
  tree.Add("DATA:REMove", nullptr, [](Exec& e) {
    if (!e.ExpectParams(1, 1)) return;
    auto count = e.Integer(0, 1, static_cast<int>(e.model().data_capacity()), 1);
    if (!count) return;
    std::string text;
    for (double value : e.model().RemoveData(static_cast<std::size_t>(*count))) {
      if (!text.empty()) text += ',';
      text += FormatReal(value);
    }
    e.Reply(text);
  });
  tree.Add("DATA:REMove:POINts", nullptr, [](Exec& e) {
    if (e.NoParams()) e.ReplyInt(static_cast<long long>(e.model().data_points()));
  });
}

}  // namespace

void RegisterSystemCommands(CommandTree& tree) {
  RegisterClock(tree);
  RegisterDiagnostics(tree);
  RegisterIo(tree);
  RegisterMemory(tree);
  RegisterData(tree);
}

}  // namespace tqrsim
