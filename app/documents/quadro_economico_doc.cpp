// The cost table and the front page of the bill of quantities: seven pages
// on a fixed plan, whatever the data. Page 1 the cover, page 2 the
// applicant, page 3 section A) up to the total of the intervention (rows a)
// to f) with the category table), page 4 the contributions with the premium
// table (rows g) to j)), page 5 the summary (k), l) and the figures), page 6
// the designer's declaration in front of the bill of quantities, page 7 the
// notes. Margins 2 cm all round; a page number on every page; no page-break
// test. Every figure is printed as stored; only the two totals of the
// category table are computed here.

#include <array>
#include <optional>
#include <string>

#include "app/documents/crea_file.h"
#include "app/documents/frame.h"
#include "app/shell/dates.h"
#include "app/shell/store.h"
#include "platform/text/cp1252.h"

namespace sevrina {
namespace {

using namespace cp1252::literals;
using documenti::Dati;
using documenti::Documento;

const std::string kEuro = "\x80";

// ---------------------------------------------------------------- fixed texts

struct TipoLavori {
  const char* flag;
  const char* titolo;
};

constexpr std::array<TipoLavori, 3> kTipiLavori = {{
    {"MANUTENZIONE_ORDINARIA_SI_NO",
     "LAVORI  DI MANUTENZIONE ORDINARIA ALLE PARTI COMUNI DELL'EDIFICIO"},
    {"MANUTENZIONE_STRAORDINARIA_SI_NO",
     "LAVORI  DI MANUTENZIONE STRAORDINARIA ALLE PARTI COMUNI DELL'EDIFICIO"},
    {"RESTAURO_E_RISANAMENTO_CONSERVATIVO_SI_NO",
     "LAVORI  DI RESTAURO E RISANAMENTO CONSERVATIVO ALLE PARTI COMUNI DELL'EDIFICIO"},
}};

// Rows a1) to a4): the label in Arial 10, the three amounts in Arial 8;
// a4) is the bold total.
struct RigaLavori {
  std::string etichetta;
  const char* netto;
  const char* iva;
  const char* lordo;
  int stile;
};

const std::array<RigaLavori, 4>& righe_lavori() {
  static const std::array<RigaLavori, 4> righe = {{
      {u8"a1) importo  lavori  a  misura o a forfait soggetti a ribasso = €"_w1252,
       "IMPORTO_LAVORI_NETTO_IVA", "IVA_SU_IMPORTO_LAVORI", "IMPORTO_LAVORI_CON_IVA", 0},
      {u8"a2) oneri complessivi per sicurezza non soggetti a ribasso = €"_w1252,
       "ONERI_SICUREZZA_NETTO_IVA", "IVA_SU_ONERI_SICUREZZA", "ONERI_SICUREZZA_CON_IVA", 0},
      {u8"a3) importo oneri discarica non soggetti a ribasso = €"_w1252,
       "ONERI_DISCARICA_NETTO_IVA", "IVA_SU_ONERI_DISCARICA", "ONERI_DISCARICA_CON_IVA", 0},
      {u8"a4) totale importo lavori base d'asta (a1+a2+a3) = €"_w1252,
       "TOTALE_LAVORI_NETTO_IVA", "IVA_SU_TOTALE_LAVORI", "TOTALE_LAVORI_CON_IVA", 1},
  }};
  return righe;
}

struct Categoria {
  const char* etichetta;
  const char* importo;
  const char* quota;
};

constexpr std::array<Categoria, 7> kCategorie = {{
    {"Ponteggi e opere provvisionali", "PONTEGGI_E_OPERE_PROVVISIONALI",
     "PONTEGGI_E_OPERE_PROVVISIONALI%"},
    {"Movimenti e trasporti di terra (compreso oneri discarica)", "MOVIMENTI_E_OPERE_TERRA",
     "MOVIMENTI_E_OPERE_TERRA%"},
    {"Opere strutturali", "OPERE_STRUTTURALI", "OPERE_STRUTTURALI%"},
    {"Opere di finitura e complemento", "OPERE_DI_FINITURA_E_COMPLETAMENTO",
     "OPERE_DI_FINITURA_E_COMPLETAMENTO%"},
    {"Impianti", "IMPIANTI", "IMPIANTI%"},
    {"Ascensori", "ASCENSORI", "ASCENSORI%"},
    {"Oneri per sicurezza non inclusi nei singoli prezzi", "ONERI_SICUREZZA_NON_INCLUSI",
     "ONERI_SICUREZZA_NON_INCLUSI%"},
}};

// The parts of the second line of rows b) to f), in the order each row
// draws them.
enum class Parte { Nota, Euro, Stima, Massimo, Elenco };

struct RigaCosti {
  float distanza;
  const char* etichetta;
  float larghezza_etichetta;
  float altezza_etichetta;
  const char* testata;
  int righe_testata;  // the head's height in lines of th
  bool con_stima;
  const char* nota;
  const char* stima;
  const char* massimo;
  const char* totale;
  std::array<Parte, 5> parti;
  int numero_parti;
};

const std::array<RigaCosti, 5> kRigheCosti = {{
    {0.5f, "b) COSAP", 15, 1, " totale", 1, true, "(max 4% di a4 netto IVA)", "COSAP_STIMATO",
     "COSAP_MASSIMO", "totale importo b)",
     {Parte::Nota, Parte::Euro, Parte::Stima, Parte::Massimo}, 4},
    {0.1f, "c) spese generali e tecnico amministrative ", 15, 1,
     " totale compreso IVA\r\n e CNPAIA", 2, true, "", "SPESE_GENERALI_STIMATE",
     "SPESE_GENERALI_MASSIME", "totale importo c)",
     {Parte::Euro, Parte::Stima, Parte::Massimo, Parte::Elenco}, 4},
    {0.1f,
     "d) indagini geologiche e quelle relative alla consistenza dei materiali costituenti le "
     "strutture portanti",
     10, 2, " totale compreso IVA", 2, true, "(max 4% di a4 netto IVA)",
     "INDAGINI_GEOLOGICHE_STIMATE", "INDAGINI_GEOLOGICHE_MASSIME", "totale importo d)",
     {Parte::Euro, Parte::Stima, Parte::Massimo, Parte::Nota}, 4},
    {0.1f, "e) imprevisti", 15, 1, " totale compreso IVA", 1, true, "(max 8% di a4 lordo IVA)",
     "IMPREVISTI_STIMATI", "IMPREVISTI_MASSIMO", "totale importo e)",
     {Parte::Nota, Parte::Euro, Parte::Stima, Parte::Massimo}, 4},
    {0.1f, "f) TOTALE INTERVENTO", 15, 1, " totale compreso IVA", 1, false,
     "(a4 + b + c + d + e)", "", "TOTALE_INTERVENTO", "totale importo f)",
     {Parte::Nota, Parte::Euro, Parte::Massimo}, 3},
}};

struct Premialita {
  const char* codice;
  const char* percentuale;
  const char* flag;
  std::string criterio;
};

const std::array<Premialita, 6>& premialita() {
  static const std::array<Premialita, 6> righe = {{
      {"A", "5", "PREMIALITA_CONSOLIDAMENTO_SI_NO",
       u8"interventi di consolidamento e/o riparazione di elementi strutturali portanti "
       u8"riguardanti la globalità dell’edificio, ovvero solo di parti di essi la cui esecuzione "
       u8"sia però indispensabile per garantire la sicurezza statica dell’edificio [parti private "
       u8"escluse dai lavori ammissibili a contributo]"_w1252},
      {"B", "3", "PREMIALITA_BARRIERE_SI_NO",
       u8"interventi di eliminazione delle barriere architettoniche che consentano "
       u8"l’accessibilità verticale e orizzontale dell’edificio ai diversamente abili "
       u8"(Regolamento per l'eliminazione delle barriere architettoniche DM.LLPP. del 14 giugno "
       u8"1989, n. 236 pubblicato in suppl. ord. alla Gazzetta Ufficiale n.145 del 23 giugno "
       u8"1989) [parti private escluse dai lavori ammissibili a contributo]"_w1252},
      {"C", "3", "PREMIALITA_RIQUALIFICAZIONE_ENERGETICA_SI_NO",
       u8"interventi di riqualificazione energetica e/o il risparmio energetico relativi alle "
       u8"parti ed impianti comuni degli edifici [parti private escluse dai lavori ammissibili a "
       u8"contributo]"_w1252},
      {"D", "2", "PREMIALITA_EDIFICI_VINCOLATI_SI_NO",
       u8"interventi su edifici vincolati ai sensi della L. 1089/39"_w1252},
      {"E", "2", "PREMIALITA_FASCIA_BASAMENTALE_SI_NO",
       u8"interventi volti al ripristino della fascia basamentale dell'edificio, intendendo per "
       u8"ciò anche l'eliminazione o il semplice rientro nella sagoma originaria delle vetrine "
       u8"dei negozi (vedi art. 71 del Regolamento Edilizio del Comune di Vareri), ovvero "
       u8"interventi in edifici non vincolati che prevedano il ripristino di elementi di pregio "
       u8"(portoni lignei, opere in ferro battuto, fregi particolari ecc.)"_w1252},
      {"F", "2", "PREMIALITA_INFISSI_SI_NO",
       u8"interventi volti ad uniformare gli infissi e/o serramenti e/o ringhiere, e/o volti ad "
       u8"eliminare verande e/o altre superfetazioni [parti private incluse tra i lavori "
       u8"ammissibili a contributo]"_w1252},
  }};
  return righe;
}

// The rows drawn by the amount-row recipe: label, up to two notes, the key.
struct RigaImporto {
  float x;
  std::string etichetta;
  std::string nota1;
  std::string nota2;
  const char* chiave;
};

// ---------------------------------------------------------------- the body

class Quadro {
 public:
  Quadro(Documento& doc, const Dati& dati)
      : doc_(doc), pdf_(doc.pdf()), dati_(dati), W(doc.W()) {}

