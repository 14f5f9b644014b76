// Document settings: information texts, page labels, transitions, viewer
// preferences and the XMP metadata packet.

#include "tests/pdf/core/core_probe.h"

namespace {

using core_test::Count;
using core_test::ObjectBytes;
using core_test::Probe;
using core_test::ReadFile;
using core_test::TempPdf;

TEST(CoreDocInfo, PropertiesKeepDefaultsForEmptyTexts) {
  Probe w;
  w.SetDocProperty("Titolo", "Oggetto", "", "", "", "parole");
  EXPECT_EQ(w.Properties.Title, "Titolo");
  EXPECT_EQ(w.Navigation.Outlines[1].Caption, "Titolo");
  EXPECT_EQ(w.Properties.Author, "Sevrina");
  EXPECT_EQ(w.Properties.Creator, "Sevrina PDF writer");
  EXPECT_EQ(w.Properties.Producer, "Sevrina PDF writer");
  w.SetDocProperty("", "", "Autore", "Programma", "Produttore");
  EXPECT_EQ(w.Properties.Title, "");
  EXPECT_EQ(w.Navigation.Outlines[1].Caption, "");
  EXPECT_EQ(w.Properties.Subject, "");
  EXPECT_EQ(w.Properties.Keywords, "");
  EXPECT_EQ(w.Properties.Author, "Autore");
  EXPECT_EQ(w.Properties.Creator, "Programma");
  EXPECT_EQ(w.Properties.Producer, "Produttore");

  const std::string path = TempPdf();
  Probe d;
  d.BeginDoc(path);
  d.SetDocProperty("Relazione (bozza) \\ 2", "Sogg", "Mario Rossi", "", "", "a, b");
  d.EndDoc();
  const std::string info = pdftest::Pdfinfo(path).out;
  EXPECT_EQ(pdftest::PdfinfoValue(info, "Title"), "Relazione (bozza) \\ 2");
  EXPECT_EQ(pdftest::PdfinfoValue(info, "Author"), "Mario Rossi");
  EXPECT_EQ(pdftest::PdfinfoValue(info, "Keywords"), "a, b");
}

TEST(CoreDocInfo, PageLabels) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.SetLabel(1);
  EXPECT_EQ(w.Labels.PageLabels, "0 <<  /S /D >> ");
  {
    Probe big;  // page numbers are 32-bit: a range may start past 32767
    big.SetLabel(1, "", 40000);
    EXPECT_EQ(big.Labels.PageLabels, "0 <<  /S /D /St 40000 >> ");
  }
  w.SetLabel(0, "x");   // a prefix alone makes no range
  w.SetLabel(9, "x");   // unknown style: nothing
  w.SetLabel(-2);
  for (int i = 0; i < 4; ++i) w.BeginPage();
  w.SetLabel(3, "A-", 5);  // page 4 open: from index 3
  w.EndPage();
  w.SetLabel(4, "(x)");  // no page open: from the next page, index 4
  w.SetLabel(5, "", 0);
  w.BeginPage();
  w.EndDoc();
  EXPECT_EQ(w.Labels.PageLabels,
            "0 <<  /S /D >> 3 <<  /S /r /P (A-) /St 5 >> 4 <<  /S /A /P (\\(x\\)) >> 4 <<  /S /a /St 0 >> ");
  const std::string file = ReadFile(path);
  EXPECT_NE(file.find("\r/PageLabels << /Nums [ 0 <<  /S /D >> 3 <<  /S /r /P (A-) /St 5 >> "
                      "4 <<  /S /A /P (\\(x\\)) >> 4 <<  /S /a /St 0 >>  ] >>\r/Metadata"),
            std::string::npos);
  const auto json = pdftest::Qpdf({"--json", "--json-key=pagelabels", path});
  EXPECT_EQ(json.exit_code, 0);
  EXPECT_NE(json.out.find("\"/S\": \"/r\""), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"/P\": \"u:A-\""), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"/St\": 5"), std::string::npos) << json.out;
}

TEST(CoreDocInfo, Transitions) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.SetPageTransition(13, 5, 2);
  w.BeginPage();
  w.BeginPage();
  w.SetPageTransition(0);  // this page only
  w.BeginPage();
  w.BeginPage();
  w.SetPageTransition(18);  // unknown codes: no transition rather than a broken one
  w.BeginPage();
  w.SetPageTransition(-1, 3);
  w.BeginPage();
  w.SetPageTransition(17, 0.5f, 1.25f);
  w.EndDoc();
  const std::string file = ReadFile(path);
  const std::string dissolve = "/Resources 2 0 R\r/Dur 5 /Trans << /Type /Trans /D 2 /S /Dissolve >> >>";
  EXPECT_NE(ObjectBytes(file, 4).find(dissolve), std::string::npos);
  EXPECT_EQ(ObjectBytes(file, 6).find("/Trans"), std::string::npos);
  EXPECT_NE(ObjectBytes(file, 8).find(dissolve), std::string::npos);
  EXPECT_EQ(ObjectBytes(file, 10).find("/Trans"), std::string::npos);
  EXPECT_EQ(ObjectBytes(file, 12).find("/Trans"), std::string::npos);
  EXPECT_NE(ObjectBytes(file, 14).find("/Dur 0.5 /Trans << /Type /Trans /D 1.25 /S /R >> >>"),
            std::string::npos);
  EXPECT_EQ(Count(file, "<< /Type /Trans"), 3);
  pdftest::ExpectReadersAccept(path);
}

