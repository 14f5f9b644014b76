#include "pdf/graphics/eps_converter.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace pdf {

namespace {

bool StartsWith(std::string_view text, std::string_view head) { return text.substr(0, head.size()) == head; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The value of a number text ("." as the decimal point, whatever the
// locale says); 0 when it is none.
double Value(std::string_view t) {
  if (!t.empty() && t[0] == '+') t.remove_prefix(1);
  double v = 0;
  std::from_chars(t.data(), t.data() + t.size(), v);
  return v;
}

// A number as a PDF content stream writes one: optional sign, digits with
// at most one decimal point, at least one digit. It is copied as it stands,
// so it must also be one the writer itself could write: below 2^31 in
// magnitude (readers take number texts whose integer part fits 32 bits)
// and of a length readers take as one token (a 20-digit integer overflows
// some, a few hundred digits stop others).
bool IsNumber(std::string_view t) {
  constexpr std::size_t kMaxNumberText = 32;
  if (t.size() > kMaxNumberText) return false;
  const std::string_view text = t;
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) t.remove_prefix(1);
  bool digit = false, point = false;
  for (const char c : t) {
    if (c >= '0' && c <= '9') digit = true;
    else if (c == '.' && !point) point = true;
    else return false;
  }
  return digit && std::fabs(Value(text)) < 2147483648.0;
}

// The words of a text, split at runs of blanks.
std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    const std::size_t start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

bool AllNumbers(const std::vector<std::string_view>& words) {
  for (const auto w : words)
    if (!IsNumber(w)) return false;
  return true;
}

// The number of operands each copied operator takes; -1 for none copied.
// "d" takes a dash array and a phase.
int OperandCount(std::string_view op) {
  static constexpr struct {
    std::string_view op;
    int count;
  } kOperators[] = {{"m", 2}, {"l", 2}, {"v", 4}, {"y", 4}, {"c", 6}, {"k", 4}, {"K", 4}, {"g", 1},
                    {"G", 1}, {"J", 1}, {"j", 1}, {"w", 1}, {"M", 1}, {"n", 0}, {"d", 2}, {"s", 0},
                    {"S", 0}, {"Y", 4}, {"N", 0}, {"L", 2}, {"C", 6}, {"V", 4}, {"f", 0}, {"F", 0},
                    {"b", 0}, {"B", 0}, {"Xa", 3}, {"XR", 1}};
  for (const auto& o : kOperators)
    if (o.op == op) return o.count;
  return -1;
}

// One operator of a line with its operands: `text` runs from the first
// operand (from the line's start for the first operator) to the operator's
// end, and `operands` is the text before the operator.
struct Operation {
  std::string_view op, text, operands;
};

// Splits a line into its operations. A line is taken only when every
// token is a number, a dash array of numbers or an operator of the set, and
// each operator has exactly its operands (a dash array only as the first of
// "d"); anything else (a name, a string, a procedure, an unbalanced
// bracket) could swallow or break the content that follows, and the whole
// line is refused: an empty result.
std::vector<Operation> Operations(std::string_view line) {
  std::vector<Operation> ops;
  std::size_t begin = 0;  // where the current operation's text starts
  int numbers = 0;
  bool array = false;  // a dash array comes first among the pending operands
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    const std::size_t start = i;
    if (numbers == 0 && !array && !ops.empty()) begin = start;
    if (line[i] == '[') {
      const std::size_t close = line.find(']', i);
      if (close == std::string_view::npos || numbers != 0 || array) return {};
      if (!AllNumbers(Words(line.substr(i + 1, close - i - 1)))) return {};
      array = true;
      i = close + 1;
      continue;
    }
    while (i < line.size() && !IsBlank(line[i]) && line[i] != '[' && line[i] != ']') ++i;
    if (i == start) return {};  // a stray "]"
    const std::string_view token = line.substr(start, i - start);
    if (IsNumber(token)) {
      ++numbers;
      continue;
    }
    const int count = OperandCount(token);
    const bool dash = token == "d";
    if (count < 0 || array != dash || numbers + (array ? 1 : 0) != count) return {};
    ops.push_back({token, line.substr(begin, i - begin), line.substr(begin, start - begin)});
    numbers = 0;
    array = false;
    begin = i;
  }
  if (numbers != 0 || array) return {};  // operands with no operator
  return ops;
}

// Splits the file into lines at CR, LF or CR LF.
std::vector<std::string_view> Lines(ByteSpan file) {
  std::vector<std::string_view> lines;
  const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

void ReadBox(std::string_view rest, EpsDrawing& d) {
  const std::vector<std::string_view> v = Words(rest);
  d.has_box = true;
  if (v.size() != 4 || !AllNumbers(v)) return;  // "(atend)" and the like: no placement
  d.llx = Value(v[0]);
  d.lly = Value(v[1]);
  d.urx = Value(v[2]);
  d.ury = Value(v[3]);
  d.box_valid = d.urx != d.llx && d.ury != d.lly;
}

}  // namespace

EpsDrawing ConvertEpsLines(ByteSpan File) {
  EpsDrawing d;
  bool started = false, stopped = false;
  bool path_pending = false, filled = false;
  // Whether the content copied so far has a current point: a line that
  // extends a path whose start was refused (a "moveto" of the PostScript
  // itself, say) would be drawn from none, which readers refuse.
  bool current_point = false;
  for (const std::string_view line : Lines(File)) {
    if (StartsWith(line, "%")) {
      if (StartsWith(line, "%%BoundingBox:")) {
        if (!d.has_box) {
          ReadBox(line.substr(14), d);
          d.box_at = d.lines.size();
          started = true;
        }
      } else if (StartsWith(line, "%%EndSetup") || StartsWith(line, "%%EndProlog")) {
        started = true;
      } else if (StartsWith(line, "%%PageTrailer")) {
        stopped = true;
      }
      continue;
    }
    if (StartsWith(line, "showpage")) stopped = true;
    if (!started || stopped) continue;
    if (Trim(line).empty() || line.front() == '/' || line.front() == '(') continue;

    for (const Operation& o : Operations(line)) {
      const char last = o.op.back();
      const bool extends = o.op.size() == 1 && std::string_view("lcvyLCVY").find(last) != std::string_view::npos;
      if (extends && !current_point) continue;
      if (o.op == "m") current_point = true;
      if (o.op.size() == 1 && std::string_view("fFbBsSnN").find(last) != std::string_view::npos) current_point = false;
      if (o.op.size() == 1 && (last == 'f' || last == 'F' || last == 'b' || last == 'B')) {
        if (!filled && path_pending) d.lines.push_back(last == 'f' || last == 'F' ? "f*" : std::string(1, last) + "*");
        filled = true;
        path_pending = false;
      } else if (o.op == "Xa") {
        d.lines.push_back(std::string(o.operands) + "rg");
      } else if (o.op == "XR") {
        d.lines.push_back(std::string(o.operands) + "G");
      } else if (last == 's' || last == 'S') {
        if (!filled) d.lines.push_back(std::string(o.text));
      } else if (last == 'Y' || last == 'N' || last == 'L' || last == 'C' || last == 'V') {
        d.lines.push_back(std::string(o.operands) + static_cast<char>(last + ('a' - 'A')));
        path_pending = true;
      } else {
        d.lines.push_back(std::string(o.text));
        filled = false;
        path_pending = true;
      }
    }
  }
  return d;
}

}  // namespace pdf
