#pragma once
// The controls of a form. A control is either a single control, a member of
// its form declared as
//     forms::ComboBox Combo2{this, "Combo2"};
// or an element of a control array (see control_array.h), created by
//     Text1.Add(3)
// Properties are read with their own name (Text(), Value(), ListIndex()) and
// written with Set + name (SetText, SetValue, SetListIndex). A value changed
// by code raises the control's event at once, nested inside the setter,
// exactly as a change by the user does; writing the value the control
// already holds raises nothing. No event fires while the form is not loaded
// (design-time set-up in the form's constructor is silent).
//
// Geometry is in twips, relative to the container (a Frame, or the form's
// client area when there is none); Left and Top are single-precision reals.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/types.h"

namespace forms {

class Form;
class Runtime;
class Control;

// The handlers of one control, or of a whole control array (every element
// shares them and passes its index; a single control passes -1).
struct EventHandlers {
  std::function<void(int Index)> Click;
  std::function<void(int Index)> Change;
  std::function<void(int Index)> GotFocus;
  std::function<void(int Index)> LostFocus;
  std::function<void(int Index)> Timer;
  std::function<void(int Index, int& KeyAscii)> KeyPress;
};

// What a control array and a single control have in common: a name and the
// handlers.
class ControlGroup {
 public:
  explicit ControlGroup(std::string name) : name_(std::move(name)) {}
  ControlGroup(const ControlGroup&) = delete;
  ControlGroup& operator=(const ControlGroup&) = delete;
  virtual ~ControlGroup() = default;

  const std::string& Name() const { return name_; }
  EventHandlers& handlers() { return handlers_; }
  const EventHandlers& handlers() const { return handlers_; }

 private:
  std::string name_;
  EventHandlers handlers_;
};

class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  ControlKind Kind() const { return kind_; }
  // The control's name; for an array element the array's name ("Text1").
  const std::string& Name() const { return group_->Name(); }
  // The element's index, or -1 for a single control.
  int Index() const { return index_; }
  bool IsArrayElement() const { return index_ >= 0; }
  // "Text1(3)" for an array element, "Combo2" for a single control.
  std::string FullName() const;
  Form& Parent() const { return *form_; }

  // The frame that holds this control, or null for the form itself.
  Control* Container() const { return container_; }
  void SetContainer(Control& frame);

  float Left() const { return left_; }
  float Top() const { return top_; }
  float Width() const { return width_; }
  float Height() const { return height_; }
  void SetLeft(float v);
  void SetTop(float v);
  void SetWidth(float v);
  void SetHeight(float v);
  void Move(float left, float top, float width, float height);

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  int TabIndex() const { return tab_index_; }
  void SetTabIndex(int v);
  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool v);
  const std::string& Tag() const { return tag_; }
  void SetTag(std::string v);
  Color BackColor() const { return back_color_; }
  void SetBackColor(Color v);
  Color ForeColor() const { return fore_color_; }
  void SetForeColor(Color v);
  const FontSpec& Font() const { return font_; }
  void SetFont(const FontSpec& v);
  void SetFontBold(bool v);
  void SetFontItalic(bool v);
  void SetFontSize(float v);
  void SetFontName(std::string v);
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment v);
  // 0 none, 1 fixed single.
  int BorderStyle() const { return border_style_; }
  void SetBorderStyle(int v);

  // Focus. SetFocus does nothing when the control cannot take the focus:
  // its kind never does, it or a container is disabled or hidden, or its
  // form is not shown.
  void SetFocus();
  bool CanTakeFocus() const;
  bool HasFocus() const;
  // Visible, and every container visible too.
  bool EffectivelyVisible() const;
  // Enabled, and every container enabled too.
  bool EffectivelyEnabled() const;

  // Handlers of a single control (an array sets them on the array).
  void OnClick(std::function<void()> f);
  void OnChange(std::function<void()> f);
  void OnGotFocus(std::function<void()> f);
  void OnLostFocus(std::function<void()> f);
  void OnTimer(std::function<void()> f);
  void OnKeyPress(std::function<void(int& KeyAscii)> f);

  // Internal: used by the runtime and the control arrays.
  ControlGroup& group() const { return *group_; }
  int creation_order() const { return order_; }

 protected:
  // A single control: the control is its own group.
  Control(ControlKind kind, Form* form, std::string name);
  // An element of a control array.
  Control(ControlKind kind, Form* form, ControlGroup* group, int index);

  // Tells the view of a change.
  void changed(Property p);
  // Raises an event through the group's handlers (only while the form is
  // loaded). Safe against the form being unloaded inside the handler.
  void raise_click();
  void raise_change();
  void raise_got_focus();
  void raise_lost_focus();
  void raise_timer();
  void raise_key_press(int& key);
  bool events_enabled() const;
  Runtime& runtime() const;

 private:
  friend class Runtime;
  friend class Form;

  ControlKind kind_;
  Form* form_;
  std::unique_ptr<ControlGroup> own_group_;
  ControlGroup* group_;
  int index_ = -1;
  int order_ = 0;
  Control* container_ = nullptr;
  float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  int tab_index_ = 0;
  bool tab_stop_ = true;
  std::string tag_;
  Color back_color_ = kButtonFace;
  Color fore_color_ = kBlack;
  FontSpec font_;
  Alignment alignment_ = Alignment::Left;
  int border_style_ = 0;
};

