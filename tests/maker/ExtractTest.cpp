#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "base/Stream.h"
#include "maker/Extract.h"
#include "maker/PackageFile.h"
#include "maker/PackageReport.h"
#include "maker/ToolError.h"
#include "package/PackageWriter.h"
#include "support/ToolTestFiles.h"

namespace pixvane::maker {
namespace {

namespace fs = std::filesystem;

// Packages made with the package writer directly, so they can hold what our
// own build would refuse: names that leave the folder, clashing names,
// offsets that point nowhere.
class ForeignPackageTest : public ::testing::Test {
 protected:
  struct TItem {
    std::string Name;
    std::string Bytes;
  };

  fs::path Write(const std::vector<TItem>& pictures, const std::vector<TItem>& sounds,
                 const std::vector<std::string>& extraPictureOffsets = {}) {
    fs::path path = Folder / "foreign.scr";
    auto file = TFileStream::Create(path.string());
    file->Write("player", 6);
    TSSFileLocations settings;
    settings.Ver = "photo";
    TPackageWriter writer(*file, settings);
    for (const TItem& picture : pictures)
      writer.AddPicture(std::vector<uint8_t>(picture.Bytes.begin(), picture.Bytes.end()),
                        picture.Name);
    for (const TItem& sound : sounds) {
      TMemoryStream source(std::vector<uint8_t>(sound.Bytes.begin(), sound.Bytes.end()));
      writer.AddSound(sound.Name, source);
    }
    for (const std::string& offset : extraPictureOffsets) settings.PicList.Items.push_back(offset);
    writer.Finish();
    return path;
  }

  std::string Jpeg(int seed) {
    auto bytes = test::MakeJpeg(8, 8, seed);
    return std::string(bytes.begin(), bytes.end());
  }

  std::string Read(const std::string& name) {
    auto bytes = test::ReadBytes(Folder / "out" / PathFromUtf8(name));
    return std::string(bytes.begin(), bytes.end());
  }

