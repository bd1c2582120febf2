#include "platform/com/safearray.h"

#include <gtest/gtest.h>

#include "platform/com/variant.h"

namespace motqr::com {
namespace {

TEST(SafeArray, VectorBoundsAndData) {
  SafeArray a = SafeArray::CreateVector(VT_R8, 4, 1);
  ASSERT_TRUE(a);
  std::int32_t lo = 0, hi = 0;
  EXPECT_EQ(SafeArrayGetLBound(a.Get(), 1, &lo), S_OK);
  EXPECT_EQ(SafeArrayGetUBound(a.Get(), 1, &hi), S_OK);
  EXPECT_EQ(lo, 1);
  EXPECT_EQ(hi, 4);
  EXPECT_EQ(SafeArrayGetLBound(a.Get(), 2, &lo), DISP_E_BADINDEX);
  auto data = a.Data<double>();
  ASSERT_EQ(data.size(), 4u);
  for (double d : data) EXPECT_EQ(d, 0.0);  // zero-filled
  EXPECT_TRUE(a.Data<float>().empty());     // wrong element size gives nothing
  const double v = 2.5;
  const std::int32_t index = 4;
  EXPECT_EQ(SafeArrayPutElement(a.Get(), &index, &v), S_OK);
  EXPECT_EQ(data[3], 2.5);
  const std::int32_t outside = 5;
  EXPECT_EQ(SafeArrayPutElement(a.Get(), &outside, &v), DISP_E_BADINDEX);
  const std::int32_t below = 0;
  double got;
  EXPECT_EQ(SafeArrayGetElement(a.Get(), &below, &got), DISP_E_BADINDEX);
}

TEST(SafeArray, MultiDimensionalLayoutFirstIndexFastest) {
  const SAFEARRAYBOUND bounds[2] = {{3, 0}, {2, 10}};
  SafeArray a = SafeArray::Attach(SafeArrayCreate(VT_I4, 2, bounds));
  ASSERT_TRUE(a);
  EXPECT_EQ(SafeArrayGetDim(a.Get()), 2u);
  EXPECT_EQ(a.size(), 6u);
  for (std::int32_t j = 10; j < 12; ++j) {
    for (std::int32_t i = 0; i < 3; ++i) {
      const std::int32_t idx[2] = {i, j};
      const std::int32_t value = i + 100 * j;
      ASSERT_EQ(SafeArrayPutElement(a.Get(), idx, &value), S_OK);
    }
  }
  auto data = a.Data<std::int32_t>();
  EXPECT_EQ(data[1], 1 + 1000);
  EXPECT_EQ(data[3], 0 + 1100);
}

TEST(SafeArray, StringElementsAreOwnedCopies) {
  SafeArray a = SafeArray::CreateVector(VT_BSTR, 2);
  Bstr text = Bstr::FromUtf8("OutputChannel1");
  const std::int32_t i0 = 0;
  ASSERT_EQ(SafeArrayPutElement(a.Get(), &i0, text.Get()), S_OK);
  EXPECT_NE(a.Data<BSTR>()[0], text.Get());
  Bstr out;
  ASSERT_EQ(SafeArrayGetElement(a.Get(), &i0, out.Put()), S_OK);
  EXPECT_EQ(out.ToUtf8(), "OutputChannel1");
  SafeArray copy;
  ASSERT_EQ(SafeArrayCopy(a.Get(), copy.Put()), S_OK);
  EXPECT_EQ(BstrToUtf8(copy.Data<BSTR>()[0]), "OutputChannel1");
  EXPECT_EQ(copy.Data<BSTR>()[1], nullptr);
}

TEST(SafeArray, LockedArrayCannotBeDestroyed) {
  SAFEARRAY* a = SafeArrayCreateVector(VT_UI1, 8, 0);
  void* data = nullptr;
  ASSERT_EQ(SafeArrayAccessData(a, &data), S_OK);
  EXPECT_EQ(SafeArrayDestroy(a), DISP_E_ARRAYISLOCKED);
  EXPECT_EQ(SafeArrayUnaccessData(a), S_OK);
  EXPECT_EQ(SafeArrayUnaccessData(a), E_UNEXPECTED);
  EXPECT_EQ(SafeArrayDestroy(a), S_OK);
}

TEST(SafeArray, RefusesImpossibleShapes) {
  EXPECT_EQ(SafeArrayCreateVector(VT_EMPTY, 4, 0), nullptr);
  const SAFEARRAYBOUND huge[2] = {{0xFFFFFFFFu, 0}, {0xFFFFFFFFu, 0}};
  EXPECT_EQ(SafeArrayCreate(VT_R8, 2, huge), nullptr);
  SafeArray empty = SafeArray::CreateVector(VT_R8, 0);
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty.size(), 0u);
  std::int32_t hi = 0;
  EXPECT_EQ(SafeArrayGetUBound(empty.Get(), 1, &hi), S_OK);
  EXPECT_EQ(hi, -1);
}

}  // namespace
}  // namespace motqr::com
