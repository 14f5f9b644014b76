#pragma once
// A script of PdfWriter calls, one a line: the member's name, a blank, then
// its arguments separated by "|" in the member's order. Texts stand as they
// are, blanks included, \xHH giving any byte; numbers are read by strtod
// ("nan", "inf" and "-1e30" are numbers) and held to their type's range; a
// missing argument is 0 or empty. Lines naming no member are skipped.
// "File name|bytes" makes a file of that name in the script's own folder
// (beside its PDF, removed at the end), and DrawImage, ImportPage, GetInfo
// and AddFont take their file name from that folder only, so a script
// reads the pictures, drawings, PDF files and fonts it brings and nothing
// else. The libFuzzer target feeds it any bytes;
// the scripts in tests/fuzz/corpus/writer_calls_fuzz are replayed by the
// writer's tests, their files judged by our reader (tests/fuzz/pdf_judge.h)
// and given to real readers.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "pdf/PdfWriter.h"

namespace writer_script {

using Args = std::vector<std::string>;

inline std::string Text(const Args& a, std::size_t i) {
  const std::string s = i < a.size() ? a[i] : "";
  std::string out;
  for (std::size_t k = 0; k < s.size(); ++k) {
    const bool escape = s.compare(k, 2, "\\x") == 0 && k + 4 <= s.size();
    out += escape ? static_cast<char>(std::strtol(s.substr(k + 2, 2).c_str(), nullptr, 16)) : s[k];
    k += escape ? 3 : 0;
  }
  return out;
}

inline double Number(const Args& a, std::size_t i) { return i < a.size() ? std::strtod(a[i].c_str(), nullptr) : 0; }

// One argument as the member's parameter type (a polyline takes them all;
// a field's parameter is a number when the whole text reads as one, else
// the text; a result by pointer lands in a store of its type).
template <typename T>
T Get(const Args& a, std::size_t i) {
  if constexpr (std::is_pointer_v<T>) {
    static std::remove_pointer_t<T> store{};
    return &store;
  }
  if constexpr (std::is_same_v<T, pdf::PdfWriter::FieldParam>) {
    const std::string text = Text(a, i);
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (!text.empty() && end == text.c_str() + text.size()) return T(number);
    return T(text);
  }
  if constexpr (std::is_same_v<T, std::string>) return Text(a, i);
  if constexpr (std::is_same_v<T, std::vector<double>>) {
    std::vector<double> all;
    for (std::size_t k = 0; k < a.size(); ++k) all.push_back(Number(a, k));
    return all;
  }
  if constexpr (std::is_floating_point_v<T> || std::is_same_v<T, bool>) return static_cast<T>(Number(a, i));
  if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>) {
    const double v = Number(a, i), lo = std::numeric_limits<T>::min(), hi = std::numeric_limits<T>::max();
    return std::isnan(v) ? T{} : static_cast<T>(std::clamp(v, lo, hi));
  }
}

using Call = std::function<void(pdf::PdfWriter&, const Args&)>;
template <typename R, typename... P>
Call Bind(R (pdf::PdfWriter::*member)(P...)) {
  return [member](pdf::PdfWriter& w, const Args& a) {
    [&]<std::size_t... I>(std::index_sequence<I...>) { (w.*member)(Get<std::decay_t<P>>(a, I)...); }(
        std::index_sequence_for<P...>{});
  };
}

// Every public member but OpenDoc (it starts a viewer), BeginDoc (which
// always writes to the script's own path), the getters and the encoders
// zzToFlateDecode, GetObjectKey and Rc4 (which write nothing into the
// document). The members that read a file take it from the script's folder.
#define M(name) {#name, Bind(&pdf::PdfWriter::name)}
inline const std::vector<std::pair<std::string, Call>> kMembers = {
    M(Abort), M(EndDoc), M(SetProtection), M(SetMemoryUsage), M(SetScale), M(SetPaperSize),
    M(SetMargins), M(SetPageView), M(SetXY), M(BeginPage), M(EndPage), M(SetColorFill), M(SetColorLine),
    M(SetColorText), M(BeginObject), M(EndObject), M(PlayObject), M(SetDocProperty), M(SetLabel),
    M(SetPageTransition), M(SetViewerPreferences), M(AddBookmark), M(SetCompression), M(SetFont),
    M(SetFontSize), M(SetCharSpacing), M(SetWordSpacing), M(SetTextHorizontalScaling), M(SetTextMode),
    M(SetTextLineSpacing), M(DrawText), M(WriteText), M(WriteTextLn), M(DrawTextBox), M(MoveTo),
    M(DrawLine), M(DrawLineTo), M(DrawCurve), M(DrawRect), M(DrawEllipse), M(DrawCircle), M(DrawArc),
    M(DrawPolygon), M(DrawPolyline), M(SetLineWidth), M(SetLineStyle), M(SetDash), M(SetAlpha),
    M(AxisRotation), M(AxisScaling), M(AxisSkewing), M(AxisTranslation), M(BeginSpace), M(EndSpace),
    M(BeginTable), M(BeginRow), M(BeginColumn), M(EndColumn), M(EndRow), M(EndTable),
    M(AddGradient), M(BeginTiling), M(EndTiling), M(BeginLayer), M(EndLayer), M(DrawBarCode),
    M(AddNoteBox), M(AddNoteIcon), M(DefineRef), M(LinkTo), M(AddField), M(OnFieldEvent), M(OnDocEvent),
    M(DrawImage), M(ImportPage), M(GetInfo), M(AddFont)};
