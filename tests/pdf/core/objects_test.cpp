// Recorded page objects: their form XObject, the page rules and the
// annotations carried to the pages.

#include "tests/pdf/core/core_probe.h"

namespace {

using core_test::Count;
using core_test::ObjectBytes;
using core_test::Probe;
using core_test::ReadFile;
using core_test::TempPdf;

// Which of pages 1 to 6 play an object of the given rule.
std::string PagesPlayed(int rule) {
  Probe w;
  const std::string path = TempPdf(std::to_string(rule));
  w.BeginDoc(path);
  w.BeginObject("obj", rule);
  w.AppendContent("0 0 10 10 re f");
  w.EndObject();
  std::string played;
  for (int p = 1; p <= 6; ++p) {
    w.BeginPage();
    w.AppendContent("% body");
    w.EndPage();
    std::fflush(w.Output.Handle);
    const std::string file = ReadFile(path);
    const std::size_t last = file.rfind("\rstream\n");
    const std::string content = file.substr(last);
    if (content.find("q /obj Do Q") != std::string::npos) played += std::to_string(p);
  }
  w.Abort();
  return played;
}

TEST(CoreObjects, PageRules) {
  const struct {
    int rule;
    const char* pages;
  } cases[] = {{0, ""},      {1, "1"},      {2, "246"},    {3, "1246"},  {4, "135"},
               {5, "135"},   {6, "123456"}, {7, "123456"}, {8, ""},      {9, ""},
               {10, "246"},  {11, "246"},   {12, "35"},    {13, "35"},   {14, "23456"},
               {15, "23456"}, {23, "123456"}, {16 + 4, "135"}, {32 + 7, "123456"}};
  for (const auto& c : cases) EXPECT_EQ(PagesPlayed(c.rule), c.pages) << "rule " << c.rule;
}

TEST(CoreObjects, UnderAndOverThePageContent) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.SetScale(3);
  w.BeginObject("header_footer", 7);
  w.AppendContent("1 w");
  w.EndObject();
  w.BeginObject("stamp", 16 + 7);
  w.AppendContent("2 w");
  w.EndObject();
  w.BeginPage();
  EXPECT_EQ(w.PageText(), "\r0 0 0 rg\r0 0 0 RG\rq /header_footer Do Q");
  w.AppendContent("body");
  w.EndPage();
  w.EndDoc();
  const std::string file = ReadFile(path);
  EXPECT_EQ(ObjectBytes(file, 4),
            "4 0 obj\n<< /Type /XObject /Subtype /Form /FormType 1 /Name /header_footer\r"
            "/BBox [-1192 -1684 1192 1684]\r/Matrix [1 0 0 1 0 0]\n/Length 4 >>\rstream\n\r1 w\nendstream\nendobj\n");
  EXPECT_NE(file.find("\r0 0 0 rg\r0 0 0 RG\rq /header_footer Do Q\rbody\rq /stamp Do Q\nendstream"),
            std::string::npos);
  // Each resource entry once, in both resource dictionaries.
  EXPECT_EQ(Count(ObjectBytes(file, 2), "/header_footer 4 0 R \r"), 1);
  EXPECT_EQ(Count(ObjectBytes(file, 3), "/stamp 5 0 R \r"), 1);
  pdftest::ExpectReadersAccept(path);
}

TEST(CoreObjects, BoundingBoxFollowsThePageSize) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.SetPaperSize(9);
  w.BeginObject("a");
  w.EndObject();
  w.EndDoc();
  EXPECT_NE(ObjectBytes(ReadFile(path), 4).find("/BBox [-1584 -1224 1584 1224]"), std::string::npos);
}

TEST(CoreObjects, AnnotationsAreCarriedByAutomaticPlayOnly) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginObject("linked", 7);
  w.Resources.RecordedObjects[1].Annots = "3 0 R ";  // as an annotation made while recording
  w.EndObject();
  w.BeginObject("plain", 0);
  w.Resources.RecordedObjects[2].Annots = "2 0 R ";
  w.EndObject();
  w.BeginPage();
  EXPECT_EQ(w.Pages.PageAnnots, "3 0 R ");
  w.PlayObject("plain");
  EXPECT_EQ(w.Pages.PageAnnots, "3 0 R ");
  EXPECT_EQ(w.PageText(), "\r0 0 0 rg\r0 0 0 RG\rq /linked Do Q\rq /plain Do Q");
  w.BeginPage();
  EXPECT_EQ(w.Pages.PageAnnots, "3 0 R ");
  w.Abort();
}

TEST(CoreObjects, OneRecordingAtATime) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginObject("first", 7);
  w.AppendContent("a");
  w.BeginObject("second", 1);  // ignored
  w.AppendContent("b");
  w.EndObject();
  w.EndObject();  // nothing to end: ignored, no second copy
  w.AppendContent("dropped");
  EXPECT_EQ(w.Resources.RecordedObjectCount, 1);
  EXPECT_EQ(w.Resources.RecordedObjects[1].Name, "first");
  EXPECT_EQ(w.Resources.XObjectResources, "/first 4 0 R \r");
  w.EndDoc();
  const std::string file = ReadFile(path);
  EXPECT_EQ(Count(file, "/Subtype /Form"), 1);
  EXPECT_NE(ObjectBytes(file, 4).find("stream\n\ra\rb\nendstream"), std::string::npos);
  pdftest::ExpectReadersAccept(path);
}

TEST(CoreObjects, EndObjectWithoutRecordingIsIgnored) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.EndObject();  // never recorded
  w.EndDoc();
  EXPECT_EQ(Count(ReadFile(path), "/Subtype /Form"), 0);
  pdftest::ExpectReadersAccept(path);
}

// A page begun while an object is recorded: the object being recorded is
// not played into itself (a form drawing itself has no end).
TEST(CoreObjects, NoSelfReplayWhileRecording) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginObject("older", 7);
  w.EndObject();
  w.BeginObject("frame", 7);
  w.BeginPage();
  w.AppendContent("0 0 5 5 re S");
  w.EndObject();
  EXPECT_EQ(w.ObjectText(), "\r0 0 0 rg\r0 0 0 RG\rq /older Do Q\r0 0 5 5 re S");
  w.BeginPage();
  w.EndDoc();
  const std::string file = ReadFile(path);
  EXPECT_EQ(ObjectBytes(file, 5).find("/frame Do"), std::string::npos);
  pdftest::ExpectReadersAccept(path);
}

}  // namespace
