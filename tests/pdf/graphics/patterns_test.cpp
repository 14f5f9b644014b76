// Gradients, tiling patterns and layers: the exact objects and operators the
// writer puts into the file, and what real readers make of them (colours at
// the ends and the middle of a gradient, a tile's repeat, a hidden layer, the
// optional-content groups as qpdf reads them).

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/pdf/core/core_probe.h"
#include "tests/pdf/graphics/graphics_probe.h"
#include "tests/pdf/graphics/raster.h"

namespace {

using gfxtest::GraphicsTest;
using gfxtest::Probe;
using gfxtest::Raster;
using pdftest::ReadFile;

// The gradient object's text between "obj" and "endobj".
std::string GradientText(const std::string& coords, const std::string& extend,
                         const std::string& c0, const std::string& c1,
                         const std::string& height = "842") {
  return "<</Type /Pattern /PatternType 2 /Matrix [ 1 0 0 -1 0 " + height +
         "] /Shading <<\r\n/ColorSpace /DeviceRGB\r" + coords + "\r/Extend [" + extend +
         "] \r/Function \r<< /FunctionType 3 /Domain [0.000 1.000] /Bounds [] /Encode [0 1 ] "
         "\r/Functions [\r<< /FunctionType 2 /Domain [0.000 1.000] /C0 [" +
         c0 + "] /C1 [" + c1 + "] /N 1 >>]\r>>\r>>\r>>";
}

TEST(Patterns, GradientObjectsAndTheirResourceEntries) {
  struct Case {
    const char* what;
    std::function<void(Probe&)> draw;
    std::string text;
    std::string entry;  // the resource entry's name token
  };
  const std::vector<Case> cases = {
      {"axial sky in points",
       [](Probe& w) { w.AddGradient("sky", 0, "#FF0000", "#0000FF", 0, 0, 10, 0); },
       GradientText("/ShadingType 2 /Coords [0 0 10 0]", "false false", "1 0 0", "0 0 1"), "/SKY"},
      {"radial, named colours, extended",
       [](Probe& w) {
         w.AddGradient(" Glow ", 1, "RED", "#00ff00", 10, 20, 30, 40, 5, 50, true, false);
       },
       GradientText("/ShadingType 3 /Coords [10 20 5 30 40 50]", "true false", "1 0 0", "0 1 0"),
       "/GLOW"},
      {"centimetres, decimal colours",
       [](Probe& w) {
         w.SetScale(3);
         w.AddGradient("cm", 7, "@255;128;0", "%50", 1, 2, 3, 4.5f);
       },
       GradientText("/ShadingType 2 /Coords [28.346 56.693 85.039 127.559]", "false false",
                    "1 0.502 0", "0.502 0.502 0.502"),
       "/CM"},
      {"inside a recorded object y is mirrored in the margin box",
       [](Probe& w) {
         w.SetMargins(20, 20, 50, 42);
         w.BeginObject("frame");
         w.AddGradient("framed", 0, "#000000", "#FFFFFF", 10, 100, 10, 300);
         w.EndObject();
       },
       GradientText("/ShadingType 2 /Coords [10 650 10 450]", "false false", "0 0 0", "1 1 1"),
       "/FRAMED"},
      {"a name with a blank and a delimiter is escaped",
       [](Probe& w) { w.AddGradient("my (sky)", 0, "#FF0000", "#0000FF", 0, 0, 10, 0); },
       GradientText("/ShadingType 2 /Coords [0 0 10 0]", "false false", "1 0 0", "0 0 1"),
       "/MY#20#28SKY#29"},
      {"landscape page height",
       [](Probe& w) {
         w.SetPaperSize(1);
         w.AddGradient("wide", 0, "#FF0000", "#0000FF", 0, 0, 10, 0);
       },
       GradientText("/ShadingType 2 /Coords [0 0 10 0]", "false false", "1 0 0", "0 0 1", "596"),
       "/WIDE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = pdftest::TempPdf(c.entry.substr(1, 4));
    Probe w;
    w.BeginDoc(path);
    c.draw(w);
    // The one entry, "/NAME n 0 R " and a CR, names the gradient's object.
    const std::string& entry = w.Resources.PatternResources;
    ASSERT_EQ(entry.rfind(c.entry + " ", 0), 0u) << entry;
    const int n = std::atoi(entry.c_str() + c.entry.size() + 1);
    EXPECT_EQ(entry, c.entry + " " + std::to_string(n) + " 0 R \r");
    w.BeginPage();
    w.EndDoc();
    const std::string file = ReadFile(path);
    EXPECT_EQ(core_test::ObjectBytes(file, n),
              std::to_string(n) + " 0 obj\n" + c.text + "\nendobj\n");
    pdftest::ExpectReadersAccept(path);
  }
}

TEST_F(GraphicsTest, PatternDefinedAnswersFromTheResourceEntries) {
  pdf_.AddGradient("sky", 0, "red", "blue", 0, 0, 1, 1);
  pdf_.AddGradient("my sky", 0, "red", "blue", 0, 0, 1, 1);
  pdf_.BeginTiling("Hatch", 0, 0, 4, 4, 4, 4);
  pdf_.EndTiling();
  struct Case {
    const char* name;
    bool defined;
  };
  const Case cases[] = {{"SKY", true},   {"MY SKY", true}, {"HATCH", true}, {"SK", false},
                        {"KY", false},   {"MY", false},    {"sky", false},  {"NOPE", false},
                        {"MY#20SKY", false}};
  for (const Case& c : cases) EXPECT_EQ(pdf_.PatternDefined(c.name), c.defined) << c.name;
  // A defined alias is used as a pattern colour, escaped like its entry.
  Take();
  pdf_.SetColorFill(" my sky ");
  pdf_.SetColorLine("hatch;#FF0000");
  EXPECT_EQ(Take(), "\r/Pattern cs /MY#20SKY scn\r/xxCSxx CS 1 0 0 /HATCH SCN");
}

TEST_F(GraphicsTest, TilingRecordingAndPaintTypes) {
  struct Case {
    std::int32_t style;
    const char* paint_type;
    bool setters_silent;
  };
  const Case cases[] = {{0, "1", false}, {1, "2", true}, {2, "2", false}, {-1, "2", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    Take();
    pdf_.BeginTiling(" cell ", 1, 2, 11, 22, 12, 24, c.style);
    EXPECT_TRUE(pdf_.Content.RecordingTiling);
    EXPECT_EQ(pdf_.Resources.TilingName, "CELL");
    EXPECT_EQ(pdf_.Resources.TilingDictionary,
              std::string("<< /Type /Pattern /PatternType 1 /PaintType ") + c.paint_type +
                  "\r/TilingType 1\r/BBox [1 2 11 22]\r/Resources 3 0 R\r/XStep 12 /YStep 24\r"
                  "/Matrix [1 0 0 1 0 0]");
    pdf_.SetColorFill("#00FF00");
    pdf_.DrawRect(0, 0, 5, 5, 5);
    EXPECT_EQ(pdf_.Colours.FillColor, c.setters_silent ? "#000000" : "#00FF00");
    EXPECT_EQ(Take(), "");  // nothing reaches the page
    EXPECT_EQ(pdf_.TilingText(),
              std::string("1 0 0 -1 0 20 cm") + (c.setters_silent ? "" : "\r0 1 0 rg") +
                  "\r0 0 5 5 re\rf*");
    const std::int32_t before = pdf_.Objects.LastObjectNumber;
    pdf_.EndTiling();
    EXPECT_FALSE(pdf_.Content.RecordingTiling);
    EXPECT_FALSE(pdf_.Content.RecordingUncolored);
    EXPECT_EQ(pdf_.Objects.LastObjectNumber, before + 1);
    pdf_.SetColorFill("#000000");
    Take();
  }
}

TEST_F(GraphicsTest, SecondBeginTilingKeepsTheFirstButTakesTheNewStyle) {
  pdf_.BeginTiling("first", 0, 0, 10, 10, 10, 10, 0);
  pdf_.DrawRect(0, 0, 2, 2, 5);
  pdf_.BeginTiling("second", 0, 0, 50, 50, 50, 50, 1);
  EXPECT_TRUE(pdf_.Content.RecordingUncolored);
  pdf_.SetColorFill("#FF0000");  // silent: the new style is uncoloured
  EXPECT_EQ(pdf_.Resources.TilingName, "FIRST");
  EXPECT_NE(pdf_.Resources.TilingDictionary.find("/BBox [0 0 10 10]"), std::string::npos);
  EXPECT_EQ(pdf_.TilingText(),
            "1 0 0 -1 0 10 cm\r0 0 2 2 re\rf*");
  pdf_.EndTiling();
  EXPECT_EQ(pdf_.Resources.PatternResources,
            "/FIRST " + std::to_string(pdf_.Objects.LastObjectNumber) + " 0 R \r");
}

TEST_F(GraphicsTest, EndTilingWithoutBeginWritesNothing) {
  const std::int32_t before = pdf_.Objects.LastObjectNumber;
  pdf_.EndTiling();
  pdf_.BeginTiling("once", 0, 0, 4, 4, 4, 4);
  pdf_.EndTiling();
  pdf_.EndTiling();  // a second end after the pattern was written
  EXPECT_EQ(pdf_.Objects.LastObjectNumber, before + 1);
  EXPECT_EQ(pdftest::Count(pdf_.Resources.PatternResources, "\r"), 1);
  pdf_.EndDoc();
  pdftest::ExpectReadersAccept(path_);
}

TEST_F(GraphicsTest, LayerMarksLookupAndRecords) {
  pdf_.EndLayer();  // no layer yet: nothing
  pdf_.BeginLayer("Notes", false, true);
  pdf_.EndLayer();
  pdf_.BeginLayer("NOTES", true, false);  // the same layer; its flags stay
  pdf_.BeginLayer("Other");
  pdf_.EndLayer();
  pdf_.EndLayer();
  pdf_.EndLayer();  // unbalanced: still one EMC each
  EXPECT_EQ(Take(),
            "\r/OC /_LAY_1 BDC\rEMC\r/OC /_LAY_1 BDC\r/OC /_LAY_2 BDC\rEMC\rEMC\rEMC");
  ASSERT_EQ(pdf_.Navigation.LayerCount, 2);
  EXPECT_EQ(pdf_.Navigation.Layers[1].Name, "Notes");
  EXPECT_FALSE(pdf_.Navigation.Layers[1].StartState);
  EXPECT_TRUE(pdf_.Navigation.Layers[1].ShowInList);
  EXPECT_EQ(pdf_.Navigation.Layers[2].Name, "Other");
  EXPECT_TRUE(pdf_.Navigation.Layers[2].StartState);
}

// ---- what the readers see ----------------------------------------------------

bool Near(const std::vector<int>& rgb, int r, int g, int b, int tolerance) {
  return std::abs(rgb[0] - r) <= tolerance && std::abs(rgb[1] - g) <= tolerance &&
         std::abs(rgb[2] - b) <= tolerance;
}

struct Expect {
  int x, y;  // pixels at 72 dpi: points from the page's top-left corner
  int r, g, b;
  int tolerance;
  std::string what;
};

void ExpectPixels(const Raster& raster, const std::vector<Expect>& probes) {
  for (const Expect& p : probes) {
    const std::vector<int> rgb = raster.At(p.x, p.y);
    EXPECT_TRUE(Near(rgb, p.r, p.g, p.b, p.tolerance))
        << p.what << " at (" << p.x << ", " << p.y << "): rgb " << rgb[0] << " " << rgb[1] << " "
        << rgb[2];
  }
}

TEST(PatternsRender, GradientsTilesAndLayersAsReadersShowThem) {
  const std::string path = pdftest::TempPdf();
  pdf::PdfWriter pdf;
  pdf.BeginDoc(path);
  pdf.SetDocProperty("Patterns");
  // Page 1, with margins: gradient coordinates are the page's, shapes the
  // margin box's.
  pdf.SetMargins(50, 40, 80, 30);
  pdf.BeginPage();
  pdf.AddGradient("sky", 0, "#FF0000", "#0000FF", 100, 0, 400, 0);
  pdf.SetColorFill("sky");
  pdf.DrawRect(50, 20, 300, 100, 5);  // page x 100..400, y 100..200
  pdf.AddGradient("glow", 1, "red", "blue", 250, 350, 250, 350, 0, 50, false, true);
  pdf.SetColorFill("Glow");
  pdf.DrawRect(100, 170, 200, 200, 5);  // page 150..350, 250..450

  // Page 2: a coloured tile of 20 points with a black square in its top-left
  // quarter, and an uncoloured one painted red through the colour text.
  pdf.EndPage();  // the margins apply when the page ends
  pdf.SetMargins(0, 0, 0, 0);
  pdf.BeginPage();
  pdf.BeginTiling("checker", 0, 0, 20, 20, 20, 20);
  pdf.SetColorFill("#000000");
  pdf.DrawRect(0, 0, 10, 10, 5);
  pdf.EndTiling();
  pdf.BeginTiling("dots", 0, 0, 20, 20, 20, 20, 1);
  pdf.SetColorFill("#00FF00");  // silent: the tile takes its colour from its use
  pdf.DrawRect(0, 0, 10, 10, 5);
  pdf.EndTiling();
  pdf.SetColorFill("checker");
  pdf.DrawRect(0, 0, 596, 400, 5);
  pdf.SetColorFill("dots;red");
  pdf.DrawRect(0, 442, 596, 400, 5);

  // Page 3: layers, one hidden at the start.
  pdf.BeginPage();
  pdf.BeginLayer("Hidden", false);
  pdf.DrawRect(100, 100, 100, 100, 5);
  pdf.EndLayer();
  pdf.BeginLayer("Shown", true, false);
  pdf.DrawRect(300, 100, 100, 100, 5);
  pdf.EndLayer();
  pdf.BeginLayer("PRINTER");
  pdf.DrawRect(100, 300, 100, 100, 5);
  pdf.EndLayer();
  pdf.BeginLayer("SCREEN", false);
  pdf.DrawRect(300, 300, 100, 100, 5);
  pdf.EndLayer();
  pdf.EndDoc();

  pdftest::ExpectReadersAccept(path);
  EXPECT_EQ(pdftest::PdfinfoValue(pdftest::Pdfinfo(path).out, "PDF version"), "1.5");

  const Raster one(path, 1);
  ExpectPixels(one, {
      {101, 150, 255, 0, 0, 8, "axial start"},
      {250, 150, 128, 0, 127, 8, "axial middle"},
      {399, 150, 0, 0, 255, 8, "axial end"},
      {175, 120, 191, 0, 64, 8, "axial quarter, same at any y"},
      {420, 150, 255, 255, 255, 0, "right of the rectangle"},
      {250, 350, 255, 0, 0, 10, "radial centre"},
      {275, 350, 128, 0, 127, 10, "radial middle"},
      {250, 325, 128, 0, 127, 10, "radial middle above"},
      {340, 350, 0, 0, 255, 8, "extended beyond the end circle"},
  });

  const Raster two(path, 2);
  std::vector<Expect> tiles;
  for (int i = 0; i < 4; ++i) {
    for (int k = 0; k < 4; ++k) {
      // Pattern space starts at the page's bottom-left corner; a pixel row y
      // lies at 842 - y - 0.5 points from the bottom.
      const int top_quarter = 826 - 20 * (k + 22);  // pattern y mod 20 = 15.5
      const int bottom_quarter = top_quarter + 10;  // pattern y mod 20 = 5.5
      tiles.push_back({20 * i + 5, top_quarter, 0, 0, 0, 0, "checker square"});
      tiles.push_back({20 * i + 15, top_quarter, 255, 255, 255, 0, "checker beside the square"});
      tiles.push_back({20 * i + 5, bottom_quarter, 255, 255, 255, 0, "checker below the square"});
      tiles.push_back({20 * i + 205, 826 - 20 * k, 255, 0, 0, 0, "red dot"});
      tiles.push_back({20 * i + 215, 826 - 20 * k, 255, 255, 255, 0, "beside the red dot"});
    }
  }
  ExpectPixels(two, tiles);

  const Raster three(path, 3);
  ExpectPixels(three, {
      {150, 150, 255, 255, 255, 0, "layer off at the start"},
      {350, 150, 0, 0, 0, 0, "layer on"},
      {150, 350, 255, 255, 255, 0, "PRINTER layer: off on screen"},
      {350, 350, 0, 0, 0, 0, "SCREEN layer: on on screen whatever was asked"},
  });
}

// The catalog's optional content as qpdf reads it, names resolved: one line
// per array (groups, on, off, order) and one per usage event.
constexpr const char* kOptionalContentSummary = R"(
import json, sys
d = json.load(sys.stdin)["qpdf"][1]
v = lambda r: d["obj:" + r]["value"]
oc = v(d["trailer"]["value"]["/Root"])["/OCProperties"]
n = lambda r: v(r)["/Name"][2:] if r.endswith(" R") else r[2:]
print("OCGs", *[n(r) for r in oc["/OCGs"]], sep="|")
for k in ("/ON", "/OFF", "/Order"):
    print(k[1:], *[n(r) for r in oc["/D"][k]], sep="|")
for e in oc["/D"]["/AS"]:
    print(e["/Event"][1:], *[n(r) for r in e["/OCGs"]], sep="|")
)";

TEST(PatternsRender, QpdfListsTheOptionalContentGroups) {
  const std::string path = pdftest::TempPdf();
  pdf::PdfWriter pdf;
  pdf.BeginDoc(path);
  pdf.SetDocProperty("Layered");
  pdf.BeginPage();
  struct Layer {
    const char* name;
    bool on, listed;
  };
  const Layer layers[] = {{"Base", true, true},    {"Notes (draft)", true, true},
                          {"Hidden", false, true}, {"base", false, false},
                          {"Unlisted", true, false}, {"PRINTER", true, true},
                          {"SCREEN", false, true}, {"screen", false, false}};  // SCREEN again
  for (const Layer& l : layers) {
    pdf.BeginLayer(l.name, l.on, l.listed);
    pdf.DrawRect(10, 10, 20, 20, 5);
    pdf.EndLayer();
  }
  pdf.EndDoc();
  pdftest::ExpectReadersAccept(path);
  const pdftest::ToolResult json = pdftest::Qpdf({"--json", "--json-key=qpdf", path});
  ASSERT_EQ(json.exit_code, 0) << json.err;
  const pdftest::ToolResult summary =
      pdftest::RunTool({"/usr/bin/python3", "-c", kOptionalContentSummary}, json.out);
  ASSERT_EQ(summary.exit_code, 0) << summary.err;
  EXPECT_EQ(summary.out,
            "OCGs|Base|Notes (draft)|Hidden|Unlisted|PRINTER|SCREEN\n"
            "ON|Base|Notes (draft)|Unlisted|SCREEN\n"
            "OFF|Hidden|PRINTER\n"
            "Order|Layered|Base|Notes (draft)|Hidden|PRINTER|SCREEN\n"
            "Print|PRINTER|SCREEN\n"
            "View|PRINTER|SCREEN\n");
}

}  // namespace
