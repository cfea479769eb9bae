#pragma once
#include "base/Random.h"
#include "host/CommandLine.h"

namespace pixvane {

// The time of day in universal time, as the platform's clock gives it.
struct TClockTime {
  int Hour = 0, Minute = 0, Second = 0, Milliseconds = 0;
};

// What the start-up sequence asks of the platform. The Windows layer
// implements it with the real calls; the order in which they are made, and
// what is skipped in each mode, is RunStartup's business.
class TStartupPlatform {
 public:
  virtual ~TStartupPlatform() = default;

  virtual TClockTime UniversalTime() = 0;
  // The first and second arguments as the platform splits the command line,
  // not yet upper-cased; missing ones empty.
  virtual TCommandLine Arguments() = 0;

  // Lets the platform ask for and store a new saver password.
  virtual void ChangePassword(const TCommandLine& commandLine) = 0;

  // Creates the named instance marker. False when another instance already
  // holds the name; a marker that cannot be created at all counts as free.
  virtual bool AcquireInstanceMarker() = 0;
  virtual void ReleaseInstanceMarker() = 0;

  // The framework's set-up: the component object model in a single-threaded
  // apartment on this thread, which the Flash control needs.
  virtual void InitializeFramework() = 0;
  virtual void ProcessMessages() = 0;

  virtual void RunPreview(const TCommandLine& commandLine) = 0;
  // Create the main window (setup dialog or saver window) and run the
  // message loop until it closes. The saver's show draws from random, the
  // generator seeded at start-up.
  virtual void RunSetupDialog() = 0;
  virtual void RunSaver(TRandom random) = 0;
};

// The player's main sequence: seed the show's generator from the clock,
// register the stream classes, read the mode, keep out a second instance,
// set up the framework, then run the mode. Errors of the sequence itself end
// the process silently; the return value is the process's exit code.
int RunStartup(TStartupPlatform& platform);

}  // namespace pixvane
