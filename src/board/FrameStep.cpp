// The frame step: pending input, dust motion, tapping, and the frame.
#include "board/Board.h"
#include "board/Tray.h"
#include "platform/Canvas.h"

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

void Board::PlayTapSound() {
  env_.sound.Play(tapSound_);
}

bool Board::Still() const {
  const KeyState& keys = env_.keys;
  return ready_ && !replay_ && !(keys.Left && keys.Right) && !settings_.ShowDebug &&
         FrameOnScreen(CurrentFrameInputs());
}

void Board::Tick() {
  // A tick that arrives while another frame step draws (from a handler's modal loop opened
  // past the message step) is dropped; ticks during the message step run nested.
  if (frameDepth_ > 0) return;
  if (messagePump_) messagePump_();
  if (!ready_) return;
  FrameGuard guard(frameDepth_);
  if (replay_) return ReplayStep();
  Record({StoryStep::Tick});

  dust_.Move(ClientSize().height() - TrayHeight, env_.random);

  const KeyState& keys = env_.keys;
  Hand& h = hand_;
  if (keys.Left && keys.Right && h.strokeMoves == 0 && h.tool >= 0) {
    Tap();
  } else if (keys.Left && keys.Right) {
    h.way = ChalkWay::Tapping;
    ++h.strokeMoves;
    if (env_.keys.Ctrl) {
      if (h.strokeMoves >= env_.random(4) + 2) h.strokeMoves = 0;
    } else {
      if (h.strokeMoves >= env_.random(4) + 6) h.strokeMoves = 0;
    }
  }

  if (surface_.SurfaceReady()) Compose();
}

// The chalk taps the board at its point: the sound, a rough 6 x 6 mark and now and then dust.
void Board::Tap() {
  Hand& h = hand_;
  Random& random = env_.random;
  PlayTapSound();
  const int d = random(15);
  const Colour shade = ShadeColor(ChalkColours[std::size_t(h.tool)], d, d, d);
  const qint64 before = picture_.cacheKey();
  Canvas c(picture_);
  c.pen = {shade, PenStyle::Solid, 1};
  c.brush.Color = shade;
  const int half = ChalkSize / 2;
  c.Rectangle(h.chalkX - half, h.chalkY - half, h.chalkX + half, h.chalkY + half);
  for (int i = 0; i < ChalkSize + 1; ++i) {
    const int y = h.chalkY + random(10) - 5;
    const int x = h.chalkX + random(10) - 5;
    c.SetPixel(x, y, BoardColour);
  }
  NoteBoardChange(before, c.Touched());
  if (random(100) < 5) dust_.Drop(random(2) + 4, h.chalkX, h.chalkY, h.tool);
  ++h.strokeMoves;
}

}  // namespace slatewick
