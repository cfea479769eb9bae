#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "base/CodePage.h"
#include "base/Stream.h"
#include "maker/Build.h"
#include "maker/Extract.h"
#include "package/PackageWriter.h"
#include "package/Picture.h"
#include "support/TestJpeg.h"
#include "support/ToolTestFiles.h"
#ifdef PIXVANE_HAVE_IMAGE_FILES
#include <libheif/heif.h>
#endif
#ifdef PIXVANE_HAVE_PNG_FILES
#include "maker/ImageFiles.h"
#endif
#include "maker/PackageFile.h"
#include "maker/PackageReport.h"
#include "maker/ToolError.h"

namespace pixvane::maker {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// A manifest that sets every key away from its default, with three
// pictures (one by a glob), two sounds and two Flash files.
const char* FullManifest = R"(title = "Café at Noon ☀"
author = "Ann Maker"
email = "ann@example.com"
web = "https://example.com/saver"
kind = "flash"

[show]
pictures = ["pics/first.jpg", "pics/more-*.jpg"]
descriptions = ["First, with a comma", "Zweite Straße", "\"Quoted\""]
effects = [0, 7, 127]
interval = 40000
random_order = true
random_effects = true
clear_between = true
stretch = false

[caption]
text = "Hello, Wörld"
font = "Times New Roman"
height = -31
color = "#102030"
charset = "EASTEUROPE_CHARSET"
style = ["fsBold", "fsUnderline"]

[music]
files = ["music/a.wav", "music/b.mid"]
order = "repeat-one"
loop = true
mute = true

[flash]
files = ["movies/intro.swf", "movies/outro.swf"]

[exit]
mouse_move = false
mouse_click = false
key_press = false
show_cursor = true
flash_quit = false
)";

class BuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Player = Folder.Write("player.scr", test::MakePlayerStandIn());
    Jpegs = {test::MakeJpeg(64, 48, 1), test::MakeJpeg(33, 17, 2), test::MakeJpeg(16, 16, 3)};
    Folder.Write("show/pics/first.jpg", Jpegs[0]);
    Folder.Write("show/pics/more-b.jpg", Jpegs[2]);  // the glob sorts a before b
    Folder.Write("show/pics/more-a.jpg", Jpegs[1]);
    Media = {{"music/a.wav", "RIFF sound a"},
             {"music/b.mid", "MThd sound b, longer"},
             {"movies/intro.swf", "FWS intro"},
             {"movies/outro.swf", ""}};  // an empty file is a valid run of length 0
    for (const auto& [name, bytes] : Media) Folder.Write("show/" + name, bytes);
    Manifest = Folder.Write("show/pixvane.toml", FullManifest);
  }

  TBuildResult Build(const std::string& output = "out/saver.scr") {
    fs::create_directories((Folder / output).parent_path());
    return RunBuild({Manifest, Folder / output, Player});
  }

  json Inspect(const std::string& output = "out/saver.scr") {
    return json::parse(ReportJson(ReadPackageReport(Folder / output)));
  }

  test::TToolFolder Folder;
  fs::path Player, Manifest;
  std::vector<std::vector<uint8_t>> Jpegs;
  std::vector<std::pair<std::string, std::string>> Media;
};

