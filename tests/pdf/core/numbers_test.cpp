// Number text: the table of values, any bit pattern, and agreement with
// printf on random values.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "tests/pdf/core/core_probe.h"

namespace {

using namespace core_test;
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
      // The last floats below 2^31: seven digits keep 2147483392 inside the
      // 32-bit range, but would round 2147483520 up past it.
      {2147483392.0f, "2147483000"}, {-2147483392.0f, "-2147483000"},
      {2147483520.0f, nullptr}, {-2147483520.0f, nullptr}, {2147483648.0f, nullptr},
  };
  for (const auto& c : cases) {
    if (c.text != nullptr) {
      EXPECT_EQ(Probe::FormatNumber(c.value), c.text) << "value " << c.value;
      continue;
    }
    try {
      ADD_FAILURE() << c.value << " written as " << Probe::FormatNumber(c.value);
    } catch (const PdfError& e) {
      EXPECT_EQ(e.Number(), 6) << c.value;
    }
  }
}

// Any bit pattern: a plain decimal text that readers take as a number
// (below 2^31 in magnitude), or overflow (6) for magnitudes whose seven
// digits reach 2^31, infinities and NaN.
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
      ASSERT_TRUE(!std::isfinite(v) || std::fabs(v) >= 2147483500.0f) << v;
      continue;
    }
    ASSERT_LE(std::fabs(std::strtod(t.c_str(), nullptr)), 2147483647.0) << t;
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
  }
}

}  // namespace
