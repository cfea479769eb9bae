#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "base/CodePage.h"

namespace pixvane {

// A caption is drawn in at most this many lines.
inline constexpr int MaxCaptionLines = 3;

// The lines a caption is drawn in, top to bottom: the whole text when it
// fits width; otherwise broken at spaces, a word wider than a line broken
// between its characters, and the last of MaxCaptionLines lines ending in
// an ellipsis when text is left over. measure gives a line's width in the
// caption's font. Every line holds at least one character, so a screen too
// narrow for any still shows the caption's start.
std::vector<TStoredText> WrapCaption(const TStoredText& text, int32_t width,
                                     const std::function<int32_t(const TStoredText&)>& measure);

}  // namespace pixvane
