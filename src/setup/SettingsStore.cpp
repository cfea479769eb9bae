#include "setup/SettingsStore.h"

#include "base/Errors.h"
#include "base/IntText.h"
#include "base/Paths.h"

namespace pixvane {

TSettingsStore::TSettingsStore(std::string_view exeFolder, std::string userFile)
    : FControl(JoinPath(exeFolder, ControlFileName)),
      FUserControl(std::move(userFile)),
      FLanguage(JoinPath(exeFolder, LanguageFileName)) {}

TSettingsStore TSettingsStore::ForExecutable(std::string_view exePath) {
  std::string userFolder = UserDataFolderPath();
  std::string userFile;
  if (!userFolder.empty()) userFile = userFolder + ExtractFileName(exePath) + ".ini";
  return TSettingsStore(ExtractFilePath(exePath), std::move(userFile));
}

std::optional<bool> TSettingsStore::ReadMute(const TIniFile& file) const {
  if (file.Path().empty()) return std::nullopt;
  std::optional<std::string> text = file.ReadString(SetupSection, MuteKey);
  if (!text) return std::nullopt;
  std::optional<int32_t> value = ParseInt(*text);
  if (!value) return std::nullopt;
  return *value != 0;
}

bool TSettingsStore::ReadMuteSetting(bool defaultValue) const {
  if (std::optional<bool> mine = ReadMute(FUserControl)) return *mine;
  return ReadMute(FControl).value_or(defaultValue);
}

bool TSettingsStore::TryWrite(const TIniFile& file, std::string_view value) const {
  if (file.Path().empty()) return false;
  // The user's data folder may not exist yet; its parent always does.
  if (&file == &FUserControl && !CreateFolder(ExtractFilePath(file.Path()))) return false;
  try {
    file.WriteString(SetupSection, MuteKey, value);
    return true;
  } catch (const EFileError&) {
    return false;
  }
}

void TSettingsStore::WriteMuteSetting(bool mute) const {
  const char* value = mute ? "1" : "0";
  // Once the user's file holds the choice it is read first, so it is the
  // only one whose change counts.
  if (ReadMute(FUserControl)) return FUserControl.WriteString(SetupSection, MuteKey, value);
  if (TryWrite(FControl, value) || TryWrite(FUserControl, value)) return;
  FControl.WriteString(SetupSection, MuteKey, value);  // raises the error the user is shown
}

bool TSettingsStore::LanguageFileExists() const {
  return FLanguage.Exists();
}

std::string TSettingsStore::LanguageText(std::string_view key, std::string_view defaultText) const {
  // Without the file there is nothing to ask, and a missing file must not
  // count as a file with empty texts.
  if (!FLanguage.Exists()) return std::string(defaultText);
  return FLanguage.ReadString(LanguageSection, key).value_or(std::string(defaultText));
}

}  // namespace pixvane
