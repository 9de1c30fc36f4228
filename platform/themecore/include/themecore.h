// The skin engine's exported functions, as the suite's programs call them.
//
// Conventions (see platform/themecore/README.md):
//  - every function is stdcall and exported undecorated ("SKSHELL");
//  - an input text is a zero-terminated byte string (the ANSI code page);
//  - an output text goes to a caller buffer: the function returns the full
//    length of the text and copies it, with a terminating zero, only when the
//    buffer holds it; otherwise it writes an empty string, so the caller can
//    retry with a buffer of the returned length + 1.  The C++ helpers below
//    do that.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#ifdef THEMECORE_BUILDING
#define THEMECORE_API extern "C"
#else
#define THEMECORE_API extern "C" __declspec(dllimport)
#endif

// Starts a program.  commandLine is passed to CreateProcess as it stands, so
// a program path with blanks must be quoted by the caller.  showMode is the
// ShowWindow mode of the new program's first window (5 = SW_SHOW).  flags is
// reserved (0).  Returns the new process id, or 0 when nothing was started.
THEMECORE_API int32_t __stdcall SKSHELL(const char* commandLine, int32_t showMode, int32_t flags);

// Finds a file by name as a user would expect Windows to: an absolute or
// relative path that exists is taken as it is; otherwise the program folder,
// the current folder, the Windows folder, the system folder and each folder
// of PATH are searched in that order.  Returns the length of the full path
// found (0 when none; the buffer then holds "").
THEMECORE_API int32_t __stdcall SKFINDF(const char* name, char* pathOut, int32_t pathOutSize);

// Non-zero when the file or folder exists; a path with "*" or "?" exists
// when anything matches it.
THEMECORE_API int32_t __stdcall SKEXIST(const char* path);

// The letters of the machine's drives in alphabetical order (a letter that
// GetLogicalDrives reports or whose root GetDriveType knows): CD drives in
// lower case, every other drive in upper case ("ACdZ").  Returns the length.
THEMECORE_API int32_t __stdcall SKDSKLIST(char* out, int32_t outSize);

// ---------------------------------------------------------------------------
// Lists.  Functions that return several texts write a "text list": each
// entry followed by one zero byte, and one more zero byte after the last
// entry (so "a\0b\0\0").  The returned length counts every byte but that
// final zero; the output-buffer rule above applies to the whole list.
// Lists passed in are (pointer, length) in the same form.

// ---------------------------------------------------------------------------
// Engine, text tables, menus, skin (engine.cpp, text_tables.cpp, menus.cpp,
// skin.cpp)

// Loads a skin file (absolute, or relative to the program folder) and makes
// it the skin of every window created after.  1 when the skin was read, 0
// when not (the built-in default skin is then in force).
THEMECORE_API int32_t __stdcall SKINITENGINE(const char* skinFile);
// Folder of the skin in force, with a final backslash ("" for the default).
THEMECORE_API int32_t __stdcall SKSKINFOLDER(char* out, int32_t outSize);
// Full path of the program (the process's main EXE).
THEMECORE_API int32_t __stdcall SKEXENAME(char* out, int32_t outSize);
// Splits a path into its folder (with a final backslash, "" when none) and
// its file name.  1 on success; 0 when a buffer is too small (both are
// always large enough at strlen(path) + 1 bytes).
THEMECORE_API int32_t __stdcall SKSPLITN(const char* path, char* folderOut, int32_t folderSize,
                                         char* nameOut, int32_t nameSize);
// Splits `text` at every `separator` into a text list (partsOut, which is
// always large enough at strlen(text) + 2 bytes) and returns the number of
// parts (0 for an empty text).  With a window and a font, *widestWidth gets
// the pixel width of the widest part drawn in that font, else 0.
THEMECORE_API int32_t __stdcall SKSPLITS(const char* text, const char* separator, HWND window,
                                         HFONT font, char* partsOut, int32_t partsSize,
                                         int32_t* widestWidth);
// The string table of a <program>.SYS file as a text list of entries 1 to
// *count.  Returns the list length; -1 when the file cannot be read.
THEMECORE_API int32_t __stdcall SKREADSTR(const char* file, char* out, int32_t outSize,
                                          int32_t* count);
// The menus of a <program>.SYS file: a text list of the menu definitions 0
// to *menuCount (0 is the menu bar: one "|" field per popup; n >= 1 is popup
// n: one "|" field per item), and a text list of the actions, each entry
// "id=action" with id = 100 * menu + item.  Returns the length of the menu
// list, *actionsLength the length of the action list; -1 when unreadable.
THEMECORE_API int32_t __stdcall SKREADM(const char* file, char* menusOut, int32_t menusSize,
                                        int32_t* menuCount, char* actionsOut,
                                        int32_t actionsSize, int32_t* actionsLength);
