// ReplyField: the characters of one field of a reply, with one character of
// look-ahead and an optional width. A character looked at but not taken is
// given back to the buffer when the field is finished.
#pragma once

#include <cstdint>

#include "io/input/reply_reader.h"

namespace motqr::io {

inline bool IsReplySpaceChar(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

class ReplyField {
 public:
  // width: at most this many characters are taken; 0 or less: no limit.
  ReplyField(ReplyReader& reader, std::int32_t width) : reader_(reader), width_(width) {}

  // The next character without taking it; *got false at the end of the
  // response or when the width is used up.
  HRESULT Peek(char* c, bool* got) {
    if (held_) {
      *c = c_;
      *got = true;
      return com::S_OK;
    }
    *got = false;
    if (width_ > 0 && taken_ >= width_) return com::S_OK;
    const HRESULT hr = reader_.Next(&c_, got);
    held_ = *got;
    *c = c_;
    return hr;
  }
  // Takes the character Peek showed; it counts toward the width.
  void Take() {
    held_ = false;
    ++taken_;
  }
  // Drops the character Peek showed without counting it (leading white space).
  void Drop() { held_ = false; }
  // Reads past white space; it does not count toward the width.
  HRESULT SkipSpace() {
    for (;;) {
      char c = 0;
      bool got = false;
      const HRESULT hr = Peek(&c, &got);
      if (com::Failed(hr) || !got || !IsReplySpaceChar(c)) return hr;
      Drop();
    }
  }
  // Gives back a character looked at and not taken.
  HRESULT Finish() {
    if (!held_) return com::S_OK;
    held_ = false;
    return reader_.Unread();
  }

  std::int32_t taken() const { return taken_; }

 private:
  ReplyReader& reader_;
  std::int32_t width_;
  std::int32_t taken_ = 0;
  bool held_ = false;
  char c_ = 0;
};

}  // namespace motqr::io
