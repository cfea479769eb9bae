#include "host/linux/LinuxPlayer.h"

#include <SDL.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <optional>

#include "base/Errors.h"
#include "base/Paths.h"
#include "base/Stream.h"
#include "host/ExitRules.h"
#include "host/linux/SdlMusic.h"
#include "host/linux/SdlViewHost.h"
#include "host/linux/XRootWindow.h"
#include "package/Package.h"
#include "package/SignedSaver.h"
#include "setup/SettingsStore.h"
#include "show/CaptionText.h"
#include "show/ShowSession.h"

namespace pixvane {
namespace {

constexpr int32_t DefaultWindowWidth = 800, DefaultWindowHeight = 600;

// The show's generator, seeded as the Windows player seeds it: from the time
// of day in universal time, so a random order differs from one run to the next.
TRandom SeededFromClock() {
  using namespace std::chrono;
  constexpr int64_t DayMs = 24 * 60 * 60 * 1000;
  const int64_t ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  const int dayMs = static_cast<int>((ms % DayMs + DayMs) % DayMs);
  TRandom random;
  random.SeedFromTime(dayMs / 3600000, dayMs / 60000 % 60, dayMs / 1000 % 60, dayMs % 1000);
  return random;
}

// The settings record alone, read before anything is opened on screen, so
// a saver that cannot play says why without a window flashing up.
TSSFileLocations ReadRecord(const std::string& saver) {
  std::unique_ptr<TStream> file;
  try {
    file = OpenSaver(saver);
  } catch (const EError& e) {
    throw EError(saver + ": " + e.what());
  }
  TSSFileLocations settings;
  try {
    std::optional<TTrailer> trailer = ReadTrailer(*file);
    if (!trailer || trailer->PackageLength <= 0 || trailer->SettingsOffset <= 0)
      throw EError(saver + ": no Pixvane package in this file");
    if (!ReadSettings(*file, settings)) throw EError(saver + ": no Pixvane package in this file");
  } catch (const EReadError& e) {
    throw EError(saver + ": the package is damaged (" + e.what() + ")");
  }
  if (settings.Kind() == TSaverKind::Flash)
    throw EError(saver +
                 ": a Flash saver; its movies need the Flash Player, which does not exist on "
                 "Linux, so it cannot play here");
  return settings;
}

// The user's mute choice, kept as the player keeps it (same key, same
// meaning, a file named after the saver), in the user's configuration
// folder; a file beside the saver is read when the user's holds none.
bool UserMuteChoice(const std::string& saver, bool packageDefault) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  std::string folder;
  if (config && *config)
    folder = JoinPath(config, "pixvane/");
  else if (home && *home)
    folder = JoinPath(home, ".config/pixvane/");
  std::string userFile = folder.empty() ? std::string() : folder + ExtractFileName(saver) + ".ini";
  return TSettingsStore(ExtractFilePath(saver), std::move(userFile))
      .ReadMuteSetting(packageDefault);
}

// The X root window: SDL names none, Xlib does.
uint64_t RootWindowId() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::string(driver) != "x11")
    throw EError("--root needs an X display; this one is " + std::string(driver ? driver : "none"));
  uint64_t root = XRootWindowId();
  if (!root) throw EError("cannot open the X display");
  return root;
}

// SDL's video, up and down with the player.
struct TSdlVideo {
  explicit TSdlVideo(bool foreignWindow) {
    // Drawing into XScreenSaver's window, the screen saving is that
    // program's; SDL must not hold it off.
    if (foreignWindow) SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // A show over several monitors stays up when one of them takes the focus.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) throw EError(std::string("no display: ") + SDL_GetError());
  }
  ~TSdlVideo() { SDL_Quit(); }
};

// The platform of the show in an SDL window: the show timer is a due time
// the event loop waits for, exit rules without a password (the desktop's
// own lock screen asks for one on Linux).
class TLinuxPlayer final : public TShowPlatform, public TExitPlatform {
 public:
  TLinuxPlayer(const TPlayOptions& options, const TSSFileLocations& record);
  ~TLinuxPlayer() override;
  void Run();

  TViewHost& ViewHost() override { return *FHost; }
  void ArmShowTimer(uint32_t ms) override {
    FTimerPeriod = ms;
    FTimerDue = SDL_GetTicks() + ms;
  }
  void DisarmShowTimer() override { FTimerDue.reset(); }
  TCaptionPainter& CaptionPainter() override { return FCaption; }
  std::unique_ptr<TStream> OpenPackage() override { return OpenSaver(FSaver); }
  TShowScreen Screen() override { return {FWidth, FHeight, FMonitors}; }
  TMediaPlayer* MusicDevice() override { return FMusic.get(); }

