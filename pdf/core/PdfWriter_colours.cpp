// Colour texts (names, "#RRGGBB", grey percentages, decimal RGB or CMYK,
// pattern names), the colour setters and the path-painting operator.

#include <array>
#include <charconv>
#include <cmath>

#include "pdf/PdfWriter.h"
#include "pdf/core/pdf_name.h"

namespace pdf {

namespace {

struct NamedColour {
  const char* name;
  const char* colour;
};

constexpr NamedColour kColourNames[] = {
    {"BLACK", "#000000"},     {"GRAY", "#808080"},      {"SILVER", "#C0C0C0"},
    {"WHITE", "#FFFFFF"},     {"MAROON", "#800000"},    {"RED", "#FF0000"},
    {"PURPLE", "#800080"},    {"FUCHSIA", "#FF00FF"},   {"MAGENTA", "#FF00FF"},
    {"GREEN", "#008000"},     {"LIME", "#00FF00"},      {"OLIVE", "#808000"},
    {"YELLOW", "#FFFF00"},    {"NAVY", "#000080"},      {"BLUE", "#0000FF"},
    {"TEAL", "#008080"},      {"AQUA", "#00FFFF"},      {"CYAN", "#00FFFF"},
    {"ORANGE", "#FF7F00"},    {"AZURE", "#F0FFFF"},     {"GOLD", "#FFD700"},
    {"LIGHTBLUE", "#ADD8E6"}, {"LIGHTCYAN", "#E0FFFF"}, {"LIGHTGREEN", "#90EE90"},
    {"LIGHTPINK", "#FFB6C1"}, {"LIGHTYELLOW", "#FFFFE0"}, {"TOMATO", "#FF6347"},
    {"VIOLET", "#EE82EE"},    {"PINK", "#FFC0CB"},      {"IVORY", "#FFFFF0"},
    {"DARKGRAY", "#A9A9A9"},  {"DARKCYAN", "#008B8B"},  {"DARKBLUE", "#00008B"},
    {"BROWN", "#A52A2A"},     {"BEIGE", "#F5F5DC"},
};

std::string TrimUpper(const std::string& s) {
  std::size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return std::string();
  std::size_t e = s.find_last_not_of(' ');
  std::string t = s.substr(b, e - b + 1);
  for (char& c : t)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return t;
}

// The numeric value of a text: blanks skipped, an optional sign, digits, one
// point, an optional exponent; reading stops at the first character that
// cannot continue the number; no number at all counts 0.
double NumericValue(const std::string& s) {
  std::string n;
  std::size_t i = 0;
  auto skip = [&] {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  };
  skip();
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    if (s[i] == '-') n += '-';
    ++i;
  }
  bool digits = false, point = false;
  for (;; ++i) {
    skip();
    if (i >= s.size()) break;
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      n += c;
      digits = true;
    } else if (c == '.' && !point) {
      n += c;
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0;
  // Exponent: E or D, an optional sign and at least one digit.
  skip();
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    std::string e = "e";
    while (j < s.size() && s[j] == ' ') ++j;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) e += s[j++];
    bool expDigits = false;
    while (j < s.size() && ((s[j] >= '0' && s[j] <= '9') || s[j] == ' ')) {
      if (s[j] != ' ') {
        e += s[j];
        expDigits = true;
      }
      ++j;
    }
    if (expDigits) n += e;
  }
  double v = 0;
  const auto res = std::from_chars(n.data(), n.data() + n.size(), v);
  if (res.ec == std::errc::result_out_of_range) return n[0] == '-' ? -HUGE_VAL : HUGE_VAL;
  if (res.ec != std::errc()) return 0;
  return v;
}

// The last two upper-case hexadecimal digits of a whole number.
std::string TwoHex(long long v) {
  static const char* kHex = "0123456789ABCDEF";
  const unsigned b = static_cast<unsigned>(v) & 0xFFu;
  return std::string{kHex[b >> 4], kHex[b & 15]};
}

// A whole number from a real one, halves to the even neighbour.
long long RoundHalfEven(double v) {
  if (!std::isfinite(v) || std::fabs(v) > 9e15) throw PdfError(6);
  return static_cast<long long>(std::nearbyint(v));
}

}  // namespace

