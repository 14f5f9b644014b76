#pragma once
// What the application form's tests share: a fresh program folder per test,
// the headless runtime and driver, a stand-in menu and document services,
// and readers and writers of DATI.DAT records.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/forms/application_common/keys.h"
#include "app/forms/sevrina_condomini/sevrina_condomini.h"
#include "app/forms/sevrina_proprietari/sevrina_proprietari.h"
#include "app/shell/document_services.h"
#include "app/shell/form_registry.h"
#include "platform/forms/forms.h"
#include "platform/forms/gtest_support.h"
#include "platform/system/system.h"
#include "platform/text/cp1252.h"

namespace prova {

namespace fs = std::filesystem;
using namespace cp1252::literals;
using sevrina::domanda::ModuloDomanda;

inline const std::string kDomandaMenu =
    "Prima di tornare al menu, vuoi salvare le modifiche effettuate alla sevrina ?";

// A stand-in for the start-up menu: the editing form shows it when it
// returns, so the program goes on.
class MenuFinto : public forms::Form {
 public:
  explicit MenuFinto(forms::Runtime& rt) : Form(rt, "Intro") { SetCaption("Intro"); }
};

// Records the draft requests.
class DocumentiFinti : public sevrina::DocumentServices {
 public:
  struct Chiamata {
    std::string generatore;
    std::string percorso;
    bool apri;
  };
  bool crea_sevrina_condomini(const std::string& p, bool a) override {
    chiamate.push_back({"crea_sevrina_condomini", p, a});
    return true;
  }
  bool crea_sevrina_proprietari(const std::string& p, bool a) override {
    chiamate.push_back({"crea_sevrina_proprietari", p, a});
    return true;
  }
  bool crea_atto_notorio(const std::string& p, bool a) override {
    chiamate.push_back({"crea_atto_notorio", p, a});
    return true;
  }
  bool crea_quadro_economico(const std::string& p, bool a) override {
    chiamate.push_back({"crea_quadro_economico", p, a});
    return true;
  }
  void crea_sevrine() override {}
  std::vector<Chiamata> chiamate;
};

// One record of the data file, as stored (padded fields) and trimmed.
struct Record {
  std::string chiave;  // trimmed of trailing blanks
  std::string valore;
};

inline std::string campo(std::string testo) {
  testo.resize(255, ' ');
  return testo;
}

inline std::string record(const std::string& chiave, const std::string& valore) {
  return campo(chiave) + campo(valore);
}

inline std::string senza_blanchi_finali(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

class ProvaDomanda : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string modello = (fs::temp_directory_path() / "sevrina-domanda-XXXXXX").string();
    ASSERT_NE(::mkdtemp(modello.data()), nullptr);
    cartella_ = modello;
    sys::set_program_folder(cartella_);
    forms::fail_test_on_driver_failure(ui);
    sevrina::set_document_services(&documenti);
    sevrina::register_sevrina_condomini(rt);
    sevrina::register_sevrina_proprietari(rt);
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

  // The value of the last record whose trimmed key is `chiave`, or nothing.
  std::optional<std::string> valore(const std::string& chiave) const {
    std::optional<std::string> v;
    for (const auto& r : record_dati()) {
      if (r.chiave == chiave) v = r.valore;
    }
    return v;
  }

  void scrivi_file(const std::vector<std::pair<std::string, std::string>>& records) {
    std::ofstream out(file_dati(), std::ios::binary | std::ios::trunc);
    for (const auto& [k, v] : records) out << record(k, v);
  }

  // Opens a variant as the menu does, shows it and lets its timer focus
  // Text1(0).
  template <class F>
  std::shared_ptr<F> apri() {
    const bool ok = sevrina::show_form(std::is_same_v<F, sevrina::sevrina_condomini>
                                           ? sevrina::EditingForm::SevrinaCondomini
                                           : sevrina::EditingForm::SevrinaProprietari);
    EXPECT_TRUE(ok);
    auto f = rt.Find<F>();
    EXPECT_NE(f, nullptr);
    ui.run_timers();
    return f;
  }

  std::shared_ptr<sevrina::sevrina_condomini> apri_condomini() { return apri<sevrina::sevrina_condomini>(); }
  std::shared_ptr<sevrina::sevrina_proprietari> apri_proprietari() {
    return apri<sevrina::sevrina_proprietari>();
  }

  // The "Menu" question, answered with `risposta`.
  void attendi_domanda_menu(forms::MsgResult risposta) {
    ui.expect_box({kDomandaMenu, risposta, std::string("Menu"), forms::MsgButtons::YesNo, forms::MsgIcon::None});
  }

  // A check's message: OK only, no icon, no title of its own.
  void attendi_messaggio(const std::string& testo) {
    ui.expect_box({testo, forms::MsgResult::OK, rt.Title(), forms::MsgButtons::OK, forms::MsgIcon::None});
  }

  // The focused control's full name, "" when none.
  std::string fuoco() const {
    forms::Control* c = rt.FocusedControl();
    return c ? c->FullName() : std::string();
  }

  fs::path cartella_;
  forms::Runtime rt;
  forms::TestDriver ui{rt};
  DocumentiFinti documenti;
  int menu_mostrato = 0;
};

}  // namespace prova
