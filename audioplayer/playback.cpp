// From an item to sound: OpenItem, StartPlayback, OpenMedia and PlayMedia
// over the audio library, the channel wrappers, the meter tick (position,
// levels to the meter and the companion, the end of an item), stepping
// through the play list, seeking, pause and play, and stop-and-quit.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "audio_state.h"
#include "core/audio_rules.h"
#include "core/item_list.h"
#include "core/path_names.h"
#include "core/suite_command_codes.h"
#include "core/text_rules.h"
#include "fx_panel.h"
#include "orbboxes.h"
#include "panels.h"
#include "suite_command.h"
#include "themecore.h"
#include "tonelink.h"
#include "trace_writer.h"

namespace audio {

namespace {

constexpr UINT kMeterTickMs = 100;
// Older systems get a faster tick so the bar moves as smoothly.
constexpr UINT kOldSystemTickMs = 70;
constexpr int32_t kOldSystemVersion = 300;
constexpr int32_t kNotOpened = 0;
constexpr int32_t kPlayFailed = -99;
constexpr uint32_t kNothingPlays = 0xFFFFFFFFu;
constexpr int32_t kNoConnectionError = 1203;
constexpr int32_t kMeterFullScale = 128;

std::string Quoted(const std::string& text) { return orbtrace::QuoteText(text); }

void StartMeterTimer() {
  AudioState& a = Audio();
  if (a.meterRunning) return;
  UINT tick = SKOSVERSION() < kOldSystemVersion ? kOldSystemTickMs : kMeterTickMs;
  SetTimer(a.mainWindow, METER_TIMER_ID, tick, MeterTimerProc);
  a.meterRunning = true;
}

// 0 (not opened) or 2 (stream open).
int32_t OpenMedia(const std::string& item) {
  AudioState& a = Audio();
  if (a.barsDrawn && panels::Panels().meter != nullptr) ResetLevelBars();
  a.barsDrawn = false;
  if (!a.audioAvailable) return kNotOpened;
  if (BASSOPEN(0, item.c_str()) != 0) return kNotOpened;
  a.streamOpen = true;
  return 2;
}

// 1 (playing) or -99.
int32_t PlayMedia(int32_t from, int32_t to) {
  AudioState& a = Audio();
  if (!a.streamOpen) return kPlayFailed;
  if (BASSPLAY(from, to) != 0) {
    a.streamOpen = false;
    return kPlayFailed;
  }
  uint32_t length = static_cast<uint32_t>(BASSMEDIAGETLENGTH());
  a.startPosition = static_cast<uint32_t>(from) < length ? static_cast<uint32_t>(from) : 0;
  a.endPosition = (to > 0 && static_cast<uint32_t>(to) < length) ? static_cast<uint32_t>(to) : length;
  return 1;
}

std::string LibraryText(int32_t (__stdcall *call)(char*, int32_t)) {
  return themecore::FetchText([call](char* out, int32_t size) { return call(out, size); });
}

void ShowTitles(const std::string& item) {
  AudioState& a = Audio();
  std::string title = PlayingTitle(a.texts.entry(T_TITLE), item);
  SKSETCTLTEXT(a.mainWindow, title.c_str());
  HWND marquee = panels::Panels().marquee;
  if (marquee == nullptr || a.layoutMode != LAYOUT_AUDIO) return;
  std::string text = MarqueeText(title, a.texts.entry(T_TITLE));
  if (a.streamOpen) {
    std::string music = LibraryText(BASSMUSICNAME);
    std::string stream = LibraryText(BASSSTREAMNAME);
    if (!music.empty()) {
      text = music;
    } else if (!stream.empty()) {
      text = stream;
    }
  }
  SKSETCTLTEXT(marquee, text.c_str());
}

// The item has played to its end: the next one, the list again, or rest.
void OnItemFinished() {
  AudioState& a = Audio();
  HWND repeat = PaneControl(ID_REPEAT);
  EndDecision decision = DecideEndOfItem(a.index, a.count, repeat != nullptr && SKGETCHECK(repeat) != 0);
  switch (decision.action) {
    case EndOfItem::NextItem:
      OrbAudioWindowProc(Pane(), WM_COMMAND, ID_NEXT, 0);
      break;
    case EndOfItem::Repeat: {
      a.index = decision.index;
      std::string item = suite::ItemField(a.playList, static_cast<size_t>(a.index));
      OpenItem("", item.empty() ? a.playList : item, 0, 0);
      break;
    }
    case EndOfItem::Stop:
      // A finished stream keeps reading 100 %: the tick stops here.
      StopMeterTimer();
      ShowPaneControl(ID_PAUSE, false);
      ShowPaneControl(ID_PLAY, true);
      break;
  }
}

void FeedLevels(uint32_t level) {
  AudioState& a = Audio();
  uint32_t shown = level == kNothingPlays ? 0 : level;
  if (shown != 0) a.barsDrawn = true;
  if (a.barsDrawn) {
    int32_t left = static_cast<int32_t>(shown & 0xFFFF), right = static_cast<int32_t>(shown >> 16);
    panels::ShowLevels(left > kMeterFullScale ? kMeterFullScale : left,
                       right > kMeterFullScale ? kMeterFullScale : right);
  }
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>((level >> (8 * i)) & 0xFF);
  SendToCompanion(suite::CMD_LEVEL, bytes);
}

}  // namespace

int32_t CurrentPercent() {
  AudioState& a = Audio();
  if (!a.streamOpen) return 0;
  // A stream that has ended says nothing plays; its position no longer
  // counts.
  if (BASSCHANNELGETLEVEL() == kNothingPlays && BASSCHANNELISACTIVE() == 0) return 100;
  return PositionPercent(static_cast<uint32_t>(BASSCHANNELGETPOSITION()), a.startPosition, a.endPosition);
}

void StopMeterTimer() {
  AudioState& a = Audio();
  KillTimer(a.mainWindow, METER_TIMER_ID);
  a.meterRunning = false;
}

void CloseStream() {
  AudioState& a = Audio();
  if (a.audioAvailable) BASSCLOSE();
  a.streamOpen = false;
}

int32_t ChannelIsActive() { return Audio().streamOpen ? BASSCHANNELISACTIVE() : 0; }
void ChannelPause() {
  if (Audio().streamOpen) BASSPAUSE();
}
void ChannelStart() {
  if (Audio().streamOpen) BASSSTART();
}
void ChannelStop() {
  if (Audio().streamOpen) BASSSTOP();
}
int32_t ChannelSetPosition(uint32_t position) {
  return Audio().streamOpen ? BASSCHANNELSETPOSITION(static_cast<int32_t>(position)) : 0;
}

void OpenItem(const std::string& typedName, std::string item, int32_t a0, int32_t b0) {
  AudioState& a = Audio();
  TraceStep("OpenItem", Quoted(typedName) + ", " + Quoted(item), "");
  item = ItemOrTypedName(typedName, item, a.texts.entry(T_PICKER_NAME));
  if (item.empty()) return;
  bool accepted = suite::PatternListTakes(a.texts.entry(T_AUDIO_PATTERNS), item);
  if (IsInternetAddress(item) && SKINTERNETSTATE(0) == 0) {
    a.dialUp = SKRASCONNECT();
    if (a.dialUp == 0) {
      suite::boxes::ShowWarningBox(suite::WindowsErrorText(kNoConnectionError) + "|" + item);
      accepted = false;
    }
  }
  // Items of other kinds are ignored without a message.
  if (!accepted) return;
  if (a.layoutMode != LAYOUT_AUDIO) BuildPlayer(LAYOUT_AUDIO);
  StartPlayback(item, a0, b0);
}

void StartPlayback(const std::string& item, int32_t from, int32_t to) {
  AudioState& a = Audio();
  if (item.empty()) return;
  StopMeterTimer();
  CloseStream();
  if (PaneControl(ID_POSITION) != nullptr) SendMessageA(PaneControl(ID_POSITION), TBM_SETPOS, 1, 0);
  int32_t result = OpenMedia(item);
  if (result == 1 || result == 2) {
    if (a.streamOpen && picker::FxPanelWindow() == nullptr) picker::CreateFxPanel();
    int32_t played = PlayMedia(from, to);
    if (played == 1) {
      StartMeterTimer();
      ShowTitles(item);
      ShowPaneControl(ID_PLAY, false);
      ShowPaneControl(ID_PAUSE, true);
      TraceStep("Playing", Quoted(item), std::to_string(a.index));
    } else {
      result = played;
    }
  }
  if (result < 1) suite::boxes::ShowWarningBox(PlaybackErrorText(a.texts.entry(T_PLAY_FAILED), item, result));
}

void OpenList(const std::string& list) {
  AudioState& a = Audio();
  a.playList = list;
  a.count = static_cast<int32_t>(suite::ItemFieldCount(list));
  TraceStep("ItemList", Quoted(list), std::to_string(a.count));
  if (a.count > 1) {
    a.index = 1;
    OpenItem("", suite::ItemField(list, 1), 0, 0);
  } else {
    OpenItem("", list, 0, 0);
  }
}

void PreviousItem() {
  AudioState& a = Audio();
  if (a.count <= 1) return;
  a.index = audio::PreviousIndex(a.index, a.count);
  OpenItem("", suite::ItemField(a.playList, static_cast<size_t>(a.index)), 0, 0);
}

void NextItem() {
  AudioState& a = Audio();
  if (a.count <= 1) return;
  a.index = audio::NextIndex(a.index, a.count);
  OpenItem("", suite::ItemField(a.playList, static_cast<size_t>(a.index)), 0, 0);
}

void PlayCommand() {
  AudioState& a = Audio();
  if (!a.streamOpen) {
    // Nothing open (stopped at the end of the list): the current item again.
    std::string item = a.count > 1 ? suite::ItemField(a.playList, static_cast<size_t>(a.index)) : a.playList;
    if (!item.empty()) OpenItem("", item, 0, 0);
    return;
  }
  ShowPaneControl(ID_PLAY, false);
  ShowPaneControl(ID_PAUSE, true);
  if (CurrentPercent() >= 100) {
    PlayMedia(static_cast<int32_t>(a.startPosition), 0);
  } else {
    ChannelStart();
  }
  StartMeterTimer();
}

void PauseCommand() {
  AudioState& a = Audio();
  if (!a.streamOpen) return;
  ShowPaneControl(ID_PLAY, true);
  ShowPaneControl(ID_PAUSE, false);
  StopMeterTimer();
  ChannelPause();
  ResetLevelBars();
  HWND spectrum = FindWindowA("ORBSPEC", nullptr);
  if (spectrum != nullptr) suite::SendSuiteCommand(spectrum, suite::CMD_PAUSE, "");
}

void SeekPercent(int32_t percent) {
  AudioState& a = Audio();
  if (percent > 100) percent = 100;
  if (percent < 0) percent = 0;
  HWND marquee = panels::Panels().marquee;
  if (marquee != nullptr) SetWindowTextA(marquee, "");
  if (!a.streamOpen || percent == CurrentPercent()) return;
  uint32_t position = SeekPosition(percent, a.startPosition, a.endPosition);
  // Playing, not merely "active": an item the user paused stays paused.
  bool playing = ChannelIsActive() != 0 && a.meterRunning;
  ChannelStart();
  ChannelSetPosition(position);
  if (!playing) ChannelPause();
}

void StopAndQuit() {
  AudioState& a = Audio();
  StopMeterTimer();
  SKSETCTLTEXT(a.mainWindow, a.texts.entry(T_TITLE).c_str());
  ChannelStop();
  CloseStream();
  if (a.barsDrawn) ResetLevelBars();
  a.barsDrawn = false;
  ShowPaneControl(ID_PAUSE, false);
  ShowPaneControl(ID_PLAY, true);
  a.count = 0;
  a.index = 0;
  a.playList.clear();
  PostMessageA(a.mainWindow, WM_SYSCOMMAND, SC_CLOSE, reinterpret_cast<LPARAM>(Pane()));
}

VOID CALLBACK MeterTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  AudioState& a = Audio();
  if (!a.streamOpen) return;
  int32_t percent = CurrentPercent();
  HWND position = PaneControl(ID_POSITION);
  if (position != nullptr && percent < 100 && GetCapture() != position) SKSETTRACKPOS(position, percent);
  FeedLevels(BASSCHANNELGETLEVEL());
  HWND marquee = panels::Panels().marquee;
  if (marquee != nullptr) panels::MarqueeProc(marquee, WM_TIMER, 0, 0);
  if (percent >= 100) OnItemFinished();
}

}  // namespace audio
