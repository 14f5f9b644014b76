// Gradients, tiling patterns and layers: the exact objects and operators, and
// what real readers make of them (a gradient's colours at its ends and
// middle, a tile's repeat, a hidden layer, the groups as qpdf reads them).

#include <functional>
#include <tuple>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/pdf/core/core_probe.h"
#include "tests/pdf/graphics/graphics_probe.h"

namespace {

using gfxtest::GraphicsTest;
using gfxtest::Probe;

std::string GradientText(const std::string& coords, const std::string& extend,
                         const std::string& colours, const std::string& height = "842") {
  return "<</Type /Pattern /PatternType 2 /Matrix [ 1 0 0 -1 0 " + height +
         "] /Shading <<\r\n/ColorSpace /DeviceRGB\r" + coords + "\r/Extend [" + extend +
         "] \r/Function \r<< /FunctionType 3 /Domain [0.000 1.000] /Bounds [] /Encode [0 1 ] "
         "\r/Functions [\r<< /FunctionType 2 /Domain [0.000 1.000] " + colours + " /N 1 >>]\r>>\r>>\r>>";
}

TEST(Patterns, GradientObjectsAndResourceEntries) {
  const std::vector<std::tuple<std::string, std::function<void(Probe&)>, std::string>> cases = {
      {"/SKY", [](Probe& w) { w.AddGradient("sky", 0, "#FF0000", "#0000FF", 0, 0, 10, 0); },
       GradientText("/ShadingType 2 /Coords [0 0 10 0]", "false false", "/C0 [1 0 0] /C1 [0 0 1]")},
      {"/GLOW", [](Probe& w) { w.AddGradient(" Glow ", 1, "RED", "@0;128;0", 10, 20, 30, 40, 5, 50, true); },
       GradientText("/ShadingType 3 /Coords [10 20 5 30 40 50]", "true false", "/C0 [1 0 0] /C1 [0 0.502 0]")},
      {"/FRAMED", [](Probe& w) {  // in a recorded object y is mirrored about the page height
         w.SetPaperSize(1), w.SetScale(3), w.SetMargins(1, 1, 2, 1), w.BeginObject("frame");
         w.AddGradient("framed", 0, "%100", "white", 1, 3, 1, 4), w.EndObject();
       }, GradientText("/ShadingType 2 /Coords [28.346 510.961 28.346 482.614]", "false false",
                       "/C0 [0 0 0] /C1 [1 1 1]", "596")}};
  for (const auto& [name, define, text] : cases) {
    const std::string path = pdftest::TempPdf(name.substr(1));
    Probe w;
    w.BeginDoc(path);
    define(w);
    const int n = std::atoi(w.Resources.PatternResources.c_str() + name.size() + 1);
    EXPECT_EQ(w.Resources.PatternResources, name + " " + std::to_string(n) + " 0 R \r");
    w.EndDoc();
    EXPECT_EQ(core_test::ObjectBytes(pdftest::ReadFile(path), n), std::to_string(n) + " 0 obj\n" + text + "\nendobj\n");
    pdftest::ExpectReadersAccept(path);
  }
}

TEST_F(GraphicsTest, TilingLayerMarksAndPatternNamesInColourTexts) {
  pdf_.EndTiling();  // nothing recorded: ignored
  for (std::int32_t style : {0, 1, 2}) {
    pdf_.BeginTiling(" cell ", 1, 2, 11, 22, 12, 24, style);
    pdf_.BeginTiling("other", 0, 0, 5, 5, 5, 5, style);  // ignored but its style
    pdf_.SetColorFill("#00FF00");  // silent while an uncoloured tile (any Style but 0) is recorded
    pdf_.DrawRect(0, 0, 5, 5, 5);
    EXPECT_EQ(pdf_.Resources.TilingDictionary, std::string("<< /Type /Pattern /PatternType 1 /PaintType ") +
              (style ? "2" : "1") + "\r/TilingType 1\r/BBox [1 2 11 22]\r/Resources 3 0 R\r/XStep 12 /YStep 24\r/Matrix [1 0 0 1 0 0]");
    EXPECT_EQ(pdf_.TilingText(), std::string("1 0 0 -1 0 20 cm") +
                                     (style == 0 ? "\r0 1 0 rg" : "") + "\r0 0 5 5 re\rf*");
    pdf_.EndTiling(), pdf_.EndTiling();  // the second end is ignored
  }
  // A step written as 0 (every tile on one spot, which readers refuse) is
  // refused before anything is recorded.
  for (const float step : {0.0f, 0.0001f, -0.0004f}) {
    for (const bool across : {true, false}) {
      try {
        pdf_.BeginTiling("flat", 0, 0, 10, 10, across ? step : 10, across ? 10 : step);
        ADD_FAILURE() << step;
      } catch (const pdf::PdfError& e) {
        EXPECT_EQ(e.Number(), 5);
      }
    }
  }
  Take();
  pdf_.DrawRect(0, 0, 5, 5, 5);  // on the page, not in a pattern
  EXPECT_EQ(Take(), "\r0 0 5 5 re\rf*");
  EXPECT_EQ(pdf_.Objects.LastObjectNumber, 6);  // three patterns after the reserved 1 to 3
  EXPECT_TRUE(pdf_.PatternDefined("CELL") && !pdf_.PatternDefined("CEL") && !pdf_.PatternDefined("OTHER"));
  Take();
  pdf_.AddGradient("a b", 0, "red", "blue", 0, 0, 1, 1);
  pdf_.SetColorFill(" a b ");
  pdf_.SetColorLine("cell;#FF0000");
  pdf_.EndLayer();  // no layer yet: nothing
  pdf_.BeginLayer("Notes", false);
  pdf_.BeginLayer("NOTES");  // the same layer, looked up without regard to case
  pdf_.EndLayer();
  EXPECT_EQ(Take(), "\r/Pattern cs /A#20B scn\r/xxCSxx CS 1 0 0 /CELL SCN\r/OC /_LAY_1 BDC\r/OC /_LAY_1 BDC\rEMC");
}

// The catalog's optional content as qpdf reads it, names resolved.
constexpr const char* kOptionalContent = R"(
import json, sys
d = json.load(sys.stdin)["qpdf"][1]
v = lambda r: d["obj:" + r]["value"]
oc = v(d["trailer"]["value"]["/Root"])["/OCProperties"]
n = lambda r: v(r)["/Name"][2:] if r.endswith(" R") else r[2:]
print("OCGs", *[n(r) for r in oc["/OCGs"]], sep="|")
for k in ("/ON", "/OFF", "/Order"): print(k[1:], *[n(r) for r in oc["/D"][k]], sep="|")
for e in oc["/D"]["/AS"]: print(e["/Event"][1:], *[n(r) for r in e["/OCGs"]], sep="|")
)";

