// Binary data of a reply: the IEEE 488.2 definite-length block header
// ("#<d><d digits>"), block and raw data read straight from the buffer and the
// device, and conversion from most-significant-byte-first order.
//
// Memory is never taken from a length the reply claims: data go into the
// caller's storage, or into storage that grows as the bytes actually arrive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "io/input/reply_reader.h"

namespace motqr::io {

// A block at most this long is read in one transfer (into one new array of
// its size, or the caller's array and a scratch area for the surplus), so a
// response that ends with it is known to have ended; a longer one is read in
// transfers into storage that grows with the data that arrive.
inline constexpr std::int64_t kDirectBlockBytes = 16 * 1024 * 1024;

// "#", one digit d, then d decimal digits giving the byte count. Anything else,
// or a header cut short by the end of the response, gives E_UNEXPECTED.
HRESULT ReadBlockHeader(ReplyReader& reader, std::int64_t* bytes);

// Reads `total` bytes: the first dest.size() of them (at most `total`) into
// `dest`, the rest dropped. *stored receives the bytes stored. Fewer bytes
// than `total` in the response gives E_UNEXPECTED (what arrived stays stored).
HRESULT ReadBinary(ReplyReader& reader, std::span<std::uint8_t> dest, std::int64_t total,
                   std::int64_t* stored);

// Reads `total` bytes into *data, which grows geometrically as they arrive.
// Fewer bytes in the response gives E_UNEXPECTED.
HRESULT ReadBinaryGrowing(ReplyReader& reader, std::int64_t total, std::vector<std::uint8_t>* data);

// Reverses the byte order of each `element_size`-byte element of `data`
// (whole elements only).
void ReverseElementBytes(std::span<std::uint8_t> data, std::size_t element_size);

// True on a host that keeps the least significant byte first, where data sent
// most significant byte first must be reversed.
bool HostIsLittleEndian();

}  // namespace motqr::io
