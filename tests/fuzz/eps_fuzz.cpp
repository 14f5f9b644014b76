// Any bytes as an EPS or AI drawing: no copied line may open a string,
// procedure, comment or bracket that would swallow what follows, nor hold
// a number longer than readers take; the copied lines together hold up
// to the reader's judgement of a content stream (operands in range, a
// current point for every path operator that needs one); and the drawing
// as the writer places it on a page keeps its state to itself: everything
// it writes stands inside one "q" ... "Q" and leaves no path open.
#include <cstdint>
#include <cstdio>

#include "pdf/PdfWriter.h"
#include "pdf/graphics/eps_converter.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/pdf_judge.h"

namespace {

void Fault(const std::string& fault) {
  if (fault.empty()) return;
  std::fprintf(stderr, "%s\n", fault.c_str());
  __builtin_trap();
}

// A writer whose page content the target reads: what one drawing added.
class Placed : public pdf::PdfWriter {
 public:
  std::string Draw(const std::string& path) {
    BeginDoc(fuzz::TempPath("eps-page", ".pdf"));
    BeginPage();
    const std::size_t before = BufferText(Content.PageContent).size();
    DrawImage(path, 10, 10, 100, 0);
    std::string added = BufferText(Content.PageContent).substr(before);
    Abort();
    return added;
  }
};

}  // namespace

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
  Placed writer;
  const std::string placed = writer.Draw(path);
  Fault(pdf_judge::JudgeContent(placed));
  Fault(pdf_judge::JudgeKeptState(placed));
  return 0;
}
