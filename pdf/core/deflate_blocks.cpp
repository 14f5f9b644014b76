// Block form choice and block writing for our deflate encoder.
//
// The form is chosen from size estimates, and the estimates are part of
// what fixes the output: the dynamic estimate counts 3 bits for each
// code-length length up to (not including) the last one sent and leaves
// out the 14 bits of HLIT, HDIST and HCLEN, and the rounding of each
// estimate is its own. They are kept exactly as they are, since changing
// them would change which form wins for some inputs.

#include <algorithm>
#include <cstring>
#include <span>

#include "pdf/core/deflate_blocks.h"
#include "pdf/core/deflate_huffman.h"

namespace pdf::deflate_internal {
namespace {

constexpr std::size_t kMaxStoredLength = 65535;

// Appends bits least significant first; whole bytes leave through a 64-bit
// accumulator into room made in advance (the block's estimated size plus a
// margin), so a flush is a single store; the room grows if ever short.
class BitWriter {
 public:
  BitWriter(Bytes& out, std::size_t expected_bytes) : out_(out), pos_(out.size()) {
    out_.resize(pos_ + expected_bytes + 64);
  }
  ~BitWriter() { out_.resize(pos_); }

  // count + the bits pending must stay within 64: callers put at most 32.
  void Put(std::uint32_t value, unsigned count) {
    acc_ |= static_cast<std::uint64_t>(value) << bits_;
    bits_ += count;
    if (bits_ >= 32) Flush32();
  }

  // Pads with zero bits to the next byte boundary and flushes everything.
  void AlignToByte() {
    while (bits_ > 0) {
      Room();
      out_[pos_++] = static_cast<std::uint8_t>(acc_);
      acc_ >>= 8;
      bits_ = bits_ >= 8 ? bits_ - 8 : 0;
    }
    acc_ = 0;
  }

 private:
  void Room() {
    if (out_.size() - pos_ < 8) out_.resize(out_.size() * 2 + 64);
  }
  void Flush32() {
    Room();
    const std::uint32_t low = static_cast<std::uint32_t>(acc_);
    std::uint8_t* at = out_.data() + pos_;
    at[0] = static_cast<std::uint8_t>(low);
    at[1] = static_cast<std::uint8_t>(low >> 8);
    at[2] = static_cast<std::uint8_t>(low >> 16);
    at[3] = static_cast<std::uint8_t>(low >> 24);
    pos_ += 4;
    acc_ >>= 32;
    bits_ -= 32;
  }

