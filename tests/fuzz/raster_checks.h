#pragma once
// What every raster reader promises about an image it accepts, checked by
// the fuzz targets: a size, data of exactly the announced rows, a palette of
// 2^depth entries for indexed images, and nothing for a refused file.

#include <cstdio>
#include <cstdlib>

#include "pdf/graphics/raster_image.h"

namespace fuzzcheck {

inline void Fail(const char* what) {
  std::fprintf(stderr, "raster reader: %s\n", what);
  std::abort();
}

// Data holds Height rows of ceil(Width x depth / 8) bytes (JPEG: the file).
inline void CheckRaster(const pdf::RasterImage& image, bool passed_through = false) {
  if (!image.ok()) {
    if (!image.data.empty()) Fail("data returned with a refusal");
    if (image.reason.empty()) Fail("refusal without a reason");
    return;
  }
  if (image.width <= 0 || image.height <= 0) Fail("accepted image of no size");
  if (passed_through) return;
  const std::size_t row = (static_cast<std::size_t>(image.width) * image.bits_per_pixel + 7) / 8;
  if (image.data.size() != row * static_cast<std::size_t>(image.height)) Fail("data size differs from rows");
  if (image.bits_per_pixel <= 8 && image.palette.size() != (std::size_t{3} << image.bits_per_pixel))
    Fail("palette not of 2^depth entries");
  if (image.palette_entries < 0 || static_cast<std::size_t>(image.palette_entries) * 3 > image.palette.size())
    Fail("more palette entries than the palette holds");
}

}  // namespace fuzzcheck
