// Sessions, session errors and locking, utility functions, error messages,
// operation records, channel names and direct I/O.
#include <algorithm>
#include <limits>

#include "capi/c_call.h"
#include "component/motqr.hpp"
#include "errors/c_status.h"
#include "platform/com/global_interface_table.h"
#include "platform/ivi/session_registry.h"
#include "platform/ivi/text_result.h"

using namespace motqr;
using namespace motqr::capi;

namespace {

constexpr ViInt32 kMessageBufferSize = MOTQR_MAX_MESSAGE_BUF_SIZE;

// A new driver object through the module's class factory.
com::HRESULT CreateDriver(com::ComPtr<IIviDriver>* driver) {
  com::ComPtr<com::IClassFactory> factory;
  const com::HRESULT hr =
      DllGetClassObject(CLSID_MorvaneTqr, com::IClassFactory::kIid, factory.PutVoid());
  if (com::Failed(hr)) return hr;
  return factory->CreateInstance(nullptr, IIviDriver::kIid, driver->PutVoid());
}

// Registers the driver object and keeps its cookie as the session's data.
ViStatus RegisterDriver(ViSession vi, IIviDriver* driver) {
  std::uint32_t cookie = 0;
  if (com::Failed(com::RegisterInterfaceInGlobal(driver, IIviDriver::kIid, &cookie))) {
    return Fail(vi, kStatusCannotRecover,
                "Could not register IVI-COM driver pointer in global interface table.");
  }
  if (ViStatus s = ivi::IviSession_SetDataPtr(vi, reinterpret_cast<void*>(std::uintptr_t{cookie}));
      s != 0) {
    com::RevokeInterfaceFromGlobal(cookie);
    return s;
  }
  return 0;
}

// Ends the session's entry in the global interface table, then the session.
ViStatus ForgetSession(ViSession vi) {
  void* data = nullptr;
  if (ViStatus s = ivi::IviSession_GetDataPtr(vi, &data); s != 0) return s;
  ViStatus status = 0;
  const auto cookie = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(data));
  if (cookie != 0 && com::Failed(com::RevokeInterfaceFromGlobal(cookie))) {
    status = Fail(vi, kStatusCannotRecover,
                  "Could not remove IVI-COM driver pointer from global interface table.");
  }
  const ViStatus disposed = ivi::IviSession_Dispose(vi);
  return status != 0 ? status : disposed;
}

// A warning of Initialize was kept for the thread before the session existed;
// it belongs to the new session.
void MoveThreadErrorToSession(ViSession vi) {
  ViStatus code = 0;
  const ViStatus needed = ivi::IviSession_GetError(0, 0, &code, nullptr);
  std::string text(static_cast<std::size_t>(needed > 0 ? needed : 1), '\0');
  if (ivi::IviSession_GetError(0, static_cast<ViInt32>(text.size()), &code, text.data()) != 0)
    return;
  text.resize(std::char_traits<char>::length(text.c_str()));
  ivi::IviSession_SetError(vi, code, text.c_str());
}

ViStatus InitWithOptions(ViRsrc resource, ViBoolean id_query, ViBoolean reset,
                         ViConstString options, ViSession* vi) {
  if (!vi) return kStatusNullPointer;
  *vi = 0;
  return Guard(0, [&]() -> ViStatus {
    if (com::Failed(InitializeRuntimeForThread())) return kStatusUnmapped;
    com::ComPtr<IIviDriver> driver;
    if (com::Failed(CreateDriver(&driver))) return kStatusUnmapped;
    const com::Bstr resource_text = ToBstr(resource);
    const com::Bstr option_text = ToBstr(options);
    const com::HRESULT hr = driver->Initialize(resource_text.Get(), ToVariantBool(id_query),
                                               ToVariantBool(reset), option_text.Get());
    if (com::Failed(hr)) return Translate(0, hr);
    const ViStatus warning = Translate(0, hr);
    if (ViStatus s = ivi::IviSession_New(vi); s != 0) {
      driver->Close();
      return s;
    }
    if (ViStatus s = RegisterDriver(*vi, driver.Get()); s != 0) {
      // The handle stays with the caller to read the error; motqr_close ends it.
      driver->Close();
      return s;
    }
    if (warning != 0) MoveThreadErrorToSession(*vi);
    return warning;
  });
}

}  // namespace

// ---- Sessions -----------------------------------------------------------------------------

MOTQR_C_EXPORT ViStatus motqr_init(ViRsrc ResourceName, ViBoolean IdQuery, ViBoolean Reset,
                                   ViSession* vi) {
  return InitWithOptions(ResourceName, IdQuery, Reset, "", vi);
}

