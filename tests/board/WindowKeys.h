#pragma once
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace slatewick {

// A key pressed and released on the widget, as the system sends them.
inline void SendKey(QWidget& to, int key, Qt::KeyboardModifiers modifiers) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(&to, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(&to, &release);
}

}  // namespace slatewick
