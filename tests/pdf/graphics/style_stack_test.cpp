// The caller's font after the members that save and restore the style or
// open a cell: tables (by rows and by columns), their cells, rows and
// columns, and barcodes with their text, also one that fails part-way. The
// text drawn afterwards names the caller's own font resource, in its own
// encoding and size, and readers read its letters as they read the same
// text drawn before; where no font was selected, none is afterwards.

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/text/cp1252.h"
#include "tests/pdf/graphics/graphics_probe.h"

namespace {

using Step = std::function<void(gfxtest::Probe&)>;

// A font the bracket selects inside, which must not outlive it.
void Inner(gfxtest::Probe& w) { w.SetFont("Courier", 8, 2); }

struct Bracket {
  const char* name;
  std::vector<Step> before;  // steps before the caller's font is selected
  std::vector<Step> inside;  // from the bracket's start to its end
  std::vector<Step> after;   // steps after the check
};

const std::vector<Bracket>& Brackets() {
  static const std::vector<Bracket> brackets = {
      {"table by rows",
       {},
       {[](auto& w) { w.BeginTable(10, 10); }, [](auto& w) { w.BeginRow(20); },
        [](auto& w) { w.BeginColumn(50); }, Inner, [](auto& w) { w.EndColumn(); },
        [](auto& w) { w.EndRow(); }, [](auto& w) { w.EndTable(); }},
       {}},
      {"table by columns",
       {},
       {[](auto& w) { w.BeginTable(10, 10); }, [](auto& w) { w.BeginColumn(50); },
        [](auto& w) { w.BeginRow(20); }, Inner, [](auto& w) { w.EndRow(); },
        [](auto& w) { w.EndColumn(); }, [](auto& w) { w.EndTable(); }},
       {}},
      {"cell in a row",
       {[](auto& w) { w.BeginTable(10, 10); }, [](auto& w) { w.BeginRow(20); }},
       {[](auto& w) { w.BeginColumn(50); }, Inner, [](auto& w) { w.EndColumn(); }},
       {[](auto& w) { w.EndRow(); }, [](auto& w) { w.EndTable(); }}},
      {"cell in a column",
       {[](auto& w) { w.BeginTable(10, 10); }, [](auto& w) { w.BeginColumn(50); }},
       {[](auto& w) { w.BeginRow(20); }, Inner, [](auto& w) { w.EndRow(); }},
       {[](auto& w) { w.EndColumn(); }, [](auto& w) { w.EndTable(); }}},
      {"row",
       {[](auto& w) { w.BeginTable(10, 10); }},
       {[](auto& w) { w.BeginRow(20); }, [](auto& w) { w.BeginColumn(50); },
        [](auto& w) { w.EndColumn(); }, Inner, [](auto& w) { w.EndRow(); }},
       {[](auto& w) { w.EndTable(); }}},
      {"column",
       {[](auto& w) { w.BeginTable(10, 10); }},
       {[](auto& w) { w.BeginColumn(50); }, [](auto& w) { w.BeginRow(20); }, [](auto& w) { w.EndRow(); },
        Inner, [](auto& w) { w.EndColumn(); }},
       {[](auto& w) { w.EndTable(); }}},
      {"barcode with its text", {}, {[](auto& w) { w.DrawBarCode(4, "Sevrina", 10, 300, true); }}, {}},
      {"barcode whose text fails",
       {},
       {[](auto& w) { EXPECT_THROW(w.DrawBarCode(0, "123456789012", 10, 2147483000.0f, true, 1, 1000), pdf::PdfError); }},
       {}},
  };
  return brackets;
}

struct CallerFont {
  const char* name;
  Step select;      // nothing: no font selected
  const char* tf;   // the font operator the text must be drawn with
};

TEST(StyleStack, TheCallersFontComesBackAfterEachBracket) {
  const std::string sans = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";
  const CallerFont fonts[] = {
      {"Arial in MacRoman", [](auto& w) { w.SetFont("Arial", 12, 0, 1); }, "/MACArial 12 Tf"},
      {"Times bold", [](auto& w) { w.SetFont("Times", 9, 1); }, "/TimesNewRoman,Bold 9 Tf"},
      {"a TrueType font", [](auto& w) { w.SetFont("Sans", 11); }, "/Sans 11 Tf"},
      {"no font", nullptr, nullptr},
  };
  // Letters that WinAnsi and MacRoman put at different codes.
  const std::string text = cp1252::from_utf8("perché è così");
  pdftest::TempDir dir;
  for (const Bracket& bracket : Brackets()) {
    for (const CallerFont& font : fonts) {
      SCOPED_TRACE(std::string(bracket.name) + ", " + font.name);
      const std::string path = dir.file("font.pdf");
      gfxtest::Probe w;
      w.Open(path, 400, 400);
      EXPECT_EQ(w.AddFont(dir.copy(sans), "Sans"), "Sans");
      for (const Step& step : bracket.before) step(w);
      // The same text drawn before the bracket, in the caller's font.
      if (font.select) {
        font.select(w);
        w.DrawText(20, 100, text);
      }
      for (const Step& step : bracket.inside) step(w);
      const std::size_t mark = w.PageText().size();
      if (font.select) {
        w.DrawText(20, 200, text);
        EXPECT_NE(w.PageText().find(std::string("\r") + font.tf, mark), std::string::npos) << w.PageText().substr(mark);
      } else {
        try {
          w.DrawText(20, 200, text);
          ADD_FAILURE() << "text drawn in a font the caller never selected";
        } catch (const pdf::PdfError& e) {
          EXPECT_EQ(e.Number(), 9);
        }
        // A field names the form's own font, as one made before the bracket.
        w.AddField("campo", 0, 20, 250, 100, 20, "x", pdf::PdfWriter::FieldParam(0));
      }
      for (const Step& step : bracket.after) step(w);
      EXPECT_EQ(w.Navigation.StyleDepth, 0);
      w.EndDoc();
      ASSERT_EQ(w.ErrNumber(), 0) << w.ErrDescription();
      pdftest::ExpectReadersAccept(path);
      if (font.select) {
        // Both lines read alike: the letters the caller's encoding gives.
        std::istringstream read(pdftest::PdfToText(path).out);
        std::vector<std::string> lines;
        for (std::string line; std::getline(read, line);)
          if (line.rfind("perch", 0) == 0) lines.push_back(line);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[1], lines[0]);
        if (std::string(font.name) != "Arial in MacRoman") { EXPECT_EQ(lines[0], "perché è così"); }
      } else {
        EXPECT_NE(pdftest::ReadFile(path).find("/DA (/Helv 0 Tf"), std::string::npos);
      }
    }
  }
}

}  // namespace
