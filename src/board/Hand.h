#pragma once
#include <array>
#include <cstdint>

#include "platform/Colour.h"
#include "platform/Rect.h"

namespace slatewick {

// The board's colour and its six chalks (white, yellow, pink, light blue, brown, green).
constexpr Colour BoardColour = Rgb(0, 80, 0);
constexpr std::array<Colour, 6> ChalkColours = {Rgb(255, 255, 255), Rgb(255, 252, 30),
                                                Rgb(233, 135, 193), Rgb(130, 200, 230),
                                                Rgb(180, 140, 75),  Rgb(85, 150, 85)};
constexpr int ChalkSize = 6;         // pixels: the flat of the tip
constexpr int ChalkHalfLength = 26;  // pixels from the laid chalk's centre to its ends
constexpr int EraserSelected = -1;   // the tool in the hand when it is the eraser

// Ways of using the chalk in the hand: the flat of its tip, its corner (a thin line), laid on
// its side, and tapping (entered by the frame step while both buttons are held).
enum class ChalkWay : std::uint8_t { Normal = 0, Corner = 1, Laid = 2, Tapping = 3 };

// The laid chalk's two ends as last drawn, stored as if its angle were positive.
struct LaidChalkEnds {
  int ax = 0, ay = 0, bx = 0, by = 0;
  bool operator==(const LaidChalkEnds&) const = default;
};

// What the hand holds and does: the state the input sets, the chalk tools and the frame step
// change, and a frame shows.
struct Hand {
  int tool = 0;                     // 0..5 a chalk (index of ChalkColours), EraserSelected
  ChalkWay way = ChalkWay::Normal;  // how the chalk in the hand is used
  bool toolDown = false;            // the left button put the tool on the board; the stroke goes on
  bool fingerDown = false;          // the right button drags a finger over the board
  int pointerX = 0, pointerY = 0;   // the pointer as of the last move: where the tool is drawn
  int chalkX = 0, chalkY = 0;       // the chalk's point: strokes continue and taps mark here
  int chalkAngle = 0;               // degrees, a multiple of 5 in -90..90, positive clockwise
  LaidChalkEnds ends;               // the laid chalk's ends as last drawn
  int strokeMoves = 0;              // moves of the stroke; the frame step's tap counter
  std::uint8_t movesSinceDust = 0;  // moves since dust last fell (wraps at 256)
  bool operator==(const Hand&) const = default;
};

// The offsets from the laid chalk's centre to an end, for a chalk of half length `radius` at
// `angle` degrees (the same table of 256 steps a turn as the sprite's).
int CosOffset(int radius, int angle);
int SinOffset(int radius, int angle);
// The whole number nearest to x; of two equally near, the even one.
int Nearest(double x);
// The chalk colour darkened channel by channel; yellow and pink keep green at 80 or more.
Colour ShadeColor(Colour color, int dR, int dG, int dB);

}  // namespace slatewick
