#include "platform/widgets/FullScreenSwitch.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace slatewick {

namespace {
constexpr int AnswerWaitMs = 500;
}

FullScreenSwitch::FullScreenSwitch(QWidget* window) : QObject(window), window_(window) {
  noAnswer_.setSingleShot(true);
  connect(&noAnswer_, &QTimer::timeout, this, [this] {
    // No window manager: the window takes the screen (or its place again) by itself.
    asking_ = false;
    shown_ = asked_;
    if (shown_ && window_->screen()) window_->setGeometry(window_->screen()->geometry());
    Apply();
  });
  window_->installEventFilter(this);
}

void FullScreenSwitch::Request(bool fullScreen) {
  wanted_ = fullScreen;
  Apply();
}

QRect FullScreenSwitch::WindowedGeometry() const {
  if (restore_) return *restore_;
  return Settled() || !windowed_.isValid() ? window_->geometry() : windowed_;
}

void FullScreenSwitch::RestoreGeometry(const QRect& clientArea) {
  restore_ = clientArea;
  Apply();
}

void FullScreenSwitch::Apply() {
  if (!watching_ && window_->windowHandle()) {
    window_->windowHandle()->installEventFilter(this);
    watching_ = true;
  }
  if (asking_) return;  // the next step follows the window manager's answer
  if (wanted_ != shown_) {
    const Qt::WindowStates state = window_->windowState();
    const Qt::WindowStates next =
        wanted_ ? state | Qt::WindowFullScreen : state & ~Qt::WindowFullScreen;
    if (!window_->isVisible()) {  // applied when the window shows
      window_->setWindowState(next);
      shown_ = wanted_;
    } else {
      if (!shown_) windowed_ = window_->geometry();
      asking_ = true;
      asked_ = wanted_;
      noAnswer_.start(AnswerWaitMs);
      window_->setWindowState(next);
      return;
    }
  }
  if (!shown_ && restore_) {
    window_->setGeometry(*restore_);
    restore_.reset();
  }
}

void FullScreenSwitch::Answered(bool fullScreen) {
  shown_ = fullScreen;
  if (asking_ && shown_ == asked_) {
    asking_ = false;
    noAnswer_.stop();
  }
  Apply();
}

bool FullScreenSwitch::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_->windowHandle() && event->type() == QEvent::WindowStateChange &&
      event->spontaneous()) {
    Answered(window_->windowHandle()->windowStates() & Qt::WindowFullScreen);
  } else if (watched == window_ &&
             (event->type() == QEvent::Move || event->type() == QEvent::Resize) && Settled()) {
    windowed_ = window_->geometry();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace slatewick
