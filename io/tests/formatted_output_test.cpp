// The output engine, directive class by directive class: the exact bytes each
// produces through the session's buffer, and every failure it reports.
#include "io/formatted_output.h"

#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cmath>
#include <locale>
#include <string>
#include <thread>
#include <vector>

#include "io/instr_buffer.h"
#include "io/output_directive.h"
#include "io/testing/recording_error_reporter.h"
#include "io/testing/scripted_low_level_io.h"
#include "io/tests/output_test_support.h"

namespace motqr::io {
namespace {

using com::E_INVALIDARG;
using com::E_UNEXPECTED;
using com::S_OK;
using testing::RecordingErrorReporter;
using testing::ScriptedLowLevelIo;
using testing::ShortSink;
using testing::TestEnumFormatter;

struct Output {
  HRESULT hr;
  std::string bytes;  // everything that reached the device or still waits in the buffer
};

class FormattedOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(CInstrBuffer::Create(&io_, &reporter_, "\n", "\n", &buffer_), S_OK);
  }

  // Runs the engine into the session buffer, then sends what is left without END.
  template <class... A>
  Output Run(std::string_view format, const A&... args) {
    io_.ClearRecord();
    Output out{FormatOutput(buffer_.get(), &enums_, format, args...), {}};
    EXPECT_EQ(buffer_->FlushWriteBuffer(false), S_OK);
    out.bytes = io_.WrittenBytes();
    return out;
  }
  template <class... A>
  std::string Text(std::string_view format, const A&... args) {
    Output out = Run(format, args...);
    EXPECT_EQ(out.hr, S_OK) << format;
    return out.bytes;
  }

  ScriptedLowLevelIo io_;
  RecordingErrorReporter reporter_;
  TestEnumFormatter enums_;
  std::unique_ptr<CInstrBuffer> buffer_;
};

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

// ---------------------------------------------------------------- tokenizing

TEST(OutputDirectiveTest, ClassesAreTriedInOrderAtEachPosition) {
  struct Case {
    const char* format;
    std::vector<OutputDirectiveClass> classes;
  };
  using C = OutputDirectiveClass;
  const Case cases[] = {
      {":VOLT %0.6lg", {C::kLiteral, C::kReal}},
      {"%d%%%s", {C::kInteger, C::kLiteral, C::kString}},
      {"% -5hd", {C::kInteger}},
      {"%@H4d%@1lf", {C::kInteger, C::kReal}},
      {"%,3d%(;)*ld%,$Sle", {C::kIntegerList, C::kIntegerList, C::kRealList}},
      {"%$Slb%3B%lb", {C::kBlock, C::kIndefiniteBlock, C::kBlock}},
      {"%4!olhy%y", {C::kRawBinary, C::kRawBinary}},
      {"%-3c%$BQs%,2$Cqs", {C::kChar, C::kString, C::kStringList}},
      {"%{VARIANT_BOOL}s%{ Trigger }-6qs%{VARIANT_BOOL},2s", {C::kEnum, C::kEnum, C::kEnumList}},
  };
  for (const Case& c : cases) {
    ParsedOutputFormat parsed;
    ASSERT_EQ(ParseOutputFormat(c.format, &parsed), S_OK) << c.format;
    std::vector<OutputDirectiveClass> got;
    for (const auto& d : parsed.directives) got.push_back(d.directive_class);
    EXPECT_EQ(got, c.classes) << c.format;
  }
}

TEST(OutputDirectiveTest, TextThatIsNoDirectiveRejectsTheWholeFormat) {
  for (const char* format :
       {"50%", "%q", "%.f", "%,3c", "%(x)3d", "%{}s", "%X", "%5!oxy", "%,3@Hd"}) {
    ParsedOutputFormat parsed;
    EXPECT_EQ(ParseOutputFormat(format, &parsed), E_UNEXPECTED) << format;
    EXPECT_TRUE(parsed.directives.empty());
  }
}

