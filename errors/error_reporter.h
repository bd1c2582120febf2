// IErrorReporter: turns a message number, its inserts and an optional extra
// text into a status code plus the calling thread's error object.
//
//   return reporter->NullPointerCurrent("val");      // message 22, current member
//   return reporter->ReportErrorEx(kMsgIdQueryFailed, "Unrecognized model: X.");
//
// Every operation returns the status the caller should return; none throws.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "platform/com/types.h"

namespace motqr::errors {

using com::HRESULT;

class IErrorReporter {
 public:
  // The qualified name of the innermost member in progress
  // ("IIviDCPwrOutput.VoltageLevel"); empty outside any member.
  virtual std::string CurrentQualifiedName() const { return {}; }

  // 0: sets the thread's error object with `description` as given; returns `code`.
  virtual HRESULT ReportErrorText(HRESULT code, std::string_view description) = 0;
  // 1, 2: message `id` with inserts %1..%3.
  HRESULT ReportError(int id, std::initializer_list<std::string_view> inserts = {}) {
    return ReportErrorV(id, std::span(inserts.begin(), inserts.size()));
  }
  virtual HRESULT ReportErrorV(int id, std::span<const std::string_view> inserts) = 0;
  // 3, 4: as ReportError, then a line break and `extra` when `extra` is not empty.
  HRESULT ReportErrorEx(int id, std::string_view extra,
                        std::initializer_list<std::string_view> inserts = {}) {
    return ReportErrorExV(id, extra, std::span(inserts.begin(), inserts.size()));
  }
  virtual HRESULT ReportErrorExV(int id, std::string_view extra,
                                 std::span<const std::string_view> inserts) = 0;

