#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "maker/ToolError.h"
#include "support/ToolTestFiles.h"

namespace pixvane::test {
namespace {

namespace fs = std::filesystem;

std::string Quote(const std::string& text) {
#ifdef _WIN32
  return "\"" + text + "\"";
#else
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
#endif
}

// Runs the built pixvane tool with arguments (UTF-8, already quoted where needed)
// and returns its exit code; standard output and error go to the two files.
struct TToolRun {
  int ExitCode = -1;
  std::string Out, Err;
};

TToolRun RunTool(const std::vector<std::string>& arguments, const fs::path& scratch) {
  fs::path out = scratch / "tool-stdout.txt", err = scratch / "tool-stderr.txt";
  std::string command = Quote(PIXVANE_TOOL_PATH);
  for (const std::string& argument : arguments) command += " " + argument;
  command += " >" + Quote(out.string()) + " 2>" + Quote(err.string());
#ifdef _WIN32
  // cmd.exe strips the outer quotes of a command line that starts with one.
  // The narrow command would pass through the ANSI code page; names beyond
  // it need the wide one.
  std::u8string utf8(command.begin(), command.end());
  int status = _wsystem((L"\"" + fs::path(utf8).wstring() + L"\"").c_str());
#else
  int status = std::system(command.c_str());
#endif
  TToolRun run;
#ifdef _WIN32
  run.ExitCode = status;
#else
  run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  std::vector<uint8_t> outBytes = ReadBytes(out), errBytes = ReadBytes(err);
  run.Out.assign(outBytes.begin(), outBytes.end());
  run.Err.assign(errBytes.begin(), errBytes.end());
#ifdef _WIN32
  // The tool's streams are in text mode there; compare texts by their lines.
  for (std::string* text : {&run.Out, &run.Err})
    for (size_t at; (at = text->find("\r\n")) != std::string::npos;) text->erase(at, 1);
#endif
  fs::remove(out);
  fs::remove(err);
  return run;
}

// The built executable, for what only it decides: exit codes, which
// stream a message goes to, and the wiring of the commands.
class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder.Write("a.jpg", MakeJpeg(20, 10, 1));
    Folder.Write("s.wav", "RIFF");
    Folder.Write("player.scr", MakePlayerStandIn());
  }

  TToolRun Run(const std::vector<std::string>& arguments) {
    return RunTool(arguments, Folder.Path());
  }
  // name is UTF-8, as the tool takes its arguments.
  std::string Quoted(const std::string& name) {
    return "\"" + maker::Utf8FromPath(Folder.Path() / maker::PathFromUtf8(name)) + "\"";
  }

  TToolFolder Folder;
};

TEST_F(CommandLineTest, BadUsageExitsWithTwoAndShowsUsage) {
  for (const auto& arguments :
       std::vector<std::vector<std::string>>{{},
                                             {"frobnicate"},
                                             {"build", "m.toml"},
                                             {"inspect"},
                                             {"extract", "x.scr"},
                                             {"inspect", "x.scr", "--colour"}}) {
    TToolRun run = Run(arguments);
    EXPECT_EQ(run.ExitCode, 2) << run.Err;
    EXPECT_EQ(run.Err.rfind("pixvane: ", 0), 0u) << run.Err;
    EXPECT_NE(run.Err.find("Usage:"), std::string::npos) << run.Err;
    EXPECT_EQ(run.Out, "");
  }
}

// A misspelt command is named, with the command meant, as a misspelt
// manifest key is; a command of commands (skin) too.
TEST_F(CommandLineTest, AMisspeltCommandIsNamedWithTheOneMeant) {
  std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"biuld", "m.toml"}, "pixvane: there is no command \"biuld\"; did you mean \"build\"?\n"},
      {{"inpsect"}, "pixvane: there is no command \"inpsect\"; did you mean \"inspect\"?\n"}};
#ifdef PIXVANE_HAVE_IMAGE_FILES
  cases.push_back({{"skin", "biuld", "dir"},
                   "pixvane: there is no command \"skin biuld\"; did you mean \"skin build\"?\n"});
#endif
  for (const auto& [arguments, message] : cases) {
    TToolRun run = Run(arguments);
    EXPECT_EQ(run.ExitCode, 2) << run.Err;
    EXPECT_EQ(run.Err.rfind(message, 0), 0u) << run.Err;
  }
#if defined(_WIN32) && !defined(PIXVANE_HAVE_IMAGE_FILES)
  // The Windows tool names its own commands (the studio's among them where
  // it is built) and where the others are.
  TToolRun skin = Run({"skin", "build", "dir"});
  EXPECT_EQ(skin.ExitCode, 2) << skin.Err;
  EXPECT_EQ(skin.Err.rfind("pixvane: this Windows tool has the commands build, inspect, extract, "
                           "frame, render, styles",
                           0),
            0u)
      << skin.Err;
  EXPECT_NE(skin.Err.find("; skin is in the native tool (pixvane on Linux)\n"), std::string::npos)
      << skin.Err;
  TToolRun installer = Run({"installer", "a.scr"});
  EXPECT_EQ(installer.ExitCode, 2) << installer.Err;
  EXPECT_NE(installer.Err.find("; installer is in the native tool (pixvane on Linux)\n"),
            std::string::npos)
      << installer.Err;
#endif
}

TEST_F(CommandLineTest, HelpIsNotAnError) {
  TToolRun run = Run({"build", "--help"});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_NE(run.Out.find("--player"), std::string::npos);
}

