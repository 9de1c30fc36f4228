// The disc burner's entry: the single-instance check, the text table, the
// skin engine, the main window with its controls, the skinning library's
// frame and the message loop.
#include <windows.h>

#include <algorithm>
#include <string>

#include "burner_state.h"
#include "core/path_names.h"
#include "core/burn_list.h"
#include "core/command_line.h"
#include "core/path_names.h"
#include "core/suite_command_codes.h"
#include "core/text_rules.h"
#include "suite_command.h"
#include "themeapi.h"
#include "themecore.h"
#include "thread_timers.h"

namespace burner {

BurnerState& Burner() {
  static BurnerState state;
  return state;
}

const std::string& T(size_t n) { return Burner().texts.entry(n); }

namespace {

constexpr char kClassAndMutex[] = "ORBBURN";
// How long a second start looks for the first instance's window: the first
// may hold the mutex before its window exists or after it is gone.
constexpr DWORD kSecondStartWaitMs = 2000;

// A second start: the running burner comes forward; the command line is
// not passed on.
int HandToRunningBurner() {
  const DWORD start = GetTickCount();
  HWND running = nullptr;
  while ((running = FindWindowA(kClassAndMutex, nullptr)) == nullptr &&
         suite::TicksElapsed(start, GetTickCount()) < kSecondStartWaitMs) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  }
  if (running != nullptr) suite::SendSuiteCommand(running, suite::CMD_COME_TO_FRONT, "");
  return 0;
}

}  // namespace

}  // namespace burner

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace burner;
  HANDLE mutex = CreateMutexA(nullptr, FALSE, kClassAndMutex);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    int code = HandToRunningBurner();
    if (mutex != nullptr) CloseHandle(mutex);
    return code;
  }

  BurnerState& b = Burner();
  b.instance = instance;
  suite::ProgramPaths paths = suite::FindProgramPaths();
  b.programFolder = paths.folder;
  b.baseName = suite::WithoutExtension(paths.exeName);
  // A missing table leaves every text empty; the burner still runs.
  suite::ReadTextTable(b.programFolder + b.baseName + ".SYS", &b.texts);
  SKINITENGINE("luminar.sks");
  SKAPPTITLE(T(T_TITLE).c_str());

  // The command line: only a ".upl" list is taken.
  const char* rawCommandLine = GetCommandLineA();
  std::string arguments;
  {
    // Skip the program path, quoted or not.
    std::string line = rawCommandLine != nullptr ? rawCommandLine : "";
    size_t pos = 0;
    if (!line.empty() && line[0] == '"') {
      size_t close = line.find('"', 1);
      pos = close == std::string::npos ? line.size() : close + 1;
    } else {
      pos = line.find(' ');
      if (pos == std::string::npos) pos = line.size();
    }
    arguments = line.substr(pos);
  }
  const std::string listFile = ListFileArgument(arguments);

  if (!CreateMainWindow(listFile)) {
    if (mutex != nullptr) CloseHandle(mutex);
    return 1;
  }
  const int32_t effect = std::clamp(suite::LeadingNumber(T(T_EFFECT)), -1, 5);
  skSkinWindow(b.window, T(T_CAPTION_TIPS).c_str(), effect);
  ShowWindow(b.window, SW_SHOW);
  UpdateWindow(b.window);
  DragAcceptFiles(b.window, TRUE);
  StartPollTimer();

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (PreFilterMessage(message)) continue;
    if (IsDialogMessageA(b.window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (mutex != nullptr) CloseHandle(mutex);
  return static_cast<int>(message.wParam);
}