TEST_F(BuildTest, InspectReadsBackEverySetting) {
  Build();
  json s = Inspect()["settings"];
  EXPECT_EQ(s["Title"], "Café at Noon ?");  // outside Windows-1252: "?"
  EXPECT_EQ(s["Author"], "Ann Maker");
  EXPECT_EQ(s["Email"], "ann@example.com");
  EXPECT_EQ(s["Web"], "https://example.com/saver");
  EXPECT_EQ(s["Ver"], "flash");
  EXPECT_EQ(s["DescriptCommaList"], "\"First, with a comma\",\"Zweite Straße\",\"\"\"Quoted\"\"\"");
  EXPECT_EQ(s["EffectCommaList"], "0,7,127");
  EXPECT_EQ(s["Interval"], 40000);
  EXPECT_EQ(s["lRandomPic"], true);
  EXPECT_EQ(s["lRandomStyle"], true);
  EXPECT_EQ(s["lClearOldImage"], true);
  EXPECT_EQ(s["lStretch"], false);
  EXPECT_EQ(s["Text"], "Hello, Wörld");
  EXPECT_EQ(s["TextFont"]["Name"], "Times New Roman");
  EXPECT_EQ(s["TextFont"]["Height"], -31);
  EXPECT_EQ(s["TextFont"]["Color"], 0x302010);
  EXPECT_EQ(s["TextFont"]["Charset"], 238);
  EXPECT_EQ(s["TextFont"]["Style"], json::array({"fsBold", "fsUnderline"}));
  EXPECT_EQ(s["SoundRandom"], 3);
  EXPECT_EQ(s["lSoundLoop"], true);
  EXPECT_EQ(s["lMute"], true);
  EXPECT_EQ(s["lExitMouseMove"], false);
  EXPECT_EQ(s["lExitMouseClick"], false);
  EXPECT_EQ(s["lExitKeyPress"], false);
  EXPECT_EQ(s["lShowMouseCursor"], true);
  EXPECT_EQ(s["lExitFSCommandQuit"], false);
  EXPECT_EQ(s["PicFileNamesCommaList"], "first.jpg,more-a.jpg,more-b.jpg");
  EXPECT_EQ(s["SndFileNamesCommaList"], "a.wav,b.mid");
  EXPECT_EQ(s["SndSizesCommaList"], "12,20");
  EXPECT_EQ(s["FlashFileNamesCommaList"], "intro.swf,outro.swf");
  EXPECT_EQ(s["FlashSizesCommaList"], "9,0");
  EXPECT_EQ(s["Motion"], 0);
  EXPECT_EQ(s["MotionZoom"], 1150);
  EXPECT_EQ(s["MonitorMode"], 0);
  EXPECT_EQ(s.size(), 38u);  // every property of the record, no more
}

// What the tool wrote before pictures were prepared and the record grew: the
// manifest's record and every file's bytes as they are, straight into the
// package writer.
std::vector<uint8_t> PlainPackage(const fs::path& manifestFile, const fs::path& player) {
  TManifest manifest = LoadManifest(manifestFile);
  TMemoryStream out(test::ReadBytes(player));
  out.Seek(out.Size());
  TPackageWriter writer(out, manifest.Settings);
  for (const TSourceFile& picture : manifest.Pictures)
    writer.AddPicture(test::ReadBytes(picture.Path), MediaName(picture.Path));
  for (const auto* list : {&manifest.Sounds, &manifest.Flash})
    for (const TSourceFile& file : *list) {
      TMemoryStream source(test::ReadBytes(file.Path));
      if (list == &manifest.Sounds)
        writer.AddSound(MediaName(file.Path), source);
      else
        writer.AddFlash(MediaName(file.Path), source);
    }
  writer.Finish();
  return out.Bytes();
}

TEST_F(BuildTest, AManifestWithoutNewKeysGivesTheOldPackage) {
  std::string old = FullManifest;
  std::string renamed = old;
  renamed.replace(renamed.find("stretch = false"), 15, "scale = \"stretch\"");
  old.replace(old.find("stretch = false"), 15, "stretch = true");
  fs::path oldManifest = Folder.Write("show/old.toml", old);
  Folder.Write("show/pixvane.toml", renamed);
  Build();
  auto saver = test::ReadBytes(Folder / "out/saver.scr");
  EXPECT_TRUE(saver == PlainPackage(oldManifest, Player));
  for (std::string name :
       {"ScaleMode", "lShufflePic", "lCaptionShadow", "CaptionMargin", "MonitorMode"})
    EXPECT_EQ(std::search(saver.begin(), saver.end(), name.begin(), name.end()), saver.end());
}

