#include "platform/forms/test_driver.h"

#include <algorithm>
#include <memory>

namespace forms {

namespace {

std::string describe(const MessageBoxRequest& r) {
  std::string s = "\"" + r.text + "\" (";
  s += r.buttons == MsgButtons::YesNo ? "Yes/No" : "OK";
  s += r.icon == MsgIcon::Critical ? ", critical icon" : ", no icon";
  s += ", title \"" + r.title + "\")";
  return s;
}

}  // namespace

TestDriver::TestDriver(Runtime& rt) : rt_(rt) {
  rt_.SetEventLoop(this);
  rt_.SetMessageBoxes(this);
}

TestDriver::~TestDriver() {
  verify();
  rt_.SetEventLoop(nullptr);
  rt_.SetMessageBoxes(nullptr);
}

void TestDriver::fail(const std::string& message) {
  failures_.push_back(message);
  if (on_failure_) on_failure_(message);
}

void TestDriver::set_failure_handler(std::function<void(const std::string&)> handler) {
  on_failure_ = std::move(handler);
}

bool TestDriver::type(std::string_view keys) {
  auto parsed = parse_keys(keys);
  if (!parsed) {
    fail("invalid key notation: \"" + std::string(keys) + "\"");
    return false;
  }
  bool all = true;
  for (const KeyStroke& k : *parsed) {
    switch (k.type) {
      case KeyStroke::Type::Char: all = rt_.user_key(k.code) && all; break;
      case KeyStroke::Type::Tab: all = rt_.user_tab(false) && all; break;
      case KeyStroke::Type::BackTab: all = rt_.user_tab(true) && all; break;
      case KeyStroke::Type::Nav: all = rt_.user_nav_key(k.nav) && all; break;
    }
  }
  return all;
}

bool TestDriver::type(Control& c, std::string_view keys) {
  if (!c.HasFocus() && !rt_.user_focus(c)) return false;
  if (!c.HasFocus()) return false;
  return type(keys);
}

bool TestDriver::key(int code) { return rt_.user_key(code); }
bool TestDriver::tab() { return rt_.user_tab(false); }
bool TestDriver::shift_tab() { return rt_.user_tab(true); }
bool TestDriver::click(Control& c) { return rt_.user_click(c); }
bool TestDriver::focus(Control& c) { return rt_.user_focus(c); }
bool TestDriver::choose(Control& list, int index) { return rt_.user_choose(list, index); }
bool TestDriver::choose(ComboBox& combo, int index) { return rt_.user_choose(combo, index); }

bool TestDriver::choose(ComboBox& combo, std::string_view item) {
  for (int i = 0; i < combo.ListCount(); ++i) {
    if (combo.List(i) == item) return rt_.user_choose(combo, i);
  }
  fail(combo.FullName() + " has no entry \"" + std::string(item) + "\"");
  return false;
}

bool TestDriver::choose_folder(DirListBox& dir, const std::filesystem::path& path) {
  return rt_.user_choose_folder(dir, path);
}
bool TestDriver::scroll_to(VScrollBar& bar, int value) { return rt_.user_scroll_to(bar, value); }
bool TestDriver::select(TextBox& box, int start, int length) { return rt_.user_select(box, start, length); }
bool TestDriver::paste(TextBox& box, std::string_view text) { return rt_.user_paste(box, text); }
bool TestDriver::access_key(char letter) { return rt_.user_access_key(letter); }
bool TestDriver::close(Form& form) { return rt_.user_close(form); }

void TestDriver::run_timers(int rounds) {
  for (int r = 0; r < rounds; ++r) {
    // Hold the forms by weak pointers: a timer's handler may unload its
    // form or another one.
    std::vector<std::pair<std::weak_ptr<Form>, Timer*>> timers;
    for (Timer* t : rt_.ArmedTimers()) timers.emplace_back(t->Parent().weak_from_this(), t);
    if (timers.empty()) return;
    for (auto& [form, timer] : timers) {
      auto alive = form.lock();
      if (!alive || !alive->Loaded()) continue;
      rt_.fire_timer(*timer);
    }
  }
}

void TestDriver::expect_box(std::string text, MsgResult answer) {
  ExpectedBox box;
  box.text = std::move(text);
  box.answer = answer;
  expect_box(std::move(box));
}

void TestDriver::expect_box(ExpectedBox box) { expected_.push_back(std::move(box)); }

std::vector<std::string> TestDriver::box_texts() const {
  std::vector<std::string> out;
  for (const auto& b : shown_) out.push_back(b.request.text);
  return out;
}

MsgResult TestDriver::show(const MessageBoxRequest& request) {
  MsgResult answer = request.default_button;
  if (expected_.empty()) {
    fail("unexpected message box " + describe(request));
  } else {
    ExpectedBox e = std::move(expected_.front());
    expected_.pop_front();
    std::string why;
    if (e.text != request.text) why += " text differs;";
    if (e.title && *e.title != request.title) why += " title differs (expected \"" + *e.title + "\");";
    if (e.buttons && *e.buttons != request.buttons) why += " buttons differ;";
    if (e.icon && *e.icon != request.icon) why += " icon differs;";
    bool yes_no_answer = e.answer == MsgResult::Yes || e.answer == MsgResult::No || e.answer == MsgResult::Cancel;
    if (yes_no_answer != (request.buttons == MsgButtons::YesNo)) why += " the scripted answer has no such button;";
    if (!why.empty()) {
      fail("message box " + describe(request) + " does not match the expected \"" + e.text + "\":" + why);
    } else {
      answer = e.answer;
    }
  }
  shown_.push_back(ShownBox{request, answer});
  return answer;
}

void TestDriver::on_modal(std::string form_name, std::function<void(Form&)> script) {
  modal_scripts_.emplace_back(std::move(form_name), std::move(script));
}

void TestDriver::run_until(Form* modal, const std::function<bool()>& done) {
  // The main loop: the test itself drives the program.
  if (!modal) return;
  modal_shown_.push_back(modal->Name());
  run_timers();
  if (done()) return;
  auto it = std::find_if(modal_scripts_.begin(), modal_scripts_.end(),
                         [&](const auto& s) { return s.first == modal->Name(); });
  if (it == modal_scripts_.end()) {
    fail("form " + modal->Name() + " shown modally with no script for it");
  } else {
    auto script = std::move(it->second);
    modal_scripts_.erase(it);
    script(*modal);
    if (done()) return;
    fail("modal form " + modal->Name() + " still open after its script");
  }
  // Close it, so that the caller's Show returns.
  if (!modal->Unload() && !done()) modal->Hide();
}

void TestDriver::verify() {
  for (const auto& e : expected_) fail("expected message box never shown: \"" + e.text + "\"");
  expected_.clear();
  for (const auto& s : modal_scripts_) fail("modal form " + s.first + " was never shown");
  modal_scripts_.clear();
}

}  // namespace forms
