#include <gtest/gtest.h>

#include <fstream>

#include "maker/Manifest.h"
#include "maker/ToolError.h"
#include "package/Font.h"
#include "support/ToolTestFiles.h"

namespace pixvane::maker {
namespace {

namespace fs = std::filesystem;

class ManifestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Loading checks that files exist, not what they hold.
    Folder.Write("a.jpg", "x");
    Folder.Write("b.jpg", "x");
  }

  TManifest Load(const std::string& text, const std::string& name = "m.toml") {
    return LoadManifest(Folder.Write(name, text));
  }

  // Loading text must fail with "FILE:LINE: " in front of a message that
  // contains problem.
  void ExpectError(const std::string& text, int line, const std::string& problem) {
    SCOPED_TRACE(text);
    fs::path path = Folder.Write("m.toml", text);
    try {
      LoadManifest(path);
      ADD_FAILURE() << "no error";
    } catch (const EToolError& e) {
      std::string message = e.what();
      std::string where = path.string() + ":" + std::to_string(line) + ": ";
      EXPECT_EQ(message.substr(0, where.size()), where) << message;
      EXPECT_NE(message.find(problem), std::string::npos) << message;
    }
  }

  test::TToolFolder Folder;
};

const std::string Pictures = "[show]\npictures = [\"a.jpg\"]\n";

TEST_F(ManifestTest, DefaultsOfAMinimalManifest) {
  TManifest m = Load(Pictures);
  const TSSFileLocations& s = m.Settings;
  EXPECT_EQ(s.Kind(), TSaverKind::Photo);
  EXPECT_EQ(s.Title, "");
  ASSERT_EQ(m.Pictures.size(), 1u);
  EXPECT_EQ(m.Pictures[0].Line, 2);
  EXPECT_EQ(s.Interval, 5000);
  EXPECT_FALSE(s.lRandomPic || s.lRandomStyle || s.lClearOldImage);
  EXPECT_EQ(s.Scale(), TScaleMode::Fit);
  EXPECT_FALSE(s.lShufflePic || s.lCaptionShadow);
  EXPECT_EQ(s.CaptionMargin, 0);
  EXPECT_EQ(s.Monitors(), TMonitorMode::Same);
  EXPECT_TRUE(m.AutoRotate);
  EXPECT_EQ(m.MaxWidth, 0);
  EXPECT_EQ(s.Text, "");
  EXPECT_EQ(s.TextFont.Name, "Arial");
  EXPECT_EQ(s.TextFont.Height, -24);
  EXPECT_EQ(s.TextFont.Color, 0xFFFFFF);
  EXPECT_EQ(s.TextFont.Charset, 1);
  EXPECT_EQ(s.TextFont.Style, 0u);
  EXPECT_EQ(s.SoundOrder(), TSoundOrder::List);
  EXPECT_FALSE(s.lSoundLoop || s.lMute || s.lShowMouseCursor);
  EXPECT_TRUE(s.lExitMouseMove && s.lExitMouseClick && s.lExitKeyPress && s.lExitFSCommandQuit);
}

// No effects would mean plain cuts; named cuts stay cuts.
TEST_F(ManifestTest, AManifestWithoutEffectsGetsTheDefaultList) {
  for (const std::string& keys : {std::string(), std::string("effects = []\n")}) {
    TManifest m = Load(Pictures + keys);
    EXPECT_EQ(m.Settings.EffectList.CommaText(), "118,5,22,11,53,127") << keys;
    EXPECT_TRUE(m.DefaultEffects);
  }
  TManifest cuts = Load(Pictures + "effects = [0]\n");
  EXPECT_EQ(cuts.Settings.EffectList.CommaText(), "0");
  EXPECT_FALSE(cuts.DefaultEffects);
}

