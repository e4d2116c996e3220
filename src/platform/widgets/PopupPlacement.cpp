#include "platform/widgets/PopupPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace slatewick {

namespace {

// The start of a span of `length` opened at `at` within [low, high).
int PlaceSpan(int at, int length, int low, int high) {
  if (at + length <= high) return std::max(at, low);
  if (at - length >= low) return at - length;
  return std::max(high - length, low);
}

}  // namespace

QPoint PlacePopup(QPoint at, QSize size, const QRect& area) {
  return {PlaceSpan(at.x(), size.width(), area.left(), area.left() + area.width()),
          PlaceSpan(at.y(), size.height(), area.top(), area.top() + area.height())};
}

QRect PopupArea(const QWidget* window) {
  const QScreen* screen = window->screen();
  const QRect available = screen ? screen->availableGeometry() : QRect();
  if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
    return available.isValid() ? available : window->geometry();
  return window->geometry();
}

}  // namespace slatewick
