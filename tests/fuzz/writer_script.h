#pragma once
// A script of PdfWriter calls, one a line: the member's name, a blank, then
// its arguments separated by "|" in the member's order. Texts stand as they
// are, blanks included, with \xHH for any byte; numbers are read by strtod
// ("nan", "inf" and "-1e30" are numbers) and held to their type's range; a
// missing argument is 0 or empty. Lines naming no member are skipped. The
// libFuzzer target feeds it any bytes; the scripts in tests/fuzz/writer_scripts
// are replayed by the writer's tests and their files given to real readers.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "pdf/PdfWriter.h"

namespace writer_script {

using Args = std::vector<std::string>;

inline std::string Text(const Args& a, std::size_t i) {
  std::string out;
  const std::string s = i < a.size() ? a[i] : "";
  for (std::size_t k = 0; k < s.size(); ++k) {
    char* end = nullptr;
    const std::string hex = s.substr(k + 2 > s.size() ? s.size() : k + 2, 2);
    const long byte = std::strtol(hex.c_str(), &end, 16);
    const bool escaped = s.compare(k, 2, "\\x") == 0 && hex.size() == 2 && end == hex.c_str() + 2 &&
                         std::isxdigit(static_cast<unsigned char>(hex[0]));
    out += escaped ? static_cast<char>(byte) : s[k];
    if (escaped) k += 3;
  }
  return out;
}

inline double Number(const Args& a, std::size_t i) {
  return i < a.size() ? std::strtod(a[i].c_str(), nullptr) : 0;
}

// One argument as the member's parameter type.
template <typename T>
T Get(const Args& a, std::size_t i) {
  if constexpr (std::is_same_v<T, std::string>) {
    return Text(a, i);
  } else if constexpr (std::is_same_v<T, std::vector<double>>) {
    std::vector<double> all;
    for (std::size_t k = 0; k < a.size(); ++k) all.push_back(Number(a, k));
    return all;
  } else if constexpr (std::is_floating_point_v<T> || std::is_same_v<T, bool>) {
    return static_cast<T>(Number(a, i));
  } else {
    const double v = Number(a, i), lo = std::numeric_limits<T>::min(), hi = std::numeric_limits<T>::max();
    return std::isnan(v) ? T{} : static_cast<T>(v < lo ? lo : (v > hi ? hi : v));
  }
}

using Call = std::function<void(pdf::PdfWriter&, const Args&)>;

template <typename R, typename... P>
Call Bind(R (pdf::PdfWriter::*member)(P...)) {
  return [member](pdf::PdfWriter& w, const Args& a) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
      (w.*member)(Get<std::decay_t<P>>(a, I)...);
    }(std::index_sequence_for<P...>{});
  };
}

