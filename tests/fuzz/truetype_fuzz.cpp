// libFuzzer target for the TrueType reader behind AddFont: any bytes as a
// font file. A font the reader accepts must give values a font record can
// hold, and AddFont must load it from a file without a recorded error.
// Seeds (truetype_corpus/): subsets of DejaVu fonts made with fontTools'
// subsetter, one turned into a symbol font (cmap 3,0 at F000).

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "pdf/PdfWriter.h"
#include "pdf/text/truetype.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto check = [](bool ok, const char* what) {
    if (!ok) std::fprintf(stderr, "truetype_fuzz: %s\n", what), std::abort();
  };
  const pdf::TrueTypeResult r = pdf::ReadTrueType(pdf::ByteSpan(data, size));
  const pdf::TrueTypeFont& f = r.font;
  if (r.status != pdf::TrueTypeStatus::kOk) return check(f.FontName.empty(), "values with a failure"), 0;
  check(f.FontName.find_first_of(std::string(" \0", 2)) == std::string::npos, "blank or NUL in the name");
  check(f.Ascent >= 0 && f.Descent <= 0 && f.Ascent - f.Descent <= 32767, "line height");
  check(f.XMin <= 0 && f.YMin <= 0 && f.XMax >= 0 && f.YMax >= 0, "box without the origin");
  check(std::isfinite(f.ItalicAngle), "italic angle");

  static const std::string stem = std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                                  "/truetype_fuzz_" + std::to_string(::getpid());
  if (std::FILE* out = std::fopen((stem + ".ttf").c_str(), "wb")) {
    std::fwrite(data, 1, size, out);
    std::fclose(out);
  }
  pdf::PdfWriter w;
  w.BeginDoc(stem + ".pdf");
  check(w.AddFont(stem + ".ttf") == f.FontName && w.ErrNumber() == 0, "AddFont refuses an accepted font");
  w.EndDoc();
  std::remove((stem + ".ttf").c_str());
  std::remove((stem + ".pdf").c_str());
  return 0;
}
