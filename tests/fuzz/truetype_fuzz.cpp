// libFuzzer target for the TrueType reader behind AddFont: any bytes as a font file. Seeds:
// DejaVu subsets made with fontTools, one a symbol font (cmap 3,0 at F000).

#include <string>

#include "pdf/text/truetype.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto check = fuzz::Check;
  const pdf::TrueTypeResult r = pdf::ReadTrueType(pdf::ByteSpan(data, size));
  const pdf::TrueTypeFont& f = r.font;
  if (r.status != pdf::TrueTypeStatus::kOk) return check(f.FontName.empty(), "values with a failure"), 0;
  check(f.FontName.find_first_of(std::string(" \0", 2)) == std::string::npos, "blank or NUL in the name");
  check(f.Ascent >= 0 && f.Descent <= 0 && f.Ascent - f.Descent <= 32767, "line height");
  check(f.XMin <= 0 && f.YMin <= 0 && f.XMax >= 0 && f.YMax >= 0, "box without the origin");

  return 0;
}
