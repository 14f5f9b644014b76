#pragma once
// Small value types shared by the forms runtime, its forms, the headless test
// driver and the Qt view.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

// A 24-bit colour written &HBBGGRR: blue in the high byte, red in the low.
using Color = std::uint32_t;

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kBlack = 0x000000;
constexpr Color kLightCyan = 0xFFFFC0;  // the focus colour of the editing forms
constexpr Color kYellow = 0x00FFFF;
constexpr Color kRed = 0x0000FF;
constexpr Color kButtonFace = 0xC0C0C0;  // default background of buttons and frames
constexpr Color kWindowBackground = 0xFFFFFF;  // default background of text boxes
constexpr Color kFormBackground = 0xC0C0C0;  // default background of forms

// Positions and sizes are in twips: 1/1440 inch, 15 twips per pixel at 96 dpi.
constexpr int kTwipsPerPixel = 15;

// Key codes the runtime understands as Windows-1252 characters.
constexpr int kKeyBackspace = 8;
constexpr int kKeyTab = 9;
constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeySpace = 32;

// Keys without a character code: caret and list movement, Delete.
enum class NavKey { Left, Right, Up, Down, Home, End, PageUp, PageDown, Delete };

struct FontSpec {
  std::string Name = "MS Sans Serif";
  float Size = 8.25f;  // points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// The values of the original Alignment property: 0 left, 1 right, 2 centre.
enum class Alignment { Left = 0, Right = 1, Center = 2 };

enum class ControlKind {
  TextBox,
  Label,
  CheckBox,
  OptionButton,
  ComboBox,  // drop-down list: a choice from the list only
  Frame,
  CommandButton,
  VScrollBar,
  Timer,
  PictureBox,
  Shape,
  Line,
  DriveListBox,
  DirListBox,
};

std::string_view kind_name(ControlKind kind);

// Whether controls of this kind can take the focus (and so start with a Tab
// stop); labels, frames, timers, pictures, shapes and lines never do.
bool focusable_kind(ControlKind kind);

enum class ShowMode { Modeless = 0, Modal = 1 };

// Why a form is being unloaded, as Form_QueryUnload receives it.
enum class UnloadMode {
  CloseBox = 0,  // the user closed the window
  Code = 1,      // Unload called by the program
  AppEnd = 2,    // the program ends
};

// Message boxes: OK or Yes/No, no icon or the critical icon; the first
// button is always the default one.
enum class MsgButtons { OK, YesNo };
enum class MsgIcon { None, Critical };
// Cancel: a Yes/No question closed without an answer (Escape, or the
// box's own close button).
enum class MsgResult { OK = 1, Cancel = 2, Yes = 6, No = 7 };

struct MessageBoxRequest {
  std::string text;       // Windows-1252
  MsgButtons buttons = MsgButtons::OK;
  MsgIcon icon = MsgIcon::None;
  std::string title;      // the box's own title, or the application title
  bool own_title = false; // whether the caller gave a title of its own
  MsgResult default_button = MsgResult::OK;  // the first button
};

// One step of a key sequence written in the simulated-keystroke notation:
// plain characters stand for themselves (Windows-1252 bytes), and
// "{TAB}", "+{TAB}" (Shift+Tab), "{ENTER}", "{BS}", "{DEL}", "{LEFT}",
// "{RIGHT}", "{UP}", "{DOWN}", "{HOME}", "{END}", "{PGUP}", "{PGDN}",
// "{{}" and "{}}" name the other keys. "{TAB 2}" repeats a key.
struct KeyStroke {
  enum class Type { Char, Tab, BackTab, Nav } type = Type::Char;
  int code = 0;             // for Char: the key code (8 Backspace, 13 Enter)
  NavKey nav = NavKey::Left; // for Nav
  friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

// Parses a key sequence; nothing when a brace name is unknown or unclosed.
std::optional<std::vector<KeyStroke>> parse_keys(std::string_view keys);

// What changed, as the view is told of it.
enum class Property {
  Text,        // a text box's text, a combo box's selected text
  Caption,
  Selection,   // a text box's SelStart / SelLength
  Value,       // check box, option button, scroll bar
  ListIndex,
  List,        // items added or removed
  Geometry,    // Left, Top, Width, Height (form: also its client size)
  Visible,
  Enabled,
  Locked,
  TabOrder,    // TabIndex, TabStop
  BackColor,
  ForeColor,
  Font,
  Alignment,
  Border,      // BorderStyle, BackStyle, BorderColor, BorderWidth
  Range,       // Min, Max, SmallChange, LargeChange
  Interval,
  Picture,
  Container,
  Path,        // drive and directory lists
  MaxLength,
  Tag,
};

}  // namespace forms
