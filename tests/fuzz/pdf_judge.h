#pragma once
// Judges a PDF file the writer made with our own file reader, as strictly as
// the real readers do: the cross-reference table and every object it lists
// parse ("n g obj", a value, an optional stream of its /Length, "endobj");
// every number stays in the range readers take; and every content stream
// (the pages', the recorded objects' and the tiling patterns') holds only
// known operators, each with its operand count and kinds, names only the
// resources its dictionary has (a recorded object without resources of its
// own: the first page's; a tiling pattern: its own), balances q/Q, BT/ET
// and marked content (BMC/BDC and EMC), shows and places
// text only inside BT/ET, gives the line-style operators operands in their
// range and "cm" a matrix with an inverse, selects an uncoloured tiling
// pattern with colour components, has a current point for each path
// operator that extends, closes, clips or paints a path, and keeps to the
// grammar of a path object (PathFits). The cell of an uncoloured tiling
// pattern, and every form it draws, sets no colour and draws no picture
// but a stencil mask (UncolouredFault); every widget is a field, with a
// type and a name (FieldFault). Content is judged with the filters its
// stream lists undone, in their order, by the judge's own decoders
// (judge_filters.h: ASCIIHex, ASCII85, LZW, RunLength, Flate, in any chain);
// content that does not decode, or under a filter or predictor the judge
// does not read, is a fault. The streams of an encrypted file, and imported
// pages with what was copied with them (the source's own content) are
// judged as objects only.

#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "pdf/interactive/pdf_lexer.h"
#include "pdf/interactive/pdf_objects.h"
#include "pdf/interactive/pdf_source.h"
#include "pdf/interactive/pdf_xref.h"
#include "tests/fuzz/judge_filters.h"

