// What the cancellable message pumps do with each message they take from the
// queue while a long operation runs on the main thread.
//
// A close request must not be lost, nor acted on in the middle of the
// operation: the pump puts it back in the queue and the operation stops, so
// the main loop handles it once the operation has ended.  Only a real close
// request counts: WM_CLOSE, and WM_SYSCOMMAND with SC_CLOSE.  The skinned
// caption posts WM_SYSCOMMAND for its other buttons too (minimise,
// maximise, restore) and the system menu for moving and sizing; those are
// dispatched and the operation goes on.
//
// Portable: no windows.h; the message numbers are Windows'.
#pragma once

#include <cstdint>

namespace suite::boxes {

namespace message {
constexpr uint32_t kClose = 0x0010;        // WM_CLOSE
constexpr uint32_t kQuit = 0x0012;         // WM_QUIT
constexpr uint32_t kKeyDown = 0x0100;      // WM_KEYDOWN
constexpr uint32_t kSysCommand = 0x0112;   // WM_SYSCOMMAND
constexpr uint32_t kRightButtonDown = 0x0204;  // WM_RBUTTONDOWN
}  // namespace message

constexpr uint32_t kScClose = 0xF060;      // SC_CLOSE
constexpr uint32_t kEscapeKey = 0x1B;      // VK_ESCAPE
// Systems older than this (SKOSVERSION: major * 100 + minor) get a right
// click on the file list back from the pump, which then ends (the list's own
// context menu of those systems needs the main loop).
constexpr int32_t kOldSystemVersion = 400;

// The pumps' results.
constexpr int32_t kPumpGoOn = 0;
constexpr int32_t kPumpCancel = -1;       // the user stopped, or a close request came
constexpr int32_t kPumpRightClick = -2;   // right click on the file list, old system
// What a long operation of the media browser reports when the pump stopped
// it: the code its callers treat as "cancelled by the user" rather than an
// error of the file or the library.
constexpr int32_t kCancelledByUser = 1067;

enum class PumpAction {
  kDispatch,          // translate and dispatch, go on
  kRepostAndCancel,   // post again unchanged, result kPumpCancel
  kRequeueQuit,       // WM_QUIT: post the quit again, result kPumpCancel
  kRepostRightClick,  // post again unchanged, result kPumpRightClick
  kAskCancel,         // Escape: ask whether to stop; not dispatched
};

struct PumpedMessage {
  uint32_t message = 0;
  uint32_t wParam = 0;
  bool forWatchedWindow = false;  // addressed to the window the operation runs for
  bool forFileList = false;       // addressed to the media browser's file list
};

// True for a close request: WM_CLOSE, or WM_SYSCOMMAND whose command (the
// low four bits are the system's own) is SC_CLOSE.
bool IsCloseRequest(uint32_t message, uint32_t wParam);

// The action of PumpAndCheckCancel for one message.  osVersion as
// SKOSVERSION gives it.
PumpAction ClassifyPumpedMessage(const PumpedMessage& pumped, int32_t osVersion);

}  // namespace suite::boxes
