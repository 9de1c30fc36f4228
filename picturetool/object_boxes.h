// The two modal boxes that make and edit drawing objects: the text box
// (class SKFONTBOX, text_box.cpp) and the shape box (class SKDRAWBOX,
// shape_box.cpp), and what they share (box_parts.cpp): the settings record
// they take and give, their captions, the colour row (picker, swatch,
// alpha/red/green/blue track bars, value fields, "3D" box), the button row
// and the modal loop.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "colour_tools.h"
#include "paint_state.h"

namespace paint {

// The result of a box closed with its first button.
constexpr int32_t kBoxOk = 2;

// The captions both boxes use.  An empty text given keeps the default.
struct BoxLabelTexts {
  std::string colourNames = "Alpha,Red,Green,Blue";
  std::string sizeLabel = "Size";
  std::string shadowLabel = "3D";
};
void SetBoxLabels(const std::string& colourNames, const std::string& sizeLabel, const std::string& shadowLabel);
const BoxLabelTexts& BoxLabels();

// The text box: the values of `settings` (text, family, size, colour,
// shadow, word; buttons as a "|" list, empty for one "  Ok  ") are shown;
// OK stores the chosen ones in the program's BoxSettings and gives them
// back in `settings`.  kBoxOk when confirmed; anything else leaves
// `settings` as given.
int32_t RunTextBox(HWND owner, const std::string& title, BoxSettingsRecord* settings);
// The shape box: the same for a shape's pen width (size), colour and
// shadow; the word's kind and style choose the preview.
int32_t RunShapeBox(HWND owner, const std::string& title, BoxSettingsRecord* settings);

// ---------------------------------------------------------------------------
// The shared pieces (box_parts.cpp).

// Control ids of the colour row.
enum BoxControlId : int {
  kIdFontList = 1,
  kIdFirstButton = 2,
  kIdFontCaption = 100,
  kIdAlphaTrack = kRedTrackId - 1,
  kIdBlueTrack = kBlueTrackId,
  kIdSwatch = kSwatchId,
  kIdSizeList = 106,
  kIdSizeCaption = 107,
  kIdShadowBox = 108,
  kIdTextField = 109,
  kIdViewer = 620,
  kIdGrid = 630,
  kIdAlphaField = kRedLabelId - 1,
};

// The colour row of a box and the colour it shows.
struct ColourRow {
  HWND picker = nullptr, swatch = nullptr, shadowBox = nullptr;
  HWND tracks[4] = {};  // alpha, red, green, blue
  HWND fields[4] = {};
  uint8_t components[4] = {};  // alpha, red, green, blue
  int32_t width = 0, bottom = 0;
};
// Makes the row at (x, y): the picker with the swatch under it, the four
// track bars with captions and value fields, the "3D" box.
void CreateColourRow(HWND box, int32_t x, int32_t y, uint32_t argb, int32_t shadow, ColourRow* row);
// The row's commands (101-104 and 108): true when `id` was one of them.
bool OnColourRowCommand(HWND box, ColourRow* row, int32_t id);
// The colour from the track positions (the preview) and from the value
// fields (what OK takes).
uint32_t TrackArgb(const ColourRow& row);
uint32_t FieldArgb(const ColourRow& row);
int32_t ShadowOf(const ColourRow& row);

// The button row: one SKBUT3D per caption ("  Ok  " for none), ids from 2,
// 4 pixels apart; sizes from the caption font.
struct ButtonRow {
  std::vector<std::string> captions;
  std::vector<int32_t> widths;
  int32_t width = 0, height = 0;
};
ButtonRow MeasureButtons(HWND window, const std::string& buttons);
std::vector<HWND> CreateButtons(HWND box, const ButtonRow& row, int32_t centreX, int32_t y);

// Registers a box class once.
bool RegisterBoxClass(const char* name, WNDPROC procedure, UINT style);

// A font of the family at `points` points for the box's screen.
HFONT CreateBoxFont(HWND box, const std::string& family, int32_t points);

// Runs the modal loop of `box` framed by the skin until it is destroyed;
// the owner is disabled meanwhile.  `repaintAfterKeys` repaints the box
// after each key, so that a preview follows the typing.  *closing is set
// by the box's WM_DESTROY.
void RunBoxLoop(HWND box, HWND owner, bool repaintAfterKeys, const bool* closing);

// Closing a box: the owner enabled and activated, the box destroyed.
void CloseBox(HWND box, HWND owner);

// The tiled control background of a box's client area, for its preview.
void PaintBoxBackground(HDC dc, int32_t width, int32_t height);

// The boxes' drop-down lists (the family and size lists): made with the
// list `style`; an entry's text ("" for none); the selected entry's text;
// the entry equal to `text` selected (none when there is no such entry).
HWND MakeBoxList(HWND box, DWORD style, int32_t x, int32_t y, int32_t width, int32_t height, int id);
std::string ListText(HWND list, LRESULT index);
std::string SelectedText(HWND list);
void SelectEntry(HWND list, const std::string& text);
// Hides the list's edit part and lays a caption of `text` over the list's
// top instead (the family, or the size label).  The caption, or null.
HWND CoverListTop(HWND list, const std::string& text, int id);

// Shows the box framed by the skin with a client area of the size, centred
// on its owner (on the screen without one), never off the top or left.
void ShowBoxCentred(HWND box, HWND owner, int32_t clientWidth, int32_t clientHeight);

// The messages both boxes answer alike: their lists' item height
// (`textHeight` + 1) and the colours of lists, labels and buttons
// (`listBrush` behind the lists).  True with *result when answered.
bool AnswerBoxControlMessage(UINT message, WPARAM wParam, LPARAM lParam, int32_t textHeight, HBRUSH listBrush,
                             LRESULT* result);
// What a box frees when destroyed: its buttons' pictures, the list brush
// (nulled), the skin's colour and font records of the box.
void FreeBoxParts(HWND box, const std::vector<HWND>& buttons, HBRUSH* listBrush);

}  // namespace paint
