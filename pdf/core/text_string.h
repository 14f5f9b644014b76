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

}  // namespace pdf
