// The font table: selecting a font by family, style and encoding, and writing
// each font's objects the first time it is selected (or loaded).

#include <string>

#include "pdf/PdfWriter.h"
#include "pdf/core/pdf_name.h"
#include "pdf/text/text_case.h"

namespace pdf {

namespace {

// The family a blank-free name stands for; empty when it is none of the five
// standard families.
std::string StandardFamily(const std::string& upper) {
  if (upper == "TIMES" || upper == "TIMESNEWROMAN") return "TimesNewRoman";
  if (upper == "COURIER" || upper == "COURIERNEW") return "CourierNew";
  if (upper == "HELVETICA" || upper == "ARIAL") return "Arial";
  if (upper == "SYMBOL") return "Symbol";
  if (upper == "ZAPFDINGBATS") return "ZapfDingbats";
  return "";
}

}  // namespace

void PdfWriter::SetFont(const std::string& FontFamily, float Size, std::int32_t Style,
                        std::int32_t Encoding) {
  Text.FontName = FontFamily;
  Text.FontStyle = Style;
  if (Size != 0) Text.FontSize = Size;
  if (Text.FontSize == 0) Text.FontSize = 10;

  std::string family = ReplaceText(FontFamily, " ", "");
  const std::string standard = StandardFamily(text_case::Upper(family));
  if (!standard.empty()) family = standard;

  std::string name = family;
  if (family == "Arial" || family == "CourierNew" || family == "TimesNewRoman") {
    std::string suffix;
    if (Style & FontBold) suffix = "Bold";
    if (Style & FontItalic) suffix += "Italic";
    if (!suffix.empty()) name += "," + suffix;
  }
  if (Encoding == 1) name = "MAC" + name;
  const std::string key = text_case::Upper(name);

  // The key alone finds the record: it carries "MAC" for MacRoman, and any
  // other encoding value is WinAnsi, so a second record of one key would
  // only give a second resource entry of the same name.
  std::int32_t index = 0;
  for (std::int32_t i = 1; i <= Text.FontCount; ++i) {
    const FontRecord& r = Text.Fonts[static_cast<std::size_t>(i)];
    if (r.Key == key) {
      index = i;
      break;
    }
  }

  if (index == 0) {
    const std::int32_t count_before = Text.FontCount;
    const std::string resources_before = Text.FontResources;
    Text.FontCount += 1;
    GrowTable(Text.Fonts, Text.FontCount);
    index = Text.FontCount;
    Text.Fonts[static_cast<std::size_t>(index)] = FontRecord{};
    std::int32_t style = Style;
    if (family == "TimesNewRoman") LoadTimesNewRomanMetrics(style);
    else if (family == "CourierNew") LoadCourierNewMetrics(style);
    else if (family == "Symbol") LoadSymbolMetrics();
    else if (family == "ZapfDingbats") LoadZapfDingbatsMetrics();
    else LoadArialMetrics(style);
    FontRecord& added = Text.Fonts[static_cast<std::size_t>(index)];
    added.MacEncoding = Encoding;
    added.Key = key;
    Bytes no_file;
    try {
      WriteFont(name, no_file, 0, "");
    } catch (...) {
      // Without its font object the record would be found by later
      // selections and referenced from the resources: take it back.
      Text.FontCount = count_before;
      Text.FontResources = resources_before;
      throw;
    }
  }

  // The name the record was written under: the key ignores case, the
  // resource name does not.
  const std::string& written = Text.Fonts[static_cast<std::size_t>(index)].ResourceName;
  Text.FontResource = written.empty() ? name : written;
  Text.FontIndex = index;
}

void PdfWriter::SetFontSize(float Points) { Text.FontSize = Points; }

bool PdfWriter::FontResourceTaken(const std::string& Name, std::int32_t Below) const {
  for (std::int32_t i = 1; i < Below; ++i)
    if (Text.Fonts[static_cast<std::size_t>(i)].ResourceName == Name) return true;
  return false;
}

std::int32_t PdfWriter::WriteFont(const std::string& Name, Bytes& FontFile,
                                  std::int32_t FileLength, const std::string& Descriptor) {
  // Each record has a resource name of its own: a name already taken (an
  // AddFont alias given twice, or one that a selected font already holds)
  // gets a number after it, since one resource dictionary holds every font.
  std::string name = Name;
  for (std::int32_t k = 2; FontResourceTaken(name, Text.FontCount); ++k) name = Name + "_" + std::to_string(k);
  const std::int32_t n = BeginIndirectObject();
  Text.FontResources += NameToken(name) + " " + std::to_string(n) + " 0 R ";
  FontRecord& r = Text.Fonts.at(static_cast<std::size_t>(Text.FontCount));
  r.ResourceName = name;

  WriteLine("<< /Type /Font /Subtype /" + std::string(r.FontType ? "TrueType" : "Type1") +
            " /Name " + NameToken(name) + " /BaseFont " + NameToken(r.BaseFont) +
            " /FirstChar 0 /LastChar 255");
  const std::string upper_base = text_case::Upper(r.BaseFont);
  if (upper_base != "SYMBOL" && upper_base != "ZAPFDINGBATS") {
    WriteLine("/Encoding << /Type /Encoding /BaseEncoding /" +
              std::string(r.MacEncoding != 1 ? "WinAnsiEncoding" : "MacRomanEncoding") + ">>");
  }
  if (!r.FontType) {
    WriteLine(" >>");
    EndIndirectObject();
    return n;
  }

  StringBuffer b;
  BufferReset(b);
  BufferAppend(b, "/FontDescriptor " + std::to_string(n + 1) + " 0 R\r/Widths [");
  for (int code = 0; code < 256; ++code) {
    BufferAppend(b, std::to_string(r.Widths[static_cast<std::size_t>(code)]) + " ");
    if (code % 16 == 15) BufferAppend(b, "\r");
  }
  BufferAppend(b, "]\r>>");
  WriteLine(BufferText(b));
  EndIndirectObject();

  const std::int32_t m = BeginIndirectObject();
  WriteLine("<< /Type /FontDescriptor /FontName " + NameToken(r.BaseFont) + " " + Descriptor + " ");
  if (FileLength == 0) {
    WriteLine(" >>");
    EndIndirectObject();
    return n;
  }
  WriteLine("/FontFile2 " + std::to_string(m + 1) + " 0 R >>");
  EndIndirectObject();
  BeginIndirectObject();
  WriteLine("<<");
  WriteStream(FontFile, 0, "", FileLength);
  EndIndirectObject();
  return n;
}

}  // namespace pdf
