// Any bytes as a GIF file, asking for frame 1 and frame 2: the reader ends
// promptly, within its limits, and an image it accepts is whole.
#include <cstddef>
#include <cstdint>

#include "pdf/graphics/gif_reader.h"
#include "tests/fuzz/raster_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pdf::ReadLimits limits;
  limits.max_pixel_bytes = std::size_t{4} << 20;
  for (std::int32_t frame : {1, 2}) fuzzcheck::CheckRaster(pdf::ReadGif(pdf::ByteSpan(data, size), frame, limits));
  return 0;
}
