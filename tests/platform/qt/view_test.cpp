// The Qt view over the runtime's example form: what the user types, clicks
// and tabs reaches the runtime, which decides; the widgets show the
// runtime's state, never their own.

#include "platform/qt/view.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QWheelEvent>

#include "platform/text/cp1252.h"
#include "tests/platform/forms/example_form.h"
#include "tests/platform/qt/qt_test_support.h"

namespace {

using example::ExampleForm;

class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = rt_.Load<ExampleForm>();
    // The example leaves these without a size; a click needs somewhere to land.
    form_->Check1[0].Move(2400, 120, 1500, 300);
    form_->Option1[0].Move(2400, 520, 1500, 300);
    form_->Option1[1].Move(2400, 920, 1500, 300);
    form_->Combo1.Move(2400, 1320, 1500, 300);
    form_->Show();
    // The one-shot timer puts the focus on Text1(0).
    ASSERT_TRUE(qttest::wait_for([&] { return !form_->Timer1.Enabled(); }));
    ASSERT_TRUE(form_->Text1[0].HasFocus());
  }
  void TearDown() override {
    if (form_->Loaded()) form_->Unload();
  }

  QWidget* w(const forms::Control& c) const { return view_.widget(c); }
  QLineEdit* edit(int i) const { return static_cast<QLineEdit*>(w(form_->Text1[i])); }
  // Where the keyboard's keys land: the widget of the runtime's focus.
  QWidget* focused() const { return w(*rt_.FocusedControl()); }

  forms::Runtime rt_;
  qtview::View view_{rt_};
  std::shared_ptr<ExampleForm> form_;
};

TEST_F(ViewTest, TheWindowShowsTheFormInPixels) {
  QWidget* win = view_.window(*form_);
  ASSERT_NE(win, nullptr);
  EXPECT_TRUE(win->isVisible());
  EXPECT_EQ(win->windowTitle(), "Esempio");
  EXPECT_EQ(win->size(), QSize(400, 267));  // 6000 x 4000 twips, rounded
  // Text1(3) lies in Frame2 inside Frame1, at 120 + 400 * 3 twips.
  EXPECT_EQ(w(form_->Text1[3])->parentWidget(), w(form_->Frame2));
  EXPECT_EQ(w(form_->Frame2)->parentWidget(), w(form_->Frame1));
  EXPECT_EQ(w(form_->Text1[3])->geometry(), QRect(8, 88, 133, 20));
  // The runtime's focus is Qt's focus.
  EXPECT_EQ(QApplication::focusWidget(), edit(0));
}

TEST_F(ViewTest, KeysGoThroughTheRuntime) {
  qttest::type(focused(), "abxc");
  // The form's KeyPress turns letters to capitals and refuses "x".
  EXPECT_EQ(form_->Text1[0].Text(), "ABC");
  EXPECT_EQ(edit(0)->text(), "ABC");
  EXPECT_EQ(form_->Text1[0].SelStart(), 3);
  EXPECT_EQ(edit(0)->cursorPosition(), 3);

  qttest::key(focused(), Qt::Key_Backspace, "\b");
  EXPECT_EQ(form_->Text1[0].Text(), "AB");
  qttest::key(focused(), Qt::Key_Left);
  qttest::type(focused(), QString::fromUtf8("é"));
  // Windows-1252 holds é; the box holds its one byte.
  EXPECT_EQ(form_->Text1[0].Text(), "A\xE9" "B");
  EXPECT_EQ(edit(0)->text(), QString::fromUtf8("AéB"));
  // A character Windows-1252 cannot hold is refused whole, as is a key the
  // keyboard map gives no symbol for; a selection stays as it was.
  ASSERT_TRUE(rt_.user_select(form_->Text1[0], 1, 2));
  qttest::type(focused(), QString::fromUtf8("ł"));
  qttest::key(focused(), 0);
  EXPECT_EQ(form_->Text1[0].Text(), "A\xE9" "B");
  EXPECT_EQ(form_->Text1[0].SelLength(), 2);
  EXPECT_EQ(edit(0)->selectedText(), QString::fromUtf8("éB"));
}