// The action of menu item `id` in an action list; "" when it has none.
THEMECORE_API int32_t __stdcall SKMACTE(int32_t id, const char* actions, int32_t actionsLength,
                                        char* out, int32_t outSize);
// Builds the program's main menu from menu definitions (text list as read by
// SKREADM) with `mainMenuText` as the bar ("|" fields; popup n holds the
// items of definition n, command id 100 * n + item, "-" a separator).  The
// previous main menu is destroyed.  Returns the menu, null on failure.
THEMECORE_API HMENU __stdcall SKCHANGEMENU(const char* menus, int32_t menusLength,
                                           const char* actions, int32_t actionsLength,
                                           const char* mainMenuText);
// SKCHANGEMENU with definition 0 as the bar.
THEMECORE_API HMENU __stdcall SKMENU(const char* menus, int32_t menusLength);
// Popup n (1-based) of the main menu; null when there is none.
THEMECORE_API HMENU __stdcall SKPOPUPHANDLE(int32_t n);
// Switches translucent popup menus on (1) or off (0); returns the old value.
THEMECORE_API int32_t __stdcall SKSETTRANSMENU(int32_t on);
// Whether skinned controls draw a focus rectangle; returns the old value.
THEMECORE_API int32_t __stdcall SKUSEFOCUSRECT(int32_t on);
// The application title boxes use as their default caption.
THEMECORE_API int32_t __stdcall SKAPPTITLE(const char* title);
// Caption-button bits of the main windows created after (1 close, 2
// maximise, 4 minimise, 8 extra buttons ...).  0 only reads.  Returns the
// bits in force.
THEMECORE_API int32_t __stdcall SKWINDOWSTYLE(int32_t style);
// Drop shadow of skinned windows on (1) or off (0); returns the old value.
THEMECORE_API int32_t __stdcall SKSETSHADOW(int32_t on);
// Skin colour n (101 and up) as a COLORREF; GetSysColor for n below 100.
THEMECORE_API int32_t __stdcall SKGETSYSCOLOR(int32_t n);
// Skin size n (caption height, frame width ...); GetSystemMetrics for sizes
// the skin does not define.
THEMECORE_API int32_t __stdcall SKGETSYSTEMMETRICS(int32_t n);
// The engine's line of a program's About box (ends in "|", a line break).
THEMECORE_API int32_t __stdcall SKAUTHOR(char* out, int32_t outSize);
// The smallest width and height a skinned main window may take.
THEMECORE_API int32_t __stdcall SKXMINI();
THEMECORE_API int32_t __stdcall SKYMINI();
// The skin file in force (its full path), "" while the built-in skin is:
// no skin file was read, or the last SKINITENGINE failed.
THEMECORE_API int32_t __stdcall SKSKINNAME(char* out, int32_t outSize);
// The skin's fonts.  The engine owns them: callers never delete them.
THEMECORE_API HFONT __stdcall SKCAPTIONFONT();
THEMECORE_API HFONT __stdcall SKDEFAULTFONT();

// ---------------------------------------------------------------------------
// Files and system (files_system.cpp, files_io.cpp, system.cpp)

// Opens a file.  mode: 0 open an existing file, 1 create (truncate), 2 open
// or create.  access: 0 read, 1 write, 2 read and write, 4 append (writes go
// to the end).  0 on success with *handle set; otherwise the Windows error
// number.
THEMECORE_API int32_t __stdcall SKFOPEN(const char* path, int32_t mode, int32_t access,
                                        int32_t* handle);
// Reads up to `count` bytes at the file position; returns the bytes read,
// -1 on error.
THEMECORE_API int32_t __stdcall SKFGET(int32_t handle, char* out, int32_t count);
// Reads at a byte offset from the start of the file.
THEMECORE_API int32_t __stdcall SKFGETAT(int32_t handle, uint32_t offset, char* out,
                                         int32_t count);
// Writes the bytes as given (no line end is added).  0 on success, else the
// Windows error number.
THEMECORE_API int32_t __stdcall SKFPUT(int32_t handle, const char* data, int32_t length);
// Writes at a byte offset from the start of the file.  0 on success.
THEMECORE_API int32_t __stdcall SKFPUTAT(int32_t handle, uint32_t offset, const char* data,
                                         int32_t length);
