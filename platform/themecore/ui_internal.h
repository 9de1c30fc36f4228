// What the engine's window parts share: the skin numbers they draw with, the
// engine's own window classes, the subclass that lays out holders and
// answers control colours in a program's window, and the small drawing and
// tracing helpers.  Each declaration below names the file that defines it:
// windows.cpp (classes, subclass, metrics), holders.cpp, menubar.cpp,
// frame.cpp (with frame_drawing.cpp behind frame.h), buttons.cpp,
// trackbar.cpp, controls.cpp, boxes.cpp and drawing.cpp.
#pragma once

#include <windows.h>

#include "engine_internal.h"

#include <cstdint>
#include <string>

namespace themecore {

// Skin colours the windows draw with (SkinColour numbers; README, "Skin
// colours").
namespace colour {
constexpr int32_t kControlText = 101;     // text of lists, edits, buttons
constexpr int32_t kControlBack = 104;     // background of lists, edits, button faces
constexpr int32_t kLight = 105;           // 3-D light edge
constexpr int32_t kShadow = 106;          // 3-D shadow edge
constexpr int32_t kCaptionBack = 107;     // caption of the active window
constexpr int32_t kCaptionBackIdle = 108; // caption of an inactive window
constexpr int32_t kCaptionText = 109;
constexpr int32_t kCaptionTextIdle = 110;
constexpr int32_t kWindowFace = 111;      // the frame's borders
constexpr int32_t kBoxBack = 112;         // panels, holders, boxes
constexpr int32_t kBoxText = 113;
constexpr int32_t kHighlightBack = 114;   // selection, hot menu-bar title
constexpr int32_t kHighlightText = 115;
constexpr int32_t kMenuBack = 116;        // the menu bar
constexpr int32_t kMenuText = 117;
constexpr int32_t kStatusText = 120;
constexpr int32_t kStatusBack = 123;
}  // namespace colour

// Skin sizes the windows are laid out with (SkinMetric numbers; README,
// "Skin sizes").
namespace metric {
constexpr int32_t kCaptionHeight = 1;   // the caption, top edge included
constexpr int32_t kMenuBarHeight = 2;
constexpr int32_t kStatusHeight = 3;
constexpr int32_t kFrameLeft = 4;
constexpr int32_t kFrameRight = 5;
constexpr int32_t kFrameBottom = 6;
constexpr int32_t kCaptionButtonWidth = 7;
constexpr int32_t kCaptionButtonHeight = 8;
constexpr int32_t kCaptionButtonsRight = 9;  // from the right edge
constexpr int32_t kCaptionButtonsTop = 10;
constexpr int32_t kTitleX = 11;
constexpr int32_t kTitleY = 12;
constexpr int32_t kIconX = 16;
constexpr int32_t kIconY = 21;
}  // namespace metric

// SkinMetric(n), or a built-in size when the skin gives none that fits a
// frame (SkinMetric falls back to GetSystemMetrics, whose number n means
// something else entirely).
int32_t FrameMetric(int32_t n);

// --- the engine's window classes (windows.cpp) ---
inline constexpr char kClipClass[] = "SKCLIP";
inline constexpr char kMenuClass[] = "SKMENU";
inline constexpr char kZoomClass[] = "SKZOOM";
inline constexpr char kStatusClass[] = "SKSTATUS";
inline constexpr char kButtonClass[] = "SKBUTTON";
inline constexpr char kTrackClass[] = "SKTRACK";
inline constexpr char kBoxClass[] = "SKMSGBOX";
// A program's own control area (a picture with scroll bars): never laid
// out by the engine.
inline constexpr char kControlClass[] = "SKCTL";

enum class EngineClass { kNone, kClip, kMenu, kZoom, kStatus, kButton, kTrack, kBox, kControl };

// Registers every class above once per process; false when one fails.
bool RegisterEngineClasses();
EngineClass ClassOf(HWND window);

// --- the subclass of a program's window (windows.cpp) ---
enum SubclassDuty : unsigned {
  kLayoutHolders = 1,   // WM_SIZE lays out the holders first
  kAnswerColours = 2,   // WM_CTLCOLOR* of coloured children answered
  kFreeColours = 4,     // the window's SKSETCOLOR record freed with it
};
// Adds duties to the engine's subclass of a window that is not one of the
// engine's own (whose procedures do these duties themselves).
void AddSubclassDuties(HWND window, unsigned duties);

// --- holders (holders.cpp) ---
// Places the menu-bar holders, status windows and client holders of
// `parent` in its client area.
void LayoutHolders(HWND parent);
// The first visible menu-bar holder of a main window, null when none.
HWND FindMenuHolder(HWND mainWindow);
// The menu-bar state of a "SKMENU" holder, null for any other window.
struct MenuBarState;
MenuBarState* MenuBarOf(HWND holder);
// True when the point lies on the size grip of the window's status line.
bool IsOnSizeGrip(HWND mainWindow, POINT screenPoint);

// --- the menu bar (menubar.cpp) ---
MenuBarState* CreateMenuBarState();
void DestroyMenuBarState(MenuBarState* state);
// The holder's own handling of a menu-bar message; true when it is done.
bool HandleMenuBarMessage(HWND holder, MenuBarState* state, UINT message, WPARAM wParam,
                          LPARAM lParam, LRESULT* result);
// Opens a popup of the bar from the keyboard: the popup whose title has
// `mnemonic` after its '&', or the first popup when mnemonic is 0.  False
// when nothing opened.
bool OpenMenuBarFromKey(HWND holder, char mnemonic);
// The skin's "menubar" image, or one made in skin colours with the menu-bar
// height; the engine owns it.
HBITMAP MenuBarImage();

// --- the frame of main windows (frame.cpp) ---
// SKGETMESSAGE's frame part: true when the frame handled the message fully
// (*result is then what the window procedure returns).
bool HandleFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT* result);
bool SetSystemButtonTip(HWND mainWindow, const char* tip);
// The first main window whose frame the engine draws, while it exists.
HWND FramedMainWindow();

