// The control bar's transport commands: play, pause, previous and next,
// restart, mute and unmute, stop, volume, seek, and the effects-panel and
// companion toggles.  The engine's operations are playback_engine.cpp.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "core/item_list.h"
#include "core/module_lists.h"
#include "core/suite_command_codes.h"
#include "player_parts.h"
#include "media_backend.h"
#include "orbboxes.h"
#include "playback_engine.h"
#include "player_state.h"
#include "suite_command.h"
#include "themecore.h"
#include "thread_timer.h"
#include "tonelink.h"

namespace player {

namespace {

constexpr int ID_PAUSE = 52;
constexpr int ID_MUTE = 61;
constexpr int ID_UNMUTE = 62;
constexpr int ID_VOLUME = 76;
constexpr UINT kTickMs = 100;
// The panels' picture layout.
constexpr int32_t LAYOUT_PICTURE = 4;

constexpr size_t T_NO_PICTURE = 34;
constexpr size_t T_PAUSED_NOTE = 45;
constexpr size_t T_PLAY_NOTE = 46;

void SetStatusText(const std::string& text) {
  HWND status = Player().statusWindow;
  if (status != nullptr) SKSETCTLTEXT(status, text.c_str());
}

bool HasMediaItem() { return Engine().media != nullptr; }

void StartTick() {
  PlayerState& p = Player();
  if (Engine().ticking) return;
  SetTimer(p.mainWindow, PLAYBACK_TIMER_ID, kTickMs, MeterTimerProc);
  Engine().ticking = true;
}

// The spectrum display (module 8) is started or closed beside the player.
void ToggleCompanion() {
  PlayerState& p = Player();
  std::string companionClass = suite::ModuleClass(suite::MODULE_SPECTRUM);
  HWND running = FindWindowA(companionClass.c_str(), nullptr);
  if (running != nullptr) {
    suite::SendSuiteCommand(running, suite::CMD_CLOSE, "");
    p.companionModule = nullptr;
    return;
  }
  std::string program = themecore::FindFile((suite::ModuleProgram(suite::MODULE_SPECTRUM) + ".exe").c_str());
  if (program.empty()) return;
  if (SKSHELL(program.c_str(), 5, 0) != 0) p.companionModule = FindWindowA(companionClass.c_str(), nullptr);
}

void OnPlay() {
  PlayerState& p = Player();
  EngineState& engine = Engine();
  if (HasMediaItem()) {
    ShowControl(ID_PLAY, false);
    ShowControl(ID_PAUSE, true);
    if (GetPlayPercent() >= 100 && !IsAudioLibraryStream()) {
      PlayMedia(engine.clip.start, engine.clip.end);
    } else {
      ResumeMedia();
    }
    StartTick();
    return;
  }
  if (p.layoutMode == LAYOUT_PICTURE) {
    if (p.currentItem.empty()) {
      suite::boxes::ShowWarningBox(p.texts.entry(T_NO_PICTURE));
      return;
    }
    int32_t channel = p.audioAvailable ? BASSHANDLEINUSE() : 0;
    if (channel != 0) BASSCHANNELRESUME(channel);
    ResumeMedia();
    SendMessageA(p.mainWindow, WM_COMMAND, 405, 0);
    return;
  }
  SetStatusText(p.texts.entry(T_PLAY_NOTE));
  engine.indexActive = true;
  ToggleCompanion();
}

void OnPause() {
  PlayerState& p = Player();
  if (HasMediaItem()) {
    ShowControl(ID_PLAY, true);
    ShowControl(ID_PAUSE, false);
    StopPlaybackTick();
    PauseMedia();
    BlankLevelMeter();
    HWND spectrum = FindWindowA(suite::ModuleClass(suite::MODULE_SPECTRUM).c_str(), nullptr);
    if (spectrum != nullptr) suite::SendSuiteCommand(spectrum, suite::CMD_PAUSE, "");
    return;
  }
  Engine().indexActive = false;
  ShowControl(ID_PLAY, true);
  ShowControl(ID_PAUSE, false);
  if (p.layoutMode == LAYOUT_PICTURE) {
    int32_t channel = p.audioAvailable ? BASSHANDLEINUSE() : 0;
    if (channel != 0) BASSCHANNELPAUSE(channel);
    PauseMedia();
    ResetDisplayState();
  } else {
    SetStatusText(p.texts.entry(T_PAUSED_NOTE));
  }
}

void OnMute() {
  EngineState& engine = Engine();
  ShowControl(ID_UNMUTE, true);
  ShowControl(ID_MUTE, false);
  if (!engine.muted) engine.savedVolume = MasterVolume();
  engine.muted = SetMasterVolume(0) || engine.muted;
  HWND bar = ControlOf(ID_VOLUME);
  if (bar != nullptr) {
    SendMessageA(bar, TBM_SETPOS, 1, 0);
    EnableWindow(bar, FALSE);
  }
}

void OnUnmute() {
  EngineState& engine = Engine();
  ShowControl(ID_MUTE, true);
  ShowControl(ID_UNMUTE, false);
  int32_t volume = VolumeAfterUnmute(engine.savedVolume);
  HWND bar = ControlOf(ID_VOLUME);
  if (bar != nullptr) SendMessageA(bar, TBM_SETPOS, 1, volume);
  SetMasterVolume(volume);
  engine.muted = false;
  if (bar != nullptr) EnableWindow(bar, TRUE);
}

void OnStop() {
  PlayerState& p = Player();
  if (p.recordingMode != 0) StopRecording(false);
  StopPlaybackTick();
  KillThreadTimer(p.slideTimer);
  KillThreadTimer(p.transitionTimer);
  SetStatusText("");
  SKSETCTLTEXT(p.mainWindow, p.texts.entry(T_TITLE).c_str());
  StopMedia();
  CloseMedia();
  if (p.videoWindow != nullptr) ShowWindow(p.videoWindow, SW_HIDE);
  ResetDisplayState();
  BlankLevelMeter();
  ShowControl(ID_PLAY, true);
  ShowControl(ID_PAUSE, false);
  p.itemCount = 0;
  p.itemIndex = 0;
  p.itemList.clear();
  p.displayTimes.clear();
  PostMessageA(p.mainWindow, WM_SYSCOMMAND, SC_CLOSE, reinterpret_cast<LPARAM>(ControlBar()));
}

void OnSeek(LPARAM lParam) {
  PlayerState& p = Player();
  EngineState& engine = Engine();
  int32_t percent = static_cast<int32_t>(lParam);
  if (percent > 100) percent = 100;
  if (percent < 0) percent = 0;
  if (p.layoutMode == LAYOUT_PICTURE && p.itemCount > 1) {
    p.itemIndex = SeekPictureIndex(percent, p.itemCount);
    std::string item = suite::ItemField(p.itemList, static_cast<size_t>(p.itemIndex));
    if (item != engine.lastSeekItem) {
      engine.lastSeekItem = item;
      OpenItem("", item, 0, 0);
    }
    return;
  }
  if (!HasMediaItem() || percent == GetPlayPercent()) return;
  uint32_t position = SeekPosition(percent, engine.clip);
  bool wasPlaying = IsPlaying();
  char title[512] = {};
  GetWindowTextA(p.mainWindow, title, sizeof(title));
  if (SeekAllowedForTitle(title)) {
    ResumeMedia();
    SeekMedia(position);
  }
  if (!wasPlaying) PauseMedia();
}

void OnEffectsPanelToggle() {
  if (Engine().mediaKind == MEDIA_KIND_AUDIO) ToggleEffectsPanel();
}

void OnCompanionToggle() {
  int32_t kind = Engine().mediaKind;
  if (kind == MEDIA_KIND_AUDIO || kind == MEDIA_KIND_VIDEO) ToggleCompanion();
}

}  // namespace

void StepItem(int32_t direction) {
  PlayerState& p = Player();
  EngineState& engine = Engine();
  if (p.itemCount <= 1) {
    StepContentPane(direction);
    return;
  }
  if (direction > 0 && engine.singlePassCounter != 0) {
    SinglePassStep step = CountSinglePass(engine.singlePassCounter, p.itemIndex, p.itemCount);
    engine.singlePassCounter = step.counter;
    if (step.stopShow) {
      SendMessageA(p.mainWindow, WM_KEYDOWN, VK_ESCAPE, 0);
      // The recording ends and the player with it.
      if (p.recordingMode != 0) StopRecording(true);
      StopBackgroundSound();
      PauseMedia();
      return;
    }
  }
  p.itemIndex = SteppedIndex(p.itemIndex, p.itemCount, direction);
  engine.direction = direction < 0 ? 1 : 2;
  if (p.layoutMode == LAYOUT_PICTURE && ControlOf(ID_POSITION) != nullptr) {
    SKSETTRACKPOS(ControlOf(ID_POSITION), PictureTrackPosition(p.itemIndex, p.itemCount));
  }
  OpenItem("", suite::ItemField(p.itemList, static_cast<size_t>(p.itemIndex)), 0, 0);
  if (p.displayState == DISPLAY_FULL_SCREEN && p.zoomHolder != nullptr) InvalidateRect(p.zoomHolder, nullptr, TRUE);
}

void PlaybackCommand(int32_t id, LPARAM lParam) {
  PlayerState& p = Player();
  switch (id) {
    case 51: OnPlay(); break;
    case 52: OnPause(); break;
    case 53: OnEffectsPanelToggle(); break;
    case 54: OnCompanionToggle(); break;
    case 55: StepItem(-1); break;
    case 56: StepItem(+1); break;
    case 57: case 73: case 101: p.reroute = true; break;
    case 61: OnMute(); break;
    case 62: OnUnmute(); break;
    case 63: SaveFrameCommand(); break;
    case 71: OnStop(); break;
    case 76: SetMasterVolume(static_cast<int32_t>(lParam)); break;
    case 77: OnSeek(lParam); break;
  }
}

}  // namespace player