namespace pdf_judge {

using pdf::PdfValue;
using Type = pdf::PdfValue::Type;

// A number written without a point must fit 32 bits, any other one the
// single-precision range; a longer number token than this is refused too.
constexpr std::size_t kLongestNumber = 32;

// The most bytes a content stream may decode to, at each of its filters.
constexpr std::size_t kLargestContent = std::size_t{1} << 28;

inline std::string NumberFault(pdf::ByteSpan text, const PdfValue& v) {
  if (!v.IsNumber()) return "";
  const std::string_view raw(reinterpret_cast<const char*>(text.data()) + v.start, v.end - v.start);
  const bool whole = raw.find('.') == std::string_view::npos;
  if (raw.size() > kLongestNumber || !std::isfinite(v.real) || std::fabs(v.real) > (whole ? 2147483647.0 : 3.4e38))
    return "the number " + std::string(raw.substr(0, 40)) + " is outside the range readers take";
  return "";
}

inline std::string ValueFault(pdf::ByteSpan text, const PdfValue& v) {
  std::string fault = NumberFault(text, v);
  for (std::size_t i = 0; fault.empty() && i < v.items.size(); ++i) fault = ValueFault(text, v.items[i]);
  return fault;
}

// An operator's operands, one letter each: n number, N name, s string,
// a array, d dictionary or name; "*" one to four numbers, then maybe a name.
inline const std::map<std::string, std::string, std::less<>>& Operators() {
  static const std::map<std::string, std::string, std::less<>> table = {
      {"w", "n"},      {"J", "n"},      {"j", "n"},     {"M", "n"},      {"d", "an"},   {"ri", "N"},   {"i", "n"},
      {"gs", "N"},     {"q", ""},       {"Q", ""},      {"cm", "nnnnnn"}, {"m", "nn"},  {"l", "nn"},   {"c", "nnnnnn"},
      {"v", "nnnn"},   {"y", "nnnn"},   {"h", ""},      {"re", "nnnn"},  {"S", ""},     {"s", ""},     {"f", ""},
      {"F", ""},       {"f*", ""},      {"B", ""},      {"B*", ""},      {"b", ""},     {"b*", ""},    {"n", ""},
      {"W", ""},       {"W*", ""},      {"BT", ""},     {"ET", ""},      {"Tc", "n"},   {"Tw", "n"},   {"Tz", "n"},
      {"TL", "n"},     {"Tf", "Nn"},    {"Tr", "n"},    {"Ts", "n"},     {"Td", "nn"},  {"TD", "nn"},  {"Tm", "nnnnnn"},
      {"T*", ""},      {"Tj", "s"},     {"TJ", "a"},    {"'", "s"},      {"\"", "nns"}, {"d0", "nn"},  {"d1", "nnnnnn"},
      {"CS", "N"},     {"cs", "N"},     {"SC", "*"},    {"SCN", "*"},    {"sc", "*"},   {"scn", "*"},  {"G", "n"},
      {"g", "n"},      {"RG", "nnn"},   {"rg", "nnn"},  {"K", "nnnn"},   {"k", "nnnn"}, {"sh", "N"},   {"Do", "N"},
      {"MP", "N"},     {"DP", "Nd"},    {"BMC", "N"},   {"BDC", "Nd"},   {"EMC", ""},   {"BX", ""},    {"EX", ""}};
  return table;
}

// Whether operands of the right kinds lie in the range PDF gives their
// operator (readers stop at anything else): cap and join 0 to 2 written
// whole, a width not negative, a miter limit of at least 1, dash lengths
// not negative and not all 0 (none at all: a solid line), a matrix with an
// inverse.
inline std::string RangeFault(const std::string& op, const std::vector<PdfValue>& operands) {
  const auto number = [&](std::size_t i) { return operands[i].real; };
  bool fits = true;
  if (op == "J" || op == "j") fits = operands[0].Is(Type::kInteger) && number(0) >= 0 && number(0) <= 2;
  if (op == "w") fits = number(0) >= 0;
  if (op == "M") fits = number(0) >= 1;
  if (op == "d") {
    bool drawn = operands[0].items.empty();
    for (const PdfValue& length : operands[0].items) {
      fits = fits && length.IsNumber() && length.real >= 0;
      drawn = drawn || (length.IsNumber() && length.real > 0);
    }
    fits = fits && drawn;
  }
  if (op == "cm" && number(0) * number(3) - number(1) * number(2) == 0) return "sets a matrix with no inverse";
  return fits ? "" : "has an operand out of its range";
}

inline bool Fits(const std::string& kinds, const std::vector<PdfValue>& operands) {
  if (kinds == "*") {
    std::size_t numbers = operands.size();
    if (numbers > 0 && operands.back().Is(Type::kName)) --numbers;
    if (numbers > 4 || operands.empty()) return false;
    for (std::size_t i = 0; i < numbers; ++i) {
      if (!operands[i].IsNumber()) return false;
    }
    return true;
  }
  if (kinds.size() != operands.size()) return false;
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    const PdfValue& v = operands[i];
    const bool ok = kinds[i] == 'n'   ? v.IsNumber()
                    : kinds[i] == 'N' ? v.Is(Type::kName)
                    : kinds[i] == 's' ? v.Is(Type::kString)
                    : kinds[i] == 'a' ? v.Is(Type::kArray)
                                      : v.Is(Type::kDict) || v.Is(Type::kName);
    if (!ok) return false;
  }
  return true;
}

// Whether the operator selects a colour space or a colour.
inline bool SetsColour(std::string_view op) {
  static const std::set<std::string, std::less<>> kColour = {"CS", "cs", "SC", "SCN", "sc", "scn",
                                                              "G",  "g",  "RG", "rg",  "K",  "k"};
  return kColour.count(op) != 0;
}

// Whether the operator paints (or ends without painting) the current path.
inline bool Paints(std::string_view op) {
  return op == "S" || op == "s" || op == "f" || op == "F" || op == "f*" || op == "B" || op == "B*" || op == "b" ||
         op == "b*" || op == "n";
}

