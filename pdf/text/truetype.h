#pragma once
// The TrueType reader behind AddFont: the metrics a simple PDF font needs for
// the 256 single-byte codes, read from the bytes of a font file.
//
// Accepted: TrueType outline fonts ("sfnt" version 1.0 or "true") with the
// tables head, hhea, hmtx, OS/2, post, name, cmap, loca and glyf, and a
// Windows (platform 3) cmap subtable of format 4. Refused with a status:
// CFF-flavoured fonts ("OTTO"), font collections ("ttcf"), anything else
// that is not a TrueType font, a missing table, a table or glyph that does
// not lie within the file, values that do not fit the PDF font's 16-bit
// fields, and fonts without a Windows full name. Every read goes through
// ByteCursor over the table it belongs to, so no input reads outside the
// file; the work is bounded by the 256 codes (one glyph each, looked up
// over the cmap's segments) and the record counts of cmap and name.
//
// The codes are Windows-1252 text. Code c is looked up in the cmap as the
// Unicode value of that Windows-1252 byte (so 128 is the euro sign), or, for
// a symbol font (cmap encoding 0), as F000 + c, falling back to c itself for
// the symbol fonts that map the plain range.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "pdf/core/bytes.h"

namespace pdf {

enum class TrueTypeStatus {
  kOk,
  kNotTrueType,     // not an sfnt file (or an empty one)
  kCffOutlines,     // "OTTO": PostScript outlines, not TrueType
  kCollection,      // "ttcf": a collection of fonts, not one font
  kMissingTable,    // one of the nine tables is not in the directory
  kOutOfRange,      // a table, record, string or glyph lies outside its data
  kNoUnitsPerEm,    // head.unitsPerEm is 0
  kOverflow,        // a scaled value does not fit 16 bits
  kNoWindowsCmap,   // no platform-3 cmap subtable of format 4
  kNoFontName,      // no Windows full name (name ID 4)
};

// A short English description of a status, for error messages.
std::string_view TrueTypeStatusText(TrueTypeStatus status);

// What AddFont takes from a font. Lengths are in thousandths of the em,
// rounded half to even.
struct TrueTypeFont {
  std::array<std::int16_t, 256> Widths{};  // advance width of each code
  // Box of the simple glyphs of the 256 codes, and of the origin.
  std::int16_t XMin = 0, YMin = 0, XMax = 0, YMax = 0;
  std::int16_t AvgWidth = 0;      // OS/2 xAvgCharWidth
  std::int16_t Ascent = 0;        // OS/2 usWinAscent
  std::int16_t Descent = 0;       // OS/2 usWinDescent, negated
  std::int16_t MaxWidth = 0;      // hhea advanceWidthMax
  std::int16_t MissingWidth = 0;  // advance of glyph 0
  float ItalicAngle = 0;          // post italicAngle, rounded to 2 decimals
  std::uint16_t WeightClass = 0;  // OS/2 usWeightClass
  bool Symbolic = false;          // the cmap subtable used is (3, 0)
  bool FixedPitch = false;        // post isFixedPitch
  std::string FontName;           // full name, low byte of each UTF-16 unit, blanks dropped
};

struct TrueTypeResult {
  TrueTypeStatus status = TrueTypeStatus::kOk;
  std::string detail;  // what failed: a table tag, a glyph number
  TrueTypeFont font;   // meaningful only when status is kOk
};

// Reads the metrics of a whole TrueType font file.
TrueTypeResult ReadTrueType(ByteSpan data);

}  // namespace pdf
