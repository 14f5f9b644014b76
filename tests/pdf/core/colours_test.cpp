// Colour texts, the colour setters' operator lines and the painting operator.

#include <random>

#include "tests/pdf/core/core_probe.h"

namespace {

using core_test::Probe;

// A writer with an open page whose content starts empty, and two patterns
// for the colour texts to name.
struct PageProbe : Probe {
  PageProbe() {
    Resources.PatternResources = "/HATCH 7 0 R \r/DOTS 8 0 R \r";
    Pages.PageOpen = true;
    BufferReset(Content.PageContent);
  }
  std::string Take() {
    std::string t = PageText();
    BufferReset(Content.PageContent);
    return t;
  }
};

TEST(CoreColours, FillAndStrokeLines) {
  const struct {
    const char* colour;
    const char* fill;
  } cases[] = {
      {"red", "1 0 0 rg"},
      {"  Red  ", "1 0 0 rg"},
      {"RED", "1 0 0 rg"},
      {"#ff0000", "1 0 0 rg"},
      {"#FF7F00", "1 0.498 0 rg"},
      {"orange", "1 0.498 0 rg"},
      {"%100", "0 0 0 rg"},
      {"%0", "1 1 1 rg"},
      {"%50", "0.502 0.502 0.502 rg"},
      {"@255;0;0", "1 0 0 rg"},
      {"@0;100;100;0", "1 0 0 rg"},
      {"@127,5;0;0", "0.502 0 0 rg"},  // 127.5 rounds to 128
      {"@126.5;0;0", "0.494 0 0 rg"},  // halves to even: 126
      {"@ 255 ; 0;0", "1 0 0 rg"},
      {"#00FF00;blue", "0 1 0 rg"},
      {"Fuchsia", "1 0 1 rg"},
      {"magenta", "1 0 1 rg"},
      {"aqua", "0 1 1 rg"},
      {"Cyan", "0 1 1 rg"},
      {"hatch;red", "/xxCSxx cs 1 0 0 /HATCH scn"},
      {" Hatch ", "/Pattern cs /HATCH scn"},
      {"hatch;  ", "/Pattern cs /HATCH scn"},
      {"#0", "0 0 0 rg"},
      {"#zz0000", "0 0 0 rg"},  // the read stops at a non-hexadecimal digit
  };
  for (const auto& c : cases) {
    PageProbe w;
    w.SetColorFill(c.colour);
    EXPECT_EQ(w.Take(), std::string("\r") + c.fill) << c.colour;
    w.SetColorLine(c.colour);
    std::string stroke = c.fill;
    for (const char* from : {" rg", " cs ", " scn"}) {
      const auto at = stroke.find(from);
      if (at != std::string::npos) {
        std::string to = from;
        for (char& ch : to) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        stroke.replace(at, to.size(), to);
      }
    }
    EXPECT_EQ(w.Take(), "\r" + stroke) << c.colour;
  }
}

TEST(CoreColours, RichBlackStaysBlack) {
  // Each component is max(0, 100 - (ink + black)): 60/40/40/100 is black.
  PageProbe w;
  w.SetColorFill("@60;40;40;100");
  EXPECT_EQ(w.Take(), "\r0 0 0 rg");
  w.SetColorFill("@0;0;0;50");
  // 50 x 2.55 is just below 127.5 in double precision: 127.
  EXPECT_EQ(w.Take(), "\r0.498 0.498 0.498 rg");
  w.SetColorFill("@20;0;0;0");
  EXPECT_EQ(w.Take(), "\r0.8 1 1 rg");
  EXPECT_EQ(w.Colours.FillColor, "#CCFFFF");
}

TEST(CoreColours, StoredColoursAndSilentCases) {
  PageProbe w;
  w.SetColorFill("hatch;#00ff00");
  EXPECT_EQ(w.Colours.FillColor, "HATCH");
  EXPECT_EQ(w.Colours.FillPatternColor, "#00FF00");
  w.Take();
  // A pattern colour that is not an RGB colour writes nothing and keeps the
  // stored one.
  w.SetColorFill("dots;other");
  EXPECT_EQ(w.Take(), "");
  EXPECT_EQ(w.Colours.FillColor, "DOTS");
  EXPECT_EQ(w.Colours.FillPatternColor, "#00FF00");
  // Empty text, an "@" text of the wrong shape, an uncoloured pattern being
  // recorded: nothing written, nothing stored.
  w.SetColorFill("blue");
  w.Take();
  w.SetColorFill("");
  w.SetColorFill("@1;2");
  w.SetColorLine("@1;2;3;4;5");
  w.Content.RecordingUncolored = true;
  w.SetColorFill("red");
  w.SetColorLine("red");
  w.SetColorText("red");
  EXPECT_EQ(w.Take(), "");
  EXPECT_EQ(w.Colours.FillColor, "#0000FF");
  w.Content.RecordingUncolored = false;
  w.SetColorText("tomato");
  EXPECT_EQ(w.Take(), "");  // the text colour is only stored
  EXPECT_EQ(w.Colours.TextColor, "#FF6347");
}

TEST(CoreColours, ParseColorForms) {
  Probe w;
  const struct {
    const char* in;
    const char* colour;
    const char* pattern;
  } cases[] = {
      {"", "", ""},
      {"#abcdef99;x", "#abcdef", ""},
      {"%25", "#C0C0C0", ""},  // 255 - floor(63.75) = 192
      {"%abc", "#FFFFFF", ""},  // no number counts 0
      {"@256;0;0", "#000000", ""},  // only the last two hexadecimal digits
      {"@10;20;30", "#0A141E", ""},
      {"@1e2;0;0", "#640000", ""},
      {"LightGoldenrod", "LIGHTGOLDENROD", ""},
      {"grid; %0", "GRID", "#FFFFFF"},
      {"grid;pat;red", "GRID", "PAT"},
      {"beige", "#F5F5DC", ""},
      {"darkgray", "#A9A9A9", ""},
  };
  for (const auto& c : cases) {
    std::string colour = c.in, pattern = "stale";
    w.ParseColor(colour, pattern);
    EXPECT_EQ(colour, c.colour) << c.in;
    EXPECT_EQ(pattern, c.pattern) << c.in;
  }
}

TEST(CoreColours, EveryNameOfTheTable) {
  Probe w;
  const char* names[] = {"BLACK", "GRAY", "SILVER", "WHITE", "MAROON", "RED", "PURPLE",
                         "FUCHSIA", "MAGENTA", "GREEN", "LIME", "OLIVE", "YELLOW", "NAVY",
                         "BLUE", "TEAL", "AQUA", "CYAN", "ORANGE", "AZURE", "GOLD",
                         "LIGHTBLUE", "LIGHTCYAN", "LIGHTGREEN", "LIGHTPINK", "LIGHTYELLOW",
                         "TOMATO", "VIOLET", "PINK", "IVORY", "DARKGRAY", "DARKCYAN",
                         "DARKBLUE", "BROWN", "BEIGE"};
  EXPECT_EQ(std::size(names), 35u);
  for (const char* n : names) {
    std::string colour = n, pattern;
    w.ParseColor(colour, pattern);
    EXPECT_EQ(colour.size(), 7u) << n;
    EXPECT_EQ(colour[0], '#') << n;
  }
}

TEST(CoreColours, ColorToRgb) {
  Probe w;
  EXPECT_EQ(w.ColorToRgb("#FF7F00"), "1 0.498 0");
  EXPECT_EQ(w.ColorToRgb("#808080"), "0.502 0.502 0.502");
  EXPECT_EQ(w.ColorToRgb("#000000"), "0 0 0");
  EXPECT_EQ(w.ColorToRgb("#ffffff"), "1 1 1");
  EXPECT_EQ(w.ColorToRgb("#"), "0 0 0");
}

// Any text at all: the parser stays in bounds and gives an RGB colour, a
// pattern name or nothing; the setters write at most one line.
TEST(CoreColours, AnyTextIsSafe) {
  std::mt19937 gen(99);
  const std::string alphabet = "#%@;,. -+eE0123456789abcdefABCDEFxyzRED\t\x80\xFF";
  for (int i = 0; i < 100000; ++i) {
    std::string text;
    const int n = static_cast<int>(gen() % 12);
    for (int k = 0; k < n; ++k) text += alphabet[gen() % alphabet.size()];
    PageProbe w;
    std::string colour = text, pattern;
    try {
      w.ParseColor(colour, pattern);
    } catch (const pdf::PdfError& e) {
      EXPECT_EQ(e.Number(), 6) << text;  // a grey percentage too large
      continue;
    }
    if (!colour.empty() && colour[0] == '#') {
      const std::string rgb = w.ColorToRgb(colour);
      EXPECT_EQ(core_test::Count(rgb, " "), 2) << text;
    }
    w.SetColorFill(text);
    EXPECT_LE(core_test::Count(w.Take(), "\r"), 1) << text;
  }
}

TEST(CoreColours, PaintOperator) {
  const struct {
    int options;
    const char* line;
  } cases[] = {
      {0, "S"},       {1, ""},          {2, "h S"},     {3, "h"},       {4, "B*"},
      {5, "f*"},      {6, "b*"},        {7, "f*"},      {128, "W S"},   {129, "W "},
      {130, "W h S"}, {131, "W h"},     {132, "W B*"},  {133, "W f*"},  {134, "W b*"},
      {8 + 5, "f*"},  {64 + 2, "h S"},
  };
  for (const auto& c : cases) {
    PageProbe w;
    w.PaintOperator(c.options);
    EXPECT_EQ(w.Take(), std::string("\r") + c.line) << c.options;
  }
}

}  // namespace
