#include "platform/forms/types.h"

#include <cctype>
#include <charconv>

namespace forms {

bool focusable_kind(ControlKind k) {
  switch (k) {
    case ControlKind::TextBox:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::ComboBox:
    case ControlKind::CommandButton:
    case ControlKind::VScrollBar:
    case ControlKind::DriveListBox:
    case ControlKind::DirListBox:
      return true;
    default:
      return false;
  }
}

std::string_view kind_name(ControlKind kind) {
  switch (kind) {
    case ControlKind::TextBox: return "TextBox";
    case ControlKind::Label: return "Label";
    case ControlKind::CheckBox: return "CheckBox";
    case ControlKind::OptionButton: return "OptionButton";
    case ControlKind::ComboBox: return "ComboBox";
    case ControlKind::Frame: return "Frame";
    case ControlKind::CommandButton: return "CommandButton";
    case ControlKind::VScrollBar: return "VScrollBar";
    case ControlKind::Timer: return "Timer";
    case ControlKind::PictureBox: return "PictureBox";
    case ControlKind::Shape: return "Shape";
    case ControlKind::Line: return "Line";
    case ControlKind::DriveListBox: return "DriveListBox";
    case ControlKind::DirListBox: return "DirListBox";
  }
  return "?";
}

namespace {

std::optional<KeyStroke> named_key(std::string_view name) {
  std::string upper;
  for (char c : name) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  auto ch = [](int code) { return KeyStroke{KeyStroke::Type::Char, code, NavKey::Left}; };
  auto nav = [](NavKey k) { return KeyStroke{KeyStroke::Type::Nav, 0, k}; };
  if (upper == "TAB") return KeyStroke{KeyStroke::Type::Tab, 0, NavKey::Left};
  if (upper == "ENTER") return ch(kKeyEnter);
  if (upper == "BS" || upper == "BKSP" || upper == "BACKSPACE") return ch(kKeyBackspace);
  if (upper == "ESC") return ch(kKeyEscape);
  if (upper == "DEL" || upper == "DELETE") return nav(NavKey::Delete);
  if (upper == "LEFT") return nav(NavKey::Left);
  if (upper == "RIGHT") return nav(NavKey::Right);
  if (upper == "UP") return nav(NavKey::Up);
  if (upper == "DOWN") return nav(NavKey::Down);
  if (upper == "HOME") return nav(NavKey::Home);
  if (upper == "END") return nav(NavKey::End);
  if (upper == "PGUP") return nav(NavKey::PageUp);
  if (upper == "PGDN") return nav(NavKey::PageDown);
  if (upper == "{") return ch('{');
  if (upper == "}") return ch('}');
  if (upper == "+") return ch('+');
  return std::nullopt;
}

}  // namespace

std::optional<std::vector<KeyStroke>> parse_keys(std::string_view keys) {
  std::vector<KeyStroke> out;
  std::size_t i = 0;
  while (i < keys.size()) {
    bool shift = false;
    if (keys[i] == '+' && i + 1 < keys.size() && keys[i + 1] == '{') {
      shift = true;
      ++i;
    }
    if (keys[i] != '{') {
      out.push_back(KeyStroke{KeyStroke::Type::Char, static_cast<unsigned char>(keys[i]), NavKey::Left});
      ++i;
      continue;
    }
    // A brace name; "{}}" names the closing brace itself.
    std::size_t close = keys.find('}', i + 2);
    if (i + 1 < keys.size() && keys[i + 1] == '}') close = i + 2 < keys.size() && keys[i + 2] == '}' ? i + 2 : std::string_view::npos;
    if (close == std::string_view::npos) return std::nullopt;
    std::string_view body = keys.substr(i + 1, close - i - 1);
    int repeat = 1;
    if (auto blank = body.rfind(' '); blank != std::string_view::npos && blank > 0) {
      std::string_view count = body.substr(blank + 1);
      auto [p, ec] = std::from_chars(count.data(), count.data() + count.size(), repeat);
      if (ec != std::errc() || p != count.data() + count.size() || repeat < 0 || repeat > 1000) {
        return std::nullopt;
      }
      body = body.substr(0, blank);
    }
    auto key = named_key(body);
    if (!key) return std::nullopt;
    if (shift) {
      if (key->type != KeyStroke::Type::Tab) return std::nullopt;
      key->type = KeyStroke::Type::BackTab;
    }
    for (int r = 0; r < repeat; ++r) out.push_back(*key);
    i = close + 1;
  }
  return out;
}

}  // namespace forms
