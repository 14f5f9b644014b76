// The TrueType reader: table directory, the metrics of head, hhea, hmtx,
// OS/2 and post, the Windows cmap of format 4 for the 256 codes, the glyph
// boxes through loca and glyf, and the full name from the name table.
//
// Each table is a span of its own, checked against the file once when the
// directory is read; every value is then read through a ByteCursor over its
// table, so an offset that a file gets wrong fails there, whatever the
// table, instead of reading a neighbour's bytes.

#include "pdf/text/truetype.h"

#include <cmath>

#include "pdf/core/byte_cursor.h"
#include "platform/text/cp1252.h"

namespace pdf {

std::string_view TrueTypeStatusText(TrueTypeStatus status) {
  switch (status) {
    case TrueTypeStatus::kOk: return "ok";
    case TrueTypeStatus::kNotTrueType: return "not a TrueType font";
    case TrueTypeStatus::kCffOutlines: return "PostScript (CFF) outlines are not supported";
    case TrueTypeStatus::kCollection: return "font collections are not supported";
    case TrueTypeStatus::kMissingTable: return "missing table";
    case TrueTypeStatus::kOutOfRange: return "data outside its table or the file";
    case TrueTypeStatus::kNoUnitsPerEm: return "unitsPerEm is 0";
    case TrueTypeStatus::kOverflow: return "value too large";
    case TrueTypeStatus::kNoWindowsCmap: return "no Windows cmap subtable of format 4";
    case TrueTypeStatus::kNoFontName: return "no Windows full name";
  }
  return "unknown status";
}

namespace {

constexpr std::uint32_t kTrueTypeVersion = 0x00010000;
constexpr std::uint32_t kTagTrue = 0x74727565;  // "true" (Apple)
constexpr std::uint32_t kTagOtto = 0x4F54544F;  // "OTTO"
constexpr std::uint32_t kTagTtcf = 0x74746366;  // "ttcf"

// The tables the reader needs, in directory-tag form.
enum Table { kHead, kHhea, kHmtx, kOs2, kPost, kName, kCmap, kLoca, kGlyf, kTableCount };
constexpr std::array<std::string_view, kTableCount> kTags = {
    "head", "hhea", "hmtx", "OS/2", "post", "name", "cmap", "loca", "glyf"};

// The first failure ends the read; later steps see failed() and stop.
class Reader {
 public:
  explicit Reader(TrueTypeResult& result) : r_(result) {}
  bool failed() const { return r_.status != TrueTypeStatus::kOk; }
  bool Fail(TrueTypeStatus status, std::string detail) {
    if (!failed()) {
      r_.status = status;
      r_.detail = std::move(detail);
    }
    return false;
  }
  TrueTypeFont& font() { return r_.font; }

 private:
  TrueTypeResult& r_;
};

// Reads of one table at offsets from its start.
class TableView {
 public:
  TableView() = default;
  explicit TableView(ByteSpan table) : c_(table) {}
  std::uint16_t U16(std::size_t at) {
    c_.Seek(at);
    return c_.U16BE();
  }
  std::int16_t S16(std::size_t at) {
    c_.Seek(at);
    return c_.S16BE();
  }
  std::uint32_t U32(std::size_t at) {
    c_.Seek(at);
    return c_.U32BE();
  }
  bool Ok() const { return c_.Ok(); }
  std::size_t Size() const { return c_.Size(); }
  ByteSpan Bytes(std::size_t at, std::size_t count) const { return c_.At(at, count); }