TEST_F(ManifestTest, CaptionColoursCharsetsAndStyles) {
  TManifest m = Load(Pictures +
                     "[caption]\ncolor = \"#1A2B3C\"\ncharset = \"GREEK_CHARSET\"\n"
                     "style = [\"fsItalic\", \"fsStrikeOut\"]\n");
  EXPECT_EQ(m.Settings.TextFont.Color, 0x3C2B1A);  // stored 00BBGGRR
  EXPECT_EQ(m.Settings.TextFont.Charset, 161);
  EXPECT_EQ(m.Settings.TextFont.Style, fsItalic | fsStrikeOut);
  EXPECT_EQ(Load(Pictures + "[caption]\ncolor = \"clRed\"\n").Settings.TextFont.Color, 0x0000FF);
  EXPECT_EQ(Load(Pictures + "[caption]\ncolor = \"clBtnFace\"\n").Settings.TextFont.Color,
            static_cast<int32_t>(0x8000000F));
}

TEST_F(ManifestTest, ScaleAndOrderAcceptTheirOlderFlags) {
  auto scale = [&](const std::string& keys) { return Load(Pictures + keys).Settings.Scale(); };
  EXPECT_EQ(scale("scale = \"fill\"\n"), TScaleMode::Fill);
  EXPECT_EQ(scale("scale = \"none\"\n"), TScaleMode::None);
  EXPECT_EQ(scale("stretch = true\n"), TScaleMode::Stretch);
  EXPECT_EQ(scale("stretch = false\nscale = \"none\"\n"), TScaleMode::None);
  ExpectError(Pictures + "scale = \"fit\"\nstretch = true\n", 4,
              "show.stretch = true disagrees with show.scale; keep show.scale only");
  ExpectError(Pictures + "scale = \"zoom\"\n", 3,
              "show.scale \"zoom\" is not one of \"stretch\", \"fit\", \"fill\", \"none\"");

  TSSFileLocations shuffle = Load(Pictures + "order = \"shuffle\"\n").Settings;
  EXPECT_TRUE(shuffle.lShufflePic && shuffle.lRandomPic);
  TSSFileLocations random = Load(Pictures + "random_order = true\norder = \"random\"\n").Settings;
  EXPECT_TRUE(random.lRandomPic && !random.lShufflePic);
  EXPECT_FALSE(Load(Pictures + "order = \"list\"\n").Settings.lRandomPic);
  ExpectError(Pictures + "order = \"shuffle\"\nrandom_order = false\n", 4,
              "show.random_order = false disagrees with show.order");
}

TEST_F(ManifestTest, PicturePreparationAndCaptionLayout) {
  TManifest m = Load(Pictures +
                     "auto_rotate = false\nmax_size = \"3840x2160\"\nmonitors = \"each\"\n"
                     "[caption]\nshadow = true\nmargin = 40\n");
  EXPECT_FALSE(m.AutoRotate);
  EXPECT_EQ(m.MaxWidth, 3840);
  EXPECT_EQ(m.MaxHeight, 2160);
  EXPECT_TRUE(m.Settings.lCaptionShadow);
  EXPECT_EQ(m.Settings.CaptionMargin, 40);
  EXPECT_EQ(m.Settings.MonitorMode, 1);
  ExpectError(Pictures + "monitors = \"all\"\n", 3,
              "show.monitors \"all\" is not one of \"same\", \"each\"");
  for (const char* size : {"3840", "0x100", "100x", "x", "4K", "100x-5", "70000x100", "1x2x3"})
    ExpectError(Pictures + "max_size = \"" + size + "\"\n", 3,
                "show.max_size \"" + std::string(size) + "\" is not a size");
  ExpectError(Pictures + "[caption]\nmargin = -1\n", 4, "caption.margin must be between 0 and");
}

