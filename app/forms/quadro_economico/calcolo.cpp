#include "app/forms/quadro_economico/calcolo.h"

#include <algorithm>
#include <stdexcept>

#include "app/shell/dates.h"
#include "app/shell/store.h"

namespace sevrina::quadro {

namespace {

double leggi(const Foglio& f, Serie s, int i) { return leggi_importo(f.testo(s, i)); }

// The limit of base plus premium: the upper one only when the band above
// 30.000 m3 is chosen and the other is not; no band chosen keeps the lower.
double limite(const Foglio& f) {
  return f.fascia(1) && !f.fascia(0) ? kLimiteSuperiore : kLimiteInferiore;
}

// 30 % of the intervention total, held to the limit (a base equal to the
// limit is the limit).
double contributo_base(double totale, double limite_massimo) {
  double base = totale * 30 / 100;
  if (!(base < limite_massimo)) base = limite_massimo;
  return base;
}

}  // namespace

int elementi(Serie s) {
  switch (s) {
    case Serie::Text5:
    case Serie::Text6:
      return 8;
    case Serie::Text8:
      return 14;
    default:
      return 4;
  }
}

double leggi_importo(std::string_view testo) {
  std::string senza_punti(togli_spazi(testo));
  senza_punti.erase(std::remove(senza_punti.begin(), senza_punti.end(), '.'), senza_punti.end());
  if (senza_punti.empty()) return 0;
  return numero_o_zero(senza_punti);
}

std::string importo(double& valore) { return formatta_numero(valore, 2, "S"); }

void importi_netti(Foglio& f) {
  double netto_a = leggi(f, Serie::Text2, 0);
  double netto_b = leggi(f, Serie::Text2, 1);
  double netto_c = leggi(f, Serie::Text2, 2);

  double totale_netto = netto_b + netto_a + netto_c;
  f.scrivi(Serie::Text2, 3, importo(totale_netto));

  double lordo_a = netto_a * 1.1;
  double lordo_b = netto_b * 1.1;
  double lordo_c = netto_c * 1.2;
  const std::string testo_a = importo(lordo_a);  // each rounded before it is used again
  const std::string testo_b = importo(lordo_b);
  const std::string testo_c = importo(lordo_c);
  f.scrivi(Serie::Text4, 0, testo_a);
  f.scrivi(Serie::Text4, 1, testo_b);
  f.scrivi(Serie::Text4, 2, testo_c);
  double totale_lordo = lordo_b + lordo_a + lordo_c;
  f.scrivi(Serie::Text4, 3, importo(totale_lordo));

  // The VAT is what the rounded gross adds to the net, never net x rate.
  double iva_a = lordo_a - netto_a;
  double iva_b = lordo_b - netto_b;
  double iva_c = lordo_c - netto_c;
  const std::string iva_testo_a = importo(iva_a);
  const std::string iva_testo_b = importo(iva_b);
  const std::string iva_testo_c = importo(iva_c);
  f.scrivi(Serie::Text3, 0, iva_testo_a);
  f.scrivi(Serie::Text3, 1, iva_testo_b);
  f.scrivi(Serie::Text3, 2, iva_testo_c);
  double totale_iva = iva_b + iva_a + iva_c;
  f.scrivi(Serie::Text3, 3, importo(totale_iva));

  check_campo5(f);
  calcola_campi_otto(f);
}

void check_campo5(Foglio& f) {
  std::array<double, 7> categorie{};
  double somma = 0;
  for (int k = 0; k < 7; ++k) {
    categorie[static_cast<std::size_t>(k)] = leggi(f, Serie::Text5, k);
    somma += categorie[static_cast<std::size_t>(k)];
  }
  const double netto = leggi(f, Serie::Text2, 3);

  if (arrotonda(netto, 2) == arrotonda(somma, 2)) {
    f.scrivi(Serie::Text5, 7, importo(somma));  // the sum is now rounded
    if (somma != 0) {
      for (int k = 0; k < 7; ++k) {
        f.scrivi(Serie::Text6, k, formatta_numero(categorie[static_cast<std::size_t>(k)] / somma * 100, 2));
      }
    } else {
      for (int k = 0; k < elementi(Serie::Text6); ++k) f.scrivi(Serie::Text6, k, "0");
    }
  } else {
    for (int k = 0; k < elementi(Serie::Text6); ++k) f.scrivi(Serie::Text6, k, "0");
    f.scrivi(Serie::Text5, 7, std::string(kVerificareImporti));
  }
}

void calcola_campi_otto(Foglio& f) {
  const double netto = leggi(f, Serie::Text2, 3);
  std::array<double, 4> stimati{};
  for (int j = 0; j < 4; ++j) stimati[static_cast<std::size_t>(j)] = leggi(f, Serie::Text7, j);

  const double lordo = leggi(f, Serie::Text4, 3);
  // The caps, compared unrounded: COSAP, general expenses, surveys on the
  // net total; contingencies on the gross total.
  const std::array<double, 4> massimi{netto * 4 / 100, netto * 12 / 100, netto * 4 / 100, lordo * 8 / 100};
  for (int j = 0; j < 4; ++j) {
    const auto u = static_cast<std::size_t>(j);
    double ammesso = massimi[u] < stimati[u] ? massimi[u] : stimati[u];
    f.scrivi(Serie::Text8, j, importo(ammesso));
  }

  const double a0 = leggi(f, Serie::Text8, 0);
  const double a1 = leggi(f, Serie::Text8, 1);
  const double a2 = leggi(f, Serie::Text8, 2);
  const double a3 = leggi(f, Serie::Text8, 3);
  double totale = (((a0 + lordo) + a1) + a2) + a3;
  const std::string totale_testo = importo(totale);
  f.scrivi(Serie::Text8, 4, totale_testo);
  f.scrivi(Serie::Text8, 8, totale_testo);

  double base = contributo_base(totale, limite(f));
  const std::string base_testo = importo(base);
  f.scrivi(Serie::Text8, 5, base_testo);
  f.scrivi(Serie::Text8, 9, base_testo);
}

void calcola_CONTRIBUTO_AMMESSO_AL_FINANZIAMENTO(Foglio& f) {
  const double totale = leggi(f, Serie::Text8, 4);
  f.scrivi(Serie::Text8, 8, f.testo(Serie::Text8, 4));

  double punti = 0;
  for (int i = 0; i < 6; ++i) {
    if (f.criterio(i)) punti += kPesiPremiali[static_cast<std::size_t>(i)];
  }
  if (punti > kMassimoPremiale) punti = kMassimoPremiale;
  f.scrivi(Serie::Text8, 6, importo(punti));

  double premio = punti * totale / 100;
  const std::string premio_testo = importo(premio);
  f.scrivi(Serie::Text8, 7, premio_testo);
  f.scrivi(Serie::Text8, 10, premio_testo);

  double accessorio = 0;
  if (f.libretto(0)) {
    accessorio = totale * 3 / 100;
    if (accessorio > kMassimoAccessorio) accessorio = kMassimoAccessorio;
  }
  f.scrivi(Serie::Text8, 11, importo(accessorio));  // now rounded

  const double massimo = limite(f);
  double base = contributo_base(totale, massimo);
  const std::string base_testo = importo(base);
  f.scrivi(Serie::Text8, 5, base_testo);
  f.scrivi(Serie::Text8, 9, base_testo);

  const double base_letta = leggi(f, Serie::Text8, 9);
  const double premio_letto = leggi(f, Serie::Text8, 10);
  const double somma = arrotonda(base_letta + premio_letto, 2);
  double ammesso = somma < massimo ? somma : massimo;
  if (f.libretto(0)) ammesso += accessorio;  // added once, whatever the band
  f.scrivi(Serie::Text8, 12, importo(ammesso));  // now rounded

  double percentuale = totale == 0 ? 0 : ammesso / totale * 100;
  f.scrivi(Serie::Text8, 13, importo(percentuale));
}

void ricalcola(Foglio& f) {
  importi_netti(f);  // steps 1, 2 and 3
  calcola_CONTRIBUTO_AMMESSO_AL_FINANZIAMENTO(f);
}

FoglioSemplice::FoglioSemplice() = default;

std::string FoglioSemplice::testo(Serie serie, int indice) const {
  if (indice < 0 || indice >= elementi(serie)) throw std::out_of_range("campo inesistente");
  return testi_[static_cast<std::size_t>(serie)][static_cast<std::size_t>(indice)];
}

void FoglioSemplice::scrivi(Serie serie, int indice, const std::string& testo) {
  if (indice < 0 || indice >= elementi(serie)) throw std::out_of_range("campo inesistente");
  testi_[static_cast<std::size_t>(serie)][static_cast<std::size_t>(indice)] = testo;
}

}  // namespace sevrina::quadro