TEST_F(FormattedOutputTest, RejectedFormatWritesNothing) {
  Output out = Run(":VOLT %d;:CURR %", 5);
  EXPECT_EQ(out.hr, E_UNEXPECTED);
  EXPECT_EQ(out.bytes, "");
  EXPECT_EQ(Text("%%"), "%");
  EXPECT_EQ(Run("").hr, S_OK);
}

// ---------------------------------------------------------------- literals and flushing

TEST_F(FormattedOutputTest, LineFeedFlushesWithEnd) {
  io_.ClearRecord();
  EXPECT_EQ(FormatOutput(buffer_.get(), nullptr, ":CURR %f", 1.5), S_OK);
  EXPECT_EQ(buffer_->FlushWriteBuffer(true), S_OK);
  ASSERT_EQ(io_.Writes().size(), 1u);
  EXPECT_EQ(io_.Writes()[0].bytes, ":CURR 1.500000\n");
  EXPECT_TRUE(io_.Writes()[0].end);

  io_.ClearRecord();
  EXPECT_EQ(FormatOutput(buffer_.get(), nullptr, "*CLS\n*RST"), S_OK);
  ASSERT_EQ(io_.Writes().size(), 1u);
  EXPECT_EQ(io_.Writes()[0].bytes, "*CLS\n");
  EXPECT_TRUE(io_.Writes()[0].end);
  EXPECT_EQ(buffer_->WriteCount(), 4);
}

TEST_F(FormattedOutputTest, BytesBeforeAFailureStayBuffered) {
  io_.ClearRecord();
  EXPECT_EQ(FormatOutput(buffer_.get(), &enums_, ":TRIG:SOUR %{MorvaneTqrTriggerEnum}s", 9),
            TestEnumFormatter::kNoToken);
  EXPECT_EQ(io_.WriteCalls(), 0);
  EXPECT_EQ(buffer_->WriteCount(), 11);
}

// ---------------------------------------------------------------- numbers

TEST_F(FormattedOutputTest, IntegersFollowPrintf) {
  EXPECT_EQ(Text(":PROG:STEP%d:DWEL %0.6lg", 3, 0.25), ":PROG:STEP3:DWEL 0.25");
  EXPECT_EQ(Text("[%5d|%-5d|%+d|% d|%05d|%.3d|%8.3d]", 42, 42, 42, 42, -42, 7, -7),
            "[   42|42   |+42| 42|-0042|007|    -007]");
  EXPECT_EQ(Text("%x %o %u %i", 255, 8, -1, -3), "ff 10 4294967295 -3");
  EXPECT_EQ(Text(":STAT:QUES:ENAB %hd", 70000), ":STAT:QUES:ENAB 4464");
  EXPECT_EQ(Text("%hu %bd %bx", -1, 300, -1), "65535 44 ff");
  EXPECT_EQ(Text("%Id %Ix", std::int64_t{1} << 40, std::int64_t{-1}),
            "1099511627776 ffffffffffffffff");
  EXPECT_EQ(Text("%.0d|%5.0d", 0, 0), "|     ");
}

TEST_F(FormattedOutputTest, RealsFollowPrintfInAnyLocale) {
  // A decimal-comma locale (C and C++, where the system has one) must not change the text.
  const char* comma = std::setlocale(LC_ALL, "de_DE.UTF-8");
  struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
  };
  const std::locale previous =
      std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
  EXPECT_EQ(Text("%f|%e|%E|%g|%G", 1.5, 1234.5, 0.00012, 1e-7, 2.5e20),
            "1.500000|1.234500e+03|1.200000E-04|1e-07|2.5E+20");
  EXPECT_EQ(Text("%0.6lg|%0.6lg|%0.6lg|%.0g", 123456789.0, -0.001, 100.0, 0.7),
            "1.23457e+08|-0.001|100|0.7");
  EXPECT_EQ(Text("[%10.3f|%-10.2e|%+.1f|% .1f|%010.2f]", 3.14159, -2.5, 2.0, 2.0, -1.5),
            "[     3.142|-2.50e+00 |+2.0| 2.0|-000001.50]");
  EXPECT_EQ(Text("%f %5f %E", INFINITY, -INFINITY, NAN), "inf  -inf NAN");
  EXPECT_EQ(Text("%Lf %lf", 1, 2), "1.000000 2.000000");  // integers are taken as reals
  std::locale::global(previous);
  if (comma) std::setlocale(LC_ALL, "C");
}

