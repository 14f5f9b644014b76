// Barcodes: the six symbologies drawn as filled rectangles in the current
// fill colour, with their human-readable text. Lengths are fixed in points
// for a zoom of 1; each drawer turns them into user units, and every operand
// goes back to points through FormatUnits.

#include <string>

#include "pdf/PdfWriter.h"
#include "pdf/graphics/barcode_symbols.h"

namespace pdf {

namespace {

float ClampZoom(float Zoom) {
  if (!(Zoom >= 0.8f)) return 0.8f;  // NaN too
  return Zoom > 2.0f ? 2.0f : Zoom;
}

// Sizes of one drawing, in user units.
struct BarSizes {
  float zoom = 1;
  float perPoint = 1;  // user units per point
  float text = 0;      // the text height t
  float bar = 0;       // the bar height h

  float Points(float points) const { return points * zoom * perPoint; }
};

// Height 0 gives the default bar height; any other the bars and the text
// together; bars at least one module (narrow element) high.
BarSizes Sizes(float scale, float zoom, bool showCode, float height, float defaultPoints,
               float modulePoints) {
  if (scale == 0) throw PdfError(11);
  BarSizes s;
  s.zoom = ClampZoom(zoom);
  s.perPoint = 1 / scale;
  s.text = showCode ? s.Points(4.68f) : 0;
  s.bar = height == 0 ? s.Points(defaultPoints) : height - s.text;
  if (!(s.bar > 0)) s.bar = s.Points(modulePoints);
  return s;
}

}  // namespace

float PdfWriter::DrawBarCode(std::int32_t BarCodeType, const std::string& Code, float X, float Y,
                             bool ShowCode, float ZoomFactor, float Height, bool AddCheck) {
  if (BarCodeType < 0 || BarCodeType > 5) return 0;
  // Data the symbology cannot hold draws nothing at all, not even the style
  // restored around the text.
  if (BarCodeType == 4 && barcode::Code128Modules(Code).empty()) return 0;
  if (BarCodeType == 1 && barcode::Code39Characters(Code, false).empty()) return 0;
  // A barcode that fails part-way (a text placed out of range, say) is
  // taken back whole, and the style saved for its text is restored all
  // the same: the caller's colours, width and font, and the style stack as
  // it was, so that an enclosing table restores its own style later.
  ContentRollback rollback(*this);
  if (ShowCode) PushStyle();
  const std::int32_t depth = Navigation.StyleDepth;
  float width = 0;
  try {
    switch (BarCodeType) {
      case 0: width = DrawEan13(Code, X, Y, ShowCode, ZoomFactor, Height); break;
      case 1: width = DrawCode39(Code, X, Y, ShowCode, ZoomFactor, Height, AddCheck); break;
      case 2: width = DrawInterleaved2of5(Code, X, Y, ShowCode, ZoomFactor, Height, AddCheck); break;
      case 3: width = DrawPostnet(Code, X, Y, ShowCode, ZoomFactor); break;
      case 4: width = DrawCode128(Code, X, Y, ShowCode, ZoomFactor, Height); break;
      default: width = DrawEan8(Code, X, Y, ShowCode, ZoomFactor, Height); break;
    }
  } catch (const PdfError&) {
    if (ShowCode) {
      // What PopStyle writes is taken back with the rest; should it fail
      // itself, the entry is dropped still.
      try {
        PopStyle();
      } catch (const PdfError&) {
      }
      if (Navigation.StyleDepth == depth) Navigation.StyleDepth -= 1;
    }
    throw;
  }
  if (ShowCode) PopStyle();
  return width;
}

void PdfWriter::DrawBar(float X, float Y, float Width, float Height) {
  const std::string bar = FormatUnits(X) + " " + FormatUnits(Y) + " " + FormatUnits(Width) + " " +
                          FormatUnits(Height) + " re f*";
  // The bar's "f*" would fill a path the caller left open too: that path is
  // ended first (by the first bar; the later ones find none open). A bar
  // whose numbers cannot be written leaves it as it is.
  EndOpenPath();
  AppendContent(bar);
}

void PdfWriter::SetBarcodeFont(float Zoom) { SetFont("CourierNew", 10.08f * Zoom, 0, 0); }

// ---- module symbologies: Code 128, EAN-13, EAN-8 ---------------------------------

float PdfWriter::DrawCode128(const std::string& Code, float X, float Y, bool ShowCode,
                             float ZoomFactor, float Height) {
  const std::string modules = barcode::Code128Modules(Code);
  if (modules.empty()) return 0;
  const BarSizes s = Sizes(Pages.ScaleFactor, ZoomFactor, ShowCode, Height, 14.4f, 0.72f);
  const float m = s.Points(0.72f);
  float x = X + 10 * m;
  for (char c : modules) {
    if (c == '1') DrawBar(x, Y, m, s.bar);
    x += m;
  }
  const float width = x + 9 * m - X;
  if (ShowCode) {
    SetBarcodeFont(s.zoom);
    DrawText(X + width / 2, Y + s.bar + 1.6f * s.text, Code, 4);
  }
  return width;
}

namespace {

// Whether module k of an EAN symbol of `count` modules is a guard bar
// (start, centre and end guards), drawn down into the text line.
bool EanGuard(std::size_t k, std::size_t count) {
  const std::size_t centre = count / 2;
  return k == 0 || k == 2 || k == centre - 1 || k == centre + 1 || k == count - 3 ||
         k == count - 1;
}

}  // namespace

float PdfWriter::DrawEan13(const std::string& Code, float X, float Y, bool ShowCode,
                           float ZoomFactor, float Height) {
  const barcode::EanSymbol symbol = barcode::Ean13(Code);
  return DrawEan(symbol.Digits, symbol.Modules, X, Y, ShowCode, ZoomFactor, Height);
}

float PdfWriter::DrawEan8(const std::string& Code, float X, float Y, bool ShowCode,
                          float ZoomFactor, float Height) {
  const barcode::EanSymbol symbol = barcode::Ean8(Code);
  return DrawEan(symbol.Digits, symbol.Modules, X, Y, ShowCode, ZoomFactor, Height);
}

float PdfWriter::DrawEan(const std::string& Digits, const std::string& Modules, float X, float Y,
                         bool ShowCode, float ZoomFactor, float Height) {
  const bool ean13 = Digits.size() == 13;
  const BarSizes s =
      Sizes(Pages.ScaleFactor, ZoomFactor, ShowCode, Height, ean13 ? 64.8f : 48.96f, 0.936f);
  const float m = s.Points(0.936f);
  const std::size_t count = Modules.size();
  float x = X + 11 * m;
  for (std::size_t k = 0; k < count; ++k) {
    if (Modules[k] == '1') DrawBar(x, Y, m, EanGuard(k, count) ? s.bar + s.text : s.bar);
    x += m;
  }
  if (ShowCode) {
    // EAN-13: the first digit before the bars, six under each half; EAN-8:
    // four under each half.
    const float baseline = Y + s.bar + 1.6f * s.text;
    SetBarcodeFont(s.zoom);
    if (ean13) DrawText(X + 3 * m, baseline, Digits.substr(0, 1), 1);
    const std::size_t first = ean13 ? 1 : 0, half = ean13 ? 6 : 4;
    DrawText(X + (ean13 ? 35 : 28) * m, baseline, Digits.substr(first, half), 4);
    DrawText(X + (ean13 ? 82 : 61) * m, baseline, Digits.substr(first + half, half), 4);
  }
  return static_cast<float>(11 + count + 7) * m;
}

// ---- element symbologies: Code 39, Interleaved 2 of 5 ----------------------------

float PdfWriter::DrawCode39(const std::string& Code, float X, float Y, bool ShowCode,
                            float ZoomFactor, float Height, bool AddCheck) {
  const std::string symbol = barcode::Code39Characters(Code, AddCheck);
  if (symbol.empty()) return 0;
  // Each character's nine elements and the narrow gap that follows it; bars
  // are printed a little thinner than their element, for ink spread.
  std::string elements;
  for (char c : symbol) elements += std::string(barcode::Code39Elements(c)) + "n";
  return DrawElements(elements, 0.8f, 10, 9, Code, X, Y, ShowCode, ZoomFactor, Height);
}

float PdfWriter::DrawInterleaved2of5(const std::string& Code, float X, float Y, bool ShowCode,
                                     float ZoomFactor, float Height, bool AddCheck) {
  return DrawElements(barcode::Interleaved2of5Elements(Code, AddCheck), 1, 5, 5, Code, X, Y,
                      ShowCode, ZoomFactor, Height);
}

float PdfWriter::DrawElements(const std::string& Elements, float BarFraction, float QuietLeft,
                              float QuietRight, const std::string& Text, float X, float Y,
                              bool ShowCode, float ZoomFactor, float Height) {
  const BarSizes s = Sizes(Pages.ScaleFactor, ZoomFactor, ShowCode, Height, 14.4f, 0.72f);
  const float narrow = s.Points(0.72f);
  float x = X + QuietLeft * narrow;
  for (std::size_t e = 0; e < Elements.size(); ++e) {
    const float w = Elements[e] == 'w' ? 3 * narrow : narrow;
    if (e % 2 == 0) DrawBar(x, Y, BarFraction * w, s.bar);
    x += w;
  }
  const float width = x + QuietRight * narrow - X;
  if (ShowCode) {
    SetBarcodeFont(s.zoom);
    DrawText(X + width / 2, Y + s.bar + 1.6f * s.text, Text, 4);
  }
  return width;
}

// ---- POSTNET ------------------------------------------------------------------------

float PdfWriter::DrawPostnet(const std::string& Code, float X, float Y, bool ShowCode,
                             float ZoomFactor) {
  const std::string bars = barcode::PostnetBars(Code);
  const BarSizes s = Sizes(Pages.ScaleFactor, ZoomFactor, ShowCode, 0, 9, 1.44f);
  const float barWidth = s.Points(1.44f), pitch = s.Points(3.6f);
  const float full = s.Points(9), half = s.Points(3.6f);
  float x = X + s.Points(7.2f);
  for (char c : bars) {
    if (c == '1') DrawBar(x, Y, barWidth, full);
    else DrawBar(x, Y + full - half, barWidth, half);  // on the same base line
    x += pitch;
  }
  const float width = x + s.Points(7.2f) - X;
  if (ShowCode) {
    SetBarcodeFont(s.zoom);
    DrawText(X + width / 2, Y + s.Points(14.4f) + s.text, Code, 4);
  }
  return width;
}

}  // namespace pdf
