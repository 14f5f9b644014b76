#include "pdf/graphics/gif_reader.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "pdf/core/byte_cursor.h"
#include "pdf/graphics/gif_lzw.h"

namespace pdf {

namespace {

constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kImage = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kGraphicControl = 0xF9;

// A colour table's depth as an image depth PDF allows (1, 2, 4 or 8).
int PdfDepth(int table_bits) {
  if (table_bits == 3) return 4;
  if (table_bits > 4) return 8;
  return table_bits;
}

// Walks data sub-blocks (a size byte, that many bytes, until a size of 0);
// appends them to `joined` when it is given. False when the file ends first.
bool ReadSubBlocks(ByteCursor& c, Bytes* joined, ByteSpan* first_block = nullptr) {
  for (bool first = true;; first = false) {
    const std::uint8_t size = c.U8();
    if (!c.Ok()) return false;
    if (size == 0) return true;
    const ByteSpan block = c.Take(size);
    if (!c.Ok()) return false;
    if (first && first_block != nullptr) *first_block = block;
    if (joined != nullptr) joined->insert(joined->end(), block.begin(), block.end());
  }
}

// The rows of an interlaced image in the order they are stored: every 8th
// from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
std::vector<std::size_t> RowOrder(std::size_t height, bool interlaced) {
  std::vector<std::size_t> order;
  order.reserve(height);
  if (!interlaced) {
    for (std::size_t r = 0; r < height; ++r) order.push_back(r);
    return order;
  }
  static constexpr std::size_t kStart[] = {0, 4, 2, 1};
  static constexpr std::size_t kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (std::size_t r = kStart[pass]; r < height; r += kStep[pass]) order.push_back(r);
  return order;
}

// The index of `colour` (3 bytes) in `palette`, entered after the table's
// own entries when none holds it. A full table is widened to the next depth
// PDF allows; a full table of 8 bits gives its nearest colour instead.
unsigned PaletteIndex(Bytes& palette, ByteSpan colour, int& depth) {
  const std::size_t entries = palette.size() / 3;
  std::size_t nearest = 0;
  long best = -1;
  for (std::size_t i = 0; i < entries; ++i) {
    long distance = 0;
    for (std::size_t k = 0; k < 3; ++k) {
      const long d = static_cast<long>(palette[3 * i + k]) - static_cast<long>(colour[k]);
      distance += d * d;
    }
    if (best < 0 || distance < best) best = distance, nearest = i;
  }
  if (best == 0) return static_cast<unsigned>(nearest);
  if (entries >= 256) return static_cast<unsigned>(nearest);
  while (entries >= (std::size_t{1} << depth)) depth = depth == 1 ? 2 : depth == 2 ? 4 : 8;
  palette.insert(palette.end(), colour.begin(), colour.end());
  return static_cast<unsigned>(entries);
}

struct GraphicControl {
  bool transparent = false;
  std::uint8_t index = 0;
};

}  // namespace

RasterImage ReadGif(ByteSpan File, std::int32_t Frame, const ReadLimits& Limits) {
  const std::string signature = File.size() >= 6 ? to_string(File.first(6)) : std::string();
  if (signature != "GIF87a" && signature != "GIF89a")
    return RefusedImage(ReadStatus::kInvalid, "not a GIF file (no GIF87a or GIF89a signature)");
  ByteCursor c(File);
  c.Seek(6);
  const std::int32_t screen_width = c.U16LE();
  const std::int32_t screen_height = c.U16LE();
  const std::uint8_t screen_flags = c.U8();
  const std::uint8_t background = c.U8();
  c.Skip(1);  // aspect ratio
  ByteSpan global;
  if (screen_flags & 0x80) global = c.Take(std::size_t{3} << ((screen_flags & 7) + 1));
  if (!c.Ok()) return RefusedImage(ReadStatus::kTruncated, "GIF header or colour table cut short");
  if (screen_width == 0 || screen_height == 0)
    return RefusedImage(ReadStatus::kInvalid, "GIF screen of no width or no height");

  GraphicControl control;  // of the image that comes next
  std::int32_t seen = 0;
  for (;;) {
    const std::uint8_t introducer = c.U8();
    if (!c.Ok()) return RefusedImage(ReadStatus::kTruncated, "GIF file ends before the frame asked for");
    if (introducer == kTrailer) return RefusedImage(ReadStatus::kInvalid, "GIF file has no frame of that number");
    if (introducer == kExtension) {
      // Every extension is a label and data sub-blocks, whatever the label.
      const std::uint8_t label = c.U8();
      ByteSpan block;
      if (!ReadSubBlocks(c, nullptr, &block))
        return RefusedImage(ReadStatus::kTruncated, "GIF extension cut short");
      if (label == kGraphicControl && block.size() >= 4) {
        control.transparent = (block[0] & 1) != 0;
        control.index = block[3];
      }
      continue;
    }
    if (introducer != kImage) continue;  // stray bytes between blocks are passed over

    const std::int32_t left = c.U16LE();
    const std::int32_t top = c.U16LE();
    const std::int32_t width = c.U16LE();
    const std::int32_t height = c.U16LE();
    const std::uint8_t flags = c.U8();
    ByteSpan local;
    if (flags & 0x80) local = c.Take(std::size_t{3} << ((flags & 7) + 1));
    const int minimum_code_size = c.U8();
    if (!c.Ok()) return RefusedImage(ReadStatus::kTruncated, "GIF image descriptor cut short");
    ++seen;
    if (seen != Frame) {
      if (!ReadSubBlocks(c, nullptr)) return RefusedImage(ReadStatus::kTruncated, "GIF image data cut short");
      control = GraphicControl{};
      continue;
    }

    // The frame asked for.
    const bool has_local = (flags & 0x80) != 0;
    if (!has_local && !(screen_flags & 0x80))
      return RefusedImage(ReadStatus::kInvalid, "GIF frame without a colour table");
    if (width == 0 || height == 0) return RefusedImage(ReadStatus::kInvalid, "GIF frame of no width or no height");
    const ByteSpan table = has_local ? local : global;
    int depth = PdfDepth((has_local ? flags : screen_flags) % 8 + 1);
    const std::size_t sw = static_cast<std::size_t>(screen_width);
    const std::size_t sh = static_cast<std::size_t>(screen_height);
    const std::size_t frame_pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const auto too_large = [&] { return (sw * static_cast<std::size_t>(depth) + 7) / 8 * sh > Limits.max_pixel_bytes; };
    if (too_large() || frame_pixels > Limits.max_pixel_bytes)
      return RefusedImage(ReadStatus::kTooLarge, "GIF image too large");
    Bytes compressed;
    if (!ReadSubBlocks(c, &compressed)) return RefusedImage(ReadStatus::kTruncated, "GIF image data cut short");
    Bytes indexes;
    std::string reason;
    const ReadStatus s = DecodeGifLzw(compressed, minimum_code_size, frame_pixels, indexes, reason);
    if (s != ReadStatus::kOk) return RefusedImage(s, reason);

    // The index that shows nothing of the frame: its transparent one, else
    // the screen's background colour. The background index belongs to the
    // global table; a frame with a table of its own gets that colour
    // entered in its table (at a widened depth when the table is full).
    Bytes palette(table.begin(), table.end());
    const unsigned pixel_mask = (1u << depth) - 1;  // of the frame's own table
    unsigned fill = control.transparent ? control.index : background;
    if (!control.transparent && has_local && 3u * background + 3 <= global.size())
      fill = PaletteIndex(palette, global.subspan(3u * background, 3), depth);
    if (too_large()) return RefusedImage(ReadStatus::kTooLarge, "GIF image too large");
    RasterImage image;
    image.width = screen_width;
    image.height = screen_height;
    image.bits_per_pixel = static_cast<std::uint8_t>(depth);
    const unsigned top_index = (1u << depth) - 1;
    image.palette_entries = static_cast<std::int32_t>(palette.size() / 3);
    palette.resize((top_index + 1) * 3, 0);  // padded with black
    image.palette = std::move(palette);
    if (control.transparent && control.index <= top_index) image.color_key = {control.index, control.index};

    if (fill > top_index) fill = 0;
    const std::size_t row_bytes = (sw * static_cast<std::size_t>(depth) + 7) / 8;
    std::uint8_t pattern = 0;
    for (int bit = 0; bit < 8; bit += depth) pattern = static_cast<std::uint8_t>(pattern | (fill << bit));
    image.data.assign(row_bytes * sh, pattern);

    const std::vector<std::size_t> order = RowOrder(static_cast<std::size_t>(height), (flags & 0x40) != 0);
    const std::size_t fw = static_cast<std::size_t>(width);
    const std::size_t x0 = static_cast<std::size_t>(left);
    // Data that end early leave the rest of the frame as filled.
    const std::size_t rows = std::min(order.size(), (indexes.size() + fw - 1) / fw);
    for (std::size_t i = 0; i < rows; ++i) {
      const std::size_t y = static_cast<std::size_t>(top) + order[i];
      if (y >= sh) continue;  // clipped to the screen
      std::uint8_t* row = image.data.data() + (sh - 1 - y) * row_bytes;
      const std::uint8_t* in = indexes.data() + i * fw;
      const std::size_t reached = std::min(fw, indexes.size() - i * fw);
      for (std::size_t x = 0; x < reached && x0 + x < sw; ++x) {
        const std::size_t at = (x0 + x) * static_cast<std::size_t>(depth);
        const int shift = 8 - depth - static_cast<int>(at % 8);
        const unsigned v = in[x] & pixel_mask;
        std::uint8_t& b = row[at / 8];
        b = static_cast<std::uint8_t>((b & ~(top_index << shift)) | (v << shift));
      }
    }
    return image;
  }
}

}  // namespace pdf
