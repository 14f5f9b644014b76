// libFuzzer target for GetInfo: any bytes as a PDF file. The reader must
// end every input promptly with either a result or a recorded failure of a
// known number, and must answer a second call for a kept file the same way
// without reading it again.

#include "pdf/PdfWriter.h"
#include "tests/fuzz/fuzz_check.h"

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = fuzz::TempPath("pdf-info-fuzz", ".pdf");
  if (!fuzz::WriteFile(path, data, size)) return 0;
  pdf::PdfWriter w;
  std::string title, subject, author;
  bool encrypted = true;
  const std::int32_t pages = w.GetInfo(path, &title, &subject, &author, &encrypted);
  Check(pages >= 0 && pages <= 32767, "page count out of range");
  const std::int32_t error = w.ErrNumber();
  Check(error == 0 || error == 321 || error == 6, "unexpected failure number");
  if (error == 0) {
    Check(!encrypted, "an accepted file reported as encrypted");
    std::string again;
    Check(w.GetInfo(path, &again) == pages && again == title, "a kept source answers differently");
  }
  return 0;
}
