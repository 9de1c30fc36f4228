// The shared test support of the picker's Wine tests; see
// picker_test_support.h.
#include "picker_test_support.h"

namespace picker_test {

namespace {

StepDriver* g_driver = nullptr;

BOOL CALLBACK FindFrame(HWND window, LPARAM found) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof(name));
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() || lstrcmpA(name, "SKPOPUP") != 0) return TRUE;
  HWND dialog = FindWindowExA(window, nullptr, "ORBDLG", nullptr);
  if (dialog == nullptr || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = dialog;
  return FALSE;
}

}  // namespace

StepDriver::StepDriver(std::vector<Step> steps, DWORD limitMs)
    : steps_(std::move(steps)), started_(GetTickCount()), limitMs_(limitMs) {
  g_driver = this;
  timer_ = SetTimer(nullptr, 0, 40, Tick);
}

StepDriver::~StepDriver() {
  if (timer_ != 0) KillTimer(nullptr, timer_);
  g_driver = nullptr;
  // A WM_QUIT the watchdog posted that no loop took is not left behind.
  MSG message;
  while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

void CALLBACK StepDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_driver != nullptr) g_driver->Run();
}

void StepDriver::Run() {
  if (!timedOut_ && GetTickCount() - started_ > limitMs_) {
    timedOut_ = true;
    PostQuitMessage(99);
    return;
  }
  if (allDone()) return;
  // The step may pump messages itself (a box), so it is not run again
  // from inside itself.
  static bool running = false;
  if (running) return;
  running = true;
  if (steps_[next_]()) ++next_;
  running = false;
}

HWND FindDialog() {
  HWND found = nullptr;
  EnumWindows(FindFrame, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND FrameOf(HWND dialog) { return dialog != nullptr ? GetParent(dialog) : nullptr; }

std::vector<std::string> ListItems(HWND list) {
  std::vector<std::string> items;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const LRESULT copied = SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    items.push_back(text);
  }
  return items;
}

std::string WindowTextOf(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

void SelectItem(HWND dialog, int index) {
  HWND list = GetDlgItem(dialog, 2);
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(2, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void ClickButton(HWND dialog, int k) { SendMessageA(GetDlgItem(dialog, 4 + k), BM_CLICK, 0, 0); }

void PressKey(UINT key) {
  HWND focus = GetFocus();
  PostMessageA(focus, WM_KEYDOWN, key, 1);
  PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

Fixture::Fixture() : scratch_("picker fixture") {
  for (const char* name : {"a.MP3", "b.wav", "c.txt", "noext", "readonly.mp3", "hidden.mp3", "system.mp3", ".x.mp3"}) {
    Write(name);
  }
  CreateDirectoryA(path("sub").c_str(), nullptr);
  Write("sub\\d.mp3");
  SetFileAttributesA(path("readonly.mp3").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  const bool hidden = SetFileAttributesA(path("hidden.mp3").c_str(), FILE_ATTRIBUTE_HIDDEN) != FALSE;
  const bool system = SetFileAttributesA(path("system.mp3").c_str(), FILE_ATTRIBUTE_SYSTEM) != FALSE;
  attributesHeld_ = hidden && system &&
                    (GetFileAttributesA(path("hidden.mp3").c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0 &&
                    (GetFileAttributesA(path("system.mp3").c_str()) & FILE_ATTRIBUTE_SYSTEM) != 0;
}

void Fixture::Write(const std::string& name, const std::string& bytes) const {
  harness::WriteFileBytes(path(name), bytes);
}

}  // namespace picker_test
