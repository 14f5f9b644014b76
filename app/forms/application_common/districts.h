#pragma once
// The city's districts ("quartieri") by area and the municipality
// ("municipalità", 1 to 10) each district belongs to. The lists are the
// city's own data and are used exactly as written, in this order.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace sevrina::domanda {

// Area 0, "centro storico urbano".
inline constexpr std::array<std::string_view, 15> kQuartieriCentrali{
    "Arenella",      "Avvocata", "Chiaia",  "Mercato",        "Montecalvario",
    "Pendino",       "Porto",    "Posillipo", "San Carlo all'Arena", "San Ferdinando",
    "San Giuseppe",  "San Lorenzo", "Stella", "Vicaria",       "Vomero",
};

// Areas 1 and 2, "centro storico delle periferie" and "quartiere periferico".
inline constexpr std::array<std::string_view, 15> kQuartieriEsterni{
    "Bagnoli",   "Barra",       "Chiaiano",  "Fuorigrotta",
    "Miano",     "Pianura",     "Piscinola-Marianella", "Poggioreale",
    "Ponticelli", "San Giovanni a Teduccio", "San Pietro a Patierno", "Scampia",
    "Secondigliano", "Soccavo", "Zona Industriale",
};

// The list of an area (0, 1 or 2).
const std::array<std::string_view, 15>& quartieri_area(int area);

// The municipality of a district, matched exactly (case and blanks
// included); nothing for any other text, the empty text among them.
std::optional<int> municipalita(std::string_view quartiere);

// The municipality as the boxes show it: "1".."10", or "" for none.
std::string testo_municipalita(std::string_view quartiere);

}  // namespace sevrina::domanda
