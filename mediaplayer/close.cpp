// Closing the player (SC_CLOSE of the main window): the disc-burner
// hand-off of a recording, then hiding (lParam 0) or the real close, which
// tells the modules this player started and ends the message loop.
#include <windows.h>

#include <string>

#include "core/command_line.h"
#include "core/command_rules.h"
#include "core/module_lists.h"
#include "core/suite_command_codes.h"
#include "player_parts.h"
#include "playback_engine.h"
#include "module_start.h"
#include "player_state.h"
#include "thread_timer.h"
#include "suite_command.h"
#include "themecore.h"

namespace player {

namespace {

// A file to burn when the player closes goes to the disc burner: started
// when it does not run (then told it was started with code 19), given the
// volume label (25), brought forward (24) and given the file (3).
void HandOffToBurner(PlayerState& p) {
  if (p.burnHandOff.empty()) return;
  BurnHandOff handOff = ParseBurnHandOff(p.burnHandOff);
  p.burnHandOff.clear();
  std::string burnerClass = suite::ModuleClass(suite::MODULE_DISC_BURNER);
  std::string program = p.programFolder + suite::ModuleProgram(suite::MODULE_DISC_BURNER) + ".exe";
  bool started = false;
  HWND burner = suite::FindOrStartModule(burnerClass.c_str(), suite::ProgramCommandLine(program, ""), &started);
  if (burner == nullptr) return;
  if (started) suite::SendSuiteCommand(burner, suite::CMD_SLIDESHOW_MODE, "");
  suite::SendSuiteCommand(burner, suite::CMD_SET_VOLUME_LABEL, handOff.label);
  suite::SendSuiteCommand(burner, suite::CMD_COME_TO_FRONT, "");
  suite::SendSuiteCommand(burner, suite::CMD_OPEN_ITEMS, handOff.file);
}

// A hidden player plays nothing: the tick that feeds the meter and the
// spectrum display stops with the item.
LRESULT HidePlayer(PlayerState& p) {
  StopPlaybackTick();
  KillThreadTimer(p.slideTimer);
  KillThreadTimer(p.transitionTimer);
  if (p.statusWindow != nullptr) SKSETCTLTEXT(p.statusWindow, "");
  StopMedia();
  CloseMedia();
  if (p.videoWindow != nullptr) ShowWindow(p.videoWindow, SW_HIDE);
  if (p.displayState != DISPLAY_NORMAL) ResetDisplayState();
  HideBrowserPanes();
  ShowWindow(p.mainWindow, SW_HIDE);
  ShowPictureLayout();
  return 0;
}

void TellStartedModules(PlayerState& p) {
  HWND browser = FindWindowA(suite::ModuleClass(suite::MODULE_MEDIA_BROWSER).c_str(), nullptr);
  if (browser != nullptr && p.startedMediaBrowser) suite::SendSuiteCommand(browser, suite::CMD_CLOSE, "");
  if (browser != nullptr && p.startedByBrowser && IsIconic(browser)) ShowWindow(browser, SW_RESTORE);
  if (p.companionModule != nullptr && IsWindow(p.companionModule)) {
    suite::SendSuiteCommand(p.companionModule, suite::CMD_CLOSE, "");
  }
  p.companionModule = nullptr;
  if (p.pausedAudioPlayer) ResumeAudioPlayer();
}

}  // namespace

LRESULT OnCloseCommand(HWND window, LPARAM lParam) {
  PlayerState& p = Player();
  HandOffToBurner(p);
  StopBackgroundSound();
  if (p.dialUpConnection != 0) SKRASHANGUP(p.dialUpConnection);
  p.dialUpConnection = 0;
  if (lParam == 0) return HidePlayer(p);

  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  GetWindowPlacement(window, &placement);
  SaveWindowConfigFile(placement.rcNormalPosition);
  TellStartedModules(p);
  PostQuitMessage(0);
  return 0;
}

}  // namespace player
