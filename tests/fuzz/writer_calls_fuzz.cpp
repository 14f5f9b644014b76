// Any bytes as a script of PdfWriter calls (writer_script.h): names with
// delimiters, NaN, huge and negative numbers, calls out of order, pictures
// and drawings, PDF files to import and fonts of any bytes. Nothing crashes,
// no member runs away, an open document always ends, and the file it ends
// with holds up to our own reader's judgement (pdf_judge.h): its objects
// parse, its content streams are well formed and name only resources they
// have.
// Seeds: tests/fuzz/corpus/writer_calls_fuzz.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/pdf_judge.h"
#include "tests/fuzz/writer_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = fuzz::TempPath("writer-calls", ".pdf");
  const int ended = writer_script::RunScript(std::string(reinterpret_cast<const char*>(data), size), path);
  fuzz::Check(ended >= 0, "an open document ends");
  if (ended == 0) return 0;
  std::ifstream in(path, std::ios::binary);
  const pdf::Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  fuzz::Fault(pdf_judge::JudgeFile(file));
  return 0;
}
