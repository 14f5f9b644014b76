#include "pdf/graphics/eps_converter.h"

#include <cstdlib>
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

// A number as a PDF content stream writes one: optional sign, digits with
// at most one decimal point, at least one digit.
bool IsNumber(std::string_view t) {
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) t.remove_prefix(1);
  bool digit = false, point = false;
  for (const char c : t) {
    if (c >= '0' && c <= '9') digit = true;
    else if (c == '.' && !point) point = true;
    else return false;
  }
  return digit;
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

bool AllNumbers(const std::vector<std::string_view>& words, std::size_t count) {
  if (words.size() != count) return false;
  for (const auto w : words)
    if (!IsNumber(w)) return false;
  return true;
}

// "[n n ...] n": a dash array and its phase.
bool IsDashOperands(std::string_view operands) {
  operands = Trim(operands);
  if (operands.empty() || operands.front() != '[') return false;
  const std::size_t close = operands.find(']');
  if (close == std::string_view::npos) return false;
  const std::vector<std::string_view> inside = Words(operands.substr(1, close - 1));
  if (!AllNumbers(inside, inside.size())) return false;
  return AllNumbers(Words(operands.substr(close + 1)), 1);
}

// The number of operands each copied operator takes; -1 for none copied.
int OperandCount(std::string_view op) {
  static constexpr struct {
    std::string_view op;
    int count;
  } kOperators[] = {{"m", 2}, {"l", 2}, {"v", 4}, {"y", 4}, {"c", 6}, {"k", 4}, {"K", 4},
                    {"g", 1}, {"G", 1}, {"J", 1}, {"j", 1}, {"w", 1}, {"M", 1}, {"n", 0},
                    {"s", 0}, {"S", 0}, {"Y", 4}, {"N", 0}, {"L", 2}, {"C", 6}, {"V", 4},
                    {"Xa", 3}, {"XR", 1}};
  for (const auto& o : kOperators)
    if (o.op == op) return o.count;
  return -1;
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
  if (!AllNumbers(v, 4)) return;  // "(atend)" and the like: no placement
  d.llx = std::strtod(std::string(v[0]).c_str(), nullptr);
  d.lly = std::strtod(std::string(v[1]).c_str(), nullptr);
  d.urx = std::strtod(std::string(v[2]).c_str(), nullptr);
  d.ury = std::strtod(std::string(v[3]).c_str(), nullptr);
  d.box_valid = d.urx != d.llx && d.ury != d.lly;
}

}  // namespace

EpsDrawing ConvertEpsLines(ByteSpan File) {
  EpsDrawing d;
  bool started = false, stopped = false;
  bool path_pending = false, filled = false;
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

    // The operator: the last one or two characters after a blank.
    std::string_view op;
    if (line.size() == 1 || line[line.size() - 2] == ' ') op = line.substr(line.size() - 1);
    else if (line.size() >= 3 && line[line.size() - 3] == ' ') op = line.substr(line.size() - 2);
    else continue;
    const std::string_view operands = line.substr(0, line.size() - op.size());

    const char last = op.back();
    if (op.size() == 1 && (last == 'f' || last == 'F' || last == 'b' || last == 'B')) {
      if (!filled && path_pending) d.lines.push_back(last == 'f' || last == 'F' ? "f*" : std::string(1, last) + "*");
      filled = true;
      path_pending = false;
      continue;
    }
    // Copied only with plain-number operands, as many as the operator
    // takes: anything else (a procedure call, an unbalanced bracket) could
    // swallow or break the content that follows.
    bool copied;
    if (op == "d") {
      copied = IsDashOperands(operands);
    } else {
      const int count = OperandCount(op);
      copied = count >= 0 && AllNumbers(Words(operands), static_cast<std::size_t>(count));
    }
    if (!copied) continue;
    if (op == "Xa") {
      d.lines.push_back(std::string(operands) + "rg");
    } else if (op == "XR") {
      d.lines.push_back(std::string(operands) + "G");
    } else if (last == 's' || last == 'S') {
      if (!filled) d.lines.push_back(std::string(line));
    } else if (last == 'Y' || last == 'N' || last == 'L' || last == 'C' || last == 'V') {
      d.lines.push_back(std::string(operands) + static_cast<char>(last + ('a' - 'A')));
      path_pending = true;
    } else {
      d.lines.push_back(std::string(line));
      filled = false;
      path_pending = true;
    }
  }
  return d;
}

}  // namespace pdf
