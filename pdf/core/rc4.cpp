// RC4: the key schedule is kept apart from the keystream so that a cached
// schedule can serve any number of strings and streams of one object.

#include "pdf/core/rc4.h"

#include <stdexcept>
#include <utility>

namespace pdf {

Rc4Schedule Rc4Prepare(ByteSpan key) {
  // The schedule cycles through the key bytes; an empty key has none.
  if (key.empty()) throw std::invalid_argument("RC4 key is empty");
  Rc4Schedule schedule;
  auto& s = schedule.s;
  for (int i = 0; i < 256; ++i) s[i] = static_cast<std::uint8_t>(i);
  std::uint8_t j = 0;
  std::size_t k = 0;
  for (int i = 0; i < 256; ++i) {
    j = static_cast<std::uint8_t>(j + s[i] + key[k]);
    if (++k == key.size()) k = 0;
    std::swap(s[i], s[j]);
  }
  return schedule;
}

void Rc4Apply(const Rc4Schedule& schedule, std::span<std::uint8_t> data) {
  // Work on a copy: the cached schedule must stay as the key made it.
  std::uint8_t s[256];
  for (int i = 0; i < 256; ++i) s[i] = schedule.s[i];
  std::uint8_t i = 0, j = 0;
  for (auto& byte : data) {
    i = static_cast<std::uint8_t>(i + 1);
    const std::uint8_t si = s[i];
    j = static_cast<std::uint8_t>(j + si);
    const std::uint8_t sj = s[j];
    s[i] = sj;
    s[j] = si;
    byte ^= s[static_cast<std::uint8_t>(si + sj)];
  }
}

void Rc4(ByteSpan key, std::span<std::uint8_t> data) {
  if (data.empty()) return;
  Rc4Apply(Rc4Prepare(key), data);
}

}  // namespace pdf
