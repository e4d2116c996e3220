#include "platform/DXDraw.h"

#include <algorithm>
#include <cstring>

namespace slatewick {

TDXDraw::TDXDraw(SurfaceHost* host) : host_(host) {}

Canvas& TDXDraw::SurfaceCanvas() {
  if (!canvas_) canvas_.emplace(back_);
  return *canvas_;
}

void TDXDraw::ReleaseSurfaceCanvas() {
  canvas_.reset();
}

void TDXDraw::PresentFrame() {
  PresentRects({{0, 0, back_.width(), back_.height()}});
}

void TDXDraw::PresentRects(const std::vector<TRect>& rects) {
  if (!SurfaceReady()) return;
  if (front_.size() != back_.size()) {
    front_ = back_.copy();
    if (host_) host_->ShowFrame(front_);
    return;
  }
  std::vector<QRect> changed;
  for (const TRect& r : rects) {
    const int left = std::max(r.Left, 0), right = std::min(r.Right, back_.width());
    const int top = std::max(r.Top, 0), bottom = std::min(r.Bottom, back_.height());
    if (left >= right || top >= bottom) continue;
    const auto offset = std::size_t(left) * sizeof(QRgb);
    const auto length = std::size_t(right - left) * sizeof(QRgb);
    bool differs = false;
    for (int y = top; y < bottom; ++y) {
      const uchar* from = back_.constScanLine(y) + offset;
      uchar* to = front_.scanLine(y) + offset;
      if (std::memcmp(to, from, length) == 0) continue;
      std::memcpy(to, from, length);
      differs = true;
    }
    if (differs) changed.emplace_back(left, top, right - left, bottom - top);
  }
  if (host_ && !changed.empty()) host_->ShowFrameRects(front_, changed);
}

void TDXDraw::FollowClientSize(int width, int height) {
  const QSize size(std::max(width, 1), std::max(height, 1));
  if (back_.size() == size) return;
  ReleaseSurfaceCanvas();
  back_ = QImage(size, QImage::Format_RGB32);
  back_.fill(Qt::black);
}

void TDXDraw::StopSurface() {
  ReleaseSurfaceCanvas();
  started_ = false;
}

void TDXDraw::StartSurface() {
  if (back_.isNull()) {
    back_ = QImage(SurfaceWidth, SurfaceHeight, QImage::Format_RGB32);
    back_.fill(Qt::black);
  }
  front_ = QImage();
  if (host_) host_->SetFullScreen(doFullScreen);
  started_ = true;
}

void TDXDraw::SaveWindowPlacement() {
  if (host_) placement_ = host_->WindowPlacement();
}

void TDXDraw::RestoreWindowPlacement() {
  if (!placement_) return;
  if (host_) host_->SetWindowPlacement(*placement_);
  placement_.reset();
}

}  // namespace slatewick
