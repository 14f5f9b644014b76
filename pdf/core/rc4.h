#pragma once
// RC4 stream cipher, used by the standard security handler.

#include <array>
#include <cstdint>
#include <span>

#include "pdf/core/bytes.h"

namespace pdf {

// The permutation after the key schedule; cached per object key so that a
// stream and its strings do not redo the schedule. Applying it never changes
// the schedule itself: each call starts from it afresh.
struct Rc4Schedule {
  std::array<std::uint8_t, 256> s{};
};

Rc4Schedule Rc4Prepare(ByteSpan key);
void Rc4Apply(const Rc4Schedule& schedule, std::span<std::uint8_t> data);
// One-shot: schedule the key and encrypt (or decrypt) `data` in place.
void Rc4(ByteSpan key, std::span<std::uint8_t> data);

}  // namespace pdf
