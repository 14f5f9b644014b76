#include "platform/qt/view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleFactory>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/text/cp1252.h"

namespace qtview {

using forms::Control;
using forms::ControlKind;
using forms::Form;
using forms::Property;

// ---- conversions ------------------------------------------------------------------

int to_pixels(float twips) { return static_cast<int>(std::lround(twips / forms::kTwipsPerPixel)); }

QColor to_qcolor(forms::Color c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

QString to_qstring(std::string_view w1252) { return QString::fromStdString(cp1252::to_utf8(w1252)); }

QFont to_qfont(const forms::FontSpec& font) {
  QString family = QString::fromStdString(font.Name);
  QString lower = family.toLower();
  if (lower == "ms sans serif" || lower == "microsoft sans serif" || lower == "arial" || lower == "tahoma" ||
      lower == "verdana" || lower == "helvetica" || lower.isEmpty()) {
    family = "Liberation Sans";
  } else if (lower == "times new roman" || lower == "times") {
    family = "Liberation Serif";
  } else if (lower == "courier new" || lower == "courier") {
    family = "Liberation Mono";
  }
  QFont f(family);
  // Points at 96 dots per inch, whatever the screen says, so that text fits
  // the twips of the layout.
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.Size * 96.0f / 72.0f))));
  // Whole-pixel glyph advances, as the layout's own system draws them: with
  // fractional ones a line of text runs longer than its label.
  f.setHintingPreference(QFont::PreferFullHinting);
  f.setBold(font.Bold);
  f.setItalic(font.Italic);
  f.setUnderline(font.Underline);
  return f;
}

namespace {

// Fusion with the check and option boxes of the layout's own system: a
// 13-pixel box and a 4-pixel gap before the caption, so that a caption
// sized for that system fits beside its box.
class LayoutStyle final : public QProxyStyle {
 public:
  explicit LayoutStyle(QStyle* base) : QProxyStyle(base) {}
  int pixelMetric(PixelMetric m, const QStyleOption* o, const QWidget* w) const override {
    switch (m) {
      case PM_IndicatorWidth:
      case PM_IndicatorHeight:
      case PM_ExclusiveIndicatorWidth:
      case PM_ExclusiveIndicatorHeight: return 13;
      case PM_CheckBoxLabelSpacing:
      case PM_RadioButtonLabelSpacing: return 4;
      default: return QProxyStyle::pixelMetric(m, o, w);
    }
  }
};

}  // namespace

void prepare_application() {
  if (QStyle* fusion = QStyleFactory::create("Fusion")) QApplication::setStyle(new LayoutStyle(fusion));
  QApplication::setFont(to_qfont(forms::FontSpec{}));
}

namespace {

// A caption without its access-key marks, for widgets that draw text plainly.
QString plain_caption(const std::string& caption) {
  std::string out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    out += caption[i];
  }
  return to_qstring(out);
}

// A caption for Qt's buttons, which underline the access key themselves.
QString mnemonic_caption(const std::string& caption) { return to_qstring(caption); }

void set_color(QWidget* w, QPalette::ColorRole role, forms::Color c) {
  QPalette p = w->palette();
  p.setColor(role, to_qcolor(c));
  w->setPalette(p);
}

bool lightweight(ControlKind k) {
  return k == ControlKind::Label || k == ControlKind::Shape || k == ControlKind::Line;
}

// ---- widgets the standard set lacks ---------------------------------------------

// A form's window. Its close box asks the runtime; the runtime hides or
// destroys the window through the view, never Qt by itself.
class FormWindow final : public QWidget {
 public:
  explicit FormWindow(std::function<void()> on_close) : on_close_(std::move(on_close)) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void closeEvent(QCloseEvent* e) override {
    e->ignore();
    if (on_close_) on_close_();
  }

 private:
  std::function<void()> on_close_;
};

// A frame: a container drawing an etched border (BorderStyle 1) and its
// caption. It clips its children, which is how the forms scroll a page.
class FrameWidget final : public QWidget {
 public:
  FrameWidget() { setAutoFillBackground(true); }
  void set_caption(QString c) {
    caption_ = std::move(c);
    update();
  }
  void set_border(bool b) {
    border_ = b;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!border_ && caption_.isEmpty()) return;
    QPainter p(this);
    QFontMetrics fm(font());
    int top = caption_.isEmpty() ? 0 : fm.height() / 2;
    if (border_) {
      QRect r = rect().adjusted(0, top, -2, -2);
      p.setPen(QColor(128, 128, 128));
      p.drawRect(r);
      p.setPen(Qt::white);
      p.drawRect(r.translated(1, 1));
    }
    if (!caption_.isEmpty()) {
      int w = fm.horizontalAdvance(caption_) + 4;
      QRect tr(6, 0, w, fm.height());
      p.fillRect(tr, palette().color(QPalette::Window));
      p.setPen(palette().color(QPalette::WindowText));
      p.drawText(tr, Qt::AlignCenter, caption_);
    }
  }

 private:
  QString caption_;
  bool border_ = false;
};