TEST_F(ManifestTest, MotionAndItsZoom) {
  EXPECT_FALSE(Load(Pictures).Settings.PanZoom());
  TManifest m = Load(Pictures + "motion = \"pan-zoom\"\nzoom = 1.3\n");
  EXPECT_TRUE(m.Settings.PanZoom());
  EXPECT_EQ(m.Settings.MotionZoom, 1300);
  EXPECT_EQ(Load(Pictures + "zoom = 1.05\n").Settings.MotionZoom, 1050);
  ExpectError(Pictures + "motion = \"ken-burns\"\n", 3,
              "show.motion \"ken-burns\" is not one of \"none\", \"pan-zoom\"");
  for (const char* zoom : {"2", "1.0", "1.6", "\"1.2\""})
    ExpectError(Pictures + "zoom = " + zoom + "\n", 3,
                "show.zoom must be a number from 1.05 to 1.5");
}

TEST_F(ManifestTest, MusicOrdersMapToTheirOrders) {
  Folder.Write("s.wav", "x");
  for (auto [name, order] : {std::pair{"list", TSoundOrder::List},
                             {"random", TSoundOrder::Random},
                             {"repeat-one", TSoundOrder::RepeatOne}})
    EXPECT_EQ(Load(Pictures + "[music]\nfiles = [\"s.wav\"]\norder = \"" + name + "\"\n")
                  .Settings.SoundOrder(),
              order);
}

TEST_F(ManifestTest, GlobsExpandInNameOrderBesidePlainEntries) {
  for (const char* name : {"pics/03.jpg", "pics/01.jpg", "pics/02.jpg"}) Folder.Write(name, "x");
  TManifest m = Load("[show]\npictures = [\"b.jpg\",\n  \"pics/*.jpg\",\n  \"a.jpg\"]\n");
  std::vector<std::string> names;
  std::vector<int> lines;
  for (const TSourceFile& file : m.Pictures) {
    names.push_back(file.Path.filename().string());
    lines.push_back(file.Line);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"b.jpg", "01.jpg", "02.jpg", "03.jpg", "a.jpg"}));
  EXPECT_EQ(lines, (std::vector<int>{2, 3, 3, 3, 4}));
}

TEST_F(ManifestTest, PathsAreRelativeToTheManifestFolder) {
  // The manifest sits in show/ and reaches a shared sound in the folder
  // above; the sound is stored under its own name.
  Folder.Write("show/pics/x.jpg", "x");
  Folder.Write("waves.wav", "x");
  TManifest m = Load("[show]\npictures = [\"pics/x.jpg\"]\n[music]\nfiles = [\"../waves.wav\"]\n",
                     "show/m.toml");
  ASSERT_EQ(m.Sounds.size(), 1u);
  EXPECT_TRUE(fs::equivalent(m.Sounds[0].Path, Folder / "waves.wav"));
  EXPECT_EQ(MediaName(m.Sounds[0].Path), "waves.wav");
  EXPECT_TRUE(fs::equivalent(m.Pictures[0].Path, Folder / "show/pics/x.jpg"));
}

TEST_F(ManifestTest, AnExistingFileWithBracketsIsNotAGlob) {
  Folder.Write("photo[1].jpg", "x");
  TManifest m = Load("[show]\npictures = [\"photo[1].jpg\"]\n");
  ASSERT_EQ(m.Pictures.size(), 1u);
  EXPECT_EQ(m.Pictures[0].Path.filename().string(), "photo[1].jpg");
}

