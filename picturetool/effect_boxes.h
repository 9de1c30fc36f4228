// The effect box (LEADTOOLBOX: a preview of the picture with the effect and,
// for effects with a value, a number field), the size box (NEWSIZEBOX: a new
// width and height, for a resize or a new blank picture), the underlay and
// the relief effects.  All of them read the picture file (the working copy,
// or the source file when there is none), never the canvas, and write their
// result as the working copy, which the main window then reloads.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "imaging.h"

namespace paint {

// The parameter block the host and the boxes share (one; the boxes are
// never open together).  On the way in: the number field's minimum and
// maximum, its start value, the button captions, the effect and the factor;
// on the way back: the size chosen in the size box (first, second), the
// result file's path (text) and the result (effect: 1 closed by button 1,
// 2 confirmed by button 2, 0 closed otherwise).  `set` non-zero stores the
// six fields, 0 reads them back.
void NewSizeExchange(int32_t* first, int32_t* second, int32_t* value, std::string* text, int32_t* effect,
                     int32_t* factor, int32_t set);

// Runs the box of `effect` on the picture file `*path` with the main window
// disabled meanwhile; on return `*path` holds the result file ("" when none
// was written).  The result as above.
int32_t EffectBoxHost(std::string* path, const std::string& title, int32_t minimum, int32_t maximum, int32_t* value,
                      int32_t factor, const std::string& captions, int32_t effect);

// Applies `effect` with the number-field value once to a bitmap (the table
// of the effect box; p = factor x value).  True when the imaging call did.
bool ApplyEffect(BITMAPHANDLE* bitmap, int32_t effect, int32_t factor, int32_t value);
// The whole effect as a confirmed box applies it: reliefs on grey, the
// saturation's series of steps, the others as ApplyEffect.
bool ApplyWholeEffect(BITMAPHANDLE* bitmap, int32_t effect, int32_t factor, int32_t value);

// The picture file the effects read: the working copy, or the source file.
// A picture whose type the imaging library is not asked about (".tiff",
// ".dib") gets a BMP working copy of the canvas first.
std::string EffectSourceFile();

// Commands: the effect and resize boxes (true when `id` is one of them),
// the new picture (102), choosing and applying the underlay (216, 217) and
// the reliefs (901-908).
bool RunEffectCommand(int32_t id);
LRESULT NewPictureCommand();
LRESULT ChooseUnderlayCommand();
LRESULT ApplyUnderlayCommand();
LRESULT ReliefCommand(int32_t id);
// True when an underlay file has been chosen (the apply item's state).
bool HasUnderlayFile();

// The underlay `underlayPath` tiled under the picture `*picturePath`, and the
// relief `effect` (17-24) laid under its colours.  Non-zero on success, with
// `*picturePath` the new working copy; 0 leaves everything as it was.
int32_t UnderlayPicture(const std::string& underlayPath, std::string* picturePath);
int32_t QuickEffect(std::string* picturePath, int32_t effect);

// The size box's procedure and the effect box's (effect_box.cpp, size_box.cpp).
LRESULT CALLBACK EffectBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SizeBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

// What both boxes share (box_parts in effect_box.cpp).
namespace box_parts {
constexpr UINT kSetPath = 0x400;     // wParam: the path's text, lParam: its length
constexpr UINT kFitPreview = 0x401;  // the effect box fits its preview
int32_t ButtonWidth(HWND owner, const std::string& captions);
// The buttons of the "|" captions, ids 1, 2 ... at x, y + 25 (k - 1).
void MakeButtons(HWND box, const std::string& captions, int32_t x, int32_t y, int32_t width);
// The skin frame around the box at its remembered or centred place, the
// focus on `focus`.
void FrameBox(HWND box, int32_t clientWidth, int32_t clientHeight, HWND focus);
void PaintBackground(HWND box, int32_t iconX, int32_t iconY);
// Remembers the frame's place for the next box and enables the main window.
void OnClose(HWND box);
// Deletes the buttons' memory bitmaps and ends the host's loop.
void OnDestroy(HWND box);
// A style record for SKINPUT: place, longest text, range and value.
struct FieldStyle {
  uint8_t bytes[64] = {};
};
FieldStyle NumberFieldStyle(int32_t x, int32_t y, int32_t width, int32_t height, int32_t length, int32_t minimum,
                            int32_t maximum, int32_t value);
std::string ControlText(HWND control);
}  // namespace box_parts

}  // namespace paint
