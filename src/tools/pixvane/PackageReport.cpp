#include "tools/pixvane/PackageReport.h"

#include <cstdio>
#include <iomanip>
#include <nlohmann/json.hpp>

#include "base/CodePage.h"
#include "package/IdentMaps.h"

namespace pixvane::tool {
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

// The lists by their property names, in the record's order.
std::vector<std::pair<const char*, const TCommaList*>> Lists(const TSSFileLocations& s) {
  return {{"EffectCommaList", &s.EffectList},
          {"PicCommaList", &s.PicList},
          {"PicFileNamesCommaList", &s.PicFileNamesList},
          {"SndCommaList", &s.SndList},
          {"SndFileNamesCommaList", &s.SndFileNamesList},
          {"SndSizesCommaList", &s.SndSizesList},
          {"FlashCommaList", &s.FlashList},
          {"FlashFileNamesCommaList", &s.FlashFileNamesList},
          {"FlashSizesCommaList", &s.FlashSizesList},
          {"DescriptCommaList", &s.DescriptList}};
}

std::vector<std::pair<const char*, bool>> Flags(const TSSFileLocations& s) {
  return {{"lRandomStyle", s.lRandomStyle},
          {"lRandomPic", s.lRandomPic},
          {"lClearOldImage", s.lClearOldImage},
          {"lStretch", s.lStretch},
          {"lSoundLoop", s.lSoundLoop},
          {"lMute", s.lMute},
          {"lExitMouseMove", s.lExitMouseMove},
          {"lExitMouseClick", s.lExitMouseClick},
          {"lExitKeyPress", s.lExitKeyPress},
          {"lShowMouseCursor", s.lShowMouseCursor},
          {"lExitFSCommandQuit", s.lExitFSCommandQuit}};
}

std::vector<std::pair<const char*, const std::string*>> Texts(const TSSFileLocations& s) {
  return {{"Title", &s.Title},
          {"Author", &s.Author},
          {"Email", &s.Email},
          {"Web", &s.Web},
          {"Ver", &s.Ver}};
}

TJson SettingsJson(const TSSFileLocations& s) {
  TJson json;
  json["Text"] = AnsiToUtf8(s.Text);
  json["TextFont"] = FontJson(s.TextFont);
  auto flags = Flags(s);
  for (size_t i = 0; i < 4; ++i) json[flags[i].first] = flags[i].second;
  json["Interval"] = s.Interval;
  json["SoundRandom"] = s.SoundRandom;
  for (size_t i = 4; i < flags.size(); ++i) json[flags[i].first] = flags[i].second;
  for (const auto& [name, text] : Texts(s)) json[name] = AnsiToUtf8(*text);
  for (const auto& [name, list] : Lists(s)) json[name] = AnsiToUtf8(list->CommaText());
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

void Row(std::ostream& out, const std::string& name, const std::string& value) {
  out << "  " << name << std::string(name.size() < 20 ? 20 - name.size() : 1, ' ') << value << "\n";
}

void PrintSettings(const TSSFileLocations& s, std::ostream& out) {
  out << "Settings\n";
  for (const auto& [name, text] : Texts(s)) Row(out, name, AnsiToUtf8(*text));
  Row(out, "Text", AnsiToUtf8(s.Text));
  Row(out, "TextFont", FontText(s.TextFont));
  Row(out, "Interval", std::to_string(s.Interval) + " ms");
  Row(out, "SoundRandom", std::to_string(s.SoundRandom));
  for (const auto& [name, flag] : Flags(s)) Row(out, name, flag ? "True" : "False");
  // The offset, name and size lists appear in the tables below.
  Row(out, "EffectCommaList", AnsiToUtf8(s.EffectList.CommaText()));
  Row(out, "DescriptCommaList", AnsiToUtf8(s.DescriptList.CommaText()));
}

void PrintPictures(const TPackageReport& report, std::ostream& out) {
  const TCommaList& names = report.Package->Settings.PicFileNamesList;
  out << "Pictures (" << report.Pictures.size() << ")\n";
  for (const TPictureInfo& picture : report.Pictures) {
    out << std::setw(6) << picture.Index << "  offset " << std::setw(10) << std::left
        << picture.Offset << std::right << "  ";
    if (picture.Index <= names.Count()) out << AnsiToUtf8(names.At(picture.Index - 1)) << "  ";
    if (picture.Error)
      out << "error: " << *picture.Error;
    else
      out << *picture.Width << " x " << *picture.Height << ", " << *picture.JpegBytes << " bytes";
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
  json["settings"] = SettingsJson(package.Settings);
  json["pictures"] = TJson::array();
  for (const TPictureInfo& picture : report.Pictures)
    json["pictures"].push_back(TJson{{"index", picture.Index},
                                     {"offset", picture.Offset},
                                     {"width", OrNull(picture.Width)},
                                     {"height", OrNull(picture.Height)},
                                     {"jpeg_bytes", OrNull(picture.JpegBytes)},
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
      << package.Trailer.SettingsOffset << "\n\n";
  PrintSettings(package.Settings, out);
  out << "\n";
  PrintPictures(report, out);
  PrintMedia("Sounds", report.Sounds, out);
  PrintMedia("Flash files", report.Flash, out);
}

}  // namespace pixvane::tool
