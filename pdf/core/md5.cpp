// MD5 (RFC 1321): 64-byte blocks, four rounds of sixteen operations, the
// message padded with 0x80, zeros and its bit length (64-bit, little endian).

#include "pdf/core/md5.h"

#include <cstring>

namespace pdf {
namespace {

constexpr std::uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

constexpr std::uint32_t Rotl(std::uint32_t v, int s) { return (v << s) | (v >> (32 - s)); }

// One operation: a := b + ((a + f + x + t) <<< s), with f worked out by the round.
#define MD5_STEP(f, a, b, c, d, x, t, s) \
  a = b + Rotl(a + f(b, c, d) + (x) + (t), s)

constexpr std::uint32_t F(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return z ^ (x & (y ^ z)); }
constexpr std::uint32_t G(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return y ^ (z & (x ^ y)); }
constexpr std::uint32_t H(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return x ^ y ^ z; }
constexpr std::uint32_t I(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return y ^ (x | ~z); }

inline std::uint32_t LoadLe(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

void Transform(std::uint32_t state[4], const std::uint8_t* block) {
  std::uint32_t x[16];
  for (int i = 0; i < 16; ++i) x[i] = LoadLe(block + 4 * i);
  std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

  MD5_STEP(F, a, b, c, d, x[0], kSine[0], 7);
  MD5_STEP(F, d, a, b, c, x[1], kSine[1], 12);
  MD5_STEP(F, c, d, a, b, x[2], kSine[2], 17);
  MD5_STEP(F, b, c, d, a, x[3], kSine[3], 22);
  MD5_STEP(F, a, b, c, d, x[4], kSine[4], 7);
  MD5_STEP(F, d, a, b, c, x[5], kSine[5], 12);
  MD5_STEP(F, c, d, a, b, x[6], kSine[6], 17);
  MD5_STEP(F, b, c, d, a, x[7], kSine[7], 22);
  MD5_STEP(F, a, b, c, d, x[8], kSine[8], 7);
  MD5_STEP(F, d, a, b, c, x[9], kSine[9], 12);
  MD5_STEP(F, c, d, a, b, x[10], kSine[10], 17);
  MD5_STEP(F, b, c, d, a, x[11], kSine[11], 22);
  MD5_STEP(F, a, b, c, d, x[12], kSine[12], 7);
  MD5_STEP(F, d, a, b, c, x[13], kSine[13], 12);
  MD5_STEP(F, c, d, a, b, x[14], kSine[14], 17);
  MD5_STEP(F, b, c, d, a, x[15], kSine[15], 22);

  MD5_STEP(G, a, b, c, d, x[1], kSine[16], 5);
  MD5_STEP(G, d, a, b, c, x[6], kSine[17], 9);
  MD5_STEP(G, c, d, a, b, x[11], kSine[18], 14);
  MD5_STEP(G, b, c, d, a, x[0], kSine[19], 20);
  MD5_STEP(G, a, b, c, d, x[5], kSine[20], 5);
  MD5_STEP(G, d, a, b, c, x[10], kSine[21], 9);
  MD5_STEP(G, c, d, a, b, x[15], kSine[22], 14);
  MD5_STEP(G, b, c, d, a, x[4], kSine[23], 20);
  MD5_STEP(G, a, b, c, d, x[9], kSine[24], 5);
  MD5_STEP(G, d, a, b, c, x[14], kSine[25], 9);
  MD5_STEP(G, c, d, a, b, x[3], kSine[26], 14);
  MD5_STEP(G, b, c, d, a, x[8], kSine[27], 20);
  MD5_STEP(G, a, b, c, d, x[13], kSine[28], 5);
  MD5_STEP(G, d, a, b, c, x[2], kSine[29], 9);
  MD5_STEP(G, c, d, a, b, x[7], kSine[30], 14);
  MD5_STEP(G, b, c, d, a, x[12], kSine[31], 20);

  MD5_STEP(H, a, b, c, d, x[5], kSine[32], 4);
  MD5_STEP(H, d, a, b, c, x[8], kSine[33], 11);
  MD5_STEP(H, c, d, a, b, x[11], kSine[34], 16);
  MD5_STEP(H, b, c, d, a, x[14], kSine[35], 23);
  MD5_STEP(H, a, b, c, d, x[1], kSine[36], 4);
  MD5_STEP(H, d, a, b, c, x[4], kSine[37], 11);
  MD5_STEP(H, c, d, a, b, x[7], kSine[38], 16);
  MD5_STEP(H, b, c, d, a, x[10], kSine[39], 23);
  MD5_STEP(H, a, b, c, d, x[13], kSine[40], 4);
  MD5_STEP(H, d, a, b, c, x[0], kSine[41], 11);
  MD5_STEP(H, c, d, a, b, x[3], kSine[42], 16);
  MD5_STEP(H, b, c, d, a, x[6], kSine[43], 23);
  MD5_STEP(H, a, b, c, d, x[9], kSine[44], 4);
  MD5_STEP(H, d, a, b, c, x[12], kSine[45], 11);
  MD5_STEP(H, c, d, a, b, x[15], kSine[46], 16);
  MD5_STEP(H, b, c, d, a, x[2], kSine[47], 23);

  MD5_STEP(I, a, b, c, d, x[0], kSine[48], 6);
  MD5_STEP(I, d, a, b, c, x[7], kSine[49], 10);
  MD5_STEP(I, c, d, a, b, x[14], kSine[50], 15);
  MD5_STEP(I, b, c, d, a, x[5], kSine[51], 21);
  MD5_STEP(I, a, b, c, d, x[12], kSine[52], 6);
  MD5_STEP(I, d, a, b, c, x[3], kSine[53], 10);
  MD5_STEP(I, c, d, a, b, x[10], kSine[54], 15);
  MD5_STEP(I, b, c, d, a, x[1], kSine[55], 21);
  MD5_STEP(I, a, b, c, d, x[8], kSine[56], 6);
  MD5_STEP(I, d, a, b, c, x[15], kSine[57], 10);
  MD5_STEP(I, c, d, a, b, x[6], kSine[58], 15);
  MD5_STEP(I, b, c, d, a, x[13], kSine[59], 21);
  MD5_STEP(I, a, b, c, d, x[4], kSine[60], 6);
  MD5_STEP(I, d, a, b, c, x[11], kSine[61], 10);
  MD5_STEP(I, c, d, a, b, x[2], kSine[62], 15);
  MD5_STEP(I, b, c, d, a, x[9], kSine[63], 21);

  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

#undef MD5_STEP

}  // namespace

Md5Digest Md5(ByteSpan data) {
  std::uint32_t state[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  const std::size_t whole = data.size() / 64 * 64;
  for (std::size_t off = 0; off < whole; off += 64) Transform(state, data.data() + off);

  // The tail: remaining bytes, 0x80, zeros up to 56 mod 64, then the bit count.
  std::uint8_t tail[128] = {};
  const std::size_t rest = data.size() - whole;
  if (rest) std::memcpy(tail, data.data() + whole, rest);
  tail[rest] = 0x80;
  const std::size_t tail_len = rest < 56 ? 64 : 128;
  const std::uint64_t bits = static_cast<std::uint64_t>(data.size()) * 8;
  for (int i = 0; i < 8; ++i) tail[tail_len - 8 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
  for (std::size_t off = 0; off < tail_len; off += 64) Transform(state, tail + off);

  Md5Digest digest;
  for (int w = 0; w < 4; ++w)
    for (int i = 0; i < 4; ++i) digest[4 * w + i] = static_cast<std::uint8_t>(state[w] >> (8 * i));
  return digest;
}

}  // namespace pdf
