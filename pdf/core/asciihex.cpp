// ASCIIHex: two upper-case hexadecimal digits per byte, high digit first.
// No end mark: the file identifier wraps the digits in its own brackets.

#include "pdf/core/encoders.h"

namespace pdf {

Bytes EncodeAsciiHex(ByteSpan data) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  Bytes out(data.size() * 2);
  std::size_t o = 0;
  for (std::uint8_t b : data) {
    out[o++] = static_cast<std::uint8_t>(kDigits[b >> 4]);
    out[o++] = static_cast<std::uint8_t>(kDigits[b & 15]);
  }
  return out;
}

}  // namespace pdf
