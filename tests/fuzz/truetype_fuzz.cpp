// libFuzzer target for the TrueType reader behind AddFont: any bytes as a
// font file. Every input must end with a status; a font the reader accepts
// must give values a font record and descriptor can hold, and AddFont must
// load it from a file into a document without a recorded error.
// Seeds (truetype_corpus/): subsets of DejaVu fonts made with fontTools'
// subsetter, one of them turned into a symbol font (cmap 3,0 at F000).

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "pdf/PdfWriter.h"
#include "pdf/text/truetype.h"

namespace {

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "truetype_fuzz: %s\n", what);
  std::abort();
}

// A folder in memory when the machine has one: AddFont reads a real file.
std::string Scratch(const char* name) {
  static const std::string folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "/tmp/";
  return folder + "truetype_fuzz_" + std::to_string(::getpid()) + "_" + name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pdf::TrueTypeResult r = pdf::ReadTrueType(pdf::ByteSpan(data, size));
  const pdf::TrueTypeFont& f = r.font;
  if (r.status != pdf::TrueTypeStatus::kOk) {
    Check(f.FontName.empty() && f.Widths[65] == 0, "values returned with a failure");
    return 0;
  }
  Check(!f.FontName.empty() && f.FontName.find_first_of(std::string(" \0", 2)) == std::string::npos,
        "font name empty or holding a blank or NUL");
  Check(f.Ascent >= 0 && f.Descent <= 0 && f.Ascent - f.Descent <= 32767, "line height");
  Check(f.XMin <= 0 && f.YMin <= 0 && f.XMax >= 0 && f.YMax >= 0, "box without the origin");
  Check(std::isfinite(f.ItalicAngle), "italic angle");

  const std::string font = Scratch("font.ttf");
  const std::string pdf = Scratch("doc.pdf");
  if (std::FILE* out = std::fopen(font.c_str(), "wb")) {
    std::fwrite(data, 1, size, out);
    std::fclose(out);
  }
  {
    pdf::PdfWriter w;
    w.BeginDoc(pdf);
    Check(w.AddFont(font) == f.FontName, "AddFont returns another alias");
    Check(w.ErrNumber() == 0, "AddFont records an error for a font the reader accepts");
    w.EndDoc();
  }
  std::remove(font.c_str());
  std::remove(pdf.c_str());
  return 0;
}
