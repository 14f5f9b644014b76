#pragma once
// The forms runtime: the loaded forms, the focus, event dispatch, simulated
// keystrokes, timers, message boxes and the user's input. Its state is the
// truth; a view (the Qt one, or the headless test driver) only shows it and
// feeds the user's input back through the user_* members, which apply the
// runtime's own rules.
//
// Single thread. Events are dispatched synchronously and may nest. Every
// entry from outside (user input, a timer, a setter called outside any
// handler) is one event; when the outermost event finishes, the simulated
// keystrokes it queued run (each as its own event), and forms unloaded
// during it are released.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/types.h"

namespace forms {

// The event loop: a modal Show blocks its caller by running the loop until
// the form closes. The headless driver runs scripted steps; the Qt view runs
// a nested QEventLoop.
class EventLoop {
 public:
  virtual ~EventLoop() = default;
  // Runs events until done() is true. `modal` is the form whose modal Show
  // waits, or null for the program's main loop (Runtime::Run).
  virtual void run_until(Form* modal, const std::function<bool()>& done) = 0;
};

// Shows a message box and returns the button pressed.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MsgResult show(const MessageBoxRequest& request) = 0;
};

// Told of every change of state; the view keeps its widgets in step.
class Observer {
 public:
  virtual ~Observer() = default;
  virtual void form_loaded(Form& form) {}
  virtual void form_shown(Form& form, ShowMode mode) {}
  virtual void form_hidden(Form& form) {}
  virtual void form_unloaded(Form& form) {}
  virtual void form_changed(Form& form, Property what) {}
  virtual void control_changed(Control& control, Property what) {}
  virtual void focus_changed(Form& form, Control* from, Control* to) {}
  // No form is left, or End was called: the program is over.
  virtual void program_ended() {}
};

class Runtime {
 public:
  Runtime();
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;
  ~Runtime();

  // ---- services -------------------------------------------------------
  // Not owned; null restores the built-in default (which returns at once,
  // respectively answers every box with its default button).
  void SetEventLoop(EventLoop* loop);
  void SetMessageBoxes(MessageBoxes* boxes);
  void AddObserver(Observer* o);
  void RemoveObserver(Observer* o);

  // The application title, shown by message boxes without a title of their own.
  const std::string& Title() const { return title_; }
  void SetTitle(std::string t) { title_ = std::move(t); }
  // The program's folder as program text (App.Path): no trailing separator.
  std::string Path() const;
  // The screen size in twips (default 1024 x 768 pixels).
  float ScreenWidth() const { return screen_width_; }
  float ScreenHeight() const { return screen_height_; }
  void SetScreenSize(float width_twips, float height_twips);
  // The window frame added around a form's inner area, in twips.
  float FrameBorder() const { return frame_border_; }
  float TitleBarHeight() const { return title_bar_; }
  void SetFrameMetrics(float border, float title_bar);

  // ---- forms -----------------------------------------------------------
  // Loads a form of type F (constructed as F(runtime, args...)) and runs its
  // Form_Load. When a form of type F is already loaded, returns that one.
  template <class F, class... A>
  std::shared_ptr<F> Load(A&&... args) {
    if (auto existing = Find<F>()) return existing;
    auto form = std::make_shared<F>(*this, std::forward<A>(args)...);
    load(form);
    return form;
  }
  // The loaded form of type F, or null.
  template <class F>
  std::shared_ptr<F> Find() const {
    for (const auto& f : loaded_) {
      if (auto p = std::dynamic_pointer_cast<F>(f)) return p;
    }
    return nullptr;
  }
  // Loads a form created by the caller (with std::make_shared).
  void load(const std::shared_ptr<Form>& form);
  Form* FindForm(std::string_view name) const;
  // The loaded forms, in loading order.
  std::vector<Form*> Forms() const;
  // The form that takes the user's input: the topmost modal form, else the
  // form shown or focused last.
  Form* ActiveForm() const;
  // The focused control of the active form, or null.
  Control* FocusedControl() const;
  // Runs the main event loop until the program is over.
  void Run();
  // End was called, or no form is left once the outermost event has
  // finished.
  bool ProgramOver() const;
  // Ends the program at once: every form is unloaded without its unload
  // events, timers stop, queued keys are dropped, every loop returns.
  void End();
  bool Ended() const { return ended_; }
  bool AnyFormLoaded() const { return !loaded_.empty(); }

  // ---- services for form code ------------------------------------------
  // OK boxes answer OK; Yes/No questions Yes, No, or Cancel when the user
  // closed the box without answering.
  MsgResult MsgBox(std::string text, MsgButtons buttons = MsgButtons::OK,
                   MsgIcon icon = MsgIcon::None, std::optional<std::string> title = std::nullopt);
  // Queues simulated keystrokes ("{TAB}", "{TAB}{TAB}"); they run after the
  // current event has finished, from whichever control has the focus then.
  // False when the notation is invalid (nothing is queued).
  bool SendKeys(std::string_view keys);
  // Whether keys are waiting.
  bool KeysPending() const { return !key_queue_.empty(); }

