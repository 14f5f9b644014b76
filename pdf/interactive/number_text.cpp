#include "pdf/interactive/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace pdf {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The length of the longest prefix of s that forms a number by the grammar
// above (0 when none), with the exponent letter and sign noted so the prefix
// can be handed to from_chars.
struct Scan {
  std::size_t length = 0;
  bool negative = false;
};

Scan ScanNumber(std::string_view s) {
  Scan r;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    r.negative = s[i] == '-';
    ++i;
  }
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return Scan{};
  r.length = i;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      r.length = j;
    }
  }
  return r;
}

// The value of a scanned number (s[0, length) matches the grammar).
double ValueOf(std::string_view s, const Scan& scan) {
  std::string text(s.substr(0, scan.length));
  std::size_t start = 0;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) start = 1;
  for (char& c : text) {
    if (c == 'D' || c == 'd') c = 'e';
  }
  double value = 0;
  const char* first = text.data() + start;
  const char* last = text.data() + text.size();
  const auto result = std::from_chars(first, last, value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large a magnitude overflows to infinity; too small underflows to 0.
    const std::size_t e = text.find('e');
    const bool tiny = e != std::string::npos && e + 1 < text.size() && text[e + 1] == '-';
    value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  }
  return scan.negative ? -value : value;
}

}  // namespace

double LeadingNumber(std::string_view Text) {
  std::string packed;
  packed.reserve(Text.size());
  for (char c : Text) {
    if (c != ' ' && c != '\t' && c != '\n') packed += c;
  }
  const Scan scan = ScanNumber(packed);
  if (scan.length == 0) return 0;
  return ValueOf(packed, scan);
}

std::optional<double> WholeTextNumber(std::string_view Text) {
  const std::size_t first = Text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  const std::size_t last = Text.find_last_not_of(' ');
  const std::string_view core = Text.substr(first, last - first + 1);
  const Scan scan = ScanNumber(core);
  if (scan.length == 0 || scan.length != core.size()) return std::nullopt;
  return ValueOf(core, scan);
}

std::optional<std::int32_t> RoundToInt32(double Value) {
  if (!std::isfinite(Value)) return std::nullopt;
  const double r = std::nearbyint(Value);  // the default rounding: half to even
  if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
  return static_cast<std::int32_t>(r);
}

}  // namespace pdf