MOTQR_C_EXPORT ViStatus motqr_InitWithOptions(ViRsrc ResourceName, ViBoolean IdQuery,
                                              ViBoolean Reset, ViConstString OptionString,
                                              ViSession* vi) {
  return InitWithOptions(ResourceName, IdQuery, Reset, OptionString, vi);
}

MOTQR_C_EXPORT ViStatus motqr_close(ViSession vi) {
  return Guard(vi, [&]() -> ViStatus {
    com::ComPtr<com::IUnknown> object;
    ViStatus closed = LookUpDriver(vi, &object);
    if (closed == ivi::kIviErrorInvalidSessionHandle) return closed;
    if (closed == 0) {
      com::ComPtr<IIviDriver> driver;
      closed = Query(vi, object.Get(), &driver);
      if (closed == 0) closed = Translate(vi, driver->Close());
    }
    object.Reset();
    ForgetRememberedChannel();
    const ViStatus forgotten = ForgetSession(vi);
    return closed != 0 ? closed : forgotten;
  });
}

MOTQR_C_EXPORT ViStatus motqr_GetError(ViSession vi, ViStatus* ErrorCode, ViInt32 BufferSize,
                                       ViChar Description[]) {
  return ivi::IviSession_GetError(vi, BufferSize, ErrorCode, Description);
}

MOTQR_C_EXPORT ViStatus motqr_ClearError(ViSession vi) { return ivi::IviSession_ClearError(vi); }

MOTQR_C_EXPORT ViStatus motqr_LockSession(ViSession vi, ViBoolean* CallerHasLock) {
  return ivi::IviSession_Lock(vi, CallerHasLock);
}

MOTQR_C_EXPORT ViStatus motqr_UnlockSession(ViSession vi, ViBoolean* CallerHasLock) {
  return ivi::IviSession_Unlock(vi, CallerHasLock);
}

// ---- Utility --------------------------------------------------------------------------------

MOTQR_C_EXPORT ViStatus motqr_reset(ViSession vi) {
  return OnDriver<IIviDriverUtility>(vi, [](IIviDriverUtility& u) { return u.Reset(); });
}

MOTQR_C_EXPORT ViStatus motqr_ResetWithDefaults(ViSession vi) {
  return OnDriver<IIviDriverUtility>(vi,
                                     [](IIviDriverUtility& u) { return u.ResetWithDefaults(); });
}

MOTQR_C_EXPORT ViStatus motqr_Disable(ViSession vi) {
  return OnDriver<IIviDriverUtility>(vi, [](IIviDriverUtility& u) { return u.Disable(); });
}

MOTQR_C_EXPORT ViStatus motqr_self_test(ViSession vi, ViInt16* TestResult, ViChar TestMessage[]) {
  if (!TestResult) return NullParameter(vi, "TestResult");
  std::int32_t result = 0;
  com::Bstr message;
  const ViStatus s = OnDriver<IIviDriverUtility>(
      vi, [&](IIviDriverUtility& u) { return u.SelfTest(&result, message.Put()); });
  if (IsError(s)) return s;
  *TestResult = static_cast<ViInt16>(result);
  return CopyText(s, message, kMessageBufferSize, TestMessage);
}

MOTQR_C_EXPORT ViStatus motqr_error_query(ViSession vi, ViInt32* ErrorCode, ViChar ErrorMessage[]) {
  if (!ErrorCode) return NullParameter(vi, "ErrorCode");
  std::int32_t code = 0;
  com::Bstr message;
  const ViStatus s = OnDriver<IIviDriverUtility>(
      vi, [&](IIviDriverUtility& u) { return u.ErrorQuery(&code, message.Put()); });
  if (IsError(s)) return s;
  *ErrorCode = code;
  return CopyText(s, message, kMessageBufferSize, ErrorMessage);
}

MOTQR_C_EXPORT ViStatus motqr_revision_query(ViSession vi, ViChar DriverRev[], ViChar InstrRev[]) {
  com::Bstr driver_rev, instr_rev;
  const ViStatus s = OnDriver<IIviDriverIdentity>(vi, [&](IIviDriverIdentity& id) {
    const com::HRESULT hr = id.get_Revision(driver_rev.Put());
    return com::Failed(hr) ? hr : id.get_InstrumentFirmwareRevision(instr_rev.Put());
  });
  if (IsError(s)) return s;
  const ViStatus first = CopyText(s, driver_rev, kMessageBufferSize, DriverRev);
  const ViStatus second = CopyText(s, instr_rev, kMessageBufferSize, InstrRev);
  return first != 0 ? first : second;
}

