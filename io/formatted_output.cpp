#include "io/formatted_output.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <type_traits>

#include "io/field_format.h"
#include "io/output_directive.h"
#include "io/string_writer.h"

namespace motqr::io {
namespace {

using com::E_INVALIDARG;
using com::E_OUTOFMEMORY;
using com::E_UNEXPECTED;
using com::Failed;
using com::S_OK;
using Class = OutputDirectiveClass;
using Kind = FormatArgKind;

// Bytes handed to the sink per call when writing block and binary data.
constexpr std::size_t kDataChunk = 512;

#define MOTQR_RETURN_IF_FAILED(expr) \
  do {                               \
    const HRESULT hr_ = (expr);      \
    if (Failed(hr_)) return hr_;     \
  } while (false)

// A number to be written: integers keep their exact value.
struct Number {
  bool is_integer;
  std::int64_t integer;  // already narrowed to the directive's size
  int bits;              // of `integer`, for the unsigned conversions
  double real;

  double AsDouble() const { return is_integer ? static_cast<double>(integer) : real; }
};

std::int32_t SaturateInt32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The 32-bit integer of the NR1, #H, #Q and #B forms: a real plus 0.5,
// truncated toward zero (2.5 gives 3, -2.3 gives -1, -2.5 gives -2), saturated.
std::int32_t Nr1Value(const Number& n) {
  if (n.is_integer) return SaturateInt32(n.integer);
  if (std::isnan(n.real)) return 0;
  const double r = std::trunc(n.real + 0.5);
  if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
    return std::numeric_limits<std::int32_t>::min();
  }
  if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(r);
}

// Puts the two-character prefix of #H and #Q in the formatted digits, so a
// padded field keeps its width when it has two padding characters to spare.
void AppendPrefixed(std::string* out, std::string_view prefix, std::string_view s,
                    const FieldSpec& spec) {
  if (spec.minus) {
    const std::size_t digits = std::min(s.find(' '), s.size());
    const std::size_t trailing = s.size() - digits;
    out->append(prefix)
        .append(s.substr(0, digits))
        .append(trailing - std::min<std::size_t>(2, trailing), ' ');
  } else if (!s.empty() && s[0] == ' ') {
    const std::size_t lead =
        s.find_first_not_of(' ') == std::string_view::npos ? s.size() : s.find_first_not_of(' ');
    out->append(lead - std::min<std::size_t>(2, lead), ' ').append(prefix).append(s.substr(lead));
  } else if (!s.empty() && s[0] == '0' && spec.precision >= 0) {
    for (int dropped = 0;
         dropped < 2 && s.size() > static_cast<std::size_t>(spec.precision) && s[0] == '0';
         ++dropped) {
      s.remove_prefix(1);
    }
    out->append(prefix).append(s);
  } else {
    out->append(prefix).append(s);
  }
}

void AppendBinaryNumber(std::string* out, const FieldSpec& spec, std::int32_t value) {
  std::array<char, 33> digits;
  auto end = std::to_chars(digits.data(), digits.data() + digits.size(),
                           static_cast<std::uint32_t>(value), 2)
                 .ptr;
  const std::size_t count = static_cast<std::size_t>(end - digits.data());
  std::string text = "#B";
  if (spec.precision > 0 && static_cast<std::size_t>(spec.precision) > count) {
    text.append(static_cast<std::size_t>(spec.precision) - count, '0');
  }
  text.append(digits.data(), count);
  const std::size_t width = spec.width > 0 ? static_cast<std::size_t>(spec.width) : 0;
  const std::size_t pad = width > text.size() ? width - text.size() : 0;
  if (spec.minus) {
    out->append(text).append(pad, ' ');
  } else if (spec.zero && spec.precision < 0) {
    out->append("#B").append(pad, '0').append(text.substr(2));
  } else {
    out->append(pad, ' ').append(text);
  }
}

// Formats one number as its directive says, numeric formats included.
void AppendNumber(std::string* out, const OutputDirective& d, FieldSpec spec, const Number& n) {
  switch (d.numeric) {
    case '1':
      spec.conversion = 'd';
      AppendInteger(out, spec, Nr1Value(n), 32);
      return;
    case '2':
      spec.conversion = 'f';
      AppendReal(out, spec, n.AsDouble());
      return;
    case '3':
      spec.conversion = 'E';
      AppendReal(out, spec, n.AsDouble());
      return;
    case 'H':
    case 'Q': {
      spec.conversion = d.numeric == 'H' ? 'X' : 'o';
      std::string digits;
      AppendInteger(&digits, spec, Nr1Value(n), 32);
      AppendPrefixed(out, d.numeric == 'H' ? "#H" : "#Q", digits, spec);
      return;
    }
    case 'B':
      AppendBinaryNumber(out, spec, Nr1Value(n));
      return;
    default:
      break;
  }
  if (n.is_integer) {
    AppendInteger(out, spec, n.integer, n.bits);
  } else {
    AppendReal(out, spec, n.real);
  }
}

// Integer element type of a directive's size: `b` unsigned 8-bit, `h` 16-bit,
// `I` 64-bit, else 32-bit.
ElementKind IntegerElement(char size) {
  switch (size) {
    case 'b':
      return ElementKind::kU8;
    case 'h':
      return ElementKind::kI16;
    case 'I':
      return ElementKind::kI64;
    default:
      return ElementKind::kI32;
  }
}

Number IntegerNumber(std::int64_t v, ElementKind kind) {
  switch (kind) {
    case ElementKind::kU8:
      return {true, static_cast<std::uint8_t>(v), 8, 0};
    case ElementKind::kI16:
      return {true, static_cast<std::int16_t>(v), 16, 0};
    case ElementKind::kI64:
      return {true, v, 64, 0};
    default:
      return {true, static_cast<std::int32_t>(v), 32, 0};
  }
}

com::VARTYPE VarTypeOf(ElementKind kind) {
  switch (kind) {
    case ElementKind::kU8:
      return com::VT_UI1;
    case ElementKind::kI16:
      return com::VT_I2;
    case ElementKind::kI32:
      return com::VT_I4;
    case ElementKind::kI64:
      return com::VT_I8;
    case ElementKind::kF32:
      return com::VT_R4;
    case ElementKind::kF64:
      return com::VT_R8;
  }
  return com::VT_EMPTY;
}

// Reads element `i` of an array of `kind`.
Number ElementNumber(const void* data, std::int64_t i, ElementKind kind) {
  const auto* bytes =
      static_cast<const std::uint8_t*>(data) + static_cast<std::size_t>(i) * ElementSize(kind);
  auto load = [bytes](auto v) {
    std::memcpy(&v, bytes, sizeof v);
    return v;
  };
  switch (kind) {
    case ElementKind::kU8:
      return IntegerNumber(load(std::uint8_t{}), kind);
    case ElementKind::kI16:
      return IntegerNumber(load(std::int16_t{}), kind);
    case ElementKind::kI32:
      return IntegerNumber(load(std::int32_t{}), kind);
    case ElementKind::kI64:
      return IntegerNumber(load(std::int64_t{}), kind);
    case ElementKind::kF32:
      return {false, 0, 0, load(float{})};
    case ElementKind::kF64:
      return {false, 0, 0, load(double{})};
  }
  return {};
}

bool IsOneDimensionalZeroBased(const com::SAFEARRAY* a) {
  return a && a->cDims == 1 && a->rgsabound[0].lLbound == 0;
}

// The elements a directive works on: a typed pointer and a count.
struct Elements {
  const void* data = nullptr;
  std::int64_t count = 0;
};

class OutputRun {
 public:
  OutputRun(IIoBuffer* sink, IEnumFormatter* enums, const ParsedOutputFormat& parsed,
            FormatArgs args, bool string_mode)
      : sink_(sink), enums_(enums), parsed_(parsed), args_(args), string_mode_(string_mode) {}

