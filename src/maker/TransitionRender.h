#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

#include "graphics/Bitmap.h"

namespace pixvane::maker {

// What the screen bitmap holds after one frame of a transition at progress
// p: the old screen is old, the new picture is picture (both of one size),
// and the frame's own generator starts from seed, so random styles are
// repeatable, whatever else renders at the same time.
TBitmap RenderOneFrame(const TBitmap& old, const TBitmap& picture, int style, int progress,
                       int step, uint32_t seed);

struct TRenderSettings {
  int Style = 0;
  int Step = 4;
  bool Reverse = false;
  int Width = 0, Height = 0;  // the view's size; 0 takes the picture's
  uint32_t Seed = 0;
};

// Every image the view shows during one whole transition from old to picture,
// the starting one first: the view is centred and stretching, as the saver
// places it, and runs on its own clock.
std::vector<TBitmap> RenderTransition(const TBitmap& old, const TBitmap& picture,
                                      const TRenderSettings& settings);

struct TFrameOptions {
  int Style = 0, Progress = 0, Step = 4;
  uint32_t Seed = 0;
  std::filesystem::path Old, New, Output;
};
void RunFrame(const TFrameOptions& options);

struct TRenderOptions {
  TRenderSettings Settings;
  std::filesystem::path Old, New, Output;
};
// Writes the frames as OUT/frame-NNN.png, or as one animated GIF or WebP when
// OUT ends in ".gif" or ".webp". Returns the number of frames.
int RunRender(const TRenderOptions& options);

}  // namespace pixvane::maker
