#pragma once
// Byte data as the writer's encoders, digests and ciphers pass it around.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pdf {

using Bytes = std::vector<std::uint8_t>;
using ByteSpan = std::span<const std::uint8_t>;

inline ByteSpan as_bytes(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}
inline std::string to_string(ByteSpan b) {
  return std::string(reinterpret_cast<const char*>(b.data()), b.size());
}

}  // namespace pdf
