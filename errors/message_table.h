// The driver's message table: for each message number its component status
// code, C status code, help context and texts. Compiled in from
// errors/messages.def; constexpr, so other layers can check their constants
// against it at compile time.
//
//   const MessageEntry* m = FindMessage(kMsgNullPointer);
//   m->code == E_IVI_NULL_POINTER;  m->text == "MorvaneTqr: Null pointer passed for ..."
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "errors/message_ids.h"
#include "platform/com/types.h"

namespace motqr::errors {

struct MessageEntry {
  int id;
  std::string_view name;       // "NullPointer"
  std::string_view code_name;  // "E_IVI_NULL_POINTER"
  com::HRESULT code;           // component status code
  std::int32_t c_code;         // C interface status code
  com::ULONG help_context;     // 0: no help reference
  std::string_view text;       // message table text, inserts %1 to %3
  std::string_view c_text;     // text of c_code for the C interface
};

inline constexpr std::array<MessageEntry, kMessageCount> kMessages{{
#define MORVANETQR_MESSAGE(Id, Name, CodeName, Code, CCode, HelpContext, Text, CText) \
  {Id, #Name, #CodeName, com::MakeHresult(Code), com::MakeHresult(CCode), HelpContext, Text, CText},
#include "errors/messages.def"
}};

// A C status code that only the C interface uses, with its text.
struct CStatusEntry {
  std::string_view name;
  std::int32_t c_code;
  std::string_view c_text;
};

inline constexpr std::array kCOnlyStatuses{
#define MORVANETQR_C_ONLY_STATUS(Name, CCode, CText) \
  CStatusEntry{#Name, com::MakeHresult(CCode), CText},
#include "errors/messages.def"
};

// The help file named by the error objects of messages with a help context.
inline constexpr char kHelpFile[] = "MorvaneTqr.chm";

// The entry of message `id`, or null when there is no such message.
constexpr const MessageEntry* FindMessage(int id) {
  if (id < kFirstMessageId || id > kLastMessageId) return nullptr;
  return &kMessages[static_cast<std::size_t>(id - kFirstMessageId)];
}

// Message numbers are dense, so FindMessage can index the table.
consteval bool MessageIdsAreDense() {
  for (std::size_t i = 0; i < kMessages.size(); ++i) {
    if (kMessages[i].id != kFirstMessageId + static_cast<int>(i)) return false;
  }
  return true;
}
static_assert(MessageIdsAreDense(), "messages.def rows must be numbered 1, 2, 3, ...");

}  // namespace motqr::errors
