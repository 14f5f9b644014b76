#pragma once
// The cross-reference tables of a PDF file: where "startxref" says the
// newest section is, each classic "xref" section with its trailer, and the
// older sections its /Prev chain reaches. Each section is read once (a /Prev
// that leads back to a section already read ends the chain). Entries of a
// newer section win over those of older ones, free ("f") entries included.
//
// Cross-reference streams and object streams are not read: a file that uses
// them is refused with failure 321, as is a file without a table.

#include <cstdint>
#include <vector>

#include "pdf/core/bytes.h"
#include "pdf/interactive/pdf_objects.h"

namespace pdf {

struct PdfXref {
  // Byte offset of each object number; 0 = free, not listed, or an offset
  // outside the file (the object reads as missing).
  std::vector<std::int32_t> offsets;
  std::int32_t root = 0;  // /Root of the newest trailer that has one
  std::int32_t info = 0;  // /Info likewise
  bool encrypted = false; // a trailer has /Encrypt (nothing else is read then)
};

// Files longer than this are not read (offsets are 32-bit).
constexpr std::size_t kMaxPdfFileSize = 0x7FFFFFFF;

// The offset after the last "startxref" in the file's last 1024 bytes.
PdfStatus FindStartXref(ByteSpan file, std::size_t& offset);

PdfStatus ReadPdfXref(ByteSpan file, PdfXref& xref);

}  // namespace pdf
