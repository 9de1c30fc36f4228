// The audio player's window procedure WNDPROC: the main window, its menu
// holder, the pane's commands and the command-line queue's thread timer
// all arrive here.  Suite commands, the close and its notices, About, help
// and the command table; the work is in the files audio_state.h names.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "audio_state.h"
#include "core/audio_command_line.h"
#include "core/audio_rules.h"
#include "core/item_list.h"
#include "core/module_lists.h"
#include "core/suite_command_codes.h"
#include "module_start.h"
#include "orbboxes.h"
#include "panels.h"
#include "suite_command.h"
#include "themecore.h"
#include "thread_timers.h"
#include "trace_writer.h"

namespace audio {

namespace {

constexpr UINT kQueueDelayMs = 100;
constexpr char kHelpViewer[] = "ORBHELP.EXE";

void TraceCommand(uint32_t code, const std::string& text) {
  orbtrace::WriteCall(orbtrace::CallLine("orbaudio", "SuiteCommand").Number(code).Bytes(text), 1);
}

LRESULT OnCopyData(WPARAM wParam, LPARAM lParam) {
  AudioState& a = Audio();
  std::string text;
  uint32_t code = suite::ReceiveSuiteCommand(text, wParam, lParam);
  TraceCommand(code, text);
  switch (code) {
    case 0:
    case suite::CMD_STARTED_BY_BROWSER:
      break;
    case suite::CMD_PAUSE:
      PostMessageA(Pane() != nullptr ? Pane() : a.mainWindow, WM_COMMAND, ID_PAUSE, 0);
      break;
    case suite::CMD_RESUME:
      PostMessageA(Pane() != nullptr ? Pane() : a.mainWindow, WM_COMMAND, ID_PLAY, 0);
      break;
    case suite::CMD_CLOSE:
      PostMessageA(a.mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case suite::CMD_FORWARD_COMMAND_LINE:
      a.queue = suite::JoinItemLists(a.queue, text);
      if (a.queueTimer == 0) {
        // The queue's timer procedure is this window procedure: its
        // WM_TIMER arrives with no window.
        a.queueTimer = SetTimer(nullptr, 0, kQueueDelayMs, reinterpret_cast<TIMERPROC>(OrbAudioWindowProc));
      }
      break;
    case suite::CMD_OPEN_ITEMS:
      OpenList(text);
      break;
    default:
      // Level, pane and other binary codes are no lists: a stray one must
      // not replace what plays.
      break;
  }
  return suite::SUITE_COMMAND_HANDLED;
}

void OnQueueTimer(UINT_PTR id) {
  AudioState& a = Audio();
  if (a.queueTimer == 0 || id != a.queueTimer) return;
  KillTimer(nullptr, a.queueTimer);
  a.queueTimer = 0;
  a.commandText = QueueBatch(a.commandText, a.queue, a.firstFlush);
  a.firstFlush = false;
  a.queue.clear();
  suite::SendSuiteCommand(a.mainWindow, suite::CMD_OPEN_ITEMS, a.commandText);
}

void OnClose() {
  AudioState& a = Audio();
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  if (GetWindowPlacement(a.mainWindow, &placement)) {
    RECT r = placement.rcNormalPosition;
    int32_t x = r.left, y = r.top, width = r.right - r.left, height = r.bottom - r.top;
    PlayerSettingsFile(&x, &y, &width, &height, 1);
  }
  if (a.chooserStarted) {
    HWND chooser = FindWindowA(ChooserClass().c_str(), nullptr);
    if (chooser != nullptr) suite::SendSuiteCommand(chooser, suite::CMD_CLOSE, "");
  }
  if (a.companion != 0) {
    SendToCompanion(suite::CMD_CLOSE, "");
    a.companion = 0;
  }
  PostQuitMessage(0);
}

// The shared About text and the program's one style record; the box is
// owned by the pane and captioned with the plain title, which the main
// window's text (it carries the playing item) is not.
void ShowAbout() {
  AudioState& a = Audio();
  std::string text = suite::boxes::AboutText(a.texts.entry(T_ABOUT));
  suite::boxes::MessageBoxStyle& style = suite::boxes::CurrentBoxContext().style;
  suite::boxes::PrepareBoxStyle(&style, suite::boxes::BoxLook::kAbout, suite::boxes::BoxIconField(a.icon),
                                static_cast<uint32_t>(SKGETSYSCOLOR(113)),
                                static_cast<uint32_t>(SKGETSYSCOLOR(112)));
  SKMSGBOX(Pane(), SKCAPTIONFONT(), a.texts.entry(T_TITLE).c_str(), text.c_str(), "", &style, 0);
}

void ShowHelp() {
  AudioState& a = Audio();
  std::string file = a.programFolder + a.texts.entry(T_HELP_FILE);
  if (a.texts.entry(T_HELP_FILE).empty() || !SKEXIST(file.c_str())) return;
  // The viewer is started with "<file>,<skin file>"; a running one gets the
  // file as a list to open.
  suite::OpenHelp(file, std::string(kHelpViewer) + "," + suite::ModuleClass(suite::MODULE_HELP_VIEWER),
                  a.settings.skin, a.programFolder);
}

// The mixer buttons: sound off keeps the volume it takes away, sound on
// gives it back (a middle volume when there was none).
void SetMuted(bool muted) {
  static int32_t savedVolume = 0;
  HMIXER mixer = panels::Panels().mixer;
  HWND bar = PaneControl(ID_VOLUME);
  ShowPaneControl(ID_MIXER, !muted);
  ShowPaneControl(ID_MIXER2, muted);
  if (muted) {
    int32_t volume = panels::MixerGetVolume(mixer);
    if (volume > 0) savedVolume = volume;
    panels::MixerSetVolume(mixer, 0);
    if (bar != nullptr) {
      SendMessageA(bar, TBM_SETPOS, TRUE, 0);
      EnableWindow(bar, FALSE);
    }
    return;
  }
  int32_t volume = savedVolume > 0 ? savedVolume : 50;
  panels::MixerSetVolume(mixer, volume);
  if (bar != nullptr) {
    SendMessageA(bar, TBM_SETPOS, TRUE, volume);
    EnableWindow(bar, TRUE);
  }
}

LRESULT OnCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  AudioState& a = Audio();
  int id = LOWORD(wParam);
  if (suite::MenuAction(id, a.menus) == "END") {
    SendMessageA(a.mainWindow, WM_SYSCOMMAND, SC_CLOSE, lParam);
    return 1;
  }
  TraceStep("Command", std::to_string(id) + ", " + std::to_string(static_cast<long long>(lParam)), "");
  switch (id) {
    case ID_PLAY: PlayCommand(); break;
    case ID_PAUSE: PauseCommand(); break;
    case ID_EFFECTS: ToggleFxPanel(); break;
    case ID_COMPANION: LaunchModule(); break;
    case ID_PREVIOUS: PreviousItem(); break;
    case ID_NEXT: NextItem(); break;
    case 57: case 73: case 101: RequestRebuild(); break;
    case ID_MIXER: SetMuted(true); break;
    case ID_MIXER2: SetMuted(false); break;
    case ID_OPEN: case 103: OpenCommand(); break;
    case ID_STOP_QUIT: StopAndQuit(); break;
    case ID_HELP:
      ShowHelp();
      return 0;
    case ID_VOLUME:
      panels::MixerSetVolume(panels::Panels().mixer, static_cast<int32_t>(lParam));
      break;
    case ID_POSITION: SeekPercent(static_cast<int32_t>(lParam)); break;
    case ID_REPEAT: a.repeatDefault = false; break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT OnSysCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if ((wParam & 0xFFF0) == SC_CLOSE) {
    OnClose();
    return DefWindowProcA(window, message, wParam, lParam);
  }
  if (wParam == 0) {
    ShowAbout();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void TraceStep(const std::string& name, const std::string& arguments, const std::string& result) {
  orbtrace::WriteCall(orbtrace::CallLine("orbaudio", name).Raw(arguments), result.empty() ? "-" : result);
}

extern "C" LRESULT __stdcall OrbAudioWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  AudioState& a = Audio();
  HWND engineWindow = window;
  UINT engineMessage = message;
  WPARAM engineWParam = wParam;
  LPARAM engineLParam = lParam;
  LRESULT handled = SKGETMESSAGE(&engineWindow, &engineMessage, &engineWParam, &engineLParam);
  if (window != nullptr && window == a.mainWindow && message == WM_SIZE && Pane() != nullptr) {
    InvalidateRect(Pane(), nullptr, FALSE);
    UpdateWindow(Pane());
  }
  if (handled != 0) return handled;
  switch (message) {
    case WM_COPYDATA:
      return OnCopyData(wParam, lParam);
    case WM_TIMER:
      if (window == nullptr) {
        OnQueueTimer(wParam);
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      return OnSysCommand(window, message, wParam, lParam);
    case WM_DESTROY:
      if (a.dialUp != 0) SKRASHANGUP(a.dialUp);
      a.dialUp = 0;
      return 0;
    case WM_COMMAND:
      return OnCommand(window, message, wParam, lParam);
  }
  if (window == nullptr) return 0;
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace audio
