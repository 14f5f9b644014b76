// Coordinate transforms, spaces (saved graphics state with a new origin),
// tables of cells laid out row by row or column by column, and the style
// stack that saves and restores colours, line width, font, scale and the
// current point.

#include "pdf/PdfWriter.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace pdf {

namespace {

constexpr double kDegToRad = 0.0174532925199433;

}  // namespace

// ---- transforms -------------------------------------------------------------

// A transform ends a path the caller left open first: like "q" and "Q",
// "cm" belongs between paths, never inside one, where PDF admits only the
// path's construction, its clip and the operator that paints it.

void PdfWriter::AxisRotation(float Angle) {
  // The whole-degree angle (halves to even) decides whether anything turns;
  // the matrix itself uses the exact angle.
  const double whole = std::nearbyint(static_cast<double>(Angle));
  if (!(std::fabs(whole) < 2147483648.0)) throw PdfError(6);
  if (static_cast<std::int64_t>(whole) % 360 == 0) return;
  const double r = Angle * kDegToRad;
  const float c = static_cast<float>(std::cos(r));
  const float m = static_cast<float>(-std::sin(r));
  const std::string line = FormatNumber(c) + " " + FormatNumber(m) + " " + FormatNumber(-m) + " " +
                           FormatNumber(c) + " 0 0 cm";
  EndOpenPath();
  AppendContent(line);
  Transformed(RoundValue(c), RoundValue(m), RoundValue(-m), RoundValue(c), 0, 0);
}

// The number text of a scale; a scale written as 0 makes the matrix
// singular (nothing drawn after it could be shown, and text under it stops
// readers), so it is refused as an invalid operand.
std::string PdfWriter::ScaleText(float Scale) {
  std::string text = FormatNumber(Scale);
  if (text == "0") throw PdfError(5);
  return text;
}

void PdfWriter::AxisScaling(float ScaleX, float ScaleY) {
  const std::string line = ScaleText(ScaleX) + " 0 0 " + ScaleText(ScaleY) + " 0 0 cm";
  EndOpenPath();
  AppendContent(line);
  Transformed(RoundValue(ScaleX), 0, 0, RoundValue(ScaleY), 0, 0);
}

void PdfWriter::AxisSkewing(float AngleX, float AngleY) {
  const float tx = static_cast<float>(std::tan(AngleX * kDegToRad));
  const float ty = static_cast<float>(std::tan(AngleY * kDegToRad));
  const std::string x = FormatNumber(tx), y = FormatNumber(ty);
  // The matrix [1 tx ty 1] is singular when tx * ty is 1 as written (both
  // angles 45 degrees, say): counted in the thousandths the text holds.
  if (std::llround(static_cast<double>(RoundValue(tx)) * 1000) *
          std::llround(static_cast<double>(RoundValue(ty)) * 1000) ==
      1000000)
    throw PdfError(5);
  EndOpenPath();
  AppendContent("1 " + x + " " + y + " 1 0 0 cm");
  Transformed(1, RoundValue(tx), RoundValue(ty), 1, 0, 0);
}

void PdfWriter::AxisTranslation(float TranslateX, float TranslateY) {
  const std::string line = "1 0 0 1 " + FormatPoint(TranslateX, TranslateY) + " cm";
  EndOpenPath();
  AppendContent(line);
  const float s = Pages.ScaleFactor;
  Transformed(1, 0, 0, 1, RoundValue(TranslateX * s), RoundValue(TranslateY * s));
  SetXY(0, 0);
}

// ---- spaces -------------------------------------------------------------------

