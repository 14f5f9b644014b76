#pragma once
// Second pass of our deflate encoder: the choice between the stored, fixed
// and dynamic block forms by their computed sizes, and the writing of the
// chosen form.

#include <array>
#include <cstdint>

#include "pdf/core/bytes.h"
#include "pdf/core/deflate_matcher.h"

namespace pdf::deflate_internal {

enum class BlockForm { kStored = 0, kFixed = 1, kDynamic = 2 };

struct FormSizes {
  std::uint64_t stored;
  std::uint64_t fixed;
  std::uint64_t dynamic;  // kNoDynamic when no tree can be built
};
inline constexpr std::uint64_t kNoDynamic = std::uint64_t{1} << 30;

// A code-length symbol (0..18) and the value of its extra bits.
struct LengthSymbol {
  std::uint8_t symbol;
  std::uint8_t extra;
};

// Everything the second pass decides before it writes: the estimated size
// of each form, the chosen form, and the dynamic form's code lengths.
struct BlockPlan {
  FormSizes sizes;
  BlockForm form;
  std::array<std::uint8_t, kLiteralLengthSymbols> literal_length_lengths{};
  std::array<std::uint8_t, kDistanceSymbols> distance_lengths{};
  std::array<std::uint8_t, kCodeLengthSymbols> code_length_lengths{};
  int last_code_length_index = 0;  // highest index into kCodeLengthOrder with a length
  // Both length lists run-length coded (at most one symbol per length), made
  // once for the estimate and sent as they are.
  std::array<LengthSymbol, kLiteralLengthSymbols + kDistanceSymbols> length_symbols{};
  int length_symbol_count = 0;
};

// Stored unless fixed is smaller; then dynamic if smaller still. Equal sizes
// keep the earlier form.
BlockForm ChooseForm(const FormSizes& sizes);

// Estimates the three forms' sizes, in bytes, for `input_size` bytes whose
// first pass is `pass`, and chooses the form.
BlockPlan PlanBlocks(std::size_t input_size, const FirstPass& pass);

// Appends the compressed blocks of `input` (the tokens of `pass`) in the
// planned form to `out`: one final block, or for stored data over 65,535
// bytes as many stored blocks as it takes.
void WriteBlocks(ByteSpan input, const FirstPass& pass, const BlockPlan& plan, Bytes& out);

}  // namespace pdf::deflate_internal
