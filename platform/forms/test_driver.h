#pragma once
// The headless driver: runs forms without a display. It is the runtime's
// event loop and message-box responder for the duration of a test:
//
//     forms::Runtime rt;
//     forms::TestDriver ui(rt);                 // installs itself
//     auto form = rt.Load<MyForm>();
//     form->Show();
//     ui.run_timers();                          // the one-shot focus timers
//     ui.type(form->Text1[0], "abc{ENTER}");    // focus, then the keys
//     ui.expect_box("Deve selezionare una scelta!");
//     ui.click(form->Command1[2]);
//     ui.on_modal("Help_intro", [&](forms::Form& help) { ui.close(help); });
//
// A message box that was not expected (or differs from the next expected
// one), a modal form without a script, a modal form its script left open and
// expectations never met are failures: each is passed to the failure
// handler (by default kept in failures(); tests install one that fails the
// test, see platform/forms/gtest_support.h).

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/runtime.h"

namespace forms {

class TestDriver : public EventLoop, public MessageBoxes {
 public:
  explicit TestDriver(Runtime& rt);
  // Reports unmet expectations, then uninstalls itself.
  ~TestDriver() override;
  TestDriver(const TestDriver&) = delete;
  TestDriver& operator=(const TestDriver&) = delete;

  Runtime& runtime() const { return rt_; }

  // ---- input ------------------------------------------------------------
  // Keys in the notation of parse_keys ("abc", "{ENTER}", "{BS}", "{TAB}",
  // "+{TAB}", "{LEFT}", ...), Windows-1252 bytes, to the focused control.
  // Each key is one event of its own. An invalid notation is a failure.
  // Every input returns false when the runtime refused it (or part of it).
  bool type(std::string_view keys);
  // Gives `c` the focus as a mouse press would, then types.
  bool type(Control& c, std::string_view keys);
  bool key(int code);
  bool enter() { return key(kKeyEnter); }
  bool backspace() { return key(kKeyBackspace); }
  bool tab();
  bool shift_tab();
  bool click(Control& c);
  bool focus(Control& c);
  // Chooses an entry of a combo box or drive list, by index or by its text.
  bool choose(Control& list, int index);
  bool choose(ComboBox& combo, int index);
  bool choose(ComboBox& combo, std::string_view item);
  bool choose_folder(DirListBox& dir, const std::filesystem::path& path);
  bool scroll_to(VScrollBar& bar, int value);
  bool select(TextBox& box, int start, int length);
  bool paste(TextBox& box, std::string_view text);
  bool access_key(char letter);
  // Closes the form with its close box (Form_QueryUnload may refuse).
  bool close(Form& form);
  // Fires every armed timer of the shown forms once, then again while any
  // is still armed, at most `rounds` times.
  void run_timers(int rounds = 1);

  // ---- message boxes ----------------------------------------------------
  struct ExpectedBox {
    std::string text;
    MsgResult answer = MsgResult::OK;
    std::optional<std::string> title;   // the title shown (own or application)
    std::optional<MsgButtons> buttons;
    std::optional<MsgIcon> icon;
  };
  void expect_box(std::string text, MsgResult answer = MsgResult::OK);
  void expect_box(ExpectedBox box);
  // Every box shown, in order, with the answer given.
  struct ShownBox {
    MessageBoxRequest request;
    MsgResult answer;
  };
  const std::vector<ShownBox>& boxes() const { return shown_; }
  // The texts of the boxes shown, in order.
  std::vector<std::string> box_texts() const;
  int pending_boxes() const { return static_cast<int>(expected_.size()); }

  // ---- modal forms ------------------------------------------------------
  // The next modal Show of the form named `form_name` runs `script` (after
  // firing the armed timers); the script must close the form. Scripts for
  // one name run in the order registered, each once.
  void on_modal(std::string form_name, std::function<void(Form&)> script);
  // The names of the forms shown modally, in order.
  const std::vector<std::string>& modal_shown() const { return modal_shown_; }

  // ---- failures ---------------------------------------------------------
  void set_failure_handler(std::function<void(const std::string&)> handler);
  const std::vector<std::string>& failures() const { return failures_; }
  // Reports unmet box expectations and modal scripts, and clears them.
  void verify();

  // EventLoop and MessageBoxes.
  void run_until(Form* modal, const std::function<bool()>& done) override;
  MsgResult show(const MessageBoxRequest& request) override;

 private:
  void fail(const std::string& message);

  Runtime& rt_;
  std::deque<ExpectedBox> expected_;
  std::vector<ShownBox> shown_;
  std::vector<std::pair<std::string, std::function<void(Form&)>>> modal_scripts_;
  std::vector<std::string> modal_shown_;
  std::vector<std::string> failures_;
  std::function<void(const std::string&)> on_failure_;
};

}  // namespace forms