TEST_F(BuildTest, PicturesAreTurnedUprightAndReducedBeforeStoring) {
  auto big = test::MakeJpeg(300, 200, 4);
  Folder.Write("show/pics/camera.jpg", test::WithExifOrientation(Jpegs[0], 6));
  Folder.Write("show/pics/big.jpg", big);
  std::string pictures =
      "[show]\npictures = [\"pics/camera.jpg\", \"pics/big.jpg\", "
      "\"pics/more-b.jpg\"]\nmax_size = \"100x100\"\n";
  Folder.Write("show/pixvane.toml", pictures);
  TBuildResult result = Build();
  json stored = Inspect()["pictures"];
  EXPECT_EQ(stored[0]["width"], 48);  // 64 x 48 turned a quarter right
  EXPECT_EQ(stored[0]["height"], 64);
  EXPECT_EQ(stored[1]["width"], 100);
  EXPECT_EQ(stored[1]["height"], 67);
  EXPECT_EQ(stored[2]["jpeg_bytes"], Jpegs[2].size());  // small enough: as it was
  EXPECT_EQ(result.Turned, 1);
  EXPECT_EQ(result.Reduced, 1);
  EXPECT_EQ(result.BytesSaved,
            static_cast<int64_t>(big.size()) - static_cast<int64_t>(stored[1]["jpeg_bytes"]));

  Folder.Write("show/pixvane.toml", pictures + "auto_rotate = false\n");
  result = Build();
  EXPECT_EQ(Inspect()["pictures"][0]["width"], 64);
  EXPECT_EQ(result.Turned, 0);
}

// After the turn, a progressive picture is stored sequential; one libjpeg
// reads only in part is stored as it came, as is a sequential one.
TEST_F(BuildTest, ProgressivePicturesAreStoredSequential) {
  auto progressive = test::MakeJpeg(64, 48, false, true);
  auto camera = test::WithExifOrientation(progressive, 6);
  std::vector<uint8_t> cut(progressive.begin(), progressive.begin() + progressive.size() * 2 / 3);
  Folder.Write("show/pics/camera.jpg", camera);
  Folder.Write("show/pics/cut.jpg", cut);
  Folder.Write("show/pixvane.toml",
               "[show]\npictures = [\"pics/camera.jpg\", \"pics/cut.jpg\", "
               "\"pics/more-b.jpg\"]\n");
  EXPECT_EQ(Build().Sequential, 1);
  std::ostringstream log;
  RunExtract(Folder / "out/saver.scr", Folder / "unpacked", log);
  TJPEGImage stored(test::ReadBytes(Folder / "unpacked/camera.jpg"));
  EXPECT_FALSE(stored.Progressive());
  EXPECT_EQ(stored.Width(), 48);
  EXPECT_EQ(test::ReadBytes(Folder / "unpacked/cut.jpg"), cut);
  EXPECT_EQ(test::ReadBytes(Folder / "unpacked/more-b.jpg"), Jpegs[2]);
}

TEST_F(BuildTest, DefaultsReachTheRecord) {
  Folder.Write("show/min.toml", "[show]\npictures = [\"pics/first.jpg\"]\n");
  fs::create_directories(Folder / "out");
  RunBuild({Folder / "show/min.toml", Folder / "out/min.scr", Player});
  json s = Inspect("out/min.scr")["settings"];
  EXPECT_EQ(s["Ver"], "photo");
  EXPECT_EQ(s["Interval"], 5000);
  EXPECT_EQ(s["lStretch"], true);
  EXPECT_EQ(s["TextFont"]["Name"], "Arial");
  EXPECT_EQ(s["TextFont"]["Height"], -24);
  EXPECT_EQ(s["TextFont"]["Color"], 0xFFFFFF);
  EXPECT_EQ(s["TextFont"]["Charset"], 1);
  EXPECT_EQ(s["TextFont"]["Style"], json::array());
  EXPECT_EQ(s["SoundRandom"], 1);
  EXPECT_EQ(s["lExitMouseMove"], true);
  EXPECT_EQ(s["lShowMouseCursor"], false);
  EXPECT_EQ(s["lExitFSCommandQuit"], true);
  EXPECT_EQ(s["EffectCommaList"], "118,5,22,11,53,127");
  EXPECT_EQ(s["SndCommaList"], "");
}

