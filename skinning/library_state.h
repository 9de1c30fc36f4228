// What the library's parts share: the records of skinned windows and
// controls, the library-wide settings (capture flag, caption tips, tooltip
// window, the window hovered last), the skin's sizes, and the window
// procedures and operations each part offers the others.  All of it lives
// on the thread that loaded the library (its hooks watch only that thread),
// so nothing is locked.
//
// Parts: library_main.cpp (entry point, hooks, Alt keys), import_patch.cpp,
// engine_binding.cpp, skin_window.cpp (skSkinWindow and the tables),
// opening_effects.cpp, snapshot.cpp (pictures, capture, paint
// redirection), caption.cpp, frame_proc.cpp, controls.cpp,
// control_prepare.cpp, control_paint.cpp, menu_items.cpp, menu_bar.cpp,
// buttons.cpp, message_box.cpp.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/geometry.h"

namespace skinning {

// Private messages posted to a skinned window.
constexpr UINT kMsgOpeningEffect = 0x7FFF;  // wParam effect, lParam x | y << 16 off-screen offset
constexpr UINT kMsgSnapshotReady = 0x8000;

// `SkinnedWindowRecord`: one per skinned window.
struct WindowRecord {
  HWND window = nullptr;
  uint32_t initialExStyle = 0;
  uint32_t initialStyle = 0;
  uint32_t frameFlags = 0;
  WNDPROC previousProc = nullptr;
  uint32_t state = 0;       // 0 normal, 3 maximized by the caption, 0x97 hidden
  int32_t hot = 0;          // caption button numbers (caption_layout.h)
  int32_t pressed = 0;
  bool modalFrame = false;
  bool captionInactive = false;
  bool toolCaption = false;
  HMENU menu = nullptr;     // the window's menu when it was skinned
  HWND menuBar = nullptr;   // its SKMENU bar
  HWND statusBar = nullptr;
  HWND mdiClient = nullptr;
  bool captured = false;    // shown from its picture
  bool hasFrameBitmap = false;
  HDC snapshotDc = nullptr; // painting steered into the picture while set
  int32_t effect = 0;
  int16_t borderWidth = 0;
  int16_t extraTop = 0;
  bool tooltipAdded[7] = {};  // per caption button number
  // How far an effect -1 window was moved down, still to be taken back.
  int32_t offScreenOffset = 0;
};
using WindowRecordPtr = std::shared_ptr<WindowRecord>;

// `SkinnedWindowTable`, in the order the windows were skinned.
std::vector<WindowRecordPtr>& SkinnedWindows();
// The record of a window; null when it is not skinned.  Callers keep the
// pointer while they call out: a window destroyed meanwhile takes its
// record out of the table, not out of their hands.
WindowRecordPtr FindWindowRecord(HWND window);
// 1-based index of the window's record, 0 when none.
size_t FindSkinnedWindow(HWND window);
// Takes a window's record out of the table.
void RemoveWindowRecord(HWND window);

// `SkinnedControlRecord`.
struct ControlRecord {
  HWND window = nullptr;
  int32_t kind = 0;
  WNDPROC previousProc = nullptr;
  int32_t pressedHeaderItem = 0;
  RECT rect = {};
  int32_t transparent = 0;
};
std::vector<ControlRecord>& SkinnedControls();
const ControlRecord* FindControlRecord(HWND window);

// The top-level owner of a window (core/window_tree.h over the system's
// windows).
HWND TopLevelOwner(HWND window);
// 0 when the control is on the no-skin list for its current top-level
// owner, else -1.
int32_t MaySkin(HWND window);

// The skin's sizes, read from the engine.
SkinMetrics ReadSkinMetrics();
// The window's text, through the engine.
std::string WindowTextOf(HWND window);
// The window rectangle's size.
SIZE WindowSize(HWND window);

// The capture flag (skCaptureEnable): -1 on, 0 off.
int32_t CaptureFlag();

// --- import redirection (import_patch.cpp) ---
// Points the host executable's BeginPaint and EndPaint slots at the
// library; the first call does it, later calls nothing.
void RedirectHostPaint();
// Whether the host's BeginPaint now reaches skBeginPaint.
bool IsHostPaintRedirected();
// Points the slots back at what they held (the library is being unloaded).
void RestoreHostPaint();
// The host's own BeginPaint and EndPaint (the system's before redirection).
HDC CallRealBeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL CallRealEndPaint(HWND window, const PAINTSTRUCT* paint);

// --- the skin engine (engine_binding.cpp) ---
// 0 when the engine is not ready; see core/engine_start.h.
int32_t StartSkinEngine();

// --- skinning (skin_window.cpp) ---
LRESULT CallPrevious(const WindowRecord& record, HWND window, UINT message, WPARAM wParam,
                     LPARAM lParam);

// --- opening effects (opening_effects.cpp) ---
LRESULT OnOpeningEffect(const WindowRecordPtr& record, int32_t effect, LPARAM offsets);
LRESULT OnSnapshotReady(const WindowRecordPtr& record);

// --- pictures and capture (snapshot.cpp) ---
HDC TakeFrameSnapshot(const WindowRecordPtr& record);
void CopyToFrameBitmap(const WindowRecordPtr& record, HWND child);
void ClearSnapshotDC(const WindowRecordPtr& record);
HDC SnapShotOn(const WindowRecordPtr& record, bool captionInactive);
// WM_ACTIVATEAPP's capture part.
void OnActivateAppCapture(const WindowRecordPtr& record, WPARAM wParam);
// Whether a window is shown from its picture now.
bool IsShownFromPicture(const WindowRecord& record);

// --- the caption (caption.cpp) ---
void CreateCaptionButtons(const WindowRecordPtr& record);
void DrawCaption(const WindowRecord& record, HDC dc, const std::string& title, bool inactive);
void PaintFrame(const WindowRecord& record, bool withBorder);
int32_t CaptionButtonAt(const WindowRecord& record, POINT screen);
int32_t TrackCaptionHover(const WindowRecordPtr& record, POINT screen);
void DrawCaptionButton(const WindowRecord& record, int32_t button, int32_t state);
void SetupCaption(const WindowRecordPtr& record);
// A non-empty text replaces the stored caption tips; gives the stored text.
const std::string& CaptionTipsText(const std::string& text);
// The library's tooltip window, null before the first caption tip.
HWND CaptionTooltipWindow();
void DestroyCaptionTooltipWindow();
// Forgets a window hovered last that is going away.
void ForgetHoveredWindow(HWND window);
// The caption button window of a slot (0..6); null for any other slot.
HWND CaptionButtonWindow(int32_t slot);
void SizeCaptionButtonSlots();
// The caption buttons' font, at unload.
void DeleteCaptionFont();

// --- the frame procedure (frame_proc.cpp) ---
LRESULT CALLBACK FrameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PlaceBars(const WindowRecord& record);

// --- child controls (controls.cpp) ---
BOOL CALLBACK SkinChildProc(HWND child, LPARAM unused);
// Removes the no-skin entries of a top-level window going away.
void ForgetNoSkinEntriesOf(HWND owner);

// --- their preparation, borders and answers (control_prepare.cpp) ---
// A registered control's one-time preparation for its kind.
void PrepareControl(HWND control, int32_t kind);
// What every push button of a skinned window loses before it is classified.
void PreparePushButtonStyle(HWND button);
// A skinned push button's pictures (SKDRAWBUT3D) for a text, at its size.
void MakePushButtonPictures(HWND button, const char* text);
// The skinned border of a control on `dc` (its window DC when null); gives
// the border's width, 0 when it has none or no control is skinned.
int32_t PaintControlBorder(HWND window, HDC dc);
void PaintGroupBox(HWND window, HDC dc);
// The skin's control background over (0, 0, width, height) lined up with
// the top-level window's (a control at offset ox, oy); the panel colour
// without an image.
void TileAtOffset(HDC dc, int32_t ox, int32_t oy, int32_t width, int32_t height, HBITMAP tile);
// A host's owner-drawn list box item in the skin's list colours.
bool DrawListBoxItem(HWND owner, const DRAWITEMSTRUCT* item);
// WM_DRAWITEM at a skinned window or control: menu items, skinned list box
// items, buttons (the skinned ones by the engine, the host's own through
// `previous`).  False when the message must be passed on.
bool AnswerDrawItem(HWND window, WNDPROC previous, WPARAM wParam, DRAWITEMSTRUCT* item, LRESULT* result);
// WM_CTLCOLORSTATIC's skinned answer: the engine's brush, the background
// tiled under a transparent control when `tileUnder`, text colour 113.
HBRUSH AnswerControlColourStatic(HWND control, HDC dc, bool tileUnder);

// --- painting by kind (control_paint.cpp) ---
// The skinned control's own handling of a message; false when the message
// goes to the control's previous procedure unchanged.
bool HandleControlMessage(const ControlRecord& control, const WindowRecordPtr& owner, UINT message,
                          WPARAM wParam, LPARAM lParam, LRESULT* result);

// --- menus (menu_bar.cpp, menu_items.cpp) ---
// The unowned window's menu moved to an SKMENU bar; the bar, or null when
// none was made (the window then keeps its menu).
HWND MoveMenuToBar(HWND window, HMENU menu, int32_t x, int32_t y, int32_t width, int32_t height);
// WM_INITMENUPOPUP and WM_UNINITMENUPOPUP at a skinned window or control.
void PreparePopup(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// WM_MEASUREITEM and WM_DRAWITEM for a converted menu item; false when the
// item is not one.
bool MeasureMenuItem(HWND window, MEASUREITEMSTRUCT* item);
bool DrawMenuItem(HWND window, const DRAWITEMSTRUCT* item);
// The bar and its items drawn into a window's picture at (x, y).
void PrintMenuBar(HWND bar, HDC dc, int32_t x, int32_t y);
// Alt with a key at a skinned window or control: true when the key went
// to the owner's menu bar.
bool SendSysKeyToMenuBar(const WindowRecord& owner, WPARAM wParam, LPARAM lParam);
// At unload: the bar class the library registered.
void UnregisterMenuBarClass();
// GetMenu(window) and its submenus converted to owner-drawn items.
void SkinWindowMenu(HWND window);
// The next item without an id gets the first id again (each window's menu).
void RestartMenuIds();
// A popup opened and closed at a window: menu animation held off, the
// desktop's picture taken and given back.
void OpenPopup(HWND window, HMENU popup);
void ClosePopup(HWND window);
// A popup was opened at the window: its first item painted takes the
// desktop behind the whole popup.
void MarkPopupOpened(HWND window);
// A window going away: its popup state.
void ForgetPopupState(HWND window);

}  // namespace skinning
