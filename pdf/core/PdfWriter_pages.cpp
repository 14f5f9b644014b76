// Pages: paper size, unit, margins, rotation, the current point, and the
// writing of each page (field widgets, page object, content stream,
// annotation array) when it ends.

#include <cmath>

#include "pdf/PdfWriter.h"

namespace pdf {

namespace {

struct PaperSize {
  float width;
  float height;
};

// Portrait sizes by even code from -8 (A0) to 16 (Executive); the next odd
// code is the same size in landscape.
constexpr PaperSize kPaper[] = {
    {2384, 3371},  // -8 A0
    {1685, 2384},  // -6 A1
    {1192, 1685},  // -4 A2
    {842, 1192},   // -2 A3
    {596, 842},    // 0 A4
    {421, 596},    // 2 A5
    {298, 421},    // 4 A6
    {210, 298},    // 6 A7
    {612, 792},    // 8 Letter
    {792, 1224},   // 10 Tabloid
    {612, 1008},   // 12 Legal
    {396, 612},    // 14 Statement
    {522, 756},    // 16 Executive
};

// The largest page side readers accept, in points.
constexpr float kMaxPageSide = 14400;

}  // namespace

float PdfWriter::ToPoints(float Value) const {
  const float r = Value * Pages.ScaleFactor;
  if (!std::isfinite(r)) throw PdfError(6);
  return r;
}

void PdfWriter::SetScale(std::int32_t ScaleMode, float UserFactor) {
  switch (ScaleMode) {
    case 0: Pages.ScaleFactor = 1.0f; break;
    case 1: Pages.ScaleFactor = 72.0f; break;
    case 2: Pages.ScaleFactor = 2.8346455f; break;
    case 3: Pages.ScaleFactor = 28.346457f; break;
    case 255: Pages.ScaleFactor = UserFactor; break;
    default: break;
  }
}

void PdfWriter::SetPaperSize(std::int32_t PaperSize, float UserWidth, float UserHeight) {
  float w, h;
  if (PaperSize == 255) {
    w = ToPoints(UserWidth);
    h = ToPoints(UserHeight);
    // A side that writes as 0 (or less) or exceeds what readers accept is
    // refused.
    const auto unusable = [](float side) { return !(RoundValue(side) > 0 && side <= kMaxPageSide); };
    if (unusable(w) || unusable(h)) throw PdfError(5);
  } else {
    if (PaperSize < -8 || PaperSize > 17) return;
    const int even = PaperSize - (((PaperSize % 2) + 2) % 2);
    const auto& p = kPaper[(even + 8) / 2];
    const bool landscape = even != PaperSize;
    w = landscape ? p.height : p.width;
    h = landscape ? p.width : p.height;
  }
  CheckPageBox(w, h, Pages.Margins);
  Pages.PageWidth = w;
  Pages.PageHeight = h;
}

void PdfWriter::SetMargins(float Left, float Right, float Top, float Bottom, bool ClipPage) {
  PageMargins m;
  m.Left = ToPoints(Left);
  m.Right = ToPoints(Right);
  m.Top = ToPoints(Top);
  m.Bottom = ToPoints(Bottom);
  CheckPageBox(Pages.PageWidth, Pages.PageHeight, m);
  Pages.Margins = m;
  Pages.ClipPage = ClipPage;
}

void PdfWriter::CheckPageBox(float Width, float Height, const PageMargins& m) {
  // The numbers EndPage writes for the margin box (the page's own sides are
  // at most 14400): each must write as a number, or the page could not end.
  FormatNumber(m.Left);
  FormatNumber(Height - m.Top);
  FormatNumber(Width - m.Right - m.Left);
  FormatNumber(Height - m.Bottom - m.Top);
}

void PdfWriter::SetPageView(std::int32_t ViewMode) {
  if (Pages.PageOpen) Pages.PageRotation = ViewMode;
  else Pages.DefaultRotation = ViewMode;
}

std::int32_t PdfWriter::GetPage() const { return Pages.PageCount; }

// A scale factor of 0 cannot be divided by: the getters report it as a
// division by zero rather than return infinities.
float PdfWriter::GetPageWidth(bool KeepMargins) const {
  if (Pages.ScaleFactor == 0) throw PdfError(11);
  const float m = KeepMargins ? Pages.Margins.Left + Pages.Margins.Right : 0.0f;
  const float w = Pages.PageWidth - m;
  return w / Pages.ScaleFactor;
}

float PdfWriter::GetPageHeight(bool KeepMargins) const {
  if (Pages.ScaleFactor == 0) throw PdfError(11);
  const float m = KeepMargins ? Pages.Margins.Top + Pages.Margins.Bottom : 0.0f;
  const float h = Pages.PageHeight - m;
  return h / Pages.ScaleFactor;
}

float PdfWriter::GetX() const {
  if (Pages.ScaleFactor == 0) throw PdfError(11);
  return Pages.CurrentX / Pages.ScaleFactor;
}

float PdfWriter::GetY() const {
  if (Pages.ScaleFactor == 0) throw PdfError(11);
  return Pages.CurrentY / Pages.ScaleFactor;
}

void PdfWriter::SetXY(float X, float Y) {
  const float x = ToPoints(X);
  const float y = ToPoints(Y);
  Pages.CurrentX = x;
  Pages.CurrentY = y;
}

std::int32_t PdfWriter::BeginPage() {
  // A page is written into the document's file when it ends: without one it
  // could only be counted and never written, leaving the page tree short.
  if (Output.Handle == nullptr) throw PdfError(52);
  if (Pages.PageOpen) EndPage();
  if (Pages.PageCount == INT32_MAX) throw PdfError(6);
  Pages.PageCount += 1;
  GrowTable(Pages.PageObjects, Pages.PageCount);
  Pages.PageAnnots.clear();
  // The page-open and page-close scripts stay: they are read at every page
  // end, so a script applies from the page during which it was set on, and
  // every page gets its own copy.
  BufferReset(Content.PageContent);
  Pages.PageOpen = true;
  SetColorFill("Black");
  SetColorLine("Black");
  SetColorText("Black");
  if (Resources.RecordedObjectCount > 0) PlayAutoObjects(false);
  Pages.PageRotation = Pages.DefaultRotation;
  Text.CharSpacing = 0;
  Text.WordSpacing = 0;
  Text.HorizontalScaling = 100;
  Pages.CurrentX = 0;
  Pages.CurrentY = 0;
  Text.LineSpacing = 1.0f;
  Labels.Transition.PageText = Labels.Transition.NextText;
  Labels.Transition.PageDuration = Labels.Transition.NextDuration;
  Forms.FieldCount = 0;
  return Pages.PageCount;
}

void PdfWriter::EndPage() {
  if (!Pages.PageOpen) return;
  if (Resources.RecordedObjectCount > 0) PlayAutoObjects(true);
  CloseOpenSaves(Content.PageContent);
  Pages.PageOpen = false;

  const char CR = '\r';
  const PageMargins& m = Pages.Margins;
  std::string head = "1 0 0 -1 " + FormatNumber(m.Left) + " " +
                     FormatNumber(Pages.PageHeight - m.Top) + " cm " + CR;
  if (Pages.ClipPage) {
    head += "0 0 " + FormatNumber(Pages.PageWidth - m.Right - m.Left) + " " +
            FormatNumber(Pages.PageHeight - m.Bottom - m.Top) + " re W n" + CR;
  }
  const std::string& body = Content.PageContent.Data;
  const std::size_t bodyLength = static_cast<std::size_t>(Content.PageContent.Position - 1);
  // Byte pointers, not string iterators, so that both copies are one
  // memory move each.
  const auto* headBytes = reinterpret_cast<const std::uint8_t*>(head.data());
  const auto* bodyBytes = reinterpret_cast<const std::uint8_t*>(body.data());
  Bytes content;
  content.reserve(head.size() + bodyLength);
  content.insert(content.end(), headBytes, headBytes + head.size());
  content.insert(content.end(), bodyBytes, bodyBytes + bodyLength);

  // Page scripts.
  std::int32_t openScript = 0, closeScript = 0;
  if (!Labels.DocScripts[0].empty()) openScript = WriteStreamObject(Labels.DocScripts[0]);
  if (!Labels.DocScripts[1].empty()) closeScript = WriteStreamObject(Labels.DocScripts[1]);

  // Field widgets, numbered before the page whose number they refer to.
  if (Forms.FieldCount >= 1) {
    const std::int32_t page = Objects.LastObjectNumber + Forms.FieldCount + 1;
    for (std::int32_t i = 1; i <= Forms.FieldCount; ++i) {
      const FieldRecord& f = Forms.Fields.at(static_cast<std::size_t>(i));
      const std::int32_t n = BeginIndirectObject(0);
      std::string line = f.DictionaryStart + " /DA " + FormatTextString(f.DefaultAppearance) +
                         " /T " + FormatPdfText(f.Name);
      if (!f.Tooltip.empty()) line += " /TU " + FormatPdfText(f.Tooltip);
      switch (f.FieldType) {
        case 0:
          line += " /MK <<" + f.AppearanceCharacteristics + ">> " + CR + " /V " +
                  FormatPdfText(f.Value) + " /DV " + FormatPdfText(f.Value) + " ";
          break;
        case 1:
        case 4:
        case 5:
          line += " /MK << /CA " + FormatPdfText(f.Caption) + " " +
                  f.AppearanceCharacteristics + ">> ";
          break;
        case 2:
        case 3: {
          line += " /MK <<" + f.AppearanceCharacteristics + ">> /Opt [ ";
          std::vector<std::string> options;
          SplitText(f.Value, options, "|");
          for (const auto& o : options) line += FormatPdfText(o);
          line += " ] ";
          // A selection beyond the options selects nothing.
          if (f.SelectedOption >= 1 &&
              static_cast<std::size_t>(f.SelectedOption) <= options.size()) {
            const std::string& s = options[static_cast<std::size_t>(f.SelectedOption) - 1];
            line += " /DV " + FormatPdfText(s) + " /V " + FormatPdfText(s);
          }
          break;
        }
        default:
          break;
      }
      if (!f.Actions.empty()) {
        line += " /AA << " + f.Actions + " >> ";
        if (f.CalculationFlag) Forms.CalcOrderRefs += std::to_string(n) + " 0 R ";
      }
      if (!f.ExtraEntries.empty()) line += f.ExtraEntries;
      line += " /P " + std::to_string(page) + " 0 R >>";
      WriteLine(line);
      EndIndirectObject();
      Forms.FieldRefs += std::to_string(n) + " 0 R ";
      if (!Content.RecordingObject) Pages.PageAnnots += std::to_string(n) + " 0 R ";
    }
  }

  // The page object.
  const std::int32_t p = BeginIndirectObject(0);
  Pages.PageObjects.at(static_cast<std::size_t>(Pages.PageCount)) = p;
  const std::string W = FormatNumber(Pages.PageWidth);
  const std::string H = FormatNumber(Pages.PageHeight);
  std::string line = "<< /Type /Page /Parent 1 0 R /Contents " + std::to_string(p + 1) + " 0 R" + CR;
  switch (Pages.PageRotation) {
    case 1: line += std::string("/Rotate 270") + CR; break;
    case 2: line += std::string("/Rotate 180") + CR; break;
    case 3: line += std::string("/Rotate 90") + CR; break;
    default: break;
  }
  line += "/MediaBox [0 0 " + W + " " + H + "]" + CR;
  line += "/CropBox [0 0 " + W + " " + H + "]" + CR;
  line += "/BleedBox [0 0 " + W + " " + H + "]" + CR;
  if (!Pages.PageAnnots.empty()) line += "/Annots " + std::to_string(p + 2) + " 0 R";
  line += "/Resources 2 0 R";
  if (!Labels.Transition.PageText.empty()) {
    line += CR + std::string("/Dur ") + FormatNumber(Labels.Transition.PageDuration) + " /Trans " +
            Labels.Transition.PageText;
  }
  if (openScript != 0 || closeScript != 0) {
    line += "\n/AA <<";
    if (openScript != 0)
      line += " /O << /Type /Action /S /JavaScript /JS " + std::to_string(openScript) + " 0 R >>" + CR;
    if (closeScript != 0)
      line += " /C << /Type /Action /S /JavaScript /JS " + std::to_string(closeScript) + " 0 R >>" + CR;
    line += ">> ";
  }
  line += ">>";
  WriteLine(line);
  EndIndirectObject();
  Pages.PageKids += std::to_string(p) + " 0 R ";

  // The content stream.
  BeginIndirectObject(0);
  WriteLine("<<");
  WriteStream(content, 0, std::string(), 0);
  EndIndirectObject();

  // The annotation array.
  if (!Pages.PageAnnots.empty()) {
    BeginIndirectObject(0);
    WriteLine("[ " + Pages.PageAnnots + " ]");
    EndIndirectObject();
  }
}

}  // namespace pdf
