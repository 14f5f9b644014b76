// No label of any window loses text: each label's text, measured with the
// font the view draws it in and wrapped as the view wraps it, fits the
// label's inner area. So do the captions of buttons and frames, every entry
// of every list, and what the display boxes (locked or disabled text boxes)
// show of a typical dossier, the one the road test types, with the widest
// value each box of a computed value can show. A failure names the form,
// the control and the text.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <filesystem>
#include <utility>
#include <vector>

#include "app/documents/crea_sevrine.h"
#include "app/forms/atto_notorio/atto_notorio.h"
#include "app/forms/quadro_economico/quadro_economico.h"
#include "app/forms/sevrina_condomini/sevrina_condomini.h"
#include "app/forms/sevrina_proprietari/sevrina_proprietari.h"
#include "app/shell/help_forms.h"
#include "app/shell/intro.h"
#include "app/shell/store.h"
#include "platform/qt/view.h"
#include "platform/system/system.h"

namespace {

namespace fs = std::filesystem;

// The spans, in the label's parent's pixels, of the words of a one-line
// label as its alignment places them.
std::vector<std::pair<int, int>> word_spans(const QLabel& l) {
  const QFontMetrics fm(l.font());
  const QString t = l.text();
  const QRect area = l.contentsRect().translated(l.pos());
  int x = area.left();
  if (l.alignment() & Qt::AlignRight) x = area.right() + 1 - fm.horizontalAdvance(t);
  if (l.alignment() & Qt::AlignHCenter) x = area.left() + (area.width() - fm.horizontalAdvance(t)) / 2;
  std::vector<std::pair<int, int>> out;
  for (qsizetype i = 0; i < t.size();) {
    if (t[i] == ' ') {
      ++i;
      continue;
    }
    qsizetype end = i;
    while (end < t.size() && t[end] != ' ') ++end;
    const int from = x + fm.horizontalAdvance(t.left(i));
    out.emplace_back(from, from + fm.horizontalAdvance(t.mid(i, end - i)) - 1);
    i = end;
  }
  return out;
}

TEST(LabelsFit, EveryLabelOfEveryForm) {
  std::string folder = (fs::temp_directory_path() / "sevrina-labels-XXXXXX").string();
  ASSERT_NE(::mkdtemp(folder.data()), nullptr);
  sys::set_program_folder(folder);
  // The display boxes show what the road test types.
  sevrina::scrivi_dati({
      {"TIPO_RICHIEDENTE", "Delegato del Proprietario/i"}, {"NOME_RICHIEDENTE", "Mario"},
      {"COGNOME_RICHIEDENTE", "Rossi"}, {"COMUNE_NASCITA_RICHIEDENTE", "Vareri"},
      {"PROVINCIA_NASCITA_RICHIEDENTE", "NA"}, {"DATA_NASCITA_RICHIEDENTE", "19600131"},
      {"COMUNE_RICHIEDENTE", "Vareri"}, {"PROVINCIA_RICHIEDENTE", "NA"}, {"INDIRIZZO_RICHIEDENTE", "via Roma"},
      {"CIVICO_RESIDENZA_RICHIEDENTE", "12"}, {"CODICE_FISCALE_RICHIEDENTE", "RSSMRA70A01F839X"},
      {"COMUNE_DOMICILIO_RICHIEDENTE", "Vareri"}, {"PROVINCIA_DOMICILIO_RICHIEDENTE", "NA"},
      {"INDIRIZZO_DOMICILIO_RICHIEDENTE", "via Toledo"}, {"CIVICO_DOMICILIO_RICHIEDENTE", "3"},
      {"CAP_DOMICILIO_RICHIEDENTE", "80100"}, {"TELEFONO_DOMICILIO_RICHIEDENTE", "081 555/12"},
      {"MAIL_DOMICILIO_RICHIEDENTE", "mario.rossi@studio-tecnico.it"}, {"INDIRIZZO_CONDOMINIO", "via Chiaia"},
      {"CIVICO_CONDOMINIO", "7"}, {"CAP_CONDOMINIO", "80121"}, {"MUNICIPALITA_CONDOMINIO", "1"},
      // The boxes of computed values with the widest value each can show:
      // a percentage of 100, the contribution at its limit plus the
      // accessory, a cost category that is the whole of the works.
      {"IMPORTO_CONTRIBUTO_BASE", "150000"}, {"IMPORTO_CONTRIBUTO_PREMIALE", "160000"},
      {"PERCENTUALE_CONTRIBUTO_PREMIALE", "100"}, {"IMPORTO_CONTRIBUTO_ACCESSORIO", "10000"},
      {"IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO", "160000"},
      {"PERCENTUALE_SU_IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO", "100"},
      {"IMPORTO_LAVORI_NETTO_IVA", "400000"}, {"OPERE_STRUTTURALI", "400000"},
  });
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
      if (c->Kind() == forms::ControlKind::CommandButton) {
        // The caption inside the button's bevel.
        auto* b = static_cast<QPushButton*>(view.widget(*c));
        QStyleOptionButton o;
        o.initFrom(b);
        o.text = b->text();
        const QRect area = b->style()->subElementRect(QStyle::SE_PushButtonContents, &o, b);
        ++measured;
        EXPECT_LE(QFontMetrics(b->font()).horizontalAdvance(QString(b->text()).remove('&')), area.width())
            << form->Name() << "." << c->FullName() << ": " << b->text().toStdString();
        continue;
      }
      if (c->Kind() == forms::ControlKind::Frame) {
        // The caption drawn over the top edge, 6 pixels in, with 2 either side.
        auto& frame = static_cast<forms::Frame&>(*c);
        if (frame.Caption().empty()) continue;
        QWidget* w = view.widget(*c);
        const QString caption = qtview::to_qstring(frame.Caption());
        ++measured;
        EXPECT_LE(6 + QFontMetrics(w->font()).horizontalAdvance(caption) + 4, w->width())
            << form->Name() << "." << c->FullName() << ": " << caption.toStdString();
        continue;
      }
      if (c->Kind() == forms::ControlKind::ComboBox || c->Kind() == forms::ControlKind::DriveListBox) {
        // Whichever entry is chosen shows whole beside the arrow.
        auto* b = static_cast<QComboBox*>(view.widget(*c));
        QStyleOptionComboBox o;
        o.initFrom(b);
        o.editable = false;
        o.frame = true;
        const QRect area = b->style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, b);
        for (int i = 0; i < b->count(); ++i) {
          ++measured;
          EXPECT_LE(QFontMetrics(b->font()).horizontalAdvance(b->itemText(i)), area.width())
              << form->Name() << "." << c->FullName() << ": " << b->itemText(i).toStdString();
        }
        continue;
      }
      if (c->Kind() == forms::ControlKind::TextBox) {
        // A display box cannot be scrolled by typing: its text shows whole
        // inside the frame and the line edit's 2-pixel margins.
        auto& box = static_cast<forms::TextBox&>(*c);
        if (!box.Locked() && box.Enabled()) continue;
        auto* e = static_cast<QLineEdit*>(view.widget(*c));
        if (!e || e->text().isEmpty()) continue;
        QStyleOptionFrame o;
        o.initFrom(e);
        o.lineWidth = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &o, e);
        const QRect area = e->style()->subElementRect(QStyle::SE_LineEditContents, &o, e);
        ++measured;
        EXPECT_LE(QFontMetrics(e->font()).horizontalAdvance(e->text()) + 2 * 2, area.width())
            << form->Name() << "." << c->FullName() << ": " << e->text().toStdString();
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
      // A one-line label whose blank stretches hold boxes: no box covers
      // its words.
      if (needed.height() >= 2 * QFontMetrics(l->font()).height() || !l->text().contains("   ")) continue;
      for (const auto& [from, to] : word_spans(*l)) {
        for (forms::Control* o : form->Controls()) {
          QWidget* ow = o == c ? nullptr : view.widget(*o);
          if (!ow || !o->Visible() || o->Container() != c->Container() || o->Kind() == forms::ControlKind::Label ||
              o->Kind() == forms::ControlKind::Line || o->Kind() == forms::ControlKind::Shape) {
            continue;
          }
          const QRect r = ow->geometry();
          if (r.top() >= l->geometry().bottom() || r.bottom() <= l->geometry().top()) continue;
          EXPECT_TRUE(r.right() < from || r.left() > to)
              << form->Name() << "." << o->FullName() << " covers pixels " << from << " to " << to << " of "
              << c->FullName() << ": " << l->text().toStdString();
        }
      }
    }
    form->Unload();
  }
  EXPECT_GT(measured, 300);
  fs::remove_all(folder);
}

}  // namespace
