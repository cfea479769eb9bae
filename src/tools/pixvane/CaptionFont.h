#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "graphics/Bitmap.h"
#include "package/Font.h"
#include "show/CaptionShadow.h"

namespace pixvane::tool {

// The player's caption drawn with FreeType instead of GDI: the face's
// metric-compatible Liberation font (Sans for Arial and faces without a
// match, Serif for Times New Roman, Mono for Courier New) at the pixel
// height the player asks GDI for on a 96 dpi screen, bold and italic from
// the font's style, underlined and struck out as GDI draws them, in the
// font's colour. Text bytes are read as Latin-1 whatever the character set.
class TCaptionFont {
 public:
  explicit TCaptionFont(const TFont& font);
  ~TCaptionFont();
  TCaptionFont(const TCaptionFont&) = delete;
  TCaptionFont& operator=(const TCaptionFont&) = delete;

  // The text's box as GDI measures it: the advances' sum by the font's
  // Windows ascent plus descent.
  void Measure(const std::string& text, int32_t& cx, int32_t& cy);
  // How much of each pixel of the measured box the text covers.
  TCoverage Coverage(const std::string& text);
  // Draws the text with its box's top-left at x, y, smoothed into slide,
  // inside clip only.
  void Draw(TBitmap& slide, const TRect& clip, int32_t x, int32_t y, const std::string& text);

  // The font file that stands in for a face name in a style (TFontStyle bits).
  static std::string FileFor(const std::string& face, uint32_t style = 0);

 private:
  struct TFace;
  std::unique_ptr<TFace> FFace;
  uint32_t FColor;  // 0xBBGGRR
  uint32_t FStyle;  // TFontStyle bits
};

}  // namespace pixvane::tool
