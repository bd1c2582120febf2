// The driver's message numbers, one name per message of errors/messages.def.
//
//   return reporter->ReportErrorEx(kMsgIdQueryFailed, "Unrecognized model: X.");
#pragma once

namespace motqr::errors {

// Unscoped so that a message number passes wherever an int message id is taken.
// A switch over it has no default: adding a message then lists every switch to update.
enum MessageId : int {
#define MORVANETQR_MESSAGE(Id, Name, CodeName, Code, CCode, HelpContext, Text, CText) \
  kMsg##Name = Id,
#include "errors/messages.def"
};

inline constexpr int kFirstMessageId = kMsgSuccess;
inline constexpr int kLastMessageId = kMsgTriggerNotSoftware;
inline constexpr int kMessageCount = kLastMessageId - kFirstMessageId + 1;

}  // namespace motqr::errors