TEST_F(BuildTest, LayoutOffsetsPointAtTheirObjects) {
  TBuildResult result = Build();
  auto saver = test::ReadBytes(Folder / "out/saver.scr");
  auto player = test::ReadBytes(Player);
  json report = Inspect();

  EXPECT_EQ(result.FileSize, static_cast<int64_t>(saver.size()));
  EXPECT_TRUE(std::equal(player.begin(), player.end(), saver.begin()));
  EXPECT_EQ(report["file_size"], saver.size());
  EXPECT_EQ(report["package_start"], player.size());
  EXPECT_EQ(report["package_length"], result.PackageLength);
  EXPECT_EQ(report["package_length"], saver.size() - 40 - player.size());
  size_t settings = report["settings_offset"];
  EXPECT_EQ(std::string(saver.begin() + settings, saver.begin() + settings + 4), "TPF0");

  const json& pictures = report["pictures"];
  ASSERT_EQ(pictures.size(), 3u);
  EXPECT_EQ(pictures[0]["offset"], player.size());  // the preview reads the package start
  int sizes[3][2] = {{64, 48}, {33, 17}, {16, 16}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(pictures[i]["index"], i + 1);
    EXPECT_EQ(pictures[i]["name"],
              std::vector<std::string>({"first.jpg", "more-a.jpg", "more-b.jpg"})[i]);
    EXPECT_EQ(pictures[i]["width"], sizes[i][0]);
    EXPECT_EQ(pictures[i]["height"], sizes[i][1]);
    EXPECT_EQ(pictures[i]["jpeg_bytes"], Jpegs[i].size());
    EXPECT_TRUE(pictures[i]["error"].is_null());
    size_t offset = pictures[i]["offset"];
    EXPECT_EQ(std::string(saver.begin() + offset, saver.begin() + offset + 4), "TPF0");
  }

  // Sounds, then Flash files, each run holding exactly its file's bytes.
  std::vector<json> runs(report["sounds"].begin(), report["sounds"].end());
  runs.insert(runs.end(), report["flash"].begin(), report["flash"].end());
  ASSERT_EQ(runs.size(), Media.size());
  for (size_t i = 0; i < runs.size(); ++i) {
    const std::string& bytes = Media[i].second;
    size_t offset = runs[i]["offset"];
    EXPECT_EQ(runs[i]["name"], fs::path(Media[i].first).filename().string());
    EXPECT_EQ(runs[i]["size"], bytes.size());
    EXPECT_EQ(std::string(saver.begin() + offset, saver.begin() + offset + bytes.size()), bytes);
  }
  EXPECT_EQ(report["sounds"][1]["index"], 2);
  EXPECT_EQ(report["flash"][0]["index"], 1);
}

TEST_F(BuildTest, ExtractGivesBackTheSameBytes) {
  Build();
  std::ostringstream log;
  TExtractResult result = RunExtract(Folder / "out/saver.scr", Folder / "unpacked/new", log);
  EXPECT_TRUE(result.Failures.empty());
  EXPECT_EQ(result.Written.size(), 7u);
  const char* pictures[] = {"first.jpg", "more-a.jpg", "more-b.jpg"};
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(test::ReadBytes(Folder / "unpacked/new" / pictures[i]), Jpegs[i]) << pictures[i];
  for (const auto& [name, bytes] : Media) {
    auto extracted = test::ReadBytes(Folder / "unpacked/new" / fs::path(name).filename());
    EXPECT_EQ(std::string(extracted.begin(), extracted.end()), bytes) << name;
  }
  EXPECT_NE(log.str().find("more-a.jpg"), std::string::npos);
}

