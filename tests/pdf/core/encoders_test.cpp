// The ASCIIHex, ASCII85, RunLength and LZW encoders: exact bytes for the
// documented cases, round trips through small decoders written here from
// the filters' definitions, and round trips through two real readers (qpdf
// and mutool) of a PDF file assembled around the encoded streams.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "pdf/core/encoders.h"
#include "tests/pdf/pdf_tools.h"

namespace {

using pdf::Bytes;
using pdf::ByteSpan;

Bytes B(std::initializer_list<int> v) {
  Bytes out;
  for (int x : v) out.push_back(static_cast<std::uint8_t>(x));
  return out;
}
Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

// ---- decoders, from the filters' definitions ----

Bytes AsciiHexDecode(ByteSpan in) {
  auto value = [](std::uint8_t c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;  // lower case is never written
  };
  Bytes out;
  EXPECT_EQ(in.size() % 2, 0u);
  for (std::size_t i = 0; i + 1 < in.size(); i += 2) {
    const int hi = value(in[i]), lo = value(in[i + 1]);
    EXPECT_GE(hi, 0);
    EXPECT_GE(lo, 0);
    out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
  }
  return out;
}

Bytes Ascii85Decode(ByteSpan in) {
  Bytes out;
  EXPECT_GE(in.size(), 2u);
  if (in.size() < 2) return out;
  EXPECT_EQ(in[in.size() - 2], '~');
  EXPECT_EQ(in[in.size() - 1], '>');
  std::vector<std::uint8_t> group;
  auto flush = [&](std::size_t digits) {
    std::uint64_t v = 0;
    for (std::size_t k = 0; k < 5; ++k) v = v * 85 + (k < digits ? group[k] - 33 : 84);
    EXPECT_LT(v, 1ull << 32);
    for (std::size_t k = 0; k + 1 < digits; ++k) out.push_back(static_cast<std::uint8_t>(v >> (24 - 8 * k)));
    group.clear();
  };
  for (std::size_t i = 0; i + 2 < in.size(); ++i) {
    const std::uint8_t c = in[i];
    if (c == 'z') {
      EXPECT_TRUE(group.empty());
      out.insert(out.end(), 4, 0);
      continue;
    }
    EXPECT_GE(c, '!');
    EXPECT_LE(c, 'u');
    group.push_back(c);
    if (group.size() == 5) flush(5);
  }
  EXPECT_NE(group.size(), 1u);
  if (!group.empty()) flush(group.size());
  return out;
}

Bytes RunLengthDecode(ByteSpan in) {
  Bytes out;
  std::size_t i = 0;
  while (i < in.size()) {
    const int length = in[i++];
    if (length == 128) {
      EXPECT_EQ(i, in.size()) << "bytes after the end-of-data code";
      return out;
    }
    if (length < 128) {
      EXPECT_LE(i + length + 1, in.size());
      out.insert(out.end(), in.begin() + i, in.begin() + std::min(in.size(), i + length + 1));
      i += length + 1;
    } else {
      EXPECT_LT(i, in.size());
      if (i < in.size()) out.insert(out.end(), 257 - length, in[i]);
      ++i;
    }
  }
  ADD_FAILURE() << "no end-of-data code";
  return out;
}

// LZWDecode with early change: after the entry whose number plus one is
// 511, 1023 or 2047 has been added, codes grow by one bit.
Bytes LzwDecode(ByteSpan in) {
  std::size_t bitpos = 0;
  auto read = [&](int width) -> int {
    if (bitpos + width > in.size() * 8) return -1;
    int v = 0;
    for (int k = 0; k < width; ++k, ++bitpos) v = v << 1 | ((in[bitpos / 8] >> (7 - bitpos % 8)) & 1);
    return v;
  };
  Bytes out;
  std::vector<Bytes> table;  // entries 258 upward
  Bytes previous;
  bool have_previous = false;
  int width = 9;
  for (;;) {
    const int code = read(width);
    if (code < 0) {
      ADD_FAILURE() << "no end-of-data code";
      return out;
    }
    if (code == 256) {
      table.clear();
      width = 9;
      have_previous = false;
      continue;
    }
    if (code == 257) break;
    Bytes entry;
    if (code < 256) {
      entry = {static_cast<std::uint8_t>(code)};
    } else if (static_cast<std::size_t>(code - 258) < table.size()) {
      entry = table[code - 258];
    } else if (static_cast<std::size_t>(code - 258) == table.size() && have_previous) {
      entry = previous;
      entry.push_back(previous[0]);
    } else {
      ADD_FAILURE() << "code " << code << " not in the table";
      return out;
    }
    if (have_previous) {
      EXPECT_LT(258 + table.size(), 4096u) << "table overflow";
      Bytes added = previous;
      added.push_back(entry[0]);
      table.push_back(added);
      const std::size_t next = 258 + table.size();
      width = next + 1 >= 2048 ? 12 : next + 1 >= 1024 ? 11 : next + 1 >= 512 ? 10 : 9;
    }
    out.insert(out.end(), entry.begin(), entry.end());
    previous = entry;
    have_previous = true;
  }
  // Only zero padding may follow the end-of-data code.
  EXPECT_LT(in.size() * 8 - bitpos, 8u);
  while (bitpos < in.size() * 8) EXPECT_EQ(read(1), 0);
  return out;
}

// ---- inputs ----

Bytes RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng());
  return out;
}

