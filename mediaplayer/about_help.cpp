// The player's About box (WM_SYSCOMMAND 0) and its help command (74): the
// help file of the current layout handed to the help viewer, or to the
// shell when there is no viewer.
#include <windows.h>

#include <string>

#include "core/module_lists.h"
#include "core/option_line.h"
#include "core/text_rules.h"
#include "player_parts.h"
#include "module_start.h"
#include "orbboxes.h"
#include "player_state.h"
#include "themecore.h"

namespace player {

namespace {

constexpr size_t T_ABOUT = 2;
constexpr size_t T_HELP_FILES = 90;  // comma-separated: document, media, picture layout
constexpr char kHelpViewer[] = "ORBHELP.EXE";

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
  // The viewer is started with "<file>,<skin file>"; a running one gets the
  // file as a list to open; without the viewer the shell opens the file.
  suite::OpenHelp(p.programFolder + name,
                  std::string(kHelpViewer) + "," + suite::ModuleClass(suite::MODULE_HELP_VIEWER), p.skinFile,
                  p.programFolder);
}

}  // namespace player
