// The table machinery on its own: rows, model keys and the converter.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "commands/enum_command.h"
#include "commands/enum_command_converter.h"
#include "commands/model_based_map.h"

namespace motqr::commands {
namespace {

enum Colour : std::int32_t { kRed = 0, kGreen = 1, kBlue = 2 };

using Commands = std::vector<std::unique_ptr<CEnumCommand<Colour>>>;

template <std::size_t N>
std::unique_ptr<CEnumCommand<Colour>> Command(std::string_view key,
                                              const EnumEntry<Colour> (&rows)[N]) {
  return std::make_unique<CEnumCommand<Colour>>(key, rows);
}

std::string Write(const IEnumCommandConverter& c, std::string_view model, std::int32_t value) {
  std::string token = "<none>";
  return c.GetCommand(model, value, &token) ? token : "<none>";
}

std::int32_t Read(const IEnumCommandConverter& c, std::string_view model, std::string_view reply) {
  std::int32_t value = -99;
  return c.GetValue(model, reply, &value) ? value : -99;
}

constexpr EnumEntry<Colour> kRows[] = {
    {kRed, {"RED", "R"}},
    {kGreen, {}},
    {kBlue, {"BLUE", "R"}},
};

TEST(EnumCommand, RowsGiveCommandsAndEveryTokenReadsBackLaterRowWinning) {
  const CEnumCommand<Colour> command("", kRows);
  ASSERT_NE(command.FindCommand(kRed), nullptr);
  EXPECT_EQ(*command.FindCommand(kRed), "RED");
  EXPECT_EQ(command.FindValue("RED"), kRed);
  EXPECT_EQ(command.FindValue("R"), kBlue);  // shared by two rows: the later one
  // A row without tokens writes "" and cannot be read back.
  ASSERT_NE(command.FindCommand(kGreen), nullptr);
  EXPECT_EQ(*command.FindCommand(kGreen), "");
  EXPECT_FALSE(command.FindValue(""));
  EXPECT_EQ(command.FindCommand(static_cast<Colour>(7)), nullptr);
  EXPECT_EQ(command.MaxCommandLength(), 4u);
}

TEST(EnumCommandConverter, ReadsTrimmedRepliesExactlyAndCaseSensitively) {
  Commands commands;
  commands.push_back(Command("", kRows));
  const CEnumCommandConverter<Colour> c(std::move(commands));
  EXPECT_EQ(Read(c, "TQR-M1", " \t\v\fBLUE\r\n"), kBlue);
  EXPECT_EQ(Read(c, "TQR-M1", "blue"), -99);
  EXPECT_EQ(Read(c, "TQR-M1", "BLU"), -99);
  EXPECT_EQ(Read(c, "TQR-M1", "BLUE X"), -99);
  EXPECT_EQ(Read(c, "TQR-M1", " \n "), -99);
  EXPECT_EQ(Read(c, "TQR-M1", std::string_view("BLUE\0", 5)), -99);
  EXPECT_EQ(Write(c, "", kGreen), "");
  EXPECT_EQ(Write(c, "", 3), "<none>");
  EXPECT_EQ(c.GetMaxCommandLength(), 4);
}

TEST(EnumCommandConverter, BooleanValuesOutsideShortHaveNoRow) {
  constexpr EnumEntry<short> kBool[] = {{1, {"1"}}, {-1, {"1"}}, {0, {"0"}}};
  const auto c = MakeDefaultConverter<short>(kBool);
  EXPECT_EQ(Write(*c, "", -1), "1");
  EXPECT_EQ(Write(*c, "", 65535), "<none>");  // would alias -1 if narrowed
  EXPECT_EQ(Write(*c, "", 65536), "<none>");  // would alias 0 if narrowed
  EXPECT_EQ(Read(*c, "", "1"), -1);
}

constexpr EnumEntry<Colour> kDefaultRows[] = {{kRed, {"DEFAULT"}}};
constexpr EnumEntry<Colour> kFamilyRows[] = {{kRed, {"FAMILY"}}};
constexpr EnumEntry<Colour> kM3Rows[] = {{kRed, {"M3"}}, {kBlue, {"M3-LONGEST"}}};

TEST(ModelBasedMap, LooksUpModelThenDefaultAndExpandsFamiliesAroundOwnEntries) {
  Commands commands;
  commands.push_back(Command("DefaultFamily", kFamilyRows));  // before the model: still yields
  commands.push_back(Command("TQR-M3", kM3Rows));
  commands.push_back(Command("TQR-M9", kDefaultRows));  // neither model nor family: ignored
  commands.push_back(Command("tqr-m5", kDefaultRows));  // keys are case-sensitive: ignored
  const CEnumCommandConverter<Colour> c(std::move(commands));
  EXPECT_EQ(Write(c, "TQR-M3", kRed), "M3");
  for (const char* model : {"TQR-M1", "TQR-M2", "TQR-M4", "TQR-M5", "TQR-M6", "TQR-M7"})
    EXPECT_EQ(Write(c, model, kRed), "FAMILY") << model;
  // No default entry: other models, and ignored keys, find no table at all.
  EXPECT_EQ(Write(c, "", kRed), "<none>");
  EXPECT_EQ(Write(c, "TQR-M9", kRed), "<none>");
  EXPECT_EQ(Read(c, "TQR-M9", "DEFAULT"), -99);
  EXPECT_EQ(Read(c, "TQR-M3", "FAMILY"), -99);
  EXPECT_EQ(Read(c, "TQR-M2", "FAMILY"), kRed);
  // The longest command over every table, ignored ones included.
  EXPECT_EQ(c.GetMaxCommandLength(), 10);

  Commands with_default;
  with_default.push_back(Command("TQR-M3", kM3Rows));
  with_default.push_back(Command("", kDefaultRows));
  const CEnumCommandConverter<Colour> d(std::move(with_default));
  EXPECT_EQ(Write(d, "TQR-M3", kRed), "M3");
  EXPECT_EQ(Write(d, "TQR-M6", kRed), "DEFAULT");
  EXPECT_EQ(Write(d, "", kRed), "DEFAULT");
  EXPECT_EQ(Write(d, "anything", kRed), "DEFAULT");
  // The model's own table decides, even when only the default has the value.
  EXPECT_EQ(Write(d, "TQR-M3", kGreen), "<none>");
}

// An entry that gives way when a family is spread over its model.
class YieldingCommand : public CEnumCommand<Colour> {
 public:
  using CEnumCommand::CEnumCommand;
  bool KeepsExistingModelEntry() const override { return false; }
};

TEST(ModelBasedMap, AnEntryThatDoesNotStayIsReplacedByTheFamily) {
  Commands commands;
  commands.push_back(std::make_unique<YieldingCommand>("TQR-M3", kM3Rows));
  commands.push_back(Command("TQR-M4", kM3Rows));
  commands.push_back(Command("DefaultFamily", kFamilyRows));
  const CEnumCommandConverter<Colour> c(std::move(commands));
  EXPECT_EQ(Write(c, "TQR-M3", kRed), "FAMILY");
  EXPECT_EQ(Write(c, "TQR-M4", kRed), "M3");
  EXPECT_EQ(ModelsOfFamily("DefaultFamily").size(), 7u);
  EXPECT_TRUE(ModelsOfFamily("NoSuchFamily").empty());
}

}  // namespace
}  // namespace motqr::commands
