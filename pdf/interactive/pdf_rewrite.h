#pragma once
// Copies the bytes of one PDF value from a source file into the text of an
// object of the document being written, token by token: the bytes between
// tokens and every token stay as they were, except references (given new
// numbers by the caller), strings (re-written by the caller, for example
// encrypted with the new object's key), the dictionary's own /Length (made
// a direct number) and, on request, white space and comments between tokens
// (one blank for each run, line ends included, so the text fits one line).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "pdf/core/bytes.h"
#include "pdf/interactive/pdf_objects.h"

namespace pdf {

struct PdfRewriteOptions {
  // The text that replaces the reference "n g R".
  std::function<std::string(std::int64_t n)> reference;
  // When set, the text that replaces each string (given its bytes).
  std::function<std::string(const std::string& bytes)> string;
  // >= 0: the value of the outermost dictionary's /Length becomes
  // " <length> " after its key.
  std::int64_t direct_length = -1;
  bool one_line = false;
};

// The value whose bytes are file[value.start, value.end).
std::string RewritePdfValue(ByteSpan file, const PdfValue& value, const PdfRewriteOptions& options);

}  // namespace pdf
