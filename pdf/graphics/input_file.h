#pragma once
// Reading an outside file that a caller names (an image or a drawing) whole
// into memory, so that its reader can walk it as a byte span.

#include <cstddef>
#include <cstdint>
#include <string>

#include "pdf/core/bytes.h"

namespace pdf {

// Reads the file named by Name (Windows-1252 text) into Out. Returns 0, or
// the failure's number: 53 when no such file exists, 57 when it cannot be
// read, 7 when it is larger than MaxSize.
std::int32_t ReadInputFile(const std::string& Name, Bytes& Out,
                           std::size_t MaxSize = std::size_t{1} << 30);

}  // namespace pdf
