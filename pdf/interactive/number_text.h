#pragma once
// Numbers inside caller texts: the page number of a "page:" link target and
// the Param of a form field, which a caller may give as text. Two readings,
// both locale-free with "." as the decimal point:
// - LeadingNumber reads the number a text begins with and ignores the rest,
//   skipping blanks, tabs and line feeds wherever they stand ("1 2x" is 12),
//   and gives 0 when there is none: the lenient reading of link targets;
// - WholeTextNumber accepts only a text that is a number as a whole (blanks
//   around it allowed): the strict reading of a field's Param.
// RoundToInt32 then rounds half to even, as a whole-number conversion does.

#include <cstdint>
#include <optional>
#include <string_view>

namespace pdf {

// An optional sign, digits with an optional "." and digits, and an optional
// exponent ("E" or "D", optional sign, digits). An exponent too large gives
// an infinity of the number's sign.
double LeadingNumber(std::string_view Text);

// The number Text holds, or nothing when Text is anything else (empty or
// blank included).
std::optional<double> WholeTextNumber(std::string_view Text);

// Value rounded half to even, or nothing when it is not finite or falls
// outside the 32-bit range.
std::optional<std::int32_t> RoundToInt32(double Value);

}  // namespace pdf
