#include "platform/com/variant.h"

#include <gtest/gtest.h>

#include <clocale>

namespace motqr::com {
namespace {

VARIANT Convert(const Variant& from, VARTYPE vt, HRESULT* hr) {
  VARIANT out;
  VariantInit(&out);
  *hr = VariantChangeType(&out, from.Get(), 0, vt);
  return out;
}

TEST(Variant, NumberTextIgnoresTheProcessLocale) {
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = old ? old : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(Variant::Double(1.5).ToText(), "1.5");
  HRESULT hr;
  VARIANT d = Convert(Variant::Text("2.25"), VT_R8, &hr);
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(d.dblVal, 2.25);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Variant, NarrowingChecksRange) {
  HRESULT hr;
  VARIANT v = Convert(Variant::Int32(70000), VT_I2, &hr);
  EXPECT_EQ(hr, DISP_E_OVERFLOW);
  v = Convert(Variant::Int32(-1), VT_UI1, &hr);
  EXPECT_EQ(hr, DISP_E_OVERFLOW);
  v = Convert(Variant::Double(2.5), VT_I4, &hr);
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(v.lVal, 2);  // half to even
  v = Convert(Variant::Text("12abc"), VT_I4, &hr);
  EXPECT_EQ(hr, DISP_E_TYPEMISMATCH);
}

TEST(Variant, BooleansAndText) {
  EXPECT_EQ(Variant::Bool(true).ToText(), "True");
  HRESULT hr;
  VARIANT b = Convert(Variant::Text("True"), VT_BOOL, &hr);
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(b.boolVal, VARIANT_TRUE);
  b = Convert(Variant::Int32(0), VT_BOOL, &hr);
  EXPECT_EQ(b.boolVal, VARIANT_FALSE);
}

TEST(Variant, CopyDuplicatesOwnedData) {
  Variant a = Variant::Text("abc");
  Variant b = a;
  EXPECT_NE(a.Get()->bstrVal, b.Get()->bstrVal);
  EXPECT_EQ(b.ToText(), "abc");
  Variant arr;
  arr.Get()->vt = VT_ARRAY | VT_R8;
  arr.Get()->parray = SafeArrayCreateVector(VT_R8, 0, 3);
  Variant arr_copy = arr;
  EXPECT_NE(arr_copy.Get()->parray, arr.Get()->parray);
  EXPECT_EQ(SafeArrayElementCount(arr_copy.Get()->parray), 3u);
}

}  // namespace
}  // namespace motqr::com
