// Our inflate decoder.
//
// Bits are read least significant first through a 64-bit buffer that is
// refilled to at least 56 bits before each symbol, enough for a length
// code, its extra bits, a distance code and its extra bits together. Past
// the end of the input the buffer is filled with zero bytes that are only
// counted; using any of them means the input ended early, which is checked
// before anything decoded from them reaches the output.
//
// Huffman codes are decoded through tables indexed by the next bits of the
// stream (codes are sent most significant bit first, so the index is the
// code reversed): a primary table of up to 11 bits, and for longer codes
// second-level tables reached from a link entry. Entries carry the decoded
// meaning (literal, length or distance base with its extra-bit count, end
// of block), so the main loop does no further lookups.
//
// Code-length lists must form complete prefix codes, with two exceptions
// that the format allows: a literal/length or distance code made of one
// code of one bit, and a distance code with no codes at all (the block then
// holds literals only). Anything else is a fault of the stream.

#include "pdf/core/inflate.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "pdf/core/deflate.h"

namespace pdf {
namespace {

// ---------------------------------------------------------------------------
// Table entries: bits 0..7 the number of bits to drop, bits 8..10 the kind,
// bits 11..15 the extra-bit count (or a link's table bits), bits 16..31 the
// value (literal, base, symbol, or the link's offset).

enum Kind : std::uint32_t { kLiteral = 0, kBase = 1, kEnd = 2, kLink = 3, kInvalid = 4 };

constexpr std::uint32_t MakeEntry(Kind kind, unsigned drop, unsigned extra, unsigned value) {
  return drop | static_cast<std::uint32_t>(kind) << 8 | extra << 11 | value << 16;
}
constexpr unsigned Drop(std::uint32_t e) { return e & 0xFF; }
constexpr Kind KindOf(std::uint32_t e) { return static_cast<Kind>((e >> 8) & 7); }
constexpr unsigned Extra(std::uint32_t e) { return (e >> 11) & 0x1F; }
constexpr unsigned Value(std::uint32_t e) { return e >> 16; }
constexpr std::uint32_t kInvalidEntry = MakeEntry(kInvalid, 0, 0, 0);

// Length symbols 257..287 and distance symbols 0..31; the last entries are
// the values no encoder writes (length 0; distances beyond 32768).
constexpr std::array<std::uint16_t, 31> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13, 15,
                                                       17, 19, 23, 27,  31,  35,  43,  51,  59, 67, 83,
                                                       99, 115, 131, 163, 195, 227, 258, 0,  0};
constexpr std::array<std::uint8_t, 31> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2,
                                                       3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0, 0, 0};
constexpr std::array<std::uint32_t, 32> kDistanceBase = {
    1,    2,    3,    4,    5,    7,    9,    13,    17,    25,    33,    49,    65,    97,    129,   193,
    257,  385,  513,  769,  1025, 1537, 2049, 3073,  4097,  6145,  8193,  12289, 16385, 24577, 32769, 49153};
constexpr std::array<std::uint8_t, 32> kDistanceExtra = {0, 0, 0, 0, 1, 1, 2,  2,  3,  3,  4,  4,  5,  5,  6,  6,
                                                         7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
constexpr std::array<std::uint8_t, 19> kCodeLengthOrder = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5,
                                                           11, 4,  12, 3, 13, 2, 14, 1, 15};

enum class Alphabet { kCodeLength, kLiteralLength, kDistance };

// What a decoded symbol means, as a table entry without its drop count.
constexpr std::uint32_t Meaning(Alphabet alphabet, unsigned symbol) {
  switch (alphabet) {
    case Alphabet::kCodeLength:
      return MakeEntry(kLiteral, 0, 0, symbol);
    case Alphabet::kLiteralLength:
      if (symbol < 256) return MakeEntry(kLiteral, 0, 0, symbol);
      if (symbol == 256) return MakeEntry(kEnd, 0, 0, 0);
      return MakeEntry(kBase, 0, kLengthExtra[symbol - 257], kLengthBase[symbol - 257]);
    case Alphabet::kDistance:
      // 49153 does not fit the 16-bit value field: distances keep the
      // symbol and look their base up when used.
      return MakeEntry(kBase, 0, kDistanceExtra[symbol], symbol);
  }
  return kInvalidEntry;
}

