#pragma once
// PDF names as the writer puts them into a file. A name token is "/" followed
// by regular characters; anything else (white space, the delimiters
// ( ) < > [ ] { } / %, the "#" itself and bytes outside 33-126) must be
// written as "#" and two hexadecimal digits, or a reader sees the name end
// there and the rest of the dictionary turns into garbage. Every name the
// writer takes from a caller or from a file (font families, recorded-object
// aliases, pattern, layer, destination and field names) goes through here.

#include <string>
#include <string_view>

namespace pdf {

// The name's characters with every byte that may not stand in a name token
// written as #xx (upper-case hexadecimal); without the leading "/". The null
// byte, which no name may hold, is written as the three characters "#00".
// Names beyond the 126 bytes every reader takes are shortened to 126 (the
// first 110 and a hash of the whole).
std::string EscapeName(std::string_view Name);

// "/" followed by EscapeName(Name): the complete name token.
std::string NameToken(std::string_view Name);

// Whether the byte may stand unescaped inside a name token.
constexpr bool IsRegularNameByte(unsigned char c) {
  if (c < 33 || c > 126) return false;
  switch (c) {
    case '(': case ')': case '<': case '>': case '[': case ']':
    case '{': case '}': case '/': case '%': case '#':
      return false;
    default:
      return true;
  }
}

}  // namespace pdf
