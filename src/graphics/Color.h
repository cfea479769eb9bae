#pragma once
#include <cstdint>

#include "graphics/Bitmap.h"

namespace pixvane {

// Stored colours are 00BBGGRR, or a system colour: 80000000 plus the
// platform's colour index (clWindowText, clBtnFace, ...).

// The colour at a system colour index as a fresh Windows 10 profile has it;
// black for an index Windows does not define.
TColor DefaultSystemColor(uint32_t index);

// The colour at a system colour index as this system shows it now: the
// platform's GetSysColor on Windows, the Windows 10 default elsewhere.
TColor SystemColor(uint32_t index);

// A stored colour as 00BBGGRR with system colours at their defaults, so a
// skin paints the same on every system and in the tool.
TColor ColorToRgb(int32_t color);

// A stored colour as 00BBGGRR with system colours as this system shows
// them, as the player's caption takes its colour.
TColor ScreenColorToRgb(int32_t color);

}  // namespace pixvane
