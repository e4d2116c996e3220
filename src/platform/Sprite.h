#pragma once
#include <QImage>

namespace slatewick {

// A picture of equal frames side by side; black is transparent.
struct Sprite {
  QImage picture;  // RGB32
  int frameWidth = 0, frameHeight = 0;
  int FrameCount() const;
};

// The laid chalk as the board shows it: six 52 x 11 frames of chalk sticks seen from the side,
// in the order of the chalks.
const Sprite& LaidChalkSprite();

// Draws frame `frame` of the sprite at its own size onto target, rotated about the frame's
// centre, which lands on the centre of pixel (x, y). angle is in 256ths of a turn (mod 256),
// positive clockwise on screen: a pixel at offset (dx, dy) from the centre lands at
// (x + dx cos a - dy sin a, y + dx sin a + dy cos a). Black is left out. A frame outside
// 0..count-1 draws nothing.
void DrawSpriteRotated(QImage& target, const Sprite& sprite, int x, int y, int frame, int angle);

}  // namespace slatewick
