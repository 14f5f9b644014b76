#include "platform/forms/form.h"

#include <algorithm>

#include "platform/forms/runtime.h"

namespace forms {

Form::Form(Runtime& runtime, std::string name) : runtime_(&runtime), name_(std::move(name)) {
  caption_ = name_;
}

Form::~Form() = default;

void Form::SetCaption(std::string v) {
  if (caption_ == v) return;
  caption_ = std::move(v);
  changed(Property::Caption);
}

void Form::SetBackColor(Color v) {
  v &= 0xFFFFFF;
  if (back_color_ == v) return;
  back_color_ = v;
  changed(Property::BackColor);
}

void Form::SetFont(const FontSpec& v) {
  if (font_ == v) return;
  font_ = v;
  changed(Property::Font);
}

float Form::Width() const { return client_width_ + 2 * runtime_->FrameBorder(); }
float Form::Height() const {
  return client_height_ + runtime_->TitleBarHeight() + 2 * runtime_->FrameBorder();
}

void Form::SetLeft(float v) {
  if (left_ == v) return;
  left_ = v;
  changed(Property::Geometry);
}
void Form::SetTop(float v) {
  if (top_ == v) return;
  top_ = v;
  changed(Property::Geometry);
}
void Form::Move(float left, float top) {
  left_ = left;
  top_ = top;
  changed(Property::Geometry);
}
void Form::SetClientSize(float width, float height) {
  client_width_ = std::max(0.0f, width);
  client_height_ = std::max(0.0f, height);
  changed(Property::Geometry);
}

void Form::Show(ShowMode mode) { runtime_->show_form(*this, mode); }
void Form::Hide() { runtime_->hide_form(*this); }
bool Form::Unload() { return runtime_->unload_form(*this, UnloadMode::Code); }

Control* Form::FindControl(std::string_view name, int index) const {
  for (Control* c : controls_) {
    if (c->Name() == name && c->Index() == index) return c;
  }
  return nullptr;
}

std::vector<Control*> Form::TabStops() const { return runtime_->tab_stops(*this); }

MsgResult Form::MsgBox(std::string text, MsgButtons buttons, MsgIcon icon) {
  return runtime_->MsgBox(std::move(text), buttons, icon);
}
MsgResult Form::MsgBox(std::string text, MsgButtons buttons, MsgIcon icon, std::string title) {
  return runtime_->MsgBox(std::move(text), buttons, icon, std::move(title));
}
void Form::SendKeys(std::string_view keys) { runtime_->SendKeys(keys); }

void Form::register_control(Control* c) {
  c->order_ = next_order_++;
  c->tab_index_ = c->order_;
  controls_.push_back(c);
}

void Form::unregister_control(Control* c) {
  auto it = std::find(controls_.begin(), controls_.end(), c);
  if (it != controls_.end()) controls_.erase(it);
  if (active_ == c) {
    active_ = nullptr;
    active_got_focus_ = false;
  }
}

void Form::changed(Property p) {
  if (loaded_) runtime_->notify_form(*this, p);
}

}  // namespace forms
