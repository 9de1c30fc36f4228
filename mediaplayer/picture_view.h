// What the picture view, the slide show and the browser panes share: the
// current picture (held in the picture holder's memory bitmap), its side
// files, and the panes' visibility.  Owned by the main thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/picture_rules.h"
#include "core/side_files.h"
#include "imaging.h"

namespace player {

struct PictureViewState {
  std::string path;        // "" when no picture is shown
  int32_t width = 0;       // as drawn into the memory bitmap
  int32_t height = 0;
  int32_t scrollX = 0;
  int32_t scrollY = 0;
  bool pictureShown = false;  // set by a load, cleared by StartPictureTimer
  PictureSideFiles side;
  TransitionCycle cycle;
  bool cycleBuilt = false;
  bool abortPending = false;  // the status callback was asked to stop
  BITMAPHANDLE shown = {};    // the copy CurrentShownPicture hands out
  // The picture resampled to its fitted size (menu item 407), kept for the
  // next paint until the size or the picture changes.
  BITMAPHANDLE resampled = {};
  std::string resampledPath;
  int32_t resampledWidth = 0;
  int32_t resampledHeight = 0;
};

PictureViewState& PictureView();

// The option line's picture background colour.
COLORREF PictureBackground();
// ICONISE with the player's enlarge setting (menu item 409).
FitRect FitPicture(int32_t width, int32_t height, int32_t boxWidth, int32_t boxHeight);
// An imaging-library copy of the current picture taken from the memory
// bitmap; false (nothing allocated) when there is none.
bool CopyCurrentPicture(BITMAPHANDLE* copy);

// The picture the picture view shows: its bitmap (owned by the view, valid
// until the next call or picture) and path; no bitmap while none is shown.
struct ShownPicture {
  pBITMAPHANDLE bitmap = nullptr;
  std::string path;
};
ShownPicture CurrentShownPicture();

// Loads and shows one picture (OpenItem, command 404).
void ShowPicture(const std::string& item);
// Full screen for one picture: the current picture shown again.
void ShowPictureAgain();
// WM_PAINT of the picture holder and of the full-screen holder.
void PaintPictureWindow(HWND window);
// WM_HSCROLL and WM_VSCROLL of the picture holder.
void ScrollPicture(HWND window, UINT message, WPARAM wParam);
// The picture holder follows menu item 401: fitted without scroll bars, or
// at full size with them.
void ApplyPictureFit();
// Checks or unchecks 401 and applies it.
void SetPictureFit(bool fitted);
// Command 68: the document in the document layout, the picture in the
// picture layout, or the "no printer" message.
void PrintCommand();

// The slide show's full-screen painting (slide_show.cpp).
void PaintZoomHolder(HWND window);
// The time the current picture stays: the option line's, the slide-show
// file's for this picture, or in module mode its "tim" side file's.
int32_t CurrentDisplayTime();
// After a picture is shown: its sound, document and the slide timer.
void StartPictureTimer();
void KillTransitionTimer();

// Browser panes (browser_panes.cpp).
// Browser commands 48-50 (pages), 64 refresh, 65 and 66 zoom, 69 stop, 70.
void BrowserPaneCommand(int32_t id);
// Shows a document or address in the document pane, made when needed.
void CreateBrowserPane(const std::string& url);
// Hides both panes (the player hides, media plays).
void HideBrowserPanes();
// Back (-1) or forward (+1) in the document pane.
void StepContentPane(int32_t direction);
// ShowPicture's part: the document pane hidden, the index pane unless it
// shows beside pictures.
void HidePanesForPicture();
void DestroyBrowserPanes();
// The index pane's rectangle and side for the current layout (side 0: no
// pane; the rectangle is then empty).  Creates the pane when missing; a new
// pane, or one placed while the content holder is resized, is (re)loaded.
int32_t CreateIndexPane(int32_t& x, int32_t& y, int32_t& width, int32_t& height);
int32_t IndexLayoutBits();
bool IndexPaneExists();
// True when a document pane exists (printing goes to it in the document
// layout).
bool PrintContentPane();

}  // namespace player
