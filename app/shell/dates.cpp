#include "app/shell/dates.h"

#include <cmath>

#include "app/shell/numbers_internal.h"
#include "app/shell/store.h"

namespace sevrina {
namespace {

using numeri::Arrotondamento;
using numeri::Decimale;

bool cifra(char c) { return c >= '0' && c <= '9'; }

// Characters `inizio` (from 1) to inizio + quanti - 1 of `testo`, as the
// original's Mid: what lies beyond the end is simply absent.
std::string_view mid(std::string_view testo, std::size_t inizio, std::size_t quanti) {
  if (inizio - 1 >= testo.size()) return {};
  return testo.substr(inizio - 1, quanti);
}

// A number part of a typed date written as a whole number (rounded as the
// original's Format does, half away from zero) padded with zeros to
// `larghezza`; a part that is not a number is kept; an empty part stays.
std::string parte_data(std::string_view parte, std::size_t larghezza) {
  if (parte.empty()) return {};
  const auto n = leggi_numero(parte);
  if (!n) return std::string(parte);
  Decimale intero = numeri::arrotonda(numeri::esatto(*n), 0, Arrotondamento::LontanoDaZero);
  std::string cifre = intero.cifre;
  if (cifre.size() < larghezza) cifre.insert(0, larghezza - cifre.size(), '0');
  if (*n < 0 && intero.cifre != "0") cifre.insert(0, 1, '-');
  return cifre;
}

// A part of a stored date as a number; nothing when it does not read as one.
std::optional<double> numero_parte(std::string_view parte) { return leggi_numero(parte); }

bool vero_flag(const std::optional<std::string_view>& flag) { return flag && *flag == "S"; }

std::string con_migliaia(std::string_view interi) {
  std::string out;
  out.reserve(interi.size() + interi.size() / 3);
  for (std::size_t i = 0; i < interi.size(); ++i) {
    if (i > 0 && (interi.size() - i) % 3 == 0) out.push_back('.');
    out.push_back(interi[i]);
  }
  return out;
}

// Steps 2 to 7 of formatta_numero; `arrotondato` receives the rounded number
// when `numero` holds one.
std::string formatta(std::optional<double> numero, int decimali,
                     std::optional<std::string_view> migliaia, std::optional<std::string_view> punto,
                     double* arrotondato) {
  if (decimali < 0) decimali = 0;
  if (migliaia && punto && *migliaia == "S" && *punto == "S") migliaia = "N";
  std::string risultato;
  if (!numero || !std::isfinite(*numero)) {
    risultato = "0," + std::string(static_cast<std::size_t>(decimali), '0');
  } else {
    const Decimale r =
        numeri::arrotonda(numeri::esatto(*numero), decimali, Arrotondamento::PariPiuVicino);
    const bool zero = r.cifre.find_first_not_of('0') == std::string::npos;
    const bool negativo = *numero < 0 && !zero;
    if (arrotondato) *arrotondato = numeri::in_double(r.cifre, decimali, negativo).value_or(*numero);
    const std::size_t n_interi = r.cifre.size() - static_cast<std::size_t>(decimali);
    const std::string_view interi = std::string_view(r.cifre).substr(0, n_interi);
    if (negativo) risultato.push_back('-');
    risultato += vero_flag(migliaia) ? con_migliaia(interi) : std::string(interi);
    risultato.push_back(',');
    risultato += r.cifre.substr(n_interi);
  }
  if (!risultato.empty() && risultato.back() == ',') risultato.pop_back();
  if (vero_flag(punto)) {
    for (char& c : risultato) {
      if (c == ',') c = '.';
    }
  }
  return risultato;
}

}  // namespace

// ---------------------------------------------------------------- numbers in text

std::optional<double> leggi_numero(std::string_view testo) {
  testo = togli_spazi(testo);
  std::size_t i = 0;
  bool negativo = false;
  if (i < testo.size() && (testo[i] == '+' || testo[i] == '-')) {
    negativo = testo[i] == '-';
    ++i;
  }
  std::string cifre;
  cifre.reserve(testo.size());
  // Integer part: groups of digits joined by single "." ("1.234.567").
  if (i < testo.size() && cifra(testo[i])) {
    for (;;) {
      while (i < testo.size() && cifra(testo[i])) cifre.push_back(testo[i++]);
      if (i + 1 < testo.size() && testo[i] == '.' && cifra(testo[i + 1])) {
        ++i;
        continue;
      }
      break;
    }
  }
  std::int64_t decimali = 0;
  if (i < testo.size() && testo[i] == ',') {
    ++i;
    while (i < testo.size() && cifra(testo[i])) {
      cifre.push_back(testo[i++]);
      ++decimali;
    }
  }
  if (i != testo.size() || cifre.empty()) return std::nullopt;
  return numeri::in_double(cifre, decimali, negativo);
}

bool e_numero(std::string_view testo) { return leggi_numero(testo).has_value(); }

double numero_o_zero(std::string_view testo) { return leggi_numero(testo).value_or(0.0); }

std::string testo_numero(double valore) {
  if (!std::isfinite(valore) || valore == 0) return "0";
  Decimale r = numeri::arrotonda_significative(numeri::esatto(valore), 15);
  std::string cifre = r.cifre;
  int decimali = r.decimali;
  while (decimali > 0 && cifre.back() == '0') {
    cifre.pop_back();
    --decimali;
  }
  if (cifre.size() < static_cast<std::size_t>(decimali) + 1) {
    cifre.insert(0, static_cast<std::size_t>(decimali) + 1 - cifre.size(), '0');
  }
  std::string out = valore < 0 ? "-" : "";
  const std::size_t n_interi = cifre.size() - static_cast<std::size_t>(decimali);
  out += cifre.substr(0, n_interi);
  if (decimali > 0) out += "," + cifre.substr(n_interi);
  return out;
}

// ---------------------------------------------------------------- dates

std::string data_in_aaaammgg(std::string_view data) {
  std::string_view giorno, resto;
  if (const auto p = data.find('/'); p != std::string_view::npos) {
    giorno = data.substr(0, p);
    resto = data.substr(p + 1);
  }
  std::string mese, anno;
  if (const auto q = resto.find('/'); q != std::string_view::npos) {
    mese = parte_data(resto.substr(0, q), 2);
    anno = parte_data(resto.substr(q + 1), 4);
  } else {
    mese = "00";  // the number 0
    anno = "0000";
  }
  return anno + mese + parte_data(giorno, 2);
}

int controlla_data(std::string_view data) {
  if (!e_numero(data)) return 1;
  const std::string_view parte_anno = mid(data, 1, 4);
  const std::string_view parte_mese = togli_spazi(mid(data, 5, 2));
  const std::string_view parte_giorno = togli_spazi(mid(data, 7, 2));
  // A part that does not read as a number by itself (the original stops
  // with a type error there) makes the date invalid.
  const auto anno = numero_parte(parte_anno);
  if (!anno || *anno < 1800 || *anno > 2100) return 1;
  std::optional<double> giorno, mese;
  if (!parte_giorno.empty()) {
    giorno = numero_parte(parte_giorno);
    if (!giorno || *giorno < 1 || *giorno > 31) return 1;
  }
  if (!parte_mese.empty()) {
    mese = numero_parte(parte_mese);
    if (!mese) return 1;
    if (*mese < 1 || *mese > 12) return 2;
  }
  if (giorno && mese) {
    static constexpr int kGiorni[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int m = static_cast<int>(*mese);  // 1 to 12, whole: two characters
    int giorni = kGiorni[m - 1];
    if (m == 2 && std::fmod(*anno, 4.0) == 0 && *anno != 1900) giorni = 29;
    if (*giorno > giorni) return 1;
  }
  return 0;
}

std::string data_da_aaaammgg(std::string_view data) {
  const std::string_view t = togli_spazi(data);
  if (t.empty() || t == "0" || t == "000000") return {};
  std::string out;
  out += mid(data, 7, 2);
  out += '/';
  out += mid(data, 5, 2);
  out += '/';
  out += mid(data, 1, 4);
  if (data.size() >= 9 && data.size() <= 12) {
    out += ' ';
    out += mid(data, 9, 2);
    out += ':';
    out += mid(data, 11, 2);
  }
  return out;
}

// ---------------------------------------------------------------- amounts

std::string formatta_numero(ValoreNumero& valore, int decimali, std::optional<std::string_view> migliaia,
                            std::optional<std::string_view> punto) {
  std::optional<double> numero;
  if (const auto* d = std::get_if<double>(&valore)) {
    if (std::isfinite(*d)) numero = *d;
  } else {
    numero = leggi_numero(std::get<std::string>(valore));
  }
  double arrotondato = 0;
  std::string r = formatta(numero, decimali, migliaia, punto, &arrotondato);
  if (numero) valore = arrotondato;
  return r;
}

std::string formatta_numero(double& valore, int decimali, std::optional<std::string_view> migliaia,
                            std::optional<std::string_view> punto) {
  std::optional<double> numero;
  if (std::isfinite(valore)) numero = valore;
  double arrotondato = 0;
  std::string r = formatta(numero, decimali, migliaia, punto, &arrotondato);
  if (numero) valore = arrotondato;
  return r;
}

std::string formatta_numero(double&& valore, int decimali, std::optional<std::string_view> migliaia,
                            std::optional<std::string_view> punto) {
  double copia = valore;
  return formatta_numero(copia, decimali, migliaia, punto);
}

std::string formatta_numero(std::string_view valore, int decimali, std::optional<std::string_view> migliaia,
                            std::optional<std::string_view> punto) {
  return formatta(leggi_numero(valore), decimali, migliaia, punto, nullptr);
}

double arrotonda(double valore, int decimali) {
  if (!std::isfinite(valore)) return valore;
  formatta(valore, decimali, std::nullopt, std::nullopt, &valore);
  return valore;
}

}  // namespace sevrina
