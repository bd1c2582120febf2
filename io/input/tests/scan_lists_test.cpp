// Lists of numbers, text and enum tokens into caller arrays and new safe arrays.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/input/tests/scan_test_support.h"

namespace motqr::io::testing {
namespace {

template <class T>
std::vector<T> Elements(com::SAFEARRAY* array, com::VARTYPE vt) {
  EXPECT_NE(array, nullptr);
  if (array == nullptr) return {};
  EXPECT_EQ(array->vt, vt);
  EXPECT_EQ(com::SafeArrayGetDim(array), 1u);
  EXPECT_EQ(array->rgsabound[0].lLbound, 0);
  const T* data = static_cast<const T*>(array->pvData);
  return std::vector<T>(data, data + array->rgsabound[0].cElements);
}

std::vector<std::u16string> Strings(com::SAFEARRAY* array) {
  std::vector<std::u16string> out;
  for (com::BSTR s : Elements<com::BSTR>(array, com::VT_BSTR)) {
    out.emplace_back(com::BstrView(s));
  }
  return out;
}

TEST(ScanList, NewSafeArrayStopsAtTheFirstNonSeparator) {
  MemoryReplyBuffer reply("1.5,2.5,3.5;4.5");
  com::SAFEARRAY* values = com::SafeArrayCreateVector(com::VT_R8, 0, 7);  // destroyed by Scan
  EXPECT_EQ(Scan(reply, nullptr, "%,$Sle", &values), S_MORE_DATA);
  EXPECT_EQ(Elements<double>(values, com::VT_R8), (std::vector<double>{1.5, 2.5, 3.5}));
  com::SafeArrayDestroy(values);
  EXPECT_EQ(reply.rest(), ";4.5");
}

TEST(ScanList, ElementTypesFollowTheSize) {
  com::SafeArray a;
  EXPECT_EQ(ScanReply("1,-2", "%,$Sd", a.Put()), S_OK);
  EXPECT_EQ(Elements<std::int32_t>(a.Get(), com::VT_I4), (std::vector<std::int32_t>{1, -2}));
  EXPECT_EQ(ScanReply("1,-2", "%,$Shd", a.Put()), S_OK);
  EXPECT_EQ(Elements<std::int16_t>(a.Get(), com::VT_I2), (std::vector<std::int16_t>{1, -2}));
  EXPECT_EQ(ScanReply("1,255", "%,$Sbd", a.Put()), S_OK);
  EXPECT_EQ(Elements<std::uint8_t>(a.Get(), com::VT_UI1), (std::vector<std::uint8_t>{1, 255}));
  EXPECT_EQ(ScanReply("1,-2", "%,$SId", a.Put()), S_OK);
  EXPECT_EQ(Elements<std::int64_t>(a.Get(), com::VT_I8), (std::vector<std::int64_t>{1, -2}));
  EXPECT_EQ(ScanReply("1,-2.5", "%,$Sf", a.Put()), S_OK);
  EXPECT_EQ(Elements<float>(a.Get(), com::VT_R4), (std::vector<float>{1, -2.5f}));
  EXPECT_EQ(ScanReply("1,40000", "%,$Shd", a.Put()), E_UNEXPECTED);
  EXPECT_EQ(ScanReply("1,x", "%,$Sd", a.Put()), E_UNEXPECTED);
}

TEST(ScanList, SeparatorsSpaceAndTheEndsOfTheList) {
  com::SafeArray a;
  EXPECT_EQ(ScanReply("1;2:3", "%(;:)$Sd", a.Put()), S_OK);
  EXPECT_EQ(Elements<std::int32_t>(a.Get(), com::VT_I4), (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_EQ(ScanReply("1 2\t3", "%(st)$Sd", a.Put()), S_OK);
  EXPECT_EQ(Elements<std::int32_t>(a.Get(), com::VT_I4), (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_EQ(ScanReply("1 , 2 ,3", "%,$Sd", a.Put()), S_OK);
  EXPECT_EQ(a.size(), 3u);
  // An empty response holds an empty list; a trailing separator ends it.
  EXPECT_EQ(ScanReply("", "%,$Slf", a.Put()), S_OK);
  EXPECT_EQ(Elements<double>(a.Get(), com::VT_R8).size(), 0u);
  EXPECT_EQ(ScanReply("1,2,", "%,$Slf", a.Put()), S_OK);
  EXPECT_EQ(a.size(), 2u);
  // The list, then literal text after it.
  std::int32_t tail = 0;
  EXPECT_EQ(ScanReply("1,2:9", "%,$Slf:%d", a.Put(), &tail), S_OK);
  EXPECT_EQ(tail, 9);
}

TEST(ScanList, CallerArrayIsBoundedByCountAndSpan) {
  MemoryReplyBuffer reply("1,2,3,4");
  std::int32_t three[3] = {};
  EXPECT_EQ(Scan(reply, nullptr, "%,3d", three), S_MORE_DATA);
  EXPECT_EQ(three[2], 3);
  EXPECT_EQ(reply.rest(), ",4");

  double five[5] = {};
  std::int32_t n = 5;
  EXPECT_EQ(ScanReply("1,2", "%,#lf", &n, five), S_OK);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(five[1], 2);

  // A count beyond the array is held to the array.
  std::int32_t two[2] = {};
  reply.Reset("7,8,9");
  EXPECT_EQ(Scan(reply, nullptr, "%,10d", two), S_MORE_DATA);
  EXPECT_EQ(two[1], 8);
  EXPECT_EQ(reply.rest(), ",9");

  // Without a count a caller array cannot be bounded.
  reply.Reset("1,2");
  EXPECT_EQ(Scan(reply, nullptr, "%,d", two), E_UNEXPECTED);
  EXPECT_EQ(reply.position(), 0u);
}

TEST(ScanList, GrowthStopsAtTheCap) {
  std::string reply;
  reply.reserve(static_cast<std::size_t>(kMaxListElements) * 2 + 2);
  for (std::int64_t i = 0; i <= kMaxListElements; ++i) reply += "0,";
  reply += "0";
  com::SafeArray a;
  EXPECT_EQ(ScanReply(reply, "%,$Sbd", a.Put()), E_OUTOFMEMORY);
  EXPECT_FALSE(a);
}

TEST(ScanStringList, QuotedElementsKeepSeparatorsAndDoubledQuotes) {
  com::SafeArray names;
  EXPECT_EQ(ScanReply("\"PROG A\",\"B,C\" , \"say \"\"hi\"\"\"", "%,$S$BQs", names.Put()), S_OK);
  EXPECT_EQ(Strings(names.Get()), (std::vector<std::u16string>{u"PROG A", u"B,C", u"say \"hi\""}));
  EXPECT_EQ(ScanReply("UTC,Asia/Tokyo, EST", "%,$S$Bs", names.Put()), S_OK);
  EXPECT_EQ(Strings(names.Get()), (std::vector<std::u16string>{u"UTC", u"Asia/Tokyo", u"EST"}));
}

TEST(ScanStringList, IntoCallerArraysOfEachKind) {
  std::string objects[2];
  EXPECT_EQ(ScanReply("ab,cd,ef", "%,2$Cs", objects), S_MORE_DATA);
  EXPECT_EQ(objects[1], "cd");

  char first[4], second[4];
  std::span<char> buffers[2] = {first, second};
  EXPECT_EQ(ScanReply("ABCDE,FG", "%,2s", buffers), S_OK);
  EXPECT_STREQ(first, "ABC");
  EXPECT_STREQ(second, "FG");

  com::BSTR wide[2] = {com::SysAllocString(u"old"), nullptr};
  EXPECT_EQ(ScanReply("x,y", "%,2$Bs", wide), S_OK);
  EXPECT_EQ(com::BstrView(wide[0]), u"x");
  EXPECT_EQ(com::BstrView(wide[1]), u"y");
  for (com::BSTR s : wide) com::SysFreeString(s);
}

TEST(ScanEnumList, TokensBecomeValues) {
  com::SafeArray a;
  EXPECT_EQ(ScanReply("NORM,INV,NORM", "%{MorvaneTqrIOPolarityEnum},$Ss", a.Put()), S_OK);
  EXPECT_EQ(Elements<std::int32_t>(a.Get(), com::VT_I4), (std::vector<std::int32_t>{0, 1, 0}));
  EXPECT_EQ(ScanReply("ON,0", "%{VARIANT_BOOL},$Ss", a.Put()), S_OK);
  EXPECT_EQ(Elements<std::int16_t>(a.Get(), com::VT_I2), (std::vector<std::int16_t>{-1, 0}));
  std::int32_t two[2] = {};
  EXPECT_EQ(ScanReply("INV,NORM", "%{MorvaneTqrIOPolarityEnum},2s", two), S_OK);
  EXPECT_EQ(two[0], 1);
  EXPECT_EQ(ScanReply("NORM,BAD", "%{MorvaneTqrIOPolarityEnum},$Ss", a.Put()),
            FakeEnums::kUnknownToken);
}

}  // namespace
}  // namespace motqr::io::testing
