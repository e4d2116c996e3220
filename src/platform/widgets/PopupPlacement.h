#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace slatewick {

// Where a popup of `size` opened at `at` goes so that it lies whole in `area` (all in screen
// pixels): its top-left corner at `at` when it fits; flipped to end at `at` on a side where it
// does not; slid against the area's edge when neither way fits.
QPoint PlacePopup(QPoint at, QSize size, const QRect& area);

// The area a popup of `window` may cover: the available area of the window's screen where the
// window system tells where windows are; under Wayland, which does not, the window's own area
// (the part of the screen it surely has, all of it in full screen).
QRect PopupArea(const QWidget* window);

}  // namespace slatewick
