#include "errors/error_reporter_base.h"

#include <charconv>
#include <new>

#include "errors/message_format.h"
#include "errors/message_table.h"
#include "platform/com/bstr.h"
#include "platform/com/error_info.h"

namespace motqr::errors {
namespace {

// Formatting failures are described in at most this many characters.
constexpr std::size_t kMaxFailureText = 500;
// Messages are language neutral.
constexpr int kLanguageNeutral = 0;

void AppendInt(std::string* out, int value) {
  char buf[16];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  out->append(buf, end);
}

}  // namespace

HRESULT CErrorReporter::ReportErrorText(HRESULT code, std::string_view description) noexcept {
  const HRESULT hr = InstallErrorObject(description, CurrentInterfaceId(), 0, {});
  return hr == com::E_OUTOFMEMORY ? hr : code;
}

HRESULT CErrorReporter::ReportErrorV(int id, std::span<const std::string_view> inserts) noexcept {
  return ReportErrorExV(id, {}, inserts);
}

HRESULT CErrorReporter::ReportErrorExV(int id, std::string_view extra,
                                       std::span<const std::string_view> inserts) noexcept {
  try {
    std::string text;
    if (HRESULT hr = FormatErrorMessage(id, inserts, &text); com::Failed(hr)) return hr;
    if (!extra.empty()) text.append("\r\n").append(extra);
    return SetErrorObject(id, text);
  } catch (...) {  // only allocation can throw here
    return com::E_OUTOFMEMORY;
  }
}

HRESULT CErrorReporter::FormatErrorMessage(int id, std::span<const std::string_view> inserts,
                                           std::string* text) noexcept {
  if (!text) return com::E_POINTER;
  try {
    std::string reason;
    if (const MessageEntry* message = FindMessage(id)) {
      std::string formatted;
      if (ExpandInserts(message->text, inserts, &formatted, &reason)) {
        *text = TrimWhiteSpace(formatted);
        return com::S_OK;
      }
    } else {
      reason = "There is no message with this number in the message table.";
    }
    ReportFormatFailure(id, reason);
    return com::DISP_E_EXCEPTION;
  } catch (...) {  // only allocation can throw here
    return com::E_OUTOFMEMORY;
  }
}

void CErrorReporter::ReportFormatFailure(int id, std::string_view reason) noexcept {
  try {
    std::string description =
        "Internal Error: Unable to retrieve and format error message from message table.\n"
        "Resource ID = ";
    AppendInt(&description, id);
    description.append("\nLanguage ID = ");
    AppendInt(&description, kLanguageNeutral);
    description.append("\nReason = '").append(reason).append("'");
    if (description.size() > kMaxFailureText) description.resize(kMaxFailureText);
    InstallErrorObject(description, com::GUID_NULL, 0, {});
  } catch (...) {  // out of memory: the thread's error object stays as it was
  }
}

const MethodDescriptor* CErrorReporter::CurrentCall() const {
  return context_ ? context_->GetCallContext() : nullptr;
}

std::string_view CErrorReporter::CurrentMemberName() const {
  const MethodDescriptor* call = CurrentCall();
  return call && call->member_name ? std::string_view(call->member_name) : std::string_view();
}

std::string CErrorReporter::CurrentQualifiedName() const {
  const MethodDescriptor* call = CurrentCall();
  return call ? call->qualified_name : std::string();
}

com::IID CErrorReporter::CurrentInterfaceId() const {
  const MethodDescriptor* call = CurrentCall();
  return call ? call->iid : com::GUID_NULL;
}

HRESULT CErrorReporter::InstallErrorObject(std::string_view description, const com::IID& iid,
                                           com::ULONG help_context,
                                           std::string_view help_file) noexcept {
  const bool with_help = help_context != 0;
  com::Bstr wide_description, wide_source, wide_help_file;
  try {
    wide_description = com::Bstr(com::Utf8ToUtf16(description));
    wide_source = com::Bstr(com::Utf8ToUtf16(source_));
    if (with_help) wide_help_file = com::Bstr(com::Utf8ToUtf16(help_file));
  } catch (...) {  // only allocation can throw here
    return com::E_OUTOFMEMORY;
  }
  if (wide_description.IsNull() || wide_source.IsNull() || (with_help && wide_help_file.IsNull())) {
    return com::E_OUTOFMEMORY;
  }

  com::ComPtr<com::ICreateErrorInfo> create;
  if (com::Failed(com::CreateErrorInfo(create.Put()))) return com::S_FALSE;
  create->SetDescription(wide_description.Get());
  create->SetSource(wide_source.Get());
  create->SetGUID(iid);
  if (with_help) {
    create->SetHelpFile(wide_help_file.Get());
    create->SetHelpContext(help_context);
  }
  com::ComPtr<com::IErrorInfo> info;
  if (com::Failed(create.As(&info))) return com::S_FALSE;
  com::SetErrorInfo(0, info.Get());
  return com::S_OK;
}

}  // namespace motqr::errors