 private:
  bool OpenDesktopKey() override { return false; }
  void CloseDesktopKey() override {}
  std::optional<int32_t> ReadUsePassword() override { return std::nullopt; }
  std::optional<bool> VerifyPassword() override { return std::nullopt; }
  void ShowCursor(bool) override {}

  void OpenWindow(const TPlayOptions& options);
  void OpenMusic(const TSSFileLocations& record);
  void HandleEvent(const SDL_Event& event);
  void HandleInput(const SDL_Event& event);
  void End();
  void Guarded(void (TShowSession::*step)());
  uint32_t MsToNextTick() const;

  std::string FSaver;
  TPlayTarget FTarget;
  bool FMute;  // the user's choice, or the package's
  TSdlVideo FVideo;
  SDL_Window* FWindow = nullptr;
  int32_t FWidth = 0, FHeight = 0;
  std::vector<TMonitor> FMonitors;  // none: one over the whole window
  std::unique_ptr<TSdlViewHost> FHost;
  TCaptionText FCaption;
  std::unique_ptr<TSdlMusic> FMusic;
  std::unique_ptr<TShowSession> FSession;
  std::unique_ptr<TExitRules> FExitRules;
  std::optional<uint32_t> FTimerDue;
  uint32_t FTimerPeriod = 0;
  bool FEnded = false;
};

TLinuxPlayer::TLinuxPlayer(const TPlayOptions& options, const TSSFileLocations& record)
    : FSaver(options.Saver.string()),
      FTarget(options.Target),
      FMute(record.lMute),
      FVideo(options.Target == TPlayTarget::Root || options.Target == TPlayTarget::WindowId) {
  OpenWindow(options);
  FHost = std::make_unique<TSdlViewHost>(FWindow);
  FHost->OnEvent = [this](const SDL_Event& event) { HandleEvent(event); };
  OpenMusic(record);
  FSession = std::make_unique<TShowSession>(*this, SeededFromClock());
  FExitRules = std::make_unique<TExitRules>(FSession->Settings(), *this);
}

TLinuxPlayer::~TLinuxPlayer() {
  // The device lets go of its track before the extracted files are deleted.
  FMusic.reset();
  if (FSession) FSession->DeleteMedia();
  FSession.reset();
  FHost.reset();
  // A window of another program stays; SDL only forgets it.
  if (FWindow) SDL_DestroyWindow(FWindow);
}

void TLinuxPlayer::OpenWindow(const TPlayOptions& options) {
  if (options.Target == TPlayTarget::Root || options.Target == TPlayTarget::WindowId) {
    uint64_t id = options.Target == TPlayTarget::Root ? RootWindowId() : options.WindowId;
    FWindow = SDL_CreateWindowFrom(reinterpret_cast<void*>(static_cast<uintptr_t>(id)));
  } else if (options.Target == TPlayTarget::Window) {
    FWindow = SDL_CreateWindow(
        ("Pixvane: " + ExtractFileName(FSaver)).c_str(), SDL_WINDOWPOS_CENTERED,
        SDL_WINDOWPOS_CENTERED, options.Width ? options.Width : DefaultWindowWidth,
        options.Height ? options.Height : DefaultWindowHeight, SDL_WINDOW_RESIZABLE);
  } else if (options.Width) {
    FWindow = SDL_CreateWindow("Pixvane", 0, 0, options.Width, options.Height,
                               SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP);
  } else {
    // One window over every monitor, each monitor a rectangle of it, as the
    // Windows player covers the virtual screen.
    SDL_Rect all{};
    std::vector<SDL_Rect> displays(std::max(SDL_GetNumVideoDisplays(), 1));
    for (size_t i = 0; i < displays.size(); ++i) {
      SDL_GetDisplayBounds(static_cast<int>(i), &displays[i]);
      SDL_UnionRect(&all, &displays[i], &all);
    }
    for (const SDL_Rect& d : displays)
      FMonitors.push_back({{d.x - all.x, d.y - all.y, d.x - all.x + d.w, d.y - all.y + d.h}});
    // One monitor is the desktop's full screen, which window managers keep
    // above their panels; several need one window across them.
    uint32_t flags = displays.size() == 1 ? SDL_WINDOW_FULLSCREEN_DESKTOP
                                          : SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP;
    FWindow = SDL_CreateWindow("Pixvane", all.x, all.y, all.w, all.h, flags);
  }
  if (!FWindow) throw EError(std::string("cannot open the window: ") + SDL_GetError());
  SDL_GetWindowSize(FWindow, &FWidth, &FHeight);
  if (FMonitors.size() == 1) FMonitors.clear();
}