  Bytes& out_;
  std::size_t pos_;
  std::uint64_t acc_ = 0;
  unsigned bits_ = 0;
};

// Run-length codes the lengths lengths[0..last] the way every common
// encoder does: a run of zeros of 3..10 as 17, of 11..138 as 18; a run of a
// non-zero length as the length once (unless the run before had the same
// length) followed by 16 for each 3..6 repeats; shorter runs as plain
// lengths. A run is cut at 138 zeros, at 6 repeats when the length goes on,
// or at 7 lengths otherwise. Writes at most last + 1 symbols from `out` on
// and returns the end.
LengthSymbol* RunLengthCode(const std::uint8_t* lengths, int last, LengthSymbol* out) {
  int previous = -1;
  int next = lengths[0];
  int count = 0;
  int max_count = next == 0 ? 138 : 7;
  int min_count = next == 0 ? 3 : 4;
  for (int n = 0; n <= last; ++n) {
    const int current = next;
    next = n + 1 <= last ? lengths[n + 1] : -1;
    if (++count < max_count && current == next) continue;
    if (count < min_count) {
      for (; count > 0; --count) *out++ = LengthSymbol{static_cast<std::uint8_t>(current), 0};
    } else if (current != 0) {
      if (current != previous) {
        *out++ = LengthSymbol{static_cast<std::uint8_t>(current), 0};
        --count;
      }
      *out++ = LengthSymbol{16, static_cast<std::uint8_t>(count - 3)};
    } else if (count <= 10) {
      *out++ = LengthSymbol{17, static_cast<std::uint8_t>(count - 3)};
    } else {
      *out++ = LengthSymbol{18, static_cast<std::uint8_t>(count - 11)};
    }
    count = 0;
    previous = current;
    if (next == 0) {
      max_count = 138;
      min_count = 3;
    } else if (current == next) {
      max_count = 6;
      min_count = 3;
    } else {
      max_count = 7;
      min_count = 4;
    }
  }
  return out;
}

constexpr std::uint8_t kCodeLengthExtraBits[3] = {2, 3, 7};

template <std::size_t N>
int LastNonZero(const std::array<std::uint8_t, N>& lengths) {
  int last = static_cast<int>(N) - 1;
  while (last > 0 && lengths[static_cast<std::size_t>(last)] == 0) --last;
  return last;
}

// The code-length symbols of both lists, literal/length lengths first,
// into the plan.
void CodeLengthSymbols(BlockPlan& plan) {
  LengthSymbol* end = plan.length_symbols.data();
  end = RunLengthCode(plan.literal_length_lengths.data(), LastNonZero(plan.literal_length_lengths), end);
  end = RunLengthCode(plan.distance_lengths.data(), LastNonZero(plan.distance_lengths), end);
  plan.length_symbol_count = static_cast<int>(end - plan.length_symbols.data());
}

std::span<const LengthSymbol> LengthSymbols(const BlockPlan& plan) {
  return {plan.length_symbols.data(), static_cast<std::size_t>(plan.length_symbol_count)};
}

std::uint64_t StoredSize(std::size_t input_size) {
  const std::uint64_t blocks = std::max<std::uint64_t>(1, (input_size + kMaxStoredLength - 1) / kMaxStoredLength);
  return input_size + 5 * blocks;
}

std::uint64_t FixedSize(const FirstPass& pass) {
  std::uint64_t bits = 0;
  for (int s = 0; s < kLiteralLengthSymbols; ++s) {
    const std::uint64_t f = pass.literal_length_freq[static_cast<std::size_t>(s)];
    bits += f * static_cast<std::uint64_t>(FixedLiteralLength(s));
    if (s > kEndOfBlock && s < 257 + 29) bits += f * kLengthExtra[static_cast<std::size_t>(s - 257)];
  }
  for (int d = 0; d < 30; ++d) {
    const std::uint64_t f = pass.distance_freq[static_cast<std::size_t>(d)];
    bits += f * (kFixedDistanceLength + kDistanceExtra[static_cast<std::size_t>(d)]);
  }
  return (bits + 3) / 8 + 1;
}

// Builds the dynamic trees into `plan` and returns the dynamic estimate.
std::uint64_t DynamicSize(const FirstPass& pass, BlockPlan& plan) {
  if (!BuildCodeLengths(pass.literal_length_freq, kMaxCodeLength, plan.literal_length_lengths) ||
      !BuildCodeLengths(pass.distance_freq, kMaxCodeLength, plan.distance_lengths))
    return kNoDynamic;
  std::array<std::uint64_t, kCodeLengthSymbols> cl_freq{};
  CodeLengthSymbols(plan);
  for (const LengthSymbol& ls : LengthSymbols(plan)) ++cl_freq[ls.symbol];
  BuildCodeLengths(cl_freq, kMaxCodeLengthCodeLength, plan.code_length_lengths);
  int h = kCodeLengthSymbols - 1;
  while (h > 0 && plan.code_length_lengths[kCodeLengthOrder[static_cast<std::size_t>(h)]] == 0) --h;
  plan.last_code_length_index = h;

  std::uint64_t bits = 0;
  for (int s = 0; s < kLiteralLengthSymbols; ++s) {
    const std::uint64_t f = pass.literal_length_freq[static_cast<std::size_t>(s)];
    if (f == 0) continue;
    bits += f * plan.literal_length_lengths[static_cast<std::size_t>(s)];
    if (s > kEndOfBlock && s < 257 + 29) bits += f * kLengthExtra[static_cast<std::size_t>(s - 257)];
  }
  for (int d = 0; d < 30; ++d) {
    const std::uint64_t f = pass.distance_freq[static_cast<std::size_t>(d)];
    bits += f * (plan.distance_lengths[static_cast<std::size_t>(d)] + kDistanceExtra[static_cast<std::size_t>(d)]);
  }
  bits += 3 * static_cast<std::uint64_t>(h);
  for (int s = 0; s < kCodeLengthSymbols; ++s) {
    std::uint64_t per = plan.code_length_lengths[static_cast<std::size_t>(s)];
    if (s >= 16) per += kCodeLengthExtraBits[s - 16];
    bits += cl_freq[static_cast<std::size_t>(s)] * per;
  }
  bits += 3;
  return bits / 8 + 1;
}

void WriteStored(ByteSpan input, Bytes& out) {
  std::size_t offset = 0;
  do {
    const std::size_t n = std::min(kMaxStoredLength, input.size() - offset);
    const bool final = offset + n == input.size();
    // Each block starts on a byte boundary here: its 3 header bits, 5 bits
    // of padding, then LEN and NLEN low byte first.
    out.push_back(final ? 1 : 0);
    out.push_back(static_cast<std::uint8_t>(n));
    out.push_back(static_cast<std::uint8_t>(n >> 8));
    out.push_back(static_cast<std::uint8_t>(~n));
    out.push_back(static_cast<std::uint8_t>(~n >> 8));
    out.insert(out.end(), input.begin() + static_cast<std::ptrdiff_t>(offset),
               input.begin() + static_cast<std::ptrdiff_t>(offset + n));
    offset += n;
  } while (offset < input.size());
}

void WriteTokens(const FirstPass& pass, const std::uint8_t* lit_lengths, const std::uint16_t* lit_codes,
                 const std::uint8_t* dist_lengths, const std::uint16_t* dist_codes, BitWriter& bits) {
  for (std::uint32_t token : pass.tokens) {
    if (!IsMatch(token)) {
      bits.Put(lit_codes[token], lit_lengths[token]);
      continue;
    }
    // A code and its extra bits go out together: at most 15 + 5 bits for a
    // length, 15 + 13 for a distance.
    const unsigned length = MatchLength(token);
    const unsigned lc = kLengthCodeOf[length];
    const unsigned ln = lit_lengths[257 + lc];
    bits.Put(lit_codes[257 + lc] | (length - kLengthBase[lc]) << ln, ln + kLengthExtra[lc]);
    const unsigned distance = MatchDistance(token);
    const unsigned dc = static_cast<unsigned>(DistanceCode(distance));
    const unsigned dn = dist_lengths[dc];
    bits.Put(dist_codes[dc] | (distance - kDistanceBase[dc]) << dn, dn + kDistanceExtra[dc]);
  }
  bits.Put(lit_codes[kEndOfBlock], lit_lengths[kEndOfBlock]);
}

// The fixed codes, made once.
struct FixedCodes {
  std::array<std::uint8_t, kLiteralLengthSymbols> lit_lengths{};
  std::array<std::uint16_t, kLiteralLengthSymbols> lit_codes{};
  std::array<std::uint8_t, kDistanceSymbols> dist_lengths{};
  std::array<std::uint16_t, kDistanceSymbols> dist_codes{};
  FixedCodes() {
    for (int s = 0; s < kLiteralLengthSymbols; ++s)
      lit_lengths[static_cast<std::size_t>(s)] = static_cast<std::uint8_t>(FixedLiteralLength(s));
    dist_lengths.fill(kFixedDistanceLength);
    BuildCanonicalCodes(lit_lengths, lit_codes);
    BuildCanonicalCodes(dist_lengths, dist_codes);
  }
};

const FixedCodes& Fixed() {
  static const FixedCodes codes;
  return codes;
}

}  // namespace

BlockForm ChooseForm(const FormSizes& sizes) {
  BlockForm form = BlockForm::kStored;
  std::uint64_t best = sizes.stored;
  if (sizes.fixed < best) {
    form = BlockForm::kFixed;
    best = sizes.fixed;
  }
  if (sizes.dynamic < best) form = BlockForm::kDynamic;
  return form;
}

BlockPlan PlanBlocks(std::size_t input_size, const FirstPass& pass) {
  BlockPlan plan{};
  plan.sizes.stored = StoredSize(input_size);
  plan.sizes.fixed = FixedSize(pass);
  plan.sizes.dynamic = DynamicSize(pass, plan);
  plan.form = ChooseForm(plan.sizes);
  return plan;
}

void WriteBlocks(ByteSpan input, const FirstPass& pass, const BlockPlan& plan, Bytes& out) {
  if (plan.form == BlockForm::kStored) {
    WriteStored(input, out);
    return;
  }
  const std::uint64_t estimate = plan.form == BlockForm::kFixed ? plan.sizes.fixed : plan.sizes.dynamic;
  BitWriter bits(out, static_cast<std::size_t>(estimate));
  bits.Put(1u | static_cast<unsigned>(plan.form) << 1, 3);  // final block, then its form
  if (plan.form == BlockForm::kFixed) {
    const FixedCodes& f = Fixed();
    WriteTokens(pass, f.lit_lengths.data(), f.lit_codes.data(), f.dist_lengths.data(), f.dist_codes.data(), bits);
    bits.AlignToByte();
    return;
  }
  std::array<std::uint16_t, kLiteralLengthSymbols> lit_codes{};
  std::array<std::uint16_t, kDistanceSymbols> dist_codes{};
  std::array<std::uint16_t, kCodeLengthSymbols> cl_codes{};
  BuildCanonicalCodes(plan.literal_length_lengths, lit_codes);
  BuildCanonicalCodes(plan.distance_lengths, dist_codes);
  BuildCanonicalCodes(plan.code_length_lengths, cl_codes);
  const int last_lit = LastNonZero(plan.literal_length_lengths);
  const int last_dist = LastNonZero(plan.distance_lengths);
  const int h = plan.last_code_length_index;
  bits.Put(static_cast<std::uint32_t>(last_lit - 256), 5);
  bits.Put(static_cast<std::uint32_t>(last_dist), 5);
  bits.Put(static_cast<std::uint32_t>(h - 3), 4);
  for (int i = 0; i <= h; ++i) bits.Put(plan.code_length_lengths[kCodeLengthOrder[static_cast<std::size_t>(i)]], 3);
  for (const LengthSymbol& ls : LengthSymbols(plan)) {
    bits.Put(cl_codes[ls.symbol], plan.code_length_lengths[ls.symbol]);
    if (ls.symbol >= 16) bits.Put(ls.extra, kCodeLengthExtraBits[ls.symbol - 16]);
  }
  WriteTokens(pass, plan.literal_length_lengths.data(), lit_codes.data(), plan.distance_lengths.data(),
              dist_codes.data(), bits);
  bits.AlignToByte();
}

}  // namespace pdf::deflate_internal
