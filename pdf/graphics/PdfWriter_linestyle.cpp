// Line width, line caps and joins, miter limit, dash patterns and constant
// opacity. Each member writes its operator into the current content at once;
// only the line width is also remembered, for the table cells and the style
// stack.

#include "pdf/PdfWriter.h"

#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <system_error>
#include <string>
#include <vector>

namespace pdf {

namespace {

// Dash lengths of the named patterns, in user units.
constexpr float kDashLong = 1.0f / 10;
constexpr float kDashShort = 1.0f / 20;

std::string TrimBlanks(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

// The leading decimal number of a text, read the classic way: blanks, tabs
// and line ends anywhere are ignored, "." is the decimal point, an optional
// sign and exponent are taken, reading stops at the first character that
// cannot continue the number, and a text without a number reads 0.
double ReadNumber(const std::string& text) {
  std::string packed;
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') packed += c;
  }
  std::size_t i = 0;
  const std::size_t n = packed.size();
  auto digit = [&](std::size_t k) { return k < n && packed[k] >= '0' && packed[k] <= '9'; };
  if (i < n && (packed[i] == '+' || packed[i] == '-')) ++i;
  std::size_t digits = 0;
  while (digit(i)) ++i, ++digits;
  if (i < n && packed[i] == '.') {
    ++i;
    while (digit(i)) ++i, ++digits;
  }
  if (digits == 0) return 0;
  std::size_t end = i;
  if (i < n && (packed[i] == 'E' || packed[i] == 'e' || packed[i] == 'D' || packed[i] == 'd')) {
    std::size_t k = i + 1;
    if (k < n && (packed[k] == '+' || packed[k] == '-')) ++k;
    if (digit(k)) {
      while (digit(k)) ++k;
      end = k;
    }
  }
  std::string number = packed.substr(0, end);
  for (char& c : number) {
    if (c == 'D' || c == 'd') c = 'e';
  }
  const char* first = number.data();
  if (*first == '+') ++first;
  double value = 0;
  const auto result = std::from_chars(first, number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small reads as 0; too large cannot be a length.
    if (number.find("e-") != std::string::npos) return 0;
    throw PdfError(6);
  }
  return value;
}

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

}  // namespace

void PdfWriter::SetLineWidth(float Width) {
  // A negative width (or one that is not a number) changes nothing.
  if (!(Width >= 0)) return;
  // A line width is never negative: under a negative scale (a mirrored
  // axis) the line is as wide as the magnitude, which is also the width
  // kept for the table cells, the note boxes and the style stack.
  const float width = std::fabs(Width * Pages.ScaleFactor);
  const std::string line = FormatNumber(width) + " w";  // fails before storing
  Colours.LineWidth = width;
  AppendContent(line);
}

void PdfWriter::SetLineStyle(std::int32_t Style, float MiterLimit) {
  // The operand is the flag divided down; two flags of one group give the
  // larger one's operand (PDF defines caps and joins 0 to 2 only).
  int cap = (Style & 112) / 32;
  int join = (Style & 7) / 2;
  if (cap > 2) cap = 2;
  if (join > 2) join = 2;
  const std::string miter = MiterLimit >= 1 ? FormatNumber(MiterLimit) + " M" : "";
  AppendContent(std::to_string(cap) + " J");
  AppendContent(std::to_string(join) + " j");
  if (!miter.empty()) AppendContent(miter);
}

void PdfWriter::SetDash(const std::string& Pattern, float Phase) {
  const std::string name = UpperAscii(TrimBlanks(Pattern));
  std::vector<float> lengths;
  bool listed = false;  // the list form writes a blank before every length
  if (name.empty() || name == "SOLID") {
  } else if (name == "DASH") {
    lengths = {kDashLong};
  } else if (name == "DOT") {
    lengths = {kDashShort};
  } else if (name == "DASHDOT") {
    lengths = {kDashLong, kDashShort, kDashShort, kDashShort};
  } else if (name == "DASHDOTDOT") {
    lengths = {kDashLong, kDashShort, kDashShort, kDashShort, kDashShort, kDashShort};
  } else {
    // A list of lengths separated by ";"; each element's leading number.
    listed = true;
    std::vector<std::string> parts;
    SplitText(name, parts, ";");
    for (const std::string& part : parts) {
      const double length = ReadNumber(part);
      // A length beyond single precision is an overflow for the caller.
      if (std::fabs(length) > FLT_MAX) throw PdfError(6);
      lengths.push_back(static_cast<float>(length));
    }
  }
  std::string dashes;
  bool drawn = false;  // some length is more than 0
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    const std::string length = FormatUnits(lengths[i]);
    if (length[0] == '-') {
      drawn = false;
      break;
    }
    drawn = drawn || length != "0";
    if (listed || i > 0) dashes += ' ';
    dashes += length;
  }
  // A dash array needs lengths of 0 or more, not all 0: an unknown name
  // (read as the length 0) or a list that breaks this draws a solid line.
  if (!drawn) {
    dashes.clear();
    Phase = 0;
  }
  AppendContent("[" + dashes + " ] " + FormatUnits(Phase) + " d");
}

void PdfWriter::SetAlpha(std::int16_t Value) {
  std::string opacity;
  if (Value < 0) {
    opacity = "0";
  } else if (Value > 100) {
    opacity = "1";
  } else {
    opacity = FormatNumber(static_cast<float>(Value / 100.0));
  }
  Resources.AlphaCount += 1;
  const std::string name = "/GSTATE_" + std::to_string(Resources.AlphaCount);
  const std::int32_t object = BeginIndirectObject(0);
  WriteLine("<</Type /ExtGState /ca " + opacity + " /CA " + opacity + " /BM /Normal >>");
  EndIndirectObject();
  Resources.ExtGStateResources += name + " " + std::to_string(object) + " 0 R ";
  AppendContent(name + " gs");
  RequireVersion(1);
}

}  // namespace pdf
