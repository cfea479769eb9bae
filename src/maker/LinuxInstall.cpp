#include "maker/LinuxInstall.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "base/CodePage.h"
#include "base/Errors.h"
#include "maker/OutputFile.h"
#include "maker/PackageFile.h"
#include "maker/XScreenSaverPrefs.h"

namespace pixvane::maker {

namespace fs = std::filesystem;

namespace {

// A path as XScreenSaver's shell command reads it: as it is when the shell
// reads none of its characters as more than itself, else in single quotes.
// A quote, a backslash or a line end would need escapes that the list's own
// syntax also reads, so such a path is refused.
std::string ShellWord(const fs::path& path) {
  const std::string text = Utf8FromPath(path);
  if (text.find_first_of("'\\\"\n\r") != std::string::npos)
    throw EToolError(Located(path, 0,
                             "XScreenSaver's list cannot hold a path with a quote, a backslash "
                             "or a line end; move the file to a plainer path"));
  const bool plain = text.find_first_not_of(
                         "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                         "0123456789_./+-@%,:=") == std::string::npos;
  return plain ? text : "'" + text + "'";
}

// The name XScreenSaver lists: the saver's title, less what its list
// syntax would read (quotes, backslashes, control characters).
std::string ListedName(const std::string& title, const fs::path& saver) {
  std::string name;
  for (unsigned char c : AnsiToUtf8(title))
    if (c >= 32 && c != '"' && c != '\\') name += static_cast<char>(c);
  return name.find_first_not_of(' ') == std::string::npos ? Utf8FromPath(saver.stem()) : name;
}

// What identifies the saver's entry whatever tool path it was written with.
std::string EntryKey(const fs::path& copy) {
  return " play " + ShellWord(copy) + " ";
}

std::string ReadPrefs(const TInstallPlaces& places) {
  std::error_code error;
  if (!fs::is_regular_file(places.Prefs, error))
    throw ENoXScreenSaverPrefs(
        Located(places.Prefs, 0,
                "not found. XScreenSaver writes it the first time its settings are saved: run "
                "xscreensaver-settings (or xscreensaver-demo), change any setting, close it, then "
                "run this again"));
  std::ifstream in(places.Prefs, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in && !in.eof()) throw EToolError(Located(places.Prefs, 0, "cannot read the file"));
  return text.str();
}

// The file before the change as the .bak, then the new one in its place,
// each written whole under a temporary name first. Both keep the file's own
// permissions: a user who made it private keeps it private.
void ReplacePrefs(const TInstallPlaces& places, const std::string& before,
                  const std::string& after) {
  std::error_code error;
  const fs::perms perms = fs::status(places.Prefs, error).permissions();
  fs::path backup = places.Prefs;
  backup += ".bak";
  for (const auto& [path, text] : {std::pair{backup, before}, std::pair{places.Prefs, after}}) {
    WriteOutputFile(path, std::vector<uint8_t>(text.begin(), text.end()));
    if (!error) fs::permissions(path, perms, error);
  }
}

void CopySaver(const fs::path& saver, const fs::path& copy) {
  std::error_code error;
  if (fs::equivalent(saver, copy, error)) return;  // installing the installed copy again
  fs::create_directories(copy.parent_path(), error);
  if (error) throw EToolError(Located(copy.parent_path(), 0, "cannot create the folder"));
  auto source = TFileStream::OpenRead(saver);
  TOutputFile target(copy);
  source->CopyTo(target, source->Size());
  target.Commit();
}

}  // namespace

TInstallPlaces TInstallPlaces::FromEnvironment() {
  const char* home = std::getenv("HOME");
  if (!home || !*home)
    throw EToolError("HOME is not set, so there is no ~/.xscreensaver to change");
  const char* data = std::getenv("XDG_DATA_HOME");
  const fs::path dataHome = data && *data ? fs::path(data) : fs::path(home) / ".local" / "share";
  return {dataHome / "pixvane" / "savers", fs::path(home) / ".xscreensaver"};
}

TInstallResult InstallSaver(const fs::path& saver, const fs::path& tool, bool select,
                            const TInstallPlaces& places) {
  const TSSFileLocations settings = OpenPackage(saver)->Settings;
  if (settings.Kind() == TSaverKind::Flash)
    throw EToolError(Located(saver, 0,
                             "a Flash saver; its movies need the Flash Player, which does not "
                             "exist on Linux, so XScreenSaver could not play it"));
  TInstallResult result;
  result.Copy = fs::absolute(places.Savers / saver.filename()).lexically_normal();
  result.Name = ListedName(settings.Title, saver);
  const TXScreenSaverEntry entry{result.Name,
                                 ShellWord(tool) + " play " + ShellWord(result.Copy) + " -root",
                                 EntryKey(result.Copy)};
  const std::string before = ReadPrefs(places);
  result.Replaced = WithoutProgram(before, entry.Key).Index >= 0;
  const TPrefsEdit edit = WithProgram(before, entry, select);
  result.Index = edit.Index;
  CopySaver(saver, result.Copy);
  ReplacePrefs(places, before, edit.Text);
  return result;
}

TInstallResult UninstallSaver(const fs::path& saver, const TInstallPlaces& places) {
  TInstallResult result;
  result.Copy = fs::absolute(places.Savers / saver.filename()).lexically_normal();
  const std::string before = ReadPrefs(places);
  const TPrefsEdit edit = WithoutProgram(before, EntryKey(result.Copy));
  std::error_code error;
  const bool copied = fs::exists(result.Copy, error);
  if (edit.Index < 0 && !copied)
    throw EToolError(Located(saver.filename(), 0,
                             "is not installed: neither " + PathForMessage(result.Copy) +
                                 " nor its line in ~/.xscreensaver is there"));
  result.Index = edit.Index;
  if (edit.Index >= 0) ReplacePrefs(places, before, edit.Text);
  if (copied && !fs::remove(result.Copy, error))
    throw EToolError(Located(result.Copy, 0, "cannot remove the installed copy"));
  return result;
}

}  // namespace pixvane::maker
