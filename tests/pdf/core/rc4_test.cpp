// RC4 against the RFC 6229 keystreams for the 40-, 80- and 128-bit keys
// 01 02 03 ..., and the properties the security handler relies on.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "pdf/core/rc4.h"

namespace {

pdf::Bytes FromHex(const std::string& hex) {
  pdf::Bytes out;
  for (std::size_t i = 0; i + 1 < hex.size();) {
    if (hex[i] == ' ') {
      ++i;
      continue;
    }
    out.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    i += 2;
  }
  return out;
}

struct Rc4Vector {
  int key_bytes;
  std::size_t offset;
  const char* keystream;
};

// RFC 6229 section 2, keys 0x0102030405, 0x0102030405060708090a and
// 0x0102030405060708090a0b0c0d0e0f10 (a selection of its offsets).
const Rc4Vector kVectors[] = {
    {5, 0, "b2 39 63 05 f0 3d c0 27 cc c3 52 4a 0a 11 18 a8"},
    {5, 16, "69 82 94 4f 18 fc 82 d5 89 c4 03 a4 7a 0d 09 19"},
    {5, 240, "28 cb 11 32 c9 6c e2 86 42 1d ca ad b8 b6 9e ae"},
    {5, 256, "1c fc f6 2b 03 ed db 64 1d 77 df cf 7f 8d 8c 93"},
    {5, 1520, "32 94 f7 44 d8 f9 79 05 07 e7 0f 62 e5 bb ce ea"},
    {5, 4080, "06 83 26 a2 11 84 16 d2 1f 9d 04 b2 cd 1c a0 50"},
    {5, 4096, "ff 25 b5 89 95 99 67 07 e5 1f bd f0 8b 34 d8 75"},
    {10, 0, "ed e3 b0 46 43 e5 86 cc 90 7d c2 18 51 70 99 02"},
    {10, 16, "03 51 6b a7 8f 41 3b eb 22 3a a5 d4 d2 df 67 11"},
    {10, 240, "3c fd 6c b5 8e e0 fd de 64 01 76 ad 00 00 04 4d"},
    {10, 256, "48 53 2b 21 fb 60 79 c9 11 4c 0f fd 9c 04 a1 ad"},
    {10, 1520, "bd ae 85 92 4b 3c b1 d0 a2 e3 3a 30 c6 d7 95 99"},
    {10, 4080, "1f 13 5e d1 4c e6 0a 91 36 9d 23 22 be f2 5e 3c"},
    {10, 4096, "08 b6 be 45 12 4a 43 e2 eb 77 95 3f 84 dc 85 53"},
    {16, 0, "9a c7 cc 9a 60 9d 1e f7 b2 93 28 99 cd e4 1b 97"},
    {16, 16, "52 48 c4 95 90 14 12 6a 6e 8a 84 f1 1d 1a 9e 1c"},
    {16, 240, "06 59 02 e4 b6 20 f6 cc 36 c8 58 9f 66 43 2f 2b"},
    {16, 256, "d3 9d 56 6b c6 bc e3 01 07 68 15 15 49 f3 87 3f"},
    {16, 1520, "b4 01 10 c4 19 0b 56 22 a9 61 16 b0 01 7e d2 97"},
    {16, 4080, "ff 38 26 5c 16 42 c1 ab e8 d3 c2 fe 5e 57 2b f8"},
    {16, 4096, "a3 6a 4c 30 1a e8 ac 13 61 0c cb c1 22 56 ca cc"},
};

pdf::Bytes Key(int n) {
  pdf::Bytes key(n);
  for (int i = 0; i < n; ++i) key[i] = static_cast<std::uint8_t>(i + 1);
  return key;
}

TEST(Rc4, Rfc6229Keystreams) {
  for (const auto& v : kVectors) {
    pdf::Bytes data(v.offset + 16, 0);
    pdf::Rc4(Key(v.key_bytes), data);
    const pdf::Bytes got(data.begin() + v.offset, data.end());
    EXPECT_EQ(got, FromHex(v.keystream)) << v.key_bytes * 8 << "-bit key, offset " << v.offset;
  }
}

TEST(Rc4, ScheduleIsReusableAndUnchangedByEncrypting) {
  const pdf::Bytes key = Key(16);
  const pdf::Rc4Schedule schedule = pdf::Rc4Prepare(key);
  const pdf::Rc4Schedule before = schedule;
  pdf::Bytes a(300, 0), b(300, 0);
  pdf::Rc4Apply(schedule, a);
  EXPECT_EQ(schedule.s, before.s);
  pdf::Rc4Apply(schedule, b);
  EXPECT_EQ(a, b);
  pdf::Bytes one_shot(300, 0);
  pdf::Rc4(key, one_shot);
  EXPECT_EQ(a, one_shot);
}

TEST(Rc4, TwiceGivesTheInputBackAndEmptyStaysEmpty) {
  pdf::Bytes data;
  for (int i = 0; i < 1000; ++i) data.push_back(static_cast<std::uint8_t>(i * 7));
  const pdf::Bytes original = data;
  pdf::Rc4(Key(5), data);
  EXPECT_NE(data, original);
  pdf::Rc4(Key(5), data);
  EXPECT_EQ(data, original);

  pdf::Bytes empty;
  pdf::Rc4(Key(5), empty);
  EXPECT_TRUE(empty.empty());
}

TEST(Rc4, EmptyKeyIsRefused) {
  EXPECT_THROW(pdf::Rc4Prepare(pdf::ByteSpan{}), std::invalid_argument);
}

}  // namespace
