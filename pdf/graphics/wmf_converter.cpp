#include "pdf/graphics/wmf_converter.h"

#include <cstddef>
#include <optional>

#include "pdf/core/byte_cursor.h"

namespace pdf {

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;

enum Function : std::uint16_t {
  kEof = 0x0000,
  kSetPolyFillMode = 0x0106,
  kSelectObject = 0x012D,
  kDeleteObject = 0x01F0,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kCreatePenIndirect = 0x02FA,
  kCreateBrushIndirect = 0x02FC,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kPolyPolygon = 0x0538,
};

// Records that create an object the drawing does not use; they still take
// an object slot so that later indexes stay right.
bool CreatesOtherObject(std::uint16_t f) {
  switch (f) {
    case 0x00F7: case 0x00F8: case 0x0142: case 0x01F9:
    case 0x02FB: case 0x02FD: case 0x06FE: case 0x06FF:
      return true;
    default:
      return false;
  }
}

struct WmfObject {
  bool free = true;
  char kind = 'D';  // 'P' pen, 'B' brush, 'D' any other object
  std::uint16_t style = 0;
  std::int32_t pen_width = 0;
  std::uint8_t rgb[3] = {0, 0, 0};
};

// The parameter words of one record.
class Params {
 public:
  explicit Params(ByteSpan bytes) : bytes_(bytes) {}
  std::size_t Words() const { return bytes_.size() / 2; }
  std::size_t Bytes() const { return bytes_.size(); }
  std::uint16_t Word(std::size_t k) const {
    return static_cast<std::uint16_t>(bytes_[2 * k] | (bytes_[2 * k + 1] << 8));
  }
  std::int16_t Signed(std::size_t k) const { return static_cast<std::int16_t>(Word(k)); }
  std::uint8_t Byte(std::size_t k) const { return bytes_[k]; }

 private:
  ByteSpan bytes_;
};

class Converter {
 public:
  WmfDrawing Run(ByteSpan file);

 private:
  void Record(std::uint16_t function, const Params& p);
  // The slot for a new object: the lowest free one, or a new one.
  WmfObject& NewObject();
  void Select(const WmfObject& o);
  // Points (x, y) of a polygon from Words k on, last point first.
  void Points(const Params& p, std::size_t k, std::size_t count);
  void Line(std::string text) {
    WmfStep s;
    s.text = std::move(text);
    out_.steps.push_back(std::move(s));
  }
  void Fault(ReadStatus status, const char* reason) {
    if (out_.status != ReadStatus::kOk) return;
    out_.status = status;
    out_.reason = reason;
  }
  std::string Closing() const;

