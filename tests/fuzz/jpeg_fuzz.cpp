// Any bytes as a JPEG file: ends promptly; an accepted one keeps its own bytes.
#include <cstdint>

#include "pdf/graphics/jpeg_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pdf::RasterImage i = pdf::ReadJpeg(pdf::ByteSpan(data, size));
  if (i.ok() && (i.width <= 0 || i.color_space.empty() || i.data.size() > size || i.data[0] != 0xFF)) __builtin_trap();
  return 0;
}