// A page content stream as the writer produces it: text boxes, rules, boxes.
Bytes PageContent(std::size_t n) {
  std::string s;
  int k = 0;
  while (s.size() < n) {
    s += "\rBT /F1 10 Tf 1 0 0 -1 " + std::to_string(56 + k % 40) + " " +
         std::to_string(100 + (k * 13) % 700) + " Tm (Il sottoscritto amministratore del condominio " +
         std::to_string(k) + ") Tj ET\r0.5 w\r56.693 " + std::to_string(200 + k % 500) +
         " m 538.583 " + std::to_string(200 + k % 500) + " l S\r" +
         std::to_string(60 + k % 9) + ".5 120.25 8.504 8.504 re S";
    ++k;
  }
  s.resize(n);
  return B(s);
}

// Every pair of neighbouring bytes differs from every other pair, so that
// LZW never finds a string of two bytes in its table and writes one code
// per input byte.
Bytes NoRepeatedPairs(std::size_t n) {
  Bytes out(n);
  std::uint8_t x = 0;
  for (std::size_t k = 0; k < n; ++k) {
    out[k] = x;
    x = static_cast<std::uint8_t>(x + 1 + 2 * (k / 256));
  }
  return out;
}

struct Input {
  std::string name;
  Bytes data;
};

std::vector<Input> Inputs() {
  Bytes runs;
  for (int r = 0; r < 40; ++r) runs.insert(runs.end(), 1 + (r * 37) % 300, static_cast<std::uint8_t>(r * 11));
  Bytes all_values;
  for (int i = 0; i < 256; ++i) all_values.push_back(static_cast<std::uint8_t>(i));
  return {
      {"empty", {}},
      {"one byte", B({0x41})},
      {"zero byte", B({0})},
      {"long runs", runs},
      {"zeros", Bytes(5000, 0)},
      {"every byte value", all_values},
      {"text", PageContent(30000)},
      {"random", RandomBytes(20000, 7)},
      {"no repeated pairs", NoRepeatedPairs(9000)},
      // The last step makes the largest entry of quality 0, and of quality 3.
      {"255 bytes without repeated pairs", NoRepeatedPairs(255)},
      {"3839 bytes without repeated pairs", NoRepeatedPairs(3839)},
  };
}

// ---- exact bytes ----