  HRESULT Run() {
    HRESULT hr = S_OK;
    for (const OutputDirective& d : parsed_.directives) {
      hr = Execute(d);
      if (Failed(hr)) return hr;
    }
    return hr;
  }
  std::size_t ArgumentsTaken() const { return next_; }

 private:
  static bool WritesNothingInStringMode(Class c) {
    return c == Class::kIntegerList || c == Class::kRealList || c == Class::kBlock ||
           c == Class::kIndefiniteBlock || c == Class::kRawBinary || c == Class::kStringList ||
           c == Class::kEnumList;
  }

  HRESULT Execute(const OutputDirective& d) {
    if (string_mode_ && WritesNothingInStringMode(d.directive_class)) return S_OK;
    switch (d.directive_class) {
      case Class::kLiteral:
        return Literal(d);
      case Class::kInteger:
      case Class::kReal:
        return Scalar(d);
      case Class::kIntegerList:
      case Class::kRealList:
        return NumberList(d);
      case Class::kBlock:
      case Class::kIndefiniteBlock:
        return Block(d);
      case Class::kRawBinary:
        return RawBinary(d);
      case Class::kChar:
        return Char(d);
      case Class::kString:
        return String(d);
      case Class::kStringList:
        return StringList(d);
      case Class::kEnum:
        return Enum(d);
      case Class::kEnumList:
        return EnumList(d);
    }
    return E_INVALIDARG;
  }

