// PDF tokens over a byte span. Each token is read in one forward pass over
// its bytes with every index checked against the span, so a file cut
// anywhere ends the token as kBad (or kEnd) instead of reading past it.

#include "pdf/interactive/pdf_lexer.h"

#include <cmath>
#include <limits>

namespace pdf {

namespace {

int HexValue(std::uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsDigit(std::uint8_t c) { return c >= '0' && c <= '9'; }

// Reads a whole run of regular characters as a number when it is one:
// [+-] digits [. digits], [+-] . digits. Integers that do not fit 64 bits
// become reals; a run that is not a number at all is a keyword.
bool ParseNumber(const std::string& run, PdfToken& token) {
  std::size_t i = 0;
  bool negative = false;
  if (i < run.size() && (run[i] == '+' || run[i] == '-')) negative = run[i++] == '-';
  std::size_t digits = 0, fraction_digits = 0;
  bool dot = false, overflow = false;
  std::int64_t value = 0;
  double real = 0, scale = 1;
  for (; i < run.size(); ++i) {
    const auto c = static_cast<std::uint8_t>(run[i]);
    if (c == '.' && !dot) {
      dot = true;
      continue;
    }
    if (!IsDigit(c)) return false;
    const int d = c - '0';
    if (dot) {
      scale /= 10;
      real += d * scale;
      ++fraction_digits;
    } else {
      real = real * 10 + d;
      if (value > (std::numeric_limits<std::int64_t>::max() - d) / 10) overflow = true;
      else value = value * 10 + d;
      ++digits;
    }
  }
  if (digits + fraction_digits == 0) return false;
  if (!dot && !overflow) {
    token.kind = PdfTokenKind::kInteger;
    token.integer = negative ? -value : value;
    token.real = static_cast<double>(token.integer);
  } else {
    token.kind = PdfTokenKind::kReal;
    token.real = negative ? -real : real;
  }
  return true;
}

}  // namespace

PdfLexer::PdfLexer(ByteSpan data, std::size_t offset) : data_(data) { Seek(offset); }

void PdfLexer::SkipWhitespace() {
  while (pos_ < data_.size()) {
    const std::uint8_t c = data_[pos_];
    if (IsPdfWhitespace(c)) {
      ++pos_;
    } else if (c == '%') {
      while (pos_ < data_.size() && data_[pos_] != '\r' && data_[pos_] != '\n') ++pos_;
    } else {
      break;
    }
  }
}

PdfToken PdfLexer::Next() {
  SkipWhitespace();
  PdfToken token;
  token.start = pos_;
  if (pos_ >= data_.size()) {
    token.end = pos_;
    return token;
  }
  const std::uint8_t c = data_[pos_];
  switch (c) {
    case '(':
      LiteralString(token);
      break;
    case '<':
      if (pos_ + 1 < data_.size() && data_[pos_ + 1] == '<') {
        token.kind = PdfTokenKind::kDictOpen;
        pos_ += 2;
      } else {
        HexString(token);
      }
      break;
    case '>':
      if (pos_ + 1 < data_.size() && data_[pos_ + 1] == '>') {
        token.kind = PdfTokenKind::kDictClose;
        pos_ += 2;
      } else {
        token.kind = PdfTokenKind::kBad;
        ++pos_;
      }
      break;
    case '[':
      token.kind = PdfTokenKind::kArrayOpen;
      ++pos_;
      break;
    case ']':
      token.kind = PdfTokenKind::kArrayClose;
      ++pos_;
      break;
    case '{':
    case '}':
      // Braces belong to PostScript calculator functions, inside streams.
      token.kind = PdfTokenKind::kKeyword;
      token.text.assign(1, static_cast<char>(c));
      ++pos_;
      break;
    case ')':
      token.kind = PdfTokenKind::kBad;
      ++pos_;
      break;
    case '/':
      Name(token);
      break;
    default:
      Regular(token);
      break;
  }
  token.end = pos_;
  return token;
}

void PdfLexer::LiteralString(PdfToken& token) {
  // Balanced parentheses inside a literal string belong to it: the string
  // ends at the ")" that brings the nesting back to zero.
  ++pos_;
  int depth = 1;
  std::string& out = token.text;
  while (pos_ < data_.size()) {
    std::uint8_t c = data_[pos_++];
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (--depth == 0) {
        token.kind = PdfTokenKind::kString;
        return;
      }
    } else if (c == '\\') {
      if (pos_ >= data_.size()) break;
      c = data_[pos_++];
      switch (c) {
        case 'n': out += '\n'; continue;
        case 'r': out += '\r'; continue;
        case 't': out += '\t'; continue;
        case 'b': out += '\b'; continue;
        case 'f': out += '\f'; continue;
        case '\r':  // a line continuation: the escaped line end is dropped
          if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
          continue;
        case '\n':
          continue;
        default:
          break;
      }
      if (c >= '0' && c <= '7') {
        int v = c - '0';
        for (int k = 0; k < 2 && pos_ < data_.size() && data_[pos_] >= '0' && data_[pos_] <= '7'; ++k)
          v = v * 8 + (data_[pos_++] - '0');
        out += static_cast<char>(v & 0xFF);
        continue;
      }
      // "\(", "\)", "\\" and any other escaped character stand for themselves.
      out += static_cast<char>(c);
      continue;
    } else if (c == '\r') {
      // An unescaped line end reads as one LF, whatever its form.
      if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
      c = '\n';
    }
    out += static_cast<char>(c);
  }
  token.kind = PdfTokenKind::kBad;  // the file ends inside the string
}

void PdfLexer::HexString(PdfToken& token) {
  ++pos_;
  int high = -1;
  while (pos_ < data_.size()) {
    const std::uint8_t c = data_[pos_++];
    if (c == '>') {
      // An odd last digit reads as if a 0 followed it.
      if (high >= 0) token.text += static_cast<char>(high << 4);
      token.kind = PdfTokenKind::kHexString;
      return;
    }
    if (IsPdfWhitespace(c)) continue;
    const int v = HexValue(c);
    if (v < 0) break;
    if (high < 0) {
      high = v;
    } else {
      token.text += static_cast<char>((high << 4) | v);
      high = -1;
    }
  }
  token.kind = PdfTokenKind::kBad;
}

void PdfLexer::Name(PdfToken& token) {
  ++pos_;
  token.kind = PdfTokenKind::kName;
  while (pos_ < data_.size()) {
    const std::uint8_t c = data_[pos_];
    if (IsPdfWhitespace(c) || IsPdfDelimiter(c)) break;
    if (c == '#' && pos_ + 2 < data_.size() && HexValue(data_[pos_ + 1]) >= 0 &&
        HexValue(data_[pos_ + 2]) >= 0) {
      token.text += static_cast<char>(HexValue(data_[pos_ + 1]) * 16 + HexValue(data_[pos_ + 2]));
      pos_ += 3;
      continue;
    }
    token.text += static_cast<char>(c);
    ++pos_;
  }
}

void PdfLexer::Regular(PdfToken& token) {
  const std::size_t begin = pos_;
  while (pos_ < data_.size() && !IsPdfWhitespace(data_[pos_]) && !IsPdfDelimiter(data_[pos_])) ++pos_;
  std::string run(reinterpret_cast<const char*>(data_.data() + begin), pos_ - begin);
  if (!ParseNumber(run, token)) {
    token.kind = PdfTokenKind::kKeyword;
    token.text = std::move(run);
  }
}

}  // namespace pdf