TEST(Encoders, DocumentedExactOutputs) {
  EXPECT_EQ(pdf::EncodeAsciiHex(B({0, 15, 255})), B("000FFF"));
  EXPECT_EQ(pdf::EncodeAsciiHex(B({0xAB, 0xCD, 0x9E})), B("ABCD9E"));
  EXPECT_EQ(pdf::EncodeAsciiHex(Bytes{}), Bytes{});

  EXPECT_EQ(pdf::EncodeAscii85(Bytes{}), B("~>"));
  EXPECT_EQ(pdf::EncodeAscii85(B({0, 0, 0, 0})), B("z~>"));
  EXPECT_EQ(pdf::EncodeAscii85(B({0, 0, 0})), B("!!!!~>"));
  EXPECT_EQ(pdf::EncodeAscii85(B({255})), B("rr~>"));
  EXPECT_EQ(pdf::EncodeAscii85(B({0, 0, 0, 0, 0})), B("z!!~>"));
  EXPECT_EQ(pdf::EncodeAscii85(B({255, 255, 255, 255})), B("s8W-!~>"));
  EXPECT_EQ(pdf::EncodeAscii85(B("Man ")), B("9jqo^~>"));

  EXPECT_EQ(pdf::EncodeRunLength(Bytes{}), B({128}));
  EXPECT_EQ(pdf::EncodeRunLength(B({7})), B({0, 7, 128}));
  EXPECT_EQ(pdf::EncodeRunLength(B("abcc")), B({1, 'a', 'b', 255, 'c', 128}));
  EXPECT_EQ(pdf::EncodeRunLength(B("ab")), B({1, 'a', 'b', 128}));
  EXPECT_EQ(pdf::EncodeRunLength(B("aab")), B({255, 'a', 0, 'b', 128}));
  EXPECT_EQ(pdf::EncodeRunLength(B("abbc")), B({0, 'a', 255, 'b', 0, 'c', 128}));
  {
    Bytes expected{129, 'x', 185, 'x', 128};
    EXPECT_EQ(pdf::EncodeRunLength(Bytes(200, 'x')), expected);
    EXPECT_EQ(pdf::EncodeRunLength(Bytes(129, 'x')), B({129, 'x', 0, 'x', 128}));
  }
  {
    Bytes distinct(129);
    for (int i = 0; i < 129; ++i) distinct[i] = static_cast<std::uint8_t>(i);
    Bytes expected{127};
    expected.insert(expected.end(), distinct.begin(), distinct.begin() + 128);
    expected.insert(expected.end(), {0, 128, 128});
    EXPECT_EQ(pdf::EncodeRunLength(distinct), expected);
  }

  // Clear-table, the byte, end-of-data, 9 bits each, padded with zeros.
  EXPECT_EQ(pdf::EncodeLzw(B({0x41}), 3), B({0x80, 0x10, 0x60, 0x20}));
  EXPECT_EQ(pdf::EncodeLzw(Bytes{}, 3), B({0x80, 0x40, 0x40}));
  // The LZWDecode filter definition's example, bytes 45 45 45 45 45 65 45 45 45 66
  // (decimal), gives the codes 256 45 258 258 65 259 66 257.
  EXPECT_EQ(pdf::EncodeLzw(B({0x2D, 0x2D, 0x2D, 0x2D, 0x2D, 0x41, 0x2D, 0x2D, 0x2D, 0x42}), 3),
            B({0x80, 0x0B, 0x60, 0x50, 0x22, 0x0C, 0x0C, 0x85, 0x01}));
}

