// Thread timers and the plain message pump (thread_timers.h).
#include "thread_timers.h"

#include "core/command_line.h"

namespace suite {

UINT_PTR StartThreadTimer(UINT ms, TIMERPROC proc) { return SetTimer(nullptr, 0, ms, proc); }

void KillThreadTimer(UINT_PTR& timer) {
  if (timer != 0) KillTimer(nullptr, timer);
  timer = 0;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void WaitPumping(uint32_t ms) {
  const uint32_t start = GetTickCount();
  while (TicksElapsed(start, GetTickCount()) < ms) {
    PumpMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  PumpMessages();
}

}  // namespace suite
