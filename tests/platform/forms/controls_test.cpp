// Controls: text editing by typed keys, check boxes, option groups, combo
// boxes; the key notation the driver types.

#include <optional>

#include "tests/platform/forms/test_forms.h"

namespace {

class ControlsTest : public bench::BancoTest {
 protected:
  void SetUp() override {
    BancoTest::SetUp();
    f->Show();
    // Away from Text1(0), which took the focus at Show, so that the logs
    // below hold only what each step raises.
    ui.focus(f->VScroll1);
    f->log.clear();
  }
};

TEST_F(ControlsTest, TypedKeysEditTheTextBox) {
  struct Case {
    const char* name;
    std::string text;
    int sel_start, sel_length, max_length;
    bool locked;
    int key;
    std::string result;
    int caret;
    bool changed;
    std::optional<forms::NavKey> nav = {};  // an arrow instead of `key`
  };
  const Case cases[] = {
      {"append", "abc", 3, 0, 0, false, 'd', "abcd", 4, true},
      {"insert at caret", "abc", 1, 0, 0, false, 'X', "aXbc", 2, true},
      {"replace selection", "abc", 0, 3, 3, false, 'Z', "Z", 1, true},
      {"full box refuses", "ab", 2, 0, 2, false, 'c', "ab", 2, false},
      {"full box, part selected, replaces", "ab", 0, 1, 2, false, 'c', "cb", 1, true},
      {"backspace before caret", "abc", 2, 0, 0, false, 8, "ac", 1, true},
      {"backspace at start", "abc", 0, 0, 0, false, 8, "abc", 0, false},
      {"backspace deletes selection", "abcd", 1, 2, 0, false, 8, "ad", 1, true},
      {"backspace in a full box", "ab", 2, 0, 2, false, 8, "a", 1, true},
      {"enter inserts nothing", "abc", 1, 0, 0, false, 13, "abc", 1, false},
      {"locked edits nothing", "abc", 3, 0, 0, true, 'd', "abc", 3, false},
      {"locked refuses backspace", "abc", 3, 0, 0, true, 8, "abc", 3, false},
      {"Windows-1252 letter", "perch", 5, 0, 0, false, 0xE9, "perch\xE9", 6, true},
      {"control code inserts nothing", "abc", 3, 0, 0, false, 1, "abc", 3, false},
      {"right arrow ends the selection", "abcd", 1, 2, 0, false, 0, "abcd", 3, false, forms::NavKey::Right},
  };
  auto& t = f->Text1[0];
  ui.focus(t);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    t.SetLocked(false);
    t.SetMaxLength(0);
    t.SetText(c.text);
    t.SetMaxLength(c.max_length);
    t.SetSelStart(c.sel_start);
    t.SetSelLength(c.sel_length);
    t.SetLocked(c.locked);
    f->log.clear();
    EXPECT_TRUE(c.nav ? rt.user_nav_key(*c.nav) : ui.key(c.key));
    EXPECT_EQ(t.Text(), c.result);
    EXPECT_EQ(t.SelStart(), c.caret);
    EXPECT_EQ(t.SelLength(), 0);
    // KeyPress always comes first, even in a locked box; Change only on a
    // real change. An arrow raises neither.
    EXPECT_EQ(f->log, c.nav ? "" : c.changed ? "key0 change0 " : "key0 ");
  }
}

TEST_F(ControlsTest, OptionGroupsByContainer) {
  f->Option1[0].SetValue(true);
  f->Option2[1].SetValue(true);
  EXPECT_EQ(f->log, "opt1_0 opt2_1 ");
  f->log.clear();
  // Selecting another clears the first silently; only the new one clicks.
  f->Option1[2].SetValue(true);
  EXPECT_EQ(f->log, "opt1_2 ");
  EXPECT_FALSE(f->Option1[0].Value());
  EXPECT_TRUE(f->Option2[1].Value());  // the other frame is another group
  // Clicking the selected one does nothing.
  f->log.clear();
  ui.click(f->Option1[2]);
  EXPECT_EQ(f->log, "");
  ui.click(f->Option1[1]);
  EXPECT_EQ(f->log, "opt1_1 ");
  EXPECT_FALSE(f->Option1[2].Value());
  // Clearing by code raises nothing and leaves the group empty.
  f->log.clear();
  f->Option1[1].SetValue(false);
  EXPECT_EQ(f->log, "");
  for (auto& o : f->Option1) EXPECT_FALSE(o.Value());
  // The arrows select the next or previous button of the group, round its
  // ends, and take the focus with them.
  ui.click(f->Option1[0]);
  f->log.clear();
  ui.type("{DOWN}{UP}{UP}{RIGHT}{LEFT}");
  EXPECT_EQ(f->log, "opt1_1 opt1_0 opt1_2 opt1_0 opt1_2 ");
  EXPECT_TRUE(f->Option1[2].HasFocus());
  EXPECT_FALSE(f->Option1[0].Value());
}