void PdfWriter::ParseColor(std::string& Color, std::string& PatternColor) {
  if (Color.empty()) {
    PatternColor.clear();
    return;
  }
  const char first = Color[0];
  if (first == '#') {
    Color = Color.substr(0, 7);
    PatternColor.clear();
    return;
  }
  if (first == '%') {
    const double v = NumericValue(Color.substr(1));
    const double g = 255.0 - std::floor(v * 255.0 / 100.0);
    if (!std::isfinite(g) || std::fabs(g) > 32767) throw PdfError(6);
    const std::string hex = TwoHex(static_cast<long long>(g));
    Color = "#" + hex + hex + hex;
    PatternColor.clear();
    return;
  }
  if (first == '@') {
    std::string text = Color.substr(1);
    for (char& c : text)
      if (c == ',') c = '.';
    std::vector<std::string> parts;
    SplitText(text, parts, ";");
    if (parts.size() == 3) {
      Color = "#";
      for (const auto& part : parts) Color += TwoHex(RoundHalfEven(NumericValue(part)));
    } else if (parts.size() == 4) {
      // CMYK: each component is what remains of 100 % after its ink and the
      // black, never below 0 (a rich black stays black).
      const double k = NumericValue(parts[3]);
      Color = "#";
      for (int i = 0; i < 3; ++i) {
        const double rest = std::max(0.0, 100.0 - (NumericValue(parts[static_cast<std::size_t>(i)]) + k));
        Color += TwoHex(RoundHalfEven(rest * 2.55));
      }
    } else {
      Color.clear();
    }
    PatternColor.clear();
    return;
  }
  std::vector<std::string> parts;
  SplitText(Color, parts, ";");
  const std::string name = TrimUpper(parts[0]);
  for (const auto& entry : kColourNames) {
    if (name == entry.name) {
      Color = entry.colour;
      PatternColor.clear();
      return;
    }
  }
  Color = name;  // a pattern name
  PatternColor.clear();
  if (parts.size() >= 2) {
    std::string second = TrimUpper(parts[1]);
    if (!second.empty()) {
      std::string discarded;
      ParseColor(second, discarded);
      PatternColor = second;
    }
  }
}

namespace {

// The value of the six hexadecimal digits after the first character; the
// read stops at the first character that is not a hexadecimal digit.
std::uint32_t HexValue(const std::string& Color) {
  std::uint32_t value = 0;
  for (std::size_t i = 1; i < Color.size() && i <= 6; ++i) {
    const char c = Color[i];
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else break;
    value = value * 16 + static_cast<std::uint32_t>(d);
  }
  return value;
}

}  // namespace

// Each component is written as its share of 255 with three decimals; the
// 256 possible texts are made once.
const std::string& PdfWriter::ComponentText(std::uint32_t Component) {
  static const std::array<std::string, 256> kComponent = [] {
    std::array<std::string, 256> texts;
    for (unsigned c = 0; c < 256; ++c)
      texts[c] = FormatNumber(RoundValue(static_cast<float>(static_cast<double>(c) / 255.0)));
    return texts;
  }();
  return kComponent[Component & 255u];
}

void PdfWriter::AppendRgb(const std::string& Color, std::string_view Operator) {
  ColourCarried();
  const std::uint32_t value = HexValue(Color);
  AppendContent({ComponentText(value >> 16), " ", ComponentText(value >> 8), " ", ComponentText(value), " ",
                 Operator});
}

std::string PdfWriter::ColorToRgb(const std::string& Color) {
  const std::uint32_t value = HexValue(Color);
  const std::string& r = ComponentText(value >> 16);
  const std::string& g = ComponentText(value >> 8);
  const std::string& b = ComponentText(value);
  std::string out;
  out.reserve(r.size() + g.size() + b.size() + 2);
  out.append(r).append(1, ' ').append(g).append(1, ' ').append(b);
  return out;
}