#undef M

// The members whose first argument names a file to read.
inline bool ReadsFile(const std::string& Member) {
  return Member == "DrawImage" || Member == "ImportPage" || Member == "GetInfo" || Member == "AddFont";
}

// Runs the script against a fresh writer writing to Path, then ends the
// document. A member's PdfError is the caller's to see and the script goes
// on. Returns 1 when the document ended, 0 when none was open, -1 when an
// open document failed to end (which no sequence of calls may cause).
// A file name of the script's folder: no folder part, at most 64 bytes.
inline std::string FileName(const Args& a) {
  std::string name = Text(a, 0).substr(0, 64);
  for (char& c : name) c = c == '/' || c == '\0' ? '_' : c;
  return name.empty() || name == "." || name == ".." ? "_" : name;
}

// The points a line draws when a number argument sets how many: an arc's
// span over its step (as the writer takes them: angles in single precision,
// the step a 16-bit count, 0 meaning 1) and a polygon's sides; -1 for any
// other line, and for an arc of more than a million points, which the
// writer refuses at once.
inline double ShapePoints(const std::string& Member, const Args& a) {
  if (Member == "DrawPolygon") return std::fabs(static_cast<double>(Get<std::int16_t>(a, 3)));
  if (Member != "DrawArc") return -1;
  const std::int16_t quality = Get<std::int16_t>(a, 7);
  const double step = quality == 0 ? 1.0 : static_cast<double>(quality);
  const double points = std::fabs(static_cast<double>(Get<float>(a, 4) - Get<float>(a, 3)) / step);
  return points <= 1e6 ? points : -1;
}

// MostPoints: the points all arcs and polygons of the script may draw
// together; a line that would draw more is skipped. Arcs of up to a million
// points and polygons of 32768 sides are valid, but many of them only
// measure the machine (the fuzz target takes a smaller budget still, since
// it judges every file it writes).
inline int RunScript(const std::string& Script, const std::string& Path, double MostPoints = 2e5) {
  const std::filesystem::path folder = Path + ".files";
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  std::filesystem::create_directories(folder, ec);
  pdf::PdfWriter w;
  int files = 0;
  double points_left = MostPoints;
  for (std::size_t start = 0, end; start < Script.size(); start = end + 1) {
    end = std::min(Script.find('\n', start), Script.size());
    const std::string line = Script.substr(start, end - start);
    const std::size_t blank = std::min(line.find(' '), line.size());
    Args a;
    for (std::size_t at = blank, bar; at < line.size(); at = bar) {
      bar = std::min(line.find('|', at + 1), line.size());
      a.push_back(line.substr(at + 1, bar - at - 1));
    }
    const std::string name = line.substr(0, blank);
    const double points = ShapePoints(name, a);
    if (points >= 0 && (points_left -= points) < 0) continue;
    try {
      if (name == "BeginDoc") w.BeginDoc(Path);
      if (name == "File") {
        const std::filesystem::path file = folder / FileName(a);
        std::ofstream(file, std::ios::binary) << Text(a, 1);
        // The writer keeps a file it read by its size and time: each file
        // written gets a time of its own, so that a rewrite is told from
        // the first by the script alone, never by the clock's tick.
        std::filesystem::last_write_time(file, std::filesystem::file_time_type(std::chrono::seconds(++files)), ec);
      }
      Args args = a;
      if (ReadsFile(name)) {
        if (args.empty()) args.emplace_back();
        args[0] = (folder / FileName(a)).string();
      }
      for (const auto& [member, call] : kMembers) {
        if (name == member) call(w, args);
      }
    } catch (const pdf::PdfError&) {
    }
  }
  int ended;
  try {
    w.EndDoc();
    ended = 1;
  } catch (const pdf::PdfError& e) {
    ended = e.Number() == 52 ? 0 : -1;
  }
  std::filesystem::remove_all(folder, ec);
  return ended;
}

}  // namespace writer_script
