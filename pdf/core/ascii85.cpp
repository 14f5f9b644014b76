// ASCII85: groups of four bytes as five base-85 digits (offset 33), "z" for
// a whole zero group, a short last group cut to r + 1 digits, then "~>".
// No line breaks and no opening mark.

#include "pdf/core/encoders.h"

namespace pdf {
namespace {

void PutGroup(std::uint32_t value, std::size_t digits, Bytes& out) {
  std::uint8_t d[5];
  for (int k = 4; k >= 0; --k) {
    d[k] = static_cast<std::uint8_t>(value % 85 + 33);
    value /= 85;
  }
  out.insert(out.end(), d, d + digits);
}

}  // namespace

Bytes EncodeAscii85(ByteSpan data) {
  Bytes out;
  out.reserve(data.size() / 4 * 5 + 7);
  const std::size_t whole = data.size() / 4 * 4;
  for (std::size_t i = 0; i < whole; i += 4) {
    const std::uint32_t v = std::uint32_t(data[i]) << 24 | std::uint32_t(data[i + 1]) << 16 |
                            std::uint32_t(data[i + 2]) << 8 | std::uint32_t(data[i + 3]);
    if (v == 0)
      out.push_back('z');
    else
      PutGroup(v, 5, out);
  }
  const std::size_t rest = data.size() - whole;
  if (rest) {
    // Completed with zeros and never written as "z", even when all zero.
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k)
      v = v << 8 | (k < rest ? data[whole + k] : 0u);
    PutGroup(v, rest + 1, out);
  }
  out.push_back('~');
  out.push_back('>');
  return out;
}

}  // namespace pdf
