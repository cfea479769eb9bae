// The regions of the region styles, built once by the styles and once by
// the platform's own region calls in the order the style table describes
// them (one accumulator, each piece united and released at once), must cover
// the same pixels: the direct rectangle lists and the one-triangle grid of
// the styles stand or fall by this. Random styles start both builds from
// the same generator state and must also leave it in the same state.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

#include "base/MulDiv.h"
#include "base/win32/Handles.h"
#include "support/win32/GdiRegionRects.h"
#include "transition/styles/StyleRig.h"
#include "transition/win32/PlatformRoundRect.h"

namespace pixvane::test {
namespace {

using TRgn = TGdiRegion;

TRgn Rect(int l, int t, int r, int b) {
  return TRgn(CreateRectRgn(l, t, r, b));
}

TRgn Triangle(TPoint a, TPoint b, TPoint c) {
  const POINT points[] = {{a.X, a.Y}, {b.X, b.Y}, {c.X, c.Y}, {a.X, a.Y}};
  return TRgn(CreatePolygonRgn(points, 4, WINDING));
}

// The accumulator: the first piece becomes it, later ones are combined in.
void Combine(TRgn& into, TRgn piece, int mode = RGN_OR) {
  if (!into)
    into = std::move(piece);
  else
    CombineRgn(into.Get(), into.Get(), piece.Get(), mode);
}

int Jitter(TRandom& random, int a) {
  const int first = random.Random(a);
  return first - random.Random(a);
}

// The builders as the text has them, rows then columns.
TRgn GdiBand(int W, int H, int hr, int vr, int horzMode, int vertMode, int snap) {
  TRgn result;
  if (horzMode != 0) {
    const int y0 = hr > W ? 5 : 0;
    for (int y = y0; y < H + 5; y += 10) {
      TRgn piece;
      if (hr > W) {
        piece = Rect(0, y - 5, W, y);
        if (horzMode == 1 || horzMode == 4) Combine(piece, Rect(2 * W - hr, y, W, y + 5));
        if (horzMode == 2 || horzMode == 5) Combine(piece, Rect(0, y, hr - W, y + 5));
      } else {
        if (hr + snap > W) hr = W;
        if (horzMode == 1 || horzMode == 5) piece = Rect(W - hr, y, W, y + 5);
        if (horzMode == 2 || horzMode == 4) piece = Rect(0, y, hr, y + 5);
        if (horzMode == 3) {
          piece = Rect(W - hr, y, W, y + 5);
          Combine(piece, Rect(0, y + 5, hr, y + 10));
        }
      }
      Combine(result, std::move(piece));
    }
  }
  if (vertMode != 0) {
    const int x0 = vr > H ? 5 : 0;
    for (int x = x0; x < W + 5; x += 10) {
      TRgn piece;
      if (vr > H) {
        piece = Rect(x - 5, 0, x, H);
        if (vertMode == 1 || vertMode == 4) Combine(piece, Rect(x, 2 * H - vr, x + 5, H));
        if (vertMode == 2 || vertMode == 5) Combine(piece, Rect(x, 0, x + 5, vr - H));
      } else {
        if (vr + snap > H) vr = H;
        if (vertMode == 1 || vertMode == 5) piece = Rect(x, H - vr, x + 5, H);
        if (vertMode == 2 || vertMode == 4) piece = Rect(x, 0, x + 5, vr);
        if (vertMode == 3) {
          piece = Rect(x, H - vr, x + 5, H);
          Combine(piece, Rect(x + 5, 0, x + 10, vr));
        }
      }
      Combine(result, std::move(piece));
    }
  }
  return result;
}

TRgn GdiRagged(TRandom& random, int W, int H, int hr, int vr, int horzMode, int vertMode) {
  TRgn result;
  if (horzMode != 0) {
    const int a = hr < W ? W / 7 : 0;
    for (int y0 = 0; y0 < H; y0 += 5) {
      const int y1 = y0 + 5 + H % 5;
      TRgn row;
      if (horzMode == 1) row = Rect(W - hr + Jitter(random, a), y0, W, y1);
      if (horzMode == 2) row = Rect(0, y0, hr + Jitter(random, a), y1);
      if (horzMode == 3) {
        row = Rect((W - hr + Jitter(random, a)) / 2, y0, W / 2, y1);
        Combine(row, Rect(W / 2, y0, (W + hr + Jitter(random, a)) / 2, y1));
      }
      if (horzMode == 4) {
        row = Rect(W - (hr + Jitter(random, a)) / 2, y0, W, y1);
        Combine(row, Rect(0, y0, (hr + Jitter(random, a)) / 2, y1));
      }
      Combine(result, std::move(row));
    }
  }
  if (vertMode != 0) {
    const int a = vr < H ? H / 7 : 0;
    for (int x0 = 0; x0 < W; x0 += 5) {
      const int x1 = x0 + 5 + W % 5;
      TRgn column;
      if (vertMode == 1) column = Rect(x0, H - vr + Jitter(random, a), x1, H);
      if (vertMode == 2) column = Rect(x0, 0, x1, vr + Jitter(random, a));
      if (vertMode == 3) {
        column = Rect(x0, (H - vr + Jitter(random, a)) / 2, x1, H / 2);
        Combine(column, Rect(x0, H / 2, x1, (H + vr + Jitter(random, a)) / 2));
      }
      if (vertMode == 4) {
        column = Rect(x0, H - (vr + Jitter(random, a)) / 2, x1, H);
        Combine(column, Rect(x0, 0, x1, (vr + Jitter(random, a)) / 2));
      }
      Combine(result, std::move(column));
    }
  }
  return result;
}

bool Chosen(TRandom& random, int k, int nearZone) {
  return random.Random(k) <= (k <= nearZone ? 1 : 0);
}

TRgn GdiGrain(TRandom& random, int W, int H, int hr, int vr, int horzMode, int vertMode) {
  TRgn result;
  if (horzMode != 0) {
    const int e = hr < W ? W / 10 : 0;
    const int f = std::max(e / 20, 2), n = e / f, q = ((3 * e) / f) / 4;
    for (int y0 = 0; y0 < H; y0 += f / 2) {
      TRgn row = horzMode == 1 ? Rect(W - hr, y0, W, y0 + f) : Rect(0, y0, hr, y0 + f);
      for (int k = n; k >= 1; --k)
        if (Chosen(random, k, q))
          Combine(row, horzMode == 1 ? Rect(W - hr - k * f, y0, W - hr - k * f + f, y0 + f)
                                     : Rect(hr + (k - 1) * f, y0, hr + k * f, y0 + f));
      Combine(result, std::move(row));
    }
  }
  if (vertMode != 0) {
    const int e = vr < H ? H / 10 : 0;
    const int f = std::max(e / 20, 2), n = e / f, q = ((3 * e) / f) / 4;
    for (int x0 = 0; x0 < W; x0 += f / 2) {
      TRgn column = vertMode == 1 ? Rect(x0, H - vr, x0 + f, H) : Rect(x0, 0, x0 + f, vr);
      for (int k = n; k >= 1; --k)
        if (Chosen(random, k, q))
          Combine(column, vertMode == 1 ? Rect(x0, H - vr - k * f, x0 + f, H - vr - k * f + f)
                                        : Rect(x0, vr + (k - 1) * f, x0 + f, vr + k * f));
      Combine(result, std::move(column));
    }
  }
  return result;
}

TRgn GdiDissolve(TRandom& random, int W, int H, int p) {
  const int d = std::max(std::min(W, H) / 50 + p / 10, 1);
  TRgn result;
  for (int x = 0; x < W; x += d)
    for (int y = 0; y < H; y += d)
      if (random.Random(100) < p) Combine(result, Rect(x - d, y - d, x + d, y + d));
  return result ? std::move(result) : Rect(0, 0, 0, 0);
}

// The rounded rectangle, or nothing where the platform leaves its corner
// rows undefined.
std::optional<TRgn> Round(int l, int t, int r, int b, int w, int h) {
  if (!RoundRectIsDefinedByPlatform({l, t, r, b}, w, h)) return std::nullopt;
  return TRgn(CreateRoundRectRgn(l, t, r, b, w, h));
}

struct TQuantities {
  int W, H, PX, PY, S, p;
  TRandom& Random;
};

// Style `style`'s region by the platform's calls; nothing when undefined.
std::optional<TRgn> GdiStyle(int style, const TQuantities& q) {
  const int W = q.W, H = q.H, PX = q.PX, PY = q.PY, S = q.S;
  switch (style) {
    case 58:
      return Round(-2 * W, -5, 2 * PX, H + 5, 2 * W, 2 * W);
    case 59:
      return Round(W - 2 * PX, -5, 3 * W, H + 5, 2 * W, 2 * W);
    case 60:
      return GdiBand(W, H, 2 * PX, 0, 1, 0, S);
    case 61:
      return GdiBand(W, H, 2 * PX, 0, 2, 0, S);
    case 62:
      return GdiBand(W, H, 2 * PX, 0, 4, 0, S);
    case 63:
      return GdiBand(W, H, 2 * PX, 0, 5, 0, S);
    case 64:
      return GdiBand(W, H, PX, 0, 3, 0, 0);
    case 65:
      return GdiRagged(q.Random, W, H, PX, 0, 1, 0);
    case 66:
      return GdiRagged(q.Random, W, H, PX, 0, 2, 0);
    case 67:
      return GdiRagged(q.Random, W, H, PX, 0, 3, 0);
    case 68:
      return GdiRagged(q.Random, W, H, PX, 0, 4, 0);
    case 69:
      return Round(-5, -2 * H, W + 5, 2 * PY, 2 * H, 2 * H);
    case 70:
      return Round(-5, H - 2 * PY, W + 5, 3 * H, 2 * H, 2 * H);
    case 71:
      return GdiBand(W, H, 0, 2 * PY, 0, 1, S);
    case 72:
      return GdiBand(W, H, 0, 2 * PY, 0, 2, S);
    case 73:
      return GdiBand(W, H, 0, 2 * PY, 0, 4, S);
    case 74:
      return GdiBand(W, H, 0, 2 * PY, 0, 5, S);
    case 75:
      return GdiBand(W, H, 0, PY, 0, 3, 0);
    case 76:
      return GdiRagged(q.Random, W, H, 0, PY, 0, 1);
    case 77:
      return GdiRagged(q.Random, W, H, 0, PY, 0, 2);
    case 78:
      return GdiRagged(q.Random, W, H, 0, PY, 0, 3);
    case 79:
      return GdiRagged(q.Random, W, H, 0, PY, 0, 4);
    case 80:
      return Round(-2 * W, -2 * H, 2 * PX, 2 * PY, 2 * W, 2 * H);
    case 81:
      return Round(W - 2 * PX, -2 * H, 3 * W, 2 * PY, 2 * W, 2 * H);
    case 82:
      return Round(-2 * W, H - 2 * PY, 2 * PX, 3 * H, 2 * W, 2 * H);
    case 83:
      return Round(W - 2 * PX, H - 2 * PY, 3 * W, 3 * H, 2 * H, 2 * H);
    case 84:
      return Round(W / 2 - PX, H / 2 - PY, W / 2 + PX, H / 2 + PY, (9 * PX) / 5, (9 * PY) / 5);
    case 85: {
      std::optional<TRgn> inner = Round(PX - W / 2, PY - H / 2, (3 * W) / 2 - PX, (3 * H) / 2 - PY,
                                        (9 * (W - PX)) / 5, (9 * (H - PY)) / 5);
      if (!inner) return std::nullopt;
      TRgn g = Rect(0, 0, W, H);
      Combine(g, std::move(*inner), RGN_XOR);
      return g;
    }
    case 86:
      return GdiBand(W, H, 2 * PX, 2 * PY, 1, 1, S);
    case 87:
      return GdiBand(W, H, 2 * PX, 2 * PY, 1, 2, S);
    case 88:
      return GdiBand(W, H, 2 * PX, 2 * PY, 2, 1, S);
    case 89:
      return GdiBand(W, H, 2 * PX, 2 * PY, 2, 2, S);
    case 90:
      return GdiBand(W, H, 2 * PX, 2 * PY, 4, 4, S);
    case 91:
      return GdiBand(W, H, 2 * PX, 2 * PY, 4, 5, S);
    case 92:
      return GdiBand(W, H, 2 * PX, 2 * PY, 5, 4, S);
    case 93:
      return GdiBand(W, H, 2 * PX, 2 * PY, 5, 5, S);
    case 94:
      return GdiBand(W, H, PX, PY, 1, 3, S);
    case 95:
      return GdiBand(W, H, PX, PY, 2, 3, S);
    case 96:
      return GdiBand(W, H, PX, PY, 3, 1, S);
    case 97:
      return GdiBand(W, H, PX, PY, 3, 2, S);
    case 98:
      return GdiBand(W, H, PX, PY, 3, 3, 0);
    case 99: {
      TRgn g = GdiBand(W, H, 2 * PX, 2 * PY, 2, 2, S);
      Combine(g, GdiBand(W, H, 2 * PX, 2 * PY, 1, 1, S), RGN_AND);
      return g;
    }
    case 100:
      return GdiRagged(q.Random, W, H, PX, PY, 1, 1);
    case 101:
      return GdiRagged(q.Random, W, H, PX, PY, 1, 2);
    case 102:
      return GdiRagged(q.Random, W, H, PX, PY, 2, 1);
    case 103:
      return GdiRagged(q.Random, W, H, PX, PY, 2, 2);
    case 104:
      return GdiRagged(q.Random, W, H, PX, PY, 1, 3);
    case 105:
      return GdiRagged(q.Random, W, H, PX, PY, 2, 3);
    case 106:
      return GdiRagged(q.Random, W, H, PX, PY, 3, 1);
    case 107:
      return GdiRagged(q.Random, W, H, PX, PY, 3, 2);
    case 108:
      return GdiRagged(q.Random, W, H, PX, PY, 3, 3);
    case 109:
      return GdiRagged(q.Random, W, H, PX, PY, 4, 4);
    case 110:
      return Triangle({0, 0}, {2 * PX, 0}, {0, 2 * PY});
    case 111:
      return Triangle({W, 0}, {W - 2 * PX, 0}, {W, 2 * PY});
    case 112:
      return Triangle({0, H}, {2 * PX, H}, {0, H - 2 * PY});
    case 113:
      return Triangle({W, H}, {W - 2 * PX, H}, {W, H - 2 * PY});
    case 114: {
      TRgn g = Triangle({W, H}, {W, 0}, {W - PX, 0});
      Combine(g, Triangle({0, H}, {0, 0}, {PX, H}));
      return g;
    }
    case 115: {
      TRgn g = Triangle({W, H}, {0, H}, {0, H - PY});
      Combine(g, Triangle({W, 0}, {0, 0}, {W, PY}));
      return g;
    }
    case 116: {
      const TPoint c{W / 2, H / 2};
      TRgn g = Triangle(c, {0, H}, {0, H - PY});
      Combine(g, Triangle({0, 0}, {PX, 0}, c));
      Combine(g, Triangle({W - PX, H}, c, {W, H}));
      Combine(g, Triangle(c, {W, 0}, {W, PY}));
      return g;
    }
    case 117: {
      const int a = PX / 5, b = MulDiv(a, H, W);
      TRgn g;
      for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 10; ++c) {
          const int x0 = (c * W) / 10, y0 = (r * H) / 10;
          Combine(g, Triangle({x0, y0}, {x0 + a, y0}, {x0, y0 + b}));
        }
      return g;
    }
    case 123:
      return GdiGrain(q.Random, W, H, PX, PY, 1, 0);
    case 124:
      return GdiGrain(q.Random, W, H, PX, PY, 2, 0);
    case 125:
      return GdiGrain(q.Random, W, H, PX, PY, 0, 1);
    case 126:
      return GdiGrain(q.Random, W, H, PX, PY, 0, 2);
    case 127:
      return GdiDissolve(q.Random, W, H, q.p);
  }
  ADD_FAILURE() << "style " << style << " is no region style";
  return std::nullopt;
}

// The frame's mask: pixels of the W x H frame that a region covers.
TRegion Mask(const TRegion& r, int W, int H) {
  return r & TRegion(0, 0, W, H);
}

struct TCounts {
  int Compared = 0, Undefined = 0, Failures = 0;
};

void CompareStyle(int style, int W, int H, int p, int step, uint32_t seed, TCounts& counts) {
  TBitmap screen(W, H);
  const TBitmap picture(W, H);
  TRandom gdiRandom(seed), ourRandom(seed);
  const TFrame frame(screen, picture, p, step, gdiRandom);
  std::optional<TRgn> gdi = GdiStyle(style, {W, H, frame.PX, frame.PY, frame.S, p, gdiRandom});
  const uint32_t gdiAfter = gdiRandom.RandSeed();
  if (!gdi) {
    ++counts.Undefined;
    return;
  }
  const std::optional<TRegion> ours = RegionOf(style, W, H, p, step, ourRandom);
  ++counts.Compared;
  ASSERT_TRUE(ours.has_value()) << "style " << style;
  const TRegion theirs = FromGdi(gdi->Get());
  const bool same = Mask(*ours, W, H) == Mask(theirs, W, H) && ourRandom.RandSeed() == gdiAfter;
  if (!same && ++counts.Failures <= 20) {
    std::ostringstream what;
    what << "style " << style << ", " << W << " x " << H << ", p = " << p << ", step " << step
         << ", seed " << seed
         << (ourRandom.RandSeed() == gdiAfter ? "" : ": generator states differ");
    ADD_FAILURE() << what.str();
  }
}

constexpr std::pair<int, int> Sizes[] = {{160, 90}, {90, 160}, {101, 37}, {37, 101},
                                         {3, 2},    {2, 3},    {1, 1},    {640, 480}};
constexpr int Progress[] = {0, 1, 2, 5, 10, 25, 33, 49, 50, 51, 67, 75, 96, 99, 100};

void CompareFamily(const char* name, std::initializer_list<std::pair<int, int>> styleRanges) {
  TCounts counts;
  for (auto [first, last] : styleRanges)
    for (int style = first; style <= last; ++style)
      for (auto [W, H] : Sizes)
        for (int p : Progress)
          for (int step : {4, 10})
            CompareStyle(style, W, H, p, step, static_cast<uint32_t>(style * 7919 + W * 31 + p),
                         counts);
  std::printf("[ GDI      ] %s: %d regions compared, %d undefined by the platform skipped\n", name,
              counts.Compared, counts.Undefined);
  EXPECT_EQ(counts.Failures, 0);
}

TEST(StyleRegionsAgainstGdi, RoundedFronts) {
  CompareFamily("rounded fronts", {{58, 59}, {69, 70}, {80, 85}});
}

TEST(StyleRegionsAgainstGdi, StraightBands) {
  CompareFamily("straight bands", {{60, 64}, {71, 75}, {86, 99}});
}

TEST(StyleRegionsAgainstGdi, RaggedBands) {
  CompareFamily("ragged bands", {{65, 68}, {76, 79}, {100, 109}});
}

TEST(StyleRegionsAgainstGdi, Triangles) {
  CompareFamily("triangles", {{110, 117}});
}

TEST(StyleRegionsAgainstGdi, GrainAndDissolve) {
  CompareFamily("grain and dissolve", {{123, 127}});
}

}  // namespace
}  // namespace pixvane::test