  void disegna() {
    copertina();
    dati_anagrafici();
    sezione_a();
    contributi();
    riepilogo();
    computo_metrico();
    note();
  }

 private:
  // An amount as the document prints it: the stored text with one blank
  // appended, two decimals, thousands grouped.
  std::string fmt(const char* chiave) const {
    return formatta_numero(std::string_view(dati_[chiave] + " "), 2, "S");
  }

  void testo(float x, float y, float w, float h, const std::string& t, int align, int options) {
    pdf_.DrawTextBox(x, y, w, h, t, 0, align, options);
  }

  void font(int size, int style) { pdf_.SetFont("Arial", static_cast<float>(size), style, 0); }

  float misura(int size, int style) {
    font(size, style);
    return pdf_.TextHeight();
  }

  // A rule across the page, 0.3 under the current point, in width 0.01.
  void riga_piena() {
    pdf_.SetLineWidth(0.01f);
    const float g = pdf_.GetY() + 0.3f;
    pdf_.DrawLine(0, g, W, g, 0);
  }

  // A rule from X a to X b at GetY() + d.
  void riga(float a, float b, float d) {
    const float g = pdf_.GetY() + d;
    pdf_.DrawLine(a, g, b, g, 0);
  }

  // ---------------------------------------------------------------- page 1

