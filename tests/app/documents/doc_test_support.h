#pragma once
// Shared by the document tests: a temporary program folder with a data file
// built in the test, the forms runtime that answers the generators' message
// boxes, the viewer replaced by a recorder, and what the real readers see
// of a finished document (text per page, word boxes, pdfinfo).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/documents/frame.h"
#include "app/shell/store.h"
#include "platform/forms/forms.h"
#include "platform/forms/gtest_support.h"
#include "platform/system/system.h"
#include "platform/text/cp1252.h"
#include "tests/pdf/pdf_tools.h"

namespace doctest {

using Record = std::pair<std::string, std::string>;  // key, value (Windows-1252)

// The bytes of a data file holding `records` in order.
inline std::string data_file(const std::vector<Record>& records) {
  std::string out;
  for (const auto& [k, v] : records) {
    out += sevrina::campo_record(k);
    out += sevrina::campo_record(v);
  }
  return out;
}

// A complete applicant of type `tipo`, with accented letters in the values.
inline std::vector<Record> richiedente(const std::string& tipo) {
  using namespace cp1252::literals;
  return {
      {"TIPO_RICHIEDENTE", tipo}, {"NOME_RICHIEDENTE", "Mario"}, {"COGNOME_RICHIEDENTE", u8"Niccolò"_w1252},
      {"COMUNE_NASCITA_RICHIEDENTE", "Napoli"}, {"PROVINCIA_NASCITA_RICHIEDENTE", "NA"},
      {"DATA_NASCITA_RICHIEDENTE", "19600131"}, {"COMUNE_RICHIEDENTE", "Vareri"}, {"PROVINCIA_RICHIEDENTE", "VA"},
      {"INDIRIZZO_RICHIEDENTE", "via Roma"}, {"CIVICO_RESIDENZA_RICHIEDENTE", "12"},
      {"CODICE_FISCALE_RICHIEDENTE", "NCCMRA60A31F839X"}, {"COMUNE_DOMICILIO_RICHIEDENTE", "Pozzuoli"},
      {"INDIRIZZO_DOMICILIO_RICHIEDENTE", u8"via Città"_w1252}, {"CIVICO_DOMICILIO_RICHIEDENTE", "3"},
      {"CAP_DOMICILIO_RICHIEDENTE", "80078"}, {"TELEFONO_DOMICILIO_RICHIEDENTE", "0811234"},
      {"FAX_DOMICILIO_RICHIEDENTE", "0815678"}, {"MAIL_DOMICILIO_RICHIEDENTE", "mario@posta.it"},
      {"INDIRIZZO_CONDOMINIO", "piazza Dante"}, {"CIVICO_CONDOMINIO", "7"}, {"CAP_CONDOMINIO", "80135"},
      {"MUNICIPALITA_CONDOMINIO", "II"},
  };
}

// ZapfDingbats 56 as pdftotext gives it (U+2718, heavy ballot X).
inline const std::string kCross = "\xE2\x9C\x98";

inline int count_of(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + what.size()))
    ++n;
  return n;
}

// Runs of blanks and line breaks become one blank (layout out of the way).
inline std::string collapse(const std::string& text) {
  std::string out;
  bool blank = false;
  for (char c : text) {
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f') {
      blank = true;
      continue;
    }
    if (blank && !out.empty()) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

inline std::string utf8(const std::string& w1252) { return cp1252::to_utf8(w1252); }

using pdftest::Word;
using pdftest::words;

// The two footer lines of a page of `pdftotext -layout`, collapsed: the
// line starting with "PROGETTO ORTESA 3," and the one after it.
inline std::pair<std::string, std::string> footer_of(const std::string& page) {
  std::istringstream in(page);
  for (std::string line; std::getline(in, line);) {
    if (collapse(line).rfind("PROGETTO ORTESA 3,", 0) != 0) continue;
    std::string next;
    std::getline(in, next);
    return {collapse(line), collapse(next)};
  }
  return {"", ""};
}

// What the readers say of a finished document.
struct Reading {
  int pages = 0;
  std::string info;                // pdfinfo
  std::vector<std::string> text;   // pdftotext -layout, one entry per page
  std::string all;                 // every page, collapsed
};

inline Reading read(const std::string& pdf) {
  Reading r;
  pdftest::ToolResult info = pdftest::Pdfinfo(pdf);
  EXPECT_EQ(info.exit_code, 0) << info.err;
  r.info = info.out;
  r.pages = std::atoi(pdftest::PdfinfoValue(info.out, "Pages").c_str());
  std::string whole;
  for (int p = 1; p <= r.pages; ++p) {
    pdftest::ToolResult t = pdftest::PdfToText(
        pdf, {"-layout", "-f", std::to_string(p), "-l", std::to_string(p)});
    EXPECT_EQ(t.exit_code, 0) << t.err;
    r.text.push_back(t.out);
    whole += t.out + "\n";
  }
  r.all = collapse(whole);
  return r;
}

// qpdf --check clean; A4; protected, print only (P = -60: printing and no
// other right), opened without a password and by the owner password
// "ravoduzorude" as the owner's.
inline void expect_sound_protected_a4(const std::string& pdf, const Reading& r) {
  pdftest::ToolResult q = pdftest::QpdfCheck(pdf);
  EXPECT_EQ(q.exit_code, 0) << q.out << q.err;
  EXPECT_EQ(pdftest::PdfinfoValue(r.info, "Page size"), "596 x 842 pts (A4)");
  EXPECT_EQ(pdftest::PdfinfoValue(r.info, "Encrypted").rfind(
                "yes (print:yes copy:no change:no addNotes:no", 0),
            0u)
      << r.info;
  EXPECT_GE(r.pages, 1);
  const pdftest::ToolResult owner = pdftest::Qpdf({"--password=ravoduzorude", "--show-encryption", pdf});
  EXPECT_NE(owner.out.find("Supplied password is owner password"), std::string::npos) << owner.out << owner.err;
  EXPECT_NE(owner.out.find("\nP = -60\n"), std::string::npos) << owner.out;
}

// A temporary program folder with the runtime answering the message boxes
// and the viewer replaced by a recorder.
class DocumentTest : public ::testing::Test {
 protected:
  DocumentTest() : ui(rt) {
    forms::fail_test_on_driver_failure(ui);
    sys::set_program_folder(dir.path());
    sevrina::documenti::imposta_runtime(&rt);
    sevrina::documenti::imposta_apertura(
        [this](pdf::PdfWriter&, const std::string& path) { opened.push_back(path); });
  }
  ~DocumentTest() override {
    sevrina::documenti::imposta_apertura({});
    sevrina::documenti::imposta_runtime(nullptr);
  }

  void write_data(const std::vector<Record>& records) {
    pdftest::WriteFile((dir.path() / "DATI.DAT").string(), data_file(records));
  }
  std::string out(const std::string& name = "out.pdf") const { return dir.file(name); }

  pdftest::TempDir dir;
  forms::Runtime rt;
  forms::TestDriver ui;
  std::vector<std::string> opened;
};

}  // namespace doctest
