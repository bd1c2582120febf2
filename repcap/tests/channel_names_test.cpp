#include "repcap/channel_names.h"

#include <gtest/gtest.h>

namespace motqr::repcap {
namespace {

TEST(ChannelNames, VirtualNamesResolveInAnyCaseAndQualificationIsStripped) {
  VirtualNameMap names;
  AddVirtualName(names, "Main", "OutputChannel1", "MorvaneTqrOutputChannel");
  AddVirtualName(names, "Aux", "MorvaneTqrOutputChannel!!OutputChannel1",
                 "MorvaneTqrOutputChannel");
  EXPECT_EQ(ResolveChannelName(names, "main"), "OutputChannel1");
  EXPECT_EQ(ResolveChannelName(names, "AUX"), "OutputChannel1");
  EXPECT_EQ(ResolveChannelName(names, "MorvaneTqrOutputChannel!!OutputChannel1"), "OutputChannel1");
  EXPECT_EQ(ResolveChannelName(names, "outputchannel1"), "outputchannel1");  // case kept
  EXPECT_EQ(ResolveChannelName(names, "a!!b!!c"), "b!!c");  // only the first "!!" counts
}

TEST(ChannelNames, PresentationNamePrefersTheFirstVirtualName) {
  VirtualNameMap none;
  EXPECT_EQ(PresentationName(none, "MorvaneTqrOutputChannel", "OutputChannel1"), "OutputChannel1");
  VirtualNameMap names;
  AddVirtualName(names, "Main", "OutputChannel1", "MorvaneTqrOutputChannel");
  EXPECT_EQ(PresentationName(names, "MorvaneTqrOutputChannel", "OutputChannel1"), "Main");
}

}  // namespace
}  // namespace motqr::repcap
