// The small user-interface pieces every long or interactive operation of the
// suite's programs uses: the skinned warning and information boxes, the
// message pumps that let the user stop a long operation with Escape, and the
// borderless "please wait" window.
//
// The library keeps nothing of any one program: each program fills one
// BoxContext (its main window, texts, icon module, the hook that stops its
// background work) and hands it over once with SetBoxContext.  Main thread
// only: the boxes are modal and the pumps run the caller's message loop on
// its behalf, so the caller's window procedures are re-entered while they
// run.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "core/message_box_style.h"
#include "core/pump_rules.h"
#include "core/wait_window_layout.h"

namespace suite::boxes {

struct BoxContext {
  // Owner of every box, its caption (the window's own text), and the window
  // whose close requests stop a long operation.  May be null.
  HWND mainWindow = nullptr;
  // Module holding the icon resource "PROGRAM" of the information boxes
  // (null: the program's EXE).
  HINSTANCE iconModule = nullptr;
  // The media browser's file list (null in the other programs).
  HWND fileList = nullptr;
  // The program's texts: the yes/no button list ("Yes|No", 1 = yes), and the
  // caption and question of Escape's "stop the operation?" box.
  std::string yesNoButtons = "Yes|No";
  std::string cancelCaption;
  std::string cancelQuestion;
  // Called before each box is shown (the media browser stops its thumbnail
  // work there).  May be empty.
  std::function<void()> beforeBox;

  // Filled by the library.  The one style record of the program, reused for
  // every box; the last message a pump took from the queue.
  MessageBoxStyle style{};
  MSG lastMessage{};
};

// The style record's 4-byte icon field.  Icons are USER handles, which
// Windows keeps 32-bit significant on 64-bit systems too, so that 32- and
// 64-bit programs can share them; the skin engine widens the field back with
// sign extension (LongToHandle).
inline uint32_t BoxIconField(HICON icon) { return static_cast<uint32_t>(HandleToLong(icon)); }

// Makes `context` the program's context; the program keeps it alive for as
// long as it calls the library (usually a global next to its main window).
// Null goes back to a built-in empty context (no owner, no texts).
void SetBoxContext(BoxContext* context);
// The context in force (never null).
BoxContext& CurrentBoxContext();

// The warning box: exclamation icon, one OK button, the main window's text
// as caption.  The suite's only error display.
void ShowWarningBox(const std::string& text);
// The information or question box: the program's icon and the buttons of
// `buttons` ("|"-separated; "" is one OK).  Returns the 1-based button
// pressed (or scripted by ORB_ANSWERS).
int32_t ShowInfoBox(const std::string& text, const std::string& buttons);
// The About box: the program's icon, the About look of the style record,
// one OK button, the main window's text as caption.
void ShowAboutBox(const std::string& text);
// The About text: the engine's author line (SKAUTHOR), then `programText`
// with every "#" replaced by the current year.
std::string AboutText(const std::string& programText);

// Empties the message queue for a long operation that runs on the main
// thread.  With `showWaitCursor` the wait cursor is kept up.  Returns
// kPumpGoOn (0), kPumpCancel (-1: Escape answered "yes"; a close request
// - WM_CLOSE or SC_CLOSE - for the main window or one of its children, or
// for any window when the context has no main window, which is posted again
// for the main loop; or WM_QUIT, also posted again) or kPumpRightClick (-2).
// Other system commands (move, size, minimise...) are dispatched as usual.
// Stops at the first message that gives a non-zero result.
int32_t PumpAndCheckCancel(int32_t showWaitCursor);
// PumpAndCheckCancel as the long operations report it: 0 to go on, or
// kCancelledByUser (1067) for any other result.
int32_t PollForCancel(int32_t showWaitCursor);
// The media search's pump: dispatches every message (Escape included) with
// the wait cursor up; when `question` is not empty, Escape first asks it.
// Returns 0, or -1 when the answer was yes; runs until the queue is empty.
int32_t PumpWithCancel(const std::string& question);

// Shows the wait window (class "SKSTATIC") with the lines of `text` ("|"
// separates lines), centred on `owner` (on the screen when null) and kept
// on the screen.  The caller destroys it with DestroyWindow when its work
// is done.  Null when the class cannot be registered or the window made.
HWND ShowWaitWindow(HWND owner, const std::string& text);
// The wait window's procedure: skin background, text centred in the caption
// font and skin colour 113.
LRESULT CALLBACK WaitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Draws `text` into `area` as the wait window does: caption font, skin
// colour 113, no background; `format` takes DrawText's flags.
void DrawWaitText(HDC dc, const char* text, RECT* area, UINT format);

// The wait window's class.
inline constexpr char kWaitWindowClass[] = "SKSTATIC";

}  // namespace suite::boxes
