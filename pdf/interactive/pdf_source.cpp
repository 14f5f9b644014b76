// Objects, the page tree, inherited page attributes and information texts
// of a source file.

#include "pdf/interactive/pdf_source.h"

#include <cmath>
#include <string_view>

#include "pdf/core/text_string.h"
#include "platform/text/cp1252.h"

namespace pdf {

PdfStatus PdfSourceFile::ReadObject(std::int64_t n, bool with_stream, PdfObject& out) const {
  out = PdfObject{};
  if (n <= 0 || static_cast<std::uint64_t>(n) >= offsets_.size() || offsets_[static_cast<std::size_t>(n)] <= 0) {
    out.missing = true;
    return PdfStatus::Ok();
  }
  return ReadPdfObjectAt(file_, static_cast<std::size_t>(offsets_[static_cast<std::size_t>(n)]), n,
                         with_stream, this, out);
}

PdfStatus PdfSourceFile::IndirectLength(std::int64_t n, std::int64_t& length) const {
  PdfObject o;
  PdfStatus s = ReadObject(n, false, o);
  if (!s.ok()) return s;
  if (!o.value.Is(PdfValue::Type::kInteger))
    return PdfStatus::Format("the stream length in object " + std::to_string(n) + " is not a number");
  length = o.value.integer;
  return PdfStatus::Ok();
}

PdfStatus PdfSourceFile::Resolve(const PdfValue& value, PdfValue& out) const {
  if (!value.Is(PdfValue::Type::kRef)) {
    out = value;
    return PdfStatus::Ok();
  }
  PdfObject o;
  PdfStatus s = ReadObject(value.integer, false, o);
  if (!s.ok()) return s;
  out = std::move(o.value);
  return PdfStatus::Ok();
}

PdfStatus PdfSourceFile::CollectPages(std::int32_t root, std::vector<std::int32_t>& pages) const {
  std::vector<bool> visited(offsets_.size(), false);
  return Collect(root, 0, visited, pages);
}

PdfStatus PdfSourceFile::Collect(std::int32_t node, int depth, std::vector<bool>& visited,
                                 std::vector<std::int32_t>& pages) const {
  if (depth > kMaxPageTreeDepth) return PdfStatus::Format("the page tree is nested too deeply");
  PdfObject o;
  PdfStatus s = ReadObject(node, false, o);
  if (!s.ok()) return s;
  if (o.missing) return PdfStatus::Format("page tree node " + std::to_string(node) + " is missing");
  visited[static_cast<std::size_t>(node)] = true;
  const PdfValue* kids_entry = o.value.Find("Kids");
  if (kids_entry == nullptr) return PdfStatus::Ok();
  PdfValue kids;
  s = Resolve(*kids_entry, kids);
  if (!s.ok()) return s;
  for (const PdfValue& kid : kids.items) {
    if (!kid.Is(PdfValue::Type::kRef)) continue;
    const std::int64_t n = kid.integer;
    if (n <= 0 || static_cast<std::uint64_t>(n) >= offsets_.size() || offsets_[static_cast<std::size_t>(n)] <= 0)
      return PdfStatus::Format("page tree node " + std::to_string(n) + " is missing");
    if (visited[static_cast<std::size_t>(n)])
      return PdfStatus::Format("the page tree refers to object " + std::to_string(n) + " twice");
    PdfObject k;
    s = ReadObject(n, false, k);
    if (!s.ok()) return s;
    const PdfValue* type = k.value.Find("Type");
    if (type != nullptr && type->IsName("Page")) {
      visited[static_cast<std::size_t>(n)] = true;
      if (static_cast<std::int32_t>(pages.size()) >= kMaxSourcePages)
        return PdfStatus::Format("more than 32767 pages");
      pages.push_back(static_cast<std::int32_t>(n));
    } else if (type != nullptr && type->IsName("Pages")) {
      s = Collect(static_cast<std::int32_t>(n), depth + 1, visited, pages);
      if (!s.ok()) return s;
    }
  }
  return PdfStatus::Ok();
}

PdfStatus PdfSourceFile::InheritedValue(const PdfValue& page, std::string_view key, PdfValue& out) const {
  out = PdfValue{};
  PdfValue node = page;
  std::vector<std::int64_t> chain;
  for (int depth = 0;; ++depth) {
    if (const PdfValue* v = node.Find(key)) return Resolve(*v, out);
    const PdfValue* parent = node.Find("Parent");
    if (parent == nullptr || !parent->Is(PdfValue::Type::kRef)) return PdfStatus::Ok();
    for (std::int64_t seen : chain) {
      if (seen == parent->integer) return PdfStatus::Format("the page tree's /Parent entries form a cycle");
    }
    if (depth >= kMaxPageTreeDepth) return PdfStatus::Format("the page tree is nested too deeply");
    chain.push_back(parent->integer);
    PdfObject o;
    PdfStatus s = ReadObject(parent->integer, false, o);
    if (!s.ok()) return s;
    node = std::move(o.value);
  }
}

std::int32_t HeaderVersionIncrement(ByteSpan file) {
  const std::size_t window = file.size() < 1024 ? file.size() : 1024;
  const std::string_view head(reinterpret_cast<const char*>(file.data()), window);
  const std::size_t at = head.find("%PDF-1.");
  if (at == std::string_view::npos || at + 7 >= head.size()) return 0;
  const char d = head[at + 7];
  if (d < '0' || d > '9') return 0;
  return d - '0' > 3 ? d - '0' - 3 : 0;
}

std::string InfoValueText(const PdfValue& value) {
  switch (value.type) {
    case PdfValue::Type::kName:
      return "/" + value.text;
    case PdfValue::Type::kInteger:
    case PdfValue::Type::kReal: {
      const double r = std::round(value.real);
      if (!std::isfinite(r) || r < INT32_MIN || r > INT32_MAX) return "";
      return std::to_string(static_cast<std::int32_t>(r));
    }
    case PdfValue::Type::kString:
      break;
    default:
      return "";
  }
  const std::string& b = value.text;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(b[i]); };
  std::string out;
  // One character of the text: controls, and what Windows-1252 lacks, drop.
  const auto put = [&](char32_t c) {
    if (c < 32) return;
    if (const auto w = cp1252::from_unicode(c)) out += static_cast<char>(*w);
  };
  if (b.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) {
    for (std::size_t i = 2; i + 1 < b.size(); i += 2) put(static_cast<char32_t>(byte(i) << 8 | byte(i + 1)));
    return out;
  }
  if (b.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
    // UTF-8: a sequence that does not decode is dropped a byte at a time.
    for (std::size_t i = 3; i < b.size();) {
      if (const auto c = cp1252::next_utf8(b, i)) put(*c);
    }
    return out;
  }
  // PDFDocEncoding.
  for (std::size_t i = 0; i < b.size(); ++i) put(PdfDocEncodingChar(byte(i)));
  return out;
}

}  // namespace pdf
