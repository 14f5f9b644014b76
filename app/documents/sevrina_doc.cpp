// The two application documents, model 1.a (a condominium applies) and
// model 1.b (the owner or the co-owners apply): one layout, one sequence of
// calls, two sets of texts. Heading, the applicant (A), the premises with
// their ticked items (B), the request (C), the commitments, the attachments
// (D), the signature block and the notes. Margins 3, 3, 2, 1.5 cm; a page
// number on every page; a page-break test before every ticked block.

#include <array>
#include <string>

#include "app/documents/crea_file.h"
#include "app/documents/frame.h"
#include "platform/text/cp1252.h"

namespace sevrina {
namespace {

using namespace cp1252::literals;
using documenti::Dati;
using documenti::Documento;

// ---------------------------------------------------------------- the two sets of texts

struct Variante {
  const char* riga_modello;
  bool premessa_con_verbale;         // 1.a names the assembly's minutes and their date
  const char* prefisso_altro_intervento;
  const char* prefisso_altri_impianti;
  const char* giunzione_premiale;    // between the premium amount and its percentage
  std::string allegato_1;
  const char* piede;
  documenti::Chiusura chiusura;
};

const Variante& condomini() {
  static const Variante v{
      "cod. 1.a) Modello di sevrina da presentare, unitamente agli allegati, in duplice copia, a "
      "mano o a mezzo del Servizio Postale in busta chiusa con avviso di ricevimento a:",
      true,
      "Altro intervento : ",
      "Altri impianti : ",
      " ) pari al ",
      u8"1. delibera assembleare di conferimento del mandato all'amministratore di partecipare al "
      u8"3° bando Ortesa;"_w1252,
      "- mod. ORTESA 1.a) sevrina condomini",
      documenti::Chiusura::Condomini,
  };
  return v;
}

const Variante& proprietari() {
  static const Variante v{
      "cod. 1.b) Modello di sevrina da presentare, unitamente agli allegati, in duplice copia, a "
      "mano o a mezzo del Servizio Postale in busta chiusa con avviso di ricevimento a:",
      false,
      "Altro intervento ",
      "Altri impianti ",
      ") pari al ",
      u8"1. in caso di comproprietà, eventuale delega di rappresentanza, allegando all'uopo copie "
      u8"di validi documenti di riconoscimento del delegante e del delegato; in caso di proprietà "
      u8"individuale o di comunione di beni, occorrerà comunque allegare dichiarazione, in forma "
      u8"di autocertificazione, che l'intera proprietà dell'immobile appartiene esclusivamente al "
      u8"dichiarante"_w1252,
      "- mod. ORTESA 1.b) sevrina proprietari",
      documenti::Chiusura::Proprietari,
  };
  return v;
}

std::string premessa_decisione(const Variante& v, const Dati& d) {
  if (v.premessa_con_verbale) {
    return "che con verbale del " + d.data("DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI") +
           " il condominio ha deliberato l'approvazione del progetto per l'esecuzione di "
           "interventi riguardanti:";
  }
  return "che il/la sottoscritto/a (ovvero i comproprietari), ha (ovvero hanno) deciso "
         "l'esecuzione di interventi riguardanti:";
}

// ---------------------------------------------------------------- section B's items

struct Voce {
  enum Tipo { Casella, Altro, Area, Premessa };
  Tipo tipo;
  const char* chiave;     // the flag (items), "" for a plain premise
  std::string testo;      // label or premise; an Altro item builds its own
  float altezza;          // premise box height (labels are 2 high)
  float distanza;         // gap above
  float soglia;           // page-break threshold, 0 for none
  const char* quartiere = "";
  const char* municipalita = "";
};

const std::array<Voce, 30>& voci() {
  static const std::array<Voce, 30> elenco = {{
    {Voce::Casella, "LAVORI_DELIBERATI_FACCIATE_SI_NO", u8"Facciate"_w1252, 2, 0.3f, 1},
    {Voce::Casella, "LAVORI_DELIBERATI_FASCIA_BASAMENTALE_SI_NO", u8"Ripristino fascia basamentale"_w1252, 2, 0.1f, 1},
    {Voce::Casella, "LAVORI_DELIBERATI_ELEMENTI_DECORATIVI_IN_FACCIATA_SI_NO", u8"Ripristino elementi decorativi in facciata"_w1252, 2, 0.1f, 1},
    {Voce::Casella, "LAVORI_DELIBERATI_CORTILE_SI_NO", u8"Cortile e/o aree esterne"_w1252, 2, 0.1f, 1},
    {Voce::Casella, "LAVORI_DELIBERATI_CASSA_SCALE_SI_NO", u8"Casse scale"_w1252, 2, 0.1f, 1},
    {Voce::Casella, "LAVORI_DELIBERATI_ANDRONE_SI_NO", u8"Androne"_w1252, 2, 0.1f, 1},
    {Voce::Casella, "LAVORI_DELIBERATI_LOCALI_CONDOMINIALI_SI_NO", u8"Locali condominiali"_w1252, 2, 0.1f, 1},
    {Voce::Casella, "LAVORI_DELIBERATI_COPERTURA_SI_NO", u8"Copertura"_w1252, 2, 0.1f, 1},
    {Voce::Casella, "LAVORI_DELIBERATI_STRUTTURE_PORTANTI_SI_NO", u8"Strutture portanti"_w1252, 2, 0.1f, 1},
    {Voce::Casella, "LAVORI_DELIBERATI_FONDAZIONI_SI_NO", u8"Fondazioni"_w1252, 2, 0.1f, 1},
    {Voce::Casella, "LAVORI_DELIBERATI_BARRIERE_ARCHITETTONICHE_SI_NO", u8"Eliminazione delle barriere architettoniche"_w1252, 2, 0.1f, 1},
    {Voce::Altro, "LAVORI_DELIBERATI_ALTRO_INTERVENTO_SI_NO", {}, 2, 0.1f, 1},
    {Voce::Casella, "LAVORI_DELIBERATI_IMPIANTO_ASCENSORE_SI_NO", u8"Impianto ascensore"_w1252, 2, 0.1f, 1},
    {Voce::Casella, "LAVORI_DELIBERATI_IMPIANTO_RISCALDAMENTO_SI_NO", u8"Impianto di riscaldamento condominiale"_w1252, 2, 0.1f, 1},
    {Voce::Casella, "LAVORI_DELIBERATI_IMPIANTO_ELETTRICO_SI_NO", u8"Impianto elettrico e/o citofonico e/o antenna centralizzata"_w1252, 2, 0.1f, 1},
    {Voce::Casella, "LAVORI_DELIBERATI_IMPIANTO_SMALTIMENTO_ACQUE_SI_NO", u8"Impianto di smaltimento delle acque meteoriche e/o impianto fognario"_w1252, 2, 0.1f, 1},
    {Voce::Altro, "LAVORI_DELIBERATI_ALTRI_IMPIANTI_SI_NO", {}, 2, 0.1f, 1},
    {Voce::Premessa, "", u8"che i lavori da eseguirsi di:"_w1252, 3, 0.5f, 0},
    {Voce::Casella, "MANUTENZIONE_ORDINARIA_SI_NO", u8"manutenzione ordinaria"_w1252, 2, 0.3f, 1},
    {Voce::Casella, "MANUTENZIONE_STRAORDINARIA_SI_NO", u8"manutenzione straordinaria"_w1252, 2, 0.1f, 1},
    {Voce::Casella, "RESTAURO_E_RISANAMENTO_CONSERVATIVO_SI_NO", u8"restauro e risanamento conservativo"_w1252, 2, 0.1f, 1},
    {Voce::Premessa, "", u8"rientrano tra quelli definiti dall'art. 3, lettere a), b), c), del DPR 6 giugno 2001 n. 380 e successive modifiche ed integrazioni, relativi alle parti comuni degli edifici come previsto dall'art. 2 comma 2 dell'Avviso Pubblico;"_w1252, 10, 0.5f, 0},
    {Voce::Premessa, "", u8"che l'immobile ricade nell'ambito"_w1252, 3, 0.5f, 0},
    {Voce::Area, "CENTRO_STORICO_URBANO_SI_NO", u8"centro storico urbano"_w1252, 2, 0.3f, 2, "QUARTIERE_CENTRO_STORICO_URBANO", "MUNICIPALITA_CENTRO_STORICO_URBANO"},
    {Voce::Area, "CENTRO_STORICO_DELLE_PERIFERIE_SI_NO", u8"centro storico delle periferie"_w1252, 2, 0.3f, 2, "QUARTIERE_CENTRO_STORICO_DELLE_PERIFERIE", "MUNICIPALITA_CENTRO_STORICO_DELLE_PERIFERIE"},
    {Voce::Area, "QUARTIERE_PERIFERICO_SI_NO", u8"quartiere periferico"_w1252, 2, 0.3f, 2, "QUARTIERE_QUARTIERE_PERIFERICO", "MUNICIPALITA_PERIFERICO"},
    {Voce::Premessa, "", u8"che l'immobile rientra nella seguente fascia dimensionale:"_w1252, 3, 0.5f, 0},
    {Voce::Casella, "VOLUME_FUORI_TERRA_INFERIORE", u8"volume fuori terra, calcolato vuoto per pieno, pari o inferiore a 30.000,00 mc;"_w1252, 2, 0.3f, 1},
    {Voce::Casella, "VOLUME_FUORI_TERRA_OLTRE", u8"volume fuori terra, calcolato vuoto per pieno, superiore a 30.000,00 mc;"_w1252, 2, 0.1f, 1},
    {Voce::Premessa, "", u8"che si possiedono i requisiti richiesti per accedere ai contributi,"_w1252, 3, 0.5f, 0},
  }};
  return elenco;
}

// ---------------------------------------------------------------- section D's attachments

struct Allegato {
  const char* chiave;
  float soglia;
  std::string testo;  // empty: the variant's attachment 1
};

const std::array<Allegato, 12>& allegati() {
  static const std::array<Allegato, 12> elenco = {{
    {"DELIBERA_ASSEMBLEARE_SI_NO", 3.0f, {}},
    {"DICHIARAZIONI_SOSTITUTIVE_SI_NO", 2.0f, u8"2. dichiarazioni sostitutive dell'atto di notorietà (D.P.R. 28/12/2000, n. 445) rese ai sensi dell'art. 7 comma 3 dell' Avviso Pubblico;"_w1252},
    {"PROVVEDIMENTO_EDILIZIO_SI_NO", 5.0f, u8"3. provvedimento edilizio che abilita all'esecuzione delle opere e cioè: per gli interventi di manutenzione ordinaria, relazione dei lavori asseverata da tecnico abilitato contenente tra l'altro dichiarazione che l'immobile è o meno vincolato ai sensi del DLgs 28 gennaio 2004, n. 42, parte II, titolo I (ex Legge 1089/1939); in caso di immobile sottoposto a detto vincolo, atto di assenso del soggetto preposto alla tutela del vincolo medesimo; per gli interventi di manutenzione straordinaria, restauro e risanamento conservativo, copia della denuncia di inizio attività (con la data ed il numero di protocollo del Servizio Tecnico della Municipalità competente per territorio ove è avvenuto il deposito) con i relativi allegati depositati, ovvero copia del permesso di costruire. La Denuncia di Inizio Attività deve essere operativa alla data di inizio dei lavori. (VEDI NOTA  1)"_w1252},
    {"RELAZIONE_LAVORI_SI_NO", 3.0f, u8"4. relazione dei lavori asseverata da tecnico abilitato, in cui siano chiaramente specificate le opere da realizzare, contenente tra l'altro la dichiarazione che il fabbricato non è interessato da abusi edilizi non oggetto di istanza di condono;"_w1252},
    {"DOCUMENTAZIONE_FOTOGRAFICA_SI_NO", 3.0f, u8"5. documentazione fotografica a colori (minimo n. 10 foto) dello stato dei luoghi con relativa planimetria in scala appropriata con individuazione dei coni ottici;"_w1252},
    {"PLANIMETRIA_DI_INQUADRAMENTO_SI_NO", 3.0f, u8"6. planimetria di inquadramento territoriale con individuazione univoca del fabbricato in scala 1:1000;"_w1252},
    {"STRALCIO_DEL_PRG_SI_NO", 3.0f, u8"7. stralcio del P.R.G. con individuazione del fabbricato;"_w1252},
    {"COMPUTO_METRICO_SI_NO", 3.0f, u8"8. computo metrico e relativo quadro economico, quest'ultimo redatto su apposito modello distribuito dalla società O.R.TE.SA., concernente i soli lavori ammessi al finanziamento ai sensi dell'Avviso Pubblico. Detto computo metrico deve essere redatto in riferimento ai costi delle categorie di opere secondo il Prezzario dei Lavori Pubblici in Campania, vigente alla data di pubblicazione dell'Avviso, ed in base al quale verranno appaltati - con eventuale ribasso di gara - ed eseguiti i lavori ammessi al finanziamento, senza alcun ricorso alla revisione dei prezzi. In caso di lavorazioni non contemplate nello stesso Prezzario l'adozione di nuovi prezzi deve essere supportata da specifiche analisi (VEDI NOTA  2);"_w1252},
    {"RELAZIONE_TECNICA_DEL_PROGETTISTA_SI_NO", 3.0f, u8"9. nel caso si richieda la concessione del contributo premiale, dovrà essere consegnata relazione tecnica del/dei progettista/i attestante che tra i lavori a farsi per i quali viene richiesto il contributo è/sono ricompreso/si intervento/i di cui all'art. 4 comma 4 dell'Avviso che da/danno luogo alle maggiorazioni previste;"_w1252},
    {"FASCIA_DIMENSIONALE_SUPERIORE_30000", 3.0f, u8"10. per gli edifici aventi volume fuori terra, calcolato vuoto per pieno, superiore a 30.000,00 mc che hanno accesso al contributo massimo di € 150.000,00 dovrà essere presentato schema sintetico del fabbricato con allegato calcolo dei volumi, a firma del tecnico abilitato;"_w1252},
    {"DIFFIDA_INTERVENTI_ANCORA_NON_ESEGUITI_SI_NO", 3.0f, u8"11. eventuale diffida o ordinanza sindacale, concernente interventi ancora non eseguiti di consolidamento e/o riparazione delle strutture portanti che interessano la globalità dell'edificio, ovvero solo di parti di esse la cui esecuzione sia però indispensabile per la messa in sicurezza dell'edificio. Tali provvedimenti dovranno essere stati emessi nell'arco temporale indicato al comma 3 art. 4 dell'Avviso Pubblico;"_w1252},
    {"COPIA_SU_SUPPORTO_ELETTRONICO_ISTANZA_SI_NO", 3.0f, u8"12. copia, su supporto elettronico (CD/DVD), dell'istanza, del computo metrico, del quadro economico e della documentazione fotografica."_w1252},
  }};
  return elenco;
}

// ---------------------------------------------------------------- drawing

class Domanda {
 public:
  Domanda(Documento& doc, const Dati& dati, const Variante& v)
      : doc_(doc), pdf_(doc.pdf()), dati_(dati), v_(v), W(doc.W()) {}