// A rectangle (Shape) or a straight line (Line); both ignore the mouse.
class DrawingWidget final : public QWidget {
 public:
  explicit DrawingWidget(const Control& c) : control_(&c) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
  }
  // For a line: the end points relative to the widget.
  void set_line(QPoint a, QPoint b) {
    a_ = a;
    b_ = b;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    if (control_->Kind() == ControlKind::Line) {
      const auto& line = static_cast<const forms::Line&>(*control_);
      QPen pen(to_qcolor(line.BorderColor()));
      pen.setWidth(std::max(1, line.BorderWidth()));
      p.setPen(pen);
      p.drawLine(a_, b_);
      return;
    }
    const auto& shape = static_cast<const forms::Shape&>(*control_);
    if (shape.BackStyle() == 1) p.fillRect(rect(), to_qcolor(shape.BackColor()));
    if (shape.BorderWidth() > 0) {
      int bw = shape.BorderWidth();
      QPen pen(to_qcolor(shape.BorderColor()));
      pen.setWidth(bw);
      pen.setJoinStyle(Qt::MiterJoin);
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      int half = bw / 2;
      p.drawRect(rect().adjusted(half, half, -half - (bw % 2 == 1 ? 1 : 0), -half - (bw % 2 == 1 ? 1 : 0)));
    }
  }

 private:
  const Control* control_;
  QPoint a_, b_;
};

// A sunken edge whose four sides all show on a white page: dark grey above
// and to the left, light grey below and to the right. (The style's own
// light side is white, so bordered labels laid out as a table would lose
// their right and bottom edges.)
void sunken_edge(QWidget* w) {
  QPalette p = w->palette();
  p.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
  p.setColor(QPalette::Light, QColor(0xC0, 0xC0, 0xC0));
  w->setPalette(p);
}

// A message box that tells a click on a button from a dismissal: Escape or
// the window's close button leave a question unanswered, which the caller
// must not take for the escape button's answer.
class QuestionBox final : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;
  bool dismissed() const { return dismissed_; }

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->matches(QKeySequence::Cancel)) dismissed_ = true;
    QMessageBox::keyPressEvent(e);
  }
  void closeEvent(QCloseEvent* e) override {
    // A close that follows a button's click is the box ending, not the user.
    if (clickedButton() == nullptr) dismissed_ = true;
    QMessageBox::closeEvent(e);
  }

 private:
  bool dismissed_ = false;
};

// Calls the widget's own handling of an event that the view's filter took.
bool deliver(QWidget* w, QEvent* e) { return static_cast<QObject*>(w)->event(e); }

}  // namespace

// ---- the view ---------------------------------------------------------------------

class View::Impl final : public QObject {
 public:
  Impl(View& view, forms::Runtime& rt) : view_(view), rt_(rt) {}

  ~Impl() override {
    for (auto& [form, win] : windows_) delete win;
    for (auto& w : dying_) delete w.data();
    for (auto& [t, qt] : timers_) delete qt;
  }

  // ---- building ----
  void build(Form& form) {
    if (windows_.count(&form)) return;
    Form* fp = &form;
    auto* win = new FormWindow([this, fp] { rt_.user_close(*fp); });
    windows_[fp] = win;
    forms_by_object_[win] = fp;
    win->installEventFilter(this);
    apply_form(form, Property::Caption);
    apply_form(form, Property::BackColor);
    apply_form(form, Property::Font);
    apply_form(form, Property::Geometry);
    building_ = true;
    for (Control* c : form.Controls()) create(*c);
    for (Control* c : form.Controls()) apply_all(*c);
    building_ = false;
    order_children(form);
  }

  QWidget* create(Control& c) {
    auto found = widgets_.find(&c);
    if (found != widgets_.end()) return found->second;
    if (c.Kind() == ControlKind::Timer) {
      auto* t = static_cast<forms::Timer*>(&c);
      if (!timers_.count(t)) {
        auto* qt = new QTimer();
        timers_[t] = qt;
        QObject::connect(qt, &QTimer::timeout, qt, [this, t] { timer_fired(*t); });
      }
      return nullptr;
    }
    QWidget* parent = windows_.at(&c.Parent());
    QWidget* w = nullptr;
    switch (c.Kind()) {
      case ControlKind::TextBox: {
        auto* e = new QLineEdit(parent);
        e->setMaxLength(INT_MAX);  // the runtime keeps MaxLength: it limits typing only
        e->setContextMenuPolicy(Qt::NoContextMenu);
        e->setAcceptDrops(false);
        e->setDragEnabled(false);
        w = e;
        break;
      }
      case ControlKind::Label: {
        auto* l = new QLabel(parent);
        l->setTextFormat(Qt::PlainText);
        l->setIndent(0);
        l->setMargin(0);
        w = l;
        break;
      }
      case ControlKind::CheckBox: {
        auto* b = new QCheckBox(parent);
        b->setTristate(true);
        b->setAutoFillBackground(true);
        w = b;
        break;
      }
      case ControlKind::OptionButton: {
        auto* b = new QRadioButton(parent);
        b->setAutoExclusive(false);  // the runtime clears the others
        b->setAutoFillBackground(true);
        w = b;
        break;
      }
      case ControlKind::ComboBox:
      case ControlKind::DriveListBox: {
        auto* b = new QComboBox(parent);
        Control* cp = &c;
        QObject::connect(b, &QComboBox::activated, b, [this, cp](int index) { chosen(*cp, index); });
        w = b;
        break;
      }
      case ControlKind::Frame:
        w = new FrameWidget();
        w->setParent(parent);
        break;
      case ControlKind::CommandButton: {
        auto* b = new QPushButton(parent);
        b->setAutoDefault(false);
        b->setDefault(false);
        w = b;
        break;
      }
      case ControlKind::VScrollBar: {
        auto* s = new QScrollBar(Qt::Vertical, parent);
        auto* bar = static_cast<forms::VScrollBar*>(&c);
        QObject::connect(s, &QScrollBar::valueChanged, s, [this, bar](int v) { scrolled(*bar, v); });
        w = s;
        break;
      }
      case ControlKind::PictureBox: {
        auto* l = new QLabel(parent);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setAutoFillBackground(true);
        w = l;
        break;
      }
      case ControlKind::Shape:
      case ControlKind::Line:
        w = new DrawingWidget(c);
        w->setParent(parent);
        break;
      case ControlKind::DirListBox: {
        auto* l = new QListWidget(parent);
        l->setSelectionMode(QAbstractItemView::SingleSelection);
        l->viewport()->installEventFilter(this);
        controls_by_object_[l->viewport()] = &c;
        w = l;
        break;
      }
      case ControlKind::Timer:
        break;
    }
    w->setFocusPolicy(Qt::NoFocus);  // the runtime moves the focus, not Qt
    w->installEventFilter(this);
    widgets_[&c] = w;
    controls_by_object_[w] = &c;
    return w;
  }

