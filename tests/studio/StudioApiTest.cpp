#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <sstream>

#include "maker/Build.h"
#ifdef PIXVANE_HAVE_INSTALLERS
#include "maker/ExternalProgram.h"
#endif
#include "maker/Manifest.h"
#include "maker/PackageFile.h"
#include "maker/ToolError.h"
#include "studio/SaverProject.h"
#include "studio/StudioFixture.h"
#include "studio/StyleStrips.h"
#include "transition/styles/StyleTable.h"

namespace pixvane {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class StudioApiTest : public ::testing::Test, public test::TStudioFixture {
 protected:
  // Uploads the pictures as the page's "Add photos" does; returns the answer.
  json Upload(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& files) {
    httplib::MultipartFormDataItems items;
    for (const auto& [name, bytes] : files)
      items.push_back({"file", std::string(bytes.begin(), bytes.end()), name, "image/jpeg"});
    auto result = Client.Post((Path("api/upload") + "?to=pictures").c_str(), Changing(), items);
    return Json(result);
  }

  json WaitForBuild() {
    for (int i = 0; i < 600; ++i) {
      json state = Json(Client.Get(Path("api/build").c_str()));
      if (!state.value("running", false)) return state;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return nullptr;
  }

  std::vector<std::string> SavedPictureNames() {
    maker::TManifest saved = maker::LoadManifest(Project->ManifestFile());
    std::vector<std::string> names;
    for (const maker::TSourceFile& file : saved.Pictures)
      names.push_back(file.Path.filename().string());
    return names;
  }
};

TEST_F(StudioApiTest, AddReorderRemoveSaveAndBuildAsTheCommandLineDoes) {
  json added = Upload({{"a.jpg", test::MakeJpeg(64, 48, 1)},
                       {"../../b.jpg", test::MakeJpeg(48, 64, 2)},
                       {"c.jpg", test::MakeJpeg(32, 32, 3)},
                       {"notes.jpg", {'h', 'i'}}});
  EXPECT_EQ(added["added"], json({"pictures/a.jpg", "pictures/b.jpg", "pictures/c.jpg"}));
  ASSERT_EQ(added["problems"].size(), 1u);
  EXPECT_NE(added["problems"][0].get<std::string>().find("notes.jpg"), std::string::npos);
  // The same name again gets a name of its own, never replacing a file.
  EXPECT_EQ(Upload({{"a.jpg", test::MakeJpeg(8, 8, 4)}})["added"], json({"pictures/a-2.jpg"}));
  // So do uploads of one name at the same moment (two drops in a row: the
  // page sends each on a request of its own).
  std::vector<std::vector<uint8_t>> same(4);
  std::vector<std::string> names(same.size());
  std::vector<std::thread> uploads;
  for (size_t i = 0; i < same.size(); ++i) {
    same[i] = test::MakeJpeg(8, 8, 10 + static_cast<int>(i));
    uploads.emplace_back([&, i] {
      names[i] = Project->AddFile("pictures", "d.jpg", std::string(same[i].begin(), same[i].end()));
    });
  }
  for (std::thread& upload : uploads) upload.join();
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), same.size());
  for (size_t i = 0; i < same.size(); ++i)
    EXPECT_EQ(test::ReadBytes(Project->Folder() / names[i]), same[i]) << names[i];

  json manifest = Json(Client.Get(Path("api/project").c_str()))["manifest"];
  manifest["title"] = "Summer: best of";
  manifest["show"]["pictures"] = {"pictures/c.jpg", "pictures/a.jpg", "pictures/b.jpg"};
  manifest["caption"] = {{"text", "Hello"}};
  ASSERT_EQ(Post("api/save", manifest)->status, 200);
  EXPECT_EQ(SavedPictureNames(), (std::vector<std::string>{"c.jpg", "a.jpg", "b.jpg"}));

