#pragma once
// The symbol patterns of the six barcode symbologies the writer draws: from
// the data to the sequence of bars and spaces, with the check characters.
// Pure functions over text; the drawing lives in PdfWriter_barcodes.cpp.

#include <string>
#include <string_view>

namespace pdf::barcode {

// Code 128 in code sets B and C: start character, symbols, check character
// and stop pattern as one string of modules ('1' bar, '0' space). Empty when
// the data cannot be encoded (empty, or a character outside 32 to 126).
std::string Code128Modules(std::string_view Code);

// Code 39: the characters of the symbol from start to stop ("*", the data in
// full-ASCII form, the modulo-43 check character when asked, "*"). Empty
// when the data holds a character above 127 or a "*" of its own.
std::string Code39Characters(std::string_view Code, bool AddCheck);

// The nine elements of one Code 39 character: 'n'/'w' narrow or wide,
// bars and spaces alternately, beginning with a bar ("" for none).
std::string_view Code39Elements(char c);

// Interleaved 2 of 5: the element string ('n' narrow, 'w' wide; bars in the
// odd places) of start, digit pairs and stop. A character that is not a
// digit counts as 0; a modulo-10 check digit is appended when asked; an odd
// count of digits gets a leading 0.
std::string Interleaved2of5Elements(std::string_view Code, bool AddCheck);

// EAN-13 and EAN-8: the digits drawn (the check digit computed and put
// last; a missing or non-digit character counts as 0) and the symbol's
// modules between the quiet zones (95 for EAN-13, 67 for EAN-8), guards
// included.
struct EanSymbol {
  std::string Digits;
  std::string Modules;
};
EanSymbol Ean13(std::string_view Code);
EanSymbol Ean8(std::string_view Code);

// POSTNET: '1' full bar, '0' half bar: frame bar, five bars per digit
// (positions 1 to 5 of Code, and 7 to 10 when Code has 10 characters), five
// for the check digit, frame bar.
std::string PostnetBars(std::string_view Code);

}  // namespace pdf::barcode