TEST_F(CommandLineTest, BadInputExitsWithOneAndOneMessage) {
  Folder.Write("m.toml", "[show]\npictures = [\"a.jpg\"]\neffects = [128]\n");
  TToolRun run =
      Run({"build", Quoted("m.toml"), "-o", Quoted("out.scr"), "--player", Quoted("player.scr")});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err, "pixvane: " + (Folder / "m.toml").string() +
                         ":3: effect 128 is outside 0-127 (the transition style numbers)\n");
  EXPECT_FALSE(fs::exists(Folder / "out.scr"));

  // A file without a package is said to be what it is.
  run = Run({"inspect", Quoted("a.jpg")});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err,
            "pixvane: " + (Folder / "a.jpg").string() + ": this is a JPEG picture, not a saver\n");
  run = Run({"inspect", Quoted("player.scr")});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_NE(run.Err.find("player.scr: this is the bare Pixvane player (an executable without a "
                         "package), not a saver"),
            std::string::npos)
      << run.Err;
}

TEST_F(CommandLineTest, BuildInspectAndExtractWorkTogether) {
  Folder.Write("m.toml",
               "title = \"T\"\n[show]\npictures = [\"a.jpg\"]\n[music]\nfiles = [\"s.wav\"]\n");
  TToolRun run =
      Run({"build", Quoted("m.toml"), "-o", Quoted("out.scr"), "--player", Quoted("player.scr")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(run.Err, "");  // no progress line when standard error is a file
  EXPECT_NE(run.Out.find("1 picture, 1 sound"), std::string::npos) << run.Out;
  EXPECT_NE(run.Out.find("; transitions 118,5,22,11,53,127, the tool's default list, as the "
                         "manifest names no effects\n"),
            std::string::npos)
      << run.Out;

  run = Run({"inspect", Quoted("out.scr"), "--json"});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  auto report = nlohmann::json::parse(run.Out);
  EXPECT_EQ(report["settings"]["Title"], "T");
  EXPECT_EQ(report["pictures"][0]["width"], 20);

  run = Run({"inspect", Quoted("out.scr")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_NE(run.Out.find("20 x 10"), std::string::npos) << run.Out;
  // The flags older players read say which newer setting rules.
  EXPECT_NE(run.Out.find("lStretch            True (for older players; ScaleMode smFit rules)"),
            std::string::npos)
      << run.Out;
  EXPECT_NE(run.Out.find("EffectCommaList     118,5,22,11,53,127 (the tool's default list, which "
                         "a manifest that names no effects gets)"),
            std::string::npos)
      << run.Out;

  run = Run({"extract", Quoted("out.scr"), Quoted("unpacked")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(ReadBytes(Folder / "unpacked/a.jpg"), ReadBytes(Folder / "a.jpg"));
  EXPECT_EQ(ReadBytes(Folder / "unpacked/s.wav"), ReadBytes(Folder / "s.wav"));
}

// Spanish names fit Windows' ANSI code page and Greek ones do not; both must
// reach the files from the command line and the manifest, and come back in
// messages as the same UTF-8.
TEST_F(CommandLineTest, NamesBeyondAsciiWorkEverywhere) {
  Folder.Write(fs::path(u8"Música/canción.wav"), "RIFF");
  Folder.Write(fs::path(u8"Música/b.jpg"), MakeJpeg(20, 10, 2));
  Folder.Write("m.toml",
               "[show]\npictures = [\"Música/*.jpg\"]\n[music]\nfiles = "
               "[\"Música/canción.wav\"]\n");
  TToolRun run = Run({"build", Quoted("m.toml"), "-o", Quoted("Ñandú Über.scr"), "--player",
                      Quoted("player.scr")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_NE(run.Out.find("Ñandú Über.scr: 1 picture, 1 sound"), std::string::npos) << run.Out;

  run = Run({"extract", Quoted("Ñandú Über.scr"), Quoted("Έξοδος")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_NE(run.Out.find("Έξοδος"), std::string::npos) << run.Out;
  EXPECT_EQ(ReadBytes(Folder.Path() / fs::path(u8"Έξοδος/canción.wav")),
            ReadBytes(Folder.Path() / fs::path(u8"Música/canción.wav")));
}

// A build that fails once the saver is being written leaves nothing behind,
// whatever the output is named.
TEST_F(CommandLineTest, AFailedBuildLeavesNoFile) {
  Folder.Write("b.jpg", "not a picture");
  Folder.Write("m.toml", "[show]\npictures = [\"a.jpg\", \"b.jpg\"]\n");
  TToolRun run =
      Run({"build", Quoted("m.toml"), "-o", Quoted("Όψη.scr"), "--player", Quoted("player.scr")});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_NE(run.Err.find("b.jpg"), std::string::npos) << run.Err;
  EXPECT_EQ(Folder.Names(),
            (std::vector<std::string>{"a.jpg", "b.jpg", "m.toml", "player.scr", "s.wav"}));
}

TEST_F(CommandLineTest, WithoutAPlayerBesideTheToolBuildAsksForOne) {
  fs::path tool = fs::path(PIXVANE_TOOL_PATH).parent_path();
  if (fs::exists(tool / "pixvane.scr") || fs::exists(tool / "../../win/bin/pixvane.scr"))
    GTEST_SKIP() << "a player has been built where the tool looks for one";
  Folder.Write("m.toml", "[show]\npictures = [\"a.jpg\"]\n");
  TToolRun run = Run({"build", Quoted("m.toml"), "-o", Quoted("out.scr")});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_NE(run.Err.find("pass --player"), std::string::npos) << run.Err;
  EXPECT_EQ(Folder.Names(), (std::vector<std::string>{"a.jpg", "m.toml", "player.scr", "s.wav"}));
}

}  // namespace
}  // namespace pixvane::test
