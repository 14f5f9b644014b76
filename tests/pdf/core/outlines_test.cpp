// The outline tree: levels, references, destinations, colours and styles,
// and the objects written at the close.

#include "tests/pdf/core/core_probe.h"

namespace {

using core_test::ObjectBytes;
using core_test::Probe;
using core_test::ReadFile;
using core_test::TempPdf;

TEST(CoreOutlines, NoBookmarksNoOutlines) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginPage();
  w.EndPage();
  EXPECT_EQ(w.WriteOutlines(), 0);
  w.EndDoc();
  const std::string file = ReadFile(path);
  EXPECT_EQ(file.find("/Outlines"), std::string::npos);
  EXPECT_EQ(file.find("/Count 1 /First"), std::string::npos);
}

TEST(CoreOutlines, TreeBytes) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginPage();
  EXPECT_EQ(w.AddBookmark("A", 1), "@2");
  EXPECT_EQ(w.AddBookmark("A.1", 2), "@3");
  w.BeginPage();
  EXPECT_EQ(w.AddBookmark("B", 1), "@4");
  w.EndDoc();
  const std::string file = ReadFile(path);
  // Pages 4 and 6; the root is 8, the entries 9 to 12.
  EXPECT_EQ(ObjectBytes(file, 8), "8 0 obj\n<< /Count 1 /First 9 0 R /Last 9 0 R >>\nendobj\n");
  EXPECT_EQ(ObjectBytes(file, 9), "9 0 obj\n<< /Title (\\(senza titolo\\))\r/Parent 8 0 R\r/First 10 0 R\r"
                                  "/Last 12 0 R\r/Count 2\r/Dest [4 0 R /FitB]\r>>\nendobj\n");
  EXPECT_EQ(ObjectBytes(file, 10), "10 0 obj\n<< /Title (A)\r/Parent 9 0 R\r/First 11 0 R\r/Last 11 0 R\r"
                                   "/Next 12 0 R\r/Dest [4 0 R /FitB]\r>>\nendobj\n");
  EXPECT_EQ(ObjectBytes(file, 11), "11 0 obj\n<< /Title (A.1)\r/Parent 10 0 R\r/Dest [4 0 R /FitB]\r>>\nendobj\n");
  EXPECT_EQ(ObjectBytes(file, 12), "12 0 obj\n<< /Title (B)\r/Parent 9 0 R\r/Prev 10 0 R\r/Dest [6 0 R /FitB]\r>>\nendobj\n");
  EXPECT_NE(file.find("/Pages 1 0 R\r/Outlines 8 0 R\r/Metadata"), std::string::npos);
  pdftest::ExpectReadersAccept(path);
  const auto outline = pdftest::MutoolShow(path, {"outline"});
  EXPECT_EQ(outline.err, "");
  EXPECT_NE(outline.out.find("\"A.1\"\t#page=1"), std::string::npos) << outline.out;
  EXPECT_NE(outline.out.find("\"B\"\t#page=2"), std::string::npos) << outline.out;
}

TEST(CoreOutlines, Levels) {
  const struct {
    std::vector<int> given;
    std::vector<int> levels;
  } cases[] = {
      {{-1, -1, -1}, {1, 2, 3}},
      {{1, 5}, {1, 2}},
      {{0, 0}, {1, 1}},  // the default level right after the title hangs below it
      {{-3}, {1}},
      {{300}, {1}},
      {{1, 2, 3, 0, 1}, {1, 2, 3, 3, 1}},
  };
  for (const auto& c : cases) {
    Probe w;
    for (int g : c.given) w.AddBookmark("x", static_cast<std::int16_t>(g));
    ASSERT_EQ(w.Navigation.OutlineCount, static_cast<int>(c.levels.size()) + 1);
    for (std::size_t i = 0; i < c.levels.size(); ++i)
      EXPECT_EQ(w.Navigation.Outlines[i + 2].Level, c.levels[i]) << i;
  }
  // Level 255 and beyond adds nothing.
  Probe deep;
  for (int i = 1; i <= 254; ++i) EXPECT_EQ(deep.AddBookmark("d", -1), "@" + std::to_string(i + 1));
  EXPECT_EQ(deep.AddBookmark("too deep", -1), "");
  EXPECT_EQ(deep.Navigation.OutlineCount, 255);
}

