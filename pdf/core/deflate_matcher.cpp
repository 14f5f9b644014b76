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
// Candidates are found through hash chains (a head per hash bucket, a link
// per position):
//  - the three-byte chains link every position to the previous one of the
//    same bucket. The plain search walks them, passes over strings of other
//    buckets without counting them and counts every position of its own
//    three bytes against `chain`.
// The levels that keep many positions per string add, for every position:
//  - a serial number, one more than that of the previous position with the
//    same three bytes (found through the three-byte chains), so that the
//    difference of two serial numbers of one string is how many times it
//    was entered between them: a position is among the `chain` kept ones
//    exactly when the difference to the next serial number is at most
//    `chain`;
//  - links in four-byte and eight-byte chains (hashes of the first four or
//    eight bytes). Once the best match is three bytes long or more, only a
//    candidate that agrees in four bytes can be longer, and once it is
//    seven or more, only one that agrees in eight; the search walks the
//    chains of the longest key a candidate must agree in and stops at the
//    first position of its three bytes that is no longer kept. Positions
//    that cannot be longer are never visited, yet the result is the one of
//    the walk over all kept positions.
// On text most kept positions agree in three bytes only, and this search
// visits a fraction of them. On repetitive data (page content) most agree
// in many bytes anyway and the extra upkeep costs more than it saves, so
// after the first 8 KiB the finder compares how many candidates it visited
// with how many kept positions those walks spanned, and when the walks were
// spared too few steps it stops the upkeep and walks the three-byte chains
// from then on; they have been kept all along. Inputs under 16 KiB always
// take the plain walk.
// A link holds the distance back to the previous position of its chain, or
// kNoLink when there is none within 32767 bytes, and an empty head holds
// kNoPosition: both put the next candidate more than 32767 bytes back, so
// one distance test per step ends a walk for "none" and "too far" alike. Links
// and serial numbers live in rings of 32 KiB entries: a walk never follows a
// link from a position more than 32767 bytes back, and such a slot is the
// only kind a newer position can have overwritten. Serial numbers are kept
// modulo 2^16, which is exact for the differences within the window.

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "pdf/core/deflate_matcher.h"

