#include "io/input/scan_engine.h"

#include <algorithm>
#include <limits>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <vector>

#include "io/input/formatted_input.h"
#include "io/input/number_reader.h"
#include "io/input/reply_field.h"
#include "io/input/scan_destinations.h"
#include "io/input/token_reader.h"

namespace motqr::io {
namespace {

using com::E_INVALIDARG;
using com::E_UNEXPECTED;
using com::Failed;
using com::S_OK;
using com::Succeeded;

// A destination that cannot be written through.
bool IsNull(const ScanArg& arg) {
  return std::visit(
      [](const auto& v) {
        if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::span<char>>) {
          return v.empty();  // not even room for the terminating zero
        } else if constexpr (requires { v.data(); }) {
          return v.data() == nullptr;
        } else {
          return v == nullptr;
        }
      },
      arg.value());
}

template <class T>
HRESULT StoreScalar(const ScanArg* dest, T value) {
  if (dest == nullptr) return S_OK;  // suppressed
  T* const* p = std::get_if<T*>(&dest->value());
  if (p == nullptr || *p == nullptr) return E_INVALIDARG;
  **p = value;
  return S_OK;
}

// Characters a text field may store: the width (less one for the terminating
// zero of a byte buffer or string object, unless a `[set]` width is written as
// digits), never more than a byte buffer holds.
std::int64_t TextMaximum(const ScanDirective& d, const ScanArg* dest, std::int32_t width) {
  std::int64_t max = -1;
  if (width > 0) {
    const bool keeps_zero = dest != nullptr && d.text_kind != 'B';
    const bool set_digits =
        d.cls == ScanClass::kCharSet && d.width.kind != ScanField::Kind::kArgument;
    max = keeps_zero && !set_digits ? width - 1 : width;
  }
  if (dest != nullptr) {
    if (const auto* bytes = std::get_if<std::span<char>>(&dest->value())) {
      const auto room = static_cast<std::int64_t>(bytes->size()) - 1;
      max = max < 0 ? room : std::min(max, room);
    }
  }
  return max;
}

}  // namespace

bool FitsIntegerSize(char size, std::int64_t value) {
  switch (size) {
    case 'b':
      return value >= 0 && value <= 255;
    case 'h':
      return value >= std::numeric_limits<std::int16_t>::min() &&
             value <= std::numeric_limits<std::int16_t>::max();
    case 'I':
      return true;
    default:
      return value >= std::numeric_limits<std::int32_t>::min() &&
             value <= std::numeric_limits<std::int32_t>::max();
  }
}

HRESULT ScanEngine::Run(std::span<const ScanDirective> records, const ScanDirective** failed) {
  HRESULT hr = S_MORE_DATA;
  for (const ScanDirective& d : records) {
    hr = Execute(d);
    if (Failed(hr)) {
      if (failed != nullptr) *failed = &d;
      break;
    }
    hr = S_MORE_DATA;
    if (reader_.ended()) {
      hr = S_OK;
      break;
    }
  }
  const HRESULT settled = reader_.Settle();
  return Failed(hr) || Succeeded(settled) ? hr : settled;
}

HRESULT ScanEngine::Prepare(const ScanDirective& d, Prepared* p) {
  auto take_slot = [&](std::int32_t** slot) {
    *slot = *std::get_if<std::int32_t*>(&args_[next_arg_++].value());
    return *slot != nullptr;
  };
  if (d.width.kind == ScanField::Kind::kArgument) {
    if (!take_slot(&p->width_slot)) return E_INVALIDARG;
    p->width = std::max(*p->width_slot, 0);
  } else if (d.width.kind == ScanField::Kind::kDigits) {
    p->width = d.width.digits;
  }
  if (d.cls == ScanClass::kBlock || d.cls == ScanClass::kRawBinary) {
    // The number after the `%` is the element count.
    p->has_count = d.width.present();
    p->count = p->width;
    p->count_slot = p->width_slot;
    p->width_slot = nullptr;
  } else if (d.count.kind == ScanField::Kind::kArgument) {
    if (!take_slot(&p->count_slot)) return E_INVALIDARG;
    p->has_count = true;
    p->count = std::max(*p->count_slot, 0);
  } else if (d.count.kind == ScanField::Kind::kDigits) {
    p->has_count = true;
    p->count = d.count.digits;
  }
  if (d.suppress) return S_OK;
  p->dest = &args_[next_arg_++];
  return IsNull(*p->dest) ? E_INVALIDARG : S_OK;
}

