#pragma once
// JPEG files (baseline and progressive), passed into the PDF as they stand:
// the reader only finds the frame header for the size and the colour space.

#include "pdf/core/bytes.h"
#include "pdf/graphics/raster_image.h"

namespace pdf {

// data holds the file from its start-of-image mark on; bits_per_pixel is 8
// per component; color_space DeviceGray, DeviceRGB or DeviceCMYK;
// inverted_cmyk is set for four components under an Adobe marker, whose
// writers store CMYK inverted.
RasterImage ReadJpeg(ByteSpan File, const ReadLimits& Limits = {});

}  // namespace pdf
