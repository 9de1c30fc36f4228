// The player's thread timers: timers without a window, whose WM_TIMER
// reaches the player's window procedure (the slide show, transitions, the
// volume follower, the command-line queue, the sound tick).
#pragma once

#include <windows.h>

namespace player {

// Starts a thread timer of `ms` milliseconds; its id, or 0 when none could
// be made.
UINT_PTR StartThreadTimer(UINT ms);
// Stops `timer` if it runs and sets it to 0.
void KillThreadTimer(UINT_PTR& timer);

}  // namespace player
