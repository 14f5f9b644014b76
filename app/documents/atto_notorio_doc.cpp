// The sworn declarations: title, legal introduction, the declarant's
// paragraph, the table of declarations a) to o) with a mark and a signature
// cell each, the closing note, date and signature, and the attachments.
// Margins 2 cm all round; no page numbers.

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

struct Dichiarazione {
  const char* lettera;
  const char* chiave;
  std::string testo;
};

const std::array<Dichiarazione, 15>& dichiarazioni() {
  static const std::array<Dichiarazione, 15> righe = {{
    {"a)", "ATTO_NOTORIO_A",
     u8"che il fabbricato non è di proprietà dei soggetti di cui all'art. 3 comma 2 dell'Avviso Pubblico in misura superiore al 50% del valore calcolato secondo quanto previsto dall'art. 3 comma 5 del medesimo Avviso"_w1252},
    {"b)", "ATTO_NOTORIO_B",
     u8"che il fabbricato non è adibito interamente agli usi così come definito all'art. 3 comma 3 dell'Avviso Pubblico"_w1252},
    {"c)", "ATTO_NOTORIO_C",
     u8"che il fabbricato è destinato ad esclusivo uso residenziale ovvero lo è in misura superiore ad 1/3  (art. 3 comma 4 dell'Avviso Pubblico) del valore calcolato secondo quanto previsto dall'art. 3 comma 5 del medesimo Avviso"_w1252},
    {"d)", "ATTO_NOTORIO_D",
     u8"che l'edificio, oggetto della sevrina, non ha usufruito, ovvero non ha in corso pratica per l'ottenimento dei contributi concessi ai sensi dei precedenti due Avvisi Pubblici del 23 maggio 2002 (1° Bando Ortesa) e del 31 ottobre 2003 (2° Bando Ortesa) ai sensi dell'art. 3 comma 6 dell'Avviso Pubblico"_w1252},
    {"e)", "ATTO_NOTORIO_E",
     u8"per i soggetti di cui all'art. 3 comma 7 dell'Avviso Pubblico, che è pendente ricorso giurisdizionale per l'accertamento del diritto ad ottenere il contributo relativo all'Avviso Pubblico del 23 maggio 2002 o del 31 ottobre 2003"_w1252},
    {"f)", "ATTO_NOTORIO_F",
     u8"nel caso di proprietà individuale o di comunione di beni, che l'intera proprietà dell'immobile appartiene esclusivamente al  dichiarante"_w1252},
    {"g)", "ATTO_NOTORIO_G",
     u8"che i lavori, oggetto della richiesta di contributo, non interessano eventuali opere abusive oggetto di istanza di condono non ancora favorevolmente esitata"_w1252},
    {"h)", "ATTO_NOTORIO_H",
     u8"che le opere da eseguire riguardano una delle seguenti tipologie di intervento: manutenzione ordinaria / manutenzione straordinaria / restauro / risanamento conservativo"_w1252},
    {"i)", "ATTO_NOTORIO_I",
     u8"che le opere oggetto di istanza di contributo non sono iniziate alla data di presentazione dell'istanza"_w1252},
    {"j)", "ATTO_NOTORIO_J",
     u8"di essere consapevole che l'importo complessivo dell'intervento ed il conseguente importo ammesso a contributo sarà ricalcolato d'ufficio, a seguito di successivi controlli e verifiche e sulla base dei lavori effettivamente eseguiti e contabilizzati e che, in ogni caso, il contributo non potrà superare i valori percentuali definiti dall'art. 4 dell'Avviso Pubblico sull'importo dei lavori ammesso a finanziamento"_w1252},
    {"k)", "ATTO_NOTORIO_K",
     u8"di essere informato, ai sensi e per gli effetti di cui al Decreto legislativo 196 del 30/06/2003, che i dati indicati nella documentazione presentata ivi compresi i dati personali saranno trattati, anche con strumenti informatici, nell'ambito dell'attuazione del Progetto Ortesa e per eventuali studi e ricerche che l'Amministrazione e/o Ortesa intraprenderanno secondo le rispettive competenze, e ne autorizza il trattamento per tali finalità"_w1252},
    {"l)", "ATTO_NOTORIO_L",
     u8"di essere consapevole che la pubblicazione degli elenchi, con le modalità di cui all'art. 9 dell'Avviso Pubblico, equivale a notifica di comunicazione degli esiti della sevrina di contributo"_w1252},
    {"m)", "ATTO_NOTORIO_M",
     u8"di obbligarsi ad appaltare i lavori ad impresa iscritta o che si iscriverà nell'elenco aperto redatto a cura della società O.R.TE.SA."_w1252},
    {"n)", "ATTO_NOTORIO_N",
     u8"di obbligarsi a stipulare con l'impresa esecutrice dei lavori contratto come da modello, predisposto e distribuito dalla società O.R.TE.SA."_w1252},
    {"o)", "ATTO_NOTORIO_O",
     u8"di accettare le modalità di erogazione del contributo e di assoggettarsi a tutte le disposizioni che ne disciplinano l'erogazione, dando inizio ai lavori entro il termine inderogabile di 150 giorni dalla data di pubblicazione dell'elenco definitivo o, in caso di successiva assegnazione del contributo, entro 150 giorni dalla data di notifica della comunicazione dell'avvenuto finanziamento e di concludere gli stessi entro il termine massimo di 3 anni dalla data di assegnazione del contributo"_w1252},
  }};
  return righe;
}

