// Links and named destinations: LinkTo turns the last drawn element into a
// link annotation (to an address, a file, a script, a layer switch, a named
// view, a page or an outline entry); DefineRef names a view of the current
// page. Page and outline targets, and the named views, become entries of the
// destination table that EndDoc writes as the /Dests dictionary.

#include <limits>
#include <optional>

#include "pdf/PdfWriter.h"
#include "pdf/core/pdf_name.h"
#include "pdf/interactive/number_text.h"
#include "pdf/text/text_case.h"
#include "platform/text/cp1252.h"

namespace pdf {

namespace {

constexpr char CR = '\r';

bool StartsWith(const std::string& s, const char* prefix) {
  return s.rfind(prefix, 0) == 0;
}

// A page number from a real value: rounded half to even, held inside the
// 32-bit range (a page past the end becomes the last page at document end).
std::int32_t PageNumber(double value) {
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return RoundToInt32(value).value_or(0);
}

// A layer name (Windows-1252) inside the script's single-quoted string
// literal. Characters outside ASCII, and control characters, are written as
// \u escapes of their Unicode code points: the script stays plain ASCII,
// whatever encoding a viewer reads it in.
std::string ScriptLiteral(const std::string& name) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x80) {
      const char32_t u = cp1252::to_unicode(byte);
      out += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(u >> shift) & 0xF];
      continue;
    }
    if (c == '\\' || c == '\'') out += '\\';
    out += c;
  }
  return out;
}

bool IsAscii(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// The script of a "layer:" target: for the first group of each of ON(...),
// OFF(...) and TOGGLE(...), one test per layer name that sets the state of
// that optional-content group. Blanks are ignored and names taken in upper
// case; a layer keeps its name as given, so the script brings the viewer's
// name to the same form before it compares. Nothing when a group lacks its
// ")".
std::optional<std::string> LayerScript(const std::string& spec) {
  std::string s;
  for (char c : spec) {
    if (c != ' ') s += c;
  }
  struct Group {
    const char* keyword;
    const char* effect;
  };
  static const Group kGroups[] = {
      {"ON(", ") { ocgArray[i].state = true; };"},
      {"OFF(", ") { ocgArray[i].state = false; };"},
      {"TOGGLE(", ") { ocgArray[i].state = !ocgArray[i].state; };"},
  };
  std::string body;
  for (const Group& g : kGroups) {
    const std::size_t at = s.find(g.keyword);
    if (at == std::string::npos) continue;
    const std::size_t from = at + std::char_traits<char>::length(g.keyword);
    const std::size_t close = s.find(')', from);
    if (close == std::string::npos) return std::nullopt;
    std::size_t start = from;
    for (;;) {
      const std::size_t comma = s.find(',', start);
      const std::size_t end = comma == std::string::npos || comma > close ? close : comma;
      // A name with letters beyond ASCII is upper-cased by the script too,
      // as it upper-cases the viewer's name: the two casings then agree
      // for every letter (a sharp s, a micro sign, an s with caron).
      const std::string name = text_case::Upper(s.substr(start, end - start));
      body += "if (name == '" + ScriptLiteral(name) + (IsAscii(name) ? "'" : "'.toUpperCase()") +
              g.effect + CR;
      if (end == close) break;
      start = end + 1;
    }
  }
  return "var ocgArray = this.getOCGs();for (var i=0; i < ocgArray.length; i++) {" +
         std::string(1, CR) + "var name = ocgArray[i].name.toUpperCase().replace(/ /g, '');" + CR + body +
         "}";
}

}  // namespace

std::string PdfWriter::DestinationView(std::int32_t Type, float x, float y, float Width,
                                       float Height, float Zoom) const {
  switch (Type) {
    case 0: return "/FitB";
    case 1: return "/FitV " + FormatNumber(x);
    case 2: return "/FitH " + FormatNumber(y);
    case 3:
      return "/FitR " + FormatNumber(x) + " " + FormatNumber(y) + " " +
             FormatNumber(x + ToPoints(Width)) + " " + FormatNumber(y - ToPoints(Height));
    case 4: return "/XYZ " + FormatNumber(x) + " " + FormatNumber(y) + " " + FormatNumber(Zoom / 100);
    default: return "";
  }
}

std::int32_t PdfWriter::StoreDestination(std::int32_t Index, std::int32_t Page, const std::string& View,
                                         const std::string& Name) {
  if (Index == 0) {
    if (Navigation.DestinationCount == std::numeric_limits<std::int32_t>::max()) throw PdfError(6);
    Index = Navigation.DestinationCount + 1;
    GrowTable(Navigation.Destinations, Index);
    Navigation.DestinationCount = Index;
  }
  // A destination names a view after its page; without one (a view type
  // outside 0 to 4, an outline entry without view) it shows the whole page.
  Navigation.Destinations.at(static_cast<std::size_t>(Index)) =
      DestinationRecord{Page, View.empty() ? "/Fit" : View, Name};
  return Index;
}