  // 5 to 62 and 65: one message each. "Current" forms take the method name
  // from the innermost call context.
  virtual HRESULT IoError(std::string_view extra = {}) = 0;
  virtual HRESULT IoTimeout(std::string_view extra = {}) = 0;
  virtual HRESULT ModelNotSupported(std::string_view feature, std::string_view extra = {}) = 0;
  virtual HRESULT FunctionNotSupported(std::string_view method, std::string_view extra = {}) = 0;
  virtual HRESULT FunctionNotSupportedCurrent(std::string_view extra = {}) = 0;
  virtual HRESULT PropertyNotSupported(std::string_view property, std::string_view extra = {}) = 0;
  virtual HRESULT PropertyNotSupportedCurrent(std::string_view extra = {}) = 0;
  virtual HRESULT InvalidValueBool(std::string_view method, std::string_view parameter, bool value,
                                   std::string_view extra = {}) = 0;
  virtual HRESULT InvalidValueInt(std::string_view method, std::string_view parameter,
                                  std::int32_t value, const char* format = "%d",
                                  std::string_view extra = {}) = 0;
  virtual HRESULT InvalidValueDouble(std::string_view method, std::string_view parameter,
                                     double value, const char* format = "%.15g",
                                     std::string_view extra = {}) = 0;
  virtual HRESULT InvalidValueString(std::string_view method, std::string_view parameter,
                                     const char* value, std::string_view extra = {}) = 0;
  virtual HRESULT InvalidValueWide(std::string_view method, std::string_view parameter,
                                   const char16_t* value, std::string_view extra = {}) = 0;
  virtual HRESULT InvalidValueStringObject(std::string_view method, std::string_view parameter,
                                           const std::string& value,
                                           std::string_view extra = {}) = 0;
  virtual HRESULT InvalidValueBoolCurrent(std::string_view parameter, bool value,
                                          std::string_view extra = {}) = 0;
  virtual HRESULT InvalidValueIntCurrent(std::string_view parameter, std::int32_t value,
                                         const char* format = "%d",
                                         std::string_view extra = {}) = 0;
  virtual HRESULT InvalidValueDoubleCurrent(std::string_view parameter, double value,
                                            const char* format = "%.15g",
                                            std::string_view extra = {}) = 0;
  virtual HRESULT InvalidValueStringCurrent(std::string_view parameter, const char* value,
                                            std::string_view extra = {}) = 0;
  virtual HRESULT InvalidValueWideCurrent(std::string_view parameter, const char16_t* value,
                                          std::string_view extra = {}) = 0;
  virtual HRESULT InvalidValueStringObjectCurrent(std::string_view parameter,
                                                  const std::string& value,
                                                  std::string_view extra = {}) = 0;
  virtual HRESULT AlreadyInitialized(std::string_view extra = {}) = 0;
  virtual HRESULT BadOptionName(std::string_view name, std::string_view extra = {}) = 0;
  virtual HRESULT BadOptionValue(std::string_view value, std::string_view extra = {}) = 0;
  virtual HRESULT BadlyFormedSelector(std::string_view extra = {}) = 0;
  virtual HRESULT CannotChangeSimulationState(std::string_view extra = {}) = 0;
  virtual HRESULT CannotOpenFile(std::string_view extra = {}) = 0;
  virtual HRESULT CannotRecover(std::string_view extra = {}) = 0;
  virtual HRESULT ChannelNameRequired(std::string_view extra = {}) = 0;
  virtual HRESULT FileNotFound(std::string_view extra = {}) = 0;
  virtual HRESULT IdQueryFailed(std::string_view extra = {}) = 0;
  virtual HRESULT InstrumentStatus(std::string_view extra = {}) = 0;
  virtual HRESULT InvalidFileFormat(std::string_view extra = {}) = 0;
  virtual HRESULT InvalidNumberOfLevelsInSelector(std::string_view repcap,
                                                  std::string_view extra = {}) = 0;
  virtual HRESULT InvalidPathName(std::string_view extra = {}) = 0;
  virtual HRESULT InvalidRangeInSelector(std::string_view range, std::string_view repcap,
                                         std::string_view extra = {}) = 0;
  virtual HRESULT MissingOptionName(std::string_view extra = {}) = 0;
  virtual HRESULT MissingOptionValue(std::string_view extra = {}) = 0;
  virtual HRESULT NotInitialized(std::string_view extra = {}) = 0;
  virtual HRESULT NullPointerCurrent(std::string_view parameter, std::string_view extra = {}) = 0;
  virtual HRESULT NullPointer(std::string_view method, std::string_view parameter,
                              std::string_view extra = {}) = 0;
  virtual HRESULT OperationPending(std::string_view extra = {}) = 0;
  virtual HRESULT OutOfMemory(std::string_view extra = {}) = 0;
  virtual HRESULT ErrorReadingFile(std::string_view extra = {}) = 0;
  virtual HRESULT ResetFailed(std::string_view extra = {}) = 0;
  virtual HRESULT UnknownResource(std::string_view extra = {}) = 0;
  virtual HRESULT StatusNotAvailable(std::string_view extra = {}) = 0;
  virtual HRESULT TooManyOpenFiles(std::string_view extra = {}) = 0;
  virtual HRESULT UnexpectedResponse(std::string_view extra = {}) = 0;
  virtual HRESULT UnknownChannelName(std::string_view extra = {}) = 0;
  virtual HRESULT UnknownNameInSelector(std::string_view extra = {}) = 0;
  virtual HRESULT UnknownPhysicalIdentifier(std::string_view extra = {}) = 0;
  virtual HRESULT ValueNotSupportedCurrent(std::string_view value, std::string_view parameter,
                                           std::string_view extra = {}) = 0;
  virtual HRESULT ValueNotSupported(std::string_view value, std::string_view parameter,
                                    std::string_view method, std::string_view extra = {}) = 0;
  virtual HRESULT ErrorWritingFile(std::string_view extra = {}) = 0;
  virtual HRESULT WarnErrorQueryNotSupported(std::string_view extra = {}) = 0;
  virtual HRESULT WarnIdQueryNotSupported(std::string_view extra = {}) = 0;
  virtual HRESULT WarnResetNotSupported(std::string_view extra = {}) = 0;
  virtual HRESULT WarnRevisionQueryNotSupported(std::string_view extra = {}) = 0;
  virtual HRESULT WarnSelfTestNotSupported(std::string_view extra = {}) = 0;

  // 63: formats message `id` with its inserts into `text` (surrounding white
  // space removed). On failure the thread's error object describes why and the
  // result is DISP_E_EXCEPTION.
  virtual HRESULT FormatErrorMessage(int id, std::span<const std::string_view> inserts,
                                     std::string* text) = 0;
  // 64: maps `id` to its code and help context and installs the error object.
  virtual HRESULT SetErrorObject(int id, std::string_view text) = 0;
  // 65
  virtual HRESULT TriggerNotSoftware(std::string_view extra = {}) = 0;

 protected:
  ~IErrorReporter() = default;
};

}  // namespace motqr::errors
