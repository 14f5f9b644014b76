// No label of any window loses text: each label's text, measured with the
// font the view draws it in and wrapped as the view wraps it, fits the
// label's inner area. A failure names the form, the label and the text.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <filesystem>

#include "app/documents/crea_sevrine.h"
#include "app/forms/atto_notorio/atto_notorio.h"
#include "app/forms/quadro_economico/quadro_economico.h"
#include "app/forms/sevrina_condomini/sevrina_condomini.h"
#include "app/forms/sevrina_proprietari/sevrina_proprietari.h"
#include "app/shell/help_forms.h"
#include "app/shell/intro.h"
#include "platform/qt/view.h"
#include "platform/system/system.h"

namespace {

namespace fs = std::filesystem;

TEST(LabelsFit, EveryLabelOfEveryForm) {
  std::string folder = (fs::temp_directory_path() / "sevrina-labels-XXXXXX").string();
  ASSERT_NE(::mkdtemp(folder.data()), nullptr);
  sys::set_program_folder(folder);
  forms::Runtime rt;
  qtview::View view(rt);
  const std::vector<std::function<std::shared_ptr<forms::Form>()>> loaders{
      [&] { return rt.Load<sevrina::Intro>(); },
      [&] { return rt.Load<sevrina::Help_intro>(); },
      [&] { return rt.Load<sevrina::Help_sevrina_condomini>(); },
      [&] { return rt.Load<sevrina::Help_sevrina_proprietari>(); },
      [&] { return rt.Load<sevrina::Help_quadro_economico>(); },
      [&] { return rt.Load<sevrina::Help_atto_notorio>(); },
      [&] { return rt.Load<sevrina::sevrina_condomini>(); },
      [&] { return rt.Load<sevrina::sevrina_proprietari>(); },
      [&] { return rt.Load<sevrina::atto_notorio>(); },
      [&] { return rt.Load<sevrina::quadro_economico>(); },
      [&] { return rt.Load<sevrina::CreaSevrine>(); },
  };
  int measured = 0;
  for (const auto& load : loaders) {
    auto form = load();
    form->Show();
    QApplication::processEvents();
    for (forms::Control* c : form->Controls()) {
      if (!c->Visible()) continue;
      if (c->Kind() == forms::ControlKind::CheckBox || c->Kind() == forms::ControlKind::OptionButton) {
        // A caption beside its box: the style's box, spacing and text.
        auto* b = static_cast<QAbstractButton*>(view.widget(*c));
        if (!b || b->text().trimmed().isEmpty()) continue;
        const bool check = c->Kind() == forms::ControlKind::CheckBox;
        const QStyle* st = b->style();
        const int box = st->pixelMetric(check ? QStyle::PM_IndicatorWidth : QStyle::PM_ExclusiveIndicatorWidth) +
                        st->pixelMetric(check ? QStyle::PM_CheckBoxLabelSpacing : QStyle::PM_RadioButtonLabelSpacing);
        ++measured;
        EXPECT_LE(box + QFontMetrics(b->font()).horizontalAdvance(QString(b->text()).remove('&')), b->width())
            << form->Name() << "." << c->FullName() << ": " << b->text().toStdString();
        continue;
      }
      if (c->Kind() != forms::ControlKind::Label) continue;
      auto* l = static_cast<QLabel*>(view.widget(*c));
      if (!l || l->text().trimmed().isEmpty()) continue;
      const QRect area = l->contentsRect();
      const int flags = (l->wordWrap() ? Qt::TextWordWrap : 0) | Qt::AlignLeft | Qt::AlignTop;
      const QRect needed = QFontMetrics(l->font()).boundingRect(QRect(0, 0, area.width(), 100000), flags, l->text());
      ++measured;
      EXPECT_TRUE(needed.height() <= area.height() && needed.width() <= area.width())
          << form->Name() << "." << c->FullName() << " needs " << needed.width() << "x" << needed.height()
          << " px, has " << area.width() << "x" << area.height() << ": " << l->text().toStdString();
    }
    form->Unload();
  }
  EXPECT_GT(measured, 300);
  fs::remove_all(folder);
}

}  // namespace
