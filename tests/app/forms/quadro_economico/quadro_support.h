#pragma once
// What the cost-table tests share: a fresh program folder per test, the
// headless runtime and driver, a stand-in menu and document services, the
// data file's records, and the form's computed fields side by side with one
// plain pass of the computation over the same inputs.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/forms/quadro_economico/calcolo.h"
#include "app/forms/quadro_economico/quadro_economico.h"
#include "app/shell/document_services.h"
#include "app/shell/form_registry.h"
#include "platform/forms/forms.h"
#include "platform/forms/gtest_support.h"
#include "platform/system/system.h"
#include "platform/text/cp1252.h"

namespace prova {

namespace fs = std::filesystem;
using namespace cp1252::literals;
using sevrina::quadro::Serie;

class MenuFinto : public forms::Form {
 public:
  explicit MenuFinto(forms::Runtime& rt) : Form(rt, "Intro") { SetCaption("Intro"); }
};

class DocumentiFinti : public sevrina::DocumentServices {
 public:
  struct Chiamata {
    std::string generatore;
    std::string percorso;
    bool apri;
  };
  bool crea_sevrina_condomini(const std::string& p, bool a) override { return annota("condomini", p, a); }
  bool crea_sevrina_proprietari(const std::string& p, bool a) override { return annota("proprietari", p, a); }
  bool crea_atto_notorio(const std::string& p, bool a) override { return annota("atto_notorio", p, a); }
  bool crea_quadro_economico(const std::string& p, bool a) override { return annota("quadro_economico", p, a); }
  void crea_sevrine() override {}
  std::vector<Chiamata> chiamate;

 private:
  bool annota(std::string g, const std::string& p, bool a) {
    chiamate.push_back({std::move(g), p, a});
    return true;
  }
};

struct Record {
  std::string chiave;  // trailing blanks removed
  std::string valore;
};

inline std::string campo_file(std::string testo) {
  testo.resize(255, ' ');
  return testo;
}

inline std::string senza_blanchi_finali(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// Every computation field's name and text, in a fixed order.
inline std::vector<std::pair<std::string, std::string>> campi_calcolo(const sevrina::quadro::Foglio& f) {
  std::vector<std::pair<std::string, std::string>> out;
  const std::pair<Serie, const char*> serie[] = {{Serie::Text2, "Text2"}, {Serie::Text3, "Text3"},
                                                 {Serie::Text4, "Text4"}, {Serie::Text5, "Text5"},
                                                 {Serie::Text6, "Text6"}, {Serie::Text7, "Text7"},
                                                 {Serie::Text8, "Text8"}};
  for (const auto& [s, nome] : serie) {
    for (int i = 0; i < sevrina::quadro::elementi(s); ++i) {
      out.emplace_back(std::string(nome) + "(" + std::to_string(i) + ")", f.testo(s, i));
    }
  }
  return out;
}

// The form's fields as a computation sheet (reading only).
class FoglioDelModulo : public sevrina::quadro::Foglio {
 public:
  explicit FoglioDelModulo(const sevrina::quadro_economico& f) : f_(f) {}
  std::string testo(Serie s, int i) const override { return f_.campo(s, i).Text(); }
  void scrivi(Serie, int, const std::string&) override { ADD_FAILURE() << "read-only"; }
  bool criterio(int i) const override { return f_.Check1[i].Value() == 1; }
  bool fascia(int i) const override { return f_.Option1[i].Value(); }
  bool libretto(int i) const override { return f_.Option2[i].Value(); }

 private:
  const sevrina::quadro_economico& f_;
};

// One plain pass of the computation over the form's inputs and choices.
inline sevrina::quadro::FoglioSemplice un_passaggio(const sevrina::quadro_economico& f) {
  sevrina::quadro::FoglioSemplice s;
  for (int i = 0; i < 3; ++i) s.scrivi(Serie::Text2, i, f.Text2[i].Text());
  for (int i = 0; i < 7; ++i) s.scrivi(Serie::Text5, i, f.Text5[i].Text());
  for (int i = 0; i < 4; ++i) s.scrivi(Serie::Text7, i, f.Text7[i].Text());
  // Text6(7) is written only when every share is "0"; start from the form's.
  s.scrivi(Serie::Text6, 7, f.Text6[7].Text());
  for (int i = 0; i < 6; ++i) s.criteri[static_cast<std::size_t>(i)] = f.Check1[i].Value() == 1;
  for (int i = 0; i < 2; ++i) {
    s.fasce[static_cast<std::size_t>(i)] = f.Option1[i].Value();
    s.libretti[static_cast<std::size_t>(i)] = f.Option2[i].Value();
  }
  sevrina::quadro::ricalcola(s);
  return s;
}

class ProvaQuadro : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string modello = (fs::temp_directory_path() / "sevrina-quadro-XXXXXX").string();
    ASSERT_NE(::mkdtemp(modello.data()), nullptr);
    cartella_ = modello;
    sys::set_program_folder(cartella_);
    forms::fail_test_on_driver_failure(ui);
    sevrina::set_document_services(&documenti);
    sevrina::register_quadro_economico(rt);
    sevrina::register_menu([this] {
      ++menu_mostrato;
      rt.Load<MenuFinto>()->Show(forms::ShowMode::Modeless);
    });
  }

