#pragma once
#include <string>

#include "graphics/Text.h"

namespace pixvane {

// Natively only: the Liberation font (fonts-liberation) that stands in for a
// Windows face with the same letter widths: Serif for Times New Roman, Mono
// for Courier New, Sans for every other face; bold and italic as the style
// asks.
std::string LiberationFontFile(const TTextFont& font);

}  // namespace pixvane
