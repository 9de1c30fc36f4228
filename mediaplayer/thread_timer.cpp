// Thread timers of the player (thread_timer.h), over the suite's shared
// thread timers.
#include "thread_timer.h"

#include "player_state.h"
#include "thread_timers.h"

namespace player {
namespace {

// A timer procedure has its own signature: the timer's id and the tick
// count take the places of wParam and lParam.
void CALLBACK PlayerTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time) {
  PlayerWindowProc(window, message, static_cast<WPARAM>(id), static_cast<LPARAM>(time));
}

}  // namespace

UINT_PTR StartThreadTimer(UINT ms) { return suite::StartThreadTimer(ms, PlayerTimerProc); }

void KillThreadTimer(UINT_PTR& timer) { suite::KillThreadTimer(timer); }

}  // namespace player
