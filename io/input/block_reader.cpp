#include "io/input/block_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace motqr::io {
namespace {

using com::E_UNEXPECTED;
using com::Failed;
using com::S_OK;

// Largest single transfer asked of the buffer, and the unit of dropping and
// of growth for data whose length is only claimed.
constexpr std::int64_t kMaxTransfer = std::int64_t{1} << 30;
constexpr std::int64_t kGrowStep = std::int64_t{1} << 20;
constexpr std::int64_t kDropChunk = std::int64_t{64} * 1024;

HRESULT NextDigit(ReplyReader& reader, int* digit) {
  char c = 0;
  bool got = false;
  const HRESULT hr = reader.Next(&c, &got);
  if (Failed(hr)) return hr;
  if (!got || c < '0' || c > '9') return E_UNEXPECTED;
  *digit = c - '0';
  return S_OK;
}

// The data of one directive, read in transfers the buffer accepts. Binary
// data carry no end mark: only the directive's final transfer may take a
// success without "more data" as the end of the response; a transfer cut
// short always ends it.
class DataReader {
 public:
  DataReader(ReplyReader& reader, std::int64_t total) : reader_(reader), left_(total) {}

  // Reads `count` bytes; fewer in the response give E_UNEXPECTED.
  HRESULT Read(std::uint8_t* data, std::int64_t count, std::int64_t* got) {
    *got = 0;
    while (count > 0) {
      const auto want = static_cast<std::int32_t>(std::min(count, kMaxTransfer));
      std::int32_t n = 0;
      const HRESULT hr = reader_.ReadDirect(data, want, &n, /*final=*/left_ == want);
      if (Failed(hr)) return hr;
      left_ -= n;
      *got += n;
      if (n < want) return E_UNEXPECTED;
      data += n;
      count -= n;
    }
    return S_OK;
  }

  HRESULT Drop(std::int64_t count) {
    if (count <= 0) return S_OK;
    std::vector<std::uint8_t> scratch(static_cast<std::size_t>(std::min(count, kDropChunk)));
    while (count > 0) {
      const std::int64_t step = std::min<std::int64_t>(count, std::ssize(scratch));
      std::int64_t got = 0;
      const HRESULT hr = Read(scratch.data(), step, &got);
      if (Failed(hr)) return hr;
      count -= step;
    }
    return S_OK;
  }

 private:
  ReplyReader& reader_;
  std::int64_t left_;
};

}  // namespace

HRESULT ReadBlockHeader(ReplyReader& reader, std::int64_t* bytes) {
  *bytes = 0;
  char c = 0;
  bool got = false;
  HRESULT hr = reader.Next(&c, &got);
  if (Failed(hr)) return hr;
  if (!got || c != '#') return E_UNEXPECTED;
  int digits = 0;
  hr = NextDigit(reader, &digits);
  if (Failed(hr)) return hr;
  std::int64_t n = 0;
  for (int i = 0; i < digits; ++i) {
    int d = 0;
    hr = NextDigit(reader, &d);
    if (Failed(hr)) return hr;
    n = n * 10 + d;
  }
  // The read that brought the header may have stopped at a first data byte
  // equal to the termination character: the data are read whatever it said.
  if (n > 0) reader.ExpectBinaryData();
  *bytes = n;
  return S_OK;
}

HRESULT ReadBinary(ReplyReader& reader, std::span<std::uint8_t> dest, std::int64_t total,
                   std::int64_t* stored) {
  *stored = 0;
  DataReader data(reader, total);
  const std::int64_t keep = std::min<std::int64_t>(total, std::ssize(dest));
  if (keep == total || total > kDirectBlockBytes) {
    const HRESULT hr = data.Read(dest.data(), keep, stored);
    if (Failed(hr)) return hr;
    return data.Drop(total - keep);
  }
  // A surplus: the whole block in one transfer, so that its end is known.
  std::vector<std::uint8_t> scratch(static_cast<std::size_t>(total));
  std::int64_t got = 0;
  const HRESULT hr = data.Read(scratch.data(), total, &got);
  *stored = std::min(got, keep);
  std::copy_n(scratch.begin(), *stored, dest.begin());
  return hr;
}

HRESULT ReadBinaryGrowing(ReplyReader& reader, std::int64_t total,
                          std::vector<std::uint8_t>* data) {
  data->clear();
  DataReader in(reader, total);
  while (std::ssize(*data) < total) {
    const std::int64_t have = std::ssize(*data);
    const std::int64_t step = std::min(total - have, std::max(kGrowStep, have));
    data->resize(static_cast<std::size_t>(have + step));
    std::int64_t got = 0;
    const HRESULT hr = in.Read(data->data() + have, step, &got);
    if (Failed(hr)) return hr;
  }
  return S_OK;
}

void ReverseElementBytes(std::span<std::uint8_t> data, std::size_t element_size) {
  const std::size_t n = data.size() / element_size;
  std::uint8_t* p = data.data();
  switch (element_size) {
    case 2:
      for (std::size_t i = 0; i < n; ++i, p += 2) {
        std::uint16_t v;
        std::memcpy(&v, p, 2);
        v = __builtin_bswap16(v);
        std::memcpy(p, &v, 2);
      }
      break;
    case 4:
      for (std::size_t i = 0; i < n; ++i, p += 4) {
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        v = __builtin_bswap32(v);
        std::memcpy(p, &v, 4);
      }
      break;
    case 8:
      for (std::size_t i = 0; i < n; ++i, p += 8) {
        std::uint64_t v;
        std::memcpy(&v, p, 8);
        v = __builtin_bswap64(v);
        std::memcpy(p, &v, 8);
      }
      break;
    default:
      break;
  }
}

bool HostIsLittleEndian() { return std::endian::native == std::endian::little; }

}  // namespace motqr::io