MOTQR_C_EXPORT ViStatus motqr_error_message(ViSession vi, ViStatus ErrorCode,
                                            ViChar ErrorMessage[]) {
  if (!ErrorMessage) return NullParameter(vi, "ErrorMessage");
  const char* text = errors::CStatusText(ErrorCode);
  return ivi::CopyTextResult(text ? text : "", kMessageBufferSize, ErrorMessage);
}

// ---- Operation records ----------------------------------------------------------------------

MOTQR_C_EXPORT ViStatus motqr_GetNextCoercionRecord(ViSession vi, ViInt32 BufferSize,
                                                    ViChar CoercionRecord[]) {
  com::Bstr record;
  const ViStatus s = OnDriver<IIviDriverOperation>(
      vi, [&](IIviDriverOperation& op) { return op.GetNextCoercionRecord(record.Put()); });
  return CopyText(s, record, BufferSize, CoercionRecord);
}

MOTQR_C_EXPORT ViStatus motqr_GetNextInterchangeWarning(ViSession vi, ViInt32 BufferSize,
                                                        ViChar InterchangeWarning[]) {
  com::Bstr warning;
  const ViStatus s = OnDriver<IIviDriverOperation>(
      vi, [&](IIviDriverOperation& op) { return op.GetNextInterchangeWarning(warning.Put()); });
  return CopyText(s, warning, BufferSize, InterchangeWarning);
}

MOTQR_C_EXPORT ViStatus motqr_ClearInterchangeWarnings(ViSession vi) {
  return OnDriver<IIviDriverOperation>(
      vi, [](IIviDriverOperation& op) { return op.ClearInterchangeWarnings(); });
}

MOTQR_C_EXPORT ViStatus motqr_ResetInterchangeCheck(ViSession vi) {
  return OnDriver<IIviDriverOperation>(
      vi, [](IIviDriverOperation& op) { return op.ResetInterchangeCheck(); });
}

MOTQR_C_EXPORT ViStatus motqr_InvalidateAllAttributes(ViSession vi) {
  return OnDriver<IIviDriverOperation>(
      vi, [](IIviDriverOperation& op) { return op.InvalidateAllAttributes(); });
}

// ---- Channel name -----------------------------------------------------------------------------

MOTQR_C_EXPORT ViStatus motqr_GetChannelName(ViSession vi, ViInt32 Index, ViInt32 BufferSize,
                                             ViChar Name[]) {
  com::Bstr name;
  const ViStatus s = OnDriver<IIviDCPwrOutputs>(
      vi, [&](IIviDCPwrOutputs& outputs) { return outputs.get_Name(Index, name.Put()); });
  return CopyText(s, name, BufferSize, Name);
}

// ---- Direct I/O --------------------------------------------------------------------------------

MOTQR_C_EXPORT ViStatus motqr_viWrite(ViSession vi, ViInt64 Count, ViConstBuf Buffer,
                                      ViInt64* ReturnCount) {
  if (!ReturnCount) return NullParameter(vi, "ReturnCount");
  return Guard(vi, [&]() -> ViStatus {
    const ViInt64 limited = std::clamp<ViInt64>(Count, 0, std::numeric_limits<ViInt32>::max());
    com::SafeArray bytes = MakeArray(com::VT_UI1, static_cast<ViInt32>(limited), Buffer);
    std::int64_t written = 0;
    const ViStatus s = OnDriver<IMorvaneTqrSystem>(
        vi, [&](IMorvaneTqrSystem& sys) { return sys.WriteBytes(bytes.Get(), &written); });
    if (!IsError(s)) *ReturnCount = written;
    return s;
  });
}

MOTQR_C_EXPORT ViStatus motqr_viRead(ViSession vi, ViInt64 BufferSize, ViBuf Buffer,
                                     ViInt64* ReturnCount) {
  if (!ReturnCount) return NullParameter(vi, "ReturnCount");
  com::SafeArray bytes;
  const ViStatus s = OnDriver<IMorvaneTqrSystem>(
      vi, [&](IMorvaneTqrSystem& sys) { return sys.ReadBytes(bytes.Put()); });
  if (IsError(s)) return s;
  std::span<std::uint8_t> data = bytes.Data<std::uint8_t>();
  const std::size_t n =
      Buffer && BufferSize > 0
          ? std::min<std::size_t>(data.size(), static_cast<std::uint64_t>(BufferSize))
          : 0;
  std::copy_n(data.begin(), n, Buffer);
  *ReturnCount = static_cast<ViInt64>(n);
  return s;
}
