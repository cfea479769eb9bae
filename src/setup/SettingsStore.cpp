#include "setup/SettingsStore.h"

#include "base/IntText.h"
#include "base/Paths.h"

namespace pixvane {

TSettingsStore::TSettingsStore(std::string_view exeFolder)
    : FControl(JoinPath(exeFolder, ControlFileName)),
      FLanguage(JoinPath(exeFolder, LanguageFileName)) {}

TSettingsStore TSettingsStore::ForExecutable(std::string_view exePath) {
  return TSettingsStore(ExtractFilePath(exePath));
}

bool TSettingsStore::ReadMuteSetting(bool defaultValue) const {
  std::optional<std::string> text = FControl.ReadString(SetupSection, MuteKey);
  if (!text) return defaultValue;
  std::optional<int32_t> value = ParseInt(*text);
  return value ? *value != 0 : defaultValue;
}

void TSettingsStore::WriteMuteSetting(bool mute) const {
  FControl.WriteString(SetupSection, MuteKey, mute ? "1" : "0");
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
