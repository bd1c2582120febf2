#include "platform/com/error_info.h"

#include <gtest/gtest.h>

#include <thread>

namespace motqr::com {
namespace {

constexpr GUID kSomeIid{0x12345678, 0x1, 0x2, {1, 2, 3, 4, 5, 6, 7, 8}};

TEST(ErrorInfo, GetHandsOutAndClears) {
  SetErrorInfo(0, nullptr);
  ErrorRecord rec{"MorvaneTqr: Unknown resource.", "MorvaneTqr.MorvaneTqr.1", kSomeIid,
                  "MorvaneTqr.chm", 16};
  ASSERT_EQ(SetErrorRecord(rec), S_OK);
  ErrorRecord peek;
  EXPECT_TRUE(PeekErrorInfo(&peek));
  EXPECT_EQ(peek.description, rec.description);
  ComPtr<IErrorInfo> info;
  EXPECT_EQ(GetErrorInfo(0, info.Put()), S_OK);
  GUID guid;
  info->GetGUID(&guid);
  EXPECT_EQ(guid, kSomeIid);
  ULONG ctx = 0;
  info->GetHelpContext(&ctx);
  EXPECT_EQ(ctx, 16u);
  EXPECT_EQ(GetErrorInfo(0, info.Put()), S_FALSE);  // cleared by the first Get
  EXPECT_FALSE(info);
  // No help file reads as a null text.
  SetErrorRecord({"x", "src", GUID_NULL, "", 0});
  ASSERT_EQ(GetErrorInfo(0, info.Put()), S_OK);
  Bstr help;
  info->GetHelpFile(help.Put());
  EXPECT_TRUE(help.IsNull());
}

TEST(ErrorInfo, IsPerThread) {
  SetErrorRecord({"main thread", "", GUID_NULL, "", 0});
  std::thread other([] {
    ErrorRecord r;
    EXPECT_FALSE(PeekErrorInfo(&r));
    SetErrorRecord({"other thread", "", GUID_NULL, "", 0});
  });
  other.join();
  ErrorRecord r;
  ASSERT_TRUE(TakeErrorInfo(&r));
  EXPECT_EQ(r.description, "main thread");
  EXPECT_FALSE(TakeErrorInfo(&r));
}

}  // namespace
}  // namespace motqr::com
