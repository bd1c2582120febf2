// CMorvaneTqrErrorReporter: the driver's error reporter. Each report names
// one message of the message table (errors/messages.def); the reporter maps it
// to its status code and help context and leaves the formatted text in the
// calling thread's error object, with the interface id of the member that is
// running. One per driver object; it holds no mutable state, so any thread may
// use it at any time.
//
//   CMorvaneTqrErrorReporter reporter(kMorvaneTqrClsid, &driver);  // driver: ICallContextProvider
//   return reporter.NullPointerCurrent("val");   // E_IVI_NULL_POINTER, "... method 'get_Cache'
//   ..." return reporter.IdQueryFailed("Unrecognized model: TQR-X9.");
#pragma once

#include "errors/error_reporter_base.h"

namespace motqr::errors {

// The programmatic identifier of the driver class, the source of every error object.
inline constexpr char kDriverProgId[] = "MorvaneTqr.MorvaneTqr.1";

class CMorvaneTqrErrorReporter final : public CErrorReporter {
 public:
  // `context` (not owned, may be null) tells which member is running; without
  // it the "current member" forms name no member and errors carry GUID_NULL.
  CMorvaneTqrErrorReporter(const com::CLSID& driver_clsid, ICallContextProvider* context) noexcept
      : CErrorReporter(driver_clsid, kDriverProgId, context) {}

