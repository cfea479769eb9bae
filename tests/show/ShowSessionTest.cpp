#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>

#include <jpeglib.h>

#include "base/Errors.h"
#include "base/Random.h"
#include "base/Stream.h"
#include "package/ClassRegistry.h"
#include "package/PackageWriter.h"
#include "show/ShowSession.h"
#include "support/TestJpeg.h"
#include "transition/HeadlessViewHost.h"

namespace pixvane {
namespace {

// The package file as the session opens it: where it was first sent to
// (the object read there may seek on its own), and whether it is open.
class TPackageFile : public TMemoryStream {
 public:
  TPackageFile(std::vector<uint8_t> bytes, int& openFiles, std::vector<int64_t>& seeks)
      : TMemoryStream(std::move(bytes)), FOpenFiles(openFiles), FSeeks(seeks) {
    ++FOpenFiles;
  }
  ~TPackageFile() override { --FOpenFiles; }
  void Seek(int64_t position) override {
    if (!FSought) FSeeks.push_back(position);
    FSought = true;
    TMemoryStream::Seek(position);
  }

 private:
  bool FSought = false;
  int& FOpenFiles;
  std::vector<int64_t>& FSeeks;
};

// The platform as the session sees it: a package in memory, a screen, a
// timer that is only written down and Flash requests that are counted.
// Composing the slide is TSlideComposer's, tested on its own.
class TFakePlatform : public TShowPlatform, public TCaptionPainter {
 public:
  THeadlessViewHost Host;
  std::vector<uint8_t> Package;
  std::vector<int64_t> Seeks;
  int OpenFiles = 0;
  std::optional<uint32_t> TimerMs;
  int TimerChanges = 0;
  int FlashShows = 0;
  TMediaPlayer* Music = nullptr;
  TShowScreen Shape{64, 48, {}};
  bool Background = false;

  TViewHost& ViewHost() override { return Host; }
  void ArmShowTimer(uint32_t ms) override {
    TimerMs = ms;
    ++TimerChanges;
  }
  void DisarmShowTimer() override {
    TimerMs.reset();
    ++TimerChanges;
  }
  TCaptionPainter& CaptionPainter() override { return *this; }
  std::unique_ptr<TStream> OpenPackage() override {
    return std::make_unique<TPackageFile>(Package, OpenFiles, Seeks);
  }
  TShowScreen Screen() override { return Shape; }
  bool PreparesInBackground() override { return Background; }
  TMediaPlayer* MusicDevice() override { return Music; }
  void StartFlashShow() override { ++FlashShows; }

  void MeasureText(const TStoredText& text, const TFont&, int32_t& cx, int32_t& cy) override {
    cx = static_cast<int32_t>(text.Bytes.size()) * 6;
    cy = 10;
  }
  void DrawText(TBitmap&, const TRect&, int32_t, int32_t, const TStoredText& text,
                const TFont&) override {
    Drawn.push_back(text);
  }
  std::vector<TStoredText> Drawn;
  TCoverage TextCoverage(const TStoredText&, const TFont&) override { return {}; }
};

// A picture with something to see move: a diagonal ramp.
std::vector<uint8_t> RampJpeg(int width, int height) {
  return test::CompressJpeg(width, height, 3, JCS_RGB, 95, false, [&](int y, uint8_t* row) {
    for (int x = 0; x < width; ++x)
      row[3 * x] = row[3 * x + 1] = row[3 * x + 2] =
          static_cast<uint8_t>((x + y) * 255 / (width + height));
  });
}

std::vector<uint8_t> MakePackage(int pictures) {
  RegisterStreamClasses();
  TMemoryStream file;
  file.Write("MZ player", 9);
  TSSFileLocations settings;
  settings.lStretch = true;
  settings.Interval = 1000;
  TPackageWriter writer(file, settings);
  for (int i = 0; i < pictures; ++i)
    writer.AddPicture(RampJpeg(32, 24), "p" + std::to_string(i) + ".jpg");
  writer.Finish();
  return file.Bytes();
}

struct TShow {
  TFakePlatform Platform;
  std::unique_ptr<TShowSession> Session;