TEST_F(ViewTest, TabAndEnterMoveTheFocusAsTheRuntimeSays) {
  // Tab: LostFocus, then GotFocus, with their colours.
  qttest::key(focused(), Qt::Key_Tab, "\t");
  EXPECT_TRUE(form_->Text1[1].HasFocus());
  EXPECT_EQ(QApplication::focusWidget(), edit(1));
  EXPECT_EQ(edit(1)->palette().color(QPalette::Base), QColor(0xC0, 0xFF, 0xFF));
  EXPECT_EQ(edit(0)->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xFF));
  // Shift+Tab goes back.
  qttest::key(focused(), Qt::Key_Backtab, {}, Qt::ShiftModifier);
  EXPECT_TRUE(form_->Text1[0].HasFocus());
  // Enter: the form sends a simulated Tab, which runs after the key.
  qttest::key(focused(), Qt::Key_Return, "\r");
  EXPECT_TRUE(form_->Text1[1].HasFocus());
  EXPECT_EQ(form_->Text1[0].Text(), "");
  EXPECT_EQ(QApplication::focusWidget(), edit(1));
}

TEST_F(ViewTest, PasteGoesThroughTheRuntime) {
  QGuiApplication::clipboard()->setText(QString::fromUtf8("perché xeno\nseconda riga"));
  qttest::key(focused(), Qt::Key_V, {}, Qt::ControlModifier);
  // Up to the first line break, as Windows-1252, each character through the
  // form's KeyPress as if typed: capitals, and no "x".
  EXPECT_EQ(form_->Text1[0].Text(), "PERCH\xE9 ENO");
  EXPECT_EQ(edit(0)->text(), QString::fromUtf8("PERCHé ENO"));
  // Within what MaxLength still allows.
  qttest::key(focused(), Qt::Key_Tab, "\t");
  qttest::key(focused(), Qt::Key_Insert, {}, Qt::ShiftModifier);
  EXPECT_EQ(form_->Text1[1].Text(), "PE");
  // A first line Windows-1252 cannot hold is refused whole; what follows
  // the first line break is never typed, so it may hold anything.
  const std::pair<const char*, const char*> first_lines[] = {
      {"łódź", ""}, {"Mario\nŁódź", "MA"}, {"Mario\r\nŁódź", "MA"}, {"Łódź\nMario", ""}};
  for (const auto& [pasted, kept] : first_lines) {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(pasted));
    form_->Text1[1].SetText("");
    qttest::key(focused(), Qt::Key_V, {}, Qt::ControlModifier);
    EXPECT_EQ(form_->Text1[1].Text(), kept) << pasted;
  }
}

// A question closed without an answer (Escape, its close button) is told
// apart from No.
TEST_F(ViewTest, AQuestionClosedWithoutAnAnswerIsNoAnswer) {
  struct Case {
    const char* how;
    std::function<void(QWidget*)> act;
    forms::MsgResult result;
  };
  const Case cases[] = {
      {"Escape", [](QWidget* box) { qttest::key(box, Qt::Key_Escape); }, forms::MsgResult::Cancel},
      {"close button", [](QWidget* box) { box->close(); }, forms::MsgResult::Cancel},
      {"Enter", [](QWidget* box) { qttest::key(box, Qt::Key_Return, "\r"); }, forms::MsgResult::Yes},
      {"No", [](QWidget* box) {
         for (auto* b : box->findChildren<QAbstractButton*>()) {
           if (b->text() == "No") b->click();
         }
       },
       forms::MsgResult::No},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    qttest::soon([&] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_NE(box, nullptr);
      c.act(box);
    });
    EXPECT_EQ(rt_.MsgBox("Salvare?", forms::MsgButtons::YesNo), c.result);
  }
}