// The meanings of every symbol of each alphabet, looked up once per symbol
// while a table is built (small streams build tables about as often as they
// decode symbols).
template <Alphabet A, std::size_t N>
constexpr std::array<std::uint32_t, N> MeaningsOf() {
  std::array<std::uint32_t, N> t{};
  for (unsigned s = 0; s < N; ++s) t[s] = Meaning(A, s);
  return t;
}
constexpr auto kCodeLengthMeanings = MeaningsOf<Alphabet::kCodeLength, 19>();
constexpr auto kLiteralLengthMeanings = MeaningsOf<Alphabet::kLiteralLength, 288>();
constexpr auto kDistanceMeanings = MeaningsOf<Alphabet::kDistance, 32>();

constexpr unsigned kMaxBits = 15;

// Primary table sizes: 11 bits for literals and lengths keeps nearly every
// code of binary data (fonts, images) to one lookup; 8 bits for distances.
constexpr unsigned kLiteralLengthBits = 11;
constexpr unsigned kDistanceBits = 8;

// A decoding table: the primary part holds 2^bits entries; links lead to
// second-level parts stored after it. Capacity: every second-level part
// holds at least one symbol of its own and at most 2^(15 - bits) entries, so
// 288 symbols never need more than 2^11 + 288 x 2^4 entries with an 11-bit
// primary part (nor 2^8 + 32 x 2^7 for distances).
struct Table {
  static constexpr std::size_t kCapacity = (std::size_t{1} << kLiteralLengthBits) + 288 * 16;
  std::array<std::uint32_t, kCapacity> entries;
  unsigned bits = 0;   // 0: no codes at all
};

// Bytes with their bit order reversed, for Reverse below.
constexpr std::array<std::uint8_t, 256> kReversedBytes = [] {
  std::array<std::uint8_t, 256> t{};
  for (unsigned b = 0; b < 256; ++b)
    for (unsigned i = 0; i < 8; ++i)
      if (b & (1u << i)) t[b] |= static_cast<std::uint8_t>(0x80u >> i);
  return t;
}();

// The low `length` (at most 16) bits of `code` in reverse order.
inline unsigned Reverse(unsigned code, unsigned length) {
  const unsigned r16 = static_cast<unsigned>(kReversedBytes[code & 0xFF]) << 8 | kReversedBytes[(code >> 8) & 0xFF];
  return r16 >> (16 - length);
}