  // ------------------------------------------------------------ arguments

  HRESULT NextArg(const FormatArg** arg) {
    if (next_ >= args_.size()) return kFormatArgMissing;
    *arg = &args_[next_++];
    return S_OK;
  }

  HRESULT NextInteger(std::int64_t* value) {
    const FormatArg* arg;
    MOTQR_RETURN_IF_FAILED(NextArg(&arg));
    if (arg->kind != Kind::kInteger) return kFormatArgTypeMismatch;
    *value = arg->integer;
    return S_OK;
  }

  // Takes the stars' arguments (width, precision, count, in that order) and
  // gives the field of the directive and its element count (-1: none).
  HRESULT Field(const OutputDirective& d, FieldSpec* spec, std::int32_t* count) {
    *spec = FieldSpec{d.minus, d.plus, d.space, d.zero, d.width, d.precision, d.conversion};
    std::int64_t v;
    if (d.width_star) {
      MOTQR_RETURN_IF_FAILED(NextInteger(&v));
      v = static_cast<std::int32_t>(v);
      if (v < 0) spec->minus = true;  // as printf: a negative width left-justifies
      v = v < 0 ? -v : v;
      spec->width = static_cast<std::int32_t>(std::min<std::int64_t>(v, INT32_MAX));
    }
    if (d.precision_star) {
      MOTQR_RETURN_IF_FAILED(NextInteger(&v));
      v = static_cast<std::int32_t>(v);
      spec->precision = v < 0 ? -1 : static_cast<std::int32_t>(v);
    }
    if (spec->width > kMaxFieldWidth || spec->precision > kMaxFieldWidth) return E_INVALIDARG;
    *count = d.count;
    if (d.count_star) {
      MOTQR_RETURN_IF_FAILED(NextInteger(&v));
      if (v < 0 || v > INT32_MAX) return E_INVALIDARG;
      *count = static_cast<std::int32_t>(v);
    }
    return S_OK;
  }

