// Huffman trees for our deflate encoder.
//
// The tree joins the two lightest live nodes again and again. Nodes are
// numbered: the used symbols first, in symbol order, then every joined node
// in the order it was made. On equal weights the node with the higher number
// counts as the lighter; that tie-break fixes the code lengths and therefore
// the output. A heap ordered by (weight, reversed number) yields exactly the
// nodes a scan over all nodes with that rule would pick, in n log n.
//
// When the tree is deeper than the limit, the count of codes per length is
// brought within it by the length-limiting adjustment of the JPEG standard
// (ITU-T T.81, Annex K.3), and the lengths are handed out again: symbols in
// order of their depth in the tree (equal depths in symbol order) receive
// the adjusted lengths shortest first.

#include <algorithm>
#include <array>

#include "pdf/core/deflate_huffman.h"

namespace pdf::deflate_internal {
namespace {

constexpr int kMaxSymbols = 288;
constexpr int kMaxNodes = 2 * kMaxSymbols - 1;
constexpr std::uint64_t kIndexRange = 1024;  // above kMaxNodes

// A binary min-heap of keys in a fixed array: no allocation per tree, and
// the join step replaces the top instead of a pop followed by a push.
class KeyHeap {
 public:
  void Add(std::uint64_t key) { keys_[size_++] = key; }
  void Heapify() {
    for (std::size_t i = size_ / 2; i-- > 0;) SiftDown(i);
  }
  std::size_t size() const { return size_; }
  std::uint64_t top() const { return keys_[0]; }
  void Pop() {
    keys_[0] = keys_[--size_];
    SiftDown(0);
  }
  void ReplaceTop(std::uint64_t key) {
    keys_[0] = key;
    SiftDown(0);
  }

 private:
  void SiftDown(std::size_t i) {
    const std::uint64_t key = keys_[i];
    for (;;) {
      std::size_t child = 2 * i + 1;
      if (child >= size_) break;
      if (child + 1 < size_ && keys_[child + 1] < keys_[child]) ++child;
      if (keys_[child] >= key) break;
      keys_[i] = keys_[child];
      i = child;
    }
    keys_[i] = key;
  }

