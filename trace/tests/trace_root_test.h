// A test fixture with an IVI root of its own: a fresh directory per test, named after the
// process and the test, with the trace directory under it; the driver reads it as the IVI root
// until the test ends, when it is removed.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/ivi/ivi_root.h"

namespace motqr::trace {

class TraceRootTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::filesystem::temp_directory_path() /
            ("motqr_trace_" + std::to_string(::getpid()) + "_" + test->test_suite_name() + "_" +
             test->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(dir());
    ivi::SetIviStandardRootDirForTesting(root_.string());
  }
  void TearDown() override {
    ivi::SetIviStandardRootDirForTesting(std::nullopt);
    std::filesystem::remove_all(root_);
  }
  // Where trace files go by default.
  std::filesystem::path dir() const { return root_ / "Components" / "Morvane"; }

  std::filesystem::path root_;
};

}  // namespace motqr::trace
