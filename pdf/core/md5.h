#pragma once
// MD5 message digest (RFC 1321), used by the standard security handler.

#include <array>
#include <cstdint>

#include "pdf/core/bytes.h"

namespace pdf {

using Md5Digest = std::array<std::uint8_t, 16>;

Md5Digest Md5(ByteSpan data);

}  // namespace pdf