  void TearDown() override {
    ui.verify();
    sevrina::set_document_services(nullptr);
    sevrina::register_menu(nullptr);
    std::error_code ec;
    fs::remove_all(cartella_, ec);
  }

  fs::path file_dati() const { return cartella_ / "DATI.DAT"; }

  std::string byte_dati() const {
    std::ifstream in(file_dati(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::vector<Record> record_dati() const {
    const std::string b = byte_dati();
    std::vector<Record> out;
    for (std::size_t p = 0; p + 510 <= b.size(); p += 510) {
      out.push_back({senza_blanchi_finali(b.substr(p, 255)), senza_blanchi_finali(b.substr(p + 255, 255))});
    }
    return out;
  }

  std::optional<std::string> valore(const std::string& chiave) const {
    std::optional<std::string> v;
    for (const auto& r : record_dati()) {
      if (r.chiave == chiave) v = r.valore;
    }
    return v;
  }

  void scrivi_file(const std::vector<std::pair<std::string, std::string>>& records) {
    std::ofstream out(file_dati(), std::ios::binary | std::ios::trunc);
    for (const auto& [k, v] : records) out << campo_file(k) << campo_file(v);
  }

  // Opens the form as the menu does and lets its timer focus Text1(0).
  std::shared_ptr<sevrina::quadro_economico> apri() {
    EXPECT_TRUE(sevrina::show_form(sevrina::EditingForm::QuadroEconomico));
    auto f = rt.Find<sevrina::quadro_economico>();
    EXPECT_NE(f, nullptr);
    ui.run_timers();
    return f;
  }

  void attendi_domanda_menu(forms::MsgResult risposta) {
    ui.expect_box({sevrina::domanda_menu_quadro_economico(), risposta, std::string("Menu"),
                   forms::MsgButtons::YesNo, forms::MsgIcon::None});
  }

  void attendi_messaggio(const std::string& testo) {
    ui.expect_box({testo, forms::MsgResult::OK, rt.Title(), forms::MsgButtons::OK, forms::MsgIcon::None});
  }

  std::string fuoco() const {
    forms::Control* c = rt.FocusedControl();
    return c ? c->FullName() : std::string();
  }

  // Every computed field equals one plain pass of the steps over the inputs.
  void come_un_passaggio(const sevrina::quadro_economico& f) {
    const auto atteso = campi_calcolo(un_passaggio(f));
    const auto visto = campi_calcolo(FoglioDelModulo(f));
    EXPECT_EQ(visto, atteso);
  }

  fs::path cartella_;
  forms::Runtime rt;
  forms::TestDriver ui{rt};
  DocumentiFinti documenti;
  int menu_mostrato = 0;
};

}  // namespace prova