// Controls that show a caption: labels, check boxes, option buttons, frames
// and command buttons. In a caption "&x" marks x as the access key
// (Alt+x), "&&" is a literal "&".
class CaptionedControl : public Control {
 public:
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string v);
  // The access key in lower case, or 0 when the caption has none.
  char AccessKey() const;

 protected:
  using Control::Control;

 private:
  std::string caption_;
};

class TextBox : public Control {
 public:
  TextBox(Form* form, std::string name);
  TextBox(Form* form, ControlGroup* group, int index);

  const std::string& Text() const { return text_; }
  // Puts the caret at 0 with no selection; raises Change when the text
  // differs. MaxLength never cuts text written by code.
  void SetText(std::string v);
  // 0 = no limit. Limits typing only.
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int v);
  int SelStart() const { return sel_start_; }
  // Clamped to the text; clears SelLength.
  void SetSelStart(int v);
  int SelLength() const { return sel_length_; }
  // Clamped to the text after SelStart.
  void SetSelLength(int v);
  std::string SelText() const;
  // A locked box takes the focus and key presses but refuses edits.
  bool Locked() const { return locked_; }
  void SetLocked(bool v);

 private:
  friend class Runtime;
  std::string text_;
  int max_length_ = 0;
  int sel_start_ = 0;
  int sel_length_ = 0;
  bool locked_ = false;
};

class Label : public CaptionedControl {
 public:
  Label(Form* form, std::string name);
  Label(Form* form, ControlGroup* group, int index);
  // 0 transparent, 1 opaque.
  int BackStyle() const { return back_style_; }
  void SetBackStyle(int v);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool v);

 private:
  int back_style_ = 1;
  bool word_wrap_ = true;
};

class CheckBox : public CaptionedControl {
 public:
  CheckBox(Form* form, std::string name);
  CheckBox(Form* form, ControlGroup* group, int index);
  // 0 unticked, 1 ticked, 2 grey. Click on every change of value.
  // Values outside 0..2 are refused.
  int Value() const { return value_; }
  void SetValue(int v);

 private:
  friend class Runtime;
  int value_ = 0;
};

// The option buttons of one container form one group: selecting one
// silently clears the others; Click only when a button becomes selected.
class OptionButton : public CaptionedControl {
 public:
  OptionButton(Form* form, std::string name);
  OptionButton(Form* form, ControlGroup* group, int index);
  bool Value() const { return value_; }
  void SetValue(bool v);
  // The buttons of the same container, in tab order.
  std::vector<OptionButton*> GroupMembers() const;

 private:
  friend class Runtime;
  bool value_ = false;
};

// A drop-down list: a choice from the list only.
class ComboBox : public Control {
 public:
  ComboBox(Form* form, std::string name);
  ComboBox(Form* form, ControlGroup* group, int index);

  // Appends, or inserts before `index`. The selected entry stays selected.
  void AddItem(std::string item, int index = -1);
  void RemoveItem(int index);
  // Empties the list; the selection goes to -1 without a Click.
  void Clear();
  int ListCount() const { return static_cast<int>(items_.size()); }
  // The entry at `index`, "" when out of range.
  const std::string& List(int index) const;
  const std::vector<std::string>& Items() const { return items_; }
  // -1 = nothing selected. Click when the index changes, by user or code.
  // Out-of-range values are refused.
  int ListIndex() const { return list_index_; }
  void SetListIndex(int v);
  // The selected entry, "" when none.
  const std::string& Text() const;
  // Selects the first entry equal to `v` ignoring case; "" selects nothing.
  // False (and nothing changes) when no entry matches.
  bool SetText(const std::string& v);

 private:
  std::vector<std::string> items_;
  int list_index_ = -1;
};

class Frame : public CaptionedControl {
 public:
  Frame(Form* form, std::string name);
  Frame(Form* form, ControlGroup* group, int index);
};

class CommandButton : public CaptionedControl {
 public:
  CommandButton(Form* form, std::string name);
  CommandButton(Form* form, ControlGroup* group, int index);
};