// Builds `table` from lengths[0..count). Returns false for a faulty code.
bool BuildTable(const std::uint8_t* lengths, unsigned count, Alphabet alphabet, unsigned primary_bits,
                Table& table) {
  std::array<unsigned, kMaxBits + 1> per_length{};
  for (unsigned s = 0; s < count; ++s) ++per_length[lengths[s]];
  per_length[0] = 0;
  unsigned max_length = kMaxBits;
  while (max_length > 0 && per_length[max_length] == 0) --max_length;
  if (max_length == 0) {
    // No codes: only a distance table may be empty (a block of literals).
    table.bits = 0;
    return alphabet == Alphabet::kDistance;
  }
  int left = 1;
  for (unsigned len = 1; len <= kMaxBits; ++len) {
    left = left * 2 - static_cast<int>(per_length[len]);
    if (left < 0) return false;  // over-subscribed
  }
  if (left > 0 && (alphabet == Alphabet::kCodeLength || max_length != 1)) return false;  // incomplete

  // Symbols in canonical order: by length, then by symbol.
  std::array<unsigned, kMaxBits + 2> offset{};
  for (unsigned len = 1; len <= kMaxBits; ++len) offset[len + 1] = offset[len] + per_length[len];
  std::array<std::uint16_t, 288> sorted{};
  for (unsigned s = 0; s < count; ++s)
    if (lengths[s] != 0) sorted[offset[lengths[s]]++] = static_cast<std::uint16_t>(s);
  const unsigned total = offset[kMaxBits];  // after the loop, offset[len] is the end of length len

  const unsigned root = std::min(primary_bits, max_length);
  table.bits = root;
  std::uint32_t* entries = table.entries.data();
  // A complete code writes every entry below; only the two incomplete
  // codes allowed above leave some to mark as invalid.
  const bool complete = left == 0;

  // The primary part is built by doubling: while codes of length len are
  // placed it is 2^len entries long, each code at its reversed value; going
  // to the next length copies the first half onto the second, which puts
  // every shorter code at all the indexes it owns. Prefixes of longer codes
  // copied along are overwritten by their links later. Starting from two
  // invalid entries marks what an incomplete code leaves unused.
  entries[0] = entries[1] = kInvalidEntry;
  std::size_t built = 2;  // entries of the primary part built so far
  const auto double_to = [&](unsigned len) {
    for (; built < (std::size_t{1} << len); built *= 2) std::memcpy(entries + built, entries, built * sizeof *entries);
  };

  const std::uint32_t* meanings = alphabet == Alphabet::kCodeLength      ? kCodeLengthMeanings.data()
                                  : alphabet == Alphabet::kLiteralLength ? kLiteralLengthMeanings.data()
                                                                         : kDistanceMeanings.data();
  std::array<unsigned, kMaxBits + 1> remaining = per_length;
  std::size_t next_free = std::size_t{1} << root;
  unsigned code = 0;           // canonical code of the current symbol, most significant bit first
  unsigned length = lengths[sorted[0]];
  unsigned current_prefix = ~0u;
  std::size_t sub_offset = 0;
  unsigned sub_bits = 0;
  for (unsigned k = 0; k < total; ++k) {
    const unsigned symbol = sorted[k];
    const unsigned len = lengths[symbol];
    code <<= (len - length);
    length = len;
    if (len <= root) {
      double_to(len);
      entries[Reverse(code, len)] = meanings[symbol] | len;
    } else {
      double_to(root);
      const unsigned prefix = code >> (len - root);
      if (prefix != current_prefix) {
        // A new second-level table: as large as the codes sharing this
        // prefix need, counted from the codes still to place.
        unsigned bits = len - root;
        int room = 1 << bits;
        while (bits + root < max_length) {
          room -= static_cast<int>(remaining[bits + root]);
          if (room <= 0) break;
          ++bits;
          room <<= 1;
        }
        sub_bits = bits;
        sub_offset = next_free;
        next_free += std::size_t{1} << sub_bits;
        if (next_free > Table::kCapacity) return false;
        if (!complete) std::fill_n(entries + sub_offset, std::size_t{1} << sub_bits, kInvalidEntry);
        entries[Reverse(prefix, root)] = MakeEntry(kLink, root, sub_bits, static_cast<unsigned>(sub_offset));
        current_prefix = prefix;
      }
      // A second-level entry drops the whole code, primary bits included,
      // so that decoding never has to consume in two steps.
      const unsigned rest = len - root;
      const std::uint32_t e = meanings[symbol] | len;
      const unsigned low = code & ((1u << rest) - 1);
      for (std::size_t i = Reverse(low, rest); i < (std::size_t{1} << sub_bits); i += std::size_t{1} << rest)
        entries[sub_offset + i] = e;
    }
    --remaining[len];
    ++code;
  }
  double_to(root);
  return true;
}

// ---------------------------------------------------------------------------

class BitReader {
 public:
  BitReader(const std::uint8_t* begin, const std::uint8_t* end) : begin_(begin), p_(begin), end_(end) {}

  // At least 56 bits in the buffer afterwards.
  void Refill() {
    if (end_ - p_ >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p_, 8);
      if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
      buf_ |= word << count_;
      p_ += (63 - count_) >> 3;
      count_ |= 56;
      return;
    }
    while (count_ <= 56) {
      if (p_ < end_)
        buf_ |= static_cast<std::uint64_t>(*p_++) << count_;
      else
        ++virtual_bytes_;
      count_ += 8;
    }
  }

  std::uint64_t Peek() const { return buf_; }
  unsigned Count() const { return count_; }
  void Consume(unsigned n) {
    buf_ >>= n;
    count_ -= n;
  }
  // Reads n (at most 32) bits after a refill.
  std::uint32_t Take(unsigned n) {
    const std::uint32_t v = static_cast<std::uint32_t>(buf_ & ((std::uint64_t{1} << n) - 1));
    Consume(n);
    return v;
  }
  std::uint32_t Read(unsigned n) {
    if (count_ < n) Refill();
    return Take(n);
  }

  // True when some of the zero bytes beyond the input have been used.
  bool Overrun() const { return virtual_bytes_ != 0 && virtual_bytes_ * 8 > count_; }

  // Drops the bits of the current partial byte and hands back the whole
  // bytes still buffered, so that the next read is byte-aligned at p().
  void AlignToByte() {
    Consume(count_ & 7);
    p_ -= (count_ >> 3) - virtual_bytes_;
    buf_ = 0;
    count_ = 0;
    virtual_bytes_ = 0;
  }
  const std::uint8_t* p() const { return p_; }
  void Skip(std::size_t n) { p_ += n; }
  std::size_t Available() const { return static_cast<std::size_t>(end_ - p_); }

  // The fast loop keeps the buffer, its count and the input position in
  // locals (stores through the output pointer would otherwise force them
  // to be reloaded from memory after every byte) and hands them back.
  struct Registers {
    std::uint64_t buf;
    unsigned count;
    const std::uint8_t* p;
  };
  Registers Save() const { return {buf_, count_, p_}; }
  void Restore(const Registers& r) {
    buf_ = r.buf;
    count_ = r.count;
    p_ = r.p;
  }
  const std::uint8_t* end() const { return end_; }

  // Input bytes used so far (a partly used byte counts).
  std::size_t Consumed() const {
    return static_cast<std::size_t>(p_ - begin_) - ((count_ >> 3) - virtual_bytes_);
  }

 private:
  const std::uint8_t* begin_;
  const std::uint8_t* p_;
  const std::uint8_t* end_;
  std::uint64_t buf_ = 0;
  unsigned count_ = 0;
  std::size_t virtual_bytes_ = 0;
};

