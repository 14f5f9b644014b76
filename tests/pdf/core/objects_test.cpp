// Recorded page objects played under and over the page content.

#include "tests/pdf/core/core_probe.h"

namespace {

using core_test::Count;
using core_test::ObjectBytes;
using core_test::Probe;
using core_test::ReadFile;
using core_test::TempPdf;

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

}  // namespace
