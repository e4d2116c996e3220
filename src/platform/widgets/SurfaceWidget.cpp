#include "platform/widgets/SurfaceWidget.h"

#include <QPainter>
#include <cmath>

SurfaceWidget::SurfaceWidget(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
}

void SurfaceWidget::ShowFrame(const QImage& frame) {
  frame_ = frame;
  repaint();
}

void SurfaceWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (frame_.isNull()) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  if (fullScreen_) {
    painter.drawImage(rect(), frame_);
    return;
  }
  painter.drawImage(0, 0, frame_);
  if (width() > frame_.width()) painter.fillRect(frame_.width(), 0, width(), height(), Qt::black);
  if (height() > frame_.height())
    painter.fillRect(0, frame_.height(), width(), height(), Qt::black);
}

void SurfaceWidget::SetFullScreen(bool fullScreen) {
  fullScreen_ = fullScreen;
  QWidget* top = window();
  if (fullScreen && !top->isFullScreen())
    top->showFullScreen();
  else if (!fullScreen && top->isFullScreen())
    top->showNormal();
}

void SurfaceWidget::SetSizeableBorder(bool sizeable) {
  QWidget* top = window();
  const bool visible = top->isVisible();
  top->setMinimumSize(0, 0);
  top->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  Qt::WindowFlags flags = Qt::Window;
  if (sizeable)
    flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
             Qt::WindowCloseButtonHint;
  else
    flags |= Qt::FramelessWindowHint;
  top->setWindowFlags(flags);
  if (visible) top->show();
}

void SurfaceWidget::HideSystemCursor() {
  setCursor(Qt::BlankCursor);
}

void SurfaceWidget::SetSurfaceSize(int width, int height) {
  resize(width, height);
}

QByteArray SurfaceWidget::WindowPlacement() const {
  return window()->saveGeometry();
}

void SurfaceWidget::SetWindowPlacement(const QByteArray& placement) {
  window()->restoreGeometry(placement);
}

QPoint SurfaceWidget::ToBoard(const QPointF& position) const {
  if (!fullScreen_) return {int(std::floor(position.x())), int(std::floor(position.y()))};
  // In full screen the frame fills the screen; a position maps back onto the frame's pixels.
  const double sx = frame_.isNull() || width() == 0 ? 1.0 : double(frame_.width()) / width();
  const double sy = frame_.isNull() || height() == 0 ? 1.0 : double(frame_.height()) / height();
  return {int(std::floor(position.x() * sx)), int(std::floor(position.y() * sy))};
}
