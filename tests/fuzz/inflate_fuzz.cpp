// Feeds any bytes to our inflate decoder and to zlib's, as raw deflate
// data, and checks that they agree: whatever zlib decodes we decode to the
// same bytes, and we accept nothing zlib refuses except the symbol values
// our decoder is documented to take (length symbols 286/287, distance
// symbols 30/31, more than 286/30 declared lengths). The same bytes also go
// through our encoder and back through zlib.
#include <zlib.h>

#include <cstring>

#include "pdf/core/deflate.h"
#include "pdf/core/inflate.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr std::size_t kLimit = 1 << 18;

struct ZlibResult {
  bool ok = false;
  bool out_of_room = false;
  std::string message;
  pdf::Bytes data;
};

ZlibResult ZlibInflate(const std::uint8_t* data, std::size_t size, int window_bits) {
  ZlibResult r;
  z_stream z{};
  fuzz::Check(inflateInit2(&z, window_bits) == Z_OK, "inflateInit2");
  r.data.resize(kLimit);
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = static_cast<uInt>(size);
  z.next_out = r.data.data();
  z.avail_out = static_cast<uInt>(r.data.size());
  const int rc = inflate(&z, Z_FINISH);
  r.ok = rc == Z_STREAM_END;
  r.out_of_room = rc == Z_BUF_ERROR && z.avail_out == 0;
  if (z.msg) r.message = z.msg;
  r.data.resize(z.total_out);
  inflateEnd(&z);
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pdf::ByteSpan input(data, size);
  const pdf::InflateResult ours = pdf::InflateData(input, kLimit);
  const ZlibResult theirs = ZlibInflate(data, size, -15);
  const bool ours_ok = ours.status == pdf::InflateStatus::kOk;
  if (theirs.ok) {
    fuzz::Check(ours_ok, "zlib decodes what we refuse");
    fuzz::Check(ours.data == theirs.data, "decoded bytes differ");
  } else if (ours_ok && !theirs.out_of_room) {
    static const char* const kTolerated[] = {"invalid literal/length code", "invalid distance code",
                                             "too many length or distance symbols",
                                             "invalid distance too far back"};
    bool tolerated = false;
    for (const char* m : kTolerated) tolerated = tolerated || theirs.message == m;
    fuzz::Check(tolerated, ("we decode what zlib refuses: " + theirs.message).c_str());
  }
  fuzz::Check(ours_ok || ours.data.empty(), "data returned with an error");

  // Our encoder on the same bytes, decoded by zlib and by us.
  const int quality = size > 0 ? data[0] & 3 : 0;
  const pdf::Bytes packed = pdf::DeflateEncode(input, quality);
  const ZlibResult back = ZlibInflate(packed.data(), packed.size(), 15);
  fuzz::Check(back.ok && back.data == pdf::Bytes(data, data + size), "our encoder's stream does not round-trip in zlib");
  const pdf::InflateResult again = pdf::InflateZlib(packed, kLimit);
  fuzz::Check(again.status == pdf::InflateStatus::kOk && again.data == back.data,
              "our encoder's stream does not round-trip in ours");
  return 0;
}
