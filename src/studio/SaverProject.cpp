#include "studio/SaverProject.h"

#include <cstdio>

#include "base/CodePage.h"
#include "maker/OutputFile.h"
#include "maker/PackageFile.h"
#include "maker/ToolError.h"
#include "package/IdentMaps.h"
#include "studio/ManifestJson.h"

namespace pixvane::studio {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

json Names(const std::vector<fs::path>& files, const fs::path& folder) {
  json names = json::array();
  for (const fs::path& file : files) {
    // Straight to UTF-8: a narrow path string on Windows is in another code.
    std::u8string name = file.lexically_relative(folder).generic_u8string();
    names.push_back(std::string(name.begin(), name.end()));
  }
  return names;
}

std::string ColorText(int32_t color) {
  if (auto* entry = ColorIdents.FindValue(color)) return std::string(entry->Name);
  char text[8];
  uint32_t bgr = static_cast<uint32_t>(color);
  std::snprintf(text, sizeof text, "#%02X%02X%02X", bgr & 0xFF, (bgr >> 8) & 0xFF,
                (bgr >> 16) & 0xFF);
  return text;
}

json Caption(const TSSFileLocations& s) {
  const TFont& font = s.TextFont;
  json styles = json::array();
  for (const TIdentEntry& entry : FontStyleNames)
    if (font.Style & (1u << entry.Value)) styles.push_back(std::string(entry.Name));
  json caption = {{"text", TStoredText(s.Text, s.TextUtf8).ToUtf8()},
                  {"font", AnsiToUtf8(font.Name)},
                  {"height", font.Height},
                  {"color", ColorText(font.Color)},
                  {"style", styles},
                  {"shadow", s.lCaptionShadow},
                  {"margin", s.CaptionMargin}};
  if (auto* charset = CharsetIdents.FindValue(font.Charset))
    caption["charset"] = std::string(charset->Name);
  return caption;
}

const char* OrderName(const TSSFileLocations& s) {
  return s.lShufflePic ? "shuffle" : s.lRandomPic ? "random" : "list";
}

const char* ScaleName(TScaleMode mode) {
  switch (mode) {
    case TScaleMode::Fit:
      return "fit";
    case TScaleMode::Fill:
      return "fill";
    case TScaleMode::None:
      return "none";
    default:
      return "stretch";
  }
}

const char* SoundOrderName(TSoundOrder order) {
  return order == TSoundOrder::Random      ? "random"
         : order == TSoundOrder::RepeatOne ? "repeat-one"
                                           : "list";
}

// The pictures by name; with captions of their own, each captioned one as a
// table, since the saver keeps those captions where descriptions go.
json Pictures(const TSSFileLocations& s, const std::vector<fs::path>& files,
              const fs::path& folder) {
  json pictures = Names(files, folder);
  if (!s.lPicCaptions) return pictures;
  for (int i = 0; i < static_cast<int>(pictures.size()) && i < s.DescriptList.Count(); ++i) {
    std::string caption = TStoredText(s.DescriptList.At(i), s.DescriptUtf8).ToUtf8();
    if (!caption.empty()) pictures[i] = {{"file", pictures[i]}, {"caption", caption}};
  }
  return pictures;
}

}  // namespace

json ManifestOfSaver(const TSSFileLocations& s, const maker::TExtractResult& files,
                     const fs::path& folder) {
  json effects = json::array(), descriptions = json::array();
  for (int i = 0; i < s.EffectCount(); ++i) effects.push_back(s.EffectAt(i));
  for (int i = 0; i < s.DescriptList.Count(); ++i)
    descriptions.push_back(TStoredText(s.DescriptList.At(i), s.DescriptUtf8).ToUtf8());
  json manifest = {{"title", AnsiToUtf8(s.Title)},
                   {"author", AnsiToUtf8(s.Author)},
                   {"email", AnsiToUtf8(s.Email)},
                   {"web", AnsiToUtf8(s.Web)},
                   {"kind", s.Kind() == TSaverKind::Flash ? "flash" : "photo"},
                   {"show",
                    {{"pictures", Pictures(s, files.Pictures, folder)},
                     {"descriptions", descriptions},
                     {"effects", effects},
                     {"interval", s.Interval},
                     {"order", OrderName(s)},
                     {"random_effects", s.lRandomStyle},
                     {"clear_between", s.lClearOldImage},
                     {"scale", ScaleName(s.Scale())},
                     {"motion", s.PanZoom() ? "pan-zoom" : "none"},
                     {"zoom", s.MotionZoom / 1000.0},
                     {"monitors", s.Monitors() == TMonitorMode::Each ? "each" : "same"},
                     // The pictures in the saver are upright already.
                     {"auto_rotate", false}}},
                   {"caption", Caption(s)},
                   {"music",
                    {{"files", Names(files.Sounds, folder)},
                     {"order", SoundOrderName(s.SoundOrder())},
                     {"loop", s.lSoundLoop},
                     {"mute", s.lMute}}},
                   {"exit",
                    {{"mouse_move", s.lExitMouseMove},
                     {"mouse_click", s.lExitMouseClick},
                     {"key_press", s.lExitKeyPress},
                     {"show_cursor", s.lShowMouseCursor},
                     {"flash_quit", s.lExitFSCommandQuit}}}};
  // Captions of the pictures' own take the descriptions' place.
  if (s.lPicCaptions) manifest["show"].erase("descriptions");
  if (!files.Flash.empty()) manifest["flash"] = {{"files", Names(files.Flash, folder)}};
  return manifest;
}

void MakeProjectFromSaver(const fs::path& saver, const fs::path& folder, std::ostream& out) {
  TSSFileLocations settings = maker::OpenPackage(saver)->Settings;
  maker::TExtractResult files = maker::RunExtract(saver, folder, out);
  for (const std::string& failure : files.Failures)
    out << "pixvane: " << maker::Located(saver, 0, failure) << "\n";
  std::string text = ManifestFromJson(ManifestOfSaver(settings, files, folder));
  maker::WriteOutputFile(folder / "pixvane.toml", std::vector<uint8_t>(text.begin(), text.end()));
}

}  // namespace pixvane::studio