// Whether the operator may stand inside a path, between its "m" or "re"
// and the operator that ends it: the path's own construction, "W" or "W*"
// (and then only right before that operator: PathFits), and the setters
// of state that a path is painted with or that no path uses (colours, the
// line's width, style and dash, rendering intent and flatness, graphics
// state parameters, text state), which every reader takes there. Anything
// else stands outside PDF's grammar of a path, and readers differ on what
// becomes of a path across some of it: a text object, a picture or form
// ("Do"), a shading, a saved or restored state or a transform ("q", "Q",
// "cm"), marked content.
inline bool MayStandInPath(std::string_view op) {
  static const std::set<std::string, std::less<>> kInPath = {"m",  "l",  "c",  "v",  "y",  "h",  "re", "W",
                                                              "W*", "w",  "J",  "j",  "M",  "d",  "ri", "i",
                                                              "gs", "Tc", "Tw", "Tz", "TL", "Tf", "Tr", "Ts"};
  return Paints(op) || SetsColour(op) || kInPath.count(op) != 0;
}

// The path grammar as an operator comes: Path says whether a path is open
// (it has a current point, from "m" or "re" to the operator that ends it),
// Clip whether the operator before was "W" or "W*". The fault of the
// operator, "" when it fits.
inline std::string PathFits(std::string_view op, bool path, bool clip) {
  if (clip && !Paints(op)) return "follows \"W\": a clip stands right before the operator that ends its path";
  if (path && !MayStandInPath(op)) return "stands inside a path (the path is open)";
  return "";
}

class Judge {
 public:
  explicit Judge(pdf::ByteSpan file) : file_(file), source_(file, xref_.offsets) {}

  // The first fault of a content stream that names no resources.
  std::string ContentAlone(const std::string& content) { return Content(content, PdfValue{}); }

  // The first fault found, "" when the file holds.
  std::string Run() {
    pdf::PdfStatus s = pdf::ReadPdfXref(file_, xref_);
    if (!s.ok()) return "cross-reference: " + s.description;
    if (xref_.root <= 0 && !xref_.encrypted) return "the trailer has no /Root";
    for (std::size_t n = 1; n < xref_.offsets.size(); ++n) {
      if (xref_.offsets[n] <= 0) continue;
      std::string fault = Object(static_cast<std::int64_t>(n));
      if (!fault.empty()) return "object " + std::to_string(n) + ": " + fault;
    }
    if (xref_.encrypted) return "";  // the reader stops at the trailer's /Encrypt
    pdf::PdfObject catalog;
    s = source_.ReadObject(xref_.root, false, catalog);
    const PdfValue* tree = catalog.value.Find("Pages");
    if (!s.ok() || catalog.missing || tree == nullptr || !tree->Is(Type::kRef)) return "the catalog has no page tree";
    std::vector<std::int32_t> pages;
    s = source_.CollectPages(static_cast<std::int32_t>(tree->integer), pages);
    if (!s.ok()) return "page tree: " + s.description;
    if (pages.empty()) return "the page tree holds no page";
    for (std::size_t p = 0; p < pages.size(); ++p) {
      std::string fault = Page(pages[p]);
      if (!fault.empty()) return "page " + std::to_string(p + 1) + ": " + fault;
    }
    own_ = OwnForms();
    for (std::int64_t n : forms_) {
      if (own_.count(n) == 0) continue;
      std::string fault = Form(n);
      if (!fault.empty()) return "object " + std::to_string(n) + ": " + fault;
    }
    // Recorded objects played inside a tile take the tile's resources;
    // forms drawn in an uncoloured tile's cell, however deep, carry no
    // colour either. Judging one may queue more.
    for (std::size_t i = 0; i < queued_.size(); ++i) {
      const auto [n, under, uncoloured] = queued_[i];
      std::string fault = Form(n, under, uncoloured);
      if (fault.empty()) continue;
      if (uncoloured) return "object " + std::to_string(n) + ", drawn in an uncoloured tiling pattern: " + fault;
      return "object " + std::to_string(n) + " under the resources " + std::to_string(under) + ": " + fault;
    }
    return "";
  }

