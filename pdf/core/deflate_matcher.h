#pragma once
// First pass of our deflate encoder: LZ77 matching with one-step lazy
// evaluation. It turns the input into literals and (length, distance) pairs
// and counts the symbols each will need.

#include <array>
#include <cstdint>
#include <vector>

#include "pdf/core/bytes.h"
#include "pdf/core/deflate_tables.h"

namespace pdf::deflate_internal {

// One token: a literal byte (0..255), or a match with kMatchFlag set, the
// length (3..258) in bits 16..24 and the distance (1..32767) in bits 0..15.
inline constexpr std::uint32_t kMatchFlag = 0x80000000u;
inline constexpr std::uint32_t MakeMatch(unsigned length, unsigned distance) {
  return kMatchFlag | (length << 16) | distance;
}
inline constexpr bool IsMatch(std::uint32_t token) { return (token & kMatchFlag) != 0; }
inline constexpr unsigned MatchLength(std::uint32_t token) { return (token >> 16) & 0x1FF; }
inline constexpr unsigned MatchDistance(std::uint32_t token) { return token & 0xFFFF; }

struct FirstPass {
  std::vector<std::uint32_t> tokens;
  // Symbol counts, end of block included (it occurs once).
  std::array<std::uint64_t, kLiteralLengthSymbols> literal_length_freq{};
  std::array<std::uint64_t, kDistanceSymbols> distance_freq{};
};

// Fills `out` (its previous content is replaced) for `data` at `level`.
void FindMatches(ByteSpan data, const Level& level, FirstPass& out);

}  // namespace pdf::deflate_internal
