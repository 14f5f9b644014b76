// Text state, measuring, and single lines of text: one text object per line,
// in the current font and text colour, placed, justified, shrunk or stretched
// by its Align value, optionally ruled.

#include <cmath>
#include <string>
#include <vector>

#include "pdf/PdfWriter.h"
#include "pdf/core/pdf_name.h"

namespace pdf {

void PdfWriter::SetCharSpacing(float w) {
  Text.CharSpacing = w;
  AppendContent(FormatNumber(w) + " Tc");
}

void PdfWriter::SetWordSpacing(float w) {
  Text.WordSpacing = w;
  AppendContent(FormatNumber(w) + " Tw");
}

void PdfWriter::SetTextHorizontalScaling(float Percent) {
  Text.HorizontalScaling = Percent;
  AppendContent(FormatNumber(Percent) + " Tz");
}

void PdfWriter::SetTextMode(std::int32_t Mode) {
  if (Mode < -32768 || Mode > 32767) throw PdfError(6);
  if (Mode < 0 || Mode > 7) throw PdfError(5);  // PDF has rendering modes 0 to 7
  AppendContent(std::to_string(Mode) + " Tr");
}

void PdfWriter::SetTextLineSpacing(float Value) {
  if (Value >= 0) Text.LineSpacing = Value;
}

const FontRecord* PdfWriter::CurrentFontRecord() const {
  if (Text.FontIndex < 1 || Text.FontIndex > Text.FontCount) return nullptr;
  if (static_cast<std::size_t>(Text.FontIndex) >= Text.Fonts.size()) return nullptr;
  return &Text.Fonts[static_cast<std::size_t>(Text.FontIndex)];
}

float PdfWriter::TextHeight() const {
  const FontRecord* font = CurrentFontRecord();
  if (font == nullptr) return 0;
  if (Pages.ScaleFactor == 0) throw PdfError(11);
  return font->LineHeight * Text.FontSize / 1000 / Pages.ScaleFactor;
}

float PdfWriter::TextLength(const std::string& Phrase) const {
  const FontRecord* font = CurrentFontRecord();
  if (font == nullptr) return 0;
  if (Pages.ScaleFactor == 0) throw PdfError(11);
  const FontRecord& r = *font;
  // Single precision on purpose: the wrap points of text boxes depend on it.
  // The widths are whole numbers: while their running sum stays below 2^24
  // every single-precision partial sum is exact, so adding them as integers
  // gives the same value without a chain of dependent float additions.
  std::int64_t sum = 0;
  std::int32_t blanks = 0;
  bool negative = false;
  for (char c : Phrase) {
    const unsigned char code = static_cast<unsigned char>(c);
    const std::int32_t w = r.Widths[code];
    sum += w;
    negative |= w < 0;
    blanks += code == 32;
  }
  float widths = static_cast<float>(sum);
  if (negative || sum >= (std::int64_t{1} << 24)) {
    widths = 0;
    for (char c : Phrase) widths += r.Widths[static_cast<unsigned char>(c)];
  }
  const auto characters = static_cast<float>(Phrase.size());
  float result = widths * Text.FontSize / 1000;
  result += static_cast<float>(blanks) * Text.WordSpacing;
  result += characters * Text.CharSpacing;
  return result * Text.HorizontalScaling / 100 / Pages.ScaleFactor;
}

void PdfWriter::DrawTextLine(float X, float Y, float Width, const std::string& Line,
                             float Indent, std::int32_t Align, bool NewLine) {
  const float scale = Pages.ScaleFactor;
  float L = 0;  // the length the rules span and the current point advances by
  float A = 0;  // the line advance in points

  if (Line.find_first_not_of(' ') != std::string::npos) {
    const FontRecord* current = CurrentFontRecord();
    if (current == nullptr) throw PdfError(9);  // no font selected
    const FontRecord& font = *current;
    ContentRollback rollback(*this);  // no half text object if a value fails

    // Shrinking and fitting measure at 100 % and set the scaling themselves.
    const float H0 = Text.HorizontalScaling;
    bool measured_unscaled = false;
    struct RestoreScaling {
      PdfWriter& w;
      const bool& active;
      float value;
      ~RestoreScaling() {
        if (active) w.Text.HorizontalScaling = value;
      }
    } restore{*this, measured_unscaled, H0};

    float M = 0;
    std::int32_t g = 0;  // blanks of a justified line
    float b = 0;         // width of one blank
    if ((Align & AlignJustify) == 0) {
      if (Align & (AlignShrink | AlignFit)) {
        Text.HorizontalScaling = 100;
        measured_unscaled = true;
      }
      L = TextLength(Line);
      M = L;
    } else {
      std::vector<std::string> words;
      SplitText(Line, words, " ");
      g = static_cast<std::int32_t>(words.size()) - 1;
      float S = 0;
      for (const std::string& w : words) S += TextLength(w);
      b = TextLength(" ");
      L = static_cast<float>(g) * b + S;
      M = S;
    }
    if (Indent != 0) M += Indent;

    float D = 0;
    std::string prefix, suffix;
    switch (Align & 455) {
      case AlignRight:
        D = Width - M;
        break;
      case AlignCenter:
        D = (Width - M) / 2;
        break;
      case AlignJustify:
        if (g >= 1) {
          const float E = Width - M - static_cast<float>(g) * b;
          const float e = E / static_cast<float>(g);
          prefix = FormatUnits(e) + " Tw ";
          suffix.assign(" ").append(FormatNumber(Text.WordSpacing)).append(" Tw");
          L += E;
        }
        break;
      case AlignShrink:
      case AlignFit:
        // A line that measures nothing cannot be scaled to a width: it is
        // drawn as it is rather than with an infinite scaling.
        if (M > 0) {
          const float T = Width * 100 / M;
          if (M > Width) {
            prefix = FormatNumber(T) + " Tz ";
            suffix.assign(" ").append(FormatNumber(H0)).append(" Tz");
          } else if ((Align & 455) == AlignFit) {
            prefix = FormatNumber(T) + " Tz ";
            suffix.assign("  ").append(FormatNumber(H0)).append(" Tz");
          }
        }
        break;
      default:
        break;
    }
    D += Indent;

    const float bottom =
        Pages.PageHeight - Y * scale + Text.FontSize * static_cast<float>(font.Descent) / 1000;
    SetLastRect((X + D) * scale, bottom, (X + D + M) * scale,
                bottom + TextHeight() * Text.LineSpacing * scale);

    A = TextHeight() * scale * Text.LineSpacing;
    const float x = (X + D) * scale;

    // Every number is written out before the first line goes in, so a value
    // that cannot be written leaves neither content nor swapped colours.
    const std::string size = FormatNumber(Text.FontSize);
    const std::string x_text = FormatNumber(x);
    const std::string y_text = FormatUnits(Y);
    const std::int32_t rules = Text.FontStyle & (FontUnderline | FontOverline | FontStrikeOut);
    const std::string rule_length = rules != 0 ? FormatUnits(L) : std::string();
    // A line width is never negative: a negative size (text drawn upside
    // down) rules its text as thick as its magnitude.
    const std::string rule_width = rules != 0 ? FormatNumber(std::fabs(Text.FontSize) / 16) : std::string();

    // A text object may not stand inside a path (and the rules' "S" would
    // stroke it too): a path the caller left open is ended first, before
    // anything of the text's own (its colour, "BT").
    EndOpenPath();
    const std::string kept_fill = Colours.FillColor;
    const std::string kept_fill_pattern = Colours.FillPatternColor;
    SetColorFill(Colours.TextColor + ";" + Colours.TextPatternColor);
    // A token is never empty (it holds at least the "/"): an empty one is a
    // cache not filled yet, whatever name it was last taken for.
    if (Text.FontToken.empty() || Text.FontTokenOf != Text.FontResource) {
      Text.FontToken = NameToken(Text.FontResource);
      Text.FontTokenOf = Text.FontResource;
    }
    AppendContent("BT");
    AppendContent({Text.FontToken, " ", size, " Tf ", size, " TL"});
    AppendContent({"1 0 0 -1 ", x_text, " ", y_text, " Tm"});
    AppendContent({prefix, "(", EscapeString(Line), ") Tj", suffix});
    AppendContent("ET");
    SetColorFill(kept_fill + ";" + kept_fill_pattern);

    if (rules != 0) {
      const std::string kept_line = Colours.LineColor;
      const std::string kept_line_pattern = Colours.LinePatternColor;
      AppendContent("q");
      SetColorLine(Colours.TextColor + ";" + Colours.TextPatternColor);
      AppendContent(rule_width + " w ");
      AppendContent("1 0 0 1 " + x_text + " " + y_text + " cm");
      const float offsets[3] = {Text.FontSize / 8, static_cast<float>(-0.8 * Text.FontSize),
                                static_cast<float>(-0.3 * Text.FontSize)};
      const std::int32_t bits[3] = {FontUnderline, FontOverline, FontStrikeOut};
      for (int i = 0; i < 3; ++i) {
        if ((rules & bits[i]) == 0) continue;
        const std::string d = FormatNumber(offsets[i]);
        AppendContent("0 " + d + " m " + rule_length + " " + d + " l S");
      }
      SetColorLine(kept_line + ";" + kept_line_pattern);
      AppendContent("Q");
    }
  }

  if (NewLine) {
    Pages.CurrentX = 0;
    Pages.CurrentY = Y * scale + A;
  } else {
    Pages.CurrentX = (X + L) * scale;
    Pages.CurrentY = Y * scale;
  }
}

void PdfWriter::DrawText(float X, float Y, const std::string& Line, std::int32_t Align) {
  DrawTextLine(X, Y, 0, Line, 0, Align & 7, false);
}

void PdfWriter::WriteText(const std::string& Line, std::int32_t TextStyle, float PercenteSize) {
  const float F0 = Text.FontSize;
  const float Y0 = Pages.CurrentY;
  const float scale = Pages.ScaleFactor;
  if (scale == 0) throw PdfError(11);
  // The size and the baseline are the caller's again afterwards, also when
  // drawing fails.
  struct Restore {
    PdfWriter& w;
    float size, y;
    ~Restore() {
      w.Text.FontSize = size;
      w.Pages.CurrentY = y;
    }
  } restore{*this, F0, Y0};

  float Y = Y0 / scale;
  if (TextStyle != 0) {
    const float h0 = TextHeight();
    Text.FontSize = PercenteSize / 100 * F0;
    const FontRecord* font = CurrentFontRecord();
    const float descent = font == nullptr ? 0.0f : static_cast<float>(font->Descent);
    switch (TextStyle) {
      case 1:  // superscript
        Y = (Y0 - Text.FontSize * descent / 1000) / scale - h0 / 2;
        break;
      case 2:  // subscript
        Y = (Y0 - (F0 + Text.FontSize) * descent / 1000) / scale;
        break;
      default:  // 3, smaller on the same baseline; other values alike
        Y = Y0 / scale;
        break;
    }
  }
  DrawTextLine(Pages.CurrentX / scale, Y, 0, Line, 0, AlignLeft, false);
}

void PdfWriter::WriteTextLn(const std::string& Line) {
  if (Pages.ScaleFactor == 0) throw PdfError(11);
  DrawTextLine(Pages.CurrentX / Pages.ScaleFactor, Pages.CurrentY / Pages.ScaleFactor, 0, Line, 0,
               AlignLeft, true);
}

}  // namespace pdf