void PdfWriter::BeginSpace(float NewX, float NewY, float ScaleX, float ScaleY, float Angle) {
  ContentRollback rollback(*this);  // no open "q" when a value fails
  OpenSave();  // a path the caller left open ends before it
  if (!(NewX == 0 && NewY == 0 && ScaleX == 1 && ScaleY == 1)) {
    const std::string sx = ScaleText(ScaleX);
    AppendContent(sx + " 0 0 " + ScaleText(ScaleY) + " " + FormatPoint(NewX, NewY) + " cm");
    Transformed(RoundValue(ScaleX), 0, 0, RoundValue(ScaleY), RoundValue(NewX * Pages.ScaleFactor),
                RoundValue(NewY * Pages.ScaleFactor));
  }
  if (Angle != 0) AxisRotation(Angle);
  SetXY(0, 0);
}

void PdfWriter::EndSpace() { CloseSave(); }

// ---- tables -------------------------------------------------------------------

void PdfWriter::BeginTable(float X, float Y) {
  // The table's "q" ends a path the caller left open (the cells' painting
  // would paint it too). The style is saved last, once nothing can fail:
  // a table that does not begin leaves no style behind for EndTable.
  ContentRollback rollback(*this);
  OpenSave();
  SetXY(X, Y);
  Navigation.TableX = X;
  Navigation.TableY = Y;
  PushStyle();
  Navigation.RowOpen = false;
  Navigation.ColumnOpen = false;
}

// A cell at (TableX, TableY) of the given size: its own space, a background
// inset by half the line width, and a frame when lines have a width.
void PdfWriter::BeginCell(float Width, float Height) {
  ContentRollback rollback(*this);
  const float width = Colours.LineWidth;  // points, never negative
  const float s = Pages.ScaleFactor;
  // The cell's space ends a path the caller opened inside the table before
  // its "q" (the cell's "f*" or "S" would paint that path too).
  BeginSpace(Navigation.TableX, Navigation.TableY, 1, 1, 0);
  if (!Colours.FillColor.empty()) {
    // The background lies half the line width inside the frame, whichever
    // way the cell runs on the page (a negative size or a negative scale
    // runs it left or up).
    const float dx = Width * s < 0 ? -width : width;
    const float dy = Height * s < 0 ? -width : width;
    AppendContent(FormatNumber(dx / 2) + " " + FormatNumber(dy / 2) + " " +
                  FormatPoint(Width - dx / s, Height - dy / s) + " re f*");
  }
  if (width > 0) AppendContent("0 0 " + FormatPoint(Width, Height) + " re S");
  // Last, once nothing can fail: a cell that does not begin leaves no entry.
  Navigation.CellFonts.push_back({SelectedFont(), Navigation.StyleDepth});
}

// A cell is a saved graphics state, and the font belongs to it: a font the
// cell selects ends with the cell's "Q", as it does for readers.
void PdfWriter::EndCell() {
  EndSpace();
  if (!Navigation.CellFonts.empty() && Navigation.CellFonts.back().StyleDepth == Navigation.StyleDepth) {
    RestoreFont(Navigation.CellFonts.back().Font);
    Navigation.CellFonts.pop_back();
  }
}

void PdfWriter::BeginRow(float Height) {
  if (Navigation.ColumnOpen) {
    BeginCell(Navigation.ColumnWidth, Height);
    Navigation.TableY = Navigation.TableY + Height;
  } else {
    Navigation.RowHeight = Height;
    PushStyle();
    Navigation.RowOpen = true;
  }
}

void PdfWriter::BeginColumn(float Width) {
  if (Navigation.RowOpen) {
    BeginCell(Width, Navigation.RowHeight);
    Navigation.TableX = Navigation.TableX + Width;
  } else {
    Navigation.ColumnWidth = Width;
    PushStyle();
    Navigation.ColumnOpen = true;
  }
}

// The ends of columns, rows and tables end a path the caller opened inside
// them before the style they restore and their "Q".

void PdfWriter::EndColumn() {
  if (!Navigation.RowOpen) {
    if (Navigation.StyleDepth > 0) EndOpenPath();
    PopStyle();
    Navigation.TableX = Navigation.TableX + Navigation.ColumnWidth;
    Navigation.TableY = Pages.CurrentY / Pages.ScaleFactor;
  } else {
    EndCell();
  }
  Navigation.ColumnOpen = false;
}

