#include "app/shell/help_forms.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/shell/form_helpers.h"
#include "platform/text/cp1252.h"

namespace sevrina {

const char* const kTitoloAvvertenze = "AVVERTENZE AL MODELLO DI COMPILAZIONE ELETTRONICA DELLA MODULISTICA";

namespace {

// Layout of the page, in twips.
constexpr float kMargine = 240;            // left and right margin
constexpr float kAltezzaTitolo = 330;      // heading and subheading
constexpr float kLarghezzaNumeri = 360;    // the numbers' column
constexpr float kRiga = 240;               // one line of a note (9.75 pt)
constexpr float kSpazioNote = 150;         // between two notes
// Average width of a character of Arial 9.75 pt, in twips: enough to
// estimate how many lines a note wraps to.
constexpr float kLarghezzaCarattere = 90;

forms::FontSpec arial(float size, bool bold) {
  forms::FontSpec f;
  f.Name = "Arial";
  f.Size = size;
  f.Bold = bold;
  return f;
}

std::string w1252(const char* utf8) { return cp1252::from_utf8(utf8); }

}  // namespace

HelpForm::HelpForm(forms::Runtime& rt, std::string nome, float larghezza, float altezza, const char* sottotitolo,
                   const std::vector<const char*>& note)
    : Form(rt, std::move(nome)) {
  SetCaption("Help");
  SetClientSize(larghezza, altezza);

  float ampiezza = larghezza - 2 * kMargine;
  Label1.SetCaption(kTitoloAvvertenze);
  Label1.SetFont(arial(12, true));
  Label1.SetAlignment(forms::Alignment::Center);
  Label1.Move(kMargine, 120, ampiezza, kAltezzaTitolo);

  Label2.SetCaption(w1252(sottotitolo));
  Label2.SetFont(arial(12, true));
  Label2.SetAlignment(forms::Alignment::Center);
  Label2.Move(kMargine, 120 + kAltezzaTitolo + 60, ampiezza, kAltezzaTitolo);

  float top = 120 + 2 * kAltezzaTitolo + 60 + 240;
  float larghezza_testo = ampiezza - kLarghezzaNumeri;
  int caratteri_per_riga = std::max(1, static_cast<int>(larghezza_testo / kLarghezzaCarattere));
  for (int i = 0; i < static_cast<int>(note.size()); ++i) {
    std::string testo = w1252(note[static_cast<std::size_t>(i)]);
    int righe = std::max(1, static_cast<int>(std::ceil(static_cast<double>(testo.size()) / caratteri_per_riga)));
    float alto = static_cast<float>(righe) * kRiga;

    auto& numero = Label3.Add(i);
    numero.SetCaption(std::to_string(i + 1) + ".");
    numero.SetFont(arial(9.75f, false));
    numero.Move(kMargine, top, kLarghezzaNumeri, kRiga);

    auto& nota = Label4.Add(i);
    nota.SetCaption(testo);
    nota.SetFont(arial(9.75f, false));
    nota.SetWordWrap(true);
    nota.Move(kMargine + kLarghezzaNumeri, top, larghezza_testo, alto);

    top += alto + kSpazioNote;
  }
}

void HelpForm::Form_Load() { centra_form(*this); }

Help_intro::Help_intro(forms::Runtime& rt)
    : HelpForm(rt, "Help_intro", 11070, 6030, "AVVERTENZE GENERALI",
               {
                   "I modelli elettronici valgono per un solo edificio alla volta: per un altro edificio "
                   "occorre scaricare di nuovo il modello elettronico dal sito internet della società che "
                   "gestisce il progetto.",
                   "Non è richiesto un ordine particolare di compilazione. I dati del richiedente si "
                   "inseriscono solo nei modelli di domanda (sevrina): il sistema li riporta da sé nelle "
                   "dichiarazioni sostitutive e nel quadro economico.",
                   "Non è necessario compilare i modelli in una sola volta; del documento in compilazione si "
                   "può stampare una bozza.",
                   "Dopo che \"Stampa Dati\" ha prodotto i documenti definitivi non è più possibile apportare "
                   "modifiche: per cambiarli occorre una nuova compilazione.",
                   "Completata la compilazione, il richiedente stampa i documenti, li firma dove richiesto e "
                   "salva i file prodotti su un CD/DVD da allegare ai documenti cartacei, che vanno inviati in "
                   "duplice copia come prevede l'avviso pubblico del 1° febbraio 2008.",
               }) {}

Help_sevrina_condomini::Help_sevrina_condomini(forms::Runtime& rt)
    : HelpForm(rt, "Help_sevrina_condomini", 11070, 3915, "AVVERTENZE SEVRINA CONDOMINI",
               {
                   "L'amministratore compila la domanda in ogni sua parte.",
                   "La domanda contiene i dati dell'amministratore e dell'edificio, una breve descrizione "
                   "degli interventi, la fascia dimensionale dell'edificio e i contributi richiesti con le "
                   "relative percentuali tratte dal quadro economico; nell'ultima sezione l'amministratore "
                   "seleziona i documenti allegati.",
                   "L'amministratore firma la versione definitiva stampata.",
               }) {}

Help_sevrina_proprietari::Help_sevrina_proprietari(forms::Runtime& rt)
    : HelpForm(rt, "Help_sevrina_proprietari", 11010, 4020, "AVVERTENZE SEVRINA PROPRIETARI O COMPROPRIETARI",
               {
                   "Il proprietario unico, oppure il delegato dei proprietari quando questi sono più di uno, "
                   "compila la domanda in ogni sua parte.",
                   "La domanda contiene i dati del proprietario o del delegato, dell'edificio e degli "
                   "interventi, e i contributi richiesti con le relative percentuali tratte dal quadro "
                   "economico; nell'ultima sezione si selezionano i documenti allegati.",
                   "Il proprietario o il delegato firma la versione definitiva stampata.",
               }) {}

Help_quadro_economico::Help_quadro_economico(forms::Runtime& rt)
    : HelpForm(rt, "Help_quadro_economico", 11070, 6270, "AVVERTENZE QUADRO ECONOMICO DELL'INTERVENTO",
               {
                   "Il richiedente compila il quadro economico insieme al tecnico che redige il progetto.",
                   "I dati del richiedente e dell'edificio sono ripresi dalla domanda (sevrina).",
                   "Si digitano solo gli importi delle celle evidenziate in giallo; nella tabella dei premi si "
                   "selezionano solo gli interventi che saranno eseguiti e che danno diritto a percentuali "
                   "aggiuntive.",
                   "Il contributo totale (di base, premiale e accessorio) è calcolato dagli importi, dagli "
                   "interventi premiali, dalla fascia dimensionale dell'edificio e dall'adozione del libretto "
                   "di manutenzione del fabbricato.",
                   "Gli importi del contributo sono riportati nella domanda.",
                   "Il richiedente e il tecnico firmano la versione definitiva stampata.",
               }) {}

Help_atto_notorio::Help_atto_notorio(forms::Runtime& rt)
    : HelpForm(rt, "Help_atto_notorio", 11070, 3900, "AVVERTENZE DICHIARAZIONI SOSTITUTIVE ATTO NOTORIO",
               {
                   "Il richiedente compila le dichiarazioni.",
                   "I dati del richiedente e dell'edificio sono ripresi dalla domanda (sevrina).",
                   "Il richiedente seleziona le dichiarazioni da rendere, in particolare tutte quelle "
                   "obbligatorie.",
                   "Il richiedente firma accanto a ogni dichiarazione resa e alla fine del documento stampato.",
               }) {}

}  // namespace sevrina
