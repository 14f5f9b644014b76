#pragma once
// Input as the user gives it: key and mouse events sent to the view's
// widgets, and waiting for the event loop to do something.

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace qttest {

inline void key(QWidget* target, int key, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods, text);
  QApplication::sendEvent(target, &release);
}

// Types each character as its own key press.
inline void type(QWidget* target, const QString& text) {
  for (QChar ch : text) key(target, 0, QString(ch));
}

inline void mouse(QWidget* w, QEvent::Type type, QPoint at) {
  Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// A left click in the middle of the widget.
inline void click(QWidget* w) {
  QPoint at = w->rect().center();
  mouse(w, QEvent::MouseButtonPress, at);
  mouse(w, QEvent::MouseButtonRelease, at);
}

// Runs the event loop until `done` or, as a safety net, a generous time
// later (a loaded machine running the sanitizer build is slow).
inline bool wait_for(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 30000) {
    QApplication::processEvents(QEventLoop::AllEvents);
    if (!done()) QThread::msleep(2);
  }
  return done();
}

// Runs `fn` as soon as the (nested) event loop runs.
inline void soon(std::function<void()> fn) { QTimer::singleShot(0, std::move(fn)); }

}  // namespace qttest
