// Adler-32 (RFC 1950): the checksum that closes every zlib stream we write
// and that the inflate decoder checks on every stream it reads.
//
// s1 is 1 plus the sum of the bytes, s2 the sum of the successive s1 values,
// both modulo 65521. The modulo is taken only every 5552 bytes, the longest
// run before s2 can overflow 32 bits. Within a run, blocks of 32 bytes are
// summed without the byte-to-byte dependency: the block adds 32 x s1 to s2,
// plus each byte weighted by how many sums it enters (32 for the first byte,
// 1 for the last), and its plain sum to s1. With SSE2 (every x86-64 has it)
// the plain sums come from SAD against zero and the weighted ones from
// 16-bit multiply-adds, about three times the speed of the scalar blocks.

#include <cstddef>
#include <cstdint>

#include "pdf/core/deflate.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pdf {
namespace {

constexpr std::size_t kChunk = 5552;
constexpr std::uint32_t kModulus = 65521;
constexpr std::size_t kBlock = 32;

#if defined(__SSE2__)
// Sums the four 32-bit lanes.
inline std::uint32_t LaneSum(__m128i v) {
  v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
  v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
  return static_cast<std::uint32_t>(_mm_cvtsi128_si32(v));
}

// Adds `blocks` whole 32-byte blocks at p to s1 and s2 (no modulo; the
// caller keeps blocks x 32 within one run).
void AddBlocks(const std::uint8_t* p, std::size_t blocks, std::uint32_t& s1, std::uint32_t& s2) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i w_hi = _mm_setr_epi16(32, 31, 30, 29, 28, 27, 26, 25);
  const __m128i w_mh = _mm_setr_epi16(24, 23, 22, 21, 20, 19, 18, 17);
  const __m128i w_ml = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
  const __m128i w_lo = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
  __m128i sums = zero;      // plain byte sums so far
  __m128i prior = zero;     // sum over blocks of the plain sums before each block
  __m128i weighted = zero;  // weighted sums of every block
  for (std::size_t b = 0; b < blocks; ++b, p += kBlock) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
    prior = _mm_add_epi32(prior, sums);
    sums = _mm_add_epi32(sums, _mm_add_epi32(_mm_sad_epu8(x, zero), _mm_sad_epu8(y, zero)));
    weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(x, zero), w_hi));
    weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(x, zero), w_mh));
    weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(y, zero), w_ml));
    weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(y, zero), w_lo));
  }
  s2 += static_cast<std::uint32_t>(blocks * kBlock) * s1 + static_cast<std::uint32_t>(kBlock) * LaneSum(prior) +
        LaneSum(weighted);
  s1 += LaneSum(sums);
}
#else
void AddBlocks(const std::uint8_t* p, std::size_t blocks, std::uint32_t& s1, std::uint32_t& s2) {
  for (std::size_t b = 0; b < blocks; ++b, p += kBlock) {
    std::uint32_t sum = 0, weighted = 0;
    for (std::size_t j = 0; j < kBlock; ++j) {
      sum += p[j];
      weighted += static_cast<std::uint32_t>(kBlock - j) * p[j];
    }
    s2 += static_cast<std::uint32_t>(kBlock) * s1 + weighted;
    s1 += sum;
  }
}
#endif

}  // namespace

std::uint32_t Adler32(ByteSpan data) {
  std::uint32_t s1 = 1, s2 = 0;
  const std::uint8_t* p = data.data();
  std::size_t left = data.size();
  while (left > 0) {
    const std::size_t n = left < kChunk ? left : kChunk;
    const std::size_t blocks = n / kBlock;
    AddBlocks(p, blocks, s1, s2);
    for (std::size_t i = blocks * kBlock; i < n; ++i) {
      s1 += p[i];
      s2 += s1;
    }
    s1 %= kModulus;
    s2 %= kModulus;
    p += n;
    left -= n;
  }
  return (s2 << 16) | s1;
}

}  // namespace pdf
