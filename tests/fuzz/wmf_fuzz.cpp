// Any bytes as a WMF drawing: ends promptly (size-0 records too), steps
// bounded; and the drawing as the writer places it on a page after an open
// path holds up to placed_drawing.h: nothing when it paints nothing, else
// the caller's path ended first and its own state kept to itself.
#include <cstdint>
#include <string>
#include <vector>

#include "pdf/graphics/wmf_converter.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/placed_drawing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pdf::WmfDrawing d = pdf::ConvertWmfRecords(pdf::ByteSpan(data, size));
  if ((d.status != pdf::ReadStatus::kOk && d.reason.empty()) || d.steps.size() > size) __builtin_trap();

  std::vector<std::string> lines;
  for (const pdf::WmfStep& step : d.steps) {
    if (step.kind == pdf::WmfStepKind::kLine) lines.push_back(step.text);
  }
  static const std::string path = fuzz::TempPath("wmf", ".wmf");
  fuzz::Check(fuzz::WriteFile(path, data, size), "the drawing is written to its file");
  fuzz::PlacedDrawing writer;
  fuzz::Fault(writer.Fault(path, lines));
  return 0;
}
