// Our inflate decoder: hand-built streams for each block form and each
// fault, the zlib wrapper and the output limit, and truncation at every
// byte offset of zlib's and our own streams.

#include <zlib.h>

#include <array>

#include "pdf/core/deflate.h"
#include "pdf/core/inflate.h"
#include "tests/pdf/pdf_tools.h"

namespace {

using pdf::Bytes;
using pdf::InflateData;
using pdf::InflateStatus;
using pdf::InflateZlib;

constexpr std::size_t kNoLimit = std::size_t{1} << 30;

using pdftest::BytesOf;
using pdftest::RandomBytes;

// Writes a deflate bit stream: values least significant bit first, Huffman
// codes most significant bit first.
class BitSink {
 public:
  BitSink& Bits(unsigned value, unsigned count) {
    for (unsigned i = 0; i < count; ++i) Bit((value >> i) & 1);
    return *this;
  }
  BitSink& Code(unsigned code, unsigned length) {
    for (unsigned i = length; i-- > 0;) Bit((code >> i) & 1);
    return *this;
  }
  // Fixed-code helpers.
  BitSink& FixedLiteral(unsigned symbol) {
    if (symbol < 144) return Code(0x30 + symbol, 8);
    if (symbol < 256) return Code(0x190 + symbol - 144, 9);
    if (symbol < 280) return Code(symbol - 256, 7);
    return Code(0xC0 + symbol - 280, 8);
  }
  BitSink& FixedDistance(unsigned symbol) { return Code(symbol, 5); }
  Bytes Done() {
    while (used_ != 0) Bit(0);
    return bytes_;
  }