// The header row of the table: one line of Arial 10, four framed cells.
void intestazione_tabella(Documento& doc) {
  pdf::PdfWriter& pdf = doc.pdf();
  const float W = doc.W();
  pdf.SetLineWidth(0.01f);
  const float y = pdf.GetY();
  const float th = pdf.TextHeight();
  pdf.DrawTextBox(0, y, 1.5f, th, "lettera", 0.1f, 1, 0);
  pdf.DrawTextBox(1.5f, y, 10, th, "Dichiarazione", 0.1f, 1, 0);
  pdf.DrawTextBox(11.5f, y, 1, th, "X", 0, 4, 0);
  pdf.DrawTextBox(12.5f, y, W - 12.5f, th, "firma", 0.1f, 1, 0);
}

// One declaration: the row is as tall as the lines its text takes.
void riga(Documento& doc, const Dichiarazione& d, bool spuntata) {
  pdf::PdfWriter& pdf = doc.pdf();
  const float W = doc.W();
  doc.interruzione(3);
  const float y0 = pdf.GetY();
  pdf.DrawTextBox(1.6f, y0, 9.8f, 4, d.testo, 0, 64, 1);
  const float altezza = pdf.GetY() - y0;
  pdf.DrawTextBox(0, y0, 1.5f, altezza, d.lettera, 0.1f, 1, 0);
  pdf.DrawRect(1.5f, y0, 10, altezza, 0, 0, 15);
  pdf.DrawRect(11.5f, y0, 1, altezza, 0, 0, 15);
  doc.casella_centrata(11.5f, y0, 1, altezza, spuntata, 0);
  pdf.DrawRect(12.5f, y0, W - 12.5f, altezza, 0, 0, 15);
  pdf.SetXY(pdf.GetX(), y0 + altezza);
}

void corpo_atto_notorio(Documento& doc, const Dati& dati) {
  pdf::PdfWriter& pdf = doc.pdf();
  const float W = doc.W();

  pdf.SetFont("Arial", 16, 1, 0);
  pdf.DrawTextBox(0, 0, W, 1, "DICHIARAZIONE SOSTITUTIVA DELL'ATTO DI NOTORIETA'", 0, 4, 1);
  pdf.SetFont("Arial", 10, 0, 0);
  pdf.DrawTextBox(0, doc.sotto(0), W, 1, "(ART. 47 DPR 28 dicembre 2000 N.445)", 0, 4, 1);
  pdf.SetFont("Arial", 12, 0, 0);
  pdf.DrawTextBox(0, doc.sotto(1), W, 5,
                  "Ai sensi dell'art 7, comma 3, dell'Avviso Pubblico indetto in esecuzione della "
                  "delibera di Giunta Comunale n. 4349 del 28 dicembre 2007 per la concessione di "
                  "contributi, a fondo perduto, per gli interventi di recupero delle parti comuni "
                  "degli edifici privati ricadenti nell'ambito dei centri storici urbano, dei centri "
                  "storici delle periferie e dei quartieri periferici.",
                  0, 64, 1);
  pdf.DrawTextBox(0, doc.sotto(0.5f), W, 5, documenti::paragrafo_dichiarante(dati), 0, 64, 1);
  pdf.DrawTextBox(0, doc.sotto(0.5f), W, 5,
                  "consapevole delle sanzioni penali, nel caso di dichiarazioni non veritiere, di "
                  "formazione o di uso di atti falsi, richiamate dall'art. 76 del DPR 445 del 28 "
                  "dicembre 2000",
                  0, 64, 1);
  pdf.SetFont("Arial", 12, 1, 0);
  pdf.DrawTextBox(0, doc.sotto(0.5f), W, 5, "DICHIARA", 0, 4, 1);
  pdf.SetFont("Arial", 10, 0, 0);
  pdf.DrawTextBox(0, doc.sotto(0.5f), W, 5,
                  "(Nella tabella che segue ad ogni dichiarazione resa barrare con una x e firmare "
                  "accanto)",
                  0, 1, 1);

  intestazione_tabella(doc);
  const auto& righe = dichiarazioni();
  for (std::size_t i = 0; i < righe.size(); ++i) {
    riga(doc, righe[i], dati.flag(righe[i].chiave));
    pdf.SetFont("Arial", i + 1 < righe.size() ? 10.0f : 12.0f, 0, 0);
  }

  pdf.DrawTextBox(0, doc.sotto(0.5f), W, 5,
                  u8"Le dichiarazioni sostitutive sono rese ai sensi del D.P.R. 28/12/2000, n. 445 "
                  u8"e, pertanto, devono essere corredate, a pena di esclusione, a norma dell'art. "
                  u8"38 del medesimo D.P.R., da una copia di un valido documento di identità del "
                  u8"dichiarante."_w1252,
                  0, 64, 1);
  const float y1 = pdf.GetY();
  pdf.DrawTextBox(0, y1 + 1, 5, 1, "Data " + dati.data("DATA_ATTO_NOTORIO"), 0, 64, 1);
  pdf.DrawTextBox(W - 10, y1 + 1, 10, 1, "firma del dichiarante", 0, 4, 1);
  pdf.DrawTextBox(0, doc.sotto(2), W, 5, "Allegati:", 0, 64, 1);
  pdf.DrawTextBox(0, doc.sotto(0), W, 5,
                  u8"- copia di un valido documento di identità del dichiarante"_w1252, 0, 64, 1);
}

}  // namespace

bool crea_atto_notorio(const std::string& percorso, bool apri) {
  documenti::Modello modello;
  modello.sinistro = modello.destro = modello.alto = modello.basso = 2;
  modello.piede = "- mod. ORTESA 2 - dichiarazioni sostitutive";
  modello.dimensione_casella = 8;
  modello.numerazione = documenti::Numerazione::Nessuna;
  return documenti::genera(percorso, apri, modello, corpo_atto_notorio);
}

}  // namespace sevrina