TEST_F(ManifestTest, StructureErrorsNameFileAndLine) {
  ExpectError("titel = \"x\"\n" + Pictures, 1, "unknown key \"titel\"");
  ExpectError(Pictures + "speed = 3\n", 3, "unknown key \"show.speed\"");
  ExpectError(Pictures + "[sound]\nfiles = []\n", 3, "unknown table [sound]");
  ExpectError(Pictures + "[caption]\n[caption.outline]\non = true\n", 4,
              "unknown table [caption.outline]");
  ExpectError("title = \"x\n" + Pictures, 1, "");  // TOML syntax: an unterminated string
  fs::path header = Folder.Write("header.toml", Pictures + "[=]\n");
  EXPECT_THROW(LoadManifest(header), EToolError);  // not an abort in toml++
  // Letters outside ASCII where toml++ 3.3 would test them as white space
  // (undefined behaviour there): after a value, even behind a bracket.
  ExpectError(Pictures + "t5=5555555[\"pictu\xC3\xB6rg\"\nkind =npg\"]\n", 3, "");
  ExpectError(Pictures + "t = 1 \xC3\xA9\n", 3, "");
  ExpectError("kind = \"Photo\"\n" + Pictures, 1, "unknown kind \"Photo\"");
  ExpectError("show = 3\n", 1, "show must be a table, not an integer");
  ExpectError(Pictures + "interval = \"5s\"\n", 3,
              "show.interval must be an integer, not a string");
  ExpectError(Pictures + "stretch = 1\n", 3, "show.stretch must be true or false");
  ExpectError("[show]\npictures = \"a.jpg\"\n", 2, "show.pictures must be an array");
  ExpectError("[show]\npictures = [\"a.jpg\",\n 7]\n", 3,
              "must be a string or a table { file = ..., caption = ... }, not an integer");
}

TEST_F(ManifestTest, ValueErrorsNameFileAndLine) {
  ExpectError(Pictures + "effects = [1,\n  128]\n", 4, "effect 128 is outside 0-127");
  ExpectError(Pictures + "effects = [-1]\n", 3, "effect -1 is outside 0-127");
  ExpectError(Pictures + "interval = 0\n", 3, "show.interval must be between 1 and");
  ExpectError(Pictures + "[caption]\ncolor = \"pink\"\n", 4, "caption.color \"pink\"");
  ExpectError(Pictures + "[caption]\ncolor = \"#12345\"\n", 4, "caption.color");
  ExpectError(Pictures + "[caption]\ncharset = \"UTF8\"\n", 4, "caption.charset \"UTF8\"");
  ExpectError(Pictures + "[caption]\nstyle = [\"fsBold\", \"bold\"]\n", 4,
              "caption.style \"bold\"");
  ExpectError(Pictures + "[caption]\nfont = \"\"\n", 4, "caption.font");
  ExpectError(Pictures + "[music]\norder = \"shuffle\"\n", 4, "music.order \"shuffle\"");
}

TEST_F(ManifestTest, FileErrorsNameFileAndLine) {
  ExpectError("[show]\npictures = [\"a.jpg\",\n  \"gone.jpg\"]\n", 3, "file not found: gone.jpg");
  ExpectError("[show]\npictures = [\"*.png\"]\n", 2, "no files match *.png");
#ifndef _WIN32
  // Linux tells letter cases apart; the files a pattern missed only by case
  // are named.
  ExpectError("[show]\npictures = [\"*.JPG\"]\n", 2,
              "no files match *.JPG; file names are case-sensitive here, and these differ from "
              "it only in letter case: a.jpg, b.jpg");
#endif
  ExpectError("[show]\npictures = [\"*/a.jpg\"]\n", 2,
              "wildcards are allowed only in the last part");
  fs::create_directory(Folder / "pics");
  ExpectError("[show]\npictures = [\"pics\"]\n", 2, "pics is a folder");
}

TEST_F(ManifestTest, KindsNeedTheirMedia) {
  ExpectError("title = \"x\"\n[show]\ninterval = 3\n", 2,
              "kind \"photo\" needs at least one picture");
  ExpectError("[show]\npictures = []\n", 2, "kind \"photo\" needs at least one picture");
  ExpectError("kind = \"photo\"\n", 1, "kind \"photo\" needs at least one picture");
  ExpectError("kind = \"flash\"\n", 1, "kind \"flash\" needs at least one Flash file");
  Folder.Write("m.swf", "x");
  TManifest flash = Load("kind = \"flash\"\n[flash]\nfiles = [\"m.swf\"]\n");
  EXPECT_EQ(flash.Settings.Kind(), TSaverKind::Flash);
  EXPECT_TRUE(flash.Pictures.empty());
  EXPECT_EQ(flash.Flash.size(), 1u);
}

