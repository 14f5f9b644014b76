#pragma once
// GIF files (87a and 89a): one frame of a possibly animated file, with its
// global or local colour table, interlaced or not.

#include <cstdint>

#include "pdf/core/bytes.h"
#include "pdf/graphics/raster_image.h"

namespace pdf {

// Reads frame Frame (counted from 1) onto a canvas the size of the logical
// screen, at the frame's offset, clipped to the screen; what the frame does
// not cover takes its transparent index (else the background index). The
// depth is the colour table's, widened to 4 bits from 3 and to 8 from 5 to
// 7; rows are bottom first. The graphic control extension's transparent
// index, when it gives one, becomes the colour key.
RasterImage ReadGif(ByteSpan File, std::int32_t Frame, const ReadLimits& Limits = {});

}  // namespace pdf
