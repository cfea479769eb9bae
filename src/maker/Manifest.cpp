#include "maker/Manifest.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <sstream>

#include "base/AsciiText.h"
#include "base/CodePage.h"
#include "base/Paths.h"
#include "maker/Glob.h"
#include "maker/PictureCaptions.h"
#include "maker/StrictToml.h"
#include "maker/ToolError.h"
#include "package/IdentMaps.h"
#include "transition/styles/StyleTable.h"

namespace pixvane::maker {
namespace {

namespace fs = std::filesystem;

// The manifest's tables and keys (see the README), and the keys makers
// remember from older manifests or from the settings `pixvane inspect` shows.
const TTomlSchema ManifestSchema = {
    {{"", {"title", "author", "email", "web", "kind", "show", "caption", "music", "flash", "exit"}},
     {"show",
      {"pictures", "descriptions", "effects", "interval", "order", "random_order", "random_effects",
       "clear_between", "scale", "stretch", "auto_rotate", "max_size", "motion", "zoom",
       "monitors"}},
     {"caption",
      {"text", "font", "height", "color", "charset", "style", "shadow", "margin", "from"}},
     {"music", {"files", "order", "loop", "mute"}},
     {"flash", {"files"}},
     {"exit", {"mouse_move", "mouse_click", "key_press", "show_cursor", "flash_quit"}}},
    {{"show", "shuffle", "order = \"shuffle\"", "order = \"list\""},
     {"show", "random", "order = \"random\"", "order = \"list\""},
     {"show", "lShufflePic", "order = \"shuffle\"", "order = \"list\""},
     {"show", "lRandomPic", "order = \"random\"", "order = \"list\""},
     {"show", "lStretch", "scale = \"stretch\"", "scale = \"none\""},
     {"show", "fit", "scale = \"fit\"", ""},
     {"show", "fill", "scale = \"fill\"", ""},
     {"show", "lRandomStyle", "random_effects = true", "random_effects = false"},
     {"show", "lClearOldImage", "clear_between = true", "clear_between = false"},
     {"caption", "lCaptionShadow", "shadow = true", "shadow = false"},
     {"music", "shuffle", "order = \"random\"", "order = \"list\""},
     {"music", "random", "order = \"random\"", "order = \"list\""},
     {"music", "lSoundLoop", "loop = true", "loop = false"},
     {"music", "lMute", "mute = true", "mute = false"},
     {"exit", "lExitMouseMove", "mouse_move = true", "mouse_move = false"},
     {"exit", "lExitMouseClick", "mouse_click = true", "mouse_click = false"},
     {"exit", "lExitKeyPress", "key_press = true", "key_press = false"},
     {"exit", "lShowMouseCursor", "show_cursor = true", "show_cursor = false"},
     {"exit", "lExitFSCommandQuit", "flash_quit = true", "flash_quit = false"}}};

// A text of the record: the manifest's UTF-8 in the package's code page.
void Text(const TTomlTable& table, std::string_view key, std::string& field) {
  if (auto text = table.String(key)) field = Utf8ToAnsi(*text);
}

// For a pattern that matched nothing: the files it missed only by letter
// case, which a maker coming from Windows would expect it to match.
std::string CaseHint(const fs::path& base, const std::string& pattern) {
  const std::vector<fs::path> near = CaseOnlyMatches(base, pattern);
  if (near.empty()) return "";
  constexpr size_t Shown = 3;
  std::string names;
  for (size_t i = 0; i < near.size() && i < Shown; ++i)
    names += (i == 0 ? "" : ", ") + MediaName(near[i]);
  if (near.size() > Shown) names += " and " + std::to_string(near.size() - Shown) + " more";
  return "; file names are case-sensitive here, and these differ from it only in letter case: " +
         names;
}

// One entry of a file list: a file, or a glob expanded in name order.
// Relative paths start from the manifest's folder, made absolute: "m.toml"
// given alone has an empty parent, which a glob cannot list.
void AddFiles(const TTomlFile& context, const std::string& list, const std::string& entry, int line,
              std::vector<TSourceFile>& files) {
  if (entry.empty()) context.Fail(line, "empty path in " + list);
  const fs::path base = fs::absolute(context.File()).lexically_normal().parent_path();
  fs::path path = base / PathFromUtf8(entry);
  std::error_code error;
  if (fs::is_regular_file(path, error)) {
    files.push_back({path, line, std::nullopt});
    return;
  }
  if (fs::is_directory(path, error)) context.Fail(line, entry + " is a folder, not a file");
  if (!HasWildcards(entry)) context.Fail(line, "file not found: " + entry);
  std::vector<fs::path> matches;
  try {
    matches = ExpandGlob(base, entry);
  } catch (const EToolError& e) {
    context.Fail(line, e.what());
  }
  if (matches.empty()) context.Fail(line, "no files match " + entry + CaseHint(base, entry));
  for (auto& match : matches) files.push_back({std::move(match), line, std::nullopt});
}

std::vector<TSourceFile> Files(const TTomlTable& section, std::string_view key) {
  std::vector<TSourceFile> files;
  for (const auto& [entry, line] : section.Strings(key))
    AddFiles(section.File(), section.Path(key), entry, line, files);
  return files;
}

// show.pictures: a path or glob, or an inline table naming one with its
// own caption, which every file the glob matches takes.
std::vector<TSourceFile> PictureFiles(const TTomlTable& show) {
  std::vector<TSourceFile> files;
  const toml::array* array = show.Array("pictures");
  if (!array) return files;
  const std::string what = "each item of " + show.Path("pictures");
  for (const toml::node& item : *array) {
    const int line = LineOf(item);
    const toml::table* entry = item.as_table();
    if (!entry) {
      AddFiles(show.File(), show.Path("pictures"),
               show.Expect<toml::value<std::string>>(
                       item, what, "a string or a table { file = ..., caption = ... }")
                   .get(),
               line, files);
      continue;
    }
    for (const auto& [key, value] : *entry)
      if (key.str() != "file" && key.str() != "caption")
        show.Fail(LineOf(value), "unknown key " + Quoted(std::string(key.str())) + " in " + what +
                                     "; a picture's table has file and caption");
    const toml::node* file = entry->get("file");
    if (!file) show.Fail(line, what + " that is a table needs file = \"...\"");
    const size_t first = files.size();
    AddFiles(show.File(), show.Path("pictures"),
             show.Expect<toml::value<std::string>>(*file, what + ".file", "a string").get(), line,
             files);
    if (const toml::node* caption = entry->get("caption")) {
      const std::string& text =
          show.Expect<toml::value<std::string>>(*caption, what + ".caption", "a string").get();
      for (size_t i = first; i < files.size(); ++i) files[i].Caption = text;
    }
  }
  return files;
}

int32_t ParseColor(const TTomlTable& section, const toml::node& node) {
  const std::string& text =
      section.Expect<toml::value<std::string>>(node, section.Path("color"), "a string").get();
  if (auto* entry = ColorIdents.FindName(text)) return entry->Value;
  bool hex = text.size() == 7 && text[0] == '#' &&
             text.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos;
  if (!hex)
    section.Fail(LineOf(node), section.Path("color") + " " + Quoted(text) +
                                   " is neither a colour name such as \"clWhite\" nor "
                                   "\"#RRGGBB\"");
  uint32_t rgb = static_cast<uint32_t>(std::stoul(text.substr(1), nullptr, 16));
  // The record keeps colours as 00BBGGRR.
  return static_cast<int32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

// The manifest's defaults where they differ from a new record's.
TSSFileLocations DefaultSettings() {
  TSSFileLocations s;
  s.SetKind(TSaverKind::Photo);
  s.Interval = 5000;
  s.SetScale(TScaleMode::Fit);
  s.TextFont.Name = "Arial";
  s.TextFont.Height = -24;
  s.TextFont.Color = clWhite;
  s.SetSoundOrder(TSoundOrder::List);
  s.lExitMouseMove = s.lExitMouseClick = s.lExitKeyPress = true;
  s.lExitFSCommandQuit = true;
  return s;
}

// An older flag beside the key that replaced it: alone it still chooses, and
// beside the newer key it must say the same, so neither is silently ignored.
template <typename T>
std::optional<T> WithOlderFlag(const TTomlTable& section, std::optional<T> chosen,
                               std::string_view newer, std::string_view flag, T whenTrue,
                               T whenFalse) {
  auto* node = section.Find(flag);
  if (!node) return chosen;
  bool value = section.Expect<toml::value<bool>>(*node, section.Path(flag), "true or false").get();
  T meant = value ? whenTrue : whenFalse;
  if (chosen && *chosen != meant)
    section.Fail(LineOf(*node), section.Path(flag) + " = " + (value ? "true" : "false") +
                                    " disagrees with " + section.Path(newer) + "; keep " +
                                    section.Path(newer) + " only");
  return meant;
}

enum class TOrderChoice { List, Random, Shuffle };

void ReadOrderAndScale(const TTomlTable& show, TSSFileLocations& s) {
  auto scale = show.Choice<TScaleMode>("scale", {{"stretch", TScaleMode::Stretch},
                                                 {"fit", TScaleMode::Fit},
                                                 {"fill", TScaleMode::Fill},
                                                 {"none", TScaleMode::None}});
  scale = WithOlderFlag(show, scale, "scale", "stretch", TScaleMode::Stretch, TScaleMode::None);
  if (scale) s.SetScale(*scale);
  auto order = show.Choice<TOrderChoice>("order", {{"list", TOrderChoice::List},
                                                   {"random", TOrderChoice::Random},
                                                   {"shuffle", TOrderChoice::Shuffle}});
  order =
      WithOlderFlag(show, order, "order", "random_order", TOrderChoice::Random, TOrderChoice::List);
  // A player that predates shuffling shows such a saver in random order,
  // the nearest it knows.
  s.lRandomPic = order && *order != TOrderChoice::List;
  s.lShufflePic = order == TOrderChoice::Shuffle;
  auto monitors = show.Choice<TMonitorMode>(
      "monitors", {{"same", TMonitorMode::Same}, {"each", TMonitorMode::Each}});
  if (monitors) s.MonitorMode = *monitors == TMonitorMode::Each ? 1 : 0;
}

// "WIDTHxHEIGHT", both at least 1 and at most JPEG's largest side.
void ReadMaxSize(const TTomlTable& show, TManifest& manifest) {
  auto* node = show.Find("max_size");
  if (!node) return;
  const std::string& text =
      show.Expect<toml::value<std::string>>(*node, "show.max_size", "a string").get();
  size_t x = text.find('x');
  auto side = [&](std::string_view digits) {
    bool ok = !digits.empty() && digits.size() <= 5 &&
              digits.find_first_not_of("0123456789") == std::string_view::npos;
    int value = ok ? std::stoi(std::string(digits)) : 0;
    return value >= 1 && value <= 65500 ? value : 0;
  };
  int width = x == std::string::npos ? 0 : side(std::string_view(text).substr(0, x));
  int height = x == std::string::npos ? 0 : side(std::string_view(text).substr(x + 1));
  if (width == 0 || height == 0)
    show.Fail(LineOf(*node), "show.max_size " + Quoted(text) +
                                 " is not a size such as \"3840x2160\" (each side "
                                 "1 to 65500 pixels)");
  manifest.MaxWidth = width;
  manifest.MaxHeight = height;
}

// Pan and zoom, and how far it zooms: a number from 1.05 to 1.5, kept in
// thousandths.
void ReadMotion(const TTomlTable& show, TSSFileLocations& s) {
  auto motion = show.Choice<bool>("motion", {{"none", false}, {"pan-zoom", true}});
  if (motion) s.Motion = *motion ? 1 : 0;
  auto* node = show.Find("zoom");
  if (!node) return;
  std::optional<double> zoom = node->is_number() ? node->value<double>() : std::nullopt;
  const int64_t thousandths = zoom ? std::llround(*zoom * 1000) : 0;
  if (thousandths < TSSFileLocations::MinMotionZoom ||
      thousandths > TSSFileLocations::MaxMotionZoom) {
    std::ostringstream given;
    node->visit([&given](const auto& value) { given << value; });
    show.Fail(
        LineOf(*node),
        "show.zoom must be a number from 1.05 to 1.5 (1.15 zooms by 15 %), not " + given.str());
  }
  s.MotionZoom = static_cast<int32_t>(thousandths);
}

void ReadShow(const TTomlTable& show, TManifest& manifest) {
  TSSFileLocations& s = manifest.Settings;
  manifest.Pictures = PictureFiles(show);
  for (const auto& [text, line] : show.Strings("descriptions"))
    s.DescriptList.Items.push_back(Utf8ToAnsi(text));
  if (auto* effects = show.Array("effects")) {
    for (const toml::node& item : *effects) {
      int64_t style =
          show.Expect<toml::value<int64_t>>(item, "each item of show.effects", "an integer").get();
      if (style < 0 || style > StyleCount)
        show.Fail(LineOf(item), "effect " + std::to_string(style) + " is outside 0-" +
                                    std::to_string(StyleCount) + " (the transition style numbers)");
      s.EffectList.Items.push_back(std::to_string(style));
    }
  }
  if (s.EffectList.Items.empty()) {
    s.EffectList.SetCommaText(DefaultEffectsText());
    manifest.DefaultEffects = true;
  }
  show.Integer("interval", s.Interval, 1, std::numeric_limits<int32_t>::max(), " ms");
  // Seconds written where milliseconds belong make a strobe, not a show.
  if (auto* node = show.Find("interval"); node && s.Interval < 1000)
    show.File().Warn(LineOf(*node), "show.interval is " + std::to_string(s.Interval) +
                                        " ms; the interval is in milliseconds (5000 is five "
                                        "seconds)");
  ReadOrderAndScale(show, s);
  ReadMotion(show, s);
  show.Flag("random_effects", s.lRandomStyle);
  show.Flag("clear_between", s.lClearOldImage);
  show.Flag("auto_rotate", manifest.AutoRotate);
  ReadMaxSize(show, manifest);
}

void ReadCaption(const TTomlTable& caption, TManifest& manifest) {
  TSSFileLocations& settings = manifest.Settings;
  TFont& font = settings.TextFont;
  if (auto text = caption.String("text")) settings.SetCaption(*text);
  Text(caption, "font", font.Name);
  // Windows takes face names of at most 31 characters (LOGFONT).
  if (font.Name.empty() || font.Name.size() > 31)
    caption.Fail(LineOf(*caption.Find("font")),
                 "caption.font must be a font name of 1 to 31 characters");
  caption.Integer("height", font.Height, std::numeric_limits<int32_t>::min(),
                  std::numeric_limits<int32_t>::max());
  if (auto* color = caption.Find("color")) font.Color = ParseColor(caption, *color);
  if (auto* node = caption.Find("charset")) {
    const std::string& name =
        caption.Expect<toml::value<std::string>>(*node, "caption.charset", "a string").get();
    auto* entry = CharsetIdents.FindName(name);
    if (!entry)
      caption.Fail(LineOf(*node), "caption.charset " + Quoted(name) +
                                      " is not a character set name such as "
                                      "\"DEFAULT_CHARSET\"");
    font.Charset = entry->Value;
  }
  for (const auto& [name, line] : caption.Strings("style")) {
    auto* entry = FontStyleNames.FindName(name);
    if (!entry)
      caption.Fail(line, "caption.style " + Quoted(name) +
                             " is not one of fsBold, fsItalic, fsUnderline, fsStrikeOut");
    font.Style |= 1u << entry->Value;
  }
  caption.Flag("shadow", settings.lCaptionShadow);
  caption.Integer("margin", settings.CaptionMargin, 0, 1000, " pixels");
  manifest.CaptionsFrom = caption
                              .Choice<TCaptionSource>("from", {{"date", TCaptionSource::Date},
                                                               {"name", TCaptionSource::Name}})
                              .value_or(TCaptionSource::None);
}

void ReadMusic(const TTomlTable& music, TManifest& manifest) {
  manifest.Sounds = Files(music, "files");
  if (auto* node = music.Find("order")) {
    const std::string& order =
        music.Expect<toml::value<std::string>>(*node, "music.order", "a string").get();
    static const std::map<std::string, TSoundOrder> Orders = {
        {"list", TSoundOrder::List},
        {"random", TSoundOrder::Random},
        {"repeat-one", TSoundOrder::RepeatOne}};
    auto it = Orders.find(order);
    if (it == Orders.end())
      music.Fail(LineOf(*node), "music.order " + Quoted(order) +
                                    " is not one of \"list\", \"random\", \"repeat-one\"");
    manifest.Settings.SetSoundOrder(it->second);
  }
  music.Flag("loop", manifest.Settings.lSoundLoop);
  music.Flag("mute", manifest.Settings.lMute);
}

void ReadExit(const TTomlTable& exit, TSSFileLocations& settings) {
  exit.Flag("mouse_move", settings.lExitMouseMove);
  exit.Flag("mouse_click", settings.lExitMouseClick);
  exit.Flag("key_press", settings.lExitKeyPress);
  exit.Flag("show_cursor", settings.lShowMouseCursor);
  exit.Flag("flash_quit", settings.lExitFSCommandQuit);
}

// Sounds and Flash files are extracted into one folder under their names, so
// each name must be a plain file name, and no two may collide on a file
// system that ignores letter case. Names keep every character as written:
// the package stores them as UTF-8 where the code page lacks one.
void CheckMediaNames(const TTomlFile& context, const TManifest& manifest) {
  std::map<std::string, const TSourceFile*> used;
  auto check = [&](const std::vector<TSourceFile>& files, const std::string& list) {
    for (const TSourceFile& file : files) {
      std::string name = MediaName(file.Path);
      if (!IsPlainFileName(name))
        context.Fail(file.Line, list + ": " + Quoted(name) +
                                    " cannot be stored: it is not a plain file name (no path "
                                    "characters, no device name such as CON)");
      auto [it, fresh] = used.emplace(AsciiLowerCase(name), &file);
      if (!fresh)
        context.Fail(file.Line, list + ": the name " + Quoted(name) + " is already used by " +
                                    Quoted(MediaName(it->second->Path)) + " (line " +
                                    std::to_string(it->second->Line) +
                                    "); sounds and Flash files are extracted into one folder, so "
                                    "their names must differ in more than letter case");
    }
  };
  check(manifest.Sounds, "music.files");
  check(manifest.Flash, "flash.files");
}

// The best line for a complaint about something missing from a table.
int LineForMissing(const TTomlTable& top, std::string_view table, std::string_view key) {
  if (auto show = top.Sub(table)) {
    if (auto* node = show->Find(key)) return LineOf(*node);
    if (show->Line() > 0) return show->Line();
  }
  if (auto* kind = top.Find("kind")) return LineOf(*kind);
  return 0;
}

// Each picture's caption into the record: its own, or the one caption.from
// makes of its date taken or its name. The description list holds either
// these or show.descriptions, never both.
void StorePictureCaptions(const TTomlTable& top, TManifest& manifest) {
  const auto caption = top.Sub("caption");
  const toml::node* from = caption ? caption->Find("from") : nullptr;
  std::vector<std::string> undated;
  const std::vector<std::string> captions = PictureCaptions(manifest, undated);
  if (!undated.empty())
    top.File().Warn(LineOf(*from), "caption.from = \"date\": no date taken in " +
                                       JoinNames(undated) + "; they show the show's caption");
  const bool any = std::any_of(captions.begin(), captions.end(),
                               [](const std::string& text) { return !text.empty(); });
  if (!any) return;
  if (!manifest.Settings.DescriptList.Items.empty())
    top.Fail(LineForMissing(top, "show", "descriptions"),
             "show.descriptions and the pictures' captions both fill the description list; "
             "give the captions in show.pictures alone");
  manifest.Settings.SetPicCaptions(captions);
}

void CheckKind(const TTomlTable& top, const TManifest& manifest) {
  const TTomlFile& context = top.File();
  TSaverKind kind = manifest.Settings.Kind();
  if (kind == TSaverKind::Photo && manifest.Pictures.empty())
    context.Fail(LineForMissing(top, "show", "pictures"),
                 "kind \"photo\" needs at least one picture in show.pictures");
  if (kind == TSaverKind::Flash && manifest.Flash.empty())
    context.Fail(LineForMissing(top, "flash", "files"),
                 "kind \"flash\" needs at least one Flash file in flash.files");
}

TSaverKind ParseKind(const TTomlTable& top, const toml::node& node) {
  const std::string& kind = top.Expect<toml::value<std::string>>(node, "kind", "a string").get();
  if (kind == "photo") return TSaverKind::Photo;
  if (kind == "flash") return TSaverKind::Flash;
  top.Fail(LineOf(node), "unknown kind " + Quoted(kind) + "; use \"photo\" or \"flash\"");
}

TManifest Read(const TTomlFile& file) {
  TManifest manifest;
  manifest.File = file.File();
  TSSFileLocations& settings = manifest.Settings = DefaultSettings();
  TTomlTable top(file);
  Text(top, "title", settings.Title);
  Text(top, "author", settings.Author);
  Text(top, "email", settings.Email);
  Text(top, "web", settings.Web);
  if (auto* node = top.Find("kind")) settings.SetKind(ParseKind(top, *node));
  if (auto show = top.Sub("show")) ReadShow(*show, manifest);
  if (auto caption = top.Sub("caption")) ReadCaption(*caption, manifest);
  if (auto music = top.Sub("music")) ReadMusic(*music, manifest);
  if (auto flash = top.Sub("flash")) manifest.Flash = Files(*flash, "files");
  if (auto exit = top.Sub("exit")) ReadExit(*exit, settings);
  CheckMediaNames(file, manifest);
  CheckKind(top, manifest);
  StorePictureCaptions(top, manifest);
  manifest.Warnings = file.TakeWarnings();
  return manifest;
}

}  // namespace

std::string DefaultEffectsText() {
  std::string text;
  for (int style : DefaultEffectList) text += (text.empty() ? "" : ",") + std::to_string(style);
  return text;
}

std::string MediaName(const fs::path& path) {
  return Utf8FromPath(path.filename());
}

TManifest ParseManifest(const std::string& text, const fs::path& file) {
  return Read(TTomlFile(file, text, ManifestSchema));
}

TManifest LoadManifest(const fs::path& file) {
  return ParseManifest(ReadTextFile(file, "the manifest"), file);
}

}  // namespace pixvane::maker
