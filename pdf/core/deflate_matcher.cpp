// LZ77 match finding for our deflate encoder.
//
// The rules that fix the output:
//  - For every three-byte string the finder keeps the `chain` most recent
//    positions where it was entered, newest first; older ones are forgotten.
//  - A search visits those positions newest first, stops at the first one
//    more than 32767 bytes back, takes a longer match only when it is
//    strictly longer, and stops as soon as the best reaches its stop length.
//  - A match never takes in the input's last byte and is at most 258 long.
//  - One-step lazy evaluation: after the search at p (stop length `lazy`),
//    when the match is shorter than `nice`, the search at p + 1 (stop
//    length `nice`) runs before p itself is entered, and wins only when it
//    is strictly longer. A winning look-ahead is taken as it is: there is no
//    further look-ahead from p + 1.
//  - A three-byte match more than 4096 bytes back is written as literals.
//  - The last three bytes are literals and are never entered.
//
// The search at a position happens in two stages, first up to the `good`
// length and then, from where the first stopped, up to `lazy`; a longer
// result of the second stage replaces the first. Because both stages walk
// the same list in the same order with the same strict comparison, that is
// exactly one walk bounded by `lazy`, which is what this file does.
//
// Positions are kept in hash chains (a head per hash bucket, a link per
// position) instead of a tree of byte values: a walk skips positions whose
// three bytes differ from the searched ones and counts only equal ones
// against `chain`, so it sees exactly the positions the rules above name.
// A link holds the distance back to the previous position of the same
// bucket, or 0 when there is none within 32767 bytes (a walk stops there
// anyway). The links live in a ring of 32 KiB entries: a walk never follows
// a link from a position more than 32767 bytes back, and such a slot is the
// only kind a newer position can have overwritten. Links of two bytes keep
// the ring small enough to stay in the fastest caches.

#include <algorithm>
#include <bit>
#include <cstring>

#include "pdf/core/deflate_matcher.h"