  void copertina() {
    // genera() has begun page 1 with its number and SetXY(0, 0).
    font(16, 1);
    for (const TipoLavori& t : kTipiLavori) {
      if (dati_.flag(t.flag)) testo(0, 2, W, 3, t.titolo, 4, 1);
    }
    testo(0, pdf_.GetY(), W, 4,
          "SITO IN VARERI A " + maiuscole(dati_["INDIRIZZO_CONDOMINIO"]) + " N. " +
              maiuscole(dati_["CIVICO_CONDOMINIO"]),
          4, 1);
    testo(0, pdf_.GetY() + 1, W, 1, "QUADRO ECONOMICO E COMPUTO METRICO", 4, 1);

    font(10, 0);
    testo(0, 10, W, 1, "SOMMARIO:", 1, 1);
    testo(0, pdf_.GetY() + 0.5f, W, 1, "- 1) quadro economico", 1, 1);
    testo(0, pdf_.GetY(), W, 1,
          u8"- 2) computo metrico estimativo dei lavori per i quali è richiesto il contributo"_w1252,
          1, 1);
    testo(0, pdf_.GetY(), W, 1, "- 3) elenco prezzi e (eventuali) nuovi prezzi", 1, 1);
    testo(0, pdf_.GetY(), W, 1, "- 4) analisi nuovi prezzi (se presenti in 3)", 1, 1);

    font(10, 0);
    const float s = doc_.H() - 5;
    testo(0, s + 1, 5, 1, "Il Richiedente", 4, 1);
    testo(W - 10, s + 1, 10, 1, "Il Tecnico", 4, 1);
  }

  // ---------------------------------------------------------------- page 2

  void dati_anagrafici() {
    doc_.nuova_pagina();
    font(12, 1);
    testo(0, 2, W, 3, "DATI ANAGRAFICI", 4, 1);
    font(10, 0);
    testo(0, pdf_.GetY() + 1, W, 5,
          documenti::paragrafo_richiedente(dati_, documenti::Chiusura::Nessuna), 64, 1);
  }

