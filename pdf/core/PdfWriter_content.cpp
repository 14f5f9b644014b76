// Content buffers and their routing, and the small formatters every member
// uses: number text, literal strings, text replacement and splitting.

#include <charconv>
#include <cmath>
#include <cstring>
#include <exception>

#include "pdf/PdfWriter.h"

namespace pdf {

// ---- content lines --------------------------------------------------------

StringBuffer* PdfWriter::ActiveContent() {
  if (Content.RecordingObject) return &Content.ObjectContent;
  if (Content.RecordingTiling) return &Content.TilingContent;
  if (Pages.PageOpen) return &Content.PageContent;
  return nullptr;
}

void PdfWriter::AppendContent(const std::string& Line) {
  StringBuffer* target = ActiveContent();
  if (target == nullptr) return;  // nothing is open: the line is dropped
  BufferAppendChar(*target, 13);
  BufferAppend(*target, Line);
}

void PdfWriter::OpenSave() {
  AppendContent("q");
  if (StringBuffer* target = ActiveContent()) target->OpenSaves += 1;
}

void PdfWriter::CloseSave() {
  StringBuffer* target = ActiveContent();
  if (target == nullptr || target->OpenSaves < 1) return;  // no "q" to close
  AppendContent("Q");
  target->OpenSaves -= 1;
}

void PdfWriter::CloseOpenSaves(StringBuffer& Buffer) {
  for (; Buffer.OpenSaves > 0; --Buffer.OpenSaves) BufferAppend(Buffer, "\rQ");
}

PdfWriter::ContentRollback::ContentRollback(PdfWriter& Writer)
    : buffer_(Writer.ActiveContent()), failures_(std::uncaught_exceptions()) {
  if (buffer_ != nullptr) {
    position_ = buffer_->Position;
    open_saves_ = buffer_->OpenSaves;
    path_open_ = buffer_->PathOpen;
  }
}

PdfWriter::ContentRollback::~ContentRollback() {
  // Only while a failure leaves the member; the bytes past Position are
  // dead store, so moving Position back is the whole undo.
  if (buffer_ == nullptr || std::uncaught_exceptions() <= failures_) return;
  if (buffer_->Position > position_) buffer_->Position = position_;
  buffer_->OpenSaves = open_saves_;
  buffer_->PathOpen = path_open_;
}

// ---- StringBuffer ---------------------------------------------------------

void PdfWriter::BufferAppend(StringBuffer& Buffer, const std::string& Text) {
  const std::int64_t length = static_cast<std::int64_t>(Text.size());
  const std::int64_t end = Buffer.Position + length;
  if (end > INT32_MAX / 2) throw PdfError(7);
  if (end > Buffer.Capacity) {
    // Grow by at least the size reached, so the store at least doubles and a
    // long content is copied only about log2(n) times.
    Buffer.Capacity += static_cast<std::int32_t>(end);
    Buffer.Data.resize(static_cast<std::size_t>(Buffer.Capacity), ' ');
  }
  if (length > 0)
    std::memcpy(&Buffer.Data[static_cast<std::size_t>(Buffer.Position - 1)], Text.data(), Text.size());
  Buffer.Position = static_cast<std::int32_t>(end);
}

void PdfWriter::BufferAppendChar(StringBuffer& Buffer, std::uint8_t Code) {
  const std::int64_t end = Buffer.Position + 1;
  if (end > INT32_MAX / 2) throw PdfError(7);
  if (end > Buffer.Capacity) {
    Buffer.Capacity += static_cast<std::int32_t>(end);
    Buffer.Data.resize(static_cast<std::size_t>(Buffer.Capacity), ' ');
  }
  Buffer.Data[static_cast<std::size_t>(Buffer.Position - 1)] = static_cast<char>(Code);
  Buffer.Position = static_cast<std::int32_t>(end);
}

void PdfWriter::BufferReset(StringBuffer& Buffer) {
  Buffer.OpenSaves = 0;
  Buffer.PathOpen = false;
  Buffer.Position = 1;
  Buffer.Capacity = 0;
  Buffer.Data.clear();
}

std::string PdfWriter::BufferText(const StringBuffer& Buffer) {
  return Buffer.Data.substr(0, static_cast<std::size_t>(Buffer.Position - 1));
}

// ---- numbers --------------------------------------------------------------

float PdfWriter::RoundValue(float Value) {
  // Half away from zero at the third decimal, applied to the single-precision
  // value; t is rounded to single precision before the floor on purpose.
  const double v = Value;
  double r;
  if (Value < 0) {
    const float t = static_cast<float>(-v * 1000.0 + 0.5);
    if (!std::isfinite(t)) throw PdfError(6);
    r = -std::floor(static_cast<double>(t));
  } else {
    const float t = static_cast<float>(v * 1000.0 + 0.5);
    if (!std::isfinite(t)) throw PdfError(6);  // also a NaN input
    r = std::floor(static_cast<double>(t));
  }
  return static_cast<float>(r * 0.001);
}

std::string PdfWriter::FormatNumber(float Value) {
  const float rounded = RoundValue(Value);
  if (rounded == 0) return "0";
  // Readers take number texts whose integer part fits 32 bits; anything
  // larger is an overflow for the caller, never a 30-digit integer.
  if (std::fabs(rounded) >= 2147483648.0f) throw PdfError(6);
  // Seven significant digits, rounded to nearest, from the locale-free
  // scientific form; then written out in plain decimal without exponent and
  // without trailing zeros.
  char sci[32];
  const auto res = std::to_chars(sci, sci + sizeof sci, static_cast<double>(rounded),
                                 std::chars_format::scientific, 6);
  const char* p = sci;
  const char* end = res.ptr;
  bool negative = false;
  if (*p == '-') {
    negative = true;
    ++p;
  }
  char digits[8];
  int nd = 0;
  while (p < end && *p != 'e') {
    if (*p != '.') digits[nd++] = *p;
    ++p;
  }
  int exponent = 0;
  if (p < end && *p == 'e') {
    ++p;
    std::from_chars(*p == '+' ? p + 1 : p, end, exponent);
  }
  while (nd > 1 && digits[nd - 1] == '0') --nd;
  if (nd == 1 && digits[0] == '0') return "0";

  std::string out;
  out.reserve(24);
  if (negative) out += '-';
  if (exponent >= 0) {
    const int intDigits = exponent + 1;
    for (int i = 0; i < intDigits; ++i) out += i < nd ? digits[i] : '0';
    if (nd > intDigits) {
      out += '.';
      out.append(digits + intDigits, static_cast<std::size_t>(nd - intDigits));
    }
  } else {
    out += "0.";
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out.append(digits, static_cast<std::size_t>(nd));
  }
  return out;
}

std::string PdfWriter::FormatUnits(float Value) const {
  const float product = Value * Pages.ScaleFactor;
  if (!std::isfinite(product)) throw PdfError(6);
  return FormatNumber(product);
}

// ---- texts ----------------------------------------------------------------

std::string PdfWriter::ReplaceText(const std::string& Expression, const std::string& Find,
                                   const std::string& Replacement, std::int32_t Start,
                                   std::int32_t Count) {
  if (Find.empty() || Count < 1) return Expression;
  const std::size_t from = Start <= 1 ? 0 : static_cast<std::size_t>(Start) - 1;
  if (from >= Expression.size()) return Expression;
  std::size_t hit = Expression.find(Find, from);
  if (hit == std::string::npos) return Expression;

  if (Find.size() == Replacement.size()) {
    // Same length: changed in place in a copy.
    std::string result = Expression;
    std::int32_t done = 0;
    while (hit != std::string::npos && done < Count) {
      result.replace(hit, Find.size(), Replacement);
      ++done;
      hit = Expression.find(Find, hit + Find.size());
    }
    return result;
  }
  std::string& work = ReplaceWork;  // reused from call to call
  work.clear();
  work.reserve(Expression.size() + Replacement.size());
  std::size_t copied = 0;
  std::int32_t done = 0;
  while (hit != std::string::npos && done < Count) {
    work.append(Expression, copied, hit - copied);
    work += Replacement;
    copied = hit + Find.size();
    ++done;
    hit = Expression.find(Find, copied);
  }
  work.append(Expression, copied, std::string::npos);
  return work;
}

void PdfWriter::SplitText(const std::string& Expression, std::vector<std::string>& Result,
                          const std::string& Delimiter) {
  Result.clear();
  if (Expression.empty() || Delimiter.empty()) {
    Result.push_back(Expression);
    return;
  }
  // Occurrences never overlap: the search resumes after each delimiter.
  std::size_t start = 0;
  for (;;) {
    const std::size_t hit = Expression.find(Delimiter, start);
    if (hit == std::string::npos) break;
    Result.push_back(Expression.substr(start, hit - start));
    start = hit + Delimiter.size();
  }
  Result.push_back(Expression.substr(start));
}

std::string PdfWriter::EscapeString(const std::string& Text) {
  std::string out;
  out.reserve(Text.size() + 8);
  for (char c : Text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '(': out += "\\("; break;
      case ')': out += "\\)"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c; break;
    }
  }
  return out;
}

std::string PdfWriter::FormatTextString(const std::string& Text) {
  if (Text.empty() || !Security.Encrypted) return "(" + EscapeString(Text) + ")";
  // Encrypted under the key of the object being written, then escaped.
  std::int32_t object = 0;
  const std::string key = GetObjectKey(object);
  const Bytes data(Text.begin(), Text.end());
  std::int32_t last = static_cast<std::int32_t>(data.size()) - 1;
  const Bytes encrypted = Rc4(key, data, last);
  return "(" + EscapeString(std::string(encrypted.begin(), encrypted.end())) + ")";
}

void PdfWriter::SetLastRect(float X1, float Y1, float X2, float Y2) {
  Content.LastRect = {X1, Y1, X2, Y2};
}

void PdfWriter::RequireVersion(std::int32_t Level) {
  if (Level > Objects.VersionIncrement) Objects.VersionIncrement = Level;
}

}  // namespace pdf