// The fill and stroke setters. A text that is neither a colour nor the name
// of a defined pattern (an unknown colour name, a stray text) keeps the
// current colour: naming a pattern that does not exist would paint nothing
// and stop strict readers.
void PdfWriter::SetColorFill(const std::string& Color) {
  if (Color.empty() || Content.RecordingUncolored) return;
  if (Color[0] == '#') {
    // "#RRGGBB" (whatever follows is ignored): the common case, parsed in place.
    Colours.FillColor.assign(Color, 0, 7);
    AppendRgb(Colours.FillColor, "rg");
    return;
  }
  std::string c = Color, pattern;
  ParseColor(c, pattern);
  if (c.empty()) return;  // an "@" text of neither three nor four parts
  if (c[0] != '#' && !PatternDefined(c)) return;
  Colours.FillColor = c;
  if (c[0] == '#') AppendRgb(c, "rg");
  else SelectPattern(c, pattern, Colours.FillPatternColor, "cs ", " scn");
}

void PdfWriter::SetColorLine(const std::string& Color) {
  if (Color.empty() || Content.RecordingUncolored) return;
  if (Color[0] == '#') {
    Colours.LineColor.assign(Color, 0, 7);
    AppendRgb(Colours.LineColor, "RG");
    return;
  }
  std::string c = Color, pattern;
  ParseColor(c, pattern);
  if (c.empty()) return;
  if (c[0] != '#' && !PatternDefined(c)) return;
  Colours.LineColor = c;
  if (c[0] == '#') AppendRgb(c, "RG");
  else SelectPattern(c, pattern, Colours.LinePatternColor, "CS ", " SCN");
}

void PdfWriter::SelectPattern(const std::string& Name, std::string PatternColor, std::string& KeptPatternColor,
                              std::string_view SpaceOperator, std::string_view ColorOperator) {
  // An uncoloured tiling pattern has no colour of its own: named without
  // one it is painted black, as a colour space's initial colour is.
  if (PatternColor.empty() && PatternUncolored(Name)) PatternColor = "#000000";
  if (!PatternColor.empty() && PatternColor[0] != '#') return;  // a second part that is no colour
  ColourCarried();
  if (!PatternColor.empty()) {
    KeptPatternColor = PatternColor;
    AppendContent({"/xxCSxx ", SpaceOperator, ColorToRgb(PatternColor), " ", NameToken(Name), ColorOperator});
  } else {
    AppendContent({"/Pattern ", SpaceOperator, NameToken(Name), ColorOperator});
  }
  PatternNamed();
}

void PdfWriter::SetColorText(const std::string& Color) {
  if (Color.empty() || Content.RecordingUncolored) return;
  std::string c = Color, pattern;
  ParseColor(c, pattern);
  if (c.empty()) return;
  if (c[0] != '#' && !PatternDefined(c)) return;  // text keeps its colour too
  Colours.TextPatternColor = pattern;
  Colours.TextColor = c;
}

void PdfWriter::PaintOperator(std::int32_t Options) {
  // By the low three bits: the path closed first ("h") or not, then its
  // painting operator; 1 and 3 leave it open for a later one. With 128
  // the path also clips, and "W" stands right before the operator that
  // ends the path: at once when this one paints it, or, when the path is
  // left open, before whichever operator ends it later (PDF admits "W"
  // only after the path's last construction operator).
  static const char* kClose[8] = {"", "", "h ", "h", "", "", "", ""};
  static const char* kPaint[8] = {"S", "", "S", "", "B*", "f*", "b*", "f*"};
  StringBuffer* target = ActiveContent();
  const bool clip = (Options & 128) != 0 || (target != nullptr && target->ClipPending);
  const bool open = LeavesPathOpen(Options);
  std::string line = kClose[Options & 7];
  if (!open) line += std::string(clip ? "W " : "") + kPaint[Options & 7];
  AppendContent(line);
  if (target == nullptr) return;
  target->PathOpen = open;
  target->ClipPending = open && clip;
}

bool PdfWriter::PatternDefined(const std::string& Name) const {
  // Every entry is "/NAME n 0 R " followed by a CR; the name token and the
  // blank after it must stand at the start of an entry.
  const std::string head = NameToken(Name) + " ";
  const std::string& entries = Resources.PatternResources;
  for (std::size_t at = entries.find(head); at != std::string::npos;
       at = entries.find(head, at + 1)) {
    if (at == 0 || entries[at - 1] == '\r') return true;
  }
  return false;
}

}  // namespace pdf