  HRESULT IoError(std::string_view extra = {}) noexcept override;
  HRESULT IoTimeout(std::string_view extra = {}) noexcept override;
  HRESULT ModelNotSupported(std::string_view feature,
                            std::string_view extra = {}) noexcept override;
  HRESULT FunctionNotSupported(std::string_view method,
                               std::string_view extra = {}) noexcept override;
  HRESULT FunctionNotSupportedCurrent(std::string_view extra = {}) noexcept override;
  HRESULT PropertyNotSupported(std::string_view property,
                               std::string_view extra = {}) noexcept override;
  HRESULT PropertyNotSupportedCurrent(std::string_view extra = {}) noexcept override;
  HRESULT InvalidValueBool(std::string_view method, std::string_view parameter, bool value,
                           std::string_view extra = {}) noexcept override;
  HRESULT InvalidValueInt(std::string_view method, std::string_view parameter, std::int32_t value,
                          const char* format = "%d", std::string_view extra = {}) noexcept override;
  HRESULT InvalidValueDouble(std::string_view method, std::string_view parameter, double value,
                             const char* format = "%.15g",
                             std::string_view extra = {}) noexcept override;
  HRESULT InvalidValueString(std::string_view method, std::string_view parameter, const char* value,
                             std::string_view extra = {}) noexcept override;
  HRESULT InvalidValueWide(std::string_view method, std::string_view parameter,
                           const char16_t* value, std::string_view extra = {}) noexcept override;
  HRESULT InvalidValueStringObject(std::string_view method, std::string_view parameter,
                                   const std::string& value,
                                   std::string_view extra = {}) noexcept override;
  HRESULT InvalidValueBoolCurrent(std::string_view parameter, bool value,
                                  std::string_view extra = {}) noexcept override;
  HRESULT InvalidValueIntCurrent(std::string_view parameter, std::int32_t value,
                                 const char* format = "%d",
                                 std::string_view extra = {}) noexcept override;
  HRESULT InvalidValueDoubleCurrent(std::string_view parameter, double value,
                                    const char* format = "%.15g",
                                    std::string_view extra = {}) noexcept override;
  HRESULT InvalidValueStringCurrent(std::string_view parameter, const char* value,
                                    std::string_view extra = {}) noexcept override;
  HRESULT InvalidValueWideCurrent(std::string_view parameter, const char16_t* value,
                                  std::string_view extra = {}) noexcept override;
  HRESULT InvalidValueStringObjectCurrent(std::string_view parameter, const std::string& value,
                                          std::string_view extra = {}) noexcept override;
  HRESULT AlreadyInitialized(std::string_view extra = {}) noexcept override;
  HRESULT BadOptionName(std::string_view name, std::string_view extra = {}) noexcept override;
  HRESULT BadOptionValue(std::string_view value, std::string_view extra = {}) noexcept override;
  HRESULT BadlyFormedSelector(std::string_view extra = {}) noexcept override;
  HRESULT CannotChangeSimulationState(std::string_view extra = {}) noexcept override;
  HRESULT CannotOpenFile(std::string_view extra = {}) noexcept override;
  HRESULT CannotRecover(std::string_view extra = {}) noexcept override;
  HRESULT ChannelNameRequired(std::string_view extra = {}) noexcept override;
  HRESULT FileNotFound(std::string_view extra = {}) noexcept override;
  HRESULT IdQueryFailed(std::string_view extra = {}) noexcept override;
  HRESULT InstrumentStatus(std::string_view extra = {}) noexcept override;
  HRESULT InvalidFileFormat(std::string_view extra = {}) noexcept override;
  HRESULT InvalidNumberOfLevelsInSelector(std::string_view repcap,
                                          std::string_view extra = {}) noexcept override;
  HRESULT InvalidPathName(std::string_view extra = {}) noexcept override;
  HRESULT InvalidRangeInSelector(std::string_view range, std::string_view repcap,
                                 std::string_view extra = {}) noexcept override;
  HRESULT MissingOptionName(std::string_view extra = {}) noexcept override;
  HRESULT MissingOptionValue(std::string_view extra = {}) noexcept override;
  HRESULT NotInitialized(std::string_view extra = {}) noexcept override;
  HRESULT NullPointerCurrent(std::string_view parameter,
                             std::string_view extra = {}) noexcept override;
  HRESULT NullPointer(std::string_view method, std::string_view parameter,
                      std::string_view extra = {}) noexcept override;
  HRESULT OperationPending(std::string_view extra = {}) noexcept override;
  HRESULT OutOfMemory(std::string_view extra = {}) noexcept override;
  HRESULT ErrorReadingFile(std::string_view extra = {}) noexcept override;
  HRESULT ResetFailed(std::string_view extra = {}) noexcept override;
  HRESULT UnknownResource(std::string_view extra = {}) noexcept override;
  HRESULT StatusNotAvailable(std::string_view extra = {}) noexcept override;
  HRESULT TooManyOpenFiles(std::string_view extra = {}) noexcept override;
  HRESULT UnexpectedResponse(std::string_view extra = {}) noexcept override;
  HRESULT UnknownChannelName(std::string_view extra = {}) noexcept override;
  HRESULT UnknownNameInSelector(std::string_view extra = {}) noexcept override;
  HRESULT UnknownPhysicalIdentifier(std::string_view extra = {}) noexcept override;
  HRESULT ValueNotSupportedCurrent(std::string_view value, std::string_view parameter,
                                   std::string_view extra = {}) noexcept override;
  HRESULT ValueNotSupported(std::string_view value, std::string_view parameter,
                            std::string_view method, std::string_view extra = {}) noexcept override;
  HRESULT ErrorWritingFile(std::string_view extra = {}) noexcept override;
  HRESULT WarnErrorQueryNotSupported(std::string_view extra = {}) noexcept override;
  HRESULT WarnIdQueryNotSupported(std::string_view extra = {}) noexcept override;
  HRESULT WarnResetNotSupported(std::string_view extra = {}) noexcept override;
  HRESULT WarnRevisionQueryNotSupported(std::string_view extra = {}) noexcept override;
  HRESULT WarnSelfTestNotSupported(std::string_view extra = {}) noexcept override;

  // Status code and help context of message `id` (0x8000FFFF and 0 for an
  // unknown id); installs the error object with `text` as its description.
  // A warning message returns its positive code; message 1 (code 0) returns
  // DISP_E_EXCEPTION.
  HRESULT SetErrorObject(int id, std::string_view text) noexcept override;
  HRESULT TriggerNotSoftware(std::string_view extra = {}) noexcept override;

 private:
  // Message 8 with the value already written as text.
  HRESULT InvalidValueText(std::string_view method, std::string_view parameter,
                           std::string_view value, std::string_view extra) noexcept;
  // Message 42 or 43 with %1 taken from the thread's error object.
  HRESULT IoFailure(int id, std::string_view extra) noexcept;
};

}  // namespace motqr::errors
