#include "platform/forms/runtime.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

#include "platform/system/system.h"

namespace forms {

namespace {

using Key = std::pair<int, int>;
Key tab_key(const Control* c) { return {c->TabIndex(), c->creation_order()}; }

unsigned char upper_ascii_w1252(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  return c;
}

}  // namespace

// ---- EventScope --------------------------------------------------------------

Runtime::EventScope::EventScope(Runtime& rt) : rt_(rt) { ++rt_.depth_; }

Runtime::EventScope::~EventScope() {
  if (--rt_.depth_ == 0) rt_.finish_event();
}

void Runtime::finish_event() {
  if (draining_) return;
  draining_ = true;
  drain();
  draining_ = false;
  if (loop_nesting_ == 0) {
    // Forms unloaded during the event are released only now, when no
    // handler of theirs can still be running.
    auto dying = std::move(dying_);
    dying_.clear();
    dying.clear();
  }
  if (loaded_.empty() && ever_loaded_ && !end_notified_) ended_notify();
}

void Runtime::drain() {
  while (!key_queue_.empty() && !ended_) {
    KeyStroke k = key_queue_.front();
    key_queue_.erase(key_queue_.begin());
    EventScope scope(*this);
    run_keystroke(k);
  }
}

void Runtime::run_keystroke(const KeyStroke& k) {
  Form* f = ActiveForm();
  if (!f || !AcceptsInput(*f)) return;
  switch (k.type) {
    case KeyStroke::Type::Tab: tab_from(*f, false); break;
    case KeyStroke::Type::BackTab: tab_from(*f, true); break;
    case KeyStroke::Type::Char:
      if (k.code == kKeyTab) {
        tab_from(*f, false);
      } else if (Control* c = f->ActiveControl()) {
        key_to(*c, k.code);
      }
      break;
    case KeyStroke::Type::Nav:
      if (Control* c = f->ActiveControl()) nav_to(*c, k.nav, false);
      break;
  }
}

// ---- construction and services ---------------------------------------------------

Runtime::Runtime() = default;

Runtime::~Runtime() {
  // Forms go first; they may still point at the runtime.
  auto loaded = std::move(loaded_);
  auto dying = std::move(dying_);
  for (auto& f : loaded) f->loaded_ = false;
  loaded.clear();
  dying.clear();
}

void Runtime::SetEventLoop(EventLoop* loop) { loop_ = loop; }
void Runtime::SetMessageBoxes(MessageBoxes* boxes) { boxes_ = boxes; }
void Runtime::AddObserver(Observer* o) {
  if (o && std::find(observers_.begin(), observers_.end(), o) == observers_.end()) observers_.push_back(o);
}
void Runtime::RemoveObserver(Observer* o) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), o), observers_.end());
}

std::string Runtime::Path() const { return sys::path_to_text(sys::program_folder()); }

void Runtime::SetScreenSize(float width_twips, float height_twips) {
  screen_width_ = width_twips;
  screen_height_ = height_twips;
}

void Runtime::SetFrameMetrics(float border, float title_bar) {
  frame_border_ = border;
  title_bar_ = title_bar;
}

template <class Fn>
void Runtime::for_observers(Fn fn) {
  auto copy = observers_;
  for (Observer* o : copy) {
    if (std::find(observers_.begin(), observers_.end(), o) != observers_.end()) fn(*o);
  }
}

void Runtime::notify_control(Control& c, Property p) {
  for_observers([&](Observer& o) { o.control_changed(c, p); });
}
void Runtime::notify_form(Form& f, Property p) {
  for_observers([&](Observer& o) { o.form_changed(f, p); });
}

void Runtime::ended_notify() {
  end_notified_ = true;
  for_observers([&](Observer& o) { o.program_ended(); });
}

// ---- forms -----------------------------------------------------------------------

