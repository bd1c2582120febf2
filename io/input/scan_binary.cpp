// Definite-length blocks ("#<d><length><data>") and raw binary data.
#include <algorithm>
#include <cstring>
#include <limits>
#include <type_traits>
#include <vector>

#include "io/input/block_reader.h"
#include "io/input/scan_destinations.h"
#include "io/input/scan_engine.h"

namespace motqr::io {
namespace {

using com::E_OUTOFMEMORY;
using com::E_UNEXPECTED;
using com::Failed;
using com::S_OK;

// The bytes of a caller's array (a span of arithmetic elements).
std::span<std::uint8_t> ArrayBytes(const ScanArg& dest) {
  return std::visit(
      [](const auto& v) -> std::span<std::uint8_t> {
        using V = std::decay_t<decltype(v)>;
        if constexpr (requires { typename V::element_type; }) {
          if constexpr (std::is_arithmetic_v<typename V::element_type>) {
            const auto bytes = std::as_writable_bytes(v);
            return {reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()};
          }
        }
        return {};
      },
      dest.value());
}

}  // namespace

HRESULT ScanEngine::Block(const ScanDirective& d, const Prepared& p) {
  if (p.dest != nullptr && !d.safe_array && !p.has_count) return E_UNEXPECTED;
  std::int64_t bytes = 0;
  HRESULT hr = ReadBlockHeader(reader_, &bytes);
  if (Failed(hr)) return hr;
  const auto size = static_cast<std::int64_t>(BinaryElementSize(d));
  const bool reverse = size > 1 && reader_.swap_bytes() && HostIsLittleEndian();
  const std::int64_t capacity = p.has_count ? p.count : std::numeric_limits<std::int64_t>::max();
  std::int64_t stored = 0;
  hr = BinaryInto(d, p, bytes, capacity, reverse, &stored);
  if (Failed(hr)) return hr;
  WriteSlot(p.count_slot, bytes / size);
  return S_OK;
}

HRESULT ScanEngine::RawBinary(const ScanDirective& d, const Prepared& p) {
  if (!p.has_count) return E_UNEXPECTED;
  const auto size = static_cast<std::int64_t>(BinaryElementSize(d));
  const bool reverse = size > 1 && !d.little_endian && HostIsLittleEndian();
  std::int64_t stored = 0;
  const HRESULT hr = BinaryInto(d, p, p.count * size, p.count, reverse, &stored);
  WriteSlot(p.count_slot, stored);
  return hr;
}

// Reads `total` bytes of elements: dropped when suppressed; all whole elements
// into a new safe array with `$S`; else at most `capacity` elements into the
// caller's array and the rest dropped. *stored: the elements stored.
HRESULT ScanEngine::BinaryInto(const ScanDirective& d, const Prepared& p, std::int64_t total,
                               std::int64_t capacity, bool reverse, std::int64_t* stored) {
  const auto size = static_cast<std::int64_t>(BinaryElementSize(d));
  const std::int64_t elements = total / size;
  *stored = 0;
  std::int64_t got = 0;
  if (p.dest == nullptr) return ReadBinary(reader_, {}, total, &got);
  if (d.safe_array) {
    if (elements > std::numeric_limits<std::uint32_t>::max()) return E_OUTOFMEMORY;
    std::vector<std::uint8_t> grown;
    HRESULT hr = S_OK;
    if (total > kDirectBlockBytes) {
      // Claimed lengths this large are believed only as the data arrive.
      hr = ReadBinaryGrowing(reader_, total, &grown);
      if (Failed(hr)) return hr;
    }
    com::SafeArray array =
        com::SafeArray::CreateVector(BinaryVarType(d), static_cast<std::uint32_t>(elements));
    if (!array) return E_OUTOFMEMORY;
    const std::span<std::uint8_t> data(static_cast<std::uint8_t*>(array.Get()->pvData),
                                       static_cast<std::size_t>(elements * size));
    if (total > kDirectBlockBytes) {
      std::memcpy(data.data(), grown.data(), data.size());
    } else {
      hr = ReadBinary(reader_, data, total, &got);
      if (Failed(hr)) return hr;
    }
    if (reverse) ReverseElementBytes(data, static_cast<std::size_t>(size));
    ReplaceSafeArray(*p.dest, array.Detach());
    *stored = elements;
    return S_OK;
  }
  const std::span<std::uint8_t> array = ArrayBytes(*p.dest);
  const std::int64_t keep = std::min({elements, capacity, std::ssize(array) / size});
  const HRESULT hr =
      ReadBinary(reader_, array.first(static_cast<std::size_t>(keep * size)), total, &got);
  *stored = std::min(got / size, keep);
  if (reverse) {
    ReverseElementBytes(array.first(static_cast<std::size_t>(*stored * size)),
                        static_cast<std::size_t>(size));
  }
  return hr;
}

}  // namespace motqr::io
