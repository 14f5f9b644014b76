// Document settings: information texts, page-label ranges, page
// transitions, viewer preferences, and the XMP metadata packet.

#include <limits>

#include "pdf/PdfWriter.h"
#include "platform/text/cp1252.h"

namespace pdf {

void PdfWriter::SetDocProperty(const std::string& DocTitle, const std::string& DocSubject,
                               const std::string& DocAuthor, const std::string& DocCreator,
                               const std::string& DocProducer, const std::string& DocKeywords) {
  Properties.Title = DocTitle;
  if (Navigation.OutlineCount >= 1) Navigation.Outlines[1].Caption = DocTitle;
  Properties.Subject = DocSubject;
  Properties.Keywords = DocKeywords;
  if (!DocAuthor.empty()) Properties.Author = DocAuthor;
  if (!DocCreator.empty()) Properties.Creator = DocCreator;
  if (!DocProducer.empty()) Properties.Producer = DocProducer;
}

void PdfWriter::SetLabel(std::int32_t PageLabel, const std::string& LabelPrefix,
                         std::int32_t FirstValue) {
  static const char* kStyles[6] = {"", " /S /D", " /S /R", " /S /r", " /S /A", " /S /a"};
  const std::string style = (PageLabel >= 1 && PageLabel <= 5) ? kStyles[PageLabel] : "";
  if (style.empty()) return;  // a prefix alone makes no range
  // Readers' integers end at 2^31 - 1 on both sides: -2^31 has no text.
  if (FirstValue == std::numeric_limits<std::int32_t>::min()) throw PdfError(6);
  PageLabelRange range;
  range.PageIndex = Pages.PageOpen ? Pages.PageCount - 1 : Pages.PageCount;
  range.Style = style;
  range.Prefix = LabelPrefix;
  range.FirstValue = FirstValue;
  Labels.LabelRanges.push_back(range);
  // The text form of the range; the catalog forms the prefix literal again
  // at the close, under its own key when the document is protected.
  std::string entry = style;
  if (!LabelPrefix.empty()) entry += " /P (" + EscapeString(LabelPrefix) + ")";
  if (FirstValue != -1) entry += " /St " + std::to_string(FirstValue);
  Labels.PageLabels += std::to_string(range.PageIndex) + " << " + entry + " >> ";
}

void PdfWriter::SetPageTransition(std::int32_t Transition, float ShowTime, float TransTime) {
  static const char* kStyles[18] = {
      "",
      "/S /Split /Dm /H /M /I >> ",
      "/S /Split /Dm /V /M /I >> ",
      "/S /Split /Dm /H /M /O >> ",
      "/S /Split /Dm /V /M /O >> ",
      "/S /Wipe /Di 180 >> ",
      "/S /Wipe /Di 0 >> ",
      "/S /Wipe /Di 270 >> ",
      "/S /Wipe /Di 90 >> ",
      "/S /Box /M /I >> ",
      "/S /Box /M /O >> ",
      "/S /Blinds /Dm /H >> ",
      "/S /Blinds /Dm /V >> ",
      "/S /Dissolve >> ",
      "/S /Glitter /Di 0 >> ",
      "/S /Glitter /Di 270 >> ",
      "/S /Glitter /Di 315 >> ",
      "/S /R >> ",
  };
  std::string t;
  // Codes outside 1 to 17 mean no transition: an unterminated dictionary
  // would otherwise reach the page object.
  if (Transition >= 1 && Transition <= 17) {
    t = "<< /Type /Trans /D " + FormatNumber(TransTime) + " " + kStyles[Transition];
    FormatNumber(ShowTime);  // written when the page ends: refused now if it cannot be
  }
  if (Pages.PageOpen) {
    Labels.Transition.PageText = t;
    Labels.Transition.PageDuration = ShowTime;
  } else {
    Labels.Transition.NextText = t;
    Labels.Transition.NextDuration = ShowTime;
  }
}

void PdfWriter::SetViewerPreferences(std::int32_t Mode) { Settings.ViewerPreferences = Mode; }

namespace {

// An information text as XML character data: UTF-8, the five XML special
// characters escaped, control characters that XML forbids left out.
std::string XmlText(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (unsigned char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '\'': out += "&apos;"; break;
      case '"': out += "&quot;"; break;
      default:
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') break;
        if (c < 0x80) out += static_cast<char>(c);
        else out += cp1252::to_utf8(std::string(1, static_cast<char>(c)));
        break;
    }
  }
  return out;
}

// A PDF date ("D:" + 14 digits + "Z" or +HH'mm' / -HH'mm') in the ISO 8601
// form XMP requires: 2026-12-07T01:27:15+01:00. Any other text stays as it is.
std::string XmpDate(const std::string& pdf_date) {
  const std::string& d = pdf_date;
  if (d.size() < 17 || d.compare(0, 2, "D:") != 0) return d;
  for (std::size_t i = 2; i < 16; ++i)
    if (d[i] < '0' || d[i] > '9') return d;
  std::string iso = d.substr(2, 4) + "-" + d.substr(6, 2) + "-" + d.substr(8, 2) + "T" +
                    d.substr(10, 2) + ":" + d.substr(12, 2) + ":" + d.substr(14, 2);
  const std::string zone = d.substr(16);
  if (zone == "Z") return iso + "Z";
  if (zone.size() == 7 && (zone[0] == '+' || zone[0] == '-') && zone[3] == '\'' && zone[6] == '\'')
    return iso + zone.substr(0, 3) + ":" + zone.substr(4, 2);
  return d;
}

}  // namespace

