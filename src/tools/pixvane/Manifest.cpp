#include "tools/pixvane/Manifest.h"

#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <map>
#include <optional>

#include <toml++/toml.h>

#include "base/AsciiText.h"
#include "base/CodePage.h"
#include "base/Paths.h"
#include "package/IdentMaps.h"
#include "tools/pixvane/Glob.h"
#include "tools/pixvane/ToolError.h"
#include "transition/styles/StyleTable.h"

namespace pixvane::tool {
namespace {

namespace fs = std::filesystem;

int LineOf(const toml::node& node) {
  return static_cast<int>(node.source().begin.line);
}
int LineOf(const toml::key& key) {
  return static_cast<int>(key.source().begin.line);
}

std::string TypeName(const toml::node& node) {
  switch (node.type()) {
    case toml::node_type::string:
      return "a string";
    case toml::node_type::integer:
      return "an integer";
    case toml::node_type::floating_point:
      return "a floating-point number";
    case toml::node_type::boolean:
      return "a boolean";
    case toml::node_type::table:
      return "a table";
    case toml::node_type::array:
      return "an array";
    default:
      return "a date or time";
  }
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// Where the manifest is, for messages and for resolving its relative paths.
struct TContext {
  fs::path File;
  fs::path Base;
  mutable std::vector<std::string> Warnings;

  [[noreturn]] void Fail(int line, const std::string& problem) const {
    throw EToolError(Located(File, line, problem));
  }
  void Warn(int line, const std::string& problem) const {
    Warnings.push_back(Located(File, line, problem));
  }
};

size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t above = row[j];
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The known name a misspelt key most likely meant, if any is close: two
// letters wrong, or a third of a long key, so "sohw" finds "show" but "foo"
// finds nothing.
std::optional<std::string_view> ClosestName(std::string_view key,
                                            std::initializer_list<std::string_view> known) {
  std::optional<std::string_view> best;
  size_t bestDistance = std::max<size_t>(2, key.size() / 3) + 1;
  for (auto name : known)
    if (size_t distance = EditDistance(AsciiLowerCase(std::string(key)), name);
        distance < bestDistance) {
      best = name;
      bestDistance = distance;
    }
  return best;
}

// One table of the manifest. Lookups check the value's type and name the
// key as "table.key" in messages, the way a maker would search for it.
class TSection {
 public:
  TSection(const TContext& context, const toml::table& table, std::string name)
      : FContext(context), FTable(table), FName(std::move(name)) {}

  const TContext& Context() const { return FContext; }
  int Line() const { return LineOf(FTable); }

  std::string Path(std::string_view key) const {
    return FName.empty() ? std::string(key) : FName + "." + std::string(key);
  }

  // Every key must be one of known; a table among them reads "unknown table".
  void AllowOnly(std::initializer_list<std::string_view> known) const {
    for (auto&& [key, value] : FTable) {
      bool found = false;
      for (auto name : known) found = found || key.str() == name;
      if (found) continue;
      auto closest = ClosestName(key.str(), known);
      std::string hint = closest ? "; did you mean " + Quoted(Path(*closest)) + "?" : "";
      if (value.is_table() || value.is_array_of_tables())
        FContext.Fail(LineOf(key), "unknown table [" + Path(key.str()) + "]" + hint);
      FContext.Fail(LineOf(key), "unknown key " + Quoted(Path(key.str())) + hint);
    }
  }

  const toml::node* Find(std::string_view key) const { return FTable.get(key); }

  template <typename T>
  const T& Expect(const toml::node& node, const std::string& what, const std::string& type) const {
    const T* value = node.as<T>();
    if (!value) FContext.Fail(LineOf(node), what + " must be " + type + ", not " + TypeName(node));
    return *value;
  }

  // A text of the record: the manifest's UTF-8 in the package's code page.
  void Text(std::string_view key, std::string& field) const {
    if (auto* node = Find(key))
      field = Utf8ToAnsi(Expect<toml::value<std::string>>(*node, Path(key), "a string").get());
  }

  void Flag(std::string_view key, bool& field) const {
    if (auto* node = Find(key))
      field = Expect<toml::value<bool>>(*node, Path(key), "true or false").get();
  }

  void Integer(std::string_view key, int32_t& field, int64_t min, int64_t max,
               const std::string& unit = "") const {
    auto* node = Find(key);
    if (!node) return;
    int64_t value = Expect<toml::value<int64_t>>(*node, Path(key), "an integer").get();
    if (value < min || value > max)
      FContext.Fail(LineOf(*node), Path(key) + " must be between " + std::to_string(min) + " and " +
                                       std::to_string(max) + unit + ", not " +
                                       std::to_string(value));
    field = static_cast<int32_t>(value);
  }

  const toml::array* Array(std::string_view key) const {
    auto* node = Find(key);
    return node ? &Expect<toml::array>(*node, Path(key), "an array") : nullptr;
  }

  // The strings of an array key; each with its own line.
  std::vector<std::pair<std::string, int>> Strings(std::string_view key) const {
    std::vector<std::pair<std::string, int>> items;
    if (auto* array = Array(key))
      for (const toml::node& item : *array)
        items.emplace_back(
            Expect<toml::value<std::string>>(item, "each item of " + Path(key), "a string").get(),
            LineOf(item));
    return items;
  }

  std::optional<TSection> Sub(std::string_view key) const {
    auto* node = Find(key);
    if (!node) return std::nullopt;
    return TSection(FContext, Expect<toml::table>(*node, Path(key), "a table"), Path(key));
  }

 private:
  const TContext& FContext;
  const toml::table& FTable;
  std::string FName;
};

// One entry of a file list: a file, or a glob expanded in name order.
void AddFiles(const TContext& context, const std::string& list, const std::string& entry, int line,
              std::vector<TSourceFile>& files) {
  if (entry.empty()) context.Fail(line, "empty path in " + list);
  fs::path path = context.Base / PathFromUtf8(entry);
  std::error_code error;
  if (fs::is_regular_file(path, error)) {
    files.push_back({path, line});
    return;
  }
  if (fs::is_directory(path, error)) context.Fail(line, entry + " is a folder, not a file");
  if (!HasWildcards(entry)) context.Fail(line, "file not found: " + entry);
  std::vector<fs::path> matches;
  try {
    matches = ExpandGlob(context.Base, entry);
  } catch (const EToolError& e) {
    context.Fail(line, e.what());
  }
  if (matches.empty()) context.Fail(line, "no files match " + entry);
  for (auto& match : matches) files.push_back({std::move(match), line});
}

std::vector<TSourceFile> Files(const TSection& section, std::string_view key) {
  std::vector<TSourceFile> files;
  for (const auto& [entry, line] : section.Strings(key))
    AddFiles(section.Context(), section.Path(key), entry, line, files);
  return files;
}

int32_t ParseColor(const TSection& section, const toml::node& node) {
  const std::string& text =
      section.Expect<toml::value<std::string>>(node, section.Path("color"), "a string").get();
  if (auto* entry = ColorIdents.FindName(text)) return entry->Value;
  bool hex = text.size() == 7 && text[0] == '#' &&
             text.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos;
  if (!hex)
    section.Context().Fail(LineOf(node), section.Path("color") + " " + Quoted(text) +
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

// A string key that names one of a few choices; nullopt when absent.
template <typename T>
std::optional<T> Choice(const TSection& section, std::string_view key,
                        std::initializer_list<std::pair<std::string_view, T>> choices) {
  auto* node = section.Find(key);
  if (!node) return std::nullopt;
  const std::string& text =
      section.Expect<toml::value<std::string>>(*node, section.Path(key), "a string").get();
  std::string names;
  for (const auto& [name, value] : choices) {
    if (text == name) return value;
    names += (names.empty() ? "" : ", ") + Quoted(std::string(name));
  }
  section.Context().Fail(LineOf(*node),
                         section.Path(key) + " " + Quoted(text) + " is not one of " + names);
}

// An older flag beside the key that replaced it: alone it still chooses, and
// beside the newer key it must say the same, so neither is silently ignored.
template <typename T>
std::optional<T> WithOlderFlag(const TSection& section, std::optional<T> chosen,
                               std::string_view newer, std::string_view flag, T whenTrue,
                               T whenFalse) {
  auto* node = section.Find(flag);
  if (!node) return chosen;
  bool value = section.Expect<toml::value<bool>>(*node, section.Path(flag), "true or false").get();
  T meant = value ? whenTrue : whenFalse;
  if (chosen && *chosen != meant)
    section.Context().Fail(LineOf(*node), section.Path(flag) + " = " + (value ? "true" : "false") +
                                              " disagrees with " + section.Path(newer) + "; keep " +
                                              section.Path(newer) + " only");
  return meant;
}

enum class TOrderChoice { List, Random, Shuffle };

void ReadOrderAndScale(const TSection& show, TSSFileLocations& s) {
  auto scale = Choice<TScaleMode>(show, "scale",
                                  {{"stretch", TScaleMode::Stretch},
                                   {"fit", TScaleMode::Fit},
                                   {"fill", TScaleMode::Fill},
                                   {"none", TScaleMode::None}});
  scale = WithOlderFlag(show, scale, "scale", "stretch", TScaleMode::Stretch, TScaleMode::None);
  if (scale) s.SetScale(*scale);
  auto order = Choice<TOrderChoice>(show, "order",
                                    {{"list", TOrderChoice::List},
                                     {"random", TOrderChoice::Random},
                                     {"shuffle", TOrderChoice::Shuffle}});
  order =
      WithOlderFlag(show, order, "order", "random_order", TOrderChoice::Random, TOrderChoice::List);
  // A player that predates shuffling shows such a saver in random order,
  // the nearest it knows.
  s.lRandomPic = order && *order != TOrderChoice::List;
  s.lShufflePic = order == TOrderChoice::Shuffle;
}

// "WIDTHxHEIGHT", both at least 1 and at most JPEG's largest side.
void ReadMaxSize(const TSection& show, TManifest& manifest) {
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
    show.Context().Fail(LineOf(*node), "show.max_size " + Quoted(text) +
                                           " is not a size such as \"3840x2160\" (each side "
                                           "1 to 65500 pixels)");
  manifest.MaxWidth = width;
  manifest.MaxHeight = height;
}

void ReadShow(const TSection& show, TManifest& manifest) {
  show.AllowOnly({"pictures", "descriptions", "effects", "interval", "order", "random_order",
                  "random_effects", "clear_between", "scale", "stretch", "auto_rotate",
                  "max_size"});
  TSSFileLocations& s = manifest.Settings;
  manifest.Pictures = Files(show, "pictures");
  for (const auto& [text, line] : show.Strings("descriptions"))
    s.DescriptList.Items.push_back(Utf8ToAnsi(text));
  if (auto* effects = show.Array("effects")) {
    for (const toml::node& item : *effects) {
      int64_t style =
          show.Expect<toml::value<int64_t>>(item, "each item of show.effects", "an integer").get();
      if (style < 0 || style > StyleCount)
        show.Context().Fail(LineOf(item), "effect " + std::to_string(style) + " is outside 0-" +
                                              std::to_string(StyleCount) +
                                              " (the transition style numbers)");
      s.EffectList.Items.push_back(std::to_string(style));
    }
  }
  show.Integer("interval", s.Interval, 1, std::numeric_limits<int32_t>::max(), " ms");
  // Seconds written where milliseconds belong make a strobe, not a show.
  if (auto* node = show.Find("interval"); node && s.Interval < 1000)
    show.Context().Warn(LineOf(*node), "show.interval is " + std::to_string(s.Interval) +
                                           " ms; the interval is in milliseconds (5000 is five "
                                           "seconds)");
  ReadOrderAndScale(show, s);
  show.Flag("random_effects", s.lRandomStyle);
  show.Flag("clear_between", s.lClearOldImage);
  show.Flag("auto_rotate", manifest.AutoRotate);
  ReadMaxSize(show, manifest);
}

void ReadCaption(const TSection& caption, TSSFileLocations& settings) {
  caption.AllowOnly({"text", "font", "height", "color", "charset", "style", "shadow", "margin"});
  TFont& font = settings.TextFont;
  caption.Text("text", settings.Text);
  caption.Text("font", font.Name);
  // Windows takes face names of at most 31 characters (LOGFONT).
  if (font.Name.empty() || font.Name.size() > 31)
    caption.Context().Fail(LineOf(*caption.Find("font")),
                           "caption.font must be a font name of 1 to 31 characters");
  caption.Integer("height", font.Height, std::numeric_limits<int32_t>::min(),
                  std::numeric_limits<int32_t>::max());
  if (auto* color = caption.Find("color")) font.Color = ParseColor(caption, *color);
  if (auto* node = caption.Find("charset")) {
    const std::string& name =
        caption.Expect<toml::value<std::string>>(*node, "caption.charset", "a string").get();
    auto* entry = CharsetIdents.FindName(name);
    if (!entry)
      caption.Context().Fail(LineOf(*node), "caption.charset " + Quoted(name) +
                                                " is not a character set name such as "
                                                "\"DEFAULT_CHARSET\"");
    font.Charset = entry->Value;
  }
  for (const auto& [name, line] : caption.Strings("style")) {
    auto* entry = FontStyleNames.FindName(name);
    if (!entry)
      caption.Context().Fail(line, "caption.style " + Quoted(name) +
                                       " is not one of fsBold, fsItalic, fsUnderline, fsStrikeOut");
    font.Style |= 1u << entry->Value;
  }
  caption.Flag("shadow", settings.lCaptionShadow);
  caption.Integer("margin", settings.CaptionMargin, 0, 1000, " pixels");
}

void ReadMusic(const TSection& music, TManifest& manifest) {
  music.AllowOnly({"files", "order", "loop", "mute"});
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
      music.Context().Fail(
          LineOf(*node),
          "music.order " + Quoted(order) + " is not one of \"list\", \"random\", \"repeat-one\"");
    manifest.Settings.SetSoundOrder(it->second);
  }
  music.Flag("loop", manifest.Settings.lSoundLoop);
  music.Flag("mute", manifest.Settings.lMute);
}

void ReadExit(const TSection& exit, TSSFileLocations& settings) {
  exit.AllowOnly({"mouse_move", "mouse_click", "key_press", "show_cursor", "flash_quit"});
  exit.Flag("mouse_move", settings.lExitMouseMove);
  exit.Flag("mouse_click", settings.lExitMouseClick);
  exit.Flag("key_press", settings.lExitKeyPress);
  exit.Flag("show_cursor", settings.lShowMouseCursor);
  exit.Flag("flash_quit", settings.lExitFSCommandQuit);
}

// Sounds and Flash files are extracted into one folder under their names, so
// each name must be a plain file name in the package's code page, and no two
// may collide on a file system that ignores letter case.
void CheckMediaNames(const TContext& context, const TManifest& manifest) {
  std::map<std::string, const TSourceFile*> used;
  auto check = [&](const std::vector<TSourceFile>& files, const std::string& list) {
    for (const TSourceFile& file : files) {
      std::string name = MediaName(file.Path);
      std::string stored = Utf8ToAnsi(name);
      if (AnsiToUtf8(stored) != name)
        context.Fail(file.Line, list + ": the name " + Quoted(name) +
                                    " has characters outside Windows-1252; rename the file");
      if (!IsPlainFileName(stored))
        context.Fail(file.Line, list + ": " + Quoted(name) +
                                    " cannot be stored: it is not a plain file name (no path "
                                    "characters, no device name such as CON)");
      auto [it, fresh] = used.emplace(AsciiLowerCase(stored), &file);
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
  // Picture names are only shown and extracted from, so one that loses
  // characters is worth a warning, not a refusal.
  for (const TSourceFile& file : manifest.Pictures) {
    std::string name = MediaName(file.Path);
    if (AnsiToUtf8(Utf8ToAnsi(name)) != name)
      context.Warn(file.Line, "show.pictures: the name " + Quoted(name) +
                                  " has characters outside Windows-1252; it is stored with \"?\" "
                                  "in their place");
  }
}

// The best line for a complaint about something missing from a table.
int LineForMissing(const TSection& top, std::string_view table, std::string_view key) {
  if (auto show = top.Sub(table)) {
    if (auto* node = show->Find(key)) return LineOf(*node);
    if (show->Line() > 0) return show->Line();
  }
  if (auto* kind = top.Find("kind")) return LineOf(*kind);
  return 0;
}

void CheckKind(const TSection& top, const TManifest& manifest) {
  const TContext& context = top.Context();
  TSaverKind kind = manifest.Settings.Kind();
  if (kind == TSaverKind::Photo && manifest.Pictures.empty())
    context.Fail(LineForMissing(top, "show", "pictures"),
                 "kind \"photo\" needs at least one picture in show.pictures");
  if (kind == TSaverKind::Flash && manifest.Flash.empty())
    context.Fail(LineForMissing(top, "flash", "files"),
                 "kind \"flash\" needs at least one Flash file in flash.files");
}

TSaverKind ParseKind(const TSection& top, const toml::node& node) {
  const std::string& kind = top.Expect<toml::value<std::string>>(node, "kind", "a string").get();
  if (kind == "photo") return TSaverKind::Photo;
  if (kind == "flash") return TSaverKind::Flash;
  top.Context().Fail(LineOf(node), "unknown kind " + Quoted(kind) + "; use \"photo\" or \"flash\"");
}

TManifest Read(const toml::table& root, const TContext& context) {
  TManifest manifest;
  manifest.File = context.File;
  TSSFileLocations& settings = manifest.Settings = DefaultSettings();
  TSection top(context, root, "");
  top.AllowOnly(
      {"title", "author", "email", "web", "kind", "show", "caption", "music", "flash", "exit"});
  top.Text("title", settings.Title);
  top.Text("author", settings.Author);
  top.Text("email", settings.Email);
  top.Text("web", settings.Web);
  if (auto* node = top.Find("kind")) settings.SetKind(ParseKind(top, *node));
  if (auto show = top.Sub("show")) ReadShow(*show, manifest);
  if (auto caption = top.Sub("caption")) ReadCaption(*caption, settings);
  if (auto music = top.Sub("music")) ReadMusic(*music, manifest);
  if (auto flash = top.Sub("flash")) {
    flash->AllowOnly({"files"});
    manifest.Flash = Files(*flash, "files");
  }
  if (auto exit = top.Sub("exit")) ReadExit(*exit, settings);
  CheckMediaNames(context, manifest);
  CheckKind(top, manifest);
  manifest.Warnings = std::move(context.Warnings);
  return manifest;
}

}  // namespace

std::string MediaName(const fs::path& path) {
  return Utf8FromPath(path.filename());
}

TManifest ParseManifest(const std::string& text, const fs::path& file) {
  // An absolute folder: "m.toml" given alone has an empty parent, which a
  // glob cannot list.
  TContext context{file, fs::absolute(file).lexically_normal().parent_path(), {}};
  toml::table root;
  try {
    root = toml::parse(text, Utf8FromPath(file));
  } catch (const toml::parse_error& e) {
    context.Fail(static_cast<int>(e.source().begin.line), std::string(e.description()));
  }
  return Read(root, context);
}

TManifest LoadManifest(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in || fs::is_directory(file)) throw EToolError(Located(file, 0, "cannot read the manifest"));
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ParseManifest(text, file);
}

}  // namespace pixvane::tool
