// Composing one slide from a photo (decode + scale) at 1080p and 4K: the
// smooth filter against the nearest-pixel stretch it replaced, with the
// decode alone as the yardstick, in the same run. The photo is the JPEG
// named by PIXVANE_BENCH_PHOTO (bench/photo_quality.py makes a 24 MP one).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include "graphics/Copy.h"
#include "graphics/Resample.h"
#include "show/SlideComposer.h"

namespace pixvane {
namespace {

const TJPEGImage* Photo() {
  static std::unique_ptr<TJPEGImage> photo = [] {
    const char* path = std::getenv("PIXVANE_BENCH_PHOTO");
    if (!path) return std::unique_ptr<TJPEGImage>();
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    return std::make_unique<TJPEGImage>(std::move(bytes));
  }();
  return photo.get();
}

void ScreenArgs(benchmark::internal::Benchmark* b) {
  b->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
}

template <typename Compose>
void Run(benchmark::State& state, Compose&& compose) {
  const TJPEGImage* photo = Photo();
  if (!photo) return state.SkipWithError("PIXVANE_BENCH_PHOTO names no JPEG");
  const int32_t w = static_cast<int32_t>(state.range(0)), h = static_cast<int32_t>(state.range(1));
  for (auto _ : state) {
    TBitmap slide(w, h);
    compose(*photo, slide);
    benchmark::DoNotOptimize(slide.Bits());
  }
}

void BM_DecodeOnly(benchmark::State& state) {
  Run(state, [&](const TJPEGImage& photo, TBitmap& slide) {
    TBitmap picture = photo.Decode(photo.ScaleToCover(slide.Width(), slide.Height()));
    benchmark::DoNotOptimize(picture.Bits());
  });
}
BENCHMARK(BM_DecodeOnly)->Apply(ScreenArgs);

void BM_NearestPixel(benchmark::State& state) {
  Run(state, [&](const TJPEGImage& photo, TBitmap& slide) {
    TBitmap picture = photo.Decode(photo.ScaleToCover(slide.Width(), slide.Height()));
    StretchCopy(slide, slide.Bounds(), picture, picture.Bounds());
  });
}
BENCHMARK(BM_NearestPixel)->Apply(ScreenArgs);

void BM_Smooth(benchmark::State& state) {
  Run(state, [&](const TJPEGImage& photo, TBitmap& slide) {
    DrawScaledPicture(slide, photo, {slide.Bounds()}, {slide.Bounds()});
  });
}
BENCHMARK(BM_Smooth)->Apply(ScreenArgs);

// The smooth filter alone, from the half-size decode a 1080p slide starts
// from (3000 x 2000 for a 24 MP photo), on one thread and on two.
void BM_FilterOnly(benchmark::State& state) {
  const TJPEGImage* photo = Photo();
  if (!photo) return state.SkipWithError("PIXVANE_BENCH_PHOTO names no JPEG");
  static const TBitmap picture = photo->Decode(2);
  TBitmap slide(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
  for (auto _ : state) {
    DrawScaled(slide, slide.Bounds(), slide.Bounds(), picture, static_cast<int>(state.range(2)));
    benchmark::DoNotOptimize(slide.Bits());
  }
}
BENCHMARK(BM_FilterOnly)
    ->Args({1920, 1080, 1})
    ->Args({1920, 1080, 2})
    ->Args({3840, 2160, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pixvane
