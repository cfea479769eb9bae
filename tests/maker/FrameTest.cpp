#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <thread>
#include <utility>

#ifdef PIXVANE_HAVE_IMAGE_FILES
#include <gif_lib.h>
#endif

#include "base/Stream.h"
#include "graphics/Copy.h"
#include "maker/FrameFiles.h"
#include "maker/ImageFiles.h"
#include "maker/JpegEncoder.h"
#include "maker/ShowRender.h"
#include "maker/StyleSheet.h"
#include "maker/ToolError.h"
#include "maker/TransitionRender.h"
#include "package/PackageWriter.h"
#include "support/SamePixels.h"
#include "support/ToolTestFiles.h"

namespace pixvane::maker {
namespace {

using test::MakeJpeg;
using test::SamePixels;
using test::TToolFolder;

TBitmap Gradient(int w, int h, uint8_t base) {
  TBitmap bitmap(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      bitmap.SetPixel(x, y,
                      RGBColor(static_cast<uint8_t>(base + x), static_cast<uint8_t>(y * 3), base));
  return bitmap;
}

TEST(FrameCommand, OneFrameIsTheScreenAfterThatFrame) {
  TBitmap old = Gradient(31, 17, 10), picture = Gradient(31, 17, 200);
  EXPECT_TRUE(SamePixels(RenderOneFrame(old, picture, 0, 50, 4, 0), picture))
      << "the custom style shows the whole picture at once";
  EXPECT_TRUE(SamePixels(RenderOneFrame(old, picture, 118, 0, 4, 0), old));
  EXPECT_TRUE(SamePixels(RenderOneFrame(old, picture, 118, 100, 4, 0), picture));
  EXPECT_TRUE(SamePixels(RenderOneFrame(old, picture, 200, 60, 4, 0), old))
      << "styles of 128 and more draw nothing";
  EXPECT_THROW(RenderOneFrame(old, Gradient(30, 17, 0), 0, 50, 4, 0), EToolError);
  EXPECT_THROW(RenderOneFrame(old, picture, 0, 101, 4, 0), EToolError);
}

TEST(FrameCommand, TransitionFramesRunFromOldToNew) {
  TBitmap old = Gradient(40, 30, 10), picture = Gradient(40, 30, 200);
  TRenderSettings settings;
  settings.Style = 118;
  settings.Step = 25;
  std::vector<TBitmap> frames = RenderTransition(old, picture, settings);
  ASSERT_EQ(frames.size(), 6u);  // what was shown, p = 0, 25, 50, 75, 100
  EXPECT_TRUE(SamePixels(frames.front(), old));
  EXPECT_TRUE(SamePixels(frames.back(), picture));

  settings.Width = 80;
  settings.Height = 30;
  frames = RenderTransition(old, picture, settings);
  EXPECT_EQ(frames.back().Width(), 80) << "the view's own size, the picture stretched into it";
}

// Every frame draws from a generator of its own, as the studio's strips,
// rendered on several threads at once, need: a random style gives the same
// frame for the same seed whatever renders beside it.
TEST(FrameCommand, RandomStylesRepeatWhileOthersRender) {
  const TBitmap old = Gradient(160, 100, 10), picture = Gradient(160, 100, 200);
  const TBitmap alone = RenderOneFrame(old, picture, 127, 40, 4, 7);
  std::atomic<int> differ = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 40; ++i)
        if (!SamePixels(RenderOneFrame(old, picture, 127, 40, 4, 7), alone)) ++differ;
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(differ, 0);
  EXPECT_FALSE(SamePixels(RenderOneFrame(old, picture, 127, 40, 4, 8), alone))
      << "another seed, another pattern";
}

TEST(StylesCommand, SheetHoldsEveryStyleInThreeFrames) {
  TBitmap sheet = StyleSheet(16, 10);
  // 8 styles of 3 cells a row, 16 rows for 127 styles.
  EXPECT_EQ(sheet.Width(), 4 + 8 * (3 * 16 + 8));
  EXPECT_EQ(sheet.Height(), 4 + 16 * (10 + 14 + 4)) << "labels of digits at twice their size";
  // The "1" of style 1: its stem, two pixels wide, down the label's middle column.
  EXPECT_EQ(sheet.Pixel(4 + 2, 4 + 4), 0xFFFFFFu);
  EXPECT_EQ(sheet.Pixel(4 + 3, 4 + 4), 0xFFFFFFu);
  EXPECT_NE(sheet.Pixel(4 + 0, 4 + 4), 0xFFFFFFu);
  // Style 1's cells follow its label; the first (p = 25) and last (p = 75)
  // frames differ, as a transition moves on.
  auto cell = [&](int index) {
    TBitmap out(16, 10);
    CopyRect(out, 0, 0, sheet, {4 + index * 18, 18, 4 + index * 18 + 16, 28});
    return out;
  };
  EXPECT_FALSE(SamePixels(cell(0), cell(2)));
}

TEST(ShowRender, PlaysTheShowOnItsOwnClock) {
  TToolFolder folder;
  const std::string saver = (folder / "show.scr").string();
  {
    auto file = TFileStream::Create(saver);
    file->Write("MZ", 2);
    TSSFileLocations settings;
    settings.Ver = "photo";
    settings.Interval = 1000;
    settings.lStretch = true;
    settings.EffectList.SetCommaText("5");
    TPackageWriter writer(*file, settings);
    writer.AddPicture(MakeJpeg(32, 24, 1), "a.jpg");
    writer.AddPicture(MakeJpeg(32, 24, 2), "b.jpg");
    writer.Finish();
  }
  TShowRenderOptions options{saver, folder / "out"};
  options.Width = 64;
  options.Height = 48;
  options.Seconds = 3;
  std::vector<uint32_t> seconds;
  std::vector<TShowFrame> frames =
      RenderShow(options, [&](uint32_t playedMs) { seconds.push_back(playedMs / 1000); });
  EXPECT_EQ(seconds, (std::vector<uint32_t>{1, 2})) << "the clock heard once a whole second";
  // 25 frames a transition at 40 ms, then the interval's pause: in 3 s the
  // first transition, a pause, the second, a pause, the third begun.
  int total = 0;
  for (const TShowFrame& frame : frames) {
    EXPECT_GT(frame.DurationMs, 0);
    total += frame.DurationMs;
  }
  EXPECT_EQ(total, 3000);
  EXPECT_EQ(frames.front().Image.Pixel(10, 10), 0u) << "the saver starts black";
  EXPECT_GE(frames.size(), 50u);
  options.Saver = folder / "missing.scr";
  EXPECT_ANY_THROW(RenderShow(options));
}

// The preview paints a moving picture fewer times than the player; what it
// shows must still be the player's show: each picture put on screen at the
// same moment, and at a moment both paint, the same image.
TEST(ShowRender, AMovingPictureAtFewerFramesKeepsTheShowsMomentsAndPath) {
  TToolFolder folder;
  const std::string saver = (folder / "moving.scr").string();
  {
    auto file = TFileStream::Create(saver);
    file->Write("MZ", 2);
    TSSFileLocations settings;
    settings.Ver = "photo";
    settings.Interval = 1000;
    settings.Motion = 1;
    settings.MotionZoom = 1300;
    TPackageWriter writer(*file, settings);
    // Blue tells the pictures apart wherever the motion has taken them.
    writer.AddPicture(EncodeJpeg(Gradient(64, 48, 0), 95), "a.jpg");
    writer.AddPicture(EncodeJpeg(Gradient(64, 48, 220), 95), "b.jpg");
    writer.Finish();
  }
  TShowRenderOptions options{saver, {}, 64, 48, 3};
  // slowMs stands for a computer that takes that long over each image, and
  // over one after a second, which it has to catch up with, 600 ms.
  auto play = [&](int motionFps, int slowMs = 0) {
    options.MotionFps = motionFps;
    options.KeepPace = slowMs > 0;
    std::map<uint32_t, TBitmap> painted;  // the last image of each moment
    bool stalled = false;
    PlayShow(options, [&](const TBitmap& image, uint32_t atMs) {
      painted[atMs] = image;
      const bool stall = slowMs > 0 && atMs >= 1000 && !std::exchange(stalled, true);
      std::this_thread::sleep_for(std::chrono::milliseconds(stall ? 600 : slowMs));
    });
    return painted;
  };
  const std::map<uint32_t, TBitmap> player = play(60), preview = play(15), slow = play(60, 40);
  auto slideStarts = [](const std::map<uint32_t, TBitmap>& painted) {
    std::vector<uint32_t> starts;
    bool blue = false;
    for (const auto& [atMs, image] : painted)
      if (((image.Pixel(32, 24) >> 16) > 110) != blue) {
        blue = !blue;
        starts.push_back(atMs);
      }
    return starts;
  };
  const std::vector<uint32_t> starts = slideStarts(player);
  EXPECT_EQ(starts.size(), 2u) << "b at 1 s, a again at 2 s";
  // Checks the gaps between a run's images and that wherever the player
  // paints at the same moment, it paints the same image.
  auto followsThePlayer = [&](const std::map<uint32_t, TBitmap>& run, uint32_t minGapMs,
                              uint32_t maxGapMs) {
    EXPECT_EQ(slideStarts(run), starts);
    int shared = 0;
    uint32_t before = 0;
    for (const auto& [atMs, image] : run) {
      const bool slideStart = std::count(starts.begin(), starts.end(), atMs) > 0;
      if (atMs > 0 && !slideStart) {
        EXPECT_GE(atMs - before, minGapMs) << "a frame at " << atMs;
        EXPECT_LE(atMs - before, maxGapMs) << "a frame at " << atMs;
      }
      before = atMs;
      auto same = player.find(atMs);
      if (same == player.end()) continue;
      ++shared;
      EXPECT_TRUE(SamePixels(image, same->second)) << "the path differs at " << atMs;
    }
    return shared;
  };
  EXPECT_GE(followsThePlayer(preview, 66, 67), 10);
  // Held to the wall clock, a slow computer skips beats, but paints at
  // least every 200 ms of the show.
  EXPECT_EQ(followsThePlayer(slow, 16, 217), static_cast<int>(slow.size()));
  EXPECT_LT(slow.size(), player.size() * 2 / 3);
  EXPECT_ANY_THROW(play(0));
}

TEST(ShowRender, AFlashSaverNamesItsMoviesAfterItsPictures) {
  TToolFolder folder;
  const std::string saver = (folder / "flash.scr").string();
  {
    auto file = TFileStream::Create(saver);
    file->Write("MZ", 2);
    TSSFileLocations settings;
    settings.Ver = "flash";
    settings.Interval = 1000;
    settings.lStretch = true;
    TPackageWriter writer(*file, settings);
    writer.AddPicture(MakeJpeg(32, 24, 1), "a.jpg");
    TMemoryStream movie(std::vector<uint8_t>{'F', 'W', 'S'});
    writer.AddFlash("intro.swf", movie);
    writer.Finish();
  }
  TShowRenderOptions options{saver, folder / "out"};
  options.Width = 320;
  options.Height = 240;
  options.Seconds = 3;
  std::vector<TShowFrame> frames = RenderShow(options);
  // The picture at once (style 0), then after the interval the movies'
  // frame for the rest of the time, never the picture again.
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].DurationMs, 1000);
  EXPECT_EQ(frames[1].DurationMs, 2000);
  int lit = 0;
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) lit += frames[1].Image.Pixel(x, y) != 0;
  EXPECT_GT(lit, 100) << "the frame names the movies";
}

