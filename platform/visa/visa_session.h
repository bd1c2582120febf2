// The VISA-COM session object over a transport: one object answers IVisaSession,
// IBaseMessage, IMessage and IEventManager (events are not supported: every event member
// answers E_VISA_NSUP_OPER). Register-based and asynchronous interfaces (IRegister,
// ISharedRegister, IAsyncMessage) are absent: QueryInterface answers E_NOINTERFACE.
//
// Every member is thread-safe; a failure returns an E_VISA_* HRESULT and sets the thread's
// error object (E_VISA_TMO: "Timeout expired before operation completed.").
#pragma once

#include <string_view>

#include "platform/visa/visa_com_interfaces.h"

namespace motqr::visa {

// Opens `resource_name` (UTF-8) and hands out the new session's IVisaSession. `mode`
// NO_LOCK, EXCLUSIVE_LOCK or SHARED_LOCK (LOAD_CONFIG is accepted and has no effect here);
// `open_timeout_ms` bounds the connection (2000 when not positive).
HRESULT OpenVisaSession(std::string_view resource_name, AccessMode mode,
                        std::int32_t open_timeout_ms, std::string_view option_string,
                        IVisaSession** session);

}  // namespace motqr::visa
