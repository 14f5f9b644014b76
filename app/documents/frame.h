#pragma once
// What every document generator shares: the values of the data file, the
// identification paragraph that introduces the applicant, the messages shown
// to the user, and the document frame around one PdfWriter (protection and
// opening, centimetres and margins, the page frame replayed on every page,
// page numbers, check boxes, the page-break test, closing and opening in the
// viewer).
//
// A generator is a fixed sequence of calls on one PdfWriter. It calls
// genera() with its model and its body; genera() reads the data file, opens
// the document, records the frame, begins page 1, runs the body, closes the
// document and opens it when asked. Every failure is shown to the user in
// Italian and makes genera() return false.
//
// All texts are Windows-1252 bytes; lengths are centimetres, from the
// top-left corner of the margin box, y downward.

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "pdf/PdfWriter.h"

namespace forms {
class Runtime;
}

namespace sevrina::documenti {

// ---------------------------------------------------------------- data

// The data file as the generators read it: each key (blanks removed, upper
// case) with its value (blanks removed). For a key found in more than one
// record the later record wins; a key the file does not hold reads as "".
class Dati {
 public:
  Dati() = default;

  // Reads DATI.DAT in the program's folder by the store's reading rule
  // (creating it, empty, when it is missing). Throws ErroreFileDati.
  static Dati leggi();
  // The same over a data file's bytes already in memory.
  static Dati da_contenuto(std::string_view contenuto);

  // The value of `chiave` (upper case, as the file's keys are compared).
  const std::string& operator[](std::string_view chiave) const;
  // A flag: set only when the value is exactly "S".
  bool flag(std::string_view chiave) const;
  // A stored date as "GG/MM/AAAA" ("" for no date).
  std::string data(std::string_view chiave) const;
  // An amount as the documents print it: two decimals, "." between
  // thousands, "," before the decimals; "0,00" for blank or not a number.
  std::string importo(std::string_view chiave) const;

  // Sets a value as a record of the file would (key normalised).
  void imposta(std::string_view chiave, std::string_view valore);

 private:
  std::map<std::string, std::string, std::less<>> valori_;
};

// ---------------------------------------------------------------- the paragraph

// How the application variant of the identification paragraph ends.
enum class Chiusura {
  Condomini,    // "autorizzato alla presente istanza giusta delibera condominiale del ..." CR LF
  Proprietari,  // the delegation sentence, or "." in place of the last blank for a sole owner; CR LF
  Nessuna,      // ends with the municipality and a blank (the cost table)
};

// The application variant (applications and cost table). Values holding CR
// LF keep it.
std::string paragrafo_richiedente(const Dati& d, Chiusura chiusura);

// The declaration variant (sworn declarations): the domicile part only when
// COMUNE_DOMICILIO_RICHIEDENTE is not blank; every CR LF removed.
std::string paragrafo_dichiarante(const Dati& d);

// Whether the applicant type names an owner: not blank and, in upper case,
// containing "PROPRIETARIO" ("dello stabile " rather than "del condominio ").
bool richiedente_proprietario(const Dati& d);

// ---------------------------------------------------------------- messages and viewer

// The forms runtime whose message boxes the generators use. Without one the
// messages are written to the standard error stream.
void imposta_runtime(forms::Runtime* runtime);
forms::Runtime* runtime();

// An OK message box without a title of its own; `critico` adds the critical icon.
void mostra_messaggio(const std::string& testo, bool critico = false);
// What a draft that no program could show tells the user: written, and where.
std::string messaggio_non_mostrato(const std::string& percorso);

// A file's path (the file system's bytes) as the messages show it: as
// Windows-1252 text, with "?" for what the code page cannot show, and with
// the folder given to CartellaMostrata in place of a working folder.
std::string percorso_mostrato(const std::string& percorso);

// While one lives, messages that name `lavoro` or anything in it name
// `mostrata` instead: the output step writes into a working folder that is
// renamed to the output folder, or deleted, before the user could look for
// it.
class CartellaMostrata {
 public:
  CartellaMostrata(std::filesystem::path lavoro, std::filesystem::path mostrata);
  ~CartellaMostrata();
  CartellaMostrata(const CartellaMostrata&) = delete;
  CartellaMostrata& operator=(const CartellaMostrata&) = delete;
};

// The message shown when the output file cannot be opened for writing.
inline constexpr std::string_view kFileAperto =
    "Il file \xE8 aperto, mi \xE8 impossibile generarlo !";

// What the user is told when the writer failed on the file `percorso` with a
// system failure the user can act on, in Italian, naming the file or its
// folder: a full disk (61), a folder or file that may not be written (70), a
// write error (57). Empty for any other number.
std::string messaggio_scrittura(std::int32_t numero, const std::string& percorso);

// Opens a finished document in the desktop's viewer. By default the
// writer's OpenDoc; tests replace it to record the request instead.
using Apertura = std::function<void(pdf::PdfWriter& pdf, const std::string& percorso)>;
void imposta_apertura(Apertura apertura);  // empty: back to the default

// ---------------------------------------------------------------- the document

// After which pages a generator prints the page number and how it goes on
// after a new page.
enum class Numerazione {
  Nessuna,  // sworn declarations: no number; after a break SetLineWidth 0.01 only
  Domanda,  // applications: number on page 1; after a break SetLineWidth 0.01,
            // the number, SetXY(0, 0)
  Quadro,   // cost table: on every page the number, then SetXY(0, 0)
};

// What one document's frame is made of.
struct Modello {
  float sinistro = 2, destro = 2, alto = 2, basso = 2;  // margins, cm
  std::string piede;        // the second footer line
  std::string titolo;       // the title above the top rule; "" for none
  float dimensione_casella = 10;  // ZapfDingbats size of the check boxes
  Numerazione numerazione = Numerazione::Nessuna;
};

// The mark of a check box: ZapfDingbats 56 (a heavy cross) or a blank.
inline const std::string kCroce = "8";
inline const std::string kVuota = " ";
inline const std::string& segno(bool spuntato) { return spuntato ? kCroce : kVuota; }

// One document being written: one PdfWriter with the frame's conventions.
class Documento {
 public:
  explicit Documento(Modello modello);
  Documento(const Documento&) = delete;
  Documento& operator=(const Documento&) = delete;

