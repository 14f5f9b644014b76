#pragma once
// Windows bitmap (BMP) files: 1, 4 and 8 bits per pixel through a palette,
// uncompressed or run-length encoded (8 bits RLE8, 4 bits RLE4), and 16
// (5 bits per channel), 24 and 32 bits of direct colour; rows stored bottom
// up or, with a negative height, top down.

#include "pdf/core/bytes.h"
#include "pdf/graphics/raster_image.h"

namespace pdf {

// Indexed images keep their depth and come back with a palette of
// 2^depth entries (black where the file gives fewer); direct colour comes
// back as 24-bit red, green, blue. Rows are bottom first, unpadded.
RasterImage ReadBmp(ByteSpan File, const ReadLimits& Limits = {});

}  // namespace pdf
