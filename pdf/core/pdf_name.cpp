#include "pdf/core/pdf_name.h"

namespace pdf {

std::string EscapeName(std::string_view Name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(Name.size());
  for (const char ch : Name) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsRegularNameByte(c)) {
      out += ch;
    } else if (c == 0) {
      out += "#2300";  // no name may hold the null byte, not even as #00: it holds "#00"
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