  void disegna() {
    intestazione();
    sezione_a();
    sezione_b();
    sezione_c();
    impegni();
    sezione_d();
    firma();
    note();
  }

 private:
  // Model line, addressee, and the framed title.
  void intestazione() {
    pdf_.SetFont("Arial", 12, 0, 0);
    pdf_.DrawTextBox(0, 0, W, 4, v_.riga_modello, 0, 1, 1);
    pdf_.SetFont("Arial", 14, 0, 0);
    pdf_.DrawTextBox(0, doc_.sotto(1.5f), W, 5,
                     "Al Comune di Vareri\r\nProtocollo generale - Palazzo S. Giacomo\r\n"
                     "piazza Municipio, 1\r\n80133 Vareri",
                     0, 1, 1);
    pdf_.SetFont("Arial", 12, 1, 0);
    pdf_.SetLineWidth(0.01f);
    const float y0 = doc_.sotto(1.5f);
    pdf_.DrawTextBox(0.1f, y0, W - 0.2f, 5,
                     "ISTANZA PER LA CONCESSIONE DI CONTRIBUTI RELATIVI AD INTERVENTI DI: \r\n"
                     "Recupero delle parti comuni degli edifici del centro storico urbano, dei "
                     "centri storici delle periferie e dei quartieri periferici, ai sensi "
                     "dell'Avviso pubblico del Comune di Vareri approvato con delibera di giunta "
                     "comunale n\xB0 4349 del 28 dicembre 2007.",
                     0, 64, 1);
    // The frame is as tall as the title's lines.
    const float h = pdf_.GetY() - y0;
    pdf_.DrawRect(0, y0, W, h, 0, 0, 15);
    pdf_.SetXY(pdf_.GetX(), y0 + h);
  }