 private:
  ByteCursor c_;
};

// The table directory: every entry must lie within the file; the nine tables
// used must be there (a tag that occurs twice: the later entry counts).
bool ReadDirectory(ByteSpan data, Reader& reader, std::array<TableView, kTableCount>& tables) {
  ByteCursor c(data);
  const std::uint32_t version = c.U32BE();
  if (!c.Ok()) return reader.Fail(TrueTypeStatus::kNotTrueType, "file too short");
  if (version == kTagOtto) return reader.Fail(TrueTypeStatus::kCffOutlines, "OTTO");
  if (version == kTagTtcf) return reader.Fail(TrueTypeStatus::kCollection, "ttcf");
  if (version != kTrueTypeVersion && version != kTagTrue)
    return reader.Fail(TrueTypeStatus::kNotTrueType, "sfnt version");
  const std::uint16_t count = c.U16BE();
  c.Seek(12);
  std::array<bool, kTableCount> found{};
  for (std::uint32_t t = 0; t < count; ++t) {
    const ByteSpan tag = c.Take(4);
    c.Skip(4);  // checksum
    const std::uint32_t offset = c.U32BE();
    const std::uint32_t length = c.U32BE();
    if (!c.Ok()) return reader.Fail(TrueTypeStatus::kOutOfRange, "table directory");
    std::string_view name(reinterpret_cast<const char*>(tag.data()), tag.size());
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    if (!RangeWithin(offset, length, data.size()))
      return reader.Fail(TrueTypeStatus::kOutOfRange, "table " + std::string(name));
    for (int i = 0; i < kTableCount; ++i) {
      if (name == kTags[static_cast<std::size_t>(i)]) {
        tables[static_cast<std::size_t>(i)] = TableView(data.subspan(offset, length));
        found[static_cast<std::size_t>(i)] = true;
      }
    }
  }
  for (int i = 0; i < kTableCount; ++i) {
    if (!found[static_cast<std::size_t>(i)])
      return reader.Fail(TrueTypeStatus::kMissingTable, std::string(kTags[static_cast<std::size_t>(i)]));
  }
  return true;
}

// Font units to thousandths of the em: value x (1000 / unitsPerEm, single
// precision), rounded half to even; it must fit the 16-bit field.
class Scaler {
 public:
  explicit Scaler(std::uint16_t units_per_em) : scale_(1000.0f / static_cast<float>(units_per_em)) {}
  bool Scale(std::int32_t value, std::int16_t& out, Reader& reader, const char* what) const {
    const double v = std::nearbyint(static_cast<double>(value) * static_cast<double>(scale_));
    if (v < -32768.0 || v > 32767.0) return reader.Fail(TrueTypeStatus::kOverflow, what);
    out = static_cast<std::int16_t>(v);
    return true;
  }

