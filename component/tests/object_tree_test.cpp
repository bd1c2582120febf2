// The object tree: navigation from the driver to every interface, the outputs
// collections, the channel object's lifetime, and simulated values of every
// interface kept in the right object's store.
#include <gtest/gtest.h>

#include "component/tests/test_support.h"
#include "errors/status_codes.h"
#include "interfaces/motqr_interfaces.h"

namespace motqr::testing {
namespace {

class ObjectTree : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(InitSimulated(driver_), com::S_OK);
    root_ = As<IMorvaneTqr>(driver_);
    ASSERT_TRUE(root_);
  }
  com::ComPtr<IMorvaneTqrOutputChannel> Channel(const char* name) {
    com::ComPtr<IMorvaneTqrOutputs> outputs;
    EXPECT_EQ(root_->get_Outputs(outputs.Put()), com::S_OK);
    com::ComPtr<IMorvaneTqrOutputChannel> channel;
    last_ = outputs->get_Item(Text(name).Get(), channel.Put());
    return channel;
  }
  com::ComPtr<IIviDriver> driver_ = NewDriver();
  com::ComPtr<IMorvaneTqr> root_;
  HRESULT last_ = com::S_OK;
};

TEST_F(ObjectTree, NavigationHandsOutTheSameObjectsWithoutInitialize) {
  auto fresh = NewDriver();
  auto root = As<IMorvaneTqr>(fresh);
  com::ComPtr<IMorvaneTqrSystem> system;
  ASSERT_EQ(root->get_System(system.Put()), com::S_OK);  // works before Initialize
  com::ComPtr<IMorvaneTqrSystemAnalog> analog;
  ASSERT_EQ(system->get_Analog(analog.Put()), com::S_OK);
  com::ComPtr<IMorvaneTqrStatus> status;
  ASSERT_EQ(root->get_Status(status.Put()), com::S_OK);
  com::ComPtr<IMorvaneTqrStatusOperation> operation;
  ASSERT_EQ(status->get_Operation(operation.Put()), com::S_OK);
  com::ComPtr<com::IUnknown> a, b;
  analog.As(&a);
  operation.As(&b);
  EXPECT_EQ(a.Get(), b.Get());  // one driver object behind every interface
  com::ComPtr<IIviDCPwrTrigger> trigger;
  EXPECT_EQ(As<IIviDCPwr>(fresh)->get_Trigger(trigger.Put()), com::S_OK);
  EXPECT_EQ(root->get_Global(nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(TakeError().description,
            "MorvaneTqr: Null pointer passed for method 'get_Global', parameter 'val'.");
}

TEST_F(ObjectTree, ItemResolvesEmptyAnyCaseAndQualifiedNames) {
  auto by_empty = Channel("");
  ASSERT_EQ(last_, com::S_OK);
  for (const char* name :
       {"OutputChannel1", "outputchannel1", "MorvaneTqrOutputChannel!!OutputChannel1"}) {
    auto channel = Channel(name);
    ASSERT_EQ(last_, com::S_OK) << name;
    EXPECT_EQ(channel.Get(), by_empty.Get()) << name;
  }
  Channel("OutputChannel2");
  EXPECT_EQ(last_, errors::E_IVI_UNKNOWN_PHYSICAL_IDENTIFIER);
  EXPECT_EQ(TakeError().description,
            "MorvaneTqr: Unknown physical repeated capability selector.\r\nOutputChannel2");
}

TEST_F(ObjectTree, CountAndNameByIndex) {
  com::ComPtr<IIviDCPwrOutputs> outputs;
  ASSERT_EQ(As<IIviDCPwr>(driver_)->get_Outputs(outputs.Put()), com::S_OK);
  std::int32_t count = 0;
  ASSERT_EQ(outputs->get_Count(&count), com::S_OK);
  EXPECT_EQ(count, 1);
  com::Bstr name;
  ASSERT_EQ(outputs->get_Name(1, name.Put()), com::S_OK);
  EXPECT_EQ(name.ToUtf8(), "OutputChannel1");
  for (std::int32_t bad : {0, 2, -1}) {
    EXPECT_EQ(outputs->get_Name(bad, name.Put()), errors::E_IVI_INVALID_VALUE);
    com::ErrorRecord e = TakeError();
    EXPECT_NE(e.description.find("parameter 'Index'"), std::string::npos);
    EXPECT_EQ(e.iid, IIviDCPwrOutputs::kIid);
  }
  com::ComPtr<IIviDCPwrOutput> output;
  ASSERT_EQ(outputs->get_Item(Text("").Get(), output.Put()), com::S_OK);
  // A null result pointer is E_POINTER, in both collections.
  com::ComPtr<IMorvaneTqrOutputs> tqr_outputs;
  ASSERT_EQ(As<IMorvaneTqr>(driver_)->get_Outputs(tqr_outputs.Put()), com::S_OK);
  EXPECT_EQ(outputs->get_Count(nullptr), com::E_POINTER);
  EXPECT_EQ(outputs->get_Name(1, nullptr), com::E_POINTER);
  EXPECT_EQ(outputs->get_Item(Text("").Get(), nullptr), com::E_POINTER);
  EXPECT_EQ(tqr_outputs->get_Count(nullptr), com::E_POINTER);
  EXPECT_EQ(tqr_outputs->get_Name(1, nullptr), com::E_POINTER);
  EXPECT_EQ(tqr_outputs->get_Item(Text("").Get(), nullptr), com::E_POINTER);
}

TEST_F(ObjectTree, ChannelHeldAfterCloseAnswersNotInitialized) {
  auto channel = Channel("");
  ASSERT_EQ(driver_->Close(), com::S_OK);
  double v = 1;
  EXPECT_EQ(channel->get_VoltageLevel(&v), errors::E_IVI_NOT_INITIALIZED);
  driver_.Reset();
  root_.Reset();  // the driver object is gone; the channel still answers
  EXPECT_EQ(channel->get_VoltageLevel(&v), errors::E_IVI_NOT_INITIALIZED);
}

}  // namespace
}  // namespace motqr::testing