void Runtime::load(const std::shared_ptr<Form>& form) {
  if (!form || ended_ || form->loaded_) return;
  EventScope scope(*this);
  form->loaded_ = true;
  loaded_.push_back(form);
  ever_loaded_ = true;
  end_notified_ = false;
  for_observers([&](Observer& o) { o.form_loaded(*form); });
  form->Form_Load();
}

Form* Runtime::FindForm(std::string_view name) const {
  for (const auto& f : loaded_) {
    if (f->Name() == name) return f.get();
  }
  return nullptr;
}

std::vector<Form*> Runtime::Forms() const {
  std::vector<Form*> out;
  for (const auto& f : loaded_) out.push_back(f.get());
  return out;
}

Form* Runtime::ActiveForm() const {
  if (!modal_stack_.empty()) return modal_stack_.back();
  if (active_form_ && active_form_->loaded_ && active_form_->visible_) return active_form_;
  for (auto it = loaded_.rbegin(); it != loaded_.rend(); ++it) {
    if ((*it)->visible_) return it->get();
  }
  return nullptr;
}

Control* Runtime::FocusedControl() const {
  Form* f = ActiveForm();
  return f ? f->active_ : nullptr;
}

bool Runtime::AcceptsInput(const Form& form) const {
  if (ended_ || !form.loaded_ || !form.visible_) return false;
  return modal_stack_.empty() || modal_stack_.back() == &form;
}

void Runtime::show_form(Form& f, ShowMode mode) {
  if (ended_) return;
  EventScope scope(*this);
  if (!f.loaded_) {
    load(f.shared_from_this());
    if (!f.loaded_ || ended_) return;
  }
  auto keep = f.shared_from_this();
  if (mode == ShowMode::Modal && (f.modal_ || f.visible_)) {
    // Already on screen: a form cannot become modal afterwards.
    active_form_ = &f;
    return;
  }
  bool was_visible = f.visible_;
  f.visible_ = true;
  if (modal_stack_.empty() || mode == ShowMode::Modal) active_form_ = &f;
  if (mode == ShowMode::Modal) {
    f.modal_ = true;
    modal_stack_.push_back(&f);
  }
  if (!was_visible) {
    for_observers([&](Observer& o) { o.form_shown(f, mode); });
    f.changed(Property::Visible);
  }
  if (!f.active_) {
    auto stops = tab_stops(f);
    if (!stops.empty()) set_focus(*stops.front());
  }
  if (mode != ShowMode::Modal) return;

  // A modal Show returns only when the form is closed.
  // Inside the modal loop every event is an outermost one again: its
  // queued keys run when it finishes.
  int saved_depth = depth_;
  bool saved_draining = draining_;
  depth_ = 0;
  draining_ = false;
  ++loop_nesting_;
  auto done = [this, &f] { return !f.loaded_ || !f.visible_ || ended_; };
  if (!done() && loop_) loop_->run_until(&f, done);
  --loop_nesting_;
  depth_ = saved_depth;
  draining_ = saved_draining;
  f.modal_ = false;
  modal_stack_.erase(std::remove(modal_stack_.begin(), modal_stack_.end(), &f), modal_stack_.end());
}

void Runtime::hide_form(Form& f) {
  if (!f.visible_) return;
  f.visible_ = false;
  modal_stack_.erase(std::remove(modal_stack_.begin(), modal_stack_.end(), &f), modal_stack_.end());
  if (active_form_ == &f) active_form_ = nullptr;
  if (f.loaded_) {
    for_observers([&](Observer& o) { o.form_hidden(f); });
    f.changed(Property::Visible);
  }
}

