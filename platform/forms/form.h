#pragma once
// The base of every form. A form is a C++ class deriving from forms::Form:
// its controls are members (single controls and control arrays), its
// constructor sets their design-time properties and wires the handlers,
// and it overrides Form_Load and, when it needs them, Form_QueryUnload and
// Form_Unload. Forms are created by the runtime (Runtime::Load), which owns
// them; see tests/platform/forms/example_form.h for a complete example.
//
// Lifecycle: Load runs Form_Load; Show displays the form, modelessly or
// modally (a modal Show returns only when the form is closed); Unload runs
// Form_QueryUnload and Form_Unload (either may cancel), hides the form and
// stops its timers. Unload may be called from the form's own handlers: the
// object stays alive until the outermost event has finished. An unloaded
// form raises no more events; showing the form again means loading a new
// one, with its design-time state.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/controls.h"
#include "platform/forms/types.h"

namespace forms {

class Runtime;

class Form : public std::enable_shared_from_this<Form> {
 public:
  Form(Runtime& runtime, std::string name);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form();

  Runtime& App() const { return *runtime_; }
  const std::string& Name() const { return name_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string v);
  Color BackColor() const { return back_color_; }
  void SetBackColor(Color v);
  const FontSpec& Font() const { return font_; }
  void SetFont(const FontSpec& v);

  // The window's outer position and size (borders and title bar included),
  // in twips on the screen.
  float Left() const { return left_; }
  float Top() const { return top_; }
  float Width() const;
  float Height() const;
  void SetLeft(float v);
  void SetTop(float v);
  void Move(float left, float top);
  // The inner area, in twips (ScaleWidth and ScaleHeight).
  float ScaleWidth() const { return client_width_; }
  float ScaleHeight() const { return client_height_; }
  void SetClientSize(float width, float height);

  bool Loaded() const { return loaded_; }
  // The "shown" flag: true from Show until Hide or Unload.
  bool Visible() const { return visible_; }
  bool IsModal() const { return modal_; }

  // Loads the form when needed, then shows it. A modal Show returns when
  // the form has been hidden or unloaded.
  void Show(ShowMode mode = ShowMode::Modeless);
  void Hide();
  // Unloads the form (Unload Me). False when a handler cancelled it.
  bool Unload();

  // The control that has (or last had) the focus on this form.
  Control* ActiveControl() const { return active_; }
  // Every control, in creation order.
  const std::vector<Control*>& Controls() const { return controls_; }
  // A control by name and index (-1 for a single control); null if none.
  Control* FindControl(std::string_view name, int index = -1) const;
  // The focusable controls in tab order, as Tab visits them now.
  std::vector<Control*> TabStops() const;

  // Convenience for form code: the runtime's message box and keystrokes.
  MsgResult MsgBox(std::string text, MsgButtons buttons = MsgButtons::OK,
                   MsgIcon icon = MsgIcon::None);
  MsgResult MsgBox(std::string text, MsgButtons buttons, MsgIcon icon, std::string title);
  void SendKeys(std::string_view keys);

 protected:
  virtual void Form_Load() {}
  // Before Form_Unload; setting Cancel to non-zero keeps the form.
  virtual void Form_QueryUnload(int& Cancel, UnloadMode mode) {}
  virtual void Form_Unload(int& Cancel) {}

 private:
  friend class Runtime;
  friend class Control;

  void register_control(Control* c);
  void unregister_control(Control* c);
  void changed(Property p);

  Runtime* runtime_;
  std::string name_;
  std::string caption_;
  Color back_color_ = kFormBackground;
  FontSpec font_;
  float left_ = 0, top_ = 0;
  float client_width_ = 4800, client_height_ = 3600;
  bool loaded_ = false;
  bool visible_ = false;
  bool modal_ = false;
  bool unloading_ = false;
  Control* active_ = nullptr;
  bool active_got_focus_ = false;  // whether active_ has had its GotFocus
  std::vector<Control*> controls_;
  int next_order_ = 0;
};

}  // namespace forms