TEST(PatternsRender, GradientsTilesAndLayersAsReadersShowThem) {
  const std::string path = pdftest::TempPdf();
  pdf::PdfWriter pdf;
  pdf.BeginDoc(path);
  pdf.SetDocProperty("Drawn");
  pdf.SetMargins(50, 40, 80, 30);  // gradients use the page's corner, shapes the margin box's
  pdf.BeginPage();
  const struct { const char* name; bool on, listed; float x, y; } layers[] = {
      {"Hidden", false, true, 370, 200}, {"Shown", true, false, 430, 200},
      {"PRINTER", true, true, 370, 260}, {"SCREEN", false, true, 430, 260}, {"shown", false, true, 0, 0}};
  for (const auto& l : layers) pdf.BeginLayer(l.name, l.on, l.listed), pdf.DrawRect(l.x, l.y, 50, 50, 5), pdf.EndLayer();
  pdf.AddGradient("sky", 0, "#FF0000", "#0000FF", 100, 0, 400, 0);
  pdf.AddGradient("glow", 1, "red", "blue", 250, 350, 250, 350, 0, 50, false, true);
  pdf.BeginTiling("dots", 0, 0, 20, 20, 20, 20, 1);  // a 10-point square per 20-point tile
  pdf.DrawRect(0, 0, 10, 10, 5);
  pdf.EndTiling();
  for (const auto& [fill, x, y, w, h] : {std::tuple{"sky", 50, 20, 300, 100},  // page x 100..400
                                         {"glow", 100, 170, 200, 200}, {"dots;red", -50, 450, 596, 280}})
    pdf.SetColorFill(fill), pdf.DrawRect(x, y, w, h, 5);
  pdf.BeginObject("band");  // a gradient made in a recorded object covers its shape there
  pdf.AddGradient("down", 0, "#FF0000", "#0000FF", 400, 30, 400, 90);
  pdf.SetColorFill("down"), pdf.DrawRect(380, 30, 140, 60, 5);  // page x 430..570, y 110..170
  pdf.EndObject();
  pdf.PlayObject("band");
  pdf.EndDoc();
  pdftest::ExpectReadersAccept(path);

  const gfxtest::Pixels r = gfxtest::RenderPage(path, true);
  struct Pixel { int x, y, rgb[3], tolerance; const char* what; };
  std::vector<Pixel> probes = {
      {101, 150, {255, 0, 0}, 8, "axial start"},       {250, 150, {128, 0, 127}, 8, "axial middle"},
      {399, 150, {0, 0, 255}, 8, "axial end"},         {420, 150, {255, 255, 255}, 0, "beyond it"},
      {250, 350, {255, 0, 0}, 10, "radial centre"},    {275, 350, {128, 0, 127}, 10, "radial middle"},
      {340, 350, {0, 0, 255}, 8, "extended radial"},   {445, 305, {255, 255, 255}, 0, "layer off"},
      {505, 305, {0, 0, 0}, 0, "layer on"},            {445, 365, {255, 255, 255}, 0, "PRINTER layer"},
      {505, 365, {0, 0, 0}, 0, "SCREEN layer"},
      {500, 111, {255, 0, 0}, 8, "form's axis start"}, {500, 140, {128, 0, 127}, 8, "form's axis middle"},
      {500, 169, {0, 0, 255}, 8, "form's axis end"}};
  for (int k = 0; k < 6; ++k) {  // tiles from the page's bottom-left corner
    const int y = 842 - 20 * (k + 5) - 15;  // the square's row: 10 to 20 above the tile's foot
    probes.push_back({20 * k + 105, y, {255, 0, 0}, 0, "dot"});
    probes.push_back({20 * k + 115, y, {255, 255, 255}, 0, "beside the dot"});
    probes.push_back({20 * k + 105, y + 10, {255, 255, 255}, 0, "below the dot"});
  }
  for (const Pixel& p : probes)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(r.At(p.x, p.y, c), p.rgb[c], p.tolerance) << p.what;

  const pdftest::ToolResult json = pdftest::Qpdf({"--json", "--json-key=qpdf", path});
  const pdftest::ToolResult oc = pdftest::RunTool({"/usr/bin/python3", "-c", kOptionalContent}, json.out);
  EXPECT_EQ(oc.out, "OCGs|Hidden|Shown|PRINTER|SCREEN\nON|Shown|SCREEN\nOFF|Hidden|PRINTER\n"
                    "Order|Drawn|Hidden|PRINTER|SCREEN\nPrint|PRINTER|SCREEN\nView|PRINTER|SCREEN\n") << oc.err;
}

}  // namespace