TEST_F(ViewTest, ClicksSelectOptionsTickBoxesAndChooseEntries) {
  QWidget* o0 = w(form_->Option1[0]);
  QWidget* o1 = w(form_->Option1[1]);
  qttest::click(o1);
  EXPECT_TRUE(form_->Option1[1].Value());
  EXPECT_TRUE(form_->Option1[1].HasFocus()) << "the press gives the focus before the click";
  EXPECT_TRUE(static_cast<QRadioButton*>(o1)->isChecked());
  qttest::click(o0);
  EXPECT_TRUE(form_->Option1[0].Value());
  EXPECT_FALSE(form_->Option1[1].Value());
  EXPECT_FALSE(static_cast<QRadioButton*>(o1)->isChecked()) << "the runtime clears the group, and the view shows it";

  qttest::click(w(form_->Check1[0]));
  EXPECT_EQ(form_->Check1[0].Value(), 1);
  EXPECT_EQ(static_cast<QCheckBox*>(w(form_->Check1[0]))->checkState(), Qt::Checked);
  qttest::key(focused(), Qt::Key_Space, " ");
  EXPECT_EQ(form_->Check1[0].Value(), 0);

  // A list-only combo box: Down chooses the next entry; its Click runs.
  ASSERT_TRUE(rt_.user_focus(form_->Combo1));
  qttest::key(focused(), Qt::Key_Down);
  EXPECT_EQ(form_->Combo1.ListIndex(), 0);
  EXPECT_EQ(static_cast<QComboBox*>(w(form_->Combo1))->currentIndex(), 0);
  EXPECT_NE(form_->log.find("B0"), std::string::npos);
  // Choosing in the list (the popup's activated signal) goes through the runtime.
  QMetaObject::invokeMethod(w(form_->Combo1), "activated", Q_ARG(int, 1));
  EXPECT_EQ(form_->Combo1.ListIndex(), 1);
  EXPECT_NE(form_->log.find("B1"), std::string::npos);
}

