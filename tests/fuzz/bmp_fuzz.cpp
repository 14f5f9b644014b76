// Any bytes as a BMP file: ends promptly, within limits; an accepted image is whole.
#include <cstdint>

#include "pdf/graphics/bmp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pdf::RasterImage i = pdf::ReadBmp(pdf::ByteSpan(data, size), pdf::ReadLimits{std::size_t{4} << 20});
  const std::size_t row = (static_cast<std::size_t>(i.width) * i.bits_per_pixel + 7) / 8;
  if (i.ok() ? i.data.size() != row * static_cast<std::size_t>(i.height) : !i.data.empty()) __builtin_trap();
  return 0;
}