void PdfWriter::EndRow() {
  if (!Navigation.ColumnOpen) {
    if (Navigation.StyleDepth > 0) EndOpenPath();
    PopStyle();
    Pages.CurrentY = Pages.CurrentY + Navigation.RowHeight * Pages.ScaleFactor;
    Navigation.TableX = Pages.CurrentX / Pages.ScaleFactor;
    Navigation.TableY = Navigation.TableY + Navigation.RowHeight;
  } else {
    EndCell();
  }
  Navigation.RowOpen = false;
}

void PdfWriter::EndTable() {
  ContentRollback rollback(*this);
  if (Navigation.StyleDepth > 0) EndOpenPath();
  CloseSave();
  PopStyle();
}

// ---- style stack ----------------------------------------------------------------

void PdfWriter::PushStyle() {
  Navigation.StyleDepth += 1;
  GrowTable(Navigation.StyleStack, Navigation.StyleDepth);
  SavedStyle& saved = Navigation.StyleStack[static_cast<std::size_t>(Navigation.StyleDepth)];
  saved.ScaleFactor = Pages.ScaleFactor;
  saved.CurrentX = Pages.CurrentX;
  saved.CurrentY = Pages.CurrentY;
  saved.FillColor = Colours.FillColor;
  saved.FillPatternColor = Colours.FillPatternColor;
  saved.LineColor = Colours.LineColor;
  saved.LinePatternColor = Colours.LinePatternColor;
  saved.TextColor = Colours.TextColor;
  saved.TextPatternColor = Colours.TextPatternColor;
  saved.Font = SelectedFont();
  saved.LineWidth = Colours.LineWidth;
}

void PdfWriter::PopStyle() {
  if (Navigation.StyleDepth < 1) return;
  ContentRollback rollback(*this);
  // A copy: the setters below may grow other tables, never this one, but the
  // entry must not be read through a reference while members run.
  const SavedStyle saved =
      Navigation.StyleStack[static_cast<std::size_t>(Navigation.StyleDepth)];
  // The font selection comes back as it was, not selected again by name:
  // that would turn a MacRoman selection into WinAnsi, and leave a font
  // that the table or barcode selected where the caller had none.
  RestoreFont(saved.Font);
  Pages.CurrentX = saved.CurrentX;
  Pages.CurrentY = saved.CurrentY;
  Pages.ScaleFactor = saved.ScaleFactor;
  SetColorLine(saved.LineColor + ";" + saved.LinePatternColor);
  SetColorFill(saved.FillColor + ";" + saved.FillPatternColor);
  SetColorText(saved.TextColor + ";" + saved.TextPatternColor);
  // The width saved is in points: taken back into the caller's unit, as a
  // magnitude, so that a scale whose sign changed since restores it too.
  SetLineWidth(std::fabs(saved.LineWidth / Pages.ScaleFactor));
  // Cells left open inside the level that ends end with it.
  while (!Navigation.CellFonts.empty() && Navigation.CellFonts.back().StyleDepth >= Navigation.StyleDepth)
    Navigation.CellFonts.pop_back();
  Navigation.StyleDepth -= 1;
}

FontSelection PdfWriter::SelectedFont() const {
  return {Text.FontName, Text.FontStyle, Text.FontSize, Text.FontResource, Text.FontIndex};
}

// The record a selection names stays in the font table until Abort, which
// empties the style stack and the cells' entries too.
void PdfWriter::RestoreFont(const FontSelection& Font) {
  Text.FontName = Font.FontName;
  Text.FontStyle = Font.FontStyle;
  Text.FontSize = Font.FontSize;
  Text.FontResource = Font.FontResource;
  Text.FontIndex = Font.FontIndex;
}

}  // namespace pdf