// Size of the open file in bytes; -1 on error.
THEMECORE_API int32_t __stdcall SKFLOF(int32_t handle);
THEMECORE_API int32_t __stdcall SKFCLOSE(int32_t handle);
// The next line of a text file (CR LF, LF or CR ends a line), without its
// line end.  The file stays open between calls (keyed by its name) and is
// closed at its end, when *error becomes non-zero and "" is returned.
THEMECORE_API int32_t __stdcall SKBUFIN(const char* file, char* out, int32_t outSize,
                                        int32_t* error);
// Deletes a file; 1 when it is gone (also when it never existed), 0 when it
// could not be deleted.
THEMECORE_API int32_t __stdcall SKKILLFILE(const char* path);
// The temporary folder, with a final backslash.
THEMECORE_API int32_t __stdcall SKGETTEMPPATH(char* out, int32_t outSize);
// Creates a folder and every missing parent; 1 when it exists afterwards.
THEMECORE_API int32_t __stdcall SKMAKEDIR(const char* path);
// Windows version as major * 100 + minor (501 for XP).
THEMECORE_API int32_t __stdcall SKOSVERSION();
// Processor speed in MHz (0 when unknown).
THEMECORE_API int32_t __stdcall SKCPUSPEED();
// Non-zero when the machine is on line (dial-up or network).
THEMECORE_API int32_t __stdcall SKINTERNETSTATE(int32_t flags);
// Dials the default dial-up entry; its connection handle, 0 when none.
THEMECORE_API intptr_t __stdcall SKRASCONNECT();
THEMECORE_API int32_t __stdcall SKRASHANGUP(intptr_t connection);
// The message text of a Windows error number (or of the engine's own
// numbers), without a final line end.
THEMECORE_API int32_t __stdcall SKWINERR(int32_t code, char* out, int32_t outSize);

// ---------------------------------------------------------------------------
// Folders and shell operations (files_folders.cpp)

// 0 when `name` can be a file or folder name inside a folder, else the
// Windows error number saying why not (123 bad syntax, 206 too long).
THEMECORE_API int32_t __stdcall SKVALIDNAME(const char* name);
// Renames or moves a file or folder.  0 on success, else the Windows error.
THEMECORE_API int32_t __stdcall SKRENAME(const char* oldPath, const char* newPath, int32_t flags);
// Every folder below `folder`, at any depth, parents first, each with a final
// backslash, as a text list (zero-separated).  Returns the list's length.
THEMECORE_API int32_t __stdcall SKREADDIRS(const char* folder, char* out, int32_t outSize);
// The number of files below `folder`, at any depth.
THEMECORE_API int32_t __stdcall SKDIRCOUNT(const char* folder);
// Copies or moves a file, a folder or the matches of a pattern.  `target` is
// the new path, or a folder that receives the entries under their own names
// when it exists, ends in "\" or the source is a pattern; missing folders
// are created, existing files replaced.  `title` names the work for the
// trace.  0 on success, else the Windows error of the first failure.
THEMECORE_API int32_t __stdcall SKSHELLCOPY(const char* source, const char* target,
                                            const char* title);
THEMECORE_API int32_t __stdcall SKSHELLMOVE(const char* source, const char* target,
                                            const char* title);

// ---------------------------------------------------------------------------
// Windows, holders, message filter (windows.cpp, holders.cpp)

// Registers a window class under `name` (wc->lpszClassName is set to it).
// Returns the class atom, 0 on failure.
THEMECORE_API int32_t __stdcall SKREGISTERCLASS(WNDCLASSEXA* wc, const char* name);
// Non-zero when a class of that name is registered in this process.
THEMECORE_API int32_t __stdcall SKCHECKCLASS(const char* name);
// Creates a holder of the given kind in `parent`: "SKCLIP" the client area
// (between menu bar and status window), "SKMENU" the menu bar, "SKZOOM" a
// full-window area, "SKCTL" a child with scroll bars that the program
// places itself.  Messages of the holder's children (WM_COMMAND,
// WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*) go to `proc` with
// the holder's handle.  style and id are 0 unless a caller needs more.
THEMECORE_API HWND __stdcall SKHOLDER(HWND parent, const char* kind, int32_t style, int32_t id,
                                      WNDPROC proc);
// The status line at the bottom of a main window.
THEMECORE_API HWND __stdcall SKSTATUSWINDOW(HWND parent, const char* text);
// First call of every skinned window procedure: draws and runs the skinned
// frame (caption, caption buttons, sizing, menu bar) of main windows.
// Non-zero when the engine handled the message; the procedure then returns
// that value.  The arguments may be changed by the engine.
THEMECORE_API int32_t __stdcall SKGETMESSAGE(HWND* window, UINT* message, WPARAM* wParam,
                                             LPARAM* lParam);
