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
  if (!SurfaceReady()) return;
  const auto bytes = std::size_t(back_.sizeInBytes());
  if (front_.size() == back_.size() &&
      std::memcmp(front_.constBits(), back_.constBits(), bytes) == 0)
    return;
  if (front_.size() != back_.size()) front_ = QImage(back_.size(), back_.format());
  std::memcpy(front_.bits(), back_.constBits(), bytes);
  if (host_) host_->ShowFrame(front_);
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
