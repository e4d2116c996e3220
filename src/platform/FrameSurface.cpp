#include "platform/FrameSurface.h"

#include <algorithm>
#include <cstring>

namespace slatewick {

FrameSurface::FrameSurface(SurfaceHost* host) : host_(host) {}

Canvas& FrameSurface::SurfaceCanvas() {
  if (!canvas_) canvas_.emplace(back_);
  return *canvas_;
}

void FrameSurface::ReleaseSurfaceCanvas() {
  canvas_.reset();
}

void FrameSurface::PresentFrame() {
  PresentRects({{0, 0, back_.width(), back_.height()}});
}

namespace {

// The rectangle cut to the picture, as a QRect (empty when nothing is left).
QRect CutTo(const Rect& r, const QImage& picture) {
  const int left = std::max(r.Left, 0), right = std::min(r.Right, picture.width());
  const int top = std::max(r.Top, 0), bottom = std::min(r.Bottom, picture.height());
  return left < right && top < bottom ? QRect(left, top, right - left, bottom - top) : QRect();
}

// Copies the rows of r that differ from `from` into `to`; true when any did.
bool CopyChangedRows(const QImage& from, QImage& to, const QRect& r) {
  const auto offset = std::size_t(r.left()) * sizeof(QRgb);
  const auto length = std::size_t(r.width()) * sizeof(QRgb);
  const auto fromLine = std::size_t(from.bytesPerLine()), toLine = std::size_t(to.bytesPerLine());
  const uchar* source = from.constBits() + std::size_t(r.top()) * fromLine + offset;
  uchar* target = to.bits() + std::size_t(r.top()) * toLine + offset;
  bool differs = false;
  for (int y = 0; y < r.height(); ++y, source += fromLine, target += toLine) {
    if (std::memcmp(target, source, length) == 0) continue;
    std::memcpy(target, source, length);
    differs = true;
  }
  return differs;
}

}  // namespace

void CopyFrameRect(const QImage& from, QImage& to, const QRect& r) {
  const auto offset = std::size_t(r.left()) * sizeof(QRgb);
  const auto length = std::size_t(r.width()) * sizeof(QRgb);
  for (int y = r.top(); y <= r.bottom(); ++y)
    std::memcpy(to.scanLine(y) + offset, from.constScanLine(y) + offset, length);
}

void FrameSurface::PresentRects(const std::vector<Rect>& rects) {
  if (!SurfaceReady()) return;
  if (front_.size() != back_.size()) {
    changed_.clear();
    front_ = back_;  // shared: the copy is made when either is next written, after the show
    if (host_) host_->ShowFrame(front_);
    return;
  }
  for (const Rect& r : rects) {
    const QRect cut = CutTo(r, back_);
    if (!cut.isEmpty() && CopyChangedRows(back_, front_, cut)) changed_.push_back(cut);
  }
  if (host_ && !changed_.empty()) host_->ShowFrameRects(front_, changed_);
  changed_.clear();
}

bool FrameSurface::PresentRectsOf(const QImage& picture, const std::vector<Rect>& rects) {
  if (picture.format() != back_.format()) return false;
  if (!SurfaceReady()) return true;
  // Without a frame on screen of this size, the next one is sent whole from the back buffer.
  const bool wholeNext = front_.size() != back_.size();
  for (const Rect& r : rects) {
    const QRect cut = CutTo(r, back_) & QRect(QPoint(0, 0), picture.size());
    if (cut.isEmpty()) continue;
    if (CopyChangedRows(picture, wholeNext ? back_ : front_, cut) && !wholeNext)
      changed_.push_back(cut);
  }
  return true;
}

void FrameSurface::FollowClientSize(int width, int height) {
  const QSize size(std::max(width, 1), std::max(height, 1));
  if (back_.size() == size) return;
  ReleaseSurfaceCanvas();
  back_ = QImage(size, QImage::Format_RGB32);
  back_.fill(Qt::black);
}

void FrameSurface::StopSurface() {
  ReleaseSurfaceCanvas();
  started_ = false;
}

void FrameSurface::StartSurface() {
  if (back_.isNull()) {
    back_ = QImage(SurfaceWidth, SurfaceHeight, QImage::Format_RGB32);
    back_.fill(Qt::black);
  }
  front_ = QImage();
  if (host_) host_->SetFullScreen(fullScreen);
  started_ = true;
}

void FrameSurface::SaveWindowPlacement() {
  if (host_) placement_ = host_->WindowPlacement();
}

void FrameSurface::RestoreWindowPlacement() {
  if (!placement_) return;
  if (host_) host_->SetWindowPlacement(*placement_);
  placement_.reset();
}

}  // namespace slatewick
