// The user's "open" command and the play-list files the player reads: the
// media browser serves as the player's file chooser (it sends the chosen
// files back with code 3); ".m3u" and ".upl" lists become the item list.
#include <windows.h>

#include <string>

#include "core/command_line.h"
#include "core/module_lists.h"
#include "core/play_lists.h"
#include "core/player_files.h"
#include "core/player_list.h"
#include "core/suite_command_codes.h"
#include "later_features.h"
#include "open_item.h"
#include "player_state.h"
#include "suite_command.h"
#include "themecore.h"

namespace player {

namespace {

constexpr size_t T_CHOOSER_PROGRAM = 78;
// How long a media browser just started may take to show its window: as
// long as any module start of the suite waits.
constexpr DWORD kBrowserStartWaitMs = 2000;

void TakeList(const PlayerList& list) {
  PlayerState& p = Player();
  p.itemList = list.itemList;
  p.displayTimes.clear();
  p.itemCount = list.count;
}

HWND WaitForBrowserWindow(const std::string& windowClass) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND window = FindWindowA(windowClass.c_str(), nullptr);
    if (window != nullptr || GetTickCount() - start >= kBrowserStartWaitMs) return window;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(20);
  }
}

std::string OwnClassName() {
  char name[256] = {};
  int length = GetClassNameA(Player().mainWindow, name, sizeof(name));
  return length > 0 ? std::string(name, static_cast<size_t>(length)) : std::string();
}

}  // namespace

std::string ReadPlaylist(const std::string& path) {
  PlayerList list;
  StdPlayerFiles files;
  if (!ReadPlaylist(path, Player().programFolder, files, &list)) return std::string();
  TakeList(list);
  return list.itemList;
}

std::string ReadUplList(const std::string& path) {
  PlayerList list;
  StdPlayerFiles files;
  std::string items = ReadUplList(path, Player().programFolder, files, &list);
  if (items.empty()) return items;
  TakeList(list);
  return items;
}

void OpenCommand() {
  PlayerState& p = Player();
  std::string program = themecore::FindFile(p.texts.entry(T_CHOOSER_PROGRAM).c_str());
  if (program.empty() || p.texts.entry(T_CHOOSER_PROGRAM).empty()) {
    OpenWithChooser();
    return;
  }
  std::string browserClass = suite::ModuleClass(suite::MODULE_MEDIA_BROWSER);
  HWND browser = FindWindowA(browserClass.c_str(), nullptr);
  if (browser != nullptr) {
    ShowWindow(browser, IsIconic(browser) ? SW_RESTORE : SW_MINIMIZE);
    return;
  }
  if (SKSHELL((suite::QuoteArgument(program) + " " + p.skinFile).c_str(), 5, 0) == 0) return;
  // The browser needs a moment to show its window; without the wait the
  // files chosen in it would have nowhere to go.
  browser = WaitForBrowserWindow(browserClass);
  if (browser == nullptr) return;
  p.startedMediaBrowser = true;
  suite::SendSuiteCommand(browser, suite::CMD_SET_TARGET_PROGRAM,
                          p.programFolder + p.exeName + "," + OwnClassName());
}

}  // namespace player
