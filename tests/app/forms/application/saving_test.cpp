// The application form's checks on saving: each in its order, with its
// message and where it puts the focus.

#include <functional>

#include "tests/app/forms/application/application_support.h"

namespace prova {
namespace {

using DomandaSalvataggio = ProvaDomanda;

const std::string kAltroIntervento = "Specificare Altro intervento nella sezione B della sevrina!";
const std::string kAltriImpianti = "Specificare Altri impianti nella sezione B della sevrina!";
const std::string kNascita = u8"La Data di nascita del richiedente è errata!"_w1252;
const std::string kAutorizzazione = u8"La Data della delibera condominiale per l'autorizzazione è errata !"_w1252;
const std::string kEsecuzione = u8"La Data della delibera condominiale per l'esecuzione è errata !"_w1252;
const std::string kDocumento = u8"La Data del documento è errata!"_w1252;
const std::string kAutorizzazioneSuccessiva =
    u8"La Data della delibera condominiale per l'autorizzazione dei lavori non può essere successiva a "
    u8"quella della sevrina !"_w1252;
const std::string kEsecuzioneSuccessiva =
    u8"La Data della delibera condominiale per l'esecuzione dei lavori non può essere successiva a quella "
    u8"della sevrina !"_w1252;

using Impostazione = std::function<void(ModuloDomanda&)>;

Impostazione testo(int i, std::string t) {
  return [i, t](ModuloDomanda& f) { f.Text1[i].SetText(t); };
}
Impostazione spunta(int i) {
  return [i](ModuloDomanda& f) { f.Check3[i].SetValue(1); };
}

struct Caso {
  const char* nome;
  bool proprietario;
  std::vector<Impostazione> impostazioni;
  std::string messaggio;  // "" = the save passes
  std::string fuoco;      // where a failure puts the focus ("" = not moved)
};

TEST_F(DomandaSalvataggio, EachCheckInItsOrderWithItsMessage) {
  const std::vector<Caso> casi = {
      {"altro intervento blank", false, {spunta(11), testo(24, "   ")}, kAltroIntervento, "Text1(24)"},
      {"both free texts missing", false, {spunta(11), spunta(16)}, kAltroIntervento, "Text1(24)"},
      {"altri impianti missing", false, {spunta(16)}, kAltriImpianti, "Text1(25)"},
      {"birth 31/02/2008", false, {testo(4, "31/02/2008")}, kNascita, ""},
      {"birth 29/02/2008 is valid", false, {testo(4, "29/02/2008")}, "", ""},
      {"authorisation letters", false, {testo(22, "ab/cd/efgh")}, kAutorizzazione, ""},
      {"works invalid", false, {testo(23, "32/01/2008")}, kEsecuzione, ""},
      {"document invalid", false, {testo(35, "29/02/2007")}, kDocumento, ""},
      {"authorisation after document", false, {testo(22, "02/02/2008"), testo(35, "01/02/2008")},
       kAutorizzazioneSuccessiva, ""},
      {"works after document", false, {testo(23, "02/02/2008"), testo(35, "01/02/2008")},
       kEsecuzioneSuccessiva, ""},
      {"no document date: no comparison", false, {testo(22, "02/02/2008"), testo(23, "03/02/2008")}, "", ""},
      {"invalid authorisation and document", false, {testo(22, "30/02/2008"), testo(35, "30/02/2008")},
       kAutorizzazione, ""},
      // The owner variant checks only steps 1, 2, 3 and 6.
      {"owner: hidden dates never checked", true,
       {testo(22, "99/99/9999"), testo(23, "xx"), testo(35, "01/02/2008")}, "", ""},
      {"owner: altri impianti before birth", true, {spunta(16), testo(4, "31/02/2008")}, kAltriImpianti,
       "Text1(25)"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    std::shared_ptr<ModuloDomanda> f = apri_variante(c.proprietario);
    ASSERT_TRUE(f);
    for (const auto& imposta : c.impostazioni) imposta(*f);
    const std::string prima = byte_dati();
    if (!c.messaggio.empty()) attendi_messaggio(c.messaggio);
    ui.click(f->Command1[1]);
    ui.verify();
    if (c.messaggio.empty()) {
      EXPECT_EQ(record_dati().size(), 80u);
    } else {
      EXPECT_EQ(byte_dati(), prima) << "nothing is written";
      // Clicking "Salva" gave the button the focus; only steps 1 and 2 move it.
      EXPECT_EQ(fuoco(), c.fuoco.empty() ? "Command1(1)" : c.fuoco);
      if (auto* box = dynamic_cast<forms::TextBox*>(rt.FocusedControl()); box && !c.fuoco.empty()) {
        EXPECT_EQ(std::pair(box->SelStart(), box->SelLength()), std::pair(0, static_cast<int>(box->Text().size())));
      }
    }
    f->Unload();
    std::filesystem::remove(file_dati());
  }
}

// Codes, phone numbers and dates pasted into the application go through
// their boxes' filters as if typed, within each box's length.
TEST_F(ProvaDomanda, PastedCodesAndDatesAreFilteredAsTyped) {
  std::shared_ptr<ModuloDomanda> f = apri_variante(false);
  ASSERT_TRUE(f);
  struct Caso {
    int casella;
    const char* incollato;
    const char* dopo;
  };
  const Caso casi[] = {
      {9, "rss mra-70a01.f839x", "RSSMRA70A01F839X"},  // the tax code: capitals and digits
      {3, "n.a.", "NA"},                               // a province: capitals
      {15, "081 555/12 int. 4", "081 555/12  4"},      // a phone number
      {4, "31-01-1960", "31/01/1960"},                 // a date gets its own slashes
  };
  for (const Caso& c : casi) {
    ASSERT_TRUE(ui.paste(f->Text1[c.casella], c.incollato));
    EXPECT_EQ(f->Text1[c.casella].Text(), c.dopo) << "Text1(" << c.casella << ")";
  }
}

}  // namespace
}  // namespace prova
