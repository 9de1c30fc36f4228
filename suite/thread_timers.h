// Timers without a window and the plain message pump, for programs that
// run periodic work on their main thread and wait for it by pumping.
#pragma once

#include <windows.h>

#include <cstdint>

namespace suite {

// Starts a thread timer (SetTimer without a window) of `ms` milliseconds
// whose ticks call `proc`; its id, or 0 when none could be made.
UINT_PTR StartThreadTimer(UINT ms, TIMERPROC proc);
// Stops `timer` if it runs and sets it to 0.  Only the thread that started
// a thread timer can stop it.
void KillThreadTimer(UINT_PTR& timer);

// Takes every waiting message (PeekMessageA with PM_REMOVE), translates and
// dispatches it, until the queue is empty.  A WM_QUIT is put back for the
// main loop and ends the round.
void PumpMessages();
// Runs PumpMessages until `ms` milliseconds have passed (tick counts
// compared unsigned, so a wrap of the counter does not end it early),
// sleeping briefly between rounds.
void WaitPumping(uint32_t ms);

}  // namespace suite
