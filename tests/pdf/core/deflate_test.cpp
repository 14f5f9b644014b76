// Our deflate encoder: exact bytes for worked examples, a tree deep enough
// to be limited, the mend for stored data over 64 KiB, and zlib and our
// inflate decoding everything we write.

#include <zlib.h>

#include <algorithm>

#include "pdf/core/deflate.h"
#include "pdf/core/inflate.h"
#include "tests/pdf/core/core_probe.h"

namespace {

using pdf::Bytes;

Bytes FromHex(const std::string& hex) {
  Bytes out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return out;
}

using pdftest::BytesOf;
using pdftest::RandomBytes;

// zlib's inflate of a whole zlib stream; fails the test on any error.
Bytes ZlibDecode(const Bytes& stream, std::size_t expected_size) {
  Bytes out(expected_size + 1);
  uLongf n = out.size();
  const int rc = uncompress(out.data(), &n, stream.data(), static_cast<uLong>(stream.size()));
  EXPECT_EQ(rc, Z_OK);
  out.resize(rc == Z_OK ? n : 0);
  return out;
}


// ---------------------------------------------------------------------------

// Worked by hand: the empty input is an empty fixed block; "a" a fixed block
// with one literal; ten "a" a literal, a match of 8 at distance 1 (the match
// stops before the last byte), and the last byte as a literal. 22 distinct
// bytes from 144 up (9-bit literals) give a fixed estimate of 27 bytes, equal
// to the stored size, so stored wins; 21 such bytes give 25 against 26.
TEST(Deflate, WorkedExamples) {
  Bytes high22, high21;
  for (int b = 144; b < 166; ++b) high22.push_back(static_cast<std::uint8_t>(b));
  high21.assign(high22.begin(), high22.end() - 1);
  const std::string stored22 = "785E011600E9FF" + core_test::Hex(high22.data(), high22.size(), "0123456789ABCDEF");
  const struct {
    Bytes input;
    std::string expected;
  } cases[] = {
      {{}, "785E030000000001"},
      {BytesOf("a"), "785E4B0400" "00620062"},
      {BytesOf("aaaaaaaaaa"), "785E4B8481440014E103CB"},
      {high22, stored22 + "95510D48"},
  };
  for (const auto& c : cases)
    for (int q = 0; q <= 3; ++q) EXPECT_EQ(pdf::DeflateEncode(c.input, q), FromHex(c.expected)) << c.expected << " q" << q;
  EXPECT_EQ((pdf::DeflateEncode(high21, 0).at(2) >> 1) & 3, 1);  // a fixed block
}

// Dynamic blocks, fixed by the tree rules and the estimates; the expected
// bytes were worked out independently of this encoder and are decoded by
// zlib below.
TEST(Deflate, DynamicBlockBytes) {
  const Bytes text = BytesOf(
      "Il richiedente dichiara che il condominio ha deliberato i lavori; il condominio chiede il "
      "contributo per i lavori deliberati sulle parti comuni del condominio.");
  const struct {
    int quality;
    std::string hex;
  } cases[] = {
      {0, "785e5d8cdb0903310c045bd90ad2402a4819b2bde0059d752876eacfe5410ef237ac467373a46a171bc724da8b2d0db51372"
          "d4182d360d05baa1d15598360382db2352d73feb93fa8e3355d621efccdfc31911eecb9dd82d0faeb1adf1bee2cc5d9e44d93ad0"},
      {3, "785e5d8cdb0d02310c045bd90a68800a28c34956ca4abef86412eae77808107fa3f5782e8e54ed62e398447bb0a5a176428e"
          "1aa3c5a6a1403734ba0ad3664070bb45eafc67bd52ef71a6ca3ae49df979f84684eb722776cb836b6c6b3caf3fb9d31d44d93ad0"},
  };
  for (const auto& c : cases) {
    const Bytes out = pdf::DeflateEncode(text, c.quality);
    EXPECT_EQ(out, FromHex(c.hex)) << "q" << c.quality;
    EXPECT_EQ(ZlibDecode(out, text.size()), text);
  }
}

// A larger input whose literal tree is 16 levels deep, so its lengths go
// through the limiting step: the size and the Adler-32 of each quality's
// stream were worked out independently of this encoder.
TEST(Deflate, LimitedTreeStreams) {
  Bytes data;
  std::uint32_t x = 7;
  for (int i = 0; i < 80000; ++i) {
    x = (x * 1103515245u + 12345u) & 0x7FFFFFFFu;
    std::uint32_t v = x >> 4;
    unsigned k = 0;
    while ((v & 1) && k < 40) {
      ++k;
      v >>= 1;
    }
    data.push_back(static_cast<std::uint8_t>(k * 5 + (x >> 24) % 5));
  }
  const struct {
    int quality;
    std::size_t size;
    std::uint32_t adler;
  } cases[] = {{0, 47587, 0xA12E6A4F}, {1, 47463, 0x3AE51C5F}, {2, 47453, 0xEE279976}, {3, 47453, 0xEE279976}};
  for (const auto& c : cases) {
    const Bytes out = pdf::DeflateEncode(data, c.quality);
    EXPECT_EQ(out.size(), c.size) << c.quality;
    EXPECT_EQ(pdf::Adler32(out), c.adler) << c.quality;
    EXPECT_EQ(ZlibDecode(out, data.size()), data);
  }
}

// Mend: incompressible data over 65,535 bytes goes into as many stored
// blocks as needed, only the last final, each counted in the estimate
// (decoded below, "random over 64 KiB").
TEST(Deflate, StoredDataOver64KiBUsesSeveralBlocks) {
  for (std::size_t n : {std::size_t{65535}, std::size_t{65536}, std::size_t{200000}}) {
    const Bytes data = RandomBytes(n, static_cast<unsigned>(n));
    const Bytes out = pdf::DeflateEncode(data, 2);
    const std::size_t blocks = (n + 65534) / 65535;
    ASSERT_EQ(out.size(), 2 + n + 5 * blocks + 4) << n;
    std::size_t at = 2;
    for (std::size_t k = 0; k < blocks; ++k) {
      const std::size_t len = std::min<std::size_t>(65535, n - k * 65535);
      EXPECT_EQ(out[at], k + 1 == blocks ? 1 : 0);
      EXPECT_EQ(out[at + 1] | out[at + 2] << 8, static_cast<int>(len));
      EXPECT_EQ((out[at + 3] | out[at + 4] << 8), static_cast<int>(len ^ 0xFFFF));
      at += 5 + len;
    }
  }
}

// Every quality on every kind of input decodes in zlib and in our inflate.
TEST(Deflate, EveryQualityRoundTripsThroughZlib) {
  Bytes runs;
  for (int i = 0; i < 3000; ++i) runs.insert(runs.end(), 1 + i % 13, static_cast<std::uint8_t>(i % 3));
  const Bytes font = BytesOf(pdftest::ReadFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
  ASSERT_GT(font.size(), 100000u);
  const struct {
    const char* name;
    Bytes data;
  } inputs[] = {
      {"empty", {}},
      {"one byte", {0x00}},
      {"runs", runs},
      {"text", BytesOf(pdftest::ReadFile(SEVRINA_SOURCE_DIR "/README.md"))},
      {"font", Bytes(font.begin(), font.begin() + 150000)},
      {"random over 64 KiB", RandomBytes(200000, 200000)},
  };
  for (const auto& in : inputs)
    for (int q = 0; q <= 3; ++q) {
      SCOPED_TRACE(std::string(in.name) + " q" + std::to_string(q));
      const Bytes out = pdf::DeflateEncode(in.data, q);
      EXPECT_EQ(ZlibDecode(out, in.data.size()), in.data);
      const pdf::InflateResult ours = pdf::InflateZlib(out, in.data.size());
      EXPECT_EQ(ours.status, pdf::InflateStatus::kOk);
      EXPECT_EQ(ours.data, in.data);
    }
}

}  // namespace