  // A picture with a caption of its own is a table among the plain names.
  manifest["show"]["pictures"] = {{{"file", "pictures/c.jpg"}, {"caption", "Café at dawn"}},
                                  "pictures/b.jpg"};
  manifest["show"]["motion"] = "pan-zoom";
  manifest["show"]["zoom"] = 1.2;
  manifest["show"]["interval"] = 500;  // a strobe: a warning, not a failure
  ASSERT_EQ(Post("api/save", manifest)->status, 200);
  EXPECT_EQ(SavedPictureNames(), (std::vector<std::string>{"c.jpg", "b.jpg"}));
  const std::vector<uint8_t> saved = test::ReadBytes(Project->ManifestFile());
  EXPECT_NE(
      std::string(saved.begin(), saved.end())
          .find("[ { caption = 'Café at dawn', file = 'pictures/c.jpg' }, 'pictures/b.jpg' ]"),
      std::string::npos);
  json check = Json(Post("api/check", manifest));
  EXPECT_EQ(check["pictures"], json({"pictures/c.jpg", "pictures/b.jpg"}));
  EXPECT_EQ(check["captions"], json({"Café at dawn", nullptr}));
  ASSERT_EQ(check["warnings"].size(), 1u);
  EXPECT_NE(check["warnings"][0].get<std::string>().find("interval"), std::string::npos);

  ASSERT_EQ(Post("api/build", manifest)->status, 202);
  json built = WaitForBuild();
  ASSERT_FALSE(built.contains("problem")) << built;
  EXPECT_EQ(built["warnings"].size(), 1u);
  const fs::path saver = Project->Folder() / "Summer_ best of.scr";
  EXPECT_EQ(built["size"], fs::file_size(saver));
  const TSSFileLocations settings = maker::OpenPackage(saver)->Settings;
  EXPECT_TRUE(settings.PanZoom());
  EXPECT_EQ(settings.MotionZoom, 1200);
  EXPECT_TRUE(settings.lPicCaptions);
  ASSERT_EQ(settings.DescriptList.Count(), 2);
  EXPECT_EQ(settings.DescriptList.At(0), "Caf\xE9 at dawn");
  EXPECT_EQ(settings.DescriptList.At(1), "");

  const fs::path byCommandLine = Folder / "command-line.scr";
  maker::RunBuild({Project->ManifestFile(), byCommandLine, Player});
  EXPECT_EQ(test::ReadBytes(saver), test::ReadBytes(byCommandLine));
}

#ifdef PIXVANE_HAVE_INSTALLERS
// Make installer: the saver as Build saver writes it, then its setup
// program beside it, on the one build's progress and result.
TEST_F(StudioApiTest, MakeInstallerBuildsTheSaverAndItsSetupProgram) {
  if (maker::FindProgram("makensis").empty()) GTEST_SKIP() << "makensis is not installed";
  json project = Json(Client.Get(Path("api/project").c_str()));
  EXPECT_EQ(project["installers"], true);
  Upload({{"a.jpg", test::MakeJpeg(64, 48, 1)}});
  json manifest = project["manifest"];
  manifest["title"] = "Dunes";
  manifest["show"]["pictures"] = {"pictures/a.jpg"};
  ASSERT_EQ(Post("api/installer", manifest)->status, 202);
  json built = WaitForBuild();
  ASSERT_FALSE(built.contains("problem")) << built;
  EXPECT_EQ(built["step"], "Compressing with makensis");
  EXPECT_EQ(built["size"], fs::file_size(Project->Folder() / "Dunes.scr"));
  EXPECT_EQ(built["installer_size"], fs::file_size(Project->Folder() / "Dunes Setup.exe"));
}
#endif