TEST_F(BuildTest, ProgressCountsThePicturesInOrder) {
  std::vector<std::string> seen;
  fs::create_directories(Folder / "out");
  RunBuild({Manifest, Folder / "out/saver.scr", Player},
           [&](int index, int count, const std::string& name) {
             seen.push_back(std::to_string(index) + "/" + std::to_string(count) + " " + name);
           });
  EXPECT_EQ(seen, (std::vector<std::string>{"1/3 first.jpg", "2/3 more-a.jpg", "3/3 more-b.jpg"}));
}

TEST_F(BuildTest, AFailedBuildLeavesNothingBehind) {
  // A previous saver must survive a failed rebuild untouched.
  Folder.Write("out/saver.scr", "the old saver");
  Folder.Write("show/pics/more-b.jpg", "not a JPEG at all");
  try {
    Build();
    FAIL() << "no error";
  } catch (const EToolError& e) {
    std::string message = e.what();
    EXPECT_NE(message.find("pixvane.toml:8: "), std::string::npos) << message;
    EXPECT_NE(message.find("more-b.jpg: not a JPEG picture"), std::string::npos) << message;
  }
  EXPECT_EQ(Folder.Names("out"), std::vector<std::string>{"saver.scr"});
  auto old = test::ReadBytes(Folder / "out/saver.scr");
  EXPECT_EQ(std::string(old.begin(), old.end()), "the old saver");
}

TEST_F(BuildTest, TheOutputMayNotReplaceAnInput) {
  for (const fs::path& input : {Manifest, Player, Folder / "show/pics/more-a.jpg"}) {
    auto before = test::ReadBytes(input);
    EXPECT_THROW(RunBuild({Manifest, input, Player}), EToolError) << input;
    EXPECT_EQ(test::ReadBytes(input), before) << input;
  }
}

TEST_F(BuildTest, MissingPlayerAsksForOne) {
  fs::create_directories(Folder / "out");
  try {
    RunBuild({Manifest, Folder / "out/saver.scr", Folder / "nope.scr"});
    FAIL() << "no error";
  } catch (const EToolError& e) {
    EXPECT_NE(std::string(e.what()).find("player not found"), std::string::npos) << e.what();
  }
  try {
    RunBuild({Manifest, Folder / "out/saver.scr", Folder / "show"});
    FAIL() << "no error";
  } catch (const EToolError& e) {
    EXPECT_NE(std::string(e.what()).find("this is a folder, not the player"), std::string::npos)
        << e.what();
  }
  EXPECT_TRUE(Folder.Names("out").empty());
}

// The native tool in build/native/bin finds the player the Windows build
// puts in build/win/bin; one beside the tool comes first.
TEST_F(BuildTest, ThePlayerIsFoundBesideTheToolOrInTheWindowsBuild) {
  fs::path tool = Folder.Path() / "build" / "native" / "bin";
  fs::create_directories(tool);
  try {
    FindPlayer(tool);
    FAIL() << "no error";
  } catch (const EToolError& e) {
    std::string text = e.what();
    EXPECT_NE(text.find("no player found at " + (tool / "pixvane.scr").string() + " or " +
                        (Folder.Path() / "build" / "win" / "bin" / "pixvane.scr").string()),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("scripts/demo"), std::string::npos) << text;
  }
  fs::path windows = Folder.Write("build/win/bin/pixvane.scr", test::MakePlayerStandIn());
  EXPECT_EQ(FindPlayer(tool), windows);
  fs::path beside = Folder.Write("build/native/bin/pixvane.scr", test::MakePlayerStandIn());
  EXPECT_EQ(FindPlayer(tool), beside);
}

