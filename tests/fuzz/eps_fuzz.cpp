// Any bytes as an EPS or AI drawing: the conversion ends promptly, places
// the drawing no later than its last line, and copies no line with a
// bracket left open (it would swallow the content after it).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "pdf/graphics/eps_converter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pdf::EpsDrawing d = pdf::ConvertEpsLines(pdf::ByteSpan(data, size));
  if (d.box_at > d.lines.size()) std::abort();
  for (const std::string& line : d.lines) {
    int depth = 0;
    for (const char c : line) {
      if (c == '[') ++depth;
      if (c == ']') --depth;
      if (c == '(' || c == ')' || c == '<' || c == '{' || c == '%' || c == '/' || c == '\r' || c == '\n') {
        std::fprintf(stderr, "copied line with a delimiter: %s\n", line.c_str());
        std::abort();
      }
    }
    if (depth != 0) std::abort();
  }
  return 0;
}
