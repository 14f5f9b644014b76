// Forms' lifecycle, the close box, timers, modal forms, message boxes and
// the driver's own failure reports.

#include "tests/platform/forms/test_forms.h"

namespace {

using bench::Banco;
using bench::Dialogo;
using LifecycleTest = bench::BancoTest;

TEST_F(LifecycleTest, LoadShowUnloadAndLoadAfresh) {
  EXPECT_TRUE(f->Loaded());
  EXPECT_FALSE(f->Visible());
  EXPECT_EQ(rt.Load<Banco>(), f);  // already loaded: the same form
  EXPECT_EQ(f->loads, 1);
  f->Show();
  EXPECT_TRUE(f->Visible());
  f->Option1[1].SetValue(true);
  EXPECT_TRUE(f->Unload());
  EXPECT_FALSE(f->Loaded());
  EXPECT_FALSE(f->Visible());
  EXPECT_EQ(rt.FindForm("Banco"), nullptr);
  // Loading again gives a new form with its design-time state.
  auto g = rt.Load<Banco>();
  EXPECT_NE(g, f);
  EXPECT_FALSE(g->Option1[1].Value());
  // An unloaded form raises no more events.
  f->log.clear();
  f->Text1[0].SetText("x");
  EXPECT_EQ(f->log, "");
}

TEST_F(LifecycleTest, CloseBoxAsksQueryUnloadWhichMayRefuse) {
  f->Show();
  f->query_cancel = 1;
  f->log.clear();
  EXPECT_FALSE(ui.close(*f));
  EXPECT_TRUE(f->Loaded());
  EXPECT_EQ(f->log, "query0 ");
  f->query_cancel = 0;
  EXPECT_TRUE(ui.close(*f));
  EXPECT_EQ(f->log, "query0 query0 unload ");
  EXPECT_FALSE(f->Loaded());
}

TEST_F(LifecycleTest, ModalShowBlocksUntilClosedAndFreezesTheOwner) {
  f->Show();
  std::string order;
  ui.on_modal("Dialogo", [&](forms::Form& d) {
    order += "script ";
    EXPECT_EQ(rt.ActiveForm(), &d);
    EXPECT_TRUE(static_cast<Dialogo&>(d).Text1.HasFocus());
    EXPECT_FALSE(ui.click(f->Command1[0]));  // the owner takes no input
    EXPECT_FALSE(ui.close(*f));
    ui.type("ciao");
    EXPECT_EQ(static_cast<Dialogo&>(d).Text1.Text(), "ciao");
    ui.close(d);
  });
  f->on_command = [&](int) {
    rt.Load<Dialogo>()->Show(forms::ShowMode::Modal);
    order += "after ";
  };
  ui.click(f->Command1[1]);
  EXPECT_EQ(order, "script after ");
  EXPECT_EQ(ui.modal_shown(), (std::vector<std::string>{"Dialogo"}));
  EXPECT_EQ(rt.ActiveForm(), f.get());
  f->on_command = nullptr;
  EXPECT_TRUE(ui.click(f->Command1[0]));
}

// The driver's failure reports, collected instead of failing this test.
TEST(DriverFailures, UnexpectedBoxesAndModalFormsAreReported) {
  forms::Runtime rt;
  forms::TestDriver ui(rt);
  std::vector<std::string> reported;
  ui.set_failure_handler([&](const std::string& m) { reported.push_back(m); });

  // Unexpected: answered with the default button and reported.
  EXPECT_EQ(rt.MsgBox("boh", forms::MsgButtons::YesNo), forms::MsgResult::Yes);
  // A different text from the one expected.
  ui.expect_box("uno");
  rt.MsgBox("due");
  // An answer the box has no button for.
  ui.expect_box("tre", forms::MsgResult::Yes);
  rt.MsgBox("tre");
  // A modal form with no script is closed so that Show returns.
  auto d = rt.Load<Dialogo>();
  d->Show(forms::ShowMode::Modal);
  EXPECT_FALSE(d->Loaded());
  // A script that leaves the form open.
  ui.on_modal("Dialogo", [](forms::Form&) {});
  rt.Load<Dialogo>()->Show(forms::ShowMode::Modal);
  // Expectations never met.
  ui.expect_box("mai");
  ui.on_modal("Mai", [](forms::Form&) {});
  EXPECT_FALSE(ui.type("{NOPE}"));
  ui.verify();
  const char* expected[] = {"unexpected message box \"boh\"", "does not match the expected \"uno\"",
                            "no such button", "no script", "still open", "invalid key notation",
                            "never shown: \"mai\"", "modal form Mai was never shown"};
  ASSERT_EQ(reported.size(), std::size(expected));
  for (std::size_t i = 0; i < reported.size(); ++i) EXPECT_NE(reported[i].find(expected[i]), std::string::npos) << reported[i];
}

}  // namespace