  // Stacks each container's children: the drawn controls (labels, shapes,
  // lines) below the windowed ones, each group in creation order, a later
  // control over an earlier one. Raising every control in creation order,
  // drawn ones first, gives that order in every container at once.
  void order_children(Form& form) {
    for (bool drawn : {true, false}) {
      for (Control* c : form.Controls()) {
        if (lightweight(c->Kind()) != drawn) continue;
        if (QWidget* w = widget(*c)) w->raise();
      }
    }
  }

  void apply_all(Control& c) {
    for (Property p : {Property::Container, Property::Geometry, Property::Font, Property::BackColor,
                       Property::ForeColor, Property::Caption, Property::Text, Property::Selection,
                       Property::Value, Property::List, Property::ListIndex, Property::Range, Property::Picture,
                       Property::Border, Property::Alignment, Property::Locked, Property::Enabled,
                       Property::Visible, Property::Path}) {
      apply(c, p);
    }
  }

  QWidget* widget(const Control& c) const {
    auto it = widgets_.find(&c);
    return it == widgets_.end() ? nullptr : it->second;
  }
  QWidget* window(const Form& f) const {
    auto it = windows_.find(&f);
    return it == windows_.end() ? nullptr : it->second;
  }

  // ---- runtime state to widgets ----
  void apply_form(Form& form, Property what) {
    QWidget* win = window(form);
    if (!win) return;
    switch (what) {
      case Property::Caption: win->setWindowTitle(to_qstring(form.Caption())); break;
      case Property::BackColor: set_color(win, QPalette::Window, form.BackColor()); break;
      case Property::Font: win->setFont(to_qfont(form.Font())); break;
      case Property::Geometry:
        win->setFixedSize(to_pixels(form.ScaleWidth()), to_pixels(form.ScaleHeight()));
        win->move(to_pixels(form.Left()), to_pixels(form.Top()));
        break;
      default: break;
    }
  }