  // The elements of a list or block argument: a safe array (`$S` or $B) whose
  // element type must be `vt` (any type when `vt` is VT_EMPTY: bytes of
  // `element_size`), or a pointer with the directive's count.
  HRESULT SafeArrayElements(const FormatArg& arg, com::VARTYPE vt, std::size_t element_size,
                            std::int32_t count, Elements* out) {
    if (arg.kind == Kind::kNull) return E_INVALIDARG;
    if (arg.kind != Kind::kSafeArray) return kFormatArgTypeMismatch;
    const auto* a = static_cast<const com::SAFEARRAY*>(arg.pointer);
    std::int64_t available;
    if (vt == com::VT_EMPTY) {
      if (a->vt == com::VT_BSTR || a->vt == com::VT_VARIANT || a->vt == com::VT_UNKNOWN ||
          a->vt == com::VT_DISPATCH) {
        return E_INVALIDARG;
      }
      available =
          static_cast<std::int64_t>(com::SafeArrayElementCount(a) * a->cbElements / element_size);
    } else {
      if (!IsOneDimensionalZeroBased(a) || a->vt != vt) return E_INVALIDARG;
      available = a->rgsabound[0].cElements;
    }
    out->data = a->pvData;
    out->count = (count >= 1 && count < available) ? count : available;
    return S_OK;
  }

  static HRESULT PointerElements(const FormatArg& arg, Kind kind, std::int32_t count,
                                 Elements* out) {
    if (arg.kind == Kind::kNull) return E_INVALIDARG;
    if (arg.kind != kind) return kFormatArgTypeMismatch;
    if (count < 0) return E_UNEXPECTED;
    if (arg.length != FormatArg::kUnknownLength && count > arg.length) return E_INVALIDARG;
    out->data = arg.pointer;
    out->count = count;
    return S_OK;
  }

  HRESULT TypedElements(const OutputDirective& d, ElementKind element, std::int32_t count,
                        Elements* out) {
    const FormatArg* arg;
    MOTQR_RETURN_IF_FAILED(NextArg(&arg));
    if (d.safe_array) return SafeArrayElements(*arg, VarTypeOf(element), 0, count, out);
    MOTQR_RETURN_IF_FAILED(PointerElements(*arg, Kind::kArray, count, out));
    return arg->element == element ? S_OK : kFormatArgTypeMismatch;
  }

  // Blocks and raw binary: elements of `size` bytes, whatever their type. A
  // safe array gives as many as it has elements (its upper bound + 1), or the
  // directive's count when that is smaller (0 included), never more than its
  // data hold.
  HRESULT ByteElements(const OutputDirective& d, std::size_t size, std::int32_t count,
                       Elements* out) {
    const FormatArg* arg;
    MOTQR_RETURN_IF_FAILED(NextArg(&arg));
    if (d.safe_array) {
      MOTQR_RETURN_IF_FAILED(SafeArrayElements(*arg, com::VT_EMPTY, size, -1, out));
      const auto* a = static_cast<const com::SAFEARRAY*>(arg->pointer);
      std::int64_t elements = a->cDims == 0 ? 0 : a->rgsabound[0].cElements;
      if (count >= 0 && count < elements) elements = count;
      out->count = std::min(out->count, elements);
      return S_OK;
    }
    MOTQR_RETURN_IF_FAILED(PointerElements(*arg, Kind::kArray, count, out));
    return ElementSize(arg->element) == size ? S_OK : kFormatArgTypeMismatch;
  }

  // ------------------------------------------------------------ writing

  HRESULT WriteText(const std::string& text) {
    std::int32_t written = 0;
    MOTQR_RETURN_IF_FAILED(sink_->WriteCString(text.c_str(), &written, false));
    // A zero byte inside the text ends what the sink takes: that is a short write.
    return written < static_cast<std::int32_t>(text.size()) ? E_UNEXPECTED : S_OK;
  }

  HRESULT WriteBytes(const std::uint8_t* bytes, std::size_t n) {
    std::int32_t written = 0;
    const auto count = static_cast<std::int32_t>(n);
    MOTQR_RETURN_IF_FAILED(sink_->WriteBuffer(bytes, count, &written, false));
    return written < count ? E_UNEXPECTED : S_OK;
  }