TEST_F(ManifestTest, MediaNamesMustSurviveExtraction) {
#ifndef _WIN32
  // Names Windows would read as a path or a device; only a POSIX file system
  // lets us make such files to begin with.
  Folder.Write("..\\x.wav", "x");
  ExpectError(Pictures + "[music]\nfiles = [\"..\\\\x.wav\"]\n", 4, "not a plain file name");
  Folder.Write("con.wav", "x");
  ExpectError(Pictures + "[music]\nfiles = [\"con.wav\"]\n", 4, "not a plain file name");
#endif
  // Any character a file name may hold is kept; the package stores it as UTF-8.
  Folder.Write(PathFromUtf8("sn\xE2\x98\x83w.wav"), "x");
  EXPECT_EQ(Load(Pictures + "[music]\nfiles = [\"sn\xE2\x98\x83w.wav\"]\n").Sounds.size(), 1u);
  // Sounds and Flash files share one folder when extracted, and Windows
  // does not tell letter cases apart.
  Folder.Write("one/Intro.wav", "x");
  Folder.Write("two/intro.WAV", "x");
  ExpectError(
      Pictures + "[music]\nfiles = [\"one/Intro.wav\"]\n[flash]\nfiles = [\"two/intro.WAV\"]\n", 6,
      "already used by \"Intro.wav\" (line 4)");
  ExpectError(Pictures + "[music]\nfiles = [\"one/Intro.wav\",\n  \"one/Intro.wav\"]\n", 5,
              "already used");
}

TEST_F(ManifestTest, MisspeltKeysGetTheClosestKnownOne) {
  ExpectError("[show]\npictures = [\"a.jpg\"]\nintervall = 4000\n", 3,
              "unknown key \"show.intervall\"; did you mean \"show.interval\"?");
  ExpectError("[sohw]\n", 1, "unknown table [sohw]; did you mean \"show\"?");
  // A key in the wrong table is found in the table it belongs to.
  ExpectError("pictures = [\"a.jpg\"]\n", 1,
              "unknown key \"pictures\"; did you mean \"show.pictures\" (under [show])?");
  ExpectError("files = []\n", 1,
              "did you mean \"music.files\" (under [music]) or \"flash.files\" (under [flash])?");
  ExpectError(Pictures + "title = \"x\"\n", 3,
              "did you mean \"title\" (at the top, before the first [table])?");
  // Keys of older manifests, and the record's own flag names, lead to
  // today's key with the value that says the same.
  ExpectError(Pictures + "shufle = true\n", 3,
              "unknown key \"show.shufle\"; did you mean show.order = \"shuffle\"?");
  ExpectError(Pictures + "shuffle = false\n", 3, "did you mean show.order = \"list\"?");
  ExpectError(Pictures + "lStretch = true\n", 3, "did you mean show.scale = \"stretch\"?");
  ExpectError(Pictures + "[music]\nshuffle = true\n", 4, "did you mean music.order = \"random\"?");
  // Nothing is offered rather than a guess: not the table [exit] for a key,
  // nor caption.font two letters from a short key of [show].
  try {
    Load(Pictures + "fit = false\n");
    ADD_FAILURE() << "no error";
  } catch (const EToolError& e) {
    EXPECT_EQ(std::string(e.what()), (Folder / "m.toml").string() + ":3: unknown key \"show.fit\"");
  }
}

