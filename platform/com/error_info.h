// The calling thread's error object: the description of the last failure,
// with its source, interface id and help reference.
//
//   ComPtr<ICreateErrorInfo> info;  CreateErrorInfo(info.Put());
//   info->SetDescription(u"...");   ... SetErrorInfo(0, errorInfo);
//   later, on the same thread:  GetErrorInfo(0, &p)  hands it out and clears it.
#pragma once

#include <string>

#include "platform/com/bstr.h"
#include "platform/com/com_ptr.h"
#include "platform/com/unknown.h"

namespace motqr::com {

class IErrorInfo : public IUnknown {
 public:
  static constexpr IID kIid{
      0x1CF2B120, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
  virtual HRESULT GetGUID(GUID* guid) = 0;
  virtual HRESULT GetSource(BSTR* source) = 0;
  virtual HRESULT GetDescription(BSTR* description) = 0;
  virtual HRESULT GetHelpFile(BSTR* help_file) = 0;
  virtual HRESULT GetHelpContext(ULONG* help_context) = 0;

 protected:
  ~IErrorInfo() = default;
};

class ICreateErrorInfo : public IUnknown {
 public:
  static constexpr IID kIid{
      0x22F03340, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
  virtual HRESULT SetGUID(const GUID& guid) = 0;
  virtual HRESULT SetSource(const char16_t* source) = 0;
  virtual HRESULT SetDescription(const char16_t* description) = 0;
  virtual HRESULT SetHelpFile(const char16_t* help_file) = 0;
  virtual HRESULT SetHelpContext(ULONG help_context) = 0;

 protected:
  ~ICreateErrorInfo() = default;
};

MOTQR_EXPORT HRESULT CreateErrorInfo(ICreateErrorInfo** out);
// Installs `info` (may be null, which clears) as the calling thread's error object.
MOTQR_EXPORT HRESULT SetErrorInfo(ULONG reserved, IErrorInfo* info);
// Hands out the thread's error object and clears it; S_FALSE when there is none.
MOTQR_EXPORT HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** out);

// A plain copy of an error object's fields.
struct ErrorRecord {
  std::string description;
  std::string source;
  GUID iid = GUID_NULL;
  std::string help_file;
  ULONG help_context = 0;
};

// Reads the thread's error object without clearing it; false when there is none.
MOTQR_EXPORT bool PeekErrorInfo(ErrorRecord* record);
// Takes the thread's error object (clearing it); false when there is none.
MOTQR_EXPORT bool TakeErrorInfo(ErrorRecord* record);
// Sets a new thread error object from the given fields.
MOTQR_EXPORT HRESULT SetErrorRecord(const ErrorRecord& record);

}  // namespace motqr::com
