#include "app/documents/frame.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "app/shell/dates.h"
#include "app/shell/store.h"
#include "platform/forms/runtime.h"
#include "platform/system/system.h"
#include "platform/text/cp1252.h"

namespace sevrina::documenti {

// ---------------------------------------------------------------- data

Dati Dati::leggi() {
  Dati d;
  leggi_file_dati([&d](const VoceDati& voce) {
    d.valori_.insert_or_assign(std::string(voce.chiave), std::string(voce.valore));
    return true;
  });
  return d;
}

Dati Dati::da_contenuto(std::string_view contenuto) {
  Dati d;
  visita_record(contenuto, [&d](const VoceDati& voce) {
    d.valori_.insert_or_assign(std::string(voce.chiave), std::string(voce.valore));
    return true;
  });
  return d;
}

const std::string& Dati::operator[](std::string_view chiave) const {
  static const std::string vuoto;
  auto it = valori_.find(chiave);
  return it == valori_.end() ? vuoto : it->second;
}

bool Dati::flag(std::string_view chiave) const { return (*this)[chiave] == "S"; }

std::string Dati::data(std::string_view chiave) const {
  return data_da_aaaammgg((*this)[chiave]);
}

std::string Dati::importo(std::string_view chiave) const {
  return formatta_numero(std::string_view((*this)[chiave]), 2, "S");
}

void Dati::imposta(std::string_view chiave, std::string_view valore) {
  valori_.insert_or_assign(chiave_normalizzata(chiave), std::string(togli_spazi(valore)));
}

// ---------------------------------------------------------------- the paragraph

namespace {

// Lower case in Windows-1252, the inverse of the store's upper case.
std::string minuscole(std::string_view testo) {
  std::string out(testo);
  for (char& c : out) c = static_cast<char>(cp1252::to_lower(static_cast<unsigned char>(c)));
  return out;
}

// The applicant from the name to the residence, shared by both variants.
std::string nascita_e_residenza(const Dati& d) {
  std::string p;
  p += "Il/La sottoscritto/a ";
  p += d["NOME_RICHIEDENTE"];
  p += " ";
  p += d["COGNOME_RICHIEDENTE"];
  p += " nato/a a ";
  p += d["COMUNE_NASCITA_RICHIEDENTE"];
  p += " (";
  p += d["PROVINCIA_NASCITA_RICHIEDENTE"];
  p += ") ";
  p += "Il ";
  p += d.data("DATA_NASCITA_RICHIEDENTE");
  p += " residente a ";
  p += d["COMUNE_RICHIEDENTE"];
  p += " (";
  p += d["PROVINCIA_RICHIEDENTE"];
  p += ") ";
  return p;
}

// "in qualità di <type> " and the building's article.
std::string qualita(const Dati& d) {
  std::string p = "in qualit\xE0 di ";
  p += minuscole(d["TIPO_RICHIEDENTE"]);
  p += " ";
  p += richiedente_proprietario(d) ? "dello stabile " : "del condominio ";
  return p;
}

}  // namespace

bool richiedente_proprietario(const Dati& d) {
  const std::string& tipo = d["TIPO_RICHIEDENTE"];
  return !tipo.empty() && maiuscole(tipo).find("PROPRIETARIO") != std::string::npos;
}

std::string paragrafo_richiedente(const Dati& d, Chiusura chiusura) {
  std::string p = nascita_e_residenza(d);
  p += d["INDIRIZZO_RICHIEDENTE"];
  p += " n. ";
  p += d["CIVICO_RESIDENZA_RICHIEDENTE"];
  p += " c.f.: ";
  p += d["CODICE_FISCALE_RICHIEDENTE"];
  p += " ";
  p += "domiciliato per la carica in ";
  p += d["COMUNE_DOMICILIO_RICHIEDENTE"];
  p += " in ";
  p += d["INDIRIZZO_DOMICILIO_RICHIEDENTE"];
  p += " n. ";
  p += d["CIVICO_DOMICILIO_RICHIEDENTE"];
  p += " ";
  p += d["CAP_DOMICILIO_RICHIEDENTE"];
  p += " ";
  p += "tel. ";
  p += d["TELEFONO_DOMICILIO_RICHIEDENTE"];
  p += " fax. ";
  p += d["FAX_DOMICILIO_RICHIEDENTE"];
  p += " e-mail ";
  p += d["MAIL_DOMICILIO_RICHIEDENTE"];
  p += " ";
  p += qualita(d);
  p += "sito in Vareri in ";
  p += d["INDIRIZZO_CONDOMINIO"];
  p += " n. ";
  p += d["CIVICO_CONDOMINIO"];
  p += " ";
  p += d["CAP_CONDOMINIO"];
  p += " municipalit\xE0 ";
  p += d["MUNICIPALITA_CONDOMINIO"];
  p += " ";
  switch (chiusura) {
    case Chiusura::Condomini:
      p += "autorizzato alla presente istanza giusta delibera condominiale del ";
      p += d.data("DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE");
      p += ".";
      p += "\r\n";
      break;
    case Chiusura::Proprietari:
      if (maiuscole(d["TIPO_RICHIEDENTE"]) != "UNICO PROPRIETARIO") {
        p += "autorizzato alla presente giusta delega che si allega in duplice copia.";
      } else {
        p.back() = '.';
      }
      p += "\r\n";
      break;
    case Chiusura::Nessuna:
      break;
  }
  return p;
}

std::string paragrafo_dichiarante(const Dati& d) {
  std::string p = nascita_e_residenza(d);
  if (!d["COMUNE_DOMICILIO_RICHIEDENTE"].empty()) {
    p += "domiciliato in ";
    p += d["COMUNE_DOMICILIO_RICHIEDENTE"];
    p += " in ";
    p += d["INDIRIZZO_DOMICILIO_RICHIEDENTE"];
    p += " n. ";
    p += d["CIVICO_DOMICILIO_RICHIEDENTE"];
    p += " ";
  }
  p += qualita(d);
  p += "sito in Vareri in ";
  p += d["INDIRIZZO_CONDOMINIO"];
  p += " n. ";
  p += d["CIVICO_CONDOMINIO"];
  p += ".";
  // The declaration is one paragraph: line breaks typed into a value go.
  std::string senza;
  senza.reserve(p.size());
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (p[i] == '\r' && i + 1 < p.size() && p[i + 1] == '\n') {
      ++i;
      continue;
    }
    senza += p[i];
  }
  return senza;
}