  // "A-" and the identification paragraph; the indent of every section text.
  void sezione_a() {
    pdf_.SetFont("Arial", 12, 1, 0);
    const float y = doc_.sotto(1.5f);
    pdf_.DrawTextBox(0, y, 1, 1, "A-", 0, 9, 1);
    I = pdf_.TextLength("W-") + 0.1f;
    pdf_.SetFont("Arial", 12, 0, 0);
    pdf_.DrawTextBox(I, y, W - I, 10, documenti::paragrafo_richiedente(dati_, v_.chiusura), 0, 64,
                     1);
    pdf_.SetFont("Arial", 12, 1, 0);
    pdf_.DrawTextBox(0, doc_.sotto(1), W, 1, "PREMESSO", 0, 4, 1);
  }

  void sezione_b() {
    const float y = doc_.sotto(0.5f);
    pdf_.DrawTextBox(0, y, 1, 1, "B-", 0, 9, 1);
    pdf_.SetFont("Arial", 12, 0, 0);
    pdf_.DrawTextBox(I, y, W - I, 10,
                     u8"che ha preso visione dell'Avviso Pubblico e delle modalità in esso "
                     u8"previste per la richiesta e per la concessione dei contributi a fondo "
                     u8"perduto; "_w1252,
                     0, 64, 1);
    pdf_.DrawTextBox(I, doc_.sotto(0.5f), W - I, 3, premessa_decisione(v_, dati_), 0, 64, 1);
    for (const Voce& voce : voci()) {
      if (voce.tipo == Voce::Premessa) {
        // In the font the last label left, with no page-break test.
        pdf_.DrawTextBox(I, doc_.sotto(voce.distanza), W - I, voce.altezza, voce.testo, 0, 64, 1);
        continue;
      }
      std::string etichetta = voce.testo;
      if (voce.tipo == Voce::Altro) {
        etichetta = voce.chiave == std::string_view("LAVORI_DELIBERATI_ALTRO_INTERVENTO_SI_NO")
                        ? v_.prefisso_altro_intervento + dati_["LAVORI_DELIBERATI_ALTRO_INTERVENTO"]
                        : v_.prefisso_altri_impianti + dati_["LAVORI_DELIBERATI_ALTRI_IMPIANTI"];
      }
      doc_.interruzione(voce.soglia);
      const float y_voce = doc_.sotto(voce.distanza);
      doc_.casella(I, y_voce, dati_.flag(voce.chiave), 0);
      pdf_.SetFont("Arial", 10, 0, 0);
      const float t = pdf_.TextHeight();
      pdf_.DrawTextBox(I + t + 0.3f, y_voce, W - (I + t + 0.3f), 2, etichetta, 0, 64, 1);
      if (voce.tipo == Voce::Area) {
        // District and municipality, under the label, ticked or not.
        float t2 = pdf_.TextHeight();
        pdf_.DrawTextBox(I + 2 * t2 + 0.3f, pdf_.GetY(), W - (I + 2 * t2 + 0.3f), 1,
                         "quartiere " + dati_[voce.quartiere], 0, 64, 1);
        t2 = pdf_.TextHeight();
        pdf_.DrawTextBox(I + 2 * t2 + 0.3f, pdf_.GetY(), W - (I + 2 * t2 + 0.3f), 1,
                         "municipalit\xE0 " + dati_[voce.municipalita], 0, 64, 1);
      }
    }
  }

