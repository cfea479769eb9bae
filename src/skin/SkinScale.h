#pragma once

#include "skin/SkinSource.h"

namespace pixvane {

// Makes a skin's objects fit a screen at percent scaling (150 for 144 dpi):
// every position, size, margin, text margin, link rectangle and font
// height is multiplied, rounded to the nearest pixel. The bitmaps are left
// as they are: a skin for a scaled screen carries bitmaps drawn at that
// scale (the tool's "skin build --scale").
void ScaleSkinObjects(TSkinSource& source, int percent);

// The scaling of the skin drawn for a screen of dpi dots per inch: 100, 150
// or 200 %, whichever is nearest (a tie takes the larger, whose art is
// sharper when the system shrinks it).
int SkinScaleForDpi(int dpi);

}  // namespace pixvane
