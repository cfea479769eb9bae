#pragma once
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

#include "skin/SkinSource.h"

namespace pixvane::maker {

// `pixvane skin build`: a skin from a source folder. DIR/skin.toml holds the
// header texts (name, version, author, email, url), the bitmaps as
// [bitmaps] NAME = "file.png" (in name order), and optionally objects, the
// files of object texts in order (default: every *.txt in DIR, by name).
// A text file holds one or more top-level objects, each with its children
// nested inside it (as `skin text` writes them). PNG pixels of magenta or
// alpha 0 become transparent. scale (100, 150, 200...) takes each bitmap
// from "name@SCALE.png" and multiplies every size and position in the
// objects, for screens at that scaling. With stream the output is not a
// skin file but a SkinStream value as a form stores it, packed (flag 2):
// what the player carries as its setup dialog's skin.
struct TSkinBuildResult {
  int Bitmaps = 0;
  int Objects = 0;
  int64_t FileSize = 0;
};
TSkinBuildResult BuildSkin(const std::filesystem::path& folder, const std::filesystem::path& output,
                           int scale, bool stream = false);

// Reads a skin file, or with stream a file holding a SkinStream value.
void LoadSkinInput(const std::filesystem::path& file, bool stream, TSkinSource& source);

// `pixvane skin inspect`: header, bitmaps and object tree, as text or JSON.
void PrintSkinReport(const TSkinSource& source, std::ostream& out);
std::string SkinJson(const TSkinSource& source);

// `pixvane skin text`: the top-level objects in the text form, each child
// nested in its parent (indented two spaces) where the stored form has the
// binary "Objects" property; `skin build` reads this form back.
void PrintSkinText(const TSkinSource& source, std::ostream& out);

// `pixvane skin render`: one object (a top-level name, or a path to a part
// such as "CheckBox.Checked") laid out at (0, 0, width, height) and painted
// into a transparent bitmap, written as an RGBA PNG.
struct TSkinRenderOptions {
  std::string Object;
  int32_t Width = 0, Height = 0;
  int32_t State = 0;
  std::string Text;  // UTF-8, as the command line gives it
  bool Inactive = false;
  std::filesystem::path Output;
};
void RenderSkin(const TSkinSource& source, const TSkinRenderOptions& options);

// "WxH" as two positive sizes; false when the text is not one.
bool ParseSize(const std::string& text, int32_t& width, int32_t& height);

}  // namespace pixvane::maker
