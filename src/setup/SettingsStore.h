#pragma once
#include <string>
#include <string_view>

#include "setup/IniFile.h"

namespace pixvane {

// The user's one setting lives in this file beside the executable.
inline constexpr std::string_view ControlFileName = "CONTROL.INI";
inline constexpr std::string_view SetupSection = "Setup";
inline constexpr std::string_view MuteKey = "mute";

// The optional language file beside the executable, and its texts.
inline constexpr std::string_view LanguageFileName = "pixvane.ini";
inline constexpr std::string_view LanguageSection = "Language";
inline constexpr std::string_view TitleKey = "Title";
inline constexpr std::string_view AuthorKey = "Author";
inline constexpr std::string_view OKButtonKey = "btnOK";
inline constexpr std::string_view MuteMusicKey = "MuteMusic";
inline constexpr std::string_view DownloadSWFKey = "DownloadSWF";

inline constexpr std::string_view DefaultTitleText = "Title:";
inline constexpr std::string_view DefaultAuthorText = "Author:";
inline constexpr std::string_view DefaultOKButtonText = "OK";
inline constexpr std::string_view DefaultMuteMusicText = "Mute music";
inline constexpr std::string_view DefaultDownloadSWFText =
    "Please install the Macromedia Flash Player ActiveX control.";

// The mute choice and the language texts, read from and written to the two
// INI files in the executable's folder.
class TSettingsStore {
 public:
  // exeFolder is the executable's folder ending with the path delimiter, as
  // ExtractFilePath gives it; an empty folder means the current one.
  explicit TSettingsStore(std::string_view exeFolder);
  static TSettingsStore ForExecutable(std::string_view exePath);

  // "mute" of section "Setup" read as an integer, non-zero meaning muted. A
  // missing or unreadable file, a missing key or a value that is not an
  // integer gives defaultValue.
  bool ReadMuteSetting(bool defaultValue) const;
  // Stores "1" or "0", keeping everything else in the file. Raises EFileError
  // "Unable to write to %s" with the file's path when it cannot be stored.
  void WriteMuteSetting(bool mute) const;

  bool LanguageFileExists() const;
  // The key's value in section "Language" of the language file, which may be
  // empty; defaultText when the file or the key is missing.
  std::string LanguageText(std::string_view key, std::string_view defaultText) const;

  const std::string& ControlFilePath() const { return FControl.Path(); }
  const std::string& LanguageFilePath() const { return FLanguage.Path(); }

 private:
  TIniFile FControl;
  TIniFile FLanguage;
};

}  // namespace pixvane