 private:
  // The object as readers take it, "endobj" included; a recorded object or
  // a tiling pattern is kept for its content to be judged after the pages.
  std::string Object(std::int64_t n) {
    pdf::PdfObject o;
    pdf::PdfStatus s = pdf::ReadPdfObjectAt(file_, static_cast<std::size_t>(xref_.offsets[static_cast<std::size_t>(n)]), n,
                                            true, &source_, o);
    if (!s.ok()) return s.description;
    if (std::string fault = ValueFault(file_, o.value); !fault.empty()) return fault;
    pdf::PdfLexer after(file_, o.has_stream ? o.stream_start + o.stream_length : o.value.end);
    if (o.has_stream && !after.Next().IsKeyword("endstream")) return "no \"endstream\"";
    if (!after.Next().IsKeyword("endobj")) return "no \"endobj\" after its value";
    const PdfValue* subtype = o.value.Find("Subtype");
    const PdfValue* pattern = o.value.Find("PatternType");
    const bool form = subtype != nullptr && subtype->IsName("Form");
    const bool tiling = pattern != nullptr && pattern->Is(Type::kInteger) && pattern->integer == 1;
    if (o.has_stream && (form || tiling)) forms_.push_back(n);
    if (subtype != nullptr && subtype->IsName("Widget")) {
      if (std::string fault = FieldFault(o.value); !fault.empty()) return fault;
    }
    // A step of 0 puts every tile on one spot: Ghostscript refuses the pattern.
    for (const char* key : {"XStep", "YStep"}) {
      const PdfValue* step = tiling ? o.value.Find(key) : nullptr;
      if (tiling && (step == nullptr || !step->IsNumber() || step->real == 0))
        return std::string("a tiling pattern's /") + key + " is not a number other than 0";
    }
    return "";
  }

  // A widget is the visible part of a form field: it has a field type
  // (/FT) and a name (/T), itself or on a field above it (/Parent).
  // Ghostscript will not draw one without them, MuPDF cannot build its
  // appearance, and poppler calls the document invalid.
  std::string FieldFault(const PdfValue& widget) {
    bool type = false, named = false;
    PdfValue node = widget;
    for (int depth = 0; depth < 32; ++depth) {
      type = type || node.Find("FT") != nullptr;
      named = named || node.Find("T") != nullptr;
      const PdfValue* parent = node.Find("Parent");
      pdf::PdfObject above;
      if (parent == nullptr || !parent->Is(Type::kRef) || !source_.ReadObject(parent->integer, false, above).ok() ||
          above.missing)
        break;
      node = above.value;
    }
    if (!type) return "a widget of no field type (/FT, on it or a parent)";
    if (!named) return "a widget of no field name (/T, on it or a parent)";
    return "";
  }

  // The forms whose content the writer made: the recorded objects and
  // tiling patterns that the shared page resources list. An imported page
  // ("_PDF_s.p") and the forms copied with it hold the source file's own
  // content, copied as it stands: they are judged as objects only.
  std::set<std::int64_t> OwnForms() {
    std::set<std::int64_t> own;
    for (const char* category : {"XObject", "Pattern"}) {
      PdfValue group;
      const PdfValue* g = first_page_resources_.Find(category);
      if (g == nullptr || !source_.Resolve(*g, group).ok()) continue;
      for (const PdfValue& entry : group.items) {
        if (entry.Is(Type::kRef) && !(std::string_view(category) == "XObject" && entry.key.rfind("_PDF_", 0) == 0))
          own.insert(entry.integer);
      }
    }
    return own;
  }

  // A recorded object's or pattern's content, under its own resources; a
  // recorded object without them uses the resources of the content that
  // draws it: on a page the first page's (every page of ours shares one
  // resource dictionary), in a tile the tile's (object Under).
  // An uncoloured tiling pattern (/PaintType 2), and every form its cell
  // draws (Uncoloured), is judged by the rule of such cells too
  // (Content).
  std::string Form(std::int64_t n, std::int64_t Under = 0, bool Uncoloured = false) {
    pdf::PdfObject o;
    pdf::PdfStatus s = source_.ReadObject(n, true, o);
    const PdfValue* paint = o.value.Find("PaintType");
    Uncoloured = Uncoloured || (paint != nullptr && paint->Is(Type::kInteger) && paint->integer == 2);
    std::string content;
    if (std::string fault = Decoded(o, content); !fault.empty()) return fault;
    PdfValue resources = first_page_resources_;
    if (const PdfValue* r = o.value.Find("Resources")) {
      Under = r->Is(Type::kRef) ? r->integer : 0;
      s = source_.Resolve(*r, resources);
    } else if (Under != 0) {
      pdf::PdfObject dictionary;
      s = source_.ReadObject(Under, false, dictionary);
      resources = dictionary.value;
    }
    if (!s.ok()) return s.description;
    return Content(content, resources, Under, Uncoloured);
  }