  // ---- the user's input (the view and the test driver) -------------------
  // Each returns false when the input was refused (the target form does not
  // take input, the control is disabled, hidden, ...).
  // A character key to the focused control: a Windows-1252 code, 8
  // Backspace, 13 Enter, 9 Tab.
  bool user_key(int code);
  bool user_nav_key(NavKey key, bool shift = false);
  bool user_tab(bool backwards = false);
  // A mouse click: focus first (when the control takes it), then the click.
  bool user_click(Control& c);
  bool user_focus(Control& c);
  // An entry chosen in a combo box or a drive list.
  bool user_choose(Control& list, int index);
  // A folder chosen (opened) in a directory list.
  bool user_choose_folder(DirListBox& dir, const std::filesystem::path& path);
  // The scroll bar's thumb dragged to `value` (clamped to the range).
  bool user_scroll_to(VScrollBar& bar, int value);
  // An arrow (small) or page (large) step, toward Max when `toward_max`.
  // A click on the bar focuses it; the mouse wheel over the page does not
  // (`take_focus` false), so the field being edited keeps the focus.
  bool user_scroll_step(VScrollBar& bar, bool large, bool toward_max, bool take_focus = true);
  // Notches of the mouse wheel over the bar's form, turned down (toward
  // the page's end) when positive: each moves the value by the bar's
  // WheelChange, so Change runs as for a click on the bar, up to the end
  // of the range. The focus stays where it is. False when the form takes
  // no input or the bar has no wheel step.
  bool user_wheel(VScrollBar& bar, int notches);
  // The caret or selection moved by the mouse in a text box.
  bool user_select(TextBox& box, int start, int length);
  // Text pasted into a text box (Windows-1252): the characters of its first
  // line, control characters left out, each as a typed key (KeyPress, the
  // filter, then the edit: the first replaces the selection), until the
  // box is full. Refused in a locked box and where the paste policy says no.
  bool user_paste(TextBox& box, std::string_view text);
  // Which boxes take a paste (by default all); the application refuses it
  // in boxes whose input type filters every key.
  void SetPastePolicy(std::function<bool(const TextBox&)> allowed) { paste_allowed_ = std::move(allowed); }
  // The window's close box.
  bool user_close(Form& form);
  // The user brought the window of `form` to the front (a view's window
  // activation): it becomes the active form, so that keys go to it. Refused
  // while a modal form is open (only the modal form takes input then).
  bool user_activate(Form& form);
  // Alt+letter on the active form.
  bool user_access_key(char letter);
  // A timer's interval has elapsed. Fires only when the timer is armed.
  bool fire_timer(Timer& t);
  // The armed timers of the shown forms.
  std::vector<Timer*> ArmedTimers() const;

  // Whether `form` takes the user's input now: loaded, shown, and not
  // behind a modal form.
  bool AcceptsInput(const Form& form) const;

  // ---- internal: used by forms and controls ------------------------------
  class EventScope {
   public:
    explicit EventScope(Runtime& rt);
    ~EventScope();
    EventScope(const EventScope&) = delete;
    EventScope& operator=(const EventScope&) = delete;

   private:
    Runtime& rt_;
  };
  void notify_control(Control& c, Property p);
  void notify_form(Form& f, Property p);
  void show_form(Form& f, ShowMode mode);
  void hide_form(Form& f);
  bool unload_form(Form& f, UnloadMode mode);
  void set_focus(Control& c);
  bool control_takes_focus(const Control& c) const;
  std::vector<Control*> tab_stops(const Form& f) const;

 private:
  void finish_event();
  void drain();
  void run_keystroke(const KeyStroke& k);
  bool key_to(Control& c, int code);
  bool nav_to(Control& c, NavKey key, bool shift);
  static void commit_text(TextBox& box, std::string text, int caret);
  void tab_from(Form& f, bool backwards);
  void ended_notify();
  template <class Fn>
  void for_observers(Fn fn);

  std::string title_ = "Sevrina";
  float screen_width_ = 1024 * kTwipsPerPixel;
  float screen_height_ = 768 * kTwipsPerPixel;
  float frame_border_ = 4 * kTwipsPerPixel;
  float title_bar_ = 26 * kTwipsPerPixel;

  EventLoop* loop_ = nullptr;
  MessageBoxes* boxes_ = nullptr;
  std::vector<Observer*> observers_;
  std::function<bool(const TextBox&)> paste_allowed_;

  std::vector<std::shared_ptr<Form>> loaded_;
  std::vector<std::shared_ptr<Form>> dying_;
  std::vector<Form*> modal_stack_;
  Form* active_form_ = nullptr;
  std::vector<KeyStroke> key_queue_;
  int depth_ = 0;
  int loop_nesting_ = 0;
  bool draining_ = false;
  bool ended_ = false;
  bool end_notified_ = false;
  bool ever_loaded_ = false;
};

}  // namespace forms
