// Any bytes as an EPS or AI drawing: no copied line may open a string,
// procedure, comment or bracket that would swallow what follows, nor hold
// a number longer than readers take; the copied lines together hold up
// to the reader's judgement of a content stream (operands in range, a
// current point for every path operator that needs one); and the drawing
// as the writer places it on a page after an open path holds up to
// placed_drawing.h: nothing when it paints nothing, else the caller's path
// ended first and its own state kept to itself.
#include <cstdint>
#include <cstdio>

#include "pdf/PdfWriter.h"
#include "pdf/graphics/eps_converter.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/pdf_judge.h"
#include "tests/fuzz/placed_drawing.h"

using fuzz::Fault;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pdf::EpsDrawing d = pdf::ConvertEpsLines(pdf::ByteSpan(data, size));
  if (d.box_at > d.lines.size()) __builtin_trap();
  for (const std::string& line : d.lines) {
    if (line.find_first_of("()<>{}%/\r\n") != std::string::npos) __builtin_trap();
    if ((line.find('[') == std::string::npos) != (line.find(']') == std::string::npos)) __builtin_trap();
    // Numbers no longer than readers take as one token.
    std::size_t run = 0;
    for (const char c : line) {
      run = c == ' ' || c == '\t' || c == '[' || c == ']' ? 0 : run + 1;
      if (run > 32) __builtin_trap();
    }
  }
  std::string content;
  for (const std::string& line : d.lines) content += line + "\n";
  Fault(pdf_judge::JudgeContent(content));

  static const std::string path = fuzz::TempPath("eps", ".eps");
  fuzz::Check(fuzz::WriteFile(path, data, size), "the drawing is written to its file");
  fuzz::PlacedDrawing writer;
  Fault(writer.Fault(path, d.lines));
  return 0;
}
