#pragma once
// Our deflate encoder: a zlib stream (header "78 5E", blocks, Adler-32) whose
// bytes are fixed by the match finder's and the block chooser's rules.

#include <cstdint>

#include "pdf/core/bytes.h"

namespace pdf {

// `quality` 0..3 (values outside are clamped) picks the effort.
Bytes DeflateEncode(ByteSpan data, int quality);

// The Adler-32 checksum that closes a zlib stream.
std::uint32_t Adler32(ByteSpan data);

}  // namespace pdf
