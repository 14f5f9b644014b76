// libFuzzer target for GetInfo: any bytes as a PDF file. The reader must
// end every input promptly with either a result or a recorded failure of a
// known number, and must answer a second call for a kept file the same way
// without reading it again.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "pdf/PdfWriter.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "pdf_info_fuzz: %s\n", what);
    std::abort();
  }
}

const std::string& Path() {
  static const std::string path = "/dev/shm/sevrina-pdf-info-fuzz-" + std::to_string(getpid()) + ".pdf";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(Path().c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  pdf::PdfWriter w;
  std::string title, subject, author;
  bool encrypted = true;
  const std::int32_t pages = w.GetInfo(Path(), &title, &subject, &author, &encrypted);
  Check(pages >= 0 && pages <= 32767, "page count out of range");
  const std::int32_t error = w.ErrNumber();
  Check(error == 0 || error == 321 || error == 6, "unexpected failure number");
  if (error == 0) {
    Check(!encrypted, "an accepted file reported as encrypted");
    std::string again;
    Check(w.GetInfo(Path(), &again) == pages && again == title, "a kept source answers differently");
  }
  return 0;
}
