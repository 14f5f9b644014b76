#pragma once
// Shared by the tests that run the whole program offscreen through the Qt
// view: a message-box answerer that clicks the real QMessageBox's buttons,
// and a fixture with an empty program folder, the program's forms
// registered as main registers them, and the view over the runtime.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main/program.h"
#include "app/shell/intro.h"
#include "platform/forms/forms.h"
#include "platform/qt/view.h"
#include "platform/system/system.h"
#include "platform/text/cp1252.h"
#include "tests/platform/qt/qt_test_support.h"

namespace qtprogram {

namespace fs = std::filesystem;

// Answers the message boxes as they come: a question with the button named
// next in the script, an OK box with OK; keeps their texts (Windows-1252).
// It looks for the active QMessageBox from a repeating timer, which runs
// inside the box's own event loop.
class Answerer {
 public:
  Answerer() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
    timer_.start();
  }
  void answer(QString button) { script_.push_back(std::move(button)); }
  std::vector<std::string> texts;
  std::vector<std::string> titles;
  int unscripted = 0;
  std::size_t pending() const { return script_.size(); }

 private:
  void look() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    texts.push_back(cp1252::from_utf8(box->text().toStdString()));
    titles.push_back(cp1252::from_utf8(box->windowTitle().toStdString()));
    QString want = script_.empty() ? QString() : script_.front();
    if (script_.empty()) {
      // An OK box needs no script; a question does.
      if (box->buttons().size() > 1) ++unscripted;
    } else {
      script_.pop_front();
    }
    for (QAbstractButton* b : box->buttons()) {
      if (want.isEmpty() ? b == static_cast<QAbstractButton*>(box->defaultButton()) : b->text() == want) {
        b->click();
        return;
      }
    }
    box->defaultButton()->click();
  }
  QTimer timer_;
  std::deque<QString> script_;
};

// The "Sì" button of a question.
inline QString si() { return QString::fromUtf8("S\u00EC"); }

// A temporary folder, removed with everything in it.
class TempFolder {
 public:
  explicit TempFolder(const char* stem) {
    std::string model = (fs::temp_directory_path() / (std::string(stem) + "-XXXXXX")).string();
    if (::mkdtemp(model.data())) path_ = model;
  }
  ~TempFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// The program as main starts it, in an empty program folder, shown through
// the view.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    sys::set_program_folder(folder_.path());
    sevrina::registra_programma(rt_);
  }
  void TearDown() override { rt_.End(); }

  forms::Form* form(const char* name) const { return rt_.FindForm(name); }
  QWidget* window(const char* name) const {
    forms::Form* f = form(name);
    return f ? view_.window(*f) : nullptr;
  }
  QWidget* w(const forms::Control& c) const { return view_.widget(c); }
  QWidget* w(const char* form_name, const char* control, int index) const {
    forms::Form* f = form(form_name);
    if (!f) return nullptr;
    forms::Control* c = f->FindControl(control, index);
    return c ? view_.widget(*c) : nullptr;
  }
  void click(const char* form_name, const char* control, int index) {
    QWidget* widget = w(form_name, control, index);
    ASSERT_NE(widget, nullptr) << form_name << "." << control << "(" << index << ")";
    qttest::click(widget);
  }
  // Picks a choice of the menu and presses "Prosegui".
  void prosegui(int choice) {
    click("Intro", "Option1", choice);
    click("Intro", "Command1", 2);
  }
  // Opens an editing form from a fresh menu and waits for its focus timer.
  void apri(int choice, const char* name) {
    if (!form("Intro")) sevrina::mostra_intro(rt_);
    prosegui(choice);
    ASSERT_TRUE(qttest::wait_for([&] {
      forms::Form* f = form(name);
      return f && window(name) && window(name)->isVisible() && !form("Intro") && rt_.ArmedTimers().empty();
    })) << name;
  }

  // Where the keyboard's keys land: the widget of the runtime's focus.
  QWidget* focused() const {
    forms::Control* c = rt_.FocusedControl();
    return c ? view_.widget(*c) : nullptr;
  }
  // Types text, one key press per character, into the focused widget.
  void type(const QString& text) {
    for (QChar ch : text) {
      QWidget* target = focused();
      ASSERT_NE(target, nullptr) << "no focus for " << text.toStdString();
      qttest::key(target, 0, QString(ch));
    }
  }
  void enter() {
    QWidget* target = focused();
    ASSERT_NE(target, nullptr);
    qttest::key(target, Qt::Key_Return, "\r");
  }
  void tab() {
    QWidget* target = focused();
    ASSERT_NE(target, nullptr);
    qttest::key(target, Qt::Key_Tab, "\t");
  }

  // Keys in the notation "text{ENTER}...", each a key press on the widget
  // that has the focus when the key comes.
  void keys(const std::string& utf8) {
    QString text = QString::fromStdString(utf8);
    const QString enter_mark = "{ENTER}";
    int i = 0;
    while (i < text.size()) {
      if (text.mid(i, enter_mark.size()) == enter_mark) {
        enter();
        i += enter_mark.size();
      } else {
        type(text.mid(i, 1));
        ++i;
      }
    }
  }

  // Moves the page with the scroll bar's widget, as a user drags it, until
  // the control's widget lies whole inside the page's viewport.
  void in_vista(forms::Form& f, forms::Control& c) {
    QWidget* target = w(c);
    ASSERT_NE(target, nullptr) << c.FullName();
    QWidget* viewport = w(*f.FindControl("Frame1"));
    auto* bar = qobject_cast<QScrollBar*>(w(*f.FindControl("VScroll1")));
    ASSERT_NE(viewport, nullptr);
    ASSERT_NE(bar, nullptr);
    auto inside = [&] {
      QRect r(target->mapTo(viewport, QPoint(0, 0)), target->size());
      return viewport->rect().contains(r);
    };
    if (inside()) return;
    const int step = std::max(1, (bar->maximum() - bar->minimum()) / 400);
    for (int v = bar->minimum(); v <= bar->maximum(); v += step) {
      bar->setValue(v);
      if (inside()) return;
    }
    FAIL() << c.FullName() << " never comes into view";
  }
  // A click on a control of an editing form, brought into view first.
  void clicca(forms::Form& f, forms::Control& c) {
    in_vista(f, c);
    qttest::click(w(c));
  }
  // A click into a text box, then keys.
  void scrivi(forms::Form& f, forms::Control& c, const std::string& utf8) {
    clicca(f, c);
    ASSERT_TRUE(c.HasFocus()) << c.FullName();
    keys(utf8);
  }
  // The text a line edit shows, as Windows-1252.
  static std::string shown(QWidget* edit) {
    auto* e = qobject_cast<QLineEdit*>(edit);
    return e ? cp1252::from_utf8(e->text().toStdString()) : std::string("<not a line edit>");
  }

  // Saves the window's image under the build folder and returns it.
  QImage screenshot(const char* name, const char* file) {
    QWidget* win = window(name);
    if (!win) return {};
    QImage image = win->grab().toImage();
    const fs::path out = fs::path(SEVRINA_BINARY_DIR) / "tests" / "app" / "main" / file;
    EXPECT_TRUE(image.save(QString::fromStdString(out.string()), "PNG")) << out;
    return image;
  }

  TempFolder folder_{"sevrina-program"};
  forms::Runtime rt_;
  qtview::View view_{rt_};
  Answerer boxes_;
};

}  // namespace qtprogram