TEST_F(StudioApiTest, NamesStayAsWrittenFromUploadToSaverAndBack) {
  const std::string bridge = "Br\u00fccke am Strand", sunset = "\u5915\u65e5 sunset",
                    title = "Sommer & Berge \u2013 Fotos von J\u00f6rg";
  EXPECT_EQ(Upload({{bridge + ".jpg", test::MakeJpeg(64, 48, 1)},
                    {sunset + ".jpg", test::MakeJpeg(64, 48, 2)}})["added"],
            json({"pictures/" + bridge + ".jpg", "pictures/" + sunset + ".jpg"}));
  json manifest = Json(Client.Get(Path("api/project").c_str()))["manifest"];
  manifest["title"] = title;
  manifest["show"]["pictures"] = {"pictures/" + bridge + ".jpg", "pictures/" + sunset + ".jpg"};
  manifest["caption"] = {{"from", "name"}};
  ASSERT_EQ(Post("api/build", manifest)->status, 202);
  json built = WaitForBuild();
  ASSERT_FALSE(built.contains("problem")) << built;
  const fs::path saver = Project->Folder() / maker::PathFromUtf8(title + ".scr");
  ASSERT_TRUE(fs::exists(saver));
  const TSSFileLocations settings = maker::OpenPackage(saver)->Settings;
  EXPECT_EQ(settings.PicFileNameAt(1), sunset + ".jpg");
  EXPECT_EQ(settings.CaptionOf(0).ToUtf8(), bridge);
  EXPECT_EQ(settings.CaptionOf(1).ToUtf8(), sunset);
  // Opened in the studio again, the saver gives its files their names back.
  std::ostringstream log;
  studio::MakeProjectFromSaver(saver, Folder / "again", log);
  EXPECT_EQ(maker::LoadManifest(Folder / "again" / "pixvane.toml").Pictures.at(1).Path.filename(),
            maker::PathFromUtf8(sunset + ".jpg"));
}