  // ---------------------------------------------------------------- page 3

  void sezione_a() {
    doc_.nuova_pagina();
    font(12, 1);
    testo(0, 2, W, 1, "A) QUADRO ECONOMICO DELL'INTERVENTO", 4, 1);
    font(8, 0);
    testo(0, pdf_.GetY(), W, 1, "(importi in euro)", 4, 1);
    riga_piena();

    lavori_a_base_d_asta();
    categorie();
    costi();
  }

  void lavori_a_base_d_asta() {
    const float x_netto = W - 6.5f, x_iva = W - 4.5f, x_lordo = W - 2.5f;
    float y = pdf_.GetY() + 0.3f;
    float th = misura(10, 1);
    testo(0, y, 15, 1, "a)  lavori a base d'asta:", 1, 1);
    font(8, 1);
    testo(x_netto, y, 2, th, " netto IVA", 0, 0);
    testo(x_iva, y, 2, th, " IVA", 0, 0);
    testo(x_lordo, y, 2.5f, th, " totale compr. IVA", 0, 0);
    y += th;

    bool prima = true;
    for (const RigaLavori& r : righe_lavori()) {
      font(10, r.stile);
      if (prima) th = pdf_.TextHeight();  // a2) to a4) keep the height of a1)
      prima = false;
      testo(0, y, 15, 1, r.etichetta, 1, 1);
      font(8, r.stile);
      testo(x_netto, y, 2, th, fmt(r.netto), 2, 0);
      testo(x_iva, y, 2, th, fmt(r.iva), 2, 0);
      testo(x_lordo, y, 2.5f, th, fmt(r.lordo), 2, 0);
      y += th;
    }
    font(10, 0);
    testo(0, y, 15, 1, "   (vedi note 1-2)", 1, 1);
  }

  // The sum of the values of `chiavi` that are not empty, each rounded to
  // two decimals (an exact half to the even neighbour) before it is added.
  // A value that is not a number adds nothing.
  template <typename Chiave>
  double totale(const Chiave& chiave) const {
    double somma = 0;
    for (const Categoria& c : kCategorie) {
      const std::string& v = dati_[chiave(c)];
      if (v.empty()) continue;
      if (std::optional<double> n = leggi_numero(v)) somma = arrotonda(*n, 2) + somma;
    }
    return somma;
  }

  void categorie() {
    pdf_.SetLineWidth(0.02f);
    riga(2, W - 2, 1);
    const float y = pdf_.GetY() + 0.2f;
    font(10, 1);
    testo(1.1f, y, 7, 1, "CATEGORIA DI LAVORAZIONE", 4, 1);
    testo(9.7f, y - 0.2f, 3, 1, u8"IMPORTO €"_w1252, 4, 1);
    font(10, 0);
    testo(9.75f, y + 0.2f, 3, 1, "netto IVA", 4, 1);
    font(10, 1);
    testo(12.5f, y, 3, 1, "% sul totale", 4, 1);
    pdf_.SetLineWidth(0.02f);
    riga(2, W - 2, 0.2f);

    for (std::size_t i = 0; i < kCategorie.size(); ++i) {
      const Categoria& c = kCategorie[i];
      const float yr = pdf_.GetY() + 0.1f;
      font(8, 0);
      testo(2, yr, 7, 1, c.etichetta, 1, 1);
      testo(9, yr, 3, 1, fmt(c.importo), 2, 1);
      testo(12, yr, 3, 1, fmt(c.quota), 2, 1);
      pdf_.SetLineWidth(i + 1 < kCategorie.size() ? 0.01f : 0.02f);
      riga(2, W - 2, 0.1f);
    }

    const double importi = totale([](const Categoria& c) { return c.importo; });
    const double quote = totale([](const Categoria& c) { return c.quota; });
    const float y2 = pdf_.GetY() + 0.1f;
    font(8, 1);
    testo(2, y2, 7, 1, "Totale", 1, 1);
    testo(9, y2, 3, 1, formatta_numero(double(importi), 2, "S"), 2, 1);
    testo(12, y2, 3, 1, formatta_numero(double(quote), 2, "S"), 2, 1);
    font(8, 2);
    testo(2, pdf_.GetY(), 7, 1, "deve corrispondere ad a4 netto IVA", 1, 1);
    riga_piena();
  }

