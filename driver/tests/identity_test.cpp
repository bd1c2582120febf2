#include "driver/identity.h"

#include <gtest/gtest.h>

namespace motqr::driver {
namespace {

TEST(Identity, FieldsAreTrimmedAndEmptyFieldsVanish) {
  InstrumentIdentity id = ParseIdentity("MORVANE, TQR-M3 ,SN1234, 1.07\n");
  EXPECT_EQ(id.manufacturer, "MORVANE");
  EXPECT_EQ(id.model, "TQR-M3");
  EXPECT_EQ(id.serial_number, "SN1234");
  EXPECT_EQ(id.firmware_revision, "1.07");
  id = ParseIdentity(",,MORVANE,,TQR-M5");
  EXPECT_EQ(id.manufacturer, "MORVANE");
  EXPECT_EQ(id.model, "TQR-M5");
  EXPECT_EQ(id.serial_number, "");
  EXPECT_EQ(ParseIdentity("").model, "");
}

TEST(Identity, ModelTableIsExactAndCaseSensitive) {
  for (const char* m : {"TQR-M1", "TQR-M4", "TQR-M7"}) EXPECT_TRUE(IsKnownModel(m)) << m;
  EXPECT_FALSE(IsKnownModel("tqr-m3"));
  EXPECT_FALSE(IsKnownModel("TQR-M8"));
  EXPECT_FALSE(IsKnownModel(""));
  EXPECT_EQ(*FindModelFamily("TQR-M2"), "DefaultFamily");
  EXPECT_TRUE(IsModelFamily("DefaultFamily"));
}

}  // namespace
}  // namespace motqr::driver
