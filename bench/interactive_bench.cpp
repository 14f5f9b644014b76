// Interactive documents at scale: pages full of links (web addresses and
// page targets) and notes, written by our writer and by libharu, which a user
// would otherwise reach for; and pages of form fields with scripts, which
// libharu cannot write, measured alone.

#include <string>
#include <vector>

#include "bench/haru_pages.h"
#include "pdf/PdfWriter.h"

namespace {

constexpr int kLinksPerPage = 40;
constexpr int kFieldsPerPage = 30;

using haru_pages::OutputPath;

// Each page: kLinksPerPage rectangles alternately linked to a web address
// and to the next page, and one note icon.
std::int64_t SevrinaLinks(int pages) {
  pdf::PdfWriter w;
  w.BeginDoc(OutputPath("sevrina_links"));
  for (int p = 0; p < pages; ++p) {
    w.BeginPage();
    for (int i = 0; i < kLinksPerPage; ++i) {
      w.DrawRect(50, 40 + 19.0f * static_cast<float>(i), 200, 15);
      if (i % 2 == 0) w.LinkTo("https://example.org/p" + std::to_string(p) + "/" + std::to_string(i));
      else w.LinkTo("page:+1");
    }
    w.AddNoteIcon("Nota della pagina " + std::to_string(p + 1), 0, 300, 40);
  }
  w.EndDoc();
  return w.FileSize();
}

std::int64_t HaruLinks(int pages) {
  HPDF_Doc doc = HPDF_New(haru_pages::IgnoreError, nullptr);
  std::vector<HPDF_Page> all;
  for (int p = 0; p < pages; ++p) {
    HPDF_Page page = HPDF_AddPage(doc);
    HPDF_Page_SetSize(page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_PORTRAIT);
    all.push_back(page);
  }
  for (int p = 0; p < pages; ++p) {
    HPDF_Page page = all[static_cast<std::size_t>(p)];
    HPDF_Destination next = HPDF_Page_CreateDestination(all[static_cast<std::size_t>(p + 1 < pages ? p + 1 : p)]);
    for (int i = 0; i < kLinksPerPage; ++i) {
      const float top = 842 - 40 - 19.0f * static_cast<float>(i);
      HPDF_Page_Rectangle(page, 50, top - 15, 200, 15);
      HPDF_Page_Stroke(page);
      const HPDF_Rect rect = {50, top - 15, 250, top};
      if (i % 2 == 0) {
        const std::string uri = "https://example.org/p" + std::to_string(p) + "/" + std::to_string(i);
        HPDF_Page_CreateURILinkAnnot(page, rect, uri.c_str());
      } else {
        HPDF_Page_CreateLinkAnnot(page, rect, next);
      }
    }
    const std::string note = "Nota della pagina " + std::to_string(p + 1);
    const HPDF_Rect at = {300, 802, 320, 782};
    HPDF_Page_CreateTextAnnot(page, at, note.c_str(), nullptr);
  }
  return haru_pages::SaveHaru(doc, "haru_links");
}

// Each page: kFieldsPerPage text fields with a keystroke script each, and a
// combo box, a check box and a push button.
std::int64_t SevrinaFields(int pages) {
  pdf::PdfWriter w;
  w.BeginDoc(OutputPath("sevrina_fields"));
  for (int p = 0; p < pages; ++p) {
    w.BeginPage();
    w.SetFont("Arial", 10);
    for (int i = 0; i < kFieldsPerPage; ++i) {
      const std::string name = "p" + std::to_string(p) + ".f" + std::to_string(i);
      w.AddField(name, 0, 50, 40 + 22.0f * static_cast<float>(i), 200, 18, "valore", 40, "Campo");
      w.OnFieldEvent(6, name, "AFNumber_Keystroke(2, 0, 0, 0, \"\", true);");
    }
    w.AddField("p" + std::to_string(p) + ".comune", 3, 300, 40, 150, 18, "Vareri|Ortesa|Altro", 1);
    w.AddField("p" + std::to_string(p) + ".ok", 1, 300, 70, 12, 12, "true");
    w.AddField("p" + std::to_string(p) + ".invia", 5, 300, 100, 80, 20, "Invia", "this.submitForm();");
  }
  w.EndDoc();
  return w.FileSize();
}

// Items a second: links and notes, or fields.
BENCHMARK(haru_pages::BM_Pages<SevrinaLinks, kLinksPerPage + 1>)->Name("Links_Ours")->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(haru_pages::BM_Pages<HaruLinks, kLinksPerPage + 1>)->Name("Links_Haru")->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(haru_pages::BM_Pages<SevrinaFields, kFieldsPerPage + 3>)->Name("Fields_Ours")->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace


