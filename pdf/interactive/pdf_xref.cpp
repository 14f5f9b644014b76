// Classic cross-reference sections and their trailers, read with the PDF
// lexer (so entries of 19, 20 or 21 bytes and any white space between them
// are all read alike) and bounded by the file: a section's object numbers
// must stay within kMaxPdfObjectNumber, and entries are only stored as they
// are actually read from the file, so a lying count cannot make a table
// larger than the entries present.

#include "pdf/interactive/pdf_xref.h"

#include <set>
#include <string_view>

namespace pdf {

namespace {

constexpr std::size_t kTailWindow = 1024;

bool IsObjectReference(const PdfValue* v) {
  return v != nullptr && v->Is(PdfValue::Type::kRef) && v->integer > 0 && v->integer <= kMaxPdfObjectNumber;
}

// One section at the offset: its entries (where `seen` has none yet) and
// its trailer dictionary.
PdfStatus ReadSection(ByteSpan file, std::size_t offset, PdfXref& xref, std::vector<bool>& seen,
                      PdfValue& trailer) {
  PdfLexer lexer(file, offset);
  const PdfToken head = lexer.Next();
  if (head.kind == PdfTokenKind::kInteger) {
    return PdfStatus::Format("cross-reference streams are not supported (offset " +
                             std::to_string(offset) + ")");
  }
  if (!head.IsKeyword("xref")) {
    return PdfStatus::Format("no cross-reference table at offset " + std::to_string(offset));
  }
  for (;;) {
    const PdfToken first = lexer.Next();
    if (first.IsKeyword("trailer")) break;
    const PdfToken count = lexer.Next();
    if (first.kind != PdfTokenKind::kInteger || count.kind != PdfTokenKind::kInteger ||
        first.integer < 0 || count.integer < 0 || first.integer > kMaxPdfObjectNumber ||
        count.integer > kMaxPdfObjectNumber + 1 - first.integer) {
      return PdfStatus::Format("malformed cross-reference subsection at offset " +
                               std::to_string(first.start));
    }
    for (std::int64_t i = first.integer; i < first.integer + count.integer; ++i) {
      const PdfToken where = lexer.Next();
      const PdfToken generation = lexer.Next();
      const PdfToken type = lexer.Next();
      if (where.kind != PdfTokenKind::kInteger || generation.kind != PdfTokenKind::kInteger ||
          !(type.IsKeyword("n") || type.IsKeyword("f"))) {
        return PdfStatus::Format("malformed cross-reference entry at offset " +
                                 std::to_string(where.start));
      }
      const auto n = static_cast<std::size_t>(i);
      if (n >= seen.size()) {
        seen.resize(n + 1, false);
        xref.offsets.resize(n + 1, 0);
      }
      if (seen[n]) continue;
      seen[n] = true;
      // A free entry, offset 0 (the file's header) and an offset outside the
      // file all leave the object missing.
      if (type.IsKeyword("n") && where.integer > 0 && static_cast<std::uint64_t>(where.integer) < file.size())
        xref.offsets[n] = static_cast<std::int32_t>(where.integer);
    }
  }
  PdfStatus s = ParsePdfValue(lexer, trailer);
  if (!s.ok()) return s;
  if (!trailer.Is(PdfValue::Type::kDict)) return PdfStatus::Format("the trailer is not a dictionary");
  return PdfStatus::Ok();
}

}  // namespace

PdfStatus FindStartXref(ByteSpan file, std::size_t& offset) {
  const std::size_t from = file.size() > kTailWindow ? file.size() - kTailWindow : 0;
  const std::string_view tail(reinterpret_cast<const char*>(file.data()) + from, file.size() - from);
  const std::size_t at = tail.rfind("startxref");
  if (at == std::string_view::npos) return PdfStatus::Format("no \"startxref\" near the end of the file");
  PdfLexer lexer(file, from + at + 9);
  const PdfToken t = lexer.Next();
  if (t.kind != PdfTokenKind::kInteger || t.integer < 0 || static_cast<std::uint64_t>(t.integer) >= file.size())
    return PdfStatus::Format("the \"startxref\" offset lies outside the file");
  offset = static_cast<std::size_t>(t.integer);
  return PdfStatus::Ok();
}

PdfStatus ReadPdfXref(ByteSpan file, PdfXref& xref) {
  xref = PdfXref{};
  if (file.size() > kMaxPdfFileSize) return PdfStatus::Format("the file is larger than 2 GiB");
  std::size_t offset = 0;
  PdfStatus s = FindStartXref(file, offset);
  if (!s.ok()) return s;
  std::vector<bool> seen;
  std::set<std::size_t> read;
  for (;;) {
    read.insert(offset);
    PdfValue trailer;
    s = ReadSection(file, offset, xref, seen, trailer);
    if (!s.ok()) return s;
    if (trailer.Find("Encrypt") != nullptr) {
      xref.encrypted = true;
      return PdfStatus::Ok();
    }
    if (trailer.Find("XRefStm") != nullptr) return PdfStatus::Format("object streams are not supported");
    const PdfValue* root = trailer.Find("Root");
    const PdfValue* info = trailer.Find("Info");
    if (xref.root == 0 && IsObjectReference(root)) xref.root = static_cast<std::int32_t>(root->integer);
    if (xref.info == 0 && IsObjectReference(info)) xref.info = static_cast<std::int32_t>(info->integer);
    const PdfValue* prev = trailer.Find("Prev");
    std::int32_t next = 0;
    if (prev == nullptr || !prev->ToInt32(next)) break;
    if (next < 0 || static_cast<std::size_t>(next) >= file.size()) {
      return PdfStatus::Format("/Prev points outside the file");
    }
    if (read.count(static_cast<std::size_t>(next)) != 0) break;  // a section already read
    offset = static_cast<std::size_t>(next);
  }
  if (xref.root == 0) return PdfStatus::Format("the trailer has no /Root");
  return PdfStatus::Ok();
}

}  // namespace pdf