bool Runtime::unload_form(Form& f, UnloadMode mode) {
  if (!f.loaded_) return true;
  if (f.unloading_) return false;
  EventScope scope(*this);
  auto keep = f.shared_from_this();
  if (mode != UnloadMode::AppEnd) {
    f.unloading_ = true;
    int cancel = 0;
    f.Form_QueryUnload(cancel, mode);
    if (cancel == 0 && f.loaded_) f.Form_Unload(cancel);
    f.unloading_ = false;
    if (cancel != 0 || !f.loaded_) return !f.loaded_;
  }
  // Stop the timers first, so that the view drops them.
  for (Control* c : f.controls_) {
    if (c->Kind() == ControlKind::Timer) c->SetEnabled(false);
  }
  hide_form(f);
  f.loaded_ = false;
  f.modal_ = false;
  f.active_ = nullptr;
  f.active_got_focus_ = false;
  auto it = std::find(loaded_.begin(), loaded_.end(), keep);
  if (it != loaded_.end()) loaded_.erase(it);
  dying_.push_back(keep);
  for_observers([&](Observer& o) { o.form_unloaded(f); });
  return true;
}

void Runtime::Run() {
  if (!loop_) return;
  loop_->run_until(nullptr, [this] { return ProgramOver(); });
}

bool Runtime::ProgramOver() const {
  // A handler may unload the last form and then load the next one (the
  // menu unloads itself before it shows the chosen form): only when the
  // outermost event has finished does "no form left" end the program.
  return ended_ || (loaded_.empty() && depth_ == 0);
}

void Runtime::End() {
  if (ended_) return;
  ended_ = true;
  key_queue_.clear();
  auto forms = loaded_;
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) unload_form(**it, UnloadMode::AppEnd);
  modal_stack_.clear();
  active_form_ = nullptr;
  if (!end_notified_) ended_notify();
}

// ---- message boxes and keys ------------------------------------------------------

MsgResult Runtime::MsgBox(std::string text, MsgButtons buttons, MsgIcon icon,
                          std::optional<std::string> title) {
  MessageBoxRequest r;
  r.text = std::move(text);
  r.buttons = buttons;
  r.icon = icon;
  r.own_title = title.has_value();
  r.title = title ? *title : title_;
  r.default_button = buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::OK;
  if (ended_ || !boxes_) return r.default_button;
  MsgResult answer = boxes_->show(r);
  if (buttons == MsgButtons::OK) return MsgResult::OK;
  // A question closed without an answer (Escape, its close box) says so:
  // the caller must not take it for No.
  if (answer == MsgResult::No || answer == MsgResult::Cancel) return answer;
  return MsgResult::Yes;
}

bool Runtime::SendKeys(std::string_view keys) {
  auto parsed = parse_keys(keys);
  if (!parsed) return false;
  if (ended_) return true;
  key_queue_.insert(key_queue_.end(), parsed->begin(), parsed->end());
  if (depth_ == 0) finish_event();
  return true;
}

// ---- focus and tab order -----------------------------------------------------------

bool Runtime::control_takes_focus(const Control& c) const {
  const Form& f = c.Parent();
  return focusable_kind(c.Kind()) && f.loaded_ && f.visible_ && c.EffectivelyVisible() &&
         c.EffectivelyEnabled();
}

std::vector<Control*> Runtime::tab_stops(const Form& f) const {
  std::vector<Control*> all;
  for (Control* c : f.controls_) {
    if (c->TabStop() && focusable_kind(c->Kind()) && c->EffectivelyVisible() && c->EffectivelyEnabled()) {
      all.push_back(c);
    }
  }
  std::stable_sort(all.begin(), all.end(),
                   [](const Control* a, const Control* b) { return tab_key(a) < tab_key(b); });
  // One stop per option group (the buttons of one container): the selected
  // button, or the first in order when none is selected.
  std::vector<Control*> out;
  for (Control* c : all) {
    if (c->Kind() != ControlKind::OptionButton) {
      out.push_back(c);
      continue;
    }
    auto* o = static_cast<OptionButton*>(c);
    bool any_selected = false;
    Control* first = nullptr;
    for (Control* m : all) {
      if (m->Kind() != ControlKind::OptionButton || m->Container() != o->Container()) continue;
      if (!first) first = m;
      if (static_cast<OptionButton*>(m)->Value()) any_selected = true;
    }
    if (o->Value() || (!any_selected && first == o)) out.push_back(c);
  }
  return out;
}

void Runtime::set_focus(Control& c) {
  Form& f = c.Parent();
  if (ended_ || !control_takes_focus(c)) return;
  Control* old = f.active_;
  if (old == &c) return;
  EventScope scope(*this);
  // A control that a LostFocus handler passed over never had the focus:
  // it gets no LostFocus either.
  bool old_had_focus = f.active_got_focus_;
  f.active_ = &c;
  f.active_got_focus_ = false;
  for_observers([&](Observer& o) { o.focus_changed(f, old, &c); });
  if (old && old_had_focus) old->raise_lost_focus();
  if (f.active_ == &c) {
    f.active_got_focus_ = true;
    c.raise_got_focus();
  }
}

void Runtime::tab_from(Form& f, bool backwards) {
  auto stops = tab_stops(f);
  if (stops.empty()) return;
  Control* cur = f.active_;
  Control* next = nullptr;
  auto pos = std::find(stops.begin(), stops.end(), cur);
  if (pos != stops.end()) {
    std::size_t i = static_cast<std::size_t>(pos - stops.begin());
    std::size_t n = stops.size();
    next = stops[backwards ? (i + n - 1) % n : (i + 1) % n];
  } else if (!cur) {
    next = backwards ? stops.back() : stops.front();
  } else {
    // The focused control is no stop (disabled since, an unselected option
    // button): continue from its place in the order.
    Key k = tab_key(cur);
    if (!backwards) {
      next = stops.front();
      for (Control* s : stops) {
        if (tab_key(s) > k) {
          next = s;
          break;
        }
      }
    } else {
      next = stops.back();
      for (auto it = stops.rbegin(); it != stops.rend(); ++it) {
        if (tab_key(*it) < k) {
          next = *it;
          break;
        }
      }
    }
  }
  if (!next || next == cur) return;
  set_focus(*next);
  // A text box entered with Tab (the user's or a simulated one) has its
  // whole text selected, as the system's edit boxes do: a typed key
  // replaces it. A click keeps the caret where the mouse put it.
  if (next->Kind() == ControlKind::TextBox && f.active_ == next) {
    auto* box = static_cast<TextBox*>(next);
    box->SetSelStart(0);
    box->SetSelLength(static_cast<int>(box->Text().size()));
  }
}

// ---- the user's input ----------------------------------------------------------------

namespace {

// The edit a typed key makes in a text box: the new text and caret, or
// nothing when the box refuses the key.
std::optional<std::pair<std::string, int>> typed_edit(const TextBox& box, int key) {
  if (box.Locked()) return std::nullopt;
  const std::string& text = box.Text();
  int len = static_cast<int>(text.size());
  int s = std::clamp(box.SelStart(), 0, len);
  int l = std::clamp(box.SelLength(), 0, len - s);
  std::string t = text;
  int caret = s;
  if (key == kKeyBackspace) {
    if (l > 0) {
      t.erase(static_cast<std::size_t>(s), static_cast<std::size_t>(l));
    } else if (s > 0) {
      t.erase(static_cast<std::size_t>(s - 1), 1);
      caret = s - 1;
    } else {
      return std::nullopt;
    }
  } else if (key < 32 || key == 127) {
    return std::nullopt;  // Enter and the other control codes insert nothing
  } else {
    int max = box.MaxLength();
    if (l > 0) {
      if (max != 0 && len - l + 1 > max) return std::nullopt;
      t.replace(static_cast<std::size_t>(s), static_cast<std::size_t>(l), 1, static_cast<char>(key));
    } else {
      if (max != 0 && len >= max) return std::nullopt;
      t.insert(static_cast<std::size_t>(s), 1, static_cast<char>(key));
    }
    caret = s + 1;
  }
  return std::make_pair(std::move(t), caret);
}

}  // namespace

