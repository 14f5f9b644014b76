// LZW as the LZWDecode filter reads it with its default early change:
// 9-bit codes after each clear-table code, one bit more from the code that
// creates entry 511 (1023, 2047) onwards, and a clear-table code once the
// table reaches its largest entry, 2^(9 + quality) - 1. Codes are packed
// most significant bit first.

#include <algorithm>
#include <array>
#include <memory>

#include "pdf/core/encoders.h"

namespace pdf {
namespace {

constexpr unsigned kClear = 256;
constexpr unsigned kEnd = 257;
constexpr unsigned kFirstFree = 258;

class BitWriter {
 public:
  explicit BitWriter(Bytes& out) : out_(out) {}
  void Put(unsigned code, int width) {
    acc_ = acc_ << width | code;
    bits_ += width;
    while (bits_ >= 8) {
      bits_ -= 8;
      out_.push_back(static_cast<std::uint8_t>(acc_ >> bits_));
    }
    acc_ &= (1u << bits_) - 1;
  }
  void Flush() {
    if (bits_) out_.push_back(static_cast<std::uint8_t>(acc_ << (8 - bits_)));
    bits_ = 0;
    acc_ = 0;
  }

 private:
  Bytes& out_;
  std::uint32_t acc_ = 0;
  int bits_ = 0;
};

// The string table: (prefix code, byte) -> code, open addressing with a
// generation stamp so that a clear-table step costs nothing.
class StringTable {
 public:
  StringTable() { slots_.fill(Slot{}); }
  void Clear() { ++generation_; }
  // The code of prefix + byte, or 0 when absent (0 is never a string code).
  unsigned Find(unsigned prefix, std::uint8_t byte) const {
    const std::uint32_t key = prefix << 8 | byte;
    for (std::size_t h = Hash(key);; h = (h + 1) & kMask) {
      const Slot& s = slots_[h];
      if (s.generation != generation_) return 0;
      if (s.key == key) return s.code;
    }
  }
  void Add(unsigned prefix, std::uint8_t byte, unsigned code) {
    const std::uint32_t key = prefix << 8 | byte;
    std::size_t h = Hash(key);
    while (slots_[h].generation == generation_) h = (h + 1) & kMask;
    slots_[h] = Slot{key, static_cast<std::uint16_t>(code), generation_};
  }

 private:
  static constexpr std::size_t kSize = 16384;  // at most 3838 entries live
  static constexpr std::size_t kMask = kSize - 1;
  struct Slot {
    std::uint32_t key = 0;
    std::uint16_t code = 0;
    std::uint32_t generation = 0;
  };
  static std::size_t Hash(std::uint32_t key) { return (key * 2654435761u) >> 18 & kMask; }
  std::array<Slot, kSize> slots_;
  std::uint32_t generation_ = 1;
};

}  // namespace

Bytes EncodeLzw(ByteSpan data, int quality) {
  quality = std::clamp(quality, 0, 3);
  const unsigned largest = (1u << (9 + quality)) - 1;
  Bytes out;
  out.reserve(data.size() * 3 / 2 + 8);
  BitWriter bits(out);
  int width = 9;
  bits.Put(kClear, width);
  if (data.empty()) {
    bits.Put(kEnd, width);
    bits.Flush();
    return out;
  }

  auto table = std::make_unique<StringTable>();
  unsigned next = kFirstFree;
  // Counts the entry made by the step that has just written a code, and
  // widens the codes after entries 511, 1023 and 2047.
  auto count_entry = [&] {
    const unsigned entry = next++;
    if (entry == 511 || entry == 1023 || entry == 2047) ++width;
  };

  unsigned current = data[0];
  for (std::size_t i = 1; i < data.size(); ++i) {
    if (next > largest) {  // the previous step made the largest entry
      bits.Put(kClear, width);
      table->Clear();
      next = kFirstFree;
      width = 9;
    }
    const std::uint8_t byte = data[i];
    if (unsigned code = table->Find(current, byte)) {
      current = code;
      continue;
    }
    bits.Put(current, width);
    table->Add(current, byte, next);
    count_entry();
    current = byte;
  }
  bits.Put(current, width);
  count_entry();
  bits.Put(kEnd, width);
  bits.Flush();
  return out;
}

}  // namespace pdf
