#pragma once
// The fields every editing form has: date boxes that show the placeholder
// "gg/mm/aaaa" for "no date", and text boxes whose keystrokes go through
// their Tag's filter and move on when the box is full.

#include <string>
#include <string_view>

#include "platform/forms/forms.h"

namespace sevrina::modifica {

// What an empty date box shows, and what stands for "no date" (stored "0").
inline constexpr std::string_view kSegnaposto = "gg/mm/aaaa";

// Whether a box shows the date placeholder: its text, upper-cased and
// stripped of surrounding blanks, is "GG/MM/AAAA".
bool mostra_segnaposto(std::string_view testo);

// A date box's text as a save uses it.
struct DataSalvata {
  std::string valore;  // what is stored: the converted digits, or "0"
  bool data = false;   // a date is given (a number other than 0)
  bool errata = false; // given and invalid, or text that is no date at all
};

// Converts a date box's text. The untouched placeholder means "no date".
// Any other text that does not convert would otherwise be stored silently
// as "no date": it is marked wrong, as an invalid date is.
DataSalvata converti_data(const std::string& testo);

// Shows a stored date in its box: the placeholder for "0", otherwise the
// date as dd/mm/yyyy (through imposta_testo, so a change raises Change).
void mostra_data(forms::TextBox& casella, std::string_view valore);

// Whether the stored date `data` (yyyymmdd digits) is later than the
// application's date "DATA" in the data file; a missing, non-numeric or 0
// date on either side never is. Reads the data file (ErroreFileDati).
bool posteriore_alla_domanda(std::string_view data);

// An amount as stored: the text without its thousands dots.
std::string senza_punti(std::string testo);

// A text box taking the focus: the date placeholder is cleared, and the box
// turns the focus colour.
void evidenzia_casella(forms::TextBox& casella);

// The focus colours of an array's elements: light cyan with the focus,
// white without.
template <class C>
void colori_di_fuoco(forms::ControlArray<C>& serie) {
  serie.OnGotFocus([&serie](int Index) { serie[Index].SetBackColor(forms::kLightCyan); });
  serie.OnLostFocus([&serie](int Index) { serie[Index].SetBackColor(forms::kWhite); });
}

// The usual keystroke of a text box: the Tag's filter runs on the key, then
// a full box moves on, whatever the filter made of the key (Backspace
// excepted), unless its whole text is selected and will be replaced. A box
// without a length limit never moves on.
void filtra_e_avanza(forms::Form& form, forms::TextBox& casella, int& KeyAscii);

}  // namespace sevrina::modifica
