#pragma once
// Text strings outside content streams (document information, outline
// captions, layer names, form fields and their options, annotations, page
// label prefixes, JavaScript) are read as PDFDocEncoding or, after a
// byte-order mark, as UTF-16BE; never as the Windows-1252 bytes the writer
// holds its texts in. The two agree on ASCII and most of Latin-1 but not on
// 128-160 ("€" would show as "•", curly quotes as ligatures).

#include <string>
#include <string_view>

namespace pdf {

// The bytes of a text string for Text (Windows-1252): PDFDocEncoding when
// every character has a code there and the bytes do not begin as a
// byte-order mark would, else FE FF and UTF-16BE. Not yet escaped nor
// encrypted.
std::string PdfTextBytes(std::string_view Text);

// Text (Windows-1252) in PDFDocEncoding alone, one byte per character, as
// passwords are read: a character without a code there (a control
// character, the non-breaking space, the soft hyphen, the five codes
// Windows-1252 leaves unassigned) keeps its byte.
std::string PdfDocEncodingBytes(std::string_view Text);

// The Unicode character of a PDFDocEncoding code, or 0 for a code without
// one (the controls but tab, line feed and carriage return among them).
char32_t PdfDocEncodingChar(unsigned char Code);

}  // namespace pdf