bool Runtime::key_to(Control& c, int code) {
  if (code < 0 || code > 255) return false;
  if (!c.EffectivelyEnabled() || !c.EffectivelyVisible()) return false;
  int key = code;
  c.raise_key_press(key);
  if (key == 0 || !c.Parent().loaded_ || ended_) return true;
  if (key < 0 || key > 255) return true;
  switch (c.Kind()) {
    case ControlKind::TextBox:
      if (auto edit = typed_edit(static_cast<TextBox&>(c), key)) {
        commit_text(static_cast<TextBox&>(c), std::move(edit->first), edit->second);
      }
      break;
    case ControlKind::CheckBox: {
      auto& box = static_cast<CheckBox&>(c);
      if (key == kKeySpace) box.SetValue(box.Value() == 1 ? 0 : 1);
      break;
    }
    case ControlKind::OptionButton:
      if (key == kKeySpace) static_cast<OptionButton&>(c).SetValue(true);
      break;
    case ControlKind::CommandButton:
      if (key == kKeyEnter || key == kKeySpace) c.raise_click();
      break;
    case ControlKind::ComboBox: {
      // A character selects the next entry that starts with it.
      auto& combo = static_cast<ComboBox&>(c);
      if (key < 32 || combo.ListCount() == 0) break;
      unsigned char want = upper_ascii_w1252(static_cast<unsigned char>(key));
      int n = combo.ListCount();
      for (int step = 1; step <= n; ++step) {
        int i = (combo.ListIndex() + step + n) % n;
        const std::string& item = combo.List(i);
        if (!item.empty() && upper_ascii_w1252(static_cast<unsigned char>(item[0])) == want) {
          combo.SetListIndex(i);
          break;
        }
      }
      break;
    }
    default:
      break;
  }
  return true;
}

void Runtime::commit_text(TextBox& box, std::string text, int caret) {
  // Text and caret change together, before Change runs, as typing does.
  if (text == box.text_) {
    box.SetSelStart(caret);
    return;
  }
  box.text_ = std::move(text);
  box.sel_start_ = std::clamp(caret, 0, static_cast<int>(box.text_.size()));
  box.sel_length_ = 0;
  box.changed(Property::Text);
  box.changed(Property::Selection);
  box.raise_change();
}

