#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "graphics/Region.h"

namespace pixvane::test {

// A platform region as a TRegion, through the rectangles GetRegionData
// lists. GDI keeps the rows of a rounded rectangle unmerged and may hold
// rows without pixels; FromRects brings both into the one canonical form.
// No region (the platform refuses some degenerate shapes) is the empty one.
inline TRegion FromGdi(HRGN region) {
  if (!region) return TRegion();
  const DWORD size = GetRegionData(region, 0, nullptr);
  std::vector<unsigned char> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (GetRegionData(region, size, data) != size) {
    ADD_FAILURE() << "GetRegionData failed";
    return TRegion();
  }
  const RECT* r = reinterpret_cast<const RECT*>(data->Buffer);
  std::vector<TRect> rects;
  for (DWORD i = 0; i < data->rdh.nCount; ++i)
    rects.push_back(TRect{r[i].left, r[i].top, r[i].right, r[i].bottom});
  return TRegion::FromRects(rects);
}

}  // namespace pixvane::test