// First filter of the message loop: non-zero when the engine consumed the
// message (keyboard navigation of its menu bar and controls).
THEMECORE_API int32_t __stdcall SKDIALOGMESSAGE(HWND mainWindow, MSG* message);
// Tooltip of the main window's system (icon) button.
THEMECORE_API int32_t __stdcall SKSETSYSBUTTONTIP(HWND mainWindow, const char* tip);
// Limits a window size to the work area of the screen: *widthOut and
// *heightOut get the size to use.  Returns 1.
THEMECORE_API int32_t __stdcall SKSETMAXSIZE(int32_t width, int32_t height, int32_t* widthOut,
                                             int32_t* heightOut);
// The menu bar image of the skin (the engine owns it).
THEMECORE_API HBITMAP __stdcall SKMENUBAR();

// ---------------------------------------------------------------------------
// Controls (controls.cpp)

// A skinned push button.  Its WM_COMMAND (BN_CLICKED, id) goes to the
// parent.
THEMECORE_API HWND __stdcall SKBUT3D(HWND parent, const char* caption, HFONT font, int32_t x,
                                     int32_t y, int32_t width, int32_t height, int32_t id,
                                     intptr_t style);
// A skinned check button (check box image and text).
THEMECORE_API HWND __stdcall SKCHECKBUTTON(HWND parent, const char* text, HFONT font, int32_t x,
                                           int32_t y, int32_t width, int32_t height, int32_t id,
                                           intptr_t style);
// A skinned radio button (radio image and text): a click checks it and
// unchecks the engine's other radio buttons of the parent.
THEMECORE_API HWND __stdcall SKRADIOBUTTON(HWND parent, const char* text, HFONT font, int32_t x,
                                           int32_t y, int32_t width, int32_t height, int32_t id,
                                           intptr_t style);
// The check box image: four states side by side (the engine owns it).
THEMECORE_API HBITMAP __stdcall SKCHECKBUT();
// Size of a bitmap; 1 on success.
THEMECORE_API int32_t __stdcall SKGETPIXMAPSIZE(HBITMAP bitmap, int32_t* width, int32_t* height);
// Tooltip of a control.
THEMECORE_API int32_t __stdcall SKBUTTONTIP(HWND parent, HWND control, const char* tip);
// A skinned track bar: type 1 horizontal, 2 vertical; value 0-100; the
// track and thumb images may be null (then drawn in skin colours).
THEMECORE_API HWND __stdcall SKTRACKBAR(HWND parent, int32_t type, HBITMAP track, int32_t x,
                                        int32_t y, int32_t value, int32_t id, HBITMAP thumb);
THEMECORE_API int32_t __stdcall SKSETTRACKPOS(HWND trackBar, int32_t value);
THEMECORE_API int32_t __stdcall SKGETTRACKPOS(HWND trackBar);
THEMECORE_API int32_t __stdcall SKSETCHECK(HWND checkButton, int32_t checked);
THEMECORE_API int32_t __stdcall SKGETCHECK(HWND checkButton);
THEMECORE_API int32_t __stdcall SKSETCTLTEXT(HWND control, const char* text);
THEMECORE_API int32_t __stdcall SKGETCTLTEXT(HWND control, char* out, int32_t outSize);
THEMECORE_API int32_t __stdcall SKSETCTLFONT(HWND control, HFONT font);
// A progress bar (0-100).
THEMECORE_API HWND __stdcall SKPROGRESS32(HWND parent, int32_t id, int32_t x, int32_t y,
                                          int32_t width, int32_t height);
// Adds a text to a combo box; returns its index (CB_ERR on failure).
THEMECORE_API int32_t __stdcall SKADDSTRINGCOMBO(HWND combo, const char* text);
// Text and background colours of a control (-1 keeps the current one).
THEMECORE_API int32_t __stdcall SKSETCOLOR(HWND control, int32_t textColour, int32_t backColour);
// Size of a text drawn in a font on the window's DC; 1 on success.
THEMECORE_API int32_t __stdcall SKGETTEXTEXTENT(HWND window, HFONT font, const char* text,
                                                int32_t* width, int32_t* height);

// ---------------------------------------------------------------------------
// Boxes (boxes.cpp)

// A skinned message box.  `buttons` holds the button captions joined by "|"
// ("" = one OK button); `style` points at the caller's style record (null
// for the default look).  Returns the 1-based button chosen (or scripted by
// ORB_ANSWERS).
THEMECORE_API int32_t __stdcall SKMSGBOX(HWND owner, HFONT font, const char* caption,
                                         const char* text, const char* buttons,
                                         const void* style, int32_t reserved);

