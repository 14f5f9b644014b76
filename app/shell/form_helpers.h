#pragma once
// The form and field helpers every window uses: centring a window on the
// screen, filling a field from a stored value, focusing a field with its
// text selected, selecting a combo box entry by its text; and the bridge
// between a text box and the keystroke filters.

#include <optional>
#include <string>

#include "platform/forms/forms.h"

namespace sevrina {

// Places the window in the middle of the screen: half the screen's size
// minus half the window's outer size (borders and title bar included), in
// single precision, without clamping (a window larger than the screen gets
// a negative position). Called at the start of every window's Form_Load.
void centra_form(forms::Form& frm);

// Fills a field from a stored value: a value that is not null and not blank
// is written exactly as passed (its blanks kept); otherwise the field is
// emptied. Writing a text that differs raises the field's Change. For a
// combo box, the entry equal to the value (ignoring case) is selected, and
// nothing when the value matches none.
void imposta_testo(forms::TextBox& casella, const std::optional<std::string>& valore);
void imposta_testo(forms::ComboBox& casella, const std::optional<std::string>& valore);

// Puts the focus on the control when it is enabled and visible (and its
// form is shown), and, whatever became of the focus, selects the whole text
// of a text box whose name contains "Text".
void seleziona_campo(forms::Control& casella);

// Clears the combo box's selection, then selects the first entry whose text,
// in upper case without surrounding blanks, equals `valore` taken the same
// way. A null value leaves it with no selection. Selecting raises Click.
void seleziona_combo(forms::ComboBox& combo, const std::optional<std::string>& valore);

// Runs the keystroke filter that the box's Tag names on a key typed into the
// box, as a KeyPress handler does: the filter sees the box's text, caret,
// selection and length limit and may change them (a changed text raises
// Change); returns the key to use (0 = discard).
int filtra_tasto_casella(forms::TextBox& casella, int codice);

}  // namespace sevrina
