#pragma once
// Built-in advance widths of the five standard font families, in thousandths
// of the font size, indexed by character code 0 to 255. The tables are
// generated once from published metrics (tools/fonts/make_width_tables.py);
// measuring text never reads a font file.

#include <cstdint>

namespace pdf::standard_widths {

using WidthTable = std::int16_t[256];

// Index by style bits 1 (bold) and 2 (italic): regular, bold, italic, bold italic.
extern const WidthTable kArialWidths[4];
extern const WidthTable kTimesNewRomanWidths[4];
extern const WidthTable kCourierNewWidths;
extern const WidthTable kSymbolWidths;
extern const WidthTable kZapfDingbatsWidths;

}  // namespace pdf::standard_widths