TEST_F(StudioApiTest, AHandWrittenManifestKeepsEverySettingAndSaysWhatSavingDrops) {
  const fs::path example = fs::path(PIXVANE_EXAMPLES_DIR) / "beach";
  fs::copy(example, Project->Folder(),
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  json project = Json(Client.Get(Path("api/project").c_str()));
  ASSERT_EQ(project["lost"].size(), 1u);
  EXPECT_EQ(project["lost"][0], "comments (lines 1, 2, 3, 4, 17, 20, 29)");
  EXPECT_EQ(project["check"]["pictures"].size(), 5u);

  const fs::path before = Folder / "before.scr", after = Folder / "after.scr";
  maker::RunBuild({Project->ManifestFile(), before, Player});
  ASSERT_EQ(Post("api/save", project["manifest"])->status, 200);
  maker::RunBuild({Project->ManifestFile(), after, Player});
  EXPECT_EQ(test::ReadBytes(before), test::ReadBytes(after));
  EXPECT_TRUE(Json(Client.Get(Path("api/project").c_str()))["lost"].empty());
}

TEST_F(StudioApiTest, ThePreviewPlaysTheShowAtItsOwnPaceAndRestartsOnAChange) {
  Upload({{"a.jpg", test::MakeJpeg(64, 48, 1)}, {"b.jpg", test::MakeJpeg(64, 48, 2)}});
  json manifest = {{"show",
                    {{"pictures", {"pictures/a.jpg", "pictures/b.jpg"}},
                     {"effects", {118}},
                     {"interval", 1000}}}};
  json request = {{"manifest", manifest}, {"width", 64}, {"height", 48}};
  int run = Json(Post("api/preview", request))["run"];
  std::vector<int> times;
  std::set<std::string> images;
  // The first picture fades in at once, the second after the interval.
  for (int i = 0; i < 200 && (times.empty() || times.back() < 1000); ++i) {
    auto frame =
        Client.Get(Path("preview/" + std::to_string(run) + "/" + std::to_string(i)).c_str());
    ASSERT_EQ(frame->status, 200);
    EXPECT_EQ(frame->get_header_value("Content-Type"), "image/jpeg");
    times.push_back(std::stoi(frame->get_header_value("X-At-Ms")));
    images.insert(frame->body);
  }
  EXPECT_EQ(times[0], 0);
  EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
  EXPECT_GE(times.back(), 1000);
  EXPECT_GT(images.size(), 10u);  // the fades' images differ

  int next = Json(Post("api/preview", request))["run"];
  EXPECT_EQ(Client.Get(Path("preview/" + std::to_string(run) + "/0").c_str())->status, 410);
  EXPECT_EQ(Client.Get(Path("preview/" + std::to_string(next) + "/0").c_str())->status, 200);
}

// The page asks for the whole transitions gallery at once, a strip per
// style over the browser's handful of connections, while the preview
// plays: every strip comes back, each the same as it is when asked alone.
TEST_F(StudioApiTest, TheWholeGalleryWhileThePreviewPlaysGivesEveryStripAsAskedAlone) {
  Upload({{"a.jpg", test::MakeJpeg(64, 48, 1)}, {"b.jpg", test::MakeJpeg(64, 48, 2)}});
  json effects = json::array();
  for (int style = 1; style <= StyleCount; ++style) effects.push_back(style);
  json manifest = {{"show",
                    {{"pictures", {"pictures/a.jpg", "pictures/b.jpg"}},
                     {"effects", effects},
                     {"order", "random"},
                     {"random_effects", true},
                     {"interval", 200}}}};
  int run =
      Json(Post("api/preview", {{"manifest", manifest}, {"width", 64}, {"height", 48}}))["run"];

  constexpr int Connections = 6;  // a browser's per host
  std::vector<std::string> strips(StyleCount + 1);
  std::vector<int> statuses(StyleCount + 1, 0);
  std::atomic<int> next{1};
  std::atomic<bool> galleryDone{false};
  std::vector<std::thread> page;
  for (int i = 0; i < Connections; ++i)
    page.emplace_back([&] {
      httplib::Client client("127.0.0.1", Port);
      client.set_read_timeout(120, 0);
      for (int style = next++; style <= StyleCount; style = next++) {
        auto result = client.Get(Path("style/" + std::to_string(style) + ".jpg").c_str());
        statuses[style] = result ? result->status : -1;
        if (result) strips[style] = result->body;
      }
    });
  int frames = 0;
  std::thread preview([&] {
    httplib::Client client("127.0.0.1", Port);
    client.set_read_timeout(30, 0);
    for (int i = 0; !galleryDone || frames < 2; ++i) {
      auto frame =
          client.Get(Path("preview/" + std::to_string(run) + "/" + std::to_string(i)).c_str());
      if (!frame || frame->status != 200) break;
      ++frames;
    }
  });
  for (std::thread& connection : page) connection.join();
  galleryDone = true;
  preview.join();

  EXPECT_GE(frames, 2) << "the preview played alongside";
  studio::TStyleStrips alone;
  for (int style = 1; style <= StyleCount; ++style) {
    ASSERT_EQ(statuses[style], 200) << "style " << style;
    EXPECT_TRUE(strips[style] == alone.Strip(style)) << "style " << style;
  }
}

TEST_F(StudioApiTest, ASaverBecomesAProjectThatBuildsItAgain) {
  Folder.Write("src/a.jpg", test::MakeJpeg(64, 48, 1));
  Folder.Write("src/b.jpg", test::MakeJpeg(48, 64, 2));
  Folder.Write("src/waves.wav", "RIFF a sound");
  const char* described = R"(title = "Lost sources"
author = "Me"
[show]
pictures = ["a.jpg", "b.jpg"]
descriptions = ["one", "two"]
effects = [5, 127]
interval = 3000
order = "shuffle"
scale = "fill"
[caption]
text = "Café"
color = "#FFF4D6"
style = ["fsBold", "fsItalic"]
shadow = true
margin = 12
[music]
files = ["waves.wav"]
order = "repeat-one"
[exit]
mouse_move = false
)";
  // Captions beyond Windows-1252 are kept as UTF-8 in the saver.
  const char* captioned = R"(title = "Captions"
[show]
pictures = [{ file = "a.jpg", caption = "京都, first light" }, "b.jpg"]
motion = "pan-zoom"
zoom = 1.25
monitors = "each"
[caption]
text = "東京"
)";
  for (const char* manifest : {described, captioned}) {
    SCOPED_TRACE(manifest);
    Folder.Write("src/pixvane.toml", manifest);
    const fs::path saver = Folder / "lost.scr", again = Folder / "again.scr";
    for (const fs::path& old : {saver, again, Folder / "lost"}) fs::remove_all(old);
    maker::RunBuild({Folder / "src/pixvane.toml", saver, Player});
    std::ostringstream listing;
    studio::MakeProjectFromSaver(saver, Folder / "lost", listing);
    maker::RunBuild({Folder / "lost/pixvane.toml", again, Player});
    EXPECT_EQ(test::ReadBytes(saver), test::ReadBytes(again));
  }
}

}  // namespace
}  // namespace pixvane
