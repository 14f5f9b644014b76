// The built-in width tables against the published metrics, read from the
// metric-compatible AFM files of fonts-urw-base35 at test time.

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "pdf/text/standard_widths.h"

namespace {

using pdf::standard_widths::WidthTable;

const char* const kAfmDir = "/usr/share/fonts/type1/urw-base35/";

struct Afm {
  std::map<std::string, int> by_name;
  std::map<int, int> by_code;
};

Afm ReadAfm(const std::string& name) {
  Afm afm;
  std::ifstream in(kAfmDir + name + ".afm");
  EXPECT_TRUE(in) << "missing metrics file " << name << " (package fonts-urw-base35)";
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("C ", 0) != 0) continue;
    int code = -1, width = -1;
    std::string glyph;
    std::istringstream parts(line);
    std::string part;
    while (std::getline(parts, part, ';')) {
      std::istringstream f(part);
      std::string key;
      f >> key;
      if (key == "C") f >> code;
      else if (key == "WX") f >> width;
      else if (key == "N") f >> glyph;
    }
    if (!glyph.empty()) afm.by_name[glyph] = width;
    if (code >= 0) afm.by_code[code] = width;
  }
  EXPECT_GT(afm.by_name.size(), 100u) << name;
  return afm;
}

// Glyph names of WinAnsiEncoding, codes 32 to 255; empty = no glyph.
std::array<std::string, 256> WinAnsiNames() {
  std::array<std::string, 256> n;
  const char* ascii[] = {
      "space", "exclam", "quotedbl", "numbersign", "dollar", "percent", "ampersand",
      "quotesingle", "parenleft", "parenright", "asterisk", "plus", "comma", "hyphen",
      "period", "slash", "zero", "one", "two", "three", "four", "five", "six", "seven",
      "eight", "nine", "colon", "semicolon", "less", "equal", "greater", "question", "at"};
  for (int i = 0; i < 33; ++i) n[32 + i] = ascii[i];
  for (int i = 0; i < 26; ++i) {
    n[65 + i] = std::string(1, char('A' + i));
    n[97 + i] = std::string(1, char('a' + i));
  }
  n[91] = "bracketleft"; n[92] = "backslash"; n[93] = "bracketright";
  n[94] = "asciicircum"; n[95] = "underscore"; n[96] = "grave";
  n[123] = "braceleft"; n[124] = "bar"; n[125] = "braceright"; n[126] = "asciitilde";
  const std::pair<int, const char*> high[] = {
      {128, "Euro"}, {130, "quotesinglbase"}, {131, "florin"}, {132, "quotedblbase"},
      {133, "ellipsis"}, {134, "dagger"}, {135, "daggerdbl"}, {136, "circumflex"},
      {137, "perthousand"}, {138, "Scaron"}, {139, "guilsinglleft"}, {140, "OE"},
      {142, "Zcaron"}, {145, "quoteleft"}, {146, "quoteright"}, {147, "quotedblleft"},
      {148, "quotedblright"}, {149, "bullet"}, {150, "endash"}, {151, "emdash"},
      {152, "tilde"}, {153, "trademark"}, {154, "scaron"}, {155, "guilsinglright"},
      {156, "oe"}, {158, "zcaron"}, {159, "Ydieresis"}, {160, "space"}};
  for (auto& [c, g] : high) n[c] = g;
  const char* latin1[] = {
      "exclamdown", "cent", "sterling", "currency", "yen", "brokenbar", "section",
      "dieresis", "copyright", "ordfeminine", "guillemotleft", "logicalnot", "hyphen",
      "registered", "macron", "degree", "plusminus", "twosuperior", "threesuperior",
      "acute", "mu", "paragraph", "periodcentered", "cedilla", "onesuperior",
      "ordmasculine", "guillemotright", "onequarter", "onehalf", "threequarters",
      "questiondown", "Agrave", "Aacute", "Acircumflex", "Atilde", "Adieresis", "Aring",
      "AE", "Ccedilla", "Egrave", "Eacute", "Ecircumflex", "Edieresis", "Igrave",
      "Iacute", "Icircumflex", "Idieresis", "Eth", "Ntilde", "Ograve", "Oacute",
      "Ocircumflex", "Otilde", "Odieresis", "multiply", "Oslash", "Ugrave", "Uacute",
      "Ucircumflex", "Udieresis", "Yacute", "Thorn", "germandbls", "agrave", "aacute",
      "acircumflex", "atilde", "adieresis", "aring", "ae", "ccedilla", "egrave",
      "eacute", "ecircumflex", "edieresis", "igrave", "iacute", "icircumflex",
      "idieresis", "eth", "ntilde", "ograve", "oacute", "ocircumflex", "otilde",
      "odieresis", "divide", "oslash", "ugrave", "uacute", "ucircumflex", "udieresis",
      "yacute", "thorn", "ydieresis"};
  for (int i = 0; i < 95; ++i) n[161 + i] = latin1[i];
  return n;
}