TEST_F(ManifestTest, LikelyMistakesWarnWithTheirLine) {
  // A name outside Windows-1252 (the "№") is no mistake: it is kept as written.
  std::ofstream(Folder.Path() / PathFromUtf8("caf\xC3\xA9 \xE2\x82\xAC \xE2\x84\x96.jpg")) << "x";
  TManifest m = Load("[show]\npictures = [\"a.jpg\", \"caf*.jpg\"]\ninterval = 3\n");
  std::string where = (Folder / "m.toml").string();
  ASSERT_EQ(m.Warnings.size(), 1u);
  EXPECT_EQ(
      m.Warnings[0].rfind(where + ":3: show.interval is 3 ms; the interval is in milliseconds", 0),
      0u)
      << m.Warnings[0];
  EXPECT_TRUE(Load(Pictures + "interval = 1000\n").Warnings.empty());
}

TEST_F(ManifestTest, PicturesCarryTheirOwnCaptionsInTheDescriptionList) {
  Folder.Write("c.jpg", "x");
  TManifest m = Load(
      "[show]\npictures = [{ file = \"a.jpg\", caption = \"Kyoto, first light\" }, \"b.jpg\",\n"
      "  { file = \"c*.jpg\", caption = \"Gr\xC3\xBC\xC3\x9F"
      "e \xE2\x98\x80 \xE6\x9D\xB1\" }]\n"
      "[caption]\ntext = \"Caf\xC3\xA9\"\n");
  const TSSFileLocations& s = m.Settings;
  ASSERT_EQ(m.Pictures.size(), 3u);
  EXPECT_TRUE(s.lPicCaptions);
  // One caption outside Windows-1252 makes the whole list UTF-8; the show's
  // caption fits and stays 8-bit.
  EXPECT_TRUE(s.DescriptUtf8);
  EXPECT_EQ(s.DescriptList.Items, (std::vector<std::string>{"Kyoto, first light", "",
                                                            "Gr\xC3\xBC\xC3\x9F"
                                                            "e \xE2\x98\x80 \xE6\x9D\xB1"}));
  EXPECT_EQ(s.CaptionOf(1), TStoredText("Caf\xE9"));
  EXPECT_FALSE(Load(Pictures).Settings.lPicCaptions) << "no captions: the record as before";
  ExpectError("[show]\npictures = [{ caption = \"x\" }]\n", 2, "needs file = \"...\"");
  ExpectError("[show]\npictures = [{ file = \"a.jpg\", title = \"x\" }]\n", 2,
              "unknown key \"title\"");
  ExpectError(
      "[show]\npictures = [{ file = \"a.jpg\", caption = \"x\" }]\ndescriptions = [\"y\"]\n", 3,
      "show.descriptions and the pictures' captions");
}

TEST_F(ManifestTest, CaptionsComeFromNamesOrDatesTaken) {
  Folder.Write("dated.jpg", test::WithExifDate(test::MakeJpeg(8, 8, 1), "2024:03:12 09:30:00"));
  Folder.Write("blank.jpg", test::WithExifDate(test::MakeJpeg(8, 8, 2), "    :  :     :  :  "));
  TManifest byName = Load(
      "[show]\npictures = [\"a.jpg\", { file = \"b.jpg\", caption = \"Own\" }]\n"
      "[caption]\nfrom = \"name\"\n");
  EXPECT_EQ(byName.Settings.DescriptList.Items, (std::vector<std::string>{"a", "Own"}));
  TManifest byDate = Load(
      "[show]\npictures = [\"dated.jpg\", \"blank.jpg\", \"a.jpg\"]\n[caption]\nfrom = \"date\"\n");
  EXPECT_EQ(byDate.Settings.DescriptList.Items,
            (std::vector<std::string>{"12 March 2024", "", ""}));
  ASSERT_EQ(byDate.Warnings.size(), 1u) << "one warning lists every picture without a date";
  EXPECT_NE(
      byDate.Warnings[0].find(":4: caption.from = \"date\": no date taken in blank.jpg, a.jpg"),
      std::string::npos)
      << byDate.Warnings[0];
  ExpectError(Pictures + "[caption]\nfrom = \"exif\"\n", 4, "caption.from \"exif\" is not one of");
}

}  // namespace
}  // namespace pixvane::maker
