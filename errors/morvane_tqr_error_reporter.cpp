#include "errors/morvane_tqr_error_reporter.h"

#include <string>

#include "errors/message_ids.h"
#include "errors/message_table.h"
#include "errors/number_format.h"
#include "platform/com/bstr.h"
#include "platform/com/error_info.h"

namespace motqr::errors {
namespace {

std::string_view BoolText(bool value) { return value ? "True" : "False"; }

std::string_view NarrowText(const char* value) {
  return value ? std::string_view(value) : std::string_view();
}

// Null reads as empty. May throw std::bad_alloc.
std::string WideText(const char16_t* value) {
  return value ? com::Utf16ToUtf8(std::u16string_view(value)) : std::string();
}

}  // namespace

HRESULT CMorvaneTqrErrorReporter::SetErrorObject(int id, std::string_view text) noexcept {
  const MessageEntry* message = FindMessage(id);
  const HRESULT code = message ? message->code : com::E_UNEXPECTED;
  const com::ULONG help_context = message ? message->help_context : 0;
  if (InstallErrorObject(text, CurrentInterfaceId(), help_context, kHelpFile) ==
      com::E_OUTOFMEMORY) {
    return com::E_OUTOFMEMORY;
  }
  return code == com::S_OK ? com::DISP_E_EXCEPTION : code;
}

HRESULT CMorvaneTqrErrorReporter::IoFailure(int id, std::string_view extra) noexcept {
  try {
    com::ErrorRecord io_error;
    com::PeekErrorInfo(&io_error);  // leaves the description empty when there is none
    return ReportErrorEx(id, extra, {io_error.description});
  } catch (...) {  // only allocation can throw here
    return com::E_OUTOFMEMORY;
  }
}

HRESULT CMorvaneTqrErrorReporter::InvalidValueText(std::string_view method,
                                                   std::string_view parameter,
                                                   std::string_view value,
                                                   std::string_view extra) noexcept {
  return ReportErrorEx(kMsgInvalidValue, extra, {value, method, parameter});
}

HRESULT CMorvaneTqrErrorReporter::IoError(std::string_view extra) noexcept {
  return IoFailure(kMsgIoError, extra);
}
HRESULT CMorvaneTqrErrorReporter::IoTimeout(std::string_view extra) noexcept {
  return IoFailure(kMsgIoTimeout, extra);
}
HRESULT CMorvaneTqrErrorReporter::ModelNotSupported(std::string_view feature,
                                                    std::string_view extra) noexcept {
  return ReportErrorEx(kMsgModelNotSupported, extra, {feature});
}
HRESULT CMorvaneTqrErrorReporter::FunctionNotSupported(std::string_view method,
                                                       std::string_view extra) noexcept {
  return ReportErrorEx(kMsgFunctionNotSupported, extra, {method});
}
HRESULT CMorvaneTqrErrorReporter::FunctionNotSupportedCurrent(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgFunctionNotSupported, extra, {CurrentMemberName()});
}
HRESULT CMorvaneTqrErrorReporter::PropertyNotSupported(std::string_view property,
                                                       std::string_view extra) noexcept {
  return ReportErrorEx(kMsgPropertyNotSupported, extra, {property});
}
HRESULT CMorvaneTqrErrorReporter::PropertyNotSupportedCurrent(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgPropertyNotSupported, extra, {CurrentMemberName()});
}

// Invalid value, value as bool, integer, double, narrow, wide and string object.
HRESULT CMorvaneTqrErrorReporter::InvalidValueBool(std::string_view method,
                                                   std::string_view parameter, bool value,
                                                   std::string_view extra) noexcept {
  return InvalidValueText(method, parameter, BoolText(value), extra);
}
HRESULT CMorvaneTqrErrorReporter::InvalidValueInt(std::string_view method,
                                                  std::string_view parameter, std::int32_t value,
                                                  const char* format,
                                                  std::string_view extra) noexcept {
  try {
    return InvalidValueText(method, parameter, FormatInt32(format, value), extra);
  } catch (...) {  // only allocation can throw here
    return com::E_OUTOFMEMORY;
  }
}
HRESULT CMorvaneTqrErrorReporter::InvalidValueDouble(std::string_view method,
                                                     std::string_view parameter, double value,
                                                     const char* format,
                                                     std::string_view extra) noexcept {
  try {
    return InvalidValueText(method, parameter, FormatDouble(format, value), extra);
  } catch (...) {  // only allocation can throw here
    return com::E_OUTOFMEMORY;
  }
}
HRESULT CMorvaneTqrErrorReporter::InvalidValueString(std::string_view method,
                                                     std::string_view parameter, const char* value,
                                                     std::string_view extra) noexcept {
  return InvalidValueText(method, parameter, NarrowText(value), extra);
}
HRESULT CMorvaneTqrErrorReporter::InvalidValueWide(std::string_view method,
                                                   std::string_view parameter,
                                                   const char16_t* value,
                                                   std::string_view extra) noexcept {
  try {
    return InvalidValueText(method, parameter, WideText(value), extra);
  } catch (...) {  // only allocation can throw here
    return com::E_OUTOFMEMORY;
  }
}
HRESULT CMorvaneTqrErrorReporter::InvalidValueStringObject(std::string_view method,
                                                           std::string_view parameter,
                                                           const std::string& value,
                                                           std::string_view extra) noexcept {
  return InvalidValueText(method, parameter, value, extra);
}

