// Form fields: AddField fills one record of the open page's field table
// (widget dictionary, appearance characteristics, default appearance, value)
// and OnFieldEvent attaches scripts to the fields of that page. EndPage
// writes each record as one widget field object; EndDoc lists them all in
// the interactive form dictionary.

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "pdf/PdfWriter.h"
#include "pdf/core/pdf_name.h"
#include "pdf/interactive/number_text.h"
#include "pdf/text/text_case.h"

namespace pdf {

namespace {

constexpr char CR = '\r';

// The field flags, annotation flags and widget styling that Options selects.
struct FieldOptions {
  std::int32_t annotationFlags = 0;
  std::int32_t fieldFlags = 0;
  const char* borderWidth = "1 ";
  const char* borderStyle = "/S /S";
  const char* checkGlyph = "4";
  const char* rotation = "";
  std::int32_t version = 0;  // 1: PDF 1.4, 2: PDF 1.5
};

FieldOptions ReadOptions(std::int32_t o) {
  FieldOptions f;
  if (!(o & 2)) f.annotationFlags += 4;  // printed
  if (o & 1) f.annotationFlags += 2;     // hidden
  static const struct {
    std::int32_t bit;
    std::int32_t flag;
    std::int32_t version;
  } kFlags[] = {
      {8, 1, 0},       {16, 4096, 0},       {32, 8192, 0},       {128, 2097152, 0},
      {256, 4194304, 1}, {512, 8388608, 1}, {1024, 16777216, 2},
  };
  for (const auto& k : kFlags) {
    if (o & k.bit) {
      f.fieldFlags += k.flag;
      if (k.version > f.version) f.version = k.version;
    }
  }
  if (o & 32768) f.borderWidth = "2 ";
  else if (o & 65536) f.borderWidth = "3 ";
  if (o & 131072) f.borderStyle = "/S /D /D [ 1 1 ]";
  else if (o & 524288) f.borderStyle = "/S /I";
  else if (o & 262144) f.borderStyle = "/S /B";
  else if (o & 1048576) f.borderStyle = "/S /U";
  if (o & 4194304) f.checkGlyph = "5";
  else if (o & 8388608) f.checkGlyph = "F";
  else if (o & 2097152) f.checkGlyph = "l";
  else if (o & 16777216) f.checkGlyph = "H";
  else if (o & 33554432) f.checkGlyph = "n";
  if (o & 67108864) f.rotation = "/R 90 ";
  else if (o & 134217728) f.rotation = "/R 180 ";
  else if (o & 268435456) f.rotation = "/R 270 ";
  return f;
}

bool IsHashColour(const std::string& c) { return !c.empty() && c[0] == '#'; }

// Adds the action for one trigger key (" /K ", ...) to a field's additional
// actions. A key may stand only once in the dictionary, so a second action
// for the same trigger follows the first in its /Next array and both run.
void AddTrigger(std::string& actions, const std::string& key, const std::string& action) {
  const std::size_t at = actions.find(key + "<< /S /JavaScript /JS ");
  if (at == std::string::npos) {
    actions += key + action;
    return;
  }
  // The entry's own script reference ends at the first " 0 R" after it; an
  // array after it holds the actions already chained ("]" closes only it).
  const std::size_t first = actions.find(" 0 R", at) + 4;
  if (actions.compare(first, 9, " /Next [ ") == 0) {
    actions.insert(actions.find("] >> ", first), action);
  } else {
    actions.insert(first, " /Next [ " + action + "]");
  }
}

}  // namespace

std::int32_t PdfWriter::FieldParam::AsWholeNumber() const {
  double value = number_;
  if (is_text_) {
    const std::optional<double> parsed = WholeTextNumber(text_);
    if (!parsed) throw PdfError(13);
    value = *parsed;
  }
  const std::optional<std::int32_t> whole = RoundToInt32(value);
  if (!whole) throw PdfError(6);
  return *whole;
}

std::string PdfWriter::FieldParam::AsText() const {
  if (is_text_) return text_;
  if (!std::isfinite(number_)) throw PdfError(6);
  // Fifteen significant digits at most, exponent form for very large or
  // small magnitudes ("1E+20"), never a trailing ".0".
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15G", number_);
  return buffer;
}

void PdfWriter::AddField(const std::string& FieldName, std::int32_t FieldType, float X, float Y,
                         float XDim, float YDim, const std::string& Value,
                         const FieldParam& Param, const std::string& Tooltip,
                         std::int32_t Options) {
  // Everything that can fail is read before the record is added, so that a
  // failed call leaves no half-made field behind. A type that is none of
  // the six would give a widget of no field type (no /FT), which readers
  // refuse to draw or call invalid.
  if (FieldType < 0 || FieldType > 5) throw PdfError(5);
  const float x1 = ToPoints(X);
  const float y1 = Pages.PageHeight - ToPoints(Y);
  const float x2 = x1 + ToPoints(XDim);
  const float y2 = y1 - ToPoints(YDim);
  std::int32_t number = 0;
  if (FieldType == 0 || FieldType == 2 || FieldType == 3) number = Param.AsWholeNumber();
  const std::string script = FieldType == 5 ? Param.AsText() : std::string();
  const FieldOptions o = ReadOptions(Options);
  const float size = (Options & 8192) ? 0.0f : Text.FontSize;

  FieldRecord f;
  bool button_font = false;  // a check box or option button: its glyphs' font
  f.Name = FieldName;
  f.FieldType = FieldType;
  f.Tooltip = Tooltip;
  f.DictionaryStart = "<< /Type /Annot /Subtype /Widget " + std::string(1, CR) + " /Rect [ " +
                      FormatNumber(x1) + " " + FormatNumber(y1) + " " + FormatNumber(x2) + " " +
                      FormatNumber(y2) + "]";
  if (o.annotationFlags != 0) f.DictionaryStart += " /F " + std::to_string(o.annotationFlags) + " ";
  if (IsHashColour(Colours.FillColor) && !(Options & 4))
    f.AppearanceCharacteristics = " /BG [ " + ColorToRgb(Colours.FillColor) + " ] ";
  if (IsHashColour(Colours.LineColor) && !(Options & 16384)) {
    f.DictionaryStart += CR + std::string("/BS << /Type /Border /W ") + o.borderWidth + o.borderStyle + ">>";
    f.AppearanceCharacteristics += " /BC [ " + ColorToRgb(Colours.LineColor) + " ] ";
  }
  f.AppearanceCharacteristics += o.rotation;

  switch (FieldType) {
    case 0:
      f.DictionaryStart += " /FT /Tx /Ff " + std::to_string(o.fieldFlags) + " ";
      if (Options & 2048) f.DictionaryStart += CR + std::string("/Q 2 ");
      else if (Options & 4096) f.DictionaryStart += CR + std::string("/Q 1 ");
      if (number > 0) f.DictionaryStart += " /MaxLen " + std::to_string(number) + " ";
      f.Value = Value;
      break;
    case 1:
    case 4: {
      std::int32_t flags = o.fieldFlags;
      if (FieldType == 1) {
        f.Caption = o.checkGlyph;
      } else {
        f.Caption = "l";
        flags += 49152;  // radio, no toggle to off
      }
      f.DictionaryStart += " /FT /Btn /Ff " + std::to_string(flags);
      button_font = true;
      // "S#EC" is the name of the on state. The widget's appearance state
      // names the same state (or /Off): readers that build the appearance
      // themselves (/NeedAppearances) draw the glyph only for a widget whose
      // state is on.
      f.DictionaryStart += text_case::Upper(Value) == "TRUE" ? " /V /S#EC /DV /S#EC /AS /S#EC "
                                                             : " /AS /Off ";
      break;
    }
    case 2:
    case 3: {
      const std::int32_t flags = o.fieldFlags + (FieldType == 3 ? 131072 : 0);
      f.DictionaryStart += " /FT /Ch /Ff " + std::to_string(flags) + " ";
      f.Value = Value;
      // A number past the 16-bit range selects no option, like any other
      // number beyond the options.
      if (number > 0 && number <= 32767) f.SelectedOption = static_cast<std::int16_t>(number);
      break;
    }
    default:  // 5
      f.DictionaryStart += " /FT /Btn /Ff " + std::to_string(o.fieldFlags + 65536);
      f.Caption = Value;
      break;
  }

  // A field made before any font was selected names the form font, which
  // the form's resources then provide.
  std::string font = Text.FontResource;
  const bool form_font = CurrentFontRecord() == nullptr || font.empty();
  if (form_font) font = kFormFontName;
  f.DefaultAppearance = NameToken(font) + " " + FormatNumber(size) + " Tf " +
                        ColorToRgb(Colours.TextColor) + " rg ";

  if (Forms.FieldCount == std::numeric_limits<std::int32_t>::max()) throw PdfError(6);
  // A field made while a recording is dropped goes with it: the page would
  // otherwise get it.
  if (RecordingDropped()) return;
  if (form_font) Forms.FormFontNeeded = true;
  if (button_font) Forms.ButtonFontNeeded = true;
  if (!script.empty()) {
    const std::int32_t n = WriteStreamObject(script);
    f.ExtraEntries = " /A << /S /JavaScript /JS " + std::to_string(n) + " 0 R >> ";
  }
  if (o.version != 0) RequireVersion(o.version);
  const std::int32_t i = Forms.FieldCount + 1;
  GrowTable(Forms.Fields, i);
  Forms.Fields[static_cast<std::size_t>(i)] = std::move(f);
  Forms.FieldCount = i;
}

void PdfWriter::OnFieldEvent(std::int32_t OnEvent, const std::string& FieldName,
                             const std::string& Action) {
  if (Action.empty() || Forms.FieldCount < 1) return;
  const std::int32_t n = WriteStreamObject(Action);
  const std::string action = "<< /S /JavaScript /JS " + std::to_string(n) + " 0 R >> ";
  static const char* const kTriggers[] = {"", " /D ", " /E ", " /X ", " /Fo ",
                                          " /Bl ", " /K ", " /V ", " /C ", " /F "};
  const std::string below = FieldName + ".";
  for (std::int32_t i = Forms.FieldCount; i >= 1; --i) {
    FieldRecord& f = Forms.Fields.at(static_cast<std::size_t>(i));
    if (f.Name != FieldName && f.Name.rfind(below, 0) != 0) continue;
    if (OnEvent == 0) {
      f.ExtraEntries = " /A " + action;
    } else if (OnEvent >= 1 && OnEvent <= 9) {
      AddTrigger(f.Actions, kTriggers[OnEvent], action);
      if (OnEvent == 8) f.CalculationFlag = true;
    }
  }
}

std::string PdfWriter::WriteFormFont() {
  // The form's resources list the document's fonts too: a font already
  // standing under one of the two names (an alias or a family called so)
  // is the one readers find there, and the name is never listed twice.
  const auto taken = [this](const char* name) { return FontResourceTaken(name, Text.FontCount + 1); };
  std::string entries;
  if (Forms.FormFontNeeded && !taken(kFormFontName)) {
    const std::int32_t n = BeginIndirectObject(0);
    WriteLine("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
    EndIndirectObject();
    entries = NameToken(kFormFontName) + " " + std::to_string(n) + " 0 R ";
  }
  // Only for buttons written on a page.
  if (Forms.ButtonFontNeeded && !Forms.FieldRefs.empty() && !taken(kButtonFontName)) {
    const std::int32_t n = BeginIndirectObject(0);
    WriteLine("<< /Type /Font /Subtype /Type1 /BaseFont /ZapfDingbats >>");
    EndIndirectObject();
    entries += NameToken(kButtonFontName) + " " + std::to_string(n) + " 0 R ";
  }
  return entries;
}

}  // namespace pdf
