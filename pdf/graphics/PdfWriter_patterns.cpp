// Gradients (shading patterns), tiling patterns and layers (optional content).
//
// A pattern is defined once under an alias and used afterwards by naming the
// alias in a colour text; its object is written as soon as it is complete and
// leaves an entry in Resources.PatternResources, which EndDoc puts under
// /Pattern in the page resources. Layers are marked-content brackets in the
// content; EndDoc writes one optional-content group per layer.

#include <string>
#include <utility>

#include "pdf/PdfWriter.h"
#include "pdf/core/pdf_name.h"
#include "pdf/text/text_case.h"

namespace pdf {

namespace {

constexpr char CR = '\r';

// The resource name of a pattern: the alias with blanks trimmed at both ends,
// upper-cased the way colour texts are, so that a colour text naming the
// alias finds the same name.
std::string PatternName(const std::string& Alias) {
  const std::size_t b = Alias.find_first_not_of(' ');
  if (b == std::string::npos) return std::string();
  const std::size_t e = Alias.find_last_not_of(' ');
  std::string name = Alias.substr(b, e - b + 1);
  for (char& c : name)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return name;
}

}  // namespace

bool PdfWriter::AddPatternResource(const std::string& Name, std::int32_t ObjectNumber) {
  // One entry per name, as for fonts and recorded objects: the first pattern
  // of a name keeps it (a later one stays in the file, unreferenced).
  if (PatternDefined(Name)) return false;
  Resources.PatternResources += NameToken(Name) + " " + std::to_string(ObjectNumber) + " 0 R " + CR;
  return true;
}

bool PdfWriter::PatternUncolored(const std::string& Name) const {
  for (const std::string& name : Resources.UncoloredPatterns)
    if (name == Name) return true;
  return false;
}

void PdfWriter::PatternNamed() {
  if (Content.RecordingObject) {
    if (!Content.RecordingDuplicate && Resources.RecordedObjectCount > 0)
      Resources.RecordedObjects[static_cast<std::size_t>(Resources.RecordedObjectCount)].NamesPattern = true;
  } else if (Content.RecordingTiling) {
    Resources.TilesNamePatterns = true;
  }
}

bool PdfWriter::UncolouredCell() const {
  return Content.RecordingTiling && !Content.RecordingObject && Resources.TilingUncolored;
}

void PdfWriter::ColourCarried() {
  if (Content.RecordingObject && !Content.RecordingDuplicate && Resources.RecordedObjectCount > 0)
    Resources.RecordedObjects[static_cast<std::size_t>(Resources.RecordedObjectCount)].CarriesColour = true;
}

// ---- gradients ----------------------------------------------------------------

void PdfWriter::AddGradient(const std::string& Alias, std::int32_t Style,
                            const std::string& StartColor, const std::string& EndColor,
                            float XStart, float YStart, float XEnd, float YEnd, float RStart,
                            float REnd, bool ExtendBefore, bool ExtendAfter) {
  std::string from = StartColor, to = EndColor, dropped;
  ParseColor(from, dropped);
  ParseColor(to, dropped);
  // Pattern space is the page's own, read from its top-left corner through
  // the matrix below. Inside a recorded form it is the form's space, which
  // is the page content's: origin at the margin box's top-left corner, y
  // downward. Mirroring y about the whole page height undoes the matrix's
  // flip there, so the axis stands where the form's shapes are drawn.
  if (Content.RecordingObject) {
    const float height = GetPageHeight(false);
    YStart = height - YStart;
    YEnd = height - YEnd;
  }
  std::string coords;
  if (Style == 1) {
    coords = "/ShadingType 3 /Coords [" + FormatUnits(XStart) + " " + FormatUnits(YStart) + " " +
             FormatUnits(RStart) + " " + FormatUnits(XEnd) + " " + FormatUnits(YEnd) + " " +
             FormatUnits(REnd) + "]";
  } else {
    coords = "/ShadingType 2 /Coords [" + FormatUnits(XStart) + " " + FormatUnits(YStart) + " " +
             FormatUnits(XEnd) + " " + FormatUnits(YEnd) + "]";
  }
  // The matrix flips y about the page height, so the coordinates read from the
  // page's top-left corner downward like the rest of the interface.
  const std::string text =
      "<</Type /Pattern /PatternType 2 /Matrix [ 1 0 0 -1 0 " + FormatNumber(Pages.PageHeight) +
      "] /Shading <<\r\n/ColorSpace /DeviceRGB" + CR + coords + CR + "/Extend [" +
      BoolText(ExtendBefore) + " " + BoolText(ExtendAfter) + "] " + CR + "/Function " + CR +
      "<< /FunctionType 3 /Domain [0.000 1.000] /Bounds [] /Encode [0 1 ] " + CR + "/Functions [" +
      CR + "<< /FunctionType 2 /Domain [0.000 1.000] /C0 [" + ColorToRgb(from) + "] /C1 [" +
      ColorToRgb(to) + "] /N 1 >>]" + CR + ">>" + CR + ">>" + CR + ">>";
  const std::int32_t n = BeginIndirectObject(0);
  WriteLine(text);
  EndIndirectObject();
  AddPatternResource(PatternName(Alias), n);
}

// ---- tiling patterns --------------------------------------------------------------

void PdfWriter::BeginTiling(const std::string& Alias, float XMin, float YMin, float XMax,
                            float YMax, float XStep, float YStep, std::int32_t Style) {
  if (!Content.RecordingTiling) {
    // Every number is written out before the recording opens: a value that
    // cannot be written leaves no half-open pattern behind. A step written
    // as 0 would put every tile on one spot, a pattern readers refuse.
    const std::string xstep = FormatUnits(XStep), ystep = FormatUnits(YStep);
    if (xstep == "0" || ystep == "0") throw PdfError(5);
    std::string dictionary =
        std::string("<< /Type /Pattern /PatternType 1 /PaintType ") + (Style == 0 ? "1" : "2") +
        CR + "/TilingType 1" + CR + "/BBox [" + FormatUnits(XMin) + " " + FormatUnits(YMin) + " " +
        FormatUnits(XMax) + " " + FormatUnits(YMax) + "]" + CR + "/Resources 3 0 R" + CR +
        "/XStep " + xstep + " /YStep " + ystep + CR +
        "/Matrix [1 0 0 1 0 0]";
    // Flip the cell so that drawing inside it reads y downward from its
    // top-left corner; every content line appended later brings its own CR.
    const std::string flip = "1 0 0 -1 0 " + FormatUnits(YMax - YMin) + " cm";
    Content.RecordingTiling = true;
    Resources.TilingUncolored = Style != 0;
    Resources.TilingName = PatternName(Alias);
    Resources.TilingDictionary = std::move(dictionary);
    BufferReset(Content.TilingContent);
    BufferAppend(Content.TilingContent, flip);
  }
  // PDF gives the cell of an uncoloured pattern (PaintType 2) no colour of
  // its own: while one is recorded, whatever Style a later call names,
  // nothing writes a colour (readers differ on a cell that holds one).
  // Style 1 in a second call silences the colours of a coloured tile too.
  Content.RecordingUncolored = Resources.TilingUncolored || Style == 1;
}

void PdfWriter::EndTiling() {
  // Without an open recording there is no dictionary to write: an object
  // without one would make the file unreadable.
  if (!Content.RecordingTiling) return;
  CloseOpenSaves(Content.TilingContent);
  const std::string content = BufferText(Content.TilingContent);
  Content.RecordingTiling = false;
  Content.RecordingUncolored = false;
  Bytes data(content.begin(), content.end());
  const std::int32_t n = BeginIndirectObject(0);
  WriteLine(Resources.TilingDictionary);
  WriteStream(data, 0, std::string(), 0);
  EndIndirectObject();
  if (AddPatternResource(Resources.TilingName, n) && Resources.TilingUncolored)
    Resources.UncoloredPatterns.push_back(Resources.TilingName);
}

// ---- layers ---------------------------------------------------------------------------

void PdfWriter::BeginLayer(const std::string& Layer, bool StartState, bool ShowInList) {
  // Layers are looked up without regard to case; the first spelling stays.
  const std::string key = text_case::Upper(Layer);
  std::int32_t number = 0;
  for (std::int32_t i = 1; i <= Navigation.LayerCount; ++i) {
    if (text_case::Upper(Navigation.Layers[static_cast<std::size_t>(i)].Name) == key) {
      number = i;
      break;
    }
  }
  if (number == 0) {
    if (Navigation.LayerCount == INT32_MAX) throw PdfError(6);
    number = Navigation.LayerCount + 1;
    GrowTable(Navigation.Layers, number);
    Navigation.LayerCount = number;
    LayerRecord& record = Navigation.Layers[static_cast<std::size_t>(number)];
    record.Name = Layer;
    record.StartState = StartState;
    record.ShowInList = ShowInList;
  }
  StringBuffer* target = ActiveContent();
  if (target == nullptr) return;  // no content is open: nothing to mark
  // Marked content may not stand inside a path: a path the caller left
  // open ends where the layer begins.
  EndOpenPath();
  AppendContent("/OC /_LAY_" + std::to_string(number) + " BDC");
  target->OpenLayers += 1;
}

void PdfWriter::EndLayer() {
  // Each content (page, recorded object, tiling pattern) closes only the
  // layers it opened: an "EMC" without its "BDC" stops readers. A surplus
  // call, or one in another content than its BeginLayer, writes nothing.
  StringBuffer* target = ActiveContent();
  if (target == nullptr || target->OpenLayers < 1) return;
  EndOpenPath();  // a path opened inside the layer ends with it
  AppendContent("EMC");
  target->OpenLayers -= 1;
}

}  // namespace pdf
