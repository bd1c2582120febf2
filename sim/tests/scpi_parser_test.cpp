// The SCPI lexer, the path rules and the message framer.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "sim/command_tree.h"
#include "sim/message_framer.h"
#include "sim/scpi_errors.h"
#include "sim/scpi_parser.h"

namespace tqrsim {
namespace {

struct Parsed {
  std::vector<ProgramUnit> units;
  int error = 0;
};

Parsed Parse(std::string_view message) {
  Parsed parsed;
  ScpiParser parser(message);
  ProgramUnit unit;
  int error = 0;
  while (parser.Next(unit, error)) {
    if (error != 0) {
      parsed.error = error;
      break;
    }
    parsed.units.push_back(unit);
  }
  return parsed;
}

std::string PathOf(const ProgramUnit& unit) {
  std::string path;
  for (const HeaderNode& node : unit.nodes) {
    path += ":" + node.name;
    if (node.suffix >= 0) path += std::to_string(node.suffix);
  }
  return path + (unit.query ? "?" : "");
}

// "1500|C:MIN|S:text|T:text|B:bytes|E": numbers, character data, strings, free text, blocks and
// empty items.
std::string ParamsOf(const ProgramUnit& unit) {
  std::ostringstream text;
  text.precision(15);
  for (std::size_t i = 0; i < unit.params.size(); ++i) {
    const Param& param = unit.params[i];
    if (i > 0) text << '|';
    if (param.kind == ParamKind::kNumeric) text << param.number;
    if (param.kind == ParamKind::kCharacter) text << "C:" << param.text;
    if (param.kind == ParamKind::kString) text << "S:" << param.text;
    if (param.kind == ParamKind::kText) text << "T:" << param.text;
    if (param.kind == ParamKind::kBlock) text << "B:" << param.text;
    if (param.kind == ParamKind::kEmpty) text << 'E';
  }
  return text.str();
}

TEST(SimParser, PathRulesFollowThePreviousHeader) {
  Parsed p =
      Parse(":CURR:SLEW? MIN;SLEW? MAX;:VOLT 5;VOLT? ;*OPC;PROT 3;:prog:step3:curr:neg 1;dwel 2");
  ASSERT_EQ(p.error, 0);
  std::vector<std::string> paths;
  for (const ProgramUnit& unit : p.units) paths.push_back(PathOf(unit));
  EXPECT_EQ(paths,
            (std::vector<std::string>{":CURR:SLEW?", ":CURR:SLEW?", ":VOLT", ":VOLT?", ":*OPC",
                                      ":PROT", ":PROG:STEP3:CURR:NEG", ":PROG:STEP3:CURR:DWEL"}));
}

TEST(SimParser, ANewMessageStartsAtTheRoot) {
  Parsed first = Parse(":STAT:OPER:COND?");
  Parsed second = Parse("ENAB 1");
  ASSERT_EQ(second.units.size(), 1u);
  EXPECT_EQ(PathOf(second.units[0]), ":ENAB");
  EXPECT_EQ(PathOf(first.units[0]), ":STAT:OPER:COND?");
}

TEST(SimParser, NumbersKeywordsStringsTextBlocksAndSuffixes) {
  Parsed p = Parse(":MAP12 1.5E+3, -2.5e-3 ,.5 , MIN,#HFF,#B101,+7 e 2");
  ASSERT_EQ(p.error, 0);
  EXPECT_EQ(p.units.at(0).nodes[0].name, "MAP");
  EXPECT_EQ(p.units[0].nodes[0].suffix, 12);
  EXPECT_EQ(ParamsOf(p.units[0]), "1500|-0.0025|0.5|C:MIN|255|5|700");

  p = Parse(R"(:X "say ""hi""",'it''s', Asia/Tokyo, UTC+09:00,,NORM)");
  ASSERT_EQ(p.error, 0);
  EXPECT_EQ(ParamsOf(p.units.at(0)), "S:say \"hi\"|S:it's|T:Asia/Tokyo|T:UTC+09:00|E|C:NORM");

  // Blocks are binary-safe.
  const std::string data("a;\n\"#\0z", 7);
  p = Parse(":DATA #17" + data + ";:NEXT #0raw;bytes");
  ASSERT_EQ(p.error, 0);
  ASSERT_EQ(p.units.size(), 2u);
  EXPECT_EQ(ParamsOf(p.units[0]), "B:" + data);
  EXPECT_EQ(ParamsOf(p.units[1]), "B:raw;bytes");
}

TEST(SimParser, SyntaxErrorsEndTheMessage) {
  struct Case {
    const char* message;
    int error;
  };
  const Case cases[] = {
      {":VOLT,5", kSyntaxError},
      {"::VOLT 1", kSyntaxError},
      {":VOLT 5 V", kSuffixNotAllowed},
      {":ABCDEFGHIJKLM 1", kProgramMnemonicTooLong},
      {":NAME \"open", kInvalidStringData},
      {":DATA #15abc", kInvalidBlockData},
      {":DATA #2x", kInvalidBlockData},
      {":VOLT 1e999", kExponentTooLarge},
      {":STEP-1:DWEL 1", kSyntaxError},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.message).error, c.error) << c.message;
  Parsed p = Parse(":A 1;:B,2;:C 3");
  EXPECT_EQ(p.units.size(), 1u);
}

TEST(SimCommandTree, LongShortOptionalAndSuffixNodes) {
  CommandTree tree;
  int hits = 0;
  tree.Add(
      "[:SOURce]:VOLTage[:LEVel][:IMMediate]", [&](Exec&) { ++hits; }, nullptr);
  tree.Add(
      "PROGram:STEP#:DWELl", [&](Exec&) { ++hits; }, nullptr);
  std::vector<int> suffixes;
  auto find = [&](std::string_view message) {
    ProgramUnit unit;
    int error = 0;
    ScpiParser parser(message);
    parser.Next(unit, error);
    return tree.Find(unit, suffixes);
  };
  EXPECT_NE(find(":voltage 1"), nullptr);
  EXPECT_NE(find(":SOUR:VOLT:LEV:IMM 1"), nullptr);
  EXPECT_NE(find(":volt:imm 1"), nullptr);
  EXPECT_EQ(find(":VOLTA 1"), nullptr);  // neither short nor long form
  EXPECT_EQ(find(":VOLT2 1"), nullptr);  // no suffix on this node
  EXPECT_EQ(find(":VOLT?"), nullptr);    // no query form
  ASSERT_NE(find(":PROG:STEP42:DWEL 1"), nullptr);
  EXPECT_EQ(suffixes, std::vector<int>{42});
  ASSERT_NE(find(":PROGRAM:STEP:DWELL 1"), nullptr);
  EXPECT_EQ(suffixes, std::vector<int>{1});
}

TEST(SimFramer, SplitsMessagesAndKeepsBlockNewlines) {
  MessageFramer framer;
  std::string message;
  bool too_long = false;
  framer.Feed("*IDN?\r\n:DATA #14a\nb");
  ASSERT_TRUE(framer.Take(message, too_long));
  EXPECT_EQ(message, "*IDN?");
  EXPECT_FALSE(framer.Take(message, too_long));
  framer.Feed("\r\n:X \"un\nterminated");
  ASSERT_TRUE(framer.Take(message, too_long));
  EXPECT_EQ(message, ":DATA #14a\nb\r");  // the block's 4th byte is the CR
  ASSERT_TRUE(framer.Take(message, too_long));
  EXPECT_EQ(message, ":X \"un");  // a newline ends an open quote
}

TEST(SimFramer, DropsMessagesOverTheLimit) {
  MessageFramer framer(16);
  std::string message;
  bool too_long = false;
  framer.Feed(std::string(40, 'A'));
  EXPECT_FALSE(framer.Take(message, too_long));
  framer.Feed("AAAA\n*OPC?\n");
  ASSERT_TRUE(framer.Take(message, too_long));
  EXPECT_TRUE(too_long);
  ASSERT_TRUE(framer.Take(message, too_long));
  EXPECT_FALSE(too_long);
  EXPECT_EQ(message, "*OPC?");
}

}  // namespace
}  // namespace tqrsim
