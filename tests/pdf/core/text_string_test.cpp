// The bytes of a text string: PDFDocEncoding where it holds every character
// and the text does not begin as a byte-order mark would, else UTF-16BE
// after FE FF.

#include <gtest/gtest.h>

#include "pdf/core/text_string.h"

namespace {

TEST(CoreTextString, PdfDocEncodingOrUtf16) {
  const struct {
    const char* text;  // Windows-1252
    std::string bytes;
  } cases[] = {
      {"Modulo 2026", "Modulo 2026"},
      // Euro, en dash, curly quotes, ellipsis: other codes in PDFDocEncoding.
      {"\x80 \x96 \x93x\x94 \x85", "\xA0 \x85 \x8Dx\x8E \x83"},
      {"perch\xE9 \xFE\xFF", "perch\xE9 \xFE\xFF"},  // thorn and y-diaeresis later on: Latin-1 codes
      // A text beginning as a byte-order mark would: UTF-16, else readers take
      // "\xFE\xFF" + "abcd" for two CJK characters.
      {"\xFE\xFF" "ab", std::string("\xFE\xFF\x00\xFE\x00\xFF\x00\x61\x00\x62", 10)},
      {"\xFF\xFE", std::string("\xFE\xFF\x00\xFF\x00\xFE", 6)},
      {"\xEF\xBB\xBFx", std::string("\xFE\xFF\x00\xEF\x00\xBB\x00\xBF\x00x", 10)},
      {"\xEF\xBB", "\xEF\xBB"},
      // No PDFDocEncoding code (soft hyphen, an unassigned byte): UTF-16.
      {"a\xAD", std::string("\xFE\xFF\x00\x61\x00\xAD", 6)},
      {"\x81", std::string("\xFE\xFF\x00\x81", 4)},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(pdf::PdfTextBytes(c.text), c.bytes) << c.text;
}

}  // namespace