HRESULT ScanEngine::Execute(const ScanDirective& d) {
  if (d.cls == ScanClass::kLiteral) return Literal(d);
  Prepared p;
  const HRESULT hr = Prepare(d, &p);
  if (Failed(hr)) return hr;
  switch (d.cls) {
    case ScanClass::kInteger:
      return Integer(d, p);
    case ScanClass::kIntegerList:
      return IntegerList(d, p);
    case ScanClass::kReal:
      return Real(d, p);
    case ScanClass::kRealList:
      return RealList(d, p);
    case ScanClass::kBlock:
      return Block(d, p);
    case ScanClass::kRawBinary:
      return RawBinary(d, p);
    case ScanClass::kChar:
      return Char(d, p);
    case ScanClass::kLine:
    case ScanClass::kRest:
    case ScanClass::kString:
    case ScanClass::kCharSet:
      return Text(d, p);
    case ScanClass::kStringList:
      return StringList(d, p);
    case ScanClass::kEnum:
    case ScanClass::kEnumSet:
      return Enum(d, p);
    case ScanClass::kEnumList:
      return EnumList(d, p);
    case ScanClass::kLiteral:
      break;
  }
  return E_INVALIDARG;
}

// Each format character must match the reply; white space in the format
// matches any run of white space (none included).
HRESULT ScanEngine::Literal(const ScanDirective& d) {
  const std::string_view text = d.text == "%%" ? std::string_view("%") : d.text;
  std::size_t i = 0;
  while (i < text.size()) {
    ReplyField field(reader_, 0);
    if (IsReplySpaceChar(text[i])) {
      while (i < text.size() && IsReplySpaceChar(text[i])) ++i;
      const HRESULT hr = field.SkipSpace();
      if (Failed(hr) || i == text.size()) return Failed(hr) ? hr : field.Finish();
    }
    char c = 0;
    bool got = false;
    const HRESULT hr = field.Peek(&c, &got);
    if (Failed(hr) || !got) return hr;  // the response ended: the scan stops here
    field.Take();
    if (c != text[i]) return E_UNEXPECTED;
    ++i;
  }
  return S_OK;
}

HRESULT ScanEngine::Integer(const ScanDirective& d, const Prepared& p) {
  std::int64_t value = 0;
  std::int32_t chars = 0;
  const HRESULT hr =
      ReadIntegerField(reader_, NumberForm{d.conversion, d.numeric, p.width}, &value, &chars);
  if (Failed(hr)) return hr;
  if (!FitsIntegerSize(d.size, value)) return E_UNEXPECTED;
  HRESULT stored = S_OK;
  switch (d.size) {
    case 'b':
      stored = StoreScalar(p.dest, static_cast<std::uint8_t>(value));
      break;
    case 'h':
      stored = StoreScalar(p.dest, static_cast<std::int16_t>(value));
      break;
    case 'I':
      stored = StoreScalar(p.dest, value);
      break;
    default:
      stored = StoreScalar(p.dest, static_cast<std::int32_t>(value));
      break;
  }
  if (Failed(stored)) return stored;
  WriteSlot(p.width_slot, chars);
  return S_OK;
}

HRESULT ScanEngine::Real(const ScanDirective& d, const Prepared& p) {
  const NumberForm form{d.conversion, d.numeric, p.width};
  std::int32_t chars = 0;
  HRESULT hr = S_OK;
  if (d.size == 'l' || d.size == 'L') {
    double value = 0;
    hr = ReadRealField(reader_, form, &value, &chars);
    if (com::Succeeded(hr)) hr = StoreScalar(p.dest, value);
  } else {
    float value = 0;
    hr = ReadRealField(reader_, form, &value, &chars);
    if (com::Succeeded(hr)) hr = StoreScalar(p.dest, value);
  }
  if (Failed(hr)) return hr;
  WriteSlot(p.width_slot, chars);
  return S_OK;
}

// `%c`: width bytes (one without a width) as they come, no terminating zero.
HRESULT ScanEngine::Char(const ScanDirective&, const Prepared& p) {
  const std::int32_t width = p.width > 0 ? p.width : 1;
  std::span<char> dest;
  if (p.dest != nullptr) dest = std::get<std::span<char>>(p.dest->value());
  std::int64_t stored = 0;
  for (std::int32_t i = 0; i < width; ++i) {
    char c = 0;
    bool got = false;
    const HRESULT hr = reader_.Next(&c, &got);
    if (Failed(hr)) return hr;
    if (!got) break;
    if (p.dest == nullptr) {
      ++stored;
    } else if (stored < std::ssize(dest)) {
      dest[static_cast<std::size_t>(stored++)] = c;
    }
  }
  WriteSlot(p.width_slot, stored);
  return S_OK;
}

