// Fonts: the names, styles and encodings of the standard font objects; the
// TrueType reader against fontTools, damaged fonts refused with a recorded
// error and a valid document, and the embedded font as PDF readers see it.

#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "pdf/text/truetype.h"
#include "tests/pdf/text/text_probe.h"

namespace {

using namespace text_test;

// The font object of each standard font: WinAnsi or MacRoman encoding,
// none for the symbol fonts; "" as the base font: the resource name.
TEST(Fonts, NamesStylesAndEncodings) {
  const std::string path = TempPdf("out");
  Probe w;
  w.BeginDoc(path);
  w.BeginPage();
  const struct { const char *family; std::int32_t style, encoding; const char *resource, *base; } cases[] = {
      {"  ", 0, 0, "", "Arial"},  // blank: an unknown family of no name, drawn first
      {"times new roman", 3, 0, "TimesNewRoman,BoldItalic", ""}, {"Times", 1, 0, "TimesNewRoman,Bold", ""},
      {"Courier", 2, 0, "CourierNew,Italic", ""}, {"Courier New", 0, 0, "CourierNew", ""},
      {"Arial", 1, 1, "MACArial,Bold", "Arial,Bold"}, {"Symbol", 3, 0, "Symbol", ""},
      {"Zapf Dingbats", 1, 0, "ZapfDingbats", ""}, {"Verdana", 1, 0, "Verdana", "Arial,Bold"},
  };
  for (const auto& c : cases) {
    w.SetFont(c.family, 12, c.style, c.encoding);
    EXPECT_EQ(w.TextStateOf().FontResource, c.resource) << c.family;
    w.DrawText(10, 20, "Testo");
  }
  EXPECT_EQ(w.TextStateOf().FontCount, 9);
  w.EndDoc();
  const std::string file = ReadFile(path);
  for (const auto& c : cases) {
    const std::string encoding = c.family[0] == 'S' || c.family[0] == 'Z' ? ""  // Symbol, Zapf Dingbats
        : std::string("/Encoding << /Type /Encoding /BaseEncoding /") + (c.encoding ? "MacRoman" : "WinAnsi") + "Encoding>>\n";
    EXPECT_EQ(Count(file, "<< /Type /Font /Subtype /Type1 /Name /" + std::string(c.resource) + " /BaseFont /" +
                              (*c.base ? c.base : c.resource) + " /FirstChar 0 /LastChar 255\n" + encoding + " >>\n"), 1)
        << c.family;
    EXPECT_EQ(Count(file, "\r/" + std::string(c.resource) + " 12 Tf 12 TL\r"), 1) << c.family;
  }
  EXPECT_EQ(Count(file, "/Type /Font "), 9);
  pdftest::ExpectReadersAccept(path);
}

// The widths where the built-in tables part from the published metrics or
// have no glyph there, and each family's line height and descent, in
// thousandths (measured at 1000 points).
TEST(Fonts, WidthExceptionsLineHeightsAndDescents) {
  const struct { const char* family; std::int32_t style; unsigned char code; int width, line_height, descent; } rows[] = {
      {"Arial", 0, 9, 272, 1221, -221},    {"Arial", 1, 31, 311, 1221, -221},  {"Arial", 2, 1, 259, 1221, -221},
      {"Arial", 3, 0, 311, 1221, -221},    {"Arial", 0, 127, 750, 1221, -221}, {"Arial", 1, 157, 750, 1221, -221},
      {"Arial", 0, 175, 552, 1221, -221},  {"Arial", 2, 177, 549, 1221, -221}, {"Arial", 3, 181, 576, 1221, -221},
      {"Arial", 1, 247, 549, 1221, -221},  {"Times", 0, 5, 333, 1107, -216},   {"Times", 3, 129, 778, 1107, -216},
      {"Times", 1, 175, 500, 1107, -216},  {"Times", 2, 177, 549, 1107, -216}, {"Times", 0, 181, 576, 1107, -216},
      {"Times", 3, 247, 549, 1107, -216},  {"Courier", 1, 0, 600, 1133, -300}, {"Courier", 2, 175, 600, 1133, -300},
      {"Symbol", 0, 29, 332, 1225, -220},  {"Symbol", 0, 30, 600, 1225, -220}, {"Symbol", 0, 160, 600, 1225, -220},
      {"Symbol", 0, 240, 600, 1225, -220}, {"ZapfDingbats", 0, 31, 600, 1221, -221},
      {"ZapfDingbats", 0, 127, 0, 1221, -221}, {"ZapfDingbats", 0, 150, 0, 1221, -221},
      {"ZapfDingbats", 0, 56, 677, 1221, -221}, {"ZapfDingbats", 0, 183, 788, 1221, -221},
      {"ZapfDingbats", 0, 255, 0, 1221, -221},
  };
  Probe w;
  w.BeginDoc(TempPdf());
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.family) + " " + std::to_string(r.style) + " code " + std::to_string(r.code));
    w.SetFont(r.family, 1000, r.style);
    EXPECT_EQ(w.TextLength(std::string(1, static_cast<char>(r.code))), static_cast<float>(r.width));
    EXPECT_EQ(w.TextHeight(), static_cast<float>(r.line_height));
    EXPECT_EQ(w.TextStateOf().Fonts[static_cast<std::size_t>(w.TextStateOf().FontIndex)].Descent, r.descent);
  }
  w.EndDoc();
}