// A table as the fast loop holds it in registers: its entries, primary
// bits and their mask.
struct TableView {
  const std::uint32_t* entries;
  unsigned bits;
  std::uint64_t mask;
  explicit TableView(const Table& t) : entries(t.entries.data()), bits(t.bits), mask((std::uint64_t{1} << t.bits) - 1) {}
};

// The entry of the code at the front of `bits`, without consuming it; the
// buffer must hold at least 15 bits.
inline std::uint32_t Lookup(std::uint64_t bits, const TableView& t) {
  std::uint32_t e = t.entries[bits & t.mask];
  if (KindOf(e) == kLink) [[unlikely]]
    e = t.entries[Value(e) + ((bits >> t.bits) & ((1u << Extra(e)) - 1))];
  return e;
}
inline std::uint32_t Lookup(std::uint64_t bits, const Table& table) { return Lookup(bits, TableView(table)); }

inline std::uint32_t Decode(BitReader& in, const Table& table) {
  const std::uint32_t e = Lookup(in.Peek(), table);
  in.Consume(Drop(e));
  return e;
}

// The output, grown on demand, never past the caller's limit. It keeps
// some spare room so that copies can move 8 bytes at a time.
class Output {
 public:
  static constexpr std::size_t kSlack = 258 + 16;

  Output(std::size_t limit, std::size_t guess) : limit_(limit) {
    data_.resize(std::min(limit, guess) + kSlack);
  }
  // Room for one more symbol's output (at most 258 bytes) plus slack.
  void Reserve() {
    if (data_.size() - pos_ < kSlack) {
      // Never more than the limit allows (a limit of SIZE_MAX must not wrap).
      const std::size_t most = limit_ > SIZE_MAX - kSlack ? SIZE_MAX : limit_ + kSlack;
      data_.resize(std::min(std::max(data_.size() * 2, pos_ + kSlack), most));
    }
  }
  std::size_t Left() const { return limit_ - pos_; }
  // Whether one more symbol (up to 258 bytes) fits both the caller's limit
  // and the buffer with its slack, growing the buffer if need be: the fast
  // loop then writes without further checks.
  bool RoomForSymbol() {
    if (Left() < 258) return false;
    Reserve();
    return true;
  }
  std::uint8_t* End() { return data_.data() + pos_; }
  std::uint8_t* Begin() { return data_.data(); }
  // The last output position at which the fast loop may start a symbol:
  // 258 bytes from there, and the 8-byte overshoot of a copy, stay within
  // the caller's limit and the buffer. Only after RoomForSymbol().
  std::size_t FastLimit() const { return std::min(data_.size() - kSlack, limit_ - 258); }
  void SetEnd(const std::uint8_t* end) { pos_ = static_cast<std::size_t>(end - data_.data()); }
  void Advance(std::size_t n) { pos_ += n; }
  std::size_t Size() const { return pos_; }
  void Grow(std::size_t n) {
    if (data_.size() - pos_ < n + kSlack) data_.resize(pos_ + n + kSlack);
  }
  Bytes Take() {
    data_.resize(pos_);
    return std::move(data_);
  }

 private:
  Bytes data_;
  std::size_t pos_ = 0;
  std::size_t limit_;
};