TEST_F(ControlsTest, ComboBox) {
  auto& c = f->Combo1;
  c.AddItem("CENTRO");
  c.AddItem("PORTO");
  c.AddItem("ARENELLA", 0);
  EXPECT_EQ(c.ListCount(), 3);
  EXPECT_EQ(c.List(0), "ARENELLA");
  EXPECT_EQ(c.ListIndex(), -1);
  EXPECT_EQ(c.Text(), "");
  c.SetListIndex(1);
  EXPECT_EQ(c.Text(), "CENTRO");
  c.SetListIndex(1);  // unchanged: no Click
  c.SetListIndex(7);  // out of range: refused
  EXPECT_EQ(c.ListIndex(), 1);
  EXPECT_EQ(f->log, "combo1 ");
  c.AddItem("A", 0);  // the selected entry stays selected
  EXPECT_EQ(c.Text(), "CENTRO");
  f->log.clear();
  c.Clear();  // no Click
  EXPECT_EQ(f->log, "");
  EXPECT_EQ(c.ListIndex(), -1);
  EXPECT_EQ(c.ListCount(), 0);

  for (const char* s : {"Unico Proprietario", "Delegato del Proprietario/i", "Amministratore"}) c.AddItem(s);
  EXPECT_TRUE(c.SetText("amministratore"));
  EXPECT_EQ(c.ListIndex(), 2);
  EXPECT_FALSE(c.SetText("nessuno"));
  EXPECT_EQ(c.ListIndex(), 2);
  // The user: a choice, a letter, arrows.
  f->log.clear();
  EXPECT_TRUE(ui.choose(c, "Unico Proprietario"));
  ui.type("d");
  EXPECT_EQ(c.ListIndex(), 1);
  ui.type("{DOWN}{DOWN}");
  EXPECT_EQ(c.ListIndex(), 2);
  EXPECT_EQ(f->log, "combo0 combo1 combo2 ");
  // A letter goes on to the next entry starting with it, round the end of
  // the list; the current entry only when no other starts with it.
  c.AddItem("Amministratore delegato");
  f->log.clear();
  ui.type("aauu");
  EXPECT_EQ(c.ListIndex(), 0);
  ui.type("a");
  EXPECT_EQ(c.ListIndex(), 2);
  EXPECT_EQ(f->log, "combo3 combo2 combo0 combo2 ");
  // Disabled: keeps its selection, takes no choice.
  c.SetEnabled(false);
  EXPECT_FALSE(ui.choose(c, 0));
  EXPECT_EQ(c.Text(), "Amministratore");
}

TEST_F(ControlsTest, CheckBoxValues) {
  auto& c = f->Check1[0];
  struct Step {
    const char* what;
    std::function<void()> act;
    int value;
    std::string log;
  };
  const Step steps[] = {
      {"code 1", [&] { c.SetValue(1); }, 1, "check0 "},
      {"code 1 again", [&] { c.SetValue(1); }, 1, ""},
      {"out of range", [&] { c.SetValue(3); }, 1, ""},
      {"click unticks", [&] { ui.click(c); }, 0, "check0 "},
      {"grey by code", [&] { c.SetValue(2); }, 2, "check0 "},
      {"click on grey ticks", [&] { ui.click(c); }, 1, "check0 "},
      {"space toggles", [&] { ui.key(' '); }, 0, "checkkey0 check0 "},
      {"other key", [&] { ui.key('a'); }, 0, "checkkey0 "},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    f->log.clear();
    s.act();
    EXPECT_EQ(c.Value(), s.value);
    EXPECT_EQ(f->log, s.log);
  }
  c.SetEnabled(false);
  EXPECT_FALSE(ui.click(c));
  EXPECT_EQ(c.Value(), 0);
}

TEST(KeyNotation, Parses) {
  using T = forms::KeyStroke::Type;
  auto k = forms::parse_keys("a{TAB}{TAB 2}+{TAB}{ENTER}{BS}{{}{}}{DEL}");
  ASSERT_TRUE(k);
  std::vector<T> types;
  for (const auto& s : *k) types.push_back(s.type);
  EXPECT_EQ(types, (std::vector<T>{T::Char, T::Tab, T::Tab, T::Tab, T::BackTab, T::Char, T::Char, T::Char,
                                   T::Char, T::Nav}));
  EXPECT_EQ((*k)[5].code, 13);
  EXPECT_EQ((*k)[6].code, 8);
  EXPECT_EQ((*k)[7].code, '{');
  EXPECT_EQ((*k)[8].code, '}');
  for (const char* bad : {"{TAB", "{NOPE}", "{}", "+{ENTER}", "{TAB x}", "{TAB 99999}"}) {
    EXPECT_FALSE(forms::parse_keys(bad)) << bad;
  }
}

}  // namespace
