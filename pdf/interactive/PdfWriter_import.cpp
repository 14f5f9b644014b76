// ImportPage: a page of an existing PDF file drawn on the page being
// written. The source page becomes a form XObject of this document, written
// once per source; the objects its resources use are copied once per source
// under new numbers. The whole page (its dictionary, media box, content
// streams and every object to copy) is read and checked before the first
// byte is written, so a faulty source leaves the document as it was.

#include <cmath>

#include "pdf/PdfWriter.h"
#include "pdf/core/pdf_name.h"
#include "pdf/core/inflate.h"
#include "pdf/interactive/pdf_rewrite.h"
#include "pdf/interactive/pdf_source.h"

namespace pdf {

namespace {

constexpr char CR = '\r';
// The most decoded content one imported page may have.
constexpr std::size_t kMaxJoinedContent = std::size_t{256} << 20;

void Check(const PdfStatus& s) {
  if (!s.ok()) throw PdfError(s.number, s.description);
}

std::string ObjectName(std::int64_t n) { return "object " + std::to_string(n); }

// The page's media box, corners in any order, as x1 y1 x2 y2 with x1 < x2
// and y1 < y2.
std::array<float, 4> MediaBox(const PdfValue& box) {
  if (!box.Is(PdfValue::Type::kArray) || box.items.size() != 4)
    throw PdfError(321, "Invalid file format: the page has no media box of four numbers");
  float v[4];
  for (int i = 0; i < 4; ++i) {
    const PdfValue& item = box.items[static_cast<std::size_t>(i)];
    if (!item.IsNumber() || !(std::fabs(item.real) <= 1e9))
      throw PdfError(321, "Invalid file format: the page's media box holds something other than numbers");
    v[i] = static_cast<float>(item.real);
  }
  const std::array<float, 4> r = {std::fmin(v[0], v[2]), std::fmin(v[1], v[3]), std::fmax(v[0], v[2]),
                                  std::fmax(v[1], v[3])};
  if (!(r[2] - r[0] > 0) || !(r[3] - r[1] > 0) || !std::isfinite(r[2] - r[0]) || !std::isfinite(r[3] - r[1]))
    throw PdfError(321, "Invalid file format: the page's media box has no area");
  return r;
}

// The page content as the form XObject gets it.
struct PageContent {
  bool present = false;  // the page has /Contents
  Bytes data;
  std::string filter;        // one stream: its /Filter as written
  std::string decode_parms;  // one stream: its /DecodeParms as written
};

std::string OneLine(const PdfSourceFile& source, const PdfValue* entry) {
  if (entry == nullptr) return "";
  PdfValue v;
  Check(source.Resolve(*entry, v));
  if (v.Is(PdfValue::Type::kNull)) return "";
  PdfRewriteOptions o;
  o.one_line = true;
  o.reference = [](std::int64_t) { return std::string("null"); };
  return RewritePdfValue(source.File(), v, o);
}

// The stream's bytes for joining with others: as stored without a filter,
// decoded for /FlateDecode (a one-element array counts as the name).
void AppendDecoded(const PdfSourceFile& source, std::int64_t n, const PdfObject& o, Bytes& out) {
  const ByteSpan raw = source.File().subspan(o.stream_start, o.stream_length);
  PdfValue filter;
  if (const PdfValue* f = o.value.Find("Filter")) Check(source.Resolve(*f, filter));
  if (filter.Is(PdfValue::Type::kArray) && filter.items.size() == 1) filter = PdfValue(filter.items[0]);
  const bool empty_array = filter.Is(PdfValue::Type::kArray) && filter.items.empty();
  ByteSpan add = raw;
  InflateResult decoded;
  if (filter.IsName("FlateDecode")) {
    const PdfValue* parms = o.value.Find("DecodeParms");
    if (parms != nullptr && !parms->Is(PdfValue::Type::kNull))
      throw PdfError(321, "Invalid file format: the content stream of " + ObjectName(n) +
                              " has /DecodeParms, which joined content cannot keep");
    if (raw.size() < 2)
      throw PdfError(321, "Invalid file format: the content stream of " + ObjectName(n) + " is cut short");
    // The zlib header goes; the data end with the final block.
    decoded = InflateData(raw.subspan(2), kMaxJoinedContent - out.size());
    if (decoded.status != InflateStatus::kOk)
      throw PdfError(321, "Invalid file format: the content stream of " + ObjectName(n) +
                              " does not decode: " + std::string(InflateStatusText(decoded.status)));
    add = decoded.data;
  } else if (!filter.Is(PdfValue::Type::kNull) && !empty_array) {
    throw PdfError(321, "Invalid file format: the content streams of the page use a filter that "
                        "cannot be joined (" + ObjectName(n) + ")");
  }
  if (add.size() > kMaxJoinedContent - out.size())
    throw PdfError(321, "Invalid file format: the page's content is larger than 256 MiB");
  out.insert(out.end(), add.begin(), add.end());
}

PageContent ReadContent(const PdfSourceFile& source, const PdfValue& page) {
  PageContent content;
  const PdfValue* entry = page.Find("Contents");
  if (entry == nullptr) return content;
  content.present = true;
  // A reference names one stream or an array object of references.
  std::vector<std::int64_t> streams;
  PdfObject single;
  if (entry->Is(PdfValue::Type::kRef)) {
    Check(source.ReadObject(entry->integer, true, single));
    if (single.has_stream) streams.push_back(entry->integer);
    else CollectReferences(single.value, streams);
  } else {
    CollectReferences(*entry, streams);
  }
  std::vector<std::pair<std::int64_t, PdfObject>> objects;
  for (std::int64_t n : streams) {
    PdfObject o;
    Check(source.ReadObject(n, true, o));
    if (o.missing) continue;  // a reference to nothing reads as null
    if (!o.has_stream)
      throw PdfError(321, "Invalid file format: the page's content " + ObjectName(n) + " is not a stream");
    objects.emplace_back(n, std::move(o));
  }
  if (objects.size() == 1) {
    // One stream is copied as stored, with its filter.
    const PdfObject& o = objects[0].second;
    const ByteSpan raw = source.File().subspan(o.stream_start, o.stream_length);
    content.data.assign(raw.begin(), raw.end());
    content.filter = OneLine(source, o.value.Find("Filter"));
    content.decode_parms = OneLine(source, o.value.Find("DecodeParms"));
    return content;
  }
  // Several are decoded and joined, a line end between two, so that the
  // last operator of one and the first of the next stay apart.
  for (std::size_t i = 0; i < objects.size(); ++i) {
    if (i > 0) content.data.push_back('\n');
    AppendDecoded(source, objects[i].first, objects[i].second, content.data);
  }
  return content;
}

struct PlannedObject {
  std::int64_t source = 0;
  std::int32_t target = 0;
  PdfObject object;
};

}  // namespace

void PdfWriter::ImportPage(const std::string& Filename, std::int32_t PageNumber, float DestX, float DestY,
                           float XDim, float YDim) {
  // A page brings its own colours and pictures, which the cell of an
  // uncoloured tiling pattern may not hold.
  if (UncolouredCell()) throw PdfError(5);
  ContentRollback rollback(*this);  // a failure leaves the content as it was
  GetInfo(Filename);
  // Only a record of this very file may be drawn from.
  const std::int32_t s = Import.CurrentSource;
  if (s == 0 || Import.ImportSources.at(static_cast<std::size_t>(s)).FileName != Filename) return;
  {
    const ImportSource& source = Import.ImportSources.at(static_cast<std::size_t>(s));
    if (source.Encrypted || PageNumber < 1 || PageNumber > source.PageCount) return;
    // A page imported before is drawn again from its form XObject.
    if (source.PageObjects.at(static_cast<std::size_t>(PageNumber)) > 0) WriteImportedPage(s, PageNumber);
  }
  const ImportSource& source = Import.ImportSources.at(static_cast<std::size_t>(s));
  const std::array<float, 4> box = source.PageBoxes.at(static_cast<std::size_t>(PageNumber));
  const float W = box[2] - box[0];
  const float H = box[3] - box[1];
  SetXY(DestX, DestY);
  const float S = Pages.ScaleFactor;
  if (XDim == 0 && YDim == 0) {
    XDim = W / S;
    YDim = H / S;
  } else if (XDim == 0) {
    XDim = W * YDim / H;
  } else if (YDim == 0) {
    YDim = H * XDim / W;
  }
  const float sx = XDim * S / W;
  const float sy = YDim * S / H;
  // The media box's lower-left corner lands on the destination box's
  // lower-left corner (the page's content runs with y downward).
  const float e = ToPoints(DestX) - sx * box[0];
  const float f = ToPoints(DestY + YDim) + sy * box[1];
  if (!std::isfinite(sx) || !std::isfinite(sy) || !std::isfinite(e) || !std::isfinite(f)) throw PdfError(6);
  const std::string name = "_PDF_" + std::to_string(s) + "." + std::to_string(PageNumber);
  // A scale written as 0 would make the placement singular: refused.
  const std::string sx_text = ScaleText(sx);
  const std::string placement = sx_text + " 0 0 " + ScaleText(-sy) + " " + FormatNumber(e) + " " + FormatNumber(f) + " cm";
  // Not every reader ends a path at "Do": a path the caller left open is
  // ended before the page.
  EndOpenPath();
  AppendContent("q");
  AppendContent(placement);
  AppendContent(NameToken(name) + " Do");
  AppendContent("Q");
  ColourCarried();
  SetLastRect(Pages.CurrentX, Pages.PageHeight - Pages.CurrentY, Pages.CurrentX + XDim * S,
              Pages.PageHeight - Pages.CurrentY - YDim * S);
  RequireVersion(source.VersionIncrement);
}

void PdfWriter::WriteImportedPage(std::int32_t Source, std::int32_t PageNumber) {
  ImportSource& record = Import.ImportSources.at(static_cast<std::size_t>(Source));
  if (Output.Handle == nullptr) throw PdfError(52);
  std::string description;
  if (const std::int32_t failure = LoadSourceFile(record.FileName, description))
    throw PdfError(failure, description);
  const Bytes& file = Import.CachedBytes;
  const PdfSourceFile source(file, record.ObjectOffsets);

  // ---- read and check everything ----
  const std::int32_t pageObject = record.PageObjects.at(static_cast<std::size_t>(PageNumber));
  PdfObject page;
  Check(source.ReadObject(pageObject, false, page));
  if (!page.value.Is(PdfValue::Type::kDict))
    throw PdfError(321, "Invalid file format: page " + std::to_string(PageNumber) + " is not a dictionary");
  PdfValue resources, mediaBox;
  Check(source.InheritedValue(page.value, "Resources", resources));
  Check(source.InheritedValue(page.value, "MediaBox", mediaBox));
  const std::array<float, 4> box = MediaBox(mediaBox);
  const PageContent content = ReadContent(source, page.value);

  // The objects the resources use, each given its number before the
  // objects it refers to are looked at, so a cycle of references ends.
  std::vector<PlannedObject> planned;
  std::vector<std::int32_t>& numbers = record.ImportedNumbers;
  std::int32_t next = Objects.LastObjectNumber;
  try {
    std::vector<std::int64_t> pending;
    CollectReferences(resources, pending);
    while (!pending.empty()) {
      const std::int64_t n = pending.back();
      pending.pop_back();
      if (n <= 0 || static_cast<std::uint64_t>(n) >= numbers.size() || numbers[static_cast<std::size_t>(n)] != 0)
        continue;
      PlannedObject p;
      Check(source.ReadObject(n, true, p.object));
      if (p.object.missing) continue;  // written as null
      if (next == INT32_MAX) throw PdfError(6);
      p.source = n;
      p.target = ++next;
      numbers[static_cast<std::size_t>(n)] = p.target;
      // A stream's /Length becomes a direct number: its object is not needed.
      for (const PdfValue& entry : p.object.value.items) {
        if (!(p.object.has_stream && entry.key == "Length")) CollectReferences(entry, pending);
      }
      if (!p.object.value.Is(PdfValue::Type::kDict)) CollectReferences(p.object.value, pending);
      planned.push_back(std::move(p));
    }

    // ---- write ----
    PdfRewriteOptions options;
    options.reference = [&numbers](std::int64_t n) {
      if (n <= 0 || static_cast<std::uint64_t>(n) >= numbers.size() || numbers[static_cast<std::size_t>(n)] == 0)
        return std::string("null");
      return std::to_string(numbers[static_cast<std::size_t>(n)]) + " 0 R";
    };
    // Strings of the copies are encrypted with their new object's key.
    if (Security.Encrypted) options.string = [this](const std::string& text) { return FormatTextString(text); };
    auto streamLine = [this](std::int32_t object, Bytes data) {
      if (Security.Encrypted && !data.empty()) {
        std::int32_t last = static_cast<std::int32_t>(data.size()) - 1;
        data = Rc4(GetObjectKey(object), data, last);
      }
      WriteLine(std::string("stream") + CR + "\n" + std::string(data.begin(), data.end()) + CR + "endstream");
    };

    // Children were found after their parents: written in reverse, they come first.
    for (auto it = planned.rbegin(); it != planned.rend(); ++it) {
      const PdfObject& o = it->object;
      BeginIndirectObject(it->target);
      PdfRewriteOptions own = options;
      own.direct_length = o.has_stream ? static_cast<std::int64_t>(o.stream_length) : -1;
      WriteLine(RewritePdfValue(file, o.value, own));
      if (o.has_stream) {
        const ByteSpan raw = ByteSpan(file).subspan(o.stream_start, o.stream_length);
        streamLine(it->target, Bytes(raw.begin(), raw.end()));
      }
      EndIndirectObject();
    }

    std::int32_t form = BeginIndirectObject(0);
    WriteLine("<< /Type /XObject /Subtype /Form /FormType 1");
    WriteLine("   /BBox [" + FormatNumber(box[0]) + " " + FormatNumber(box[1]) + " " + FormatNumber(box[2]) +
              " " + FormatNumber(box[3]) + " ]");
    PdfRewriteOptions inline_options = options;
    inline_options.one_line = true;
    WriteLine("   /Resources " +
              (resources.Is(PdfValue::Type::kDict) ? RewritePdfValue(file, resources, inline_options) : "<< >>"));
    if (content.present) {
      WriteLine("   /Length " + std::to_string(content.data.size()));
      if (!content.filter.empty()) WriteLine("   /Filter " + content.filter);
      if (!content.decode_parms.empty()) WriteLine("   /DecodeParms " + content.decode_parms);
      WriteLine(">>");
      streamLine(form, content.data);
    } else {
      WriteLine("   /Length 0");
      WriteLine(">>");
      WriteLine(std::string("stream") + CR + "\nendstream");
    }
    EndIndirectObject();
    Resources.XObjectResources += NameToken("_PDF_" + std::to_string(Source) + "." + std::to_string(PageNumber)) +
                                  " " + std::to_string(form) + " 0 R " + CR;
  } catch (...) {
    // Nothing of a failed import stays reserved.
    for (const PlannedObject& p : planned) numbers[static_cast<std::size_t>(p.source)] = 0;
    throw;
  }
  record.PageObjects[static_cast<std::size_t>(PageNumber)] = -pageObject;
  record.PageBoxes.at(static_cast<std::size_t>(PageNumber)) = box;
}

}  // namespace pdf
