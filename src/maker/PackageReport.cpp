#include "maker/PackageReport.h"

#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <nlohmann/json.hpp>

#include "base/CodePage.h"
#include "maker/Manifest.h"
#include "package/IdentMaps.h"

namespace pixvane::maker {
namespace {

using TJson = nlohmann::ordered_json;

template <typename T>
TJson OrNull(const std::optional<T>& value) {
  return value ? TJson(*value) : TJson(nullptr);
}

std::vector<std::string> StyleNames(uint32_t style) {
  std::vector<std::string> names;
  for (const TIdentEntry& entry : FontStyleNames)
    if (style & (1u << entry.Value)) names.emplace_back(entry.Name);
  return names;
}

TJson FontJson(const TFont& font) {
  return TJson{{"Charset", font.Charset},
               {"Color", static_cast<uint32_t>(font.Color)},
               {"Height", font.Height},
               {"Name", AnsiToUtf8(font.Name)},
               {"Style", StyleNames(font.Style)}};
}

// A text property in UTF-8: 8-bit text from the code page, text the record
// keeps as UTF-8 as it is.
std::string TextUtf8(const TProperty& property) {
  const std::string text = property.GetText();
  return property.Unicode && *property.Unicode ? text : AnsiToUtf8(text);
}

// A settings property's value in JSON: texts in UTF-8, the one object (the
// caption's font) as its own JSON object.
TJson ValueJson(const TProperty& property) {
  switch (property.Kind) {
    case TPropKind::Text:
      return TextUtf8(property);
    case TPropKind::Boolean:
      return property.GetOrd() != 0;
    case TPropKind::Object:
      return FontJson(dynamic_cast<const TFont&>(*property.Object));
    default:
      return property.GetOrd();
  }
}

// Every stored property of the record, by its own name, in the record's order.
TJson SettingsJson(const TSSFileLocations& settings) {
  TJson json;
  TPropertyList properties = ReadOnlyProperties(settings);
  for (const TProperty& property : properties.Items())
    if (property.Stored) json[std::string(property.Name)] = ValueJson(property);
  return json;
}

TJson MediaJson(const std::vector<TMediaInfo>& list) {
  TJson json = TJson::array();
  for (const TMediaInfo& item : list)
    json.push_back(TJson{{"index", item.Index},
                         {"name", OrNull(item.Name)},
                         {"offset", item.Offset},
                         {"size", OrNull(item.Size)}});
  return json;
}

std::string Hex(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", static_cast<uint32_t>(value));
  return text;
}

std::string Named(const TIdentMap& map, int32_t value) {
  const TIdentEntry* entry = map.FindValue(value);
  return entry ? std::string(entry->Name) : std::to_string(value);
}

std::string FontText(const TFont& font) {
  std::string style;
  for (const std::string& name : StyleNames(font.Style)) style += (style.empty() ? "" : ",") + name;
  const TIdentEntry* color = ColorIdents.FindValue(font.Color);
  return AnsiToUtf8(font.Name) + ", height " + std::to_string(font.Height) + ", colour " +
         (color ? std::string(color->Name) + " (" + Hex(font.Color) + ")" : Hex(font.Color)) +
         ", " + Named(CharsetIdents, font.Charset) + ", style [" + style + "]";
}

void Row(std::ostream& out, std::string_view name, const std::string& value) {
  out << "  " << name << std::string(name.size() < 20 ? 20 - name.size() : 1, ' ') << value << "\n";
}

// The rows of the settings, in the order people read them: what the setup
// dialog shows of a saver first, then the rest of the record in its own
// order, values before flags before lists. The lists of where pictures and
// media lie are not rows: they are the tables further down.
enum TRowGroup { Maker, Value, Flag, List, InTables };

TRowGroup RowGroup(const TProperty& property) {
  std::string_view name = property.Name;
  for (std::string_view maker : {"Title", "Author", "Email", "Web", "Ver"})
    if (name == maker) return Maker;
  if (property.Kind == TPropKind::Boolean) return Flag;
  if (!name.ends_with("CommaList")) return Value;
  for (std::string_view table : {"Pic", "Snd", "Flash"})
    if (name.starts_with(table)) return InTables;
  return List;
}

// The zoom in thousandths, and as the manifest writes it: "1200 (zoom 1.2)".
std::string ZoomText(int32_t thousandths) {
  std::string decimals = std::to_string(std::abs(thousandths % 1000) + 1000).substr(1);
  while (!decimals.empty() && decimals.back() == '0') decimals.pop_back();
  return std::to_string(thousandths) + " (zoom " + std::to_string(thousandths / 1000) +
         (decimals.empty() ? "" : "." + decimals) + ")";
}

std::string ValueText(const TProperty& property) {
  switch (property.Kind) {
    case TPropKind::Text:
      return TextUtf8(property);
    case TPropKind::Boolean:
      return property.GetOrd() ? "True" : "False";
    case TPropKind::Object:
      return FontText(dynamic_cast<const TFont&>(*property.Object));
    case TPropKind::Enum:
      return Named(*property.Idents, property.GetOrd());
    default:
      if (property.Name == "MotionZoom") return ZoomText(property.GetOrd());
      return std::to_string(property.GetOrd()) + (property.Name == "Interval" ? " ms" : "");
  }
}

// The flags older players read in place of a newer setting, said as such: a
// "fit" saver carries lStretch True so that a player from before ScaleMode
// still fills the screen, and a shuffling one lRandomPic True.
std::string OlderPlayersNote(const TProperty& property, const TSSFileLocations& settings,
                             const TPropertyList& properties) {
  auto rules = [&](std::string_view newer) {
    const TProperty* other = properties.Find(newer);
    return " (for older players; " + std::string(newer) + " " + ValueText(*other) + " rules)";
  };
  if (property.Name == "lStretch" && settings.ScaleMode != 0) return rules("ScaleMode");
  if (property.Name == "lRandomPic" && settings.lShufflePic) return rules("lShufflePic");
  return "";
}

// The record cannot say whether its maker chose these effects, only that
// they are the list the tool gives a manifest that names none.
std::string EffectsNote(const TProperty& property) {
  if (property.Name != "EffectCommaList" || property.GetText() != DefaultEffectsText()) return "";
  return " (the tool's default list, which a manifest that names no effects gets)";
}

void PrintSettings(const TSSFileLocations& settings, std::ostream& out) {
  out << "Settings\n";
  TPropertyList properties = ReadOnlyProperties(settings);
  for (TRowGroup group : {Maker, Value, Flag, List})
    for (const TProperty& property : properties.Items())
      if (property.Stored && RowGroup(property) == group)
        Row(out, property.Name,
            ValueText(property) + OlderPlayersNote(property, settings, properties) +
                EffectsNote(property));
}

// The file name the picture was stored under, from the settings' list.
std::optional<std::string> PictureName(const TSSFileLocations& settings,
                                       const TPictureInfo& picture) {
  if (picture.Index > settings.PicFileNamesList.Count()) return std::nullopt;
  return settings.PicFileNameAt(picture.Index - 1);
}

// The caption the player shows with the picture; nullopt for none.
std::optional<std::string> PictureCaption(const TSSFileLocations& settings,
                                          const TPictureInfo& picture) {
  const TStoredText caption = settings.CaptionOf(picture.Index - 1);
  if (caption.Empty()) return std::nullopt;
  return caption.ToUtf8();
}

void PrintPictures(const TPackageReport& report, std::ostream& out) {
  out << "Pictures (" << report.Pictures.size() << ")\n";
  const TSSFileLocations& settings = report.Package->Settings;
  for (const TPictureInfo& picture : report.Pictures) {
    out << std::setw(6) << picture.Index << "  offset " << std::setw(10) << std::left
        << picture.Offset << std::right << "  ";
    if (auto name = PictureName(report.Package->Settings, picture)) out << *name << "  ";
    if (picture.Error)
      out << "error: " << *picture.Error;
    else
      out << *picture.Width << " x " << *picture.Height << ", " << *picture.JpegBytes << " bytes";
    // The show's one caption is in the settings; a picture's own is shown here.
    if (auto caption = PictureCaption(settings, picture); caption && settings.lPicCaptions)
      out << ", caption \"" << *caption << "\"";
    out << "\n";
  }
}

void PrintMedia(const std::string& title, const std::vector<TMediaInfo>& list, std::ostream& out) {
  out << title << " (" << list.size() << ")\n";
  for (const TMediaInfo& item : list)
    out << std::setw(6) << item.Index << "  offset " << std::setw(10) << std::left << item.Offset
        << std::right << "  " << item.Name.value_or("(no name)") << "  "
        << (item.Size ? std::to_string(*item.Size) + " bytes" : "(no size)") << "\n";
}

}  // namespace

std::string ReportJson(const TPackageReport& report) {
  const TPackageFile& package = *report.Package;
  TJson json;
  json["file_size"] = report.FileSize;
  json["package_length"] = package.Trailer.PackageLength;
  json["settings_offset"] = package.Trailer.SettingsOffset;
  json["package_start"] = package.Start;
  json["signature_bytes"] = package.SignatureBytes;
  json["settings"] = SettingsJson(package.Settings);
  json["pictures"] = TJson::array();
  for (const TPictureInfo& picture : report.Pictures)
    json["pictures"].push_back(TJson{{"index", picture.Index},
                                     {"name", OrNull(PictureName(package.Settings, picture))},
                                     {"offset", picture.Offset},
                                     {"width", OrNull(picture.Width)},
                                     {"height", OrNull(picture.Height)},
                                     {"jpeg_bytes", OrNull(picture.JpegBytes)},
                                     {"caption", OrNull(PictureCaption(package.Settings, picture))},
                                     {"error", OrNull(picture.Error)}});
  json["sounds"] = MediaJson(report.Sounds);
  json["flash"] = MediaJson(report.Flash);
  // Error texts may quote bytes from a damaged file; never fail on them.
  return json.dump(2, ' ', false, TJson::error_handler_t::replace) + "\n";
}

void PrintReport(const TPackageReport& report, const std::string& fileName, std::ostream& out) {
  const TPackageFile& package = *report.Package;
  out << fileName << ": " << report.FileSize << " bytes; package of "
      << package.Trailer.PackageLength << " bytes starting at " << package.Start << ", settings at "
      << package.Trailer.SettingsOffset;
  if (package.SignatureBytes > 0)
    out << "; signed (" << package.SignatureBytes << " bytes of signature after the package)";
  out << "\n\n";
  PrintSettings(package.Settings, out);
  out << "\n";
  PrintPictures(report, out);
  PrintMedia("Sounds", report.Sounds, out);
  PrintMedia("Flash files", report.Flash, out);
}

}  // namespace pixvane::maker
