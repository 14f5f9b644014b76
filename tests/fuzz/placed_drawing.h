#pragma once
// A drawing (EPS, AI or WMF) as the writer places it on a page after the
// caller left a path open, for the drawing targets to judge: a drawing
// that paints nothing writes nothing and leaves that path to the caller;
// one that paints ends it ("n") before anything of its own, and keeps its
// state to itself (everything else it writes stands inside one "q" ...
// "Q" and leaves no path open).
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "pdf/PdfWriter.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/pdf_judge.h"

namespace fuzz {

class PlacedDrawing : public pdf::PdfWriter {
 public:
  // The first fault of the drawing in file Path, placed at (10, 10) 100
  // units wide; Lines: its content lines as the converter gave them.
  std::string Fault(const std::string& Path, const std::vector<std::string>& Lines) {
    BeginDoc(TempPath("drawing-page", ".pdf"));
    BeginPage();
    MoveTo(1, 1);
    DrawLineTo(5, 5, 1);  // a path left open
    const std::size_t before = BufferText(Content.PageContent).size();
    DrawImage(Path, 10, 10, 100, 0);
    const std::string added = BufferText(Content.PageContent).substr(before);
    Abort();
    if (added.empty()) return "";
    if (std::none_of(Lines.begin(), Lines.end(), PaintsPath)) return "a drawing that paints nothing wrote " + added;
    if (added.rfind("\rn\r", 0) != 0) return "the caller's open path is not ended first: " + added.substr(0, 40);
    const std::string own = added.substr(2);
    std::string fault = pdf_judge::JudgeContent(own);
    if (fault.empty()) fault = pdf_judge::JudgeKeptState(own);
    return fault;
  }
};

}  // namespace fuzz
