#pragma once
#include <optional>
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
//
// A saver installed for every user sits in a folder that users may not
// write to, so the choice would never be kept there. It then goes to a file
// of the user's own (same syntax, one per saver), which is read first from
// then on; savers whose folder is writable keep using the file beside them.
class TSettingsStore {
 public:
  // exeFolder is the executable's folder ending with the path delimiter, as
  // ExtractFilePath gives it; an empty folder means the current one.
  // userFile is the user's own settings file, or "" for none.
  explicit TSettingsStore(std::string_view exeFolder, std::string userFile = std::string());
  // The user's file is named after the executable, in the user's data folder.
  static TSettingsStore ForExecutable(std::string_view exePath);

  // "mute" of section "Setup" read as an integer, non-zero meaning muted:
  // from the user's file when it holds one, else from the file beside the
  // executable. A missing or unreadable file, a missing key or a value that
  // is not an integer gives defaultValue.
  bool ReadMuteSetting(bool defaultValue) const;
  // Stores "1" or "0", keeping everything else in the file: in the user's
  // file when it already holds the choice or the file beside the executable
  // cannot be written. Raises EFileError "Unable to write to %s" with the
  // path of the file that could not be written.
  void WriteMuteSetting(bool mute) const;

  bool LanguageFileExists() const;
  // The key's value in section "Language" of the language file, which may be
  // empty; defaultText when the file or the key is missing.
  std::string LanguageText(std::string_view key, std::string_view defaultText) const;

  const std::string& ControlFilePath() const { return FControl.Path(); }
  const std::string& UserControlFilePath() const { return FUserControl.Path(); }
  const std::string& LanguageFilePath() const { return FLanguage.Path(); }

 private:
  std::optional<bool> ReadMute(const TIniFile& file) const;
  bool TryWrite(const TIniFile& file, std::string_view value) const;

  TIniFile FControl;
  TIniFile FUserControl;
  TIniFile FLanguage;
};

}  // namespace pixvane
