#include "transition/styles/BandRegion.h"

#include <vector>

#include "transition/styles/Styles.h"

namespace pixvane {

namespace {

// One pass of bands, written for rows: length runs along the bands (W for
// rows), across is the frame the other way. Columns are the same pass with
// every rectangle turned.
void AddBands(std::vector<TRect>& pieces, int length, int across, int reach, TBandMode mode,
              int snap, bool turned) {
  using enum TBandMode;
  auto add = [&](int l, int t, int r, int b) {
    Unite(pieces, turned ? TRect{t, l, b, r} : TRect{l, t, r, b});
  };
  if (reach > length) {
    // Second half: the first set is complete, the in-between set grows.
    for (int y = 5; y < across + 5; y += 10) {
      add(0, y - 5, length, y);
      if (mode == FromFar || mode == NearThenFar)
        add(2 * length - reach, y, length, y + 5);
      else if (mode == FromNear || mode == FarThenNear)
        add(0, y, reach - length, y + 5);
    }
    return;
  }
  // First half. Once the reach is within snap of the frame it is the frame,
  // for this and every following band.
  if (reach + snap > length) reach = length;
  for (int y = 0; y < across + 5; y += 10) {
    if (mode == FromFar || mode == FarThenNear) {
      add(length - reach, y, length, y + 5);
    } else if (mode == FromNear || mode == NearThenFar) {
      add(0, y, reach, y + 5);
    } else if (mode == Opposite) {
      add(length - reach, y, length, y + 5);
      add(0, y + 5, reach, y + 10);
    }
  }
}

}  // namespace

std::optional<TRegion> BandRegion(int W, int H, int hr, int vr, TBandMode horzMode,
                                  TBandMode vertMode, int snap) {
  if (horzMode == TBandMode::None && vertMode == TBandMode::None) return std::nullopt;
  std::vector<TRect> pieces;
  if (horzMode != TBandMode::None) AddBands(pieces, W, H, hr, horzMode, snap, false);
  if (vertMode != TBandMode::None) AddBands(pieces, H, W, vr, vertMode, snap, true);
  return TRegion::FromRects(pieces);
}

}  // namespace pixvane
