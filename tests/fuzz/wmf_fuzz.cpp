// Any bytes as a WMF drawing: ends promptly (size-0 records too), steps bounded.
#include <cstdint>

#include "pdf/graphics/wmf_converter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pdf::WmfDrawing d = pdf::ConvertWmfRecords(pdf::ByteSpan(data, size));
  if ((d.status != pdf::ReadStatus::kOk && d.reason.empty()) || d.steps.size() > size) __builtin_trap();
  return 0;
}