// Every public member but OpenDoc (it starts a viewer) and BeginDoc (which
// always writes to the script's own path).
#define WRITER_SCRIPT_MEMBER(name) {#name, Bind(&pdf::PdfWriter::name)}
inline const std::vector<std::pair<std::string, Call>> kMembers = {
    WRITER_SCRIPT_MEMBER(Abort), WRITER_SCRIPT_MEMBER(EndDoc), WRITER_SCRIPT_MEMBER(SetProtection),
    WRITER_SCRIPT_MEMBER(SetMemoryUsage), WRITER_SCRIPT_MEMBER(SetScale), WRITER_SCRIPT_MEMBER(SetPaperSize),
    WRITER_SCRIPT_MEMBER(SetMargins), WRITER_SCRIPT_MEMBER(SetPageView), WRITER_SCRIPT_MEMBER(SetXY),
    WRITER_SCRIPT_MEMBER(BeginPage), WRITER_SCRIPT_MEMBER(EndPage), WRITER_SCRIPT_MEMBER(SetColorFill),
    WRITER_SCRIPT_MEMBER(SetColorLine), WRITER_SCRIPT_MEMBER(SetColorText), WRITER_SCRIPT_MEMBER(BeginObject),
    WRITER_SCRIPT_MEMBER(EndObject), WRITER_SCRIPT_MEMBER(PlayObject), WRITER_SCRIPT_MEMBER(SetDocProperty),
    WRITER_SCRIPT_MEMBER(SetLabel), WRITER_SCRIPT_MEMBER(SetPageTransition),
    WRITER_SCRIPT_MEMBER(SetViewerPreferences), WRITER_SCRIPT_MEMBER(AddBookmark),
    WRITER_SCRIPT_MEMBER(SetCompression), WRITER_SCRIPT_MEMBER(SetFont), WRITER_SCRIPT_MEMBER(SetFontSize),
    WRITER_SCRIPT_MEMBER(SetCharSpacing), WRITER_SCRIPT_MEMBER(SetWordSpacing),
    WRITER_SCRIPT_MEMBER(SetTextHorizontalScaling), WRITER_SCRIPT_MEMBER(SetTextMode),
    WRITER_SCRIPT_MEMBER(SetTextLineSpacing), WRITER_SCRIPT_MEMBER(DrawText), WRITER_SCRIPT_MEMBER(WriteText),
    WRITER_SCRIPT_MEMBER(WriteTextLn), WRITER_SCRIPT_MEMBER(DrawTextBox), WRITER_SCRIPT_MEMBER(MoveTo),
    WRITER_SCRIPT_MEMBER(DrawLine), WRITER_SCRIPT_MEMBER(DrawLineTo), WRITER_SCRIPT_MEMBER(DrawCurve),
    WRITER_SCRIPT_MEMBER(DrawRect), WRITER_SCRIPT_MEMBER(DrawEllipse), WRITER_SCRIPT_MEMBER(DrawCircle),
    WRITER_SCRIPT_MEMBER(DrawArc), WRITER_SCRIPT_MEMBER(DrawPolygon), WRITER_SCRIPT_MEMBER(DrawPolyline),
    WRITER_SCRIPT_MEMBER(SetLineWidth), WRITER_SCRIPT_MEMBER(SetLineStyle), WRITER_SCRIPT_MEMBER(SetDash),
    WRITER_SCRIPT_MEMBER(SetAlpha), WRITER_SCRIPT_MEMBER(AxisRotation), WRITER_SCRIPT_MEMBER(AxisScaling),
    WRITER_SCRIPT_MEMBER(AxisSkewing), WRITER_SCRIPT_MEMBER(AxisTranslation), WRITER_SCRIPT_MEMBER(BeginSpace),
    WRITER_SCRIPT_MEMBER(EndSpace), WRITER_SCRIPT_MEMBER(BeginTable), WRITER_SCRIPT_MEMBER(BeginRow),
    WRITER_SCRIPT_MEMBER(BeginColumn), WRITER_SCRIPT_MEMBER(EndColumn), WRITER_SCRIPT_MEMBER(EndRow),
    WRITER_SCRIPT_MEMBER(EndTable),
};
#undef WRITER_SCRIPT_MEMBER

// Runs the script against a fresh writer writing to Path and ends the
// document; a script that leaves none open gets a fresh one, so every script
// leaves a finished file. A member's PdfError is the caller's to see and the
// script goes on. Returns false only when an open document failed to end.
inline bool RunScript(std::string_view Script, const std::string& Path) {
  pdf::PdfWriter w;
  double arc_budget = 3e6;  // a million-point arc is valid; hundreds of them measure only memory
  for (std::size_t start = 0; start < Script.size();) {
    std::size_t end = std::min(Script.find('\n', start), Script.size());
    const std::string line(Script.substr(start, end - start));
    start = end + 1;
    const std::size_t blank = std::min(line.find(' '), line.size());
    Args a;
    for (std::size_t at = blank; at < line.size();) {
      const std::size_t bar = std::min(line.find('|', at + 1), line.size());
      a.push_back(line.substr(at + 1, bar - at - 1));
      at = bar;
    }
    const std::string name = line.substr(0, blank);
    const std::int16_t step = Get<std::int16_t>(a, 7);
    const double points = std::fabs((Number(a, 4) - Number(a, 3)) / (step ? step : 1));
    if (name == "DrawArc" && points <= 1e6) arc_budget -= points;
    try {
      if (name == "BeginDoc") w.BeginDoc(Path);
      for (const auto& [member, call] : kMembers) {
        if (name == member && (name != "DrawArc" || arc_budget >= 0)) call(w, a);
      }
    } catch (const pdf::PdfError&) {
    }
  }
  try {
    w.EndDoc();
    return true;
  } catch (const pdf::PdfError& e) {
    if (e.Number() != 52) return false;
  }
  w.Abort();
  w.BeginDoc(Path);
  try {
    w.EndDoc();
  } catch (const pdf::PdfError&) {
    return false;
  }
  return true;
}

}  // namespace writer_script
