#include "transition/styles/BandRegion.h"

#include <vector>

#include "transition/styles/Styles.h"

namespace pixvane {

namespace {

// One pass of bands, written for rows: length runs along the bands (W for
// rows), across is the frame the other way. Columns are the same pass with
// every rectangle turned.
void AddBands(std::vector<TRect>& pieces, int length, int across, int reach, int mode, int snap,
              bool turned) {
  auto add = [&](int l, int t, int r, int b) {
    Unite(pieces, turned ? TRect{t, l, b, r} : TRect{l, t, r, b});
  };
  if (reach > length) {
    // Second half: the first set is complete, the in-between set grows.
    for (int y = 5; y < across + 5; y += 10) {
      add(0, y - 5, length, y);
      if (mode == 1 || mode == 4)
        add(2 * length - reach, y, length, y + 5);
      else if (mode == 2 || mode == 5)
        add(0, y, reach - length, y + 5);
    }
    return;
  }
  // First half. Once the reach is within snap of the frame it is the frame,
  // for this and every following band.
  if (reach + snap > length) reach = length;
  for (int y = 0; y < across + 5; y += 10) {
    if (mode == 1 || mode == 5) {
      add(length - reach, y, length, y + 5);
    } else if (mode == 2 || mode == 4) {
      add(0, y, reach, y + 5);
    } else if (mode == 3) {
      add(length - reach, y, length, y + 5);
      add(0, y + 5, reach, y + 10);
    }
  }
}

}  // namespace

std::optional<TRegion> BandRegion(int W, int H, int hr, int vr, int horzMode, int vertMode,
                                  int snap) {
  if (horzMode == 0 && vertMode == 0) return std::nullopt;
  std::vector<TRect> pieces;
  if (horzMode != 0) AddBands(pieces, W, H, hr, horzMode, snap, false);
  if (vertMode != 0) AddBands(pieces, H, W, vr, vertMode, snap, true);
  return TRegion::FromRects(pieces);
}

}  // namespace pixvane
