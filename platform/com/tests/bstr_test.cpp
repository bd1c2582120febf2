#include "platform/com/bstr.h"

#include <gtest/gtest.h>

namespace motqr::com {
namespace {

TEST(Bstr, NullIsNotEmptyButReadsAsEmpty) {
  Bstr null_text;
  Bstr empty(u"");
  EXPECT_TRUE(null_text.IsNull());
  EXPECT_FALSE(empty.IsNull());
  EXPECT_EQ(null_text.size(), 0u);
  EXPECT_EQ(empty.size(), 0u);
  EXPECT_EQ(empty.Get()[0], u'\0');
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
}

TEST(Bstr, KeepsEmbeddedZerosAndLength) {
  const char16_t text[] = {u'a', 0, u'b'};
  Bstr b(std::u16string_view(text, 3));
  EXPECT_EQ(b.size(), 3u);
  EXPECT_EQ(b.View(), std::u16string_view(text, 3));
  EXPECT_EQ(b.Get()[3], 0);  // always terminated
  Bstr copy = b;
  EXPECT_NE(copy.Get(), b.Get());
  EXPECT_EQ(copy.View(), b.View());
}

TEST(Bstr, Utf8RoundTripIncludingSurrogatePairs) {
  const std::string text = "Ohm \xCE\xA9, micro \xC2\xB5, note \xF0\x9D\x84\x9E";
  Bstr b = Bstr::FromUtf8(text);
  EXPECT_EQ(b.ToUtf8(), text);
  EXPECT_EQ(b.size(), 23u);  // the last character takes two code units
}

TEST(Bstr, InvalidUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), u"\uFFFD\uFFFD");  // truncated sequence
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD");        // overlong form
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");  // lone surrogate
}

TEST(Bstr, OutParameterSlotFreesPreviousValue) {
  Bstr b = Bstr::FromUtf8("first");
  BSTR* slot = b.Put();
  EXPECT_EQ(*slot, nullptr);
  *slot = SysAllocString(u"second");
  EXPECT_EQ(b.ToUtf8(), "second");
  BSTR raw = b.Detach();
  EXPECT_TRUE(b.IsNull());
  SysFreeString(raw);
}

}  // namespace
}  // namespace motqr::com
