#include "paint_test_support.h"

#include <gtest/gtest.h>

#include "imaging.h"
#include "suite_command.h"
#include "core/suite_command_codes.h"

namespace painttest {

PaintFolder::PaintFolder(const std::string& label) : scratch_(label) {
  for (const char* file : {"orbpaint.exe", "themecore.dll", "imaging.dll", "pixconv.dll", "chooser.dll", "LUMINAR.SKL",
                           "orbpaint.SYS"}) {
    CopyFileA((harness::ProgramFolder() + file).c_str(), path(file).c_str(), FALSE);
  }
}

// A picture of two halves, red on the left and blue on the right.
bool WriteTwoColourJpeg(const std::string& path, int width, int height) {
  BITMAPHANDLE bitmap = {};
  if (L_CreateBitmap(&bitmap, TYPE_CONV, width, height, 24, ORDER_BGR, nullptr, 0, nullptr, 0) != IMG_SUCCESS) {
    return false;
  }
  for (int y = 0; y < height; ++y) {
    L_UCHAR* row = bitmap.Data + static_cast<size_t>(y) * bitmap.BytesPerLine;
    for (int x = 0; x < width; ++x) {
      const bool left = x < width / 2;
      row[3 * x] = left ? 0 : 255;       // blue
      row[3 * x + 1] = 0;                // green
      row[3 * x + 2] = left ? 255 : 0;   // red
    }
  }
  const bool saved = L_SaveBitmap(path.c_str(), &bitmap, FILE_JPEG, 24, 2, 0) == IMG_SUCCESS;
  L_FreeBitmap(&bitmap);
  return saved;
}

std::vector<std::string> TraceCalls(const PaintFolder& folder, const std::string& call) {
  std::string text;
  harness::ReadFileBytes(folder.tracePath(), &text);
  std::vector<std::string> found;
  for (const std::string& line : harness::SplitLines(text)) {
    if (line.find("] " + call + "(") != std::string::npos) found.push_back(line.substr(line.find("] ") + 2));
  }
  return found;
}

// Waits for the trace lines; when they do not come, the program's own
// lines go to the test's output.
bool WaitForTraceCalls(const PaintFolder& folder, const std::string& call, size_t count) {
  if (harness::PumpUntil([&] { return TraceCalls(folder, call).size() >= count; }, kStartMs)) return true;
  std::string text;
  harness::ReadFileBytes(folder.tracePath(), &text);
  for (const std::string& line : harness::SplitLines(text)) {
    if (line.find("] orbpaint ") != std::string::npos) ADD_FAILURE() << line;
  }
  return false;
}

HWND StartPaint(const PaintFolder& folder, harness::Process* paint, const std::string& arguments,
                const std::string& answers) {
  harness::ScopedEnvironment trace("ORB_TRACE", folder.tracePath().c_str());
  harness::ScopedEnvironment scripted("ORB_ANSWERS", answers.c_str());
  if (!paint->start(folder.command(arguments))) return nullptr;
  HWND window = harness::WaitForWindow("ORBPAINT", kStartMs);
  if (window == nullptr) return nullptr;
  return harness::PumpUntil([&] { return IsWindowVisible(window) != FALSE; }, kStartMs) ? window : nullptr;
}

long WaitForExit(harness::Process& paint) {
  long code = -1;
  harness::PumpUntil([&] {
    code = paint.waitExit(0);
    return code != -1;
  }, kStartMs);
  return code;
}

BOOL CALLBACK CollectObjects(HWND window, LPARAM list) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof(name));
  if (lstrcmpA(name, "ORBOBJECT") == 0) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// The ORBOBJECT windows of the program (the canvas's own record included).
std::vector<HWND> ObjectWindows(HWND main) {
  std::vector<HWND> windows;
  EnumChildWindows(main, CollectObjects, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

HWND CanvasOf(HWND main) {
  std::vector<HWND> objects = ObjectWindows(main);
  return objects.empty() ? nullptr : GetParent(objects.front());
}

struct ChildSearch {
  int id;
  const char* text;
  HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM search) {
  auto* wanted = reinterpret_cast<ChildSearch*>(search);
  if (GetDlgCtrlID(window) != wanted->id || harness::WindowText(window) != wanted->text) return TRUE;
  wanted->found = window;
  return FALSE;
}

// The descendant of `main` with the control id and the text.
HWND FindChild(HWND main, int id, const char* text) {
  ChildSearch search = {id, text, nullptr};
  EnumChildWindows(main, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void PostClick(HWND canvas, int x, int y) {
  PostMessageA(canvas, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  PostMessageA(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageA(canvas, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

struct BoxSearch {
  const char* className;
  HWND found;
};

BOOL CALLBACK FindBoxIn(HWND top, LPARAM search) {
  auto* wanted = reinterpret_cast<BoxSearch*>(search);
  HWND box = FindWindowExA(top, nullptr, wanted->className, nullptr);
  if (box == nullptr || !IsWindowVisible(box)) return TRUE;
  wanted->found = box;
  return FALSE;
}

HWND WaitForBox(const char* className, DWORD timeoutMs) {
  BoxSearch search = {className, nullptr};
  harness::PumpUntil([&] {
    search.found = nullptr;
    EnumWindows(FindBoxIn, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  }, timeoutMs);
  return search.found;
}

struct IdSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchId(HWND window, LPARAM search) {
  auto* wanted = reinterpret_cast<IdSearch*>(search);
  if (GetDlgCtrlID(window) != wanted->id) return TRUE;
  wanted->found = window;
  return FALSE;
}

HWND ChildById(HWND parent, int id) {
  IdSearch search = {id, nullptr};
  EnumChildWindows(parent, MatchId, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool ConfirmBox(const char* className, const std::string& text) {
  HWND box = WaitForBox(className);
  if (box == nullptr) return false;
  if (!text.empty()) {
    HWND field = ChildById(box, 109);
    if (field == nullptr) return false;
    SendMessageTimeoutA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000, nullptr);
  }
  PostMessageA(box, WM_COMMAND, 2, 0);
  return harness::PumpUntil([&] { return IsWindow(box) == FALSE; }, kStartMs);
}

void CloseBySuiteCommand(HWND window, harness::Process& paint) {
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(paint), 0);
}

void MoveMouseTo(POINT at) {
  SetCursorPos(at.x, at.y);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(input));
  harness::PumpMessagesFor(50);
}

void SendMouseButton(DWORD flag) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flag;
  SendInput(1, &input, sizeof(input));
  harness::PumpMessagesFor(40);
}

void ClickMouse(bool left) {
  SendMouseButton(left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN);
  SendMouseButton(left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
}

void ClickAt(POINT at, bool left) {
  MoveMouseTo(at);
  ClickMouse(left);
}

void DoubleClickAt(POINT at) {
  MoveMouseTo(at);
  INPUT inputs[4] = {};
  const DWORD flags[4] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 4; ++i) {
    inputs[i].type = INPUT_MOUSE;
    inputs[i].mi.dwFlags = flags[i];
  }
  SendInput(4, inputs, sizeof(INPUT));
  harness::PumpMessagesFor(100);
}

POINT OnScreen(HWND window, int x, int y) {
  POINT at = {x, y};
  ClientToScreen(window, &at);
  return at;
}

POINT CentreOf(HWND window) {
  RECT rect = harness::WindowRectOf(window);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

}  // namespace painttest
