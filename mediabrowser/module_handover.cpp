// Handing files to the media player (or to the module another program named
// with CMD_SET_TARGET_PROGRAM), starting it when it does not run.
#include <windows.h>

#include "browser_state.h"
#include "core/command_line.h"
#include "core/item_list.h"
#include "core/suite_command_codes.h"
#include "module_start.h"
#include "suite_command.h"
#include "themecore.h"

namespace browser {

namespace {

// The player entry of the text table: "program file,window class".
constexpr size_t kPlayerEntry = 19;

bool CheckButtonTicked() {
  HWND check = Browser().checkButton;
  return check != nullptr && SKGETCHECK(check) != 0;
}

}  // namespace

HWND SendFilesToModule(const std::string& itemList) {
  BrowserState& b = Browser();
  std::string playerRef = b.texts.entry(kPlayerEntry);
  bool overridden = !b.overrideProgram.empty();
  std::string windowClass = overridden ? b.overrideClass : suite::CommaField(playerRef, 2);
  std::string program = overridden ? b.overrideProgram
                                   : b.programFolder + suite::CommaField(playerRef, 1);
  if (windowClass.empty()) return nullptr;

  bool started = false;
  HWND window = suite::FindOrStartModule(windowClass.c_str(),
                                         suite::ProgramCommandLine(program, ""), &started);
  if (window == nullptr) return nullptr;
  if (started) suite::SendSuiteCommand(window, suite::CMD_STARTED_BY_BROWSER, "");
  if (!CheckButtonTicked()) {
    BringWindowToTop(window);
    SetForegroundWindow(window);
  }
  suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, itemList);
  return window;
}

}  // namespace browser
