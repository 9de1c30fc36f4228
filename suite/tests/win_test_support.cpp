// Helpers of the Wine tests of the boxes.
#include "win_test_support.h"

#include <cstdio>
#include <cstring>

namespace boxes_test {

namespace {

std::string FreshTracePath(const char* label) {
  char folder[MAX_PATH] = {};
  GetTempPathA(sizeof(folder), folder);
  char name[64];
  std::snprintf(name, sizeof(name), "orbboxes-%s-%lu.txt", label, GetCurrentProcessId());
  std::string path = std::string(folder) + name;
  DeleteFileA(path.c_str());
  return path;
}

}  // namespace

ScopedTrace::ScopedTrace(const char* label)
    : path_(FreshTracePath(label)), variable_("ORB_TRACE", path_.c_str()) {}

ScopedTrace::~ScopedTrace() { DeleteFileA(path_.c_str()); }

std::vector<std::string> ScopedTrace::CallsOf(const char* function) const {
  std::vector<std::string> calls;
  FILE* file = std::fopen(path_.c_str(), "rb");
  if (file == nullptr) return calls;
  const std::string needle = std::string(" ") + function + "(";
  char line[8192];
  while (std::fgets(line, sizeof(line), file) != nullptr) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    if (text.find(needle) != std::string::npos) calls.push_back(text);
  }
  std::fclose(file);
  return calls;
}

ScopedAnswers::ScopedAnswers(const std::string& answers)
    : variable_("ORB_ANSWERS", Unique(answers).c_str()) {}

std::string ScopedAnswers::Unique(const std::string& answers) {
  static int scripts = 0;
  return answers + ";unused-" + std::to_string(++scripts);
}

namespace {
const char kRecordingClass[] = "ORBBOXESTESTWINDOW";
}

RecordingWindow::RecordingWindow(const char* title, int x, int y, int width, int height) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = Proc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kRecordingClass;
  RegisterClassExA(&windowClass);  // fails harmlessly from the second window on
  hwnd_ = CreateWindowExA(0, kRecordingClass, title, WS_POPUP, x, y, width, height, nullptr,
                          nullptr, GetModuleHandleA(nullptr), this);
}

RecordingWindow::~RecordingWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool RecordingWindow::Received(UINT message, WPARAM wParam) const {
  for (const RecordedMessage& recorded : received_) {
    if (recorded.message == message && recorded.wParam == wParam) return true;
  }
  return false;
}

LRESULT CALLBACK RecordingWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  const bool recorded = message == WM_CLOSE || message == WM_SYSCOMMAND ||
                        message == WM_KEYDOWN || message == WM_CHAR ||
                        (message >= WM_APP && message < WM_APP + 100);
  if (recorded) {
    if (self != nullptr) self->received_.push_back({message, wParam});
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

std::vector<MSG> DrainQueue() {
  std::vector<MSG> taken;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) taken.push_back(message);
  return taken;
}

namespace {

std::string countedClass;
int created = 0;

LRESULT CALLBACK CountCreations(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    char name[64] = {};
    GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof(name));
    if (countedClass == name) ++created;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

WindowCreationCounter::WindowCreationCounter(const char* className) {
  countedClass = className;
  created = 0;
  hook_ = SetWindowsHookExA(WH_CBT, CountCreations, nullptr, GetCurrentThreadId());
}

WindowCreationCounter::~WindowCreationCounter() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
}

int WindowCreationCounter::count() const { return created; }

}  // namespace boxes_test
