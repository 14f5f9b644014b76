// The start-up menu on screen through the Qt view, offscreen: its window's
// inner size, its pictures and texts drawn, and its buttons working when
// clicked. The pictures of the windows are saved beside the test for a
// look (tests/platform/qt/*.png in the build folder).

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <filesystem>
#include <string>

#include "app/shell/form_registry.h"
#include "app/shell/help_forms.h"
#include "app/shell/intro.h"
#include "platform/qt/view.h"
#include "platform/system/system.h"
#include "tests/platform/qt/qt_test_support.h"

namespace {

namespace fs = std::filesystem;

QString screenshot_path(const char* name) {
  return QString::fromStdString((fs::path(SEVRINA_BINARY_DIR) / "tests" / "platform" / "qt" / name).string());
}

// Whether the image has, inside `r`, a pixel far from the grey background.
bool drawn(const QImage& img, QRect r) {
  for (int y = r.top(); y <= r.bottom(); ++y) {
    for (int x = r.left(); x <= r.right(); ++x) {
      QColor c = img.pixelColor(x, y);
      if (std::abs(c.red() - 192) + std::abs(c.green() - 192) + std::abs(c.blue() - 192) > 120) return true;
    }
  }
  return false;
}

class IntroViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string modello = (fs::temp_directory_path() / "sevrina-introqt-XXXXXX").string();
    ASSERT_NE(::mkdtemp(modello.data()), nullptr);
    folder_ = modello;
    sys::set_program_folder(folder_);
    sevrina::register_intro(rt_);
    sevrina::mostra_intro(rt_);
    menu_ = rt_.Find<sevrina::Intro>();
    ASSERT_NE(menu_, nullptr);
  }
  void TearDown() override {
    sevrina::register_menu(nullptr);
    rt_.End();
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  QWidget* w(const forms::Control& c) const { return view_.widget(c); }

  forms::Runtime rt_;
  qtview::View view_{rt_};
  std::shared_ptr<sevrina::Intro> menu_;
  fs::path folder_;
};

TEST_F(IntroViewTest, TheMenuIs792By546PixelsInside) {
  QWidget* win = view_.window(*menu_);
  ASSERT_NE(win, nullptr);
  ASSERT_TRUE(win->isVisible());
  EXPECT_EQ(win->windowTitle(), "Intro");
  QApplication::processEvents();
  QPixmap shot = win->grab();
  ASSERT_TRUE(shot.save(screenshot_path("intro.png"), "PNG"));
  QImage img = QImage(screenshot_path("intro.png"));
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.size(), QSize(792, 546));

  // The form's grey, the two pictures, the title and the buttons, each
  // where the layout puts it (twips / 15).
  EXPECT_EQ(img.pixelColor(3, 3), QColor(192, 192, 192));
  EXPECT_TRUE(drawn(img, QRect(64, 24, 79, 78))) << "the emblem";
  EXPECT_TRUE(drawn(img, QRect(616, 48, 90, 47))) << "the logo";
  EXPECT_TRUE(drawn(img, QRect(272, 112, 268, 29))) << "PROGETTO ORTESA 3";
  EXPECT_TRUE(drawn(img, QRect(80, 184, 655, 24))) << "the notice's line";
  EXPECT_FALSE(drawn(img, QRect(5, 360, 150, 100))) << "nothing between the frame and the buttons";
  EXPECT_EQ(w(menu_->Command1[2])->geometry(), QRect(632, 480, 137, 49));
  EXPECT_EQ(w(menu_->Picture1)->size(), QSize(79, 78));
  EXPECT_EQ(w(menu_->Picture2)->size(), QSize(90, 47));
  auto* emblem = static_cast<QLabel*>(w(menu_->Picture1));
  EXPECT_EQ(emblem->pixmap().size(), QSize(79, 78));
  auto* logo = static_cast<QLabel*>(w(menu_->Picture2));
  EXPECT_EQ(logo->pixmap().size(), QSize(90, 47));
  // The notice's text fits its label on one line.
  auto* notice = static_cast<QLabel*>(w(menu_->Label2));
  EXPECT_LE(QFontMetrics(notice->font()).horizontalAdvance(notice->text()), notice->width());
}

TEST_F(IntroViewTest, ProseguiWithoutAChoiceAsksForOne) {
  QString text, title;
  bool critical = true;
  qttest::soon([&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    text = box->text();
    title = box->windowTitle();
    critical = box->icon() == QMessageBox::Critical;
    box->grab().save(screenshot_path("intro-box.png"), "PNG");
    box->defaultButton()->click();
  });
  qttest::click(w(menu_->Command1[2]));
  EXPECT_EQ(text, "Deve selezionare una scelta!");
  EXPECT_EQ(title, "Sevrina");
  EXPECT_FALSE(critical);
  EXPECT_TRUE(menu_->Visible());
}

TEST_F(IntroViewTest, AiutoShowsTheHelpUntilItsCloseBox) {
  bool shown = false;
  qttest::soon([&] {
    auto help = rt_.Find<sevrina::Help_intro>();
    ASSERT_NE(help, nullptr);
    QWidget* win = view_.window(*help);
    ASSERT_NE(win, nullptr);
    shown = win->isVisible();
    EXPECT_EQ(win->windowTitle(), "Help");
    EXPECT_EQ(win->size(), QSize(738, 402));
    win->grab().save(screenshot_path("help-intro.png"), "PNG");
    win->close();
  });
  qttest::click(w(menu_->Command1[1]));
  EXPECT_TRUE(shown);
  EXPECT_EQ(rt_.Find<sevrina::Help_intro>(), nullptr);
  EXPECT_TRUE(view_.window(*menu_)->isVisible());
}

// Every help page drawn: each note's text fits the height given to it.
TEST(HelpFormsView, EveryNoteFitsItsLabel) {
  forms::Runtime rt;
  qtview::View view(rt);
  std::vector<std::shared_ptr<sevrina::HelpForm>> pages = {
      rt.Load<sevrina::Help_intro>(), rt.Load<sevrina::Help_sevrina_condomini>(),
      rt.Load<sevrina::Help_sevrina_proprietari>(), rt.Load<sevrina::Help_quadro_economico>(),
      rt.Load<sevrina::Help_atto_notorio>()};
  for (auto& page : pages) {
    SCOPED_TRACE(page->Name());
    page->Show();
    QApplication::processEvents();
    view.window(*page)->grab().save(screenshot_path((page->Name() + ".png").c_str()), "PNG");
    for (auto* title : {&page->Label1, &page->Label2}) {
      auto* l = static_cast<QLabel*>(view.widget(*title));
      EXPECT_LE(QFontMetrics(l->font()).horizontalAdvance(l->text()), l->width()) << l->text().toStdString();
    }
    for (auto& note : page->Label4) {
      auto* l = static_cast<QLabel*>(view.widget(note));
      QRect needed = QFontMetrics(l->font()).boundingRect(QRect(0, 0, l->width(), 10000),
                                                         Qt::TextWordWrap | Qt::AlignLeft, l->text());
      EXPECT_LE(needed.height(), l->height()) << l->text().toStdString();
    }
    page->Unload();
  }
}

}  // namespace