std::set<int> Range(int from, int to, std::set<int> more = {}) {
  for (int c = from; c <= to; ++c) more.insert(c);
  return more;
}

// Rows where our tables deliberately differ from the published metrics.
const std::set<int> kTextOverrides =
    Range(0, 31, {127, 129, 141, 143, 144, 157, 175, 177, 181, 247});

struct TextCase {
  const char* afm;
  const WidthTable* table;
};

TEST(StandardWidths, TextFamiliesEqualPublishedMetricsOutsideOverrideRows) {
  const auto names = WinAnsiNames();
  const TextCase cases[] = {
      {"NimbusSans-Regular", &pdf::standard_widths::kArialWidths[0]},
      {"NimbusSans-Bold", &pdf::standard_widths::kArialWidths[1]},
      {"NimbusSans-Italic", &pdf::standard_widths::kArialWidths[2]},
      {"NimbusSans-BoldItalic", &pdf::standard_widths::kArialWidths[3]},
      {"NimbusRoman-Regular", &pdf::standard_widths::kTimesNewRomanWidths[0]},
      {"NimbusRoman-Bold", &pdf::standard_widths::kTimesNewRomanWidths[1]},
      {"NimbusRoman-Italic", &pdf::standard_widths::kTimesNewRomanWidths[2]},
      {"NimbusRoman-BoldItalic", &pdf::standard_widths::kTimesNewRomanWidths[3]},
      {"NimbusMonoPS-Regular", &pdf::standard_widths::kCourierNewWidths},
      {"NimbusMonoPS-Bold", &pdf::standard_widths::kCourierNewWidths},
      {"NimbusMonoPS-Italic", &pdf::standard_widths::kCourierNewWidths},
      {"NimbusMonoPS-BoldItalic", &pdf::standard_widths::kCourierNewWidths},
  };
  for (const auto& tc : cases) {
    const Afm afm = ReadAfm(tc.afm);
    int checked = 0;
    for (int c = 32; c < 256; ++c) {
      if (kTextOverrides.count(c)) continue;
      ASSERT_FALSE(names[c].empty()) << c;
      auto it = afm.by_name.find(names[c]);
      ASSERT_NE(it, afm.by_name.end()) << tc.afm << " has no " << names[c];
      EXPECT_EQ((*tc.table)[c], it->second) << tc.afm << " code " << c << " " << names[c];
      ++checked;
    }
    EXPECT_EQ(checked, 224 - 10);
  }
}

TEST(StandardWidths, BuiltInEncodingsEqualPublishedMetricsOutsideOverrideRows) {
  struct Case {
    const char* afm;
    const WidthTable* table;
    std::set<int> overrides;
  } cases[] = {
      {"StandardSymbolsPS", &pdf::standard_widths::kSymbolWidths,
       Range(0, 31, Range(127, 160, {240, 255}))},
      {"D050000L", &pdf::standard_widths::kZapfDingbatsWidths,
       Range(0, 31, Range(142, 160, {127, 240, 255}))},
  };
  for (const auto& tc : cases) {
    const Afm afm = ReadAfm(tc.afm);
    for (int c = 0; c < 256; ++c) {
      if (tc.overrides.count(c)) continue;
      auto it = afm.by_code.find(c);
      ASSERT_NE(it, afm.by_code.end()) << tc.afm << " has no glyph at " << c;
      EXPECT_EQ((*tc.table)[c], it->second) << tc.afm << " code " << c;
    }
  }
}

