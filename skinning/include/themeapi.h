// THEMEAPI.DLL as a host program declares it: the skinning library's
// exports, stdcall with ANSI texts, exported under these names.  A host
// links the library by import, so that it starts in the thread that loads
// the host; the windows it skins must belong to that thread.
#pragma once

#include <windows.h>

#include <cstdint>

#ifdef THEMEAPI_BUILDING
#define THEMEAPI_API extern "C"
#else
#define THEMEAPI_API extern "C" __declspec(dllimport)
#endif

// The library's entry point (also its DLL entry point): hooks, keyboard
// cues and the capture flag at process attach, undone at detach.  1.
THEMEAPI_API BOOL __stdcall LIBMAIN(HINSTANCE module, DWORD reason, LPVOID reserved);

// Skins a top-level window and its child controls.  `captionTips`: "|"
// list whose fields 3-6 are the tooltips of the minimize, maximize, restore
// and close buttons ("" keeps the ones given before); `openingEffect`: -1
// picture taken once shown, 0 none, 1 copy, 2 fade, 3 slide down, 4 slide
// up, 5 zoom.  1 when skinned (also when it was already); 0 when the window
// has no style or the skin engine is not ready (nothing changed).
THEMEAPI_API int32_t __stdcall skSkinWindow(HWND window, const char* captionTips,
                                            int32_t openingEffect);
// The skinned message box (standard button ids; 0 when none matches).
THEMEAPI_API int32_t __stdcall skMessageBox(const char* text, int32_t type, const char* caption);
// The nine labels of the message box's buttons, a comma list.
THEMEAPI_API void __stdcall skSetMsgString(const char* labels);
// 1 switches the capture of inactive windows on, 0 off, any other value
// only asks; gives the flag after the call: -1 on, 0 off.
THEMEAPI_API int32_t __stdcall skCaptureEnable(int32_t flag);
// Paints the whole skinned window into its frame picture and gives the
// picture's device context; 0 when the window is not skinned or has no
// picture (effect 0, or maximized).
THEMEAPI_API HDC __stdcall skSnapShotOn(HWND window, int32_t captionInactive);
// What the host's BeginPaint and EndPaint imports are pointed at.
THEMEAPI_API HDC __stdcall skBeginPaint(HWND window, PAINTSTRUCT* paint);
THEMEAPI_API BOOL __stdcall skEndPaint(HWND window, const PAINTSTRUCT* paint);
// The window's top-left corner less the client origin of its top-level
// owner.
THEMEAPI_API void __stdcall skChildOffset(HWND window, int32_t* x, int32_t* y);
// A control kept out of skinning (before skSkinWindow), and let in again.
THEMEAPI_API void __stdcall skSkinDisable(HWND control);
THEMEAPI_API void __stdcall skSkinEnable(HWND control);
// The menu bar of a skinned window: its menu, its window, a redraw.
THEMEAPI_API HMENU __stdcall skGetMenu(HWND window);
THEMEAPI_API HWND __stdcall skMenuContainer(HWND window);
THEMEAPI_API void __stdcall skDrawMenuBar(HWND window);
// Removes one caption tooltip (tool ids 3, 4, 6).
THEMEAPI_API void __stdcall SKREMOVECAPTIONTIP(HWND window, int32_t toolId);
// Skinned buttons; font 0 is the skin's default font.
THEMEAPI_API HWND __stdcall skButtonPush(HWND parent, const char* text, HFONT font, int32_t x,
                                         int32_t y, int32_t width, int32_t height, int32_t id);
THEMEAPI_API HWND __stdcall skButtonCheck(HWND parent, const char* text, HFONT font, int32_t x,
                                          int32_t y, int32_t width, int32_t height, int32_t id);
THEMEAPI_API HWND __stdcall skButtonRadio(HWND parent, const char* text, HFONT font, int32_t x,
                                          int32_t y, int32_t width, int32_t height, int32_t id);
