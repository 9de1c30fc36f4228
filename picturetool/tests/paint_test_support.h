// What the picture tool's Wine tests share: a program folder holding
// orbpaint.exe with its DLLs, text table and skin, the program started there
// with a call trace and scripted box answers, its windows found, its trace
// read, and the file picker it opens found.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "../../picker/tests/find_chooser.h"
#include "harness.h"
#include "test_files.h"

namespace painttest {

constexpr DWORD kStartMs = 20000;

class PaintFolder {
 public:
  explicit PaintFolder(const std::string& label);
  std::string path(const std::string& file) const { return scratch_.Child(file); }
  std::string command(const std::string& arguments = "") const {
    return "\"" + path("orbpaint.exe") + "\"" + (arguments.empty() ? "" : " " + arguments);
  }
  std::string tracePath() const { return path("trace.txt"); }

 private:
  harness::ScratchFolder scratch_;
};

// A picture of two halves, red on the left and blue on the right.
bool WriteTwoColourJpeg(const std::string& path, int width, int height);
// The program's trace lines of `call` ("orbpaint Name"), without their time.
std::vector<std::string> TraceCalls(const PaintFolder& folder, const std::string& call);
// Waits for the trace lines; when they do not come, the program's own
// lines go to the test's output.
bool WaitForTraceCalls(const PaintFolder& folder, const std::string& call, size_t count);
HWND StartPaint(const PaintFolder& folder, harness::Process* paint, const std::string& arguments,
                const std::string& answers);
long WaitForExit(harness::Process& paint);
// The ORBOBJECT windows of the program (the canvas's own record included).
std::vector<HWND> ObjectWindows(HWND main);
HWND CanvasOf(HWND main);
// The descendant of `main` with the control id and the text.
HWND FindChild(HWND main, int id, const char* text);
void PostClick(HWND canvas, int x, int y);
// The box of `className` the program shows ("SKFONTBOX", "SKDRAWBOX"): a
// child of the skin's popup frame.  Null when none comes in time.
HWND WaitForBox(const char* className, DWORD timeoutMs = kStartMs);
// Confirms the box as it stands (the text box with `text` put in its text
// field first) by its OK command; true once the box has gone.
bool ConfirmBox(const char* className, const std::string& text = "");
// The descendant of `parent` with the control id.
HWND ChildById(HWND parent, int id);
void CloseBySuiteCommand(HWND window, harness::Process& paint);

// Real mouse input (SendInput) at screen positions, each step followed by
// a short pause for the messages to arrive.
// Moves the mouse to `at`; a button held stays held (a drag).
void MoveMouseTo(POINT at);
// Presses or releases a button where the mouse is (MOUSEEVENTF_LEFTDOWN ...).
void SendMouseButton(DWORD flag);
// A click of the left (or the right) button where the mouse is.
void ClickMouse(bool left = true);
// Moves to `at` and clicks there.
void ClickAt(POINT at, bool left = true);
void DoubleClickAt(POINT at);
// A point of a window's client area on the screen, and a window's centre.
POINT OnScreen(HWND window, int x, int y);
POINT CentreOf(HWND window);
using picker_test::FindChooserDialog;

}  // namespace painttest
