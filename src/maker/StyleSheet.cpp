#include "maker/StyleSheet.h"

#include <algorithm>
#include <string>

#include "graphics/Copy.h"
#include "maker/ImageFiles.h"
#include "maker/ToolError.h"
#include "maker/TransitionRender.h"
#include "transition/styles/StyleTable.h"

namespace pixvane::maker {
namespace {

constexpr int StylesPerRow = 8;
constexpr int Progresses[] = {25, 50, 75};
constexpr int Gap = 4;

// The digits grow with the cells, at least twice their 3 x 5 pixels so they
// read at a glance on a sheet viewed whole.
int LabelScale(int height) {
  return std::clamp(height / 30, 2, 8);
}
int LabelHeight(int height) {
  return 7 * LabelScale(height);
}

// Digits 0-9 as 3 x 5 pixel glyphs, one bit a pixel, rows top-down.
constexpr uint16_t Glyphs[10] = {0x7B6F, 0x2C97, 0x73E7, 0x72CF, 0x5BC9,
                                 0x79CF, 0x79EF, 0x7249, 0x7BEF, 0x7BCF};

void DrawNumber(TBitmap& sheet, int x, int y, int number, int scale) {
  std::string digits = std::to_string(number);
  for (char c : digits) {
    uint16_t glyph = Glyphs[c - '0'];
    for (int row = 0; row < 5; ++row)
      for (int col = 0; col < 3; ++col)
        if (glyph & (1 << (14 - row * 3 - col))) {
          int left = x + col * scale, top = y + row * scale;
          sheet.FillRect({left, top, left + scale, top + scale}, 0xFFFFFF);
        }
    x += 4 * scale;
  }
}

}  // namespace

TBitmap SamplePicture(int w, int h, bool warm) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (warm) {
        bool stripe = ((x + y) / 8) % 2;
        b.SetPixel(x, y, RGBColor(static_cast<uint8_t>(200 + 55 * x / w), stripe ? 150 : 90, 30));
      } else {
        int dx = x - w / 2, dy = y - h / 2;
        int r2 = dx * dx + dy * dy, ring = (w * w + h * h) / 16;
        bool check = ((x / 10) + (y / 10)) % 2;
        bool onRing = r2 > ring * 7 / 10 && r2 < ring;
        b.SetPixel(x, y,
                   onRing ? RGBColor(250, 250, 250)
                          : RGBColor(20, check ? 60 : 110, static_cast<uint8_t>(160 + 90 * y / h)));
      }
    }
  return b;
}

TBitmap StyleSheet(int width, int height) {
  TBitmap old = SamplePicture(width, height, true), picture = SamplePicture(width, height, false);
  const int group = 3 * width + 2 * Gap / 2 + Gap;
  const int rows = (StyleCount + StylesPerRow - 1) / StylesPerRow;
  const int labelHeight = LabelHeight(height);
  TBitmap sheet(StylesPerRow * group + Gap, rows * (height + labelHeight + Gap) + Gap);
  sheet.Fill(RGBColor(40, 40, 40));
  for (int style = 1; style <= StyleCount; ++style) {
    int x = Gap + ((style - 1) % StylesPerRow) * group;
    int y = Gap + ((style - 1) / StylesPerRow) * (height + labelHeight + Gap);
    DrawNumber(sheet, x, y, style, LabelScale(height));
    for (int p : Progresses) {
      Draw(sheet, x, y + labelHeight, RenderOneFrame(old, picture, style, p, 4, 0));
      x += width + Gap / 2;
    }
  }
  return sheet;
}

void RunStyles(int width, int height, const std::filesystem::path& output) {
  if (width < 8 || height < 8 || width > 1920 || height > 1080)
    throw EToolError("the cell size must be between 8 x 8 and 1920 x 1080");
  WritePng(output, StyleSheet(width, height));
}

}  // namespace pixvane::maker