struct FixedTables {
  Table literal_length;
  Table distance;
  FixedTables() {
    std::array<std::uint8_t, 288> lengths{};
    for (unsigned s = 0; s < 288; ++s) lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    BuildTable(lengths.data(), 288, Alphabet::kLiteralLength, kLiteralLengthBits, literal_length);
    std::array<std::uint8_t, 32> dist{};
    dist.fill(5);
    BuildTable(dist.data(), 32, Alphabet::kDistance, kDistanceBits, distance);
  }
};

const FixedTables& Fixed() {
  static const FixedTables tables;
  return tables;
}

// Reads a dynamic block's header into the two tables.
InflateStatus ReadDynamicTables(BitReader& in, Table& literal_length, Table& distance) {
  in.Refill();
  const unsigned hlit = in.Take(5) + 257;
  const unsigned hdist = in.Take(5) + 1;
  const unsigned hclen = in.Take(4) + 4;
  std::array<std::uint8_t, 19> cl_lengths{};
  for (unsigned i = 0; i < hclen; ++i) cl_lengths[kCodeLengthOrder[i]] = static_cast<std::uint8_t>(in.Read(3));
  if (in.Overrun()) return InflateStatus::kTruncated;
  Table cl_table;
  if (!BuildTable(cl_lengths.data(), 19, Alphabet::kCodeLength, 7, cl_table)) return InflateStatus::kBadCodeLengths;

  std::array<std::uint8_t, 288 + 32> lengths{};
  const unsigned total = hlit + hdist;
  unsigned i = 0;
  while (i < total) {
    // One code-length symbol with its extra bits takes at most 14 bits.
    if (in.Count() < 14) in.Refill();
    const std::uint32_t e = Decode(in, cl_table);
    if (KindOf(e) != kLiteral) return in.Overrun() ? InflateStatus::kTruncated : InflateStatus::kBadCode;
    const unsigned symbol = Value(e);
    if (symbol < 16) {
      if (in.Overrun()) return InflateStatus::kTruncated;
      lengths[i++] = static_cast<std::uint8_t>(symbol);
      continue;
    }
    unsigned repeat;
    std::uint8_t value = 0;
    if (symbol == 16) {
      if (i == 0) return InflateStatus::kBadCodeLengths;  // nothing to repeat
      value = lengths[i - 1];
      repeat = 3 + in.Take(2);
    } else if (symbol == 17) {
      repeat = 3 + in.Take(3);
    } else {
      repeat = 11 + in.Take(7);
    }
    if (in.Overrun()) return InflateStatus::kTruncated;
    if (repeat > total - i) return InflateStatus::kBadCodeLengths;  // past the declared lengths
    std::fill_n(lengths.begin() + i, repeat, value);
    i += repeat;
  }
  // A block must be able to end.
  if (lengths[256] == 0) return InflateStatus::kBadCodeLengths;
  if (!BuildTable(lengths.data(), hlit, Alphabet::kLiteralLength, kLiteralLengthBits, literal_length) ||
      !BuildTable(lengths.data() + hlit, hdist, Alphabet::kDistance, kDistanceBits, distance))
    return InflateStatus::kBadCodeLengths;
  return InflateStatus::kOk;
}

// Copies a match of `length` bytes from `dist` bytes back; the output's
// slack absorbs the overshoot of the 8-byte steps.
inline void CopyMatch(std::uint8_t* dst, std::size_t dist, unsigned length) {
  const std::uint8_t* src = dst - dist;
  if (dist >= 8) {
    // Each 8-byte step reads only bytes written before it.
    for (unsigned k = 0; k < length; k += 8) std::memcpy(dst + k, src + k, 8);
  } else if (dist == 1) {
    std::memset(dst, *src, length);
  } else {
    for (unsigned k = 0; k < length; ++k) dst[k] = src[k];
  }
}

// The input a fast-loop step needs: a refill reads 8 bytes at the input
// position through the word path, so while more than 8 bytes remain no
// refill reaches past the end, every buffered bit is real input, and no
// step needs the truncation checks of the careful loop.
constexpr std::size_t kFastInput = 8;