  // The music device is looked at when the session is made; seed is its
  // generator's state.
  explicit TShow(int pictures, TMediaPlayer* music = nullptr, bool background = false,
                 uint32_t seed = 0) {
    Platform.Package = MakePackage(pictures);
    Platform.Music = music;
    Platform.Background = background;
    Session = std::make_unique<TShowSession>(Platform, TRandom(seed));
    EXPECT_TRUE(Session->ReadPackage(*Platform.OpenPackage()));
    Session->SetClientSize(64, 48);
    Platform.Seeks.clear();
  }
  TSSFileLocations& Settings() { return Session->Settings(); }
  int LastPicture() {
    for (int i = 0; i < Settings().PicCount(); ++i)
      if (Settings().PicOffsetAt(i) == Platform.Seeks.back()) return i;
    return -1;
  }
};

TEST(ShowSession, NoPicturesLeavesTheTimerAlone) {
  TShow show(0);
  show.Session->ShowTimerTick();
  EXPECT_EQ(show.Platform.TimerChanges, 0);
  EXPECT_TRUE(show.Platform.Seeks.empty());
}

TEST(ShowSession, PicturesAndEffectsCycleIndependently) {
  TShow show(3);
  show.Settings().EffectList.SetCommaText("5,9");
  std::vector<int> pictures, styles;
  for (int tick = 0; tick < 5; ++tick) {
    show.Session->ShowTimerTick();
    pictures.push_back(show.LastPicture());
    styles.push_back(show.Session->View().Style);
    EXPECT_TRUE(show.Platform.TimerMs);
  }
  EXPECT_EQ(pictures, (std::vector<int>{0, 1, 2, 0, 1}));
  EXPECT_EQ(styles, (std::vector<int>{5, 9, 5, 9, 5}));
}

TEST(ShowSession, EachSlideShowsItsPicturesCaption) {
  TShow show(3);
  show.Settings().Text = "Beach";
  show.Settings().SetPicCaptions({"", "\xE6\x9D\xB1"});  // the third picture has none either
  for (int tick = 0; tick < 3; ++tick) show.Session->ShowTimerTick();
  EXPECT_EQ(show.Platform.Drawn,
            (std::vector<TStoredText>{"Beach", {"\xE6\x9D\xB1", true}, "Beach"}));
}

TEST(ShowSession, StylesKeepOnlyTheLowEightBitsAndNoEffectsMeansTheCustomStyle) {
  TShow show(1);
  show.Session->ShowTimerTick();
  EXPECT_EQ(show.Session->View().Style, 0);
  show.Settings().EffectList.SetCommaText("261,oops");
  show.Session->ShowTimerTick();
  EXPECT_EQ(show.Session->View().Style, 5);
  show.Session->ShowTimerTick();
  EXPECT_EQ(show.Session->View().Style, 0) << "an item that is not a number reads as 0";
}

TEST(ShowSession, RandomOrdersDrawFromTheShowsGenerator) {
  TShow show(3, nullptr, false, 4242);
  show.Settings().lRandomPic = true;
  show.Settings().lRandomStyle = true;
  show.Settings().EffectList.SetCommaText("5,9,17");
  std::vector<int> pictures, styles;
  for (int tick = 0; tick < 6; ++tick) {
    show.Session->ShowTimerTick();
    pictures.push_back(show.LastPicture());
    styles.push_back(show.Session->View().Style);
  }
  TRandom replay(4242);
  for (int tick = 0; tick < 6; ++tick) {
    EXPECT_EQ(pictures[tick], replay.Random(3));
    EXPECT_EQ(styles[tick], show.Settings().EffectAt(replay.Random(3)));
  }
}

TEST(ShowSession, FlashPackageHandsOverAfterItsLastPicture) {
  TShow show(2);
  show.Settings().Ver = "flash";
  show.Session->Start();
  EXPECT_EQ(show.Platform.FlashShows, 0) << "the pictures come first";
  show.Session->ShowTimerTick();
  show.Session->ShowTimerTick();
  EXPECT_EQ(show.Platform.FlashShows, 0);
  show.Session->ShowTimerTick();
  EXPECT_EQ(show.Platform.FlashShows, 1);
  EXPECT_FALSE(show.Platform.TimerMs) << "from now on only movies play";
  EXPECT_EQ(show.Platform.Seeks.size(), 2u);

  TShow photo(2);
  photo.Settings().Ver = "Flash";  // not exactly "flash": the pictures start over
  for (int tick = 0; tick < 3; ++tick) photo.Session->ShowTimerTick();
  EXPECT_EQ(photo.LastPicture(), 0);

  TShow movies(0);
  movies.Settings().Ver = "flash";
  movies.Session->Start();
  EXPECT_EQ(movies.Platform.FlashShows, 1) << "without pictures the movies start at once";
}

TEST(ShowSession, AnUnreadablePictureStopsTheShowWithTheTimerOff) {
  TShow show(2);
  show.Settings().PicList.Items[1] = "7";
  show.Session->ShowTimerTick();
  EXPECT_THROW(show.Session->ShowTimerTick(), EError);
  EXPECT_FALSE(show.Platform.TimerMs);
  EXPECT_EQ(show.Platform.OpenFiles, 0) << "the file is given back on the error path too";
  EXPECT_EQ(show.Session->PicIndex(), 1);
}

// The pause between slides starts when the transition has ended: a timer
// left running through a slow transition would cut the next pause short.
TEST(ShowSession, TheTimerSleepsThroughTheTransitionAndThenWaitsTheInterval) {
  TShow show(2);
  show.Settings().EffectList.SetCommaText("5");
  show.Settings().Interval = 700;
  show.Platform.ArmShowTimer(700);
  int paints = 0, armedPaints = 0, closedPaints = 0;
  show.Platform.Host.OnPainted = [&](const TBitmap&) {
    ++paints;
    armedPaints += show.Platform.TimerMs.has_value();
    closedPaints += show.Platform.OpenFiles == 0;
  };
  show.Session->ShowTimerTick();
  EXPECT_GT(paints, 5);
  EXPECT_EQ(armedPaints, 0);
  EXPECT_EQ(closedPaints, 0) << "the picture's file stays open while it is shown";
  EXPECT_EQ(show.Platform.TimerMs, 700u);
  EXPECT_EQ(show.Platform.OpenFiles, 0);

  show.Settings().Interval = 0;
  show.Session->ShowTimerTick();
  EXPECT_FALSE(show.Platform.TimerMs) << "no interval: the show stays on this slide";
}

// Between two slides a panning picture gets a frame every 60th of a second
// (on the headless host's virtual clock) and each differs from the last;
// at the end of its path, and always in a show without motion, no frames
// are asked for at all.
TEST(ShowSession, APanningPictureMovesAtSixtyFramesUntilItsPathEnds) {
  TShow still(1);
  still.Session->ShowTimerTick();
  EXPECT_FALSE(still.Platform.Host.FramesRunning());

  TShow show(2);
  show.Settings().Motion = 1;
  show.Settings().SetScale(TScaleMode::Fill);
  show.Settings().EffectList.SetCommaText("0");
  show.Settings().Interval = 1000;
  THeadlessViewHost& host = show.Platform.Host;
  show.Session->ShowTimerTick();
  ASSERT_TRUE(host.FramesRunning());
  std::vector<TBitmap> frames{host.Paint()};
  host.OnPainted = [&](const TBitmap& painted) { frames.push_back(painted); };
  host.AdvanceWithFrames(500);
  EXPECT_EQ(frames.size(), 31u) << "30 frames in half a second";
  for (size_t i = 1; i < frames.size(); ++i)
    EXPECT_FALSE(
        std::equal(frames[i].ScanLine(0), frames[i].ScanLine(48), frames[i - 1].ScanLine(0)))
        << "frame " << i << " is the one before";

  host.AdvanceWithFrames(20000);
  EXPECT_FALSE(host.FramesRunning()) << "at its end the picture holds still";
  show.Session->ShowTimerTick();
  EXPECT_TRUE(host.FramesRunning()) << "the next slide moves again";
  show.Session->Stop();
  EXPECT_FALSE(host.FramesRunning());
}

// Prepared in the background, each slide is read after the one before has
// run its transition: the same pictures and styles in the same order, the
// show's generator drawn from as it is without a worker.
TEST(ShowSession, SlidesPreparedAheadFollowTheSameOrder) {
  auto run = [](bool background, int32_t motion) {
    TShow show(4, nullptr, background, 99);
    show.Settings().lRandomPic = true;
    show.Settings().lRandomStyle = true;
    show.Settings().EffectList.SetCommaText("5,9,17");
    show.Settings().Motion = motion;  // the paths are drawn from the generator too
    show.Session->Start();
    std::vector<int> seen;
    for (int tick = 0; tick < 6; ++tick) {
      show.Session->ShowTimerTick();
      seen.push_back(show.Session->PicIndex());
      seen.push_back(show.Session->View().Style);
      EXPECT_EQ(show.Platform.OpenFiles, background ? 1 : 0) << "the next slide's file";
    }
    const TBitmap& last = show.Session->View().Picture();
    return std::pair{seen, std::vector<uint8_t>(last.ScanLine(0), last.ScanLine(last.Height()))};
  };
  EXPECT_EQ(run(true, 0), run(false, 0));
  EXPECT_EQ(run(true, 1), run(false, 1));
}

TEST(ShowSession, AnErrorOfTheWorkerReachesTheTickOfItsSlide) {
  TShow show(2, nullptr, true);
  show.Settings().PicList.Items[1] = "7";
  show.Session->Start();
  show.Session->ShowTimerTick();
  EXPECT_TRUE(show.Platform.TimerMs) << "the next slide's failure waits for its tick";
  EXPECT_THROW(show.Session->ShowTimerTick(), EError);
  EXPECT_FALSE(show.Platform.TimerMs);
  EXPECT_EQ(show.Platform.OpenFiles, 0);
  EXPECT_EQ(show.Session->PicIndex(), 1);
}

// Two monitors, each with the next picture and the next style of its own.
TEST(ShowSession, EachMonitorTakesTheNextPictureAndStyle) {
  TShow show(3);
  show.Platform.Shape = {64, 48, {{{0, 0, 32, 48}}, {{32, 0, 64, 24}}}};
  show.Settings().MonitorMode = 1;
  show.Settings().EffectList.SetCommaText("5,9,17");
  show.Session->ShowTimerTick();
  const std::vector<TTransitionArea>& areas = show.Session->View().Areas;
  ASSERT_EQ(areas.size(), 2u);
  EXPECT_EQ(areas[0].Bounds, (TRect{0, 0, 32, 48}));
  EXPECT_EQ(areas[0].Style, 5);
  EXPECT_EQ(areas[1].Style, 9);
  EXPECT_EQ(show.Platform.Seeks.size(), 1u) << "both pictures read from one opened file";
  show.Session->ShowTimerTick();
  EXPECT_EQ(show.Session->PicIndex(), 2);
  EXPECT_EQ(show.Session->View().Areas[0].Style, 17);
}

// Records the tracks started.
class TFakeMusic : public TMediaPlayer {
 public:
  std::vector<std::string> Played;
  std::string FileName;
  void SetFileName(const std::string& path) override { FileName = path; }
  void Open() override {}
  void Play() override { Played.push_back(FileName); }
  void Stop() override {}
  void SetNotify(bool) override {}
};

TEST(ShowSession, MusicPlaysForPhotosOnAPlatformWithSound) {
  auto withSounds = [](TShow& show, const char* kind) {
    show.Settings().Ver = kind;
    show.Settings().SndList.SetCommaText("100,200");
    show.Settings().SndFileNamesList.SetCommaText("a.wav,b.wav");
  };
  TFakeMusic device;
  TShow photo(1, &device);
  withSounds(photo, "photo");
  photo.Session->Start();
  photo.Session->MusicNotify();
  ASSERT_EQ(device.Played.size(), 2u);
  EXPECT_NE(device.Played[1].find("b.wav"), std::string::npos);

  TFakeMusic flashDevice;
  TShow flash(1, &flashDevice);
  withSounds(flash, "flash");
  flash.Session->Start();
  EXPECT_TRUE(flashDevice.Played.empty());

  // A silent platform draws nothing from the generator for a track it would
  // not play: the pictures' random order stays what it was.
  TShow silent(4, nullptr, false, 7);
  withSounds(silent, "photo");
  silent.Settings().SetSoundOrder(TSoundOrder::RepeatOne);
  silent.Settings().lRandomPic = true;
  silent.Session->Start();
  TRandom replay(7);
  for (int tick = 0; tick < 6; ++tick) {
    silent.Session->ShowTimerTick();
    EXPECT_EQ(silent.LastPicture(), replay.Random(4)) << "tick " << tick;
  }
}

}  // namespace
}  // namespace pixvane