  test::TToolFolder Folder;
  std::ostringstream Log;
};

TEST_F(ForeignPackageTest, ANameThatLeavesTheFolderRefusesTheWholeExtraction) {
  fs::path saver = Write({{"ok.jpg", Jpeg(1)}}, {{"fine.wav", "a"}, {"..\\evil.wav", "b"}});
  try {
    RunExtract(saver, Folder / "out", Log);
    FAIL() << "no error";
  } catch (const EToolError& e) {
    std::string message = e.what();
    EXPECT_EQ(message.rfind(saver.string() + ": ", 0), 0u) << message;
    EXPECT_NE(message.find("sound 2"), std::string::npos) << message;
    EXPECT_NE(message.find("..\\evil.wav"), std::string::npos) << message;
  }
  // Nothing at all: not the picture, not the harmless sound, not the file
  // one folder up.
  EXPECT_FALSE(fs::exists(Folder / "out" / "ok.jpg"));
  EXPECT_FALSE(fs::exists(Folder / "out" / "fine.wav"));
  EXPECT_FALSE(fs::exists(Folder / "evil.wav"));
}

TEST_F(ForeignPackageTest, PictureNamesFallBackToNumbersWhenUnusable) {
  fs::path saver = Write({{"C:\\photos\\a.jpg", Jpeg(1)},
                          {"same.jpg", Jpeg(2)},
                          {"SAME.JPG", Jpeg(3)},   // Windows would overwrite the first
                          {"music.wav", Jpeg(4)},  // yields to the sound's fixed name
                          {"picture-006.jpg", Jpeg(5)},
                          {"", Jpeg(6)}},  // its number name is taken by the one before
                         {{"music.wav", "sound"}});
  TExtractResult result = RunExtract(saver, Folder / "out", Log);
  EXPECT_TRUE(result.Failures.empty());
  EXPECT_EQ(Folder.Names("out"),
            (std::vector<std::string>{"music.wav", "picture-001.jpg", "picture-003.jpg",
                                      "picture-004.jpg", "picture-006-2.jpg", "picture-006.jpg",
                                      "same.jpg"}));
  EXPECT_EQ(Read("picture-001.jpg"), Jpeg(1));
  EXPECT_EQ(Read("same.jpg"), Jpeg(2));
  EXPECT_EQ(Read("picture-003.jpg"), Jpeg(3));
  EXPECT_EQ(Read("picture-004.jpg"), Jpeg(4));
  EXPECT_EQ(Read("picture-006.jpg"), Jpeg(5));
  EXPECT_EQ(Read("picture-006-2.jpg"), Jpeg(6));
  EXPECT_EQ(Read("music.wav"), "sound");
}

TEST_F(ForeignPackageTest, NamesComeBackAsWritten) {
  const std::string bridge =
                        "Br\xC3\xBC"
                        "cke am Strand.jpg",
                    sunset = "\xE5\xA4\x95\xE6\x97\xA5 sunset.jpg",
                    song = "Sommer & Berge \xE2\x80\x93 Fotos von J\xC3\xB6rg.wav",
                    evening = "\xE5\xA4\x95\xE6\x97\xA5.wav";
  // Names that all fit the code page are stored in it, as they always were.
  TSSFileLocations plain = OpenPackage(Write({{bridge, Jpeg(1)}}, {{song, "s"}}))->Settings;
  EXPECT_FALSE(plain.PicNamesUtf8 || plain.SndNamesUtf8);
  EXPECT_EQ(plain.PicFileNamesList.At(0),
            "Br\xFC"
            "cke am Strand.jpg");
  EXPECT_EQ(plain.Sounds().FileNameAt(0), "Sommer & Berge \x96 Fotos von J\xF6rg.wav");

  fs::path saver = Write({{bridge, Jpeg(1)}, {sunset, Jpeg(2)}}, {{song, "s"}, {evening, "e"}});
  TSSFileLocations s = OpenPackage(saver)->Settings;
  EXPECT_TRUE(s.PicNamesUtf8 && s.SndNamesUtf8);
  EXPECT_EQ(s.PicFileNameAt(1), sunset);
  // The player writes each sound under a code-page name of its own.
  EXPECT_EQ(s.Sounds().FileNameAt(0), "Sommer & Berge \x96 Fotos von J\xF6rg.wav");
  EXPECT_EQ(s.Sounds().FileNameAt(1), "_5915_65E5.wav");
  RunExtract(saver, Folder / "out", Log);
  EXPECT_EQ(Folder.Names("out"), (std::vector<std::string>{bridge, song, sunset, evening}));
  EXPECT_EQ(Read(sunset), Jpeg(2));
  EXPECT_EQ(Read(evening), "e");
}

TEST_F(ForeignPackageTest, AnUnreadablePictureIsReportedAndTheRestExtracted) {
  // The extra offset points into the player, where no picture object is.
  fs::path saver = Write({{"a.jpg", Jpeg(1)}}, {{"s.wav", "sound"}}, {"2"});
  TExtractResult result = RunExtract(saver, Folder / "out", Log);
  ASSERT_EQ(result.Failures.size(), 1u);
  EXPECT_EQ(result.Failures[0].rfind("picture 2: ", 0), 0u) << result.Failures[0];
  EXPECT_EQ(Folder.Names("out"), (std::vector<std::string>{"a.jpg", "s.wav"}));

  nlohmann::json report = nlohmann::json::parse(ReportJson(ReadPackageReport(saver)));
  const nlohmann::json& bad = report["pictures"][1];
  EXPECT_EQ(bad["offset"], 2);
  EXPECT_TRUE(bad["width"].is_null());
  EXPECT_TRUE(bad["height"].is_null());
  EXPECT_TRUE(bad["jpeg_bytes"].is_null());
  EXPECT_TRUE(bad["error"].is_string());
  EXPECT_TRUE(report["pictures"][0]["error"].is_null());
}

TEST_F(ForeignPackageTest, FilesWithoutAPackageAreRefusedByName) {
  fs::path shortFile = Folder.Write("short.bin", "tiny");
  fs::path plain = Folder.Write("plain.bin", std::string(100, 'x'));
  for (const fs::path& path : {shortFile, plain, Folder / "missing.scr"}) {
    try {
      ReadPackageReport(path);
      ADD_FAILURE() << path << ": no error";
    } catch (const EToolError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(path.string() + ": ", 0), 0u) << e.what();
    }
  }
  EXPECT_THROW(RunExtract(plain, Folder / "out", Log), EToolError);
  EXPECT_FALSE(fs::exists(Folder / "out"));
}

}  // namespace
}  // namespace pixvane::maker