// A skinned input box: the prompt, a text field starting with `text`, and the
// buttons of `buttons` (the first confirms).  Returns the 1-based button
// chosen; only for button 1 is the typed text written back to `text` (cut
// to textSize - 1 bytes, zero-terminated).  With ORB_ANSWERS set, the next
// answer is the typed text and confirms; no answer left cancels (the last
// button).
THEMECORE_API int32_t __stdcall SKINPUTBOX(HWND owner, HFONT font, const char* caption,
                                           const char* prompt, const char* buttons, char* text,
                                           int32_t textSize, const void* style, int32_t reserved);

// ---------------------------------------------------------------------------
// Drawing and memory bitmaps (drawing.cpp)

THEMECORE_API int32_t __stdcall SKFILLRECT(HDC dc, int32_t x, int32_t y, int32_t width,
                                           int32_t height, int32_t colour);
// Copies a rectangle leaving out the pixels of the key colour (0xFF00FF).
// `source` is a device context, or a bitmap passed in its place (cast to
// HDC); right after SKTRANSBLTUSEDC only a device context is taken (a
// bitmap then fails with 0).
THEMECORE_API int32_t __stdcall SKTRANSBLTUSEDC();
THEMECORE_API int32_t __stdcall SKTRANSBLT(HDC dc, int32_t x, int32_t y, int32_t width,
                                           int32_t height, HDC source, int32_t sourceX,
                                           int32_t sourceY, int32_t keyColour);
// Double buffering: SKOFFSCREEN(dc, width, height, 1) returns a memory DC to
// draw into; SKOFFSCREEN(0, 0, 0, 0) copies it to the DC and frees it.
THEMECORE_API HDC __stdcall SKOFFSCREEN(HDC dc, int32_t width, int32_t height, int32_t begin);
// A memory bitmap attached to a window.
THEMECORE_API int32_t __stdcall SKCREATEMEMBMP(HWND window, int32_t width, int32_t height);
THEMECORE_API HDC __stdcall SKGETHDCMEMBMP(HWND window);
THEMECORE_API int32_t __stdcall SKDELETEMEMBMP(HWND window);
// The size of a window's memory bitmap; 0 when it has none.
THEMECORE_API int32_t __stdcall SKGETWIDTHMEMBMP(HWND window);
THEMECORE_API int32_t __stdcall SKGETHEIGHTMEMBMP(HWND window);
// An image tiled from left to right over the rectangle, as high as the
// image (at most `height`).  1, or 0 for no DC or image.
THEMECORE_API int32_t __stdcall SKHORZTILE(HDC dc, int32_t x, int32_t y, int32_t width,
                                           int32_t height, HBITMAP image);
// The region of every pixel of a bitmap that is not the key colour.
THEMECORE_API HRGN __stdcall SKBMPTORGN(HBITMAP bitmap, int32_t keyColour);
// Deletes a GDI object and sets the caller's variable to 0.
THEMECORE_API int32_t __stdcall SKDELETEOBJECT(HGDIOBJ* object);
// One line of text on an opaque background of `backColour`; -1 prints it
// on a transparent background.
THEMECORE_API int32_t __stdcall SKPRINT(HDC dc, const char* text, int32_t x, int32_t y,
                                        int32_t textColour, int32_t backColour, HFONT font);
// One line of raised text: a copy in `lightColour` one pixel down and right,
// the text in `textColour` over it, on a transparent background.
THEMECORE_API int32_t __stdcall SKPRINT3DU(HDC dc, const char* text, int32_t x, int32_t y,
                                           int32_t textColour, int32_t lightColour, HFONT font,
                                           int32_t transparent);

namespace themecore {

// Any export that fills a caller buffer by the output-buffer rule, as a byte
// string: `call(out, outSize)` returns the full length; a buffer that was
// too small is grown and the call made again.
template <typename Call>
std::string FetchText(Call call) {
  std::string text(260, '\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    int32_t length = call(text.data(), static_cast<int32_t>(text.size()));
    if (length <= 0) return std::string();
    if (static_cast<size_t>(length) < text.size()) {
      text.resize(static_cast<size_t>(length));
      return text;
    }
    text.assign(static_cast<size_t>(length) + 1, '\0');
  }
  return std::string();
}

// SKFINDF as a byte string: "" when the file was not found.
inline std::string FindFile(const char* name) {
  return FetchText([name](char* out, int32_t size) { return SKFINDF(name, out, size); });
}

}  // namespace themecore

// Further exports, by concern.
#include "themecore_frame.h"
#include "themecore_tree.h"
#include "themecore_wait.h"
#include "themecore_burner.h"
