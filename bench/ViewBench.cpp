// One whole frame of the transition view (old screen drawn, the style, the
// completion, the invalidation and the repaint into the paint buffer)
// against one full-frame memcpy in the same run.
#include <benchmark/benchmark.h>

#include <cstring>

#include "transition/HeadlessViewHost.h"
#include "transition/TransitionView.h"

namespace pixvane {
namespace {

TBitmap Picture(int32_t width, int32_t height, uint8_t seed) {
  TBitmap b(width, height);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = b.ScanLine(y);
    for (size_t i = 0; i < b.Stride(); ++i) row[i] = static_cast<uint8_t>(i * 7 + y + seed);
  }
  return b;
}

void FrameArgs(benchmark::internal::Benchmark* b) {
  b->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);
}

void BM_FrameMemcpy(benchmark::State& state) {
  const TBitmap source = Picture(state.range(0), state.range(1), 0);
  TBitmap dest(state.range(0), state.range(1));
  for (auto _ : state) {
    std::memcpy(dest.Bits(), source.Bits(), source.ByteSize());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameMemcpy)->Apply(FrameArgs);

// The custom style with a handler that draws nothing: the frame pipeline's
// own cost, with the completion drawing the whole picture.
void BM_ViewFrameStyle0(benchmark::State& state) {
  const int32_t w = state.range(0), h = state.range(1);
  THeadlessViewHost host;
  TRandom random;
  TTransitionView view(host, random);
  host.Attach(&view);
  view.Threaded = false;
  view.SetAutoSize(false);
  view.SetClientSize(w, h);
  view.OnCustomDraw = [](TCustomTransitionView&, TBitmap&, TBitmap&) {};
  view.SetManual(true);
  TBitmap picture = Picture(w, h, 90);
  view.SetPicture(&picture);
  view.Style = 0;
  view.Execute();
  int p = 1;
  for (auto _ : state) {
    view.SetProgress(p);
    p = p % 98 + 1;  // 1..98: every frame draws and repaints
  }
}
BENCHMARK(BM_ViewFrameStyle0)->Apply(FrameArgs);

}  // namespace
}  // namespace pixvane
