// Our deflate encoder: exact bytes for worked examples, the match finder's
// and block chooser's rules, the mends (stored data over 64 KiB, a single
// distance code, out-of-range qualities), zlib decoding everything we write,
// and compressed page streams read by qpdf and mutool.

#include <zlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "pdf/PdfWriter.h"
#include "pdf/core/deflate.h"
#include "pdf/core/deflate_blocks.h"
#include "pdf/core/deflate_huffman.h"
#include "pdf/core/deflate_matcher.h"
#include "pdf/interactive/inflate.h"
#include "tests/pdf/pdf_tools.h"

namespace {

using pdf::Bytes;
using namespace pdf::deflate_internal;

Bytes FromHex(const std::string& hex) {
  Bytes out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return out;
}

Bytes FromText(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes Random(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b) x = static_cast<std::uint8_t>(rng());
  return b;
}

// zlib's inflate of a whole zlib stream; fails the test on any error.
Bytes ZlibDecode(const Bytes& stream, std::size_t expected_size) {
  Bytes out(expected_size + 1);
  uLongf n = out.size();
  const int rc = uncompress(out.data(), &n, stream.data(), static_cast<uLong>(stream.size()));
  EXPECT_EQ(rc, Z_OK);
  out.resize(rc == Z_OK ? n : 0);
  return out;
}

int FirstBlockForm(const Bytes& stream) { return (stream.at(2) >> 1) & 3; }

std::vector<std::uint32_t> Tokens(const Bytes& data, int quality) {
  FirstPass pass;
  FindMatches(data, LevelForQuality(quality), pass);
  return pass.tokens;
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
  const auto adler_hex = [](const Bytes& b) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "%08X", pdf::Adler32(b));
    return std::string(buf);
  };
  std::string stored22 = "785E011600E9FF";
  for (std::uint8_t b : high22) {
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02X", b);
    stored22 += buf;
  }
  const struct {
    Bytes input;
    std::string expected;
  } cases[] = {
      {{}, "785E030000000001"},
      {FromText("a"), "785E4B0400" "00620062"},
      {FromText("aaaaaaaaaa"), "785E4B8481440014E103CB"},
      {high22, stored22 + adler_hex(high22)},
  };
  for (const auto& c : cases)
    for (int q = 0; q <= 3; ++q) EXPECT_EQ(pdf::DeflateEncode(c.input, q), FromHex(c.expected)) << c.expected << " q" << q;
  EXPECT_EQ(FirstBlockForm(pdf::DeflateEncode(high21, 0)), 1);
}

