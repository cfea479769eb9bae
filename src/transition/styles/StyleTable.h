#pragma once
#include <array>
#include <cstdint>

namespace pixvane {

struct TFrame;

// The built-in transition styles are numbered 1 to StyleCount. Style 0 is
// the custom style, which the view draws through its own handler; a number
// above StyleCount names no style, and its frames draw nothing.
constexpr int StyleCount = 127;

// A style's own part of a frame; see TFrame.
using TStyleStep = void (*)(TFrame& frame);

// How a frame is completed once the style's step has run: a rectangle style
// copies its last D <- R once more, a region style (and the custom one)
// draws the picture through G, a pixel style has drawn everything itself.
enum class TStyleKind : uint8_t { Custom, Rectangle, Region, Pixel };

struct TStyle {
  TStyleKind Kind;
  TStyleStep Step;  // none for the custom style
};

// Every style by its number, 0 to StyleCount.
extern const std::array<TStyle, StyleCount + 1> StyleTable;

}  // namespace pixvane
