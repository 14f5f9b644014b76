// The writer object: defaults, opening the output file, error recording,
// the reset, table growth and showing the finished file.

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <thread>

#include "tests/pdf/core/core_probe.h"

namespace {

using core_test::Probe;
using core_test::ReadFile;
using core_test::TempPdf;
using pdf::PdfError;

const std::string kHeader = "%PDF-1.3\n% Sevrina PDF writer rel. 2.4.4\n";

TEST(CoreLifecycle, FreshObject) {
  Probe w;
  EXPECT_EQ(w.ErrNumber(), 0);
  EXPECT_EQ(w.ErrSource(), "");
  EXPECT_EQ(w.FileSize(), 0);
  EXPECT_EQ(w.Version(), "2.4.4");
  EXPECT_EQ(w.GetPage(), 0);
  EXPECT_EQ(w.GetPageWidth(), 596.0f);
  EXPECT_EQ(w.GetPageHeight(), 842.0f);
  EXPECT_EQ(w.Objects.LastObjectNumber, 0);
  EXPECT_EQ(w.Properties.Title, "(senza titolo)");
  ASSERT_EQ(w.Navigation.OutlineCount, 1);
  EXPECT_EQ(w.Navigation.Outlines[1].Caption, "(senza titolo)");
  EXPECT_EQ(w.Navigation.Outlines[1].Level, 0);
  EXPECT_EQ(w.Navigation.Outlines[1].Page, 1);
  EXPECT_EQ(w.Navigation.Outlines[1].Destination, "/FitB");
  EXPECT_EQ(w.Colours.FillColor, "#FFFFFF");
  EXPECT_EQ(w.Colours.LineColor, "#000000");
  EXPECT_EQ(w.Colours.TextColor, "#000000");
  EXPECT_EQ(w.Text.HorizontalScaling, 100.0f);
  EXPECT_EQ(w.Text.LineSpacing, 1.0f);
  for (int i = 0; i <= 16; ++i) EXPECT_EQ(w.Powers.PowersOfTwo[static_cast<std::size_t>(i)], 1 << i);
  // Local time with its real offset from universal time.
  EXPECT_TRUE(std::regex_match(w.Properties.CreationDate,
                               std::regex(R"(D:\d{14}(Z|[+-]\d\d'\d\d'))")))
      << w.Properties.CreationDate;
}

TEST(CoreLifecycle, BeginDocWritesTheHeader) {
  Probe w;
  const std::string path = TempPdf();
  EXPECT_EQ(w.BeginDoc(path), path);
  EXPECT_EQ(w.ErrNumber(), 0);
  EXPECT_EQ(w.Objects.LastObjectNumber, 3);
  EXPECT_EQ(w.FileSize(), static_cast<std::int32_t>(kHeader.size()));
  w.Abort();  // closes the file unfinished; the bytes stay
  EXPECT_EQ(ReadFile(path), kHeader);
  EXPECT_EQ(w.FileSize(), 0);
}

TEST(CoreLifecycle, GeneratedNameInTheCurrentFolder) {
  pdftest::TempDir dir;
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  Probe w;
  const std::string name = w.BeginDoc();
  w.Abort();
  std::filesystem::current_path(old);
  ASSERT_GT(name.size(), 5u);
  EXPECT_EQ(name[0], '~');
  EXPECT_EQ(name.substr(name.size() - 4), ".pdf");
  ASSERT_TRUE(core_test::AllOf(name.substr(1, name.size() - 5), "0123456789ABCDEF")) << name;
  EXPECT_EQ(ReadFile((dir.path() / name).string()), kHeader);
  // The hexadecimal digits read back as day, hours, minutes, seconds and one
  // random digit.
  const std::string digits = std::to_string(std::stoll(name.substr(1, name.size() - 5), nullptr, 16));
  ASSERT_TRUE(digits.size() == 8 || digits.size() == 9) << digits;
  const std::size_t d = digits.size() - 8;
  const int day = std::stoi(digits.substr(0, d + 1));
  EXPECT_GE(day, 1);
  EXPECT_LE(day, 31);
  EXPECT_LE(std::stoi(digits.substr(d + 1, 2)), 23);
  EXPECT_LE(std::stoi(digits.substr(d + 3, 2)), 59);
  EXPECT_LE(std::stoi(digits.substr(d + 5, 2)), 59);
}

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

TEST(CoreLifecycle, WritesWithoutDocumentFail) {
  Probe w;
  EXPECT_THROW(w.EndDoc(), PdfError);
  EXPECT_THROW(w.WriteLine("x"), PdfError);
  w.BeginDoc(TempPdf());
  w.EndDoc();
  EXPECT_THROW(w.WriteLine("after the close"), PdfError);
  EXPECT_THROW(w.EndDoc(), PdfError);
}

TEST(CoreLifecycle, SecondBeginDocIsRefusedAndTheFirstGoesOn) {
  Probe w;
  const std::string first = TempPdf("first"), second = TempPdf("second");
  w.BeginDoc(first);
  w.BeginPage();
  EXPECT_EQ(w.BeginDoc(second), second);
  EXPECT_EQ(w.ErrNumber(), 55);
  w.EndDoc();  // the first goes on (its file: the second_begindoc writer script)
  w.BeginDoc(second);  // nor does one follow a finished document before Abort
  EXPECT_EQ(w.ErrNumber(), 5);
  EXPECT_FALSE(std::filesystem::exists(second));
}

TEST(CoreLifecycle, DestructorDoesNotFinish) {
  const std::string path = TempPdf();
  {
    Probe w;
    w.BeginDoc(path);
    w.BeginPage();
  }
  EXPECT_EQ(ReadFile(path), kHeader);
}

TEST(CoreLifecycle, MemoryUsageAndTableGrowth) {
  Probe w;
  w.SetMemoryUsage(11);
  EXPECT_EQ(w.Growth.MemoryUsage, 1);
  w.SetMemoryUsage(10);
  EXPECT_EQ(w.Growth.MemoryUsage, 10);
  try {
    w.SetMemoryUsage(-1);
    ADD_FAILURE() << "no failure";
  } catch (const PdfError& e) {
    EXPECT_EQ(e.Number(), 6);
  }
  w.SetMemoryUsage(0);  // no room would be made: taken as 1
  EXPECT_EQ(w.Growth.MemoryUsage, 1);

  const struct {
    int m, n, bound;
  } cases[] = {{1, 1, 10}, {1, 11, 21}, {1, 4, 14}, {2, 1, 20}, {2, 21, 39},
               {10, 1, 100}, {10, 101, 313}, {3, 12, 29}};
  for (const auto& c : cases) {
    w.Growth.MemoryUsage = static_cast<std::uint8_t>(c.m);
    EXPECT_EQ(w.TableUpperBound(c.n), c.bound) << c.m << " " << c.n;
  }
  w.Abort();
  // The cross-reference table grows from its entry 0 to 14 at object 4.
  w.BeginDoc(TempPdf());
  EXPECT_EQ(w.Objects.XrefEntries.size(), 1u);
  w.BeginIndirectObject(0);
  EXPECT_EQ(w.Objects.XrefEntries.size(), 15u);
  w.Abort();
  EXPECT_EQ(w.Objects.XrefEntries.size(), 1u);
}

TEST(CoreLifecycle, AbortResetsTheDocumentState) {
  Probe w;
  w.BeginDoc(TempPdf());
  w.SetScale(3);
  w.SetMargins(1, 1, 1, 1);
  w.SetPageView(2);
  w.BeginObject("x", 7);
  w.EndObject();
  w.BeginPage();
  w.SetDocProperty("Titolo", "S", "A", "C", "P", "K");
  w.AddBookmark("b");
  w.SetCompression(2);
  w.SetViewerPreferences(4);
  w.SetLabel(1);
  w.Abort();
  EXPECT_EQ(w.GetPage(), 0);
  EXPECT_EQ(w.Pages.ScaleFactor, 1.0f);
  EXPECT_EQ(w.Pages.Margins.Left, 0.0f);
  EXPECT_FALSE(w.Pages.ClipPage);
  EXPECT_EQ(w.Pages.DefaultRotation, 0);
  EXPECT_FALSE(w.Pages.PageOpen);
  EXPECT_EQ(w.Resources.RecordedObjectCount, 0);
  EXPECT_EQ(w.Resources.XObjectResources, "");
  EXPECT_EQ(w.Properties.Title, "(senza titolo)");
  EXPECT_EQ(w.Properties.Author, "Sevrina");
  EXPECT_EQ(w.Navigation.OutlineCount, 1);
  EXPECT_EQ(w.Navigation.Outlines[1].Caption, "(senza titolo)");
  EXPECT_EQ(w.Settings.CompressionMode, 0);
  EXPECT_EQ(w.Settings.ViewerPreferences, 0);
  EXPECT_EQ(w.Labels.PageLabels, "");
  EXPECT_EQ(w.Pages.PageKids, "");
  EXPECT_EQ(w.Objects.LastObjectNumber, 0);
  EXPECT_EQ(w.FileSize(), 0);
}

// OpenDoc hands the name to the desktop's viewer as one argument, without a
// shell: blanks and shell characters in the name do nothing.
TEST(CoreLifecycle, OpenDocPassesTheNameAsOneArgument) {
  pdftest::TempDir bin;
  const std::string log = bin.file("args.txt");
  const std::string script = bin.file("xdg-open");
  pdftest::WriteFile(script, "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > '" + log + ".tmp'\nmv '" + log +
                                 ".tmp' '" + log + "'\n");
  ::chmod(script.c_str(), 0755);
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (bin.path().string() + ":" + oldPath).c_str(), 1);

  pdftest::TempDir docs;
  const std::string name = docs.file("a b; touch pwned $(touch pwned2).pdf");
  Probe w;
  w.BeginDoc(name);
  w.EndDoc();
  w.OpenDoc();
  std::string args;
  for (int i = 0; i < 100 && (args = ReadFile(log)).empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ::setenv("PATH", oldPath.c_str(), 1);
  EXPECT_EQ(args, "1\n" + name + "\n");
  EXPECT_FALSE(std::filesystem::exists("pwned"));
  EXPECT_FALSE(std::filesystem::exists(docs.file("pwned")));
  EXPECT_FALSE(std::filesystem::exists("pwned2"));
}

}  // namespace
