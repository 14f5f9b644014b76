// The example form driven end to end: how a form's test reads.

#include "tests/platform/forms/example_form.h"

#include <gtest/gtest.h>

#include "platform/forms/gtest_support.h"

namespace {

using example::ExampleForm;

class ExampleFormTest : public ::testing::Test {
 protected:
  void SetUp() override { forms::fail_test_on_driver_failure(ui); }
  forms::Runtime rt;
  forms::TestDriver ui{rt};
};

TEST_F(ExampleFormTest, LoadCentresAndScrollsToTheTopEnd) {
  auto f = rt.Load<ExampleForm>();
  EXPECT_FLOAT_EQ(f->Left(), rt.ScreenWidth() / 2 - f->Width() / 2);
  EXPECT_EQ(f->VScroll1.Value(), 32767);
  EXPECT_FLOAT_EQ(f->Frame2.Top(), 0.0f);
  EXPECT_EQ(f->modificato, 0);
  EXPECT_FALSE(f->Visible());
}

TEST_F(ExampleFormTest, TimerFocusesTheFirstFieldOnlyOnceShown) {
  auto f = rt.Load<ExampleForm>();
  ui.run_timers();
  EXPECT_TRUE(f->Timer1.Enabled());  // not shown: the timer waits
  f->Show();
  ui.run_timers();
  EXPECT_FALSE(f->Timer1.Enabled());
  EXPECT_TRUE(f->Text1[0].HasFocus());
  EXPECT_EQ(f->Text1[0].BackColor(), forms::kLightCyan);
}

TEST_F(ExampleFormTest, TypingEnterAndFullBoxMoveOnAfterTheKey) {
  auto f = rt.Load<ExampleForm>();
  f->Show();
  ui.type(f->Text1[0], "abx{ENTER}");
  EXPECT_EQ(f->Text1[0].Text(), "AB");
  EXPECT_TRUE(f->Text1[1].HasFocus());
  ui.type("cde");  // MaxLength 2: the third key moves on and is not entered
  EXPECT_EQ(f->Text1[1].Text(), "CD");
  // Text1(2) does not exist: the next stop is Text1(3), whose placeholder
  // is emptied when it gets the focus.
  EXPECT_TRUE(f->Text1[3].HasFocus());
  EXPECT_EQ(f->Text1[3].Text(), "");
  EXPECT_EQ(f->modificato, 1);
}

TEST_F(ExampleFormTest, QuestionAndModalHelp) {
  auto f = rt.Load<ExampleForm>();
  f->Show();
  ui.run_timers();
  ui.expect_box({"Salvare?", forms::MsgResult::Yes, "Salva", forms::MsgButtons::YesNo, forms::MsgIcon::None});
  ui.click(f->Command1[0]);
  ui.on_modal("HelpForm", [&](forms::Form& help) {
    EXPECT_FALSE(ui.click(f->Command1[0]));  // the form behind takes no input
    ui.click(static_cast<example::HelpForm&>(help).Command1);
  });
  ui.click(f->Command1[1]);
  EXPECT_EQ(f->log, "G0L0SH");
  EXPECT_EQ(rt.FindForm("HelpForm"), nullptr);
}

}  // namespace
