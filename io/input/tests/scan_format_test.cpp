#include "io/input/scan_format.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
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

// Kept records read the same as a fresh cut and point into their own copy of the text (the
// caller's may change); past the thread's limit the records come cut into the scratch vector;
// a refused format is refused every time.
TEST(CutScanFormat, KeptRecordsMatchAFreshCut) {
  int kept_count = 0, scratch_count = 0;
  // A thread of its own: its kept formats start empty.
  std::thread([&] {
    for (int round = 0; round < 2; ++round) {
      for (int i = 0; i < 300; ++i) {
        const std::string head = ":VOLT" + std::to_string(i) + " ";
        std::string format = head + "%lf;%[^,],%" + std::to_string(i) + "c";
        std::vector<ScanDirective> fresh, scratch;
        const std::vector<ScanDirective>* records = nullptr;
        ASSERT_EQ(CutScanFormat(format, &fresh), com::S_OK);
        ASSERT_EQ(CutScanFormatCached(format, &scratch, &records), com::S_OK) << format;
        ASSERT_EQ(records->size(), fresh.size());
        for (std::size_t d = 0; d < fresh.size(); ++d) {
          EXPECT_EQ((*records)[d].cls, fresh[d].cls);
          EXPECT_EQ((*records)[d].start, fresh[d].start);
          EXPECT_EQ((*records)[d].text, fresh[d].text);
          EXPECT_EQ((*records)[d].set, fresh[d].set);
          EXPECT_EQ((*records)[d].width.digits, fresh[d].width.digits);
        }
        if (records == &scratch) {
          ++scratch_count;
          continue;
        }
        ++kept_count;
        format.assign(format.size(), '?');
        EXPECT_EQ((*records)[0].text, head) << "views into the kept text";
      }
    }
  }).join();
  EXPECT_EQ(kept_count, 2 * 256) << "the second round finds the first round's formats kept";
  EXPECT_EQ(scratch_count, 2 * (300 - 256)) << "past the limit";
  std::vector<ScanDirective> scratch;
  const std::vector<ScanDirective>* records = nullptr;
  EXPECT_EQ(CutScanFormatCached("%lf;%", &scratch, &records), com::E_UNEXPECTED);
  EXPECT_EQ(CutScanFormatCached("%lf;%", &scratch, &records), com::E_UNEXPECTED);
}

}  // namespace
}  // namespace motqr::io
