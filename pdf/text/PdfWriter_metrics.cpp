// The five standard font families: built-in widths, line height and descent.
// Each loader fills the record added last, Fonts[FontCount].

#include <algorithm>

#include "pdf/PdfWriter.h"
#include "pdf/text/standard_widths.h"
#include "pdf/text/text_case.h"

namespace pdf {

namespace {

// ",Bold", ",Italic" or ",BoldItalic" by style bits 1 and 2.
const char* StyleSuffix(std::int32_t style) {
  switch (style & 3) {
    case 1: return ",Bold";
    case 2: return ",Italic";
    case 3: return ",BoldItalic";
    default: return "";
  }
}

void FillRecord(FontRecord& r, std::string base_font, const standard_widths::WidthTable& widths,
                std::int16_t line_height, std::int32_t descent) {
  r.FontType = false;
  r.BaseFont = std::move(base_font);
  r.LineHeight = line_height;
  r.Descent = descent;
  std::copy(std::begin(widths), std::end(widths), r.Widths.begin());
  r.Key = text_case::Upper(r.BaseFont);
}

}  // namespace

void PdfWriter::LoadArialMetrics(std::int32_t& Style) {
  FillRecord(Text.Fonts.at(Text.FontCount), std::string("Arial") + StyleSuffix(Style),
             standard_widths::kArialWidths[Style & 3], 1221, -221);
}

void PdfWriter::LoadCourierNewMetrics(std::int32_t& Style) {
  FillRecord(Text.Fonts.at(Text.FontCount), std::string("CourierNew") + StyleSuffix(Style),
             standard_widths::kCourierNewWidths, 1133, -300);
}

void PdfWriter::LoadTimesNewRomanMetrics(std::int32_t& Style) {
  FillRecord(Text.Fonts.at(Text.FontCount), std::string("TimesNewRoman") + StyleSuffix(Style),
             standard_widths::kTimesNewRomanWidths[Style & 3], 1107, -216);
}

void PdfWriter::LoadSymbolMetrics() {
  FillRecord(Text.Fonts.at(Text.FontCount), "Symbol", standard_widths::kSymbolWidths, 1225,
             -220);
}

void PdfWriter::LoadZapfDingbatsMetrics() {
  FillRecord(Text.Fonts.at(Text.FontCount), "ZapfDingbats", standard_widths::kZapfDingbatsWidths,
             1221, -221);
}

}  // namespace pdf
