#include "pdf/graphics/bmp_reader.h"

#include <cstddef>
#include <cstdint>

#include "pdf/core/byte_cursor.h"
#include "pdf/graphics/bmp_rle.h"

namespace pdf {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;  // the oldest Windows header; later ones extend it

// Reads the palette: Entries of 4 bytes (blue, green, red, unused) at
// Offset, turned into 2^Bits entries of red, green, blue.
bool ReadPalette(ByteSpan file, std::size_t offset, std::uint32_t entries, int bits, RasterImage& image) {
  const std::size_t full = std::size_t{1} << bits;
  image.palette.assign(full * 3, 0);
  const ByteSpan table = ByteCursor(file).At(offset, std::size_t{entries} * 4);
  if (table.size() != std::size_t{entries} * 4) return false;
  for (std::size_t i = 0; i < entries; ++i) {
    image.palette[i * 3] = table[i * 4 + 2];
    image.palette[i * 3 + 1] = table[i * 4 + 1];
    image.palette[i * 3 + 2] = table[i * 4];
  }
  image.palette_entries = static_cast<std::int32_t>(entries);
  return true;
}

// One stored row turned into the output row: indexed rows copied without
// their padding, direct colour turned into red, green, blue.
void ConvertRow(const std::uint8_t* in, std::uint8_t* out, std::int32_t width, int bits, std::size_t row_bytes) {
  const std::size_t w = static_cast<std::size_t>(width);
  switch (bits) {
    case 16:
      for (std::size_t x = 0; x < w; ++x) {
        const unsigned v = in[2 * x] | (in[2 * x + 1] << 8);
        out[3 * x] = static_cast<std::uint8_t>((v & 0x7C00) >> 7);
        out[3 * x + 1] = static_cast<std::uint8_t>((v & 0x03E0) >> 2);
        out[3 * x + 2] = static_cast<std::uint8_t>((v & 0x001F) << 3);
      }
      break;
    case 24:
    case 32: {
      const std::size_t step = static_cast<std::size_t>(bits) / 8;
      for (std::size_t x = 0; x < w; ++x) {
        out[3 * x] = in[step * x + 2];
        out[3 * x + 1] = in[step * x + 1];
        out[3 * x + 2] = in[step * x];
      }
      break;
    }
    default:
      for (std::size_t i = 0; i < row_bytes; ++i) out[i] = in[i];
      break;
  }
}

}  // namespace

RasterImage ReadBmp(ByteSpan File, const ReadLimits& Limits) {
  if (File.size() < 2 || File[0] != 'B' || File[1] != 'M')
    return RefusedImage(ReadStatus::kInvalid, "not a bitmap file (no BM signature)");
  ByteCursor c(File);
  c.Seek(10);
  const std::uint32_t data_offset = c.U32LE();
  const std::uint32_t header_size = c.U32LE();
  const std::int32_t width = c.S32LE();
  const std::int32_t stored_height = c.S32LE();
  c.Skip(2);  // planes
  const int bits = c.U16LE();
  const std::uint32_t compression = c.U32LE();
  c.Skip(12);  // image size and resolution
  const std::uint32_t colors_used = c.U32LE();
  if (!c.Ok()) return RefusedImage(ReadStatus::kTruncated, "bitmap header cut short");
  if (header_size < kInfoHeaderSize)
    return RefusedImage(ReadStatus::kInvalid, "bitmap information header older than Windows 3");
  if (width <= 0 || stored_height == 0 || stored_height == INT32_MIN)
    return RefusedImage(ReadStatus::kInvalid, "bitmap of no width or no height");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return RefusedImage(ReadStatus::kInvalid, "bitmap depth not 1, 4, 8, 16, 24 or 32 bits");
  const bool top_down = stored_height < 0;
  const std::int32_t height = top_down ? -stored_height : stored_height;
  const bool rle = compression == 1 || compression == 2;
  if (compression > 2 || (compression == 1 && bits != 8) || (compression == 2 && bits != 4) ||
      (rle && top_down))
    return RefusedImage(ReadStatus::kInvalid, "bitmap compression not supported");

  RasterImage image;
  image.width = width;
  image.height = height;
  image.bits_per_pixel = static_cast<std::uint8_t>(bits <= 8 ? bits : 24);
  const std::size_t w = static_cast<std::size_t>(width);
  const std::size_t h = static_cast<std::size_t>(height);
  const auto stored_bits = CheckedMul(w, static_cast<std::size_t>(bits));
  const auto out_bits = CheckedMul(w, image.bits_per_pixel);
  if (!stored_bits || !out_bits) return RefusedImage(ReadStatus::kTooLarge, "bitmap too wide");
  const std::size_t packed_row = (*stored_bits + 7) / 8;      // the pixels of one stored row
  const std::size_t stored_row = (*stored_bits + 31) / 32 * 4;  // with its padding
  const std::size_t out_row = (*out_bits + 7) / 8;
  const auto out_size = CheckedMul(out_row, h);
  if (!out_size || *out_size > Limits.max_pixel_bytes)
    return RefusedImage(ReadStatus::kTooLarge, "bitmap too large");

  if (bits <= 8) {
    std::uint32_t entries = std::uint32_t{1} << bits;
    if (colors_used != 0 && colors_used < entries) entries = colors_used;
    if (!ReadPalette(File, kFileHeaderSize + header_size, entries, bits, image))
      return RefusedImage(ReadStatus::kTruncated, "bitmap palette past the end of the file");
  }
  if (data_offset > File.size())
    return RefusedImage(ReadStatus::kTruncated, "bitmap pixel data offset past the end of the file");
  const ByteSpan pixels = File.subspan(data_offset);

  if (rle) {
    image.data.assign(*out_size, 0);
    const ReadStatus s = DecodeBmpRle(pixels, width, height, bits, image.data, image.reason);
    if (s != ReadStatus::kOk) return RefusedImage(s, image.reason);
    return image;
  }
  // Every row must be in the file; the last one may lack its padding.
  const auto before_last = CheckedMul(stored_row, h - 1);
  const auto needed = before_last ? CheckedAdd(*before_last, packed_row) : std::nullopt;
  if (!needed || *needed > pixels.size())
    return RefusedImage(ReadStatus::kTruncated, "bitmap pixel data cut short");
  image.data.resize(*out_size);
  for (std::size_t i = 0; i < h; ++i) {
    // Output rows go bottom first: a top-down file's first row is the top.
    const std::size_t out_index = top_down ? h - 1 - i : i;
    ConvertRow(pixels.data() + i * stored_row, image.data.data() + out_index * out_row, width, bits,
               packed_row);
  }
  return image;
}

}  // namespace pdf