TEST(StandardWidths, OverrideRows) {
  namespace w = pdf::standard_widths;
  const int arial_controls[4] = {272, 311, 259, 311};
  for (int s = 0; s < 4; ++s) {
    for (int c = 0; c < 32; ++c) {
      EXPECT_EQ(w::kArialWidths[s][c], arial_controls[s]) << s << " " << c;
      EXPECT_EQ(w::kTimesNewRomanWidths[s][c], 333) << s << " " << c;
    }
    for (int c : {127, 129, 141, 143, 144, 157}) {
      EXPECT_EQ(w::kArialWidths[s][c], 750) << s << " " << c;
      EXPECT_EQ(w::kTimesNewRomanWidths[s][c], 778) << s << " " << c;
    }
    const std::pair<int, int> arial_rows[] = {{175, 552}, {177, 549}, {181, 576}, {247, 549}};
    for (auto [c, v] : arial_rows) EXPECT_EQ(w::kArialWidths[s][c], v) << s << " " << c;
    const std::pair<int, int> times_rows[] = {{175, 500}, {177, 549}, {181, 576}, {247, 549}};
    for (auto [c, v] : times_rows) EXPECT_EQ(w::kTimesNewRomanWidths[s][c], v) << s << " " << c;
  }
  for (int c = 0; c < 256; ++c) EXPECT_EQ(w::kCourierNewWidths[c], 600) << c;
  for (int c = 0; c < 30; ++c) EXPECT_EQ(w::kSymbolWidths[c], 332) << c;
  for (int c : Range(127, 160, {30, 31, 240, 255})) EXPECT_EQ(w::kSymbolWidths[c], 600) << c;
  for (int c = 0; c < 32; ++c) EXPECT_EQ(w::kZapfDingbatsWidths[c], 600) << c;
  for (int c : Range(142, 160, {127, 240, 255})) EXPECT_EQ(w::kZapfDingbatsWidths[c], 0) << c;
}

TEST(StandardWidths, Samples) {
  namespace w = pdf::standard_widths;
  struct Sample {
    const WidthTable* table;
    int code, width;
  } samples[] = {
      {&w::kArialWidths[0], 32, 278},     {&w::kArialWidths[0], 65, 667},
      {&w::kArialWidths[0], 97, 556},     {&w::kArialWidths[0], 128, 556},
      {&w::kArialWidths[0], 160, 278},    {&w::kArialWidths[0], 173, 333},
      {&w::kTimesNewRomanWidths[0], 32, 250}, {&w::kTimesNewRomanWidths[0], 65, 722},
      {&w::kTimesNewRomanWidths[0], 97, 444}, {&w::kTimesNewRomanWidths[0], 128, 500},
      {&w::kSymbolWidths, 32, 250},       {&w::kSymbolWidths, 65, 722},
      {&w::kSymbolWidths, 97, 631},       {&w::kZapfDingbatsWidths, 32, 278},
      {&w::kZapfDingbatsWidths, 65, 692}, {&w::kZapfDingbatsWidths, 97, 789},
      {&w::kZapfDingbatsWidths, 56, 677}, {&w::kZapfDingbatsWidths, 183, 788},
      {&w::kZapfDingbatsWidths, 239, 874}, {&w::kZapfDingbatsWidths, 241, 874},
      {&w::kZapfDingbatsWidths, 254, 918},
  };
  for (const auto& s : samples) EXPECT_EQ((*s.table)[s.code], s.width) << s.code;
  for (int c = 172; c <= 211; ++c) EXPECT_EQ(w::kZapfDingbatsWidths[c], 788) << c;
  // Above the controls the oblique styles measure like the upright ones.
  for (int c = 32; c < 256; ++c) {
    EXPECT_EQ(w::kArialWidths[2][c], w::kArialWidths[0][c]) << c;
    EXPECT_EQ(w::kArialWidths[3][c], w::kArialWidths[1][c]) << c;
  }
}

}  // namespace
