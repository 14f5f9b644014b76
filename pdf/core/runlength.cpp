// RunLength: a length byte 0..127 is followed by that many plus one literal
// bytes; 129..255 by one byte repeated 257 minus the length byte times; 128
// ends the data. Two equal neighbours always start a repeat run.

#include "pdf/core/encoders.h"

namespace pdf {

Bytes EncodeRunLength(ByteSpan data) {
  Bytes out;
  out.reserve(data.size() + data.size() / 3 + 2);
  const std::size_t n = data.size();
  std::size_t i = 0;
  while (i < n) {
    if (i + 1 == n) {  // the last byte alone: a literal run of one
      out.push_back(0);
      out.push_back(data[i]);
      break;
    }
    if (data[i] == data[i + 1]) {
      std::size_t count = 2;
      while (count < 128 && i + count < n && data[i + count] == data[i]) ++count;
      out.push_back(static_cast<std::uint8_t>(257 - count));
      out.push_back(data[i]);
      i += count;
      continue;
    }
    // Literal run: stop in front of a byte that equals its successor.
    std::size_t count = 0;
    while (count < 128 && i + count + 1 < n && data[i + count] != data[i + count + 1]) ++count;
    if (count < 128 && i + count + 1 == n) ++count;  // the input's last byte joins it
    out.push_back(static_cast<std::uint8_t>(count - 1));
    out.insert(out.end(), data.begin() + i, data.begin() + i + count);
    i += count;
  }
  out.push_back(128);
  return out;
}

}  // namespace pdf