TEST_F(FormattedOutputTest, StarsTakeIntegersBeforeTheValue) {
  EXPECT_EQ(Text("[%*d|%-*d|%*d|%.*f|%0*d]", 4, 7, 3, 7, -3, 7, 2, 1.0, 4, 7),
            "[   7|7  |7  |1.00|0007]");
  EXPECT_EQ(Run("%*d", 1.5, 7).hr, kFormatArgTypeMismatch);
  EXPECT_EQ(Run("%*d", 5000, 7).hr, E_INVALIDARG);  // width beyond any field
}

TEST_F(FormattedOutputTest, NumericFormats) {
  // NR1 adds 0.5 and truncates toward zero.
  EXPECT_EQ(Text("%@1lf|%@1f|%@1d|%@1lf|%@1lf|%@1lf", 2.5, 2.4, 17, -2.5, -2.3, -0.7),
            "3|2|17|-2|-1|0");
  EXPECT_EQ(Text("%@2lf|%@2.2d|%@3lf|%@3.2d", 2.5, 3, 2.5, 1500),
            "2.500000|3.00|2.500000E+00|1.50E+03");
  // #H and #Q: two padding characters make room for the prefix.
  EXPECT_EQ(Text("[%@H4d|%@Hd|%@H6d|%-@H6d|%@H.4d|%@H1d]", 26, 26, 26, 26, 26, 26),
            "[#H1A|#H1A|  #H1A|#H1A  |#H001A|#H1A]");
  EXPECT_EQ(Text("[%@Qd|%@Q5d|%-@Q3d]", 8, 8, 8), "[#Q10| #Q10|#Q10]");
  EXPECT_EQ(Text("%@Hlf", 25.7), "#H1A");
  // #B: digits, precision, width with blanks or zeros.
  EXPECT_EQ(Text("[%@Bd|%@B.8d|%@B08d|%@B8d|%-@B8d|%@Bd]", 5, 5, 5, 5, 5, 0),
            "[#B101|#B00000101|#B000101|   #B101|#B101   |#B0]");
}

// ---------------------------------------------------------------- lists

TEST_F(FormattedOutputTest, ListsWriteSeparatedElements) {
  const std::int32_t values[] = {1, 2, 3};
  EXPECT_EQ(Run("%,d", values).hr, E_UNEXPECTED);  // a pointer needs a count
  EXPECT_EQ(Text("%,3d", &values[0]), "1,2,3");
  EXPECT_EQ(Text("%(;)3d|%(s)2d|%(n)2d|%(:)*d", values, values, values, 3, values),
            "1;2;3|1 2|1\n2|1:2:3");
  EXPECT_EQ(Text("%,0d", values), "");
  EXPECT_EQ(Text("%@H,3d", values), "#H1,#H2,#H3");
  const double reals[] = {0.5, -1.25};
  const float floats[] = {0.5f, 4.0f};
  EXPECT_EQ(Text("%,2lf %.1,2f", reals, floats), "0.500000,-1.250000 0.5,4.0");
  const std::int16_t shorts[] = {-1, 2};
  const std::uint8_t bytes[] = {200, 7};
  EXPECT_EQ(Text("%,2hd %,2bd", shorts, bytes), "-1,2 200,7");
}

