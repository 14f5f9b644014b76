#pragma once
// GIF files (87a and 89a): one frame of a possibly animated file, with its
// global or local colour table, interlaced or not.

#include <cstdint>

#include "pdf/core/bytes.h"
#include "pdf/graphics/raster_image.h"

namespace pdf {

// Reads frame Frame (counted from 1) onto a canvas the size of the logical
// screen, at the frame's offset, clipped to the screen; what the frame does
// not cover, and the pixels its data end before, take its transparent index
// (else the background colour of the global table). The depth is the colour
// table's, widened to 4 bits from 3 and to 8 from 5 to 7 (and one step more
// when a full local table takes in the background colour); rows are bottom
// first. The graphic control extension's transparent index, when it gives
// one, becomes the colour key.
RasterImage ReadGif(ByteSpan File, std::int32_t Frame, const ReadLimits& Limits = {});

}  // namespace pdf