  // A ticked line of sections C and D: the box at the start of the text's
  // first line, which is indented to leave room for it.
  void riga_spuntata(float y, bool spuntata, const std::string& testo) {
    doc_.casella(I, y, spuntata, 0);
    pdf_.SetFont("Arial", 10, 0, 0);
    const float t = pdf_.TextHeight();
    pdf_.DrawTextBox(I, y, W - I, 5, testo, t + 0.3f, 64, 1);
  }

  void sezione_c() {
    pdf_.SetFont("Arial", 12, 1, 0);
    pdf_.DrawTextBox(0, doc_.sotto(1), W, 1, "CHIEDE", 0, 4, 1);
    float yc = doc_.sotto(0.5f);
    // The base line's page-break test is made before its letter, with the
    // bottom the letter would leave, so that "C-" and its line move to the
    // new page together.
    if (yc + pdf_.TextHeight() > doc_.H() - 2) {
      doc_.nuova_pagina();
      yc = doc_.sotto(0.3f);
      pdf_.SetFont("Arial", 12, 1, 0);
    }
    pdf_.DrawTextBox(0, yc, 1, 1, "C-", 0, 9, 1);
    riga_spuntata(yc, dati_.flag("CONTRIBUTO_BASE_SI_NO"),
                  "la concessione del contributo base (corrispondente ad \x80 " +
                      dati_.importo("IMPORTO_CONTRIBUTO_BASE") +
                      ") pari al 30% dell'importo complessivo dell'intervento, relativo ai lavori "
                      "da effettuarsi sulle parti comuni del fabbricato, come da quadro economico "
                      "e computo metrico allegato;");
    doc_.interruzione(2);
    riga_spuntata(doc_.sotto(0.3f), dati_.flag("CONTRIBUTO_PREMIALE_SI_NO"),
                  "la concessione del contributo premiale (corrispondente ad \x80 " +
                      dati_.importo("IMPORTO_CONTRIBUTO_PREMIALE") + v_.giunzione_premiale +
                      dati_.importo("PERCENTUALE_CONTRIBUTO_PREMIALE") +
                      "% dell'importo complessivo dell'intervento, come da quadro economico e "
                      "computo metrico allegato;");
    doc_.interruzione(2);
    riga_spuntata(doc_.sotto(0.3f), dati_.flag("CONTRIBUTO_ACCESSORIO_SI_NO"),
                  "la concessione del contributo accessorio (corrispondente ad \x80 " +
                      dati_.importo("IMPORTO_CONTRIBUTO_ACCESSORIO") +
                      ") pari al 3% dell'importo complessivo dell'intervento, come da quadro "
                      "economico e computo metrico allegato, per la predisposizione del Libretto "
                      "di Manutenzione del fabbricato;");
    doc_.interruzione(4);
    pdf_.SetFont("Arial", 10, 0, 0);
    pdf_.DrawTextBox(
        I, doc_.sotto(0.3f), W - I, 5,
        "l'importo totale del contributo a fondo perduto richiesto \xE8 pari ad \x80 " +
            dati_.importo("IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO") + ", equivalente al " +
            dati_.importo("PERCENTUALE_SU_IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO") +
            "% dell'importo complessivo dell'intervento, come da quadro economico e computo "
            "metrico allegato.",
        0, 64, 1);
  }

