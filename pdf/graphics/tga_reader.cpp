#include "pdf/graphics/tga_reader.h"

#include <cstddef>
#include <cstdint>

#include "pdf/core/byte_cursor.h"

namespace pdf {

RasterImage ReadTga(ByteSpan File, const ReadLimits& Limits) {
  ByteCursor c(File);
  const std::uint8_t id_length = c.U8();
  const std::uint8_t map_type = c.U8();
  const std::uint8_t type = c.U8();
  c.Skip(2);  // first colour-map entry
  const std::uint16_t map_length = c.U16LE();
  const std::uint8_t map_entry_bits = c.U8();
  c.Skip(4);  // origin
  const std::int32_t width = c.U16LE();
  const std::int32_t height = c.U16LE();
  const std::uint8_t depth = c.U8();
  const std::uint8_t descriptor = c.U8();
  if (!c.Ok()) return RefusedImage(ReadStatus::kTruncated, "TGA header cut short");
  if (type != 2 && type != 10)
    return RefusedImage(ReadStatus::kInvalid, "TGA image type other than 2 or 10 (true colour)");
  const int alpha_bits = descriptor & 0x0F;
  if (depth != 24 && !(depth == 32 && (alpha_bits == 8 || alpha_bits == 0)))
    return RefusedImage(ReadStatus::kInvalid, "TGA depth other than 24 bits or 32 bits with 8 alpha bits");
  if (width == 0 || height == 0) return RefusedImage(ReadStatus::kInvalid, "TGA image of no width or no height");
  // The image ID, then a colour map that true-colour files may carry anyway.
  c.Skip(id_length);
  if (map_type != 0) c.Skip(std::size_t{map_length} * ((map_entry_bits + 7u) / 8u));
  if (!c.Ok()) return RefusedImage(ReadStatus::kTruncated, "TGA image ID or colour map past the end of the file");

  const std::size_t pixel_bytes = depth / 8u;
  const bool has_alpha = depth == 32 && alpha_bits == 8;
  const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  const std::size_t out_size = pixels * 3;
  if (out_size > Limits.max_pixel_bytes) return RefusedImage(ReadStatus::kTooLarge, "TGA image too large");
  // A run packet covers at most 128 pixels: data too short for the pixels
  // announced is refused before anything is allocated.
  const std::size_t least = type == 2 ? pixels * pixel_bytes : (pixels + 127) / 128 * (1 + pixel_bytes);
  if (c.Remaining() < least) return RefusedImage(ReadStatus::kTruncated, "TGA pixel data cut short");

  RasterImage image;
  image.width = width;
  image.height = height;
  image.bits_per_pixel = 24;
  image.data.resize(out_size);
  // Pixels in file order; the origin bits say where that order starts.
  const bool top_origin = (descriptor & 0x20) != 0;
  const bool right_origin = (descriptor & 0x10) != 0;
  const std::size_t w = static_cast<std::size_t>(width);
  const std::size_t h = static_cast<std::size_t>(height);
  std::size_t n = 0;
  const auto put = [&](const std::uint8_t* p) {
    const std::size_t row = n / w, col = n % w;
    const std::size_t out_row = top_origin ? h - 1 - row : row;
    const std::size_t out_col = right_origin ? w - 1 - col : col;
    std::uint8_t* out = image.data.data() + (out_row * w + out_col) * 3;
    out[0] = p[2];
    out[1] = p[1];
    out[2] = p[0];
    if (has_alpha && p[3] == 0) image.color_key = {p[2], p[2], p[1], p[1], p[0], p[0]};
    ++n;
  };
  if (type == 2) {
    const ByteSpan data = c.Take(pixels * pixel_bytes);
    for (std::size_t i = 0; i < pixels; ++i) put(data.data() + i * pixel_bytes);
    return image;
  }
  while (n < pixels) {
    const std::uint8_t head = c.U8();
    const std::size_t count = (head & 0x7F) + 1u;
    const std::size_t take = count < pixels - n ? count : pixels - n;  // held to the image
    if (head & 0x80) {
      const ByteSpan p = c.Take(pixel_bytes);
      if (!c.Ok()) break;
      for (std::size_t i = 0; i < take; ++i) put(p.data());
    } else {
      const ByteSpan p = c.Take(take * pixel_bytes);
      if (!c.Ok()) break;
      for (std::size_t i = 0; i < take; ++i) put(p.data() + i * pixel_bytes);
    }
  }
  if (!c.Ok()) return RefusedImage(ReadStatus::kTruncated, "TGA run-length data cut short");
  return image;
}

}  // namespace pdf