const std::string kDejaVu = "/usr/share/fonts/truetype/dejavu/";
const std::string kLiberation = "/usr/share/fonts/truetype/liberation/";
const std::string kWine = "/usr/share/wine/fonts/";

std::string Oracle(std::vector<std::string> args) {
  args.insert(args.begin(), {"/usr/bin/python3", SEVRINA_SOURCE_DIR "/tests/pdf/text/truetype_oracle.py"});
  return pdftest::RunTool(args).out;
}

// The reader's result in the oracle's words: widths, box, metrics, flags, name.
std::string Describe(const pdf::TrueTypeFont& f) {
  std::ostringstream o;
  for (int v : f.Widths) o << v << ' ';
  for (int v : {f.XMin, f.YMin, f.XMax, f.YMax, f.AvgWidth, f.Ascent, f.Descent, f.MaxWidth, f.MissingWidth})
    o << v << ' ';
  o << f.ItalicAngle << ' ' << f.WeightClass << ' ' << f.Symbolic << ' ' << f.FixedPitch << ' ' << f.FontName << '\n';
  return o.str();
}

// Monospaced glyphs past numberOfHMetrics (DejaVu Sans Mono, wine's
// courier), the euro, quotes and dashes of codes 128-159, symbol fonts
// whose codes stand at F000 (marlett, webdings, wingding), italic and bold.
TEST(TrueType, MetricsAgreeWithFontTools) {
  for (const std::string& path :
       {kDejaVu + "DejaVuSans.ttf", kDejaVu + "DejaVuSansMono.ttf", kDejaVu + "DejaVuSans-BoldOblique.ttf",
        kLiberation + "LiberationSans-Regular.ttf", kLiberation + "LiberationSerif-Regular.ttf",
        kLiberation + "LiberationSerif-BoldItalic.ttf", kWine + "courier.ttf", kWine + "marlett.ttf",
        kWine + "webdings.ttf", kWine + "wingding.ttf", kWine + "symbol.ttf"}) {
    const auto r = pdf::ReadTrueType(pdf::as_bytes(ReadFile(path)));
    ASSERT_EQ(r.status, pdf::TrueTypeStatus::kOk) << path << ": " << r.detail;
    EXPECT_EQ(Describe(r.font), Oracle({"metrics", path})) << path;
  }
}

TEST(TrueType, EveryTruncationIsRefused) {
  const std::string font = ReadFile(kWine + "webdings.ttf");
  // The last table ends at most 3 bytes of padding before the file does.
  for (std::size_t n = 0; n + 3 < font.size(); ++n) {
    EXPECT_NE(pdf::ReadTrueType(pdf::as_bytes(font).first(n)).status, pdf::TrueTypeStatus::kOk) << n << " bytes";
  }
}

TEST(TrueType, DamagedFontsAreRecordedAndTheDocumentStaysValid) {
  pdftest::TempDir dir;
  const struct { const char* kind; std::int32_t error; } rows[] = {
      {"missing", 53}, {"no-os2", 321}, {"no-format-4", 321}, {"otto", 321}, {"ttcf", 321}, {"upem-0", 11},
      {"hmetrics-0", 9}, {"long-loca-flag", 9}, {"half", 9}, {"delimiter-name", 0}};
  for (const auto& row : rows) {
    const std::string font = dir.file(std::string(row.kind) + ".ttf");
    if (row.error != 53) Oracle({"broken", row.kind, kLiberation + "LiberationSans-Regular.ttf", font});
    const std::string path = TempPdf(row.kind);
    Probe w;
    w.BeginDoc(path);
    EXPECT_EQ(w.AddFont(font), row.error ? "" : "Test(Font)/X") << row.kind;
    EXPECT_EQ(w.ErrNumber(), row.error) << row.kind;
    EXPECT_EQ(w.TextStateOf().FontCount, row.error ? 0 : 1) << row.kind;
    w.BeginPage();
    w.SetFont("Arial", 12);
    w.DrawText(50, 50, row.kind);
    w.EndDoc();
    EXPECT_EQ(pdftest::QpdfCheck(path).exit_code, 0) << row.kind;
    EXPECT_EQ(Count(ReadFile(path), "/BaseFont /Test#28Font#29#2FX "), row.error ? 0 : 1);
  }
}