namespace pdf::deflate_internal {
namespace {

constexpr std::size_t kRingSize = 32768;
// Never a real distance (at most 32767): stepping back by it leaves the
// window.
constexpr std::uint16_t kNoLink = 0xFFFF;
// An empty head: far below any position, so p minus it (modulo 2^64, as the
// walks compute it) is above 32767 for every p below 2^31.
constexpr std::int32_t kNoPosition = INT32_MIN;

// A candidate position as the walks use it; an empty head becomes a value
// more than 32767 below every position.
inline std::size_t Position(std::int32_t head) { return static_cast<std::size_t>(static_cast<std::int64_t>(head)); }

// Reused between calls on the same thread, so a call allocates nothing once
// the buffers have grown, and clears only the part of the head table that
// its input size needs.
// Key lengths of the longer chains: a walk takes the chains of the longest
// key that a candidate must agree in to beat the best match so far.
constexpr std::array<unsigned, 2> kKeyLength = {4, 8};
constexpr std::size_t kKeys = kKeyLength.size();

// What the longer chains keep for one position, together so that a walk
// reads a candidate's serial number and link from one place.
struct Slot {
  std::uint16_t serial;
  std::array<std::uint16_t, kKeys> link;
};

struct Workspace {
  std::vector<std::int32_t> head3;
  std::vector<std::uint16_t> link3;
  std::array<std::vector<std::int32_t>, kKeys> head;
  std::vector<Slot> slots;
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

// The results of the look-ahead walk that runs beside the search at p: the
// look-ahead itself (stop length `nice`, no floor) and the search at p + 1
// that a walk with stop length `lazy` would have given.
struct AheadResults {
  Match ahead;
  Match plain;
};

class Finder {
 public:
  Finder(ByteSpan data, const Level& level, Workspace& ws)
      : data_(data.data()),
        size_(data.size()),
        chain_(static_cast<unsigned>(level.chain)),
        // Serial numbers and four-byte chains cost time at every entered
        // position; they pay off only when many positions are kept.
        serials_(chain_ >= kSerialChain && size_ >= kSerialMinSize) {
    paired_ = !serials_ && PairedWithoutSerials();
    // The bucket counts follow the input size (the output does not depend
    // on them); 2^15 and 2^16 buckets are plenty for a 32 KiB window.
    unsigned bits = 8;
    while (bits < 15 && (std::size_t{1} << bits) < size_) ++bits;
    shift3_ = 32 - bits;
    shift4_ = 32 - bits;
    const std::size_t buckets3 = std::size_t{1} << bits;
    const std::size_t buckets4 = buckets3;
    if (ws.head3.size() < buckets3) ws.head3.resize(buckets3);
    std::fill_n(ws.head3.begin(), buckets3, kNoPosition);
    head3_ = ws.head3.data();
    ring_mask_ = std::min(kRingSize, std::bit_ceil(std::max<std::size_t>(size_, 1))) - 1;
    if (ws.link3.size() < ring_mask_ + 1) ws.link3.resize(ring_mask_ + 1);
    link3_ = ws.link3.data();
    if (serials_) {
      for (std::size_t k = 0; k < kKeys; ++k) {
        if (ws.head[k].size() < buckets4) ws.head[k].resize(buckets4);
        std::fill_n(ws.head[k].begin(), buckets4, kNoPosition);
        head_[k] = ws.head[k].data();
      }
      if (ws.slots.size() < ring_mask_ + 1) ws.slots.resize(ring_mask_ + 1);
      slots_ = ws.slots.data();
    }
  }

  // Enters p (p + 3 within the input; positions are entered in increasing
  // order, each once).
  void Insert(std::size_t p) { Add(p, Load32(data_ + p) & 0xFFFFFF); }

  // Enters from, ..., to (to + 2 within the input): one word load for each
  // position but the last triple, which has no fourth byte.
  void InsertRange(std::size_t from, std::size_t to) {
    const std::size_t last_word = std::min(to, size_ - 4);
    std::size_t p = from;
    for (; p <= last_word; ++p) Insert(p);
    for (; p <= to; ++p) Add(p, Triple(data_ + p));
  }

  // The best match for the string at p (p + 2 within the input). With a
  // `floor` above 2 only a match longer than the floor is looked for (a
  // shorter result means "none longer"); among longer ones the result is
  // the same as without it, since the same first candidate reaches the
  // longest length and the same candidate ends the walk.
  Match Longest(std::size_t p, unsigned stop, unsigned floor = 2) {
    if (!serials_) return LongestByTriples(p, stop, floor);
    const Match best = LongestKept(p, stop, floor);
    if (p >= kTrialSpan && !tried_) {
      tried_ = true;
      // The longer chains spare a walk only the kept positions that agree
      // in three bytes but not in the longer key, and their upkeep costs
      // about as much per entered position as two steps of a walk. When
      // the walks so far were spared fewer steps than that, the plain walk
      // is quicker, and it needs nothing that has not been kept all along.
      if (covered_ < visited_ + 2 * p) {
        serials_ = false;
        paired_ = PairedWithoutSerials();
      }
    }
    return best;
  }

  // Whether LongestAndAhead is used: only while the three-byte chains alone
  // are walked, and only where walks are long. With short chains and a low
  // `nice` length the look-ahead is often not needed (the match at p is
  // already long enough), and walking it anyway costs more than the overlap
  // saves.
  bool Paired() const { return paired_; }

