#include "app/forms/application_common/districts.h"

#include <utility>

namespace sevrina::domanda {

namespace {

struct Voce {
  std::string_view quartiere;
  int municipalita;
};

constexpr std::array<Voce, 30> kMunicipalita{{
    {"Chiaia", 1},
    {"Posillipo", 1},
    {"San Ferdinando", 1},
    {"Avvocata", 2},
    {"Mercato", 2},
    {"Montecalvario", 2},
    {"Pendino", 2},
    {"Porto", 2},
    {"San Giuseppe", 2},
    {"San Carlo all'Arena", 3},
    {"Stella", 3},
    {"Poggioreale", 4},
    {"San Lorenzo", 4},
    {"Vicaria", 4},
    {"Zona Industriale", 4},
    {"Arenella", 5},
    {"Vomero", 5},
    {"Barra", 6},
    {"Ponticelli", 6},
    {"San Giovanni a Teduccio", 6},
    {"Miano", 7},
    {"San Pietro a Patierno", 7},
    {"Secondigliano", 7},
    {"Chiaiano", 8},
    {"Piscinola-Marianella", 8},
    {"Scampia", 8},
    {"Pianura", 9},
    {"Soccavo", 9},
    {"Bagnoli", 10},
    {"Fuorigrotta", 10},
}};

}  // namespace

const std::array<std::string_view, 15>& quartieri_area(int area) {
  return area == 0 ? kQuartieriCentrali : kQuartieriEsterni;
}

std::optional<int> municipalita(std::string_view quartiere) {
  for (const auto& v : kMunicipalita) {
    if (v.quartiere == quartiere) return v.municipalita;
  }
  return std::nullopt;
}

std::string testo_municipalita(std::string_view quartiere) {
  const auto m = municipalita(quartiere);
  return m ? std::to_string(*m) : std::string();
}

}  // namespace sevrina::domanda
