#include "host/win32/FlashHost.h"

#include <shellapi.h>

#include "base/Errors.h"
#include "base/Paths.h"
#include "setup/SettingsStore.h"

namespace pixvane {

TSaverFlash::TSaverFlash(HWND window, const TSSFileLocations& settings, TWindowSide side)
    : FWindow(window),
      FSide(std::move(side)),
      FControl(window, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)),
      FShow(settings, FControl, *this,
            [](const std::string& name) { return JoinPath(TempFolderPath(), name); }) {
  FControl.SetOnFSCommand([this](const std::string& command, const std::string&) {
    try {
      FShow.FlashFSCommand(command);
    } catch (const std::exception& e) {
      FSide.Report(e);
    }
  });
}

void TSaverFlash::HideControl() {
  if (FControl.Visible()) FControl.SetVisible(false);
}

void TSaverFlash::SetFlashTimerEnabled(bool enabled) {
  FTimer.reset();
  if (enabled) FTimer.emplace(FWindow, FlashTimerId, 1000);
}

std::unique_ptr<TSaverFlash> CreateFlashControl(HWND window, const TSSFileLocations& settings,
                                                const std::string& exePath,
                                                const std::string& title,
                                                TSaverFlash::TWindowSide side) {
  try {
    return std::make_unique<TSaverFlash>(window, settings, std::move(side));
  } catch (const EError&) {
    const std::string text =
        TSettingsStore::ForExecutable(exePath).LanguageText(DownloadSWFKey, DefaultDownloadSWFText);
    if (MessageBoxA(window, text.c_str(), title.c_str(), MB_ICONINFORMATION | MB_YESNO) == IDYES)
      ShellExecuteA(window, "open", FlashDownloadAddress, nullptr, nullptr, SW_SHOW);
    return nullptr;
  }
}

}  // namespace pixvane
