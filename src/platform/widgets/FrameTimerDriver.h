#pragma once
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "platform/FrameTimer.h"

class QScreen;
class QWidget;

namespace slatewick {

// Drives a FrameTimer from Qt's event loop: wakes precisely when the next tick is due instead
// of spinning, follows the application's activation and the refresh rate of the screen that
// shows the window, wakes a sleeping timer whenever the event loop turns, and lets a tick nest only
// inside a modal loop (a menu, a dialog) that an earlier tick's handlers opened, never inside the
// tick's own message pass.
class FrameTimerDriver : public QObject {
 public:
  explicit FrameTimerDriver(FrameTimer& timer, QObject* parent = nullptr);
  ~FrameTimerDriver() override { timer_.OnRunningChanged = nullptr; }
  void Reschedule();
  // Paces the ticks by the refresh rate of the screen that shows `window`, whichever that is.
  void FollowScreenOf(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Fire();
  void UseScreen(QScreen* screen);

  FrameTimer& timer_;
  QTimer wake_;
  int tickLoopLevel_ = -1;  // event-loop level of the tick under way, -1 when none
  QPointer<QWidget> window_;
  QMetaObject::Connection screenChanged_, refreshRateChanged_;
};

}  // namespace slatewick
