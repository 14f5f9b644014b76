#include "app/shell/filters.h"

#include <algorithm>

#include <array>
#include <utility>

#include "app/shell/store.h"

namespace sevrina {
namespace {

constexpr int kVirgola = 44;
constexpr int kPunto = 46;
constexpr int kBarra = 47;
constexpr int kDuePunti = 58;
constexpr int kSpazio = 32;
constexpr int kPiu = 43;

bool e_cifra(int c) { return c >= '0' && c <= '9'; }
bool e_minuscola(int c) { return c >= 'a' && c <= 'z'; }
bool e_maiuscola(int c) { return c >= 'A' && c <= 'Z'; }

int lunghezza(const CasellaTesto& c) { return static_cast<int>(c.text.size()); }

// Text written by code: the caret goes to the end with no selection, as the
// original's `casella.Text = ...` followed by `casella.SelStart = Len(...)`.
void aggiungi_in_fondo(CasellaTesto& c, char separatore) {
  c.text.push_back(separatore);
  c.sel_start = lunghezza(c);
  c.sel_length = 0;
}

constexpr std::array<std::pair<std::string_view, TipoCampo>, 13> kTipi = {{
    {"MA", TipoCampo::MA},
    {"MANI", TipoCampo::MANI},
    {"NI", TipoCampo::NI},
    {"ND1", TipoCampo::ND1},
    {"ND2", TipoCampo::ND2},
    {"ND3", TipoCampo::ND3},
    {"ND4", TipoCampo::ND4},
    {"ND5", TipoCampo::ND5},
    {"ND6", TipoCampo::ND6},
    {"DATA", TipoCampo::DATA},
    {"ORA", TipoCampo::ORA},
    {"TEL", TipoCampo::TEL},
    {"PI", TipoCampo::PI},
}};

}  // namespace

TipoCampo tipo_campo(std::string_view tag) {
  const std::string maiuscolo = maiuscole(tag);
  for (const auto& [nome, tipo] : kTipi) {
    if (maiuscolo == nome) return tipo;
  }
  return TipoCampo::Nessuno;
}

int decimali_campo(TipoCampo tipo) {
  switch (tipo) {
    case TipoCampo::ND1: return 1;
    case TipoCampo::ND2: return 2;
    case TipoCampo::ND3: return 3;
    case TipoCampo::ND4: return 4;
    case TipoCampo::ND5: return 5;
    case TipoCampo::ND6: return 6;
    default: return 0;
  }
}

int filtra_tasto(std::string_view tag, CasellaTesto& casella, int codice) {
  return filtra_tasto(tipo_campo(tag), casella, codice);
}

int filtra_tasto(TipoCampo tipo, CasellaTesto& casella, int codice) {
  if (codice == kTastoInvio) return codice;  // the form's own business
  switch (tipo) {
    case TipoCampo::Nessuno: return codice;
    case TipoCampo::MA: return solo_maiuscole(casella, codice);
    case TipoCampo::MANI: return solo_maiuscole_numeri(casella, codice);
    case TipoCampo::NI: return solo_numeri_interi(casella, codice);
    case TipoCampo::ND1:
    case TipoCampo::ND2:
    case TipoCampo::ND3:
    case TipoCampo::ND4:
    case TipoCampo::ND5:
    case TipoCampo::ND6: return solo_numeri_decimali(casella, decimali_campo(tipo), codice);
    case TipoCampo::DATA: return solo_data(casella, codice);
    case TipoCampo::ORA: return solo_ora(casella, codice);
    case TipoCampo::TEL: return solo_telefono(casella, codice);
    case TipoCampo::PI: return solo_partita_iva(casella, codice);
  }
  return codice;
}

int solo_maiuscole(CasellaTesto&, int codice) {
  if (codice == kTastoBackspace) return codice;
  if (e_minuscola(codice)) codice -= 32;
  return e_maiuscola(codice) ? codice : 0;
}

int solo_maiuscole_numeri(CasellaTesto&, int codice) {
  if (codice == kTastoBackspace) return codice;
  if (e_minuscola(codice)) codice -= 32;
  return e_cifra(codice) || e_maiuscola(codice) ? codice : 0;
}

int solo_numeri_interi(CasellaTesto&, int codice) {
  return codice == kTastoBackspace || e_cifra(codice) ? codice : 0;
}

int solo_partita_iva(CasellaTesto& casella, int codice) { return solo_numeri_interi(casella, codice); }

int solo_telefono(CasellaTesto&, int codice) {
  if (codice == kTastoBackspace || codice == kPiu || codice == kSpazio || codice == kBarra ||
      e_cifra(codice)) {
    return codice;
  }
  return 0;
}

int solo_numeri_decimali(CasellaTesto& casella, int decimali, int codice) {
  if (codice == kTastoBackspace) return codice;
  const auto virgola = casella.text.find(',');
  const bool ha_virgola = virgola != std::string::npos;
  if (codice == kVirgola || codice == kPunto) {
    if (ha_virgola) return 0;
    if (casella.sel_start == 0) {
      // The text is written by code (a selected text stays, unreplaced, and
      // the selection ends), then the caret is put after the comma.
      casella.text.insert(0, "0,");
      casella.sel_start = 2;
      casella.sel_length = 0;
      return 0;
    }
    return kVirgola;
  }
  if (!e_cifra(codice)) return 0;
  if (!ha_virgola) return codice;
  const int posizione_virgola = static_cast<int>(virgola) + 1;  // from 1
  const int dopo_virgola = lunghezza(casella) - posizione_virgola;
  if (casella.sel_start >= posizione_virgola && dopo_virgola >= decimali) return 0;
  return codice;
}

int solo_data(CasellaTesto& casella, int codice) {
  if (casella.max_length != 10) casella.max_length = 10;
  if (codice == kTastoBackspace || codice == kBarra) return codice;
  // The separator goes in only at the end of a text of 2 or 5 characters,
  // never into a full or partly typed box elsewhere (a full box would gain a
  // stray "/" and the savers would store the date as missing), and never
  // where the user's own separators already stand: after a "/", or once the
  // text holds both ("1/2/2008" stays a date).
  const int n = lunghezza(casella);
  const auto barre = std::count(casella.text.begin(), casella.text.end(), '/');
  if (casella.sel_start == n && (n == 2 || n == 5) && casella.text.back() != '/' && barre < 2) {
    aggiungi_in_fondo(casella, '/');
  }
  return e_cifra(codice) ? codice : 0;
}

int solo_ora(CasellaTesto& casella, int codice) {
  if (casella.max_length != 5) casella.max_length = 5;
  if (codice == kTastoBackspace) return codice;
  if (codice == kDuePunti || codice == kVirgola || codice == kPunto) return kDuePunti;
  if (casella.sel_start == 2) aggiungi_in_fondo(casella, ':');
  return e_cifra(codice) ? codice : 0;
}

}  // namespace sevrina
