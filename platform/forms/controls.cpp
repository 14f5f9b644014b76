#include "platform/forms/controls.h"

#include <algorithm>
#include <stdexcept>

#include "platform/forms/form.h"
#include "platform/forms/runtime.h"
#include "platform/system/system.h"
#include "platform/text/cp1252.h"

namespace forms {

namespace {

Color default_back_color(ControlKind k) {
  switch (k) {
    case ControlKind::TextBox:
    case ControlKind::ComboBox:
    case ControlKind::DriveListBox:
    case ControlKind::DirListBox:
      return kWindowBackground;
    default:
      return kButtonFace;
  }
}

bool equal_ignoring_case(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (cp1252::to_upper(static_cast<unsigned char>(a[i])) !=
        cp1252::to_upper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

// ---- Control -------------------------------------------------------------

Control::Control(ControlKind kind, Form* form, std::string name)
    : kind_(kind), form_(form), own_group_(std::make_unique<ControlGroup>(std::move(name))) {
  group_ = own_group_.get();
  tab_stop_ = focusable_kind(kind);
  back_color_ = default_back_color(kind);
  form_->register_control(this);
}

Control::Control(ControlKind kind, Form* form, ControlGroup* group, int index)
    : kind_(kind), form_(form), group_(group), index_(index) {
  tab_stop_ = focusable_kind(kind);
  back_color_ = default_back_color(kind);
  form_->register_control(this);
}

Control::~Control() { form_->unregister_control(this); }

std::string Control::FullName() const {
  if (index_ < 0) return Name();
  return Name() + "(" + std::to_string(index_) + ")";
}

void Control::SetContainer(Control& frame) {
  if (&frame.Parent() != form_) throw std::invalid_argument(FullName() + ": container on another form");
  if (frame.Kind() != ControlKind::Frame && frame.Kind() != ControlKind::PictureBox) {
    throw std::invalid_argument(FullName() + ": container must be a frame or picture");
  }
  for (Control* c = &frame; c; c = c->container_) {
    if (c == this) throw std::invalid_argument(FullName() + ": container cycle");
  }
  if (container_ == &frame) return;
  container_ = &frame;
  changed(Property::Container);
}

void Control::SetLeft(float v) {
  if (left_ == v) return;
  left_ = v;
  changed(Property::Geometry);
}
void Control::SetTop(float v) {
  if (top_ == v) return;
  top_ = v;
  changed(Property::Geometry);
}
void Control::SetWidth(float v) {
  if (width_ == v || v < 0) return;
  width_ = v;
  changed(Property::Geometry);
}
void Control::SetHeight(float v) {
  if (height_ == v || v < 0) return;
  height_ = v;
  changed(Property::Geometry);
}
void Control::Move(float left, float top, float width, float height) {
  left_ = left;
  top_ = top;
  if (width >= 0) width_ = width;
  if (height >= 0) height_ = height;
  changed(Property::Geometry);
}

void Control::SetVisible(bool v) {
  if (visible_ == v) return;
  visible_ = v;
  changed(Property::Visible);
}
void Control::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  changed(Property::Enabled);
}
void Control::SetTabIndex(int v) {
  if (tab_index_ == v || v < 0) return;
  tab_index_ = v;
  changed(Property::TabOrder);
}
void Control::SetTabStop(bool v) {
  if (tab_stop_ == v) return;
  tab_stop_ = v;
  changed(Property::TabOrder);
}
void Control::SetTag(std::string v) {
  if (tag_ == v) return;
  tag_ = std::move(v);
  changed(Property::Tag);
}
void Control::SetBackColor(Color v) {
  v &= 0xFFFFFF;
  if (back_color_ == v) return;
  back_color_ = v;
  changed(Property::BackColor);
}
void Control::SetForeColor(Color v) {
  v &= 0xFFFFFF;
  if (fore_color_ == v) return;
  fore_color_ = v;
  changed(Property::ForeColor);
}
void Control::SetFont(const FontSpec& v) {
  if (font_ == v) return;
  font_ = v;
  changed(Property::Font);
}
void Control::SetFontBold(bool v) {
  FontSpec f = font_;
  f.Bold = v;
  SetFont(f);
}
void Control::SetFontItalic(bool v) {
  FontSpec f = font_;
  f.Italic = v;
  SetFont(f);
}
void Control::SetFontSize(float v) {
  FontSpec f = font_;
  f.Size = v;
  SetFont(f);
}
void Control::SetFontName(std::string v) {
  FontSpec f = font_;
  f.Name = std::move(v);
  SetFont(f);
}
void Control::SetAlignment(Alignment v) {
  if (alignment_ == v) return;
  alignment_ = v;
  changed(Property::Alignment);
}
void Control::SetBorderStyle(int v) {
  if (border_style_ == v) return;
  border_style_ = v;
  changed(Property::Border);
}

void Control::SetFocus() { runtime().set_focus(*this); }
bool Control::CanTakeFocus() const { return runtime().control_takes_focus(*this); }
bool Control::HasFocus() const { return form_->ActiveControl() == this && form_->Visible(); }

bool Control::EffectivelyVisible() const {
  for (const Control* c = this; c; c = c->container_) {
    if (!c->visible_) return false;
  }
  return true;
}
bool Control::EffectivelyEnabled() const {
  for (const Control* c = this; c; c = c->container_) {
    if (!c->enabled_) return false;
  }
  return true;
}

void Control::OnClick(std::function<void()> f) {
  group_->handlers().Click = [f = std::move(f)](int) { f(); };
}
void Control::OnChange(std::function<void()> f) {
  group_->handlers().Change = [f = std::move(f)](int) { f(); };
}
void Control::OnGotFocus(std::function<void()> f) {
  group_->handlers().GotFocus = [f = std::move(f)](int) { f(); };
}
void Control::OnLostFocus(std::function<void()> f) {
  group_->handlers().LostFocus = [f = std::move(f)](int) { f(); };
}
void Control::OnTimer(std::function<void()> f) {
  group_->handlers().Timer = [f = std::move(f)](int) { f(); };
}
void Control::OnKeyPress(std::function<void(int& KeyAscii)> f) {
  group_->handlers().KeyPress = [f = std::move(f)](int, int& k) { f(k); };
}

Runtime& Control::runtime() const { return form_->App(); }

bool Control::events_enabled() const { return form_->Loaded() && !form_->App().Ended(); }

void Control::changed(Property p) {
  if (form_->Loaded()) runtime().notify_control(*this, p);
}

namespace {
template <class H, class... A>
void call(Control& c, const H& handler, A&&... args) {
  if (!handler) return;
  H copy = handler;  // the handler may replace itself
  Runtime::EventScope scope(c.Parent().App());
  copy(c.Index(), std::forward<A>(args)...);
}
}  // namespace

void Control::raise_click() {
  if (events_enabled()) call(*this, group_->handlers().Click);
}
void Control::raise_change() {
  if (events_enabled()) call(*this, group_->handlers().Change);
}
void Control::raise_got_focus() {
  if (events_enabled()) call(*this, group_->handlers().GotFocus);
}
void Control::raise_lost_focus() {
  if (events_enabled()) call(*this, group_->handlers().LostFocus);
}
void Control::raise_timer() {
  if (events_enabled()) call(*this, group_->handlers().Timer);
}
void Control::raise_key_press(int& key) {
  if (events_enabled()) call(*this, group_->handlers().KeyPress, key);
}

// ---- CaptionedControl -------------------------------------------------------

void CaptionedControl::SetCaption(std::string v) {
  if (caption_ == v) return;
  caption_ = std::move(v);
  changed(Property::Caption);
}

char CaptionedControl::AccessKey() const {
  for (std::size_t i = 0; i + 1 < caption_.size(); ++i) {
    if (caption_[i] != '&') continue;
    if (caption_[i + 1] == '&') {
      ++i;
      continue;
    }
    unsigned char c = static_cast<unsigned char>(caption_[i + 1]);
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
    return static_cast<char>(c);
  }
  return 0;
}

// ---- TextBox ---------------------------------------------------------------

TextBox::TextBox(Form* form, std::string name) : Control(ControlKind::TextBox, form, std::move(name)) {}
TextBox::TextBox(Form* form, ControlGroup* group, int index)
    : Control(ControlKind::TextBox, form, group, index) {}

void TextBox::SetText(std::string v) {
  if (v == text_) return;
  text_ = std::move(v);
  sel_start_ = 0;
  sel_length_ = 0;
  changed(Property::Text);
  changed(Property::Selection);
  raise_change();
}

void TextBox::SetMaxLength(int v) {
  if (v < 0 || v == max_length_) return;
  max_length_ = v;
  changed(Property::MaxLength);
}

void TextBox::SetSelStart(int v) {
  int len = static_cast<int>(text_.size());
  v = std::clamp(v, 0, len);
  if (v == sel_start_ && sel_length_ == 0) return;
  sel_start_ = v;
  sel_length_ = 0;
  changed(Property::Selection);
}

void TextBox::SetSelLength(int v) {
  int len = static_cast<int>(text_.size());
  sel_start_ = std::clamp(sel_start_, 0, len);
  v = std::clamp(v, 0, len - sel_start_);
  if (v == sel_length_) return;
  sel_length_ = v;
  changed(Property::Selection);
}

std::string TextBox::SelText() const {
  int len = static_cast<int>(text_.size());
  int s = std::clamp(sel_start_, 0, len);
  int l = std::clamp(sel_length_, 0, len - s);
  return text_.substr(static_cast<std::size_t>(s), static_cast<std::size_t>(l));
}

void TextBox::SetLocked(bool v) {
  if (locked_ == v) return;
  locked_ = v;
  changed(Property::Locked);
}

// ---- Label -----------------------------------------------------------------

Label::Label(Form* form, std::string name) : CaptionedControl(ControlKind::Label, form, std::move(name)) {}
Label::Label(Form* form, ControlGroup* group, int index)
    : CaptionedControl(ControlKind::Label, form, group, index) {}

void Label::SetBackStyle(int v) {
  if (back_style_ == v) return;
  back_style_ = v;
  changed(Property::Border);
}
void Label::SetWordWrap(bool v) {
  if (word_wrap_ == v) return;
  word_wrap_ = v;
  changed(Property::Border);
}

// ---- CheckBox --------------------------------------------------------------

CheckBox::CheckBox(Form* form, std::string name)
    : CaptionedControl(ControlKind::CheckBox, form, std::move(name)) {}
CheckBox::CheckBox(Form* form, ControlGroup* group, int index)
    : CaptionedControl(ControlKind::CheckBox, form, group, index) {}

void CheckBox::SetValue(int v) {
  if (v < 0 || v > 2 || v == value_) return;
  value_ = v;
  changed(Property::Value);
  raise_click();
}

// ---- OptionButton ----------------------------------------------------------

OptionButton::OptionButton(Form* form, std::string name)
    : CaptionedControl(ControlKind::OptionButton, form, std::move(name)) {}
OptionButton::OptionButton(Form* form, ControlGroup* group, int index)
    : CaptionedControl(ControlKind::OptionButton, form, group, index) {}

std::vector<OptionButton*> OptionButton::GroupMembers() const {
  std::vector<OptionButton*> out;
  for (Control* c : Parent().Controls()) {
    if (c->Kind() == ControlKind::OptionButton && c->Container() == Container()) {
      out.push_back(static_cast<OptionButton*>(c));
    }
  }
  std::stable_sort(out.begin(), out.end(), [](const OptionButton* a, const OptionButton* b) {
    if (a->TabIndex() != b->TabIndex()) return a->TabIndex() < b->TabIndex();
    return a->creation_order() < b->creation_order();
  });
  return out;
}

void OptionButton::SetValue(bool v) {
  if (v == value_) return;
  if (v) {
    for (OptionButton* other : GroupMembers()) {
      if (other != this && other->value_) {
        other->value_ = false;
        other->changed(Property::Value);
      }
    }
    value_ = true;
    changed(Property::Value);
    raise_click();
  } else {
    value_ = false;
    changed(Property::Value);
  }
}

// ---- ComboBox --------------------------------------------------------------

ComboBox::ComboBox(Form* form, std::string name) : Control(ControlKind::ComboBox, form, std::move(name)) {}
ComboBox::ComboBox(Form* form, ControlGroup* group, int index)
    : Control(ControlKind::ComboBox, form, group, index) {}

void ComboBox::AddItem(std::string item, int index) {
  if (index < -1 || index > ListCount()) return;
  if (index == -1) index = ListCount();
  items_.insert(items_.begin() + index, std::move(item));
  if (list_index_ >= index) ++list_index_;
  changed(Property::List);
}

void ComboBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return;
  items_.erase(items_.begin() + index);
  if (list_index_ == index) {
    list_index_ = -1;
    changed(Property::ListIndex);
  } else if (list_index_ > index) {
    --list_index_;
  }
  changed(Property::List);
}

void ComboBox::Clear() {
  if (items_.empty() && list_index_ == -1) return;
  items_.clear();
  list_index_ = -1;
  changed(Property::List);
  changed(Property::ListIndex);
}

const std::string& ComboBox::List(int index) const {
  static const std::string empty;
  if (index < 0 || index >= ListCount()) return empty;
  return items_[static_cast<std::size_t>(index)];
}

void ComboBox::SetListIndex(int v) {
  if (v < -1 || v >= ListCount() || v == list_index_) return;
  list_index_ = v;
  changed(Property::ListIndex);
  changed(Property::Text);
  raise_click();
}

const std::string& ComboBox::Text() const { return List(list_index_); }

bool ComboBox::SetText(const std::string& v) {
  if (v.empty()) {
    SetListIndex(-1);
    return true;
  }
  for (int i = 0; i < ListCount(); ++i) {
    if (equal_ignoring_case(items_[static_cast<std::size_t>(i)], v)) {
      SetListIndex(i);
      return true;
    }
  }
  return false;
}

// ---- Frame, CommandButton ----------------------------------------------------

Frame::Frame(Form* form, std::string name) : CaptionedControl(ControlKind::Frame, form, std::move(name)) {}
Frame::Frame(Form* form, ControlGroup* group, int index)
    : CaptionedControl(ControlKind::Frame, form, group, index) {}

CommandButton::CommandButton(Form* form, std::string name)
    : CaptionedControl(ControlKind::CommandButton, form, std::move(name)) {}
CommandButton::CommandButton(Form* form, ControlGroup* group, int index)
    : CaptionedControl(ControlKind::CommandButton, form, group, index) {}

// ---- VScrollBar ------------------------------------------------------------

VScrollBar::VScrollBar(Form* form, std::string name)
    : Control(ControlKind::VScrollBar, form, std::move(name)) {}
VScrollBar::VScrollBar(Form* form, ControlGroup* group, int index)
    : Control(ControlKind::VScrollBar, form, group, index) {}

void VScrollBar::clamp_value() {
  int lo = std::min(min_, max_);
  int hi = std::max(min_, max_);
  int v = std::clamp(value_, lo, hi);
  if (v == value_) return;
  value_ = v;
  changed(Property::Value);
  raise_change();
}

void VScrollBar::SetMin(int v) {
  if (v == min_) return;
  min_ = v;
  changed(Property::Range);
  clamp_value();
}
void VScrollBar::SetMax(int v) {
  if (v == max_) return;
  max_ = v;
  changed(Property::Range);
  clamp_value();
}
void VScrollBar::SetValue(int v) {
  if (v < std::min(min_, max_) || v > std::max(min_, max_) || v == value_) return;
  value_ = v;
  changed(Property::Value);
  raise_change();
}
void VScrollBar::SetSmallChange(int v) {
  if (v < 0 || v == small_change_) return;
  small_change_ = v;
  changed(Property::Range);
}
void VScrollBar::SetLargeChange(int v) {
  if (v < 0 || v == large_change_) return;
  large_change_ = v;
  changed(Property::Range);
}
void VScrollBar::SetWheelChange(int v) { wheel_change_ = std::max(0, v); }

// ---- Timer, PictureBox, Shape, Line -----------------------------------------

Timer::Timer(Form* form, std::string name) : Control(ControlKind::Timer, form, std::move(name)) {}
Timer::Timer(Form* form, ControlGroup* group, int index) : Control(ControlKind::Timer, form, group, index) {}

void Timer::SetInterval(int ms) {
  if (ms < 0 || ms == interval_) return;
  interval_ = ms;
  changed(Property::Interval);
}

bool Timer::Armed() const {
  return Enabled() && interval_ > 0 && Parent().Loaded() && Parent().Visible() && !Parent().App().Ended();
}

PictureBox::PictureBox(Form* form, std::string name)
    : Control(ControlKind::PictureBox, form, std::move(name)) {}
PictureBox::PictureBox(Form* form, ControlGroup* group, int index)
    : Control(ControlKind::PictureBox, form, group, index) {}

void PictureBox::SetPicture(std::string bytes) {
  picture_ = std::move(bytes);
  changed(Property::Picture);
}

Shape::Shape(Form* form, std::string name) : Control(ControlKind::Shape, form, std::move(name)) {}
Shape::Shape(Form* form, ControlGroup* group, int index) : Control(ControlKind::Shape, form, group, index) {}

void Shape::SetBorderColor(Color v) {
  border_color_ = v & 0xFFFFFF;
  changed(Property::Border);
}
void Shape::SetBorderWidth(int v) {
  if (v < 0) return;
  border_width_ = v;
  changed(Property::Border);
}
void Shape::SetBackStyle(int v) {
  back_style_ = v;
  changed(Property::Border);
}

Line::Line(Form* form, std::string name) : Control(ControlKind::Line, form, std::move(name)) {}
Line::Line(Form* form, ControlGroup* group, int index) : Control(ControlKind::Line, form, group, index) {}

void Line::SetPoints(float x1, float y1, float x2, float y2) {
  x1_ = x1;
  y1_ = y1;
  x2_ = x2;
  y2_ = y2;
  changed(Property::Geometry);
}
void Line::SetBorderColor(Color v) {
  border_color_ = v & 0xFFFFFF;
  changed(Property::Border);
}
void Line::SetBorderWidth(int v) {
  if (v < 0) return;
  border_width_ = v;
  changed(Property::Border);
}

// ---- DriveListBox ------------------------------------------------------------

DriveListBox::DriveListBox(Form* form, std::string name)
    : Control(ControlKind::DriveListBox, form, std::move(name)) {
  Refresh();
}
DriveListBox::DriveListBox(Form* form, ControlGroup* group, int index)
    : Control(ControlKind::DriveListBox, form, group, index) {
  Refresh();
}

void DriveListBox::Refresh() {
  std::vector<Entry> entries;
  for (const auto& m : sys::mounted_file_systems()) {
    entries.push_back(Entry{sys::path_to_text(m.mount_point), m.mount_point});
  }
  SetEntriesForTest(std::move(entries));
}

void DriveListBox::SetEntriesForTest(std::vector<Entry> entries) {
  std::filesystem::path current = Drive();
  entries_ = std::move(entries);
  list_index_ = -1;
  for (int i = 0; i < ListCount(); ++i) {
    if (!current.empty() && entries_[static_cast<std::size_t>(i)].root == current) list_index_ = i;
  }
  changed(Property::List);
}

std::filesystem::path DriveListBox::Drive() const {
  if (list_index_ < 0 || list_index_ >= ListCount()) return {};
  return entries_[static_cast<std::size_t>(list_index_)].root;
}

bool DriveListBox::SetDrive(const std::filesystem::path& path) {
  std::vector<sys::MountedFileSystem> mounts;
  for (const auto& e : entries_) mounts.push_back(sys::MountedFileSystem{e.root, "", ""});
  std::filesystem::path root = sys::mount_point_of(path, mounts);
  for (int i = 0; i < ListCount(); ++i) {
    if (!root.empty() && entries_[static_cast<std::size_t>(i)].root == root) {
      SetListIndex(i);
      return true;
    }
  }
  return false;
}

void DriveListBox::SetListIndex(int v) {
  if (v < -1 || v >= ListCount() || v == list_index_) return;
  list_index_ = v;
  changed(Property::Path);
  raise_change();
}

// ---- DirListBox --------------------------------------------------------------

DirListBox::DirListBox(Form* form, std::string name)
    : Control(ControlKind::DirListBox, form, std::move(name)) {}
DirListBox::DirListBox(Form* form, ControlGroup* group, int index)
    : Control(ControlKind::DirListBox, form, group, index) {}

bool DirListBox::SetPath(const std::filesystem::path& p) {
  if (p.empty() || !sys::folder_exists(p)) return false;
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(p, ec);
  if (ec) return false;
  full = full.lexically_normal();
  if (full.has_filename() == false && full != full.root_path()) full = full.parent_path();
  if (full == path_) return true;
  path_ = full;
  Refresh();
  changed(Property::Path);
  raise_change();
  return true;
}

void DirListBox::Refresh() {
  entries_.clear();
  last_error_.clear();
  if (path_.empty()) {
    changed(Property::List);
    return;
  }
  std::filesystem::path prefix;
  int depth = 0;
  for (const auto& part : path_) {
    if (part.empty()) continue;
    prefix /= part;
    Entry e;
    e.path = prefix;
    e.label = prefix == prefix.root_path() ? sys::path_to_text(prefix) : sys::path_to_text(part);
    e.depth = depth++;
    e.open = true;
    entries_.push_back(std::move(e));
  }
  if (!entries_.empty()) entries_.back().current = true;
  std::vector<std::filesystem::path> subs;
  auto r = sys::subfolders(path_, subs);
  if (!r) last_error_ = r.message;
  for (const auto& s : subs) {
    Entry e;
    e.path = s;
    e.label = sys::path_to_text(s.filename());
    e.depth = depth;
    entries_.push_back(std::move(e));
  }
  changed(Property::List);
}

}  // namespace forms