TEST(CoreOutlines, DefaultLevelAfterTitleMakesAReadableTree) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginPage();
  w.AddBookmark("Primo");
  w.AddBookmark("Secondo");
  w.AddBookmark("Sotto", -1);
  w.AddBookmark("Terzo", -7);
  w.EndDoc();
  pdftest::ExpectReadersAccept(path);
  const auto json = pdftest::Qpdf({"--json", "--json-key=outlines", path});
  EXPECT_EQ(json.exit_code, 0);
  for (const char* title : {"Primo", "Secondo", "Sotto", "Terzo"})
    EXPECT_NE(json.out.find(std::string("\"title\": \"") + title + "\""), std::string::npos) << title;
}

TEST(CoreOutlines, DestinationsColourAndStyle) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.SetScale(3);
  w.AddBookmark("before any page", 1, 1, 2);  // points at page 1
  w.BeginPage();
  w.BeginPage();
  w.AddBookmark("xyz", 1, 4, 2, 3, 0, 0, 150);
  w.AddBookmark("fith", 1, 2, 0, 3);
  w.AddBookmark("fitr", 1, 3, 1, 1, 2, 1);
  w.AddBookmark("none", 1, 7);
  w.AddBookmark("red bold italic", 1, 0, 0, 0, 0, 0, 0, "red", 3);
  w.AddBookmark("bold", 1, 0, 0, 0, 0, 0, 0, "", 1);
  w.AddBookmark("italic", 1, 0, 0, 0, 0, 0, 0, "", 2);
  w.EndDoc();
  const std::string file = ReadFile(path);
  auto entry = [&](const std::string& title) {
    const std::size_t at = file.find("<< /Title (" + title + ")");
    return at == std::string::npos ? std::string() : file.substr(at, file.find(">>", at) - at + 2);
  };
  EXPECT_NE(entry("before any page").find("/Dest [4 0 R /FitV 56.693]\r"), std::string::npos);
  EXPECT_NE(entry("xyz").find("/Dest [6 0 R /XYZ 56.693 756.961 1.5]\r"), std::string::npos);
  EXPECT_NE(entry("fith").find("/Dest [6 0 R /FitH 756.961]\r"), std::string::npos);
  EXPECT_NE(entry("fitr").find("/Dest [6 0 R /FitR 28.346 813.654 85.039 785.307]\r"), std::string::npos);
  EXPECT_EQ(entry("none").find("/Dest"), std::string::npos);
  EXPECT_NE(entry("red bold italic").find("/C [1 0 0]\r/F 3\r>>"), std::string::npos);
  EXPECT_NE(entry("bold").find("/F 2\r>>"), std::string::npos);
  EXPECT_NE(entry("italic").find("/F 1\r>>"), std::string::npos);
  EXPECT_EQ(file.substr(0, 9), "%PDF-1.4\n");
  pdftest::ExpectReadersAccept(path);
}

TEST(CoreOutlines, PageZeroIsTheFirstPage) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginPage();
  w.AddBookmark("zero");
  w.Navigation.Outlines[2].Page = 0;  // as a target of page 0 would be
  w.EndDoc();
  const std::string file = ReadFile(path);
  EXPECT_EQ(file.find("[0 0 R"), std::string::npos);
  EXPECT_NE(file.find("<< /Title (zero)\r/Parent 7 0 R\r/Dest [4 0 R /FitB]"), std::string::npos);
  pdftest::ExpectReadersAccept(path);
}

// The outline root's number is 32-bit: past 32767 the catalog still finds it.
TEST(CoreOutlines, RootNumberPastSixteenBits) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  for (int i = 0; i < 40000; ++i) {
    w.BeginIndirectObject(0);
    w.WriteLine("null");
    w.EndIndirectObject();
  }
  w.BeginPage();
  w.AddBookmark("lontano");
  w.EndDoc();
  const std::string file = ReadFile(path);
  EXPECT_NE(file.find("\r/Outlines 40006 0 R\r"), std::string::npos);
  EXPECT_EQ(ObjectBytes(file, 40006), "40006 0 obj\n<< /Count 1 /First 40007 0 R /Last 40007 0 R >>\nendobj\n");
  EXPECT_EQ(pdftest::QpdfCheck(path).exit_code, 0);
  const auto outline = pdftest::MutoolShow(path, {"outline"});
  EXPECT_EQ(outline.err, "");
  EXPECT_NE(outline.out.find("\"lontano\""), std::string::npos) << outline.out;
}

TEST(CoreOutlines, UseOutlinesModeOnlyWithEntries) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.SetViewerPreferences(2);
  w.AddBookmark("uno");
  w.EndDoc();
  EXPECT_NE(ReadFile(path).find("\n/PageMode /UseOutlines\n"), std::string::npos);
}

}  // namespace
