// CErrorReporter: the framework half of IErrorReporter. It formats a message
// of the message table with its inserts, appends the extra text and hands the
// result to SetErrorObject, which the driver's reporter implements (it knows
// the codes). It also builds and installs the thread's error object.
//
//   class CMyReporter : public CErrorReporter {
//     HRESULT SetErrorObject(int id, std::string_view text) override {
//       ... return code of id after InstallErrorObject(text, CurrentInterfaceId(), ...);
//     }
//   };
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "errors/call_context.h"
#include "errors/error_reporter.h"
#include "platform/com/types.h"

namespace motqr::errors {

class CErrorReporter : public IErrorReporter {
 public:
  // `source` names the driver class in every error object ("Vendor.Driver.1")
  // and must outlive the reporter (a literal); `context` may be null and is
  // not owned.
  CErrorReporter(const com::CLSID& driver_clsid, std::string_view source,
                 ICallContextProvider* context) noexcept
      : driver_clsid_(driver_clsid), source_(source), context_(context) {}
  virtual ~CErrorReporter() = default;
  CErrorReporter(const CErrorReporter&) = delete;
  CErrorReporter& operator=(const CErrorReporter&) = delete;

  HRESULT ReportErrorText(HRESULT code, std::string_view description) noexcept override;
  HRESULT ReportErrorV(int id, std::span<const std::string_view> inserts) noexcept override;
  HRESULT ReportErrorExV(int id, std::string_view extra,
                         std::span<const std::string_view> inserts) noexcept override;
  HRESULT FormatErrorMessage(int id, std::span<const std::string_view> inserts,
                             std::string* text) noexcept override;

  std::string CurrentQualifiedName() const override;
  const com::CLSID& DriverClsid() const { return driver_clsid_; }
  std::string_view Source() const { return source_; }

 protected:
  // The descriptor of the innermost call in progress, or null.
  const MethodDescriptor* CurrentCall() const;
  // Its member name as called ("get_Cache"), or empty.
  std::string_view CurrentMemberName() const;
  // Its interface id, or GUID_NULL.
  com::IID CurrentInterfaceId() const;

  // Builds an error object (description, this reporter's source, `iid`, and
  // the help file with `help_context` when that is not 0) and makes it the
  // calling thread's error object. Returns S_OK when installed, E_OUTOFMEMORY
  // when its strings could not be built, and S_FALSE when the error object
  // could not be created; in both failure cases the thread's error object is
  // left as it was.
  HRESULT InstallErrorObject(std::string_view description, const com::IID& iid,
                             com::ULONG help_context, std::string_view help_file) noexcept;

 private:
  // Describes why message `id` could not be formatted in the thread's error object.
  void ReportFormatFailure(int id, std::string_view reason) noexcept;

  com::CLSID driver_clsid_;
  std::string_view source_;
  ICallContextProvider* context_;
};

}  // namespace motqr::errors
