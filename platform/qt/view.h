#pragma once
// The Qt 6 Widgets view of the forms runtime. It shows every loaded form as a
// real window and every control as a widget, keeps them in step with the
// runtime's state (it is the runtime's Observer), and feeds the user's keys,
// clicks, selections and window activations back through the runtime's
// user_* members. The runtime decides everything: focus, Tab order, what a
// key does to a text box, which option is selected. The view only draws.
//
// It is also the runtime's EventLoop (a modal Show runs a nested QEventLoop
// until the form closes; Runtime::Run runs the outermost one) and its
// MessageBoxes (QMessageBox).
//
// Units: twips to pixels at 15 twips per pixel; colours &HBBGGRR; the fonts
// MS Sans Serif and Arial are drawn with the metric-compatible Liberation
// Sans, sizes in points at 96 dpi. Texts are Windows-1252 inside the runtime
// and converted at the screen; a typed character Windows-1252 cannot hold is
// refused.
//
// Form code never includes this header; only the program's main and the
// view's tests do.

#include <functional>
#include <memory>
#include <string_view>

#include <QColor>
#include <QFont>
#include <QString>

#include "platform/forms/forms.h"

class QWidget;

namespace qtview {

// The look every window shares: the Fusion style (its widgets follow the
// palette, so BackColor shows the same on every desktop) and Liberation Sans
// as the default font. Call once after the QApplication exists.
void prepare_application();

// Conversions at the screen.
int to_pixels(float twips);
QColor to_qcolor(forms::Color color);
QString to_qstring(std::string_view w1252);
// The font a control's FontSpec is drawn with.
QFont to_qfont(const forms::FontSpec& font);

class View final : public forms::Observer, public forms::EventLoop, public forms::MessageBoxes {
 public:
  // Installs itself on `rt` as observer, event loop and message boxes and
  // tells the runtime the primary screen's size. A QApplication must exist.
  explicit View(forms::Runtime& rt);
  // Uninstalls itself and closes its windows.
  ~View() override;
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // The window of a loaded form (its inner area is the form's client area),
  // or null.
  QWidget* window(const forms::Form& form) const;
  // The widget of a control, or null (timers have none).
  QWidget* widget(const forms::Control& control) const;

  // forms::Observer
  void form_loaded(forms::Form& form) override;
  void form_shown(forms::Form& form, forms::ShowMode mode) override;
  void form_hidden(forms::Form& form) override;
  void form_unloaded(forms::Form& form) override;
  void form_changed(forms::Form& form, forms::Property what) override;
  void control_changed(forms::Control& control, forms::Property what) override;
  void focus_changed(forms::Form& form, forms::Control* from, forms::Control* to) override;
  void program_ended() override;

  // forms::EventLoop
  void run_until(forms::Form* modal, const std::function<bool()>& done) override;

  // forms::MessageBoxes
  forms::MsgResult show(const forms::MessageBoxRequest& request) override;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qtview
