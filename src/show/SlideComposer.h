#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/CodePage.h"
#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"
#include "package/Font.h"
#include "package/Picture.h"
#include "package/SSFileLocations.h"
#include "show/CaptionShadow.h"

namespace pixvane {

// One monitor of the saver window: its rectangle in the window's
// coordinates and its resolution, which scales the caption's margin.
struct TMonitor {
  TRect Bounds;
  int32_t PixelsPerInch = 96;
  friend bool operator==(const TMonitor&, const TMonitor&) = default;
};

// Text in the package's caption font, as the platform draws it: 8-bit text
// in the code page, UTF-8 text as Unicode. A painter is used on one thread
// only (a show's, see TShowPlatform::CaptionPainter) and need not lock.
class TCaptionPainter {
 public:
  virtual ~TCaptionPainter() = default;
  // The text as one line in the whole font: its width cx and height cy.
  virtual void MeasureText(const TStoredText& text, const TFont& font, int32_t& cx,
                           int32_t& cy) = 0;
  // Draws the text with its top-left corner at (x, y), with no background
  // box, touching only the pixels inside clip.
  virtual void DrawText(TBitmap& slide, const TRect& clip, int32_t x, int32_t y,
                        const TStoredText& text, const TFont& font) = 0;
  // How much of each pixel of the measured box the text covers; its shadow
  // is cast from that.
  virtual TCoverage TextCoverage(const TStoredText& text, const TFont& font) = 0;
};

// Where a picture of width x height lands in area: stretched over it, at its
// own size, fitted inside it or filling it, each centred. The last two keep
// the picture's proportions; None and Fill may hang over area's edges.
TRect PlacePicture(TScaleMode mode, int32_t width, int32_t height, const TRect& area);

// The libjpeg scale (1, 2, 4 or 8) a picture is decoded at before it is
// scaled to width x height: the smallest decode that still leaves the
// filter enough to work with (a 24-megapixel photo on a 1080p screen: 2).
int DecodeScale(const TJPEGImage& graphic, int32_t width, int32_t height);

// Draws the picture smoothly scaled onto each placement, clipped to its area.
// It is decoded once, at the DecodeScale of the largest placement, and
// scaled on as many threads as given.
void DrawScaledPicture(TBitmap& slide, const TJPEGImage& graphic, const std::vector<TRect>& areas,
                       const std::vector<TRect>& placements, int threads = 1);

// The two layers of a slide: the picture on every monitor placed by the
// package's scale mode, and over it the picture's caption centred at each
// monitor's bottom, wrapped within the margin on either side. The picture
// may be drawn on any thread; the captions go through the painter, on its
// thread.
class TSlideComposer {
 public:
  TSlideComposer(const TSSFileLocations& settings, TCaptionPainter& painter)
      : FSettings(settings), FPainter(painter) {}

  // The caption at the bottom of each monitor, over what the slide shows.
  void DrawCaptions(TBitmap& slide, const std::vector<TMonitor>& monitors,
                    const TStoredText& caption);

  // The picture alone, placed by mode in each of areas.
  static void DrawPicture(TBitmap& slide, const TJPEGImage& graphic, TScaleMode mode,
                          const std::vector<TRect>& areas, int threads = 1);

 private:
  void DrawCaption(TBitmap& slide, const TMonitor& monitor, const TStoredText& caption);

  const TSSFileLocations& FSettings;
  TCaptionPainter& FPainter;
};

}  // namespace pixvane
