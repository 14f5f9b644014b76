// Any bytes as a script of PdfWriter calls (writer_script.h): names with
// delimiters, NaN, huge and negative numbers, calls out of order. Nothing
// crashes, no member runs away, and an open document always ends.
// Seeds: tests/fuzz/corpus/writer_calls_fuzz.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "tests/fuzz/writer_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/sevrina_writer_calls_" + std::to_string(getpid()) + ".pdf";
  if (writer_script::RunScript(std::string(reinterpret_cast<const char*>(data), size), path) < 0) std::abort();
  return 0;
}
