#pragma once
// PDF values (null, booleans, numbers, names, strings, arrays, dictionaries,
// references) parsed from the tokens of an outside file, and the indirect
// objects that hold them ("n g obj ... endobj", with an optional stream).
//
// Limits are checked before anything grows: nesting deeper than
// kMaxPdfNesting and a stream that does not lie within the file are
// failures, reported as a PdfStatus with the classic failure number and a
// description for the writer's error properties.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/core/bytes.h"
#include "pdf/interactive/pdf_lexer.h"

namespace pdf {

// Arrays and dictionaries nested deeper than this are refused.
constexpr int kMaxPdfNesting = 64;
// The highest object number a file may use (PDF's own implementation limit).
constexpr std::int32_t kMaxPdfObjectNumber = 8388607;

// 0 = success; otherwise a failure number (321 invalid file format, 53 file
// not found, ...) and its description.
struct PdfStatus {
  std::int32_t number = 0;
  std::string description;

  bool ok() const { return number == 0; }
  static PdfStatus Ok() { return {}; }
  // 321 "Invalid file format: " followed by the detail.
  static PdfStatus Format(const std::string& detail) { return {321, "Invalid file format: " + detail}; }
};

struct PdfValue {
  enum class Type : std::uint8_t { kNull, kBool, kInteger, kReal, kName, kString, kArray, kDict, kRef };

  Type type = Type::kNull;
  bool boolean = false;
  bool hex = false;            // a string written in hexadecimal
  std::int64_t integer = 0;    // kInteger; kRef: the object number
  std::int64_t generation = 0; // kRef
  double real = 0;             // kReal (and kInteger, as a double)
  std::string text;            // kName without "/", kString: its bytes
  std::string key;             // the key of a dictionary entry
  std::vector<PdfValue> items; // array items or dictionary entries
  std::size_t start = 0;       // the value's bytes in the file
  std::size_t end = 0;

  bool Is(Type t) const { return type == t; }
  bool IsNumber() const { return type == Type::kInteger || type == Type::kReal; }
  bool IsName(std::string_view name) const { return type == Type::kName && text == name; }
  // The entry of a dictionary with this key (the first one); null when the
  // value is not a dictionary or has no such key.
  const PdfValue* Find(std::string_view key) const;
  // A whole number that fits 32 bits (an integer, or a real with no
  // fraction); false otherwise.
  bool ToInt32(std::int32_t& out) const;
};

// Parses one value at the lexer's position. A reference is two non-negative
// integers followed by "R".
PdfStatus ParsePdfValue(PdfLexer& lexer, PdfValue& out);

// Finds the references within a value, in the order they are written.
void CollectReferences(const PdfValue& value, std::vector<std::int64_t>& numbers);

// An indirect object read from the file.
struct PdfObject {
  bool missing = false;     // free, not listed or beyond the file: reads as null
  PdfValue value;
  bool has_stream = false;
  std::size_t stream_start = 0;  // the stream's data in the file
  std::size_t stream_length = 0;
};

// The object numbered n at the offset: "n g obj", its value, then "stream"
// or "endobj" (followed by any white space or the end of the file; a
// missing "endobj" ends the object at its value). `length` gives the value
// of a /Length that is a reference (the caller resolves it); a stream must
// lie within the file and be followed by "endstream".
class PdfObjectReader {
 public:
  virtual ~PdfObjectReader() = default;
  // The number held by object n (for an indirect /Length).
  virtual PdfStatus IndirectLength(std::int64_t n, std::int64_t& length) const = 0;
};
PdfStatus ReadPdfObjectAt(ByteSpan file, std::size_t offset, std::int64_t n, bool with_stream,
                          const PdfObjectReader* lengths, PdfObject& out);

}  // namespace pdf
