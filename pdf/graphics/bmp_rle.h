#pragma once
// Run-length decoding of Windows bitmap pixel data, 8 bits per pixel (RLE8)
// and 4 bits per pixel (RLE4).

#include <cstdint>
#include <string>

#include "pdf/core/bytes.h"
#include "pdf/graphics/raster_image.h"

namespace pdf {

// Decodes Data into Out: Height rows of ceil(Width x Bits / 8) bytes, in the
// file's order (bottom row first), pixels packed at Bits (4 or 8) per pixel,
// most significant bits first. Out must hold the rows already, all zero:
// what the data leaves out stays 0. Runs are held to the image: pixels past
// a row's end are dropped, and decoding stops at the last row. Returns
// kTruncated when the data ends inside a run or an escape.
ReadStatus DecodeBmpRle(ByteSpan Data, std::int32_t Width, std::int32_t Height, int Bits, Bytes& Out,
                        std::string& Reason);

}  // namespace pdf
