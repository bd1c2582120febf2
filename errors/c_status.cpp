#include "errors/c_status.h"

#include <array>
#include <cstddef>

#include "errors/message_table.h"
#include "errors/status_codes.h"

namespace motqr::errors {
namespace {

// A fixed-capacity hash table from 32-bit codes to values, filled once and
// then only read; no allocation, so building it cannot fail.
template <class Value, std::size_t kSlots>
class CodeTable {
 public:
  void Insert(std::int32_t key, Value value) {
    std::size_t slot = SlotOf(key);
    while (slots_[slot].used && slots_[slot].key != key) slot = (slot + 1) % kSlots;
    slots_[slot] = {true, key, value};
  }
  const Value* Find(std::int32_t key) const {
    for (std::size_t slot = SlotOf(key), probes = 0; probes < kSlots;
         slot = (slot + 1) % kSlots, ++probes) {
      if (!slots_[slot].used) return nullptr;
      if (slots_[slot].key == key) return &slots_[slot].value;
    }
    return nullptr;
  }

 private:
  struct Slot {
    bool used = false;
    std::int32_t key = 0;
    Value value{};
  };
  static std::size_t SlotOf(std::int32_t key) {
    const auto bits = static_cast<std::uint32_t>(key);
    return static_cast<std::size_t>((bits * 2654435761u) >> 7) % kSlots;
  }
  std::array<Slot, kSlots> slots_{};
};

constexpr std::size_t kSlots = 128;  // 50 codes at most: probes stay short
static_assert(kMessages.size() + kCOnlyStatuses.size() < kSlots / 2);

const CodeTable<std::int32_t, kSlots>& CCodesByStatus() {
  static const CodeTable<std::int32_t, kSlots> table = [] {
    CodeTable<std::int32_t, kSlots> t;
    for (const MessageEntry& m : kMessages) t.Insert(m.code, m.c_code);
    return t;
  }();
  return table;
}

const CodeTable<const char*, kSlots>& CTextsByCode() {
  static const CodeTable<const char*, kSlots> table = [] {
    CodeTable<const char*, kSlots> t;
    // The texts are string literals of messages.def, so data() is zero-terminated.
    for (const MessageEntry& m : kMessages) t.Insert(m.c_code, m.c_text.data());
    for (const CStatusEntry& s : kCOnlyStatuses) t.Insert(s.c_code, s.c_text.data());
    return t;
  }();
  return table;
}

}  // namespace

com::HRESULT ToCStatus(com::HRESULT status) noexcept {
  if (status == com::S_OK) return com::S_OK;
  const std::int32_t* c_code = CCodesByStatus().Find(status);
  return c_code ? *c_code : kCStatusUnmapped;
}

const char* CStatusText(std::int32_t c_code) noexcept {
  const char* const* text = CTextsByCode().Find(c_code);
  return text ? *text : nullptr;
}

}  // namespace motqr::errors
