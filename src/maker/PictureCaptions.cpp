#include "maker/PictureCaptions.h"

#include <fstream>
#include <iterator>

#include "maker/ToolError.h"

namespace pixvane::maker {
namespace {

// The EXIF block sits in the file's first segments and holds at most 64 KiB,
// so a photo's date is found without reading the whole photo.
constexpr size_t ExifReach = 128 * 1024;

std::vector<uint8_t> FileStart(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes(ExifReach);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

}  // namespace

std::string PlainDate(const TDate& date) {
  static const char* const Months[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};
  return std::to_string(date.Day) + " " + Months[date.Month - 1] + " " + std::to_string(date.Year);
}

std::string JoinNames(const std::vector<std::string>& names) {
  constexpr size_t Shown = 5;
  std::string text;
  for (size_t i = 0; i < names.size() && i < Shown; ++i) text += (i ? ", " : "") + names[i];
  if (names.size() > Shown) text += " and " + std::to_string(names.size() - Shown) + " more";
  return text;
}

std::vector<std::string> PictureCaptions(const TManifest& manifest,
                                         std::vector<std::string>& undated) {
  std::vector<std::string> captions;
  for (const TSourceFile& file : manifest.Pictures) {
    std::string caption;
    if (file.Caption) {
      caption = *file.Caption;
    } else if (manifest.CaptionsFrom == TCaptionSource::Name) {
      caption = Utf8FromPath(file.Path.stem());
    } else if (manifest.CaptionsFrom == TCaptionSource::Date) {
      if (auto date = ExifDateTaken(FileStart(file.Path)))
        caption = PlainDate(*date);
      else
        undated.push_back(MediaName(file.Path));
    }
    captions.push_back(std::move(caption));
  }
  return captions;
}

}  // namespace pixvane::maker
