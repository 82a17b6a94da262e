// The password dialog's window messages while a decode run holds its
// thread. Windows takes a window that leaves a sent message unanswered for
// five seconds for hung: it paints a ghost over it and offers to end the
// program, which would leave a half-written file. So the run serves the
// messages that wait (paint, sent messages, timers) between its blocks.
//
// The user's keyboard input, and mouse input inside windows, is dropped:
// nothing typed or clicked during a run is acted on, then or later. Mouse
// input on the window's frame passes, so that the dialog can be moved and
// minimised while it works; the dialog ignores its close requests then.
#pragma once

#include <windows.h>

namespace win32 {

// Serves every message that waits, dropping the input.
void ServeWaitingMessages();

// Serves them between the steps of a run, when 100 ms have passed since it
// last did.
class MessageBeat {
 public:
  void BetweenSteps() {
    if (GetTickCount() - last_ < kInterval) return;
    ServeWaitingMessages();
    last_ = GetTickCount();
  }

 private:
  static constexpr DWORD kInterval = 100;
  DWORD last_ = GetTickCount();
};

}  // namespace win32
