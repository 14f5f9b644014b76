// Any bytes as a JPEG file: ends promptly; an accepted one keeps its own bytes
// and has a scan.
#include <cstdint>
#include <string_view>

#include "pdf/graphics/jpeg_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pdf::RasterImage i = pdf::ReadJpeg(pdf::ByteSpan(data, size));
  if (i.ok() && (i.width <= 0 || i.color_space.empty() || i.data.size() > size || i.data[0] != 0xFF)) __builtin_trap();
  if (i.ok() && std::string_view(reinterpret_cast<const char*>(i.data.data()), i.data.size()).find("\xFF\xDA") == std::string_view::npos)
    __builtin_trap();  // no picture without a scan
  return 0;
}
