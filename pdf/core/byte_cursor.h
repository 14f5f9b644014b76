#pragma once
// ByteCursor: the one bounds-checked way the writer's file readers (fonts,
// images, drawings, PDF files) walk the bytes of an outside file.
//
// Every read is checked against the span. A read past the end returns 0 (or
// an empty span) and sets a sticky failure flag instead of touching memory
// outside the file, so a reader can read a whole structure and test Ok()
// once, rather than checking every field. Size arithmetic that comes from a
// file (offset + length, width x height x components) goes through the
// checked helpers below before anything is allocated from it.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

#include "pdf/core/bytes.h"

namespace pdf {

class ByteCursor {
 public:
  ByteCursor() = default;
  explicit ByteCursor(ByteSpan data) : data_(data) {}

  bool Ok() const { return ok_; }
  void Fail() { ok_ = false; }
  std::size_t Offset() const { return pos_; }
  std::size_t Size() const { return data_.size(); }
  std::size_t Remaining() const { return pos_ <= data_.size() ? data_.size() - pos_ : 0; }
  bool AtEnd() const { return pos_ >= data_.size(); }
  ByteSpan Data() const { return data_; }

  // Moves to an absolute offset; an offset past the end fails (the end
  // itself is allowed).
  bool Seek(std::size_t offset) {
    if (offset > data_.size()) {
      ok_ = false;
      pos_ = data_.size();
      return false;
    }
    pos_ = offset;
    return true;
  }
  bool Skip(std::size_t count) {
    if (count > Remaining()) {
      ok_ = false;
      pos_ = data_.size();
      return false;
    }
    pos_ += count;
    return true;
  }

  std::uint8_t U8() { return static_cast<std::uint8_t>(Read(1, false)); }
  std::uint16_t U16BE() { return static_cast<std::uint16_t>(Read(2, true)); }
  std::uint16_t U16LE() { return static_cast<std::uint16_t>(Read(2, false)); }
  std::uint32_t U32BE() { return static_cast<std::uint32_t>(Read(4, true)); }
  std::uint32_t U32LE() { return static_cast<std::uint32_t>(Read(4, false)); }
  std::int16_t S16BE() { return static_cast<std::int16_t>(U16BE()); }
  std::int16_t S16LE() { return static_cast<std::int16_t>(U16LE()); }
  std::int32_t S32BE() { return static_cast<std::int32_t>(U32BE()); }
  std::int32_t S32LE() { return static_cast<std::int32_t>(U32LE()); }

  // The next count bytes as a span (empty, and failed, when fewer remain).
  ByteSpan Take(std::size_t count) {
    if (count > Remaining()) {
      ok_ = false;
      pos_ = data_.size();
      return {};
    }
    ByteSpan out = data_.subspan(pos_, count);
    pos_ += count;
    return out;
  }

  // count bytes at an absolute offset, without moving; empty when the range
  // does not lie within the data (the cursor is not failed by this).
  ByteSpan At(std::size_t offset, std::size_t count) const {
    if (offset > data_.size() || count > data_.size() - offset) return {};
    return data_.subspan(offset, count);
  }

 private:
  std::uint64_t Read(std::size_t n, bool big_endian) {
    if (n > Remaining()) {
      ok_ = false;
      pos_ = data_.size();
      return 0;
    }
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint64_t b = data_[pos_ + i];
      v |= big_endian ? b << (8 * (n - 1 - i)) : b << (8 * i);
    }
    pos_ += n;
    return v;
  }

  ByteSpan data_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

// a + b, or nothing when the sum overflows size_t.
inline std::optional<std::size_t> CheckedAdd(std::size_t a, std::size_t b) {
  if (a > std::numeric_limits<std::size_t>::max() - b) return std::nullopt;
  return a + b;
}

// a * b, or nothing when the product overflows size_t.
inline std::optional<std::size_t> CheckedMul(std::size_t a, std::size_t b) {
  if (a != 0 && b > std::numeric_limits<std::size_t>::max() / a) return std::nullopt;
  return a * b;
}

// Whether [offset, offset + length) lies within a file of the given size.
inline bool RangeWithin(std::size_t offset, std::size_t length, std::size_t size) {
  return offset <= size && length <= size - offset;
}

}  // namespace pdf