// The fast loop of a block: runs while the input and the output leave room
// for a whole step, and hands over to the careful loop near either end.
// Returns kOk with `done` set at the end of the block, or a fault.
InflateStatus DecodeFast(BitReader& in, const Table& literal_length, const Table& distance, Output& out,
                         bool& done) {
  if (in.Available() < kFastInput) return InflateStatus::kOk;
  const std::uint8_t* const in_fast_end = in.end() - kFastInput;
  InflateStatus status = InflateStatus::kOk;
  while (in.p() < in_fast_end && out.RoomForSymbol()) {
    const BitReader::Registers r = in.Save();
    std::uint8_t* const base = out.Begin();
    std::uint8_t* op = out.End();
    std::uint8_t* const op_end = base + out.FastLimit();
    const TableView ll(literal_length), dd(distance);
    std::uint64_t buf = r.buf;
    unsigned count = r.count;
    const std::uint8_t* ip = r.p;
    const auto refill = [&] {
      std::uint64_t word;
      std::memcpy(&word, ip, 8);
      if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
      buf |= word << count;
      ip += (63 - count) >> 3;
      count |= 56;
    };
    const auto consume = [&](unsigned n) {
      buf >>= n;
      count -= n;
    };
    while (ip < in_fast_end && op <= op_end) {
      refill();
      std::uint32_t e = Lookup(buf, ll);
      if (KindOf(e) == kLiteral) {
        // After a refill 56 bits are buffered: three literals of at most
        // 15 bits each fit, and the output has room for 258 bytes.
        consume(Drop(e));
        op[0] = static_cast<std::uint8_t>(Value(e));
        e = Lookup(buf, ll);
        if (KindOf(e) != kLiteral) {
          op += 1;
          continue;
        }
        consume(Drop(e));
        op[1] = static_cast<std::uint8_t>(Value(e));
        e = Lookup(buf, ll);
        if (KindOf(e) != kLiteral) {
          op += 2;
          continue;
        }
        consume(Drop(e));
        op[2] = static_cast<std::uint8_t>(Value(e));
        op += 3;
        continue;
      }
      if (KindOf(e) == kEnd) {
        consume(Drop(e));
        done = true;
        break;
      }
      if (KindOf(e) != kBase || dd.bits == 0) {
        status = InflateStatus::kBadCode;
        break;
      }
      consume(Drop(e));
      const unsigned length = Value(e) + static_cast<unsigned>(buf & ((1u << Extra(e)) - 1));
      consume(Extra(e));
      const std::uint32_t d = Lookup(buf, dd);
      if (KindOf(d) != kBase) {
        status = InflateStatus::kBadCode;
        break;
      }
      consume(Drop(d));
      const std::size_t dist = kDistanceBase[Value(d)] + static_cast<std::size_t>(buf & ((1u << Extra(d)) - 1));
      consume(Extra(d));
      if (dist > static_cast<std::size_t>(op - base)) {
        status = InflateStatus::kBadDistance;
        break;
      }
      CopyMatch(op, dist, length);
      op += length;
    }
    in.Restore({buf, count, ip});
    out.SetEnd(op);
    if (done || status != InflateStatus::kOk) break;
  }
  return status;
}

// Decodes the symbols of one fixed or dynamic block.
InflateStatus DecodeBlock(BitReader& in, const Table& literal_length, const Table& distance, Output& out) {
  bool done = false;
  const InflateStatus fast = DecodeFast(in, literal_length, distance, out, done);
  if (fast != InflateStatus::kOk || done) return fast;
  for (;;) {
    in.Refill();
    out.Reserve();
    const std::uint32_t e = Decode(in, literal_length);
    switch (KindOf(e)) {
      case kLiteral:
        if (in.Overrun()) return InflateStatus::kTruncated;
        if (out.Left() == 0) return InflateStatus::kOutputLimit;
        *out.End() = static_cast<std::uint8_t>(Value(e));
        out.Advance(1);
        continue;
      case kEnd:
        return in.Overrun() ? InflateStatus::kTruncated : InflateStatus::kOk;
      case kBase:
        break;
      default:
        return in.Overrun() ? InflateStatus::kTruncated : InflateStatus::kBadCode;
    }
    const unsigned length = Value(e) + in.Take(Extra(e));
    if (distance.bits == 0) return in.Overrun() ? InflateStatus::kTruncated : InflateStatus::kBadCode;
    const std::uint32_t d = Decode(in, distance);
    if (KindOf(d) != kBase) return in.Overrun() ? InflateStatus::kTruncated : InflateStatus::kBadCode;
    const std::size_t dist = kDistanceBase[Value(d)] + in.Take(Extra(d));
    if (in.Overrun()) return InflateStatus::kTruncated;
    if (dist > out.Size()) return InflateStatus::kBadDistance;
    if (length > out.Left()) return InflateStatus::kOutputLimit;
    CopyMatch(out.End(), dist, length);
    out.Advance(length);
  }
}

