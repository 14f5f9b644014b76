// Annotations: the free-text box and the note icon, and the one routine that
// completes and writes every annotation object (links included) and lists it
// where the page will find it.

#include <limits>

#include "pdf/PdfWriter.h"
#include "pdf/core/pdf_name.h"

namespace pdf {

namespace {
constexpr char CR = '\r';

// An annotation's flag word as an integer readers take: their integers end
// at 2^31 - 1 on both sides, so -2^31 has no text they read.
std::string FlagText(std::int32_t Flag) {
  if (Flag == std::numeric_limits<std::int32_t>::min()) throw PdfError(6);
  return std::to_string(Flag);
}

}  // namespace

void PdfWriter::WriteAnnotation(std::string& Dictionary, const std::string& Contents,
                                const std::string& Title, const std::string& Appearance,
                                const std::string& Target) {
  if (RecordingDropped()) return;
  // The object is begun first: the strings below are then encrypted with
  // this object's key when protection is on.
  const std::int32_t n = BeginIndirectObject(0);
  if (!Title.empty()) Dictionary += " /T " + FormatPdfText(Title);
  if (!Contents.empty()) Dictionary += " /Contents " + FormatPdfText(Contents);
  if (!Appearance.empty()) Dictionary += " /DA " + FormatTextString(Appearance);
  if (!Target.empty()) {
    if (Target.compare(0, 5, "file:") == 0) {
      // The other file opens on its first page (pages count from 0 there),
      // shown whole.
      Dictionary += " /A << /Type /Action /S /GoToR /F " + FormatTextString(Target.substr(5)) +
                    " /D [0 /Fit] >> ";
    } else {
      Dictionary += " /A << /S /URI /URI " + FormatTextString(Target) + " >> ";
    }
  }
  WriteLine(Dictionary + " >>");
  EndIndirectObject();
  const std::string ref = std::to_string(n) + " 0 R ";
  if (Content.RecordingObject && Resources.RecordedObjectCount >= 1) {
    Resources.RecordedObjects.at(static_cast<std::size_t>(Resources.RecordedObjectCount)).Annots += ref;
  } else {
    Pages.PageAnnots += ref;
  }
}

void PdfWriter::AddNoteBox(const std::string& Text, float X, float Y, float Width, float Height,
                           std::int32_t TextAlign, std::int32_t Border, float DashOn,
                           float DashOff, std::int32_t Flag) {
  const float x1 = ToPoints(X);
  const float y1 = Pages.PageHeight - ToPoints(Y);
  const float x2 = x1 + ToPoints(Width);
  const float y2 = y1 - ToPoints(Height);
  std::string d = "<< /Type /Annot /Subtype /FreeText" + std::string(1, CR) + "/Rect [" +
                  FormatNumber(x1) + " " + FormatNumber(y1) + " " + FormatNumber(x2) + " " +
                  FormatNumber(y2) + "]" + CR + " /F " + FlagText(Flag);
  if (TextAlign == 2) d += CR + std::string("/Q 2");
  else if (TextAlign == 4) d += CR + std::string("/Q 1");

  // The box text is set in the form font at the current size, in the current
  // line colour; a pattern line colour adds no colour part.
  std::string appearance = NameToken(kFormFontName) + " " + FormatNumber(this->Text.FontSize) + " Tf";
  if (!Colours.LineColor.empty() && Colours.LineColor[0] == '#')
    appearance += " " + ColorToRgb(Colours.LineColor) + " rg";

  if (!Colours.FillColor.empty() && Colours.FillColor[0] == '#')
    d += CR + std::string("/C [") + ColorToRgb(Colours.FillColor) + "]";
  d += CR + std::string("/BS << /Type /Border /W ") + FormatNumber(Colours.LineWidth);
  switch (Border) {
    case 0: d += "/S /S"; break;
    case 1: d += "/S /D /D [" + FormatNumber(DashOn) + " " + FormatNumber(DashOff) + "]"; break;
    case 2: d += "/S /B"; break;
    case 3: d += "/S /I"; break;
    case 4: d += "/S /U"; break;
    default: break;
  }
  d += ">>";
  d += CR;
  if (RecordingDropped()) return;
  Forms.FormFontNeeded = true;
  WriteAnnotation(d, Text, Properties.Author, appearance, "");
}

void PdfWriter::AddNoteIcon(const std::string& Text, std::int32_t Icon, float X, float Y,
                            bool Opened, std::int32_t Flag) {
  static const char* const kIcons[] = {"Note", "Comment", "Key", "Help",
                                       "Paragraph", "NewParagraph", "Insert"};
  const std::string x = FormatNumber(ToPoints(X));
  const std::string y = FormatNumber(Pages.PageHeight - ToPoints(Y));
  // A zero-size rectangle: the viewer draws the icon at its own size with
  // its upper-left corner at the point.
  std::string d = "<< /Type /Annot" + std::string(1, CR) + "/Subtype /Text" + CR + "/Rect [" + x +
                  " " + y + " " + x + " " + y + "]" + CR + "/F " + FlagText(Flag);
  if (!Colours.FillColor.empty() && Colours.FillColor[0] == '#')
    d += CR + std::string("/C [") + ColorToRgb(Colours.FillColor) + "]";
  if (Icon >= 0 && Icon <= 6) d += CR + std::string(" /Name /") + kIcons[Icon];
  d += CR + std::string(" /Open ") + BoolText(Opened) + " ";
  WriteAnnotation(d, Text, Properties.Author, "", "");
}

}  // namespace pdf
