// The suite commands the player receives (WM_COPYDATA), the queue of
// forwarded command lines, and the arrival of an item list.
#include <windows.h>

#include <string>

#include "core/command_rules.h"
#include "core/item_list.h"
#include "core/option_line.h"
#include "core/suite_command_codes.h"
#include "player_parts.h"
#include "playback_engine.h"
#include "player_state.h"
#include "thread_timer.h"
#include "suite_command.h"
#include "themecore.h"
#include "themecore_player.h"
#include "tonelink.h"
#include "trace_writer.h"

namespace player {

namespace {

void OnBackgroundSound(PlayerState& p, const std::string& text) {
  CloseMedia();
  if (p.audioAvailable) {
    for (int32_t option : {6, 4, 5}) BASSSETCONFIG(option, 100);
  }
  std::string soundList = suite::ItemField(text, 1);
  if (soundList.empty()) {
    StopBackgroundSound();
    return;
  }
  StartBackgroundSound(soundList, OptionNumber(suite::ItemField(text, 2)),
                       OptionNumber(suite::ItemField(text, 3)));
  // Paused at once: the play command starts it with the show.
  int32_t channel = p.audioAvailable ? BASSHANDLEINUSE() : 0;
  if (channel != 0) BASSCHANNELPAUSE(channel);
  PauseMedia();
}

void OnPlayIntoRect(PlayerState& p, const std::string& text) {
  RecordingRequest request = ParseRecordingRequest(text);
  if (!request.valid || p.mainWindow == nullptr) return;
  p.recordingMode = 1;
  SetRecordingFrameRate(request.frameRate);
  int32_t width = request.width, height = request.height;
  SKSETMAXSIZE(request.width, request.height, &width, &height);
  // Window handles are 32-bit significant, also between 32- and 64-bit programs.
  p.reportWindow = static_cast<HWND>(LongToHandle(static_cast<LONG>(request.reportWindow)));
  int32_t x = RecordingWindowX(GetSystemMetrics(SM_CXSCREEN), width);
  SetWindowPos(p.mainWindow, HWND_TOPMOST, x, 0, width, height, SWP_SHOWWINDOW);
  SKBUILDREGION(p.mainWindow);
  ShowWindow(p.mainWindow, SW_SHOW);
  EnableWindow(p.mainWindow, FALSE);
  if (ControlBar() != nullptr) {
    RECT bar = {};
    GetWindowRect(ControlBar(), &bar);
    SetWindowPos(ControlBar(), nullptr, GetSystemMetrics(SM_CXSCREEN) - (bar.right - bar.left), height, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
  }
  if (p.statusWindow != nullptr) SKSETCTLTEXT(p.statusWindow, RecordingStatus().c_str());
  OpenItem("", p.basePath + p.texts.entry(T_SLIDE_SHOW_SUFFIX), 0, 0);
}

void OnForwardedCommandLine(PlayerState& p, const std::string& text) {
  p.queue = QueueForwarded(p.queue, text);
  if (p.queueTimer == 0) {
    p.queueTimer = StartThreadTimer(QUEUE_DELAY_MS);
  }
}

}  // namespace

LRESULT OnSuiteCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  PlayerState& p = Player();
  std::string text;
  uint32_t code = suite::ReceiveSuiteCommand(text, wParam, lParam);
  orbtrace::WriteCall(orbtrace::CallLine("orbplay", "SuiteCommand").Number(static_cast<int32_t>(code)).Text(text.c_str()),
                      1);
  switch (code) {
    case suite::CMD_STARTED_BY_BROWSER:
      p.startedByBrowser = true;
      p.moduleMode = false;
      break;
    case suite::CMD_SET_BACKGROUND_SOUND:
      OnBackgroundSound(p, text);
      break;
    case suite::CMD_ENABLE_OPTION_407:
      if (!IsMenuItemChecked(407)) PostMessageA(p.mainWindow, WM_COMMAND, 407, 0);
      break;
    case suite::CMD_ENABLE_OPTION_411:
      if (!IsMenuItemChecked(411)) SendMessageA(p.mainWindow, WM_COMMAND, 411, 0);
      break;
    case suite::CMD_PLAY_IF_SHOWN:
      if (ControlOf(ID_PLAY) != nullptr && IsWindowVisible(ControlOf(ID_PLAY))) {
        PostMessageA(p.mainWindow, WM_COMMAND, ID_PLAY, 0);
      }
      break;
    case suite::CMD_CLOSE:
      // A real close also for a player without a control bar: the peers
      // (disc burner, media browser) rely on it.
      PostMessageA(p.mainWindow, WM_SYSCOMMAND, SC_CLOSE,
                   ControlBar() != nullptr ? reinterpret_cast<LPARAM>(ControlBar()) : CLOSE_FOR_REAL);
      break;
    case suite::CMD_FORWARD_COMMAND_LINE:
      OnForwardedCommandLine(p, text);
      break;
    case suite::CMD_SLIDESHOW_MODE:
      p.moduleMode = true;
      p.startedByBrowser = false;
      p.moduleDisplayTime = OptionNumber(text);
      break;
    case suite::CMD_PLAY_INTO_RECT:
      OnPlayIntoRect(p, text);
      break;
    case suite::CMD_SET_BURN_ON_CLOSE:
      p.burnHandOff = text;
      break;
    default:
      p.pendingList = text;
      PostMessageA(p.mainWindow, WM_PLAYER_LIST_ARRIVED, 0, 0);
      break;
  }
  return suite::SUITE_COMMAND_HANDLED;
}

void OnQueueTimer() {
  PlayerState& p = Player();
  KillThreadTimer(p.queueTimer);
  std::string batch = QueuedBatch(p.queue, p.commandLine, p.firstQueue);
  p.firstQueue = false;
  p.commandLine = batch;
  p.queue.clear();
  // Second starts without a command line only brought the player forward:
  // an empty batch opens nothing.
  if (p.mainWindow != nullptr && !batch.empty()) {
    suite::SendSuiteCommand(p.mainWindow, suite::CMD_OPEN_ITEMS, batch);
  }
}

void OnListArrived() {
  PlayerState& p = Player();
  p.itemList = p.pendingList;
  p.pendingList.clear();
  p.itemCount = static_cast<int32_t>(suite::ItemFieldCount(p.itemList));
  orbtrace::WriteCall(orbtrace::CallLine("orbplay", "ItemList").Text(p.itemList.c_str()), p.itemCount);
  if (EndsWithPageExtension(p.itemList)) ResetDisplayState();
  std::string item;
  if (p.itemCount > 1) {
    p.itemIndex = 1;
    item = suite::ItemField(p.itemList, 1);
  } else {
    item = p.itemList;
    ResetDisplayState();
  }
  OpenItem("", item, 0, 0);
}

}  // namespace player
