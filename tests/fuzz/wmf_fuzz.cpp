// Any bytes as a WMF drawing: the record walk ends promptly (a record of
// size 0 must not stall it), every step it gives is complete, and a fault
// comes with a reason.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "pdf/graphics/wmf_converter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pdf::WmfDrawing d = pdf::ConvertWmfRecords(pdf::ByteSpan(data, size));
  if (d.status != pdf::ReadStatus::kOk && d.reason.empty()) std::abort();
  // Each record of at least 6 bytes gives at most a few steps per point.
  if (d.steps.size() > size + 16) std::abort();
  for (const pdf::WmfStep& s : d.steps)
    if (s.kind == pdf::WmfStepKind::kLine && s.text.empty()) std::abort();
  return 0;
}