TEST_F(FormattedOutputTest, ListArgumentsAreChecked) {
  const std::int32_t values[] = {1, 2, 3};
  const std::int32_t* null = nullptr;
  EXPECT_EQ(Run("%,3d", null).hr, E_INVALIDARG);
  EXPECT_EQ(Run("%,3lf", values).hr, kFormatArgTypeMismatch);
  EXPECT_EQ(Run("%,4d", std::vector<std::int32_t>{1, 2, 3}).hr, E_INVALIDARG);
  EXPECT_EQ(Run("%,*d", -1, values).hr, E_INVALIDARG);
  EXPECT_EQ(Run("%,3d").hr, kFormatArgMissing);
}

TEST_F(FormattedOutputTest, SafeArrayLists) {
  com::SafeArray doubles = com::SafeArray::CreateVector(com::VT_R8, 3);
  auto d = doubles.Data<double>();
  d[0] = 1;
  d[1] = 2.5;
  d[2] = -3;
  EXPECT_EQ(Text("%,$Sle", doubles), "1.000000e+00,2.500000e+00,-3.000000e+00");
  EXPECT_EQ(Text("%,2$Slg|%,9$Slg|%,0$Slg", doubles, doubles, doubles), "1,2.5|1,2.5,-3|1,2.5,-3");
  com::SafeArray floats = com::SafeArray::CreateVector(com::VT_R4, 3);
  EXPECT_EQ(Run("%,$Sle", floats).hr, E_INVALIDARG);
  com::SafeArray based = com::SafeArray::CreateVector(com::VT_R8, 3, 1);
  EXPECT_EQ(Run("%,$Sle", based).hr, E_INVALIDARG);
  com::SafeArray ints = com::SafeArray::CreateVector(com::VT_I4, 2);
  EXPECT_EQ(Run("%,$Sle", ints).hr, E_INVALIDARG);
  EXPECT_EQ(Text("%,$Sd", ints), "0,0");
}

// ---------------------------------------------------------------- blocks and raw binary

TEST_F(FormattedOutputTest, DefiniteBlockIsBigEndianWhileSwapping) {
  com::SafeArray map = com::SafeArray::CreateVector(com::VT_I4, 4);
  auto v = map.Data<std::int32_t>();
  v[0] = 1;
  v[1] = 0x01020304;
  v[2] = -1;
  v[3] = 256;
  const std::string data = Bytes({0, 0, 0, 1, 1, 2, 3, 4, 255, 255, 255, 255, 0, 0, 1, 0});
  EXPECT_EQ(Text(":CURR:IV:DATA %$Slb", map), ":CURR:IV:DATA #216" + data);
  buffer_->SetSwapBytes(false);
  EXPECT_EQ(Text("%2$Slb", map), "#18" + Bytes({1, 0, 0, 0, 4, 3, 2, 1}));
}