  // The search at p (stop length `stop`) and, walked beside it, the
  // look-ahead at p + 1 (stop length `ahead_stop`, no floor), which also
  // gives the search at p + 1 with stop length `stop`. The walks follow
  // separate chains, so their loads overlap. Without a floor the look-ahead
  // returns the same match as with the floor `Longest` gives it whenever
  // that match is longer than the floor, and its walk visits the same
  // candidates. Only when Paired().
  Match LongestAndAhead(std::size_t p, unsigned stop, unsigned ahead_stop, AheadResults& ahead) const {
    Walk a = StartWalk(p, stop, 2, stop);
    Walk b = StartWalk(p + 1, ahead_stop, 2, stop);
    bool more_a = a.live, more_b = b.live;
    while (more_a && more_b) {
      more_a = Step(a);
      more_b = Step(b);
    }
    while (more_a) more_a = Step(a);
    while (more_b) more_b = Step(b);
    ahead.ahead = b.best;
    ahead.plain = Early(b);
    return a.best;
  }

 private:
  bool PairedWithoutSerials() const { return chain_ >= kPairChain && size_ >= kPairMinSize; }

  // Positions kept for a string before walking the look-ahead beside the
  // search pays.
  static constexpr unsigned kPairChain = 32;
  // In short inputs the walks are short too, and the overlap saves little.
  static constexpr std::size_t kPairMinSize = 16384;
  // Positions kept for a string before serial numbers are worth their cost.
  static constexpr unsigned kSerialChain = 64;
  // Shorter inputs rarely fill the kept positions of a string.
  static constexpr std::size_t kSerialMinSize = 16384;
  // Input length after which the longer chains are judged.
  static constexpr std::size_t kTrialSpan = 8192;

  // Gives p its serial number and enters it in the longer chains. The last
  // positions lack the bytes of the longer keys; a search uses a key's
  // chains only when its own key lies before the input's last byte, and
  // then every candidate's does too. Kept out of line so that Insert stays
  // small enough to inline.
  [[gnu::noinline]] void Enter(std::size_t p, std::uint32_t triple) {
    const std::int32_t same = NewestSame(p, triple);
    Slot& slot = slots_[p & ring_mask_];
    slot.serial = same >= 0 ? static_cast<std::uint16_t>(slots_[static_cast<std::size_t>(same) & ring_mask_].serial + 1) : 0;
    for (std::size_t k = 0; k < kKeys; ++k) {
      if (p + kKeyLength[k] >= size_) break;
      const std::uint32_t h = KeyHash(k, data_ + p);
      slot.link[k] = LinkTo(p, head_[k][h]);
      head_[k][h] = static_cast<std::int32_t>(p);
    }
  }

  // Enters p with its three bytes `triple`.
  void Add(std::size_t p, std::uint32_t triple) {
    const std::uint32_t h = Hash3(triple);
    if (serials_) Enter(p, triple);
    link3_[p & ring_mask_] = LinkTo(p, head3_[h]);
    head3_[h] = static_cast<std::int32_t>(p);
  }

