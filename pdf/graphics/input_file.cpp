#include "pdf/graphics/input_file.h"

#include <cstdio>
#include <memory>

#include "platform/system/system.h"

namespace pdf {

std::int32_t ReadInputFile(const std::string& Name, Bytes& Out, std::size_t MaxSize) {
  Out.clear();
  const auto path = sys::path_from_text(Name);
  if (!sys::file_exists(path)) return 53;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return 57;
  // Read in blocks rather than trusting a size asked beforehand: the file
  // may change, and a special file may report none.
  std::uint8_t block[1 << 16];
  for (;;) {
    const std::size_t got = std::fread(block, 1, sizeof block, file.get());
    if (got > 0) {
      if (Out.size() + got > MaxSize) {
        Out.clear();
        return 7;
      }
      Out.insert(Out.end(), block, block + got);
    }
    if (got < sizeof block) break;
  }
  if (std::ferror(file.get())) {
    Out.clear();
    return 57;
  }
  return 0;
}

}  // namespace pdf
