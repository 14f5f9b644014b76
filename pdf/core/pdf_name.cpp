#include "pdf/core/pdf_name.h"

#include <cstdint>

namespace pdf {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// PDF limits names to 127 bytes and some readers take one fewer. A longer
// name keeps its first 110 bytes and ends in 16 hexadecimal digits of a hash
// of the whole, so every reference to it still agrees and two long names
// stay apart.
constexpr std::size_t kLongestName = 126;
constexpr std::size_t kKeptOfLongName = kLongestName - 16;

std::string ShortenedName(std::string_view Name) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const char c : Name) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  std::string out(Name.substr(0, kKeptOfLongName));
  for (int shift = 60; shift >= 0; shift -= 4) out += kHex[(hash >> shift) & 15];
  return out;
}

}  // namespace

std::string EscapeName(std::string_view Name) {
  // The bytes a reader will see: no name may hold the null byte, not even as
  // #00, so it stands as the three characters "#00".
  std::string name;
  name.reserve(Name.size());
  for (const char ch : Name) {
    if (ch == '\0') name += "#00";
    else name += ch;
  }
  if (name.size() > kLongestName) name = ShortenedName(name);
  std::string out;
  out.reserve(name.size());
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsRegularNameByte(c)) {
      out += ch;
    } else {
      out += '#';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string NameToken(std::string_view Name) {
  std::string out = "/";
  out += EscapeName(Name);
  return out;
}

}  // namespace pdf