// The packed codes of an input that never repeats a pair: the initial
// clear-table code, then one code per byte (the byte itself), with the code
// width and the clear-table step as the LZWDecode filter reads them. The
// clear-table code comes at the start of the step after the one that made
// the largest entry; the code written at the end of the input is no such
// step, so it never follows a clear-table code of its own.
Bytes ExpectedLzwWithoutMatches(const Bytes& data, int quality) {
  Bytes out;
  std::uint64_t acc = 0;
  int bits = 0;
  auto put = [&](unsigned code, int width) {
    acc = acc << width | code;
    bits += width;
    while (bits >= 8) {
      bits -= 8;
      out.push_back(static_cast<std::uint8_t>(acc >> bits));
    }
  };
  const unsigned largest = (1u << (9 + quality)) - 1;
  put(256, 9);
  unsigned entry = 258;  // made by the next code written
  int width = 9;
  for (std::size_t k = 0; k < data.size(); ++k) {
    if (entry > largest && k + 1 < data.size()) {
      put(256, width);
      entry = 258;
      width = 9;
    }
    put(data[k], width);
    if (entry == 511 || entry == 1023 || entry == 2047) width++;
    entry++;
  }
  put(257, width);
  if (bits) out.push_back(static_cast<std::uint8_t>(acc << (8 - bits)));
  return out;
}

TEST(Encoders, LzwCodeWidthsAndClearTableStep) {
  for (int quality = 0; quality <= 3; ++quality) {
    for (std::size_t n : {253u, 254u, 255u, 256u, 766u, 767u, 768u, 1790u, 1791u, 3838u, 3839u, 3840u, 9000u}) {
      const Bytes data = NoRepeatedPairs(n);
      EXPECT_EQ(pdf::EncodeLzw(data, quality), ExpectedLzwWithoutMatches(data, quality))
          << "quality " << quality << ", " << n << " bytes";
    }
  }
  // Quality 0: code 254 (the 255th byte) is the first of 10 bits and is the
  // clear-table code; the byte after it is back at 9 bits.
  const Bytes out = pdf::EncodeLzw(NoRepeatedPairs(300), 0);
  std::size_t bitpos = 9 + 254 * 9;
  unsigned clear = 0;
  for (int k = 0; k < 10; ++k, ++bitpos) clear = clear << 1 | ((out[bitpos / 8] >> (7 - bitpos % 8)) & 1);
  EXPECT_EQ(clear, 256u);
}

// ---- round trips through our decoders ----

TEST(Encoders, RoundTripThroughDecoders) {
  for (const auto& input : Inputs()) {
    SCOPED_TRACE(input.name);
    EXPECT_EQ(AsciiHexDecode(pdf::EncodeAsciiHex(input.data)), input.data);
    EXPECT_EQ(pdf::EncodeAsciiHex(input.data).size(), 2 * input.data.size());
    EXPECT_EQ(Ascii85Decode(pdf::EncodeAscii85(input.data)), input.data);
    const Bytes rl = pdf::EncodeRunLength(input.data);
    EXPECT_EQ(RunLengthDecode(rl), input.data);
    EXPECT_LE(rl.size(), input.data.size() / 3 * 4 + 4);
    for (int quality = 0; quality <= 3; ++quality) {
      const Bytes lzw = pdf::EncodeLzw(input.data, quality);
      EXPECT_EQ(LzwDecode(lzw), input.data) << "quality " << quality;
      EXPECT_LE(lzw.size(), input.data.size() * 3 / 2 + 5);
    }
  }
}

TEST(Encoders, LzwCompressesPageContentAndRunLengthLongRuns) {
  const Bytes text = PageContent(30000);
  EXPECT_LT(pdf::EncodeLzw(text, 3).size(), text.size() / 3);
  EXPECT_EQ(pdf::EncodeRunLength(Bytes(30000, ' ')).size(), 30000u / 128 * 2 + 2 + 1);
}

TEST(Encoders, QualityOutsideItsRangeIsClamped) {
  const Bytes data = NoRepeatedPairs(5000);
  EXPECT_EQ(pdf::EncodeLzw(data, 200), pdf::EncodeLzw(data, 3));
  EXPECT_EQ(pdf::EncodeLzw(data, -1), pdf::EncodeLzw(data, 0));
}

// ---- round trips through real readers ----

struct Encoded {
  std::string filters;  // as the writer names them, the last applied first
  Bytes data;
};

