// MD5 against the RFC 1321 test suite and, for every length around the
// block and padding boundaries, against python3's hashlib.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "pdf/core/md5.h"

namespace {

std::string Hex(const pdf::Md5Digest& d) {
  static const char* digits = "0123456789abcdef";
  std::string s;
  for (auto b : d) {
    s += digits[b >> 4];
    s += digits[b & 15];
  }
  return s;
}

std::string Shell(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  EXPECT_EQ(pclose(p), 0) << command;
  return out;
}

TEST(Md5, Rfc1321Suite) {
  const struct {
    std::string input;
    const char* digest;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"1234567890123456789012345678901234567890123456789012345678901234567890123456"
       "7890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& c : cases) EXPECT_EQ(Hex(pdf::Md5(pdf::as_bytes(c.input))), c.digest) << c.input;
}

// Byte values above 127 and every tail length from 0 to 200 (the padding
// takes one or two blocks), compared with an independent implementation.
TEST(Md5, EveryLengthMatchesPython) {
  const std::string lines = Shell(
      "python3 -c \"import hashlib\n"
      "for n in range(201): print(hashlib.md5(bytes((i * 37 + 11) % 256 for i in range(n))).hexdigest())\"");
  std::istringstream in(lines);
  for (int n = 0; n <= 200; ++n) {
    std::string expected;
    ASSERT_TRUE(std::getline(in, expected)) << "python3 gave no digest for length " << n;
    pdf::Bytes data(n);
    for (int i = 0; i < n; ++i) data[i] = static_cast<std::uint8_t>((i * 37 + 11) % 256);
    EXPECT_EQ(Hex(pdf::Md5(data)), expected) << "length " << n;
  }
}

TEST(Md5, OneMegabyteMatchesPython) {
  pdf::Bytes data(1 << 20);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 2654435761u >> 24);
  const std::string expected = Shell(
      "python3 -c \"import hashlib\n"
      "print(hashlib.md5(bytes((i * 2654435761 % 2**32) >> 24 for i in range(1 << 20))).hexdigest())\"");
  EXPECT_EQ(Hex(pdf::Md5(data)) + "\n", expected);
}

}  // namespace