  std::string Page(std::int32_t n) {
    pdf::PdfObject page;
    pdf::PdfStatus s = source_.ReadObject(n, false, page);
    PdfValue resources, contents;
    if (s.ok()) s = source_.InheritedValue(page.value, "Resources", resources);
    if (s.ok() && page.value.Find("Contents") != nullptr) s = source_.Resolve(*page.value.Find("Contents"), contents);
    if (!s.ok()) return s.description;
    if (first_page_resources_.Is(Type::kNull)) first_page_resources_ = resources;
    std::vector<PdfValue> streams;
    if (const PdfValue* c = page.value.Find("Contents"); c != nullptr && c->Is(Type::kRef)) streams.push_back(*c);
    if (contents.Is(Type::kArray)) streams = contents.items;
    std::string joined;
    for (const PdfValue& ref : streams) {
      if (!ref.Is(Type::kRef)) return "/Contents holds something other than a reference";
      pdf::PdfObject o;
      s = source_.ReadObject(ref.integer, true, o);
      if (!s.ok() || o.missing || !o.has_stream) return "content object " + std::to_string(ref.integer) + " is no stream";
      std::string part;
      if (std::string fault = Decoded(o, part); !fault.empty())
        return "object " + std::to_string(ref.integer) + ": " + fault;
      joined += part + "\n";
    }
    return Content(joined, resources);
  }

  // The stream's data with the filters its /Filter lists undone, in that
  // order (one name, or an array of names of any length), by the judge's
  // own decoders (judge_filters.h). Of /DecodeParms (a dictionary for one
  // filter, or an array of one entry per filter, null for none) LZW's
  // /EarlyChange is read; a /Predictor other than 1, a filter the judge
  // does not read and data that does not decode are faults that name the
  // filter.
  std::string Decoded(const pdf::PdfObject& o, std::string& out) {
    out = pdf::to_string(file_.subspan(o.stream_start, o.stream_length));
    PdfValue filter, parms;
    if (const PdfValue* f = o.value.Find("Filter")) source_.Resolve(*f, filter);
    if (const PdfValue* p = o.value.Find("DecodeParms")) source_.Resolve(*p, parms);
    std::vector<PdfValue> names;
    if (filter.Is(Type::kArray)) names = filter.items;
    else if (!filter.Is(Type::kNull)) names.push_back(filter);
    for (std::size_t i = 0; i < names.size(); ++i) {
      PdfValue name, parm;
      source_.Resolve(names[i], name);
      if (!name.Is(Type::kName)) return "/Filter holds something other than a filter's name";
      if (parms.Is(Type::kArray) && i < parms.items.size()) source_.Resolve(parms.items[i], parm);
      if (parms.Is(Type::kDict) && names.size() == 1) parm = parms;
      const std::string where = "content under /" + name.text +
                                (names.size() > 1 ? " (filter " + std::to_string(i + 1) + " of " +
                                                        std::to_string(names.size()) + ")"
                                                  : std::string());
      if (!judge_filters::Reads(name.text)) return where + ", a filter the judge does not read";
      const PdfValue* early = parm.Find("EarlyChange");
      const PdfValue* predictor = parm.Find("Predictor");
      if (early != nullptr && !(early->Is(Type::kInteger) && (early->integer == 0 || early->integer == 1)))
        return where + ": /EarlyChange is neither 0 nor 1";
      if (predictor != nullptr && !(predictor->Is(Type::kInteger) && predictor->integer == 1))
        return where + ": a /Predictor the judge does not read";
      judge_filters::Decoding d =
          judge_filters::Undo(name.text, out, kLargestContent, early == nullptr || early->integer == 1);
      if (!d.Fault.empty()) return where + " does not decode: " + d.Fault;
      out = std::move(d.Data);
    }
    return "";
  }

