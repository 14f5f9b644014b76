#pragma once
// Our inflate decoder: deflate data (RFC 1951) back into bytes, for the
// /FlateDecode streams that the page import reads from other files. Every
// input is outside data, so every read is bounds-checked and every fault
// ends the decode with a status instead of a crash or a hang; the caller
// also bounds the output size.

#include <cstddef>
#include <string_view>

#include "pdf/core/bytes.h"

namespace pdf {

enum class InflateStatus {
  kOk,
  kTruncated,         // the input ends before the final block does
  kBadBlockType,      // block type 3
  kBadStoredLength,   // NLEN is not the one's complement of LEN
  kBadCodeLengths,    // a code that is over-subscribed, incomplete, empty or badly repeated
  kBadCode,           // bits that match no code of the block's tables
  kBadDistance,       // a copy from before the first output byte
  kOutputLimit,       // the output would exceed the caller's limit
  kBadHeader,         // zlib header: wrong method, window, check bits, or a preset dictionary
  kBadChecksum,       // zlib trailer: the Adler-32 differs
};

// A short English description of a status, for error messages.
std::string_view InflateStatusText(InflateStatus status);

struct InflateResult {
  InflateStatus status = InflateStatus::kOk;
  Bytes data;                // the decoded bytes; empty unless status is kOk
  std::size_t consumed = 0;  // input bytes read up to the end of the final block
};

// Decodes raw deflate data (no zlib header). Decoding ends with the final
// block; bytes after it (for example a zlib trailer) are not read. At most
// `max_output` bytes are produced: a larger result is kOutputLimit.
//
// Besides the format's own codes, two symbol values that no encoder writes
// are accepted: length symbols 286 and 287 copy nothing, and distance
// symbols 30 and 31 reach 32769 and 49153 (plus 14 extra bits) bytes back;
// code-length headers may declare up to 288 and 32 lengths.
InflateResult InflateData(ByteSpan data, std::size_t max_output);

// Decodes a whole zlib stream (RFC 1950): checks the two-byte header,
// decodes the deflate data and checks the Adler-32 trailer.
InflateResult InflateZlib(ByteSpan data, std::size_t max_output);

}  // namespace pdf