  // Element data, each element's bytes reversed when `reverse`.
  HRESULT WriteElements(const Elements& e, std::size_t size, bool reverse) {
    const auto* bytes = static_cast<const std::uint8_t*>(e.data);
    const std::size_t total = static_cast<std::size_t>(e.count) * size;
    if (!reverse || size == 1) {
      for (std::size_t at = 0; at < total; at += kDataChunk) {
        MOTQR_RETURN_IF_FAILED(WriteBytes(bytes + at, std::min(kDataChunk, total - at)));
      }
      return S_OK;
    }
    std::array<std::uint8_t, kDataChunk> chunk;
    for (std::size_t at = 0; at < total;) {
      const std::size_t length = std::min(chunk.size() / size * size, total - at);
      switch (size) {
        case 2:
          ReverseEach<2>(bytes + at, length, chunk.data());
          break;
        case 4:
          ReverseEach<4>(bytes + at, length, chunk.data());
          break;
        case 8:
          ReverseEach<8>(bytes + at, length, chunk.data());
          break;
        default:
          for (std::size_t i = 0; i < length; i += size) {
            std::reverse_copy(bytes + at + i, bytes + at + i + size, chunk.data() + i);
          }
      }
      MOTQR_RETURN_IF_FAILED(WriteBytes(chunk.data(), length));
      at += length;
    }
    return S_OK;
  }

  // Copies `length` bytes of N-byte elements, each element's bytes reversed by one byte swap.
  template <std::size_t N>
  static void ReverseEach(const std::uint8_t* from, std::size_t length, std::uint8_t* to) {
    using Word = std::conditional_t<N == 2, std::uint16_t,
                                    std::conditional_t<N == 4, std::uint32_t, std::uint64_t>>;
    for (std::size_t i = 0; i < length; i += N) {
      Word w;
      std::memcpy(&w, from + i, N);
      if constexpr (N == 2) w = __builtin_bswap16(w);
      if constexpr (N == 4) w = __builtin_bswap32(w);
      if constexpr (N == 8) w = __builtin_bswap64(w);
      std::memcpy(to + i, &w, N);
    }
  }

  HRESULT WriteSeparator(char separator) {
    return sink_->WriteChar(static_cast<std::uint8_t>(separator), false);
  }

  // Quotes `text` as the directive asks, then fits it to the field.
  HRESULT WriteString(const OutputDirective& d, const FieldSpec& spec, std::string_view text) {
    text_.clear();
    if (d.quote) {
      const char q = d.quote == 'q' ? '\'' : '"';
      quoted_.assign(1, q).append(text).push_back(q);
      text = quoted_;
    }
    AppendText(&text_, spec, text);
    return WriteText(text_);
  }

  // ------------------------------------------------------------ directives

  HRESULT Literal(const OutputDirective& d) {
    std::string_view text = parsed_.Text(d);
    if (text == "%%") return sink_->WriteChar('%', false);
    // A line feed is written with the flush flag: what precedes it goes out with END.
    while (!text.empty()) {
      const std::size_t lf = text.find('\n');
      const std::size_t run = std::min(lf, text.size());
      if (run > 0) {
        MOTQR_RETURN_IF_FAILED(WriteBytes(reinterpret_cast<const std::uint8_t*>(text.data()), run));
      }
      if (lf == std::string_view::npos) break;
      MOTQR_RETURN_IF_FAILED(sink_->WriteChar('\n', true));
      text.remove_prefix(lf + 1);
    }
    return S_OK;
  }

  HRESULT Scalar(const OutputDirective& d) {
    FieldSpec spec;
    std::int32_t count;
    MOTQR_RETURN_IF_FAILED(Field(d, &spec, &count));
    const FormatArg* arg;
    MOTQR_RETURN_IF_FAILED(NextArg(&arg));
    Number n{};
    if (d.directive_class == Class::kInteger) {
      if (arg->kind != Kind::kInteger) return kFormatArgTypeMismatch;
      n = IntegerNumber(arg->integer, IntegerElement(d.size));
    } else if (arg->kind == Kind::kReal) {
      n = Number{false, 0, 0, arg->real};
    } else if (arg->kind == Kind::kInteger) {
      n = Number{false, 0, 0, static_cast<double>(arg->integer)};
    } else {
      return kFormatArgTypeMismatch;
    }
    text_.clear();
    AppendNumber(&text_, d, spec, n);
    return WriteText(text_);
  }

