#include "host/linux/SdlMusic.h"

#include <fcntl.h>
#include <unistd.h>

#include "base/Errors.h"

namespace pixvane {
namespace {

// SDL_mixer's end-of-music hook takes no argument: the one open device is
// found here.
std::atomic<TSdlMusic*> OpenDevice{nullptr};

// ALSA's library prints its own lines on standard error while SDL tries it
// for a device that is not there; the reason comes back from SDL anyway.
struct TQuietStderr {
  int Saved = dup(STDERR_FILENO);
  TQuietStderr() {
    int null = open("/dev/null", O_WRONLY);
    if (null >= 0 && Saved >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) ::close(null);
  }
  ~TQuietStderr() {
    if (Saved < 0) return;
    dup2(Saved, STDERR_FILENO);
    ::close(Saved);
  }
};

}  // namespace

std::unique_ptr<TSdlMusic> TSdlMusic::Open(std::string& error) {
  TQuietStderr quiet;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error = SDL_GetError();
    return nullptr;
  }
  Mix_Init(MIX_INIT_MP3 | MIX_INIT_MID);
  if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 4096) != 0) {
    error = Mix_GetError();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  std::unique_ptr<TSdlMusic> music(new TSdlMusic);
  music->FEndEvent = SDL_RegisterEvents(1);
  OpenDevice = music.get();
  Mix_HookMusicFinished(MusicFinished);
  return music;
}

TSdlMusic::~TSdlMusic() {
  Mix_HookMusicFinished(nullptr);
  OpenDevice = nullptr;
  Close();
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void TSdlMusic::MusicFinished() {
  TSdlMusic* device = OpenDevice;
  if (!device) return;
  int32_t play = device->FPlaying.exchange(0);
  if (play == 0) return;  // halted on purpose
  SDL_Event event{};
  event.type = device->FEndEvent;
  event.user.code = play;
  SDL_PushEvent(&event);
}

void TSdlMusic::Close() {
  FPlaying = 0;
  if (FMusic) Mix_FreeMusic(FMusic);  // halts it first
  FMusic = nullptr;
}

void TSdlMusic::Open() {
  Close();
  FMusic = Mix_LoadMUS(FFileName.c_str());
  if (!FMusic) throw EError(std::string("cannot open ") + FFileName + ": " + Mix_GetError());
}

void TSdlMusic::Play() {
  if (!FMusic) throw EError("no track is open");
  FPlaying = ++FPlay;
  if (Mix_PlayMusic(FMusic, 1) != 0) {
    FPlaying = 0;
    throw EError(std::string("cannot play ") + FFileName + ": " + Mix_GetError());
  }
}

void TSdlMusic::Stop() {
  FPlaying = 0;
  Mix_HaltMusic();
}

bool TSdlMusic::IsCurrentEnd(const SDL_Event& event) const {
  return event.type == FEndEvent && event.user.code == FPlay && FNotify;
}

}  // namespace pixvane
