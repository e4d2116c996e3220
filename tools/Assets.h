#pragma once
#include <QByteArray>
#include <QImage>

#include "ArtKit.h"

// The pictures and the sound that lie beside the program. Pure black is transparent in
// every picture except the tray, whose first column is stretched across the window.

// The tray's colour at row y (0..47) of its cross-section.
Rgb TrayRow(int y);

QImage MakeTray();          // "Ukezara.bmp", 64 x 48, every column the same
QImage MakeChalkPieces();   // "Chalk.bmp", 312 x 11, piece j at x = 52 j
QImage MakeEraser();        // "Erase.bmp", 128 x 72
QImage MakeHeldChalks();    // "MotiChalk.bmp", 240 x 40, the tip at (3, 3) of each picture
QImage MakeHand();          // "Hand.bmp", 24 x 74, fingertip at the top left
QImage MakeGlyphSheet();    // "Moji.bmp", 512 x 128: digits, month, day, weekdays, menu button
QByteArray MakeTapSound();  // "start0.wav", a RIFF WAVE image, 16-bit mono PCM

// The sizes of the program's icon, in pixels; the icon at each is drawn for that size.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};
QImage MakeIcon(int size);  // size x size, ARGB, transparent around the board and tray
