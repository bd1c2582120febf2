// RecordingErrorReporter: an IErrorReporter for tests that keeps every report
// (which operation, its arguments and extra text) and returns a fixed status
// per operation, without touching the thread's error object.
//
//   RecordingErrorReporter reporter;
//   ... code under test reports through &reporter ...
//   EXPECT_EQ(reporter.LastKind(), "OutOfMemory");
//   EXPECT_EQ(reporter.LastText(), "Can't push character back ...");
#pragma once

#include <string>
#include <vector>

#include "errors/error_reporter.h"

namespace motqr::io::testing {

class RecordingErrorReporter final : public errors::IErrorReporter {
 public:
  using HRESULT = com::HRESULT;

  // Status codes returned by the operations tests look at most.
  static constexpr HRESULT kIoError = com::MakeHresult(0x80044214u);
  static constexpr HRESULT kIoTimeout = com::MakeHresult(0x80044215u);
  static constexpr HRESULT kInvalidValue = com::MakeHresult(0x80047010u);
  static constexpr HRESULT kNotInitialized = com::MakeHresult(0x8004701Du);
  static constexpr HRESULT kOutOfMemory = com::MakeHresult(0x80047056u);
  static constexpr HRESULT kNullPointer = com::MakeHresult(0x80047058u);
  static constexpr HRESULT kUnexpectedResponse = com::MakeHresult(0x80047059u);
  static constexpr HRESULT kCannotRecover = com::MakeHresult(0x80047000u);
  static constexpr HRESULT kOther = com::E_FAIL;

  struct Report {
    std::string kind;               // operation name: "IoError", "NullPointerCurrent", ...
    std::vector<std::string> args;  // its text arguments in order
    std::string extra;
    HRESULT code;
  };

  const std::vector<Report>& Reports() const { return reports_; }
  bool Empty() const { return reports_.empty(); }
  // Kind and extra text of the last report ("" when there is none).
  std::string LastKind() const { return reports_.empty() ? "" : reports_.back().kind; }
  std::string LastText() const { return reports_.empty() ? "" : reports_.back().extra; }
  void Clear() { reports_.clear(); }