TEST(CoreDocInfo, EveryTransitionCodeIsReadable) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  for (int code = 0; code <= 19; ++code) {
    w.BeginPage();
    w.SetPageTransition(code, 2, 1);
  }
  w.EndDoc();
  EXPECT_EQ(Count(ReadFile(path), "/Type /Trans"), 17);
  pdftest::ExpectReadersAccept(path);
}

std::string CatalogOf(int prefs, bool bookmark, std::string* head = nullptr) {
  Probe w;
  const std::string path = TempPdf(std::to_string(prefs) + (bookmark ? "b" : ""));
  w.BeginDoc(path);
  w.BeginPage();
  if (bookmark) w.AddBookmark("Capitolo");
  w.SetViewerPreferences(prefs);
  w.EndDoc();
  const std::string file = ReadFile(path);
  if (head) *head = file.substr(0, 9);
  EXPECT_EQ(pdftest::QpdfCheck(path).exit_code, 0) << prefs;
  const std::size_t at = file.find("/Type /Catalog");
  return file.substr(at, file.find("endobj", at) - at);
}

TEST(CoreDocInfo, ViewerPreferences) {
  const std::string tail = "\n/ViewerPreferences <<  >>\n>>\n";
  EXPECT_NE(CatalogOf(0, false).find("/Metadata 6 0 R" + tail), std::string::npos);
  EXPECT_NE(CatalogOf(2, false).find("/Metadata 6 0 R" + tail), std::string::npos);
  EXPECT_NE(CatalogOf(2, true).find("\n/PageMode /UseOutlines" + tail), std::string::npos);
  EXPECT_NE(CatalogOf(1, false).find("\n/PageMode /FullScreen" + tail), std::string::npos);
  EXPECT_NE(CatalogOf(4, false).find("\n/PageMode /UseThumbs" + tail), std::string::npos);
  EXPECT_NE(CatalogOf(8192 + 1, false).find("\n/PageLayout /OneColumn\n/PageMode /FullScreen" + tail),
            std::string::npos);
  EXPECT_NE(CatalogOf(16384, false).find("\n/PageLayout /TwoColumnLeft" + tail), std::string::npos);
  EXPECT_NE(CatalogOf(static_cast<int>(0xFFFF8000u) | 4, false)
                .find("\n/PageLayout /TwoColumnRight\n/PageMode /UseThumbs" + tail),
            std::string::npos);
  EXPECT_EQ(CatalogOf(8192 + 4096, false).find("/PageLayout"), std::string::npos);
  std::string head;
  const std::string all = CatalogOf(16 | 32 | 64 | 256 | 512, false, &head);
  EXPECT_NE(all.find("\n/ViewerPreferences << /HideMenubar true /HideToolbar true /HideWindowUI true "
                     "/CenterWindow true /FitWindow true  >>\n"),
            std::string::npos);
  EXPECT_EQ(head, "%PDF-1.3\n");
  const std::string oc = CatalogOf(136, false, &head);
  EXPECT_NE(oc.find("\n/PageMode /UseOC\n/ViewerPreferences << /DisplayDocTitle true  >>\n"), std::string::npos);
  EXPECT_EQ(head, "%PDF-1.5\n");
  CatalogOf(128, false, &head);
  EXPECT_EQ(head, "%PDF-1.4\n");
}