  // Longest through serial numbers and the longer chains.
  Match LongestKept(std::size_t p, unsigned stop, unsigned floor) {
    Match best;
    best.length = floor;
    const std::uint8_t* const here = data_ + p;
    const unsigned limit = static_cast<unsigned>(std::min<std::size_t>(kMaxMatch, size_ - 1 - p));
    if (limit <= floor) return best;  // no candidate can be longer than the floor
    // From here p + 3 is within the input.
    const std::uint32_t here4 = Load32(here);
    const std::int32_t newest = NewestSame(p, here4 & 0xFFFFFF);
    if (newest < 0) return best;
    // Serial number p would get; a candidate c is kept while
    // next - serial(c) <= chain.
    const std::uint16_t next = static_cast<std::uint16_t>(slots_[static_cast<std::size_t>(newest) & ring_mask_].serial + 1);
    if (chain_ == 0) return best;
    if (best.length < kMinMatch) {
      // The newest position of the same three bytes is the first one a
      // walk meets, and any match beats "none".
      best.length = CommonLength(data_ + newest, here, limit);
      best.position = static_cast<std::size_t>(newest);
      ++visited_;
      ++covered_;
      if (best.length >= stop || best.length == limit) return best;
    }
    // From here a candidate must agree in at least four bytes to be longer,
    // and limit is above the best length, so the key at p is within the
    // input. The walk takes the chains of the longest key a candidate must
    // agree in.
    std::size_t key = 0;
    while (key + 1 < kKeys && best.length + 1 >= kKeyLength[key + 1]) ++key;
    std::size_t candidate = Position(head_[key][KeyHash(key, here)]);
    unsigned reached = 0;
    while (p - candidate <= static_cast<std::size_t>(kMaxDistance)) {
      const std::uint8_t* const there = data_ + candidate;
      const std::uint32_t there4 = Load32(there);
      if (((there4 ^ here4) & 0xFFFFFF) == 0) {
        // Same three bytes: its serial number says whether it is still kept;
        // chains run newest first, so no older one is kept either.
        const unsigned rank = static_cast<std::uint16_t>(next - slots_[candidate & ring_mask_].serial);
        if (rank > chain_) {
          reached = chain_;
          break;
        }
        reached = rank;
        ++visited_;
        // Only a candidate that agrees at the current best length (and the
        // byte before it) can be longer.
        if (there4 == here4 && Load16(there + best.length - 1) == Load16(here + best.length - 1)) {
          const unsigned length = CommonLength(there, here, limit);
          if (length > best.length) {
            best.length = length;
            best.position = candidate;
            // Nothing can beat the stop length, nor the longest possible.
            if (length >= stop || length == limit) break;
            // This candidate agrees in the longer key too, so it is in
            // that key's chain of p: the walk goes on there from it.
            while (key + 1 < kKeys && length >= kKeyLength[key + 1]) ++key;
          }
        }
      }
      candidate -= slots_[candidate & ring_mask_].link[key];
    }
    covered_ += reached;
    return best;
  }

  // The search of LongestByTriples in a form that visits one candidate per
  // Step, so that two searches can be walked side by side: the same
  // candidates in the same order with the same tests, and the first match
  // taken by the same test as the later ones.
  struct Walk {
    std::size_t p;
    const std::uint8_t* here;
    std::uint32_t triple;
    unsigned limit;
    unsigned stop;
    // Positions of the same three bytes still to be counted (a chain of 0,
    // never used, leaves the walk unbounded, as counting up would).
    unsigned left;
    // The candidate's distance back from p: the window test is one compare,
    // and the candidate's bytes are here - distance. Above 32767 the walk
    // is over.
    std::size_t distance;
    Match best;
    // Once the best is three long or more, only a candidate that agrees in
    // the four bytes ending at the best length can be longer (a longer one
    // agrees in every byte up to it): those bytes start at `at`, and `key`
    // holds them at p. They lie before the input's last byte.
    unsigned at = 0;
    std::uint32_t key = 0;
    // The best at the moment it first reached `early_stop`: what the same
    // walk with that stop length would have returned.
    unsigned early_stop;
    Match early;
    bool early_set = false;
    bool live;
  };

  Walk StartWalk(std::size_t p, unsigned stop, unsigned floor, unsigned early_stop) const {
    Walk w;
    w.p = p;
    w.here = data_ + p;
    w.triple = Triple(w.here);
    w.limit = static_cast<unsigned>(std::min<std::size_t>(kMaxMatch, size_ - 1 - p));
    w.stop = stop;
    w.left = chain_;
    w.distance = p - Position(head3_[Hash3(w.triple)]);
    w.best.length = floor;
    if (floor >= kMinMatch) {
      w.at = floor - 3;
      w.key = Load32(w.here + w.at);
    }
    w.early_stop = early_stop;
    w.live = w.limit > floor && w.distance <= static_cast<std::size_t>(kMaxDistance);
    return w;
  }

