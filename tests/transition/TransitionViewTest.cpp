#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "transition/HeadlessViewHost.h"
#include "transition/TransitionView.h"

namespace pixvane {
namespace {

constexpr TColor Red = RGBColor(255, 0, 0), Blue = RGBColor(0, 0, 255), Green = RGBColor(0, 255, 0);

TBitmap Solid(int w, int h, TColor color) {
  TBitmap bitmap(w, h);
  bitmap.Fill(color);
  return bitmap;
}

// A view in a headless host, with the progress values of its frames recorded.
struct TRig {
  THeadlessViewHost Host;
  std::vector<int> Frames;
  int Completed = 0;
  TRandom Random;
  TTransitionView View{Host, Random};  // last, so it goes first and its events find the rest

  explicit TRig(THeadlessViewHost::TClock clock = THeadlessViewHost::TClock::Virtual)
      : Host(clock) {
    Host.Attach(&View);
    View.Threaded = false;
    View.OnProgress = [this](TCustomTransitionView& v) { Frames.push_back(v.Progress()); };
    View.OnComplete = [this](TCustomTransitionView&) { ++Completed; };
  }
  void Show(const TBitmap& picture, int style) {
    View.SetPicture(&picture);
    View.Style = static_cast<uint8_t>(style);
    View.Execute();
  }
};

TEST(TransitionView, StepIsKeptWithinOneToAHundred) {
  TRig rig;
  rig.View.SetStep(0);
  EXPECT_EQ(rig.View.Step(), 1);
  rig.View.SetStep(250);
  EXPECT_EQ(rig.View.Step(), 100);
  TBitmap picture = Solid(20, 10, Red);
  rig.Show(picture, 118);
  EXPECT_EQ(rig.Frames, std::vector<int>{100}) << "Step 100: one frame after the first";
  EXPECT_EQ(rig.Completed, 1);
}

TEST(TransitionView, ForwardAndReverseSchedules) {
  TRig rig;
  rig.View.SetStep(30);
  TBitmap picture = Solid(20, 10, Red);
  rig.Show(picture, 118);
  EXPECT_EQ(rig.Frames, (std::vector<int>{30, 60, 90, 100}));
  EXPECT_FALSE(rig.View.Busy());

  TRig back;
  back.View.SetStep(30);
  back.View.Reverse = true;
  back.Show(picture, 118);
  EXPECT_EQ(back.Frames, (std::vector<int>{100, 70, 40, 10, 0}));
  EXPECT_EQ(back.Completed, 1);
}

TEST(TransitionView, EachFrameTakesItsDelayOnTheClock) {
  TRig rig;
  int pumps = 0;
  rig.Host.OnMessages = [&] { ++pumps; };
  TBitmap picture = Solid(20, 10, Red);
  uint32_t start = rig.Host.TickCount();
  rig.Show(picture, 118);  // Step 4, Delay 40
  EXPECT_EQ(rig.Frames.size(), 25u);
  EXPECT_EQ(rig.Host.TickCount() - start, 24u * 41u) << "more than Delay ms between frames";
  EXPECT_GE(pumps, 24);

  rig.View.Delay = 0;
  rig.Frames.clear();
  pumps = 0;
  rig.View.Execute();
  EXPECT_EQ(rig.Frames.size(), 26u) << "from 100 back to 0 first, then 25 steps";
  EXPECT_GE(pumps, 24) << "even with Delay 0 messages are served between frames";
}

TEST(TransitionView, ExecuteNeedsAPictureAndIgnoresASecondCall) {
  TRig rig;
  rig.View.Execute();
  EXPECT_FALSE(rig.View.Busy());
  rig.View.SetManual(true);
  TBitmap picture = Solid(8, 8, Red);
  rig.Show(picture, 118);
  ASSERT_TRUE(rig.View.Busy());
  rig.View.SetProgress(50);
  rig.View.Execute();
  EXPECT_EQ(rig.View.Progress(), 50);
  EXPECT_TRUE(rig.View.Busy());
}

TEST(TransitionView, CustomStyleWithoutHandlerShowsThePictureAndEnds) {
  TRig rig;
  TBitmap picture = Solid(16, 9, Blue);
  int frames = 0;
  rig.View.OnAfterNewFrame = [&](TCustomTransitionView&, TBitmap&, TBitmap&) { ++frames; };
  rig.Show(picture, 0);
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(rig.Completed, 1);
  EXPECT_EQ(rig.View.Progress(), 100);
  EXPECT_EQ(rig.View.ScreenBitmap().Pixel(15, 8), Blue);
}

// Areas change together, each in its own style: the custom one shows its
// part at once and waits there while the other runs its course.
TEST(TransitionView, AreasRunTheirOwnStylesSideBySide) {
  TRig rig;
  TBitmap red = Solid(16, 8, Red), blue = Solid(16, 8, Blue);
  rig.Show(red, 0);
  rig.View.Areas = {{{0, 0, 8, 8}, 0}, {{8, 0, 16, 8}, 1}, {{40, 40, 50, 50}, 0}};
  std::vector<std::pair<TColor, TColor>> corners;  // left and right parts, once a frame
  rig.View.OnAfterNewFrame = [&](TCustomTransitionView& v, TBitmap&, TBitmap& screen) {
    corners.push_back({screen.Pixel(7, 7), screen.Pixel(8, 7)});
  };
  rig.Show(blue, 0);
  ASSERT_GT(corners.size(), 2u) << "the custom part does not end the transition";
  EXPECT_EQ(corners.front(), std::pair(Blue, Red));
  EXPECT_EQ(rig.View.Progress(), 100);
  for (int x = 0; x < 16; ++x) EXPECT_EQ(rig.View.ScreenBitmap().Pixel(x, 7), Blue) << x;
}

TEST(TransitionView, CustomStyleHandlerDrawsEveryFrame) {
  TRig rig;
  std::vector<int> seen;
  rig.View.OnCustomDraw = [&](TCustomTransitionView& v, TBitmap& picture, TBitmap& screen) {
    seen.push_back(v.Progress());
    EXPECT_EQ(picture.Width(), screen.Width());
  };
  rig.View.SetStep(50);
  TBitmap picture = Solid(4, 4, Green);
  rig.Show(picture, 0);
  EXPECT_EQ(seen, (std::vector<int>{50, 100}));
  EXPECT_EQ(rig.View.ScreenBitmap().Pixel(0, 0), Green) << "the completion draws over the handler";
}

TEST(TransitionView, BeforeNewFrameSeesTheOldScreenBeforeTheStyleDraws) {
  TRig rig;
  TBitmap first = Solid(10, 10, Green), second = Solid(10, 10, Blue);
  rig.Show(first, 0);
  std::vector<TColor> seen;
  rig.View.OnBeforeNewFrame = [&](TCustomTransitionView&, TBitmap& picture, TBitmap& screen) {
    seen.push_back(screen.Pixel(5, 5));
    seen.push_back(picture.Pixel(5, 5));
  };
  rig.View.SetManual(true);
  rig.Show(second, 118);
  rig.View.SetProgress(100);
  EXPECT_EQ(seen, (std::vector<TColor>{Green, Blue}));
  EXPECT_EQ(rig.View.ScreenBitmap().Pixel(5, 5), Blue);
}

TEST(TransitionView, StopKeepsThePartialFrameWithoutComplete) {
  TRig rig;
  // Marks every frame with its progress, so the frame on display can be told.
  rig.View.OnAfterNewFrame = [](TCustomTransitionView& v, TBitmap&, TBitmap& screen) {
    screen.SetPixel(0, 0, RGBColor(static_cast<uint8_t>(v.Progress()), 0, 0));
  };
  rig.Host.OnMessages = [&] {
    if (rig.View.Progress() >= 40) rig.View.Stop();
  };
  TBitmap picture = Solid(10, 10, Blue);
  rig.Show(picture, 118);
  EXPECT_FALSE(rig.View.Busy());
  EXPECT_EQ(rig.Completed, 0);
  EXPECT_EQ(rig.View.Progress(), 40);
  EXPECT_EQ(rig.View.ScreenBitmap().Pixel(0, 0), RGBColor(40, 0, 0));

  // The next transition starts from what was on display.
  rig.Host.OnMessages = nullptr;
  rig.View.OnAfterNewFrame = nullptr;
  rig.View.SetManual(true);
  rig.View.Execute();
  rig.View.SetProgress(30);
  rig.View.SetProgress(0);  // a frame that shows only the old screen
  EXPECT_EQ(rig.View.ScreenBitmap().Pixel(0, 0), RGBColor(40, 0, 0));
}

TEST(TransitionView, ManualHoldsAndResumes) {
  TRig rig;
  rig.View.SetManual(true);
  EXPECT_EQ(rig.View.Progress(), 0);
  TBitmap picture = Solid(30, 20, Red);
  rig.Show(picture, 118);
  EXPECT_TRUE(rig.View.Busy());
  EXPECT_TRUE(rig.Frames.empty()) << "p is 0 already: no frame until the caller moves it";

  rig.View.SetProgress(60);
  rig.Host.Update();
  rig.View.SetProgress(30);
  EXPECT_EQ(rig.Host.UpdatedRegion().Bounds(), (TRect{0, 0, 30, 20}))
      << "going back repaints the whole picture";
  rig.View.SetProgress(100);
  EXPECT_TRUE(rig.View.Busy()) << "reaching 100 while held does not finish";
  EXPECT_EQ(rig.Completed, 0);

  rig.View.SetProgress(96);
  rig.Frames.clear();
  rig.View.SetManual(false);
  EXPECT_EQ(rig.Frames, std::vector<int>{100});
  EXPECT_FALSE(rig.View.Busy());
  EXPECT_EQ(rig.Completed, 1);

  rig.View.Reverse = true;
  rig.View.SetManual(true);
  EXPECT_EQ(rig.View.Progress(), 100) << "set while idle: only the start value";
}

TEST(TransitionView, ManualSetDuringAnimationHolds) {
  TRig rig;
  rig.Host.OnMessages = [&] {
    if (rig.View.Progress() == 20) rig.View.SetManual(true);
  };
  TBitmap picture = Solid(10, 10, Red);
  rig.Show(picture, 118);
  EXPECT_TRUE(rig.View.Busy());
  EXPECT_EQ(rig.View.Progress(), 20);
  rig.View.Stop();
  EXPECT_FALSE(rig.View.Busy());
  EXPECT_EQ(rig.Completed, 0);
}

TEST(TransitionView, StylesBeyond127DrawNothingButStillFinish) {
  TRig rig;
  TBitmap first = Solid(10, 10, Green);
  rig.Show(first, 0);
  int frames = 0;
  rig.View.OnAfterNewFrame = [&](TCustomTransitionView&, TBitmap&, TBitmap&) { ++frames; };
  TBitmap second = Solid(12, 10, Blue);
  rig.Frames.clear();
  rig.Show(second, 200);
  EXPECT_EQ(frames, 0);
  EXPECT_EQ(rig.Frames.size(), 26u) << "back to 0, then the whole schedule";
  EXPECT_EQ(rig.Completed, 2);
  EXPECT_EQ(rig.View.ScreenBitmap().Width(), 12);
  EXPECT_EQ(rig.View.ScreenBitmap().Pixel(9, 9), Green) << "earlier content kept, resized";
}

TEST(TransitionView, PlacementCentresAndMayHangOver) {
  TRig rig;
  rig.View.SetAutoSize(false);
  rig.View.SetClientSize(100, 100);
  rig.View.SetCenter(true);
  TBitmap picture(300, 200);
  picture.Fill(Red);
  picture.FillRect({150, 100, 151, 101}, Blue);  // the middle pixel
  rig.Show(picture, 0);
  EXPECT_EQ(rig.View.PlacementRect(), (TRect{-100, -50, 200, 150}));
  rig.View.Paint();
  EXPECT_EQ(rig.View.PaintBuffer().Pixel(50, 50), Blue);
}

TEST(TransitionView, FitRectKeepsTheAspectRatioCentred) {
  EXPECT_EQ(TCustomTransitionView::FitRect({0, 0, 400, 100}, {0, 0, 300, 300}),
            (TRect{0, 112, 300, 187}));
  EXPECT_EQ(TCustomTransitionView::FitRect({0, 0, 100, 400}, {10, 10, 310, 310}),
            (TRect{122, 10, 197, 310}));
  EXPECT_EQ(TCustomTransitionView::FitRect({0, 0, 50, 50}, {0, 0, 200, 100}),
            (TRect{50, 0, 150, 100}));
}

TEST(TransitionView, InvalidatedAreasAreMappedToTheControl) {
  TRig rig;
  rig.View.SetAutoSize(false);
  rig.View.SetClientSize(200, 100);
  rig.View.SetStretch(true);
  rig.View.SetManual(true);
  TBitmap picture = Solid(100, 100, Red);
  rig.Show(picture, 118);
  rig.Host.Update();
  rig.View.InvalidateArea({10, 20, 30, 40});
  EXPECT_EQ(rig.Host.InvalidRegion().Bounds(), (TRect{20, 20, 60, 40}));

  rig.Host.Update();
  rig.View.SetStretchFine(true);
  rig.Host.Update();
  rig.View.InvalidateArea({0, 0, 100, 100});
  EXPECT_EQ(rig.Host.InvalidRegion().Bounds(), (TRect{50, 0, 150, 100}));
}

TEST(TransitionView, PaintsTheBackgroundModes) {
  TRig rig;
  rig.View.SetAutoSize(false);
  rig.View.SetClientSize(10, 10);
  rig.View.Color = Green;
  TBitmap tile(4, 4);
  tile.Fill(Red);
  tile.SetPixel(0, 0, Blue);
  rig.View.Paint();
  EXPECT_TRUE(rig.View.PaintsColorOnly());
  rig.View.SetBgPicture(&tile);
  rig.View.Paint();
  EXPECT_FALSE(rig.View.PaintsColorOnly());
  EXPECT_EQ(rig.View.PaintBuffer().Pixel(8, 8), Blue) << "tiled from the top-left corner";
  EXPECT_EQ(rig.View.PaintBuffer().Pixel(9, 9), Red);

  rig.View.SetBgMode(TBackgroundMode::bmCentered);
  rig.View.Paint();
  EXPECT_EQ(rig.View.PaintBuffer().Pixel(3, 3), Blue);
  EXPECT_EQ(rig.View.PaintBuffer().Pixel(0, 0), Green) << "the colour outside";

  rig.View.SetBgMode(TBackgroundMode::bmStretched);
  rig.View.Paint();
  EXPECT_EQ(rig.View.PaintBuffer().Pixel(9, 9), Red);
  EXPECT_EQ(rig.View.PaintBuffer().Pixel(0, 0), Blue);

  rig.View.SetBgMode(TBackgroundMode::bmNone);
  rig.View.Paint();
  EXPECT_EQ(rig.View.PaintBuffer().Pixel(0, 0), Green);
  EXPECT_TRUE(rig.View.PaintsColorOnly());

  TBitmap picture = Solid(4, 4, Red);  // smaller than the client: the colour shows around it
  rig.Show(picture, 0);
  rig.View.Paint();
  EXPECT_FALSE(rig.View.PaintsColorOnly());
}

TEST(TransitionView, OldScreenIsWhatWasPainted) {
  TRig rig;
  rig.View.SetAutoSize(false);
  rig.View.SetClientSize(10, 10);
  rig.View.Color = Green;
  rig.View.Paint();
  rig.View.SetManual(true);
  TBitmap picture = Solid(10, 10, Red);
  rig.Show(picture, 118);
  rig.View.SetProgress(50);
  rig.View.SetProgress(0);
  EXPECT_EQ(rig.View.ScreenBitmap().Pixel(5, 5), Green);
  rig.View.SetProgress(100);
  EXPECT_EQ(rig.View.ScreenBitmap().Pixel(5, 5), Red);
}

using Clock = THeadlessViewHost::TClock;

void PumpUntilIdle(TRig& rig) {
  auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (rig.View.Busy() && std::chrono::steady_clock::now() < limit) rig.Host.ProcessMessages(5);
}

TEST(TransitionViewThread, RunsFramesFromTheTimingThread) {
  TRig rig(Clock::Real);
  rig.View.Threaded = true;
  rig.View.Delay = 1;
  rig.View.SetStep(10);
  TBitmap picture = Solid(10, 10, Red);
  rig.Show(picture, 118);
  EXPECT_TRUE(rig.View.Busy()) << "Execute returns at once";
  PumpUntilIdle(rig);
  EXPECT_FALSE(rig.View.Busy());
  EXPECT_EQ(rig.Frames, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
  EXPECT_EQ(rig.Completed, 1);
  rig.View.Execute();  // a second transition on a new thread
  PumpUntilIdle(rig);
  EXPECT_EQ(rig.Completed, 2);
}

TEST(TransitionViewThread, StopEndsTheThreadWithoutComplete) {
  TRig rig(Clock::Real);
  rig.View.Threaded = true;
  rig.View.Delay = 20;
  TBitmap picture = Solid(10, 10, Red);
  rig.Show(picture, 118);
  while (rig.Frames.size() < 2) rig.Host.ProcessMessages(5);
  rig.View.Stop();
  EXPECT_FALSE(rig.View.Busy());
  EXPECT_EQ(rig.Completed, 0);
  size_t frames = rig.Frames.size();
  rig.Host.ProcessMessages(50);
  EXPECT_EQ(rig.Frames.size(), frames) << "no frames after Stop";
}

TEST(TransitionViewThread, StopFromInsideAFrameDoesNotWaitForItself) {
  TRig rig(Clock::Real);
  rig.View.Threaded = true;
  rig.View.Delay = 1;
  rig.View.OnProgress = [&](TCustomTransitionView& v) {
    if (v.Progress() == 20) v.Stop();
  };
  TBitmap picture = Solid(10, 10, Red);
  rig.Show(picture, 118);
  PumpUntilIdle(rig);
  EXPECT_FALSE(rig.View.Busy());
  EXPECT_EQ(rig.View.Progress(), 20);
  EXPECT_EQ(rig.Completed, 0);
}

TEST(TransitionViewThread, ResumingBeforeTheHeldThreadEndedCarriesOn) {
  TRig rig(Clock::Real);
  rig.View.Threaded = true;
  rig.View.Delay = 1;
  TBitmap picture = Solid(10, 10, Red);
  rig.Show(picture, 118);
  while (rig.Frames.empty()) rig.Host.ProcessMessages(5);
  // The timing thread has not yet seen the hold when the caller lets go.
  rig.View.SetManual(true);
  rig.View.SetManual(false);
  PumpUntilIdle(rig);
  EXPECT_FALSE(rig.View.Busy());
  EXPECT_EQ(rig.View.Progress(), 100);
  EXPECT_EQ(rig.Completed, 1);
}

TEST(TransitionViewThread, DestructionWaitsForTheThread) {
  int completed = 0;
  {
    TRig rig(Clock::Real);
    rig.View.Threaded = true;
    rig.View.Delay = 30;
    rig.View.OnComplete = [&](TCustomTransitionView&) { ++completed; };
    TBitmap picture = Solid(10, 10, Red);
    rig.Show(picture, 118);
    rig.Host.ProcessMessages(5);
  }
  EXPECT_EQ(completed, 0);
}

}  // namespace
}  // namespace pixvane