  void apply(Control& c, Property what) {
    if (c.Kind() == ControlKind::Timer) {
      sync_timers();
      return;
    }
    QWidget* w = widget(c);
    if (!w) {
      // A control created after its form was loaded: shown whole at once.
      if (!create(c)) return;
      apply_all(c);
      if (!building_) order_children(c.Parent());
      return;
    }
    QSignalBlocker block(w);
    switch (what) {
      case Property::Container: {
        QWidget* parent = c.Container() ? widget(*c.Container()) : window(c.Parent());
        if (parent && w->parentWidget() != parent) {
          bool visible = c.Visible();
          w->setParent(parent);
          w->setVisible(visible);
          // A reparented widget lands on top of its new siblings; put the
          // container's stack back in order (once at the end while building).
          if (!building_) order_children(c.Parent());
        }
        apply(c, Property::Geometry);
        break;
      }
      case Property::Geometry:
        if (c.Kind() == ControlKind::Line) {
          const auto& line = static_cast<const forms::Line&>(c);
          int bw = std::max(1, line.BorderWidth());
          QPoint a(to_pixels(line.X1()), to_pixels(line.Y1()));
          QPoint b(to_pixels(line.X2()), to_pixels(line.Y2()));
          QRect r = QRect(a, b).normalized().adjusted(-bw, -bw, bw, bw);
          w->setGeometry(r);
          static_cast<DrawingWidget*>(w)->set_line(a - r.topLeft(), b - r.topLeft());
        } else {
          w->setGeometry(to_pixels(c.Left()), to_pixels(c.Top()), to_pixels(c.Width()), to_pixels(c.Height()));
        }
        break;
      case Property::Visible: w->setVisible(c.Visible()); break;
      case Property::Enabled: w->setEnabled(c.Enabled()); break;
      case Property::Font: w->setFont(to_qfont(c.Font())); break;
      case Property::BackColor:
        switch (c.Kind()) {
          case ControlKind::TextBox:
          case ControlKind::DirListBox:
            set_color(w, QPalette::Base, c.BackColor());
            break;
          case ControlKind::ComboBox:
          case ControlKind::DriveListBox:
            // Fusion draws a list-only combo box as a button.
            set_color(w, QPalette::Base, c.BackColor());
            set_color(w, QPalette::Button, c.BackColor());
            break;
          case ControlKind::CommandButton: set_color(w, QPalette::Button, c.BackColor()); break;
          default:
            // Check boxes and option buttons fill with their background
            // role (Button), labels and frames with Window.
            set_color(w, QPalette::Window, c.BackColor());
            set_color(w, w->backgroundRole(), c.BackColor());
            w->update();
            break;
        }
        break;
      case Property::ForeColor:
        switch (c.Kind()) {
          case ControlKind::TextBox:
          case ControlKind::ComboBox:
          case ControlKind::DriveListBox:
          case ControlKind::DirListBox:
            set_color(w, QPalette::Text, c.ForeColor());
            break;
          case ControlKind::CommandButton: set_color(w, QPalette::ButtonText, c.ForeColor()); break;
          default: set_color(w, QPalette::WindowText, c.ForeColor()); break;
        }
        break;
      case Property::Caption:
        if (auto* cap = dynamic_cast<forms::CaptionedControl*>(&c)) {
          switch (c.Kind()) {
            case ControlKind::Label: static_cast<QLabel*>(w)->setText(plain_caption(cap->Caption())); break;
            case ControlKind::Frame: static_cast<FrameWidget*>(w)->set_caption(plain_caption(cap->Caption())); break;
            case ControlKind::CheckBox:
            case ControlKind::OptionButton:
            case ControlKind::CommandButton:
              static_cast<QAbstractButton*>(w)->setText(mnemonic_caption(cap->Caption()));
              break;
            default: break;
          }
        }
        break;
      case Property::Text:
        if (c.Kind() == ControlKind::TextBox) {
          auto* e = static_cast<QLineEdit*>(w);
          QString t = to_qstring(static_cast<forms::TextBox&>(c).Text());
          if (e->text() != t) e->setText(t);
          apply(c, Property::Selection);
        } else if (c.Kind() == ControlKind::ComboBox) {
          apply(c, Property::ListIndex);
        }
        break;
      case Property::Selection:
        if (c.Kind() == ControlKind::TextBox) {
          auto& box = static_cast<forms::TextBox&>(c);
          auto* e = static_cast<QLineEdit*>(w);
          int s = box.SelStart(), l = box.SelLength();
          if (l > 0) {
            if (e->selectionStart() != s || e->selectedText().size() != l) e->setSelection(s, l);
          } else if (e->hasSelectedText() || e->cursorPosition() != s) {
            e->deselect();
            e->setCursorPosition(s);
          }
        }
        break;
      case Property::Value:
        if (c.Kind() == ControlKind::CheckBox) {
          int v = static_cast<forms::CheckBox&>(c).Value();
          static_cast<QCheckBox*>(w)->setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
        } else if (c.Kind() == ControlKind::OptionButton) {
          static_cast<QRadioButton*>(w)->setChecked(static_cast<forms::OptionButton&>(c).Value());
        } else if (c.Kind() == ControlKind::VScrollBar) {
          apply(c, Property::Range);
        }
        break;
      case Property::List:
        if (c.Kind() == ControlKind::ComboBox) {
          auto& combo = static_cast<forms::ComboBox&>(c);
          auto* b = static_cast<QComboBox*>(w);
          b->clear();
          for (const auto& item : combo.Items()) b->addItem(to_qstring(item));
          b->setCurrentIndex(combo.ListIndex());
        } else if (c.Kind() == ControlKind::DriveListBox) {
          auto& d = static_cast<forms::DriveListBox&>(c);
          auto* b = static_cast<QComboBox*>(w);
          b->clear();
          for (const auto& e : d.Entries()) b->addItem(to_qstring(e.label));
          b->setCurrentIndex(d.ListIndex());
        } else if (c.Kind() == ControlKind::DirListBox) {
          auto& d = static_cast<forms::DirListBox&>(c);
          auto* l = static_cast<QListWidget*>(w);
          l->clear();
          int current = -1;
          for (const auto& e : d.Entries()) {
            QString indent(e.depth * 2, QChar(' '));
            QString mark = e.open ? QString::fromUtf8("\u25BE ") : QString::fromUtf8("\u25B8 ");
            l->addItem(indent + mark + to_qstring(e.label));
            if (e.current) current = l->count() - 1;
          }
          if (current >= 0) l->setCurrentRow(current);
        }
        break;
      case Property::ListIndex:
        if (c.Kind() == ControlKind::ComboBox) {
          static_cast<QComboBox*>(w)->setCurrentIndex(static_cast<forms::ComboBox&>(c).ListIndex());
        }
        break;
      case Property::Path:
        if (c.Kind() == ControlKind::DriveListBox) {
          static_cast<QComboBox*>(w)->setCurrentIndex(static_cast<forms::DriveListBox&>(c).ListIndex());
        } else if (c.Kind() == ControlKind::DirListBox) {
          apply(c, Property::List);
        }
        break;
      case Property::Range:
        if (c.Kind() == ControlKind::VScrollBar) {
          auto& bar = static_cast<forms::VScrollBar&>(c);
          auto* s = static_cast<QScrollBar*>(w);
          s->setRange(std::min(bar.Min(), bar.Max()), std::max(bar.Min(), bar.Max()));
          s->setSingleStep(std::max(1, bar.SmallChange()));
          s->setPageStep(std::max(1, bar.LargeChange()));
          s->setValue(widget_value(bar, bar.Value()));
        }
        break;
      case Property::Picture:
        if (c.Kind() == ControlKind::PictureBox) {
          const std::string& bytes = static_cast<forms::PictureBox&>(c).Picture();
          QPixmap pm;
          pm.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<uint>(bytes.size()));
          static_cast<QLabel*>(w)->setPixmap(pm);
        }
        break;
      case Property::Border:
        if (c.Kind() == ControlKind::Label) {
          auto& label = static_cast<forms::Label&>(c);
          auto* l = static_cast<QLabel*>(w);
          l->setFrameStyle(label.BorderStyle() == 1 ? (QFrame::Panel | QFrame::Sunken) : QFrame::NoFrame);
          if (label.BorderStyle() == 1) sunken_edge(l);
          l->setAutoFillBackground(label.BackStyle() == 1);
          l->setWordWrap(label.WordWrap());
        } else if (c.Kind() == ControlKind::PictureBox) {
          static_cast<QLabel*>(w)->setFrameStyle(c.BorderStyle() == 1 ? (QFrame::Panel | QFrame::Sunken)
                                                                      : QFrame::NoFrame);
        } else if (c.Kind() == ControlKind::Frame) {
          static_cast<FrameWidget*>(w)->set_border(c.BorderStyle() == 1);
        } else {
          w->update();
        }
        break;
      case Property::Alignment: {
        Qt::Alignment h = c.GetAlignment() == forms::Alignment::Right    ? Qt::AlignRight
                          : c.GetAlignment() == forms::Alignment::Center ? Qt::AlignHCenter
                                                                         : Qt::AlignLeft;
        if (c.Kind() == ControlKind::TextBox) static_cast<QLineEdit*>(w)->setAlignment(h | Qt::AlignVCenter);
        if (c.Kind() == ControlKind::Label) static_cast<QLabel*>(w)->setAlignment(h | Qt::AlignTop);
        break;
      }
      case Property::Locked:
        if (c.Kind() == ControlKind::TextBox) {
          static_cast<QLineEdit*>(w)->setReadOnly(static_cast<forms::TextBox&>(c).Locked());
        }
        break;
      default: break;
    }
  }

  // The widget shows a reversed range (Min > Max) upside down, so that the
  // Min end stays at the top as the runtime's scroll bar has it.
  static int widget_value(const forms::VScrollBar& bar, int v) {
    return bar.Min() <= bar.Max() ? v : bar.Min() + bar.Max() - v;
  }

  // ---- focus ----
  void follow_focus(Form& form) {
    QWidget* win = window(form);
    if (!win || !win->isVisible()) return;
    Control* c = form.ActiveControl();
    QWidget* w = c ? widget(*c) : nullptr;
    if (w && w->isVisibleTo(win) && w->isEnabled()) {
      // The focus is always drawn, as the user moves it with the keys.
      win->setAttribute(Qt::WA_KeyboardFocusChange, true);
      w->setFocus(Qt::OtherFocusReason);
      // A line edit forgets its selection when it loses the focus; the
      // runtime's box keeps it.
      if (c->Kind() == ControlKind::TextBox) apply(*c, Property::Selection);
    } else if (QWidget* f = win->focusWidget()) {
      f->clearFocus();
    }
  }

  // ---- timers ----
  void sync_timers() {
    for (auto& [t, qt] : timers_) {
      if (t->Armed()) {
        int interval = std::max(1, t->Interval());
        if (!qt->isActive() || qt->interval() != interval) qt->start(interval);
      } else if (qt->isActive()) {
        qt->stop();
      }
    }
  }

  void timer_fired(forms::Timer& t) {
    rt_.fire_timer(t);
    sync_timers();
    check_loops();
  }

  // ---- loops ----
  struct Loop {
    QEventLoop* loop;
    const std::function<bool()>* done;
  };

  void check_loops() {
    for (Loop* l : loops_) {
      if ((*l->done)()) l->loop->exit();
    }
  }

  void run(Form* modal, const std::function<bool()>& done) {
    if (done()) return;
    QEventLoop loop;
    Loop entry{&loop, &done};
    loops_.push_back(&entry);
    loop.exec();
    loops_.erase(std::remove(loops_.begin(), loops_.end(), &entry), loops_.end());
  }

  // ---- the user's input ----
  void chosen(Control& c, int index) {
    rt_.user_choose(c, index);
    resync(c, Property::ListIndex);
    resync(c, Property::Path);
  }

  void scrolled(forms::VScrollBar& bar, int widget_v) {
    int v = bar.Min() <= bar.Max() ? widget_v : bar.Min() + bar.Max() - widget_v;
    rt_.user_scroll_to(bar, v);
    resync(bar, Property::Range);
  }

  // The wheel over a form moves the form's scroll bar that has a wheel step
  // (the page's), a step per notch, through the runtime, so that the bar's
  // Change moves the page. The focus stays where it is.
  void wheel(Form& form, QWheelEvent* e) {
    if (!rt_.AcceptsInput(form)) return;
    forms::VScrollBar* bar = nullptr;
    for (Control* c : form.Controls()) {
      if (c->Kind() != ControlKind::VScrollBar) continue;
      bar = static_cast<forms::VScrollBar*>(c);
      if (bar->WheelChange() > 0) break;
      bar = nullptr;
    }
    if (!bar) return;
    wheel_rest_ += e->angleDelta().y();
    const int notches = wheel_rest_ / 120;  // positive: turned up, away from the user
    wheel_rest_ -= notches * 120;
    if (notches == 0) return;
    rt_.user_wheel(*bar, -notches);
    resync(*bar, Property::Range);
    check_loops();
  }

  // Shows the runtime's state again after the user's input, in case the
  // runtime refused it.
  void resync(Control& c, Property p) {
    if (widgets_.count(&c)) apply(c, p);
  }

  void select_from_widget(forms::TextBox& box, QLineEdit* e) {
    int start = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    int length = e->hasSelectedText() ? static_cast<int>(e->selectedText().size()) : 0;
    if (box.SelStart() == start && box.SelLength() == length) return;
    rt_.user_select(box, start, length);
    resync(box, Property::Selection);
  }

  // Characters typed into the form. Any that Windows-1252 cannot hold (the
  // data file keeps one byte a character) refuses the whole text with the
  // system's bell, leaving the box as it was.
  void type_text(const QString& text) {
    std::vector<int> codes;
    for (char32_t cp : text.toStdU32String()) {
      if (cp < 32) continue;
      auto b = cp1252::from_unicode(cp);
      if (!b) {
        QApplication::beep();
        return;
      }
      codes.push_back(*b);
    }
    for (int code : codes) rt_.user_key(code);
  }

  bool key_press(Control* c, Form& form, QKeyEvent* k) {
    if (!rt_.AcceptsInput(form)) return true;
    if (rt_.ActiveForm() != &form) rt_.user_activate(form);
    Qt::KeyboardModifiers mods = k->modifiers() & ~Qt::KeypadModifier;
    bool shift = mods & Qt::ShiftModifier;
    int key = k->key();
    // A directory list moves its own highlight; Enter opens the highlighted
    // folder, as a double click does.
    if (c && c->Kind() == ControlKind::DirListBox && c->HasFocus()) {
      auto* l = static_cast<QListWidget*>(widget(*c));
      switch (key) {
        case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown:
        case Qt::Key_Home: case Qt::Key_End:
          deliver(l, k);
          return true;
        case Qt::Key_Return: case Qt::Key_Enter:
          open_folder(*static_cast<forms::DirListBox*>(c), l->currentRow());
          return true;
        default: break;
      }
    }
    switch (key) {
      case Qt::Key_Tab: rt_.user_tab(shift); return true;
      case Qt::Key_Backtab: rt_.user_tab(true); return true;
      case Qt::Key_Return: case Qt::Key_Enter: rt_.user_key(forms::kKeyEnter); return true;
      case Qt::Key_Backspace: rt_.user_key(forms::kKeyBackspace); return true;
      case Qt::Key_Escape: rt_.user_key(forms::kKeyEscape); return true;
      case Qt::Key_Left: rt_.user_nav_key(forms::NavKey::Left, shift); return true;
      case Qt::Key_Right: rt_.user_nav_key(forms::NavKey::Right, shift); return true;
      case Qt::Key_Up: rt_.user_nav_key(forms::NavKey::Up, shift); return true;
      case Qt::Key_Down: rt_.user_nav_key(forms::NavKey::Down, shift); return true;
      case Qt::Key_Home: rt_.user_nav_key(forms::NavKey::Home, shift); return true;
      case Qt::Key_End: rt_.user_nav_key(forms::NavKey::End, shift); return true;
      case Qt::Key_PageUp: rt_.user_nav_key(forms::NavKey::PageUp, shift); return true;
      case Qt::Key_PageDown: rt_.user_nav_key(forms::NavKey::PageDown, shift); return true;
      case Qt::Key_Delete: rt_.user_nav_key(forms::NavKey::Delete, shift); return true;
      default: break;
    }
    if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier)) {
      if (key >= Qt::Key_A && key <= Qt::Key_Z) rt_.user_access_key(static_cast<char>('a' + (key - Qt::Key_A)));
      return true;
    }
    bool text_box = c && c->Kind() == ControlKind::TextBox;
    bool paste = (key == Qt::Key_V && mods == Qt::ControlModifier) || (key == Qt::Key_Insert && mods == Qt::ShiftModifier);
    if (paste) {
      // The runtime decides what a paste inserts; the view only converts.
      // A paste types its first line only, so only that line must be
      // Windows-1252: what follows the first line break is never typed.
      if (text_box) {
        QString pasted = QGuiApplication::clipboard()->text();
        for (qsizetype i = 0; i < pasted.size(); ++i) {
          if (pasted[i] == '\r' || pasted[i] == '\n') {
            pasted.truncate(i);
            break;
          }
        }
        auto text = cp1252::from_utf8_strict(pasted.toStdString());
        if (!text || !rt_.user_paste(*static_cast<forms::TextBox*>(c), *text)) QApplication::beep();
      }
      return true;
    }
    if (mods & (Qt::ControlModifier | Qt::MetaModifier)) {
      // Copying the selected text changes nothing.
      if ((key == Qt::Key_C || key == Qt::Key_Insert) && text_box) {
        QString sel = to_qstring(static_cast<forms::TextBox*>(c)->SelText());
        if (!sel.isEmpty()) QGuiApplication::clipboard()->setText(sel);
      }
      return true;
    }
    // A key the keyboard map gives no symbol for (a letter remapped while
    // it was typed) cannot be read: refused as a letter Windows-1252 cannot
    // hold is, so that the user hears it.
    if (k->text().isEmpty() && (key == 0 || key == Qt::Key_unknown)) {
      QApplication::beep();
      return true;
    }
    type_text(k->text());
    return true;
  }

  void open_folder(forms::DirListBox& dir, int row) {
    if (row < 0 || row >= dir.ListCount()) return;
    rt_.user_choose_folder(dir, dir.Entries()[static_cast<std::size_t>(row)].path);
    resync(dir, Property::List);
  }

  bool mouse(Control& c, QWidget* w, QEvent* e) {
    Form& form = c.Parent();
    auto* me = static_cast<QMouseEvent*>(e);
    bool press = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick;
    bool release = e->type() == QEvent::MouseButtonRelease;
    if (me->button() != Qt::LeftButton && (press || release)) return true;
    if (!rt_.AcceptsInput(form)) return true;
    if (press && rt_.ActiveForm() != &form) rt_.user_activate(form);
    QPointer<QWidget> alive(w);
    switch (c.Kind()) {
      case ControlKind::TextBox: {
        auto& box = static_cast<forms::TextBox&>(c);
        if (e->type() == QEvent::MouseButtonPress) {
          if (!rt_.user_click(c) || !alive || !widgets_.count(&c) || !c.HasFocus()) return true;
        }
        if (!c.HasFocus()) return true;
        deliver(w, e);
        if (alive && widgets_.count(&c)) select_from_widget(box, static_cast<QLineEdit*>(w));
        return true;
      }
      case ControlKind::CommandButton:
      case ControlKind::CheckBox:
      case ControlKind::OptionButton: {
        auto* b = static_cast<QAbstractButton*>(w);
        if (press) {
          pressed_ = &c;
          rt_.user_focus(c);
          if (alive && widgets_.count(&c)) b->setDown(true);
        } else if (e->type() == QEvent::MouseMove) {
          if (pressed_ == &c) b->setDown(b->rect().contains(me->position().toPoint()));
        } else if (release) {
          bool inside = b->rect().contains(me->position().toPoint());
          b->setDown(false);
          if (pressed_ == &c && inside) {
            pressed_ = nullptr;
            rt_.user_click(c);
            if (widgets_.count(&c)) resync(c, Property::Value);
          }
          pressed_ = nullptr;
        }
        return true;
      }
      case ControlKind::Label:
      case ControlKind::PictureBox:
      case ControlKind::Frame:
        if (release && w->rect().contains(me->position().toPoint())) rt_.user_click(c);
        return true;
      case ControlKind::ComboBox:
      case ControlKind::DriveListBox:
      case ControlKind::VScrollBar:
        if (e->type() == QEvent::MouseButtonPress && !c.HasFocus()) {
          if (!rt_.user_focus(c) || !alive || !widgets_.count(&c)) return true;
        }
        if (!c.HasFocus()) return true;
        return deliver(w, e) || true;
      case ControlKind::DirListBox: {
        auto* l = static_cast<QListWidget*>(widget(c));
        if (e->type() == QEvent::MouseButtonPress && !c.HasFocus()) {
          if (!rt_.user_focus(c) || !alive || !widgets_.count(&c)) return true;
        }
        if (!c.HasFocus()) return true;
        if (e->type() == QEvent::MouseButtonDblClick) {
          QListWidgetItem* item = l->itemAt(me->position().toPoint());
          if (item) open_folder(static_cast<forms::DirListBox&>(c), l->row(item));
          return true;
        }
        return false;  // the viewport selects the row under the mouse
      }
      default:
        return true;
    }
  }

  bool eventFilter(QObject* obj, QEvent* e) override {
    Control* c = nullptr;
    Form* form = nullptr;
    if (auto it = controls_by_object_.find(obj); it != controls_by_object_.end()) {
      c = it->second;
      form = &c->Parent();
    } else if (auto f = forms_by_object_.find(obj); f != forms_by_object_.end()) {
      form = f->second;
    } else {
      return false;
    }
    switch (e->type()) {
      case QEvent::ShortcutOverride:
        // Keys belong to the runtime: no Qt shortcut (access keys included)
        // may take them first.
        e->accept();
        return true;
      case QEvent::KeyPress: {
        bool r = key_press(c, *form, static_cast<QKeyEvent*>(e));
        check_loops();
        return r;
      }
      case QEvent::KeyRelease:
        return true;
      case QEvent::InputMethod: {
        auto* im = static_cast<QInputMethodEvent*>(e);
        if (rt_.AcceptsInput(*form)) type_text(im->commitString());
        check_loops();
        return true;
      }
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove: {
        if (!c) {
          if (e->type() == QEvent::MouseButtonPress && rt_.ActiveForm() != form) rt_.user_activate(*form);
          return false;
        }
        if (e->type() == QEvent::MouseMove && !(static_cast<QMouseEvent*>(e)->buttons() & Qt::LeftButton)) {
          return false;
        }
        bool r = mouse(*c, static_cast<QWidget*>(obj), e);
        check_loops();
        return r;
      }
      case QEvent::Wheel:
        // The wheel anywhere over a form with a page scroll bar moves that
        // bar; lists and combo boxes never change their selection by it.
        if (!c || c->Kind() != ControlKind::DirListBox) wheel(*form, static_cast<QWheelEvent*>(e));
        return !(c && c->Kind() == ControlKind::DirListBox);
      case QEvent::WindowActivate:
        if (!c && rt_.ActiveForm() != form) rt_.user_activate(*form);
        if (!c) follow_focus(*form);
        return false;
      default:
        return false;
    }
  }

  // ---- forms going ----
  void drop(Form& form) {
    for (Control* c : form.Controls()) {
      if (pressed_ == c) pressed_ = nullptr;
      if (auto it = widgets_.find(c); it != widgets_.end()) {
        controls_by_object_.erase(it->second);
        if (auto* l = qobject_cast<QListWidget*>(it->second)) controls_by_object_.erase(l->viewport());
        widgets_.erase(it);
      }
      if (c->Kind() == ControlKind::Timer) {
        auto* t = static_cast<forms::Timer*>(c);
        if (auto it = timers_.find(t); it != timers_.end()) {
          it->second->stop();
          // Its timeout may be running now.
          it->second->deleteLater();
          dying_.emplace_back(it->second);
          timers_.erase(it);
        }
      }
    }
    if (auto it = windows_.find(&form); it != windows_.end()) {
      QWidget* win = it->second;
      forms_by_object_.erase(win);
      windows_.erase(it);
      win->hide();
      // Deleted later: an event of one of its widgets may be running now.
      win->deleteLater();
      dying_.emplace_back(win);
    }
    dying_.erase(std::remove_if(dying_.begin(), dying_.end(), [](const QPointer<QObject>& p) { return p.isNull(); }),
                 dying_.end());
  }

  View& view_;
  forms::Runtime& rt_;
  std::map<const Form*, QWidget*> windows_;
  std::map<const Control*, QWidget*> widgets_;
  std::unordered_map<const QObject*, Control*> controls_by_object_;
  std::unordered_map<const QObject*, Form*> forms_by_object_;
  std::map<forms::Timer*, QTimer*> timers_;
  std::vector<Loop*> loops_;
  std::vector<QPointer<QObject>> dying_;
  Control* pressed_ = nullptr;
  int wheel_rest_ = 0;  // wheel turn not yet a whole notch (1/8 degrees)
  bool building_ = false;  // a form's widgets are being made
};

