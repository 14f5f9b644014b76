// Document and page actions: what OnDocEvent keeps, and the scripts as
// readers list them.

#include "tests/pdf/interactive/interactive_probe.h"

namespace {

using namespace interactive_test;

TEST(InteractiveActions, AppendResetAndVersion) {
  struct Row {
    int type;
    const char* first;
    const char* second;
    bool reset;
    const char* kept;
    int version;
  };
  const Row rows[] = {
      {2, "a", "b", false, "ab", 3}, {2, "a", "b", true, "b", 3},   {0, "p", "", true, "", 3},
      {3, "", "", false, "", 4},     {7, "s", "t", false, "st", 4}, {8, "f", "g", true, "g", 3},
      {9, "x", "y", false, "", 3},   {-1, "x", "", false, "", 3},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.type) + r.first + r.second);
    Probe w;
    const std::string path = TempPdf(std::to_string(&r - rows));
    OpenPage(w, path);
    w.OnDocEvent(r.type, r.first);
    w.OnDocEvent(r.type, r.second, r.reset);
    std::string kept;
    for (const auto& s : w.Labels.DocScripts) kept += s;
    EXPECT_EQ(kept, r.kept);
    w.EndDoc();
    EXPECT_EQ(ReadFile(path).substr(0, 8), "%PDF-1." + std::to_string(r.version));
  }
}

TEST(InteractiveActions, ScriptsAsReadersListThem) {
  Probe w;
  const std::string path = TempPdf();
  OpenPage(w, path);
  w.OnDocEvent(0, "pagina();");  // the page open while it is set
  w.OnDocEvent(1, "chiusa();");
  w.OnDocEvent(2, "apri();");
  w.OnDocEvent(4, "stampa();");
  w.OnDocEvent(8, "function globale() {}");
  w.BeginPage();
  w.EndDoc();
  const std::string js = pdftest::Pdfinfo(path, {"-js"}).out;
  for (const char* want : {"Name Dictionary \"globalscript\":\nfunction globale() {}", "Before Print Document:\nstampa();",
                           "Page Open:\npagina();", "Page Close:\nchiusa();"}) {
    EXPECT_NE(js.find(want), std::string::npos) << want << "\n" << js;
  }
  EXPECT_EQ(Count(js, "pagina();"), 1);
  const auto open = pdftest::MutoolShow(path, {"Root/OpenAction/JS"});
  EXPECT_NE(open.out.find("apri();"), std::string::npos) << open.out << open.err;
  pdftest::ExpectReadersAccept(path);
}

}  // namespace