// The same, the method being the member that is running.
HRESULT CMorvaneTqrErrorReporter::InvalidValueBoolCurrent(std::string_view parameter, bool value,
                                                          std::string_view extra) noexcept {
  return InvalidValueBool(CurrentMemberName(), parameter, value, extra);
}
HRESULT CMorvaneTqrErrorReporter::InvalidValueIntCurrent(std::string_view parameter,
                                                         std::int32_t value, const char* format,
                                                         std::string_view extra) noexcept {
  return InvalidValueInt(CurrentMemberName(), parameter, value, format, extra);
}
HRESULT CMorvaneTqrErrorReporter::InvalidValueDoubleCurrent(std::string_view parameter,
                                                            double value, const char* format,
                                                            std::string_view extra) noexcept {
  return InvalidValueDouble(CurrentMemberName(), parameter, value, format, extra);
}
HRESULT CMorvaneTqrErrorReporter::InvalidValueStringCurrent(std::string_view parameter,
                                                            const char* value,
                                                            std::string_view extra) noexcept {
  return InvalidValueString(CurrentMemberName(), parameter, value, extra);
}
HRESULT CMorvaneTqrErrorReporter::InvalidValueWideCurrent(std::string_view parameter,
                                                          const char16_t* value,
                                                          std::string_view extra) noexcept {
  return InvalidValueWide(CurrentMemberName(), parameter, value, extra);
}
HRESULT CMorvaneTqrErrorReporter::InvalidValueStringObjectCurrent(std::string_view parameter,
                                                                  const std::string& value,
                                                                  std::string_view extra) noexcept {
  return InvalidValueStringObject(CurrentMemberName(), parameter, value, extra);
}

HRESULT CMorvaneTqrErrorReporter::AlreadyInitialized(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgAlreadyInitialized, extra);
}
HRESULT CMorvaneTqrErrorReporter::BadOptionName(std::string_view name,
                                                std::string_view extra) noexcept {
  return ReportErrorEx(kMsgBadOptionName, extra, {name});
}
HRESULT CMorvaneTqrErrorReporter::BadOptionValue(std::string_view value,
                                                 std::string_view extra) noexcept {
  return ReportErrorEx(kMsgBadOptionValue, extra, {value});
}
HRESULT CMorvaneTqrErrorReporter::BadlyFormedSelector(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgBadlyFormedSelector, extra);
}
HRESULT CMorvaneTqrErrorReporter::CannotChangeSimulationState(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgCannotChangeSimulationState, extra);
}
HRESULT CMorvaneTqrErrorReporter::CannotOpenFile(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgCannotOpenFile, extra);
}
HRESULT CMorvaneTqrErrorReporter::CannotRecover(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgCannotRecover, extra);
}
HRESULT CMorvaneTqrErrorReporter::ChannelNameRequired(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgChannelNameRequired, extra);
}
HRESULT CMorvaneTqrErrorReporter::FileNotFound(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgFileNotFound, extra);
}
HRESULT CMorvaneTqrErrorReporter::IdQueryFailed(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgIdQueryFailed, extra);
}
HRESULT CMorvaneTqrErrorReporter::InstrumentStatus(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgInstrumentStatus, extra);
}
HRESULT CMorvaneTqrErrorReporter::InvalidFileFormat(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgInvalidFileFormat, extra);
}
HRESULT CMorvaneTqrErrorReporter::InvalidNumberOfLevelsInSelector(std::string_view repcap,
                                                                  std::string_view extra) noexcept {
  return ReportErrorEx(kMsgInvalidNumberOfLevelsInSelector, extra, {repcap});
}
HRESULT CMorvaneTqrErrorReporter::InvalidPathName(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgInvalidPathName, extra);
}
HRESULT CMorvaneTqrErrorReporter::InvalidRangeInSelector(std::string_view range,
                                                         std::string_view repcap,
                                                         std::string_view extra) noexcept {
  return ReportErrorEx(kMsgInvalidRangeInSelector, extra, {range, repcap});
}
HRESULT CMorvaneTqrErrorReporter::MissingOptionName(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgMissingOptionName, extra);
}
HRESULT CMorvaneTqrErrorReporter::MissingOptionValue(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgMissingOptionValue, extra);
}
HRESULT CMorvaneTqrErrorReporter::NotInitialized(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgNotInitialized, extra);
}
HRESULT CMorvaneTqrErrorReporter::NullPointerCurrent(std::string_view parameter,
                                                     std::string_view extra) noexcept {
  return ReportErrorEx(kMsgNullPointer, extra, {CurrentMemberName(), parameter});
}
HRESULT CMorvaneTqrErrorReporter::NullPointer(std::string_view method, std::string_view parameter,
                                              std::string_view extra) noexcept {
  return ReportErrorEx(kMsgNullPointer, extra, {method, parameter});
}
HRESULT CMorvaneTqrErrorReporter::OperationPending(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgOperationPending, extra);
}
HRESULT CMorvaneTqrErrorReporter::OutOfMemory(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgOutOfMemory, extra);
}
HRESULT CMorvaneTqrErrorReporter::ErrorReadingFile(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgErrorReadingFile, extra);
}
HRESULT CMorvaneTqrErrorReporter::ResetFailed(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgResetFailed, extra);
}
HRESULT CMorvaneTqrErrorReporter::UnknownResource(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgUnknownResource, extra);
}
HRESULT CMorvaneTqrErrorReporter::StatusNotAvailable(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgStatusNotAvailable, extra);
}
HRESULT CMorvaneTqrErrorReporter::TooManyOpenFiles(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgTooManyOpenFiles, extra);
}
HRESULT CMorvaneTqrErrorReporter::UnexpectedResponse(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgUnexpectedResponse, extra);
}
HRESULT CMorvaneTqrErrorReporter::UnknownChannelName(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgUnknownChannelName, extra);
}
HRESULT CMorvaneTqrErrorReporter::UnknownNameInSelector(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgUnknownNameInSelector, extra);
}
HRESULT CMorvaneTqrErrorReporter::UnknownPhysicalIdentifier(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgUnknownPhysicalIdentifier, extra);
}
HRESULT CMorvaneTqrErrorReporter::ValueNotSupportedCurrent(std::string_view value,
                                                           std::string_view parameter,
                                                           std::string_view extra) noexcept {
  return ReportErrorEx(kMsgValueNotSupported, extra, {value, parameter, CurrentMemberName()});
}
HRESULT CMorvaneTqrErrorReporter::ValueNotSupported(std::string_view value,
                                                    std::string_view parameter,
                                                    std::string_view method,
                                                    std::string_view extra) noexcept {
  return ReportErrorEx(kMsgValueNotSupported, extra, {value, parameter, method});
}
HRESULT CMorvaneTqrErrorReporter::ErrorWritingFile(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgErrorWritingFile, extra);
}
HRESULT CMorvaneTqrErrorReporter::WarnErrorQueryNotSupported(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgWarnErrorQueryNotSupported, extra);
}
HRESULT CMorvaneTqrErrorReporter::WarnIdQueryNotSupported(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgWarnIdQueryNotSupported, extra);
}
HRESULT CMorvaneTqrErrorReporter::WarnResetNotSupported(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgWarnResetNotSupported, extra);
}
HRESULT CMorvaneTqrErrorReporter::WarnRevisionQueryNotSupported(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgWarnRevisionQueryNotSupported, extra);
}
HRESULT CMorvaneTqrErrorReporter::WarnSelfTestNotSupported(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgWarnSelfTestNotSupported, extra);
}
HRESULT CMorvaneTqrErrorReporter::TriggerNotSoftware(std::string_view extra) noexcept {
  return ReportErrorEx(kMsgTriggerNotSoftware, extra);
}

}  // namespace motqr::errors