// The packet as its lines give it, for the given texts.
std::string ExpectedXmp(const std::string& producer, const std::string& author, const std::string& creator,
                        const std::string& date, const std::string& title, const std::string& subject,
                        const std::string& keywords) {
  const std::string rdf = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
  const std::string pdfNs = "http://ns.adobe.com/pdf/1.3/";
  const std::string xap = "http://ns.adobe.com/xap/1.0/";
  const std::string dc = "http://purl.org/dc/elements/1.1/";
  const std::vector<std::string> lines = {
      "<rdf:RDF xmlns:rdf='" + rdf + "' xmlns:iX='http://ns.adobe.com/iX/1.0/'>",
      " <rdf:Description about='' xmlns='" + pdfNs + "' xmlns:pdf='" + pdfNs + "'>",
      "  <pdf:Producer>" + producer + "</pdf:Producer>",
      "  <pdf:Author>" + author + "</pdf:Author>",
      "  <pdf:Creator>" + creator + "</pdf:Creator>",
      "  <pdf:ModDate>" + date + "</pdf:ModDate>",
      "  <pdf:Title>" + title + "</pdf:Title>",
      "  <pdf:CreationDate>" + date + "</pdf:CreationDate>",
      "  <pdf:Subject>" + subject + "</pdf:Subject>",
      "  <pdf:Keywords>" + keywords + "</pdf:Keywords>",
      " </rdf:Description>",
      " <rdf:Description about='' xmlns='" + xap + "' xmlns:xap='" + xap + "'>",
      "  <xap:Author>" + author + "</xap:Author>",
      "  <xap:ModifyDate>" + date + "</xap:ModifyDate>",
      "  <xap:Title>",
      "   <rdf:Alt>",
      "  <rdf:li xml:lang='x-default'>" + title + "</rdf:li>",
      "   </rdf:Alt>",
      "  </xap:Title>",
      "  <xap:CreateDate>" + date + "</xap:CreateDate>",
      "  <xap:Description>",
      "   <rdf:Alt>",
      "  <rdf:li xml:lang='x-default'>" + subject + "</rdf:li>",
      "   </rdf:Alt>",
      "  </xap:Description>",
      "  <xap:MetadataDate>" + date + "</xap:MetadataDate>",
      " </rdf:Description>",
      " <rdf:Description about='' xmlns='" + dc + "' xmlns:dc='" + dc + "'>",
      "  <dc:creator>" + creator + "</dc:creator>",
      "  <dc:title>" + title + "</dc:title>",
      "  <dc:description>" + subject + "</dc:description>",
      " </rdf:Description>",
      "</rdf:RDF>",
      "<?xpacket end='r'?>",
  };
  std::string body;
  for (std::size_t i = 0; i < lines.size(); ++i) body += lines[i] + (i + 1 < lines.size() ? "\r" : "");
  return "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='" + std::to_string(body.size() + 64) +
         "'?>\r" + body;
}

TEST(CoreDocInfo, XmpPacketByteForByte) {
  Probe w;
  w.Properties.CreationDate = "D:20240131235959";
  w.SetDocProperty("Modello quadro economico", "Computo metrico", "", "", "", "sevrina");
  const std::string packet = w.BuildXmpMetadata();
  EXPECT_EQ(packet, ExpectedXmp("Sevrina PDF writer", "Sevrina", "Sevrina PDF writer", "D:20240131235959",
                                "Modello quadro economico", "Computo metrico", "sevrina"));
  EXPECT_EQ(Count(packet, "\r"), 34);  // 35 lines, none after the last
  EXPECT_EQ(packet.find('\n'), std::string::npos);
  EXPECT_EQ(packet.substr(0, 56), "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='");
  // With the defaults the count has four digits and is the packet's length.
  Probe d;
  const std::string def = d.BuildXmpMetadata();
  const std::string count = def.substr(56, def.find('\'', 56) - 56);
  EXPECT_EQ(count.size(), 4u);
  EXPECT_EQ(std::stoul(count), def.size());
}

TEST(CoreDocInfo, XmpEscapesAndCountsPastSixteenBits) {
  Probe w;
  w.Properties.CreationDate = "D:20240131235959";
  w.SetDocProperty("Rossi & Figli <srl> \"A\" 'B'", "perch\xE8");
  const std::string packet = w.BuildXmpMetadata();
  EXPECT_NE(packet.find("<pdf:Title>Rossi &amp; Figli &lt;srl&gt; &quot;A&quot; &apos;B&apos;</pdf:Title>"),
            std::string::npos);
  EXPECT_NE(packet.find("<pdf:Subject>perch\xC3\xA8</pdf:Subject>"), std::string::npos);  // UTF-8

  Probe big;
  big.SetDocProperty(std::string(40000, 'x'));
  const std::string large = big.BuildXmpMetadata();
  const std::string count = large.substr(56, large.find('\'', 56) - 56);
  EXPECT_EQ(std::stoul(count), large.size() - 60 - count.size() + 64);
  EXPECT_GT(std::stoul(count), 32767u * 3);

  // The packet a reader takes out of the file is well-formed XML.
  const std::string path = TempPdf();
  Probe d;
  d.BeginDoc(path);
  d.SetDocProperty("Rossi & Figli <srl>", "perch\xE8 l'IVA");
  d.EndDoc();
  const auto meta = pdftest::Pdfinfo(path, {"-meta"});
  ASSERT_EQ(meta.exit_code, 0);
  const auto lint = pdftest::RunTool({"xmllint", "--noout", "-"}, meta.out);
  EXPECT_EQ(lint.exit_code, 0) << lint.err;
  EXPECT_EQ(lint.err, "");
  pdftest::ExpectReadersAccept(path);
}

}  // namespace
