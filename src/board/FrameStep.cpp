// The frame step: pending input, dust motion, tapping, and the frame.
#include <algorithm>
#include <cmath>

#include "board/Board.h"
#include "board/DustMotion.h"
#include "platform/Canvas.h"
#include "platform/KeyState.h"
#include "platform/Random.h"
#include "platform/Sound.h"

namespace slatewick {

namespace {

// Marks the steps of a frame as running from the end of the message step to the end.
class FrameGuard {
 public:
  explicit FrameGuard(int& depth) : depth_(depth) { ++depth_; }
  ~FrameGuard() { --depth_; }
  FrameGuard(const FrameGuard&) = delete;
  FrameGuard& operator=(const FrameGuard&) = delete;

 private:
  int& depth_;
};

}  // namespace

TColor ShadeColor(TColor Color, std::int16_t dR, std::int16_t dG, std::int16_t dB) {
  const int r = std::max(GetRValue(Color) - dR, 0);
  int g = std::max(GetGValue(Color) - dG, 0);
  const int b = std::max(GetBValue(Color) - dB, 0);
  if ((Color == RGB(255, 252, 30) || Color == RGB(233, 135, 193)) && g < 80) g = 80;
  return RGB(r, g, b);
}

int Nearest(double x) {
  return int(std::nearbyint(x));
}

void Board::PlayTapSound() {
  sndPlaySoundA(nullptr, SND_MEMORY);
  sndPlaySoundA(st.SoundList.Count() > 0 ? st.SoundList.Memory(0) : nullptr,
                SND_MEMORY | SND_ASYNC);
}

bool Board::Still() const {
  const KeyState& keys = CurrentKeys();
  return st.BoardReady && !(keys.Left && keys.Right) && !st.Opt.ShowDebug &&
         FrameOnScreen(CurrentFrameInputs());
}

void Board::Tick(int /*LagCount*/) {
  // A tick that arrives while another frame step draws (from a handler's modal loop opened
  // past the message step) is dropped; ticks during the message step run nested.
  if (frameDepth_ > 0) return;
  if (processMessages) processMessages();
  if (!st.BoardReady) return;
  FrameGuard guard(frameDepth_);

  MoveDust(st.DustList, ClientHeight() - TrayHeight);

  const KeyState& keys = CurrentKeys();
  if (keys.Left && keys.Right && st.StrokeCount == 0 && st.SelectedChalk >= 0) {
    PlayTapSound();
    const int d = Random(15);
    const TColor shade = ShadeColor(st.ChalkColors[std::size_t(st.SelectedChalk)], std::int16_t(d),
                                    std::int16_t(d), std::int16_t(d));
    const qint64 before = st.BoardBitmap.cacheKey();
    Canvas c(st.BoardBitmap);
    c.pen = {shade, PenStyle::Solid, 1};
    c.brush.Color = shade;
    const int h = st.ChalkSize / 2;
    c.Rectangle(st.ChalkX - h, st.ChalkY - h, st.ChalkX + h, st.ChalkY + h);
    for (int i = 0; i < st.ChalkSize + 1; ++i) {
      const int y = st.ChalkY + Random(10) - 5;
      const int x = st.ChalkX + Random(10) - 5;
      c.SetPixel(x, y, st.BoardColor);
    }
    NoteBoardChange(before, c.Touched());
    if (Random(100) < 5) AddDust(Random(2) + 4, st.ChalkX, st.ChalkY);
    ++st.StrokeCount;
  } else if (keys.Left && keys.Right) {
    st.ToolMode = TapState;
    ++st.StrokeCount;
    if (CurrentKeys().Ctrl) {
      if (st.StrokeCount >= Random(4) + 2) st.StrokeCount = 0;
    } else {
      if (st.StrokeCount >= Random(4) + 6) st.StrokeCount = 0;
    }
  }

  if (DXDraw.SurfaceReady()) Compose();
}

}  // namespace slatewick
