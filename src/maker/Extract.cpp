#include "maker/Extract.h"

#include <cstdio>
#include <set>

#include "base/AsciiText.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "maker/OutputFile.h"
#include "maker/PackageFile.h"
#include "maker/ToolError.h"

namespace pixvane::maker {
namespace {

namespace fs = std::filesystem;

// The package's sounds or Flash files, with the word used to talk about them.
struct TKindRun {
  const char* Kind;  // "sound", "flash"
  TMediaRun Files;
};

std::vector<TKindRun> MediaRuns(const TSSFileLocations& s) {
  return {{"sound", s.Sounds()}, {"flash", s.Flash()}};
}

std::string Numbered(const char* kind, int index, const std::string& extension) {
  char text[32];
  std::snprintf(text, sizeof text, "%s-%03d", kind, index);
  return text + extension;
}

// Names already given in the folder; Windows ignores letter case, so we do too.
class TNames {
 public:
  bool Take(const std::string& name) { return FUsed.insert(AsciiLowerCase(name)).second; }
  // name when it is plain and free, else kind-NNN with the extension, made
  // unique with a counter if a stored name happens to look like that.
  std::string Choose(const std::string& name, const char* kind, int index,
                     const std::string& extension) {
    if (IsPlainFileName(name) && Take(name)) return name;
    std::string fallback = Numbered(kind, index, extension);
    for (int n = 2; !Take(fallback); ++n)
      fallback = Numbered(kind, index, "-" + std::to_string(n) + extension);
    return fallback;
  }

 private:
  std::set<std::string> FUsed;
};

// Every sound and Flash file must have a name and a size, and the name must
// stay inside the folder; otherwise nothing is written at all.
void CheckMedia(const fs::path& file, const TSSFileLocations& settings) {
  for (const TKindRun& run : MediaRuns(settings))
    for (int i = 0; i < run.Files.Count(); ++i) {
      std::string what = std::string(run.Kind) + " " + std::to_string(i + 1);
      if (i >= run.Files.Names.Count() || i >= run.Files.Sizes.Count())
        throw EToolError(Located(file, 0, what + " has no name or size in the settings"));
      const std::string name = run.Files.Utf8NameAt(i);
      if (!IsPlainFileName(name))
        throw EToolError(Located(file, 0,
                                 what + " is stored as \"" + name +
                                     "\", which is not a plain file name and could "
                                     "land outside the folder; nothing was extracted"));
    }
}

void CopyRun(TStream& source, int32_t offset, int32_t size, const fs::path& path) {
  if (size < 0) throw EReadError("Stream read error");
  source.Seek(offset);
  TOutputFile out(path);
  source.CopyTo(out, size);
  out.Commit();
}

// Runs one write; a failure is noted, no partial file is left, and the
// extraction goes on with the next item.
template <typename Step>
void Attempt(const std::string& what, const fs::path& path, TExtractResult& result,
             std::vector<fs::path>& ofKind, std::ostream& out, Step step) {
  try {
    step();
    std::error_code error;
    out << what << ": " << PathForMessage(path) << " (" << fs::file_size(path, error)
        << " bytes)\n";
    result.Written.push_back(path);
    ofKind.push_back(path);
  } catch (const EError& e) {
    result.Failures.push_back(what + ": " + e.what());
  }
}

// The extension is found in the name's UTF-8 bytes, which need no path to
// be made of them first.
std::string Extension(const std::string& name) {
  size_t dot = name.rfind('.');
  std::string extension = dot == std::string::npos || dot == 0 ? "" : name.substr(dot);
  return IsPlainFileName("x" + extension) ? extension : "";
}

}  // namespace

TExtractResult RunExtract(const fs::path& file, const fs::path& folder, std::ostream& out) {
  auto package = OpenPackage(file);
  const TSSFileLocations& settings = package->Settings;
  CheckMedia(file, settings);
  std::error_code error;
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder, error))
    throw EToolError(Located(folder, 0, "cannot create the folder"));

  // Media names are fixed by the package, so pictures yield to them.
  TNames names;
  std::vector<std::vector<std::string>> mediaNames;
  for (const TKindRun& run : MediaRuns(settings)) {
    mediaNames.emplace_back();
    for (int i = 0; i < run.Files.Count(); ++i) {
      const std::string stored = run.Files.Utf8NameAt(i);
      mediaNames.back().push_back(names.Choose(stored, run.Kind, i + 1, Extension(stored)));
    }
  }

  TExtractResult result;
  for (int i = 0; i < settings.PicCount(); ++i) {
    std::string what = "picture " + std::to_string(i + 1);
    std::string stored =
        i < settings.PicFileNamesList.Count() ? settings.PicFileNameAt(i) : std::string();
    std::unique_ptr<TImage> image;
    try {
      image = ReadPicture(*package, i);
      if (!image->Picture.Graphic()) throw EError("the picture object holds no JPEG picture");
    } catch (const EError& e) {
      result.Failures.push_back(what + ": " + e.what());
      continue;
    }
    fs::path path = folder / PathFromUtf8(names.Choose(stored, "picture", i + 1, ".jpg"));
    Attempt(what, path, result, result.Pictures, out,
            [&] { WriteOutputFile(path, image->Picture.Graphic()->Data()); });
  }
  auto runs = MediaRuns(settings);
  for (size_t r = 0; r < runs.size(); ++r)
    for (int i = 0; i < runs[r].Files.Count(); ++i) {
      fs::path path = folder / PathFromUtf8(mediaNames[r][i]);
      Attempt(std::string(runs[r].Kind) + " " + std::to_string(i + 1), path, result,
              r == 0 ? result.Sounds : result.Flash, out, [&] {
                CopyRun(*package->File, runs[r].Files.OffsetAt(i), runs[r].Files.SizeAt(i), path);
              });
    }
  return result;
}

}  // namespace pixvane::maker