void TLinuxPlayer::OpenMusic(const TSSFileLocations& record) {
  if (record.lMute || record.Sounds().Count() == 0) return;
  std::string error;
  FMusic = TSdlMusic::Open(error);
  if (!FMusic) std::cerr << "pixvane: no sound device (" << error << "); playing without music\n";
}

void TLinuxPlayer::Run() {
  std::unique_ptr<TStream> file = OpenPackage();
  FSession->ReadPackage(*file);
  FSession->ExtractMedia(*file);
  file.reset();
  FSession->Settings().lMute = FMute;  // the user's choice over the package's
  FSession->SetClientSize(FWidth, FHeight);
  if (FTarget == TPlayTarget::Screen) {
    if (!FSession->Settings().lShowMouseCursor) SDL_ShowCursor(SDL_DISABLE);
    // Keys end the show wherever the focus was, as on Windows, where the
    // saver's window is the active one.
    SDL_RaiseWindow(FWindow);
    SDL_SetWindowInputFocus(FWindow);
    SDL_SetWindowKeyboardGrab(FWindow, SDL_TRUE);
  }
  FExitRules->ResetReference();
  FSession->Start();
  // The first slide comes at the first idle moment, as on Windows.
  FHost->ProcessMessages(0);
  if (!FEnded) Guarded(&TShowSession::ShowTimerTick);
  while (!FEnded) {
    FHost->ProcessMessages(MsToNextTick());
    if (!FEnded && FTimerDue && static_cast<int32_t>(SDL_GetTicks() - *FTimerDue) >= 0) {
      FTimerDue = *FTimerDue + FTimerPeriod;
      Guarded(&TShowSession::ShowTimerTick);
    }
  }
  FSession->Stop();
}

uint32_t TLinuxPlayer::MsToNextTick() const {
  if (!FTimerDue) return UINT32_MAX;  // nothing to do until an event comes
  int32_t left = static_cast<int32_t>(*FTimerDue - SDL_GetTicks());
  return left > 0 ? static_cast<uint32_t>(left) : 0;
}

// An error of a slide leaves the show on what it shows, as the Windows
// player does after its message; here the message goes to standard error.
void TLinuxPlayer::Guarded(void (TShowSession::*step)()) {
  try {
    ((*FSession).*step)();
  } catch (const std::exception& e) {
    std::cerr << "pixvane: " << FSaver << ": " << e.what() << "\n";
  }
}

void TLinuxPlayer::HandleEvent(const SDL_Event& event) {
  if (FMusic && FMusic->IsCurrentEnd(event)) return Guarded(&TShowSession::MusicNotify);
  switch (event.type) {
    case SDL_QUIT:  // SIGTERM, SIGINT, or the window closed
      return End();
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        FWidth = event.window.data1;
        FHeight = event.window.data2;
        FSession->SetClientSize(FWidth, FHeight);
        FHost->Repaint();
      }
      return;
    default:
      HandleInput(event);
  }
}

void TLinuxPlayer::HandleInput(const SDL_Event& event) {
  // In another program's window, input is that program's to judge; in a
  // window of its own, the show ends with the window, or on Escape.
  if (FTarget == TPlayTarget::Root || FTarget == TPlayTarget::WindowId) return;
  if (FTarget == TPlayTarget::Window) {
    if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) End();
    return;
  }
  bool end = false;
  if (event.type == SDL_MOUSEMOTION)
    end = FExitRules->MouseMove(event.motion.x, event.motion.y);
  else if (event.type == SDL_MOUSEBUTTONDOWN)
    end = FExitRules->MouseDown();
  else if (event.type == SDL_KEYDOWN)
    end = FExitRules->KeyDown();
  if (end) End();
}

// Ends at once, also from inside a transition: the view stops where it is,
// and the loop ends when the tick that ran the transition has returned.
void TLinuxPlayer::End() {
  FEnded = true;
  FSession->Stop();
  FHost->StopView();
}

}  // namespace

void PlaySaver(const TPlayOptions& options) {
  TSSFileLocations record = ReadRecord(options.Saver.string());
  record.lMute = options.Mute || UserMuteChoice(options.Saver.string(), record.lMute);
  TLinuxPlayer player(options, record);
  player.Run();
}

}  // namespace pixvane
