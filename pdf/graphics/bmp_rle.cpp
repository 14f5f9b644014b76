// Run-length bitmap data is a sequence of byte pairs. A pair (n, v) with
// n > 0 repeats v n times (at 4 bits the two nibbles of v alternate); n = 0
// is an escape: 0 ends the line, 1 ends the bitmap, 2 moves the position
// right and up by the next two bytes, and 3 to 255 copy that many pixels
// as they stand, the copied bytes padded to an even count.

#include "pdf/graphics/bmp_rle.h"

#include <cstddef>

#include "pdf/core/byte_cursor.h"

namespace pdf {

namespace {

class RowWriter {
 public:
  RowWriter(Bytes& out, std::int32_t width, std::int32_t height, int bits)
      : out_(out), width_(width), height_(height), bits_(bits),
        row_bytes_((static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 7) / 8) {}

  bool Done() const { return y_ >= height_; }

  void Put(std::uint8_t value) {
    if (Done() || x_ >= width_) {
      ++x_;  // dropped: past the row's end
      return;
    }
    const std::size_t row = static_cast<std::size_t>(y_) * row_bytes_;
    if (bits_ == 8) {
      out_[row + static_cast<std::size_t>(x_)] = value;
    } else {
      std::uint8_t& b = out_[row + static_cast<std::size_t>(x_) / 2];
      b = (x_ % 2 == 0) ? static_cast<std::uint8_t>((b & 0x0F) | (value << 4))
                        : static_cast<std::uint8_t>((b & 0xF0) | (value & 0x0F));
    }
    ++x_;
  }
  void EndOfLine() {
    x_ = 0;
    ++y_;
  }
  void Move(std::uint8_t dx, std::uint8_t dy) {
    x_ += dx;
    y_ += dy;
  }

 private:
  Bytes& out_;
  std::int32_t width_, height_;
  int bits_;
  std::size_t row_bytes_;
  std::int64_t x_ = 0;  // wide: a run of dropped pixels may count past the width
  std::int32_t y_ = 0;
};

}  // namespace

ReadStatus DecodeBmpRle(ByteSpan Data, std::int32_t Width, std::int32_t Height, int Bits, Bytes& Out,
                        std::string& Reason) {
  ByteCursor in(Data);
  RowWriter rows(Out, Width, Height, Bits);
  const auto truncated = [&Reason]() {
    Reason = "run-length data ends inside a run";
    return ReadStatus::kTruncated;
  };
  // Data without an end-of-bitmap escape simply ends; what is left stays 0.
  while (!rows.Done() && in.Remaining() >= 1) {
    if (in.Remaining() < 2) return truncated();
    const std::uint8_t count = in.U8();
    const std::uint8_t value = in.U8();
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        rows.Put(Bits == 8 ? value : static_cast<std::uint8_t>(i % 2 == 0 ? value >> 4 : value & 0x0F));
      }
      continue;
    }
    switch (value) {
      case 0:
        rows.EndOfLine();
        break;
      case 1:
        return ReadStatus::kOk;
      case 2: {
        if (in.Remaining() < 2) return truncated();
        const std::uint8_t dx = in.U8();
        const std::uint8_t dy = in.U8();
        rows.Move(dx, dy);
        break;
      }
      default: {
        const std::size_t bytes = Bits == 8 ? value : (static_cast<std::size_t>(value) + 1) / 2;
        const ByteSpan run = in.Take(bytes);
        if (!in.Ok()) return truncated();
        for (int i = 0; i < value; ++i) {
          if (Bits == 8) {
            rows.Put(run[static_cast<std::size_t>(i)]);
          } else {
            const std::uint8_t b = run[static_cast<std::size_t>(i) / 2];
            rows.Put(static_cast<std::uint8_t>(i % 2 == 0 ? b >> 4 : b & 0x0F));
          }
        }
        // Absolute runs are padded to a 16-bit boundary; a file may end
        // right after its last run without the pad.
        if (bytes % 2 == 1 && !in.AtEnd()) in.Skip(1);
        break;
      }
    }
  }
  return ReadStatus::kOk;
}

}  // namespace pdf
