// Links and named destinations: each kind of target as the link object and
// destination record it makes, and the named views as readers list them.

#include "tests/pdf/interactive/interactive_probe.h"

namespace {

using namespace interactive_test;

TEST(InteractiveLinks, TargetTable) {
  // link: the object line after the rectangle; page, view: the destination record ("", 0: none).
  struct Row { const char* target; int border, highlight, view; const char* link; int page; const char* recordView; };
  const Row rows[] = {
      {"http://a.it/x", 0, 0, 0, "/Border [ 0 0 0]  /H /N\r\r /A << /S /URI /URI (http://a.it/x) >>  >>", 0, ""},
      {"https://a.it", 2, 3, 0, "/Border [ 0 0 2]\r /H /P\r\r /A << /S /URI /URI (https://a.it) >>  >>", 0, ""},
      {"file:b.pdf", 0, 1, 0, "/Border [ 0 0 0]  /H /I\r\r /A << /Type /Action /S /GoToR /F (b.pdf) /D [0 /Fit] >>  >>", 0, ""},
      {"script:go();", 0, 2, 0, "/Border [ 0 0 0]  /H /O\r\r/A << /S /JavaScript /JS 8 0 R >> >>", 0, ""},
      {"layer:ON(a)", 0, 9, 0, "/Border [ 0 0 0] \r/A << /S /JavaScript /JS 8 0 R >>  >>", 0, ""},
      {"ref:a b#", 0, -1, 0, "/Border [ 0 0 0] \r/Dest /_REF_a#20b#23 >>", 0, ""},
      {"page:-5", 0, -1, 0, "/Border [ 0 0 0] /Dest /_LINK_1 >>", 1, " /FitB"},
      {"page:+2", 0, -1, 1, "", 5, " /FitV 20"}, {"page:#last", 0, -1, 4, "", -1, " /XYZ 20 802 1.5"},
      {"page:#Prev", 0, -1, 2, "", 2, " /FitH 802"}, {"page:#NEXT", 0, -1, 3, "", 4, " /FitR 20 802 220 702"},
      {"page: 2x", 0, -1, 5, "", 2, "/Fit"}, {"bookmark:@2", 0, -1, 3, "", 3, "/FitV 0"},
      // Targets that are none, or broken: no link, no record.
      {"Page:3", 0, 0, 0, "", 0, ""}, {"bookmark:@7", 0, 0, 0, "", 0, ""}, {"bookmark:Capitolo", 0, 0, 0, "", 0, ""},
      {"layer:ON(a", 0, 0, 0, "", 0, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.target);
    const std::string path = TempPdf(std::to_string(&r - rows));
    const std::string link = ObjectWith(WriteDoc(path, [&](Probe& w) {
      w.SetScale(255, 2);
      w.BeginPage();
      w.BeginPage();
      w.AddBookmark("Capitolo", 1, 1);
      w.SetLastRect(10, 20, 30, 40);
      w.LinkTo(r.target, static_cast<std::int16_t>(r.border), r.highlight, r.view, 10, 20, 100, 50, 150);
      ASSERT_EQ(w.Navigation.DestinationCount, r.page != 0 ? 1 : 0);
      if (r.page == 0) return;
      EXPECT_EQ(w.Navigation.Destinations[1].Page, r.page);
      EXPECT_EQ(w.Navigation.Destinations[1].View, r.recordView);
    }), "/Subtype /Link");
    EXPECT_EQ(link.empty(), r.page == 0 && r.link[0] == 0);
    EXPECT_TRUE(link.empty() || link.find("/Rect [10 20 30 40]\r" + std::string(r.link)) != std::string::npos) << link;
    pdftest::ExpectReadersAccept(path);
  }
}

// The link covers the shape where the writer's own transforms put it: the box
// around its corners as they land, in page space (y upward).
TEST(InteractiveLinks, ShapesDrawnUnderTransforms) {
  const struct { const char* what; void (*draw)(Probe&); const char* rect; } rows[] = {
      {"space", [](Probe& w) { w.BeginSpace(100, 100), w.DrawRect(0, 0, 50, 50); }, "100 742 150 692"},
      {"table cell", [](Probe& w) { w.BeginTable(100, 100), w.BeginRow(50), w.BeginColumn(80),
                                    w.DrawRect(10, 10, 20, 20); }, "110 732 130 712"},
      {"translation", [](Probe& w) { w.AxisTranslation(100, 100), w.DrawRect(0, 0, 50, 50); }, "100 742 150 692"},
      {"scaling", [](Probe& w) { w.AxisScaling(2, 3), w.DrawRect(10, 10, 20, 20); }, "20 812 60 752"},
      // A 50 by 20 box turned a quarter counter-clockwise about (200, 200): 20 wide, 50 high, above it.
      {"rotation", [](Probe& w) { w.BeginSpace(200, 200, 1, 1, 90), w.DrawRect(0, 0, 50, 20); }, "200 692 220 642"},
      {"skew", [](Probe& w) { w.AxisSkewing(45, 0), w.DrawRect(0, 0, 10, 10); }, "0 842 10 822"},
      {"text box in a scaled space", [](Probe& w) { w.SetFont("Arial", 10), w.BeginSpace(100, 100, 2, 2),
                                                    w.DrawTextBox(0, 0, 50, 20, "ab"); }, "100 742 200 717.58"},
      {"after the space ends", [](Probe& w) { w.BeginSpace(100, 100, 1, 1, 30), w.EndSpace(),
                                              w.DrawRect(0, 0, 50, 50); }, "0 842 50 792"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const std::string path = TempPdf(std::to_string(&r - rows));
    const std::string link = ObjectWith(WriteDoc(path, [&](Probe& w) { r.draw(w), w.LinkTo("http://a.it"); }),
                                        "/Subtype /Link");
    EXPECT_NE(link.find("/Rect [" + std::string(r.rect) + "]"), std::string::npos) << link;
  }
}

// A layer link's script, run as a viewer runs it (the document as `this`) on
// the layers the file names: the layer keeps its name as given, the script
// finds it whatever the case and blanks of the target.
TEST(InteractiveLinks, LayerScriptsSwitchTheLayersTheFileNames) {
  // shown: the name as a viewer reads it (UTF-8), when it is not ASCII.
  const struct { const char* layer; const char* target; const char* states; const char* shown = nullptr; } rows[] = {
      {"Notes", "layer:OFF(Notes)", "false"},
      {"Drawing Notes", "layer:OFF(Drawing Notes)", "false"},
      {"Drawing Notes", "layer:TOGGLE(drawingnotes)", "false"},
      {"SCREEN", "layer:ON(Other) OFF(screen)", "false"},
      {"Notes", "layer:OFF(Note)", "true"},  // another name: left alone
      {"Stra\xdf" "e", "layer:OFF(stra\xdf" "e)", "false", "Straße"},
      {"\x9a" "ala", "layer:OFF(\x8a" "ALA)", "false", "šala"},
      {"\xb5m", "layer:TOGGLE(\xb5M)", "false", "µm"},
      {"\x80uro", "layer:OFF(\x80URO)", "false", "€uro"},
      {"Citt\xe0", "layer:OFF(citt\xe0)", "false", "Città"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.target);
    const std::string path = TempPdf(std::to_string(&r - rows));
    const std::string file = WriteDoc(path, [&](Probe& w) {
      w.BeginLayer(r.layer), w.DrawRect(0, 0, 10, 10), w.EndLayer(), w.LinkTo(r.target);
    });
    const std::size_t name = file.find("/Type /OCG /Name (") + 18;
    if (r.shown == nullptr) {
      ASSERT_EQ(file.substr(name, file.find(')', name) - name), r.layer);
    }
    const std::string object = ObjectWith(file, "var ocgArray");
    const std::size_t from = object.find("stream\n") + 7;
    const std::string js = path + ".js";
    // The layer's name as the viewer reads it from the file, named as an
    // argument: its path may hold quotes.
    pdftest::WriteFile(js, "var layers = [{name: new PDFDocument(scriptArgs[0]).getTrailer().Root.OCProperties"
                           ".OCGs[0].Name.asString(), state: true}];\n(function () {\n" +
                               object.substr(from, object.find("\nendstream") - from) +
                               "\n}).call({getOCGs: function () { return layers; }});\nprint(layers[0].name);\nprint(layers[0].state);\n");
    const pdftest::ToolResult run = pdftest::RunTool({"mutool", "run", js, path});
    EXPECT_EQ(run.out, std::string(r.shown ? r.shown : r.layer) + "\n" + r.states + "\n") << run.err;
  }
}

TEST(InteractiveLinks, NamedViewsAndLayerScript) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.DefineRef("prima");  // before any page: the first page
  w.SetMargins(10, 0, 20, 0);
  w.BeginPage();
  w.SetXY(5, 30);
  w.DefineRef("qui (1)/2", 4, 0, 0, 0, 0, 200);  // the current point, in page space
  w.DefineRef("riquadro");
  w.DefineRef("riquadro", 3, 50, 100, 100, 50);  // defined again: one entry, the new view
  w.DrawRect(5, 30, 40, 20);  // drawn inside the margins: the links cover it there
  w.LinkTo("ref:qui (1)/2");
  w.LinkTo("page:#NEXT");  // the last page at the end
  w.LinkTo("layer:ON(a, b) OFF (c) ON(d) TOGGLE(x'y)");
  w.EndDoc();
  EXPECT_EQ(pdftest::Count(ReadFile(path), "/Rect [15 792 55 772]"), 3);
  EXPECT_NE(ReadFile(path).find("{\rvar name = ocgArray[i].name.toUpperCase().replace(/ /g, '');\r"
                      "if (name == 'A') { ocgArray[i].state = true; };\rif (name == 'B') "
                      "{ ocgArray[i].state = true; };\rif (name == 'C') { ocgArray[i].state = false; };\r"
                      "if (name == 'X\\'Y') { ocgArray[i].state = !ocgArray[i].state; };\r}\nendstream"), std::string::npos);
  const std::string dests = pdftest::Pdfinfo(path, {"-dests"}).out;
  EXPECT_NE(dests.find("   1 [ FitB                    ] \"_REF_prima\"\n   1 [ XYZ   15  792 2.00      ] \"_REF_qui (1)/2\"\n"
                       "   1 [ FitR   50  742  150  692] \"_REF_riquadro\""), std::string::npos) << dests;
  EXPECT_NE(pdftest::Qpdf({"--json", "--json-key=qpdf", path}).out.find("\"/Dest\": \"/_REF_qui (1)/2\""), std::string::npos);
  pdftest::ExpectReadersAccept(path);
}

}  // namespace
