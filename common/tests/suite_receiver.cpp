// A stand-in suite module for the cross-process tests: a main window of the
// class named on its command line that answers WM_COPYDATA the way every
// program of the suite does (ReceiveSuiteCommand, then 1) and logs each
// command as one line "code length hex-text" to a file.
//
//   suite_receiver CLASS LOGFILE [SHOW_AFTER_MS [LIFETIME_MS]]
//
// Started without arguments (as a program is when the suite starts it by
// name), it takes CLASS and LOGFILE from the environment variables
// ORB_RECEIVER_CLASS and ORB_RECEIVER_LOG.  A CLASS of "*" stands for the
// program's own file name without ".exe" in upper case (a copy named
// orbview.exe is ORBVIEW), and a "*" in LOGFILE for that class, so one
// environment serves several stand-ins.
//
// The window appears SHOW_AFTER_MS after start (default 0); the program
// ends on CMD_CLOSE or after LIFETIME_MS (default 20000).  On start it logs
// "start PID ARGUMENTS" (the command line after the program, in hex) so a
// test can count how often it was started and with what.
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

// The program's file name without its extension, in upper case.
std::string OwnClassName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof(path));
  std::string name = path;
  name = name.substr(name.find_last_of('\\') + 1);
  name = name.substr(0, name.find_last_of('.'));
  CharUpperA(name.data());
  return name;
}

// The command line after the program's name.
std::string ArgumentsText() {
  std::string line = GetCommandLineA();
  size_t end = line.empty() ? 0 : line[0] == '"' ? line.find('"', 1) : line.find(' ');
  if (end == std::string::npos) return std::string();
  size_t start = line.find_first_not_of(' ', end + 1);
  return start == std::string::npos ? std::string() : line.substr(start);
}

int main(int argc, char** argv) {
  std::string classText = argc >= 3 ? argv[1] : EnvironmentText("ORB_RECEIVER_CLASS");
  g_logPath = argc >= 3 ? argv[2] : EnvironmentText("ORB_RECEIVER_LOG");
  if (classText == "*") classText = OwnClassName();
  if (size_t star = g_logPath.find('*'); star != std::string::npos) g_logPath.replace(star, 1, classText);
  if (classText.empty() || g_logPath.empty()) {
    std::fprintf(stderr, "usage: suite_receiver CLASS LOGFILE [SHOW_AFTER_MS [LIFETIME_MS]]\n");
    return 2;
  }
  const char* className = classText.c_str();
  DWORD showAfterMs = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 0;
  DWORD lifetimeMs = argc > 4 ? std::strtoul(argv[4], nullptr, 10) : 20000;
  AppendLog("start " + std::to_string(GetCurrentProcessId()) + " " + harness::ToHex(ArgumentsText()));

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
