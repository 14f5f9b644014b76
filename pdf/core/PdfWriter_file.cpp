// File structure: output lines, indirect objects with their cross-reference
// lines, and the close of the document (scripts, layers, metadata,
// destinations, resources, page tree, catalog, information, cross-reference
// table, trailer and the header's version).

#include <algorithm>

#include "pdf/PdfWriter.h"
#include "pdf/core/encoders.h"
#include "pdf/core/file_failure.h"

namespace pdf {

namespace {
constexpr char CR = '\r';

std::string Num(std::int64_t v) { return std::to_string(v); }
}  // namespace

// ---- output ---------------------------------------------------------------

void PdfWriter::WriteBytes(const char* Data, std::size_t Count) {
  // No open file (never opened, failed to open, or already closed): the
  // write fails to the caller, never silently.
  if (Output.Handle == nullptr) throw PdfError(52);
  if (Count == 0) return;
  if (std::fwrite(Data, 1, Count, Output.Handle) != Count) throw FileFailure(errno, 57);
  Output.BytesWritten += static_cast<std::int64_t>(Count);
}

void PdfWriter::WriteLine(const std::string& Text) {
  if (Output.Handle == nullptr) throw PdfError(52);
  WriteBytes(Text.data(), Text.size());
  WriteBytes("\n", 1);
}

std::int32_t PdfWriter::BeginIndirectObject(std::int32_t n) {
  if (Output.Handle == nullptr) throw PdfError(52);
  if (n == 0) {
    if (Objects.LastObjectNumber == INT32_MAX) throw PdfError(6);
    n = Objects.LastObjectNumber + 1;
  }
  if (n < 0) throw PdfError(5);
  if (n > Objects.LastObjectNumber) Objects.LastObjectNumber = n;
  GrowTable(Objects.XrefEntries, Objects.LastObjectNumber);
  char entry[32];
  std::snprintf(entry, sizeof entry, "%010lld", static_cast<long long>(Output.BytesWritten % 10000000000LL));
  Objects.XrefEntries[static_cast<std::size_t>(n)] = std::string(entry) + " 00000 n" + CR;
  WriteLine(Num(n) + " 0 obj");
  Objects.CurrentObjectNumber = n;
  return n;
}

void PdfWriter::EndIndirectObject() { WriteLine("endobj"); }

std::string PdfWriter::BoolText(bool Value) const { return Value ? "true" : "false"; }

// ---- resources ------------------------------------------------------------

std::string PdfWriter::ResourceDictionary(bool WithPatterns) const {
  std::string s = "<<";
  s += CR;
  if (!Text.FontResources.empty()) s += "/Font <<" + std::string(1, CR) + Text.FontResources + ">>" + CR;
  s += "/ProcSet [/PDF /Text";
  if (!Resources.ImageResources.empty()) s += " /ImageB /ImageC /ImageI";
  s += " ]";
  s += CR;
  if (!LayerProperties.empty()) s += "/Properties <<" + LayerProperties + ">>";
  s += CR;
  if (!Resources.ImageResources.empty() || !Resources.XObjectResources.empty()) {
    s += "/XObject <<";
    s += CR;
    if (!Resources.ImageResources.empty()) s += Resources.ImageResources + CR;
    if (!Resources.XObjectResources.empty()) s += Resources.XObjectResources + CR;
    s += ">>";
    s += CR;
  }
  if (WithPatterns && !Resources.PatternResources.empty()) {
    s += "/ColorSpace << /xxCSxx [ /Pattern /DeviceRGB ] >> ";
    s += CR;
    s += "/Pattern <<";
    s += CR;
    s += Resources.PatternResources + ">>" + CR;
  }
  if (!Resources.ExtGStateResources.empty())
    s += "/ExtGState << " + Resources.ExtGStateResources + " >> " + CR;
  s += ">>";
  return s;
}

std::string PdfWriter::CatalogPageLabels() {
  std::string s;
  for (const auto& r : Labels.LabelRanges) {
    std::string style = r.Style;
    if (!r.Prefix.empty()) style += " /P " + FormatPdfText(r.Prefix);
    if (r.FirstValue != -1) style += " /St " + Num(r.FirstValue);
    s += Num(r.PageIndex) + " << " + style + " >> ";
  }
  return s;
}

// ---- the close of the document --------------------------------------------

void PdfWriter::EndDoc() {
  if (Output.Handle == nullptr) throw PdfError(52);

  // 1. Every document has at least one page.
  if (Pages.PageCount < 1) BeginPage();
  if (Pages.PageOpen) EndPage();

  // 2. Outlines.
  std::int32_t outlineRoot = 0;
  if (Navigation.OutlineCount > 1) outlineRoot = WriteOutlines();

  // 3. Encryption dictionary.
  std::int32_t encryptObject = 0;
  if (Security.Encrypted) {
    encryptObject = BeginIndirectObject(0);
    WriteLine("<< /Filter /Standard " + std::string(1, CR) + "/O (" + EscapeString(Security.OwnerEntry) +
              ")" + CR + "/U (" + EscapeString(Security.UserEntry) + ")" + CR + "/P " +
              Num(Security.PermissionValue) + CR +
              (Security.ObjectKeyLength == 10 ? "/V 1 /R 2 >>" : "/V 2 /R 3 /Length 128 >>"));
    EndIndirectObject();
  }

  // 4. Document scripts: open action, will close, will save, did save, will
  // print, did print; then the document-level script.
  std::array<std::int32_t, 9> script{};
  for (int type : {2, 3, 5, 7, 4, 6}) {
    const std::string& text = Labels.DocScripts[static_cast<std::size_t>(type)];
    if (!text.empty()) script[static_cast<std::size_t>(type)] = WriteStreamObject(text);
  }
  std::int32_t namesObject = 0;
  if (!Labels.DocScripts[8].empty()) {
    const std::int32_t j = WriteStreamObject(Labels.DocScripts[8]);
    namesObject = BeginIndirectObject(0);
    // The name-tree key is a literal string of this object: formatted now,
    // so that it is encrypted with this object's key in a protected file.
    WriteLine("<< /JavaScript << /Names [ " + FormatTextString("globalscript") +
              " << /S /JavaScript /JS " + Num(j) + " 0 R >> ] >> >>");
    EndIndirectObject();
  }

  // 5. Layers.
  LayerProperties.clear();
  std::string allLayers, orderList, onList, offList;
  std::int32_t lastPrinter = 0, lastScreen = 0;
  if (Navigation.LayerCount >= 1) {
    for (std::int32_t i = 1; i <= Navigation.LayerCount; ++i) {
      LayerRecord& layer = Navigation.Layers.at(static_cast<std::size_t>(i));
      const std::int32_t g = BeginIndirectObject(0);
      WriteLine("<</Type /OCG /Name " + FormatPdfText(layer.Name));
      if (layer.Name == "SCREEN") {
        WriteLine("/Usage <</Print <</PrintState /OFF>> /View <</ViewState /ON>>>>");
        layer.StartState = true;
        lastScreen = g;
      } else if (layer.Name == "PRINTER") {
        WriteLine("/Usage <</Print <</PrintState /ON>> /View <</ViewState /OFF>>>>");
        layer.StartState = false;
        lastPrinter = g;
      }
      WriteLine(">>");
      EndIndirectObject();
      const std::string ref = Num(g) + " 0 R ";
      LayerProperties += "/_LAY_" + Num(i) + " " + ref;
      allLayers += ref;
      if (layer.ShowInList) orderList += ref;
      if (layer.StartState) onList += ref;
      else offList += ref;
    }
    RequireVersion(2);
  }

  // 6. Metadata, always.
  const std::int32_t metadata = BeginIndirectObject(0);
  WriteLine("<< /Type /Metadata /Subtype /XML");
  {
    const std::string xmp = BuildXmpMetadata();
    Bytes data(xmp.begin(), xmp.end());
    WriteStream(data, 0, std::string(), 0);
  }
  EndIndirectObject();

  // 7. Named destinations.
  std::int32_t destsObject = 0;
  if (Navigation.DestinationCount >= 1) {
    destsObject = BeginIndirectObject(0);
    WriteLine("<<");
    for (std::int32_t i = 1; i <= Navigation.DestinationCount; ++i) {
      const DestinationRecord& d = Navigation.Destinations.at(static_cast<std::size_t>(i));
      std::int32_t page = d.Page;
      if (page >= Pages.PageCount || page == -1) page = Pages.PageCount;
      else if (page < 1) page = 1;  // other negatives and 0: the first page
      WriteLine(d.Name + " [" + Num(Pages.PageObjects.at(static_cast<std::size_t>(page))) + " 0 R " +
                d.View + "] ");
    }
    WriteLine(">>");
    EndIndirectObject();
  }

  // 8. and 9. The two resource dictionaries.
  // The tiles' resources: the patterns only when a tile names one (a
  // pattern cannot name itself: a name is usable once its pattern is
  // complete, so a tile names only patterns written before it).
  BeginIndirectObject(3);
  WriteLine(ResourceDictionary(Resources.TilesNamePatterns));
  EndIndirectObject();
  BeginIndirectObject(2);
  WriteLine(ResourceDictionary(true));
  EndIndirectObject();

  // 10. The page tree.
  BeginIndirectObject(1);
  WriteLine("<<" + std::string(1, CR) + "/Type /Pages /Count " + Num(Pages.PageCount) + CR + "/Kids [" +
            Pages.PageKids + "] " + CR + ">>");
  EndIndirectObject();

  // 11. The catalog, after the font that notes and fields may name.
  const std::string formFont = WriteFormFont();
  const std::int32_t catalog = BeginIndirectObject(0);
  {
    std::string line = "<< /Type /Catalog" + std::string(1, CR) + "/Pages 1 0 R";
    if (Navigation.OutlineCount > 1) line += CR + std::string("/Outlines ") + Num(outlineRoot) + " 0 R";
    if (!Labels.PageLabels.empty())
      line += CR + std::string("/PageLabels << /Nums [ ") + CatalogPageLabels() + " ] >>";
    line += CR + std::string("/Metadata ") + Num(metadata) + " 0 R";
    if (destsObject != 0) line += CR + std::string("/Dests ") + Num(destsObject) + " 0 R";
    // A note names the form font even when a font of the document stands
    // under its name and no entry of its own is written.
    if (!Forms.FieldRefs.empty() || Forms.FormFontNeeded) {
      line += CR + std::string("/AcroForm <</NeedAppearances true /Fields [") + Forms.FieldRefs +
              "] /CO [" + Forms.CalcOrderRefs + "] /DR << /Font <<" + CR + Text.FontResources +
              formFont + ">> >> >>";
    }
    if (namesObject != 0) line += CR + std::string("/Names ") + Num(namesObject) + " 0 R";
    if (script[2] != 0)
      line += CR + std::string("/OpenAction << /S /JavaScript /JS ") + Num(script[2]) + " 0 R >>" + CR;
    WriteLine(line);
  }
  if (script[3] || script[5] || script[7] || script[4] || script[6]) {
    std::string line = "\n/AA <<";
    const std::pair<int, const char*> entries[] = {
        {3, " /WC << /Type /Action /S /JavaScript /JS "},
        {5, " /WS << /Type /Action /S /JavaScript /JS "},
        {7, " /DS << /Type /Action /S /JavaScript /JS "},
        {4, " /WP << /Type /Action /S /JavaScript /JS "},
        {6, " /DP << /Type /Action /S /JavaScript /JS "},
    };
    for (const auto& [type, text] : entries) {
      const std::int32_t obj = script[static_cast<std::size_t>(type)];
      if (obj != 0) line += text + Num(obj) + " 0 R >>" + CR;
    }
    line += ">> ";
    WriteLine(line);
  }
  if (Navigation.LayerCount >= 1) {
    std::string special;
    if (lastPrinter != 0) special += Num(lastPrinter) + " 0 R ";
    if (lastScreen != 0) special += Num(lastScreen) + " 0 R ";
    std::string line = "/OCProperties <</OCGs [" + allLayers + "] /D <</AS [ ";
    if (lastPrinter != 0) line += "<</Event /Print /OCGs [" + special + "] /Category [/Print]>> ";
    if (lastScreen != 0) line += "<</Event /View /OCGs [" + special + "] /Category [/View]>> ";
    line += "]\n/ON [" + onList + "] \n/OFF [" + offList + "] \n/Order [" +
            FormatPdfText(Properties.Title) + " " + orderList + "]>>  >>";
    WriteLine(line);
  }
  const std::int32_t prefs = Settings.ViewerPreferences;
  switch (static_cast<std::int32_t>(static_cast<std::uint32_t>(prefs) & 0xFFFFF000u)) {
    case 8192: WriteLine("/PageLayout /OneColumn"); break;
    case 16384: WriteLine("/PageLayout /TwoColumnLeft"); break;
    case -32768: WriteLine("/PageLayout /TwoColumnRight"); break;
    default: break;
  }
  switch (prefs & 15) {
    case 1: WriteLine("/PageMode /FullScreen"); break;
    case 2:
      if (Navigation.OutlineCount > 1) WriteLine("/PageMode /UseOutlines");
      break;
    case 4: WriteLine("/PageMode /UseThumbs"); break;
    case 8:
      WriteLine("/PageMode /UseOC");
      RequireVersion(2);
      break;
    default: break;
  }
  {
    std::string line = "/ViewerPreferences << ";
    if (prefs & 16) line += "/HideMenubar true ";
    if (prefs & 32) line += "/HideToolbar true ";
    if (prefs & 64) line += "/HideWindowUI true ";
    if (prefs & 128) {
      line += "/DisplayDocTitle true ";
      RequireVersion(1);
    }
    if (prefs & 256) line += "/CenterWindow true ";
    if (prefs & 512) line += "/FitWindow true ";
    line += " >>";
    WriteLine(line);
  }
  WriteLine(">>");
  EndIndirectObject();

  // 12. The information dictionary.
  const std::int32_t info = BeginIndirectObject(0);
  WriteLine("<<" + std::string(1, CR) + "/Title " + FormatPdfText(Properties.Title) + CR +
            "/Author " + FormatPdfText(Properties.Author) + CR +
            "/Creator " + FormatPdfText(Properties.Creator) + CR +
            "/Producer " + FormatPdfText(Properties.Producer) + CR +
            "/CreationDate " + FormatPdfText(Properties.CreationDate) + CR +
            "/Subject " + FormatPdfText(Properties.Subject) + CR +
            "/Keywords " + FormatPdfText(Properties.Keywords) + CR + ">>");
  EndIndirectObject();

  // 13. Cross-reference table and trailer.
  const std::int64_t xref = Output.BytesWritten;
  const std::int32_t last = Objects.LastObjectNumber;
  WriteLine("xref\n0 " + Num(static_cast<std::int64_t>(last) + 1) + "\n0000000000 65535 f" + CR);
  {
    std::string table;
    table.reserve(static_cast<std::size_t>(last) * 20);
    for (std::int32_t i = 1; i <= last; ++i) {
      const std::string* entry = static_cast<std::size_t>(i) < Objects.XrefEntries.size()
                                     ? &Objects.XrefEntries[static_cast<std::size_t>(i)]
                                     : nullptr;
      // A number that was never begun is listed as free, never as an empty line.
      if (entry != nullptr && entry->size() == 19) table += *entry;
      else table += std::string("0000000000 65535 f") + CR;
      table += '\n';
    }
    WriteBytes(table.data(), table.size());
  }
  WriteLine("trailer\n<< /Size " + Num(static_cast<std::int64_t>(last) + 1) + " /Info " + Num(info) +
            " 0 R /Root " + Num(catalog) + " 0 R");
  if (Security.Encrypted) {
    const Bytes hex = EncodeAsciiHex(as_bytes(Security.FileIdText));
    const std::string h(hex.begin(), hex.end());
    WriteLine("/Encrypt " + Num(encryptObject) + " 0 R /ID [<" + h + "><" + h + ">]");
  }
  WriteLine(">>\nstartxref\n" + Num(xref) + "\n%%EOF");

  // 14. The header's version, rewritten in place (9 bytes).
  if (Objects.VersionIncrement != 0) {
    const std::int32_t minor = 3 + std::min<std::int32_t>(Objects.VersionIncrement, 6);
    const std::string head = "%PDF-1." + Num(minor) + "\n";
    if (std::fflush(Output.Handle) != 0 || std::fseek(Output.Handle, 0, SEEK_SET) != 0 ||
        std::fwrite(head.data(), 1, head.size(), Output.Handle) != head.size()) {
      throw FileFailure(errno, 57);
    }
  }

  // 15. Close.
  std::FILE* f = Output.Handle;
  Output.Handle = nullptr;
  Output.FileNumber = 0;
  Output.FinalSize = Output.BytesWritten > INT32_MAX ? INT32_MAX
                                                     : static_cast<std::int32_t>(Output.BytesWritten);
  // The buffered end of the file reaches the disk only now: a full disk
  // shows here first.
  const bool flushed = std::fflush(f) == 0;
  const int flush_error = errno;
  const bool closed = std::fclose(f) == 0;
  if (!flushed || !closed) throw FileFailure(!flushed ? flush_error : errno, 57);
}

}  // namespace pdf