  // The entry of this category and name in the resources, null when there
  // is none; Group keeps the category's dictionary the entry points into.
  const PdfValue* Entry(const PdfValue& resources, std::string_view category, const std::string& name,
                        PdfValue& group) {
    const PdfValue* g = resources.Find(category);
    if (g == nullptr || !source_.Resolve(*g, group).ok()) return nullptr;
    const PdfValue* e = group.Find(name);
    return e == nullptr || e->Is(Type::kNull) ? nullptr : e;
  }

  // The object that the entry of this category and name refers to, read
  // into o: its number, 0 when the entry is no reference to an existing
  // object.
  std::int64_t EntryObject(const PdfValue& resources, std::string_view category, const std::string& name,
                           pdf::PdfObject& o) {
    PdfValue group;
    const PdfValue* e = Entry(resources, category, name, group);
    if (e == nullptr || !e->Is(Type::kRef) || !source_.ReadObject(e->integer, false, o).ok() || o.missing) return 0;
    return e->integer;
  }

  // The resource of this category and name is in the dictionary and, when
  // it is a reference, its object exists.
  bool HasResource(const PdfValue& resources, std::string_view category, const std::string& name) {
    PdfValue group;
    const PdfValue* e = Entry(resources, category, name, group);
    if (e == nullptr || !e->Is(Type::kRef)) return e != nullptr;
    pdf::PdfObject o;
    return source_.ReadObject(e->integer, false, o).ok() && !o.missing;
  }

  // The /PaintType of the pattern of this name in the resources (2: an
  // uncoloured tiling pattern), 0 when it has none.
  std::int64_t PaintType(const PdfValue& resources, const std::string& name) {
    pdf::PdfObject o;
    if (EntryObject(resources, "Pattern", name, o) == 0) return 0;
    const PdfValue* type = o.value.Find("PaintType");
    return type != nullptr && type->Is(Type::kInteger) ? type->integer : 0;
  }

  // Notes a recorded object played by "Do /Name" under resources of their
  // own (object Under: a tile's), to be judged under them too when it has
  // none of its own. Only a form XObject holds content: a picture drawn
  // with "Do" holds samples.
  void Played(const PdfValue& resources, const std::string& name, std::int64_t Under) {
    pdf::PdfObject o;
    const std::int64_t n = Under == 0 ? 0 : EntryObject(resources, "XObject", name, o);
    const PdfValue* subtype = n == 0 ? nullptr : o.value.Find("Subtype");
    if (subtype == nullptr || !subtype->IsName("Form")) return;
    if (own_.count(n) == 0 || o.value.Find("Resources") != nullptr) return;
    Queue(n, Under, false);
  }

  // Queues the form N to be judged under the resources Under (0: its own),
  // by the rule of uncoloured cells too when Uncoloured; each once.
  void Queue(std::int64_t N, std::int64_t Under, bool Uncoloured) {
    if (queued_seen_.insert({N, Under, Uncoloured}).second) queued_.emplace_back(N, Under, Uncoloured);
  }