  HRESULT NumberList(const OutputDirective& d) {
    FieldSpec spec;
    std::int32_t count;
    MOTQR_RETURN_IF_FAILED(Field(d, &spec, &count));
    const ElementKind element =
        d.directive_class == Class::kIntegerList
            ? IntegerElement(d.size)
            : (d.size == 'l' || d.size == 'L' ? ElementKind::kF64 : ElementKind::kF32);
    Elements e;
    MOTQR_RETURN_IF_FAILED(TypedElements(d, element, count, &e));
    for (std::int64_t i = 0; i < e.count; ++i) {
      if (i > 0) MOTQR_RETURN_IF_FAILED(WriteSeparator(d.separator));
      text_.clear();
      AppendNumber(&text_, d, spec, ElementNumber(e.data, i, element));
      MOTQR_RETURN_IF_FAILED(WriteText(text_));
    }
    return S_OK;
  }

  static std::size_t BlockElementSize(char size) {
    switch (size) {
      case 'h':
        return 2;
      case 'l':
      case 'z':
        return 4;
      case 'I':
      case 'Z':
        return 8;
      default:
        return 1;
    }
  }

  HRESULT Block(const OutputDirective& d) {
    FieldSpec spec;
    std::int32_t count;
    MOTQR_RETURN_IF_FAILED(Field(d, &spec, &count));
    const std::size_t size = BlockElementSize(d.size);
    Elements e;
    MOTQR_RETURN_IF_FAILED(ByteElements(d, size, count, &e));
    text_.clear();
    if (d.directive_class == Class::kBlock) {
      const std::string length = std::to_string(static_cast<std::uint64_t>(e.count) * size);
      if (length.size() > 9) return E_INVALIDARG;  // the header holds at most 9 digits
      text_.append("#").append(std::to_string(length.size())).append(length);
    } else {
      text_ = "#0";
    }
    MOTQR_RETURN_IF_FAILED(WriteText(text_));
    const bool big_endian_host = std::endian::native == std::endian::big;
    MOTQR_RETURN_IF_FAILED(WriteElements(e, size, sink_->GetSwapBytes() && !big_endian_host));
    if (d.directive_class == Class::kBlock) {
      if (e.count > 0) sink_->NoteBinaryEnd();
      return S_OK;
    }
    const std::uint8_t lf = '\n';
    return WriteBytes(&lf, 1);
  }

  HRESULT RawBinary(const OutputDirective& d) {
    FieldSpec spec;
    std::int32_t count;
    MOTQR_RETURN_IF_FAILED(Field(d, &spec, &count));
    const std::size_t size = d.size == 'h' ? 2 : d.size == 'l' ? 4 : d.size == 'I' ? 8 : 1;
    Elements e;
    MOTQR_RETURN_IF_FAILED(ByteElements(d, size, count, &e));
    if (e.count == 0) return S_OK;
    if (d.little_endian) {
      // As the array lies in memory, in one write.
      MOTQR_RETURN_IF_FAILED(WriteBytes(static_cast<const std::uint8_t*>(e.data),
                                        static_cast<std::size_t>(e.count) * size));
    } else {
      MOTQR_RETURN_IF_FAILED(WriteElements(e, size, std::endian::native == std::endian::little));
    }
    sink_->NoteBinaryEnd();
    return S_OK;
  }

