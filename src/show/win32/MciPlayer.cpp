#include "show/win32/MciPlayer.h"

#include <mmsystem.h>

#include "base/Errors.h"

namespace pixvane {
namespace {

[[noreturn]] void RaiseMciError(MCIERROR error) {
  char text[256] = "";
  if (!mciGetErrorStringA(error, text, sizeof text)) lstrcpyA(text, "MCI error");
  throw EError(text);
}

}  // namespace

TMciPlayer::~TMciPlayer() {
  Close();
}

void TMciPlayer::Close() {
  if (!FDevice) return;
  mciSendCommandA(FDevice, MCI_CLOSE, MCI_WAIT, 0);
  FDevice = 0;
}

DWORD TMciPlayer::TakeFlags(bool isPlay) {
  bool notify = FNotify.value_or(isPlay);
  FNotify.reset();
  return notify ? MCI_NOTIFY : MCI_WAIT;
}

void TMciPlayer::Open() {
  Close();
  MCI_OPEN_PARMSA open{};
  open.dwCallback = reinterpret_cast<DWORD_PTR>(FWindow);
  open.lpstrElementName = FFileName.c_str();
  // The platform picks the device from the file; opening always waits.
  FNotify.reset();
  if (MCIERROR error = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT,
                                       reinterpret_cast<DWORD_PTR>(&open)))
    RaiseMciError(error);
  FDevice = open.wDeviceID;
}

void TMciPlayer::Play() {
  if (!FDevice) return;
  MCI_PLAY_PARMS play{};
  play.dwCallback = reinterpret_cast<DWORD_PTR>(FWindow);
  // A failed play is not reported: no notification will follow, and the
  // music simply stops.
  mciSendCommandA(FDevice, MCI_PLAY, TakeFlags(true), reinterpret_cast<DWORD_PTR>(&play));
}

void TMciPlayer::Stop() {
  if (!FDevice) return;
  MCI_GENERIC_PARMS stop{};
  stop.dwCallback = reinterpret_cast<DWORD_PTR>(FWindow);
  mciSendCommandA(FDevice, MCI_STOP, TakeFlags(false), reinterpret_cast<DWORD_PTR>(&stop));
}

}  // namespace pixvane