  std::array<std::uint64_t, kMaxSymbols> keys_;
  std::size_t size_ = 0;
};

// Bytes with their bits in reverse order.
constexpr auto kReversedByte = [] {
  std::array<std::uint8_t, 256> table{};
  for (unsigned b = 0; b < 256; ++b) {
    unsigned r = 0;
    for (unsigned i = 0; i < 8; ++i) r |= ((b >> i) & 1u) << (7 - i);
    table[b] = static_cast<std::uint8_t>(r);
  }
  return table;
}();

}  // namespace

bool BuildCodeLengths(std::span<const std::uint64_t> freq, int limit, std::span<std::uint8_t> lengths) {
  std::fill(lengths.begin(), lengths.end(), std::uint8_t{0});
  std::array<int, kMaxSymbols> symbol_of{};  // node number -> symbol, for the leaves
  int used = 0;
  for (std::size_t s = 0; s < freq.size(); ++s)
    if (freq[s] != 0) symbol_of[static_cast<std::size_t>(used++)] = static_cast<int>(s);
  if (used == 0) return false;
  if (used == 1) {
    lengths[static_cast<std::size_t>(symbol_of[0])] = 1;
    return true;
  }

  // Heap keys: weight, then the node number reversed so that the higher
  // number of two equal weights comes out first.
  KeyHeap heap;
  auto key = [](std::uint64_t weight, int node) {
    return weight * kIndexRange + (kIndexRange - 1 - static_cast<std::uint64_t>(node));
  };
  for (int n = 0; n < used; ++n)
    heap.Add(key(freq[static_cast<std::size_t>(symbol_of[static_cast<std::size_t>(n)])], n));
  heap.Heapify();
  std::array<int, kMaxNodes> parent{};
  int next = used;
  while (heap.size() > 1) {
    const std::uint64_t a = heap.top();
    heap.Pop();
    const std::uint64_t b = heap.top();
    const int na = static_cast<int>(kIndexRange - 1 - a % kIndexRange);
    const int nb = static_cast<int>(kIndexRange - 1 - b % kIndexRange);
    parent[static_cast<std::size_t>(na)] = next;
    parent[static_cast<std::size_t>(nb)] = next;
    heap.ReplaceTop(key(a / kIndexRange + b / kIndexRange, next));
    ++next;
  }
  // Every node's parent has a higher number, so one pass downward from the
  // root gives every depth.
  const int root = next - 1;
  std::array<int, kMaxNodes> depth{};
  depth[static_cast<std::size_t>(root)] = 0;
  int deepest = 0;
  for (int n = root - 1; n >= 0; --n) {
    depth[static_cast<std::size_t>(n)] = depth[static_cast<std::size_t>(parent[static_cast<std::size_t>(n)])] + 1;
    if (n < used) deepest = std::max(deepest, depth[static_cast<std::size_t>(n)]);
  }

  if (deepest <= limit) {
    for (int n = 0; n < used; ++n)
      lengths[static_cast<std::size_t>(symbol_of[static_cast<std::size_t>(n)])] =
          static_cast<std::uint8_t>(depth[static_cast<std::size_t>(n)]);
    return true;
  }

  // Too deep: adjust the counts per length (Kraft sum unchanged by each step).
  // A tree of at most 288 leaves is at most 287 deep.
  std::array<int, kMaxSymbols> count{};
  for (int n = 0; n < used; ++n) ++count[static_cast<std::size_t>(depth[static_cast<std::size_t>(n)])];
  for (int i = deepest; i > limit; --i) {
    while (count[static_cast<std::size_t>(i)] > 0) {
      int j = i - 2;
      while (j > 1 && count[static_cast<std::size_t>(j)] == 0) --j;
      count[static_cast<std::size_t>(i)] -= 2;
      count[static_cast<std::size_t>(i - 1)] += 1;
      count[static_cast<std::size_t>(j + 1)] += 2;
      count[static_cast<std::size_t>(j)] -= 1;
    }
  }
  // Hand the lengths out again, shallowest symbols first.
  std::array<int, kMaxSymbols> order{};
  for (int n = 0; n < used; ++n) order[static_cast<std::size_t>(n)] = n;
  std::stable_sort(order.begin(), order.begin() + used, [&](int a, int b) {
    return depth[static_cast<std::size_t>(a)] < depth[static_cast<std::size_t>(b)];
  });
  int length = 1;
  for (int k = 0; k < used; ++k) {
    while (count[static_cast<std::size_t>(length)] == 0) ++length;
    --count[static_cast<std::size_t>(length)];
    lengths[static_cast<std::size_t>(symbol_of[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])])] =
        static_cast<std::uint8_t>(length);
  }
  return true;
}

void BuildCanonicalCodes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes) {
  std::array<unsigned, 16> count{};
  for (std::uint8_t l : lengths) ++count[l];
  count[0] = 0;
  std::array<unsigned, 16> next{};
  unsigned code = 0;
  for (int n = 1; n < 16; ++n) {
    code = (code + count[static_cast<std::size_t>(n - 1)]) << 1;
    next[static_cast<std::size_t>(n)] = code;
  }
  for (std::size_t s = 0; s < lengths.size(); ++s) {
    const unsigned n = lengths[s];
    if (n == 0) {
      codes[s] = 0;
      continue;
    }
    const unsigned c = next[n]++;
    // The code's n bits reversed: both bytes of the 16-bit value reversed
    // and swapped, then shifted down to n bits.
    const unsigned reversed16 = static_cast<unsigned>(kReversedByte[c & 0xFF]) << 8 | kReversedByte[(c >> 8) & 0xFF];
    codes[s] = static_cast<std::uint16_t>(reversed16 >> (16 - n));
  }
}

}  // namespace pdf::deflate_internal
