// The outline tree's objects, byte for byte.

#include "tests/pdf/core/core_probe.h"

namespace {

using core_test::ObjectBytes;
using core_test::Probe;
using core_test::ReadFile;
using core_test::TempPdf;

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

}  // namespace