HRESULT ScanEngine::Text(const ScanDirective& d, const Prepared& p) {
  CharTable set{};
  if (d.cls == ScanClass::kCharSet) set = MakeCharTable(d.set, d.set_negated);
  TokenRules rules;
  rules.kind = d.cls;
  rules.set = &set;
  rules.max = TextMaximum(d, p.dest, p.width);
  token_.clear();
  const HRESULT hr = ReadToken(reader_, rules, &token_);
  if (Failed(hr)) return hr;
  if (p.dest != nullptr) {
    const ScanArg::Value& v = p.dest->value();
    if (const auto* bytes = std::get_if<std::span<char>>(&v)) {
      std::copy(token_.begin(), token_.end(), bytes->begin());
      (*bytes)[token_.size()] = '\0';
    } else if (const auto* wide = std::get_if<com::BSTR*>(&v)) {
      com::BSTR text = com::AllocBstrFromUtf8(token_);
      if (text == nullptr) return com::E_OUTOFMEMORY;
      com::SysFreeString(**wide);
      **wide = text;
    } else if (const auto* object = std::get_if<std::string*>(&v)) {
      (*object)->assign(token_);
    }
  }
  WriteSlot(p.width_slot, static_cast<std::int64_t>(token_.size()));
  return S_OK;
}

// The token of an enum directive, read as a string or a `[set]` field, and
// (unless suppressed) its value from the enum formatter.
HRESULT ScanEngine::ReadEnumValue(const ScanDirective& d, std::int32_t* value) {
  if (d.suppress) return S_OK;
  if (enums_ == nullptr) return E_INVALIDARG;
  return enums_->ParseEnum(d.type_name, token_, value);
}

HRESULT ScanEngine::Enum(const ScanDirective& d, const Prepared& p) {
  CharTable set{};
  if (d.cls == ScanClass::kEnumSet) set = MakeCharTable(d.set, d.set_negated);
  TokenRules rules;
  rules.kind = d.cls == ScanClass::kEnumSet ? ScanClass::kCharSet : ScanClass::kString;
  rules.set = &set;
  rules.quote = d.quote;
  rules.max = p.width > 0 ? p.width : -1;
  token_.clear();
  HRESULT hr = ReadToken(reader_, rules, &token_);
  if (Failed(hr)) return hr;
  std::int32_t value = 0;
  hr = ReadEnumValue(d, &value);
  if (Failed(hr)) return hr;
  hr = d.type_name == "VARIANT_BOOL" ? StoreScalar(p.dest, static_cast<std::int16_t>(value))
                                     : StoreScalar(p.dest, value);
  if (Failed(hr)) return hr;
  WriteSlot(p.width_slot, static_cast<std::int64_t>(token_.size()));
  return S_OK;
}

std::string DescribeDirective(const ScanDirective& d) {
  const auto integer = [&](const char* many) -> std::string {
    const char* kind = d.size == 'b'   ? "an integer 0 to 255"
                       : d.size == 'h' ? "a 16-bit integer"
                       : d.size == 'I' ? "a 64-bit integer"
                                       : "a 32-bit integer";
    return d.IsList() ? many : kind;
  };
  const std::string type(d.type_name);
  switch (d.cls) {
    case ScanClass::kLiteral:
      return "the text \"" + std::string(d.text) + "\"";
    case ScanClass::kInteger:
    case ScanClass::kIntegerList:
      return integer("a list of integers");
    case ScanClass::kReal:
      return "a real number";
    case ScanClass::kRealList:
      return "a list of real numbers";
    case ScanClass::kBlock:
      return "a definite-length block";
    case ScanClass::kRawBinary:
      return "binary data";
    case ScanClass::kChar:
    case ScanClass::kLine:
    case ScanClass::kRest:
    case ScanClass::kString:
    case ScanClass::kCharSet:
      return "text";
    case ScanClass::kStringList:
      return "a list of texts";
    case ScanClass::kEnum:
    case ScanClass::kEnumSet:
      return "a " + type + " token";
    case ScanClass::kEnumList:
      return "a list of " + type + " tokens";
  }
  return "a field";
}

HRESULT VScan(IIoBuffer& buffer, IEnumFormatter* enums, std::string_view format, ScanArgs args) {
  return VScan(buffer, enums, format, args, nullptr);
}

HRESULT VScan(IIoBuffer& buffer, IEnumFormatter* enums, std::string_view format, ScanArgs args,
              ScanFailure* failure) {
  try {
    std::vector<ScanDirective> scratch;
    const std::vector<ScanDirective>* records = nullptr;
    HRESULT hr = CutScanFormatCached(format, &scratch, &records);
    if (Failed(hr)) return hr;
    hr = CheckScanArgs(*records, args);
    if (Failed(hr)) return hr;
    const ScanDirective* failed = nullptr;
    hr = ScanEngine(buffer, enums, args).Run(*records, failure != nullptr ? &failed : nullptr);
    if (failed != nullptr) {
      failure->directive.assign(failed->text);
      failure->expected = DescribeDirective(*failed);
    }
    return hr;
  } catch (const std::bad_alloc&) {
    return com::E_OUTOFMEMORY;
  } catch (const std::length_error&) {
    return com::E_OUTOFMEMORY;
  }
}

}  // namespace motqr::io
