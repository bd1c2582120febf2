// Lists of numbers, text and enum tokens: into a caller's array (the count
// is its capacity) or into a new safe array that grows with the elements.
#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "io/input/formatted_input.h"
#include "io/input/number_reader.h"
#include "io/input/reply_field.h"
#include "io/input/scan_destinations.h"
#include "io/input/scan_engine.h"
#include "io/input/token_reader.h"

namespace motqr::io {
namespace {

using com::E_INVALIDARG;
using com::E_OUTOFMEMORY;
using com::E_UNEXPECTED;
using com::Failed;
using com::S_OK;

template <class Elem>
HRESULT StoreNewArray(const ScanArg& dest, const std::vector<Elem>& values) {
  com::SafeArray array =
      com::SafeArray::CreateVector(VarTypeOf<Elem>(), static_cast<std::uint32_t>(values.size()));
  if (!array) return E_OUTOFMEMORY;
  if (!values.empty()) {
    std::memcpy(array.Get()->pvData, values.data(), values.size() * sizeof(Elem));
  }
  ReplaceSafeArray(dest, array.Detach());
  return S_OK;
}

HRESULT StoreNewStringArray(const ScanArg& dest, const std::vector<std::string>& values) {
  com::SafeArray array =
      com::SafeArray::CreateVector(com::VT_BSTR, static_cast<std::uint32_t>(values.size()));
  if (!array) return E_OUTOFMEMORY;
  auto* elements = static_cast<com::BSTR*>(array.Get()->pvData);
  for (std::size_t i = 0; i < values.size(); ++i) {
    elements[i] = com::AllocBstrFromUtf8(values[i]);
    if (elements[i] == nullptr) return E_OUTOFMEMORY;
  }
  ReplaceSafeArray(dest, array.Detach());
  return S_OK;
}

constexpr std::int64_t kNoLimit = std::numeric_limits<std::int64_t>::max();

}  // namespace

// Reads elements until `limit` is reached, the response ends, or what follows
// an element is not a separator (which is given back). A list of numbers or of
// enumeration tokens needs an element where one is due: an empty response, or
// a separator that ends the response, is E_UNEXPECTED. For text, a response
// that ends before the first element holds an empty list, and a separator that
// ends the response ends the list.
template <class ReadStore>
HRESULT ScanEngine::ListLoop(const ScanDirective& d, std::int64_t limit, ReadStore read_store,
                             std::int64_t* count) {
  *count = 0;
  if (limit <= 0) return S_OK;
  // Numbers and tokens need an element; only text may be empty.
  const bool numbers = d.cls != ScanClass::kStringList;
  {
    ReplyField field(reader_, 0);
    HRESULT hr = field.SkipSpace();
    if (Failed(hr)) return hr;
    char c = 0;
    bool got = false;
    hr = field.Peek(&c, &got);
    if (Failed(hr)) return hr;
    if (!got) return numbers ? E_UNEXPECTED : S_OK;
    hr = field.Finish();
    if (Failed(hr)) return hr;
  }
  for (;;) {
    HRESULT hr = read_store(*count);
    if (Failed(hr)) return hr;
    ++*count;
    if (reader_.ended() || *count >= limit) return S_OK;
    bool more = false;
    hr = NextSeparator(d, &more);
    if (Failed(hr)) return hr;
    if (!more) return numbers && reader_.ended() && separator_ended_ ? E_UNEXPECTED : S_OK;
  }
}

// After an element: white space that is not a separator is read past; then a
// separator is taken, anything else given back.
HRESULT ScanEngine::NextSeparator(const ScanDirective& d, bool* more) {
  *more = false;
  separator_ended_ = false;
  ReplyField field(reader_, 0);
  for (;;) {
    char c = 0;
    bool got = false;
    const HRESULT hr = field.Peek(&c, &got);
    if (Failed(hr) || !got) return hr;
    if (d.IsSeparator(c)) {
      field.Take();
      *more = !reader_.ended();
      separator_ended_ = reader_.ended();
      return S_OK;
    }
    if (!IsReplySpaceChar(c)) return field.Finish();
    field.Drop();
  }
}

HRESULT ScanEngine::ReadListToken(const ScanDirective& d, std::int64_t max) {
  TokenRules rules;
  rules.kind = ScanClass::kString;
  rules.list = &d;
  rules.quote = d.quote;
  rules.max = max;
  token_.clear();
  return ReadToken(reader_, rules, &token_);
}

template <class Elem, class ReadOne>
HRESULT ScanEngine::ValueList(const ScanDirective& d, const Prepared& p, ReadOne read_one) {
  const bool into_array = p.dest != nullptr && !d.safe_array;
  if (into_array && !p.has_count) return E_UNEXPECTED;
  std::int64_t limit = p.has_count ? p.count : kNoLimit;
  std::span<Elem> array;
  if (into_array) {
    array = std::get<std::span<Elem>>(p.dest->value());
    limit = std::min<std::int64_t>(limit, std::ssize(array));
  }
  std::vector<Elem> grown;
  auto read_store = [&](std::int64_t i) -> HRESULT {
    Elem value{};
    const HRESULT hr = read_one(&value);
    if (Failed(hr) || p.dest == nullptr) return hr;
    if (into_array) {
      array[static_cast<std::size_t>(i)] = value;
    } else {
      if (std::ssize(grown) >= kMaxListElements) return E_OUTOFMEMORY;
      grown.push_back(value);
    }
    return S_OK;
  };
  std::int64_t n = 0;
  HRESULT hr = ListLoop(d, limit, read_store, &n);
  if (Failed(hr)) return hr;
  if (p.dest != nullptr && d.safe_array) {
    hr = StoreNewArray(*p.dest, grown);
    if (Failed(hr)) return hr;
  }
  WriteSlot(p.count_slot, n);
  return S_OK;
}

HRESULT ScanEngine::IntegerList(const ScanDirective& d, const Prepared& p) {
  const NumberForm form{d.conversion, d.numeric, p.width};
  auto read = [&](auto* element) -> HRESULT {
    std::int64_t value = 0;
    std::int32_t chars = 0;
    const HRESULT hr = ReadIntegerField(reader_, form, &value, &chars);
    if (Failed(hr)) return hr;
    if (!FitsIntegerSize(d.size, value)) return E_UNEXPECTED;
    *element = static_cast<std::remove_pointer_t<decltype(element)>>(value);
    return S_OK;
  };
  switch (d.size) {
    case 'b':
      return ValueList<std::uint8_t>(d, p, read);
    case 'h':
      return ValueList<std::int16_t>(d, p, read);
    case 'I':
      return ValueList<std::int64_t>(d, p, read);
    default:
      return ValueList<std::int32_t>(d, p, read);
  }
}

HRESULT ScanEngine::RealList(const ScanDirective& d, const Prepared& p) {
  const NumberForm form{d.conversion, d.numeric, p.width};
  auto read = [&](auto* element) -> HRESULT {
    std::int32_t chars = 0;
    return ReadRealField(reader_, form, element, &chars);
  };
  if (d.size == 'l' || d.size == 'L') return ValueList<double>(d, p, read);
  return ValueList<float>(d, p, read);
}

HRESULT ScanEngine::EnumList(const ScanDirective& d, const Prepared& p) {
  const std::int64_t max = p.width > 0 ? p.width : -1;
  auto read = [&](auto* element) -> HRESULT {
    HRESULT hr = ReadListToken(d, max);
    if (Failed(hr)) return hr;
    std::int32_t value = 0;
    hr = ReadEnumValue(d, &value);
    if (Failed(hr)) return hr;
    *element = static_cast<std::remove_pointer_t<decltype(element)>>(value);
    return S_OK;
  };
  if (d.type_name == "VARIANT_BOOL") return ValueList<std::int16_t>(d, p, read);
  return ValueList<std::int32_t>(d, p, read);
}

HRESULT ScanEngine::StringList(const ScanDirective& d, const Prepared& p) {
  const bool into_array = p.dest != nullptr && !d.safe_array;
  if (into_array && !p.has_count) return E_UNEXPECTED;
  std::int64_t limit = p.has_count ? p.count : kNoLimit;
  const ScanArg::Value* dest = p.dest != nullptr ? &p.dest->value() : nullptr;
  if (into_array) {
    const std::int64_t size = std::visit(
        [](const auto& v) -> std::int64_t {
          if constexpr (requires { v.size(); }) {
            return std::ssize(v);
          } else {
            return 0;
          }
        },
        *dest);
    limit = std::min(limit, size);
  }
  // Wide strings keep the whole width; byte buffers and string objects keep
  // room for a terminating zero.
  const bool whole_width = p.dest == nullptr || d.safe_array || d.text_kind == 'B';
  const std::int64_t width_max = p.width > 0 ? (whole_width ? p.width : p.width - 1) : -1;
  std::vector<std::string> grown;
  auto read_store = [&](std::int64_t i) -> HRESULT {
    const auto index = static_cast<std::size_t>(i);
    std::int64_t max = width_max;
    std::span<char> bytes;
    if (const auto* buffers = dest ? std::get_if<std::span<std::span<char>>>(dest) : nullptr) {
      bytes = (*buffers)[index];
      if (bytes.empty()) return E_INVALIDARG;
      const std::int64_t room = std::ssize(bytes) - 1;
      max = max < 0 ? room : std::min(max, room);
    }
    const HRESULT hr = ReadListToken(d, max);
    if (Failed(hr) || dest == nullptr) return hr;
    if (d.safe_array) {
      if (std::ssize(grown) >= kMaxListElements) return E_OUTOFMEMORY;
      grown.push_back(token_);
    } else if (const auto* wide = std::get_if<std::span<com::BSTR>>(dest)) {
      com::BSTR text = com::AllocBstrFromUtf8(token_);
      if (text == nullptr) return E_OUTOFMEMORY;
      com::SysFreeString((*wide)[index]);
      (*wide)[index] = text;
    } else if (const auto* objects = std::get_if<std::span<std::string>>(dest)) {
      (*objects)[index] = token_;
    } else {
      std::copy(token_.begin(), token_.end(), bytes.begin());
      bytes[token_.size()] = '\0';
    }
    return S_OK;
  };
  std::int64_t n = 0;
  HRESULT hr = ListLoop(d, limit, read_store, &n);
  if (Failed(hr)) return hr;
  if (dest != nullptr && d.safe_array) {
    hr = StoreNewStringArray(*p.dest, grown);
    if (Failed(hr)) return hr;
  }
  WriteSlot(p.count_slot, n);
  return S_OK;
}

}  // namespace motqr::io
