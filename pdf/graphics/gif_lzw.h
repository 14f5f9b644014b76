#pragma once
// The variable-length LZW code of GIF image data.

#include <cstddef>
#include <string>

#include "pdf/core/bytes.h"
#include "pdf/graphics/raster_image.h"

namespace pdf {

// Decodes Data (the image's data sub-blocks joined) with the given minimum
// code size (2 to 8) into exactly Count pixel indexes in Out. Output stops
// at Count; an end code or the end of the data before it is an error, and
// so is a code that the table does not hold yet.
ReadStatus DecodeGifLzw(ByteSpan Data, int MinimumCodeSize, std::size_t Count, Bytes& Out,
                        std::string& Reason);

}  // namespace pdf
