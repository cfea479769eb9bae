#include "base/win32/MessagePump.h"

namespace pixvane {
namespace {

void Dispatch(MSG& message, const TMessageFilter& filter) {
  if (filter && filter(message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

}  // namespace

TPumped ProcessMessages(TQuitMessage onQuit, const TMessageFilter& filter) {
  TPumped pumped = TPumped::Nothing;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT && onQuit != TQuitMessage::Drop) {
      if (onQuit == TQuitMessage::Repost) PostQuitMessage(static_cast<int>(message.wParam));
      return TPumped::Quit;
    }
    pumped = TPumped::Messages;
    Dispatch(message, filter);
  }
  return pumped;
}

void WaitForMessage(uint32_t timeoutMs) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs, QS_ALLINPUT);
}

TPumped WaitAndProcessMessages(uint32_t timeoutMs, TQuitMessage onQuit) {
  WaitForMessage(timeoutMs);
  return ProcessMessages(onQuit);
}

void RunMessageLoop(const TMessageLoop& loop) {
  MSG message;
  while (!(loop.Ended && loop.Ended())) {
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return;
      Dispatch(message, loop.Filter);
      continue;
    }
    if (loop.OnIdle && loop.OnIdle()) continue;
    WaitMessage();
  }
}

}  // namespace pixvane
