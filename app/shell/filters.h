#pragma once
// Input types and keystroke filters.
//
// Each text box of the editing forms may name an input type in its Tag; the
// type's filter takes the box and the typed character's code (a
// Windows-1252 byte, 0-255) and returns the code to insert instead, or 0 to
// discard the key. Some filters also edit the box's text, caret or length
// limit. They work on CasellaTesto, the part of a text box's state they read
// and write: the forms runtime copies its box into one, calls the filter
// from its KeyPress handling, and copies the state back (raising Change when
// the text differs) before it applies the returned key.

#include <string>
#include <string_view>

namespace sevrina {

// The state of a text box that a filter sees. Positions count characters
// (Windows-1252 bytes).
struct CasellaTesto {
  std::string text;    // Text
  int sel_start = 0;   // SelStart: characters before the caret
  int sel_length = 0;  // SelLength
  int max_length = 0;  // MaxLength: 0 = no limit
};

// Key codes the filters know.
inline constexpr int kTastoBackspace = 8;
inline constexpr int kTastoInvio = 13;

// The input types, in the order in which a handler tests them.
enum class TipoCampo { Nessuno, MA, MANI, NI, ND1, ND2, ND3, ND4, ND5, ND6, DATA, ORA, TEL, PI };

// The type a Tag names: the Tag in upper case, blanks kept, compared exactly
// with "MA", "MANI", "NI", "ND1".."ND6", "DATA", "ORA", "TEL", "PI" in that
// order. "nd2" is ND2; "ND2 ", "NI2", "" and anything else are Nessuno.
TipoCampo tipo_campo(std::string_view tag);

// The number of decimals of an "ND" type (1 to 6), else 0.
int decimali_campo(TipoCampo tipo);

// ---------------------------------------------------------------- the dispatch

// What a key-press handler does with a key typed into `casella` whose Tag is
// `tag`: Enter (13) reaches no filter and comes back unchanged; otherwise
// the Tag's filter is applied (for "ND1".."ND6" with the Tag's digit as
// decimals); a Tag that names no type leaves the key unchanged. Returns the
// key to use (0 = discard).
int filtra_tasto(std::string_view tag, CasellaTesto& casella, int codice);
int filtra_tasto(TipoCampo tipo, CasellaTesto& casella, int codice);

// ---------------------------------------------------------------- the eight filters
// Every filter lets Backspace (8) through unchanged.

// "MA": letters, turned into capitals (a-z only; accented letters, digits,
// blanks and apostrophes give 0).
int solo_maiuscole(CasellaTesto& casella, int codice);

// "MANI": letters turned into capitals, and digits.
int solo_maiuscole_numeri(CasellaTesto& casella, int codice);

// "NI": digits.
int solo_numeri_interi(CasellaTesto& casella, int codice);

// "PI": digits (the same rule as "NI").
int solo_partita_iva(CasellaTesto& casella, int codice);

// "TEL": digits, "+", blank and "/".
int solo_telefono(CasellaTesto& casella, int codice);

// "ND1".."ND6": a decimal number with a "," and at most `decimali` decimals.
// "," or "." becomes ","; at the caret position 0 it turns the text into
// "0," + text with the caret at 2 and gives 0. The selection is not looked
// at.
int solo_numeri_decimali(CasellaTesto& casella, int decimali, int codice);

// "DATA": a date day/month/year; sets max_length to 10 on every key; "/" and
// digits pass; before judging any other key, when the caret is at the end
// of a text of 2 or 5 characters, "/" is appended and the caret moves to the
// end, unless the text already ends in "/" or holds two (a full box never
// gets a stray "/", and a day or month typed with one digit keeps single
// separators).
int solo_data(CasellaTesto& casella, int codice);

// "ORA": a time hours:minutes; sets max_length to 5 on every key; ":", ","
// and "." become ":"; before judging a digit or other key, when the caret is
// at 2, ":" is appended and the caret moves to the end.
int solo_ora(CasellaTesto& casella, int codice);

}  // namespace sevrina
