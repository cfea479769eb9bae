#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Errors.h"
#include "show/FlashShow.h"

namespace pixvane {
namespace {

// The control and the window as the movies see them: every call is written
// down, and a call named in FailOn raises as the platform's control would.
class TFakeFlash : public TFlashControl, public TFlashHost {
 public:
  std::vector<std::string> Calls;
  std::string FailOn;
  bool IsVisible = false;
  bool TimerEnabled = false;
  int32_t Total = 10, Current = 0;
  int Exits = 0;

  bool Visible() const override { return IsVisible; }
  void SetVisible(bool visible) override { IsVisible = visible; }
  void Stop() override { Call("Stop"); }
  void SetMovie(const std::string& path) override { Call("Movie " + path); }
  void Play() override { Call("Play"); }
  void StopPlay() override { Call("StopPlay"); }
  int32_t TotalFrames() override { return Total; }
  int32_t CurrentFrame() override { return Current; }
  void HideShowView() override { Calls.push_back("HideShowView"); }
  void SetFlashTimerEnabled(bool enabled) override { TimerEnabled = enabled; }
  void RequestExit() override { ++Exits; }

 private:
  void Call(const std::string& what) {
    Calls.push_back(what);
    if (!FailOn.empty() && what.rfind(FailOn, 0) == 0) throw EError("control failed");
  }
};

struct TMovies {
  TSSFileLocations Settings;
  TFakeFlash Flash;
  TFlashShow Show{Settings, Flash, Flash, [](const std::string& name) { return "T:\\" + name; }};

  explicit TMovies(std::vector<std::string> names) {
    for (const std::string& name : names) Settings.Flash().Append(0, name, 0);
  }
  // The movies loaded so far, in order.
  std::vector<std::string> Loaded() const {
    std::vector<std::string> loaded;
    for (const std::string& call : Flash.Calls)
      if (call.rfind("Movie ", 0) == 0) loaded.push_back(call.substr(6));
    return loaded;
  }
};

TEST(FlashShow, MoviesPlayInListOrderAndRoundAgainAsEachEnds) {
  TMovies movies({"a.swf", "b.swf"});
  movies.Show.PlayNextMovie();
  EXPECT_TRUE(movies.Flash.IsVisible);
  EXPECT_EQ(movies.Flash.Calls,
            (std::vector<std::string>{"HideShowView", "Stop", "Movie T:\\a.swf", "Play"}));
  EXPECT_TRUE(movies.Flash.TimerEnabled);

  movies.Flash.Current = 9;
  movies.Show.TimerFlashTimer();
  EXPECT_EQ(movies.Loaded().size(), 1u) << "one frame short of the end plays on";
  for (int32_t current : {10, 11, 10}) {  // at or past the last frame: ended
    movies.Flash.Current = current;
    movies.Show.TimerFlashTimer();
  }
  EXPECT_EQ(movies.Loaded(),
            (std::vector<std::string>{"T:\\a.swf", "T:\\b.swf", "T:\\a.swf", "T:\\b.swf"}));
}

TEST(FlashShow, WithoutMoviesTheBlankControlCoversThePictures) {
  TMovies movies({});
  movies.Show.PlayNextMovie();
  EXPECT_TRUE(movies.Flash.IsVisible);
  EXPECT_EQ(movies.Flash.Calls, (std::vector<std::string>{"HideShowView"}));
  EXPECT_FALSE(movies.Flash.TimerEnabled);
}

TEST(FlashShow, AFailedPlayIsDroppedButAFailedLoadStopsTheMovies) {
  TMovies played({"a.swf", "b.swf"});
  played.Flash.FailOn = "Play";
  EXPECT_NO_THROW(played.Show.PlayNextMovie());
  EXPECT_TRUE(played.Flash.TimerEnabled);
  EXPECT_EQ(played.Show.FFlashIndex, 1);

  for (const char* failing : {"Stop", "Movie"}) {
    TMovies loaded({"a.swf", "b.swf"});
    loaded.Flash.TimerEnabled = true;
    loaded.Flash.FailOn = failing;
    EXPECT_THROW(loaded.Show.PlayNextMovie(), EError) << failing;
    EXPECT_FALSE(loaded.Flash.TimerEnabled) << "no movie may follow by itself after " << failing;
    EXPECT_EQ(loaded.Show.FFlashIndex, 0) << failing;
  }
}

TEST(FlashShow, QuitInAnyCaseEndsOnlyWhenThePackageAllowsIt) {
  TMovies movies({"a.swf"});
  movies.Show.FlashFSCommand("QUIT");
  EXPECT_EQ(movies.Flash.Exits, 0) << "flash_quit is off";

  movies.Settings.lExitFSCommandQuit = true;
  movies.Show.FlashFSCommand("fullscreen");
  movies.Show.FlashFSCommand("quit now");
  EXPECT_EQ(movies.Flash.Exits, 0);
  EXPECT_TRUE(movies.Flash.Calls.empty());

  movies.Show.FlashFSCommand("QuIt");
  EXPECT_EQ(movies.Flash.Calls, (std::vector<std::string>{"StopPlay"}));
  EXPECT_EQ(movies.Flash.Exits, 1);
}

}  // namespace
}  // namespace pixvane
