#pragma once
// The tokens of PDF syntax, read from the bytes of an outside file: numbers,
// names, literal and hexadecimal strings, the brackets of arrays and
// dictionaries, and keywords ("obj", "R", "stream", "true", ...). White space
// and comments between tokens are skipped. The lexer never reads outside its
// span; a malformed token (a string without its end, a stray ")") is a kBad
// token, and the end of the span is kEnd, so every loop over tokens ends.

#include <cstddef>
#include <cstdint>
#include <string>

#include "pdf/core/bytes.h"

namespace pdf {

enum class PdfTokenKind : std::uint8_t {
  kEnd,
  kBad,
  kInteger,
  kReal,
  kName,        // text: the name without "/", #xx codes decoded
  kString,      // text: the string's bytes, escapes decoded
  kHexString,   // text: the string's bytes
  kArrayOpen,
  kArrayClose,
  kDictOpen,
  kDictClose,
  kKeyword,     // text: the keyword
};

struct PdfToken {
  PdfTokenKind kind = PdfTokenKind::kEnd;
  std::size_t start = 0;  // offset of the token's first byte
  std::size_t end = 0;    // offset one past its last byte
  std::int64_t integer = 0;
  double real = 0;
  std::string text;

  bool IsKeyword(const char* word) const { return kind == PdfTokenKind::kKeyword && text == word; }
};

// White space of PDF syntax: NUL, TAB, LF, FF, CR and blank.
constexpr bool IsPdfWhitespace(std::uint8_t c) {
  return c == 0 || c == 9 || c == 10 || c == 12 || c == 13 || c == 32;
}
constexpr bool IsPdfDelimiter(std::uint8_t c) {
  return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
         c == '}' || c == '/' || c == '%';
}

class PdfLexer {
 public:
  // Reads data from the given offset on; offsets in tokens count from the
  // start of data.
  explicit PdfLexer(ByteSpan data, std::size_t offset = 0);

  PdfToken Next();
  // Skips white space and comments.
  void SkipWhitespace();
  std::size_t Offset() const { return pos_; }
  void Seek(std::size_t offset) { pos_ = offset < data_.size() ? offset : data_.size(); }
  ByteSpan Data() const { return data_; }

 private:
  void LiteralString(PdfToken& token);
  void HexString(PdfToken& token);
  void Name(PdfToken& token);
  void Regular(PdfToken& token);

  ByteSpan data_;
  std::size_t pos_ = 0;
};

}  // namespace pdf