  // Visits the walk's current candidate and moves on; false when the walk
  // is over.
  bool Step(Walk& w) const {
    const std::uint8_t* const there = w.here - w.distance;
    // A candidate lies before p, so its fourth byte is within the input.
    // Other strings of the same bucket are passed over without counting.
    if ((Load32(there) & 0xFFFFFF) == w.triple) {
      // Before the first match any candidate of the same three bytes wins.
      if (w.best.length < kMinMatch || Load32(there + w.at) == w.key) {
        const unsigned length = CommonLength(there, w.here, w.limit);
        if (length > w.best.length) {
          w.best.length = length;
          w.best.position = w.p - w.distance;
          if (length >= w.early_stop && !w.early_set) {
            w.early = w.best;
            w.early_set = true;
          }
          if (length >= w.stop || length == w.limit) return false;
          w.at = length - 3;
          w.key = Load32(w.here + w.at);
        }
      }
      if (--w.left == 0) return false;
    }
    w.distance += link3_[(w.p - w.distance) & ring_mask_];
    return w.distance <= static_cast<std::size_t>(kMaxDistance);
  }

  static Match Early(const Walk& w) { return w.early_set ? w.early : w.best; }

  // Longest through the three-byte chains alone: every position of the same
  // three bytes is visited and counted.
  Match LongestByTriples(std::size_t p, unsigned stop, unsigned floor) const {
    Match best;
    best.length = floor;
    const std::uint8_t* const here = data_ + p;
    const std::uint32_t triple = Triple(here);
    const unsigned limit = static_cast<unsigned>(std::min<std::size_t>(kMaxMatch, size_ - 1 - p));
    if (limit <= floor) return best;
    // Positions of the same three bytes still to be counted (a chain of 0,
    // never used, would leave the walk unbounded, as counting up would).
    unsigned left = chain_;
    // The walk keeps the candidate's distance back from p: the window test
    // is then one compare, and the candidate's bytes are here - distance.
    std::size_t distance = p - Position(head3_[Hash3(triple)]);
    const auto step = [&] { distance += link3_[(p - distance) & ring_mask_]; };
    // A candidate lies before p, so its fourth byte is within the input.
    // Other strings of the same bucket are passed over without counting.
    const auto same_triple = [&](const std::uint8_t* there) { return (Load32(there) & 0xFFFFFF) == triple; };
    if (best.length < kMinMatch) {
      // Any match beats "none": the first position of the same three bytes
      // is the best so far.
      for (;; step()) {
        if (distance > static_cast<std::size_t>(kMaxDistance)) return best;
        if (same_triple(here - distance)) break;
      }
      best.length = CommonLength(here - distance, here, limit);
      best.position = p - distance;
      if (best.length >= stop || best.length == limit || --left == 0) return best;
      step();
    }
    // From here the best is at least three long, and only a candidate that
    // agrees in the four bytes ending at the best length can be longer (a
    // longer one agrees in every byte up to it), so the others are only
    // counted. Those bytes lie before the input's last byte.
    unsigned at = best.length - 3;
    std::uint32_t key = Load32(here + at);
    for (; distance <= static_cast<std::size_t>(kMaxDistance); step()) {
      const std::uint8_t* const there = here - distance;
      if (!same_triple(there)) continue;
      if (Load32(there + at) == key) {
        const unsigned length = CommonLength(there, here, limit);
        if (length > best.length) {
          best.length = length;
          best.position = p - distance;
          if (length >= stop || length == limit) break;
          at = length - 3;
          key = Load32(here + at);
        }
      }
      if (--left == 0) break;
    }
    return best;
  }

