#include "io/testing/recording_error_reporter.h"

#include <utility>

#include "platform/com/bstr.h"

namespace motqr::io::testing {

using HRESULT = com::HRESULT;

namespace {

std::string Str(std::string_view s) { return std::string(s); }
std::string Str(const char* s) { return s ? std::string(s) : std::string("(null)"); }
std::string Str(const char16_t* s) { return s ? com::Utf16ToUtf8(s) : std::string("(null)"); }
std::string Str(bool b) { return b ? "True" : "False"; }
std::string Str(std::int32_t v) { return std::to_string(v); }
std::string Str(double v) { return std::to_string(v); }

std::vector<std::string> Strs(std::span<const std::string_view> inserts) {
  std::vector<std::string> out;
  for (std::string_view s : inserts) out.emplace_back(s);
  return out;
}

}  // namespace

HRESULT RecordingErrorReporter::Record(std::string kind, HRESULT code,
                                       std::vector<std::string> args, std::string_view extra) {
  reports_.push_back(Report{std::move(kind), std::move(args), std::string(extra), code});
  return code;
}

HRESULT RecordingErrorReporter::ReportErrorText(HRESULT code, std::string_view description) {
  return Record("ReportErrorText", code, {}, description);
}
HRESULT RecordingErrorReporter::ReportErrorV(int id, std::span<const std::string_view> inserts) {
  auto args = Strs(inserts);
  args.insert(args.begin(), std::to_string(id));
  return Record("ReportError", kOther, std::move(args), {});
}
HRESULT RecordingErrorReporter::ReportErrorExV(int id, std::string_view extra,
                                               std::span<const std::string_view> inserts) {
  auto args = Strs(inserts);
  args.insert(args.begin(), std::to_string(id));
  return Record("ReportErrorEx", kOther, std::move(args), extra);
}

// One line per report operation: name, returned status, arguments.
#define MOTQR_RECORD0(Name, Code)                                \
  HRESULT RecordingErrorReporter::Name(std::string_view extra) { \
    return Record(#Name, Code, {}, extra);                       \
  }
MOTQR_RECORD0(IoError, kIoError)
MOTQR_RECORD0(IoTimeout, kIoTimeout)
MOTQR_RECORD0(FunctionNotSupportedCurrent, kOther)
MOTQR_RECORD0(PropertyNotSupportedCurrent, kOther)
MOTQR_RECORD0(AlreadyInitialized, kOther)
MOTQR_RECORD0(BadlyFormedSelector, kOther)
MOTQR_RECORD0(CannotChangeSimulationState, kOther)
MOTQR_RECORD0(CannotOpenFile, kOther)
MOTQR_RECORD0(CannotRecover, kCannotRecover)
MOTQR_RECORD0(ChannelNameRequired, kOther)
MOTQR_RECORD0(FileNotFound, kOther)
MOTQR_RECORD0(IdQueryFailed, kOther)
MOTQR_RECORD0(InstrumentStatus, kOther)
MOTQR_RECORD0(InvalidFileFormat, kOther)
MOTQR_RECORD0(InvalidPathName, kOther)
MOTQR_RECORD0(MissingOptionName, kOther)
MOTQR_RECORD0(MissingOptionValue, kOther)
MOTQR_RECORD0(NotInitialized, kNotInitialized)
MOTQR_RECORD0(OperationPending, kOther)
MOTQR_RECORD0(OutOfMemory, kOutOfMemory)
MOTQR_RECORD0(ErrorReadingFile, kOther)
MOTQR_RECORD0(ResetFailed, kOther)
MOTQR_RECORD0(UnknownResource, kOther)
MOTQR_RECORD0(StatusNotAvailable, kOther)
MOTQR_RECORD0(TooManyOpenFiles, kOther)
MOTQR_RECORD0(UnexpectedResponse, kUnexpectedResponse)
MOTQR_RECORD0(UnknownChannelName, kOther)
MOTQR_RECORD0(UnknownNameInSelector, kOther)
MOTQR_RECORD0(UnknownPhysicalIdentifier, kOther)
MOTQR_RECORD0(ErrorWritingFile, kOther)
MOTQR_RECORD0(WarnErrorQueryNotSupported, kOther)
MOTQR_RECORD0(WarnIdQueryNotSupported, kOther)
MOTQR_RECORD0(WarnResetNotSupported, kOther)
MOTQR_RECORD0(WarnRevisionQueryNotSupported, kOther)
MOTQR_RECORD0(WarnSelfTestNotSupported, kOther)
MOTQR_RECORD0(TriggerNotSoftware, kOther)
#undef MOTQR_RECORD0

HRESULT RecordingErrorReporter::ModelNotSupported(std::string_view feature,
                                                  std::string_view extra) {
  return Record("ModelNotSupported", kOther, {Str(feature)}, extra);
}
HRESULT RecordingErrorReporter::FunctionNotSupported(std::string_view method,
                                                     std::string_view extra) {
  return Record("FunctionNotSupported", kOther, {Str(method)}, extra);
}
HRESULT RecordingErrorReporter::PropertyNotSupported(std::string_view property,
                                                     std::string_view extra) {
  return Record("PropertyNotSupported", kOther, {Str(property)}, extra);
}
HRESULT RecordingErrorReporter::InvalidValueBool(std::string_view method,
                                                 std::string_view parameter, bool value,
                                                 std::string_view extra) {
  return Record("InvalidValue", kInvalidValue, {Str(method), Str(parameter), Str(value)}, extra);
}
HRESULT RecordingErrorReporter::InvalidValueInt(std::string_view method, std::string_view parameter,
                                                std::int32_t value, const char*,
                                                std::string_view extra) {
  return Record("InvalidValue", kInvalidValue, {Str(method), Str(parameter), Str(value)}, extra);
}
HRESULT RecordingErrorReporter::InvalidValueDouble(std::string_view method,
                                                   std::string_view parameter, double value,
                                                   const char*, std::string_view extra) {
  return Record("InvalidValue", kInvalidValue, {Str(method), Str(parameter), Str(value)}, extra);
}
HRESULT RecordingErrorReporter::InvalidValueString(std::string_view method,
                                                   std::string_view parameter, const char* value,
                                                   std::string_view extra) {
  return Record("InvalidValue", kInvalidValue, {Str(method), Str(parameter), Str(value)}, extra);
}
HRESULT RecordingErrorReporter::InvalidValueWide(std::string_view method,
                                                 std::string_view parameter, const char16_t* value,
                                                 std::string_view extra) {
  return Record("InvalidValue", kInvalidValue, {Str(method), Str(parameter), Str(value)}, extra);
}
HRESULT RecordingErrorReporter::InvalidValueStringObject(std::string_view method,
                                                         std::string_view parameter,
                                                         const std::string& value,
                                                         std::string_view extra) {
  return Record("InvalidValue", kInvalidValue, {Str(method), Str(parameter), value}, extra);
}
HRESULT RecordingErrorReporter::InvalidValueBoolCurrent(std::string_view parameter, bool value,
                                                        std::string_view extra) {
  return Record("InvalidValueCurrent", kInvalidValue, {Str(parameter), Str(value)}, extra);
}
HRESULT RecordingErrorReporter::InvalidValueIntCurrent(std::string_view parameter,
                                                       std::int32_t value, const char*,
                                                       std::string_view extra) {
  return Record("InvalidValueCurrent", kInvalidValue, {Str(parameter), Str(value)}, extra);
}
HRESULT RecordingErrorReporter::InvalidValueDoubleCurrent(std::string_view parameter, double value,
                                                          const char*, std::string_view extra) {
  return Record("InvalidValueCurrent", kInvalidValue, {Str(parameter), Str(value)}, extra);
}
HRESULT RecordingErrorReporter::InvalidValueStringCurrent(std::string_view parameter,
                                                          const char* value,
                                                          std::string_view extra) {
  return Record("InvalidValueCurrent", kInvalidValue, {Str(parameter), Str(value)}, extra);
}
HRESULT RecordingErrorReporter::InvalidValueWideCurrent(std::string_view parameter,
                                                        const char16_t* value,
                                                        std::string_view extra) {
  return Record("InvalidValueCurrent", kInvalidValue, {Str(parameter), Str(value)}, extra);
}
HRESULT RecordingErrorReporter::InvalidValueStringObjectCurrent(std::string_view parameter,
                                                                const std::string& value,
                                                                std::string_view extra) {
  return Record("InvalidValueCurrent", kInvalidValue, {Str(parameter), value}, extra);
}
HRESULT RecordingErrorReporter::BadOptionName(std::string_view name, std::string_view extra) {
  return Record("BadOptionName", kOther, {Str(name)}, extra);
}
HRESULT RecordingErrorReporter::BadOptionValue(std::string_view value, std::string_view extra) {
  return Record("BadOptionValue", kOther, {Str(value)}, extra);
}
HRESULT RecordingErrorReporter::InvalidNumberOfLevelsInSelector(std::string_view repcap,
                                                                std::string_view extra) {
  return Record("InvalidNumberOfLevelsInSelector", kOther, {Str(repcap)}, extra);
}
HRESULT RecordingErrorReporter::InvalidRangeInSelector(std::string_view range,
                                                       std::string_view repcap,
                                                       std::string_view extra) {
  return Record("InvalidRangeInSelector", kOther, {Str(range), Str(repcap)}, extra);
}
HRESULT RecordingErrorReporter::NullPointerCurrent(std::string_view parameter,
                                                   std::string_view extra) {
  return Record("NullPointerCurrent", kNullPointer, {Str(parameter)}, extra);
}
HRESULT RecordingErrorReporter::NullPointer(std::string_view method, std::string_view parameter,
                                            std::string_view extra) {
  return Record("NullPointer", kNullPointer, {Str(method), Str(parameter)}, extra);
}
HRESULT RecordingErrorReporter::ValueNotSupportedCurrent(std::string_view value,
                                                         std::string_view parameter,
                                                         std::string_view extra) {
  return Record("ValueNotSupportedCurrent", kOther, {Str(value), Str(parameter)}, extra);
}
HRESULT RecordingErrorReporter::ValueNotSupported(std::string_view value,
                                                  std::string_view parameter,
                                                  std::string_view method, std::string_view extra) {
  return Record("ValueNotSupported", kOther, {Str(value), Str(parameter), Str(method)}, extra);
}
HRESULT RecordingErrorReporter::FormatErrorMessage(int id, std::span<const std::string_view>,
                                                   std::string* text) {
  if (text) *text = "message " + std::to_string(id);
  return com::S_OK;
}
HRESULT RecordingErrorReporter::SetErrorObject(int id, std::string_view text) {
  return Record("SetErrorObject", kOther, {std::to_string(id)}, text);
}

}  // namespace motqr::io::testing