 private:
  void Bit(unsigned b) {
    if (used_ == 0) bytes_.push_back(0);
    bytes_.back() |= static_cast<std::uint8_t>(b << used_);
    used_ = (used_ + 1) & 7;
  }
  Bytes bytes_;
  unsigned used_ = 0;
};

// Canonical codes for a list of lengths.
std::vector<unsigned> Canonical(const std::vector<unsigned>& lengths) {
  std::array<unsigned, 16> count{}, next{};
  for (unsigned l : lengths) ++count[l];
  count[0] = 0;
  unsigned code = 0;
  for (int n = 1; n < 16; ++n) next[n] = code = (code + count[n - 1]) << 1;
  std::vector<unsigned> codes(lengths.size());
  for (std::size_t s = 0; s < lengths.size(); ++s)
    if (lengths[s]) codes[s] = next[lengths[s]]++;
  return codes;
}

constexpr int kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// A dynamic block header: the code-length code's lengths by symbol, then
// the code-length symbols (symbol, extra value) that follow.
void DynamicHeader(BitSink& s, bool final, unsigned hlit, unsigned hdist, const std::vector<unsigned>& cl_lengths,
                   const std::vector<std::pair<unsigned, unsigned>>& sequence) {
  s.Bits(final ? 1 : 0, 1).Bits(2, 2);
  s.Bits(hlit - 257, 5).Bits(hdist - 1, 5);
  int last = 18;
  while (last > 3 && cl_lengths[kOrder[last]] == 0) --last;
  s.Bits(static_cast<unsigned>(last + 1 - 4), 4);
  for (int i = 0; i <= last; ++i) s.Bits(cl_lengths[kOrder[i]], 3);
  const std::vector<unsigned> codes = Canonical(cl_lengths);
  for (auto [symbol, extra] : sequence) {
    s.Code(codes[symbol], cl_lengths[symbol]);
    if (symbol >= 16) s.Bits(extra, symbol == 16 ? 2 : symbol == 17 ? 3 : 7);
  }
}

// The code-length code used by the hand-built dynamic blocks: symbols 1, 2,
// 16 and 18 with two bits each (codes 00, 01, 10, 11).
const std::vector<unsigned> kFourSymbolCode = {0, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2};

// ---------------------------------------------------------------------------

// One stream per block form; bytes after the final block (an Adler-32
// trailer, say) are not read.
TEST(Inflate, BlockForms) {
  BitSink dyn;
  // "A", "B" and the end of block get 2, with 138 + 51 zeros between; one 16 repeats that 2 over
  // symbol 257 and on into distance codes 0 and 1; distance code 2 gets 1. Then A B, 3 back 2, end.
  DynamicHeader(dyn, true, 258, 3, kFourSymbolCode,
                {{18, 54}, {2, 0}, {2, 0}, {18, 127}, {18, 40}, {2, 0}, {16, 0}, {1, 0}});
  dyn.Code(0, 2).Code(1, 2).Code(3, 2).Code(3, 2).Code(2, 2);
  const struct {
    const char* name;
    Bytes stream;
    Bytes expected;
  } cases[] = {
      {"stored block", {0x01, 0x03, 0x00, 0xFC, 0xFF, 'a', 'b', 'c'}, BytesOf("abc")},
      {"fixed: a, then 10 more at distance 1",
       BitSink().Bits(1, 1).Bits(1, 2).FixedLiteral('a').FixedLiteral(264).FixedDistance(0).FixedLiteral(256).Done(),
       Bytes(11, 'a')},
      {"dynamic: 18 with extra 127, a repeat across both alphabets", dyn.Done(), BytesOf("ABABA")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes with_trailer = c.stream;
    with_trailer.insert(with_trailer.end(), {0xDE, 0xAD, 0xBE, 0xEF});
    const pdf::InflateResult r = InflateData(with_trailer, kNoLimit);
    EXPECT_EQ(r.status, InflateStatus::kOk) << pdf::InflateStatusText(r.status);
    EXPECT_EQ(r.data, c.expected);
    EXPECT_EQ(r.consumed, c.stream.size());
  }
}

TEST(Inflate, FaultsAreReported) {
  const auto fixed = [] { return std::move(BitSink().Bits(1, 1).Bits(1, 2)); };
  const auto dynamic = [](unsigned hlit, unsigned hdist, auto cl, std::vector<std::pair<unsigned, unsigned>> seq) {
    BitSink s;
    return DynamicHeader(s, true, hlit, hdist, cl, seq), s;
  };
  const std::vector<unsigned>& cl = kFourSymbolCode;

  const struct {
    const char* name;
    Bytes stream;
    InflateStatus expected;
  } cases[] = {
      {"no input", {}, InflateStatus::kTruncated},
      {"block type 3", {0x07}, InflateStatus::kBadBlockType},
      {"NLEN not the complement of LEN", {0x01, 0x05, 0x00, 0x00, 0x00}, InflateStatus::kBadStoredLength},
      {"stored block longer than the input", {0x01, 0x05, 0x00, 0xFA, 0xFF, 'a', 'b'}, InflateStatus::kTruncated},
      {"no final block", {0x00, 0x00, 0x00, 0xFF, 0xFF}, InflateStatus::kTruncated},
      {"distance before the first byte", fixed().FixedLiteral('a').FixedLiteral(257).FixedDistance(1).FixedLiteral(256).Done(), InflateStatus::kBadDistance},
      {"distance code 31 before the first byte", fixed().FixedLiteral('a').FixedLiteral(257).FixedDistance(31).Bits(0, 14).FixedLiteral(256).Done(), InflateStatus::kBadDistance},
      {"over-subscribed code-length code", dynamic(257, 1, std::vector<unsigned>(19, 1), {}).Done(), InflateStatus::kBadCodeLengths},
      {"incomplete code-length code", dynamic(257, 1, std::vector<unsigned>{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2}, {}).Done(), InflateStatus::kBadCodeLengths},
      {"repeat with nothing before it", dynamic(257, 1, cl, {{16, 0}}).Done(), InflateStatus::kBadCodeLengths},
      {"repeat past the declared lengths", dynamic(257, 1, cl, {{18, 127}, {18, 127}}).Done(), InflateStatus::kBadCodeLengths},
      {"no end-of-block code", dynamic(257, 1, cl, {{18, 54}, {1, 0}, {18, 127}, {18, 43}}).Done(), InflateStatus::kBadCodeLengths},
      {"incomplete literal/length code", dynamic(257, 1, cl, {{18, 54}, {2, 0}, {18, 127}, {18, 41}, {2, 0}, {2, 0}}).Done(), InflateStatus::kBadCodeLengths},
      {"over-subscribed literal/length code", dynamic(257, 1, cl, {{18, 54}, {1, 0}, {1, 0}, {18, 127}, {18, 40}, {1, 0}, {2, 0}}).Done(), InflateStatus::kBadCodeLengths},
      {"a length in a block with no distance codes", dynamic(258, 11, cl, {{18, 54}, {2, 0}, {18, 127}, {18, 41}, {2, 0}, {1, 0}, {18, 0}}).Code(2, 2).Code(0, 1).Done(), InflateStatus::kBadCode},
      // The single one-bit literal/length code (end of block) leaves code 1 unused.
      {"unused code of a one-symbol code", dynamic(257, 11, cl, {{18, 127}, {18, 107}, {1, 0}, {18, 0}}).Code(1, 1).Done(), InflateStatus::kBadCode},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const pdf::InflateResult r = InflateData(c.stream, kNoLimit);
    EXPECT_EQ(r.status, c.expected) << pdf::InflateStatusText(r.status);
    EXPECT_TRUE(r.data.empty());
  }
}

// The zlib wrapper's header and trailer, and the output limit: a small
// stream that would grow past it stops there; the largest limit is none.
TEST(Inflate, ZlibWrapperAndOutputLimit) {
  const Bytes zeros(std::size_t{16} << 20, 0);
  const Bytes packed = pdf::DeflateEncode(zeros, 2);
  const Bytes abc = pdf::DeflateEncode(BytesOf("abc"), 2);
  const auto with = [&abc](std::size_t at, std::uint8_t a, std::uint8_t b) {
    Bytes s = abc;
    s[at] = a, s[at + 1] = b;
    return s;
  };
  const struct {
    const char* name;
    Bytes stream;
    std::size_t limit, size;
    InflateStatus expected;
  } cases[] = {
      {"three bytes within a limit of three", abc, 3, 3, InflateStatus::kOk},
      {"one byte over the limit", abc, 2, 0, InflateStatus::kOutputLimit},
      {"16 MiB of zeros against 1 MiB", packed, std::size_t{1} << 20, 0, InflateStatus::kOutputLimit},
      {"16 MiB of zeros, the largest limit", packed, SIZE_MAX, zeros.size(), InflateStatus::kOk},
      {"check bits wrong", with(0, 0x78, 0x5F), 3, 0, InflateStatus::kBadHeader},
      {"method 7", with(0, 0x77, 0x09), 3, 0, InflateStatus::kBadHeader},
      {"window over 32 KiB", with(0, 0x88, 0x1C), 3, 0, InflateStatus::kBadHeader},
      {"preset dictionary", with(0, 0x78, 0x20), 3, 0, InflateStatus::kBadHeader},
      {"Adler-32 differs", with(abc.size() - 2, abc[abc.size() - 2], abc.back() ^ 1), 3, 0, InflateStatus::kBadChecksum},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const pdf::InflateResult r = InflateZlib(c.stream, c.limit);
    EXPECT_EQ(r.status, c.expected) << pdf::InflateStatusText(r.status);
    EXPECT_EQ(r.data.size(), c.size);
  }
}

// Every proper prefix of a stream is an error, never a crash or a partial
// result: zlib's and our own streams, raw and wrapped.
TEST(Inflate, TruncationAtEveryOffsetIsAnError) {
  const Bytes text = BytesOf(pdftest::ReadFile(SEVRINA_SOURCE_DIR "/README.md"));
  const Bytes piece(text.begin(), text.begin() + std::min<std::size_t>(text.size(), 2500));
  std::vector<std::pair<std::string, Bytes>> streams;
  for (int level : {1, 6, 9}) {
    for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED, Z_HUFFMAN_ONLY}) {
      z_stream z{};
      ASSERT_EQ(deflateInit2(&z, level, Z_DEFLATED, 15, 8, strategy), Z_OK);
      Bytes src = piece, out(deflateBound(&z, static_cast<uLong>(piece.size())) + 64);
      z.next_in = src.data(), z.next_out = out.data(), z.avail_out = static_cast<uInt>(out.size());
      z.avail_in = static_cast<uInt>(src.size() / 3);
      deflate(&z, Z_FULL_FLUSH);  // an empty stored block between the two parts
      z.avail_in = static_cast<uInt>(src.size() - src.size() / 3);
      ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
      out.resize(z.total_out);
      deflateEnd(&z);
      streams.emplace_back("zlib " + std::to_string(level) + "/" + std::to_string(strategy), out);
    }
  }
  for (int q = 0; q <= 3; ++q) streams.emplace_back("ours " + std::to_string(q), pdf::DeflateEncode(piece, q));
  streams.emplace_back("ours stored", pdf::DeflateEncode(RandomBytes(700, 3), 0));
  for (const auto& [name, stream] : streams) {
    SCOPED_TRACE(name);
    ASSERT_EQ(InflateZlib(stream, kNoLimit).status, InflateStatus::kOk);
    const Bytes raw(stream.begin() + 2, stream.end() - 4);
    ASSERT_EQ(InflateData(raw, kNoLimit).status, InflateStatus::kOk);
    for (std::size_t n = 0; n < stream.size(); ++n) {
      const pdf::InflateResult wrapped = InflateZlib(pdf::ByteSpan(stream.data(), n), kNoLimit);
      EXPECT_NE(wrapped.status, InflateStatus::kOk) << n;
      EXPECT_TRUE(wrapped.data.empty());
      if (n < raw.size()) {
        const pdf::InflateResult r = InflateData(pdf::ByteSpan(raw.data(), n), kNoLimit);
        EXPECT_EQ(r.status, InflateStatus::kTruncated) << n;
        EXPECT_TRUE(r.data.empty());
      }
    }
  }
}

}  // namespace
