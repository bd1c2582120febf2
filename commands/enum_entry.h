// One row of a token table: a value and the ordered tokens that stand for it
// on the wire. The first token is the one written; every token is accepted
// when a reply is read. A row without tokens writes "" and is never read.
//
//   constexpr EnumEntry<short> kWords[] = {
//       {1, {"ON", "1"}}, {-1, {"ON", "1"}}, {0, {"OFF", "0"}}};
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace motqr::commands {

// Up to kMaxTokens tokens, written as a braced list: {}, {"DC"}, {"0", "OFF"}.
class Tokens {
 public:
  static constexpr std::size_t kMaxTokens = 4;

  constexpr Tokens() = default;
  template <typename... Token>
  constexpr Tokens(Token... tokens)  // NOLINT(google-explicit-constructor): table syntax
      : list_{std::string_view(tokens)...}, count_(sizeof...(Token)) {
    static_assert(sizeof...(Token) <= kMaxTokens, "too many tokens in one row");
  }

  constexpr const std::string_view* begin() const { return list_.data(); }
  constexpr const std::string_view* end() const { return list_.data() + count_; }
  // The command token, or "" for a row that has none.
  constexpr std::string_view command() const { return count_ == 0 ? std::string_view() : list_[0]; }

 private:
  std::array<std::string_view, kMaxTokens> list_{};
  std::size_t count_ = 0;
};

template <typename T>
struct EnumEntry {
  T value;
  Tokens tokens;
};

}  // namespace motqr::commands
