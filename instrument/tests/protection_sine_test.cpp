#include <gtest/gtest.h>

#include "commands/enum_token_port.h"
#include "errors/status_codes.h"
#include "instrument/output_channel_protection.h"
#include "instrument/output_channel_sine.h"
#include "instrument/testing/member_fixture.h"

namespace motqr::testing {
namespace {

using Protection = TestChannel<instrument::OutputChannelProtection>;
using Sine = TestChannel<instrument::OutputChannelSine>;

TEST(Protection, ClearSendsTheAlarmClear) {
  ScriptedInstrument inst;
  MemberFixture<Protection> f(&inst, &commands::EnumTokenPort());
  ASSERT_EQ(f.status, com::S_OK);
  Protection* ch = f.channel.Get();
  EXPECT_EQ(ch->Clear(), com::S_OK);
  EXPECT_EQ(inst.sent.back(), ":OUTP:PROT:CLE");
}

}  // namespace
}  // namespace motqr::testing
