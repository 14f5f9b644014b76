// libFuzzer target for ImportPage: any bytes as the source PDF file. Its
// first pages are imported into a new document; a failure must be a
// PdfError of a number the writer's header gives ImportPage (321 a page
// not read, 5 a placement whose scale is written as 0, 6 a number out of
// range) thrown before anything was written, and the document written
// must always read back through our own reader as one sound page.

#include "pdf/PdfWriter.h"
#include "tests/fuzz/fuzz_check.h"

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string source = fuzz::TempPath("pdf-import-fuzz", "-in.pdf");
  static const std::string output = fuzz::TempPath("pdf-import-fuzz", "-out.pdf");
  if (!fuzz::WriteFile(source, data, size)) return 0;
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
        Check(e.Number() == 321 || e.Number() == 5 || e.Number() == 6, "unexpected failure number");
      }
    }
    w.EndDoc();
  }
  pdf::PdfWriter reader;
  Check(reader.GetInfo(output) == 1 && reader.ErrNumber() == 0, "the written document does not read back");
  return 0;
}