#ifdef PIXVANE_HAVE_IMAGE_FILES
// A HEIC file of a flat colour, as a phone would write one, made by
// libheif's own encoder.
std::vector<uint8_t> MakeHeic(int width, int height) {
  heif_context* context = heif_context_alloc();
  heif_encoder* encoder = nullptr;
  heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder);
  heif_image* image = nullptr;
  heif_image_create(width, height, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
  heif_image_add_plane(image, heif_channel_interleaved, width, height, 8);
  int stride = 0;
  uint8_t* rows = heif_image_get_plane(image, heif_channel_interleaved, &stride);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* pixel = rows + y * stride + 3 * x;
      pixel[0] = 200, pixel[1] = 60, pixel[2] = 30;
    }
  heif_context_encode_image(context, image, encoder, nullptr, nullptr);
  std::vector<uint8_t> bytes;
  heif_writer writer{1, [](heif_context*, const void* data, size_t size, void* userdata) {
                       auto* out = static_cast<std::vector<uint8_t>*>(userdata);
                       auto* begin = static_cast<const uint8_t*>(data);
                       out->insert(out->end(), begin, begin + size);
                       return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
                     }};
  heif_context_write(context, &writer, &bytes);
  heif_image_release(image);
  heif_encoder_release(encoder);
  heif_context_free(context);
  return bytes;
}
#endif

// The message for a build that must fail, with nothing written.
std::string BuildError(const TBuildOptions& options) {
  try {
    RunBuild(options);
  } catch (const EToolError& e) {
    EXPECT_FALSE(fs::exists(options.Output));
    return e.what();
  }
  ADD_FAILURE() << "no error";
  return "";
}

TEST_F(BuildTest, AnythingButThePlayerIsRefusedAndNamed) {
  fs::path jpeg = Folder / "show/pics/first.jpg";
  EXPECT_EQ(BuildError({Manifest, Folder / "s.scr", jpeg}),
            jpeg.string() + ": this is a JPEG picture, not the Pixvane player (pixvane.scr)");
  // The stand-in's PE header without the player's description.
  fs::path program = Folder.Write("other.exe", test::MakePlayerStandIn().substr(0, 0x44));
  fs::path text = Folder.Write("notes.txt", "PE");
  EXPECT_NE(
      BuildError({Manifest, Folder / "s.scr", program}).find(": this is a Windows program, not"),
      std::string::npos);
  EXPECT_EQ(BuildError({Manifest, Folder / "s.scr", text}),
            text.string() + ": not the Pixvane player (pixvane.scr)");
  // A saver carries the player's resource and a package of its own.
  fs::path saver = Folder / "built.scr";
  RunBuild({Manifest, saver, Player});
  EXPECT_NE(BuildError({Manifest, Folder / "s.scr", saver}).find(": this is a saver already"),
            std::string::npos);
}

TEST_F(BuildTest, AFlashSaverIsBuiltWithOneWarningAboutThePlayerControl) {
  std::vector<std::string> warnings;
  fs::create_directories(Folder / "out");
  RunBuild({Manifest, Folder / "out/saver.scr", Player}, {},
           [&](const std::string& warning) { warnings.push_back(warning); });
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0], Manifest.string() +
                             ": the Flash Player control is no longer distributed; this saver "
                             "plays its movies only where it is still installed");
}

TEST_F(BuildTest, PicturesAreDecodedWhileBuilding) {
  std::vector<uint8_t> cut(Jpegs[0].begin(), Jpegs[0].begin() + Jpegs[0].size() * 2 / 3);
  Folder.Write("show/cut.jpg", cut);
  fs::path manifest = Folder.Write("show/cut.toml", "[show]\npictures = [\"cut.jpg\"]\n");
  std::vector<std::string> warnings;
  RunBuild({manifest, Folder / "cut.scr", Player}, {},
           [&](const std::string& warning) { warnings.push_back(warning); });
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].rfind(manifest.string() + ":2: ", 0), 0u) << warnings[0];
  EXPECT_NE(warnings[0].find("cut.jpg: Premature end of JPEG file"), std::string::npos)
      << warnings[0];

  Folder.Write("show/cut.jpg", std::vector<uint8_t>(cut.begin(), cut.begin() + 40));
  EXPECT_NE(BuildError({manifest, Folder / "bad.scr", Player}).find("the JPEG picture is damaged"),
            std::string::npos);
  Folder.Write("show/cut.jpg", "GIF89a and the rest");
  EXPECT_NE(BuildError({manifest, Folder / "bad.scr", Player})
                .find("cut.jpg: this is a GIF picture, not a JPEG"),
            std::string::npos);
}