  void titolo(const char* testo) {
    pdf_.SetFont("Arial", 12, 1, 0);
    pdf_.DrawTextBox(0, doc_.sotto(0.5f), W, 1, testo, 0, 4, 1);
  }

  void impegno(const std::string& testo) {
    pdf_.SetFont("Arial", 10, 0, 0);
    pdf_.DrawTextBox(I, doc_.sotto(0.5f), W - I, 3, testo, 0, 64, 1);
  }

  void impegni() {
    titolo("ACCETTA");
    impegno(u8"in caso di finanziamento, le modalità di erogazione del contributo; "_w1252);
    titolo("SI ASSOGGETTA");
    impegno(
        "fin d'ora a tutte le disposizioni che disciplinano l'erogazione del contributo ed ai "
        "controlli che potranno essere effettuati direttamente dall'Amministrazione Comunale o "
        "tramite la societ\xE0 O.R.TE.SA. S.C.p.A.;");
    titolo("SI OBBLIGA");
    impegno(
        u8"a dare avvio ai lavori e di concludere gli stessi nei termini temporali stabiliti "
        u8"all'art. 7 comma 3 lettera o) dell'Avviso Pubblico, consapevole del fatto che l'inizio "
        u8"dei lavori dovrà avvenire non oltre 150 giorni dalla data di pubblicazione della "
        u8"graduatoria o, in caso di successiva assegnazione del contributo, entro 150 giorni "
        u8"dalla data di notifica della comunicazione dell'avvenuto finanziamento e di concludere "
        u8"gli stessi entro il termine massimo di 3 anni dalla data di assegnazione del "
        u8"contributo;"_w1252);
    titolo("SI IMPEGNA ALTRESI'");
    pdf_.SetFont("Arial", 8, 0, 0);
    pdf_.DrawTextBox(I, pdf_.GetY(), W - I, 3,
                     "(solo in caso di richiesta del contributo accessorio del 3%)", 0, 4, 1);
    impegno(
        "a consegnare il Libretto di Manutenzione sottoscritto dal tecnico compilatore e dallo "
        "scrivente entro e non oltre la data di presentazione della documentazione idonea per "
        "l'erogazione della seconda tranche del finanziamento.");
    pdf_.DrawTextBox(I, doc_.sotto(0.5f), W - I, 3, "Al fine dell'ammissione al contributo", 0,
                     64, 1);
  }

