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
// "d" takes a dash array and a phase. The operators of the set may end a
// line; the other path, clipping and graphics-state operators of PDF
// (`inner`) are taken only before the line's final operator.
int OperandCount(std::string_view op, bool& inner) {
  static constexpr struct {
    std::string_view op;
    int count;
  } kOperators[] = {{"m", 2}, {"l", 2}, {"v", 4}, {"y", 4}, {"c", 6}, {"k", 4}, {"K", 4}, {"g", 1},
                    {"G", 1}, {"J", 1}, {"j", 1}, {"w", 1}, {"M", 1}, {"n", 0}, {"d", 2}, {"s", 0},
                    {"S", 0}, {"Y", 4}, {"N", 0}, {"L", 2}, {"C", 6}, {"V", 4}, {"f", 0}, {"F", 0},
                    {"b", 0}, {"B", 0}, {"Xa", 3}, {"XR", 1}},
    kInner[] = {{"h", 0}, {"re", 4}, {"f*", 0}, {"B*", 0}, {"b*", 0}, {"W", 0}, {"W*", 0}, {"i", 1}, {"cm", 6}};
  inner = false;
  for (const auto& o : kOperators)
    if (o.op == op) return o.count;
  inner = true;
  for (const auto& o : kInner)
    if (o.op == op) return o.count;
  return -1;
}

// Whether the operands lie in the range PDF gives the operator (readers
// stop at anything else): cap and join 0, 1 or 2 written whole, a width
// not negative, a miter limit of at least 1, flatness 0 to 100, dash
// lengths not negative and not all 0 (no lengths at all is a solid line),
// a matrix with an inverse.
bool InRange(std::string_view op, const std::vector<std::string_view>& numbers, std::string_view dashes) {
  const auto value = [&](std::size_t i) { return Value(numbers[i]); };
  if (op == "J" || op == "j")
    return numbers[0].find('.') == std::string_view::npos && value(0) >= 0 && value(0) <= 2;
  if (op == "w") return value(0) >= 0;
  if (op == "M") return value(0) >= 1;
  if (op == "i") return value(0) >= 0 && value(0) <= 100;
  if (op == "cm") return value(0) * value(3) - value(1) * value(2) != 0;
  if (op == "d") {
    const std::vector<std::string_view> lengths = Words(dashes);
    bool drawn = lengths.empty();
    for (const auto length : lengths) {
      if (Value(length) < 0) return false;
      drawn = drawn || Value(length) > 0;
    }
    return drawn;
  }
  return true;
}

// One operator of a line with its operands: `text` runs from the first
// operand (from the line's start for the first operator) to the operator's
// end, and `operands` is the text before the operator.
struct Operation {
  std::string_view op, text, operands;
};

// Splits a line into its operations. A line is taken only when every
// token is a number, a dash array of numbers or an operator PDF knows,
// its final operator one of the set, and each operator has exactly its
// operands (a dash array only as the first of "d") in their range;
// anything else (a name, a string, a procedure, an unbalanced bracket, an
// operand readers refuse) could swallow or break the content that
// follows, and the whole line is refused: an empty result.
std::vector<Operation> Operations(std::string_view line) {
  std::vector<Operation> ops;
  std::size_t begin = 0;  // where the current operation's text starts
  std::vector<std::string_view> numbers;
  std::string_view dashes;  // the inside of the pending dash array
  bool array = false;  // a dash array comes first among the pending operands
  bool inner = false;  // the last operator may not end the line
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    const std::size_t start = i;
    if (numbers.empty() && !array && !ops.empty()) begin = start;
    if (line[i] == '[') {
      const std::size_t close = line.find(']', i);
      if (close == std::string_view::npos || !numbers.empty() || array) return {};
      dashes = line.substr(i + 1, close - i - 1);
      if (!AllNumbers(Words(dashes))) return {};
      array = true;
      i = close + 1;
      continue;
    }
    while (i < line.size() && !IsBlank(line[i]) && line[i] != '[' && line[i] != ']') ++i;
    if (i == start) return {};  // a stray "]"
    const std::string_view token = line.substr(start, i - start);
    if (IsNumber(token)) {
      numbers.push_back(token);
      continue;
    }
    const int count = OperandCount(token, inner);
    const bool dash = token == "d";
    const int given = static_cast<int>(numbers.size()) + (array ? 1 : 0);
    if (count < 0 || array != dash || given != count || !InRange(token, numbers, dashes)) return {};
    ops.push_back({token, line.substr(begin, i - begin), line.substr(begin, start - begin)});
    numbers.clear();
    array = false;
    begin = i;
  }
  if (!numbers.empty() || array || inner) return {};  // operands with no operator, or no final one of the set
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