// The player decodes no CMYK; such a JPEG is stored in screen colours and,
// carrying its EXIF block along, turned upright like any camera photo.
TEST_F(BuildTest, CmykJpegsAreStoredAsRgbJpegs) {
  const uint8_t red[4] = {0, 255, 255, 0};  // magenta and yellow ink
  Folder.Write("show/print.jpg", test::WithExifOrientation(test::MakeCmykJpeg(32, 16, red), 6));
  fs::path manifest = Folder.Write("show/cmyk.toml", "[show]\npictures = [\"print.jpg\"]\n");
  std::vector<std::string> warnings;
  fs::create_directories(Folder / "out");
  TBuildResult result = RunBuild({manifest, Folder / "out/saver.scr", Player}, {},
                                 [&](const std::string& warning) { warnings.push_back(warning); });
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("print.jpg: a CMYK JPEG, which the player cannot show; stored as an "
                             "RGB JPEG at quality 92"),
            std::string::npos)
      << warnings[0];
  EXPECT_EQ(result.Turned, 1);
  std::ostringstream log;
  RunExtract(Folder / "out/saver.scr", Folder / "unpacked", log);
  TJPEGImage stored(test::ReadBytes(Folder / "unpacked/print.jpg"));
  ASSERT_EQ(stored.Width(), 16);
  ASSERT_EQ(stored.Height(), 32);
  const uint8_t* pixel = stored.Pixels().ScanLine(8) + 3 * 8;  // BGR
  EXPECT_LT(pixel[0], 30);
  EXPECT_LT(pixel[1], 30);
  EXPECT_GT(pixel[2], 225);

  std::vector<uint8_t> cmyk = test::MakeCmykJpeg(32, 16, red);
  Folder.Write("show/print.jpg", std::vector<uint8_t>(cmyk.begin(), cmyk.begin() + 60));
  EXPECT_NE(BuildError({manifest, Folder / "bad.scr", Player}).find("the JPEG picture is damaged"),
            std::string::npos);
}

// The kind comes from the bytes: a JPEG named .HEIC is stored as it is.
TEST_F(BuildTest, HeicPicturesAreConvertedNativelyAndExplainedOnWindows) {
  Folder.Write("show/IMG_0001.HEIC", Jpegs[0]);
  fs::path manifest = Folder.Write("show/heic.toml", "[show]\npictures = [\"IMG_0001.HEIC\"]\n");
  std::vector<std::string> warnings;
  RunBuild({manifest, Folder / "jpeg.scr", Player}, {},
           [&](const std::string& warning) { warnings.push_back(warning); });
  EXPECT_EQ(warnings, std::vector<std::string>());
  EXPECT_EQ(Inspect("jpeg.scr")["pictures"][0]["name"], "IMG_0001.HEIC");

#ifdef PIXVANE_HAVE_IMAGE_FILES
  Folder.Write("show/IMG_0001.HEIC", MakeHeic(40, 24));
  RunBuild({manifest, Folder / "heic.scr", Player}, {},
           [&](const std::string& warning) { warnings.push_back(warning); });
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("IMG_0001.HEIC: a HEIC picture; stored as IMG_0001.jpg, a JPEG at "
                             "quality 92"),
            std::string::npos)
      << warnings[0];
  json picture = Inspect("heic.scr")["pictures"][0];
  EXPECT_EQ(picture["name"], "IMG_0001.jpg");
  EXPECT_EQ(picture["width"], 40);
  EXPECT_EQ(picture["height"], 24);
  EXPECT_TRUE(picture["error"].is_null());
