#include "io/input/scan_format.h"

#include <gtest/gtest.h>

namespace motqr::io {
namespace {

TEST(ScanFormat, Placeholder) {
  std::vector<ScanDirective> r;
  EXPECT_EQ(CutScanFormat("%lf", &r), com::S_OK);
}

}  // namespace
}  // namespace motqr::io
