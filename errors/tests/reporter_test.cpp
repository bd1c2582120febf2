// Reports as the driver's members make them: which message each operation
// picks, where its inserts come from, the extra text, and what ends up in
// the calling thread's error object.
#include "errors/morvane_tqr_error_reporter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "errors/message_table.h"
#include "errors/status_codes.h"
#include "errors/tests/fake_call_context.h"

namespace motqr::errors {
namespace {

using testing::FakeCallContext;
using testing::MakeDescriptor;
using testing::ScopedCall;
using testing::TakeError;

class ReporterTest : public ::testing::Test {
 protected:
  void SetUp() override { com::SetErrorInfo(0, nullptr); }

  FakeCallContext context_;
  CMorvaneTqrErrorReporter reporter_{testing::kSomeClsid, &context_};
  const MethodDescriptor cache_ =
      MakeDescriptor(testing::kIidIviDriverOperation, "IIviDriverOperation", "get_Cache");

  // The description a report left, once its status is the expected one.
  static std::string Described(HRESULT hr, HRESULT expected) {
    EXPECT_EQ(hr, expected);
    return TakeError().description;
  }
};

TEST_F(ReporterTest, NullPointerNamesTheRunningMemberAndItsInterface) {
  ScopedCall call(&cache_);
  EXPECT_EQ(reporter_.NullPointerCurrent("val"), com::MakeHresult(0x80047058u));
  const com::ErrorRecord e = TakeError();
  EXPECT_EQ(e.description,
            "MorvaneTqr: Null pointer passed for method 'get_Cache', parameter 'val'.");
  EXPECT_EQ(e.iid, testing::kIidIviDriverOperation);
  EXPECT_EQ(e.source, "MorvaneTqr.MorvaneTqr.1");
  EXPECT_EQ(e.help_file, "");
  EXPECT_EQ(e.help_context, 0u);
}

TEST_F(ReporterTest, ExtraTextFollowsOnItsOwnLineOnlyWhenGivenAndInsertsAreNotExpandedAgain) {
  EXPECT_EQ(
      Described(reporter_.IdQueryFailed("Unrecognized model: TQR-X9."), E_IVI_ID_QUERY_FAILED),
      "MorvaneTqr: Instrument ID query failed.\r\nUnrecognized model: TQR-X9.");
  EXPECT_EQ(Described(reporter_.IdQueryFailed(), E_IVI_ID_QUERY_FAILED),
            "MorvaneTqr: Instrument ID query failed.");
  // The extra text is kept as given, white space included.
  EXPECT_EQ(Described(reporter_.ReportErrorEx(kMsgFileNotFound, " a.txt \n"), E_IVI_FILE_NOT_FOUND),
            "MorvaneTqr: File not found.\r\n a.txt \n");
  EXPECT_EQ(Described(reporter_.NullPointer("%2%%", "%1"), E_IVI_NULL_POINTER),
            "MorvaneTqr: Null pointer passed for method '%2%%', parameter '%1'.");
}

TEST_F(ReporterTest, WithoutCallContextNoMemberAndNullInterfaceId) {
  CMorvaneTqrErrorReporter bare(testing::kSomeClsid, nullptr);
  EXPECT_EQ(bare.FunctionNotSupportedCurrent(), E_IVI_METHOD_NOT_SUPPORTED);
  com::ErrorRecord e = TakeError();
  EXPECT_EQ(e.description, "MorvaneTqr: Does not support this class-compliant feature: method ''.");
  EXPECT_EQ(e.iid, com::GUID_NULL);
  // A provider with no call in progress behaves the same.
  EXPECT_EQ(reporter_.PropertyNotSupportedCurrent(), E_IVI_PROPERTY_NOT_SUPPORTED);
  EXPECT_EQ(TakeError().iid, com::GUID_NULL);
}

TEST_F(ReporterTest, WarningsReturnPositiveCodesAndStillDescribe) {
  EXPECT_EQ(reporter_.WarnIdQueryNotSupported(), S_IVI_NSUP_ID_QUERY);
  bool present = false;
  EXPECT_EQ(TakeError(&present).description,
            "MorvaneTqr: ID Query is not supported by this instrument.");
  EXPECT_TRUE(present);
  // Message 1 carries code 0, which would read as success: it reports the exception status.
  EXPECT_EQ(Described(reporter_.ReportError(kMsgSuccess), com::DISP_E_EXCEPTION),
            "MorvaneTqr: Success.");
}

TEST_F(ReporterTest, UnknownMessageFailsFormattingWithInternalError) {
  com::SetErrorRecord({"left by someone", "", com::GUID_NULL, "", 0});
  ScopedCall call(&cache_);
  EXPECT_EQ(reporter_.ReportErrorEx(99, "extra"), com::DISP_E_EXCEPTION);
  const com::ErrorRecord e = TakeError();
  EXPECT_EQ(e.description,
            "Internal Error: Unable to retrieve and format error message from message table.\n"
            "Resource ID = 99\nLanguage ID = 0\nReason = "
            "'There is no message with this number in the message table.'");
  EXPECT_LE(e.description.size(), 500u);
  EXPECT_EQ(e.iid, com::GUID_NULL);
  EXPECT_EQ(e.help_file, "");

  std::string text = "unchanged";
  EXPECT_EQ(reporter_.FormatErrorMessage(0, {}, &text), com::DISP_E_EXCEPTION);
  EXPECT_EQ(text, "unchanged");
  EXPECT_TRUE(TakeError().description.find("Resource ID = 0\n") != std::string::npos);
  EXPECT_EQ(reporter_.FormatErrorMessage(kMsgIoError, {}, nullptr), com::E_POINTER);
}

TEST_F(ReporterTest, SetErrorObjectMapsUnknownIdsToUnexpected) {
  ScopedCall call(&cache_);
  EXPECT_EQ(reporter_.SetErrorObject(1000, "free text"), com::E_UNEXPECTED);
  const com::ErrorRecord e = TakeError();
  EXPECT_EQ(e.description, "free text");
  EXPECT_EQ(e.iid, testing::kIidIviDriverOperation);
  EXPECT_EQ(e.help_file, "");
  EXPECT_EQ(Described(reporter_.ReportErrorText(com::E_FAIL, "as given \r\n"), com::E_FAIL),
            "as given \r\n");
}

TEST_F(ReporterTest, IoErrorsQuoteTheDescriptionLeftByTheIoLibrary) {
  com::SetErrorRecord({"VI_ERROR_TMO: timeout expired", "VISA", com::GUID_NULL, "", 0});
  EXPECT_EQ(reporter_.IoTimeout("Reading reply."), E_MORVANETQR_IO_TIMEOUT);
  const com::ErrorRecord e = TakeError();
  EXPECT_EQ(e.description,
            "MorvaneTqr: I/O timeout error: VI_ERROR_TMO: timeout expired.\r\nReading reply.");
  EXPECT_EQ(e.help_file, "MorvaneTqr.chm");
  EXPECT_EQ(e.help_context, 16u);
  // A description that is a sentence of its own: the message still ends in one period.
  com::SetErrorRecord(
      {"Timeout expired before operation completed.", "VISA", com::GUID_NULL, "", 0});
  EXPECT_EQ(Described(reporter_.IoTimeout(), E_MORVANETQR_IO_TIMEOUT),
            "MorvaneTqr: I/O timeout error: Timeout expired before operation completed.");
  com::SetErrorRecord(
      {"Could not connect to 10.0.0.9:5025: Connection refused.", "VISA", com::GUID_NULL, "", 0});
  EXPECT_EQ(Described(reporter_.IoError("Failed to open VISA resource."), E_MORVANETQR_IO_GENERAL),
            "MorvaneTqr: I/O error: Could not connect to 10.0.0.9:5025: Connection refused.\r\n"
            "Failed to open VISA resource.");
  // Nothing left: an empty insert.
  EXPECT_EQ(Described(reporter_.IoError(), E_MORVANETQR_IO_GENERAL), "MorvaneTqr: I/O error: .");
}

TEST_F(ReporterTest, InvalidValueWritesEachValueType) {
  const MethodDescriptor put = MakeDescriptor(testing::kIidIviDriverOperation,
                                              "IMorvaneTqrOutputChannel", "put_VoltageLevel");
  ScopedCall call(&put);
  auto described = [](HRESULT hr) { return Described(hr, E_IVI_INVALID_VALUE); };
  const std::string tail = "' for method 'put_VoltageLevel', parameter 'val'.";
  const std::string head = "MorvaneTqr: Invalid value '";
  EXPECT_EQ(described(reporter_.InvalidValueBoolCurrent("val", true)), head + "True" + tail);
  EXPECT_EQ(described(reporter_.InvalidValueBoolCurrent("val", false)), head + "False" + tail);
  EXPECT_EQ(described(reporter_.InvalidValueIntCurrent("val", -12)), head + "-12" + tail);
  EXPECT_EQ(described(reporter_.InvalidValueIntCurrent("val", 255, "0x%04X")),
            head + "0x00FF" + tail);
  EXPECT_EQ(described(reporter_.InvalidValueDoubleCurrent("val", 0.1)), head + "0.1" + tail);
  EXPECT_EQ(described(reporter_.InvalidValueDoubleCurrent("val", 1e300, "%g")),
            head + "1e+300" + tail);
  EXPECT_EQ(described(reporter_.InvalidValueStringCurrent("val", "MAX")), head + "MAX" + tail);
  EXPECT_EQ(described(reporter_.InvalidValueStringCurrent("val", nullptr)), head + tail);
  EXPECT_EQ(described(reporter_.InvalidValueWideCurrent("val", u"\u00B5A \U0001F50C")),
            head + "\u00B5A \U0001F50C" + tail);
  EXPECT_EQ(described(reporter_.InvalidValueStringObjectCurrent("val", std::string("x y"))),
            head + "x y" + tail);
  EXPECT_EQ(described(reporter_.InvalidValueWide("Initialize", "ResourceName", nullptr)),
            "MorvaneTqr: Invalid value '' for method 'Initialize', parameter 'ResourceName'.");
  EXPECT_EQ(described(reporter_.InvalidValueString("Initialize", "ResourceName", "0", "x")),
            "MorvaneTqr: Invalid value '0' for method 'Initialize', parameter 'ResourceName'."
            "\r\nx");
}

// Each single-message operation: its message number and where its inserts go.
TEST_F(ReporterTest, EachOperationReportsItsMessage) {
  const MethodDescriptor put = MakeDescriptor(testing::kIidIviDriverOperation,
                                              "IIviDriverOperation", "put_InterchangeCheck");
  ScopedCall call(&put);
  using R = CMorvaneTqrErrorReporter;
  using Inserts = std::vector<std::string_view>;
  auto& r = reporter_;
  struct Row {
    std::function<HRESULT()> report;  // with the extra text "more"
    int id;
    Inserts inserts;
  };
  const std::string_view m = "more";
  std::vector<Row> rows = {
      {[&] { return r.ModelNotSupported("sine", m); }, kMsgModelNotSupported, {"sine"}},
      {[&] { return r.FunctionNotSupported("Lock", m); }, kMsgFunctionNotSupported, {"Lock"}},
      {[&] { return r.FunctionNotSupportedCurrent(m); },
       kMsgFunctionNotSupported,
       {"put_InterchangeCheck"}},
      {[&] { return r.PropertyNotSupported("P", m); }, kMsgPropertyNotSupported, {"P"}},
      {[&] { return r.BadOptionName("Foo", m); }, kMsgBadOptionName, {"Foo"}},
      {[&] { return r.BadOptionValue("Bar", m); }, kMsgBadOptionValue, {"Bar"}},
      {[&] { return r.InvalidNumberOfLevelsInSelector("Out", m); },
       kMsgInvalidNumberOfLevelsInSelector,
       {"Out"}},
      {[&] { return r.InvalidRangeInSelector("1-9", "Out", m); },
       kMsgInvalidRangeInSelector,
       {"1-9", "Out"}},
      {[&] { return r.NullPointer("get_Count", "pVal", m); },
       kMsgNullPointer,
       {"get_Count", "pVal"}},
      {[&] { return r.ValueNotSupportedCurrent("VARIANT_TRUE", "val", m); },
       kMsgValueNotSupported,
       {"VARIANT_TRUE", "val", "put_InterchangeCheck"}},
      {[&] { return r.ValueNotSupported("3", "Mode", "Configure", m); },
       kMsgValueNotSupported,
       {"3", "Mode", "Configure"}},
  };
  // The operations whose only argument is the extra text, each with the message of its name.
  // clang-format off
#define PLAIN(Name) {&R::Name, kMsg##Name}
  const std::pair<HRESULT (R::*)(std::string_view) noexcept, int> plain[] = {
      PLAIN(AlreadyInitialized), PLAIN(BadlyFormedSelector), PLAIN(CannotChangeSimulationState),
      PLAIN(CannotOpenFile), PLAIN(CannotRecover), PLAIN(ChannelNameRequired), PLAIN(FileNotFound),
      PLAIN(IdQueryFailed), PLAIN(InstrumentStatus), PLAIN(InvalidFileFormat),
      PLAIN(InvalidPathName), PLAIN(MissingOptionName), PLAIN(MissingOptionValue),
      PLAIN(NotInitialized), PLAIN(OperationPending), PLAIN(OutOfMemory), PLAIN(ErrorReadingFile),
      PLAIN(ResetFailed), PLAIN(UnknownResource), PLAIN(StatusNotAvailable),
      PLAIN(TooManyOpenFiles), PLAIN(UnexpectedResponse), PLAIN(UnknownChannelName),
      PLAIN(UnknownNameInSelector), PLAIN(UnknownPhysicalIdentifier), PLAIN(ErrorWritingFile),
      PLAIN(WarnErrorQueryNotSupported), PLAIN(WarnIdQueryNotSupported),
      PLAIN(WarnResetNotSupported), PLAIN(WarnRevisionQueryNotSupported),
      PLAIN(WarnSelfTestNotSupported), PLAIN(TriggerNotSoftware)};
#undef PLAIN
  // clang-format on

  for (const auto& [op, id] : plain)
    rows.push_back({[&r, op = op, m] { return (r.*op)(m); }, id, {}});
  for (const Row& row : rows) {
    const MessageEntry& entry = *FindMessage(row.id);
    SCOPED_TRACE(std::string(entry.name));
    std::string expected;
    ASSERT_EQ(reporter_.FormatErrorMessage(row.id, row.inserts, &expected), com::S_OK);
    EXPECT_EQ(row.report(), entry.code);
    EXPECT_EQ(TakeError().description, expected + "\r\nmore");
  }
}

// One reporter, several threads, each running its own member: every thread
// reads back exactly its own reports.
TEST_F(ReporterTest, ConcurrentReportsStayOnTheirThreads) {
  constexpr int kThreads = 4;
  constexpr int kReports = 300;
  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const std::string member = "put_Member" + std::to_string(t);
      const com::IID iid{static_cast<std::uint32_t>(t + 1), 0, 0, {}};
      const MethodDescriptor descriptor = MakeDescriptor(iid, "IThreaded", member.c_str());
      ScopedCall call(&descriptor);
      for (int i = 0; i < kReports; ++i) {
        const HRESULT hr = reporter_.InvalidValueIntCurrent("val", i * kThreads + t);
        const com::ErrorRecord e = TakeError();
        const std::string expected = "MorvaneTqr: Invalid value '" +
                                     std::to_string(i * kThreads + t) + "' for method '" + member +
                                     "', parameter 'val'.";
        if (hr != E_IVI_INVALID_VALUE || e.description != expected || !(e.iid == iid)) {
          ++mismatches;
        }
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(mismatches.load(), 0);
}

TEST(QualifiedMemberName, DropsOnlyAccessorPrefixes) {
  EXPECT_EQ(QualifiedMemberName("IIviDCPwrOutput", "get_VoltageLevel"),
            "IIviDCPwrOutput.VoltageLevel");
  EXPECT_EQ(QualifiedMemberName("IIviDriverOperation", "put_Cache"), "IIviDriverOperation.Cache");
  EXPECT_EQ(QualifiedMemberName("IIviDriver", "Initialize"), "IIviDriver.Initialize");
  EXPECT_EQ(QualifiedMemberName("I", "get_"), "I.");
  EXPECT_EQ(QualifiedMemberName("I", "Get_X"), "I.Get_X");
  EXPECT_EQ(QualifiedMemberName("I", "get"), "I.get");
}

}  // namespace
}  // namespace motqr::errors
