// The ASCIIHex, ASCII85, RunLength and LZW encoders: exact bytes for the
// documented cases (the stream tests take every combination through the
// real readers).

#include <gtest/gtest.h>

#include "pdf/core/encoders.h"

namespace {

using pdf::Bytes;

Bytes B(std::initializer_list<int> v) {
  Bytes out;
  for (int x : v) out.push_back(static_cast<std::uint8_t>(x));
  return out;
}
Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

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
  EXPECT_EQ(pdf::EncodeRunLength(Bytes(200, 'x')), B({129, 'x', 185, 'x', 128}));
  EXPECT_EQ(pdf::EncodeRunLength(Bytes(129, 'x')), B({129, 'x', 0, 'x', 128}));
  // 128 literal bytes, then the last one alone, then end-of-data.
  Bytes distinct(129), expected(132, 128);
  for (int i = 0; i < 129; ++i) distinct[i] = expected[i + 1] = static_cast<std::uint8_t>(i);
  expected[0] = 127;
  expected[129] = 0;
  expected[130] = 128;
  EXPECT_EQ(pdf::EncodeRunLength(distinct), expected);

  // Clear-table, the byte, end-of-data, 9 bits each, padded with zeros.
  EXPECT_EQ(pdf::EncodeLzw(B({0x41}), 3), B({0x80, 0x10, 0x60, 0x20}));
  EXPECT_EQ(pdf::EncodeLzw(Bytes{}, 3), B({0x80, 0x40, 0x40}));
  // The LZWDecode filter definition's example, bytes 45 45 45 45 45 65 45 45 45 66
  // (decimal), gives the codes 256 45 258 258 65 259 66 257.
  EXPECT_EQ(pdf::EncodeLzw(B({0x2D, 0x2D, 0x2D, 0x2D, 0x2D, 0x41, 0x2D, 0x2D, 0x2D, 0x42}), 3),
            B({0x80, 0x0B, 0x60, 0x50, 0x22, 0x0C, 0x0C, 0x85, 0x01}));
}

}  // namespace
