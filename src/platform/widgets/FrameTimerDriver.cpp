#include "platform/widgets/FrameTimerDriver.h"

#include <QAbstractEventDispatcher>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace slatewick {

FrameTimerDriver::FrameTimerDriver(FrameTimer& timer, QObject* parent)
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
  // A sleeping timer looks again each time the event loop turns: whatever the events handled
  // since changed, a tick follows at once.
  if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
    const auto stir = [this] {
      if (timer_.Stir(timer_.TheClock().Milliseconds())) Reschedule();
    };
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, stir);
    connect(dispatcher, &QAbstractEventDispatcher::awake, this, stir);
  }
  Reschedule();
}

void FrameTimerDriver::Reschedule() {
  const int wait = timer_.MillisecondsToNextTick(timer_.TheClock().Milliseconds());
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
  // The wake-up stays armed while the tick runs, so that a menu or dialog that its message pass
  // opens gets ticks too.
  wake_.start(std::max(timer_.Interval, 1));
  timer_.Idle(timer_.TheClock().Milliseconds());
  tickLoopLevel_ = outer;
  Reschedule();
}

void FrameTimerDriver::FollowScreenOf(QWidget* window) {
  window_ = window;
  window->installEventFilter(this);
  UseScreen(window->screen());
}

bool FrameTimerDriver::eventFilter(QObject* watched, QEvent* event) {
  // The native window exists from the first show on; it tells of moves to other screens.
  if (watched == window_ && event->type() == QEvent::Show && window_->windowHandle()) {
    disconnect(screenChanged_);
    screenChanged_ = connect(window_->windowHandle(), &QWindow::screenChanged, this,
                             [this](QScreen* screen) { UseScreen(screen); });
    UseScreen(window_->screen());
  }
  return QObject::eventFilter(watched, event);
}

void FrameTimerDriver::UseScreen(QScreen* screen) {
  disconnect(refreshRateChanged_);
  timer_.SetRefreshRate(screen ? screen->refreshRate() : 0);
  if (screen)
    refreshRateChanged_ = connect(screen, &QScreen::refreshRateChanged, this,
                                  [this](qreal hertz) { timer_.SetRefreshRate(hertz); });
  Reschedule();
}

}  // namespace slatewick
