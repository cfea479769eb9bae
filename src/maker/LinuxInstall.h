#pragma once
#include <filesystem>
#include <string>

#include "maker/ToolError.h"

namespace pixvane::maker {

// Where a saver is installed for XScreenSaver, and the files the install
// changes: the copy under $XDG_DATA_HOME/pixvane/savers (~/.local/share
// without the variable), ~/.xscreensaver and its ~/.xscreensaver.bak.
struct TInstallPlaces {
  std::filesystem::path Savers;
  std::filesystem::path Prefs;
  // From HOME and XDG_DATA_HOME; fails with EToolError without HOME.
  static TInstallPlaces FromEnvironment();
};

// ~/.xscreensaver is missing: XScreenSaver's settings program writes it,
// and an install does not invent one.
class ENoXScreenSaverPrefs : public EToolError {
 public:
  using EToolError::EToolError;
};

struct TInstallResult {
  std::filesystem::path Copy;
  std::string Name;
  int Index = -1;         // the entry's 0-based place in programs: (-1: there was none)
  bool Replaced = false;  // an entry for the saver was there already
};

// Copies the saver and adds or updates its one entry in the programs: list,
// running tool's play with -root on the copy; select makes it the selected
// saver. Nothing is written until the saver has been read and the new
// preferences made; ~/.xscreensaver is replaced atomically, the file before
// the change kept as ~/.xscreensaver.bak. Fails with EToolError (a file
// that is no saver, a Flash saver, a path the list cannot hold) or
// ENoXScreenSaverPrefs.
TInstallResult InstallSaver(const std::filesystem::path& saver, const std::filesystem::path& tool,
                            bool select, const TInstallPlaces& places);

// Removes the entry and the copy of the saver named by saver's file name.
// Fails with EToolError when neither is there.
TInstallResult UninstallSaver(const std::filesystem::path& saver, const TInstallPlaces& places);

}  // namespace pixvane::maker
