// Find-or-start of suite modules and the help hand-off.
#include "module_start.h"

#include <shellapi.h>

#include "core/command_line.h"
#include "core/module_lists.h"
#include "core/path_names.h"
#include "core/suite_command_codes.h"
#include "suite_command.h"
#include "themecore.h"

namespace suite {

HWND WaitForModuleWindow(const char* windowClass, DWORD timeoutMs) {
  // Elapsed ticks, not a deadline, so the wrap of GetTickCount cannot end
  // the wait early.  A short sleep rather than Sleep(0): the module being
  // started needs the processor more than this loop does.
  const DWORD startTick = GetTickCount();
  for (;;) {
    HWND window = FindWindowA(windowClass, nullptr);
    if (window != nullptr) return window;
    if (TicksElapsed(startTick, GetTickCount()) >= timeoutMs) return nullptr;
    Sleep(10);
  }
}

HWND FindOrStartModule(const char* windowClass, const std::string& commandLine, bool* started) {
  if (started != nullptr) *started = false;
  HWND window = FindWindowA(windowClass, nullptr);
  if (window != nullptr) return window;

  // A program that cannot be started simply never shows its window.
  SKSHELL(commandLine.c_str(), SW_SHOW, 0);
  if (started != nullptr) *started = true;
  return WaitForModuleWindow(windowClass, MODULE_START_WAIT_MS);
}

HelpResult ShowFileWithModule(const std::string& file, const std::string& moduleRef,
                              const std::string& argument, const std::string& programFolder) {
  ModuleRef module = ParseModuleRef(moduleRef);
  std::string modulePath = module.program.empty() ? std::string()
                                                  : themecore::FindFile(module.program.c_str());
  if (!modulePath.empty()) {
    HWND window = module.windowClass.empty() ? nullptr
                                             : FindWindowA(module.windowClass.c_str(), nullptr);
    if (window != nullptr) {
      if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
      SetForegroundWindow(window);
      SendSuiteCommand(window, CMD_OPEN_ITEMS, file);
      return HelpResult::SentToViewer;
    }
    std::string commandLine = ProgramCommandLine(modulePath, argument);
    return SKSHELL(commandLine.c_str(), SW_SHOW, 0) != 0 ? HelpResult::StartedViewer
                                                         : HelpResult::Failed;
  }

  std::string folder = suite::WithoutFinalBackslash(programFolder);
  HINSTANCE shell = ShellExecuteA(nullptr, "open", file.c_str(), nullptr,
                                  folder.empty() ? nullptr : folder.c_str(), SW_SHOW);
  return reinterpret_cast<INT_PTR>(shell) > 32 ? HelpResult::OpenedByShell : HelpResult::Failed;
}

HelpResult OpenHelp(const std::string& helpFile, const std::string& viewerRef,
                    const std::string& topic, const std::string& programFolder) {
  if (helpFile.empty() || !SKEXIST(helpFile.c_str())) return HelpResult::NoHelpFile;
  return ShowFileWithModule(helpFile, viewerRef, QuoteArgument(helpFile + "," + topic), programFolder);
}

}  // namespace suite