TEST_F(FormattedOutputTest, BlocksOfEachElementSize) {
  const std::uint8_t bytes[] = {'a', 'b', 'c'};
  const std::int16_t shorts[] = {0x0102};
  const double reals[] = {1.0};
  const std::int64_t longs[] = {2};
  EXPECT_EQ(Text("%3b|%3B|%0b", bytes, bytes, bytes), "#13abc|#0abc\n|#10");
  EXPECT_EQ(Text("%1hb%1Zb%1Ib", shorts, reals, longs),
            "#12" + Bytes({1, 2}) + "#18" + Bytes({0x3f, 0xf0, 0, 0, 0, 0, 0, 0}) + "#18" +
                Bytes({0, 0, 0, 0, 0, 0, 0, 2}));
  std::vector<std::uint8_t> big(1000, 'x');
  EXPECT_EQ(Text("%1000b", big), "#41000" + std::string(1000, 'x'));
  EXPECT_EQ(Run("%b", bytes).hr, E_UNEXPECTED);
  EXPECT_EQ(Run("%3lb", bytes).hr, kFormatArgTypeMismatch);
  com::SafeArray words = com::SafeArray::CreateVector(com::VT_I2, 3);
  EXPECT_EQ(Text("%$Slb", words), "#14" + Bytes({0, 0, 0, 0}));  // whole elements only
  // A safe array gives its element count (upper bound + 1), or the directive's
  // count when smaller, 0 included -- elements of the directive's size.
  com::SafeArray three = com::SafeArray::CreateVector(com::VT_UI1, 3);
  std::copy_n("xyz", 3, three.Data<char>().begin());
  EXPECT_EQ(Text("%0$Sb|%$Sb|%2$Sb|%9$Sb", three, three, three, three), "#10|#13xyz|#12xy|#13xyz");
  com::SafeArray words32 = com::SafeArray::CreateVector(com::VT_I4, 4);
  words32.Data<std::int32_t>()[0] = 0x41424344;
  EXPECT_EQ(Text("%$Sb", words32), "#14DCBA");
  EXPECT_EQ(Text("%0$Sy|%2$Sy", three, three), "|xy");
}

TEST_F(FormattedOutputTest, ABlockEndingInTheTerminationStillGetsItsTermination) {
  // The last data byte equals the write termination: it is data, and the
  // message still ends with a termination of its own.
  const std::uint8_t data[] = {0, 0, 0, '\n'};
  for (std::size_t capacity : {std::size_t{4096}, std::size_t{8}, std::size_t{4}}) {
    ASSERT_EQ(buffer_->SetBufferSize(1, static_cast<std::int32_t>(capacity)), S_OK);
    io_.ClearRecord();
    ASSERT_EQ(FormatOutput(buffer_.get(), nullptr, ":VOLT:IV:DATA %4b", data), S_OK);
    ASSERT_EQ(buffer_->FlushWriteBuffer(true), S_OK);
    EXPECT_EQ(io_.WrittenBytes(), ":VOLT:IV:DATA #14" + Bytes({0, 0, 0, '\n', '\n'}))
        << "write buffer of " << capacity;
    EXPECT_TRUE(io_.Writes().back().end);
  }
  // Text that ends with the termination is not given a second one.
  io_.ClearRecord();
  ASSERT_EQ(FormatOutput(buffer_.get(), nullptr, "*CLS\n"), S_OK);
  ASSERT_EQ(buffer_->FlushWriteBuffer(true), S_OK);
  EXPECT_EQ(io_.WrittenBytes(), "*CLS\n");
}

TEST_F(FormattedOutputTest, RawBinaryIgnoresSwapBytes) {
  const std::int16_t shorts[] = {0x0102, 0x0304};
  buffer_->SetSwapBytes(false);
  EXPECT_EQ(Text("%2hy|%2!obhy|%2!olhy", shorts, shorts, shorts),
            Bytes({1, 2, 3, 4}) + "|" + Bytes({1, 2, 3, 4}) + "|" + Bytes({2, 1, 4, 3}));
  const std::int32_t longs[] = {0x01020304};
  EXPECT_EQ(Text("%1ly%1!olly", longs, longs), Bytes({1, 2, 3, 4, 4, 3, 2, 1}));
}

// ---------------------------------------------------------------- characters and strings

TEST_F(FormattedOutputTest, CharactersAndStrings) {
  EXPECT_EQ(Text("%c|%3c|%-3c|%c", 'A', 'B', 'C', 0x141), "A|  B|C  |A");
  EXPECT_EQ(Text("[%s|%6s|%-6s|%.2s|%*s]", "VOLT", "VOLT", "VOLT", "VOLT", 5, "ab"),
            "[VOLT|  VOLT|VOLT  |VO|   ab]");
  const com::Bstr ab(u"AB");
  EXPECT_EQ(Text(":PROG:NAME %$BQs", ab), ":PROG:NAME \"AB\"");
  EXPECT_EQ(Text(":PROG:REN %$Bqs", ab), ":PROG:REN 'AB'");
  EXPECT_EQ(Text("%$Bs|%$Bs", u"\u00b5s", nullptr), "\xc2\xb5s|");
  EXPECT_EQ(Text("%$Cs|%.3Qs|%6qs", std::string("x y"), std::string("abc"), "it's"),
            "x y|\"ab|'it's'");
}