View::View(forms::Runtime& rt) : impl_(std::make_unique<Impl>(*this, rt)) {
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    QRect g = s->geometry();
    rt.SetScreenSize(static_cast<float>(g.width() * forms::kTwipsPerPixel),
                     static_cast<float>(g.height() * forms::kTwipsPerPixel));
  }
  rt.AddObserver(this);
  rt.SetEventLoop(this);
  rt.SetMessageBoxes(this);
  for (Form* f : rt.Forms()) {
    impl_->build(*f);
    if (f->Visible()) form_shown(*f, f->IsModal() ? forms::ShowMode::Modal : forms::ShowMode::Modeless);
  }
}

View::~View() {
  impl_->rt_.RemoveObserver(this);
  impl_->rt_.SetEventLoop(nullptr);
  impl_->rt_.SetMessageBoxes(nullptr);
}

QWidget* View::window(const Form& form) const { return impl_->window(form); }
QWidget* View::widget(const Control& control) const { return impl_->widget(control); }

void View::form_loaded(Form& form) { impl_->build(form); }

void View::form_shown(Form& form, forms::ShowMode mode) {
  QWidget* win = impl_->window(form);
  if (!win) {
    impl_->build(form);
    win = impl_->window(form);
  }
  win->setWindowModality(mode == forms::ShowMode::Modal ? Qt::ApplicationModal : Qt::NonModal);
  win->show();
  win->activateWindow();
  impl_->follow_focus(form);
  impl_->sync_timers();
}

