// The judge's decoders take any bytes: they stop at their output cap with a
// fault, and random or damaged data gives data within the cap or a fault,
// never a crash (the sanitizer build runs this too).

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "tests/fuzz/judge_filters.h"

namespace {

const char* const kFilters[] = {"ASCIIHexDecode", "ASCII85Decode", "LZWDecode", "RunLengthDecode", "FlateDecode"};

// Each filter's stream of 12 bytes: it decodes under a cap of 12, and a cap
// of 11 is a fault, not a shorter stream.
TEST(JudgeFilters, StopAtTheirCap) {
  const struct {
    const char* filter;
    std::string data;
  } cases[] = {
      {"ASCIIHexDecode", "616161616161616161616161>"},
      {"ASCII85Decode", "@:<SQ@:<SQ\n@:<SQ~>"},
      // Codes 256 97 258 259 260 258 257: "a", then "aa", "aaa" and "aaaa" each
      // before the decoder has it (the string before and its first byte), "aa".
      {"LZWDecode", "\x80\x18\x60\x50\x38\x24\x0A\x02"},
      {"RunLengthDecode", "\xf5" "a\x80"},
      {"FlateDecode", std::string("\x78\x9C\x4B\x4C\x44\x00\x00\x1D\x9A\x04\x8D", 11)}};
  for (const auto& c : cases) {
    const judge_filters::Decoding whole = judge_filters::Undo(c.filter, c.data, 12);
    EXPECT_EQ(whole.Fault, "") << c.filter;
    EXPECT_EQ(whole.Data, std::string(12, 'a')) << c.filter;
    const judge_filters::Decoding cut = judge_filters::Undo(c.filter, c.data, 11);
    EXPECT_NE(cut.Fault, "") << c.filter;
    if (std::string(c.filter) != "FlateDecode") {
      EXPECT_EQ(cut.Fault, "it decodes to more than 11 bytes") << c.filter;
    }
  }
}

// Random bytes, and each byte of a valid stream of each filter changed
// in turn: data within the cap, or a fault.
TEST(JudgeFilters, AnyBytesGiveDataOrAFault) {
  std::mt19937 random(48);
  const std::string valid[] = {"616161 6161>", "@:<SQ @:<SQ~>", "\x80\x18\x60\x50\x38\x24\x0A\x02",
                               "\xf5" "a\x02xyz\x80", std::string("\x78\x9C\x4B\x4C\x44\x00\x00\x1D\x9A\x04\x8D", 11)};
  for (int round = 0; round < 3000; ++round) {
    std::string data(random() % 64, '\0');
    for (char& c : data) c = static_cast<char>(random());
    for (const char* filter : kFilters) {
      const judge_filters::Decoding d = judge_filters::Undo(filter, data, 256);
      EXPECT_LE(d.Data.size(), 256u) << filter;
    }
  }
  for (std::size_t f = 0; f < 5; ++f) {
    for (std::size_t at = 0; at < valid[f].size(); ++at) {
      for (const int value : {0, 0x7E, 0x80, 0xFF}) {
        std::string data = valid[f];
        data[at] = static_cast<char>(value);
        const judge_filters::Decoding d = judge_filters::Undo(kFilters[f], data, 64);
        EXPECT_LE(d.Data.size(), 64u) << kFilters[f] << " " << at;
      }
    }
  }
}

}  // namespace
