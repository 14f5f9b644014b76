#pragma once
// What the whole road from an empty program folder must leave in the output
// folder, checked the same way whether the road was typed through the
// headless runtime or through the Qt view's widgets.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/text/cp1252.h"
#include "tests/app/documents/doc_test_support.h"

namespace doctest {

// `out` is the output folder; `data` the data file as saved before "Genera".
inline void expect_road_output(const std::filesystem::path& out, const std::string& data) {
  using namespace cp1252::literals;
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(out)) names.insert(e.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"Modello 1.a  sevrina condomini.pdf",
                                          "Modello dichiarazione sostitutiva.pdf",
                                          "Modello quadro economico computo metrico.pdf", "dati.dat"}));
  EXPECT_EQ(pdftest::ReadFile((out / "dati.dat").string()), data);

  // The documents as a reader sees them: qpdf --check, pdfinfo, pdftotext.
  const std::string application = (out / "Modello 1.a  sevrina condomini.pdf").string();
  const Reading a = read(application);
  expect_sound_protected_a4(application, a);
  EXPECT_NE(a.all.find(utf8(u8"Il/La sottoscritto/a Mario Rossi nato/a a Vareri (NA) Il 31/01/1960 residente a "
                            u8"Vareri (NA) via Roma n. 12 c.f.: RSSMRA70A01F839X"_w1252)),
            std::string::npos)
      << a.all;
  EXPECT_NE(a.all.find("delibera condominiale del 15/01/2008."), std::string::npos);
  EXPECT_NE(a.all.find("mod. ORTESA 1.a) sevrina condomini"), std::string::npos);

  const std::string declarations = (out / "Modello dichiarazione sostitutiva.pdf").string();
  const Reading d = read(declarations);
  expect_sound_protected_a4(declarations, d);
  EXPECT_EQ(count_of(d.all, kCross), 13);  // the fixed declarations
  EXPECT_NE(d.all.find("30/01/2008"), std::string::npos);

  const std::string costs = (out / "Modello quadro economico computo metrico.pdf").string();
  const Reading q = read(costs);
  expect_sound_protected_a4(costs, q);
  ASSERT_EQ(q.pages, 7);
  const std::string page3 = collapse(q.text[2]);
  for (const char* figure :
       {"100.000,00", "5.000,00", "2.000,00", "107.000,00", "10.000,00", "40.000,00", "7.000,00"}) {
    EXPECT_NE(page3.find(std::string(" ") + figure + " "), std::string::npos) << figure;
  }
  EXPECT_NE(page3.find("Totale 107.000,00 100,00 deve corrispondere"), std::string::npos) << page3;
  EXPECT_NE(collapse(q.text[0]).find("SITO IN VARERI A VIA CHIAIA N. 7"), std::string::npos);
  EXPECT_NE(collapse(q.text[4]).find("data 31/01/2008"), std::string::npos);
}

}  // namespace doctest
