// libFuzzer target for ImportPage: any bytes as the source PDF file. Its
// first pages are imported into a new document; a failure must be a
// PdfError thrown before anything was written, and the document written
// must always read back through our own reader as one sound page.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "pdf/PdfWriter.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "pdf_import_fuzz: %s\n", what);
    std::abort();
  }
}

std::string TempName(const char* stem) {
  return "/dev/shm/sevrina-pdf-import-fuzz-" + std::to_string(getpid()) + stem;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string source = TempName("-in.pdf");
  static const std::string output = TempName("-out.pdf");
  std::FILE* f = std::fopen(source.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  {
    pdf::PdfWriter w;
    const std::int32_t pages = w.GetInfo(source);
    w.BeginDoc(output);
    w.BeginPage();
    for (std::int32_t p = 1; p <= pages && p <= 3; ++p) {
      try {
        w.ImportPage(source, p, 1, 1, 0, 0);
        w.ImportPage(source, p, 5, 5, 10, 0);
      } catch (const pdf::PdfError& e) {
        Check(e.Number() == 321 || e.Number() == 6, "unexpected failure number");
      }
    }
    w.EndDoc();
  }
  pdf::PdfWriter reader;
  Check(reader.GetInfo(output) == 1 && reader.ErrNumber() == 0, "the written document does not read back");
  return 0;
}
