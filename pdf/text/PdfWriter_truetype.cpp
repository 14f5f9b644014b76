// TrueType fonts: AddFont reads a font file once, takes its metrics through
// the TrueType reader, adds a font record and writes the font's objects with
// the file embedded, so that SetFont selects it by its alias like a
// standard font.

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <optional>
#include <string>

#include "pdf/PdfWriter.h"
#include "pdf/text/text_case.h"
#include "pdf/text/truetype.h"
#include "platform/system/system.h"

namespace pdf {

namespace {

constexpr std::int32_t kInvalidFileFormat = 321;

// The failure number of a reader status: outside data as a subscript out of
// range, an oversized value as an overflow, unitsPerEm 0 as the division it
// would be; everything the reader refuses outright as an invalid format.
std::int32_t FailureNumber(TrueTypeStatus status) {
  switch (status) {
    case TrueTypeStatus::kOutOfRange: return 9;
    case TrueTypeStatus::kOverflow: return 6;
    case TrueTypeStatus::kNoUnitsPerEm: return 11;
    default: return kInvalidFileFormat;
  }
}

std::string FailureDescription(const TrueTypeResult& r) {
  const std::int32_t number = FailureNumber(r.status);
  std::string text = number == kInvalidFileFormat ? "Invalid file format"
                                                  : PdfError::DescriptionOf(number);
  text += ": ";
  text += TrueTypeStatusText(r.status);
  if (!r.detail.empty()) text += " (" + r.detail + ")";
  return text;
}

// The descriptor entries after /FontName, in the order PDF readers are used
// to from this writer.
std::string DescriptorText(const TrueTypeFont& f, const std::string& italic_angle) {
  std::int32_t flags = f.ItalicAngle != 0 ? 64 : 0;
  if (f.FixedPitch) flags += 1;
  flags += f.Symbolic ? 4 : 32;
  const auto n = [](std::int32_t v) { return std::to_string(v); };
  return "/Flags " + n(flags) + " /FontBBox [" + n(f.XMin) + " " + n(f.YMin) + " " + n(f.XMax) +
         " " + n(f.YMax) + "] /MissingWidth " + n(f.MissingWidth) +
         " /StemV " + (f.WeightClass <= 500 ? "70" : "120") + " /ItalicAngle " + italic_angle +
         " /CapHeight " + n(f.Ascent) + " /XHeight " +
         n(static_cast<std::int32_t>(std::floor(f.Ascent / 2.0))) + " /Ascent " + n(f.Ascent) +
         " /Descent " + n(f.Descent) + " /MaxWidth " + n(f.MaxWidth) + " /AvgWidth " +
         n(f.AvgWidth);
}

}  // namespace

std::string PdfWriter::AddFont(const std::string& TTFFile, const std::string& FontAlias,
                               bool Embedded, std::int32_t Encoding) {
  const std::filesystem::path path = sys::path_from_text(TTFFile);
  if (!sys::file_exists(path)) {
    RecordError("AddFont", TTFFile, PdfError(53));
    return "";
  }
  Bytes data;
  {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
      RecordError("AddFont", TTFFile, PdfError(75));
      return "";
    }
    const std::streamoff size = in.tellg();
    // The embedded length is a 32-bit count.
    if (size < 0 || size > std::numeric_limits<std::int32_t>::max()) {
      RecordError("AddFont", TTFFile, PdfError(6));
      return "";
    }
    data.resize(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(data.data()), size)) {
      RecordError("AddFont", TTFFile, PdfError(57));
      return "";
    }
  }

  const TrueTypeResult read = ReadTrueType(data);
  if (read.status != TrueTypeStatus::kOk) {
    RecordError("AddFont", TTFFile, FailureNumber(read.status), FailureDescription(read));
    return "";
  }
  const TrueTypeFont& f = read.font;
  const std::string alias = FontAlias.empty() ? f.FontName : FontAlias;

  std::string style;
  if (f.WeightClass > 500) style = "Bold";
  if (f.ItalicAngle != 0) style += "Italic";

  const std::int32_t count_before = Text.FontCount;
  const std::string resources_before = Text.FontResources;
  Text.FontCount += 1;
  GrowTable(Text.Fonts, Text.FontCount);
  FontRecord& r = Text.Fonts[static_cast<std::size_t>(Text.FontCount)];
  r = FontRecord{};
  r.Key = text_case::Upper(alias);
  r.FontType = true;
  r.BaseFont = style.empty() ? f.FontName : f.FontName + "," + style;
  r.Widths = f.Widths;
  r.LineHeight = static_cast<std::int16_t>(f.Ascent + std::abs(f.Descent));
  r.Descent = f.Descent;
  r.MacEncoding = Encoding;

  const std::string descriptor = DescriptorText(f, FormatNumber(f.ItalicAngle));
  const auto length = static_cast<std::int32_t>(data.size());
  std::optional<PdfError> failure;
  try {
    WriteFont(alias, data, Embedded ? length : 0, descriptor);
    return alias;
  } catch (const PdfError& e) {
    failure = e;
  } catch (const std::bad_alloc&) {
    failure = PdfError(7);
  }
  // No font object, no record: a later selection must not find it.
  Text.FontCount = count_before;
  Text.FontResources = resources_before;
  RecordError("AddFont", TTFFile, *failure);
  return "";
}

}  // namespace pdf