EpsDrawing ConvertEpsLines(ByteSpan File, bool Colours) {
  EpsDrawing d;
  bool started = false, stopped = false;
  bool path_pending = false, filled = false;
  // Whether the content copied so far has a current point.
  bool current_point = false;
  // A clip ("W" or "W*") of the open path: copied right before the
  // operator that ends the path, the one place it may stand, however far
  // it came before it in the drawing.
  std::string clip;
  const auto painted = [&d, &clip](std::string line) {
    if (!clip.empty()) d.lines.push_back(std::move(clip));
    clip.clear();
    d.lines.push_back(std::move(line));
  };
  for (const std::string_view line : Lines(File)) {
    if (StartsWith(line, "%")) {
      if (StartsWith(line, "%%BoundingBox:")) {
        if (!d.has_box) {
          ReadBox(line.substr(14), d);
          // The placement's transform goes in where the box stands: a
          // path the lines before it left open ends there, since a
          // transform never stands inside a path.
          if (current_point) painted("n");
          current_point = false;
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
      const std::string_view op = o.op;
      const char last = op.back();
      // Lines, curves and clips work on the current path, closing and
      // painting operators end it: with no current point in the copied
      // content (its "m" refused, or the path already painted) readers
      // refuse them, so they are not copied.
      const bool extends = op == "W" || op == "W*" ||
                           (op.size() == 1 && std::string_view("lcvyLCVYh").find(last) != std::string_view::npos);
      const bool paints = op == "f*" || op == "B*" || op == "b*" ||
                          (op.size() == 1 && std::string_view("fFbBsSnN").find(last) != std::string_view::npos);
      if ((extends || paints) && !current_point) continue;
      // A transform belongs between paths, never inside one (where PDF
      // admits only the path's construction, its clip and the operator
      // that paints it): one inside a path is not copied.
      if (op == "cm" && current_point) continue;
      if (op == "m" || op == "re") current_point = true;
      if (paints) current_point = false;
      if (op == "f" || op == "F" || op == "b" || op == "B" || op == "f*" || op == "B*" || op == "b*") {
        if (!filled && path_pending) painted(last == 'f' || last == 'F' ? "f*" : std::string(1, op[0]) + "*");
        filled = true;
        path_pending = false;
      } else if (op == "Xa" || op == "XR") {
        if (Colours) {
          d.lines.push_back(std::string(o.operands) + (op == "Xa" ? "rg" : "G"));
          d.colours = true;
        }
      } else if (op == "s" || op == "S") {
        if (!filled) painted(std::string(o.text));
      } else if (op == "W" || op == "W*") {
        clip = std::string(o.text);
      } else if (op == "Y" || op == "N" || op == "L" || op == "C" || op == "V") {
        const std::string text = std::string(o.operands) + static_cast<char>(last + ('a' - 'A'));
        if (op == "N") painted(text);
        else d.lines.push_back(text);
        path_pending = true;
      } else {
        // A colour left out changes nothing else: the shapes around it
        // are copied as with it.
        const bool colour = op == "g" || op == "G" || op == "k" || op == "K";
        if (op == "n") painted(std::string(o.text));
        else if (!colour || Colours) d.lines.push_back(std::string(o.text));
        if (colour && Colours) d.colours = true;
        filled = false;
        path_pending = true;
      }
      if (paints) clip.clear();  // a clip belongs to the path that ends here
    }
  }
  // A path still open at the end is ended without painting, so that the
  // "Q" after the drawing never comes in the middle of a path.
  if (current_point) painted("n");
  return d;
}

}  // namespace pdf
