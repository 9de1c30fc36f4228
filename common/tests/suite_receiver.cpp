// A stand-in suite module for the cross-process tests: a main window of the
// class named on its command line that answers WM_COPYDATA the way every
// program of the suite does (ReceiveSuiteCommand, then 1) and logs each
// command as one line "code length hex-text" to a file.
//
//   suite_receiver CLASS LOGFILE [SHOW_AFTER_MS [LIFETIME_MS]]
//
// Started without arguments (as a program is when the suite starts it by
// name), it takes CLASS and LOGFILE from the environment variables
// ORB_RECEIVER_CLASS and ORB_RECEIVER_LOG.
//
// The window appears SHOW_AFTER_MS after start (default 0); the program
// ends on CMD_CLOSE or after LIFETIME_MS (default 20000).  On start it logs
// "start PID" so a test can count how often it was started.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "harness.h"
#include "suite_command.h"

namespace {

std::string g_logPath;

void AppendLog(const std::string& line) {
  FILE* log = std::fopen(g_logPath.c_str(), "ab");
  if (log == nullptr) return;
  std::fwrite(line.data(), 1, line.size(), log);
  std::fputc('\n', log);
  std::fclose(log);
}

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COPYDATA: {
      std::string text;
      uint32_t code = suite::ReceiveSuiteCommand(text, wParam, lParam);
      AppendLog(std::to_string(code) + " " + std::to_string(text.size()) + " " + harness::ToHex(text));
      if (code == suite::CMD_CLOSE) PostMessageA(window, WM_CLOSE, 0, 0);
      return suite::SUITE_COMMAND_HANDLED;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

std::string EnvironmentText(const char* name) {
  char value[MAX_PATH] = {};
  DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
  return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
}

int main(int argc, char** argv) {
  std::string classText = argc >= 3 ? argv[1] : EnvironmentText("ORB_RECEIVER_CLASS");
  g_logPath = argc >= 3 ? argv[2] : EnvironmentText("ORB_RECEIVER_LOG");
  if (classText.empty() || g_logPath.empty()) {
    std::fprintf(stderr, "usage: suite_receiver CLASS LOGFILE [SHOW_AFTER_MS [LIFETIME_MS]]\n");
    return 2;
  }
  const char* className = classText.c_str();
  DWORD showAfterMs = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 0;
  DWORD lifetimeMs = argc > 4 ? std::strtoul(argv[4], nullptr, 10) : 20000;
  AppendLog("start " + std::to_string(GetCurrentProcessId()));

  Sleep(showAfterMs);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = ReceiverProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = className;
  if (!RegisterClassA(&windowClass)) return 3;
  HWND window = CreateWindowA(className, "suite receiver", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                              nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window == nullptr) return 4;
  SetTimer(window, 1, lifetimeMs, nullptr);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == window) {
      DestroyWindow(window);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