  void sezione_d() {
    pdf_.SetFont("Arial", 12, 1, 0);
    pdf_.DrawTextBox(0, doc_.sotto(1), W, 1, "ALLEGA", 0, 4, 1);
    const float yd = doc_.sotto(0.5f);
    pdf_.DrawTextBox(0, yd, 1, 1, "D-", 0, 9, 1);
    pdf_.SetFont("Arial", 12, 0, 0);
    pdf_.DrawTextBox(I, yd, W - I, 2, "ai sensi dell'art. 7 dell'Avviso Pubblico:", 0, 64, 1);
    for (const Allegato& a : allegati()) {
      doc_.interruzione(a.soglia);
      riga_spuntata(doc_.sotto(0.3f), dati_.flag(a.chiave),
                    a.testo.empty() ? v_.allegato_1 : a.testo);
    }
  }

  void firma() {
    pdf_.SetFont("Arial", 10, 1, 0);
    pdf_.DrawTextBox(0, doc_.sotto(1), 7, 1, "In fede", 0, 4, 1);
    pdf_.DrawTextBox(0, pdf_.GetY(), 7, 1, "(data e firma)", 0, 4, 1);
    pdf_.DrawTextBox(0, pdf_.GetY(), 7, 1, dati_.data("DATA"), 0, 4, 1);
  }

