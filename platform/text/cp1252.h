#pragma once
// Windows-1252 text. Inside the program every text is a std::string of
// Windows-1252 bytes, one byte per character, as on the platform the
// program was designed for; this codec converts at the edges (the screen,
// UTF-8 source literals, file names shown to the user).

#include <optional>
#include <string>
#include <string_view>

namespace cp1252 {

// The Unicode code point of one Windows-1252 byte. The five unassigned bytes
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value.
char32_t to_unicode(unsigned char byte);

// The Windows-1252 byte of a code point, or nothing when the code page
// cannot hold it.
std::optional<unsigned char> from_unicode(char32_t cp);

// Decodes the UTF-8 sequence at s[i] and moves i past it. Nothing for an
// invalid, overlong or truncated sequence, or a surrogate: i then moves past
// its first byte only.
std::optional<char32_t> next_utf8(std::string_view s, std::size_t& i);

// UTF-8 to Windows-1252. A character the code page cannot hold, or a byte
// sequence that is not valid UTF-8, becomes `replacement`.
std::string from_utf8(std::string_view utf8, char replacement = '?');

// Like from_utf8, but nothing when any character cannot be converted.
std::optional<std::string> from_utf8_strict(std::string_view utf8);

// Windows-1252 to UTF-8.
std::string to_utf8(std::string_view text);

// Upper and lower case of one byte: the ASCII letters, the accented letters
// of the Latin-1 range and the Š, Œ, Ž, Ÿ pairs of the high row; every
// other byte (ß, µ, ƒ among them) is its own case.
unsigned char to_upper(unsigned char byte);
unsigned char to_lower(unsigned char byte);

}  // namespace cp1252

// Source files are UTF-8; Italian literals become Windows-1252 at compile
// time through this literal: u8"perché"_w1252 is the 6-byte text.
namespace cp1252::literals {
std::string operator""_w1252(const char8_t* s, std::size_t n);
}
