// The playback engine's operations on the current medium, the start of an
// item (StartPlayback) and the 100 ms playback tick (MeterTimerProc).  The
// transport commands are transport_commands.cpp; the two back-ends
// audio_media_backend.cpp and imaging_media_backend.cpp.
#include "playback_engine.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "core/item_list.h"
#include "core/path_names.h"
#include "core/module_lists.h"
#include "core/suite_command_codes.h"
#include "player_parts.h"
#include "media_backend.h"
#include "orbboxes.h"
#include "player_state.h"
#include "suite_command.h"
#include "themecore.h"
#include "thread_timer.h"
#include "trace_writer.h"

namespace player {

namespace {

constexpr UINT kTickMs = 100;
// Older systems get a faster tick so the bar moves as smoothly.
constexpr UINT kOldSystemTickMs = 70;
constexpr int32_t kOldSystemVersion = 300;
constexpr int32_t kEmptyItem = -8;
constexpr int32_t kAudioPlayFailed = -99;
// The option line's field 5 from this value up: the control bar floats.
constexpr int32_t kFloatingBar = 0x20;
constexpr int ID_PAUSE = 52;
constexpr int ID_REPEAT = 78;

// Text entries of the engine.
constexpr size_t T_PLAY_FAILED = 12;
constexpr size_t T_AUDIO_PATTERNS = 88;

bool ControlBarFloats() { return ControlBar() != nullptr && Options().OptionField5() >= kFloatingBar; }

void ReportFailure(const std::string& item, int32_t result) {
  if (ControlBarFloats()) LayOutVideo();
  suite::boxes::ShowWarningBox(PlaybackFailureText(Player().texts.entry(T_PLAY_FAILED), item, result));
}

// The audio player pauses while this player plays media; the shut-down
// resumes it.
void PauseAudioPlayer() {
  HWND audioPlayer = FindWindowA(suite::ModuleClass(suite::MODULE_AUDIO_PLAYER).c_str(), nullptr);
  if (audioPlayer == nullptr) return;
  suite::SendSuiteCommand(audioPlayer, suite::CMD_PAUSE, "");
  Player().pausedAudioPlayer = true;
}

// A video shows in the video window.  The layouts place that window; while
// it has no size yet it takes the content holder's client area, so a video
// is never played into a window nobody sees.
void ShowVideoWindow() {
  PlayerState& p = Player();
  if (p.videoWindow == nullptr) return;
  RECT area = {};
  GetClientRect(p.videoWindow, &area);
  if (IsRectEmpty(&area) && p.contentHolder != nullptr) {
    GetClientRect(p.contentHolder, &area);
    SetWindowPos(p.videoWindow, HWND_TOP, 0, 0, area.right, area.bottom, SWP_NOACTIVATE);
  }
  ShowWindow(p.videoWindow, SW_SHOW);
  Engine().media->FitVideo(p.videoWindow);
}

// Playing a video may set the player's taskbar button flashing.  The call
// is looked up once: systems without it simply keep the flash.
void StopTaskbarFlash(HWND window) {
  using FlashWindowExCall = BOOL(WINAPI*)(PFLASHWINFO);
  static FlashWindowExCall flashWindowEx = [] {
    HMODULE user32 = GetModuleHandleA("USER32.DLL");
    return user32 != nullptr ? reinterpret_cast<FlashWindowExCall>(GetProcAddress(user32, "FlashWindowEx"))
                             : nullptr;
  }();
  if (flashWindowEx == nullptr) return;
  FLASHWINFO flash = {};
  flash.cbSize = sizeof(flash);
  flash.hwnd = window;
  flash.dwFlags = FLASHW_STOP;
  Sleep(50);
  flashWindowEx(&flash);
}

void TraceLevels(const MeterLevels& levels) {
  orbtrace::WriteCall(orbtrace::CallLine("orbplay", "MeterLevels").Number(levels.left).Number(levels.right), 1);
}

// The item has played to its end: the next item, the same list again, or
// the player hides.
void OnItemFinished() {
  PlayerState& p = Player();
  HWND repeat = ControlOf(ID_REPEAT);
  EndOfItemDecision decision = DecideEndOfItem(p.itemIndex, p.itemCount, repeat != nullptr && SKGETCHECK(repeat));
  switch (decision.action) {
    case EndOfItem::NextItem:
      PlayerWindowProc(ControlBar() != nullptr ? ControlBar() : p.mainWindow, WM_COMMAND, ID_NEXT, 0);
      break;
    case EndOfItem::Repeat: {
      p.itemIndex = decision.index;
      std::string item = suite::ItemField(p.itemList, static_cast<size_t>(p.itemIndex));
      OpenItem("", item.empty() ? p.itemList : item, 0, 0);
      break;
    }
    case EndOfItem::Close:
      // The tick stops here: a finished stream keeps reading 100 %, and the
      // hide must be asked for only once.
      StopPlaybackTick();
      PostMessageA(p.mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
  }
}

// The level meter and the spectrum display follow what plays.  The level is
// read at every tick, with or without a control bar: the spectrum display
// and the call trace follow it even when no meter shows it.
void FeedLevels() {
  EngineState& engine = Engine();
  uint32_t level = engine.media != nullptr ? engine.media->Level() : 0xFFFFFFFFu;
  if (level != 0xFFFFFFFFu && level != 0) engine.levelsShown = true;
  if (engine.levelsShown) {
    MeterLevels levels = MeterLevelsOf(level);
    TraceLevels(levels);
    DrawLevelMeter(levels.left, levels.right);
  }
  HWND spectrum = FindWindowA(suite::ModuleClass(suite::MODULE_SPECTRUM).c_str(), nullptr);
  if (spectrum != nullptr) suite::SendSuiteCommand(spectrum, suite::CMD_LEVEL, "");
}

}  // namespace

EngineState& Engine() {
  static EngineState state;
  return state;
}

bool IsAudioLibraryStream() { return Engine().media == &AudioLibraryBackend(); }

void CloseMedia() {
  EngineState& engine = Engine();
  if (engine.media != nullptr) engine.media->Close();
  engine.media = nullptr;
}

int32_t OpenMedia(HWND window, const std::string& path, bool noAudioLibrary) {
  PlayerState& p = Player();
  EngineState& engine = Engine();
  engine.videoShown = false;
  if (engine.levelsShown) BlankLevelMeter();
  engine.levelsShown = false;
  CloseMedia();

  int32_t result = 0;
  if (PlaysThroughAudioLibrary(path, p.texts.entry(T_AUDIO_PATTERNS), p.audioAvailable, noAudioLibrary)) {
    result = AudioLibraryBackend().Open(window, path);
    if (result == 2) engine.media = &AudioLibraryBackend();
  }
  if (engine.media == nullptr) {
    result = ImagingBackend().Open(window, path);
    if (result == 1) {
      engine.media = &ImagingBackend();
      engine.videoShown = true;
      if (!IsWindowVisible(p.mainWindow)) ShowWindow(p.mainWindow, SW_SHOW);
      if (window == p.videoWindow) ShowVideoWindow();
      if (ControlBarFloats()) LayOutVideo();
    }
  }
  if (result == 1 || result == 2) PauseAudioPlayer();
  return result;
}

int32_t PlayMedia(uint32_t from, uint32_t to) {
  EngineState& engine = Engine();
  if (engine.media == nullptr) return 0;
  if (IsAudioLibraryStream()) {
    if (engine.media->Play(from, to, &engine.clip) == 1) return 1;
    CloseMedia();
    return kAudioPlayFailed;
  }
  HWND foreground = GetForegroundWindow();
  int32_t result = engine.media->Play(from, to, &engine.clip);
  // Playing may bring the library's own window forward: give it back.
  if (foreground != nullptr && GetForegroundWindow() != foreground) SetForegroundWindow(foreground);
  if (result == 1 && engine.videoShown) {
    PlayerState& p = Player();
    StopTaskbarFlash(p.mainWindow);
    if (p.displayState == DISPLAY_ZOOMED && p.layoutItem == 308 && p.zoomHolder != nullptr) {
      InvalidateRect(p.zoomHolder, nullptr, TRUE);
    }
  }
  return result;
}

int32_t GetPlayPercent() {
  EngineState& engine = Engine();
  if (engine.media == nullptr) return 0;
  return engine.media->PlayPercent(engine.clip);
}

bool IsPlaying() { return Engine().media != nullptr && Engine().media->IsPlaying(); }

void PauseMedia() {
  if (Engine().media != nullptr) Engine().media->Pause();
}

void ResumeMedia() {
  if (Engine().media != nullptr) Engine().media->Resume();
}

void StopMedia() {
  if (Engine().media != nullptr) Engine().media->Stop();
}

void SeekMedia(uint32_t position) {
  if (Engine().media != nullptr) Engine().media->Seek(position);
}

int32_t GetPlayerState() { return Engine().playerState; }

int32_t OnImagingEvent(int32_t event) {
  EngineState& engine = Engine();
  switch (event) {
    case 6: engine.playerState = MEDIA_PLAYING; break;
    case 7: engine.playerState = MEDIA_STOPPED; break;
    case 8: engine.playerState = MEDIA_PAUSED; break;
    case 9: engine.playerState = MEDIA_PLAYING; break;
  }
  return 1;
}

int32_t StartPlayback(const std::string& item, int32_t from, int32_t to) {
  PlayerState& p = Player();
  EngineState& engine = Engine();
  if (item.empty()) {
    ReportFailure(item, kEmptyItem);
    return kEmptyItem;
  }
  KillThreadTimer(p.volumeTimer);

  HideBrowserPanes();
  if (p.pictureHolder != nullptr) ShowWindow(p.pictureHolder, SW_HIDE);
  if (p.contentHolder != nullptr) InvalidateRect(p.contentHolder, nullptr, TRUE);

  StopPlaybackTick();
  if (p.statusWindow != nullptr) SKSETCTLTEXT(p.statusWindow, "");
  CloseMedia();
  if ((Options().OptionField4() & 2) != 0 && ControlOf(ID_POSITION) != nullptr) {
    SendMessageA(ControlOf(ID_POSITION), TBM_SETPOS, 1, 0);
  }

  int32_t result = OpenMedia(p.videoWindow, item, false);
  if (result != 1 && result != 2) {
    ReportFailure(item, result);
    return result;
  }
  if (result == 2) CreateEffectsPanelIfMissing();
  LayOutVideo();

  result = PlayMedia(static_cast<uint32_t>(from), static_cast<uint32_t>(to));
  if (result < 1) {
    ReportFailure(item, result);
    return result;
  }
  UINT tickMs = SKOSVERSION() < kOldSystemVersion ? kOldSystemTickMs : kTickMs;
  SetTimer(p.mainWindow, PLAYBACK_TIMER_ID, tickMs, MeterTimerProc);
  engine.ticking = true;
  SKSETCTLTEXT(p.mainWindow, PlayingTitle(p.texts.entry(T_TITLE), item).c_str());
  ShowPlayingTitle(suite::FileNameOf(item));
  if (p.statusWindow != nullptr) SKSETCTLTEXT(p.statusWindow, "");
  ShowControl(ID_PLAY, false);
  ShowControl(ID_PAUSE, true);
  return 1;
}

void StopPlaybackTick() {
  KillTimer(Player().mainWindow, PLAYBACK_TIMER_ID);
  Engine().ticking = false;
}

VOID CALLBACK MeterTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time) {
  VolumeFollowTimer(window, message, id, time);
  int32_t percent = GetPlayPercent();
  if (IsPlaying() && percent < 100 && ControlOf(ID_POSITION) != nullptr) {
    SKSETTRACKPOS(ControlOf(ID_POSITION), percent);
  }
  FeedLevels();
  TickPlayingTitle();
  // At or past the end (a position read before the clip never wraps to a
  // huge value, and one read past it still counts as the end).
  if (percent >= 100) OnItemFinished();
}

void ResumeAudioPlayer() {
  PlayerState& p = Player();
  if (!p.pausedAudioPlayer) return;
  HWND audioPlayer = FindWindowA(suite::ModuleClass(suite::MODULE_AUDIO_PLAYER).c_str(), nullptr);
  if (audioPlayer == nullptr) return;
  suite::SendSuiteCommand(audioPlayer, suite::CMD_RESUME, "");
  p.pausedAudioPlayer = false;
}

void RestoreMutedVolume() {
  EngineState& engine = Engine();
  if (!engine.muted) return;
  SetMasterVolume(VolumeAfterUnmute(engine.savedVolume));
  engine.muted = false;
}

}  // namespace player

// Fits the video to the window's client area; exported as MMSETVIDEO.
extern "C" int32_t __stdcall OrbPlaySetVideo(HWND window) {
  return player::ImagingBackend().FitVideo(window);
}

// The imaging library's event callback, exported (cdecl) as _leadevent:
// events 6 and 9 mean playing, 7 stopped, 8 paused; others change nothing.
extern "C" int32_t __cdecl OrbPlayLeadEvent(void* media, int32_t event, int32_t data, void* user) {
  (void)media;
  (void)data;
  (void)user;
  return player::OnImagingEvent(event);
}