  HRESULT Char(const OutputDirective& d) {
    FieldSpec spec;
    std::int32_t count;
    MOTQR_RETURN_IF_FAILED(Field(d, &spec, &count));
    std::int64_t v;
    MOTQR_RETURN_IF_FAILED(NextInteger(&v));
    spec.precision = -1;
    const char c = static_cast<char>(static_cast<std::uint8_t>(v));
    text_.clear();
    AppendText(&text_, spec, std::string_view(&c, 1));
    return WriteText(text_);
  }

  // The text of a String directive's argument.
  HRESULT StringArgument(const OutputDirective& d, const FormatArg& arg, std::string_view* text) {
    if (d.string_kind == 'B') {
      if (arg.kind == Kind::kNull) {
        *text = {};
        return S_OK;
      }
      if (arg.kind != Kind::kWideText) return kFormatArgTypeMismatch;
      const auto* chars = static_cast<const char16_t*>(arg.pointer);
      std::u16string_view wide;
      if (chars) {
        wide = arg.length == FormatArg::kUnknownLength
                   ? std::u16string_view(chars)
                   : std::u16string_view(chars, static_cast<std::size_t>(arg.length));
      }
      wide_ = com::Utf16ToUtf8(wide);
      *text = wide_;
      return S_OK;
    }
    if (arg.kind == Kind::kNull) return E_INVALIDARG;
    if (d.string_kind == 'C' && arg.kind == Kind::kStringObjects) {
      *text = *static_cast<const std::string*>(arg.pointer);
      return S_OK;
    }
    if (arg.kind != Kind::kText) return kFormatArgTypeMismatch;
    const auto* chars = static_cast<const char*>(arg.pointer);
    *text = arg.length == FormatArg::kUnknownLength
                ? std::string_view(chars)
                : std::string_view(chars, static_cast<std::size_t>(arg.length));
    return S_OK;
  }

  HRESULT String(const OutputDirective& d) {
    FieldSpec spec;
    std::int32_t count;
    MOTQR_RETURN_IF_FAILED(Field(d, &spec, &count));
    const FormatArg* arg;
    MOTQR_RETURN_IF_FAILED(NextArg(&arg));
    std::string_view text;
    MOTQR_RETURN_IF_FAILED(StringArgument(d, *arg, &text));
    return WriteString(d, spec, text);
  }

  HRESULT StringList(const OutputDirective& d) {
    FieldSpec spec;
    std::int32_t count;
    MOTQR_RETURN_IF_FAILED(Field(d, &spec, &count));
    if (d.safe_array && d.string_kind != 'B') return E_UNEXPECTED;
    const FormatArg* arg;
    MOTQR_RETURN_IF_FAILED(NextArg(&arg));
    Elements e;
    if (d.string_kind == 'B') {
      MOTQR_RETURN_IF_FAILED(SafeArrayElements(*arg, com::VT_BSTR, 0, count, &e));
    } else {
      MOTQR_RETURN_IF_FAILED(PointerElements(
          *arg, d.string_kind == 'C' ? Kind::kStringObjects : Kind::kTextArray, count, &e));
    }
    for (std::int64_t i = 0; i < e.count; ++i) {
      if (i > 0) MOTQR_RETURN_IF_FAILED(WriteSeparator(d.separator));
      std::string_view text;
      if (d.string_kind == 'B') {
        wide_ = com::BstrToUtf8(static_cast<const com::BSTR*>(e.data)[i]);
        text = wide_;
      } else if (d.string_kind == 'C') {
        text = static_cast<const std::string*>(e.data)[i];
      } else {
        const char* s = static_cast<const char* const*>(e.data)[i];
        if (!s) return E_INVALIDARG;
        text = s;
      }
      MOTQR_RETURN_IF_FAILED(WriteString(d, spec, text));
    }
    return S_OK;
  }

  bool IsBoolean(const OutputDirective& d) const { return parsed_.EnumName(d) == "VARIANT_BOOL"; }

  HRESULT WriteEnum(const OutputDirective& d, const FieldSpec& spec, std::int32_t value) {
    if (!enums_) return E_INVALIDARG;
    MOTQR_RETURN_IF_FAILED(enums_->FormatEnum(parsed_.EnumName(d), value, &token_));
    return WriteString(d, spec, token_);
  }