  // The fault of an operator in the cell of an uncoloured tiling pattern
  // or a form it draws, "" when it fits: PDF gives such a cell no colour
  // of its own (it is painted in the colour the pattern is selected
  // with), so it may neither set a colour nor paint a shading, which
  // brings its own colours, nor draw a picture, but for a stencil mask
  // (/ImageMask true), which takes the colour it is painted with. A form
  // it draws is noted, to be judged by the same rule.
  std::string UncolouredFault(const std::string& op, const PdfValue& resources, const std::string& name,
                              std::int64_t Under) {
    if (SetsColour(op)) return "sets a colour in an uncoloured tiling pattern's cell";
    if (op == "sh") return "paints a shading in an uncoloured tiling pattern's cell";
    if (op != "Do") return "";
    pdf::PdfObject o;
    const std::int64_t n = EntryObject(resources, "XObject", name, o);
    const PdfValue* subtype = o.value.Find("Subtype");
    const PdfValue* mask = o.value.Find("ImageMask");
    if (n != 0 && subtype != nullptr && subtype->IsName("Form")) {
      // A form without resources of its own takes those of the cell.
      const std::int64_t under = o.value.Find("Resources") != nullptr ? 0 : Under;
      Queue(n, under, true);
      return "";
    }
    if (mask != nullptr && mask->Is(Type::kBool) && mask->boolean) return "";
    return "draws a picture in an uncoloured tiling pattern's cell";
  }

  std::string Content(const std::string& content, const PdfValue& resources, std::int64_t Under = 0,
                      bool Uncoloured = false) {
    const pdf::ByteSpan bytes = pdf::as_bytes(content);
    pdf::PdfLexer lexer(bytes);
    std::vector<PdfValue> operands;
    int saved = 0, compatibility = 0, marked = 0;
    bool in_text = false, current_point = false, clip = false;
    for (;;) {
      const std::size_t at = lexer.Offset();
      const pdf::PdfToken t = lexer.Next();
      if (t.kind == pdf::PdfTokenKind::kEnd) break;
      if (t.kind != pdf::PdfTokenKind::kKeyword || t.text == "true" || t.text == "false" || t.text == "null") {
        lexer.Seek(at);
        PdfValue v;
        if (pdf::PdfStatus s = pdf::ParsePdfValue(lexer, v); !s.ok()) return "content: " + s.description;
        if (std::string fault = ValueFault(bytes, v); !fault.empty()) return "content: " + fault;
        operands.push_back(std::move(v));
        continue;
      }
      const std::string& op = t.text;
      const std::string where = "content at " + std::to_string(t.start) + ": \"" + op + "\" ";
      const auto known = Operators().find(op);
      if (known == Operators().end()) {
        if (compatibility == 0) return where + "is no operator";
      } else if (!Fits(known->second, operands)) {
        return where + "has " + std::to_string(operands.size()) + " operands of the wrong count or kind";
      } else if (std::string fault = RangeFault(op, operands); !fault.empty()) {
        return where + fault;
      }
      const auto name = [&](std::size_t i) { return i < operands.size() ? operands[i].text : std::string(); };
      std::string missing;
      if (op == "Tf" && !HasResource(resources, "Font", name(0))) missing = "font";
      if (op == "Do" && !HasResource(resources, "XObject", name(0))) missing = "XObject";
      if (op == "Do" && missing.empty()) Played(resources, name(0), Under);
      if (op == "gs" && !HasResource(resources, "ExtGState", name(0))) missing = "graphics state";
      if (op == "sh" && !HasResource(resources, "Shading", name(0))) missing = "shading";
      if ((op == "cs" || op == "CS") && name(0) != "DeviceGray" && name(0) != "DeviceRGB" && name(0) != "DeviceCMYK" &&
          name(0) != "Pattern" && !HasResource(resources, "ColorSpace", name(0)))
        missing = "colour space";
      const bool pattern = (op == "scn" || op == "SCN") && operands.back().Is(Type::kName);
      if (pattern && !HasResource(resources, "Pattern", operands.back().text)) missing = "pattern";
      if ((op == "BDC" || op == "DP") && operands[1].Is(Type::kName) &&
          !HasResource(resources, "Properties", operands[1].text))
        missing = "property list";
      if (!missing.empty()) return where + "names the " + missing + " /" + name(op == "BDC" || op == "DP" ? 1 : 0) +
                                   ", which its resources lack";
      if (Uncoloured) {
        if (std::string fault = UncolouredFault(op, resources, name(0), Under); !fault.empty()) return where + fault;
      }
      // An uncoloured pattern has no colour of its own: Ghostscript stops
      // where one is selected without its components.
      if (pattern && operands.size() == 1 && PaintType(resources, operands.back().text) == 2)
        return where + "selects the uncoloured pattern /" + operands.back().text + " without a colour";
      operands.clear();
      if (op == "BMC" || op == "BDC") ++marked;
      if (op == "EMC" && --marked < 0) return where + "closes marked content never opened";
      if (op == "q") ++saved;
      if (op == "Q" && --saved < 0) return where + "restores a state never saved";
      if (op == "BX") ++compatibility;
      if (op == "EX" && --compatibility < 0) return where + "ends no compatibility section";
      if (op == "BT" && in_text) return where + "opens a text object inside another";
      if (op == "ET" && !in_text) return where + "ends no text object";
      if (op == "BT" || op == "ET") in_text = op == "BT";
      if ((op == "Tj" || op == "TJ" || op == "'" || op == "\"" || op == "Td" || op == "TD" || op == "Tm" ||
           op == "T*") && !in_text)
        return where + "stands outside a text object";
      const bool paints = Paints(op);
      if ((op == "l" || op == "c" || op == "v" || op == "y" || op == "h" || op == "W" || op == "W*" || paints) &&
          !current_point)
        return where + "has no current point";
      if (std::string fault = PathFits(op, current_point, clip); !fault.empty()) return where + fault;
      clip = op == "W" || op == "W*";
      if (op == "m" || op == "re") current_point = true;
      if (paints) current_point = false;
    }
    if (!operands.empty()) return "content: operands without an operator at its end";
    if (current_point) return "content: ends inside a path";
    if (saved != 0) return "content: " + std::to_string(saved) + " saved states never restored";
    if (marked != 0) return "content: " + std::to_string(marked) + " marked-content sequences never closed";
    if (in_text) return "content: a text object never ended";
    if (compatibility != 0) return "content: a compatibility section never ended";
    return "";
  }

