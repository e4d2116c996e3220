#pragma once
#include <QImage>
#include <QSize>
#include <vector>

#include "board/Dust.h"
#include "board/FrameTiles.h"
#include "board/Hand.h"
#include "platform/Colour.h"
#include "platform/KeyState.h"
#include "platform/Rect.h"
#include "platform/Sprite.h"

namespace slatewick {

// The six pictures that start-up loads: the tray's cross-section (its first column is the tray
// band), six 52 x 11 chalk pieces, the 128 x 72 eraser, the date glyphs with the menu button at
// (448, 64), six 40 x 40 chalks in the hand, and the 24 x 74 hand.
struct BoardPictures {
  QImage tray, chalks, eraser, glyphs, heldChalks, hand;
};

// Everything one frame shows. A frame is composed from this alone, so that equal scenes give
// equal pixels.
struct FrameScene {
  QSize client;  // the window's client area, W x H (800 x 480 as designed)
  const QImage& board;
  const BoardPictures& pictures;
  const Hand& hand;
  const DustList& dust;
  KeyState keys;  // Shift hides the tray's pieces; both buttons show the chalk in the hand
  bool showDebug = false;
  int framesPerSecond = 0;
};

// Composes the frame inside the rectangles, layer by layer: the board, the tray band, the dust,
// the pieces in the tray (not while Shift is held), the picture under the pointer, the debug
// overlay and the laid chalk. The moving parts (the last three) are drawn whole, wherever the
// rectangles lie: MarkMovingParts marks their tiles.
void ComposeFrame(QImage& frame, const FrameScene& scene, const std::vector<Rect>& rects);
// Marks the tiles of the parts that move: the picture under the pointer, the laid chalk, the
// dust and the overlay.
void MarkMovingParts(const FrameScene& scene, FrameTiles& tiles);
// The whole frame of the scene (at least 1 x 1).
QImage WholeFrame(const FrameScene& scene);
// The top of the tray and of the pieces lying in it (the eraser and the menu button reach a
// little above the tray), for a board picture boardHeight pixels high.
int TrayPiecesTop(QSize client, int boardHeight);

}  // namespace slatewick
