// Symbol patterns of Code 128, Code 39, Interleaved 2 of 5, EAN-13, EAN-8
// and POSTNET, as their published symbology standards define them.

#include "pdf/graphics/barcode_symbols.h"

#include <array>
#include <cstdint>

namespace pdf::barcode {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The digit value of a character; anything else counts as 0.
int DigitValue(char c) { return IsDigit(c) ? c - '0' : 0; }

// The digit at 1-based position p of Code, 0 when missing or not a digit.
int DigitAt(std::string_view Code, std::size_t p) {
  return p >= 1 && p <= Code.size() ? DigitValue(Code[p - 1]) : 0;
}

// ---- Code 128 ------------------------------------------------------------------

// Bar and space widths (in modules, bar first) of values 0 to 105; every
// symbol character is 11 modules.
constexpr std::array<const char*, 106> kCode128Widths = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122", "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123", "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331", "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232",
};
constexpr int kCodeC = 99, kCodeB = 100, kStartB = 104, kStartC = 105;
constexpr const char* kCode128Stop = "1100011101011";

void AppendCode128(std::string& modules, int value) {
  const char* widths = kCode128Widths[static_cast<std::size_t>(value)];
  for (int e = 0; e < 6; ++e) modules.append(static_cast<std::size_t>(widths[e] - '0'), e % 2 ? '0' : '1');
}

// ---- Code 39 ---------------------------------------------------------------------

constexpr std::string_view kCode39Set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*";
constexpr std::array<const char*, 44> kCode39Patterns = {
    "nnnwwnwnn", "wnnwnnnnw", "nnwwnnnnw", "wnwwnnnnn", "nnnwwnnnw", "wnnwwnnnn",  // 0-5
    "nnwwwnnnn", "nnnwnnwnw", "wnnwnnwnn", "nnwwnnwnn", "wnnnnwnnw", "nnwnnwnnw",  // 6-B
    "wnwnnwnnn", "nnnnwwnnw", "wnnnwwnnn", "nnwnwwnnn", "nnnnnwwnw", "wnnnnwwnn",  // C-H
    "nnwnnwwnn", "nnnnwwwnn", "wnnnnnnww", "nnwnnnnww", "wnwnnnnwn", "nnnnwnnww",  // I-N
    "wnnnwnnwn", "nnwnwnnwn", "nnnnnnwww", "wnnnnnwwn", "nnwnnnwwn", "nnnnwnwwn",  // O-T
    "wwnnnnnnw", "nwwnnnnnw", "wwwnnnnnn", "nwnnwnnnw", "wwnnwnnnn", "nwwnwnnnn",  // U-Z
    "nwnnnnwnw", "wwnnnnwnn", "nwwnnnwnn", "nwnwnwnnn", "nwnwnnnwn", "nwnnnwnwn",  // - . sp $ / +
    "nnnwnwnwn", "nwnnwnwnn",                                                      // % *
};

// Full-ASCII pairs of codes 0 to 127 for the characters the set lacks; ""
// where the character stands for itself.
std::string Code39FullAscii(unsigned char c) {
  if (c == 0) return "%U";
  if (c <= 26) return std::string("$") + static_cast<char>('A' + c - 1);
  if (c <= 31) return std::string("%") + static_cast<char>('A' + c - 27);
  if (c >= 'a' && c <= 'z') return std::string("+") + static_cast<char>(c - 'a' + 'A');
  if (kCode39Set.find(static_cast<char>(c)) != std::string_view::npos) return std::string(1, static_cast<char>(c));
  switch (c) {
    case '!': return "/A";
    case '"': return "/B";
    case '#': return "/C";
    case '&': return "/F";
    case '\'': return "/G";
    case '(': return "/H";
    case ')': return "/I";
    case ',': return "/L";
    case ':': return "/Z";
    case ';': return "%F";
    case '<': return "%G";
    case '=': return "%H";
    case '>': return "%I";
    case '?': return "%J";
    case '@': return "%V";
    case '[': return "%K";
    case '\\': return "%L";
    case ']': return "%M";
    case '^': return "%N";
    case '_': return "%O";
    case '`': return "%W";
    case '{': return "%P";
    case '|': return "%Q";
    case '}': return "%R";
    case '~': return "%S";
    default: return "%T";  // DEL
  }
}

// ---- Interleaved 2 of 5, EAN, POSTNET ------------------------------------------

constexpr std::array<const char*, 10> kTwoOfFive = {"nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw",
                                                    "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn"};

// Set A (odd parity, left half); set B is set C read backwards; set C (right
// half) is set A with bars and spaces exchanged.
constexpr std::array<const char*, 10> kEanSetA = {"0001101", "0011001", "0010011", "0111101",
                                                  "0100011", "0110001", "0101111", "0111011",
                                                  "0110111", "0001011"};
constexpr std::array<const char*, 10> kEanSetB = {"0100111", "0110011", "0011011", "0100001",
                                                  "0011101", "0111001", "0000101", "0010001",
                                                  "0001001", "0010111"};
// Which of sets A and B the six left digits of an EAN-13 take, by its first
// digit.
constexpr std::array<const char*, 10> kEan13Parity = {"AAAAAA", "AABABB", "AABBAB", "AABBBA",
                                                      "ABAABB", "ABBAAB", "ABBBAA", "ABABAB",
                                                      "ABABBA", "ABBABA"};

std::string EanRight(int digit) {
  std::string r = kEanSetB[static_cast<std::size_t>(digit)];
  return std::string(r.rbegin(), r.rend());
}

constexpr std::array<const char*, 10> kPostnet = {"11000", "00011", "00101", "00110", "01001",
                                                  "01010", "01100", "10001", "10010", "10100"};