  // SetProtection(4, owner password, ""), BeginDoc, the error check (the
  // message is shown and false returned on an error), SetScale(3),
  // SetMargins(..., False), W.
  bool apri(const std::string& percorso);
  // The page frame "header_footer", replayed under every page: the two
  // rules, the title (when the model has one) and the two footer lines.
  void registra_cornice();
  // BeginPage for page 1 and what follows it for this model.
  void prima_pagina();
  // BeginPage after page 1 and what follows it for this model.
  void nuova_pagina();
  // The number of the current page, right-aligned at the right end of the
  // first footer line (Arial 8).
  void numero_pagina();
  // The page-break test: when GetY > GetPageHeight(True) - soglia (strictly),
  // begins a new page (nuova_pagina) and returns true.
  bool interruzione(float soglia);
  // A check box in the model's ZapfDingbats size with its top-left corner at
  // (x, y); opzioni 0 frames it, 1 leaves the mark alone. Returns its side.
  float casella(float x, float y, bool spuntato, int opzioni = 0);
  // A check box centred in the cell (x, y, larghezza, altezza).
  float casella_centrata(float x, float y, float larghezza, float altezza, bool spuntato,
                         int opzioni = 0);
  // The y of the next block: GetY + gap.
  float sotto(float gap) const { return pdf_.GetY() + gap; }
  // EndDoc, then, when `apri`, the opening in the viewer.
  void chiudi(bool apri);

  pdf::PdfWriter& pdf() { return pdf_; }
  const Modello& modello() const { return modello_; }
  // The width of the margin box, read once when the document was opened.
  float W() const { return w_; }
  // The height of the margin box, read afresh.
  float H() const { return pdf_.GetPageHeight(true); }
  const std::string& percorso() const { return percorso_; }

 private:
  Modello modello_;
  pdf::PdfWriter pdf_;
  float w_ = 0;
  std::string percorso_;
};

// The owner password of every document.
inline constexpr std::string_view kPasswordProprietario = "ravoduzorude";

// A generator's body: draws the document from page 1 on.
using Corpo = std::function<void(Documento& doc, const Dati& dati)>;

// The whole generator: reads the data file, opens the document, records the
// frame, begins page 1, runs the body, closes, opens the file in the viewer
// when `apri`. A failure (the data file unreadable, the output file not
// writable, the writer failing while drawing) is shown to the user; an
// unfinished output file is removed. True when the document was written.
bool genera(const std::string& percorso, bool apri, const Modello& modello, const Corpo& corpo);

}  // namespace sevrina::documenti
