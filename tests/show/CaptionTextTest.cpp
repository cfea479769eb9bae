#include "show/CaptionText.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "graphics/Color.h"

namespace pixvane {
namespace {

int CountPixels(const TBitmap& slide, TColor color) {
  int count = 0;
  for (int y = 0; y < slide.Height(); ++y)
    for (int x = 0; x < slide.Width(); ++x) count += slide.Pixel(x, y) == color;
  return count;
}

TEST(CaptionText, DrawsInsideTheBoxItMeasures) {
  TFont font;
  font.Name = "Arial";
  font.Height = -28;
  font.Color = 0x00D6F4FF;  // #FFF4D6 as a stored colour: red in the low byte
  TCaptionText caption;
  int32_t cx = 0, cy = 0, shortCx = 0;
  caption.MeasureText({"Greetings"}, font, cx, cy);
  caption.MeasureText({"Gree"}, font, shortCx, cy);
  EXPECT_GT(cx, shortCx);
  EXPECT_GE(cy, 28) << "ascent and descent span at least the em";
  EXPECT_LE(cy, 36);
  TBitmap slide(200, 60);
  caption.DrawText(slide, slide.Bounds(), 20, 10, "Greetings", font);
  int inside = 0, outside = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x) {
      bool in = x >= 20 && x < 20 + cx && y >= 10 && y < 10 + cy;
      if (slide.Pixel(x, y) == 0x00D6F4FFu) ++inside;
      if (!in && slide.Pixel(x, y) != 0) ++outside;
    }
  EXPECT_GT(inside, 50) << "solid strokes in the font's colour";
  EXPECT_EQ(outside, 0);
}

TEST(CaptionText, KeptMeasurementsFollowTheTextsReadingAndTheFont) {
  // One painter asked in turn must answer as a fresh one does: the same
  // bytes read as UTF-8 are another text, and another font another size.
  TFont arial;
  arial.Name = "Arial";
  arial.Height = -24;
  TFont larger = arial;
  larger.Height = -36;
  const TStoredText asBytes{"\xC3\xA9t\xC3\xA9"}, asUtf8{"\xC3\xA9t\xC3\xA9", true};
  auto fresh = [](const TStoredText& text, const TFont& font) {
    TCaptionText painter;
    int32_t cx = 0, cy = 0;
    painter.MeasureText(text, font, cx, cy);
    return std::pair{cx, painter.TextCoverage(text, font).Alpha};
  };
  TCaptionText kept;
  for (int round = 0; round < 2; ++round)
    for (const TFont* font : {&arial, &larger, &arial})
      for (const TStoredText* text : {&asBytes, &asUtf8}) {
        int32_t cx = 0, cy = 0;
        kept.MeasureText(*text, *font, cx, cy);
        const auto [freshCx, freshAlpha] = fresh(*text, *font);
        EXPECT_EQ(cx, freshCx) << font->Name << " utf8 " << text->Utf8;
        EXPECT_EQ(kept.TextCoverage(*text, *font).Alpha, freshAlpha);
      }
  EXPECT_NE(fresh(asBytes, arial).first, fresh(asUtf8, arial).first);
  EXPECT_NE(fresh(asBytes, arial).first, fresh(asBytes, larger).first);
}

TEST(CaptionText, APositiveHeightIsTheCellAsThePlayerReadsIt) {
  // A stored height that is positive survives the trip through points
  // (20 at 96 dpi is 15 points, asked for as 20 again) and is the whole
  // cell, ascent plus descent; a negative one is the em alone.
  TFont font;
  font.Name = "Courier New";
  font.Height = 20;
  TCaptionText caption;
  int32_t cx = 0, cellCy = 0, emCy = 0;
  caption.MeasureText({"Courier"}, font, cx, cellCy);
  font.Height = -20;
  caption.MeasureText({"Courier"}, font, cx, emCy);
  EXPECT_EQ(cellCy, 20);
  EXPECT_GT(emCy, cellCy);
}

TEST(CaptionText, Windows1252PunctuationIsDrawnAsItsOwnCharacters) {
  // Curly quotes (93, 94) sit high in the line; drawn as code points 93 and
  // 94 they would be the missing-glyph box, standing on the baseline.
  TFont font;
  font.Name = "Arial";
  font.Height = -40;
  TCaptionText caption;
  const TCoverage quotes = caption.TextCoverage({"\x93\x94"}, font);
  ASSERT_GT(quotes.Width, 0);
  int high = 0, low = 0;
  for (int32_t y = 0; y < quotes.Height; ++y)
    for (int32_t x = 0; x < quotes.Width; ++x)
      (y < quotes.Height / 2 ? high : low) += quotes.Alpha[y * quotes.Width + x] > 0;
  EXPECT_GT(high, 20);
  EXPECT_EQ(low, 0);
  // The euro sign (80) has ink of its own.
  const TCoverage euro = caption.TextCoverage({"\x80"}, font);
  EXPECT_GT(std::count_if(euro.Alpha.begin(), euro.Alpha.end(), [](uint8_t a) { return a > 0; }),
            40);
}

TEST(CaptionText, Utf8TextIsDrawnAsUnicode) {
  TFont font;
  font.Name = "Arial";
  font.Height = -40;
  TCaptionText caption;
  // The same characters as 8-bit and as UTF-8 text: the same ink.
  const TCoverage ansi = caption.TextCoverage({"Gr\xFC\xDF"
                                               "e \x80"},
                                              font);
  const TCoverage wide = caption.TextCoverage({"Gr\xC3\xBC\xC3\x9F"
                                               "e \xE2\x82\xAC",
                                               true},
                                              font);
  EXPECT_EQ(wide.Width, ansi.Width);
  EXPECT_EQ(wide.Alpha, ansi.Alpha);
#ifndef _WIN32
  // Liberation has no kanji: the fallback face draws them, about an em each,
  // on the font's own line.
  int32_t cx = 0, cy = 0, lineCy = 0;
  caption.MeasureText({"\xE6\x9D\xB1\xE4\xBA\xAC", true}, font, cx, cy);
  caption.MeasureText({"Tokyo"}, font, cx, lineCy);
  const TCoverage kanji = caption.TextCoverage({"\xE6\x9D\xB1\xE4\xBA\xAC", true}, font);
  EXPECT_EQ(cy, lineCy);
  EXPECT_NEAR(kanji.Width, 80, 4);
  EXPECT_GT(
      std::count_if(kanji.Alpha.begin(), kanji.Alpha.end(), [](uint8_t a) { return a > 128; }),
      300);
#endif
}

TEST(CaptionText, ASystemColourIsTheScreensOwn) {
  TFont font;
  font.Name = "Arial";
  font.Height = -28;
  font.Color = static_cast<int32_t>(0x8000000D);  // clHighlight
#ifndef _WIN32
  // No colour scheme natively: Windows' default, not black.
  EXPECT_EQ(SystemColor(13), RGBColor(0, 120, 215));
#endif
  TBitmap slide(200, 60);
  TCaptionText().DrawText(slide, slide.Bounds(), 20, 10, "Greetings", font);
  EXPECT_GT(CountPixels(slide, SystemColor(13)), 50);
}

}  // namespace
}  // namespace pixvane