  void costi() {
    const float y = pdf_.GetY() + 0.5f;
    const float th = misura(10, 1);
    font(8, 1);
    testo(W - 7, y, 3.5f, th, "Importo stimato", 4, 1);
    testo(W - 3.5f, y, 3.5f, th, "Imp. massimo ammesso", 4, 1);

    for (const RigaCosti& r : kRigheCosti) {
      float yr = pdf_.GetY() + r.distanza;
      float th_r = misura(10, 1);
      testo(0, yr, r.larghezza_etichetta, r.altezza_etichetta, r.etichetta, 1, 1);
      const float testata = r.righe_testata * th_r;
      font(8, 1);
      if (r.con_stima) testo(W - 7, yr, 3.5f, testata, r.testata, 1, 0);
      testo(W - 3.5f, yr, 3.5f, testata, r.testata, 1, 0);
      yr += testata;

      th_r = misura(10, 1);
      testo(0.5f, yr, 5, 1, r.totale, 1, 1);
      // Row f) has no estimate: its euro sign stands just left of the
      // maximum, in bold.
      const int stile_euro = r.con_stima ? 0 : 1;
      for (int i = 0; i < r.numero_parti; ++i) {
        switch (r.parti[static_cast<std::size_t>(i)]) {
          case Parte::Nota:
            font(8, 2);
            testo(5.5f, yr, 15, 1, r.nota, 1, 1);
            break;
          case Parte::Euro:
            font(8, stile_euro);
            testo(r.con_stima ? W - 7.5f : W - 4, yr, 0.5f, th_r, kEuro, 1, 1);
            break;
          case Parte::Stima:
            testo(W - 7, yr, 3.5f, th_r, fmt(r.stima), 2, 0);
            break;
          case Parte::Massimo:
            if (r.con_stima) font(8, 1);
            testo(W - 3.5f, yr, 3.5f, th_r, fmt(r.massimo), 2, 0);
            break;
          case Parte::Elenco:
            font(8, 2);
            testo(0.5f, pdf_.GetY() + 0.1f, 15, 1,
                  "nella misura massima del 12% del totale a4 netto IVA per:", 1, 1);
            testo(0.5f, pdf_.GetY(), 15, 6,
                  " - progettazione\r\n - direzione tecnica\r\n - collaudi\r\n"
                  " - verifiche tecniche, prove\r\n- spese tecnico/amministrative",
                  1, 1);
            break;
        }
      }
      if (r.con_stima) riga_piena();  // nothing more after row f)
    }
  }

  // ---------------------------------------------------------------- pages 4 and 5

  // Rows g), j) and the summary figures: label and column head, the notes,
  // the euro sign and the framed amount, then a rule.
  void riga_importo(const RigaImporto& r) {
    float y = pdf_.GetY() + 0.1f;
    float th = misura(10, 1);
    testo(r.x, y, 15, 1, r.etichetta, 1, 1);
    font(8, 1);
    testo(W - 3.5f, y, 3.5f, th, " totale compreso IVA", 1, 0);
    y += th;
    if (!r.nota1.empty()) {
      th = misura(10, 1);
      font(8, 2);
      testo(0.5f, y, 15, 1, r.nota1, 1, 1);
      if (!r.nota2.empty()) testo(0.5f, pdf_.GetY(), 15, 1, r.nota2, 1, 1);
    }
    font(8, 1);
    testo(W - 4, y, 0.5f, th, kEuro, 1, 1);
    testo(W - 3.5f, y, 3.5f, th, fmt(r.chiave), 2, 0);
    // Two notes take two lines whatever they wrapped to.
    if (!r.nota2.empty()) pdf_.SetXY(pdf_.GetX(), y + 2 * th);
    riga_piena();
  }

  void contributi() {
    doc_.nuova_pagina();
    riga_piena();
    riga_importo({0, "g) contributo base richiesto ai sensi dell'Avviso Pubblico Comune Vareri",
                  u8"il contributo è pari al 30% di f)"_w1252, "", "CONTRIBUTO_BASE"});
    tabella_premiale();

    // Row i): the stored percentage as it is, with one blank after it.
    const float y = pdf_.GetY() + 0.1f;
    const float th = misura(10, 1);
    testo(0, y, 15, 1, "i) incremento % totale del contributo", 1, 1);
    font(8, 1);
    testo(W - 4, y, 0.5f, th, "%", 1, 1);
    testo(W - 3.5f, y, 3.5f, th, dati_["PERCENTUALE_CONTRIBUTO_PREMIALE"] + " ", 2, 0);
    riga_piena();

    riga_importo({0, "j) contributo premiale", "", "", "IMPORTO_CONTRIBUTO_PREMIALE"});
  }

