// Document and page actions: what OnDocEvent keeps, and the version it asks.

#include "tests/pdf/interactive/interactive_probe.h"

namespace {

using namespace interactive_test;

TEST(InteractiveActions, AppendResetAndVersion) {
  struct Row { int type; const char *first, *second; bool reset; const char* kept; char version; };
  const Row rows[] = {{2, "a", "b", false, "ab", '3'}, {2, "a", "b", true, "b", '3'}, {0, "p", "", true, "", '3'},
                      {3, "", "", false, "", '4'},     {7, "s", "t", false, "st", '4'}, {9, "x", "y", false, "", '3'}};
  for (const Row& r : rows) {
    const std::string file = WriteDoc(TempPdf(std::to_string(&r - rows)), [&](Probe& w) {
      w.OnDocEvent(r.type, r.first);
      w.OnDocEvent(r.type, r.second, r.reset);
      std::string kept;
      for (const auto& s : w.Labels.DocScripts) kept += s;
      EXPECT_EQ(kept, r.kept) << r.type;
    });
    EXPECT_EQ(file[7], r.version) << r.type;  // "%PDF-1.n"
  }
}

}  // namespace