void View::form_hidden(Form& form) {
  if (QWidget* win = impl_->window(form)) {
    win->hide();
    win->setWindowModality(Qt::NonModal);
  }
  impl_->sync_timers();
  impl_->check_loops();
}

void View::form_unloaded(Form& form) {
  impl_->drop(form);
  impl_->sync_timers();
  impl_->check_loops();
}

void View::form_changed(Form& form, Property what) { impl_->apply_form(form, what); }

void View::control_changed(Control& control, Property what) {
  if (!impl_->window(control.Parent())) return;
  impl_->apply(control, what);
  if (what == Property::Enabled || what == Property::Visible) impl_->sync_timers();
}

void View::focus_changed(Form& form, Control*, Control*) { impl_->follow_focus(form); }

void View::program_ended() {
  impl_->sync_timers();
  impl_->check_loops();
}

void View::run_until(Form* modal, const std::function<bool()>& done) { impl_->run(modal, done); }

forms::MsgResult View::show(const forms::MessageBoxRequest& request) {
  QWidget* parent = nullptr;
  if (Form* f = impl_->rt_.ActiveForm()) {
    QWidget* win = impl_->window(*f);
    if (win && win->isVisible()) parent = win;
  }
  QuestionBox box(parent);
  box.setWindowTitle(to_qstring(request.title));
  box.setTextFormat(Qt::PlainText);
  box.setText(to_qstring(request.text));
  box.setIcon(request.icon == forms::MsgIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon);
  box.setWindowModality(Qt::ApplicationModal);
  QAbstractButton* yes = nullptr;
  QAbstractButton* ok = nullptr;
  if (request.buttons == forms::MsgButtons::YesNo) {
    yes = box.addButton(QString::fromUtf8("S\u00EC"), QMessageBox::YesRole);
    QAbstractButton* no = box.addButton(QString::fromUtf8("No"), QMessageBox::NoRole);
    box.setDefaultButton(static_cast<QPushButton*>(yes));
    // Escape and the close button need an escape button to work at all;
    // the box reports them as dismissed, not as this button.
    box.setEscapeButton(no);
  } else {
    ok = box.addButton(QString::fromUtf8("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(static_cast<QPushButton*>(ok));
    box.setEscapeButton(ok);
  }
  box.exec();
  forms::MsgResult result = forms::MsgResult::OK;
  if (request.buttons == forms::MsgButtons::YesNo) {
    result = box.dismissed()                 ? forms::MsgResult::Cancel
             : box.clickedButton() == yes    ? forms::MsgResult::Yes
                                             : forms::MsgResult::No;
  }
  impl_->check_loops();
  return result;
}

}  // namespace qtview