  void tabella_premiale() {
    float y = pdf_.GetY() + 0.1f;
    font(10, 1);
    testo(0, y, 15, 1, "h)", 1, 1);
    testo(1, y, W - 1, 1,
          u8"TABELLA PER LA DETERMINAZIONE DEI COEFFICIENTI “PREMIALI” DEL CONTRIBUTO"_w1252, 36,
          0);
    y += 1;
    font(8, 0);
    testo(1, y, 1.5f, 1.5f, u8"codice premialità"_w1252, 36, 0);
    testo(2.5f, y, 10, 1.5f,
          "INTERVENTI PREVISTI CHE DANNO DIRITTO AD ULTERIORI PERCENTUALI DI CONTRIBUTO SUL "
          "TOTALE",
          36, 0);
    testo(12.5f, y, 2, 1.5f, "maggiorazione % sul costo totale intervento", 36, 0);
    testo(14.5f, y, W - 14.5f, 1.5f, "SELEZIONE (barrare con una X)", 36, 0);

    bool prima = true;
    for (const Premialita& p : premialita()) {
      font(10, 0);
      const float riga_y = prima ? y + 1.5f : pdf_.GetY();
      prima = false;
      testo(2.6f, riga_y, 9.8f, 4, p.criterio, 64, 1);
      const float riga_h = pdf_.GetY() - riga_y;
      testo(1, riga_y, 1.5f, riga_h, p.codice, 36, 0);
      pdf_.DrawRect(2.5f, riga_y, 10, riga_h, 0, 0, 15);
      testo(12.5f, riga_y, 2, riga_h, p.percentuale, 36, 0);
      pdf_.SetFont("ZapfDingbats", 12, 0, 0);
      const float th = pdf_.TextHeight();
      testo(15 + (1 - th) / 2, riga_y + (riga_h - th) / 2, th, th,
            documenti::segno(dati_.flag(p.flag)), 36, 1);
      pdf_.DrawRect(14.5f, riga_y, W - 14.5f, riga_h, 0, 0, 15);
      pdf_.SetXY(pdf_.GetX(), riga_y + riga_h);
    }

    const float yn = pdf_.GetY();
    font(10, 2);
    testo(1, yn, W - 1, 1,
          u8"l’incremento totale del contributo risultante dall’applicazione della presente "
          u8"tabella non potrà superare il 7% dell’importo dell’intervento "_w1252,
          32, 0);
    pdf_.SetXY(pdf_.GetX(), yn + 1);
    riga_piena();
  }

  // A table of two options with one tick box each (rows k) and l)); th is
  // the height measured for the row's title.
  void scelta(float th, const char* testata, const char* prima, bool prima_spuntata,
              const char* seconda, bool seconda_spuntata) {
    font(8, 0);
    testo(1, pdf_.GetY(), 15, 1, "(barrare con una X solo una casella)", 1, 1);
    float y = pdf_.GetY() + 0.1f;
    font(8, 1);
    testo(1, y, 3.5f, th, "selezione", 4, 0);
    testo(4.5f, y, 5.5f, th, testata, 4, 0);
    y += th;
    const auto opzione = [&](const char* t, bool spuntata) {
      pdf_.SetFont("ZapfDingbats", 12, 0, 0);
      testo(1, y, 3.5f, 1, documenti::segno(spuntata), 36, 0);
      font(8, 0);
      testo(4.5f, y, 5.5f, 1, t, 36, 0);
    };
    opzione(prima, prima_spuntata);
    y += 1;
    opzione(seconda, seconda_spuntata);
    pdf_.SetXY(pdf_.GetX(), y + 1);
    riga_piena();
  }