// Dynamic blocks, fixed by the tree rules and the estimates; the expected
// bytes were worked out independently of this encoder and are decoded by
// zlib below.
TEST(Deflate, DynamicBlockBytes) {
  const Bytes text = FromText(
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
    EXPECT_EQ(FirstBlockForm(out), 2);
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

// On equal weights the node made later is the lighter: weights 1, 1, 2, 2
// join the two 1s, then that node with the second 2, giving 3, 3, 1, 2 (the
// opposite rule would give 2, 2, 2, 2).
TEST(Deflate, TreeTieBreakAndLengthLimit) {
  std::uint64_t freq[4] = {1, 1, 2, 2};
  std::uint8_t lengths[4];
  ASSERT_TRUE(BuildCodeLengths(freq, 15, lengths));
  EXPECT_EQ(std::vector<int>(lengths, lengths + 4), (std::vector<int>{3, 3, 1, 2}));

  // Fibonacci weights make the deepest trees; limited, the code stays
  // complete (Kraft sum exactly 1) and no length exceeds the limit.
  for (int limit : {7, 15}) {
    const std::size_t n = limit == 7 ? 19 : 288;
    std::vector<std::uint64_t> f(n, 0);
    std::uint64_t a = 1, b = 1;
    for (std::size_t s = 0; s < std::min<std::size_t>(n, 40); ++s) {
      f[s] = a;
      const std::uint64_t c = a + b;
      a = b;
      b = c;
    }
    std::vector<std::uint8_t> l(n);
    ASSERT_TRUE(BuildCodeLengths(f, limit, l));
    double kraft = 0;
    for (std::size_t s = 0; s < n; ++s) {
      EXPECT_LE(l[s], limit);
      if (f[s]) {
        EXPECT_GT(l[s], 0);
      }
      if (l[s]) kraft += std::ldexp(1.0, -l[s]);
    }
    EXPECT_EQ(kraft, 1.0) << limit;
  }
  std::uint64_t none[3] = {0, 0, 0};
  EXPECT_FALSE(BuildCodeLengths(none, 15, lengths));
}

// The tree and the codes against the plain rules, on random counts full of
// ties: join the two lightest live nodes found by a scan in node order (on
// equal weights the later node is the lighter), code length = depth; codes
// are the canonical ones, sent least significant bit first.
TEST(Deflate, TreeAndCodesFollowThePlainRules) {
  std::mt19937 rng(5);
  for (int round = 0; round < 200; ++round) {
    const std::size_t n = 2 + rng() % 287;
    std::vector<std::uint64_t> freq(n);
    for (auto& f : freq) f = rng() % 3 == 0 ? 0 : 1 + rng() % (round % 2 ? 4 : 1000);
    std::vector<std::uint64_t> weight;
    std::vector<std::size_t> symbol, parent;
    for (std::size_t s = 0; s < n; ++s)
      if (freq[s]) weight.push_back(freq[s]), symbol.push_back(s);
    const std::size_t used = weight.size();
    if (used < 2) continue;
    std::vector<bool> live(used, true);
    parent.assign(2 * used, 0);
    for (std::size_t joins = 0; joins + 1 < used; ++joins) {
      std::size_t pick[2];
      for (std::size_t& p : pick) {
        p = SIZE_MAX;
        for (std::size_t k = 0; k < weight.size(); ++k)
          if (live[k] && (p == SIZE_MAX || weight[k] <= weight[p])) p = k;
        live[p] = false;
      }
      parent[pick[0]] = parent[pick[1]] = weight.size();
      weight.push_back(weight[pick[0]] + weight[pick[1]]);
      live.push_back(true);
    }
    std::vector<std::uint8_t> expected(n, 0), lengths(n);
    bool too_deep = false;
    for (std::size_t k = 0; k < used; ++k) {
      int depth = 0;
      for (std::size_t v = k; v + 1 < weight.size(); v = parent[v]) ++depth;
      expected[symbol[k]] = static_cast<std::uint8_t>(depth);
      too_deep |= depth > 15;
    }
    ASSERT_TRUE(BuildCodeLengths(freq, 15, lengths));
    if (too_deep) continue;
    ASSERT_EQ(lengths, expected) << "round " << round;

    std::vector<std::uint16_t> codes(n);
    BuildCanonicalCodes(lengths, codes);
    unsigned code = 0;
    for (int len = 1; len <= 15; ++len, code <<= 1)
      for (std::size_t s = 0; s < n; ++s)
        if (lengths[s] == len) {
          unsigned reversed = 0;
          for (int i = 0; i < len; ++i) reversed |= ((code >> i) & 1u) << (len - 1 - i);
          ASSERT_EQ(codes[s], reversed) << "round " << round << " symbol " << s;
          ++code;
        }
  }
}

// The match finder's rules, seen in its tokens.
TEST(Deflate, MatchFinderRules) {
  std::mt19937 rng(3);
  // Random filler of bytes above 127: it may match itself here and there,
  // but never the ASCII strings around it.
  const auto filler = [&](std::size_t n) {
    Bytes b(n);
    for (auto& x : b) x = static_cast<std::uint8_t>(128 + rng() % 128);
    return b;
  };
  const auto has_match = [](const std::vector<std::uint32_t>& tokens, unsigned length, unsigned distance) {
    return std::any_of(tokens.begin(), tokens.end(), [&](std::uint32_t t) {
      return IsMatch(t) && MatchLength(t) == length && MatchDistance(t) == distance;
    });
  };
  const auto with_gap = [&](const std::string& head, std::size_t gap, const std::string& tail) {
    Bytes b = FromText(head);
    const Bytes f = filler(gap);
    b.insert(b.end(), f.begin(), f.end());
    const Bytes t = FromText(tail);
    b.insert(b.end(), t.begin(), t.end());
    return b;
  };
  const auto literals_at_end = [](const std::vector<std::uint32_t>& tokens, std::size_t n) {
    return tokens.size() >= n && std::none_of(tokens.end() - static_cast<std::ptrdiff_t>(n), tokens.end(), IsMatch);
  };
  // A 3-byte match 4096 back is taken; 4097 back it is written as literals.
  // (The filler's bytes are all above 127, so nothing else matches the tail.)
  {
    const auto near = Tokens(with_gap("xyz", 4093, "xyz!!"), 0);
    ASSERT_GE(near.size(), 3u);
    EXPECT_EQ(near[near.size() - 3], MakeMatch(3, 4096));
    EXPECT_TRUE(literals_at_end(Tokens(with_gap("xyz", 4094, "xyz!!"), 0), 5));
  }
  // 32767 back is the farthest a match reaches.
  {
    const auto near = Tokens(with_gap("ABCDEFGH", 32759, "ABCDEFGH!"), 3);
    ASSERT_GE(near.size(), 2u);
    EXPECT_EQ(near[near.size() - 2], MakeMatch(8, 32767));
    EXPECT_TRUE(literals_at_end(Tokens(with_gap("ABCDEFGH", 32760, "ABCDEFGH!"), 3), 9));
  }
  // The last byte is always a literal, even inside a run.
  for (int q = 0; q <= 3; ++q) {
    const auto tokens = Tokens(Bytes(300, 'z'), q);
    ASSERT_FALSE(tokens.empty());
    EXPECT_EQ(tokens.back(), std::uint32_t{'z'});
    EXPECT_EQ(tokens.front(), std::uint32_t{'z'});
  }
  // One-step lazy matching: "abc" matches 3 at p, "bcdefg" 6 at p + 1, so
  // p becomes a literal and the longer match is taken from p + 1.
  {
    const auto tokens = Tokens(FromText("bcdefg-abc=abcdefg+"), 3);
    EXPECT_TRUE(has_match(tokens, 6, 12));
    EXPECT_FALSE(has_match(tokens, 3, 4));
  }
  // The chain: 40 strings "k01LO?#" lie between a 15-byte string and its
  // repeat, and each matches 5 of it. Qualities 1 (32 positions kept per
  // string) and 0 (16) never reach the old one; 2 (128) and 3 (256) do.
  {
    const std::string target = "k01LONGMATCHxyz";
    std::string s = target;
    for (char x : std::string("abcdefghijklmnopqrstuvwxyz0123456789ABCD")) s += "k01LO" + std::string(1, x) + "#";
    const unsigned distance = static_cast<unsigned>(s.size());
    s += target + ".";
    const Bytes b = FromText(s);
    EXPECT_FALSE(has_match(Tokens(b, 0), 15, distance));
    EXPECT_FALSE(has_match(Tokens(b, 1), 15, distance));
    EXPECT_TRUE(has_match(Tokens(b, 2), 15, distance));
    EXPECT_TRUE(has_match(Tokens(b, 3), 15, distance));
  }
}

// The lazy rules again, after nothing and after 20,000 bytes of filler:
// long inputs walk the look-ahead beside each search, short ones do not,
// and both must give the same matches. At quality 1:
//  - "abc" matches 3 at p and "bcdefg" 6 at p + 1: p is a literal;
//  - a new run of z right after a match: its first byte finds nothing and
//    is a literal, and the second byte then matches the first (distance 1,
//    up to the last byte);
//  - 40 strings "k01LO?#" between a string and its repeat: not reached.
TEST(Deflate, LazyRulesInLongInputs) {
  std::mt19937 rng(7);
  for (std::size_t prefix : {std::size_t{0}, std::size_t{20000}}) {
    const auto tokens = [&](const std::string& text) {
      Bytes b(prefix);
      for (auto& x : b) x = static_cast<std::uint8_t>(128 + rng() % 128);
      b.insert(b.end(), text.begin(), text.end());
      return Tokens(b, 1);
    };
    const auto has_match = [](const std::vector<std::uint32_t>& t, unsigned length, unsigned distance) {
      return std::find(t.begin(), t.end(), MakeMatch(length, distance)) != t.end();
    };
    const auto lazy = tokens("bcdefg-abc=abcdefg+");
    EXPECT_TRUE(has_match(lazy, 6, 12)) << prefix;
    EXPECT_FALSE(has_match(lazy, 3, 4)) << prefix;
    const auto run = tokens("ABCDEF-ABCDEFzzzzzzzzzz!");
    EXPECT_TRUE(has_match(run, 6, 7)) << prefix;
    EXPECT_TRUE(has_match(run, 9, 1)) << prefix;
    std::string chain = "k01LONGMATCHxyz";
    for (char x : std::string("abcdefghijklmnopqrstuvwxyz0123456789ABCD")) chain += "k01LO" + std::string(1, x) + "#";
    const unsigned distance = static_cast<unsigned>(chain.size());
    EXPECT_FALSE(has_match(tokens(chain + "k01LONGMATCHxyz."), 15, distance)) << prefix;
  }
}

// Text with no repetition is never dynamic: fixed when smaller than the
// input plus 5, else stored.
TEST(Deflate, NoRepetitionIsFixedOrStored) {
  const Bytes letters = FromText("abcdefghijklmnopqrstuvwxyz0123456789");
  EXPECT_EQ(FirstBlockForm(pdf::DeflateEncode(letters, 3)), 1);
  const Bytes random = Random(3000, 9);
  const Bytes out = pdf::DeflateEncode(random, 3);
  EXPECT_EQ(FirstBlockForm(out), 0);
  EXPECT_EQ(out.size(), random.size() + 5 + 6);
}

// Mend: incompressible data over 65,535 bytes goes into as many stored
// blocks as needed, only the last final, each counted in the estimate.
TEST(Deflate, StoredDataOver64KiBUsesSeveralBlocks) {
  for (std::size_t n : {std::size_t{65535}, std::size_t{65536}, std::size_t{200000}}) {
    const Bytes data = Random(n, static_cast<unsigned>(n));
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
    EXPECT_EQ(ZlibDecode(out, n), data);
  }
}

// Mend: a dynamic block whose matches all use one distance code gives that
// code length 1 (length 0 would make the stream undecodable).
TEST(Deflate, SingleDistanceCodeHasLengthOne) {
  std::mt19937 rng(11);
  Bytes runs;
  // Runs of distinct bytes: every match lies inside its own run, at distance 1.
  for (int i = 0; i < 120; ++i) runs.insert(runs.end(), 4 + rng() % 8, static_cast<std::uint8_t>(i));
  FirstPass pass;
  FindMatches(runs, LevelForQuality(3), pass);
  const BlockPlan plan = PlanBlocks(runs.size(), pass);
  ASSERT_EQ(plan.form, BlockForm::kDynamic);
  ASSERT_EQ(std::count_if(pass.distance_freq.begin(), pass.distance_freq.end(), [](auto f) { return f != 0; }), 1);
  EXPECT_EQ(plan.distance_lengths[0], 1);
  for (int q = 0; q <= 3; ++q) {
    const Bytes out = pdf::DeflateEncode(runs, q);
    EXPECT_EQ(ZlibDecode(out, runs.size()), runs) << q;
  }
}

// Mend: any quality is clamped to 0..3, through both entry points.
TEST(Deflate, QualityIsClamped) {
  const Bytes text = ReadWhole(SEVRINA_SOURCE_DIR "/README.md");
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(pdf::DeflateEncode(text, 7), pdf::DeflateEncode(text, 3));
  EXPECT_EQ(pdf::DeflateEncode(text, -2), pdf::DeflateEncode(text, 0));
  pdf::PdfWriter w;
  for (int q : {3, 4, 200, 255}) {
    Bytes data = text;
    std::int32_t count = -1;
    w.zzToFlateDecode(data, count, static_cast<std::uint8_t>(q));
    EXPECT_EQ(data, pdf::DeflateEncode(text, 3)) << q;
    EXPECT_EQ(count, static_cast<std::int32_t>(data.size()));
  }
}

// Every quality on every kind of input decodes in zlib and in our inflate.
TEST(Deflate, EveryQualityRoundTripsThroughZlib) {
  std::string page;
  for (int i = 0; i < 400; ++i)
    page += "\r" + std::to_string(i % 50) + ".5 " + std::to_string(700 - i) + " m " + std::to_string(i) +
            " 100 l S\rBT /F1 10 Tf 56.693 " + std::to_string(i) + " Td (Riga di testo " + std::to_string(i) + ") Tj ET";
  Bytes runs;
  for (int i = 0; i < 3000; ++i) runs.insert(runs.end(), 1 + i % 13, static_cast<std::uint8_t>(i % 3));
  const Bytes font = ReadWhole("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  ASSERT_GT(font.size(), 100000u);
  const struct {
    const char* name;
    Bytes data;
  } inputs[] = {
      {"empty", {}},
      {"one byte", {0x00}},
      {"runs", runs},
      {"text", ReadWhole(SEVRINA_SOURCE_DIR "/README.md")},
      {"page content", FromText(page)},
      {"font", Bytes(font.begin(), font.begin() + 150000)},
      {"random over 64 KiB", Random(70000, 1)},
  };
  for (const auto& in : inputs) {
    for (int q = 0; q <= 3; ++q) {
      SCOPED_TRACE(std::string(in.name) + " q" + std::to_string(q));
      const Bytes out = pdf::DeflateEncode(in.data, q);
      ASSERT_GE(out.size(), 6u);
      EXPECT_EQ(out[0], 0x78);
      EXPECT_EQ(out[1], 0x5E);
      EXPECT_EQ(ZlibDecode(out, in.data.size()), in.data);
      const pdf::InflateResult ours = pdf::InflateZlib(out, in.data.size());
      EXPECT_EQ(ours.status, pdf::InflateStatus::kOk);
      EXPECT_EQ(ours.data, in.data);
    }
  }
}

// A page written with Flate compression is read by qpdf and mutool, and
// decodes to the same content as the uncompressed page.
TEST(Deflate, CompressedPageReadsInQpdfAndMutool) {
  pdftest::TempDir dir;
  const auto write = [&](const std::string& name, int mode) {
    const std::string path = dir.file(name);
    pdf::PdfWriter w;
    w.SetCompression(mode, 2);
    w.BeginDoc(path);
    w.BeginPage();
    for (int i = 0; i < 200; ++i) {
      w.SetLineWidth(0.5f + static_cast<float>(i % 7));
      w.DrawLine(10.0f + static_cast<float>(i), 20, 300, 400.0f + static_cast<float>(i % 11));
      w.DrawRect(static_cast<float>(i % 40), static_cast<float>(i), 30, 12);
    }
    w.EndDoc();
    return path;
  };
  const std::string plain = write("plain.pdf", 0);
  const std::string packed = write("flate.pdf", pdf::CompressFlate);
  const std::string packed_file = pdftest::ReadFile(packed);
  EXPECT_NE(packed_file.find("/Filter [/FlateDecode ]"), std::string::npos);
  EXPECT_LT(packed_file.size(), pdftest::ReadFile(plain).size());

  const pdftest::ToolResult check = pdftest::QpdfCheck(packed);
  EXPECT_EQ(check.exit_code, 0) << check.out << check.err;
  // Page 4, its content stream 5.
  const pdftest::ToolResult plain_data = pdftest::Qpdf({"--show-object=5", "--filtered-stream-data", plain});
  const pdftest::ToolResult packed_data = pdftest::Qpdf({"--show-object=5", "--filtered-stream-data", packed});
  ASSERT_EQ(plain_data.exit_code, 0) << plain_data.err;
  ASSERT_EQ(packed_data.exit_code, 0) << packed_data.err;
  EXPECT_GT(plain_data.out.size(), 5000u);
  EXPECT_EQ(packed_data.out, plain_data.out);
  const pdftest::ToolResult mutool = pdftest::RunTool({"mutool", "show", "-b", packed, "5"});
  EXPECT_EQ(mutool.exit_code, 0);
  EXPECT_EQ(mutool.err, "");
  EXPECT_EQ(mutool.out, plain_data.out);
  // The stream bytes are our encoder's at the quality asked for.
  const pdftest::ToolResult raw = pdftest::Qpdf({"--show-object=5", "--raw-stream-data", packed});
  EXPECT_EQ(pdf::to_string(pdf::DeflateEncode(pdf::as_bytes(plain_data.out), 2)), raw.out);
}

}  // namespace
