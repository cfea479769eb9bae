#include "transition/styles/RaggedRegions.h"

#include <algorithm>
#include <vector>

#include "transition/styles/Styles.h"

namespace pixvane {

namespace {

// rand(a) - rand(a), the first draw added and the second subtracted; the
// two calls must not be left to the compiler's order of evaluation.
int Jitter(TRandom& random, int a) {
  const int first = random.Random(a);
  return first - random.Random(a);
}

// Turns a rectangle written for rows into one for columns.
TRect Turn(const TRect& r, bool turned) {
  return turned ? TRect{r.Top, r.Left, r.Bottom, r.Right} : r;
}

// One ragged pass, written for rows: length along the rows, across the
// frame the other way.
void AddRaggedBands(TRandom& random, std::vector<TRect>& pieces, int length, int across, int reach,
                    TRaggedMode mode, bool turned) {
  const int a = reach < length ? length / 7 : 0;
  const int height = 5 + across % 5;
  for (int y0 = 0; y0 < across; y0 += 5) {
    const int y1 = y0 + height;
    auto add = [&](int l, int r) { Unite(pieces, Turn({l, y0, r, y1}, turned)); };
    if (mode == TRaggedMode::FromFar) {
      add(length - reach + Jitter(random, a), length);
    } else if (mode == TRaggedMode::FromNear) {
      add(0, reach + Jitter(random, a));
    } else if (mode == TRaggedMode::Outward) {
      const int j1 = Jitter(random, a);
      const int j2 = Jitter(random, a);
      add(Half(length - reach + j1), Half(length));
      add(Half(length), Half(length + reach + j2));
    } else if (mode == TRaggedMode::Inward) {
      const int j1 = Jitter(random, a);
      const int j2 = Jitter(random, a);
      add(length - Half(reach + j1), length);
      add(0, Half(reach + j2));
    }
  }
}

// One grainy pass, written for rows.
void AddGrainBands(TRandom& random, std::vector<TRect>& pieces, int length, int across, int reach,
                   TGrainMode mode, bool turned) {
  const bool fromFar = mode == TGrainMode::FromFar;
  const int e = reach < length ? length / 10 : 0;
  const int f = std::max(e / 20, 2);
  const int n = e / f;
  const int nearZone = ((3 * e) / f) / 4;
  const int front = fromFar ? length - reach : reach;
  // Cells far to near (far >= near >= 1): touching cells are one rectangle.
  auto cells = [&](int far, int near, int y0) {
    return fromFar ? TRect{front - far * f, y0, front - near * f + f, y0 + f}
                   : TRect{front + (near - 1) * f, y0, front + far * f, y0 + f};
  };
  for (int y0 = 0; y0 < across; y0 += Half(f)) {
    TRect solid = fromFar ? TRect{front, y0, length, y0 + f} : TRect{0, y0, front, y0 + f};
    int far = 0;  // the farthest cell of the run being chosen, 0 for none
    for (int k = n; k >= 1; --k) {
      const bool chosen = random.Random(k) <= (k <= nearZone ? 1 : 0);
      if (chosen && far == 0) far = k;
      if (!chosen && far != 0) {
        Unite(pieces, Turn(cells(far, k + 1, y0), turned));
        far = 0;
      }
    }
    // The cell next to the front is always chosen, so the last run joins
    // the solid band.
    if (far != 0) {
      const TRect run = cells(far, 1, y0);
      solid = {std::min(solid.Left, run.Left), y0, std::max(solid.Right, run.Right), y0 + f};
    }
    Unite(pieces, Turn(solid, turned));
  }
}

}  // namespace

std::optional<TRegion> RaggedBandRegion(TRandom& random, int W, int H, int hr, int vr,
                                        TRaggedMode horzMode, TRaggedMode vertMode) {
  if (horzMode == TRaggedMode::None && vertMode == TRaggedMode::None) return std::nullopt;
  std::vector<TRect> pieces;
  if (horzMode != TRaggedMode::None) AddRaggedBands(random, pieces, W, H, hr, horzMode, false);
  if (vertMode != TRaggedMode::None) AddRaggedBands(random, pieces, H, W, vr, vertMode, true);
  return TRegion::FromRects(pieces);
}

std::optional<TRegion> GrainEdgeRegion(TRandom& random, int W, int H, int hr, int vr,
                                       TGrainMode horzMode, TGrainMode vertMode) {
  if (horzMode == TGrainMode::None && vertMode == TGrainMode::None) return std::nullopt;
  std::vector<TRect> pieces;
  if (horzMode != TGrainMode::None) AddGrainBands(random, pieces, W, H, hr, horzMode, false);
  if (vertMode != TGrainMode::None) AddGrainBands(random, pieces, H, W, vr, vertMode, true);
  return TRegion::FromRects(pieces);
}

TRegion DissolveRegion(TRandom& random, int W, int H, int p) {
  const int d = std::max(std::min(W, H) / 50 + p / 10, 1);
  // The squares lie on the grid of the pitch shifted by -d, each covering
  // 2 x 2 of its cells; marking cells gives the union without overlaps.
  const int columns = (W + d - 1) / d + 1;  // cells -1 .. last x / d
  const int rows = (H + d - 1) / d + 1;
  std::vector<uint8_t> covered(static_cast<size_t>(columns) * rows, 0);
  bool any = false;
  for (int i = 0; i * d < W; ++i)
    for (int j = 0; j * d < H; ++j) {
      if (random.Random(100) >= p) continue;
      any = true;
      // Square (i d - d, j d - d, i d + d, j d + d): cells i - 1 and i (stored
      // one further on), rows j - 1 and j.
      uint8_t* cell = covered.data() + static_cast<size_t>(j) * columns + i;
      cell[0] = cell[1] = cell[columns] = cell[columns + 1] = 1;
    }
  if (!any) return TRegion();
  std::vector<TRect> pieces;
  for (int row = 0; row < rows; ++row) {
    const uint8_t* line = covered.data() + static_cast<size_t>(row) * columns;
    const int top = (row - 1) * d;
    for (int c = 0; c < columns;) {
      if (!line[c]) {
        ++c;
        continue;
      }
      const int start = c;
      while (c < columns && line[c]) ++c;
      pieces.push_back({(start - 1) * d, top, (c - 1) * d, top + d});
    }
  }
  return TRegion::FromRects(pieces);
}

}  // namespace pixvane