bool Runtime::nav_to(Control& c, NavKey key, bool shift) {
  if (!c.EffectivelyEnabled() || !c.EffectivelyVisible()) return false;
  switch (c.Kind()) {
    case ControlKind::TextBox: {
      auto& box = static_cast<TextBox&>(c);
      int len = static_cast<int>(box.Text().size());
      int s = std::clamp(box.SelStart(), 0, len);
      int l = std::clamp(box.SelLength(), 0, len - s);
      switch (key) {
        case NavKey::Delete: {
          if (box.Locked()) break;
          std::string t = box.Text();
          if (l > 0) {
            t.erase(static_cast<std::size_t>(s), static_cast<std::size_t>(l));
          } else if (s < len) {
            t.erase(static_cast<std::size_t>(s), 1);
          } else {
            break;
          }
          commit_text(box, std::move(t), s);
          break;
        }
        case NavKey::Left:
          if (shift) {
            if (s > 0) {
              box.SetSelStart(s - 1);
              box.SetSelLength(l + 1);
            }
          } else {
            box.SetSelStart(l > 0 ? s : s - 1);
          }
          break;
        case NavKey::Right:
          if (shift) {
            box.SetSelLength(l + 1);
          } else {
            box.SetSelStart(l > 0 ? s + l : s + 1);
          }
          break;
        case NavKey::Home:
          if (shift) {
            box.SetSelStart(0);
            box.SetSelLength(s + l);
          } else {
            box.SetSelStart(0);
          }
          break;
        case NavKey::End:
          if (shift) {
            box.SetSelLength(len - s);
          } else {
            box.SetSelStart(len);
          }
          break;
        default:
          break;
      }
      return true;
    }
    case ControlKind::OptionButton: {
      auto& o = static_cast<OptionButton&>(c);
      int dir = 0;
      if (key == NavKey::Down || key == NavKey::Right) dir = 1;
      if (key == NavKey::Up || key == NavKey::Left) dir = -1;
      if (dir == 0) return true;
      std::vector<OptionButton*> members;
      for (OptionButton* m : o.GroupMembers()) {
        if (m == &o || control_takes_focus(*m)) members.push_back(m);
      }
      auto pos = std::find(members.begin(), members.end(), &o);
      if (members.size() < 2 || pos == members.end()) return true;
      std::size_t n = members.size();
      std::size_t i = static_cast<std::size_t>(pos - members.begin());
      OptionButton* next = members[dir > 0 ? (i + 1) % n : (i + n - 1) % n];
      set_focus(*next);
      next->SetValue(true);
      return true;
    }
    case ControlKind::ComboBox: {
      auto& combo = static_cast<ComboBox&>(c);
      int n = combo.ListCount();
      if (n == 0) return true;
      int i = combo.ListIndex();
      switch (key) {
        case NavKey::Up: case NavKey::Left: i = std::max(0, i - 1); break;
        case NavKey::Down: case NavKey::Right: i = std::min(n - 1, i + 1); break;
        case NavKey::PageUp: i = std::max(0, i - 8); break;
        case NavKey::PageDown: i = std::min(n - 1, std::max(0, i) + 8); break;
        case NavKey::Home: i = 0; break;
        case NavKey::End: i = n - 1; break;
        default: return true;
      }
      combo.SetListIndex(i);
      return true;
    }
    case ControlKind::DriveListBox: {
      auto& d = static_cast<DriveListBox&>(c);
      int n = d.ListCount();
      if (n == 0) return true;
      int i = d.ListIndex();
      if (key == NavKey::Up) i = std::max(0, i - 1);
      if (key == NavKey::Down) i = std::min(n - 1, i + 1);
      d.SetListIndex(i);
      return true;
    }
    case ControlKind::VScrollBar: {
      auto& bar = static_cast<VScrollBar&>(c);
      switch (key) {
        case NavKey::Up: case NavKey::Left: return user_scroll_step(bar, false, false);
        case NavKey::Down: case NavKey::Right: return user_scroll_step(bar, false, true);
        case NavKey::PageUp: return user_scroll_step(bar, true, false);
        case NavKey::PageDown: return user_scroll_step(bar, true, true);
        case NavKey::Home: bar.SetValue(bar.Min()); return true;
        case NavKey::End: bar.SetValue(bar.Max()); return true;
        default: return true;
      }
    }
    default:
      return true;
  }
}

bool Runtime::user_key(int code) {
  if (code == kKeyTab) return user_tab(false);
  Form* f = ActiveForm();
  if (!f || !AcceptsInput(*f) || !f->active_) return false;
  EventScope scope(*this);
  return key_to(*f->active_, code);
}

bool Runtime::user_nav_key(NavKey key, bool shift) {
  Form* f = ActiveForm();
  if (!f || !AcceptsInput(*f) || !f->active_) return false;
  EventScope scope(*this);
  return nav_to(*f->active_, key, shift);
}

bool Runtime::user_tab(bool backwards) {
  Form* f = ActiveForm();
  if (!f || !AcceptsInput(*f)) return false;
  EventScope scope(*this);
  tab_from(*f, backwards);
  return true;
}

bool Runtime::user_click(Control& c) {
  Form& f = c.Parent();
  if (!AcceptsInput(f) || !c.EffectivelyVisible() || !c.EffectivelyEnabled()) return false;
  EventScope scope(*this);
  if (modal_stack_.empty()) active_form_ = &f;
  if (control_takes_focus(c)) set_focus(c);
  // The focus handlers may have disabled the control or closed the form.
  if (!f.loaded_ || !c.EffectivelyEnabled() || !c.EffectivelyVisible()) return true;
  switch (c.Kind()) {
    case ControlKind::CheckBox: {
      auto& box = static_cast<CheckBox&>(c);
      box.SetValue(box.Value() == 1 ? 0 : 1);
      break;
    }
    case ControlKind::OptionButton:
      static_cast<OptionButton&>(c).SetValue(true);
      break;
    case ControlKind::CommandButton:
    case ControlKind::Label:
    case ControlKind::Frame:
    case ControlKind::PictureBox:
    case ControlKind::TextBox:
      c.raise_click();
      break;
    default:
      break;
  }
  return true;
}