namespace pdf::deflate_internal {
namespace {

constexpr std::size_t kRingSize = 32768;

// Reused between calls on the same thread, so a call allocates nothing once
// the buffers have grown, and clears only the part of the head table that
// its input size needs.
struct Workspace {
  std::vector<std::int32_t> head;
  std::vector<std::uint16_t> link;
};

Workspace& ThreadWorkspace() {
  thread_local Workspace workspace;
  return workspace;
}

inline std::uint32_t Triple(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16;
}

inline std::uint32_t Load32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap32(v);
  return v;
}

inline std::uint16_t Load16(const std::uint8_t* p) {
  std::uint16_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline std::uint64_t Load64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// Length of the common run of a and b, knowing the first three bytes agree,
// never more than `limit` (which is at least 2).
inline unsigned CommonLength(const std::uint8_t* a, const std::uint8_t* b, unsigned limit) {
  if (limit <= 3) return limit;
  unsigned j = 3;
  while (j + 8 <= limit) {
    const std::uint64_t x = Load64(a + j) ^ Load64(b + j);
    if (x != 0) {
      if constexpr (std::endian::native == std::endian::little)
        return j + static_cast<unsigned>(std::countr_zero(x)) / 8;
      else
        return j + static_cast<unsigned>(std::countl_zero(x)) / 8;
    }
    j += 8;
  }
  while (j < limit && a[j] == b[j]) ++j;
  return j;
}

struct Match {
  unsigned length = 2;  // below 3: no match
  std::size_t position = 0;
};

class Finder {
 public:
  Finder(ByteSpan data, const Level& level, Workspace& ws)
      : data_(data.data()), size_(data.size()), chain_(static_cast<unsigned>(level.chain)) {
    // The bucket count follows the input size (the output does not depend
    // on it); 2^15 buckets are plenty for a 32 KiB window.
    unsigned bits = 8;
    while (bits < 15 && (std::size_t{1} << bits) < size_) ++bits;
    hash_shift_ = 32 - bits;
    const std::size_t buckets = std::size_t{1} << bits;
    if (ws.head.size() < buckets) ws.head.resize(buckets);
    std::fill_n(ws.head.begin(), buckets, -1);
    head_ = ws.head.data();
    ring_mask_ = std::min(kRingSize, std::bit_ceil(std::max<std::size_t>(size_, 1))) - 1;
    if (ws.link.size() < ring_mask_ + 1) ws.link.resize(ring_mask_ + 1);
    link_ = ws.link.data();
  }

  void Insert(std::size_t p) {
    const std::uint32_t h = Hash(Triple(data_ + p));
    const std::int32_t previous = head_[h];
    const std::size_t back = previous >= 0 ? p - static_cast<std::size_t>(previous) : 0;
    link_[p & ring_mask_] = back <= static_cast<std::size_t>(kMaxDistance) ? static_cast<std::uint16_t>(back) : 0;
    head_[h] = static_cast<std::int32_t>(p);
  }

  // The best match for the string at p (p + 2 within the input). With a
  // `floor` above 2 only a match longer than the floor is looked for (a
  // shorter result means "none longer"); among longer ones the result is
  // the same as without it, since the same first candidate reaches the
  // longest length and the same candidate ends the walk.
  Match Longest(std::size_t p, unsigned stop, unsigned floor = 2) const {
    Match best;
    best.length = floor;
    const std::uint8_t* const here = data_ + p;
    const std::uint32_t triple = Triple(here);
    const unsigned limit = static_cast<unsigned>(std::min<std::size_t>(kMaxMatch, size_ - 1 - p));
    if (limit <= floor) return best;  // no candidate can be longer than the floor
    unsigned visited = 0;
    const std::int32_t first = head_[Hash(triple)];
    if (first < 0) return best;
    std::size_t candidate = static_cast<std::size_t>(first);
    for (;;) {
      if (p - candidate > static_cast<std::size_t>(kMaxDistance)) break;
      const std::uint8_t* const there = data_ + candidate;
      // A candidate lies before p, so its fourth byte is within the input.
      // Other strings of the same bucket are passed over without counting.
      if ((Load32(there) & 0xFFFFFF) == triple) {
        // Only a candidate that agrees at the current best length (and the
        // byte before it) can be longer, so the others are only counted.
        if (Load16(there + best.length - 1) == Load16(here + best.length - 1)) {
          const unsigned length = CommonLength(there, here, limit);
          if (length > best.length) {
            best.length = length;
            best.position = candidate;
            // Nothing can beat the stop length, nor the longest possible.
            if (length >= stop || length == limit) break;
          }
        }
        if (++visited == chain_) break;
      }
      const std::uint16_t back = link_[candidate & ring_mask_];
      if (back == 0) break;
      candidate -= back;
      __builtin_prefetch(data_ + candidate);
    }
    return best;
  }

 private:
  std::uint32_t Hash(std::uint32_t triple) const { return (triple * 0x9E3779B1u) >> hash_shift_; }

  const std::uint8_t* data_;
  std::size_t size_;
  unsigned chain_;
  unsigned hash_shift_ = 0;
  std::int32_t* head_ = nullptr;
  std::uint16_t* link_ = nullptr;
  std::size_t ring_mask_ = 0;
};

}  // namespace

void FindMatches(ByteSpan data, const Level& level, FirstPass& out) {
  out.tokens.clear();
  out.literal_length_freq.fill(0);
  out.distance_freq.fill(0);
  const std::size_t size = data.size();
  const std::uint8_t* bytes = data.data();
  out.tokens.reserve(size / 2 + 16);

  auto literal = [&](std::size_t p) {
    out.tokens.push_back(bytes[p]);
    ++out.literal_length_freq[bytes[p]];
  };

  std::size_t p = 0;
  if (size >= 4) {
    Finder finder(data, level, ThreadWorkspace());
    const unsigned lazy = static_cast<unsigned>(level.lazy);
    const unsigned nice = static_cast<unsigned>(level.nice);
    const std::size_t last_triple = size - 3;
    while (p + 3 <= size - 1) {
      Match match = finder.Longest(p, lazy);
      if (match.length >= kMinMatch && match.length < nice) {
        // p is not entered yet, so the look-ahead cannot match at distance 1.
        const Match ahead = finder.Longest(p + 1, nice, match.length);
        if (ahead.length > match.length) {
          literal(p);
          finder.Insert(p);
          ++p;
          match = ahead;
        }
      }
      if (match.length == kMinMatch && p - match.position > static_cast<std::size_t>(kFarLengthThreeDistance))
        match.length = 1;
      if (match.length < kMinMatch) {
        literal(p);
        finder.Insert(p);
        ++p;
        continue;
      }
      const unsigned distance = static_cast<unsigned>(p - match.position);
      out.tokens.push_back(MakeMatch(match.length, distance));
      ++out.literal_length_freq[257 + kLengthCodeOf[match.length]];
      ++out.distance_freq[static_cast<std::size_t>(DistanceCode(distance))];
      const std::size_t end = std::min(p + match.length - 1, last_triple);
      for (std::size_t q = p; q <= end; ++q) finder.Insert(q);
      p += match.length;
    }
  }
  for (; p < size; ++p) literal(p);
  out.literal_length_freq[kEndOfBlock] = 1;
}

}  // namespace pdf::deflate_internal