  void riepilogo() {
    doc_.nuova_pagina();
    pdf_.SetLineWidth(0.01f);
    float y = pdf_.GetY() + 0.1f;
    float th = misura(10, 1);
    testo(0, y, 15, 1, "RIEPILOGO CALCOLO CONTRIBUTO", 1, 1);
    testo(0, y + 0.5f, 15, 1, "k) fascia dimensionale edificio", 1, 1);
    scelta(th, "fascia dimensionale edificio",
           "volume fuori terra, calcolato vuoto per pieno, pari o inferiore a 30.000,00 mc",
           dati_.flag("VOLUME_FUORI_TERRA_INFERIORE"),
           "volume fuori terra, calcolato vuoto per pieno, superiore a 30.000,00 mc",
           dati_.flag("VOLUME_FUORI_TERRA_OLTRE"));

    y = pdf_.GetY() + 0.1f;
    th = misura(10, 1);
    testo(0, y, 15, 1, "l) adozione Libretto di Manutenzione", 1, 1);
    const bool libretto = dati_.flag("ADOZIONE_LIBRETTO_MANUTENZIONE");
    scelta(th, "adozione libretto manutenzione", "SI", libretto, "NO", !libretto);

    const RigaImporto figure[] = {
        {0.5f, "TOTALE INTERVENTO", "", "", "TOTALE_INTERVENTO"},
        {0.5f, "contributo base richiesto ai sensi dell'Avviso Pubblico",
         u8"il contributo è pari al 30% dell'importo dell'intervento"_w1252, "",
         "IMPORTO_CONTRIBUTO_BASE"},
        {0.5f, "contributo premiale",
         u8"il contributo premiale massimo concedibile è pari al 7% dell'importo "
         u8"dell'intervento"_w1252,
         "", "CONTRIBUTO_PREMIALE"},
        {0.5f, "contributo accessorio per l'adozione del Libretto di Manutenzione",
         "il contributo pari al del 3% dell'importo dell'intervento ",
         u8"il contributo accessorio massimo concedibile è pari a 10.000,00 € "_w1252,
         "IMPORTO_CONTRIBUTO_ACCESSORIO"},
        {0.5f, "CONTRIBUTO AMMESSO AL FINANZIAMENTO",
         u8"contributo max concedibile pari a €120.000/130.000 per edifici di cubatura minore "
         u8"o \r\n    uguale a 30.000mc"_w1252,
         u8"contributo max concedibile pari a €150.000/160.000 per edifici di cubatura superiore "
         u8"a 30.000mc"_w1252,
         "IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO"},
    };
    for (const RigaImporto& r : figure) riga_importo(r);

    y = pdf_.GetY() + 0.1f;
    th = misura(10, 1);
    testo(0.5f, y, 15, 1, "% DEL CONTRIBUTO AMMESSO SULL'IMPORTO DELL'INTERVENTO", 1, 1);
    font(8, 1);
    testo(W - 4, y, 0.5f, th, "%", 1, 1);
    testo(W - 3.5f, y, 3.5f, th, fmt("PERCENTUALE_SU_IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO"),
          2, 0);
    y += th;
    th = misura(10, 1);
    font(8, 2);
    testo(0.5f, y, 15, 1,
          u8"contributo massimo concedibile è pari al 40% dell'importo dell'intervento "_w1252, 1,
          1);
    riga_piena();

    font(10, 0);
    y = doc_.H() - 6.5f;
    testo(0, y + 1, 5, 1, "data " + dati_.data("DATA_QUADRO_ECONOMICO"), 4, 1);
    y = doc_.H() - 5;
    testo(0, y + 1, 5, 1, "Il Richiedente", 4, 1);
    testo(W - 10, y + 1, 10, 1, "Il Tecnico", 4, 1);
  }

  // ---------------------------------------------------------------- pages 6 and 7

  void computo_metrico() {
    doc_.nuova_pagina();
    font(12, 1);
    testo(0, 2, W, 1, "B) COMPUTO METRICO ESTIMATIVO ", 4, 1);
    font(8, 0);
    testo(0, pdf_.GetY(), W, 1,
          "(dichiarazione del progettista da anteporre al computo metrico estimativo)", 4, 1);
    riga_piena();
    font(10, 0);
    testo(1, pdf_.GetY() + 2, W - 1, 5,
          u8"Il presente computo metrico è stato redatto in riferimento ai costi delle categorie "
          u8"di opere secondo Il Nuovo Prezzario dei Lavori Pubblici in Campania approvato con "
          u8"Delibera di Giunta Regionale n° 2184 del 29/12/2006, pubblicato sul BURC del "
          u8"2/3/2007 - numero speciale (vedi nota)."_w1252,
          64, 1);
    testo(1, pdf_.GetY() + 0.5f, W - 1, 5,
          u8"I nuovi prezzi (eventuali) sono stati redatti come dall'Avviso Pubblico del 1° "
          u8"Febbraio 2008 e da contratto di appalto tipo, in base ai costi elementari della mano "
          u8"d'opera, dei materiali, dei noli e trasporti attualmente vigenti nella Regione "
          u8"Campania. Il sottoscritto progettista attesta la congruità di detti nuovi prezzi ed "
          u8"allega le relative analisi."_w1252,
          64, 1);
    font(10, 0);
    testo(0, pdf_.GetY() + 2, W, 1, "Riferimenti:", 1, 1);
    testo(0, pdf_.GetY() + 0.5f, W, 1,
          " - Nuovo Prezzario Lavori Pubblici in Campania approvato con Delibera di Giunta "
          "Regionale c.s.,",
          1, 1);
    testo(0, pdf_.GetY(), W, 1, " - Avviso Pubblico Comune di Vareri 1/2/2008 art. 7 comma 5; ",
          1, 1);
    testo(0, pdf_.GetY(), W, 1, " - contratto di appalto tipo.", 1, 1);

    font(10, 0);
    float y = doc_.H() - 5;
    testo(0, y + 1, 5, 1, "data", 4, 1);
    y = doc_.H() - 5;
    testo(W - 10, y + 1, 10, 1, "Il Tecnico", 4, 1);
  }

