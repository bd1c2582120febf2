#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "component/tests/test_support.h"
#include "errors/status_codes.h"

namespace motqr::testing {
namespace {

class Operation : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(InitSimulated(driver_), com::S_OK);
    op_ = As<IIviDriverOperation>(driver_);
  }
  com::ComPtr<IIviDriver> driver_ = NewDriver();
  com::ComPtr<IIviDriverOperation> op_;
};

TEST_F(Operation, NullOutPointerNamesTheMemberAsCalled) {
  struct Getter {
    HRESULT (IIviDriverOperation::*get)(VARIANT_BOOL*);
    const char* name;
  };
  for (Getter g : {Getter{&IIviDriverOperation::get_Cache, "get_Cache"},
                   Getter{&IIviDriverOperation::get_Simulate, "get_Simulate"},
                   Getter{&IIviDriverOperation::get_RangeCheck, "get_RangeCheck"}}) {
    EXPECT_EQ((op_.Get()->*g.get)(nullptr), errors::E_IVI_NULL_POINTER);
    com::ErrorRecord e = TakeError();
    EXPECT_EQ(e.description, std::string("MorvaneTqr: Null pointer passed for method '") + g.name +
                                 "', parameter 'val'.");
    EXPECT_EQ(e.iid, IIviDriverOperation::kIid);
    EXPECT_EQ(e.source, "MorvaneTqr.MorvaneTqr.1");
    EXPECT_TRUE(e.help_file.empty());
  }
  EXPECT_EQ(op_->get_LogicalName(nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(driver_->get_Utility(nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(TakeError().iid, IIviDriver::kIid);
}

TEST_F(Operation, FlagSetters) {
  VARIANT_BOOL v = 0;
  EXPECT_EQ(op_->put_InterchangeCheck(com::VARIANT_TRUE), errors::E_IVI_VALUE_NOT_SUPPORTED);
  EXPECT_EQ(TakeError().description,
            "MorvaneTqr: Does not support this class-compliant feature: Enumeration value "
            "'VARIANT_TRUE' passed as the value for parameter 'val' in method "
            "'put_InterchangeCheck'.");
  op_->get_InterchangeCheck(&v);
  EXPECT_EQ(v, com::VARIANT_FALSE);
  EXPECT_EQ(op_->put_Simulate(com::VARIANT_FALSE), errors::E_IVI_CANNOT_CHANGE_SIMULATION_STATE);
  op_->get_Simulate(&v);
  EXPECT_EQ(v, com::VARIANT_TRUE);
  EXPECT_EQ(op_->put_RangeCheck(com::VARIANT_FALSE), com::S_OK);
  op_->get_RangeCheck(&v);
  EXPECT_EQ(v, com::VARIANT_FALSE);
  // ResetWithDefaults restores the flags taken when option processing finished.
  EXPECT_EQ(As<IIviDriverUtility>(driver_)->ResetWithDefaults(), com::S_OK);
  op_->get_RangeCheck(&v);
  EXPECT_EQ(v, com::VARIANT_TRUE);
}

TEST_F(Operation, UnsupportedMembers) {
  auto u = As<IIviDriverUtility>(driver_);
  EXPECT_EQ(u->LockObject(), errors::E_IVI_METHOD_NOT_SUPPORTED);
  EXPECT_EQ(TakeError().description,
            "MorvaneTqr: Does not support this class-compliant feature: method 'LockObject'.");
  EXPECT_EQ(u->UnlockObject(), errors::E_IVI_METHOD_NOT_SUPPORTED);
  BSTR warning = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(op_->GetNextInterchangeWarning(&warning), errors::E_IVI_METHOD_NOT_SUPPORTED);
  EXPECT_EQ(warning, nullptr);
  EXPECT_EQ(op_->ClearInterchangeWarnings(), errors::E_IVI_METHOD_NOT_SUPPORTED);
  com::Bstr record;
  ASSERT_EQ(op_->GetNextCoercionRecord(record.Put()), com::S_OK);
  EXPECT_FALSE(record.IsNull());
  EXPECT_EQ(record.size(), 0u);
}

TEST_F(Operation, SimulatedUtilities) {
  auto u = As<IIviDriverUtility>(driver_);
  std::int32_t code = 7;
  com::Bstr message = Text("old");  // an in/out string is freed and replaced
  ASSERT_EQ(u->ErrorQuery(&code, message.Put()), com::S_OK);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(message.ToUtf8(), "No error.");
  ASSERT_EQ(u->SelfTest(&code, message.Put()), com::S_OK);
  EXPECT_EQ(message.ToUtf8(), "Selftest passed");
  EXPECT_EQ(u->SelfTest(&code, nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(TakeError().description,
            "MorvaneTqr: Null pointer passed for method 'SelfTest', parameter 'TestMessage'.");
}

TEST_F(Operation, ManyThreadsOnOneSession) {
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      auto op = As<IIviDriverOperation>(driver_);
      auto id = As<IIviDriverIdentity>(driver_);
      for (int i = 0; i < 300; ++i) {
        VARIANT_BOOL v;
        if (com::Failed(op->put_RecordCoercions((i + t) % 2 ? com::VARIANT_TRUE : 0))) ++failures;
        if (com::Failed(op->get_RecordCoercions(&v))) ++failures;
        if (op->get_Cache(nullptr) != errors::E_IVI_NULL_POINTER) ++failures;
        com::ErrorRecord e = TakeError();  // each thread sees its own error object
        if (e.description.find("get_Cache") == std::string::npos) ++failures;
        if (GetString(&IIviDriverIdentity::get_InstrumentModel, id.Get()) != "TQR-M4") ++failures;
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(failures.load(), 0);
}

}  // namespace
}  // namespace motqr::testing
