// Whatever a caller passes, a valid file: name escapes, the checked-in
// scripts of hostile calls through the real readers, and texts and dates as
// readers decode them.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

#include "pdf/core/pdf_name.h"
#include "tests/fuzz/pdf_judge.h"
#include "tests/fuzz/writer_script.h"
#include "tests/pdf/core/core_probe.h"

namespace {

using pdftest::Count;

TEST(Hardening, NameTokens) {
  const char* cases[][2] = {{"Arial,Bold", "/Arial,Bold"}, {"", "/"}, {"My/Font(1)", "/My#2FFont#281#29"},
                            {"a b\tc#", "/a#20b#09c#23"}, {"<>[]{}%", "/#3C#3E#5B#5D#7B#7D#25"},
                            {"\x7F\x80\xFF", "/#7F#80#FF"}, {"~!'*-.", "/~!'*-."}};
  for (const auto& c : cases) EXPECT_EQ(pdf::NameToken(c[0]), c[1]) << c[0];
  EXPECT_EQ(pdf::NameToken(std::string("a\0b", 3)), "/a#2300b");  // readers refuse #00
  const std::string a = pdf::NameToken(std::string(200, 'a')), b = pdf::NameToken(std::string(201, 'a'));
  EXPECT_EQ(a.size(), 127u);  // every reader takes 126 bytes
  EXPECT_NE(a, b);
}

// Each script's file holds up to our reader's judgement, passes qpdf
// --check, Ghostscript, MuPDF and poppler without a message and holds the
// bytes its expectation lines ask for ("#= text" at least once, "#N text"
// N times, "#~ a|b" as often as b; "#i text" in what pdfinfo shows).
TEST(Hardening, ScriptsOfHostileCallsGiveValidFiles) {
  const std::filesystem::path scripts = SEVRINA_SOURCE_DIR "/tests/fuzz/corpus/writer_calls_fuzz";
  for (const auto& entry : std::filesystem::directory_iterator(scripts)) {
    if (entry.path().extension() != ".txt") continue;
    SCOPED_TRACE(entry.path().filename().string());
    const std::string script = pdftest::ReadFile(entry.path().string()), path = core_test::TempPdf(entry.path().stem().string());
    ASSERT_EQ(writer_script::RunScript(script, path), 1);
    const std::string file = pdftest::ReadFile(path);
    EXPECT_EQ(pdf_judge::JudgeFile(pdf::as_bytes(file)), "");
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
      const std::size_t blank = line.find(' ');
      if (line[0] != '#' || blank < 2 || blank == std::string::npos) continue;
      const std::string tag = line.substr(1, blank - 1), text = writer_script::Text({line.substr(blank + 1)}, 0);
      const std::size_t bar = tag == "~" ? text.find('|') : text.size();
      const int found = Count(tag == "i" ? pdftest::Pdfinfo(path).out : file, text.substr(0, bar));
      EXPECT_EQ(found, tag == "=" || tag == "i" ? std::max(found, 1) : tag == "~" ? Count(file, text.substr(bar + 1)) : std::atoi(tag.c_str())) << line;
    }
    pdftest::ExpectReadersAccept(path);
    const pdftest::ToolResult drawn = pdftest::RunTool({"mutool", "draw", "-q", "-o", "/dev/null", "-F", "pgm", path});
    EXPECT_EQ(std::regex_replace(drawn.err, std::regex("warning: ICC support is not available\n"), ""), "");
    const pdftest::ToolResult rendered = pdftest::RunTool({"pdftoppm", "-r", "9", "-gray", path, path + ".page"});
    EXPECT_EQ(rendered.err, "") << "pdftoppm";
  }
}

