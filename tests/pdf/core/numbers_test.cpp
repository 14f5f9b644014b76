// Number text, literal strings, text replacement and splitting, the content
// buffers and the routing of content lines.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

#include "tests/pdf/core/core_probe.h"

namespace {

using core_test::Probe;
using pdf::PdfError;

TEST(CoreFormatNumber, TableOfValues) {
  const struct {
    float value;
    const char* text;
  } cases[] = {
      {0.0f, "0"},         {0.0004f, "0"},          {0.0005f, "0.001"},     {-0.0004f, "0"},
      {-0.0005f, "-0.001"}, {0.0025f, "0.003"},     {1.0005f, "1"},         {1.0f / 3, "0.333"},
      {2.0f / 3, "0.667"}, {-2.5f, "-2.5"},         {28.3464567f, "28.346"}, {12345.678f, "12345.68"},
      {12.0f, "12"},       {0.5f, "0.5"},           {0.001f, "0.001"},      {-0.0f, "0"},
      {596.0f, "596"},     {-1192.0f, "-1192"},     {785.307f, "785.307"},  {999999.9f, "999999.9"},
      // Seven integer digits: no decimals; from ten million on no exponent.
      {1234567.891f, "1234568"}, {1e7f, "10000000"}, {123456789.0f, "123456800"},
      {-2147483520.0f, "-2147484000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Probe::FormatNumber(c.value), c.text) << "value " << c.value;
  }
}

TEST(CoreFormatNumber, RoundValueHalvesAwayFromZeroInSinglePrecision) {
  EXPECT_EQ(Probe::RoundValue(0.0025f), 0.003f);
  EXPECT_EQ(Probe::RoundValue(-0.0025f), -0.003f);
  EXPECT_EQ(Probe::RoundValue(1.0005f), 1.0f);
  EXPECT_EQ(Probe::RoundValue(2.5f), 2.5f);
  EXPECT_EQ(Probe::RoundValue(1234567.891f), 1234567.875f);
}

TEST(CoreFormatNumber, NeverInfinityNanOrExponent) {
  EXPECT_THROW(Probe::FormatNumber(std::numeric_limits<float>::infinity()), PdfError);
  EXPECT_THROW(Probe::FormatNumber(-std::numeric_limits<float>::infinity()), PdfError);
  EXPECT_THROW(Probe::FormatNumber(std::numeric_limits<float>::quiet_NaN()), PdfError);
  try {
    Probe::FormatNumber(std::numeric_limits<float>::max());
    FAIL() << "no overflow";
  } catch (const PdfError& e) {
    EXPECT_EQ(e.Number(), 6);
  }
  for (float v : {1e8f, 2147483520.0f, -2147483520.0f}) {
    const std::string t = Probe::FormatNumber(v);
    EXPECT_EQ(t.find_first_of("eE+"), std::string::npos) << t;
    EXPECT_EQ(t.find('.'), std::string::npos) << t;
  }
  // From 2^31 on the integer part no longer fits what readers take.
  for (float v : {2147483648.0f, -2147483648.0f, 3.3e10f, -7.25e12f, 1e20f}) {
    EXPECT_THROW(Probe::FormatNumber(v), PdfError) << v;
  }
}

// Any bit pattern: a plain decimal text, or overflow (6) for magnitudes of
// 2^31 and more, infinities and NaN.
TEST(CoreFormatNumber, AnyFloatGivesPlainDecimalOrOverflow) {
  std::mt19937 gen(4242);
  for (int i = 0; i < 300000; ++i) {
    const std::uint32_t bits = static_cast<std::uint32_t>(gen());
    float v;
    std::memcpy(&v, &bits, sizeof v);
    std::string t;
    try {
      t = Probe::FormatNumber(v);
    } catch (const PdfError& e) {
      ASSERT_EQ(e.Number(), 6);
      ASSERT_TRUE(!std::isfinite(v) || std::fabs(v) >= 2147483648.0f) << v;
      continue;
    }
    ASSERT_EQ(t.find_first_not_of("-0123456789."), std::string::npos) << t;
    ASSERT_FALSE(t.empty());
    ASSERT_NE(t, "-0");
    ASSERT_NE(t.back(), '.');
  }
}

// Against an independent formatting of the same rounded value: printf's
// seven significant digits, trailing zeros removed.
TEST(CoreFormatNumber, AgreesWithPrintfOnRandomValues) {
  std::mt19937 gen(12345);
  std::uniform_real_distribution<float> wide(-100000.0f, 100000.0f);
  std::uniform_real_distribution<float> narrow(-2.0f, 2.0f);
  for (int i = 0; i < 200000; ++i) {
    const float v = (i % 2) ? wide(gen) : narrow(gen);
    const float r = Probe::RoundValue(v);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.7g", static_cast<double>(r));
    std::string want = buf;
    if (want.find('.') != std::string::npos) {
      while (want.back() == '0') want.pop_back();
      if (want.back() == '.') want.pop_back();
    }
    if (want == "-0") want = "0";
    ASSERT_EQ(Probe::FormatNumber(v), want) << "value " << v;
    // Three decimals at most, and the text reads back as the rounded value.
    const std::string t = Probe::FormatNumber(v);
    const auto point = t.find('.');
    if (point != std::string::npos) {
      ASSERT_LE(t.size() - point - 1, 3u) << t;
      ASSERT_NE(t.back(), '0') << t;
    }
  }
}

TEST(CoreFormatNumber, FormatUnitsScalesInSinglePrecision) {
  Probe w;
  w.SetScale(3);
  EXPECT_EQ(w.FormatUnits(1), "28.346");
  EXPECT_EQ(w.FormatUnits(2), "56.693");
  w.SetScale(2);
  EXPECT_EQ(w.FormatUnits(10), "28.346");
  w.SetScale(255, 1e30f);
  EXPECT_THROW(w.FormatUnits(1e30f), PdfError);
}

TEST(CoreTexts, ReplaceText) {
  Probe w;
  EXPECT_EQ(w.ReplaceText("a,b,c", ",", "."), "a.b.c");
  EXPECT_EQ(w.ReplaceText("a,b,c", ",", ".", 3), "a,b.c");
  EXPECT_EQ(w.ReplaceText("a,b,c", ",", ".", 1, 1), "a.b,c");
  EXPECT_EQ(w.ReplaceText("a,b,c", "", "."), "a,b,c");
  EXPECT_EQ(w.ReplaceText("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(w.ReplaceText("a,b,c", ",", ".", 1, 0), "a,b,c");
  EXPECT_EQ(w.ReplaceText("a,b,c", ";", "."), "a,b,c");
  EXPECT_EQ(w.ReplaceText("a,b,c", ",", ".", 99), "a,b,c");
  EXPECT_EQ(w.ReplaceText("a,b,c", ",", ".", -5), "a.b.c");
  EXPECT_EQ(w.ReplaceText("Times New Roman", " ", ""), "TimesNewRoman");
  EXPECT_EQ(w.ReplaceText("x--y--z", "--", "-"), "x-y-z");
  EXPECT_EQ(w.ReplaceText("abab", "ab", "ba"), "baba");
  EXPECT_EQ(w.ReplaceText("", "a", "b"), "");
}

TEST(CoreTexts, SplitText) {
  std::vector<std::string> r{"stale"};
  const struct {
    std::string text, delimiter;
    std::vector<std::string> parts;
  } cases[] = {
      {"", ";", {""}},
      {"abc", "", {"abc"}},
      {"a\r\nb", "\r\n", {"a", "b"}},
      {";a;", ";", {"", "a", ""}},
      {"a;;b", ";", {"a", "", "b"}},
      {"abc", ";", {"abc"}},
      {"1|2|3", "|", {"1", "2", "3"}},
      {"aaa", "aa", {"", "a"}},
  };
  for (const auto& c : cases) {
    Probe::SplitText(c.text, r, c.delimiter);
    EXPECT_EQ(r, c.parts) << "text " << c.text;
  }
}

TEST(CoreTexts, EscapeAndLiteralStrings) {
  EXPECT_EQ(Probe::EscapeString("a\\b(c)\r\n"), "a\\\\b\\(c\\)\\r\\n");
  EXPECT_EQ(Probe::EscapeString("\t\x01\xE8"), "\t\x01\xE8");
  Probe w;
  EXPECT_EQ(w.FormatTextString(""), "()");
  EXPECT_EQ(w.FormatTextString("perch\xE8 (1)"), "(perch\xE8 \\(1\\))");
}

TEST(CoreBuffers, AppendAndReset) {
  pdf::StringBuffer b;
  Probe::BufferReset(b);
  Probe::BufferAppend(b, "a");
  Probe::BufferAppend(b, "bc");
  Probe::BufferAppendChar(b, 65);
  EXPECT_EQ(Probe::BufferText(b), "abcA");
  Probe::BufferReset(b);
  EXPECT_EQ(Probe::BufferText(b), "");
  Probe::BufferAppend(b, "");
  EXPECT_EQ(Probe::BufferText(b), "");
}

TEST(CoreBuffers, GrowGeometrically) {
  pdf::StringBuffer b;
  std::string expected;
  int growths = 0;
  for (int i = 0; i < 100000; ++i) {
    const std::string piece = "0 0 " + std::to_string(i) + " re f";
    const std::int32_t before = b.Capacity;
    Probe::BufferAppend(b, piece);
    if (b.Capacity != before) ++growths;
    expected += piece;
  }
  EXPECT_EQ(Probe::BufferText(b), expected);
  EXPECT_LE(growths, 25);
  EXPECT_GE(b.Capacity, b.Position - 1);
}

TEST(CoreRouting, ObjectThenTilingThenPageElseDropped) {
  Probe w;
  w.AppendContent("dropped");  // nothing open
  w.Pages.PageOpen = true;
  w.AppendContent("page");
  w.Content.RecordingTiling = true;
  w.AppendContent("tiling");
  w.Content.RecordingObject = true;
  w.AppendContent("object");
  w.Content.RecordingTiling = false;
  w.AppendContent("object2");
  EXPECT_EQ(w.PageText(), "\rpage");
  EXPECT_EQ(Probe::BufferText(w.Content.TilingContent), "\rtiling");
  EXPECT_EQ(w.ObjectText(), "\robject\robject2");
}

TEST(CoreRouting, LineWithoutPageNeverReachesTheNextPage) {
  Probe w;
  w.BeginDoc(core_test::TempPdf());
  w.AppendContent("lost line");
  w.BeginPage();
  EXPECT_EQ(w.PageText(), "\r0 0 0 rg\r0 0 0 RG");
  w.Abort();
}

TEST(CoreVersion, RequireVersionOnlyRaises) {
  Probe w;
  w.RequireVersion(2);
  w.RequireVersion(1);
  EXPECT_EQ(w.Objects.VersionIncrement, 2);
  w.SetLastRect(1, 2, 3, 4);
  EXPECT_EQ(w.Content.LastRect, (std::array<float, 4>{1, 2, 3, 4}));
}

}  // namespace
