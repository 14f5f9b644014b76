#pragma once
// Huffman code lengths and canonical codes for our deflate encoder.

#include <cstdint>
#include <span>

namespace pdf::deflate_internal {

// Code lengths, none above `limit`, for the symbols of `freq` (zero for an
// unused symbol). Returns false, leaving every length 0, when no symbol is
// used. A single used symbol gets length 1: a code of length 0 cannot be
// sent, and decoders accept one code of one bit.
bool BuildCodeLengths(std::span<const std::uint64_t> freq, int limit, std::span<std::uint8_t> lengths);

// Canonical codes for the given lengths, already bit-reversed so that they
// can be appended least significant bit first.
void BuildCanonicalCodes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes);

}  // namespace pdf::deflate_internal