  pdf::ByteSpan file_;
  pdf::PdfXref xref_;
  pdf::PdfSourceFile source_;
  std::vector<std::int64_t> forms_;  // recorded objects and tiling patterns
  std::set<std::int64_t> own_;       // those the writer made (OwnForms)
  // Forms to judge after the pages (Queue): recorded objects without
  // resources played under a tile's, and forms drawn in an uncoloured
  // cell, as (object, resources, uncoloured), each once.
  std::vector<std::tuple<std::int64_t, std::int64_t, bool>> queued_;
  std::set<std::tuple<std::int64_t, std::int64_t, bool>> queued_seen_;
  PdfValue first_page_resources_;
};

// The first fault of the file, "" when it holds.
inline std::string JudgeFile(pdf::ByteSpan file) { return Judge(file).Run(); }

// The first fault of a drawing's content that would outlive it: an
// operator outside its outermost "q" ... "Q" (a colour, width or matrix
// the rest of the page would inherit), or a "Q" or its end in the middle of
// a path. Nothing at all is fine.
inline std::string JudgeKeptState(const std::string& content) {
  pdf::PdfLexer lexer(pdf::as_bytes(content));
  int depth = 0;
  bool path = false;
  for (pdf::PdfToken t = lexer.Next(); t.kind != pdf::PdfTokenKind::kEnd; t = lexer.Next()) {
    if (t.kind != pdf::PdfTokenKind::kKeyword) continue;
    const std::string& op = t.text;
    const std::string where = "content at " + std::to_string(t.start) + ": \"" + op + "\" ";
    if (op == "q") ++depth;
    else if (op == "Q" && path) return where + "restores the state in the middle of a path";
    else if (op == "Q") --depth;
    else if (depth < 1) return where + "stands outside the drawing's saved state";
    if (op == "m" || op == "re") path = true;
    if (Paints(op)) path = false;
  }
  return path ? "content: ends in the middle of a path" : "";
}

// The first fault of a content stream that uses no resources, "" when it
// holds.
inline std::string JudgeContent(const std::string& content) { return Judge(pdf::ByteSpan()).ContentAlone(content); }

}  // namespace pdf_judge
