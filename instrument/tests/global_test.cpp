#include "instrument/global.h"

#include <gtest/gtest.h>

#include "commands/enum_token_port.h"
#include "errors/status_codes.h"
#include "instrument/testing/member_fixture.h"

namespace motqr::testing {
namespace {

using Channel = TestChannel<instrument::Global>;

TEST(Global, WireTextAndReplies) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::EnumTokenPort());
  auto& g = *f.channel;
  EXPECT_EQ(g.ConfigureEnabled(1), com::S_OK);  // any true value writes ON
  EXPECT_EQ(g.ConfigureEnabled(com::VARIANT_FALSE), com::S_OK);
  EXPECT_EQ(g.put_Activate(2), com::S_OK);
  EXPECT_EQ(inst.sent, (std::vector<std::string>{"GLOB:OUTP ON", "GLOB:OUTP OFF", ":INST 2"}));

  double v = 0, i = 0, p = 0;
  com::Bstr model;
  inst.Reply(":INST:INFO?", "60.0,-20.5,600,TQR-M4 rev,B\n");
  ASSERT_EQ(g.QueryInformation(&v, &i, &p, model.Put()), com::S_OK);
  EXPECT_EQ(v + i + p, 639.5);
  EXPECT_EQ(model.ToUtf8(), "TQR-M4 rev,B");
  inst.Reply(":INST:INFO?", "60.0,abc,600,X\n");
  EXPECT_TRUE(com::Failed(g.QueryInformation(&v, &i, &p, model.Put())));
  EXPECT_TRUE(model.IsNull());
  EXPECT_EQ(v, 0.0);

  com::SafeArray list;
  inst.Reply(":INST:CAT?", "1,2,3\n");
  ASSERT_EQ(g.QueryVerifyChannel(list.Put()), com::S_OK);
  EXPECT_EQ(list.vt(), com::VT_I4);
  const auto channels = list.Data<std::int32_t>();
  EXPECT_EQ(std::vector<std::int32_t>(channels.begin(), channels.end()),
            (std::vector<std::int32_t>{1, 2, 3}));
}

}  // namespace
}  // namespace motqr::testing
