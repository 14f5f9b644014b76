// An output file that cannot be opened is error 52, unless the system says
// why in a way the user can act on: a full disk (61), refused access (70).

#include "tests/pdf/core/core_probe.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

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

// /dev/full takes the open and refuses every byte, as a full disk does; the
// buffered end of the file reaches it at EndDoc.
TEST(CoreLifecycle, AFullDiskIsError61AndARefusedFolderError70) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  {
    Probe w;
    w.BeginDoc("/dev/full");
    EXPECT_EQ(w.ErrNumber(), 0);
    try {
      w.EndDoc();
      ADD_FAILURE() << "a document written to a full disk";
    } catch (const PdfError& e) {
      EXPECT_EQ(e.Number(), 61);
      EXPECT_EQ(e.Description(), "Disk full");
    }
  }
  // A folder that takes no new file (root may write anything: the
  // unprivileged run covers it).
  if (::geteuid() == 0) return;
  pdftest::TempDir dir;
  ::chmod(dir.path().c_str(), 0555);
  const std::string path = dir.file("out.pdf");
  Probe w;
  EXPECT_EQ(w.BeginDoc(path), path);
  ::chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(w.ErrNumber(), 70);
  EXPECT_EQ(w.ErrDescription(), "Permission denied - " + path);
  EXPECT_THROW(w.EndDoc(), PdfError);
}

}  // namespace
