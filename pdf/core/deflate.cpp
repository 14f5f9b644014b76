// Our deflate encoder: a zlib stream (RFC 1950) around deflate data
// (RFC 1951). Two passes: the match finder turns the input into tokens and
// symbol counts; the block writer picks the form whose estimated size is
// smallest and writes it. The two-byte header is always 78 5E (32 KiB
// window, "fast" level field), whatever the form or quality, and the
// Adler-32 of the input closes the stream.

#include "pdf/core/deflate.h"

#include "pdf/core/deflate_blocks.h"
#include "pdf/core/deflate_matcher.h"
#include "pdf/core/deflate_tables.h"

namespace pdf {

Bytes DeflateEncode(ByteSpan data, int quality) {
  using namespace deflate_internal;
  // Reused between calls on one thread: the token buffer is the largest
  // allocation of a call.
  thread_local FirstPass pass;
  FindMatches(data, LevelForQuality(quality), pass);
  const BlockPlan plan = PlanBlocks(data.size(), pass);

  Bytes out;
  // The chosen form's estimate is within a few bytes of its real size.
  const std::uint64_t estimate = plan.form == BlockForm::kStored  ? plan.sizes.stored
                                 : plan.form == BlockForm::kFixed ? plan.sizes.fixed
                                                                  : plan.sizes.dynamic;
  out.reserve(static_cast<std::size_t>(estimate) + 16);
  out.push_back(0x78);
  out.push_back(0x5E);
  WriteBlocks(data, pass, plan, out);
  const std::uint32_t adler = Adler32(data);
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(adler >> shift));
  // Keep a buffer for the usual stream sizes, not for one huge input.
  if (pass.tokens.capacity() > (std::size_t{1} << 20)) pass.tokens = {};
  return out;
}

}  // namespace pdf