void PdfWriter::DefineRef(const std::string& RefName, std::int32_t TypeOfBookmark, float X, float Y,
                          float Width, float Height, float Zoom) {
  // A zero coordinate stands for the current point, which is kept from the
  // margin origin with y downward: moved into the page space like the rest.
  const float x = X != 0 ? ToPoints(X) : Pages.Margins.Left + Pages.CurrentX;
  const float y = Pages.PageHeight - (Y != 0 ? ToPoints(Y) : Pages.Margins.Top + Pages.CurrentY);
  const std::string view = DestinationView(TypeOfBookmark, x, y, Width, Height, Zoom);
  const std::string name = NameToken("_REF_" + RefName);
  // A name may stand only once in the destinations dictionary: defining it
  // again moves it to the new view.
  std::int32_t& index = Navigation.RefIndex[name];
  if (index > Navigation.DestinationCount ||
      (index != 0 && Navigation.Destinations.at(static_cast<std::size_t>(index)).Name != name)) {
    index = 0;
  }
  index = StoreDestination(index, Pages.PageCount, view, name);
}

void PdfWriter::LinkTo(const std::string& Destination, std::int16_t BorderWidth,
                       std::int32_t OnMouseDown, std::int32_t TypeOfLink, float X, float Y,
                       float Width, float Height, float Zoom) {
  const auto& r = Content.LastRect;
  const std::string rect = FormatNumber(r[0]) + " " + FormatNumber(r[1]) + " " + FormatNumber(r[2]) +
                           " " + FormatNumber(r[3]);
  std::string border = BorderWidth == 0
                           ? std::string("/Border [ 0 0 0] ")
                           : "/Border [ 0 0 " + std::to_string(BorderWidth) + "]" + CR;
  static const char* const kHighlight[] = {" /H /N", " /H /I", " /H /O", " /H /P"};
  if (OnMouseDown >= 0 && OnMouseDown <= 3) border += kHighlight[OnMouseDown] + std::string(1, CR);

  const std::string head = "<< /Type /Annot" + std::string(1, CR) + "/Subtype /Link /Rect [" + rect +
                           "]" + CR + border + CR;
  const std::string& target = Destination;

  if (StartsWith(target, "mailto:") || StartsWith(target, "http:") ||
      StartsWith(target, "https:") || StartsWith(target, "file:")) {
    std::string d = head;
    WriteAnnotation(d, "", "", "", target);
    return;
  }
  if (StartsWith(target, "script:")) {
    if (RecordingDropped()) return;
    const std::int32_t n = WriteStreamObject(target.substr(7));
    std::string d = head + "/A << /S /JavaScript /JS " + std::to_string(n) + " 0 R >>";
    WriteAnnotation(d, "", "", "", "");
    return;
  }
  if (StartsWith(target, "ref:")) {
    std::string d = head + "/Dest " + NameToken("_REF_" + target.substr(4));
    WriteAnnotation(d, "", "", "", "");
    return;
  }
  if (StartsWith(target, "layer:")) {
    const std::optional<std::string> script = LayerScript(target.substr(6));
    if (!script || RecordingDropped()) return;  // a group without its ")": no link
    const std::int32_t n = WriteStreamObject(*script);
    std::string d = head + "/A << /S /JavaScript /JS " + std::to_string(n) + " 0 R >> ";
    WriteAnnotation(d, "", "", "", "");
    return;
  }

  // Page and outline targets: a destination record the link names.
  std::int32_t page = 0;
  std::string view;
  if (StartsWith(target, "page:")) {
    const std::string rest = target.substr(5);
    if (StartsWith(rest, "-") || StartsWith(rest, "+")) {
      page = PageNumber(static_cast<double>(Pages.PageCount) + LeadingNumber(rest));
      if (page < 1) page = 1;
    } else if (StartsWith(rest, "#")) {
      const std::string word = text_case::Upper(rest.substr(1));
      if (word == "LAST") page = -1;
      else if (word == "NEXT") page = PageNumber(static_cast<double>(Pages.PageCount) + 1);
      else if (word == "PREV") page = Pages.PageCount - 1;
      else if (word == "FIRST") page = 1;
    } else {
      page = PageNumber(LeadingNumber(rest));
    }
    const float x = ToPoints(X);
    const float y = Pages.PageHeight - ToPoints(Y);
    view = DestinationView(TypeOfLink, x, y, Width, Height, Zoom);
    if (!view.empty()) view = " " + view;
  } else if (StartsWith(target, "bookmark:@")) {
    // Only an entry of the outline table is a target; anything else writes
    // no link and adds no destination.
    const std::int32_t i = RoundToInt32(LeadingNumber(target.substr(10))).value_or(0);
    if (i < 1 || i > Navigation.OutlineCount) return;
    const OutlineEntry& entry = Navigation.Outlines.at(static_cast<std::size_t>(i));
    page = entry.Page;
    view = entry.Destination;
  } else {
    // Any other target ("bookmark:" without "@" included) is no link.
    return;
  }
  if (RecordingDropped()) return;
  const std::int32_t index =
      StoreDestination(0, page, view, "/_LINK_" + std::to_string(Navigation.DestinationCount + 1));
  std::string d = "<< /Type /Annot" + std::string(1, CR) + "/Subtype /Link" + CR + "/Rect [" + rect +
                  "]" + CR + border + "/Dest /_LINK_" + std::to_string(index);
  WriteAnnotation(d, "", "", "", "");
}

}  // namespace pdf
