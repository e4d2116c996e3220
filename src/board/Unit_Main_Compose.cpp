#include <cmath>

#include "board/Unit_Main.h"
#include "platform/KeyState.h"

namespace slatewick {

namespace {
const QString kFrameRate = QStringLiteral("FPS: ");
}

TfrmMain::FrameInputs TfrmMain::CurrentFrameInputs() const {
  const KeyState& keys = CurrentKeys();
  return {st.BoardBitmap.cacheKey(),
          ClientWidth(),
          ClientHeight(),
          st.PenX,
          st.PenY,
          st.ChalkX,
          st.ChalkY,
          st.StrokeCount,
          Timer.FramesPerSecond(),
          st.SelectedChalk,
          st.ToolMode,
          st.ChalkAngle,
          st.DustMoveCount,
          keys.Shift,
          keys.Left,
          keys.Right,
          st.PenDown,
          st.FingerDown,
          st.Opt.ShowDebug};
}

void TfrmMain::DrawDust(QImage& frame) const {
  std::array<QRgb, 6> colours;
  for (std::size_t i = 0; i < colours.size(); ++i) colours[i] = ToQRgb(st.ChalkColors[i]);
  const auto width = unsigned(frame.width()), height = unsigned(frame.height());
  const auto stride = std::size_t(frame.bytesPerLine()) / sizeof(QRgb);
  auto* pixels = reinterpret_cast<QRgb*>(frame.bits());
  for (const TKona& k : st.DustList.Items())
    if (unsigned(k.X) < width && unsigned(k.Y) < height)
      pixels[std::size_t(k.Y) * stride + unsigned(k.X)] = colours[std::size_t(k.ChalkIndex) % 6];
}

void TfrmMain::AllRewrite() {
  if (!DXDraw.SurfaceReady()) return;
  // With no dust in flight, a frame of the same inputs as the one on screen is already there.
  const FrameInputs inputs = CurrentFrameInputs();
  if (st.DustList.Count() == 0 && shownFrame_ == inputs && !DXDraw.FrontBuffer().isNull()) return;
  shownFrame_.reset();
  const int W = ClientWidth();
  const int H = ClientHeight();
  DXDraw.FollowClientSize(W, H);
  const int B = st.BoardBitmap.height();
  const KeyState& keys = CurrentKeys();
  const bool bothButtons = keys.Left && keys.Right;

  QImage& frame = DXDraw.BackBuffer();
  Canvas& c = DXDraw.SurfaceCanvas();
  c.CopyRect(0, 0, st.BoardBitmap.width(), B, st.BoardBitmap, 0, 0);
  c.StretchDraw({0, B, W, B + TrayHeight}, st.TrayBitmap, {0, 0, 1, TrayHeight});
  DrawDust(frame);

  if (!keys.Shift) {
    const TrayGeometry tray{W, H, B};
    for (int j = 0; j < 6; ++j)
      if (j != st.SelectedChalk) MaskedBlit(frame, tray.ChalkSlot(j), st.ChalkBitmap, 52 * j, 0);
    if (st.SelectedChalk != EraserSelected)
      MaskedBlit(frame, tray.EraserDrawn(), st.EraserBitmap, 0, 0);
    MaskedBlit(frame, tray.MenuButtonDrawn(), st.GlyphBitmap, 448, 64);
  }

  if (st.PenY >= H - TrayHeight) {
    MaskedBlit(frame, st.PenX - 3, st.PenY, 24, 74, st.HandBitmap, 0, 0);
  } else if (st.SelectedChalk >= 0 && (bothButtons || (!st.FingerDown && st.ToolMode != LaidWay))) {
    MaskedBlit(frame, st.PenX - 3, st.PenY - 3, 40, 40, st.HeldChalkBitmap, 40 * st.SelectedChalk,
               0);
  } else if (st.FingerDown && !bothButtons && st.ToolMode != TapState) {
    MaskedBlit(frame, st.PenX - 10, st.PenY - 5, 24, 74, st.HandBitmap, 0, 0);
  } else if (st.SelectedChalk == EraserSelected) {
    MaskedBlit(frame, st.PenX - 64, st.PenY - 32, 128, 72, st.EraserBitmap, 0, 0);
  }

  if (st.Opt.ShowDebug) {
    c.font = {QStringLiteral("Arial"), 30, RGB(255, 255, 255)};
    const auto n = [](long long v) { return QString::number(v); };
    c.TextOut(30, 30, kFrameRate + n(Timer.FramesPerSecond()));
    c.TextOut(30, 70,
              QStringLiteral("X:") + n(st.ChalkX) + QStringLiteral("\u3000Y:") + n(st.ChalkY));
    c.TextOut(30, 110, QStringLiteral("Angle:") + n(st.ChalkAngle));
    c.TextOut(30, 150, QStringLiteral("KonaCnt:") + n(st.DustMoveCount));
    c.TextOut(30, 190, QStringLiteral("MouseCnt:") + n(st.StrokeCount));
    c.TextOut(30, 230, QStringLiteral("Kona:") + n(st.DustList.Count()));
    c.TextOut(30, 270, QStringLiteral("L:   R: "));
    if (st.PenDown) c.TextOut(30, 270, QStringLiteral("  *"));
    if (st.FingerDown) c.TextOut(30, 270, QStringLiteral("        *"));
  }
  DXDraw.ReleaseSurfaceCanvas();

  if (st.ToolMode == LaidWay && st.PenY < H - TrayHeight && !bothButtons) {
    const int angle = int(std::lround(st.ChalkAngle / 360.0 * 256.0)) & 0xFF;
    DrawSpriteRotated(frame, DXIL, LaidChalkSpriteName, st.PenX, st.PenY, 52, 11, st.SelectedChalk,
                      0.5, 0.5, angle);
  }
  DXDraw.PresentFrame();
  if (st.DustList.Count() == 0) shownFrame_ = inputs;
}

}  // namespace slatewick
