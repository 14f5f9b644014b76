#include "pdf/core/text_string.h"

#include "platform/text/cp1252.h"

namespace pdf {

namespace {

// PDFDocEncoding's codes whose characters differ from Latin-1: 0x18-0x1F
// and 0x80-0xA0. 0 marks a code without a character.
constexpr char16_t kLow[8] = {0x02D8, 0x02C7, 0x02C6, 0x02D9, 0x02DD, 0x02DB, 0x02DA, 0x02DC};
constexpr char16_t kHigh[33] = {
    0x2022, 0x2020, 0x2021, 0x2026, 0x2014, 0x2013, 0x0192, 0x2044, 0x2039, 0x203A, 0x2212,
    0x2030, 0x201E, 0x201C, 0x201D, 0x2018, 0x2019, 0x201A, 0x2122, 0xFB01, 0xFB02, 0x0141,
    0x0152, 0x0160, 0x0178, 0x017D, 0x0131, 0x0142, 0x0153, 0x0161, 0x017E, 0,      0x20AC};

// The PDFDocEncoding code of a character, or -1 when it has none.
int PdfDocCode(char32_t c) {
  if (c == '\t' || c == '\n' || c == '\r') return static_cast<int>(c);
  if ((c >= 0x20 && c <= 0x7E) || (c >= 0xA1 && c <= 0xFF && c != 0xAD)) return static_cast<int>(c);
  for (int i = 0; i < 8; ++i)
    if (kLow[i] == c) return 0x18 + i;
  for (int i = 0; i < 33; ++i)
    if (kHigh[i] != 0 && kHigh[i] == c) return 0x80 + i;
  return -1;
}

// Whether text-string bytes begin as a byte-order mark does: readers would
// take the rest for UTF-16 (FE FF, and FF FE for some) or UTF-8 (EF BB BF),
// so "þÿabcd" would read as two CJK characters.
bool LooksLikeByteOrderMark(std::string_view bytes) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (bytes.size() >= 2 && ((at(0) == 0xFE && at(1) == 0xFF) || (at(0) == 0xFF && at(1) == 0xFE))) return true;
  return bytes.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF;
}

std::string Utf16Bytes(std::string_view Text) {
  // Every Windows-1252 character lies in the Basic Multilingual Plane: one
  // UTF-16 unit each.
  std::string utf16 = "\xFE\xFF";
  utf16.reserve(2 + 2 * Text.size());
  for (const char c : Text) {
    const char32_t u = cp1252::to_unicode(static_cast<unsigned char>(c));
    utf16 += static_cast<char>(u >> 8);
    utf16 += static_cast<char>(u & 0xFF);
  }
  return utf16;
}

}  // namespace

std::string PdfDocEncodingBytes(std::string_view Text) {
  std::string out(Text);
  for (char& ch : out) {
    const int code = PdfDocCode(cp1252::to_unicode(static_cast<unsigned char>(ch)));
    if (code >= 0) ch = static_cast<char>(code);
  }
  return out;
}

char32_t PdfDocEncodingChar(unsigned char Code) {
  if (Code == '\t' || Code == '\n' || Code == '\r') return Code;
  if (Code >= 0x18 && Code <= 0x1F) return kLow[Code - 0x18];
  if (Code >= 0x80 && Code <= 0xA0) return kHigh[Code - 0x80];
  if ((Code >= 0x20 && Code <= 0x7E) || (Code >= 0xA1 && Code != 0xAD)) return Code;
  return 0;
}

std::string PdfTextBytes(std::string_view Text) {
  std::string doc;
  doc.reserve(Text.size());
  for (const char ch : Text) {
    const int code = PdfDocCode(cp1252::to_unicode(static_cast<unsigned char>(ch)));
    if (code < 0) return Utf16Bytes(Text);
    doc += static_cast<char>(code);
  }
  return LooksLikeByteOrderMark(doc) ? Utf16Bytes(Text) : doc;
}

}  // namespace pdf