  HRESULT ReportErrorText(HRESULT code, std::string_view description) override;
  HRESULT ReportErrorV(int id, std::span<const std::string_view> inserts) override;
  HRESULT ReportErrorExV(int id, std::string_view extra,
                         std::span<const std::string_view> inserts) override;
  HRESULT IoError(std::string_view extra) override;
  HRESULT IoTimeout(std::string_view extra) override;
  HRESULT ModelNotSupported(std::string_view feature, std::string_view extra) override;
  HRESULT FunctionNotSupported(std::string_view method, std::string_view extra) override;
  HRESULT FunctionNotSupportedCurrent(std::string_view extra) override;
  HRESULT PropertyNotSupported(std::string_view property, std::string_view extra) override;
  HRESULT PropertyNotSupportedCurrent(std::string_view extra) override;
  HRESULT InvalidValueBool(std::string_view method, std::string_view parameter, bool value,
                           std::string_view extra) override;
  HRESULT InvalidValueInt(std::string_view method, std::string_view parameter, std::int32_t value,
                          const char* format, std::string_view extra) override;
  HRESULT InvalidValueDouble(std::string_view method, std::string_view parameter, double value,
                             const char* format, std::string_view extra) override;
  HRESULT InvalidValueString(std::string_view method, std::string_view parameter, const char* value,
                             std::string_view extra) override;
  HRESULT InvalidValueWide(std::string_view method, std::string_view parameter,
                           const char16_t* value, std::string_view extra) override;
  HRESULT InvalidValueStringObject(std::string_view method, std::string_view parameter,
                                   const std::string& value, std::string_view extra) override;
  HRESULT InvalidValueBoolCurrent(std::string_view parameter, bool value,
                                  std::string_view extra) override;
  HRESULT InvalidValueIntCurrent(std::string_view parameter, std::int32_t value, const char* format,
                                 std::string_view extra) override;
  HRESULT InvalidValueDoubleCurrent(std::string_view parameter, double value, const char* format,
                                    std::string_view extra) override;
  HRESULT InvalidValueStringCurrent(std::string_view parameter, const char* value,
                                    std::string_view extra) override;
  HRESULT InvalidValueWideCurrent(std::string_view parameter, const char16_t* value,
                                  std::string_view extra) override;
  HRESULT InvalidValueStringObjectCurrent(std::string_view parameter, const std::string& value,
                                          std::string_view extra) override;
  HRESULT AlreadyInitialized(std::string_view extra) override;
  HRESULT BadOptionName(std::string_view name, std::string_view extra) override;
  HRESULT BadOptionValue(std::string_view value, std::string_view extra) override;
  HRESULT BadlyFormedSelector(std::string_view extra) override;
  HRESULT CannotChangeSimulationState(std::string_view extra) override;
  HRESULT CannotOpenFile(std::string_view extra) override;
  HRESULT CannotRecover(std::string_view extra) override;
  HRESULT ChannelNameRequired(std::string_view extra) override;
  HRESULT FileNotFound(std::string_view extra) override;
  HRESULT IdQueryFailed(std::string_view extra) override;
  HRESULT InstrumentStatus(std::string_view extra) override;
  HRESULT InvalidFileFormat(std::string_view extra) override;
  HRESULT InvalidNumberOfLevelsInSelector(std::string_view repcap, std::string_view extra) override;
  HRESULT InvalidPathName(std::string_view extra) override;
  HRESULT InvalidRangeInSelector(std::string_view range, std::string_view repcap,
                                 std::string_view extra) override;
  HRESULT MissingOptionName(std::string_view extra) override;
  HRESULT MissingOptionValue(std::string_view extra) override;
  HRESULT NotInitialized(std::string_view extra) override;
  HRESULT NullPointerCurrent(std::string_view parameter, std::string_view extra) override;
  HRESULT NullPointer(std::string_view method, std::string_view parameter,
                      std::string_view extra) override;
  HRESULT OperationPending(std::string_view extra) override;
  HRESULT OutOfMemory(std::string_view extra) override;
  HRESULT ErrorReadingFile(std::string_view extra) override;
  HRESULT ResetFailed(std::string_view extra) override;
  HRESULT UnknownResource(std::string_view extra) override;
  HRESULT StatusNotAvailable(std::string_view extra) override;
  HRESULT TooManyOpenFiles(std::string_view extra) override;
  HRESULT UnexpectedResponse(std::string_view extra) override;
  HRESULT UnknownChannelName(std::string_view extra) override;
  HRESULT UnknownNameInSelector(std::string_view extra) override;
  HRESULT UnknownPhysicalIdentifier(std::string_view extra) override;
  HRESULT ValueNotSupportedCurrent(std::string_view value, std::string_view parameter,
                                   std::string_view extra) override;
  HRESULT ValueNotSupported(std::string_view value, std::string_view parameter,
                            std::string_view method, std::string_view extra) override;
  HRESULT ErrorWritingFile(std::string_view extra) override;
  HRESULT WarnErrorQueryNotSupported(std::string_view extra) override;
  HRESULT WarnIdQueryNotSupported(std::string_view extra) override;
  HRESULT WarnResetNotSupported(std::string_view extra) override;
  HRESULT WarnRevisionQueryNotSupported(std::string_view extra) override;
  HRESULT WarnSelfTestNotSupported(std::string_view extra) override;
  HRESULT FormatErrorMessage(int id, std::span<const std::string_view> inserts,
                             std::string* text) override;
  HRESULT SetErrorObject(int id, std::string_view text) override;
  HRESULT TriggerNotSoftware(std::string_view extra) override;

 private:
  HRESULT Record(std::string kind, HRESULT code, std::vector<std::string> args,
                 std::string_view extra);

  std::vector<Report> reports_;
};

}  // namespace motqr::io::testing
