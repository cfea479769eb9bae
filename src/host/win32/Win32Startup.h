#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "base/win32/Handles.h"
#include "host/Startup.h"

namespace pixvane {

// The start-up sequence's platform: Windows itself.
class TWin32Startup : public TStartupPlatform {
 public:
  TWin32Startup();

  TClockTime UniversalTime() override;
  TCommandLine Arguments() override;
  void ChangePassword(const TCommandLine& commandLine) override;
  bool AcquireInstanceMarker() override;
  void ReleaseInstanceMarker() override;
  void InitializeFramework() override;
  void ProcessMessages() override;
  void RunPreview(const TCommandLine& commandLine) override;
  void RunSetupDialog() override;
  void RunSaver(TRandom random) override;

  const std::string& ExePath() const { return FExePath; }

 private:
  std::string FExePath;
  TKernelHandle FMarker;
  std::optional<TComApartment> FComApartment;
};

// Our own executable's full path, as the platform reports it.
std::string ModuleFileName();

// A window handle as the platform widens a 32-bit handle value.
inline HWND HandleFromValue(uint32_t value) {
  return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(value)));
}

}  // namespace pixvane
