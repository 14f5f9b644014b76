// Content buffers and their routing, and the small formatters every member
// uses: number text, literal strings, text replacement and splitting.

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <exception>

#include "pdf/PdfWriter.h"
#include "pdf/core/text_string.h"

namespace pdf {

// ---- content lines --------------------------------------------------------

StringBuffer* PdfWriter::ActiveContent() {
  if (Content.RecordingObject) return &Content.ObjectContent;
  if (Content.RecordingTiling) return &Content.TilingContent;
  if (Pages.PageOpen) return &Content.PageContent;
  return nullptr;
}

void PdfWriter::AppendContent(std::string_view Line) {
  StringBuffer* target = ActiveContent();
  if (target == nullptr) return;  // nothing is open: the line is dropped
  BufferAppendChar(*target, 13);
  BufferAppend(*target, Line);
}

void PdfWriter::AppendContent(std::initializer_list<std::string_view> Pieces) {
  StringBuffer* target = ActiveContent();
  if (target == nullptr) return;
  BufferAppendChar(*target, 13);
  // The pieces grow the buffer as the joined line would, in one step, and
  // are then copied in place.
  std::int64_t length = 0;
  for (const std::string_view piece : Pieces) length += static_cast<std::int64_t>(piece.size());
  const std::int64_t end = target->Position + length;
  BufferGrow(*target, end);
  char* out = target->Data.data() + (target->Position - 1);
  for (const std::string_view piece : Pieces) {
    if (!piece.empty()) std::memcpy(out, piece.data(), piece.size());
    out += piece.size();
  }
  target->Position = static_cast<std::int32_t>(end);
}

void PdfWriter::OpenSave() {
  // A "q" inside a path would split it: readers drop the path there.
  EndOpenPath();
  AppendContent("q");
  if (StringBuffer* target = ActiveContent()) {
    target->OpenSaves += 1;
    target->SavedTransforms.push_back(target->Transform);
  }
}

void PdfWriter::CloseSave() {
  StringBuffer* target = ActiveContent();
  if (target == nullptr || target->OpenSaves < 1) return;  // no "q" to close
  // A path opened inside the saved state ends with it, before its "Q".
  EndOpenPath();
  AppendContent("Q");
  target->OpenSaves -= 1;
  if (!target->SavedTransforms.empty()) {
    target->Transform = target->SavedTransforms.back();
    target->SavedTransforms.pop_back();
  }
}

void PdfWriter::EndPath(StringBuffer& Buffer) {
  if (!Buffer.PathOpen) return;
  BufferAppend(Buffer, Buffer.ClipPending ? "\rW n" : "\rn");
  Buffer.PathOpen = false;
  Buffer.ClipPending = false;
}

void PdfWriter::CloseOpenSaves(StringBuffer& Buffer) {
  // A content stream may not end inside a path, marked content or a saved
  // state: a path left open is ended ("n") before what closes the rest.
  EndPath(Buffer);
  for (; Buffer.OpenLayers > 0; --Buffer.OpenLayers) BufferAppend(Buffer, "\rEMC");
  for (; Buffer.OpenSaves > 0; --Buffer.OpenSaves) BufferAppend(Buffer, "\rQ");
  Buffer.Transform = {1, 0, 0, 1, 0, 0};
  Buffer.SavedTransforms.clear();
}

void PdfWriter::Transformed(double A, double B, double C, double D, double E, double F) {
  StringBuffer* target = ActiveContent();
  if (target == nullptr) return;
  // The new matrix applies first, then the one already in force.
  const std::array<double, 6> t = target->Transform;
  target->Transform = {A * t[0] + B * t[2],     A * t[1] + B * t[3],     C * t[0] + D * t[2],
                       C * t[1] + D * t[3],     E * t[0] + F * t[2] + t[4], E * t[1] + F * t[3] + t[5]};
}

PdfWriter::ContentRollback::ContentRollback(PdfWriter& Writer)
    : buffer_(Writer.ActiveContent()), failures_(std::uncaught_exceptions()) {
  if (buffer_ != nullptr) {
    position_ = buffer_->Position;
    open_saves_ = buffer_->OpenSaves;
    open_layers_ = buffer_->OpenLayers;
    path_open_ = buffer_->PathOpen;
    clip_pending_ = buffer_->ClipPending;
    transform_ = buffer_->Transform;
    saved_transforms_ = buffer_->SavedTransforms;
  }
}

PdfWriter::ContentRollback::~ContentRollback() {
  // Only while a failure leaves the member; the bytes past Position are
  // dead store, so moving Position back is the whole undo.
  if (buffer_ == nullptr || std::uncaught_exceptions() <= failures_) return;
  if (buffer_->Position > position_) buffer_->Position = position_;
  buffer_->OpenSaves = open_saves_;
  buffer_->OpenLayers = open_layers_;
  buffer_->PathOpen = path_open_;
  buffer_->ClipPending = clip_pending_;
  buffer_->Transform = transform_;
  buffer_->SavedTransforms = saved_transforms_;
}

// ---- StringBuffer ---------------------------------------------------------

void PdfWriter::BufferGrow(StringBuffer& Buffer, std::int64_t End) {
  if (End > INT32_MAX / 2) throw PdfError(7);
  if (End > Buffer.Capacity) {
    // Grow by at least the size reached, so the store at least doubles and a
    // long content is copied only about log2(n) times.
    Buffer.Capacity += static_cast<std::int32_t>(End);
    Buffer.Data.resize(static_cast<std::size_t>(Buffer.Capacity), ' ');
  }
}

void PdfWriter::BufferAppend(StringBuffer& Buffer, std::string_view Text) {
  const std::int64_t length = static_cast<std::int64_t>(Text.size());
  const std::int64_t end = Buffer.Position + length;
  BufferGrow(Buffer, end);
  if (length > 0)
    std::memcpy(&Buffer.Data[static_cast<std::size_t>(Buffer.Position - 1)], Text.data(), Text.size());
  Buffer.Position = static_cast<std::int32_t>(end);
}

void PdfWriter::BufferAppendChar(StringBuffer& Buffer, std::uint8_t Code) {
  const std::int64_t end = Buffer.Position + 1;
  BufferGrow(Buffer, end);
  Buffer.Data[static_cast<std::size_t>(Buffer.Position - 1)] = static_cast<char>(Code);
  Buffer.Position = static_cast<std::int32_t>(end);
}

void PdfWriter::BufferReset(StringBuffer& Buffer) {
  Buffer.OpenSaves = 0;
  Buffer.OpenLayers = 0;
  Buffer.PathOpen = false;
  Buffer.ClipPending = false;
  Buffer.Transform = {1, 0, 0, 1, 0, 0};
  Buffer.SavedTransforms.clear();
  Buffer.Position = 1;
  Buffer.Capacity = 0;
  Buffer.Data.clear();
}

std::string PdfWriter::BufferText(const StringBuffer& Buffer) {
  return Buffer.Data.substr(0, static_cast<std::size_t>(Buffer.Position - 1));
}

// ---- numbers --------------------------------------------------------------

namespace {

// The whole number of thousandths that RoundValue keeps of Value: half away
// from zero at the third decimal, applied to the single-precision value; t
// is rounded to single precision before the floor on purpose.
double Thousandths(float Value) {
  const double v = Value;
  if (Value < 0) {
    const float t = static_cast<float>(-v * 1000.0 + 0.5);
    if (!std::isfinite(t)) throw PdfError(6);
    return -std::floor(static_cast<double>(t));
  }
  const float t = static_cast<float>(v * 1000.0 + 0.5);
  if (!std::isfinite(t)) throw PdfError(6);  // also a NaN input
  return std::floor(static_cast<double>(t));
}

// Appends k thousandths (k not 0) as a plain decimal without trailing zeros:
// "12.5", "-0.001", "300".
void AppendThousandths(std::string& out, std::int64_t k) {
  if (k < 0) {
    out += '-';
    k = -k;
  }
  char digits[24];
  char* const end = digits + sizeof digits;
  char* p = end;
  for (std::int64_t q = k; q != 0; q /= 10) *--p = static_cast<char>('0' + q % 10);
  const std::ptrdiff_t n = end - p;
  if (n > 3)
    out.append(p, static_cast<std::size_t>(n - 3));
  else
    out += '0';
  // The three decimals, zero-padded on the left, without trailing zeros.
  char decimals[3] = {'0', '0', '0'};
  for (std::ptrdiff_t i = 0; i < std::min<std::ptrdiff_t>(n, 3); ++i) decimals[2 - i] = end[-1 - i];
  int kept = 3;
  while (kept > 0 && decimals[kept - 1] == '0') --kept;
  if (kept > 0) {
    out += '.';
    out.append(decimals, static_cast<std::size_t>(kept));
  }
}

}  // namespace

float PdfWriter::RoundValue(float Value) { return static_cast<float>(Thousandths(Value) * 0.001); }

std::string PdfWriter::FormatNumber(float Value) {
  // Most values written are coordinates and sizes below 10,000: their
  // thousandths have at most seven digits, and then the seven significant
  // digits of the rounded single-precision value, written below, are
  // exactly those thousandths (a float lies within half a unit of the
  // seventh digit of the decimal it was rounded from), so they are written
  // directly.
  const double k = Thousandths(Value);
  if (k > -1e7 && k < 1e7) {
    if (k == 0) return "0";
    std::string out;
    AppendThousandths(out, static_cast<std::int64_t>(k));
    return out;
  }
  const float rounded = static_cast<float>(k * 0.001);
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
  // Seven digits can round a value just below 2^31 up past it
  // (2147483520 is written 2147484000): that text is as far out of the
  // readers' range as the larger values refused above.
  if (exponent >= 9) {
    std::int64_t whole = 0;
    for (int i = 0; i <= exponent; ++i) whole = whole * 10 + (i < nd ? digits[i] - '0' : 0);
    if (whole > 2147483647) throw PdfError(6);
  }

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
  // The five characters a literal string escapes; most texts hold none of
  // them and are copied whole.
  static constexpr auto kSpecial = [] {
    std::array<bool, 256> t{};
    for (const unsigned char c : {'\\', '(', ')', '\r', '\n'}) t[c] = true;
    return t;
  }();
  const auto special = [](char c) { return kSpecial[static_cast<unsigned char>(c)]; };
  const auto first = std::find_if(Text.begin(), Text.end(), special);
  if (first == Text.end()) return Text;
  std::string out;
  out.reserve(Text.size() + 8);
  out.append(Text.begin(), first);
  for (auto it = first; it != Text.end(); ++it) {
    switch (*it) {
      case '\\': out += "\\\\"; break;
      case '(': out += "\\("; break;
      case ')': out += "\\)"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += *it; break;
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

std::string PdfWriter::FormatPdfText(const std::string& Text) { return FormatTextString(PdfTextBytes(Text)); }

void PdfWriter::SetLastRect(float X1, float Y1, float X2, float Y2) {
  // The members give the box measured from the margin origin, as they draw
  // it; the page content is moved by the left and top margins, and so is
  // the box, so that a link made from it covers the shape where it stands.
  const float left = Pages.Margins.Left, top = Pages.Margins.Top;
  const StringBuffer* target = ActiveContent();
  if (target != nullptr && target->Transform != std::array<double, 6>{1, 0, 0, 1, 0, 0}) {
    // Drawn under transforms of the writer's own: the box around the four
    // corners where they land. The content's own space has y downward from
    // the margin origin; the box keeps the order of its corners.
    const std::array<double, 6>& m = target->Transform;
    const double h = Pages.PageHeight;
    double low_x = 0, high_x = 0, low_y = 0, high_y = 0;
    for (int i = 0; i < 4; ++i) {
      const double x = i < 2 ? X1 : X2, y = h - ((i % 2) == 0 ? Y1 : Y2);
      const double px = m[0] * x + m[2] * y + m[4], py = h - (m[1] * x + m[3] * y + m[5]);
      if (i == 0 || px < low_x) low_x = px;
      if (i == 0 || px > high_x) high_x = px;
      if (i == 0 || py < low_y) low_y = py;
      if (i == 0 || py > high_y) high_y = py;
    }
    const bool rising_x = X1 <= X2, rising_y = Y1 <= Y2;
    X1 = static_cast<float>(rising_x ? low_x : high_x);
    X2 = static_cast<float>(rising_x ? high_x : low_x);
    Y1 = static_cast<float>(rising_y ? low_y : high_y);
    Y2 = static_cast<float>(rising_y ? high_y : low_y);
  }
  Content.LastRect = {X1 + left, Y1 - top, X2 + left, Y2 - top};
}

void PdfWriter::RequireVersion(std::int32_t Level) {
  if (Level > Objects.VersionIncrement) Objects.VersionIncrement = Level;
}

}  // namespace pdf
