#pragma once
// The variable-length LZW code of GIF image data.

#include <cstddef>
#include <string>

#include "pdf/core/bytes.h"
#include "pdf/graphics/raster_image.h"

namespace pdf {

// Decodes Data (the image's data sub-blocks joined) with the given minimum
// code size (2 to 8) into at most Count pixel indexes in Out. Output stops
// at Count, at an end code or where the data run out, so Out may hold fewer
// pixels than the image has; a code that the table does not hold yet is an
// error.
ReadStatus DecodeGifLzw(ByteSpan Data, int MinimumCodeSize, std::size_t Count, Bytes& Out,
                        std::string& Reason);

}  // namespace pdf
