#include "platform/widgets/SurfaceWidget.h"

#include <QDataStream>
#include <QIODevice>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "platform/UpdateRects.h"
#include "platform/widgets/BlankCursorKeeper.h"

namespace slatewick {

SurfaceWidget::SurfaceWidget(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
}

void SurfaceWidget::ShowFrame(const QImage& frame) {
  frame_ = frame;  // shared: whichever side is written next makes its own copy then
  repaint();
}

void SurfaceWidget::ShowFrameRects(const QImage& frame, const std::vector<QRect>& changed) {
  if (frame_.size() != frame.size() || frame_.format() != frame.format()) {
    ShowFrame(frame);
    return;
  }
  std::vector<QRect> cuts;
  cuts.reserve(changed.size());
  for (const QRect& r : changed) {
    const QRect cut = r & frame.rect();
    if (cut.isEmpty()) continue;
    CopyFrameRect(frame, frame_, cut);
    cuts.push_back(cut);
  }
  const std::vector<QRect> rects = UpdateRects(cuts);
  if (fullScreen_) {
    QRegion shown;
    for (const QRect& r : rects) shown += ShownRect(r);
    repaint(shown);
    return;
  }
  QRegion sent;
  for (const QRect& r : rects) sent += r;
  repaint(sent);
}

void SurfaceWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (frame_.isNull()) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  if (fullScreen_) {
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(FrameRect(), frame_);
    return;
  }
  // Rectangle by rectangle, each clipped to itself: a plain copy of rows, where a clip of many
  // rectangles would have the picture blended span by span (on Qt's worker threads).
  for (const QRect& r : event->region()) {
    painter.setClipRect(r);
    painter.drawImage(r.topLeft(), frame_, r);
    for (const QRect& beyond : QRegion(r) - QRegion(frame_.rect()))
      painter.fillRect(beyond, Qt::black);
  }
}

void SurfaceWidget::SetFullScreen(bool fullScreen) {
  fullScreen_ = fullScreen;
  Switch().Request(fullScreen);
  update();
}

// The window keeps its decorations: in full screen the window manager leaves them out.
void SurfaceWidget::SetSizeableBorder(bool) {
  QWidget* top = window();
  top->setMinimumSize(0, 0);
  top->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void SurfaceWidget::HideSystemCursor() {
  setCursor(Qt::BlankCursor);
  BlankCursorKeeper::Install(this);
}

void SurfaceWidget::SetSurfaceSize(int width, int height) {
  resize(width, height);
}

QByteArray SurfaceWidget::WindowPlacement() const {
  QByteArray placement;
  QDataStream stream(&placement, QIODevice::WriteOnly);
  stream << Switch().WindowedGeometry();
  return placement;
}

void SurfaceWidget::SetWindowPlacement(const QByteArray& placement) {
  QRect clientArea;
  QDataStream stream(placement);
  stream >> clientArea;
  if (clientArea.isValid()) Switch().RestoreGeometry(clientArea);
}

FullScreenSwitch& SurfaceWidget::Switch() const {
  if (!switch_ || switch_->parent() != window())
    switch_ = new FullScreenSwitch(window());  // owned by the window it acts on
  return *switch_;
}

QRect SurfaceWidget::FrameRect() const {
  if (!fullScreen_ || frame_.isNull()) return {QPoint(0, 0), frame_.size()};
  // As large as the screen allows, in the frame's own proportions, centred.
  const double scale =
      std::min(double(width()) / frame_.width(), double(height()) / frame_.height());
  const QSize size(int(frame_.width() * scale), int(frame_.height() * scale));
  return {QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size};
}

QRect SurfaceWidget::ShownRect(const QRect& r) const {
  const QRect shown = FrameRect();
  if (shown.size() == frame_.size()) return r.translated(shown.topLeft());
  const double sx = double(shown.width()) / frame_.width();
  const double sy = double(shown.height()) / frame_.height();
  // A pixel more on every side: which widget pixels sample an edge row or column depends on the
  // painter's rounding.
  const QPoint topLeft(int(std::floor(r.left() * sx)) - 1, int(std::floor(r.top() * sy)) - 1);
  const QPoint end(int(std::ceil((r.right() + 1) * sx)) + 1,
                   int(std::ceil((r.bottom() + 1) * sy)) + 1);
  return QRect(topLeft, end - QPoint(1, 1)).translated(shown.topLeft()) & shown;
}

QPoint SurfaceWidget::ToBoard(const QPointF& position) const {
  const QRect shown = FrameRect();
  if (shown.isEmpty() || shown.size() == frame_.size())
    return {int(std::floor(position.x() - shown.left())),
            int(std::floor(position.y() - shown.top()))};
  const double sx = double(frame_.width()) / shown.width();
  const double sy = double(frame_.height()) / shown.height();
  return {int(std::floor((position.x() - shown.left()) * sx)),
          int(std::floor((position.y() - shown.top()) * sy))};
}

}  // namespace slatewick