  HRESULT Enum(const OutputDirective& d) {
    FieldSpec spec;
    std::int32_t count;
    MOTQR_RETURN_IF_FAILED(Field(d, &spec, &count));
    std::int64_t v;
    MOTQR_RETURN_IF_FAILED(NextInteger(&v));
    // Booleans are 16-bit values, sign-extended.
    const std::int32_t value =
        IsBoolean(d) ? static_cast<std::int16_t>(v) : static_cast<std::int32_t>(v);
    return WriteEnum(d, spec, value);
  }

  HRESULT EnumList(const OutputDirective& d) {
    FieldSpec spec;
    std::int32_t count;
    MOTQR_RETURN_IF_FAILED(Field(d, &spec, &count));
    const ElementKind element = IsBoolean(d) ? ElementKind::kI16 : ElementKind::kI32;
    Elements e;
    MOTQR_RETURN_IF_FAILED(TypedElements(d, element, count, &e));
    for (std::int64_t i = 0; i < e.count; ++i) {
      if (i > 0) MOTQR_RETURN_IF_FAILED(WriteSeparator(d.separator));
      MOTQR_RETURN_IF_FAILED(
          WriteEnum(d, spec, static_cast<std::int32_t>(ElementNumber(e.data, i, element).integer)));
    }
    return S_OK;
  }

  IIoBuffer* sink_;
  IEnumFormatter* enums_;
  const ParsedOutputFormat& parsed_;
  FormatArgs args_;
  std::size_t next_ = 0;
  bool string_mode_;
  std::string text_;
  std::string quoted_;
  std::string wide_;
  std::string token_;
};

// Any value is a token: checking arguments needs no tables.
class AnyTokenFormatter final : public IEnumFormatter {
 public:
  HRESULT FormatEnum(std::string_view, std::int32_t, std::string* token) override {
    token->clear();
    return S_OK;
  }
  HRESULT ParseEnum(std::string_view, std::string_view, std::int32_t*) override {
    return com::E_NOTIMPL;
  }
  std::int32_t GetMaxEnumLength(std::string_view) override { return 0; }
};

HRESULT RunFormat(IIoBuffer* sink, IEnumFormatter* enums, std::string_view format, FormatArgs args,
                  bool string_mode, std::size_t* taken) {
  if (!sink) return E_INVALIDARG;
  if (format.empty()) return S_OK;
  try {
    ParsedOutputFormat scratch;
    const ParsedOutputFormat* parsed = nullptr;
    MOTQR_RETURN_IF_FAILED(ParseOutputFormatCached(format, &scratch, &parsed));
    OutputRun run(sink, enums, *parsed, args, string_mode);
    const HRESULT hr = run.Run();
    if (taken) *taken = run.ArgumentsTaken();
    return hr;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace

HRESULT FormatOutputV(IIoBuffer* sink, IEnumFormatter* enums, std::string_view format,
                      FormatArgs args, bool string_mode) {
  return RunFormat(sink, enums, format, args, string_mode, nullptr);
}

HRESULT CheckFormatArguments(std::string_view format, FormatArgs args, bool string_mode) {
  std::string discarded;
  CCStringWriter sink(&discarded);
  AnyTokenFormatter enums;
  std::size_t taken = 0;
  MOTQR_RETURN_IF_FAILED(RunFormat(&sink, &enums, format, args, string_mode, &taken));
  return taken == args.size() ? S_OK : kFormatArgUnused;
}

HRESULT FormatStringV(std::string* text, IEnumFormatter* enums, std::string_view format,
                      FormatArgs args) {
  if (!text) return E_INVALIDARG;
  CCStringWriter writer(text);
  return FormatOutputV(&writer, enums, format, args, /*string_mode=*/true);
}

}  // namespace motqr::io
