// An output file that cannot be opened is error 52.

#include "tests/pdf/core/core_probe.h"

namespace {

using namespace core_test;
using pdf::PdfError;

TEST(CoreLifecycle, OutputThatCannotBeOpenedIsError52) {
  pdftest::TempDir dir;
  const std::string paths[] = {
      dir.file("no such folder/out.pdf"),
      dir.path().string(),  // a folder, not a file
  };
  for (const auto& path : paths) {
    Probe w;
    EXPECT_EQ(w.BeginDoc(path), path);
    EXPECT_EQ(w.ErrNumber(), 52) << path;
    EXPECT_EQ(w.ErrSource(), "PdfWriter.BeginDoc");
    const std::string tail = " - " + path;
    ASSERT_GT(w.ErrDescription().size(), tail.size());
    EXPECT_EQ(w.ErrDescription().substr(w.ErrDescription().size() - tail.size()), tail);
    EXPECT_EQ(w.Objects.LastObjectNumber, 3);
    // Later writes fail to the caller, never silently.
    try {
      w.BeginPage();  // a page needs the file it will be written to
      ADD_FAILURE() << "a page without a file";
    } catch (const PdfError& e) {
      EXPECT_EQ(e.Number(), 52);
    }
    EXPECT_THROW(w.EndDoc(), PdfError);
    // Abort clears the number, keeps the texts.
    w.Abort();
    EXPECT_EQ(w.ErrNumber(), 0);
    EXPECT_EQ(w.ErrSource(), "PdfWriter.BeginDoc");
    EXPECT_NE(w.ErrDescription().find(path), std::string::npos);
  }
}

}  // namespace
