// The writer object as a whole: construction, the reset to defaults, opening
// the output file with its header, error recording, table growth, and
// handing the finished file to the desktop's viewer.

#include <cmath>
#include <ctime>
#include <random>

#include "pdf/PdfWriter.h"
#include "pdf/core/file_failure.h"
#include "platform/system/system.h"

namespace pdf {

namespace {

// The writer's banner: the header comment, the default producer and the
// start of the file identifier of protected documents.
constexpr const char* kBanner = "Sevrina PDF writer";
constexpr const char* kRelease = "2.4.4";
constexpr const char* kDefaultAuthor = "Sevrina";
constexpr const char* kDefaultCreator = "Sevrina PDF writer";

std::tm LocalNow() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return tm;
}

std::string TwoDigits(int v) {
  std::string s = std::to_string(v);
  return s.size() < 2 ? "0" + s : s;
}

// The zone part of a PDF date: "Z" for universal time, else the local
// offset from it as +HH'mm' or -HH'mm'.
std::string ZoneText(long offset_seconds) {
  if (offset_seconds == 0) return "Z";
  const long minutes = (offset_seconds < 0 ? -offset_seconds : offset_seconds) / 60;
  return (offset_seconds < 0 ? "-" : "+") + TwoDigits(static_cast<int>(minutes / 60)) + "'" +
         TwoDigits(static_cast<int>(minutes % 60)) + "'";
}

}  // namespace

// ---- failures -------------------------------------------------------------

PdfError::PdfError(std::int32_t number) : PdfError(number, DescriptionOf(number)) {}

std::string PdfError::DescriptionOf(std::int32_t number) {
  switch (number) {
    case 5: return "Invalid procedure call or argument";
    case 6: return "Overflow";
    case 7: return "Out of memory";
    case 9: return "Subscript out of range";
    case 11: return "Division by zero";
    case 13: return "Type mismatch";
    case 52: return "Bad file name or number";
    case 53: return "File not found";
    case 55: return "File already open";
    case 57: return "Device I/O error";
    case 61: return "Disk full";
    case 62: return "Input past end of file";
    case 70: return "Permission denied";
    case 75: return "Path/File access error";
    case 76: return "Path not found";
    case 321: return "Invalid file format";
    default: return "Application-defined or object-defined error";
  }
}

void PdfWriter::RecordError(const std::string& MemberName, const std::string& Detail,
                            std::int32_t Number, const std::string& Description) {
  Error.LastErrNumber = Number;
  Error.LastErrSource = "PdfWriter." + MemberName;
  Error.LastErrDescription = Detail.empty() ? Description : Description + " - " + Detail;
}

void PdfWriter::RecordError(const std::string& MemberName, const std::string& Detail,
                            const PdfError& Failure) {
  RecordError(MemberName, Detail, Failure.Number(), Failure.Description());
}

// ---- construction ---------------------------------------------------------

PdfWriter::PdfWriter() {
  for (int i = 0; i <= 16; ++i) Powers.PowersOfTwo[static_cast<std::size_t>(i)] = std::int32_t{1} << i;
  Abort();
}

PdfWriter::~PdfWriter() {
  // An unfinished document stays unfinished; only the handle is given back.
  if (Output.Handle != nullptr) std::fclose(Output.Handle);
}

// ---- reset ----------------------------------------------------------------

