#pragma once
#include <QObject>
#include <QTimer>

#include "platform/DXTimer.h"

// Drives a TDXTimer from Qt's event loop: wakes precisely when the next tick is due instead
// of spinning, follows the application's activation, and lets a tick nest only inside a modal
// loop that an earlier tick's handlers opened (never inside the tick's own message pass).
class FrameTimerDriver : public QObject {
 public:
  explicit FrameTimerDriver(TDXTimer& timer, QObject* parent = nullptr);
  ~FrameTimerDriver() override { timer_.OnRunningChanged = nullptr; }
  void Reschedule();

 private:
  void Fire();

  TDXTimer& timer_;
  QTimer wake_;
  int tickLoopLevel_ = -1;  // event-loop level of the tick under way, -1 when none
};
