// ScanEngine: runs the directive records of one reply format against a read
// buffer, one directive after the other, and stops after the directive whose
// read reached the end of the response. Used through VScan/Scan
// (formatted_input.h); the destinations have been checked against the
// records before it runs.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "io/enum_formatter.h"
#include "io/input/reply_reader.h"
#include "io/input/scan_args.h"
#include "io/input/scan_format.h"
#include "io/io_buffer.h"

namespace motqr::io {

class ScanEngine {
 public:
  ScanEngine(IIoBuffer& buffer, IEnumFormatter* enums, ScanArgs args)
      : reader_(buffer), enums_(enums), args_(args) {}

  // S_OK (the response ended), S_MORE_DATA (data remain) or a failure; on a
  // failure *failed (when given) points at the directive that failed.
  HRESULT Run(std::span<const ScanDirective> records, const ScanDirective** failed = nullptr);

 private:
  // A directive's `#` slots, width, count and destination, taken from the
  // argument list.
  struct Prepared {
    std::int32_t* width_slot = nullptr;
    std::int32_t* count_slot = nullptr;
    std::int32_t width = 0;  // 0: none
    bool has_count = false;  // list count, or block/raw-binary count
    std::int64_t count = 0;
    const ScanArg* dest = nullptr;  // null when suppressed
  };

  HRESULT Prepare(const ScanDirective& d, Prepared* p);
  HRESULT Execute(const ScanDirective& d);

  HRESULT Literal(const ScanDirective& d);
  HRESULT Integer(const ScanDirective& d, const Prepared& p);
  HRESULT Real(const ScanDirective& d, const Prepared& p);
  HRESULT Char(const ScanDirective& d, const Prepared& p);
  HRESULT Text(const ScanDirective& d, const Prepared& p);
  HRESULT Enum(const ScanDirective& d, const Prepared& p);

  // scan_lists.cpp
  HRESULT IntegerList(const ScanDirective& d, const Prepared& p);
  HRESULT RealList(const ScanDirective& d, const Prepared& p);
  HRESULT StringList(const ScanDirective& d, const Prepared& p);
  HRESULT EnumList(const ScanDirective& d, const Prepared& p);
  template <class Elem, class ReadOne>
  HRESULT ValueList(const ScanDirective& d, const Prepared& p, ReadOne read_one);
  template <class ReadStore>
  HRESULT ListLoop(const ScanDirective& d, std::int64_t limit, ReadStore read_store,
                   std::int64_t* count);
  HRESULT NextSeparator(const ScanDirective& d, bool* more);
  HRESULT ReadListToken(const ScanDirective& d, std::int64_t max);

  // scan_binary.cpp
  HRESULT Block(const ScanDirective& d, const Prepared& p);
  HRESULT RawBinary(const ScanDirective& d, const Prepared& p);
  HRESULT BinaryInto(const ScanDirective& d, const Prepared& p, std::int64_t total,
                     std::int64_t capacity, bool reverse, std::int64_t* stored);

  HRESULT ReadEnumValue(const ScanDirective& d, std::int32_t* value);

  ReplyReader reader_;
  IEnumFormatter* enums_;
  ScanArgs args_;
  std::size_t next_arg_ = 0;
  std::string token_;  // the text field being read, reused between fields
  // The last separator read ended the response: no element follows it.
  bool separator_ended_ = false;
};

// What a directive reads, in words: "a real number", "a 16-bit integer".
std::string DescribeDirective(const ScanDirective& d);

// Does `value` fit the integer destination of size `size` (`b` `h` `I` or other)?
bool FitsIntegerSize(char size, std::int64_t value);

// Writes `value` through a `#` slot, if there is one.
inline void WriteSlot(std::int32_t* slot, std::int64_t value) {
  if (slot != nullptr) {
    *slot = static_cast<std::int32_t>(value > INT32_MAX ? INT32_MAX : value);
  }
}

}  // namespace motqr::io