// ---------------------------------------------------------------- messages and viewer

namespace {

forms::Runtime* g_runtime = nullptr;
Apertura g_apertura;
// The working folder and the folder the messages name in its place.
std::optional<std::pair<std::filesystem::path, std::filesystem::path>> g_mostrata;

// `percorso` with the working folder replaced by the folder shown.
std::filesystem::path come_mostrato(const std::filesystem::path& percorso) {
  if (!g_mostrata) return percorso;
  const auto& [lavoro, mostrata] = *g_mostrata;
  auto [l, p] = std::mismatch(lavoro.begin(), lavoro.end(), percorso.begin(), percorso.end());
  if (l != lavoro.end()) return percorso;
  std::filesystem::path out = mostrata;
  for (; p != percorso.end(); ++p) out /= *p;
  return out;
}

}  // namespace

CartellaMostrata::CartellaMostrata(std::filesystem::path lavoro, std::filesystem::path mostrata) {
  g_mostrata.emplace(std::move(lavoro), std::move(mostrata));
}
CartellaMostrata::~CartellaMostrata() { g_mostrata.reset(); }

std::string percorso_mostrato(const std::string& percorso) {
  return sys::path_to_text(come_mostrato(std::filesystem::path(percorso)));
}

void imposta_runtime(forms::Runtime* runtime) { g_runtime = runtime; }
forms::Runtime* runtime() { return g_runtime; }

