// The skin's costs as the setup dialog meets them: reading the default skin,
// and laying out and painting the dialog's objects (frame, three panels,
// check box, button) at 96 and 192 dpi, against a memcpy of the dialog's
// pixels measured in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "skin/SkinSource.h"

namespace pixvane {
namespace {

std::vector<uint8_t> SkinBytes(int percent) {
  const std::string name = percent == 100 ? "default.skin" : "default@200.skin";
  std::ifstream in(std::string(PIXVANE_SKIN_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int32_t Scaled(int32_t value, int percent) {
  return value * percent / 100;
}

// The dialog's window: its 305 x 259 client in the frame.
TRect DialogRect(int percent) {
  return {0, 0, Scaled(307, percent), Scaled(288, percent)};
}

void PaintObject(TSkinSource& skin, const char* name, const TRect& rect, TSkinBitmap& target,
                 const char* text = "") {
  TSkinObject* object = skin.ObjectByName(name);
  object->Text = text;
  object->SetBounds(rect);
  object->PaintTo(target);
}

void BM_ReadDefaultSkin(benchmark::State& state) {
  const std::vector<uint8_t> bytes = SkinBytes(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TSkinSource skin;
    skin.LoadFromFileBytes(bytes, "default.skin");
    benchmark::DoNotOptimize(skin.ObjectCount());
  }
}
BENCHMARK(BM_ReadDefaultSkin)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_PaintDialog(benchmark::State& state) {
  const int percent = static_cast<int>(state.range(0));
  TSkinSource skin;
  skin.LoadFromFileBytes(SkinBytes(percent), "default.skin");
  const TRect window = DialogRect(percent);
  TSkinBitmap target(window.Right, window.Bottom);
  auto s = [percent](int32_t v) { return Scaled(v, percent); };
  for (auto _ : state) {
    skin.ObjectByName("Form")->SetBounds(0, 0, 1, 1);  // a fresh layout every time
    PaintObject(skin, "Form", window, target);
    PaintObject(skin, "Panel", {s(1), s(29), s(306), s(174)}, target);
    PaintObject(skin, "Panel", {s(1), s(174), s(306), s(238)}, target);
    PaintObject(skin, "Panel", {s(1), s(238), s(306), s(288)}, target);
    TSkinObject* box = skin.ObjectByName("CheckBox")->FindByName("Unchecked");
    box->SetBounds(s(30), s(100), s(13), s(13));
    box->PaintTo(target);
    PaintObject(skin, "Button", {s(215), s(253), s(290), s(278)}, target, "OK");
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PaintDialog)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

// The yardstick: one copy of the dialog's pixels.
void BM_CopyDialogPixels(benchmark::State& state) {
  const TRect window = DialogRect(static_cast<int>(state.range(0)));
  const TSkinBitmap source(window.Right, window.Bottom, 0xFF123456);
  TSkinBitmap target(window.Right, window.Bottom);
  for (auto _ : state) {
    std::memcpy(target.ScanLine(0), source.ScanLine(0),
                static_cast<size_t>(window.Right) * window.Bottom * 4);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyDialogPixels)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pixvane
