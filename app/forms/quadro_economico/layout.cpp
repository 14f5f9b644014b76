// The cost-table form's design: window, sheet, fields with their tags,
// lengths, tab indexes and colours, and the static texts of the sheet.

#include <string>
#include <string_view>

#include "app/forms/editing_common/pagina.h"
#include "app/forms/quadro_economico/quadro_economico.h"

namespace sevrina {

namespace {

using modifica::kArial12;
using modifica::kArial12Grassetto;
using modifica::kArial825;
using modifica::kArial825Grassetto;
using modifica::kArial975;
using modifica::kArial975Grassetto;
const forms::FontSpec kArial975Corsivo{"Arial", 9.75f, false, true};
// The premium criteria's long texts and the "SELEZIONE" heading: one size
// smaller than the page's 8.25, so that every line fits its fixed row.
const forms::FontSpec kArial675{"Arial", 6.75f};
const forms::FontSpec kArial75Grassetto{"Arial", 7.5f, true};

struct CampoAnagrafica {
  int indice;
  std::string_view etichetta;
  int etichetta_left, etichetta_width;
  std::string_view tag;
  int max_length, tab_index;
  int left, top, width;
};

// The applicant and building block: each field right of its label.
constexpr CampoAnagrafica kAnagrafica[] = {
    {0, "Il/la sottoscritto/a (nome)", 120, 2730, "", 50, 0, 2880, 3720, 2895},
    {1, "(cognome)", 5880, 1140, "", 50, 1, 7080, 3720, 2895},
    {2, "nato/a a (comune)", 240, 1980, "", 50, 2, 2280, 4080, 2895},
    {3, "(provincia)", 5280, 1860, "MA", 2, 3, 7200, 4080, 375},
    {4, "il", 7680, 420, "DATA", 10, 4, 8160, 4080, 1815},
    {5, "residente a (comune)", 240, 2340, "", 50, 5, 2640, 4440, 2895},
    {6, "(provincia)", 5640, 1380, "MA", 2, 6, 7080, 4440, 375},
    {7, "all' indirizzo", 240, 1260, "", 50, 7, 1530, 4800, 3525},
    {8, "n.", 5160, 300, "", 50, 8, 5520, 4800, 735},
    {9, "c.f.:", 6360, 660, "MANI", 50, 9, 7080, 4800, 2895},
    {10, "domiciliato per la carica in (Comune)", 240, 3900, "", 50, 10, 4200, 5400, 3615},
    {11, "(provincia)", 7920, 1500, "MA", 2, 11, 9480, 5400, 375},
    {12, "all' indirizzo", 240, 1500, "", 50, 12, 1800, 5760, 2895},
    {13, "n.", 4800, 420, "", 50, 13, 5280, 5760, 735},
    {14, "CAP", 6120, 900, "NI", 50, 14, 7080, 5760, 735},
    {15, "tel.", 240, 420, "TEL", 50, 15, 720, 6120, 2055},
    {16, "fax.", 2880, 780, "TEL", 50, 16, 3720, 6120, 2055},
    {17, "e-mail", 5880, 720, "MANI", 50, 17, 6660, 6120, 3315},
    {18, "", 0, 0, "", 50, 20, 6360, 6720, 3615},
    {19, "n.", 240, 220, "", 50, 21, 480, 7200, 735},
    {20, "cap", 1320, 780, "NI", 50, 22, 2160, 7200, 735},
    {21, "municipalit\xC3\xA0", 3000, 1500, "NI", 50, 23, 4560, 7200, 735},
};

// Tab indexes of the amount grid.
constexpr int kTabText2[] = {24, 27, 29, 32};
constexpr int kTabText3[] = {25, 28, 30, 33};
constexpr int kTabText4[] = {26, 18, 31, 34};
constexpr int kTabText8[] = {52, 54, 56, 58, 59, 60, 67, 68, 73, 74, 75, 76, 77, 78};

struct Criterio {
  std::string_view codice;
  std::string_view peso;
  std::string_view testo;
  int top;  // of the check box
};

constexpr Criterio kCriteri[] = {
    {"A", "5",
     "interventi di consolidamento e/o riparazione di elementi strutturali portanti riguardanti la "
     "globalità dell’edificio, ovvero solo di parti di essi la cui esecuzione sia però indispensabile per "
     "garantire la sicurezza statica dell’edificio [parti private escluse dai lavori ammissibili a contributo]",
     27360},
    {"B", "3",
     "interventi di eliminazione delle barriere architettoniche che consentano l’accessibilità verticale e "
     "orizzontale dell’edificio ai diversamente abili (Regolamento per l'eliminazione delle barriere "
     "architettoniche DM.LLPP. del 14 giugno 1989, n. 236 pubblicato in suppl. ord. alla Gazzetta Ufficiale "
     "n.145 del 23 giugno 1989) [parti private escluse dai lavori ammissibili a contributo]",
     28560},
    {"C", "3",
     "interventi di riqualificazione energetica e/o il  risparmio energetico relativi alle parti ed impianti "
     "comuni degli edifici [parti private escluse dai lavori ammissibili a contributo] ",
     29520},
    {"D", "2", "interventi su edifici vincolati ai sensi della L. 1089/39 ", 30240},
    {"E", "2",
     "interventi volti al ripristino della fascia basamentale dell'edificio, intendendo per ciò anche "
     "l'eliminazione o il semplice rientro nella sagoma originaria delle vetrine dei negozi (vedi art. 71 del "
     "Regolamento Edilizio del Comune di Vareri), ovvero interventi in edifici non vincolati che prevedano il "
     "ripristino di elementi di pregio (portoni lignei, opere in ferro battuto, fregi particolari ecc.) ",
     31320},
    {"F", "2",
     "interventi volti ad uniformare gli infissi e/o serramenti e/o ringhiere, e/o volti ad eliminare verande "
     "e/o altre superfetazioni  [parti private incluse  tra i lavori ammissibili a contributo]",
     32280},
};

}  // namespace

void quadro_economico::costruisci() {
  SetCaption("Quadro economico");
  SetClientSize(11850, 8190);
  SetBackColor(forms::kWhite);

  // ---- fixed controls
  modifica::costruisci_intestazione(Label5, Label1, "Compilazione Quadro Economico", Picture1, Picture2);
  modifica::costruisci_pulsanti(Command1, {80, 81, 82, 280});
  Frame1.Move(960, 960, 10095, 7095);
  Frame1.SetBorderStyle(0);
  VScroll1.Move(11040, 960, 255, 7095);
  VScroll1.SetSmallChange(100);
  VScroll1.SetLargeChange(200);
  VScroll1.SetTabIndex(83);
  Timer1.SetInterval(1);
  Timer1.SetEnabled(true);

  // ---- the sheet and the option frames
  Frame2.SetContainer(Frame1);
  Frame2.Move(0, 0, 10095, 57000);
  Frame3.SetContainer(Frame2);
  Frame3.Move(600, 36360, 4215, 1815);
  Frame4.SetContainer(Frame2);
  Frame4.Move(600, 38520, 4215, 1695);
  for (forms::Frame* f : {&Frame2, &Frame3, &Frame4}) {
    f->SetBackColor(forms::kWhite);
    f->SetBorderStyle(0);
  }

  modifica::Etichette etichetta(Label2, Frame2);
  // A heading cell ending at `top` (one line high; two for a text that
  // wraps, " totale compreso IVA   e CNPAIA").
  auto cella = [&](float left, float top, float width, std::string_view testo, int righe = 1) {
    const float altezza = 285.0f + static_cast<float>(righe - 1) * 210.0f;
    etichetta(left, top + 285.0f - altezza, width, altezza, testo, kArial825, forms::Alignment::Left, true);
  };

  // Headings; the loader replaces the first two.
  etichetta(240, 240, 9615, 255, "LAVORI DI  ALLE PARTI COMUNI DELL'EDIFICIO ", kArial975Grassetto,
            forms::Alignment::Center);
  etichetta(240, 600, 9615, 255, "SITO IN VARERI ALLA VIA", kArial975Grassetto, forms::Alignment::Center);
  etichetta(240, 960, 9615, 255, "QUADRO ECONOMICO E COMPUTO METRICO", kArial975Grassetto,
            forms::Alignment::Center);

  // Summary.
  etichetta(600, 2040, 9000, 240, "Sommario:", kArial975Grassetto);
  etichetta(600, 2280, 9000, 240, " - 1) quadro economico");
  etichetta(600, 2520, 9000, 240, " - 2) computo metrico estimativo dei lavori per i quali è richiesto il contributo");
  etichetta(600, 2760, 9000, 240, " - 3) elenco prezzi e (eventuali) nuovi prezzi      ");
  etichetta(600, 3000, 9000, 240, " - 4) analisi nuovi prezzi (se presenti in 3)");

  // ---- applicant and building, display only
  for (const CampoAnagrafica& a : kAnagrafica) {
    if (!a.etichetta.empty()) {
      etichetta(static_cast<float>(a.etichetta_left), static_cast<float>(a.top), static_cast<float>(a.etichetta_width),
                300, a.etichetta, kArial12);
    }
    auto& t = Text1.Add(a.indice);
    t.SetContainer(Frame2);
    t.Move(static_cast<float>(a.left), static_cast<float>(a.top), static_cast<float>(a.width), 285);
    t.SetTag(std::string(a.tag));
    t.SetMaxLength(a.max_length);
    t.SetTabIndex(a.tab_index);
    t.SetLocked(true);
    t.SetFont(kArial825Grassetto);
    t.SetBackColor(forms::kWhite);
    t.SetBorderStyle(1);
  }
  // The list shows its longest entry, "Delegato del Proprietario/i", whole,
  // in the blanks between "in qualità di" and "dell'immobile sito in".
  etichetta(240, 6720, 6060, 300,
            "in qualità di                                             dell'immobile sito in", kArial12,
            forms::Alignment::Right);
  modifica::costruisci_tipo_richiedente(Combo2, Frame2, 1560, 6720, 2520, 19);

  etichetta(240, 7680, 9615, 240, "NOTA", kArial975Grassetto);
  etichetta(240, 7920, 9615, 240,
            "per la compilazione del Quadro Economico riempire solo le celle evidenziate in giallo.");

  // ---- the amount grid
  auto importo_campo = [&](forms::ControlArray<forms::TextBox>& serie, int i, float left, float top, float width,
                           int tab, bool ingresso) -> forms::TextBox& {
    auto& t = serie.Add(i);
    t.SetContainer(Frame2);
    t.Move(left, top, width, 285);
    t.SetTabIndex(tab);
    t.SetFont(kArial825);
    t.SetAlignment(forms::Alignment::Right);
    t.SetBorderStyle(1);
    t.SetTag(ingresso ? "ND2" : "NI2");
    t.SetLocked(!ingresso);
    t.SetBackColor(ingresso ? forms::kYellow : forms::kWhite);
    return t;
  };

  etichetta(240, 8640, 9615, 330, "A)  QUADRO ECONOMICO DELL'INTERVENTO", kArial12Grassetto,
            forms::Alignment::Center);
  cella(5280, 9240 - 285, 1575, " netto IVA");
  cella(6840, 9240 - 285, 1300, " IVA");
  cella(8120, 9240 - 285, 1680, " totale compreso IVA");
  const int righe_a[] = {9480, 9750, 10040, 10340};
  const char* etichette_a[] = {
      "a1) importo  lavori  a  misura o a forfait soggetti a ribasso=€",
      "a2) oneri complessivi per sicurezza non soggetti a ribasso =€",
      "a3) importo oneri discarica non soggetti a ribasso=€",
      "a4) totale importo lavori base d'asta (a1+a2+a3)=€",
  };
  for (int i = 0; i < 4; ++i) {
    const auto top = static_cast<float>(righe_a[i]);
    etichetta(240, top, 5000, 285, etichette_a[i], i == 3 ? kArial825Grassetto : kArial825,
              forms::Alignment::Right);
    importo_campo(Text2, i, 5280, top, 1575, kTabText2[i], i < 3);
    importo_campo(Text3, i, 6840, top, 1300, kTabText3[i], false);
    importo_campo(Text4, i, 8120, top, 1680, kTabText4[i], false);
  }
  etichetta(240, 10680, 9615, 240, "(Vedi Note 1-2)", kArial825);

  // Cost categories.
  etichetta(2520, 11640, 2880, 480, "CATEGORIA DI LAVORAZIONE", kArial825Grassetto, forms::Alignment::Center, true);
  etichetta(5400, 11640, 1215, 240, "IMPORTO €", kArial825Grassetto, forms::Alignment::Center, true);
  etichetta(5400, 11880, 1215, 240, "netto IVA", kArial825, forms::Alignment::Center, true);
  etichetta(6600, 11640, 1215, 480, "% sul totale", kArial825Grassetto, forms::Alignment::Center, true);
  struct Categoria {
    const char* testo;
    const char* seconda;
    int top, altezza;
  };
  const Categoria categorie[] = {
      {"Ponteggi e opere provvisionali", nullptr, 12240, 315},
      {"Movimenti e opere di terra", "(compreso oneri di discarica)", 12540, 675},
      {"Opere strutturali", nullptr, 13200, 315},
      {"Opere di finitura e completamento", nullptr, 13500, 315},
      {"Impianti", nullptr, 13800, 315},
      {"Ascensori", nullptr, 14100, 315},
      {"Oneri per sicurezza non inclusi", "nei singoli prezzi", 14405, 675},
  };
  for (int k = 0; k < 7; ++k) {
    const auto& c = categorie[k];
    const auto top = static_cast<float>(c.top);
    etichetta(2520, top, 2880, 300, c.testo, kArial825);
    if (c.seconda) etichetta(2520, top + 300, 2880, 300, c.seconda, kArial825);
    importo_campo(Text5, k, 5400, top, 1215, 35 + 2 * k, true).SetHeight(static_cast<float>(c.altezza));
    importo_campo(Text6, k, 6600, top, 1215, 36 + 2 * k, false).SetHeight(static_cast<float>(c.altezza));
  }
  etichetta(2520, 15240, 2880, 240, "totale", kArial825Grassetto);
  etichetta(2520, 15480, 2880, 240, "deve corrispondere ad a4 netto IVA", {"Arial", 8.25f, false, true});
  {
    // The sum covers both columns; white, not locked.
    auto& somma = importo_campo(Text5, 7, 5400, 15240, 2415, 49, false);
    somma.SetHeight(315);
    somma.SetLocked(false);
    auto& nascosto = importo_campo(Text6, 7, 6600, 15360, 1215, 50, false);
    nascosto.SetHeight(435);
    nascosto.SetVisible(false);
  }

  // Extra costs b to e.
  etichetta(6720, 16200, 1695, 240, "Importo stimato", kArial825Grassetto, forms::Alignment::Center);
  etichetta(8400, 16200, 1665, 240, "Importo massimo", kArial825Grassetto, forms::Alignment::Center);
  etichetta(8400, 16440, 1665, 240, "ammesso", kArial825Grassetto, forms::Alignment::Center);
  struct Extra {
    const char* titolo;
    const char* titolo2;
    const char* totale;
    const char* nota;
    const char* intestazione;
    int top;
  };
  const Extra extra[] = {
      {"b) COSAP", nullptr, "totale importo b)", "(max 4% di a4 netto IVA)", " totale", 17040},
      {"c)  spese generali e tecnico amministrative ", nullptr, "totale c)", nullptr,
       " totale compreso IVA   e CNPAIA", 18165},
      {"d)  indagini geologiche e quelle relative alla consistenza dei",
       "materiali costituenti le strutture portanti", "totale Importo d)", "(max 4% di a4 netto IVA)",
       " totale compreso IVA", 20955},
      {"e)  imprevisti", nullptr, "totale Importo e)", "(max 8% di a4 al lordo IVA)", " totale compreso IVA",
       22260},
  };
  for (int j = 0; j < 4; ++j) {
    const auto& e = extra[j];
    const auto top = static_cast<float>(e.top);
    etichetta(240, top - 660, 6360, 255, e.titolo, kArial975Grassetto);
    if (e.titolo2) etichetta(240, top - 420, 6360, 255, e.titolo2, kArial975Grassetto);
    const int righe = std::string_view(e.intestazione).find("CNPAIA") != std::string_view::npos ? 2 : 1;
    cella(6720, top - 300, 1695, e.intestazione, righe);
    cella(8400, top - 300, 1665, e.intestazione, righe);
    etichetta(3600, top, 3000, 255, e.totale, kArial825, forms::Alignment::Right);
    if (e.nota) etichetta(3600, top + 255, 3000, 255, e.nota, kArial825, forms::Alignment::Right);
    importo_campo(Text7, j, 6720, top, 1695, 51 + 2 * j, true);
    importo_campo(Text8, j, 8400, top, 1665, kTabText8[j], false);
  }
  etichetta(240, 18540, 6360, 255, "nella misura massima del 12% del totale a4 netto IVA per:", kArial825);
  const char* voci_c[] = {"- progettazione", "- direzione tecnica", "- collaudi", "- verifiche tecniche, prove",
                          "- spese tecnico/amministrative"};
  for (int v = 0; v < 5; ++v) {
    etichetta(480, static_cast<float>(18795 + 255 * v), 4000, 255, voci_c[v], kArial825);
  }

  // Totals and contribution.
  auto totale = [&](int i, float left, float top, std::string_view unita, bool intestazione) {
    if (intestazione) cella(left, top - 300, 1665, " totale compreso IVA");
    etichetta(left - 300, top, 240, 285, unita, kArial975Grassetto, forms::Alignment::Right);
    importo_campo(Text8, i, left, top, 1665, kTabText8[i], false);
  };
  etichetta(240, 23160, 6360, 255, "f)  TOTALE INTERVENTO", kArial975Grassetto);
  etichetta(3600, 23565, 3000, 255, "totale Importo f)", kArial825, forms::Alignment::Right);
  etichetta(3600, 23820, 3000, 255, "(a4+b+c+d+e)", kArial825, forms::Alignment::Right);
  totale(4, 8400, 23565, "€", true);
  etichetta(240, 24480, 7800, 255, "g)  contributo base richiesto ai sensi dell'Avviso Pubblico Comune Vareri",
            kArial975Grassetto);
  etichetta(240, 24840, 7800, 255, "il contributo è pari al 30% di f)", kArial975Corsivo);
  totale(5, 8400, 24840, "€", true);

  // Premium table h.
  etichetta(240, 25800, 9615, 300,
            "h)  TABELLA PER LA DETERMINAZIONE DEI COEFFICIENTI “PREMIALI” DEL CONTRIBUTO", kArial975Grassetto);
  etichetta(240, 26280, 1635, 960, "codice premialità", kArial825Grassetto, forms::Alignment::Center, true);
  etichetta(1875, 26280, 5375, 960,
            "INTERVENTI PREVISTI CHE DANNO DIRITTO AD ULTERIORI PERCENTUALI DI CONTRIBUTO SUL TOTALE",
            kArial825Grassetto, forms::Alignment::Center, true);
  etichetta(7250, 26280, 1510, 960, "maggiorazione % sul costo totale intervento", kArial825Grassetto,
            forms::Alignment::Center, true);
  etichetta(8760, 26280, 945, 960, "SELEZIONE", kArial75Grassetto, forms::Alignment::Center, true);
  for (int i = 0; i < 6; ++i) {
    const auto& c = kCriteri[i];
    const float riga = static_cast<float>(c.top - 120);
    const float fine = i + 1 < 6 ? static_cast<float>(kCriteri[i + 1].top - 120) : 32760.0f;
    etichetta(240, riga, 1635, fine - riga, c.codice, kArial975Grassetto, forms::Alignment::Center, true);
    etichetta(1875, riga, 5375, fine - riga, c.testo, kArial675, forms::Alignment::Left, true);
    etichetta(7250, riga, 1510, fine - riga, c.peso, kArial975Grassetto, forms::Alignment::Center, true);
    etichetta(8760, riga, 945, fine - riga, "", kArial825, forms::Alignment::Center, true);
    auto& box = Check1.Add(i);
    box.SetContainer(Frame2);
    box.Move(9120, static_cast<float>(c.top), 255, 255);
    box.SetBackColor(forms::kWhite);
    box.SetTabIndex(61 + i);
  }
  etichetta(240, 32760, 9465, 855,
            "                    l’incremento totale del contributo risultante dall’applicazione della presente "
            "tabella non potrà superare il 7% dell’importo dell’intervento",
            kArial825Grassetto, forms::Alignment::Left, true);

  // Rows i and j.
  etichetta(240, 33840, 7000, 255, "i)  incremento % totale del contributo", kArial975Grassetto);
  etichetta(7980, 33840, 240, 285, "%", kArial975Grassetto, forms::Alignment::Right);
  importo_campo(Text8, 6, 8280, 33840, 1665, kTabText8[6], false);
  etichetta(240, 34920, 7000, 255, "j)  contributo premiale", kArial975Grassetto);
  etichetta(7980, 34920, 240, 285, "€", kArial975Grassetto, forms::Alignment::Right);
  importo_campo(Text8, 7, 8280, 34920, 1665, kTabText8[7], false);

  // Volume band and maintenance booklet.
  etichetta(240, 35640, 9615, 300, "RIEPILOGO CALCOLO CONTRIBUTO", kArial12Grassetto, forms::Alignment::Center);
  struct Scelta {
    forms::ControlArray<forms::OptionButton>* serie;
    forms::Frame* frame;
    const char* titolo;
    const char* intestazione;
    const char* testi[2];
    int tab;
  };
  const Scelta scelte[] = {
      {&Option1, &Frame3, "k)  fascia dimensionale edificio", " fascia dimensionale edificio",
       {" volume fuori terra, calcolato vuoto per pieno, pari o inferiore a 30.000,00 mc",
        " volume fuori terra, calcolato vuoto per pieno, superiore a 30.000,00 mc"},
       69},
      {&Option2, &Frame4, "l)  adozione Libretto di Manutenzione", " adozione Libretto Manutenzione",
       {"           SI", "           NO"}, 71},
  };
  for (const Scelta& s : scelte) {
    etichetta(5040, s.frame->Top() + 600, 4800, 255, s.titolo, kArial975Grassetto);
    etichetta(120, 240, 960, 360, " selezione", kArial825, forms::Alignment::Left, true, s.frame);
    etichetta(1080, 240, 3015, 360, s.intestazione, kArial825, forms::Alignment::Left, true, s.frame);
    for (int i = 0; i < 2; ++i) {
      const float top = 720.0f + 600.0f * static_cast<float>(i);
      auto& o = s.serie->Add(i);
      o.SetContainer(*s.frame);
      o.Move(480, top, 255, 195);
      o.SetBackColor(forms::kWhite);
      o.SetTabIndex(s.tab + i);
      etichetta(1080, top - 120, 3015, 480, s.testi[i], kArial825, forms::Alignment::Left, true, s.frame);
    }
  }

  // Summary of the contribution.
  struct Riepilogo {
    int indice;
    int top;
    const char* unita;
    const char* righe[3];
    bool grassetto;
  };
  const Riepilogo riepilogo[] = {
      {8, 40800, "€", {"TOTALE INTERVENTO", nullptr, nullptr}, true},
      {9, 42000, "€",
       {"contributo base richiesto ai sensi dell'Avviso Pubblico",
        "il contributo è pari al 30% dell'importo dell'intervento ", nullptr},
       false},
      {10, 42940, "€",
       {"contributo premiale",
        "il contributo premiale massimo concedibile è pari al 7% dell'importo dell'intervento ", nullptr},
       false},
      {11, 43920, "€",
       {"contributo accessorio per l'adozione del Libretto di Manutenzione",
        "il contributo pari al del 3% dell'importo dell'intervento",
        "il contributo accessorio massimo concedibile è pari a 10.000,00€"},
       false},
      {12, 44880, "€",
       {"CONTRIBUTO AMMESSO AL FINANZIAMENTO",
        "contributo max concedibile pari a €120.000/130.000 per edifici di cubatura minore o uguale a 30.000mc",
        "contributo max concedibile pari a €150.000/160.000 per edifici di cubatura superiore a 30.000mc"},
       true},
      {13, 45525, "%",
       {"% DEL CONTRIBUTO AMMESSO SULL'IMPORTO DELL'INTERVENTO",
        "contributo massimo concedibile è pari al 40% dell'importo dell'intervento ", nullptr},
       true},
  };
  for (const Riepilogo& r : riepilogo) {
    const float top = static_cast<float>(r.top);
    const int righe = r.righe[2] ? 3 : r.righe[1] ? 2 : 1;
    const float inizio = top - 120.0f * static_cast<float>(righe - 1);
    for (int k = 0; k < righe; ++k) {
      etichetta(240, inizio + 220.0f * static_cast<float>(k), 7800, 220, r.righe[k],
                k == 0 ? (r.grassetto ? kArial825Grassetto : kArial825) : forms::FontSpec{"Arial", 8.25f, false, true});
    }
    totale(r.indice, 8400, top, r.unita, r.indice != 13);
  }

  // Date and signatures.
  etichetta(240, 46785, 780, 315, "Data", kArial12);
  {
    auto& data = Text1.Add(22);
    data.SetContainer(Frame2);
    data.Move(1080, 46785, 1095, 315);
    data.SetText("gg/mm/aaaa");
    data.SetTag("DATA");
    data.SetMaxLength(10);
    data.SetTabIndex(79);
    data.SetFont(kArial825Grassetto);
    data.SetBackColor(forms::kWhite);
    data.SetBorderStyle(1);
  }
  etichetta(3600, 47280, 2400, 300, "IL RICHIEDENTE", kArial12, forms::Alignment::Center);
  etichetta(7080, 47280, 2400, 300, "IL TECNICO", kArial12, forms::Alignment::Center);

  // Section B and the notes.
  etichetta(240, 48720, 9615, 300, "B)  COMPUTO METRICO ESTIMATIVO ", kArial12, forms::Alignment::Center);
  etichetta(240, 49020, 9615, 255, "(dichiarazione del progettista da anteporre al computo metrico estimativo) ",
            kArial825, forms::Alignment::Center);
  etichetta(240, 49380, 9615, 960,
            "Il sottoscritto progettista dichiara che il computo metrico estimativo dei lavori è stato redatto "
            "sulla base dei costi delle categorie di lavoro del \"Prezzario dei Lavori Pubblici della Regione "
            "Campania\", approvato con delibera di Giunta Regionale n. 2184 del 29/12/2006 e pubblicato sul "
            "Bollettino Ufficiale della Regione Campania del 2/3/2007, numero speciale (vedi nota).",
            kArial825);
  etichetta(240, 50400, 9615, 960,
            "I nuovi prezzi (eventuali) sono stati redatti come dall'Avviso Pubblico del 1° Febbraio 2008 e da "
            "contratto di appalto tipo, in base ai costi elementari della mano d'opera, dei materiali, dei noli e "
            "trasporti attualmente vigenti nella Regione Campania. Il sottoscritto progettista attesta la "
            "congruità di detti nuovi prezzi ed allega le relative analisi.",
            kArial825);
  etichetta(240, 51480, 9615, 255, "Riferimenti", kArial825Grassetto);
  etichetta(240, 51735, 9615, 480,
            " - Prezzario dei Lavori Pubblici della Regione Campania\" approvato con delibera di Giunta Regionale "
            "n. 2184 del 29/12/2006;",
            kArial825);
  etichetta(240, 52215, 9615, 255, " - Avviso Pubblico Comune di Vareri 1/2/2008 art. 7 comma 5; ", kArial825);
  etichetta(240, 52470, 9615, 255, " - contratto di appalto tipo.", kArial825);
  etichetta(240, 52920, 3000, 255, "DATA", kArial825Grassetto);
  etichetta(6000, 52920, 3000, 255, "IL TECNICO", kArial825Grassetto);
  etichetta(240, 53400, 9615, 255, "Nota (1):", kArial825Grassetto);
  etichetta(240, 53655, 9615, 720,
            "Nei prezzi unitari sono inclusi, come da avvertenze generali e per ogni categoria di lavoro, gli oneri "
            "per  i normali apprestamenti per la sicurezza del cantiere. L' importo in € ed in percentuale di detti "
            "oneri dovrà essere indicato dal progettista e non sarà soggetto a ribasso d'asta.",
            kArial825);
  etichetta(240, 54375, 9615, 480,
            "Eventuali oneri per particolari categorie di lavoro non inclusi nei prezzi di prezzario saranno "
            "computati, in aggiunta, secondo i prezzi del Capitolo Sicurezza del prezzario stesso, ovvero secondo "
            "eventuali nuovi prezzi ove non presenti.",
            kArial825);
  etichetta(240, 54855, 9615, 480,
            "Pertanto gli oneri complessivi per la sicurezza (comunque non soggetti a ribasso), saranno dati dalla "
            "sommatoria dei su indicati oneri (già inclusi nel prezzo unitario, ovvero aggiuntivi)",
            kArial825);
  etichetta(240, 55440, 9615, 255, "Nota (2):", kArial825Grassetto);
  etichetta(240, 55695, 9615, 960,
            "Come dalle note al capitolo R.01 \"Trasporti\" del prezzario, gli oneri di discarica non sono mai "
            "compresi nelle voci di trasporto: saranno compensati a presentazione di fattura quietanzata e di "
            "bolla di smaltimento, e l'importo netto della fattura (IVA esclusa) sarà maggiorato del 15% per "
            "spese e anticipazioni dell'appaltatore. Una discarica non indicata in progetto dovrà essere "
            "approvata dal direttore dei lavori. Lo stesso vale per le altre categorie di lavoro.",
            kArial825);
}

}  // namespace sevrina
