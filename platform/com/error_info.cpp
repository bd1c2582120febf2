#include "platform/com/error_info.h"

#include <atomic>
#include <new>

#include "platform/com/object.h"

namespace motqr::com {
namespace {

class ErrorObject final : public ComObject<ErrorObject, IErrorInfo, ICreateErrorInfo> {
 public:
  HRESULT QueryInterface(const IID& iid, void** object) override {
    return QueryInterfaceTable(
        this, iid, object,
        {Entry<IErrorInfo>(), Entry<ICreateErrorInfo>(), Entry<IUnknown, IErrorInfo>()});
  }

  HRESULT GetGUID(GUID* guid) override {
    if (!guid) return E_POINTER;
    *guid = guid_;
    return S_OK;
  }
  HRESULT GetSource(BSTR* s) override { return Copy(source_, s); }
  HRESULT GetDescription(BSTR* s) override { return Copy(description_, s); }
  HRESULT GetHelpFile(BSTR* s) override { return Copy(help_file_, s); }
  HRESULT GetHelpContext(ULONG* c) override {
    if (!c) return E_POINTER;
    *c = help_context_;
    return S_OK;
  }

  HRESULT SetGUID(const GUID& guid) override {
    guid_ = guid;
    return S_OK;
  }
  HRESULT SetSource(const char16_t* s) override { return Assign(s, &source_); }
  HRESULT SetDescription(const char16_t* s) override { return Assign(s, &description_); }
  HRESULT SetHelpFile(const char16_t* s) override { return Assign(s, &help_file_); }
  HRESULT SetHelpContext(ULONG c) override {
    help_context_ = c;
    return S_OK;
  }

 private:
  static HRESULT Copy(const Bstr& from, BSTR* to) {
    if (!to) return E_POINTER;
    *to = from.IsNull() ? nullptr : Bstr(from).Detach();
    return S_OK;
  }
  static HRESULT Assign(const char16_t* s, Bstr* to) {
    *to = s ? Bstr(std::u16string_view(s)) : Bstr();
    return s && to->IsNull() ? E_OUTOFMEMORY : S_OK;
  }

  GUID guid_ = GUID_NULL;
  Bstr source_, description_, help_file_;
  ULONG help_context_ = 0;
};

ComPtr<IErrorInfo>& ThreadErrorObject() {
  thread_local ComPtr<IErrorInfo> current;
  return current;
}

bool Read(IErrorInfo* info, ErrorRecord* record) {
  if (!info) return false;
  if (record) {
    Bstr text;
    info->GetDescription(text.Put());
    record->description = text.ToUtf8();
    info->GetSource(text.Put());
    record->source = text.ToUtf8();
    info->GetHelpFile(text.Put());
    record->help_file = text.ToUtf8();
    info->GetGUID(&record->iid);
    info->GetHelpContext(&record->help_context);
  }
  return true;
}

}  // namespace

HRESULT CreateErrorInfo(ICreateErrorInfo** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow) ErrorObject;
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT SetErrorInfo(ULONG, IErrorInfo* info) {
  ThreadErrorObject() = ComPtr<IErrorInfo>(info);
  return S_OK;
}

HRESULT GetErrorInfo(ULONG, IErrorInfo** out) {
  if (!out) return E_POINTER;
  *out = ThreadErrorObject().Detach();
  return *out ? S_OK : S_FALSE;
}

bool PeekErrorInfo(ErrorRecord* record) { return Read(ThreadErrorObject().Get(), record); }

bool TakeErrorInfo(ErrorRecord* record) {
  ComPtr<IErrorInfo> info = ComPtr<IErrorInfo>::Attach(ThreadErrorObject().Detach());
  return Read(info.Get(), record);
}

HRESULT SetErrorRecord(const ErrorRecord& record) {
  ComPtr<ICreateErrorInfo> create;
  if (HRESULT hr = CreateErrorInfo(create.Put()); Failed(hr)) return hr;
  create->SetDescription(Bstr::FromUtf8(record.description).Get());
  create->SetSource(Bstr::FromUtf8(record.source).Get());
  create->SetGUID(record.iid);
  if (!record.help_file.empty()) create->SetHelpFile(Bstr::FromUtf8(record.help_file).Get());
  create->SetHelpContext(record.help_context);
  ComPtr<IErrorInfo> info;
  if (HRESULT hr = create.As(&info); Failed(hr)) return hr;
  return SetErrorInfo(0, info.Get());
}

}  // namespace motqr::com
