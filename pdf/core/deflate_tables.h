#pragma once
// Constant tables of the deflate format and of our encoder's effort levels.
// They are compile-time constants, so the encoder needs no set-up call and
// every entry point (DeflateEncode, zzToFlateDecode) can run at any time.

#include <array>
#include <cstdint>

namespace pdf::deflate_internal {

// Base lengths and extra bits of the length codes 257..285.
inline constexpr std::array<std::uint16_t, 29> kLengthBase = {
    3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
    31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
inline constexpr std::array<std::uint8_t, 29> kLengthExtra = {
    0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};

// Base distances and extra bits of the distance codes 0..29. Codes 30 and 31
// never occur in our output (no distance beyond 32767 is ever searched).
inline constexpr std::array<std::uint16_t, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
inline constexpr std::array<std::uint8_t, 30> kDistanceExtra = {
    0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// The order in which a dynamic block sends the code-length code's lengths.
inline constexpr std::array<std::uint8_t, 19> kCodeLengthOrder = {
    16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

inline constexpr int kLiteralLengthSymbols = 288;  // 0..255, 256 end of block, 257..287
inline constexpr int kDistanceSymbols = 32;
inline constexpr int kCodeLengthSymbols = 19;
inline constexpr int kEndOfBlock = 256;
inline constexpr int kMaxCodeLength = 15;
inline constexpr int kMaxCodeLengthCodeLength = 7;

inline constexpr int kMinMatch = 3;
inline constexpr int kMaxMatch = 258;
inline constexpr int kMaxDistance = 32767;  // one less than the format allows, on purpose
inline constexpr int kFarLengthThreeDistance = 4096;  // a 3-byte match farther back is not worth it

// The four effort values of one level: `good` ends the first part of the
// search at a position, `lazy` the whole search, `nice` is the length above
// which no look-ahead is tried, `chain` the number of earlier positions
// kept (and searched) for each three-byte string.
struct Level {
  int good;
  int lazy;
  int nice;
  int chain;
};

inline constexpr std::array<Level, 10> kLevels = {{
    {0, 0, 0, 0},
    {4, 4, 8, 4},
    {4, 5, 16, 8},
    {4, 6, 32, 32},
    {4, 4, 16, 16},
    {8, 16, 32, 32},
    {8, 16, 128, 128},
    {8, 32, 128, 256},
    {32, 128, 258, 1024},
    {32, 258, 258, 4096},
}};

// The writer's quality 0..3 selects levels 4..7; anything outside 0..3 is
// clamped, so the table is never read outside those rows.
constexpr const Level& LevelForQuality(int quality) {
  if (quality < 0) quality = 0;
  if (quality > 3) quality = 3;
  return kLevels[static_cast<std::size_t>(quality + 4)];
}

// Length code index (0..28, i.e. symbol - 257) of every match length 3..258:
// the highest code whose base does not exceed the length.
inline constexpr auto kLengthCodeOf = [] {
  std::array<std::uint8_t, kMaxMatch + 1> table{};
  for (int length = kMinMatch; length <= kMaxMatch; ++length) {
    int code = 0;
    while (code + 1 < 29 && kLengthBase[static_cast<std::size_t>(code + 1)] <= length) ++code;
    table[static_cast<std::size_t>(length)] = static_cast<std::uint8_t>(code);
  }
  return table;
}();

// Distance code of a distance 1..32768, through two small tables: one for
// distances up to 256, one indexed by (distance - 1) / 128 above that (every
// base above 256 is one more than a multiple of 128).
inline constexpr auto kDistanceCodeSmall = [] {
  std::array<std::uint8_t, 256> table{};
  for (int d = 1; d <= 256; ++d) {
    int code = 0;
    while (code + 1 < 30 && kDistanceBase[static_cast<std::size_t>(code + 1)] <= d) ++code;
    table[static_cast<std::size_t>(d - 1)] = static_cast<std::uint8_t>(code);
  }
  return table;
}();
inline constexpr auto kDistanceCodeLarge = [] {
  std::array<std::uint8_t, 256> table{};
  for (int i = 2; i < 256; ++i) {
    const int d = i * 128 + 1;
    int code = 0;
    while (code + 1 < 30 && kDistanceBase[static_cast<std::size_t>(code + 1)] <= d) ++code;
    table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(code);
  }
  return table;
}();

inline int DistanceCode(unsigned distance) {
  return distance <= 256 ? kDistanceCodeSmall[distance - 1] : kDistanceCodeLarge[(distance - 1) >> 7];
}

// Code lengths of the fixed Huffman codes.
inline constexpr int FixedLiteralLength(int symbol) {
  return symbol < 144 ? 8 : symbol < 256 ? 9 : symbol < 280 ? 7 : 8;
}
inline constexpr int kFixedDistanceLength = 5;

}  // namespace pdf::deflate_internal