void PdfWriter::Abort() {
  // 1. An open output file is closed as it stands.
  if (Output.Handle != nullptr) {
    std::fclose(Output.Handle);
    Output.Handle = nullptr;
  }
  // 2.
  Security.Encrypted = false;
  Security.Rc4Cache.Key.clear();
  Output.FileName.clear();
  Output.FinalSize = 0;
  Output.BytesWritten = 0;
  Output.DocumentBegun = false;
  Growth.MemoryUsage = 1;
  Output.FileNumber = 0;
  Objects.VersionIncrement = 0;
  Settings.CompressionMode = 0;
  Settings.CompressionQuality = 0;
  // 3. Document properties.
  Properties.Title = "(senza titolo)";
  Properties.Subject.clear();
  Properties.Keywords.clear();
  {
    std::tm tm = LocalNow();
    Properties.CreationDate = "D:" + std::to_string(tm.tm_year + 1900) + TwoDigits(tm.tm_mon + 1) +
                              TwoDigits(tm.tm_mday) + TwoDigits(tm.tm_hour) +
                              TwoDigits(tm.tm_min) + TwoDigits(tm.tm_sec) + ZoneText(tm.tm_gmtoff);
  }
  Properties.Author = kDefaultAuthor;
  Properties.Creator = kDefaultCreator;
  Properties.Producer = kBanner;
  // 4. Points, A4 (the margins, cleared again below, go first so that the
  // new page size is checked against none).
  Pages.Margins = PageMargins{};
  SetScale(0, 1);
  SetPaperSize(0);
  // 5.
  Pages.DefaultRotation = 0;
  Pages.PageRotation = 0;
  Pages.Margins = PageMargins{};
  Pages.ClipPage = false;
  Content.RecordingUncolored = false;
  Content.RecordingTiling = false;
  Content.RecordingObject = false;
  Pages.PageOpen = false;
  Pages.PageAnnots.clear();
  Labels.PageLabels.clear();
  Labels.LabelRanges.clear();
  // 6. Stored colours and text state; nothing is written.
  Colours.TextColor = "#000000";
  Colours.FillColor = "#FFFFFF";
  Colours.LineColor = "#000000";
  Pages.CurrentX = 0;
  Pages.CurrentY = 0;
  Text.FontName.clear();
  // No font is selected, as on a new writer: the table is emptied below,
  // and a font of the next document (AddFont) would otherwise stand at the
  // old index while its text named the old font's resource.
  Text.FontIndex = 0;
  Text.FontResource.clear();
  Text.FontToken.clear();
  Text.FontTokenOf.clear();
  Settings.ViewerPreferences = 0;
  Text.FontSize = 0;
  Text.CharSpacing = 0;
  Text.WordSpacing = 0;
  Text.HorizontalScaling = 100;
  Text.LineSpacing = 1.0f;
  // 7.
  for (auto& s : Labels.DocScripts) s.clear();
  Forms.FieldCount = 0;
  Forms.FieldRefs.clear();
  Forms.CalcOrderRefs.clear();
  Forms.FormFontNeeded = false;
  Forms.ButtonFontNeeded = false;
  Error.LastErrNumber = 0;  // source and description keep their texts
  Resources.AlphaCount = 0;
  Resources.ExtGStateResources.clear();
  Resources.TilingName.clear();
  Resources.TilingDictionary.clear();
  Resources.TilingUncolored = false;
  Resources.UncoloredPatterns.clear();
  Resources.TilesNamePatterns = false;
  Resources.PatternResources.clear();
  // 8. Counts to 0; the tables keep their storage.
  Objects.LastObjectNumber = 0;
  Resources.RecordedObjectCount = 0;
  Resources.XObjectResources.clear();
  Text.FontCount = 0;
  Text.FontResources.clear();
  Navigation.OutlineCount = 0;
  Import.ImportSourceCount = 0;
  Import.SourceFileHandle = 0;
  Import.CurrentSource = 0;
  Pages.PageCount = 0;
  Pages.PageKids.clear();
  Resources.ImageCount = 0;
  Resources.ImageResources.clear();
  Navigation.StyleDepth = 0;
  Navigation.CellFonts.clear();
  Navigation.DestinationCount = 0;
  Navigation.LayerCount = 0;
  // 9.
  Objects.XrefEntries.assign(1, std::string());
  // 10. Outline entry 1 is always the document title.
  AddBookmark(Properties.Title);
}

// ---- opening the document -------------------------------------------------

