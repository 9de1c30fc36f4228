// The audio player's pane: BuildPlayer over the shared player panels, and
// where this program's pane differs from the media player's (it floats,
// the body drags it and then tells the companion where it went, it drags
// the media player's pane along, double clicks act only in the audio
// layout, there is no popup menu, an unusable saved place is centred).
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "audio_state.h"
#include "core/audio_rules.h"
#include "core/item_list.h"
#include "core/module_lists.h"
#include "core/suite_command_codes.h"
#include "fx_panel.h"
#include "orbboxes.h"
#include "panels.h"
#include "suite_command.h"
#include "themecore.h"
#include "thread_timers.h"

namespace audio {

namespace {

constexpr int32_t kFloatingPane = 0x20;
constexpr int32_t kDefaultVolume = 50;
constexpr int32_t kHelpImageLayout = 4;
constexpr uint32_t kDragSettleMs = 20;

// Tooltips by command id.
std::string TipOf(int id) {
  const suite::TextTable& t = Audio().texts;
  switch (id) {
    case ID_PLAY: return t.entry(14);
    case ID_PAUSE: return t.entry(15);
    case ID_EFFECTS: return t.entry(16);
    case ID_COMPANION: return t.entry(17);
    case ID_PREVIOUS: return t.entry(18);
    case ID_NEXT: return t.entry(19);
    case ID_OPEN: return t.entry(20);
    case ID_MIXER: return t.entry(24);
    case ID_MIXER2: return t.entry(25);
    case ID_STOP_QUIT: return t.entry(26);
    case ID_HELP: return t.entry(T_HELP_TIP);
    case ID_VOLUME: return t.entry(23);
    case ID_POSITION: return t.entry(22);
    case ID_REPEAT: return t.entry(35);
  }
  return std::string();
}

const std::vector<int32_t>& DestroyOrder() {
  static const std::vector<int32_t> order = {ID_EFFECTS, ID_COMPANION, ID_PREVIOUS, ID_NEXT,   ID_PLAY,
                                             ID_PAUSE,   ID_OPEN,      ID_MIXER,    ID_MIXER2, ID_STOP_QUIT,
                                             ID_POSITION, ID_VOLUME,   ID_REPEAT,   ID_HELP};
  return order;
}

std::string Le32(uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

// After a drag by the body the companion hears where the pane went.
void AfterBodyDrag(HWND pane) {
  suite::WaitPumping(kDragSettleMs);
  SendToCompanion(suite::CMD_PANE_MOVED, Le32(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pane))));
}

ScreenArea VirtualScreen() {
  ScreenArea area;
  area.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  area.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  area.right = area.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  area.bottom = area.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (area.right <= area.left || area.bottom <= area.top) {
    area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return area;
}

ScreenArea Desktop() {
  RECT work = {};
  if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return {work.left, work.top, work.right, work.bottom};
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// A saved place that shows at least part of the pane somewhere on the
// screens is kept; anything else (none, or a monitor since removed) is
// centred on the desktop, since the pane is the program's only window.
void PlacePane(HWND pane) {
  panels::PanelState& s = panels::Panels();
  int32_t x = s.paneX, y = s.paneY;
  if (!PanePlaceVisible(x, y, s.paneWidth, s.paneHeight, VirtualScreen())) {
    CentreIn(Desktop(), s.paneWidth, s.paneHeight, &x, &y);
  }
  SetWindowPos(pane, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MakeControl(int32_t kind, int id, int show) {
  int32_t layout = id == ID_HELP ? kHelpImageLayout : Audio().layoutMode;
  panels::CreatePanelControl(kind, layout, id, TipOf(id), show);
}

void SetVolumeBar() {
  HWND bar = PaneControl(ID_VOLUME);
  panels::PanelState& s = panels::Panels();
  int32_t volume = panels::MixerGetVolume(s.mixer);
  if (bar == nullptr || volume < 0) return;
  if (volume == 0) volume = kDefaultVolume;
  SendMessageA(bar, TBM_SETPOS, TRUE, volume);
  panels::MixerSetVolume(s.mixer, volume);
}

void SetFxHost() {
  AudioState& a = Audio();
  picker::FxPanelHost host;
  host.mainWindow = a.mainWindow;
  host.pane = Pane();
  host.instance = a.instance;
  host.smallIcon = a.icon;
  host.hasHelpButton = true;
  host.helpMarker = a.programFolder + a.texts.entry(77);
  host.helpTopic = a.texts.entry(79);
  host.helpImage = a.texts.entry(80).empty() ? std::string() : a.programFolder + a.texts.entry(80);
  host.helpDocument = a.programFolder + a.texts.entry(T_HELP_FILE);
  host.skinFile = a.settings.skin;
  picker::SetFxPanelHost(host);
}

}  // namespace

HWND Pane() { return panels::Panels().pane; }

HWND PaneControl(int id) { return panels::Control(id); }

void ShowPaneControl(int id, bool shown) {
  HWND control = PaneControl(id);
  if (control != nullptr) ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
}

void ResetLevelBars() {
  panels::PanelState& s = panels::Panels();
  s.meterModel = panels::LevelMeterModel();
  if (s.meter != nullptr) InvalidateRect(s.meter, nullptr, TRUE);
}

void SendToCompanion(uint32_t code, const std::string& text) {
  AudioState& a = Audio();
  if (a.companion == 0) return;
  HWND companion = FindWindowA(suite::ModuleClass(a.companion).c_str(), nullptr);
  if (companion != nullptr) suite::SendSuiteCommand(companion, code, text);
}

void SetUpPanels() {
  AudioState& a = Audio();
  panels::PanelHost host;
  host.instance = a.instance;
  host.icon = a.icon;
  host.programFolder = a.programFolder;
  host.paneTitle = a.texts.entry(T_TITLE);
  host.mainWindow = [] { return Audio().mainWindow; };
  host.dockField = [] { return kFloatingPane; };
  host.definitionImages = [] { return true; };
  host.commandProcedure = OrbAudioWindowProc;
  host.filesDropped = [](const std::vector<std::string>& files) {
    std::string list;
    for (const std::string& file : files) list += (list.empty() ? "" : "|") + file;
    OpenList(list);
  };
  host.warn = [](const std::string& text) { suite::boxes::ShowWarningBox(text); };
  host.afterDrag = AfterBodyDrag;
  host.companionClass = suite::ModuleClass(suite::MODULE_MEDIA_PLAYER);
  host.doubleClicksActive = [] { return Audio().layoutMode == LAYOUT_AUDIO; };
  panels::Panels().host = host;
  panels::Panels().paneX = a.settings.paneX;
  panels::Panels().paneY = a.settings.paneY;
}

void BuildPlayer(int32_t mode) {
  AudioState& a = Audio();
  HWND fxBefore = picker::FxPanelWindow();
  panels::DestroyPanelControls(DestroyOrder());
  panels::DestroyPane();
  HWND pane = panels::CreatePane(mode);
  if (pane == nullptr) return;
  a.layoutMode = mode;
  PlacePane(pane);
  SetFxHost();

  CRITICAL_SECTION building;
  InitializeCriticalSection(&building);
  EnterCriticalSection(&building);
  for (int id : {ID_EFFECTS, ID_COMPANION, ID_PREVIOUS, ID_NEXT, ID_PLAY}) MakeControl(1, id, SW_SHOW);
  MakeControl(1, ID_PAUSE, SW_HIDE);
  MakeControl(1, ID_OPEN, SW_SHOW);
  MakeControl(1, ID_MIXER, SW_SHOW);
  MakeControl(1, ID_MIXER2, SW_HIDE);
  MakeControl(1, ID_STOP_QUIT, SW_SHOW);
  MakeControl(2, ID_POSITION, SW_SHOW);
  MakeControl(2, ID_VOLUME, SW_SHOW);
  SetVolumeBar();
  MakeControl(3, ID_REPEAT, SW_SHOW);
  if (a.repeatDefault && PaneControl(ID_REPEAT) != nullptr) SKSETCHECK(PaneControl(ID_REPEAT), 1);
  if (!a.texts.entry(T_HELP_FILE).empty()) MakeControl(1, ID_HELP, SW_SHOW);
  if (!IsWindowVisible(pane)) ShowWindow(pane, SW_SHOW);
  LeaveCriticalSection(&building);
  DeleteCriticalSection(&building);

  if (mode == LAYOUT_AUDIO) {
    panels::CreateMarquee();
  } else if (PaneControl(ID_EFFECTS) != nullptr) {
    EnableWindow(PaneControl(ID_EFFECTS), FALSE);
  }
  if (fxBefore != nullptr && picker::FxPanelWindow() != fxBefore) picker::CreateFxPanel();
}

}  // namespace audio