InflateStatus InflateBlocks(BitReader& in, Output& out) {
  Table literal_length, distance;
  for (;;) {
    in.Refill();
    const bool final = in.Take(1) != 0;
    const unsigned type = in.Take(2);
    if (in.Overrun()) return InflateStatus::kTruncated;
    InflateStatus status = InflateStatus::kOk;
    if (type == 0) {
      in.AlignToByte();
      if (in.Available() < 4) return InflateStatus::kTruncated;
      const std::uint8_t* h = in.p();
      const unsigned len = h[0] | h[1] << 8;
      const unsigned nlen = h[2] | h[3] << 8;
      if ((len ^ 0xFFFF) != nlen) return InflateStatus::kBadStoredLength;
      in.Skip(4);
      if (in.Available() < len) return InflateStatus::kTruncated;
      if (len > out.Left()) return InflateStatus::kOutputLimit;
      out.Grow(len);
      std::memcpy(out.End(), in.p(), len);
      out.Advance(len);
      in.Skip(len);
    } else if (type == 1) {
      status = DecodeBlock(in, Fixed().literal_length, Fixed().distance, out);
    } else if (type == 2) {
      status = ReadDynamicTables(in, literal_length, distance);
      if (status == InflateStatus::kOk) status = DecodeBlock(in, literal_length, distance, out);
    } else {
      return InflateStatus::kBadBlockType;
    }
    if (status != InflateStatus::kOk) return status;
    if (final) return InflateStatus::kOk;
  }
}

InflateResult Finish(InflateStatus status, Output& out, std::size_t consumed) {
  InflateResult result;
  result.status = status;
  result.consumed = consumed;
  if (status == InflateStatus::kOk) result.data = out.Take();
  return result;
}

}  // namespace

std::string_view InflateStatusText(InflateStatus status) {
  switch (status) {
    case InflateStatus::kOk: return "ok";
    case InflateStatus::kTruncated: return "compressed data ends early";
    case InflateStatus::kBadBlockType: return "invalid block type";
    case InflateStatus::kBadStoredLength: return "stored block length and its complement disagree";
    case InflateStatus::kBadCodeLengths: return "invalid code lengths";
    case InflateStatus::kBadCode: return "invalid code";
    case InflateStatus::kBadDistance: return "distance beyond the start of the data";
    case InflateStatus::kOutputLimit: return "decoded data exceeds the limit";
    case InflateStatus::kBadHeader: return "invalid zlib header";
    case InflateStatus::kBadChecksum: return "Adler-32 checksum mismatch";
  }
  return "unknown";
}

InflateResult InflateData(ByteSpan data, std::size_t max_output) {
  BitReader in(data.data(), data.data() + data.size());
  Output out(max_output, data.size() * 4 + 1024);
  const InflateStatus status = InflateBlocks(in, out);
  return Finish(status, out, in.Consumed());
}

InflateResult InflateZlib(ByteSpan data, std::size_t max_output) {
  InflateResult result;
  if (data.size() < 2) {
    result.status = InflateStatus::kTruncated;
    return result;
  }
  const unsigned cmf = data[0], flg = data[1];
  if ((cmf & 0x0F) != 8 || (cmf >> 4) > 7 || (cmf * 256 + flg) % 31 != 0 || (flg & 0x20) != 0) {
    result.status = InflateStatus::kBadHeader;
    return result;
  }
  result = InflateData(data.subspan(2), max_output);
  result.consumed += 2;
  if (result.status != InflateStatus::kOk) return result;
  if (data.size() - result.consumed < 4) {
    result.status = InflateStatus::kTruncated;
    result.data.clear();
    return result;
  }
  const std::uint8_t* t = data.data() + result.consumed;
  const std::uint32_t expected = static_cast<std::uint32_t>(t[0]) << 24 | static_cast<std::uint32_t>(t[1]) << 16 |
                                 static_cast<std::uint32_t>(t[2]) << 8 | t[3];
  result.consumed += 4;
  if (Adler32(result.data) != expected) {
    result.status = InflateStatus::kBadChecksum;
    result.data.clear();
  }
  return result;
}

}  // namespace pdf
