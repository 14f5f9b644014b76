#include "platform/text/cp1252.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <clocale>
#include <cwctype>
#include <string>

using namespace cp1252::literals;

// Every byte round-trips through UTF-8, and the high row maps as the
// published code page does (checked against iconv's table).
TEST(Cp1252, EveryByteMatchesIconv) {
  std::string all;
  for (int b = 1; b < 256; ++b) {
    // iconv refuses the five unassigned bytes; we keep them as C1 controls.
    if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
    all += static_cast<char>(b);
  }
  const iconv_t cd = iconv_open("UTF-8", "CP1252");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string in = all, expected(all.size() * 3, '\0');
  char *from = in.data(), *to = expected.data();
  std::size_t from_left = in.size(), to_left = expected.size();
  ASSERT_NE(iconv(cd, &from, &from_left, &to, &to_left), static_cast<std::size_t>(-1));
  iconv_close(cd);
  expected.resize(expected.size() - to_left);
  EXPECT_EQ(cp1252::to_utf8(all), expected);
  EXPECT_EQ(cp1252::from_utf8(expected), all);
}

TEST(Cp1252, ItalianLiteralsAndRefusals) {
  EXPECT_EQ(u8"perché €"_w1252, std::string("perch\xE9 \x80"));
  EXPECT_EQ(u8"‘’“”–—…"_w1252, std::string("\x91\x92\x93\x94\x96\x97\x85"));
  // A character outside the code page is refused when strict; broken
  // UTF-8 never reads past the end.
  EXPECT_FALSE(cp1252::from_utf8_strict("\xE2\x82\xBD").has_value());
  EXPECT_EQ(cp1252::from_utf8(std::string_view("\xC3\xA9", 1)), "?");  // cut before its last byte
  EXPECT_FALSE(cp1252::from_utf8_strict("\xC0\x80").has_value());  // overlong
}

// The edges of valid UTF-8: a valid character outside the code page is one
// "?", an invalid or cut sequence one "?" per byte.
TEST(Cp1252, EdgesOfValidUtf8) {
  const struct {
    const char* utf8;
    const char* text;
  } cases[] = {
      {"\xC2\x80", "?"},           {"\xC1\xBF", "??"},          // U+0080; overlong
      {"\xE0\xA0\x80", "?"},       {"\xE0\x9F\xBF", "???"},     // U+0800; overlong
      {"\xED\x9F\xBF", "?"},       {"\xED\xA0\x80", "???"},     // U+D7FF; first surrogate
      {"\xED\xBF\xBF", "???"},     {"\xEE\x80\x80", "?"},       // last surrogate; U+E000
      {"\xF0\x90\x80\x80", "?"},  {"\xF0\x8F\xBF\xBF", "????"},  // U+10000; overlong
      {"\xF4\x8F\xBF\xBF", "?"},  {"\xF4\x90\x80\x80", "????"},  // U+10FFFF; beyond
      {"a\xE2\x82\xBD" "b", "a?b"}, {"\xC3", "?"}, {"\xE2\x82", "??"},  // rouble sign; cut at the end
  };
  for (const auto& c : cases) EXPECT_EQ(cp1252::from_utf8(c.utf8), c.text) << testing::PrintToString(c.utf8);
}

// Case of every byte against the C library's Unicode case mapping: a byte
// changes case exactly when its character's other case is in the code page.
TEST(Cp1252, UpperAndLowerCaseOfEveryByteFollowUnicode) {
  const std::string kept = std::setlocale(LC_CTYPE, nullptr);
  ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
  int changed_upper = 0, changed_lower = 0;
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    const auto cp = static_cast<wint_t>(cp1252::to_unicode(byte));
    const auto up = cp1252::from_unicode(static_cast<char32_t>(std::towupper(cp)));
    const auto low = cp1252::from_unicode(static_cast<char32_t>(std::towlower(cp)));
    EXPECT_EQ(cp1252::to_upper(byte), up.value_or(byte)) << "byte " << b;
    EXPECT_EQ(cp1252::to_lower(byte), low.value_or(byte)) << "byte " << b;
    changed_upper += cp1252::to_upper(byte) != byte;
    changed_lower += cp1252::to_lower(byte) != byte;
  }
  std::setlocale(LC_CTYPE, kept.c_str());
  // 26 ASCII letters, 30 of the Latin-1 range, 4 of the high row.
  EXPECT_EQ(changed_upper, 60);
  EXPECT_EQ(changed_lower, 60);
  EXPECT_EQ(cp1252::to_upper(0xDF), 0xDF);  // ß has no single capital here
}