TEST(ImageFiles, PngKeepsEveryPixelAndGifHoldsEveryFrame) {
  TToolFolder folder;
  TBitmap bitmap = Gradient(13, 7, 40);  // odd width: rows are padded in memory, not in the file
  WritePng(folder / "a.png", bitmap);
  EXPECT_TRUE(SamePixels(ReadImage(folder / "a.png"), bitmap));
  folder.Write("b.jpg", MakeJpeg(24, 16, 3));
  EXPECT_EQ(ReadImage(folder / "b.jpg").Width(), 24);
  folder.Write("c.txt", std::string("not a picture"));
  EXPECT_THROW(ReadImage(folder / "c.txt"), EToolError);

#ifndef PIXVANE_HAVE_IMAGE_FILES
  // A tool without the animation encoders says so, rather than making a
  // folder of PNG files called d.gif.
  EXPECT_THROW(WriteFrames(folder / "d.gif", {bitmap}, {40}), EToolError);
  EXPECT_FALSE(std::filesystem::exists(folder / "d.gif"));
#else
  WriteFrames(folder / "d.gif", {bitmap, Gradient(13, 7, 90), Gradient(13, 7, 140)}, {40, 40, 40});
  int error = 0;
  GifFileType* gif = DGifOpenFileName((folder / "d.gif").string().c_str(), &error);
  ASSERT_NE(gif, nullptr);
  ASSERT_EQ(DGifSlurp(gif), GIF_OK);
  EXPECT_EQ(gif->ImageCount, 3);
  EXPECT_EQ(gif->SWidth, 13);
  // A frame of fewer than 256 colours, one level apart, keeps every one in
  // its own palette: nothing posterised.
  const SavedImage& second = gif->SavedImages[1];
  ASSERT_NE(second.ImageDesc.ColorMap, nullptr);
  const TBitmap secondBitmap = Gradient(13, 7, 90);
  int wrong = 0;
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) {
      GifColorType c = second.ImageDesc.ColorMap->Colors[second.RasterBits[y * 13 + x]];
      wrong += RGBColor(c.Red, c.Green, c.Blue) != secondBitmap.Pixel(x, y);
    }
  EXPECT_EQ(wrong, 0);
  DGifCloseFile(gif, &error);
#endif
}

#ifdef PIXVANE_HAVE_IMAGE_FILES
TEST(ImageFiles, AnimationsByTheirEnding) {
  TToolFolder folder;
  EXPECT_TRUE(IsAnimationFile("a.GIF"));
  EXPECT_TRUE(IsAnimationFile("a.webp"));
  EXPECT_FALSE(IsAnimationFile("frames"));
  WriteFrames(folder / "e.webp", {Gradient(13, 7, 40), Gradient(13, 7, 140)}, {40, 1000});
  const std::vector<uint8_t> written = test::ReadBytes(folder / "e.webp");
  const std::string bytes(written.begin(), written.end());
  ASSERT_GT(bytes.size(), 30u);
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(bytes.substr(8, 4), "WEBP");
  size_t frames = 0;
  for (size_t at = bytes.find("ANMF"); at != std::string::npos; at = bytes.find("ANMF", at + 4))
    ++frames;
  EXPECT_EQ(frames, 2u);
  EXPECT_THROW(WriteFrames(folder / "none" / "f.webp", {Gradient(4, 4, 0)}, {40}), EToolError);
}
#endif

}  // namespace
}  // namespace pixvane::maker
