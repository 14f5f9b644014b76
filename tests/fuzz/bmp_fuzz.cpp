// Any bytes as a BMP file: the reader ends promptly, within its limits,
// and an image it accepts is whole.
#include <cstddef>
#include <cstdint>

#include "pdf/graphics/bmp_reader.h"
#include "tests/fuzz/raster_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pdf::ReadLimits limits;
  limits.max_pixel_bytes = std::size_t{4} << 20;
  fuzzcheck::CheckRaster(pdf::ReadBmp(pdf::ByteSpan(data, size), limits));
  return 0;
}
