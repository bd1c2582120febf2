#include "driver/options.h"

#include <gtest/gtest.h>

#include "errors/morvane_tqr_error_reporter.h"
#include "errors/status_codes.h"
#include "platform/com/error_info.h"

namespace motqr::driver {
namespace {

class Options : public ::testing::Test {
 protected:
  HRESULT Process(std::string_view options) { return ProcessOptionString(options, s_, reporter_); }
  std::string LastError() {
    com::ErrorRecord r;
    com::TakeErrorInfo(&r);
    return r.description;
  }
  SessionSettings s_;
  errors::CMorvaneTqrErrorReporter reporter_{com::GUID_NULL, nullptr};
};

TEST_F(Options, PairsSkipWhatDoesNotMatch) {
  using Pairs = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(ParseOptionPairs(",,Cache = 0 ,Simulate,RangeCheck=1,"),
            (Pairs{{"Cache", "0"}, {"RangeCheck", "1"}}));
  EXPECT_EQ(ParseOptionPairs("a=b=c, d=e"), (Pairs{{"a", "b"}, {"d", "e"}}));
  EXPECT_EQ(ParseOptionPairs("=x,y=,z=1"), (Pairs{{"z", "1"}}));
  EXPECT_TRUE(ParseOptionPairs("").empty());
}

TEST_F(Options, FlagsByNameAnyCaseWithBlanks) {
  ASSERT_EQ(Process("Simulate=true, RangeCheck=false"), com::S_OK);
  EXPECT_TRUE(s_.flags.simulate);
  EXPECT_FALSE(s_.flags.range_check);
  SessionSettings fresh;
  s_ = fresh;
  ASSERT_EQ(Process("SIMULATE = VI_TRUE, queryinstrstatus=1, Cache=VI_FALSE"), com::S_OK);
  EXPECT_TRUE(s_.flags.simulate);
  EXPECT_TRUE(s_.flags.query_instrument_status);
  EXPECT_FALSE(s_.flags.cache);
}

TEST_F(Options, BadValueWordNamesTheValue) {
  EXPECT_EQ(Process("Simulate=yes"), errors::E_IVI_BAD_OPTION_VALUE);
  EXPECT_EQ(LastError(), "MorvaneTqr: The 'yes' value in the option string is unknown.");
}

TEST_F(Options, UnknownNamesAreKeptNotActedOn) {
  ASSERT_EQ(Process("Cache=false, Colour=Blue"), com::S_OK);
  EXPECT_FALSE(s_.flags.cache);
  EXPECT_EQ(s_.option_entries.at("colour"), "Blue");
  EXPECT_EQ(s_.flags, (OperationFlags{.cache = false}));
}

TEST_F(Options, DriverSetupTakesTheRestOfTheString) {
  ASSERT_EQ(Process("Simulate=1, DriverSetup= Model=TQR-M2, Trace=true"), com::S_OK);
  EXPECT_EQ(s_.model, "TQR-M2");
  EXPECT_TRUE(s_.trace.enabled);
  EXPECT_EQ(s_.driver_setup, " Model=TQR-M2, Trace=true");
  // Everything after the driver setup part belongs to it, options included.
  SessionSettings fresh;
  s_ = fresh;
  ASSERT_EQ(Process("driversetup  =Model=TQR-M1,Simulate=1"), com::S_OK);
  EXPECT_EQ(s_.model, "TQR-M1");
  EXPECT_FALSE(s_.flags.simulate);
  EXPECT_EQ(s_.driver_setup_entries.at("Simulate"), "1");
}

TEST_F(Options, DriverSetupKeys) {
  ASSERT_EQ(ProcessDriverSetup("TraceSizeMax=12ab, TraceArraySizeMax=x, TraceName=run1, "
                               "NumPhases:3, TraceArray=0",
                               s_, reporter_),
            com::S_OK);
  EXPECT_EQ(s_.trace.size_max, 12);
  EXPECT_EQ(s_.trace.array_size_max, 0);
  EXPECT_EQ(s_.trace.name, "run1");
  EXPECT_FALSE(s_.trace.array);
  EXPECT_EQ(s_.driver_setup_entries.at("NumPhases"), "3");
  EXPECT_EQ(ProcessDriverSetup("Trace=maybe", s_, reporter_), errors::E_IVI_BAD_OPTION_VALUE);
  EXPECT_EQ(ProcessDriverSetup("VisaLibrary=ni", s_, reporter_), errors::E_IVI_BAD_OPTION_VALUE);
  EXPECT_NE(LastError().find("builtin or system"), std::string::npos);
  // Switched on and off again before any file: refused, and said why.
  EXPECT_EQ(ProcessDriverSetup("Trace=1, Trace=0", s_, reporter_), com::E_UNEXPECTED);
  EXPECT_NE(LastError().find("Trace cannot be switched off"), std::string::npos);
}

TEST_F(Options, EmptyStringKeepsDefaults) {
  ASSERT_EQ(Process(""), com::S_OK);
  EXPECT_EQ(s_.flags, OperationFlags{});
}

TEST_F(Options, InitOptionRejectsEmptyNameOrValue) {
  EXPECT_EQ(ProcessInitOption("", "1", s_, reporter_), errors::E_IVI_INVALID_VALUE);
  EXPECT_EQ(LastError(),
            "MorvaneTqr: Invalid value '0' for method 'ProcessInitOption', parameter 'strNameIn'.");
  EXPECT_EQ(ProcessInitOption("Cache", "", s_, reporter_), errors::E_IVI_INVALID_VALUE);
}

TEST(DecimalPrefix, StopsAtFirstNonDigit) {
  EXPECT_EQ(DecimalPrefix("  -42abc"), -42);
  EXPECT_EQ(DecimalPrefix("x1"), 0);
  EXPECT_EQ(DecimalPrefix("99999999999"), 2147483647);
}

}  // namespace
}  // namespace motqr::driver
