#include "pdf/core/file_identifier.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <random>

#include "pdf/core/bytes.h"
#include "pdf/core/md5.h"

namespace pdf {
namespace {

// Identifiers made by this process so far: two documents protected in the
// same instant by one process still differ by it.
std::atomic<std::uint64_t> identifiers_made{0};

template <typename T>
void AppendValue(Bytes& out, const T& value) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(&value);
  out.insert(out.end(), p, p + sizeof value);
}

}  // namespace

FileIdentifier NewFileIdentifier(std::string_view Producer, const void* Writer) {
  Bytes seed(as_bytes(Producer).begin(), as_bytes(Producer).end());
  AppendValue(seed, std::chrono::system_clock::now().time_since_epoch().count());
  AppendValue(seed, std::chrono::steady_clock::now().time_since_epoch().count());
  AppendValue(seed, Writer);
  AppendValue(seed, identifiers_made.fetch_add(1));
  try {
    std::random_device random;
    for (int i = 0; i < 4; ++i) AppendValue(seed, random());
  } catch (const std::exception&) {
    // Without a random source, the clocks and the count still tell two
    // documents apart.
  }
  return Md5(seed);
}

}  // namespace pdf
