// The equalizer and effects panel of an audio-library stream: the picker's
// panel without a help button, opened above the control bar (or the main
// window when there is no bar).  It is made, hidden, when such a stream
// starts; button 53 shows or hides it.
#include <windows.h>

#include "fx_panel.h"
#include "player_parts.h"
#include "player_state.h"

namespace player {

namespace {

// The bar is made again with every layout, so the panel is told the
// current one each time it is made.
void TellPanelItsHost() {
  PlayerState& p = Player();
  picker::FxPanelHost host;
  host.mainWindow = p.mainWindow;
  host.pane = ControlBar();
  host.instance = p.instance;
  host.smallIcon = p.icon;
  host.hasHelpButton = false;
  picker::SetFxPanelHost(host);
}

// The window that shows or hides the panel: its skinned frame.
HWND PanelFrame(HWND panel) {
  HWND frame = GetParent(panel);
  return frame != nullptr ? frame : panel;
}

}  // namespace

void CreateEffectsPanelIfMissing() {
  if (picker::FxPanelWindow() != nullptr) return;
  TellPanelItsHost();
  picker::CreateFxPanel();
}

void ToggleEffectsPanel() {
  HWND panel = picker::FxPanelWindow();
  if (panel == nullptr) {
    CreateEffectsPanelIfMissing();
    panel = picker::FxPanelWindow();
    if (panel != nullptr) ShowWindow(PanelFrame(panel), SW_SHOW);
    return;
  }
  HWND frame = PanelFrame(panel);
  ShowWindow(frame, IsWindowVisible(frame) ? SW_HIDE : SW_SHOW);
}

bool EffectsPanelOpen() { return picker::FxPanelWindow() != nullptr; }

}  // namespace player