std::string PdfWriter::BeginDoc(const std::string& strFileName) {
  std::string name = strFileName;
  // One document per BeginDoc: the pages, fonts and objects of the document
  // under way (or written already) belong to its file alone, so a second
  // one is refused until Abort clears the object; the first goes on.
  if (Output.DocumentBegun) {
    RecordError("BeginDoc", name, PdfError(Output.Handle != nullptr ? 55 : 5));
    return name;
  }
  try {
    if (Output.Handle != nullptr) {
      std::fclose(Output.Handle);
      Output.Handle = nullptr;
    }
    Output.FileNumber = 0;
    if (name.empty()) {
      // Day of the month, hours, minutes, seconds and one random digit, read
      // as a number and written in hexadecimal: "~" + hex + ".pdf".
      std::tm tm = LocalNow();
      std::random_device rd;
      std::minstd_rand gen(rd() ^ static_cast<unsigned>(std::time(nullptr)));
      const int digit = static_cast<int>(gen() % 10);
      const std::string digits = std::to_string(tm.tm_mday) + TwoDigits(tm.tm_hour) +
                                 TwoDigits(tm.tm_min) + TwoDigits(tm.tm_sec) +
                                 std::to_string(digit);
      const long long value = std::stoll(digits);
      char hex[32];
      std::snprintf(hex, sizeof hex, "%llX", value);
      name = std::string("~") + hex + ".pdf";
    }
    Output.FileNumber = 1;
    Output.FileName = name;
    Output.BytesWritten = 0;
    Output.Handle = std::fopen(name.c_str(), "wb");
    if (Output.Handle != nullptr) {
      // Large buffered writes; offsets are counted by the writer itself.
      std::setvbuf(Output.Handle, nullptr, _IOFBF, 1 << 16);
      Output.DocumentBegun = true;
    } else {
      // The header cannot be written (52), unless the system said why in a
      // way the user can act on: a full disk or refused access.
      throw FileFailure(errno, 52);
    }
    WriteLine(std::string("%PDF-1.3") + "\n" + "% " + kBanner + " rel. " + kRelease);
  } catch (const PdfError& e) {
    RecordError("BeginDoc", name, e);
  } catch (const std::exception&) {
    RecordError("BeginDoc", name, PdfError(57));
  }
  Objects.LastObjectNumber = 3;
  return name;
}

void PdfWriter::OpenDoc() {
  std::string path = Output.FileName;
  if (path.empty()) return;
  // A name starting with "-" would read as an option of the viewer command.
  if (path[0] == '-') path = "./" + path;
  sys::open_in_viewer(path);
}

// ---- read-only properties -------------------------------------------------

std::int32_t PdfWriter::ErrNumber() const { return Error.LastErrNumber; }
std::string PdfWriter::ErrSource() const { return Error.LastErrSource; }
std::string PdfWriter::ErrDescription() const { return Error.LastErrDescription; }

std::int32_t PdfWriter::FileSize() const {
  if (Output.Handle != nullptr) {
    return Output.BytesWritten > INT32_MAX ? INT32_MAX
                                           : static_cast<std::int32_t>(Output.BytesWritten);
  }
  return Output.FinalSize;
}

std::string PdfWriter::Version() const { return kRelease; }

void PdfWriter::SetMemoryUsage(std::int16_t Value) {
  if (Value < 0) throw PdfError(6);  // does not fit a byte
  if (Value >= 11) return;
  // A factor of 0 would leave a new table without room for its first entry.
  Growth.MemoryUsage = static_cast<std::uint8_t>(Value == 0 ? 1 : Value);
}

// ---- table growth ---------------------------------------------------------

std::int32_t PdfWriter::TableUpperBound(std::int32_t n) const {
  const std::int32_t m = Growth.MemoryUsage < 1 ? 1 : Growth.MemoryUsage;
  std::int64_t bound;
  if (n == 1) {
    bound = 10 * m;
  } else if (m == 1) {
    bound = static_cast<std::int64_t>(n) + 10;
  } else {
    // Rounded to the nearest whole number, halves to even.
    bound = static_cast<std::int64_t>(std::nearbyint(static_cast<double>(m) * n / 5.0 + n + 10));
  }
  if (bound < n) bound = n;
  if (bound > INT32_MAX - 1) throw PdfError(7);
  return static_cast<std::int32_t>(bound);
}

}  // namespace pdf
