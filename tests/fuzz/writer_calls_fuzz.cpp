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

#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/pdf_judge.h"
#include "tests/fuzz/writer_script.h"

// The points all arcs and polygons of one input may draw (writer_script.h):
// each point costs the writer and then the judge some 10 microseconds, so
// a fifth of the scripts' own budget keeps every input to a few tenths of a
// second, and still draws one polygon of the most sides there are.
constexpr double kMostPoints = 4e4;

// The whole file in one read: taking it a character at a time through a
// stream iterator cost up to a third of the target's time.
static pdf::Bytes ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  pdf::Bytes file;
  const std::streamoff size = in.tellg();
  if (size <= 0) return file;
  file.resize(static_cast<std::size_t>(size));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(file.data()), size);
  file.resize(static_cast<std::size_t>(in.gcount()));
  return file;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = fuzz::TempPath("writer-calls", ".pdf");
  const int ended = writer_script::RunScript(std::string(reinterpret_cast<const char*>(data), size), path,
                                             kMostPoints);
  fuzz::Check(ended >= 0, "an open document ends");
  if (ended == 0) return 0;
  fuzz::Fault(pdf_judge::JudgeFile(ReadWhole(path)));
  return 0;
}
