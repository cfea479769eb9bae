// The default skin through the tool: built, stored, read back and written
// again byte for byte, its text built again to the same skin, its form
// painted as designed, and a bad source named by file and line.
#include <gtest/gtest.h>

#include <sstream>

#include "base/Stream.h"
#include "maker/ImageFiles.h"
#include "maker/SkinMaker.h"
#include "maker/ToolError.h"
#include "skin/SkinManager.h"
#include "support/ToolTestFiles.h"

namespace pixvane::maker {
namespace {

const std::filesystem::path DefaultSkin = std::filesystem::path(PIXVANE_SKINS_DIR) / "default";

std::vector<uint8_t> StreamOf(const TSkinManager& manager) {
  TMemoryStream stream;
  manager.WriteSkinStream(stream);
  return stream.Bytes();
}

TEST(SkinCommand, TheDefaultSkinSurvivesBothStreamFormsByteForByte) {
  test::TToolFolder folder;
  BuildSkin(DefaultSkin, folder / "default.skin", 100);
  for (bool packed : {false, true}) {
    TSkinManager manager;
    manager.SkinStoreCompression = packed;
    manager.Source().LoadFromFile(folder / "default.skin");
    const std::vector<uint8_t> stored = StreamOf(manager);
    TSkinManager copy;
    copy.SkinStoreCompression = packed;
    TMemoryStream stream(stored);
    copy.ReadSkinStream(stream);
    EXPECT_EQ(StreamOf(copy), stored);
    EXPECT_EQ(copy.Source().FileBytes(), test::ReadBytes(folder / "default.skin"));
  }
}

TEST(SkinCommand, TheTextOfASkinBuildsTheSameSkinAgain) {
  test::TToolFolder folder;
  BuildSkin(DefaultSkin, folder / "first.skin", 100);
  TSkinSource first;
  LoadSkinInput(folder / "first.skin", false, first);
  std::ostringstream text;
  PrintSkinText(first, text);
  folder.Write("again/objects.txt", text.str());
  std::string manifest =
      "name = 'Pixvane Cream'\nversion = '1.0.0'\n"
      "author = 'The Pixvane developers'\n[bitmaps]\n";
  for (const char* name :
       {"Controls = 'controls.png'", "Frame = 'frame.png'", "SysButtons = 'sysbuttons.png'"}) {
    manifest += name;
    manifest += "\n";
  }
  folder.Write("again/skin.toml", manifest);
  for (const char* png : {"controls.png", "frame.png", "sysbuttons.png"})
    std::filesystem::copy_file(DefaultSkin / png, folder / "again" / png);
  BuildSkin(folder / "again", folder / "again.skin", 100);
  EXPECT_EQ(test::ReadBytes(folder / "again.skin"), test::ReadBytes(folder / "first.skin"));
}

TEST(SkinCommand, TheFormPaintsItsFrameCaptionAndCreamClient) {
  test::TToolFolder folder;
  BuildSkin(DefaultSkin, folder / "default.skin", 200);
  TSkinSource skin;
  LoadSkinInput(folder / "default.skin", false, skin);
  TSkinObject* form = skin.FormObject();
  ASSERT_NE(form, nullptr);
  form->SetActive(true);
  form->SetBounds(0, 0, 610, 574);
  TSkinBitmap target(610, 574);
  form->PaintTo(target);
  EXPECT_EQ(target.Pixel(0, 0) >> 24, 0u);  // outside the rounded corner
  EXPECT_EQ(target.Pixel(300, 300), OpaquePixel(0xE7F7FF));
  EXPECT_EQ(target.Pixel(0, 300), OpaquePixel(0x9EB6C4));  // the left border
  // The close button sits at the right edge however wide the form is.
  TSkinObject* close = form->FindByName("Close");
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(610 - close->BoundsRect().Right, 8);
  EXPECT_FALSE(form->MakeRegion().Contains(0, 0));
  EXPECT_TRUE(form->MakeRegion().Contains(300, 300));
}

TEST(SkinCommand, ARenderedTextIsReadAsUtf8) {
  test::TToolFolder folder;
  BuildSkin(DefaultSkin, folder / "default.skin", 100);
  TSkinSource skin;
  LoadSkinInput(folder / "default.skin", false, skin);
  auto render = [&](const std::string& text) {
    RenderSkin(skin, {"Panel.Caption", 120, 20, 0, text, false, folder / "caption.png"});
    return ReadImage(folder / "caption.png");
  };
  const TBitmap blank = render(" ");
  // The last column the text inks.
  auto inkEnd = [&](const std::string& text) {
    const TBitmap image = render(text);
    int32_t end = 0;
    for (int32_t y = 0; y < image.Height(); ++y)
      for (int32_t x = 0; x < image.Width(); ++x)
        if (image.Pixel(x, y) != blank.Pixel(x, y)) end = std::max(end, x + 1);
    return end;
  };
  // One character, as wide as "e"; its two UTF-8 bytes read as Windows-1252
  // would be two ("Ã©").
  EXPECT_GT(inkEnd("e"), 0);
  EXPECT_NEAR(inkEnd("\xC3\xA9"), inkEnd("e"), 1);
}

TEST(SkinCommand, ABadObjectTextIsNamedByFileAndLine) {
  test::TToolFolder folder;
  folder.Write("skin.toml", "name = 'x'\n");
  folder.Write("a.txt",
               "object A: TSkinObject\n  Width = 5\n  object B: TNoSuchClass\n  end\nend\n");
  try {
    BuildSkin(folder.Path(), folder / "x.skin", 100);
    FAIL() << "no error";
  } catch (const EToolError& e) {
    EXPECT_NE(std::string(e.what()).find("a.txt:3:"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("TNoSuchClass"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "x.skin"));
}

// skin.toml is read as strictly as a saver's manifest: a misspelt key or
// table, or a value of the wrong type, is named by its line, never ignored.
TEST(SkinCommand, ABadSkinTomlIsNamedByLineWithWhatWasMeant) {
  test::TToolFolder folder;
  folder.Write("a.txt", "object A: TSkinObject\nend\n");
  for (const auto& [toml, problem] : std::vector<std::pair<std::string, std::string>>{
           {"name = 'x'\nauther = 'y'\n",
            "skin.toml:2: unknown key \"auther\"; did you mean \"author\"?"},
           {"[bitmap]\nFrame = 'f.png'\n",
            "skin.toml:1: unknown table [bitmap]; did you mean \"bitmaps\"?"},
           {"\nversion = 2\n", "skin.toml:2: version must be a string, not an integer"},
           {"objects = 'a.txt'\n", "skin.toml:1: objects must be an array, not a string"},
           {"[bitmaps]\nFrame = 3\n", "skin.toml:2: a bitmap is NAME = \"file.png\""}}) {
    folder.Write("skin.toml", toml);
    try {
      BuildSkin(folder.Path(), folder / "x.skin", 100);
      ADD_FAILURE() << "no error for " << toml;
    } catch (const EToolError& e) {
      EXPECT_NE(std::string(e.what()).find(problem), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace pixvane::maker
