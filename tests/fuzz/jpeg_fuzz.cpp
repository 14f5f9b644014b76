// Any bytes as a JPEG file: the marker walk ends promptly, and an accepted
// file has a size, a colour space and its bytes from the start-of-image on.
#include <cstddef>
#include <cstdint>

#include "pdf/graphics/jpeg_reader.h"
#include "tests/fuzz/raster_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pdf::RasterImage image = pdf::ReadJpeg(pdf::ByteSpan(data, size));
  fuzzcheck::CheckRaster(image, true);
  if (image.ok() && (image.color_space.empty() || image.data.size() > size || image.data[0] != 0xFF))
    fuzzcheck::Fail("accepted JPEG without a colour space or its own bytes");
  return 0;
}
