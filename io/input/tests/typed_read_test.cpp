// The session's typed number reads: range checks per destination with their
// messages, truncation toward zero, and the discard flag.
#include "io/input/typed_read.h"

#include <gtest/gtest.h>

#include "io/input/testing/memory_reply_buffer.h"
#include "io/testing/recording_error_reporter.h"

namespace motqr::io::testing {
namespace {

using com::S_OK;

template <class T>
HRESULT Read(const char* reply, T* value, RecordingErrorReporter* reporter) {
  MemoryReplyBuffer buffer(reply);
  return ReadNumber(buffer, *reporter, false, value);
}

TEST(ReadNumber, ValuesOutsideTheDestinationAreReportedWithTheValue) {
  RecordingErrorReporter reporter;
  std::uint8_t b = 0;
  std::int16_t h = 0;
  std::int32_t l = 0;
  float f = 0;
  const struct {
    HRESULT hr;
    const char* text;
  } cases[] = {
      {Read("300", &b, &reporter),
       "Overflow or underflow reading value of '3.000000e+02' into a BYTE."},
      {Read("-0.5", &b, &reporter),
       "Overflow or underflow reading value of '-5.000000e-01' into a BYTE."},
      {Read("-40000", &h, &reporter),
       "Overflow or underflow reading value of '-4.000000e+04' into a short."},
      {Read("3E9", &l, &reporter),
       "Overflow or underflow reading value of '3.000000e+09' into a long."},
      {Read("1e39", &f, &reporter),
       "Overflow or underflow reading value of '1.000000e+39' into a single-precision float."},
      {Read("-1e-39", &f, &reporter),
       "Overflow or underflow reading value of '-1.000000e-39' into a single-precision float."},
  };
  ASSERT_EQ(reporter.Reports().size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].hr, RecordingErrorReporter::kIoError);
    EXPECT_EQ(reporter.Reports()[i].kind, "IoError");
    EXPECT_EQ(reporter.Reports()[i].extra, cases[i].text);
  }
}

TEST(ReadNumber, StoresTruncatedTowardZero) {
  RecordingErrorReporter reporter;
  std::int16_t h = 0;
  EXPECT_EQ(Read("-12.7", &h, &reporter), S_OK);
  EXPECT_EQ(h, -12);
  std::uint8_t b = 0;
  EXPECT_EQ(Read("255", &b, &reporter), S_OK);
  EXPECT_EQ(b, 255);
  float f = 1;
  EXPECT_EQ(Read("1e-310", &f, &reporter), S_OK);  // below every float: zero
  EXPECT_EQ(f, 0);
  double d = 0;
  EXPECT_EQ(Read(" 9.91E37", &d, &reporter), S_OK);
  EXPECT_EQ(d, 9.91e37);
  EXPECT_TRUE(reporter.Empty());
  EXPECT_EQ(Read("V", &d, &reporter), com::E_UNEXPECTED);
}

TEST(ReadNumber, TheDiscardFlagDropsTheRestOfTheResponse) {
  RecordingErrorReporter reporter;
  MemoryReplyBuffer buffer("5,6,7");
  std::int32_t v = 0;
  EXPECT_EQ(ReadNumber(buffer, reporter, true, &v), S_OK);
  EXPECT_EQ(v, 5);
  EXPECT_EQ(buffer.rest(), "");
}

}  // namespace
}  // namespace motqr::io::testing