bool Runtime::user_focus(Control& c) {
  Form& f = c.Parent();
  if (!AcceptsInput(f) || !control_takes_focus(c)) return false;
  EventScope scope(*this);
  if (modal_stack_.empty()) active_form_ = &f;
  set_focus(c);
  return f.active_ == &c;
}

bool Runtime::user_choose(Control& list, int index) {
  Form& f = list.Parent();
  if (!AcceptsInput(f) || !control_takes_focus(list)) return false;
  if (list.Kind() == ControlKind::ComboBox) {
    auto& combo = static_cast<ComboBox&>(list);
    if (index < 0 || index >= combo.ListCount()) return false;
    EventScope scope(*this);
    set_focus(list);
    if (f.loaded_ && list.EffectivelyEnabled()) combo.SetListIndex(index);
    return true;
  }
  if (list.Kind() == ControlKind::DriveListBox) {
    auto& d = static_cast<DriveListBox&>(list);
    if (index < 0 || index >= d.ListCount()) return false;
    EventScope scope(*this);
    set_focus(list);
    if (f.loaded_ && list.EffectivelyEnabled()) d.SetListIndex(index);
    return true;
  }
  return false;
}

bool Runtime::user_choose_folder(DirListBox& dir, const std::filesystem::path& path) {
  Form& f = dir.Parent();
  if (!AcceptsInput(f) || !control_takes_focus(dir)) return false;
  EventScope scope(*this);
  set_focus(dir);
  if (!f.loaded_ || !dir.EffectivelyEnabled()) return false;
  return dir.SetPath(path);
}

bool Runtime::user_scroll_to(VScrollBar& bar, int value) {
  Form& f = bar.Parent();
  if (!AcceptsInput(f) || !control_takes_focus(bar)) return false;
  EventScope scope(*this);
  set_focus(bar);
  int lo = std::min(bar.Min(), bar.Max());
  int hi = std::max(bar.Min(), bar.Max());
  bar.SetValue(std::clamp(value, lo, hi));
  return true;
}

bool Runtime::user_scroll_step(VScrollBar& bar, bool large, bool toward_max, bool take_focus) {
  Form& f = bar.Parent();
  if (!AcceptsInput(f) || !control_takes_focus(bar)) return false;
  EventScope scope(*this);
  if (take_focus) set_focus(bar);
  long long step = large ? bar.LargeChange() : bar.SmallChange();
  int sign = bar.Max() >= bar.Min() ? 1 : -1;
  if (!toward_max) sign = -sign;
  long long lo = std::min(bar.Min(), bar.Max());
  long long hi = std::max(bar.Min(), bar.Max());
  long long v = std::clamp(static_cast<long long>(bar.Value()) + sign * step, lo, hi);
  bar.SetValue(static_cast<int>(v));
  return true;
}

bool Runtime::user_wheel(VScrollBar& bar, int notches) {
  if (bar.WheelChange() <= 0 || !AcceptsInput(bar.Parent()) || !control_takes_focus(bar)) return false;
  EventScope scope(*this);
  // Down moves toward the bottom end, which is Max even when the range runs
  // reversed.
  const long long lo = std::min(bar.Min(), bar.Max());
  const long long hi = std::max(bar.Min(), bar.Max());
  const int sign = (bar.Max() >= bar.Min()) == (notches > 0) ? 1 : -1;
  for (int i = 0; i < std::abs(notches); ++i) {
    const long long v = std::clamp(bar.Value() + sign * static_cast<long long>(bar.WheelChange()), lo, hi);
    if (v == bar.Value()) break;
    bar.SetValue(static_cast<int>(v));
  }
  return true;
}

