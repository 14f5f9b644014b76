// Whatever a caller passes, a valid file: the name escapes, the checked-in
// scripts of hostile calls replayed and their files given to the real
// readers, and the texts and dates readers decode.

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

#include "pdf/core/pdf_name.h"
#include "tests/fuzz/writer_script.h"
#include "tests/pdf/core/core_probe.h"

namespace {

using core_test::TempPdf;
using pdftest::Count;

TEST(Hardening, NameTokens) {
  const char* cases[][2] = {
      {"Arial,Bold", "/Arial,Bold"}, {"", "/"},           {"My/Font(1)", "/My#2FFont#281#29"},
      {"a b\tc", "/a#20b#09c"},      {"#1", "/#231"},     {"<>[]{}%", "/#3C#3E#5B#5D#7B#7D#25"},
      {"\x7F\x80\xFF", "/#7F#80#FF"}, {"~!'*-.", "/~!'*-."},
  };
  for (const auto& c : cases) EXPECT_EQ(pdf::NameToken(c[0]), c[1]) << c[0];
}

// Each script's file passes qpdf --check, Ghostscript and MuPDF without a
// message and holds the bytes its "#" lines expect.
TEST(Hardening, ScriptsOfHostileCallsGiveValidFiles) {
  const std::filesystem::path folder = SEVRINA_SOURCE_DIR "/tests/fuzz/writer_scripts";
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".txt") continue;
    SCOPED_TRACE(entry.path().filename().string());
    const std::string script = pdftest::ReadFile(entry.path().string());
    const std::string path = TempPdf(entry.path().stem().string());
    ASSERT_TRUE(writer_script::RunScript(script, path));
    const std::string file = pdftest::ReadFile(path);
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
      const std::size_t blank = line.find(' ');
      if (line[0] != '#' || blank < 2 || blank == std::string::npos) continue;
      const std::string tag = line.substr(1, blank - 1);
      const std::string text = writer_script::Text({line.substr(blank + 1)}, 0);
      const std::size_t bar = tag == "~" ? text.find('|') : text.size();
      const int found = Count(file, text.substr(0, bar));
      const int wanted = tag == "=" ? std::max(found, 1)
                         : tag == "~" ? Count(file, text.substr(bar + 1)) : std::atoi(tag.c_str());
      EXPECT_EQ(found, wanted) << line;
    }
    pdftest::ExpectReadersAccept(path);
    const pdftest::ToolResult drawn = pdftest::RunTool({"mutool", "draw", "-q", "-o", "/dev/null", "-F", "pgm", path});
    EXPECT_EQ(drawn.exit_code, 0);
    EXPECT_EQ(std::regex_replace(drawn.err, std::regex("warning: ICC support is not available\n"), ""), "");
  }
}

// PDFDocEncoding where every character has a code there, else UTF-16: the
// readers show the characters the caller gave.
TEST(Hardening, ReadersShowInformationTexts) {
  const std::string path = TempPdf();
  pdf::PdfWriter w;
  w.BeginDoc(path);
  w.SetDocProperty("Prezzo \x80 \x96 \x95", "co\xADop \x80");
  w.EndDoc();
  const std::string info = pdftest::Pdfinfo(path).out;
  EXPECT_EQ(pdftest::PdfinfoValue(info, "Title"), "Prezzo \u20AC \u2013 \u2022");
  EXPECT_EQ(pdftest::PdfinfoValue(info, "Subject"), "co\u00ADop \u20AC");
}

// The creation date carries the machine's real offset; XMP has it in ISO 8601.
TEST(Hardening, CreationDateInTheLocalZone) {
  const char* cases[][3] = {{"UTC0", "Z", "Z"}, {"CET-1", "+01'00'", "+01:00"},
                            {"IST-5:30", "+05'30'", "+05:30"}, {"EST5", "-05'00'", "-05:00"}};
  const char* kept = std::getenv("TZ");
  const std::string saved = kept ? kept : "";
  for (const auto& c : cases) {
    setenv("TZ", c[0], 1);
    tzset();
    core_test::Probe w;
    const std::string& date = w.Properties.CreationDate;
    EXPECT_TRUE(std::regex_match(date.substr(0, 16), std::regex(R"(D:\d{14})"))) << date;
    EXPECT_EQ(date.substr(16), c[1]) << c[0];
    const std::string iso = date.substr(2, 4) + "-" + date.substr(6, 2) + "-" + date.substr(8, 2) + "T" +
                            date.substr(10, 2) + ":" + date.substr(12, 2) + ":" + date.substr(14, 2) + c[2];
    EXPECT_EQ(Count(w.BuildXmpMetadata(), ">" + iso + "<"), 5) << c[0];
  }
  kept ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
  tzset();
}

}  // namespace