#else
  Folder.Write("show/IMG_0001.HEIC", std::string("\0\0\0\x18"
                                                 "ftypheic\0\0\0\0mif1heic",
                                                 24));
  EXPECT_NE(BuildError({manifest, Folder / "heic.scr", Player})
                .find("IMG_0001.HEIC: this is a HEIC picture, which the player cannot show and "
                      "this Windows tool cannot convert; export it as JPEG (on the phone, or from "
                      "the Photos app), or build with the native tool"),
            std::string::npos);
#endif
}

#ifdef PIXVANE_HAVE_PNG_FILES
TEST_F(BuildTest, PngPicturesAreStoredAsJpeg) {
  WritePng(Folder / "show/drawing.png", TBitmap(30, 20));
  fs::path manifest = Folder.Write("show/png.toml", "[show]\npictures = [\"drawing.png\"]\n");
  std::vector<std::string> warnings;
  fs::create_directories(Folder / "out");
  RunBuild({manifest, Folder / "out/saver.scr", Player}, {},
           [&](const std::string& warning) { warnings.push_back(warning); });
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(
      warnings[0].find("drawing.png: a PNG picture; stored as drawing.jpg, a JPEG at quality 92"),
      std::string::npos)
      << warnings[0];
  json picture = Inspect()["pictures"][0];
  EXPECT_EQ(picture["name"], "drawing.jpg");
  EXPECT_EQ(picture["width"], 30);
  EXPECT_TRUE(picture["error"].is_null());
}
#endif

// The manifest's folder holds the pictures whether its path names the folder
// or, run from inside it, does not.
TEST_F(BuildTest, PatternsBesideTheManifestMatchWithOrWithoutAFolder) {
  Folder.Write("flat/a.jpg", Jpegs[0]);
  Folder.Write("flat/m.toml", "[show]\npictures = [\"*.jpg\"]\n");
  fs::path saved = fs::current_path();
  fs::current_path(Folder.Path());
  EXPECT_EQ(RunBuild({"flat/m.toml", "with.scr", Player}).Pictures, 1);
  fs::current_path(Folder / "flat");
  TBuildResult result;
  EXPECT_NO_THROW(result = RunBuild({"m.toml", "without.scr", Player}));
  fs::current_path(saved);
  EXPECT_EQ(result.Pictures, 1);
}

TEST_F(BuildTest, ExampleSaverBuilds) {
  // The README's first command must keep working.
  fs::path example = fs::path(PIXVANE_EXAMPLES_DIR) / "beach/pixvane.toml";
  // Makers copy it, so it builds without a warning and has the look of
  // today's keys: filled screen, caption with a shadow.
  std::vector<std::string> warnings;
  RunBuild({example, Folder / "beach.scr", Player}, {},
           [&](const std::string& warning) { warnings.push_back(warning); });
  EXPECT_EQ(warnings, std::vector<std::string>());
  TPackageReport report = ReadPackageReport(Folder / "beach.scr");
  EXPECT_GE(report.Pictures.size(), 4u);
  for (const TPictureInfo& picture : report.Pictures) EXPECT_FALSE(picture.Error) << *picture.Error;
  EXPECT_EQ(report.Sounds.size(), 1u);
  EXPECT_EQ(report.Package->Settings.Ver, "photo");
  EXPECT_NE(report.Package->Settings.Text, "");
  EXPECT_GT(report.Package->Settings.EffectCount(), 0);
  EXPECT_EQ(report.Package->Settings.Scale(), TScaleMode::Fill);
  EXPECT_TRUE(report.Package->Settings.lCaptionShadow);
}

}  // namespace
}  // namespace pixvane::maker
