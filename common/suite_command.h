// Sending and receiving suite commands between the suite's programs.
//
// One command is one WM_COPYDATA sent synchronously to the receiver's main
// window, found by its window class (module_start.h).  The receiver reads
// the text during the call, copies it, and returns 1 (SUITE_COMMAND_HANDLED)
// for every code, also one it ignores.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/suite_command_codes.h"

namespace suite {

// Sends one command and returns what SendMessageA returned.  The window is
// not checked: callers find it first and skip the send when it is null.
// Blocks until the receiver's window procedure returns.
LRESULT SendSuiteCommand(HWND window, uint32_t code, const std::string& text);

// Reads the command of a WM_COPYDATA (the message's wParam and lParam) into
// `text` and returns its code; 0 with an empty text when lParam is null.
// The lengths are checked against what was actually copied, so a foreign
// sender cannot make the receiver read past the buffer or allocate more.
uint32_t ReceiveSuiteCommand(std::string& text, WPARAM wParam, LPARAM lParam);

}  // namespace suite
