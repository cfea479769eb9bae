#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

namespace pixvane {

// The user-interface thread's message pump, in the few shapes its callers
// need. Each message taken from the queue is translated and dispatched,
// unless a filter uses it up first (a dialog's keyboard handling, a command
// posted to the thread itself).
using TMessageFilter = std::function<bool(MSG& message)>;

// What a pump does with a WM_QUIT it takes from the queue.
enum class TQuitMessage {
  Drop,    // the same as with any other message: it goes nowhere, the pump goes on
  Stop,    // the pump stops there and says so
  Repost,  // the pump stops and posts it again, for the loop that owns the thread
};

// What a pump found in the queue.
enum class TPumped { Nothing, Messages, Quit };

// Dispatches what waits in this thread's queue until it is empty.
TPumped ProcessMessages(TQuitMessage onQuit, const TMessageFilter& filter = nullptr);

// Sleeps until a message or input arrives for this thread, or timeoutMs have
// passed; dispatches nothing.
void WaitForMessage(uint32_t timeoutMs);

// Waits as WaitForMessage does, then dispatches what arrived.
TPumped WaitAndProcessMessages(uint32_t timeoutMs, TQuitMessage onQuit);

// The loop that owns the thread, with its hooks (each may be left empty).
struct TMessageLoop {
  TMessageFilter Filter = nullptr;
  // Called whenever the queue runs empty, before the thread sleeps. True when
  // it posted something: the queue is looked at again instead.
  std::function<bool()> OnIdle = nullptr;
  // Asked before each message: true ends the loop, messages still waiting.
  std::function<bool()> Ended = nullptr;
};

// Runs the loop until it takes a WM_QUIT from the queue or Ended holds.
void RunMessageLoop(const TMessageLoop& loop = {});

}  // namespace pixvane
