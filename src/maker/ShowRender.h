#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"

namespace pixvane::maker {

struct TShowFrame {
  TBitmap Image;
  int DurationMs = 0;  // how long it stays on screen
};

struct TShowRenderOptions {
  std::filesystem::path Saver, Output;
  int Width = 1024, Height = 768;
  int Seconds = 20;
  uint32_t Seed = 0;
  // How often a moving picture is painted between transitions, at most the
  // player's 60 a second. Fewer frames follow the same path, which goes by
  // the clock, and the slides change at the same moments; transitions keep
  // their own frames.
  int MotionFps = 60;
  // For a live preview: from the first image on, a moving picture's frame
  // that comes later on the wall clock than its moment in the show is
  // skipped, as the player's pulse skips it when behind, though one is
  // painted at least every 200 ms of the show. A render keeps every frame.
  bool KeepPace = false;
};

// Plays a saver's picture show offscreen with the player's show session and
// transitions, on a clock of its own: every image the screen shows in the
// first Seconds, with how long each stays. The caption is drawn as the
// player places it, with a stand-in font (see TCaptionText); music is not
// played.
// onPlayed hears the show's clock (ms played) once every whole second.
std::vector<TShowFrame> RenderShow(const TShowRenderOptions& options,
                                   const std::function<void(uint32_t)>& onPlayed = {});

// Plays the show the same way, handing each image to onImage as it is
// painted with the show's clock (ms) at that moment; images painted at the
// same moment replace each other on screen. Returns the end (ms) when the
// show played its Seconds. onImage may throw to stop the show early.
using TShowImageSink = std::function<void(const TBitmap& image, uint32_t atMs)>;
uint32_t PlayShow(const TShowRenderOptions& options, const TShowImageSink& onImage);

// Writes the show as OUT/frame-NNN.png or, for OUT ending in ".gif" or
// ".webp", as one animation; returns the number of frames. A long show takes a while, so
// report hears a one-line status as it plays and as it is written.
int RunShowRender(const TShowRenderOptions& options,
                  const std::function<void(const std::string&)>& report = {});

}  // namespace pixvane::maker
