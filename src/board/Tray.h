#pragma once
#include "platform/Colour.h"
#include "platform/Rect.h"

namespace slatewick {

constexpr int TrayHeight = 48;  // pixels below the board picture

// Where the parts of the tray lie, in client pixels, for a client area of W x H whose board
// picture is B pixels high (H - TrayHeight at start-up). Start-up, input and composition all
// place the tray's parts by these rectangles.
struct TrayGeometry {
  int W = 0, H = 0, B = 0;

  // Chalk j (0..5) lies in its slot (52 x 11) and is picked up there.
  Rect ChalkSlot(int j) const { return {32 + 84 * j, B + 18, 84 + 84 * j, B + 29}; }
  // The eraser is picked up in the tray...
  Rect EraserHit() const { return {520, B, 640, B + 42}; }
  // ...and drawn (128 x 72) reaching up over the board's lower edge.
  Rect EraserDrawn() const { return {520, B - 30, 648, B + 42}; }
  // The menu button opens the popup menu when pressed in the window's bottom-right corner...
  Rect MenuButtonHit() const { return {W - 74, H - 48, W - 8, H + 8}; }
  // ...and is drawn there (64 x 64) from the glyph picture.
  Rect MenuButtonDrawn() const { return {W - 72, H - 56, W - 8, H + 8}; }
};

}  // namespace slatewick
