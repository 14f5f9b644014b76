// Any bytes as a script of PdfWriter calls (see writer_script.h): names with
// delimiters, NaN, huge and negative numbers, calls out of order. Whatever
// the calls, nothing crashes, no member runs away, and ending the document
// succeeds and leaves a complete file. Seeds: tests/fuzz/writer_scripts.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/fuzz/writer_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/sevrina_writer_calls_" + std::to_string(getpid()) + ".pdf";
  const std::string_view script(reinterpret_cast<const char*>(data), size);
  if (!writer_script::RunScript(script, path)) {
    std::fprintf(stderr, "writer_calls_fuzz: an open document failed to end\n");
    std::abort();
  }
  // A finished file ends with its end-of-file marker.
  std::FILE* f = std::fopen(path.c_str(), "rb");
  char tail[6] = {};
  const bool ok = f != nullptr && std::fseek(f, -6, SEEK_END) == 0 && std::fread(tail, 1, 6, f) == 6 &&
                  std::string(tail, 6) == "%%EOF\n";
  if (f != nullptr) std::fclose(f);
  if (!ok) {
    std::fprintf(stderr, "writer_calls_fuzz: the file does not end with %%%%EOF\n");
    std::abort();
  }
  return 0;
}
