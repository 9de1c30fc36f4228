// The player's About box (WM_SYSCOMMAND 0) and its help command (74): the
// help file of the current layout handed to the help viewer, or to the
// shell when there is no viewer.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "core/option_line.h"
#include "core/suite_command_codes.h"
#include "core/text_rules.h"
#include "later_features.h"
#include "orbboxes.h"
#include "player_state.h"
#include "suite_command.h"
#include "themecore.h"

namespace player {

namespace {

constexpr size_t T_ABOUT = 2;
constexpr size_t T_HELP_FILES = 90;  // comma-separated: document, media, picture layout

// The layout's column in the help-file list: 1 document, 2 media, 3 picture.
size_t HelpColumn(int32_t layoutMode) {
  switch (layoutMode) {
    case 1:
      return 1;
    case 4:
      return 3;
    default:
      return 2;
  }
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

void ShowAboutBox() {
  PlayerState& p = Player();
  // A control bar of its own would take clicks while the box is up.
  HWND bar = Options().OptionField22() != 0 ? ControlBar() : nullptr;
  if (bar != nullptr) EnableWindow(bar, FALSE);
  suite::boxes::ShowAboutBox(suite::boxes::AboutText(p.texts.entry(T_ABOUT)));
  if (bar != nullptr) EnableWindow(bar, TRUE);
}

void HelpCommand() {
  PlayerState& p = Player();
  std::string name = OptionFieldText(p.texts.entry(T_HELP_FILES), HelpColumn(p.layoutMode));
  if (name.empty()) return;
  std::string helpFile = p.programFolder + name;
  if (!FileExists(helpFile)) return;
  const std::string viewer = themecore::FindFile("ORBHELP.EXE");
  if (viewer.empty()) {
    ShellExecuteA(nullptr, "open", helpFile.c_str(), nullptr, p.programFolder.c_str(), SW_SHOW);
    return;
  }
  HWND running = FindWindowA("ORBHELP", nullptr);
  if (running != nullptr) {
    if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
    SetForegroundWindow(running);
    suite::SendSuiteCommand(running, suite::CMD_OPEN_ITEMS, helpFile);
    return;
  }
  SKSHELL((viewer + " " + helpFile + "," + p.skinFile).c_str(), 5, 0);
}

}  // namespace player