  WmfDrawing out_;
  std::vector<WmfObject> objects_;
  bool pen_off_ = false;
  bool brush_off_ = false;
  std::uint16_t fill_mode_ = 0;
  bool started_ = false;
  bool origin_given_ = false, extent_given_ = false;
  std::int32_t origin_[2] = {0, 0}, extent_[2] = {0, 0};
  bool mapping_ = false;
  std::int32_t mapping_values_[4] = {0, 0, 0, 0};
};

WmfDrawing Converter::Run(ByteSpan file) {
  ByteCursor c(file);
  const std::uint32_t key = c.U32LE();
  // The placeable header (22 bytes) comes before the 18-byte metafile header.
  c.Skip(key == kPlaceableKey ? 36 : 14);
  if (!c.Ok()) {
    Fault(ReadStatus::kTruncated, "WMF header cut short");
    return std::move(out_);
  }
  while (!c.AtEnd()) {
    const std::size_t start = c.Offset();
    const std::uint32_t size = c.U32LE();
    const std::uint16_t function = c.U16LE();
    if (!c.Ok()) {
      Fault(ReadStatus::kTruncated, "WMF record head cut short");
      break;
    }
    if (size < 3) {
      Fault(ReadStatus::kInvalid, "WMF record shorter than its own head");
      break;
    }
    const std::size_t bytes = std::size_t{size} * 2;
    if (!RangeWithin(start, bytes, file.size())) {
      Fault(ReadStatus::kTruncated, "WMF record runs past the end of the file");
      break;
    }
    c.Seek(start + bytes);
    if (function == kEof) break;
    Record(function, Params(file.subspan(start + 6, bytes - 6)));
  }
  return std::move(out_);
}

void Converter::Record(std::uint16_t function, const Params& p) {
  if (!started_ && origin_given_ && extent_given_) {
    mapping_ = true;
    mapping_values_[0] = origin_[0];
    mapping_values_[1] = origin_[1];
    mapping_values_[2] = extent_[0];
    mapping_values_[3] = extent_[1];
    origin_given_ = extent_given_ = false;
  }
  const bool draws = function == kSelectObject || function == kPolygon || function == kPolyline ||
                     function == kPolyPolygon;
  if (draws && !started_) {
    if (mapping_) {
      WmfStep s;
      s.kind = WmfStepKind::kMapping;
      for (int i = 0; i < 4; ++i) s.values[i] = mapping_values_[i];
      out_.steps.push_back(s);
    }
    started_ = true;
  }
  const auto too_short = [this]() { Fault(ReadStatus::kInvalid, "WMF record shorter than its kind reads"); };

  switch (function) {
    case kSetPolyFillMode:
      if (p.Words() < 1) return too_short();
      fill_mode_ = p.Word(0);
      return;
    case kSelectObject:
    case kDeleteObject: {
      if (p.Words() < 1) return too_short();
      const std::size_t index = p.Word(0);
      if (index >= objects_.size()) return Fault(ReadStatus::kInvalid, "WMF object index beyond the object table");
      if (function == kDeleteObject) objects_[index].free = true;
      else Select(objects_[index]);
      return;
    }
    case kSetWindowOrg:
    case kSetWindowExt: {
      if (started_) return;
      if (p.Words() < 2) return too_short();
      std::int32_t* target = function == kSetWindowOrg ? origin_ : extent_;
      target[1] = p.Signed(0);  // y comes first
      target[0] = p.Signed(1);
      (function == kSetWindowOrg ? origin_given_ : extent_given_) = true;
      return;
    }
    case kCreatePenIndirect: {
      if (p.Bytes() < 9) return too_short();
      WmfObject& o = NewObject();
      o.kind = 'P';
      o.style = p.Word(0);
      o.pen_width = p.Signed(1) < 0 ? 0 : p.Signed(1);
      o.rgb[0] = p.Byte(6);
      o.rgb[1] = p.Byte(7);
      o.rgb[2] = p.Byte(8);
      return;
    }
    case kCreateBrushIndirect: {
      if (p.Bytes() < 5) return too_short();
      WmfObject& o = NewObject();
      o.kind = 'B';
      o.style = p.Word(0);
      o.rgb[0] = p.Byte(2);
      o.rgb[1] = p.Byte(3);
      o.rgb[2] = p.Byte(4);
      return;
    }
    case kPolygon:
    case kPolyline: {
      if (p.Words() < 1) return too_short();
      const std::size_t n = p.Word(0);
      if (p.Words() < 1 + 2 * n) return too_short();
      if (n == 0) return;  // no path to paint
      Points(p, 1, n);
      // A polyline is only stroked: with the null pen it paints nothing.
      Line(function == kPolygon ? Closing() : pen_off_ ? "n" : "S");
      return;
    }
    case kPolyPolygon: {
      if (p.Words() < 1) return too_short();
      const std::size_t m = p.Word(0);
      if (p.Words() < 1 + m) return too_short();
      std::size_t total = 0;
      for (std::size_t i = 0; i < m; ++i) total += p.Word(1 + i);
      if (p.Words() < 1 + m + 2 * total) return too_short();
      if (total == 0) return;
      std::size_t k = 1 + m;
      for (std::size_t i = 0; i < m; ++i) {
        const std::size_t n = p.Word(1 + i);
        if (n > 0) Points(p, k, n);
        k += 2 * n;
      }
      Line(Closing());
      return;
    }
    default:
      if (CreatesOtherObject(function)) NewObject().kind = 'D';
      return;
  }
}

WmfObject& Converter::NewObject() {
  for (WmfObject& o : objects_) {
    if (o.free) {
      o.free = false;
      return o;
    }
  }
  objects_.emplace_back();
  objects_.back().free = false;
  return objects_.back();
}

void Converter::Select(const WmfObject& o) {
  if (o.kind == 'P') {
    pen_off_ = false;
    static const char* const kDashes[] = {"[ ] 0 d", "[3 1] 0 d", "[0.5 0.5] 0 d", "[2 1 0.5 1] 0 d",
                                          "[2 1 0.5 1 0.5 1] 0 d"};
    if (o.style == 5) {  // the null pen
      pen_off_ = true;
      return;
    }
    if (o.style < 5) Line(kDashes[o.style]);
    WmfStep colour;
    colour.kind = WmfStepKind::kPenColour;
    for (int i = 0; i < 3; ++i) colour.rgb[i] = o.rgb[i];
    out_.steps.push_back(colour);
    WmfStep width;
    width.kind = WmfStepKind::kPenWidth;
    width.values[0] = o.pen_width;
    out_.steps.push_back(width);
  } else if (o.kind == 'B') {
    if (o.style == 1) {  // the hollow brush
      brush_off_ = true;
      return;
    }
    brush_off_ = false;
    WmfStep colour;
    colour.kind = WmfStepKind::kFillColour;
    for (int i = 0; i < 3; ++i) colour.rgb[i] = o.rgb[i];
    out_.steps.push_back(colour);
  }
}

void Converter::Points(const Params& p, std::size_t k, std::size_t count) {
  for (std::size_t i = count; i-- > 0;) {
    const std::size_t at = k + 2 * i;
    Line(std::to_string(p.Signed(at)) + " " + std::to_string(p.Signed(at + 1)) + (i + 1 == count ? " m" : " l"));
  }
}

std::string Converter::Closing() const {
  std::string op;
  if (pen_off_ && brush_off_) return "n";
  if (pen_off_) op = "f";
  else if (brush_off_) return "s";
  else op = "b";
  if (fill_mode_ == 1) op += "*";  // alternate: even-odd
  return op;
}

}  // namespace

WmfDrawing ConvertWmfRecords(ByteSpan File) { return Converter().Run(File); }

}  // namespace pdf
