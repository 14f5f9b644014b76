#pragma once
// Upper case of a Windows-1252 text, as font keys compare names.

#include <string>

namespace pdf::text_case {

inline char UpperChar(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if (u >= 'a' && u <= 'z') return static_cast<char>(u - 32);
  // Latin-1 letters: à..þ except ÷ map to À..Þ except ×.
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<char>(u - 32);
  switch (u) {
    case 0x9A: return static_cast<char>(0x8A);  // š Š
    case 0x9C: return static_cast<char>(0x8C);  // œ Œ
    case 0x9E: return static_cast<char>(0x8E);  // ž Ž
    case 0xFF: return static_cast<char>(0x9F);  // ÿ Ÿ
    default: return c;
  }
}

inline std::string Upper(std::string s) {
  for (char& c : s) c = UpperChar(c);
  return s;
}

}  // namespace pdf::text_case