  void note() {
    doc_.nuova_pagina();
    font(10, 0);
    testo(0, pdf_.GetY() + 5, W, 3,
          u8"NOTA 1: Nei prezzi unitari sono inclusi, come da avvertenze generali e per ogni "
          u8"categoria di lavoro, gli oneri per  i normali apprestamenti per la sicurezza del "
          u8"cantiere. L' importo in € ed in percentuale di detti oneri dovrà essere indicato dal "
          u8"progettista e non sarà soggetto a ribasso d'asta."_w1252,
          64, 1);
    testo(0, pdf_.GetY() + 0.3f, W, 3,
          "Eventuali oneri per particolari categorie di lavoro non inclusi nei prezzi di "
          "prezzario saranno computati, in aggiunta, secondo i prezzi del Capitolo Sicurezza del "
          "prezzario stesso, ovvero secondo eventuali nuovi prezzi ove non presenti.",
          64, 1);
    font(10, 1);
    testo(0, pdf_.GetY() + 0.3f, W, 3,
          u8"Pertanto gli oneri complessivi per la sicurezza (comunque non soggetti a ribasso), "
          u8"saranno dati dalla sommatoria dei su indicati oneri (già inclusi nel prezzo "
          u8"unitario, ovvero aggiuntivi)"_w1252,
          64, 1);
    font(10, 0);
    testo(0, pdf_.GetY() + 0.3f, W, 4,
          u8"NOTA 2: Come da voce Trasporti delle Avvertenze al Capitolo R.01 del Prezzario ..Gli "
          u8"oneri di discarica autorizzata sono sempre esclusi dalle valutazioni dei trasporti a "
          u8"discarica. La corresponsione degli oneri di discarica dovrà essere effettuata dietro "
          u8"presentazione di fattura regolarmente quietanzata e bolla di smaltimento. L’importo "
          u8"netto (esclusa IVA) della fattura relativa agli oneri di discarica, dovrà essere "
          u8"aumentato del 15% a compenso degli oneri di gestione dell’impresa e "
          u8"dell’anticipazione economica. La localizzazione e la scelta della discarica, "
          u8"qualora non indicate in progetto, dovranno essere autorizzate dal Direttore dei "
          u8"Lavori. Similmente si vedano le Avvertenze, relativamente agli oneri di discarica, "
          u8"per le altre categorie di lavoro."_w1252,
          64, 1);
  }

  Documento& doc_;
  pdf::PdfWriter& pdf_;
  const Dati& dati_;
  const float W;
};

}  // namespace

bool crea_quadro_economico(const std::string& percorso, bool apri) {
  documenti::Modello modello;
  modello.sinistro = 2;
  modello.destro = 2;
  modello.alto = 2;
  modello.basso = 2;
  modello.piede = "- mod. ORTESA 3 q.e. computo metrico - centri storici e periferie";
  modello.titolo =
      u8"Recupero delle parti comuni degli edifici dei centri storici e delle periferie con "
      u8"contributi a fondo perduto del Comune di Vareri di cui all’Avviso Pubblico approvato "
      u8"con delibera di Giunta Comunale n° 4349 del 28 dicembre 2007"_w1252;
  modello.dimensione_casella = 12;
  modello.numerazione = documenti::Numerazione::Quadro;
  return documenti::genera(percorso, apri, modello, [](Documento& doc, const Dati& dati) {
    Quadro(doc, dati).disegna();
  });
}

}  // namespace sevrina