  void note() {
    doc_.interruzione(4);
    const float yn = doc_.sotto(2);
    pdf_.SetLineWidth(0.01f);
    pdf_.DrawLine(0, yn, W, yn, 0);
    pdf_.SetFont("Arial", 8, 0, 0);
    pdf_.DrawTextBox(0, yn, W, 3,
                     u8"NOTA 1: La documentazione richiesta è necessaria al fine di poter "
                     u8"riscontrare la corrispondenza tra le opere oggetto di DIA e quelle oggetto "
                     u8"della richiesta di contributo."_w1252,
                     0, 64, 1);
    pdf_.DrawTextBox(0, doc_.sotto(0.4f), W, 3,
                     u8"NOTA 2: In caso di opere non contemplate nella stessa, è consentita "
                     u8"l'adozione di nuovi prezzi supportati da specifiche analisi (art. 7 comma 5 "
                     u8"dell' Avviso Pubblico). "_w1252,
                     0, 64, 1);
  }

  Documento& doc_;
  pdf::PdfWriter& pdf_;
  const Dati& dati_;
  const Variante& v_;
  const float W;
  float I = 0;  // the section indent, measured after "A-"
};

bool crea_domanda(const std::string& percorso, bool apri, const Variante& v) {
  documenti::Modello modello;
  modello.sinistro = 3;
  modello.destro = 3;
  modello.alto = 2;
  modello.basso = 1.5f;
  modello.piede = v.piede;
  modello.dimensione_casella = 10;
  modello.numerazione = documenti::Numerazione::Domanda;
  return documenti::genera(percorso, apri, modello, [&v](Documento& doc, const Dati& dati) {
    Domanda(doc, dati, v).disegna();
  });
}

}  // namespace

bool crea_sevrina_condomini(const std::string& percorso, bool apri) {
  return crea_domanda(percorso, apri, condomini());
}

bool crea_sevrina_proprietari(const std::string& percorso, bool apri) {
  return crea_domanda(percorso, apri, proprietari());
}

}  // namespace sevrina