char CheckDigit(int sum) { return static_cast<char>('0' + (10 - sum % 10) % 10); }

}  // namespace

std::string Code128Modules(std::string_view Code) {
  if (Code.empty()) return std::string();
  for (char ch : Code) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 32 || c > 126) return std::string();
  }
  const std::size_t n = Code.size();
  auto digitsFrom = [&](std::size_t i, std::size_t k) {  // i is 1-based
    if (i + k - 1 > n) return false;
    for (std::size_t j = i; j < i + k; ++j)
      if (!IsDigit(Code[j - 1])) return false;
    return true;
  };
  std::string modules;
  int start = kStartB;
  std::int64_t weight = 0, sum = 0;
  auto add = [&](int value) {
    AppendCode128(modules, value);
    weight += 1;
    sum = (sum + value * weight) % 103;
  };
  bool setC = false;
  std::size_t i = 1;
  while (i <= n) {
    if (!setC) {
      const std::size_t k = (i == 1 || i + 3 == n) ? 4 : 6;
      if (digitsFrom(i, k)) {
        if (i == 1) {
          start = kStartC;
          AppendCode128(modules, start);
        } else {
          add(kCodeC);
        }
        setC = true;
        continue;
      }
      if (i == 1) AppendCode128(modules, start);
    } else if (digitsFrom(i, 2)) {
      add(10 * DigitValue(Code[i - 1]) + DigitValue(Code[i]));
      i += 2;
      continue;
    } else {
      add(kCodeB);
      setC = false;
    }
    add(static_cast<unsigned char>(Code[i - 1]) - 32);
    i += 1;
  }
  AppendCode128(modules, static_cast<int>((start + sum) % 103));
  modules += kCode128Stop;
  return modules;
}

std::string_view Code39Elements(char c) {
  const std::size_t p = kCode39Set.find(c);
  return p == std::string_view::npos ? std::string_view() : kCode39Patterns[p];
}

std::string Code39Characters(std::string_view Code, bool AddCheck) {
  std::string encoded;
  for (char ch : Code) {
    const auto c = static_cast<unsigned char>(ch);
    // A "*" would draw the stop pattern inside the symbol; above 127 the
    // full-ASCII table has no entry.
    if (c > 127 || c == '*') return std::string();
    encoded += Code39FullAscii(c);
  }
  std::string symbol = "*" + encoded;
  if (AddCheck) {
    std::size_t sum = 0;
    for (char c : encoded) sum += kCode39Set.find(c);
    symbol += kCode39Set[sum % 43];
  }
  return symbol + "*";
}

std::string Interleaved2of5Elements(std::string_view Code, bool AddCheck) {
  std::string digits;
  for (char c : Code) digits += static_cast<char>('0' + DigitValue(c));
  if (AddCheck) {
    int sum = 0, weight = 3;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
      sum += (*it - '0') * weight;
      weight = 4 - weight;
    }
    digits += CheckDigit(sum);
  }
  if (digits.size() % 2 == 1) digits.insert(digits.begin(), '0');
  std::string elements = "nnnn";
  for (std::size_t p = 0; p < digits.size(); p += 2) {
    const char* bars = kTwoOfFive[static_cast<std::size_t>(digits[p] - '0')];
    const char* spaces = kTwoOfFive[static_cast<std::size_t>(digits[p + 1] - '0')];
    for (int e = 0; e < 5; ++e) {
      elements += bars[e];
      elements += spaces[e];
    }
  }
  return elements + "wnnn";
}

namespace {

// EAN of `count` data digits and the check digit: the data digit next to the
// check digit and every second one from it weigh 3. An EAN-13 carries its
// first digit in the parity pattern of the left half; EAN-8 has none.
EanSymbol Ean(std::string_view Code, std::size_t count) {
  EanSymbol s;
  int sum = 0;
  for (std::size_t p = 1; p <= count; ++p) {
    const int d = DigitAt(Code, p);
    s.Digits += static_cast<char>('0' + d);
    sum += (count - p) % 2 == 0 ? 3 * d : d;
  }
  s.Digits += CheckDigit(sum);
  const std::size_t first = count == 12 ? 1 : 0, half = (count + 1) / 2;
  const char* parity = first ? kEan13Parity[static_cast<std::size_t>(s.Digits[0] - '0')] : "AAAA";
  s.Modules = "101";
  for (std::size_t i = 0; i < half; ++i) {
    const auto d = static_cast<std::size_t>(s.Digits[first + i] - '0');
    s.Modules += parity[i] == 'A' ? kEanSetA[d] : kEanSetB[d];
  }
  s.Modules += "01010";
  for (std::size_t i = first + half; i < s.Digits.size(); ++i) s.Modules += EanRight(s.Digits[i] - '0');
  s.Modules += "101";
  return s;
}

}  // namespace

EanSymbol Ean13(std::string_view Code) { return Ean(Code, 12); }

EanSymbol Ean8(std::string_view Code) { return Ean(Code, 7); }

std::string PostnetBars(std::string_view Code) {
  std::string bars = "1";
  int sum = 0;
  auto add = [&](int d) {
    bars += kPostnet[static_cast<std::size_t>(d)];
    sum += d;
  };
  for (std::size_t p = 1; p <= 5; ++p) add(DigitAt(Code, p));
  if (Code.size() == 10)
    for (std::size_t p = 7; p <= 10; ++p) add(DigitAt(Code, p));
  bars += kPostnet[static_cast<std::size_t>(CheckDigit(sum) - '0')];
  return bars + "1";
}

}  // namespace pdf::barcode
