// The control bar's layouts (panel_layouts.h): each rebuilds the pane for
// its layout value and makes the controls core/layout_controls plans for
// it, through the shared panels (panels/).
#include "panel_layouts.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/item_list.h"
#include "core/layout_controls.h"
#include "core/module_lists.h"
#include "core/suite_command_codes.h"
#include "player_parts.h"
#include "open_item.h"
#include "orbboxes.h"
#include "panels.h"
#include "playback_engine.h"
#include "player_state.h"
#include "suite_command.h"
#include "themecore.h"
#include "themecore_player.h"
#include "trace_writer.h"

namespace player {

namespace {

constexpr int ID_VOLUME = 76;
constexpr int32_t kFloatingBar = 0x20;
constexpr int32_t kDefaultVolume = 50;
constexpr size_t T_CHOOSER_MODULE = 78;

bool PaneDocked() { return Options().OptionField5() < kFloatingBar; }

void OnFilesDropped(const std::vector<std::string>& files) {
  PlayerState& p = Player();
  std::string list;
  for (const std::string& file : files) list += (list.empty() ? "" : "|") + file;
  p.itemList = list;
  p.itemCount = static_cast<int32_t>(files.size());
  p.itemIndex = 1;
  p.displayTimes.clear();
  OpenItem("", files.front(), 0, 0);
}

bool ChooserAvailable() {
  PlayerState& p = Player();
  std::string module = suite::CommaField(p.texts.entry(T_CHOOSER_MODULE), 1);
  return (!module.empty() && SKEXIST((p.programFolder + module).c_str())) ||
         SKEXIST((p.programFolder + "CHOOSER.DLL").c_str());
}

// The volume bar shows the mixer's volume; a silent mixer gets the saved
// volume (or a middle one) back.
void SetVolumeBar() {
  HWND bar = ControlOf(ID_VOLUME);
  if (bar == nullptr) return;
  int32_t volume = MasterVolume();
  if (volume <= 0) {
    volume = Engine().savedVolume > 0 ? Engine().savedVolume : kDefaultVolume;
    SendMessageA(bar, TBM_SETPOS, TRUE, volume);
    SetMasterVolume(volume);
  } else {
    SendMessageA(bar, TBM_SETPOS, TRUE, volume);
  }
}

void CloseCompanion() {
  PlayerState& p = Player();
  HWND companion = FindWindowA(suite::ModuleClass(suite::MODULE_SPECTRUM).c_str(), nullptr);
  if (companion != nullptr) suite::SendSuiteCommand(companion, suite::CMD_CLOSE, "");
  p.companionModule = nullptr;
}

void TraceLayout(const char* name, int32_t value, HWND pane) {
  orbtrace::CallLine call("orbplay", name);
  if (value != 0) call.Number(value);
  orbtrace::WriteCall(call, pane != nullptr ? 1 : 0);
}

// The steps every layout shares; `layout` 1, 2 or 4, `kind` the media kind.
void ShowLayout(int32_t layout, int32_t kind, const char* traceName) {
  PlayerState& p = Player();
  const int32_t previous = p.layoutMode;
  const bool effectsPanelBefore = EffectsPanelOpen();
  p.layoutMode = layout;
  const int32_t field4 = Options().OptionField4();
  if (field4 == 0) {
    TraceLayout(traceName, layout == LAYOUT_MEDIA ? kind : 0, nullptr);
    return;
  }
  if (SKINSET(field4, layout) == 0) {
    if (ControlBar() != nullptr) ShowWindow(ControlBar(), SW_HIDE);
    TraceLayout(traceName, layout == LAYOUT_MEDIA ? kind : 0, nullptr);
    return;
  }
  if (previous == LAYOUT_MEDIA && layout != LAYOUT_MEDIA) ResumeAudioPlayer();
  if (layout == LAYOUT_MEDIA) ResetDisplayState();

  const int32_t layoutValue = layout == LAYOUT_MEDIA ? kind : layout;
  panels::DestroyPanelControls(ControlDestroyOrder());
  panels::DestroyPane();
  HWND pane = panels::CreatePane(layoutValue);
  TraceLayout(traceName, layout == LAYOUT_MEDIA ? kind : 0, pane);
  if (layoutValue != 8) CloseCompanion();
  if (pane == nullptr) return;
  if (layout == LAYOUT_MEDIA) {
    StopBackgroundSound();
  } else {
    Engine().mediaKind = MEDIA_KIND_NONE;
  }

  LayoutFacts facts;
  facts.layout = layout;
  facts.mediaKind = kind;
  facts.paneDocked = PaneDocked();
  facts.chooserAvailable = ChooserAvailable();
  std::vector<PlannedControl> plan =
      PlanLayoutControls(facts, [&p](size_t n) { return p.texts.entry(n); });
  for (const PlannedControl& control : plan) {
    panels::CreatePanelControl(control.kind, control.imageLayout, control.id, control.tip,
                               control.shown ? SW_SHOW : SW_HIDE);
    HWND made = ControlOf(control.id);
    if (made != nullptr) EnableWindow(made, control.enabled ? TRUE : FALSE);
  }
  SetVolumeBar();

  if (IsWindowVisible(p.mainWindow)) ShowWindow(pane, SW_SHOWNOACTIVATE);
  if (p.alwaysOnTop) {
    SetWindowPos(p.mainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(pane, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (layout == LAYOUT_MEDIA && kind == MEDIA_KIND_AUDIO && facts.paneDocked) panels::CreateMarquee();
  // An effects panel open before the layout is there after it too.
  if (layout == LAYOUT_MEDIA && effectsPanelBefore) CreateEffectsPanelIfMissing();
}

}  // namespace

HWND ControlBar() { return panels::Panels().pane; }

HWND ControlOf(int id) { return panels::Control(id); }

void SetUpPanels() {
  PlayerState& p = Player();
  panels::PanelHost host;
  host.instance = p.instance;
  host.icon = p.icon;
  host.programFolder = p.programFolder;
  host.paneTitle = p.texts.entry(T_TITLE);
  host.mainWindow = [] { return Player().mainWindow; };
  host.dockField = [] { return Options().OptionField5(); };
  host.definitionImages = [] { return Options().OptionField22() != 0; };
  host.commandProcedure = PlayerWindowProc;
  host.filesDropped = OnFilesDropped;
  host.zoomed = [] { return Player().displayState == DISPLAY_ZOOMED; };
  // What is zoomed is repainted after the pane was dragged over it.
  host.afterDrag = [](HWND) {
    if (Player().displayState == DISPLAY_ZOOMED && Player().zoomHolder != nullptr) {
      InvalidateRect(Player().zoomHolder, nullptr, TRUE);
    }
  };
  host.companionClass = suite::ModuleClass(suite::MODULE_AUDIO_PLAYER);
  host.popupMenu = [] { return Player().popup1; };
  host.alwaysOnTop = [] { return Player().alwaysOnTop; };
  host.setAlwaysOnTop = [](bool onTop) { SetMenuItemCheck(101, onTop); };
  host.warn = [](const std::string& text) { suite::boxes::ShowWarningBox(text); };
  panels::Panels().host = host;
  panels::Panels().mixer = p.mixer;
}

void ShowMediaLayout(int32_t kind) { ShowLayout(LAYOUT_MEDIA, kind, "ShowMediaLayout"); }
void ShowDocumentLayout() { ShowLayout(LAYOUT_DOCUMENT, 0, "ShowDocumentLayout"); }
void ShowPictureLayout() { ShowLayout(LAYOUT_PICTURE, 0, "ShowPictureLayout"); }

void DrawLevelMeter(int32_t left, int32_t right) { panels::ShowLevels(left, right); }

void BlankLevelMeter() {
  panels::PanelState& s = panels::Panels();
  s.meterModel = panels::LevelMeterModel();
  if (s.meter != nullptr) InvalidateRect(s.meter, nullptr, TRUE);
}

void ShowPlayingTitle(const std::string& title) {
  HWND marquee = panels::Panels().marquee;
  if (marquee != nullptr) SetWindowTextA(marquee, title.c_str());
}

void TickPlayingTitle() {
  HWND marquee = panels::Panels().marquee;
  if (marquee != nullptr) panels::MarqueeProc(marquee, WM_TIMER, 0, 0);
}

void RepaintControlBar() {
  if (ControlBar() != nullptr) InvalidateRect(ControlBar(), nullptr, TRUE);
}

VOID CALLBACK VolumeFollowTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (Options().OptionField14() != OPTION_KEEP_VOLUME) return;
  HWND bar = ControlOf(ID_VOLUME);
  if (bar == nullptr || !IsWindowEnabled(bar)) return;
  // Without a mixer the bar keeps what the user set.
  int32_t volume = MasterVolume();
  if (volume >= 0 && volume != SKGETTRACKPOS(bar)) SKSETTRACKPOS(bar, volume);
}

}  // namespace player
