#pragma once
// The application form's layout, shared by its two variants (the
// condominium form "sevrina_condomini" and the owner form
// "sevrina_proprietari"): every control with its array name, index,
// container, position and size in twips, text, Tag, MaxLength, TabIndex and
// design-time state. The form builder turns these rows into runtime
// controls; nothing here depends on the forms runtime.
//
// Texts are written in UTF-8 in the source and converted to Windows-1252
// when the controls are built (testo_w1252).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace sevrina::domanda {

enum class Variante { Condomini, Proprietari };

enum class Tipo : std::uint8_t {
  Label,
  TextBox,
  CheckBox,
  OptionButton,
  ComboBox,
  Frame,
  CommandButton,
  VScrollBar,
  Timer,
  Picture,
  Shape,
};

// Which variant a row belongs to.
enum class Per : std::uint8_t { Entrambe, Condomini, Proprietari };

// Fonts: the page's static texts are Arial 12 (the addressee lines 14.25),
// the text boxes and Combo2 Arial 8.25 bold, the headings at the top bold
// 12-point sans-serif.
enum class Stile : std::uint8_t {
  Normale,        // Arial 12
  Grassetto,      // Arial 12 bold
  Destinatario,   // Arial 14.25
  Campo,          // Arial 8.25 bold (text boxes, Combo2)
  Intestazione,   // sans-serif 12 bold, red on white (Label1, Label4)
  Pulsante,       // the buttons' default font
};

enum class Allineamento : std::uint8_t { Sinistra, Destra, Centro };

// Design-time state bits.
enum Stato : std::uint8_t {
  kNessuno = 0,
  kDisabilitato = 1,  // Enabled = False
  kNascosto = 2,      // Visible = False
  kBloccato = 4,      // Locked = True
  kACapo = 8,         // a label whose text wraps within its width
  kBordo = 16,        // a frame or shape drawn with a border
};

inline constexpr std::uint32_t kBianco = 0xFFFFFF;
inline constexpr std::uint32_t kRosso = 0x0000FF;  // &H0000FF
inline constexpr std::uint32_t kNero = 0x000000;

struct Controllo {
  Tipo tipo;
  Per per;
  std::string_view nome;         // "Text1", "Frame2", ...
  int indice;                    // element of a control array, -1 for a single control
  std::string_view contenitore;  // "" = the form, else "Frame1" ... "Frame4"
  int left, top, width, height;  // twips, relative to the container
  std::string_view testo;        // Caption or Text (UTF-8)
  std::string_view tag;          // input type ("" = none)
  int max_length;                // text boxes: 0 = no limit
  int tab_index;                 // -1 for controls outside the Tab order
  std::uint8_t stato;            // Stato bits
  Stile stile;
  Allineamento allineamento;
};

// The rows of one variant, in creation order (containers before their
// contents). Rows marked for the other variant are left out.
std::span<const Controllo> tutti_i_controlli();
bool appartiene(const Controllo& c, Variante v);

// The text of a row in Windows-1252.
std::string testo_w1252(const Controllo& c);

// Window, page and scroll bar.
inline constexpr int kLarghezzaFinestra = 11880;  // client area
inline constexpr int kAltezzaFinestra = 8190;
inline constexpr float kAltezzaPagina = 57000.0f;  // Frame2
inline constexpr int kScrollSmall = 100;
inline constexpr int kScrollLarge = 200;

// Captions and headings of the two variants.
std::string titolo_finestra(Variante v);  // "Sevrina condomini" / "Sevrina proprietari"
std::string_view nome_form(Variante v);   // "sevrina_condomini" / "sevrina_proprietari"

}  // namespace sevrina::domanda
