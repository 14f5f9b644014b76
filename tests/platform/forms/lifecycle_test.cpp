// Forms' lifecycle, modal forms, timers, message boxes, the observer, the
// end of the program, and the driver's own failure reports.

#include <gtest/gtest.h>

#include "platform/forms/gtest_support.h"
#include "tests/platform/forms/test_forms.h"

namespace {

using bench::Banco;
using bench::Dialogo;

// Records what the view would be told.
struct Spy : forms::Observer {
  std::vector<std::string> events;
  void form_loaded(forms::Form& f) override { events.push_back("loaded " + f.Name()); }
  void form_shown(forms::Form& f, forms::ShowMode m) override {
    events.push_back(std::string(m == forms::ShowMode::Modal ? "modal " : "shown ") + f.Name());
  }
  void form_hidden(forms::Form& f) override { events.push_back("hidden " + f.Name()); }
  void form_unloaded(forms::Form& f) override { events.push_back("unloaded " + f.Name()); }
  void control_changed(forms::Control& c, forms::Property p) override {
    if (p == forms::Property::Text) events.push_back("text " + c.FullName());
  }
  void focus_changed(forms::Form&, forms::Control*, forms::Control* to) override {
    events.push_back("focus " + (to ? to->FullName() : std::string("-")));
  }
  void program_ended() override { events.push_back("ended"); }
};

class LifecycleTest : public ::testing::Test {
 protected:
  void SetUp() override { forms::fail_test_on_driver_failure(ui); }
  forms::Runtime rt;
  forms::TestDriver ui{rt};
};

TEST_F(LifecycleTest, LoadShowUnloadAndLoadAfresh) {
  auto f = rt.Load<Banco>();
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

TEST_F(LifecycleTest, ShowLoadsWhenNeeded) {
  auto f = std::make_shared<Banco>(rt);
  EXPECT_FALSE(f->Loaded());
  f->Show();
  EXPECT_TRUE(f->Loaded());
  EXPECT_EQ(f->log, "load got0 ");
}

TEST_F(LifecycleTest, UnloadInsideAHandlerFinishesAfterIt) {
  auto f = rt.Load<Banco>();
  f->Show();
  std::weak_ptr<Banco> weak = f;
  bool ran_after_unload = false;
  Banco* raw = f.get();
  raw->on_command = [&](int) {
    raw->Unload();
    // The form's own code goes on; the object is still there.
    ran_after_unload = !raw->Loaded();
    raw->Text1[0].SetText("late");  // raises nothing any more
  };
  f.reset();  // only the runtime holds the form now
  ui.click(raw->Command1[0]);
  EXPECT_TRUE(ran_after_unload);
  EXPECT_TRUE(weak.expired());  // released once the click was over
}

TEST_F(LifecycleTest, CloseBoxAsksQueryUnloadWhichMayRefuse) {
  auto f = rt.Load<Banco>();
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

TEST_F(LifecycleTest, UnloadStopsTheTimersAndTimersWaitForShow) {
  auto f = rt.Load<Banco>();
  f->Timer1.SetEnabled(true);
  f->log.clear();
  ui.run_timers();
  EXPECT_EQ(f->log, "");  // not shown yet
  f->Show();
  f->log.clear();
  ui.run_timers(3);
  EXPECT_EQ(f->log, "timer timer timer ");  // periodic until disabled
  f->on_timer = [&] { f->Timer1.SetEnabled(false); };
  f->log.clear();
  ui.run_timers(3);
  EXPECT_EQ(f->log, "timer ");
  f->Timer1.SetEnabled(true);
  f->Timer1.SetInterval(0);  // interval 0: never fires
  EXPECT_TRUE(rt.ArmedTimers().empty());
  f->Timer1.SetInterval(1);
  f->Unload();
  EXPECT_FALSE(f->Timer1.Enabled());
  EXPECT_TRUE(rt.ArmedTimers().empty());
}

TEST_F(LifecycleTest, ModalShowBlocksUntilClosedAndFreezesTheOwner) {
  auto f = rt.Load<Banco>();
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

TEST_F(LifecycleTest, KeysQueuedInsideAModalFormRunThere) {
  auto f = rt.Load<Banco>();
  f->Show();
  // The click's handler shows a second bench form modally; Enter in its
  // first box queues a Tab, which must run inside the modal loop.
  f->on_command = [&](int) {
    auto second = std::make_shared<Banco>(rt);
    second->on_key = [s = second.get()](int, int& k) {
      if (k == 13) s->SendKeys("{TAB}");
    };
    second->Show(forms::ShowMode::Modal);
  };
  ui.on_modal("Banco", [&](forms::Form& m) {
    auto& b = static_cast<Banco&>(m);
    ui.type(b.Text1[0], "{ENTER}");
    EXPECT_TRUE(b.Check1[0].HasFocus());
    ui.close(m);
  });
  ui.click(f->Command1[0]);
  EXPECT_EQ(ui.modal_shown(), (std::vector<std::string>{"Banco"}));
  EXPECT_FALSE(rt.KeysPending());
}

TEST_F(LifecycleTest, MessageBoxesTitlesAndDefaults) {
  rt.SetTitle("Sevrina");
  ui.expect_box("Deve selezionare una scelta!");
  ui.expect_box({"Sovrascrivere?", forms::MsgResult::No, std::string("Sovrascrivere"), forms::MsgButtons::YesNo,
                 forms::MsgIcon::None});
  ui.expect_box({"errore", forms::MsgResult::OK, std::string("Sevrina"), forms::MsgButtons::OK,
                 forms::MsgIcon::Critical});
  EXPECT_EQ(rt.MsgBox("Deve selezionare una scelta!"), forms::MsgResult::OK);
  EXPECT_EQ(rt.MsgBox("Sovrascrivere?", forms::MsgButtons::YesNo, forms::MsgIcon::None, "Sovrascrivere"),
            forms::MsgResult::No);
  EXPECT_EQ(rt.MsgBox("errore", forms::MsgButtons::OK, forms::MsgIcon::Critical), forms::MsgResult::OK);
  ASSERT_EQ(ui.boxes().size(), 3u);
  const auto& first = ui.boxes()[0].request;
  EXPECT_EQ(first.title, "Sevrina");
  EXPECT_FALSE(first.own_title);
  EXPECT_EQ(first.default_button, forms::MsgResult::OK);
  const auto& second = ui.boxes()[1].request;
  EXPECT_TRUE(second.own_title);
  EXPECT_EQ(second.default_button, forms::MsgResult::Yes);
  EXPECT_EQ(ui.pending_boxes(), 0);
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
  ASSERT_EQ(reported.size(), 8u);
  EXPECT_NE(reported[0].find("unexpected message box \"boh\""), std::string::npos);
  EXPECT_NE(reported[1].find("does not match the expected \"uno\""), std::string::npos);
  EXPECT_NE(reported[2].find("no such button"), std::string::npos);
  EXPECT_NE(reported[3].find("no script"), std::string::npos);
  EXPECT_NE(reported[4].find("still open"), std::string::npos);
  EXPECT_NE(reported[5].find("invalid key notation"), std::string::npos);
  EXPECT_NE(reported[6].find("never shown: \"mai\""), std::string::npos);
  EXPECT_NE(reported[7].find("modal form Mai was never shown"), std::string::npos);
}

TEST_F(LifecycleTest, TheProgramEndsWhenNoFormIsLeftButNotBetweenForms) {
  Spy spy;
  rt.AddObserver(&spy);
  auto f = rt.Load<Banco>();
  f->Show();
  // A handler that unloads its form and then shows another: no end between.
  f->on_command = [&](int) {
    f->Unload();
    rt.Load<Dialogo>()->Show();
  };
  ui.click(f->Command1[0]);
  EXPECT_EQ(std::count(spy.events.begin(), spy.events.end(), "ended"), 0);
  auto* d = rt.FindForm("Dialogo");
  ASSERT_NE(d, nullptr);
  ui.close(*d);
  EXPECT_EQ(spy.events.back(), "ended");
  EXPECT_FALSE(rt.AnyFormLoaded());
  rt.RemoveObserver(&spy);
}

TEST_F(LifecycleTest, EndUnloadsEverythingWithoutEvents) {
  auto f = rt.Load<Banco>();
  f->Show();
  f->Timer1.SetEnabled(true);
  f->on_command = [&](int) {
    f->SendKeys("{TAB}");
    rt.End();
  };
  f->log.clear();
  ui.click(f->Command1[0]);
  EXPECT_TRUE(rt.Ended());
  EXPECT_FALSE(f->Loaded());
  EXPECT_EQ(f->log, "lost0 cmdgot0 cmd0 ");  // no query, no unload, no queued Tab
  EXPECT_FALSE(rt.KeysPending());
  EXPECT_FALSE(ui.click(f->Command1[0]));
  EXPECT_EQ(rt.MsgBox("dopo la fine"), forms::MsgResult::OK);  // shows nothing
  EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(LifecycleTest, ObserverSeesStateChanges) {
  Spy spy;
  rt.AddObserver(&spy);
  rt.SendKeys("{TAB}");  // no form yet: nothing runs, and the program has not ended
  EXPECT_TRUE(spy.events.empty());
  auto d = rt.Load<Dialogo>();
  d->Show();
  d->Text1.SetText("a");
  ui.type("b");
  d->Unload();
  rt.RemoveObserver(&spy);
  EXPECT_EQ(spy.events, (std::vector<std::string>{"loaded Dialogo", "shown Dialogo", "focus Text1", "text Text1",
                                                  "text Text1", "hidden Dialogo", "unloaded Dialogo", "ended"}));
}

TEST_F(LifecycleTest, FormGeometry) {
  auto d = rt.Load<Dialogo>();
  d->SetClientSize(11880, 8190);
  rt.SetFrameMetrics(60, 390);
  EXPECT_FLOAT_EQ(d->Width(), 12000);
  EXPECT_FLOAT_EQ(d->Height(), 8190 + 390 + 120);
  EXPECT_FLOAT_EQ(d->ScaleWidth(), 11880);
  d->Move(-10.5f, 20);
  EXPECT_FLOAT_EQ(d->Left(), -10.5f);
}

}  // namespace
