#include <gtest/gtest.h>

#include <map>

#include "base/Errors.h"
#include "base/Random.h"
#include "show/SlideSequencer.h"
#include "support/TestJpeg.h"
#include "transition/HeadlessViewHost.h"

namespace pixvane {
namespace {

// The saver window as the sequencer sees it: pictures by offset, a screen
// size and a timer flag. Composing the slide is TSlideComposer's, tested on
// its own.
class TFakeWindow : public TSlideHost {
 public:
  std::map<int32_t, std::vector<uint8_t>> Pictures;
  std::vector<int32_t> Loaded;
  int32_t Width = 64, Height = 48;
  bool TimerEnabled = false;
  int TimerChanges = 0;
  bool FlashStarted = false;

  std::unique_ptr<TImage> LoadPictureAt(int32_t offset) override {
    Loaded.push_back(offset);
    auto found = Pictures.find(offset);
    if (found == Pictures.end()) throw EReadError("Invalid stream format");
    auto image = std::make_unique<TImage>();
    image->Picture.SetGraphic(std::make_unique<TJPEGImage>(found->second));
    return image;
  }
  int32_t ScreenWidth() override { return Width; }
  int32_t ScreenHeight() override { return Height; }
  void MeasureText(const std::string& text, const TFont&, int32_t& cx, int32_t& cy) override {
    cx = static_cast<int32_t>(text.size()) * 6;
    cy = 10;
  }
  void DrawText(TBitmap&, const TRect&, int32_t, int32_t, const std::string&,
                const TFont&) override {}
  TCoverage TextCoverage(const std::string&, const TFont&) override { return {}; }
  void SetShowTimerEnabled(bool enabled) override {
    TimerEnabled = enabled;
    ++TimerChanges;
  }
  void ProcessMessages() override {}
  void StartFlashShow() override { FlashStarted = true; }
  void PictureDone() override { ++PicturesDone; }
  int PicturesDone = 0;
};

struct TShow {
  TSSFileLocations Settings;
  TFakeWindow Window;
  THeadlessViewHost ViewHost;
  TTransitionView View{ViewHost};
  TSlideSequencer Sequencer{Settings, View, Window};

  explicit TShow(int pictures) {
    ViewHost.Attach(&View);
    View.Threaded = false;
    View.AlignClient = true;
    View.SetClientSize(Window.Width, Window.Height);
    View.SetCenter(true);
    View.SetStretch(true);
    View.SetStep(50);
    Settings.lStretch = true;
    for (int i = 0; i < pictures; ++i) {
      int32_t offset = 1000 + 100 * i;
      Window.Pictures[offset] = test::MakeJpeg(16, 12);
      Settings.PicList.Items.push_back(std::to_string(offset));
    }
  }
  int LastPicture() const { return (Window.Loaded.back() - 1000) / 100; }
};

TEST(SlideSequencer, NoPicturesLeavesTheTimerAlone) {
  TShow show(0);
  show.Sequencer.ShowTimerTick();
  EXPECT_EQ(show.Window.TimerChanges, 0);
  EXPECT_TRUE(show.Window.Loaded.empty());
}

TEST(SlideSequencer, PicturesAndEffectsCycleIndependently) {
  TShow show(3);
  show.Settings.EffectList.SetCommaText("5,9");
  std::vector<int> pictures, styles;
  for (int tick = 0; tick < 5; ++tick) {
    show.Sequencer.ShowTimerTick();
    pictures.push_back(show.LastPicture());
    styles.push_back(show.View.Style);
    EXPECT_TRUE(show.Window.TimerEnabled);
  }
  EXPECT_EQ(pictures, (std::vector<int>{0, 1, 2, 0, 1}));
  EXPECT_EQ(styles, (std::vector<int>{5, 9, 5, 9, 5}));
}

TEST(SlideSequencer, StylesKeepOnlyTheLowEightBitsAndNoEffectsMeansTheCustomStyle) {
  TShow show(1);
  show.Sequencer.ShowTimerTick();
  EXPECT_EQ(show.View.Style, 0);
  show.Settings.EffectList.SetCommaText("261,oops");
  show.Sequencer.ShowTimerTick();
  EXPECT_EQ(show.View.Style, 5);
  show.Sequencer.ShowTimerTick();
  EXPECT_EQ(show.View.Style, 0) << "an item that is not a number reads as 0";
}

TEST(SlideSequencer, RandomOrdersDrawFromTheSharedGenerator) {
  TShow show(3);
  show.Settings.lRandomPic = true;
  show.Settings.lRandomStyle = true;
  show.Settings.EffectList.SetCommaText("5,9,17");
  SetRandSeed(4242);
  std::vector<int> pictures, styles;
  for (int tick = 0; tick < 6; ++tick) {
    show.Sequencer.ShowTimerTick();
    pictures.push_back(show.LastPicture());
    styles.push_back(show.View.Style);
  }
  SetRandSeed(4242);
  for (int tick = 0; tick < 6; ++tick) {
    EXPECT_EQ(pictures[tick], Random(3));
    EXPECT_EQ(styles[tick], show.Settings.EffectAt(Random(3)));
  }
}

TEST(SlideSequencer, FlashPackageHandsOverAfterItsLastPicture) {
  TShow show(2);
  show.Settings.Ver = "flash";
  show.Sequencer.ShowTimerTick();
  show.Sequencer.ShowTimerTick();
  EXPECT_FALSE(show.Window.FlashStarted);
  show.Sequencer.ShowTimerTick();
  EXPECT_TRUE(show.Window.FlashStarted);
  EXPECT_FALSE(show.Window.TimerEnabled) << "from now on only movies play";
  EXPECT_EQ(show.Window.Loaded.size(), 2u);

  TShow photo(2);
  photo.Settings.Ver = "Flash";  // not exactly "flash": the pictures start over
  for (int tick = 0; tick < 3; ++tick) photo.Sequencer.ShowTimerTick();
  EXPECT_EQ(photo.LastPicture(), 0);
}

TEST(SlideSequencer, AnUnreadablePictureStopsTheShowWithTheTimerOff) {
  TShow show(2);
  show.Settings.PicList.Items[1] = "7";
  show.Sequencer.ShowTimerTick();
  EXPECT_THROW(show.Sequencer.ShowTimerTick(), EReadError);
  EXPECT_FALSE(show.Window.TimerEnabled);
  EXPECT_GE(show.Window.PicturesDone, 2) << "the file is given back on the error path too";
  EXPECT_EQ(show.Sequencer.FPicIndex, 1);
}

}  // namespace
}  // namespace pixvane
