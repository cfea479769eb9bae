#include "host/Startup.h"

#include "package/ClassRegistry.h"

namespace pixvane {
namespace {

// Everything after the mode is known. The marker stays held while the mode
// runs, so a saver started during the preview of the same file ends at once.
void RunMode(TStartupPlatform& platform, const TCommandLine& commandLine, TRandom random) {
  if (SaverMode() == TSaverMode::smSetPassword) {
    // No marker here: the password can be changed while the saver runs.
    platform.ChangePassword(commandLine);
    return;
  }
  if (!platform.AcquireInstanceMarker()) return;
  struct TMarkerRelease {
    TStartupPlatform& Platform;
    ~TMarkerRelease() { Platform.ReleaseInstanceMarker(); }
  } release{platform};

  platform.InitializeFramework();
  platform.ProcessMessages();
  if (SaverMode() == TSaverMode::smPreview) {
    platform.RunPreview(commandLine);
    return;
  }
  if (SaverMode() == TSaverMode::smConfig)
    platform.RunSetupDialog();
  else
    platform.RunSaver(random);
  platform.ProcessMessages();
}

}  // namespace

int RunStartup(TStartupPlatform& platform) {
  try {
    TClockTime now = platform.UniversalTime();
    TRandom random;
    random.SeedFromTime(now.Hour, now.Minute, now.Second, now.Milliseconds);
    RegisterStreamClasses();
    TCommandLine commandLine = platform.Arguments();
    commandLine = MakeCommandLine(commandLine.First, commandLine.Second);
    SetSaverMode(ModeFromCommandLine(commandLine));
    RunMode(platform, commandLine, random);
  } catch (...) {
    // A bad handle, an unreadable file or picture: the machinery that started
    // us has nobody to show a message to, so the process just ends.
  }
  return 0;
}

}  // namespace pixvane
