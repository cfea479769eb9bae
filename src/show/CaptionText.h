#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "graphics/Bitmap.h"
#include "graphics/Color.h"
#include "graphics/Text.h"
#include "package/Font.h"
#include "show/SlideComposer.h"

namespace pixvane {

// The caption as every host draws it: the text renderer's coverage of the
// package's whole font (face, size, style, character set), blended in the
// font's colour with no background box. The stored height goes to points
// and back at the screen's resolution, as a copied font size does; system
// colours are taken as the screen shows them.
//
// Threads: one thread at a time (the show's). Its caches have no lock: a
// show uses its painter on its own thread only, and other users (the
// tool's frames of Flash movies) make one of their own.
class TCaptionText final : public TCaptionPainter {
 public:
  explicit TCaptionText(int32_t pixelsPerInch = 96)
      : FPixelsPerInch(pixelsPerInch > 0 ? pixelsPerInch : 96) {}

  void MeasureText(const TStoredText& text, const TFont& font, int32_t& cx, int32_t& cy) override;
  // Inline: the hosts' files see windows.h, which renames DrawText to
  // DrawTextA; a body in every file serves both names.
  void DrawText(TBitmap& slide, const TRect& clip, int32_t x, int32_t y, const TStoredText& text,
                const TFont& font) override {
    DrawCoverage(slide, clip, x, y, TextCoverage(text, font), ScreenColorToRgb(font.Color));
  }
  TCoverage TextCoverage(const TStoredText& text, const TFont& font) override;

 private:
  // The font as the renderer is asked for it on this screen.
  TTextFont ScreenFont(const TFont& font) const;
  // The caches for screen, emptied when the font changes or they grow.
  void UseFont(const TTextFont& screen);

  int32_t FPixelsPerInch;
  // A moving slide redraws its caption every frame: the lines' extents
  // (and the wrapping's trial measurements) and coverages are kept, keyed
  // by the text's bytes, for the font they were made in.
  TTextFont FCachedFont;
  std::map<std::string, TPoint> FExtents;
  std::map<std::string, TCoverage> FCoverages;
};

}  // namespace pixvane
