#include "io/input/scan_format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace motqr::io {
namespace {

using C = ScanClass;

std::vector<C> Classes(std::string_view format) {
  std::vector<ScanDirective> records;
  EXPECT_EQ(CutScanFormat(format, &records), com::S_OK) << format;
  std::vector<C> out;
  for (const auto& r : records) out.push_back(r.cls);
  return out;
}

ScanDirective Only(std::string_view format) {
  std::vector<ScanDirective> records;
  EXPECT_EQ(CutScanFormat(format, &records), com::S_OK) << format;
  EXPECT_EQ(records.size(), 1u) << format;
  return records.empty() ? ScanDirective{} : records[0];
}

// "%bs" is a block followed by the literal "s".
TEST(CutScanFormat, EveryClassAndTheDriverFormats) {
  // clang-format off
  const struct {
    const char* format;
    std::vector<C> classes;
  } cases[] = {
      {"%lf", {C::kReal}}, {"%lf;%lf", {C::kReal, C::kLiteral, C::kReal}}, {"%d", {C::kInteger}},
      {"%hd", {C::kInteger}}, {"%bd", {C::kInteger}}, {"%Id", {C::kInteger}}, {"%@3lf", {C::kReal}},
      {"%@Hx", {C::kInteger}}, {"%,$Sd", {C::kIntegerList}}, {"%,$Slf", {C::kRealList}},
      {"%,$Slf:", {C::kRealList, C::kLiteral}}, {"%(;:)10le", {C::kRealList}},
      {"%$Slb", {C::kBlock}}, {"%#hb", {C::kBlock}}, {"%4!ol$Sly", {C::kRawBinary}},
      {"%5c", {C::kChar}}, {"%$BT", {C::kLine}}, {"%d,%$Ct", {C::kInteger, C::kLiteral, C::kRest}},
      {"%#$Cs", {C::kString}}, {"%$B[^\n]", {C::kCharSet}}, {"%,$S$BQs", {C::kStringList}},
      {"%$C[^,], %$C[^,], %d, %d",
       {C::kCharSet, C::kLiteral, C::kCharSet, C::kLiteral, C::kInteger, C::kLiteral, C::kInteger}},
      {"%{VARIANT_BOOL}[^\n]", {C::kEnumSet}}, {"%{ MorvaneTqrTriggerEnum }s", {C::kEnum}},
      {"%{MorvaneTqrIOPolarityEnum},$Ss", {C::kEnumList}},
      {"a%%b", {C::kLiteral, C::kLiteral, C::kLiteral}}, {"%bs", {C::kBlock, C::kLiteral}},
      {"%*d %*s", {C::kInteger, C::kLiteral, C::kString}}, {"", {}},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(Classes(c.format), c.classes) << c.format;
}

TEST(CutScanFormat, TakesTheDirectivePartsApart) {
  ScanDirective d = Only("%*@H 12 Id");
  EXPECT_TRUE(d.suppress);
  EXPECT_EQ(d.numeric, 'H');
  EXPECT_EQ(d.width.digits, 12);
  EXPECT_EQ(d.size, 'I');

  d = Only("%#,#$Shd");
  EXPECT_EQ(d.width.kind, ScanField::Kind::kArgument);
  EXPECT_EQ(d.count.kind, ScanField::Kind::kArgument);
  EXPECT_TRUE(d.safe_array);
  EXPECT_EQ(d.separators[0], ',');

  d = Only("%(;st)3lf");
  EXPECT_EQ(std::string(d.separators, d.separator_count), "; \t");
  EXPECT_EQ(d.count.digits, 3);

  d = Only("%{VARIANT_BOOL}q[^\n]");
  EXPECT_EQ(d.type_name, "VARIANT_BOOL");
  EXPECT_EQ(d.quote, '\'');
  EXPECT_TRUE(d.set_negated);
  EXPECT_EQ(d.set, "\n");

  d = Only("%12!olIy");
  EXPECT_TRUE(d.little_endian);
  EXPECT_EQ(d.size, 'I');
  EXPECT_EQ(d.width.digits, 12);
}

TEST(CutScanFormat, RefusesTextThatIsNoDirective) {
  for (const char* format : {"%",     "abc%", "%q",   "%ls",  "%lc",   "%Ld",   "%zd",     "%,c",
                             "%,b",   "%$Sd", "%$Bd", "%Qs",  "%{}s",  "%{X}d", "%{X}$Ss", "%[abc",
                             "%(x)d", "%()d", "%@4d", "%@Hb", "%!old", "%hy?%", "%lf;%"}) {
    std::vector<ScanDirective> records(1);
    EXPECT_EQ(CutScanFormat(format, &records), com::E_UNEXPECTED) << format;
    EXPECT_TRUE(records.empty()) << format;
  }
}

}  // namespace
}  // namespace motqr::io
