// The five help forms: their pages (heading, subheading, numbered notes that
// fit the window), centring, and closing through the close box.

#include "app/shell/help_forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/forms/gtest_support.h"

namespace sevrina {
namespace {

struct HelpCase {
  const char* name;
  float width, height;
  const char* subheading;
  int notes;
  std::shared_ptr<HelpForm> (*load)(forms::Runtime&);
};

void PrintTo(const HelpCase& c, std::ostream* os) { *os << c.name; }

template <class F>
std::shared_ptr<HelpForm> load(forms::Runtime& rt) {
  return rt.Load<F>();
}

class HelpFormsTest : public ::testing::TestWithParam<HelpCase> {
 protected:
  forms::Runtime rt_;
  forms::TestDriver ui_{rt_};
};

TEST_P(HelpFormsTest, ItsPage) {
  const HelpCase& c = GetParam();
  forms::fail_test_on_driver_failure(ui_);
  auto form = c.load(rt_);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Name(), c.name);
  EXPECT_EQ(form->Caption(), "Help");
  EXPECT_EQ(form->ScaleWidth(), c.width);
  EXPECT_EQ(form->ScaleHeight(), c.height);
  // Its load handler only centres it.
  EXPECT_FLOAT_EQ(form->Left(), rt_.ScreenWidth() / 2 - form->Width() / 2);
  EXPECT_FLOAT_EQ(form->Top(), rt_.ScreenHeight() / 2 - form->Height() / 2);

  EXPECT_EQ(form->Label1.Caption(), "AVVERTENZE AL MODELLO DI COMPILAZIONE ELETTRONICA DELLA MODULISTICA");
  EXPECT_EQ(form->Label2.Caption(), c.subheading);
  for (auto* title : {&form->Label1, &form->Label2}) {
    EXPECT_EQ(title->Font().Name, "Arial");
    EXPECT_TRUE(title->Font().Bold);
    EXPECT_FLOAT_EQ(title->Font().Size, 12);
  }

  ASSERT_EQ(form->Label3.Count(), c.notes);
  ASSERT_EQ(form->Label4.Count(), c.notes);
  float previous_bottom = form->Label2.Top() + form->Label2.Height();
  for (int i = 0; i < c.notes; ++i) {
    SCOPED_TRACE(i);
    auto& number = form->Label3[i];
    auto& text = form->Label4[i];
    EXPECT_EQ(number.Caption(), std::to_string(i + 1) + ".");
    EXPECT_FALSE(text.Caption().empty());
    for (auto* l : {&number, &text}) {
      EXPECT_EQ(l->Font().Name, "Arial");
      EXPECT_FLOAT_EQ(l->Font().Size, 9.75f);
      EXPECT_FALSE(l->Font().Bold);
    }
    // The number in a narrow column at the left of its text, on its line.
    EXPECT_EQ(number.Top(), text.Top());
    EXPECT_LE(number.Left() + number.Width(), text.Left());
    EXPECT_LT(number.Width(), text.Width() / 10);
    // Notes follow one another and stay inside the window.
    EXPECT_GE(text.Top(), previous_bottom);
    EXPECT_LE(text.Left() + text.Width(), form->ScaleWidth());
    EXPECT_LE(text.Top() + text.Height(), form->ScaleHeight());
    previous_bottom = text.Top() + text.Height();
  }

  // No buttons: nothing takes the focus; the close box is the way out.
  form->Show();
  EXPECT_TRUE(form->TabStops().empty());
  EXPECT_TRUE(ui_.close(*form));
  EXPECT_FALSE(form->Loaded());
}

INSTANTIATE_TEST_SUITE_P(
    All, HelpFormsTest,
    ::testing::Values(
        HelpCase{"Help_intro", 11070, 6030, "AVVERTENZE GENERALI", 5, &load<Help_intro>},
        HelpCase{"Help_sevrina_condomini", 11070, 3915, "AVVERTENZE SEVRINA CONDOMINI", 3,
                 &load<Help_sevrina_condomini>},
        HelpCase{"Help_sevrina_proprietari", 11010, 4020, "AVVERTENZE SEVRINA PROPRIETARI O COMPROPRIETARI", 3,
                 &load<Help_sevrina_proprietari>},
        HelpCase{"Help_quadro_economico", 11070, 6270, "AVVERTENZE QUADRO ECONOMICO DELL'INTERVENTO", 6,
                 &load<Help_quadro_economico>},
        HelpCase{"Help_atto_notorio", 11070, 3900, "AVVERTENZE DICHIARAZIONI SOSTITUTIVE ATTO NOTORIO", 4,
                 &load<Help_atto_notorio>}),
    [](const ::testing::TestParamInfo<HelpCase>& info) { return std::string(info.param.name); });

TEST(HelpForms, ShownModallyTheyBlockTheirCaller) {
  forms::Runtime rt;
  forms::TestDriver ui(rt);
  forms::fail_test_on_driver_failure(ui);
  int closed = 0;
  ui.on_modal("Help_atto_notorio", [&](forms::Form& help) {
    EXPECT_TRUE(help.IsModal());
    ++closed;
    ui.close(help);
  });
  mostra_help<Help_atto_notorio>(rt);
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(rt.Find<Help_atto_notorio>(), nullptr);
}

}  // namespace
}  // namespace sevrina