TEST(TrueType, EmbeddedAsPdfReadersSeeIt) {
  const std::string path = TempPdf("embedded");
  const std::string bold_oblique = kDejaVu + "DejaVuSans-BoldOblique.ttf";
  Probe closed;  // no document to write the font into: error 52 and no record
  EXPECT_EQ(closed.AddFont(bold_oblique), "");
  EXPECT_EQ(closed.TextStateOf().FontCount * 100 + closed.ErrNumber(), 52);
  Probe w;
  w.BeginDoc(path);
  w.SetCompression(pdf::CompressFlate);
  EXPECT_EQ(w.AddFont(bold_oblique), "DejaVuSansBoldOblique");
  EXPECT_EQ(w.AddFont(kLiberation + "LiberationSans-Regular.ttf", "My Font"), "My Font");
  EXPECT_EQ(w.AddFont(kLiberation + "LiberationSerif-Regular.ttf", "Flat", false), "Flat");
  EXPECT_EQ(w.AddFont(kDejaVu + "DejaVuSansMono.ttf"), "DejaVuSansMono");
  ASSERT_EQ(w.ErrNumber(), 0) << w.ErrDescription();
  w.BeginPage();
  w.SetFont("dejavusansboldoblique", 14);
  w.DrawText(40, 60, "Grassetto obliquo \x80 100");
  // Aliases already taken, by a selected font and by AddFont: resource names
  // of their own; the alias still selects the record found first.
  w.SetFont("Arial", 10);
  w.DrawText(40, 80, "Arial");
  EXPECT_EQ(w.AddFont(kDejaVu + "DejaVuSerif.ttf", "Arial", false), "Arial");
  EXPECT_EQ(w.AddFont(kLiberation + "LiberationSerif-Regular.ttf", "Flat", false), "Flat");
  w.SetFont("Arial", 10);
  EXPECT_EQ(w.TextStateOf().FontResource, "Arial");
  w.EndDoc();
  pdftest::ExpectReadersAccept(path);
  const std::string file = ReadFile(path);
  EXPECT_EQ(Count(file, "/FontName /DejaVuSansBoldOblique,BoldItalic /Flags 96 /FontBBox ["), 1);
  EXPECT_EQ(Count(file, " /StemV 120 /ItalicAngle -11 "), 1);
  EXPECT_EQ(Count(file, "/FontName /DejaVuSansMono /Flags 33 /FontBBox ["), 1);  // fixed pitch, non-symbolic
  EXPECT_EQ(Count(file, "/Name /My#20Font "), 1);
  EXPECT_EQ(Count(file, "/Name /Arial_2 /BaseFont /DejaVuSerif "), 1);
  EXPECT_EQ(Count(file, "/Name /Flat_2 /BaseFont /LiberationSerif "), 1);
  const std::string fonts = pdftest::RunTool({"pdffonts", path}).out;
  EXPECT_TRUE(std::regex_search(fonts, std::regex("\nDejaVuSansBoldOblique,BoldItalic +TrueType +WinAnsi +yes "))) << fonts;
  EXPECT_TRUE(std::regex_search(fonts, std::regex("\nLiberationSerif +TrueType +WinAnsi +no "))) << fonts;
  // The font file stream decodes to the file itself; /Length1 is its length.
  const std::size_t ref = file.find("/FontFile2 ") + 11;
  const std::string number = file.substr(ref, file.find(' ', ref) - ref);
  const auto stream = pdftest::Qpdf({"--show-object=" + number, "--filtered-stream-data", path});
  const std::string original = ReadFile(bold_oblique);
  EXPECT_TRUE(stream.out == original) << stream.out.size() << " bytes, not " << original.size();
  EXPECT_EQ(Count(file, "/Length1 " + std::to_string(original.size()) + "\n"), 1);
}

}  // namespace

namespace {

// Abort leaves no font selected: in the document after it, a font loaded
// by AddFont is not the current one until SetFont selects it, and no text
// names the font of the document before (poppler would draw nothing,
// "Unknown font tag").
TEST(Fonts, NoFontIsSelectedAfterAbort) {
  Probe w;
  w.BeginDoc(TempPdf("before"));
  w.SetFont("Courier", 12);
  w.BeginPage();
  w.DrawText(50, 50, "prima");
  w.Abort();
  const std::string path = TempPdf("after");
  w.BeginDoc(path);
  EXPECT_EQ(w.AddFont(kLiberation + "LiberationSans-Regular.ttf", "Sans"), "Sans");
  w.BeginPage();
  for (const auto& draw : std::vector<std::function<void()>>{
           [&] { w.DrawText(50, 50, "x"); }, [&] { w.WriteText("x"); },
           [&] { w.DrawTextBox(50, 60, 100, 40, "x"); }}) {
    try {
      draw();
      ADD_FAILURE() << "text drawn without a font";
    } catch (const pdf::PdfError& e) {
      EXPECT_EQ(e.Number(), 9);
    }
  }
  w.SetFont("Sans", 12);
  w.DrawText(50, 80, "dopo");
  w.EndDoc();
  pdftest::ExpectReadersAccept(path);
  const pdftest::ToolResult text = pdftest::PdfToText(path);
  EXPECT_EQ(text.err, "");
  EXPECT_NE(text.out.find("dopo"), std::string::npos) << text.out;
  EXPECT_EQ(Count(ReadFile(path), "/CourierNew"), 0);
}

}  // namespace
