// GIF's LZW: codes of a growing width, packed least significant bit first.
// Codes below the clear code stand for themselves; the clear code empties
// the table, the code after it ends the data, and every later code names a
// table entry: an earlier entry followed by one more pixel. The decoder adds
// one entry per code, the entry before the current code extended by the
// first pixel of the current string; the code that is being defined at
// that moment (the "KwKwK" case) is the previous string plus its own first
// pixel. The width grows by one bit when the next free code reaches 2^width,
// up to 12 bits, and the table holds at most 4096 entries.

#include "pdf/graphics/gif_lzw.h"

#include <array>
#include <cstdint>

namespace pdf {

namespace {

constexpr int kMaxBits = 12;
constexpr int kTableSize = 1 << kMaxBits;

class CodeReader {
 public:
  explicit CodeReader(ByteSpan data) : data_(data) {}
  // The next code of `bits` bits; false when the data has run out.
  bool Read(int bits, int& code) {
    while (count_ < bits) {
      if (pos_ >= data_.size()) return false;
      acc_ |= static_cast<std::uint32_t>(data_[pos_++]) << count_;
      count_ += 8;
    }
    code = static_cast<int>(acc_ & ((1u << bits) - 1));
    acc_ >>= bits;
    count_ -= bits;
    return true;
  }

 private:
  ByteSpan data_;
  std::size_t pos_ = 0;
  std::uint32_t acc_ = 0;
  int count_ = 0;
};

}  // namespace

ReadStatus DecodeGifLzw(ByteSpan Data, int MinimumCodeSize, std::size_t Count, Bytes& Out,
                        std::string& Reason) {
  Out.clear();
  if (MinimumCodeSize < 2 || MinimumCodeSize > 8) {
    Reason = "GIF minimum code size outside 2 to 8";
    return ReadStatus::kInvalid;
  }
  Out.reserve(Count);
  std::array<std::uint16_t, kTableSize> prefix{};
  std::array<std::uint8_t, kTableSize> suffix{};
  std::array<std::uint8_t, kTableSize> first{};  // first pixel of each entry's string
  std::array<std::uint8_t, kTableSize> stack{};
  const int clear = 1 << MinimumCodeSize;
  const int end = clear + 1;
  for (int i = 0; i < clear; ++i) {
    suffix[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    first[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  }
  int bits = MinimumCodeSize + 1;
  int next = clear + 2;
  int previous = -1;
  CodeReader reader(Data);
  while (Out.size() < Count) {
    int code = 0;
    // Data that run out before the last pixel end the image there, as an
    // end code does: the pixels not reached are left to the caller.
    if (!reader.Read(bits, code)) break;
    if (code == clear) {
      bits = MinimumCodeSize + 1;
      next = clear + 2;
      previous = -1;
      continue;
    }
    if (code == end) break;
    // Right after a clear code only a pixel value may come; later any
    // entry defined so far, or the one being defined.
    if (previous < 0 ? code >= clear : code > next) {
      Reason = "GIF image data holds a code not yet defined";
      return ReadStatus::kInvalid;
    }
    // The string of the code, unwound from its last pixel to its first.
    std::size_t depth = 0;
    int walk = code;
    if (code == next) {
      stack[depth++] = first[static_cast<std::size_t>(previous)];
      walk = previous;
    }
    while (walk >= clear) {
      stack[depth++] = suffix[static_cast<std::size_t>(walk)];
      walk = prefix[static_cast<std::size_t>(walk)];
    }
    stack[depth++] = static_cast<std::uint8_t>(walk);
    while (depth > 0 && Out.size() < Count) Out.push_back(stack[--depth]);
    if (previous >= 0 && next < kTableSize) {
      const auto n = static_cast<std::size_t>(next);
      prefix[n] = static_cast<std::uint16_t>(previous);
      suffix[n] = static_cast<std::uint8_t>(walk);  // the first pixel of this code's string
      first[n] = first[static_cast<std::size_t>(previous)];
      ++next;
      if (next == (1 << bits) && bits < kMaxBits) ++bits;
    }
    previous = code;
  }
  return ReadStatus::kOk;
}

}  // namespace pdf
