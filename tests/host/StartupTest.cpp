#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "base/Random.h"
#include "host/Startup.h"
#include "package/ClassRegistry.h"

namespace pixvane {
namespace {

// Records what start-up asks of the platform, in order.
class TFakePlatform : public TStartupPlatform {
 public:
  TCommandLine Given;
  bool OtherInstance = false;
  bool FailPreview = false;
  std::vector<std::string> Calls;
  TCommandLine Passed;
  bool ClassesRegisteredWhenArgumentsRead = false;
  uint32_t SaverSeed = 0;

  TClockTime UniversalTime() override {
    Calls.push_back("clock");
    return {13, 45, 7, 250};
  }
  TCommandLine Arguments() override {
    Calls.push_back("arguments");
    try {
      CreateRegistered("TSSFileLocations");
      CreateRegistered("TImage");
      ClassesRegisteredWhenArgumentsRead = true;
    } catch (const EClassNotFound&) {
    }
    return Given;
  }
  void ChangePassword(const TCommandLine& line) override {
    Calls.push_back("password");
    Passed = line;
  }
  bool AcquireInstanceMarker() override {
    Calls.push_back("marker");
    return !OtherInstance;
  }
  void ReleaseInstanceMarker() override { Calls.push_back("release"); }
  void InitializeFramework() override { Calls.push_back("framework"); }
  void ProcessMessages() override { Calls.push_back("messages"); }
  void RunPreview(const TCommandLine& line) override {
    Calls.push_back("preview");
    Passed = line;
    if (FailPreview) throw EReadError("Stream read error");
  }
  void RunSetupDialog() override { Calls.push_back("setup"); }
  void RunSaver(TRandom random) override {
    Calls.push_back("saver");
    SaverSeed = random.RandSeed();
  }
};

using TCalls = std::vector<std::string>;

TCalls Start(TFakePlatform& platform, std::string first, std::string second = "") {
  platform.Given = {std::move(first), std::move(second)};
  EXPECT_EQ(RunStartup(platform), 0);
  return platform.Calls;
}

// Runs first in this program: no stream class is registered before start-up.
TEST(Startup, SeedsTheGeneratorAndRegistersTheClassesBeforeReadingTheCommandLine) {
  TFakePlatform platform;
  Start(platform, "/s");
  EXPECT_TRUE(platform.ClassesRegisteredWhenArgumentsRead);
  ASSERT_GE(platform.Calls.size(), 2u);
  EXPECT_EQ(platform.Calls[0], "clock");
  EXPECT_EQ(platform.Calls[1], "arguments");
  EXPECT_EQ(platform.SaverSeed, uint32_t{((13 * 60 + 45) * 60 + 7) * 1000 + 250});
}

TEST(Startup, SetupDialogRunsInsideTheMarkerAfterTheFramework) {
  TFakePlatform platform;
  EXPECT_EQ(Start(platform, "/c:1234"), (TCalls{"clock", "arguments", "marker", "framework",
                                                "messages", "setup", "messages", "release"}));
  EXPECT_EQ(SaverMode(), TSaverMode::smConfig);
}

TEST(Startup, NoArgumentsIsTheSetupDialog) {
  TFakePlatform platform;
  TCalls calls = Start(platform, "");
  EXPECT_NE(std::find(calls.begin(), calls.end(), "setup"), calls.end());
}

TEST(Startup, SaverModeRunsTheSaverWindow) {
  for (const char* first : {"/s", "/x", "123"}) {
    TFakePlatform platform;
    EXPECT_EQ(Start(platform, first), (TCalls{"clock", "arguments", "marker", "framework",
                                              "messages", "saver", "messages", "release"}))
        << first;
    EXPECT_EQ(SaverMode(), TSaverMode::smSaver);
  }
}

TEST(Startup, PasswordModeNeedsNoMarkerAndGetsTheUpperCasedArguments) {
  TFakePlatform platform;
  platform.OtherInstance = true;  // works while the saver runs
  EXPECT_EQ(Start(platform, "apple", "0x1f"), (TCalls{"clock", "arguments", "password"}));
  EXPECT_EQ(platform.Passed.First, "APPLE");
  EXPECT_EQ(platform.Passed.Second, "0X1F");
  EXPECT_EQ(SaverMode(), TSaverMode::smSetPassword);
}

TEST(Startup, PreviewHoldsTheMarkerWhileItRuns) {
  TFakePlatform platform;
  EXPECT_EQ(Start(platform, "/p", "4711"), (TCalls{"clock", "arguments", "marker", "framework",
                                                   "messages", "preview", "release"}));
  EXPECT_EQ(platform.Passed.Second, "4711");
  EXPECT_EQ(SaverMode(), TSaverMode::smPreview);
}

TEST(Startup, ASecondInstanceEndsBeforeAnythingIsSetUp) {
  for (const char* first : {"/c", "/p", "/s"}) {
    TFakePlatform platform;
    platform.OtherInstance = true;
    EXPECT_EQ(Start(platform, first, "1"), (TCalls{"clock", "arguments", "marker"})) << first;
  }
}

TEST(Startup, AnErrorEndsSilentlyAndStillReleasesTheMarker) {
  TFakePlatform platform;
  platform.FailPreview = true;
  EXPECT_EQ(Start(platform, "/p", "1"), (TCalls{"clock", "arguments", "marker", "framework",
                                                "messages", "preview", "release"}));
}

}  // namespace
}  // namespace pixvane