std::string PdfWriter::BuildXmpMetadata() {
  const std::string CR = "\r";
  const std::string producer = XmlText(Properties.Producer);
  const std::string author = XmlText(Properties.Author);
  const std::string creator = XmlText(Properties.Creator);
  const std::string date = XmlText(XmpDate(Properties.CreationDate));
  const std::string title = XmlText(Properties.Title);
  const std::string subject = XmlText(Properties.Subject);
  const std::string keywords = XmlText(Properties.Keywords);
  const std::string rdf = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
  const std::string ix = "http://ns.adobe.com/iX/1.0/";
  const std::string pdfNs = "http://ns.adobe.com/pdf/1.3/";
  const std::string xap = "http://ns.adobe.com/xap/1.0/";
  const std::string dc = "http://purl.org/dc/elements/1.1/";

  std::string b;
  b.reserve(2048);
  b += "<rdf:RDF xmlns:rdf='" + rdf + "' xmlns:iX='" + ix + "'>" + CR;
  b += " <rdf:Description about='' xmlns='" + pdfNs + "' xmlns:pdf='" + pdfNs + "'>" + CR;
  b += "  <pdf:Producer>" + producer + "</pdf:Producer>" + CR;
  b += "  <pdf:Author>" + author + "</pdf:Author>" + CR;
  b += "  <pdf:Creator>" + creator + "</pdf:Creator>" + CR;
  b += "  <pdf:ModDate>" + date + "</pdf:ModDate>" + CR;
  b += "  <pdf:Title>" + title + "</pdf:Title>" + CR;
  b += "  <pdf:CreationDate>" + date + "</pdf:CreationDate>" + CR;
  b += "  <pdf:Subject>" + subject + "</pdf:Subject>" + CR;
  b += "  <pdf:Keywords>" + keywords + "</pdf:Keywords>" + CR;
  b += " </rdf:Description>" + CR;
  b += " <rdf:Description about='' xmlns='" + xap + "' xmlns:xap='" + xap + "'>" + CR;
  b += "  <xap:Author>" + author + "</xap:Author>" + CR;
  b += "  <xap:ModifyDate>" + date + "</xap:ModifyDate>" + CR;
  b += "  <xap:Title>" + CR;
  b += "   <rdf:Alt>" + CR;
  b += "  <rdf:li xml:lang='x-default'>" + title + "</rdf:li>" + CR;
  b += "   </rdf:Alt>" + CR;
  b += "  </xap:Title>" + CR;
  b += "  <xap:CreateDate>" + date + "</xap:CreateDate>" + CR;
  b += "  <xap:Description>" + CR;
  b += "   <rdf:Alt>" + CR;
  b += "  <rdf:li xml:lang='x-default'>" + subject + "</rdf:li>" + CR;
  b += "   </rdf:Alt>" + CR;
  b += "  </xap:Description>" + CR;
  b += "  <xap:MetadataDate>" + date + "</xap:MetadataDate>" + CR;
  b += " </rdf:Description>" + CR;
  b += " <rdf:Description about='' xmlns='" + dc + "' xmlns:dc='" + dc + "'>" + CR;
  b += "  <dc:creator>" + creator + "</dc:creator>" + CR;
  b += "  <dc:title>" + title + "</dc:title>" + CR;
  b += "  <dc:description>" + subject + "</dc:description>" + CR;
  b += " </rdf:Description>" + CR;
  b += "</rdf:RDF>" + CR;
  b += "<?xpacket end='r'?>";
  const std::int64_t count = static_cast<std::int64_t>(b.size()) + 64;
  return "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='" + std::to_string(count) + "'?>" +
         CR + b;
}

}  // namespace pdf
