#pragma once
// A parsed PDF file read as a source of pages: its objects by number (from
// the cross-reference offsets), the page tree walked to the list of page
// objects, the attributes a page inherits from its ancestors, and the texts
// of the document information dictionary. Pure functions of the file's
// bytes and offsets; every walk keeps a visited set and a depth limit, so
// cycles in /Kids, /Parent or references end with a failure.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/core/bytes.h"
#include "pdf/interactive/pdf_objects.h"

namespace pdf {

// Page trees deeper than this are refused.
constexpr int kMaxPageTreeDepth = 64;
// The most pages a source may have.
constexpr std::int32_t kMaxSourcePages = 32767;

class PdfSourceFile : public PdfObjectReader {
 public:
  PdfSourceFile(ByteSpan file, const std::vector<std::int32_t>& offsets)
      : file_(file), offsets_(offsets) {}

  ByteSpan File() const { return file_; }
  // Object n; a number outside the table, free or unlisted reads as missing.
  PdfStatus ReadObject(std::int64_t n, bool with_stream, PdfObject& out) const;
  // A reference resolved to the referenced object's value (null when that
  // is missing); any other value as it is.
  PdfStatus Resolve(const PdfValue& value, PdfValue& out) const;
  // The page objects below the page-tree root, in document order.
  PdfStatus CollectPages(std::int32_t root, std::vector<std::int32_t>& pages) const;
  // The value of key in the page dictionary or its nearest ancestor that
  // has it, resolved; null when none has it.
  PdfStatus InheritedValue(const PdfValue& page, std::string_view key, PdfValue& out) const;

  PdfStatus IndirectLength(std::int64_t n, std::int64_t& length) const override;

 private:
  PdfStatus Collect(std::int32_t node, int depth, std::vector<bool>& visited,
                    std::vector<std::int32_t>& pages) const;

  ByteSpan file_;
  const std::vector<std::int32_t>& offsets_;
};

// The version increment of the file's header: the minor digit of
// "%PDF-1.d" minus 3, at least 0; 0 without a header of that form.
std::int32_t HeaderVersionIncrement(ByteSpan file);

// A document information value as text: strings converted to
// Windows-1252 from PDFDocEncoding, or from UTF-16BE or UTF-8 after their
// byte-order marks (FE FF, EF BB BF), dropping control characters and
// characters Windows-1252 cannot hold; names with their "/", numbers as
// whole numbers; anything else empty.
std::string InfoValueText(const PdfValue& value);

}  // namespace pdf
