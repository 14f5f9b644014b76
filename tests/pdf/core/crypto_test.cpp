// MD5 against the RFC 1321 test suite and RC4 against the RFC 6229
// keystreams for the 40-, 80- and 128-bit keys 01 02 03 ...

#include "pdf/core/md5.h"
#include "pdf/core/rc4.h"
#include "tests/pdf/core/core_probe.h"

namespace {

using namespace core_test;

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
  for (const auto& c : cases) {
    const pdf::Md5Digest d = pdf::Md5(pdf::as_bytes(c.input));
    EXPECT_EQ(Hex(d.data(), d.size()), c.digest) << c.input;
  }
}

// RFC 6229 section 2, keys 0x0102030405, 0x0102030405060708090a and
// 0x0102030405060708090a0b0c0d0e0f10, at the first and last offsets.
TEST(Rc4, Rfc6229Keystreams) {
  const struct {
    int key_bytes;
    std::size_t offset;
    const char* keystream;
  } cases[] = {
      {5, 0, "b2396305f03dc027ccc3524a0a1118a8"},
      {5, 4096, "ff25b58995996707e51fbdf08b34d875"},
      {10, 0, "ede3b04643e586cc907dc21851709902"},
      {10, 4096, "08b6be45124a43e2eb77953f84dc8553"},
      {16, 0, "9ac7cc9a609d1ef7b2932899cde41b97"},
      {16, 4096, "a36a4c301ae8ac13610ccbc12256cacc"},
  };
  for (const auto& c : cases) {
    pdf::Bytes key(static_cast<std::size_t>(c.key_bytes));
    for (std::size_t i = 0; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(i + 1);
    pdf::Bytes data(c.offset + 16, 0);
    pdf::Rc4(key, data);
    EXPECT_EQ(Hex(data.data() + c.offset, 16), c.keystream) << c.key_bytes * 8 << "-bit key, offset " << c.offset;
  }
}

}  // namespace
