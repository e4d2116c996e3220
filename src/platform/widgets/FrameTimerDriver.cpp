#include "platform/widgets/FrameTimerDriver.h"

#include <QGuiApplication>
#include <QThread>
#include <algorithm>

#include "platform/Clock.h"

FrameTimerDriver::FrameTimerDriver(TDXTimer& timer, QObject* parent)
    : QObject(parent), timer_(timer) {
  wake_.setTimerType(Qt::PreciseTimer);
  wake_.setSingleShot(true);
  connect(&wake_, &QTimer::timeout, this, [this] { Fire(); });
  timer_.OnRunningChanged = [this] { Reschedule(); };
  connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
          [this](Qt::ApplicationState state) {
            timer_.SetApplicationActive(state == Qt::ApplicationActive);
            Reschedule();
          });
  timer_.SetApplicationActive(QGuiApplication::applicationState() == Qt::ApplicationActive);
  Reschedule();
}

void FrameTimerDriver::Reschedule() {
  const int wait = timer_.MillisecondsToNextTick(timeGetTime());
  if (wait < 0)
    wake_.stop();
  else
    wake_.start(wait);
}

void FrameTimerDriver::Fire() {
  const int level = QThread::currentThread()->loopLevel();
  if (tickLoopLevel_ >= 0 && level <= tickLoopLevel_) {
    // Inside a tick's own message pass: try again later, perhaps inside a modal loop.
    wake_.start(std::max(timer_.Interval, 1));
    return;
  }
  const int outer = tickLoopLevel_;
  tickLoopLevel_ = level;
  timer_.Idle(timeGetTime());
  tickLoopLevel_ = outer;
  Reschedule();
}
