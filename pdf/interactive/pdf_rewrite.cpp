// Token-level copy of a PDF value. The value was parsed before (so its
// tokens are known to be well formed); this pass only decides, token by
// token, what to write.

#include "pdf/interactive/pdf_rewrite.h"

#include "pdf/interactive/pdf_lexer.h"

namespace pdf {

namespace {

// The bytes between two tokens: as they are, or one blank for a run of
// white space and comments (none when the run is empty).
void Gap(ByteSpan file, std::size_t from, std::size_t to, bool one_line, std::string& out) {
  if (from >= to) return;
  if (!one_line) {
    out.append(reinterpret_cast<const char*>(file.data()) + from, to - from);
    return;
  }
  if (out.empty() || out.back() != ' ') out += ' ';
}

}  // namespace

std::string RewritePdfValue(ByteSpan file, const PdfValue& value, const PdfRewriteOptions& options) {
  std::string out;
  PdfLexer lexer(file.first(value.end), value.start);
  std::size_t last = value.start;
  int depth = 0;
  bool key_position = false;    // the next token at depth 1 of a dictionary is a key
  bool outer_dict = false;
  bool length_value = false;    // the next value is the outer /Length's
  bool drop_gap = false;
  for (;;) {
    PdfToken t = lexer.Next();
    if (t.kind == PdfTokenKind::kEnd || t.kind == PdfTokenKind::kBad) break;
    if (drop_gap) {
      drop_gap = false;
    } else {
      Gap(file, last, t.start, options.one_line, out);
    }
    last = t.end;
    const bool at_top = depth == 1 && outer_dict;
    const bool was_key = at_top && key_position;
    std::string replacement;
    bool replaced = false;
    bool direct_number = false;
    if (t.kind == PdfTokenKind::kInteger) {
      // "n g R" is one reference.
      const std::size_t back = lexer.Offset();
      const PdfToken g = lexer.Next();
      const PdfToken r = g.kind == PdfTokenKind::kInteger ? lexer.Next() : PdfToken{};
      if (t.integer >= 0 && g.integer >= 0 && r.IsKeyword("R")) {
        last = r.end;
        replacement = options.reference ? options.reference(t.integer)
                                        : std::to_string(t.integer) + " " + std::to_string(g.integer) + " R";
        replaced = true;
      } else {
        lexer.Seek(back);
        direct_number = true;
      }
    } else if ((t.kind == PdfTokenKind::kString || t.kind == PdfTokenKind::kHexString) && options.string) {
      replacement = options.string(t.text);
      replaced = true;
    }
    if (length_value && at_top) {
      // The key's own gap stays; the value becomes " <length> ", and after a
      // direct number the blanks that followed it go.
      length_value = false;
      replacement = " " + std::to_string(options.direct_length) + " ";
      replaced = true;
      drop_gap = direct_number;
    }
    if (replaced) {
      out += replacement;
    } else {
      out.append(reinterpret_cast<const char*>(file.data()) + t.start, t.end - t.start);
    }
    // Keys and values alternate at the top of the outermost dictionary; a
    // nested array or dictionary is one value.
    switch (t.kind) {
      case PdfTokenKind::kDictOpen:
      case PdfTokenKind::kArrayOpen:
        if (depth == 0 && t.kind == PdfTokenKind::kDictOpen) outer_dict = true;
        ++depth;
        key_position = depth == 1;
        break;
      case PdfTokenKind::kDictClose:
      case PdfTokenKind::kArrayClose:
        --depth;
        if (depth == 1) key_position = true;
        break;
      default:
        if (at_top) {
          length_value = was_key && t.kind == PdfTokenKind::kName && t.text == "Length" &&
                         options.direct_length >= 0;
          key_position = !was_key;
        }
        break;
    }
  }
  return out;
}

}  // namespace pdf
