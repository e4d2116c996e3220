#include "platform/widgets/BlankCursorKeeper.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace slatewick {

void BlankCursorKeeper::Install(QWidget* widget) {
  if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return;
  if (widget->findChild<BlankCursorKeeper*>(QString(), Qt::FindDirectChildrenOnly)) return;
  new BlankCursorKeeper(widget);
}

BlankCursorKeeper::BlankCursorKeeper(QWidget* widget) : QObject(widget), widget_(widget) {
  widget->installEventFilter(this);
  connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this] { stale_ = true; });
}

bool BlankCursorKeeper::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Enter:  // told after Qt's own handling of the entry, which may show an arrow
      QTimer::singleShot(0, this, [this] { TellBlank(); });
      break;
    case QEvent::Leave:
      stale_ = true;
      // Qt may take the pointer for gone while the window changes size under it (back from full
      // screen); where it still lies over the widget, the widget's cursor stays.
      QTimer::singleShot(0, this, [this] {
        if (widget_->window()->underMouse() &&
            widget_->rect().contains(widget_->mapFromGlobal(QCursor::pos())))
          TellBlank();
      });
      break;
    case QEvent::MouseMove:
      if (stale_) TellBlank();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

void BlankCursorKeeper::TellBlank() {
  stale_ = false;
  if (widget_->cursor().shape() != Qt::BlankCursor) return;
  // On the native window itself (Qt passes a widget's cursor on only while it knows which widget
  // the pointer is over), a different cursor first, so that the blank one counts as a change and
  // reaches the pointer.
  if (QWindow* window = widget_->window()->windowHandle()) {
    window->setCursor(Qt::ArrowCursor);
    window->setCursor(Qt::BlankCursor);
  }
}

}  // namespace slatewick
