#include "platform/widgets/BlankCursorKeeper.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace slatewick {

void BlankCursorKeeper::Install(QWidget* widget) {
  if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return;
  if (widget->findChild<BlankCursorKeeper*>(QString(), Qt::FindDirectChildrenOnly)) return;
  new BlankCursorKeeper(widget);
}

BlankCursorKeeper::BlankCursorKeeper(QWidget* widget) : QObject(widget) {
  widget->installEventFilter(this);
  connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this] { stale_ = true; });
}

bool BlankCursorKeeper::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = static_cast<QWidget*>(watched);
  const QEvent::Type type = event->type();
  if (type == QEvent::Enter || type == QEvent::Leave) stale_ = true;
  if (type == QEvent::MouseMove && stale_ && widget->cursor().shape() == Qt::BlankCursor) {
    stale_ = false;
    // On the native window itself (Qt passes a widget's cursor on only while it knows which
    // widget the pointer is over), a different cursor first, so that the blank one counts as a
    // change and reaches the pointer.
    if (QWindow* window = widget->window()->windowHandle()) {
      window->setCursor(Qt::ArrowCursor);
      window->setCursor(Qt::BlankCursor);
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace slatewick