TEST_F(FormattedOutputTest, StringArgumentsAreChecked) {
  const char* null = nullptr;
  EXPECT_EQ(Run("%s", null).hr, E_INVALIDARG);
  EXPECT_EQ(Run("%s", 5).hr, kFormatArgTypeMismatch);
  EXPECT_EQ(Run("%$Bs", "narrow").hr, kFormatArgTypeMismatch);
  EXPECT_EQ(Run("%c", "A").hr, kFormatArgTypeMismatch);
  EXPECT_EQ(Run("%c", 0).hr, E_UNEXPECTED);  // text cannot carry a zero byte; %y can
  EXPECT_EQ(Run("%s", std::string("a\0b", 3)).hr, E_UNEXPECTED);
}

TEST_F(FormattedOutputTest, StringLists) {
  const char* names[] = {"CH1", "CH2"};
  EXPECT_EQ(Text("%,2s|%(;)2Qs", names, names), "CH1,CH2|\"CH1\";\"CH2\"");
  const std::string objects[] = {"a", "b", "c"};
  EXPECT_EQ(Text("%,3$Cs", objects), "a,b,c");
  com::SafeArray wide = com::SafeArray::CreateVector(com::VT_BSTR, 2);
  const std::int32_t i0 = 0, i1 = 1;
  ASSERT_EQ(com::SafeArrayPutElement(wide.Get(), &i0, com::Bstr(u"x").Get()), S_OK);
  ASSERT_EQ(com::SafeArrayPutElement(wide.Get(), &i1, com::Bstr(u"y").Get()), S_OK);
  EXPECT_EQ(Text("%,$S$Bs|%,$Bqs", wide, wide), "x,y|'x','y'");
  EXPECT_EQ(Run("%,$Ss", wide).hr, E_UNEXPECTED);  // $S needs $B
  const char* with_null[] = {"a", nullptr};
  EXPECT_EQ(Run("%,2s", with_null).hr, E_INVALIDARG);
}

// ---------------------------------------------------------------- enumerations

TEST_F(FormattedOutputTest, EnumerationsBecomeTokens) {
  EXPECT_EQ(Text(":SYST:KLOC %{VARIANT_BOOL}s", com::VARIANT_TRUE), ":SYST:KLOC 1");
  EXPECT_EQ(Text("%{VARIANT_BOOL}s", 0x1FFFF), "1");  // booleans are 16-bit values
  const char* kStepCurrent = ":PROG:STEP%d:CURR%{MorvaneTqrPositiveNegativeEnum}s %0.6lg";
  EXPECT_EQ(Text(kStepCurrent, 3, 0, 1.5), ":PROG:STEP3:CURR 1.5");
  EXPECT_EQ(Text(kStepCurrent, 3, 1, 1.5), ":PROG:STEP3:CURR:NEG 1.5");
  EXPECT_EQ(Text("%{ MorvaneTqrTriggerEnum }-5qs|", 1), "'BUS'|");
  EXPECT_EQ(Run("%{MorvaneTqrTriggerEnum}s", 4).hr, TestEnumFormatter::kNoToken);
  io_.ClearRecord();
  EXPECT_EQ(FormatOutput(buffer_.get(), nullptr, "%{VARIANT_BOOL}s", 1), E_INVALIDARG);
}

