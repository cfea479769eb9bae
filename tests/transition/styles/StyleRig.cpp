#include "transition/styles/StyleRig.h"

#include "transition/FrameRenderer.h"

namespace pixvane::test {

TColor CodeOf(int x, int y) {
  return RGBColor(static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                  static_cast<uint8_t>(0x80 | ((x >> 8) & 7) | (((y >> 8) & 7) << 3)));
}

TBitmap CodedPicture(int w, int h) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, CodeOf(x, y));
  return b;
}

TBitmap OldPicture(int w, int h) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y,
                 RGBColor(static_cast<uint8_t>(x * 7 + y), static_cast<uint8_t>(y * 5 + 1), 0));
  return b;
}

bool IsPicturePixel(TColor c) {
  return (c >> 16) & 0x80;
}
int SourceX(TColor c) {
  return static_cast<int>(c & 0xFF) | static_cast<int>((c >> 16) & 7) << 8;
}
int SourceY(TColor c) {
  return static_cast<int>((c >> 8) & 0xFF) | static_cast<int>((c >> 19) & 7) << 8;
}

TBitmap Transposed(const TBitmap& b) {
  TBitmap t(b.Height(), b.Width());
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) t.SetPixel(y, x, b.Pixel(x, y));
  return t;
}

TRegion Transposed(const TRegion& r) {
  std::vector<TRect> rects;
  r.ForEachRect([&](const TRect& a) { rects.push_back({a.Top, a.Left, a.Bottom, a.Right}); });
  return TRegion::FromRects(rects);
}

namespace {
template <class Pred>
TRegion MaskWhere(int w, int h, Pred pred) {
  std::vector<TRect> rects;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (pred(x, y)) rects.push_back({x, y, x + 1, y + 1});
  return TRegion::FromRects(rects);
}
}  // namespace

TRegion InPlaceMask(const TBitmap& screen, const TBitmap& picture) {
  return MaskWhere(screen.Width(), screen.Height(),
                   [&](int x, int y) { return screen.Pixel(x, y) == picture.Pixel(x, y); });
}

TRegion ChangedMask(const TBitmap& screen, const TBitmap& old) {
  return MaskWhere(screen.Width(), screen.Height(),
                   [&](int x, int y) { return screen.Pixel(x, y) != old.Pixel(x, y); });
}

TRegion InFrame(const TRegion& r, int W, int H) {
  return r & TRegion(0, 0, W, H);
}

TRegion Rects(std::initializer_list<TRect> rects) {
  return TRegion::FromRects(std::vector<TRect>(rects));
}

TStyleRig::TStyleRig(const TBitmap& old, const TBitmap& picture, int style, int step)
    : FOld(old), FPicture(picture), FScreen(old), FStyle(style), FStep(step) {}

const TBitmap& TStyleRig::Render(int p) {
  const TFrameResult frame = DrawFrame(FScreen, {FOld, FPicture, FStyle, p, FStep, Random});
  FRepainted = TRegion();
  for (const TRect& area : frame.Changed) FRepainted |= TRegion(area);
  FRepainted &= TRegion(FScreen.Bounds());
  return FScreen;
}

std::optional<TRegion> RegionOf(int style, int W, int H, int p, int step, TRandom& random) {
  TBitmap screen(W, H);
  const TBitmap picture(W, H);
  TFrame f(screen, picture, p, step, random);
  StyleTable[style].Step(f);
  return std::move(f.G);
}

std::optional<TRegion> RegionOf(int style, int W, int H, int p, int step) {
  TRandom random;
  return RegionOf(style, W, H, p, step, random);
}

}  // namespace pixvane::test