struct Chain {
  std::string name;
  std::function<Encoded(const Bytes&)> encode;
};

std::vector<Chain> Chains() {
  std::vector<Chain> chains = {
      {"ASCIIHex", [](const Bytes& d) { return Encoded{"/ASCIIHexDecode ", pdf::EncodeAsciiHex(d)}; }},
      {"ASCII85", [](const Bytes& d) { return Encoded{"/ASCII85Decode ", pdf::EncodeAscii85(d)}; }},
      {"RunLength", [](const Bytes& d) { return Encoded{"/RunLengthDecode ", pdf::EncodeRunLength(d)}; }},
      {"RunLength LZW ASCII85 ASCIIHex",
       [](const Bytes& d) {
         return Encoded{"/ASCIIHexDecode /ASCII85Decode /LZWDecode /RunLengthDecode ",
                        pdf::EncodeAsciiHex(pdf::EncodeAscii85(pdf::EncodeLzw(pdf::EncodeRunLength(d), 2)))};
       }},
  };
  for (int q = 0; q <= 3; ++q)
    chains.push_back({"LZW quality " + std::to_string(q),
                      [q](const Bytes& d) { return Encoded{"/LZWDecode ", pdf::EncodeLzw(d, q)}; }});
  return chains;
}

// A one-page PDF file whose objects 4, 5, ... are the given streams.
std::string AssemblePdf(const std::vector<Encoded>& streams) {
  std::string pdf = "%PDF-1.4\n";
  std::vector<std::size_t> offsets;
  auto object = [&](const std::string& body) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
  };
  object("<< /Type /Catalog /Pages 2 0 R >>");
  object("<< /Type /Pages /Kids [3 0 R ] /Count 1 >>");
  object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 100] /Resources << >> >>");
  for (const auto& s : streams)
    object("<< /Filter [" + s.filters + "]\n/Length " + std::to_string(s.data.size()) +
           " >>\rstream\n" + std::string(s.data.begin(), s.data.end()) + "\nendstream");
  const std::size_t xref = pdf.size();
  pdf += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f\r\n";
  for (std::size_t off : offsets) {
    char line[32];
    std::snprintf(line, sizeof line, "%010zu 00000 n\r\n", off);
    pdf += line;
  }
  pdf += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
         std::to_string(xref) + "\n%%EOF\n";
  return pdf;
}

TEST(Encoders, RealReadersDecodeEveryEncoder) {
  pdftest::TempDir dir;
  const std::string file = dir.file("streams.pdf");

  struct Case {
    std::string name;
    Bytes plain;
  };
  std::vector<Case> cases;
  std::vector<Encoded> streams;
  for (const auto& chain : Chains())
    for (const auto& input : Inputs()) {
      cases.push_back({chain.name + ", " + input.name, input.data});
      streams.push_back(chain.encode(input.data));
    }
  pdftest::WriteFile(file, AssemblePdf(streams));
  pdftest::ExpectReadersAccept(file);

  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    const std::string n = std::to_string(4 + i);
    const std::string expected(cases[i].plain.begin(), cases[i].plain.end());
    const pdftest::ToolResult q =
        pdftest::Qpdf({"--decode-level=specialized", "--show-object=" + n, "--filtered-stream-data", file});
    EXPECT_EQ(q.exit_code, 0) << q.err;
    EXPECT_EQ(q.err, "");
    EXPECT_TRUE(q.out == expected) << "qpdf gave " << q.out.size() << " bytes, expected " << expected.size();
    const pdftest::ToolResult m = pdftest::RunTool({"mutool", "show", "-b", file, n});
    EXPECT_EQ(m.exit_code, 0) << m.err;
    EXPECT_EQ(m.err, "");
    EXPECT_TRUE(m.out == expected) << "mutool gave " << m.out.size() << " bytes, expected " << expected.size();
  }
}

}  // namespace