// A vertical scroll bar. Min may exceed Max; the value always lies between
// them. SmallChange and LargeChange step toward Max (the bottom arrow).
// Change on every change of the value, however caused.
class VScrollBar : public Control {
 public:
  VScrollBar(Form* form, std::string name);
  VScrollBar(Form* form, ControlGroup* group, int index);

  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  int Value() const { return value_; }
  // Refused when outside the range.
  void SetValue(int v);
  int SmallChange() const { return small_change_; }
  void SetSmallChange(int v);
  int LargeChange() const { return large_change_; }
  void SetLargeChange(int v);
  // How far one notch of the mouse wheel over the bar's form moves the
  // value; 0 (the default) leaves the wheel without effect. The form sets
  // it from the length of its page, as the arrows' steps are too short for
  // a wheel.
  int WheelChange() const { return wheel_change_; }
  void SetWheelChange(int v);

 private:
  void clamp_value();
  int min_ = 0;
  int max_ = 32767;
  int value_ = 0;
  int small_change_ = 1;
  int large_change_ = 1;
  int wheel_change_ = 0;
};

// A timer fires its Timer event every Interval milliseconds while it is
// enabled, its interval is not 0 and its form is loaded and shown.
// Unloading the form disables it.
class Timer : public Control {
 public:
  Timer(Form* form, std::string name);
  Timer(Form* form, ControlGroup* group, int index);
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  // Whether it would fire now.
  bool Armed() const;

 private:
  int interval_ = 0;
};

// A static picture: the bytes of a GIF or BMP file.
class PictureBox : public Control {
 public:
  PictureBox(Form* form, std::string name);
  PictureBox(Form* form, ControlGroup* group, int index);
  const std::string& Picture() const { return picture_; }
  void SetPicture(std::string bytes);

 private:
  std::string picture_;
};

// A rectangle drawn on the form or a frame.
class Shape : public Control {
 public:
  Shape(Form* form, std::string name);
  Shape(Form* form, ControlGroup* group, int index);
  Color BorderColor() const { return border_color_; }
  void SetBorderColor(Color v);
  int BorderWidth() const { return border_width_; }
  void SetBorderWidth(int v);
  // 0 transparent, 1 opaque (filled with BackColor).
  int BackStyle() const { return back_style_; }
  void SetBackStyle(int v);

 private:
  Color border_color_ = kBlack;
  int border_width_ = 1;
  int back_style_ = 0;
};

// A straight line from (X1, Y1) to (X2, Y2), in twips in its container.
class Line : public Control {
 public:
  Line(Form* form, std::string name);
  Line(Form* form, ControlGroup* group, int index);
  float X1() const { return x1_; }
  float Y1() const { return y1_; }
  float X2() const { return x2_; }
  float Y2() const { return y2_; }
  void SetPoints(float x1, float y1, float x2, float y2);
  Color BorderColor() const { return border_color_; }
  void SetBorderColor(Color v);
  int BorderWidth() const { return border_width_; }
  void SetBorderWidth(int v);

 private:
  float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
  Color border_color_ = kBlack;
  int border_width_ = 1;
};

// The "drives": the mounted file systems. Change when the drive changes.
class DriveListBox : public Control {
 public:
  struct Entry {
    std::string label;           // Windows-1252, as shown
    std::filesystem::path root;  // the mount point
  };
  DriveListBox(Form* form, std::string name);
  DriveListBox(Form* form, ControlGroup* group, int index);

  // Re-reads the mounted file systems.
  void Refresh();
  const std::vector<Entry>& Entries() const { return entries_; }
  int ListCount() const { return static_cast<int>(entries_.size()); }
  int ListIndex() const { return list_index_; }
  // The selected drive's mount point; empty when none.
  std::filesystem::path Drive() const;
  // Selects the drive holding `path` (the mount point with the longest
  // matching prefix). False when none holds it.
  bool SetDrive(const std::filesystem::path& path);
  void SetListIndex(int v);
  // Tests replace the mounted file systems with their own list.
  void SetEntriesForTest(std::vector<Entry> entries);

 private:
  std::vector<Entry> entries_;
  int list_index_ = -1;
};

// A directory list: the current folder's ancestors from the root down,
// the folder itself, and its subfolders. Change when Path changes.
class DirListBox : public Control {
 public:
  struct Entry {
    std::string label;            // the folder's name, Windows-1252 as shown
    std::filesystem::path path;
    int depth = 0;                // 0 for the root
    bool current = false;         // the folder Path names
    bool open = false;            // an ancestor or the current folder
  };
  DirListBox(Form* form, std::string name);
  DirListBox(Form* form, ControlGroup* group, int index);

  const std::filesystem::path& Path() const { return path_; }
  // Goes to an existing folder; false (and nothing changes) otherwise.
  bool SetPath(const std::filesystem::path& p);
  // Re-reads the subfolders of Path.
  void Refresh();
  const std::vector<Entry>& Entries() const { return entries_; }
  int ListCount() const { return static_cast<int>(entries_.size()); }
  // A failure of the last folder reading, "" when none.
  const std::string& LastError() const { return last_error_; }

 private:
  std::filesystem::path path_;
  std::vector<Entry> entries_;
  std::string last_error_;
};

}  // namespace forms