bool Runtime::user_select(TextBox& box, int start, int length) {
  Form& f = box.Parent();
  if (!AcceptsInput(f) || !control_takes_focus(box)) return false;
  EventScope scope(*this);
  set_focus(box);
  int len = static_cast<int>(box.Text().size());
  start = std::clamp(start, 0, len);
  box.SetSelStart(start);
  box.SetSelLength(length);
  return true;
}

bool Runtime::user_paste(TextBox& box, std::string_view text) {
  Form& f = box.Parent();
  if (!AcceptsInput(f) || !control_takes_focus(box)) return false;
  EventScope scope(*this);
  set_focus(box);
  if (!f.loaded_ || box.Locked() || !box.EffectivelyEnabled()) return false;
  if (paste_allowed_ && !paste_allowed_(box)) return false;
  // A paste is the characters of its first line typed one by one: each
  // goes through the box's KeyPress handler (the input type's filter),
  // which may change or refuse it, and the paste stops once the box is
  // full, so that no pasted text gets round the filter or MaxLength.
  for (char ch : text) {
    const auto u = static_cast<unsigned char>(ch);
    if (u == '\r' || u == '\n') break;
    if (u < 32 || u == 127) continue;
    // A handler may have moved the focus, disabled the box or closed the form.
    if (ended_ || !f.loaded_ || f.active_ != &box || !box.EffectivelyEnabled() || !box.EffectivelyVisible()) break;
    const int max = box.MaxLength();
    if (max > 0 && box.SelLength() == 0 && static_cast<int>(box.Text().size()) >= max) break;
    key_to(box, u);
  }
  return true;
}

bool Runtime::user_close(Form& form) {
  if (ended_ || !form.loaded_) return false;
  if (!modal_stack_.empty() && modal_stack_.back() != &form) return false;
  return unload_form(form, UnloadMode::CloseBox);
}

bool Runtime::user_activate(Form& form) {
  if (!AcceptsInput(form) || !modal_stack_.empty()) return false;
  active_form_ = &form;
  return true;
}

bool Runtime::user_access_key(char letter) {
  Form* f = ActiveForm();
  if (!f || !AcceptsInput(*f)) return false;
  unsigned char want = static_cast<unsigned char>(letter);
  if (want >= 'A' && want <= 'Z') want = static_cast<unsigned char>(want + 32);
  std::vector<Control*> ordered = f->controls_;
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const Control* a, const Control* b) { return tab_key(a) < tab_key(b); });
  for (std::size_t i = 0; i < ordered.size(); ++i) {
    Control* c = ordered[i];
    auto* cap = dynamic_cast<CaptionedControl*>(c);
    if (!cap || static_cast<unsigned char>(cap->AccessKey()) != want) continue;
    if (!c->EffectivelyVisible() || !c->EffectivelyEnabled()) continue;
    switch (c->Kind()) {
      case ControlKind::CommandButton:
      case ControlKind::CheckBox:
      case ControlKind::OptionButton:
        return user_click(*c);
      default: {
        // A label or frame passes the focus to the next control in order.
        for (std::size_t j = i + 1; j < ordered.size(); ++j) {
          if (control_takes_focus(*ordered[j])) return user_focus(*ordered[j]);
        }
        return false;
      }
    }
  }
  return false;
}

bool Runtime::fire_timer(Timer& t) {
  if (!t.Armed()) return false;
  EventScope scope(*this);
  t.raise_timer();
  return true;
}

std::vector<Timer*> Runtime::ArmedTimers() const {
  std::vector<Timer*> out;
  for (const auto& f : loaded_) {
    for (Control* c : f->controls_) {
      if (c->Kind() == ControlKind::Timer && static_cast<Timer*>(c)->Armed()) out.push_back(static_cast<Timer*>(c));
    }
  }
  return out;
}

}  // namespace forms
