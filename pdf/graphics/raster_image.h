#pragma once
// What a raster reader gives back: the image's pixels in the layout an image
// XObject takes (for BMP, GIF and TGA the bottom row first, because the
// placement matrix draws the first row at the bottom; JPEG bytes untouched),
// or why the file was refused. Readers are pure functions over the file's
// bytes: they open nothing and touch no writer state.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pdf/core/bytes.h"

namespace pdf {

enum class ReadStatus {
  kOk,
  kTruncated,  // the file ends inside a structure its header announced
  kInvalid,    // a value the format does not allow, or one this reader does not take
  kTooLarge,   // the decoded image would pass ReadLimits
};

// Bounds a reader holds before it allocates anything a header asked for.
struct ReadLimits {
  std::size_t max_pixel_bytes = std::size_t{256} << 20;  // decoded pixel data
};

struct RasterImage {
  ReadStatus status = ReadStatus::kOk;
  std::string reason;  // for a refused file: what was wrong with it
  std::int32_t width = 0;
  std::int32_t height = 0;
  // 1, 2, 4 or 8: indexed through palette; 24: red, green, blue bytes;
  // JPEG: 8 times the number of components.
  std::uint8_t bits_per_pixel = 0;
  Bytes data;
  Bytes palette;                     // 3 bytes (red, green, blue) x 2^bits_per_pixel
  std::int32_t palette_entries = 0;  // how many of them the file itself gave
  // The /Mask colour key: a min and max per component (an index twice for
  // an indexed image); empty for none.
  std::vector<int> color_key;
  std::string color_space;  // JPEG: DeviceGray, DeviceRGB or DeviceCMYK
  bool inverted_cmyk = false;  // JPEG: CMYK stored inverted (Adobe marker)

  bool ok() const { return status == ReadStatus::kOk; }
};

inline RasterImage RefusedImage(ReadStatus status, std::string reason) {
  RasterImage image;
  image.status = status;
  image.reason = std::move(reason);
  return image;
}

}  // namespace pdf