// A file of these objects, numbered from 1 (the first the catalog), with
// its cross-reference table.
std::string FileOf(const std::vector<std::string>& objects) {
  const std::string size = std::to_string(objects.size() + 1);
  std::string file = "%PDF-1.4\n", xref = "xref\n0 " + size + "\n0000000000 65535 f \n";
  for (std::size_t i = 0; i < objects.size(); ++i) {
    char entry[21];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", file.size());
    xref += entry;
    file += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  return file + xref + "trailer\n<< /Size " + size + " /Root 1 0 R >>\nstartxref\n" + std::to_string(file.size()) +
         "\n%%EOF\n";
}

// A stream object of this dictionary's entries and data.
std::string StreamObject(const std::string& entries, const std::string& data) {
  return "<< " + entries + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + data + "\nendstream";
}

// A one-page file around the content (font /F1 in its resources), for the
// judge that replays the scripts. A recorded object (object 6, drawn as
// /X1) holds the form's content; further resources and objects, numbered
// from 7, may follow.
std::string PageFile(const std::string& content, const std::string& form = "",
                     const std::string& resources = "/XObject << /X1 6 0 R >>",
                     const std::vector<std::string>& more = {}) {
  std::vector<std::string> objects = {
      "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Contents 4 0 R "
      "/Resources << /Font << /F1 5 0 R >> " + resources + " >> >>",
      StreamObject("", content), "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
      StreamObject("/Type /XObject /Subtype /Form /BBox [0 0 10 10]", form)};
  objects.insert(objects.end(), more.begin(), more.end());
  return FileOf(objects);
}

// Each rule of the judge on a content that breaks only it, on the page
// and in a recorded object without resources of its own (it takes the
// page's).
TEST(Hardening, JudgeFindsEachFaultOfContent) {
  const char* cases[][2] = {
      {"q BT /F1 12 Tf 1 0 0 1 10 10 Tm (a) Tj ET 10 10 m 20 20 l S Q", ""},
      {"12 Tf", "\"Tf\" has 1 operands"},
      {"/F2 12 Tf", "names the font /F2"},
      {"/Im1 Do", "names the XObject /Im1"},
      {"/P1 scn", "names the pattern /P1"},
      {"10 10 m 20 20 l S 30 30 l S", "\"l\" has no current point"},
      {"h", "no current point"},
      {"0 g b*", "\"b*\" has no current point"},
      {"10 10 m 20 20 l S s", "\"s\" has no current point"},
      {"10 10 m q /X1 Do Q 20 20 l S", "\"q\" stands inside a path"},
      {"10 10 m /X1 Do", "\"Do\" stands inside a path"},
      {"10 10 m BT ET", "\"BT\" stands inside a path"},
      {"10 10 m 1 0 0 1 5 5 cm 20 20 l S", "\"cm\" stands inside a path"},
      {"/Span BMC 10 10 m EMC", "\"EMC\" stands inside a path"},
      {"10 10 m 20 20 l", "ends inside a path"},
      {"10 10 m 20 20 l W h S", "\"h\" follows \"W\""},
      {"10 10 m 20 20 l h W 1 0 0 rg S", "\"rg\" follows \"W\""},
      {"W n", "\"W\" has no current point"},
      {"10 10 m 1 0 0 RG 0 g 2 w [2 1] 0 d 1 J 1 j 2 M 3 Tc 100 Tz 20 20 l h W* n 0 0 5 5 re W f*", ""},
      {"0 J 2 j [] 0 d [0 1] 5 d 0 w 1 M 0 1 -1 0 5 5 cm 10 10 m 20 20 l S", ""},
      {"5 J", "\"J\" has an operand out of its range"},
      {"1.5 J", "\"J\" has an operand out of its range"},
      {"7 j", "\"j\" has an operand out of its range"},
      {"[0 0] 0 d", "\"d\" has an operand out of its range"},
      {"[2 -1] 0 d", "\"d\" has an operand out of its range"},
      {"-1 w", "\"w\" has an operand out of its range"},
      {"0.5 M", "\"M\" has an operand out of its range"},
      {"0 0 0 0.5 100 100 cm", "\"cm\" sets a matrix with no inverse"},
      {"q q Q", "1 saved states never restored"},
      {"Q", "restores a state never saved"},
      {"BT BT ET ET", "opens a text object inside another"},
      {"(a) Tj", "outside a text object"},
      {"BT", "a text object never ended"},
      {"1 2 xx", "\"xx\" is no operator"},
      {"BX 1 2 xx EX", ""},
      {"/Span BMC q /Tag BMC Q EMC EMC", ""},
      {"EMC", "\"EMC\" closes marked content never opened"},
      {"/Span BMC", "1 marked-content sequences never closed"},
      {"/OC /L1 BDC EMC", "names the property list /L1"},
      {"12345678901234567890 0 m", "outside the range readers take"},
      {"1 0 0 1 0 0", "operands without an operator"}};
  for (const auto& c : cases) {
    const std::string fault = pdf_judge::JudgeFile(pdf::as_bytes(PageFile("/X1 Do", c[0])));
    if (*c[1] == '\0') EXPECT_EQ(fault, "") << "recorded: " << c[0];
    else EXPECT_NE(fault.find(c[1]), std::string::npos) << "recorded: " << c[0] << ": " << fault;
  }
  for (const auto& c : cases) {
    const std::string fault = pdf_judge::JudgeFile(pdf::as_bytes(PageFile(c[0])));
    if (*c[1] == '\0') EXPECT_EQ(fault, "") << c[0];
    else EXPECT_NE(fault.find(c[1]), std::string::npos) << c[0] << ": " << fault;
  }
  std::string broken = PageFile("");
  broken.replace(broken.find("endobj"), 6, "      ");  // the catalog without "endobj", offsets kept
  EXPECT_EQ(pdf_judge::JudgeFile(pdf::as_bytes(broken)), "object 1: no \"endobj\" after its value");
}

// The judge's rules beyond the content's grammar: an uncoloured tile's
// cell, and the forms it draws (/X1, object 6), carry no colour and no
// picture but a stencil mask, while a coloured tile may; every widget
// is a field with a type and a name, on it or on its parent.
TEST(Hardening, JudgeFindsColourInUncolouredTilesAndWidgetsThatAreNoFields) {
  const std::string picture = StreamObject("/Type /XObject /Subtype /Image /Width 1 /Height 1 /ColorSpace /DeviceGray "
                                           "/BitsPerComponent 8", "x");
  const std::string mask = StreamObject("/Type /XObject /Subtype /Image /Width 1 /Height 1 /ImageMask true "
                                        "/BitsPerComponent 1", "x");
  const struct {
    const char *cell, *form, *fault;
  } tiles[] = {
      {"0 0 5 5 re f q /X1 Do Q q /Mask Do Q", "0 0 2 2 re f", ""},
      {"0.5 g 0 0 5 5 re f", "", "\"g\" sets a colour in an uncoloured tiling pattern's cell"},
      {"1 0 0 RG 0 0 5 5 re S", "", "\"RG\" sets a colour"},
      {"/DeviceRGB cs 1 0 0 sc", "", "\"cs\" sets a colour"},
      {"0 0 0 1 k", "", "\"k\" sets a colour"},
      {"q /Picture Do Q", "", "\"Do\" draws a picture"},
      {"q /X1 Do Q", "0 0 1 rg 0 0 2 2 re f", "object 6, drawn in an uncoloured tiling pattern: content at 6: \"rg\""},
      {"q /X1 Do Q", "q /Picture Do Q", "object 6, drawn in an uncoloured tiling pattern: content at 11: \"Do\" draws"}};
  for (const auto& t : tiles) {
    for (const int paint : {1, 2}) {
      const std::string file = PageFile(
          "", t.form, "/Pattern << /Tile 7 0 R >> /XObject 8 0 R",
          {StreamObject("/Type /Pattern /PatternType 1 /PaintType " + std::to_string(paint) +
                            " /TilingType 1 /BBox [0 0 10 10] /XStep 10 /YStep 10 /Resources << /XObject 8 0 R >>",
                        t.cell),
           "<< /X1 6 0 R /Picture 9 0 R /Mask 10 0 R >>", picture, mask});
      const std::string fault = pdf_judge::JudgeFile(pdf::as_bytes(file));
      if (paint == 1 || *t.fault == '\0') EXPECT_EQ(fault, "") << paint << ": " << t.cell << " | " << t.form;
      else EXPECT_NE(fault.find(t.fault), std::string::npos) << t.cell << " | " << t.form << ": " << fault;
    }
  }
  const struct {
    const char *widget, *fault;
  } widgets[] = {{"/FT /Tx /T (a)", ""},
                 {"/T (a)", "object 7: a widget of no field type"},
                 {"/FT /Tx", "object 7: a widget of no field name"},
                 {"/Parent 8 0 R", ""}};
  for (const auto& w : widgets) {
    const std::string file =
        PageFile("", "", "/XObject << /X1 6 0 R >>", {"<< /Type /Annot /Subtype /Widget /Rect [0 0 10 10] " + std::string(w.widget) + " >>",
                              "<< /FT /Btn /T (group) /Kids [7 0 R] >>"});
    const std::string fault = pdf_judge::JudgeFile(pdf::as_bytes(file));
    if (*w.fault == '\0') EXPECT_EQ(fault, "") << w.widget;
    else EXPECT_EQ(fault.rfind(w.fault, 0), 0u) << w.widget << ": " << fault;
  }
}

TEST(Hardening, CreationDateInTheLocalZone) {
  const char* kept = std::getenv("TZ");
  const std::string saved = kept ? kept : "";
  setenv("TZ", "IST-5:30", 1);
  tzset();
  core_test::Probe w;
  const std::string& d = w.Properties.CreationDate;
  EXPECT_TRUE(std::regex_match(d, std::regex(R"(D:\d{14}\+05'30')"))) << d;
  const std::string iso = d.substr(2, 4) + "-" + d.substr(6, 2) + "-" + d.substr(8, 2) + "T" + d.substr(10, 2) + ":" +
                          d.substr(12, 2) + ":" + d.substr(14, 2) + "+05:30";
  EXPECT_EQ(Count(w.BuildXmpMetadata(), ">" + iso + "<"), 5);  // ISO 8601 in XMP
  kept ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
  tzset();
}

}  // namespace