void mostra_messaggio(const std::string& testo, bool critico) {
  if (g_runtime != nullptr) {
    g_runtime->MsgBox(testo, forms::MsgButtons::OK,
                      critico ? forms::MsgIcon::Critical : forms::MsgIcon::None);
    return;
  }
  std::fprintf(stderr, "%s\n", cp1252::to_utf8(testo).c_str());
}

void imposta_apertura(Apertura apertura) { g_apertura = std::move(apertura); }

// ---------------------------------------------------------------- the document

Documento::Documento(Modello modello) : modello_(std::move(modello)) {}

bool Documento::apri(const std::string& percorso) {
  percorso_ = percorso;
  pdf_.SetProtection(4, std::string(kPasswordProprietario), "");
  pdf_.BeginDoc(percorso);
  const std::int32_t errore = pdf_.ErrNumber();
  if (errore == 52) {
    mostra_messaggio(std::string(kFileAperto));
    return false;
  }
  if (errore != 0) {
    std::string spiegato = messaggio_scrittura(errore, percorso);
    if (spiegato.empty()) {
      // The writer's description ends with the file's name as it was given.
      std::string descrizione = pdf_.ErrDescription();
      if (const std::size_t at = descrizione.rfind(percorso); !percorso.empty() && at != std::string::npos) {
        descrizione.replace(at, percorso.size(), percorso_mostrato(percorso));
      }
      spiegato = pdf_.ErrSource() + " - " + descrizione;
    }
    mostra_messaggio(spiegato, true);
    return false;
  }
  pdf_.SetScale(3, 1);
  pdf_.SetMargins(modello_.sinistro, modello_.destro, modello_.alto, modello_.basso, false);
  w_ = pdf_.GetPageWidth(true);
  return true;
}

void Documento::registra_cornice() {
  const float w = w_;
  const float h = pdf_.GetPageHeight(true);
  pdf_.BeginObject("header_footer", 7);
  pdf_.SetLineWidth(0.01f);
  pdf_.DrawLine(0, 0, w, 0, 0);
  pdf_.DrawLine(0, h, w, h, 0);
  pdf_.SetFont("Arial", 8, 0, 0);
  if (!modello_.titolo.empty()) pdf_.DrawTextBox(0, -1, w, 1, modello_.titolo, 0, 4, 1);
  pdf_.DrawTextBox(0, h, w, 1, "PROGETTO ORTESA 3,   Avviso Pubblico Comune di Vareri", 0, 9, 1);
  pdf_.DrawTextBox(0, pdf_.GetY(), w, 1, modello_.piede, 0, 9, 1);
  pdf_.EndObject();
}

void Documento::numero_pagina() {
  pdf_.SetFont("Arial", 8, 0, 0);
  pdf_.DrawTextBox(w_ - 1, pdf_.GetPageHeight(true), 1, 1, std::to_string(pdf_.GetPage()), 0, 2,
                   1);
}

void Documento::prima_pagina() {
  pdf_.BeginPage();
  switch (modello_.numerazione) {
    case Numerazione::Nessuna:
      break;
    case Numerazione::Domanda:
      numero_pagina();
      break;
    case Numerazione::Quadro:
      numero_pagina();
      pdf_.SetXY(0, 0);
      break;
  }
}

void Documento::nuova_pagina() {
  pdf_.BeginPage();
  switch (modello_.numerazione) {
    case Numerazione::Nessuna:
      pdf_.SetLineWidth(0.01f);
      break;
    case Numerazione::Domanda:
      pdf_.SetLineWidth(0.01f);
      numero_pagina();
      pdf_.SetXY(0, 0);
      break;
    case Numerazione::Quadro:
      numero_pagina();
      pdf_.SetXY(0, 0);
      break;
  }
}

bool Documento::interruzione(float soglia) {
  const float altezza = pdf_.GetPageHeight(true);
  if (pdf_.GetY() > altezza - soglia) {
    nuova_pagina();
    return true;
  }
  return false;
}

