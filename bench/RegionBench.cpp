// Frame-sized drawing of the transition engine against the cost of one
// full-frame memcpy. The clip-and-draw of the region styles has a budget of
// three memcpy frames.
#include <benchmark/benchmark.h>

#include <cstring>

#include "graphics/Copy.h"
#include "graphics/Region.h"

namespace pixvane {
namespace {

TBitmap Picture(int32_t width, int32_t height) {
  TBitmap b(width, height);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = b.ScanLine(y);
    for (size_t i = 0; i < b.Stride(); ++i) row[i] = static_cast<uint8_t>(i * 7 + y);
  }
  return b;
}

void FrameArgs(benchmark::internal::Benchmark* b) {
  b->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);
}

void SetFrameBytes(benchmark::State& state, const TBitmap& frame) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(frame.ByteSize()));
}

// The yardstick: one memcpy of a whole frame's bytes.
void BM_FrameMemcpy(benchmark::State& state) {
  const TBitmap source = Picture(state.range(0), state.range(1));
  TBitmap dest(state.range(0), state.range(1));
  for (auto _ : state) {
    std::memcpy(dest.Bits(), source.Bits(), source.ByteSize());
    benchmark::ClobberMemory();
  }
  SetFrameBytes(state, dest);
}
BENCHMARK(BM_FrameMemcpy)->Apply(FrameArgs);

// Drawing the old screen or the whole picture: row by row.
void BM_PlainCopy(benchmark::State& state) {
  const TBitmap source = Picture(state.range(0), state.range(1));
  TBitmap dest(state.range(0), state.range(1));
  for (auto _ : state) {
    Draw(dest, 0, 0, source);
    benchmark::ClobberMemory();
  }
  SetFrameBytes(state, dest);
}
BENCHMARK(BM_PlainCopy)->Apply(FrameArgs);

// A picture two thirds of the frame, stretched over the whole frame.
void BM_StretchCopyEnlarge(benchmark::State& state) {
  const TBitmap source = Picture(state.range(0) * 2 / 3, state.range(1) * 2 / 3);
  TBitmap dest(state.range(0), state.range(1));
  for (auto _ : state) {
    StretchCopy(dest, dest.Bounds(), source, source.Bounds());
    benchmark::ClobberMemory();
  }
  SetFrameBytes(state, dest);
}
BENCHMARK(BM_StretchCopyEnlarge)->Apply(FrameArgs);

// The whole frame mirrored left to right at its own size: every pixel goes
// through the column map, the worst case of the stretched copy.
void BM_StretchCopyMirror(benchmark::State& state) {
  const TBitmap source = Picture(state.range(0), state.range(1));
  TBitmap dest(state.range(0), state.range(1));
  const TRect mirrored{dest.Width(), 0, 0, dest.Height()};
  for (auto _ : state) {
    StretchCopy(dest, mirrored, source, source.Bounds());
    benchmark::ClobberMemory();
  }
  SetFrameBytes(state, dest);
}
BENCHMARK(BM_StretchCopyMirror)->Apply(FrameArgs);

// Bands of 5 rows on a period of 10, alternately from the right and from the
// left edge to three quarters of the width: two rectangles per period, a few
// hundred in all, as the band styles make them halfway.
TRegion Bands(int32_t width, int32_t height) {
  const int32_t reach = width * 3 / 4;
  TRegion bands;
  for (int32_t y = 0; y < height + 5; y += 10) {
    bands |= TRegion(TRect{width - reach, y, width, y + 5});
    bands |= TRegion(TRect{0, y + 5, reach, y + 10});
  }
  return bands;
}

void BM_ClipDrawBands(benchmark::State& state) {
  const TBitmap source = Picture(state.range(0), state.range(1));
  TBitmap dest(state.range(0), state.range(1));
  const TRegion bands = Bands(dest.Width(), dest.Height());
  for (auto _ : state) {
    DrawClipped(dest, 0, 0, source, bands);
    benchmark::ClobberMemory();
  }
  state.counters["rects"] = static_cast<double>(bands.RectCount());
  SetFrameBytes(state, dest);
}
BENCHMARK(BM_ClipDrawBands)->Apply(FrameArgs);

// A region frame as the styles render it: the old screen drawn whole, then
// the picture through the bands.
void BM_RegionFrame(benchmark::State& state) {
  const TBitmap oldScreen = Picture(state.range(0), state.range(1));
  const TBitmap picture = Picture(state.range(0), state.range(1));
  TBitmap screen(state.range(0), state.range(1));
  const TRegion bands = Bands(screen.Width(), screen.Height());
  for (auto _ : state) {
    Draw(screen, 0, 0, oldScreen);
    DrawClipped(screen, 0, 0, picture, bands);
    benchmark::ClobberMemory();
  }
  SetFrameBytes(state, screen);
}
BENCHMARK(BM_RegionFrame)->Apply(FrameArgs);

// Building the band region itself, once per frame in the styles.
void BM_BuildBandRegion(benchmark::State& state) {
  for (auto _ : state) {
    TRegion bands = Bands(state.range(0), state.range(1));
    benchmark::DoNotOptimize(bands);
  }
}
BENCHMARK(BM_BuildBandRegion)->Apply(FrameArgs);

// The diagonal front: one triangle over the whole frame, a rectangle per row.
void BM_BuildTriangleRegion(benchmark::State& state) {
  const int32_t w = state.range(0), h = state.range(1);
  const TPoint triangle[] = {{0, 0}, {w, 0}, {0, h}, {0, 0}};
  for (auto _ : state) {
    TRegion t = TRegion::Polygon(triangle);
    benchmark::DoNotOptimize(t);
  }
}
BENCHMARK(BM_BuildTriangleRegion)->Apply(FrameArgs);

}  // namespace
}  // namespace pixvane
