#pragma once
// What the editing forms' tests share: a fresh program folder per test, the
// headless runtime and driver, a stand-in menu, the data file's records as
// stored and as read back, and the message boxes the forms show.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/shell/document_services.h"
#include "app/shell/form_registry.h"
#include "platform/forms/forms.h"
#include "platform/forms/gtest_support.h"
#include "platform/system/system.h"

namespace prova {

namespace fs = std::filesystem;

// A stand-in for the start-up menu: the editing form shows it when it
// returns, so the program goes on.
class MenuFinto : public forms::Form {
 public:
  explicit MenuFinto(forms::Runtime& rt) : Form(rt, "Intro") { SetCaption("Intro"); }
};

// Stand-in document services that record every draft request.
class DocumentiRegistrati : public sevrina::DocumentServices {
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
  bool annota(const char* g, const std::string& p, bool a) {
    chiamate.push_back({g, p, a});
    return true;
  }
};

// One record of the data file.
struct Record {
  std::string chiave;  // trailing blanks removed
  std::string valore;
};

// A key or value as the data file stores it: padded with blanks to 255.
inline std::string campo_file(std::string testo) {
  testo.resize(255, ' ');
  return testo;
}

inline std::string senza_blanchi_finali(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// The fixture of a form's tests, with stand-in document services; the
// form's fixture registers its forms in registra_moduli.
class ProvaModulo : public ::testing::Test {
 protected:
  // `cartella`: the start of the temporary folder's name; `domanda_menu`:
  // the form's "Menu" question.
  ProvaModulo(std::string cartella, std::string domanda_menu)
      : nome_cartella_(std::move(cartella)), domanda_menu_(std::move(domanda_menu)) {}

  // Registers the openers of the forms under test with the menu's registry.
  virtual void registra_moduli() = 0;

  void SetUp() override {
    std::string modello = (fs::temp_directory_path() / (nome_cartella_ + "-XXXXXX")).string();
    ASSERT_NE(::mkdtemp(modello.data()), nullptr);
    cartella_ = modello;
    sys::set_program_folder(cartella_);
    forms::fail_test_on_driver_failure(ui);
    sevrina::set_document_services(&documenti);
    registra_moduli();
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
    for (const auto& [k, v] : records) out << campo_file(k) << campo_file(v);
  }

  // Opens a form as the menu does, shows it and lets its timer focus
  // Text1(0).
  template <class F>
  std::shared_ptr<F> apri_modulo(sevrina::EditingForm quale) {
    EXPECT_TRUE(sevrina::show_form(quale));
    auto f = rt.Find<F>();
    EXPECT_NE(f, nullptr);
    ui.run_timers();
    return f;
  }

  // The "Menu" question, answered with `risposta`.
  void attendi_domanda_menu(forms::MsgResult risposta) {
    ui.expect_box({domanda_menu_, risposta, std::string("Menu"), forms::MsgButtons::YesNo, forms::MsgIcon::None});
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
  DocumentiRegistrati documenti;
  int menu_mostrato = 0;

 private:
  std::string nome_cartella_;
  std::string domanda_menu_;
};

// One notch of the wheel turns a form's sheet (Frame2 inside the viewport
// Frame1) by a fifth of the viewport, through its scroll bar VScroll1, and a
// notch back returns it; the focus stays where it was.
template <class Modulo>
void verifica_rotella(forms::Runtime& rt, Modulo& f) {
  forms::Control* focused = rt.FocusedControl();
  const float top = f.Frame2.Top();
  const int value = f.VScroll1.Value();
  EXPECT_TRUE(rt.user_wheel(f.VScroll1, 1));
  EXPECT_NEAR(top - f.Frame2.Top(), f.Frame1.Height() / 5, 15);
  EXPECT_LT(f.VScroll1.Value(), value);
  EXPECT_EQ(rt.FocusedControl(), focused);
  EXPECT_TRUE(rt.user_wheel(f.VScroll1, -1));
  EXPECT_EQ(f.Frame2.Top(), top);
}

}  // namespace prova
