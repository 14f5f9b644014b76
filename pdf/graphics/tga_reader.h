#pragma once
// Truevision TGA files of true colour: type 2 (uncompressed) and type 10
// (run-length), 24 bits, or 32 bits with an 8-bit alpha channel.

#include "pdf/core/bytes.h"
#include "pdf/graphics/raster_image.h"

namespace pdf {

// Comes back as 24-bit red, green, blue rows, bottom first whatever the
// file's origin. A pixel with alpha 0 makes its colour the image's colour
// key (the last such pixel wins).
RasterImage ReadTga(ByteSpan File, const ReadLimits& Limits = {});

}  // namespace pdf
