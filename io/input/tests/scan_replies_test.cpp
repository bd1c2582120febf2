// The reply formats the driver's operations use, against replies as the
// instrument sends them (the read termination already removed by the buffer).
#include <gtest/gtest.h>

#include <string>

#include "io/input/tests/scan_test_support.h"

namespace motqr::io::testing {
namespace {

TEST(DriverReplies, NumbersAndRanges) {
  double v = 0, lo = 0, hi = 0;
  EXPECT_EQ(ScanReply("+1.500000E+00", "%lf", &v), S_OK);
  EXPECT_EQ(v, 1.5);
  EXPECT_EQ(ScanReply("-2.000000E+01;2.000000E+01", "%lf;%lf", &lo, &hi), S_OK);
  EXPECT_EQ(lo, -20);
  EXPECT_EQ(hi, 20);
  EXPECT_EQ(ScanReply("+1.5E+00", "%@3lf", &v), S_OK);
  EXPECT_EQ(v, 1.5);
  std::int32_t count = 0;
  EXPECT_EQ(ScanReply("12", "%d", &count), S_OK);
  EXPECT_EQ(count, 12);
  std::int16_t reg = 0;
  EXPECT_EQ(ScanReply("16384", "%hd", &reg), S_OK);
  EXPECT_EQ(reg, 16384);
  EXPECT_EQ(ScanReply("40000", "%hd", &reg), E_UNEXPECTED);
}

TEST(DriverReplies, IdentityAndInformation) {
  std::string maker, model;
  std::int32_t serial = 0, version = 0;
  EXPECT_EQ(ScanReply("A1,B2,3,4", "%$C[^,], %$C[^,], %d, %d", &maker, &model, &serial, &version),
            S_OK);
  EXPECT_EQ(maker, "A1");
  EXPECT_EQ(model, "B2");
  EXPECT_EQ(serial, 3);
  EXPECT_EQ(version, 4);

  double volt = 0, curr = 0, power = 0;
  com::Bstr name;
  EXPECT_EQ(ScanReply("60,20,400,TQR-M4", "%lf,%lf,%lf,%$B[^\n]", &volt, &curr, &power, name.Put()),
            S_OK);
  EXPECT_EQ(power, 400);
  EXPECT_EQ(name.View(), u"TQR-M4");
}

TEST(DriverReplies, ErrorQueueEntry) {
  std::int32_t code = 0;
  std::string text;
  EXPECT_EQ(ScanReply("-222,\"Data out of range\"", "%d,%$Ct", &code, &text), S_OK);
  EXPECT_EQ(code, -222);
  EXPECT_EQ(text, "\"Data out of range\"");
  EXPECT_EQ(ScanReply("0,\"No error\"", "%d,%$Ct", &code, &text), S_OK);
  EXPECT_EQ(code, 0);
}

TEST(DriverReplies, ListsAndBlocks) {
  com::SafeArray values;
  EXPECT_EQ(ScanReply("4.5,6.5", "%,$Slf:", values.Put()), S_OK);
  EXPECT_EQ(values.Data<double>()[1], 6.5);
  EXPECT_EQ(ScanReply("1,0,1", "%,$Sd", values.Put()), S_OK);
  EXPECT_EQ(values.Data<std::int32_t>()[2], 1);
  // The I-V map block: 32-bit words, most significant byte first on the wire.
  EXPECT_EQ(ScanReply(std::string("#18\0\0\0\x01\xFF\xFF\xFF\xFE", 11), "%$Slb", values.Put()),
            S_OK);
  EXPECT_EQ(values.Data<std::int32_t>()[1], -2);
  std::int32_t max = 6;
  std::string zone;
  EXPECT_EQ(ScanReply("Europe/Berlin", "%#$Cs", &max, &zone), S_OK);
  EXPECT_EQ(zone, "Europ");  // at most 5 characters, the rest of the field dropped
}

TEST(DriverReplies, EnumerationsGoThroughTheFormatter) {
  MemoryReplyBuffer reply("1");
  FakeEnums enums;
  std::int16_t on = 0;
  EXPECT_EQ(Scan(reply, &enums, "%{VARIANT_BOOL}[^\n]", &on), S_OK);
  EXPECT_EQ(on, -1);
  ASSERT_EQ(enums.asked.size(), 1u);
  EXPECT_EQ(enums.asked[0].first, "VARIANT_BOOL");
  EXPECT_EQ(enums.asked[0].second, "1");

  std::int32_t trigger = -7;
  EXPECT_EQ(ScanReply("BUS", "%{MorvaneTqrTriggerEnum}[^\n]", &trigger), S_OK);
  EXPECT_EQ(trigger, 1);
  EXPECT_EQ(ScanReply("\"EXT\"", "%{MorvaneTqrTriggerEnum}Qs", &trigger), S_OK);
  EXPECT_EQ(trigger, 2);
  EXPECT_EQ(ScanReply("IMMEDIATE", "%{MorvaneTqrTriggerEnum}3s", &trigger), S_OK);
  EXPECT_EQ(trigger, 0);
  // A token without a value: the formatter's status, the destination untouched.
  trigger = -7;
  EXPECT_EQ(ScanReply("MAYBE", "%{MorvaneTqrTriggerEnum}[^\n]", &trigger),
            FakeEnums::kUnknownToken);
  EXPECT_EQ(trigger, -7);
  // Suppressed: the token is read, nothing is asked or stored.
  reply.Reset("MAYBE,1");
  enums.asked.clear();
  std::int32_t after = 0;
  EXPECT_EQ(Scan(reply, &enums, "%{MorvaneTqrTriggerEnum}*[^,],%d", &after), S_OK);
  EXPECT_TRUE(enums.asked.empty());
  EXPECT_EQ(after, 1);
}

}  // namespace
}  // namespace motqr::io::testing