// --- frames a caller draws itself (frame_pieces.cpp) ---
// A window given to SKSETNEWFRAME: its caller draws its frame, and
// SKGETMESSAGE's frame leaves it alone.
bool IsCallerFramed(HWND window);

// --- control colours (controls.cpp) ---
struct ControlColours {
  bool hasText = false;
  bool hasBack = false;
  COLORREF text = 0;
  COLORREF back = 0;
  HBRUSH backBrush = nullptr;  // owned
};
// The SKSETCOLOR record of a control, null when it has none.
const ControlColours* ColoursOf(HWND control);
void FreeColours(HWND control);
// Answers WM_CTLCOLOR* for a control with SKSETCOLOR colours; with
// `skinDefaults`, lists, edits, statics and buttons without them get the
// skin's control or panel colours.  False when it has no answer.
bool AnswerControlColour(UINT message, HDC dc, HWND control, bool skinDefaults,
                         LRESULT* brush);

// --- buttons and track bars (buttons.cpp, trackbar.cpp) ---
enum class ButtonKind { kPush, kCheck, kRadio };
struct ButtonLook {
  bool hasColours = false;
  COLORREF text = 0;
  COLORREF face = 0;
};
// Draws a push button's look (the engine's buttons' look) for any button
// window into `rect` of a DC: its text and font, pressed or hot, with a
// focus rectangle when focused and asked for.
void DrawPushButtonLook(HWND window, HDC dc, const RECT& rect, bool pushed, bool hot, bool focused);
// The same look with a given text and font (the skin's caption font when
// null), never focused: the pictures SKDRAWBUT3D keeps (looks.cpp).
void DrawPushButtonPicture(HWND window, HDC dc, const RECT& rect, const char* text, HFONT font,
                           bool pushed, bool hot);
// An owner-drawn button (ODT_BUTTON) in that look: pressed for
// ODS_SELECTED, hot for ODS_HOTLIGHT; false for other items
// (control_answers.cpp).
bool DrawButtonItem(const DRAWITEMSTRUCT* item);
HWND CreateSkinButton(HWND parent, ButtonKind kind, const char* text, HFONT font, int x, int y,
                      int width, int height, int id, const ButtonLook& look);
LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HBITMAP CheckBoxImage();
// The radio button's image: four states side by side, as CheckBoxImage.
HBITMAP RadioImage();
HWND CreateSkinTrackBar(HWND parent, bool vertical, HBITMAP track, int x, int y, int value, int id,
                        HBITMAP thumb);
LRESULT CALLBACK TrackBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Position of a track bar (0-100); -1 when the window is none.
int32_t TrackBarPosition(HWND trackBar);
bool SetTrackBarPosition(HWND trackBar, int32_t value, bool notify);

// --- the message box (boxes.cpp) ---
LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Where a window of `size` goes: centred on the owner when it shows, else
// on the work area (the screen when there is none); kept inside the work
// area.
POINT Placement(HWND owner, SIZE size);

// What the engine uses of the callers' box style record (the record passed
// to SKMSGBOX, and to SKBUT3D as its style argument): little-endian, icon
// handle at byte 4, colour 1 (text) at 8, colour 2 (background) at 12, the
// 1-based default button at byte 24.  The rest belongs to other boxes.
struct StyleRecord {
  HICON icon = nullptr;
  COLORREF text = 0;
  COLORREF back = 0;
  int defaultButton = 0;  // 0 when not given
};
// Reads a record the caller points at; false when `record` is null or its
// bytes cannot be read.
bool ReadStyleRecord(const void* record, StyleRecord* style);

// --- holders' procedures (holders.cpp) ---
LRESULT CALLBACK HolderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StatusProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// --- drawing helpers (drawing.cpp) ---
void FillSolid(HDC dc, const RECT& rect, COLORREF colour);
// A one-pixel 3-D edge: `topLeft` on the top and left sides, `bottomRight`
// on the others.
void DrawEdgeLines(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight);
// A solid brush of the colour that lives as long as the process (one per
// colour asked for).
HBRUSH CachedBrush(COLORREF colour);
// Copies a rectangle leaving out the pixels of `key`.
bool TransparentCopy(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                     int sourceY, COLORREF key);
// Size of a bitmap; false when it is none.
bool BitmapSize(HBITMAP bitmap, int* width, int* height);
// Tiles a bitmap over the rectangle from its top-left corner (cut at the
// far edges); false when there is no tile (wait_helpers.cpp).
bool TileBitmap(HDC dc, int x, int y, int width, int height, HBITMAP tile);
// The memory bitmaps kept per window (SKCREATEMEMBMP and its companions),
// not traced; the DC is null when the window has none.
bool CreateWindowBitmap(HWND window, int width, int height);
HDC WindowBitmapDc(HWND window);
bool DeleteWindowBitmap(HWND window);
// The size of a window's memory bitmap; false (0 by 0) when it has none.
bool WindowBitmapSize(HWND window, int* width, int* height);
// The region of every pixel of a bitmap that is not `keyColour` (-1: the
// bottom-left pixel's colour); the caller deletes it.
HRGN BitmapRegion(HBITMAP bitmap, int32_t keyColour);

}  // namespace themecore
