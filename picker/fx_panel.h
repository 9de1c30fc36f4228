// The equalizer and effects panel: a small skinned popup (class
// ORBFXEFFECT) with ten vertical equalizer bars (ids 1-10, lowest band
// first), an On/Off box (11), a Reset box (12), five effect boxes (13
// Reverb, 14 Chorus, 15 Flanger, 16 Echo, 17 Rotate) and, in the audio
// player, a help button (99).  It has no audio logic of its own: it hands
// its window to the audio library (BASSFXWINDOW), which reads the controls
// by their ids, and tells the library which control changed.  The bars and
// boxes are kept in orbAudioFX.cfg in the temporary folder (FxSettings),
// read when the panel is made and written when it goes.
//
// One panel per process.  The program that compiles the panel in exports
// its procedure as FXPROC (.def: "FXPROC = PickerFXPROC@16").
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace picker {

// What the owning player tells the panel about itself, once, before the
// first CreateFxPanel.
struct FxPanelHost {
  HWND mainWindow = nullptr;  // owns the panel
  HWND pane = nullptr;        // the panel opens above it (null: above the main window)
  HINSTANCE instance = nullptr;
  HICON smallIcon = nullptr;  // the program's icon, the class's small icon
  // The audio player's panel has a help button, the media player's none.
  // The button is made only when the file helpMarker (text entry 77) does
  // not exist and the image helpImage (entry 80) does.
  bool hasHelpButton = false;
  std::string helpMarker;
  std::string helpTopic;     // entry 79: the button's tooltip and the help page
  std::string helpImage;
  std::string helpDocument;  // entry 14: opened by the shell when no help viewer is found
  std::string skinFile;
};

void SetFxPanelHost(const FxPanelHost& host);

// Makes the panel, hidden: the caller shows it by showing the panel's
// parent (the skin frame).  Below DirectX 8 it tells the user and makes
// nothing; the handle then stays 0, so a later request tries again.
void CreateFxPanel();

// The panel, or null when there is none (it goes with its frame's close
// box or its owner).
HWND FxPanelWindow();

// The settings file, in the temporary folder.
std::string FxSettingsPath();

LRESULT CALLBACK FxPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace picker

// FXPROC as the program exports it.
extern "C" LRESULT __stdcall PickerFXPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