  std::uint32_t Hash3(std::uint32_t triple) const { return (triple * 0x9E3779B1u) >> shift3_; }
  // Hash of the key of chains `key` at p: its first kKeyLength[key] bytes.
  std::uint32_t KeyHash(std::size_t key, const std::uint8_t* p) const {
    const unsigned length = kKeyLength[key];
    std::uint64_t v;
    if (length == 4) {
      v = std::uint64_t{Load32(p)} * 0x9E3779B97F4A7C15ull;
    } else {
      v = Load64(p) * 0x9E3779B97F4A7C15ull;
      if (length > 8) v = (v ^ Load64(p + length - 8)) * 0xC2B2AE3D27D4EB4Full;
    }
    return static_cast<std::uint32_t>(v >> (32 + shift4_));
  }

  // The link from p to the previous position of its chain, `previous`.
  static std::uint16_t LinkTo(std::size_t p, std::int32_t previous) {
    const std::size_t back = p - Position(previous);
    return back <= static_cast<std::size_t>(kMaxDistance) ? static_cast<std::uint16_t>(back) : kNoLink;
  }

  // The newest entered position before p whose three bytes are `triple`,
  // within 32767 bytes, or -1.
  std::int32_t NewestSame(std::size_t p, std::uint32_t triple) const {
    std::size_t candidate = Position(head3_[Hash3(triple)]);
    while (p - candidate <= static_cast<std::size_t>(kMaxDistance)) {
      // A candidate lies before p, so its fourth byte is within the input.
      if ((Load32(data_ + candidate) & 0xFFFFFF) == triple) return static_cast<std::int32_t>(candidate);
      candidate -= link3_[candidate & ring_mask_];
    }
    return -1;
  }

  const std::uint8_t* data_;
  std::size_t size_;
  unsigned chain_;
  bool serials_;
  bool paired_ = false;
  bool tried_ = false;
  std::size_t visited_ = 0;
  std::size_t covered_ = 0;
  unsigned shift3_ = 0;
  unsigned shift4_ = 0;
  std::int32_t* head3_ = nullptr;
  std::uint16_t* link3_ = nullptr;
  std::array<std::int32_t*, kKeys> head_{};
  Slot* slots_ = nullptr;
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
    // The loop comes in two forms: searches one at a time, and the search
    // at p walked together with the look-ahead at p + 1 (see
    // LongestAndAhead). The first form runs until the finder pairs its
    // walks, which it may start doing part way.
    const auto scan = [&]<bool kPaired>() {
      // The search at p, when the look-ahead walk of the position before
      // has made it already.
      bool searched = false;
      Match next;
      AheadResults walked;
      while (p + 3 <= size - 1) {
        Match match;
        bool ahead_walked = false;
        if constexpr (kPaired) {
          ahead_walked = !searched;
          match = searched ? next : finder.LongestAndAhead(p, lazy, nice, walked);
          searched = false;
        } else {
          if (finder.Paired()) return;
          match = finder.Longest(p, lazy);
        }
        if (match.length >= kMinMatch && match.length < nice) {
          // p is not entered yet, so the look-ahead cannot match at
          // distance 1.
          const Match ahead = ahead_walked ? walked.ahead : finder.Longest(p + 1, nice, match.length);
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
          // The look-ahead walk was the search at p + 1 too, made before p
          // was entered: p, now the newest position, changes that search
          // only when it has the same three bytes (in another bucket it is
          // never met; in the same bucket with other bytes it is passed
          // over).
          if (ahead_walked && Triple(bytes + p) != Triple(bytes + p + 1)) {
            searched = true;
            next = walked.plain;
          }
          ++p;
          continue;
        }
        const unsigned distance = static_cast<unsigned>(p - match.position);
        out.tokens.push_back(MakeMatch(match.length, distance));
        ++out.literal_length_freq[257 + kLengthCodeOf[match.length]];
        ++out.distance_freq[static_cast<std::size_t>(DistanceCode(distance))];
        finder.InsertRange(p, std::min(p + match.length - 1, last_triple));
        p += match.length;
      }
    };
    scan.template operator()<false>();
    scan.template operator()<true>();
  }
  for (; p < size; ++p) literal(p);
  out.literal_length_freq[kEndOfBlock] = 1;
}

}  // namespace pdf::deflate_internal