float Documento::casella(float x, float y, bool spuntato, int opzioni) {
  pdf_.SetFont("ZapfDingbats", modello_.dimensione_casella, 0, 0);
  const float th = pdf_.TextHeight();
  pdf_.DrawTextBox(x, y, th, th, segno(spuntato), 0, 36, opzioni);
  return th;
}

float Documento::casella_centrata(float x, float y, float larghezza, float altezza,
                                  bool spuntato, int opzioni) {
  pdf_.SetFont("ZapfDingbats", modello_.dimensione_casella, 0, 0);
  const float th = pdf_.TextHeight();
  pdf_.DrawTextBox(x + (larghezza - th) / 2, y + (altezza - th) / 2, th, th, segno(spuntato), 0,
                   36, opzioni);
  return th;
}

void Documento::chiudi(bool apri) {
  pdf_.EndDoc();
  if (!apri) return;
  if (g_apertura) {
    g_apertura(pdf_, percorso_);
  } else if (!sys::open_in_viewer(!percorso_.empty() && percorso_[0] == '-' ? "./" + percorso_ : percorso_)) {
    // No viewer could show it (none installed): the draft is written all
    // the same, and the user must know where.
    mostra_messaggio(messaggio_non_mostrato(percorso_mostrato(percorso_)));
  }
}

std::string messaggio_scrittura(std::int32_t numero, const std::string& percorso) {
  using namespace cp1252::literals;
  const std::filesystem::path file(percorso);
  std::filesystem::path cartella = file.parent_path();
  if (cartella.empty()) cartella = ".";
  const std::string nome_cartella = "\"" + percorso_mostrato(cartella.string()) + "\"";
  const std::string inizio = "Impossibile generare il file \"" + percorso_mostrato(percorso) + "\": ";
  switch (numero) {
    case 61:
      return inizio + u8"il disco è pieno. Liberare spazio nella cartella "_w1252 + nome_cartella + " e riprovare.";
    case 70:
      // The folder refuses new files, or the file itself is read-only.
      if (::access(cartella.c_str(), W_OK | X_OK) != 0 || !sys::file_exists(file)) {
        return inizio + u8"non è permesso scrivere nella cartella "_w1252 + nome_cartella + ".";
      }
      return inizio + u8"il file è di sola lettura."_w1252;
    case 57:
      return inizio + "errore di scrittura sul disco.";
    default:
      return {};
  }
}

std::string messaggio_non_mostrato(const std::string& percorso) {
  using namespace cp1252::literals;
  return u8"Il documento è stato scritto in "_w1252 + percorso +
         u8", ma nessun programma può mostrarlo: installare un lettore di file PDF."_w1252;
}

// ---------------------------------------------------------------- the generator

bool genera(const std::string& percorso, bool apri, const Modello& modello, const Corpo& corpo) {
  Dati dati;
  try {
    dati = Dati::leggi();
  } catch (const ErroreFileDati& e) {
    mostra_messaggio(e.messaggio(), true);
    return false;
  }

  bool aperto = false;
  std::string errore;
  {
    Documento doc(modello);
    try {
      if (!doc.apri(percorso)) return false;
      aperto = true;
      doc.registra_cornice();
      doc.prima_pagina();
      corpo(doc, dati);
      doc.chiudi(apri);
      return true;
    } catch (const pdf::PdfError& e) {
      errore = messaggio_scrittura(e.Number(), percorso);
      if (errore.empty()) errore = "PdfWriter - " + e.Description();
    } catch (const std::exception& e) {
      errore = "PdfWriter - " + std::string(e.what());
    }
  }
  // The writer is gone and its file closed: an unfinished document is no
  // document, so it does not stay behind for the viewer or the output step.
  if (aperto) {
    std::error_code ec;
    const std::filesystem::path file(percorso);
    if (std::filesystem::is_regular_file(file, ec)) std::filesystem::remove(file, ec);
  }
  mostra_messaggio(errore, true);
  return false;
}

}  // namespace sevrina::documenti
