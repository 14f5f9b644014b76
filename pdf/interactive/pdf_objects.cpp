// PDF values and indirect objects. The parser is recursive over arrays and
// dictionaries only, with the nesting bounded by kMaxPdfNesting, so a file
// of a million "[" ends with a failure instead of exhausting the stack.

#include "pdf/interactive/pdf_objects.h"

#include <cmath>

#include "pdf/core/byte_cursor.h"

namespace pdf {

namespace {

using Type = PdfValue::Type;

PdfStatus Parse(PdfLexer& lexer, PdfValue& out, int depth);

// Whether the integer just read is the start of "n g R": reads ahead and
// comes back when it is not.
bool TryReference(PdfLexer& lexer, const PdfToken& first, PdfValue& out) {
  if (first.integer < 0) return false;
  const std::size_t back = lexer.Offset();
  const PdfToken second = lexer.Next();
  if (second.kind == PdfTokenKind::kInteger && second.integer >= 0) {
    const PdfToken r = lexer.Next();
    if (r.IsKeyword("R")) {
      out.type = Type::kRef;
      out.integer = first.integer;
      out.generation = second.integer;
      out.end = r.end;
      return true;
    }
  }
  lexer.Seek(back);
  return false;
}

PdfStatus Container(PdfLexer& lexer, PdfValue& out, int depth, bool dict) {
  if (depth >= kMaxPdfNesting) return PdfStatus::Format("arrays or dictionaries nested too deeply");
  out.type = dict ? Type::kDict : Type::kArray;
  const PdfTokenKind close = dict ? PdfTokenKind::kDictClose : PdfTokenKind::kArrayClose;
  for (;;) {
    const std::size_t at = lexer.Offset();
    PdfToken t = lexer.Next();
    if (t.kind == close) {
      out.end = t.end;
      return PdfStatus::Ok();
    }
    if (t.kind == PdfTokenKind::kEnd) return PdfStatus::Format("the file ends inside an array or dictionary");
    PdfValue item;
    if (dict) {
      if (t.kind != PdfTokenKind::kName) return PdfStatus::Format("a dictionary key is not a name");
      item.key = std::move(t.text);
    } else {
      lexer.Seek(at);
    }
    PdfStatus s = Parse(lexer, item, depth + 1);
    if (!s.ok()) return s;
    out.items.push_back(std::move(item));
  }
}

PdfStatus Parse(PdfLexer& lexer, PdfValue& out, int depth) {
  PdfToken t = lexer.Next();
  out.start = t.start;
  out.end = t.end;
  switch (t.kind) {
    case PdfTokenKind::kInteger:
      if (TryReference(lexer, t, out)) return PdfStatus::Ok();
      out.type = Type::kInteger;
      out.integer = t.integer;
      out.real = t.real;
      return PdfStatus::Ok();
    case PdfTokenKind::kReal:
      out.type = Type::kReal;
      out.real = t.real;
      return PdfStatus::Ok();
    case PdfTokenKind::kName:
      out.type = Type::kName;
      out.text = std::move(t.text);
      return PdfStatus::Ok();
    case PdfTokenKind::kString:
    case PdfTokenKind::kHexString:
      out.type = Type::kString;
      out.hex = t.kind == PdfTokenKind::kHexString;
      out.text = std::move(t.text);
      return PdfStatus::Ok();
    case PdfTokenKind::kArrayOpen:
      return Container(lexer, out, depth, false);
    case PdfTokenKind::kDictOpen:
      return Container(lexer, out, depth, true);
    case PdfTokenKind::kKeyword:
      if (t.text == "true" || t.text == "false") {
        out.type = Type::kBool;
        out.boolean = t.text == "true";
        return PdfStatus::Ok();
      }
      if (t.text == "null") return PdfStatus::Ok();
      return PdfStatus::Format("unexpected keyword \"" + t.text.substr(0, 32) + "\" at offset " +
                               std::to_string(t.start));
    case PdfTokenKind::kEnd:
      return PdfStatus::Format("the file ends where a value was expected");
    default:
      return PdfStatus::Format("malformed value at offset " + std::to_string(t.start));
  }
}

void References(const PdfValue& v, std::vector<std::int64_t>& numbers) {
  if (v.type == Type::kRef) numbers.push_back(v.integer);
  for (const PdfValue& item : v.items) References(item, numbers);
}

}  // namespace

const PdfValue* PdfValue::Find(std::string_view name) const {
  if (type != Type::kDict) return nullptr;
  for (const PdfValue& entry : items) {
    if (entry.key == name) return &entry;
  }
  return nullptr;
}

bool PdfValue::ToInt32(std::int32_t& out) const {
  double v;
  if (type == Type::kInteger) v = static_cast<double>(integer);
  else if (type == Type::kReal) v = real;
  else return false;
  if (!std::isfinite(v) || v != std::floor(v) || v < INT32_MIN || v > INT32_MAX) return false;
  out = static_cast<std::int32_t>(v);
  return true;
}

PdfStatus ParsePdfValue(PdfLexer& lexer, PdfValue& out) { return Parse(lexer, out, 0); }

void CollectReferences(const PdfValue& value, std::vector<std::int64_t>& numbers) {
  References(value, numbers);
}

PdfStatus ReadPdfObjectAt(ByteSpan file, std::size_t offset, std::int64_t n, bool with_stream,
                          const PdfObjectReader* lengths, PdfObject& out) {
  out = PdfObject{};
  const std::string name = "object " + std::to_string(n);
  PdfLexer lexer(file, offset);
  const PdfToken number = lexer.Next();
  const PdfToken generation = lexer.Next();
  const PdfToken obj = lexer.Next();
  if (number.kind != PdfTokenKind::kInteger || number.integer != n ||
      generation.kind != PdfTokenKind::kInteger || !obj.IsKeyword("obj")) {
    return PdfStatus::Format(name + " is not at the offset its cross-reference entry gives");
  }
  PdfStatus s = ParsePdfValue(lexer, out.value);
  if (!s.ok()) return {s.number, s.description + " (in " + name + ")"};
  const PdfToken after = lexer.Next();
  if (!after.IsKeyword("stream")) return PdfStatus::Ok();
  out.has_stream = true;
  if (!with_stream) return PdfStatus::Ok();

  // The data start after "stream" and its line end (CR LF or LF; a lone CR
  // is taken as the line end too).
  std::size_t start = after.end;
  if (start < file.size() && file[start] == '\r') ++start;
  if (start < file.size() && file[start] == '\n' && (start == after.end || file[start - 1] == '\r')) ++start;

  const PdfValue* length = out.value.Find("Length");
  std::int64_t count = -1;
  if (length != nullptr && length->type == PdfValue::Type::kInteger) {
    count = length->integer;
  } else if (length != nullptr && length->type == PdfValue::Type::kRef && lengths != nullptr) {
    s = lengths->IndirectLength(length->integer, count);
    if (!s.ok()) return s;
  } else {
    return PdfStatus::Format("the stream of " + name + " has no /Length");
  }
  if (count < 0 || !RangeWithin(start, static_cast<std::size_t>(count), file.size())) {
    return PdfStatus::Format("the /Length of " + name + " reaches past the end of the file");
  }
  PdfLexer tail(file, start + static_cast<std::size_t>(count));
  if (!tail.Next().IsKeyword("endstream")) {
    return PdfStatus::Format("the /Length of " + name + " does not end at \"endstream\"");
  }
  out.stream_start = start;
  out.stream_length = static_cast<std::size_t>(count);
  return PdfStatus::Ok();
}

}  // namespace pdf