TEST_F(FormattedOutputTest, EnumerationLists) {
  const std::int16_t flags[] = {0, -1, 1};
  EXPECT_EQ(Text("%{VARIANT_BOOL},3s", flags), "0,1,1");
  com::SafeArray triggers = com::SafeArray::CreateVector(com::VT_I4, 2);
  triggers.Data<std::int32_t>()[1] = 3;
  EXPECT_EQ(Text("%{MorvaneTqrTriggerEnum}(;)$Ss", triggers), "IMM;MSYN");
  EXPECT_EQ(Run("%{MorvaneTqrTriggerEnum},3s", flags).hr, kFormatArgTypeMismatch);
  EXPECT_EQ(Run("%{VARIANT_BOOL},$Ss", triggers).hr, E_INVALIDARG);
}

// ---------------------------------------------------------------- sinks and string mode

TEST(FormatStringTest, ListsBlocksAndBinaryWriteNothingAndTakeNoArgument) {
  TestEnumFormatter enums;
  std::string text = ">";
  EXPECT_EQ(FormatString(&text, &enums, ":MEAS:%{VARIANT_BOOL}s%,3d%3b%2y%,2s%{VARIANT_BOOL},*s?%d",
                         1, 7),
            S_OK);
  EXPECT_EQ(text, ">:MEAS:1?7");
}

TEST(FormatStringTest, FailureRows) {
  std::string text;
  EXPECT_EQ(FormatString(nullptr, nullptr, "x"), E_INVALIDARG);
  EXPECT_EQ(FormatOutputV(nullptr, nullptr, "x", {}), E_INVALIDARG);
  EXPECT_EQ(FormatString(&text, nullptr, "%d %d", 1), kFormatArgMissing);
  EXPECT_EQ(text, "1 ");
  ShortSink sink(3);
  EXPECT_EQ(FormatOutput(&sink, nullptr, "%d", 12345), E_UNEXPECTED);
  EXPECT_EQ(FormatOutput(&sink, nullptr, "%5b", std::vector<std::uint8_t>{1, 2, 3, 4, 5}),
            E_UNEXPECTED);
}

TEST(FormatStringTest, ArgumentCheckFindsMismatchesWithoutTables) {
  const std::int32_t list[] = {1, 2};
  EXPECT_EQ(CheckFormatArguments(":PROG:STEP%d:CURR%{MorvaneTqrPositiveNegativeEnum}s %0.6lg",
                                 MakeFormatArgs(3, 1, 0.5), false),
            S_OK);
  EXPECT_EQ(CheckFormatArguments(":VOLT %0.6lg", MakeFormatArgs("5"), false),
            kFormatArgTypeMismatch);
  EXPECT_EQ(CheckFormatArguments(":VOLT %0.6lg", MakeFormatArgs(), false), kFormatArgMissing);
  EXPECT_EQ(CheckFormatArguments(":VOLT %0.6lg", MakeFormatArgs(1.0, 2), false), kFormatArgUnused);
  EXPECT_EQ(CheckFormatArguments("%,2d", MakeFormatArgs(list), false), S_OK);
  EXPECT_EQ(CheckFormatArguments("%,2d", MakeFormatArgs(list), true), kFormatArgUnused);
}

TEST(FormatStringTest, ParallelCallersShareTheFormatCache) {
  std::vector<std::thread> threads;
  std::array<bool, 4> ok{};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &ok] {
      bool good = true;
      for (int i = 0; i < 500; ++i) {
        std::string text;
        const std::string format = ":PROG:STEP%d:DWEL %0.6lg;" + std::to_string(i % 50);
        good &= FormatString(&text, nullptr, format, t, 0.5) == S_OK &&
                text == ":PROG:STEP" + std::to_string(t) + ":DWEL 0.5;" + std::to_string(i % 50);
      }
      ok[static_cast<std::size_t>(t)] = good;
    });
  }
  for (auto& th : threads) th.join();
  for (bool good : ok) EXPECT_TRUE(good);
}

}  // namespace
}  // namespace motqr::io
