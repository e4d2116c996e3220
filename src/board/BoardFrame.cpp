// The board's frames: the scene they show, and how much of each is composed again and presented.
#include "board/Board.h"
#include "board/Tray.h"

namespace slatewick {

FrameScene Board::Scene() const {
  return {ClientSize(), picture_,  pictures_,           hand_,
          dust_,        env_.keys, settings_.ShowDebug, timer_.FramesPerSecond()};
}

Board::FrameInputs Board::CurrentFrameInputs() const {
  const KeyState& keys = env_.keys;
  return {picture_.cacheKey(), ClientSize(), hand_,      timer_.FramesPerSecond(),
          keys.Shift,          keys.Left,    keys.Right, settings_.ShowDebug};
}

Board::FrameLook Board::CurrentLook() const {
  const BoardPictures& p = pictures_;
  return {ClientSize(),
          picture_.width(),
          picture_.height(),
          hand_.tool,
          env_.keys.Shift,
          settings_.ShowDebug,
          {p.tray.cacheKey(), p.chalks.cacheKey(), p.eraser.cacheKey(), p.glyphs.cacheKey(),
           p.heldChalks.cacheKey(), p.hand.cacheKey()}};
}

void Board::NoteBoardChange(qint64 keyBefore, const Rect& r) {
  if (keyBefore != boardKnown_) return;  // an earlier change went untold: the whole board
  boardChanged_.Mark(r);
  boardKnown_ = picture_.cacheKey();
}

QImage Board::WholeFrame() const {
  return slatewick::WholeFrame(Scene());
}

bool Board::FrameOnScreen(const FrameInputs& inputs) const {
  // With no dust in flight, a frame of the same inputs as the one on screen is already there.
  return dust_.Count() == 0 && shownFrame_ == inputs && !surface_.FrontBuffer().isNull();
}

void Board::Compose() {
  if (!surface_.SurfaceReady()) return;
  const FrameInputs inputs = CurrentFrameInputs();
  if (FrameOnScreen(inputs)) return;
  shownFrame_.reset();
  const QSize client = ClientSize();
  surface_.FollowClientSize(client.width(), client.height());
  surface_.ReleaseSurfaceCanvas();
  QImage& frame = surface_.BackBuffer();
  const FrameScene scene = Scene();

  // Composed again: where the moving parts are and were, and where the board changed; all of it
  // when anything else may have changed.
  FrameTiles moving;
  moving.Reset(frame.width(), frame.height());
  MarkMovingParts(scene, moving);
  FrameTiles redo = moving;
  const FrameLook look = CurrentLook();
  const bool whole = shownLook_ != look || surface_.FrontBuffer().size() != frame.size() ||
                     frame.cacheKey() != shownBack_ || picture_.cacheKey() != boardKnown_;
  redo.Add(shownMoving_);
  redo.Add(boardChanged_);
  if (whole || 2 * redo.Count() > redo.Total()) redo.MarkAll();
  // Where no moving part lies, above the tray, the frame is the board's own pixels: those tiles
  // are shown straight from the board.
  FrameTiles boardOnly = redo;
  boardOnly.Remove(moving);
  const int B = picture_.height();
  boardOnly.KeepInside({0, 0, picture_.width(), TrayPiecesTop(client, B)});
  if (surface_.PresentRectsOf(picture_, boardOnly.Rects())) redo.Remove(boardOnly);
  const std::vector<Rect> rects = redo.Rects();
  ComposeFrame(frame, scene, rects);
  surface_.PresentRects(rects);

  shownLook_ = look;
  shownMoving_ = std::move(moving);
  shownBack_ = frame.cacheKey();
  boardKnown_ = picture_.cacheKey();
  boardChanged_.Reset(frame.width(), frame.height());
  if (dust_.Count() == 0) shownFrame_ = inputs;
}

}  // namespace slatewick