TEST_F(ViewTest, AReversedScrollBarKeepsItsMinAtTheTop) {
  auto* bar = static_cast<QScrollBar*>(w(form_->VScroll1));
  ASSERT_EQ(form_->VScroll1.Min(), 32767);
  ASSERT_EQ(form_->VScroll1.Max(), 5400);
  EXPECT_EQ(bar->value(), bar->minimum()) << "value Min shows at the top";
  // One wheel notch down over a text box: the bar's wheel step toward the
  // bottom end, its Change moving the page; the box keeps the focus.
  const int large = form_->VScroll1.LargeChange();
  form_->VScroll1.SetWheelChange(1500);
  const QPointF at(5, 5);
  QWheelEvent notch(at, edit(0)->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(edit(0), &notch);
  int expected = 32767 - 1500;
  EXPECT_EQ(form_->VScroll1.Value(), expected);
  EXPECT_EQ(w(form_->Frame2)->y(), qtview::to_pixels(form_->Frame2.Top()));
  EXPECT_TRUE(form_->Text1[0].HasFocus());
  // A click in the trough below the thumb: one large step.
  qttest::mouse(bar, QEvent::MouseButtonPress, QPoint(bar->width() / 2, bar->height() - bar->width() - 3));
  qttest::mouse(bar, QEvent::MouseButtonRelease, QPoint(bar->width() / 2, bar->height() - bar->width() - 3));
  EXPECT_EQ(form_->VScroll1.Value(), expected - large);
  // The thumb dragged to the bottom: the runtime's value is Max and the
  // page (Frame2) moves up.
  bar->setValue(bar->maximum());
  EXPECT_EQ(form_->VScroll1.Value(), 5400);
  EXPECT_EQ(w(form_->Frame2)->y(), qtview::to_pixels(form_->Frame2.Top()));
  EXPECT_LT(w(form_->Frame2)->y(), -400);
}

TEST_F(ViewTest, AModalFormRunsANestedLoopUntilItCloses) {
  bool seen = false;
  qttest::soon([&] {
    auto help = rt_.Find<example::HelpForm>();
    ASSERT_NE(help, nullptr);
    seen = view_.window(*help) && view_.window(*help)->isVisible();
    EXPECT_EQ(view_.window(*help)->windowModality(), Qt::ApplicationModal);
    // The caller takes no input meanwhile.
    EXPECT_FALSE(rt_.AcceptsInput(*form_));
    qttest::click(view_.widget(help->Command1));
  });
  // Alt+A: the access key of "&Aiuto".
  qttest::key(focused(), Qt::Key_A, "a", Qt::AltModifier);
  EXPECT_TRUE(seen);
  EXPECT_EQ(rt_.Find<example::HelpForm>(), nullptr);
  EXPECT_NE(form_->log.find('H'), std::string::npos) << "Show returned after the help closed";
}

TEST_F(ViewTest, KeysGoToTheWindowTheyWereTypedIn) {
  // A second window, shown modelessly after the form, is the active one.
  auto help = rt_.Load<example::HelpForm>();
  help->Show();
  ASSERT_EQ(rt_.ActiveForm(), help.get());
  // Typing into the form's window makes the form active first.
  qttest::type(edit(0), "a");
  EXPECT_EQ(rt_.ActiveForm(), form_.get());
  EXPECT_EQ(form_->Text1[0].Text(), "A");
  EXPECT_TRUE(help->Loaded()) << "the key did not press the other window's button";
  // Bringing a window to the front does the same.
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(view_.window(*help), &activate);
  EXPECT_EQ(rt_.ActiveForm(), help.get());
  help->Unload();
}

TEST(View, UnitsColoursAndFontsAtTheScreen) {
  // &HBBGGRR: red in the low byte.
  EXPECT_EQ(qtview::to_qcolor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(qtview::to_qcolor(0x00FFFF), QColor(255, 255, 0));
  EXPECT_EQ(qtview::to_pixels(8190), 546);
  EXPECT_EQ(qtview::to_pixels(-242.7f), -16);
  struct FontCase {
    const char* name;
    float size;
    const char* family;
    int pixels;
  };
  for (const auto& c : {FontCase{"MS Sans Serif", 8.25f, "Liberation Sans", 11},
                        FontCase{"Arial", 13.5f, "Liberation Sans", 18},
                        FontCase{"Times New Roman", 12, "Liberation Serif", 16}}) {
    forms::FontSpec f;
    f.Name = c.name;
    f.Size = c.size;
    f.Bold = true;
    QFont q = qtview::to_qfont(f);
    EXPECT_EQ(q.family(), c.family) << c.name;
    EXPECT_EQ(q.pixelSize(), c.pixels) << c.name << " " << c.size;
    EXPECT_TRUE(q.bold());
  }
  // Windows-1252 at the screen.
  EXPECT_EQ(qtview::to_qstring("1\xB0 \x80"), QString::fromUtf8("1° €"));
}

// The main loop ends with the last form, and only then: a handler that
// unloads its own form and then shows the next one (the menu's "Prosegui")
// leaves the program running.
TEST(View, TheMainLoopEndsOnlyWhenNoFormIsLeftAfterTheEvent) {
  forms::Runtime rt;
  qtview::View view(rt);
  auto first = std::make_shared<ExampleForm>(rt);
  rt.load(first);
  first->Show();
  std::shared_ptr<ExampleForm> second;
  bool closed_by_user = false;
  qttest::soon([&] {
    forms::Runtime::EventScope one_handler(rt);
    first->Unload();
    second = std::make_shared<ExampleForm>(rt);
    rt.load(second);
    second->Show();
    // The user closes it a moment later, once the loop has run on.
    QTimer::singleShot(30, [&] {
      closed_by_user = second->Loaded();
      if (closed_by_user) view.window(*second)->close();
    });
  });
  rt.Run();
  EXPECT_TRUE(closed_by_user) << "the loop ended while the second form was on screen";
  EXPECT_FALSE(rt.AnyFormLoaded());
}

}  // namespace
