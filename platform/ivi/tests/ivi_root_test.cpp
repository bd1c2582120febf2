#include "platform/ivi/ivi_root.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace motqr::ivi {
namespace {

class IviRootTest : public ::testing::Test {
 protected:
  void TearDown() override {
    std::filesystem::remove(path_);
    SetIviStandardRootDirForTesting(std::nullopt);
  }
  std::string Read(const std::string& content) {
    std::ofstream(path_, std::ios::binary) << content;
    return ReadIviStandardRootDir(path_.string());
  }
  std::filesystem::path path_ =
      std::filesystem::temp_directory_path() /
      ("motqr_ivi_root_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(IviRootTest, ValueRules) {
  EXPECT_EQ(Read("/opt/ivi\n"), "/opt/ivi");
  EXPECT_EQ(Read("/opt/my ivi \r\n\n"), "/opt/my ivi") << "inner blanks kept, trailing dropped";
  EXPECT_EQ(Read("$HOME/ivi"), "$HOME/ivi") << "never expanded";
  EXPECT_EQ(Read(""), "");
  EXPECT_EQ(Read("/a\n/b\n"), "") << "a second line is not one value";
  EXPECT_EQ(Read(std::string("/a\0b", 4)), "");
  EXPECT_EQ(Read(std::string(kIviRootDirMaxLength, 'x')).size(), kIviRootDirMaxLength);
  EXPECT_EQ(Read(std::string(kIviRootDirMaxLength + 1, 'x')), "");
  EXPECT_EQ(Read(std::string(100000, 'x')), "");
  std::filesystem::remove(path_);
  EXPECT_EQ(ReadIviStandardRootDir(path_.string()), "") << "missing file";
}

TEST_F(IviRootTest, OverrideWinsUntilCleared) {
  const std::string from_file = IviStandardRootDir();
  SetIviStandardRootDirForTesting("/tmp/ivi-test-root");
  EXPECT_EQ(IviStandardRootDir(), "/tmp/ivi-test-root");
  SetIviStandardRootDirForTesting(std::nullopt);
  EXPECT_EQ(IviStandardRootDir(), from_file);
}

}  // namespace
}  // namespace motqr::ivi
