#pragma once
#include <QImage>

#include "platform/Colour.h"
#include "platform/Random.h"
#include "platform/Rect.h"

namespace slatewick {

// The settings dialog's picture of the three ways of using the chalk.
constexpr int ChalkSamplesWidth = 267;  // pixels
constexpr int ChalkSamplesHeight = 73;  // pixels
constexpr Colour ChalkSamplesGround = Rgb(3, 83, 3);

// Draws, left to right, a normal-way stroke (x 26..51), a corner-way line (x 124..147) and a
// laid-chalk band (x 232..246) in white chalk on the ground colour, with the board's own chalk
// tools, drawing from `random`.
QImage DrawChalkSamples(Random& random);

}  // namespace slatewick