 private:
  float scale_;
};

// The cmap subtable of format 4 chosen for the codes: the first platform-3
// record whose subtable has format 4.
struct Format4 {
  TableView cmap;
  std::size_t start = 0;  // of the subtable within cmap
  std::uint32_t seg_count = 0;
};

bool FindFormat4(TableView cmap, Reader& reader, Format4& out) {
  const std::uint16_t records = cmap.U16(2);
  for (std::uint32_t i = 0; i < records; ++i) {
    const std::size_t at = 4 + 8 * std::size_t{i};
    const std::uint16_t platform = cmap.U16(at);
    const std::uint16_t encoding = cmap.U16(at + 2);
    const std::uint32_t offset = cmap.U32(at + 4);
    if (!cmap.Ok()) return reader.Fail(TrueTypeStatus::kOutOfRange, "cmap records");
    if (platform != 3) continue;
    const std::uint16_t format = cmap.U16(offset);
    if (!cmap.Ok()) return reader.Fail(TrueTypeStatus::kOutOfRange, "cmap subtable");
    if (format != 4) continue;
    out.cmap = cmap;
    out.start = offset;
    out.seg_count = cmap.U16(offset + 6) / 2u;
    // The four segment arrays (and the reserved word) must lie in the table.
    if (!cmap.Ok() || cmap.Bytes(offset + 14, 8 * std::size_t{out.seg_count} + 2).empty())
      return reader.Fail(TrueTypeStatus::kOutOfRange, "cmap segments");
    reader.font().Symbolic = (encoding == 0);
    return true;
  }
  return reader.Fail(TrueTypeStatus::kNoWindowsCmap, "cmap");
}

// The glyph of one character through a format-4 subtable: the first segment
// whose end is at or after the character holds it, if it starts at or
// before it; 0 (the missing glyph) otherwise.
bool LookUp(Format4& f, std::uint32_t ch, Reader& reader, std::uint16_t& glyph) {
  glyph = 0;
  const std::size_t ends = f.start + 14;
  const std::size_t n = f.seg_count;
  for (std::size_t k = 0; k < n; ++k) {
    if (f.cmap.U16(ends + 2 * k) < ch) continue;
    const std::uint16_t first = f.cmap.U16(ends + 2 + 2 * n + 2 * k);
    if (first > ch) return true;
    const std::uint16_t delta = f.cmap.U16(ends + 2 + 4 * n + 2 * k);
    const std::size_t range_at = ends + 2 + 6 * n + 2 * k;
    const std::uint16_t range_offset = f.cmap.U16(range_at);
    if (range_offset == 0) {
      glyph = static_cast<std::uint16_t>(ch + delta);
      return true;
    }
    const std::uint16_t g = f.cmap.U16(range_at + range_offset + 2 * (ch - first));
    if (!f.cmap.Ok()) return reader.Fail(TrueTypeStatus::kOutOfRange, "cmap glyph index array");
    glyph = g == 0 ? 0 : static_cast<std::uint16_t>(g + delta);
    return true;
  }
  return true;
}

// The character code a byte is looked up as (see the header).
bool GlyphsOfCodes(Format4& f, Reader& reader, std::array<std::uint16_t, 256>& glyphs) {
  for (std::uint32_t c = 0; c < 256; ++c) {
    std::uint16_t& g = glyphs[c];
    if (reader.font().Symbolic) {
      if (!LookUp(f, 0xF000 + c, reader, g)) return false;
      if (g == 0 && !LookUp(f, c, reader, g)) return false;
    } else {
      if (!LookUp(f, cp1252::to_unicode(static_cast<unsigned char>(c)), reader, g)) return false;
    }
  }
  return true;
}

// Advance widths: glyphs at or past numberOfHMetrics share the last advance.
bool ReadWidths(TableView hmtx, std::uint16_t h_metrics, const Scaler& scaler,
                const std::array<std::uint16_t, 256>& glyphs, Reader& reader) {
  if (h_metrics == 0) return reader.Fail(TrueTypeStatus::kOutOfRange, "hhea numberOfHMetrics 0");
  TrueTypeFont& font = reader.font();
  const auto advance = [&](std::uint32_t glyph) -> std::int32_t {
    const std::uint32_t i = glyph < h_metrics ? glyph : h_metrics - 1u;
    return hmtx.U16(4 * std::size_t{i});
  };
  const std::int32_t missing = advance(0);
  if (!hmtx.Ok()) return reader.Fail(TrueTypeStatus::kOutOfRange, "hmtx");
  if (!scaler.Scale(missing, font.MissingWidth, reader, "missing width")) return false;
  for (std::size_t c = 0; c < 256; ++c) {
    const std::int32_t a = advance(glyphs[c]);
    if (!hmtx.Ok()) return reader.Fail(TrueTypeStatus::kOutOfRange, "hmtx glyph " + std::to_string(glyphs[c]));
    if (!scaler.Scale(a, font.Widths[c], reader, "advance width")) return false;
  }
  return true;
}

// The box of the simple glyphs of the codes, starting from the origin.
// Composite glyphs do not count, nor do empty ones (no outline at all).
bool ReadBox(TableView loca, TableView glyf, bool long_offsets, const Scaler& scaler,
             const std::array<std::uint16_t, 256>& glyphs, Reader& reader) {
  std::int32_t box[4] = {0, 0, 0, 0};  // xMin, yMin, xMax, yMax
  const auto location = [&](std::uint32_t glyph) -> std::size_t {
    return long_offsets ? loca.U32(4 * std::size_t{glyph})
                        : 2 * std::size_t{loca.U16(2 * std::size_t{glyph})};
  };
  for (std::size_t c = 0; c < 256; ++c) {
    const std::uint32_t g = glyphs[c];
    const std::size_t begin = location(g);
    const std::size_t end = location(g + 1);
    if (!loca.Ok()) return reader.Fail(TrueTypeStatus::kOutOfRange, "loca glyph " + std::to_string(g));
    if (end == begin) continue;
    if (end < begin || end > glyf.Size() || end - begin < 10)
      return reader.Fail(TrueTypeStatus::kOutOfRange, "glyf glyph " + std::to_string(g));
    if (glyf.S16(begin) < 0) continue;
    box[0] = std::min<std::int32_t>(box[0], glyf.S16(begin + 2));
    box[1] = std::min<std::int32_t>(box[1], glyf.S16(begin + 4));
    box[2] = std::max<std::int32_t>(box[2], glyf.S16(begin + 6));
    box[3] = std::max<std::int32_t>(box[3], glyf.S16(begin + 8));
  }
  TrueTypeFont& font = reader.font();
  return scaler.Scale(box[0], font.XMin, reader, "font box") &&
         scaler.Scale(box[1], font.YMin, reader, "font box") &&
         scaler.Scale(box[2], font.XMax, reader, "font box") &&
         scaler.Scale(box[3], font.YMax, reader, "font box");
}

// The full name (ID 4) of the Windows records of the font's encoding (0 for
// a symbol font, 1 otherwise): the first such record, replaced by the first
// later one in an English language. Each UTF-16 unit gives its low byte;
// blanks (and NULs, which no PDF name may hold) are dropped.
bool ReadName(TableView name, Reader& reader) {
  const std::uint16_t count = name.U16(2);
  const std::size_t strings = name.U16(4);
  if (!name.Ok()) return reader.Fail(TrueTypeStatus::kOutOfRange, "name");
  const std::uint16_t wanted_encoding = reader.font().Symbolic ? 0 : 1;
  bool have_first = false;
  std::string full_name;
  for (std::uint32_t r = 0; r < count; ++r) {
    const std::size_t at = 6 + 12 * std::size_t{r};
    const std::uint16_t platform = name.U16(at);
    const std::uint16_t encoding = name.U16(at + 2);
    const std::uint16_t language = name.U16(at + 4);
    const std::uint16_t name_id = name.U16(at + 6);
    const std::uint16_t length = name.U16(at + 8);
    const std::uint16_t offset = name.U16(at + 10);
    if (!name.Ok()) return reader.Fail(TrueTypeStatus::kOutOfRange, "name records");
    if (platform != 3 || encoding != wanted_encoding || name_id != 4) continue;
    const bool english = language == 1033 || language == 2057 || language == 3081 ||
                         language == 4105 || language == 5129 || language == 6153;
    if (have_first && !english) continue;
    const ByteSpan text = name.Bytes(strings + offset, length);
    if (text.size() != length) return reader.Fail(TrueTypeStatus::kOutOfRange, "name string");
    full_name.clear();
    for (std::size_t k = 1; k < text.size(); k += 2) {
      if (text[k] != ' ' && text[k] != 0) full_name += static_cast<char>(text[k]);
    }
    if (have_first) break;
    have_first = true;
  }
  if (full_name.empty()) return reader.Fail(TrueTypeStatus::kNoFontName, "name");
  reader.font().FontName = std::move(full_name);
  return true;
}

// Every step in the order of the file's dependencies; false at the first
// failure, which the reader holds.
bool ReadFont(ByteSpan data, Reader& reader) {
  std::array<TableView, kTableCount> t;
  if (!ReadDirectory(data, reader, t)) return false;
  TrueTypeFont& font = reader.font();

  const std::uint16_t units_per_em = t[kHead].U16(18);
  const bool long_offsets = t[kHead].U16(50) != 0;
  if (!t[kHead].Ok()) return reader.Fail(TrueTypeStatus::kOutOfRange, "head");
  if (units_per_em == 0) return reader.Fail(TrueTypeStatus::kNoUnitsPerEm, "head");
  const Scaler scaler(units_per_em);

  const std::int16_t avg_width = t[kOs2].S16(2);
  font.WeightClass = t[kOs2].U16(4);
  const std::uint16_t win_ascent = t[kOs2].U16(74);
  const std::uint16_t win_descent = t[kOs2].U16(76);
  if (!t[kOs2].Ok()) return reader.Fail(TrueTypeStatus::kOutOfRange, "OS/2");
  const std::uint16_t max_width = t[kHhea].U16(10);
  const std::uint16_t h_metrics = t[kHhea].U16(34);
  if (!t[kHhea].Ok()) return reader.Fail(TrueTypeStatus::kOutOfRange, "hhea");
  const std::int16_t angle_integer = t[kPost].S16(4);
  const std::uint16_t angle_fraction = t[kPost].U16(6);
  font.FixedPitch = t[kPost].U32(12) != 0;
  if (!t[kPost].Ok()) return reader.Fail(TrueTypeStatus::kOutOfRange, "post");
  const double angle = angle_integer + angle_fraction / 65536.0;
  font.ItalicAngle = static_cast<float>(std::nearbyint(angle * 100) / 100);

  if (!scaler.Scale(avg_width, font.AvgWidth, reader, "xAvgCharWidth") ||
      !scaler.Scale(win_ascent, font.Ascent, reader, "usWinAscent") ||
      !scaler.Scale(-std::int32_t{win_descent}, font.Descent, reader, "usWinDescent") ||
      !scaler.Scale(max_width, font.MaxWidth, reader, "advanceWidthMax"))
    return false;
  // The record's line height is Ascent + |Descent|, a 16-bit field as well.
  if (std::int32_t{font.Ascent} - font.Descent > 32767)
    return reader.Fail(TrueTypeStatus::kOverflow, "line height");

  Format4 cmap;
  std::array<std::uint16_t, 256> glyphs{};
  return FindFormat4(t[kCmap], reader, cmap) && GlyphsOfCodes(cmap, reader, glyphs) &&
         ReadWidths(t[kHmtx], h_metrics, scaler, glyphs, reader) &&
         ReadBox(t[kLoca], t[kGlyf], long_offsets, scaler, glyphs, reader) &&
         ReadName(t[kName], reader);
}

}  // namespace

TrueTypeResult ReadTrueType(ByteSpan data) {
  TrueTypeResult result;
  Reader reader(result);
  ReadFont(data, reader);
  if (result.status != TrueTypeStatus::kOk) result.font = TrueTypeFont{};
  return result;
}

}  // namespace pdf
