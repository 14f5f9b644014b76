#include "pdf/graphics/jpeg_reader.h"

#include <cstddef>
#include <cstdint>

#include "pdf/core/byte_cursor.h"

namespace pdf {

namespace {

bool IsStartOfFrame(std::uint8_t code) {
  return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

// Markers that stand alone, without a length: TEM, RST0-7, SOI, EOI.
bool IsStandalone(std::uint8_t code) { return code == 0x01 || (code >= 0xD0 && code <= 0xD9); }

// Walks on from the frame header to the first start-of-scan marker: true
// when its header is whole and the scan data that follow it reach the
// end-of-image marker. A file cut before that (after the frame header, in
// a scan header or inside the scan) holds no whole picture, and readers
// report it as bad data. Scan data hold no FF D9: a coded FF byte is
// followed by 00 there.
bool HasScan(ByteCursor& c) {
  for (;;) {
    if (c.U8() != 0xFF) {
      if (!c.Ok()) return false;
      continue;
    }
    std::uint8_t code = c.U8();
    while (code == 0xFF && c.Ok()) code = c.U8();
    if (!c.Ok() || code == 0xD9) return false;  // the end of the image before a scan
    if (code == 0x00 || IsStandalone(code)) continue;
    const std::uint16_t length = c.U16BE();
    if (!c.Ok() || length < 2) return false;
    c.Take(length - 2u);
    if (!c.Ok()) return false;
    if (code == 0xDA) {
      const ByteSpan rest = c.Take(c.Remaining());
      for (std::size_t i = 1; i < rest.size(); ++i)
        if (rest[i - 1] == 0xFF && rest[i] == 0xD9) return i > 1;
      return false;
    }
  }
}

}  // namespace

RasterImage ReadJpeg(ByteSpan File, const ReadLimits& Limits) {
  // The start-of-image mark FF D8 FF; some files carry bytes before it.
  std::size_t start = 0;
  while (start + 3 <= File.size() &&
         !(File[start] == 0xFF && File[start + 1] == 0xD8 && File[start + 2] == 0xFF)) {
    ++start;
  }
  if (start + 3 > File.size()) return RefusedImage(ReadStatus::kInvalid, "no JPEG start-of-image mark");
  const ByteSpan jpeg = File.subspan(start);
  ByteCursor c(jpeg);
  c.Seek(2);
  bool adobe = false;
  for (;;) {
    // The next marker: FF, any fill bytes FF, then its code.
    if (c.U8() != 0xFF) {
      if (!c.Ok()) break;
      continue;
    }
    std::uint8_t code = c.U8();
    while (code == 0xFF && c.Ok()) code = c.U8();
    if (!c.Ok()) break;
    if (code == 0x00 || IsStandalone(code)) {
      if (code == 0xD9) break;  // end of image before any frame
      continue;
    }
    const std::uint16_t length = c.U16BE();
    if (!c.Ok()) break;
    if (length < 2) return RefusedImage(ReadStatus::kInvalid, "JPEG segment length below 2");
    const ByteSpan segment = c.Take(length - 2u);
    if (!c.Ok()) break;
    if (code == 0xEE && segment.size() >= 5 && segment[0] == 'A' && segment[1] == 'd' && segment[2] == 'o' &&
        segment[3] == 'b' && segment[4] == 'e') {
      adobe = true;
    }
    if (!IsStartOfFrame(code)) continue;

    ByteCursor f(segment);
    const std::uint8_t precision = f.U8();
    const std::int32_t height = f.U16BE();
    const std::int32_t width = f.U16BE();
    const std::uint8_t components = f.U8();
    if (!f.Ok()) return RefusedImage(ReadStatus::kTruncated, "JPEG frame header cut short");
    if (precision != 8) return RefusedImage(ReadStatus::kInvalid, "JPEG of other than 8 bits per sample");
    if (width == 0 || height == 0)
      return RefusedImage(ReadStatus::kInvalid, "JPEG frame of no width or no height");
    RasterImage image;
    switch (components) {
      case 1: image.color_space = "DeviceGray"; break;
      case 3: image.color_space = "DeviceRGB"; break;
      case 4: image.color_space = "DeviceCMYK"; break;
      default: return RefusedImage(ReadStatus::kInvalid, "JPEG of other than 1, 3 or 4 components");
    }
    if (jpeg.size() > Limits.max_pixel_bytes) return RefusedImage(ReadStatus::kTooLarge, "JPEG file too large");
    image.width = width;
    image.height = height;
    image.bits_per_pixel = static_cast<std::uint8_t>(8 * components);
    image.inverted_cmyk = components == 4 && adobe;
    if (!HasScan(c)) return RefusedImage(ReadStatus::kInvalid, "JPEG without whole scan data after its frame header");
    image.data.assign(jpeg.begin(), jpeg.end());
    return image;
  }
  return RefusedImage(ReadStatus::kTruncated, "JPEG file ends before its frame header");
}

}  // namespace pdf
