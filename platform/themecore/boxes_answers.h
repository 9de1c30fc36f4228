// What a message or input box of themecore calls first: when ORB_ANSWERS is
// set, the box shows no window and takes the next scripted answer instead
// (format and rules in core/scripted_answers.h).
//
// Each process reads the answers from the start of the variable: a program
// started by another inherits the variable, so a test that drives several
// programs gives each its own environment.  Setting the variable to another
// value (SetEnvironmentVariable) starts over with the new answers; a box that
// finds it removed shows a real window, and the next value set, even the same
// one, starts over.
#pragma once

#include <cstdint>

#include "scripted_answers.h"

namespace themecore {

enum class BoxKind {
  kMessageBox,  // answered with a 1-based button number
  kInputBox,    // answered with a text
};

// True when ORB_ANSWERS is set (even to ""): the box must not show a window
// and *answer says what it takes (answer->answered is false when the box
// takes its default: button 1, or Cancel for an input box).  False when the
// variable is unset: the box shows a real window and *answer is untouched.
// `buttonCount` is the number of buttons of a message box.  Safe to call
// from any thread; the caller's last-error value is kept.
bool NextScriptedAnswer(BoxKind kind, int32_t buttonCount, BoxAnswer* answer);

}  // namespace themecore
