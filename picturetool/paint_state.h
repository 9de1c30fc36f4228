// The picture tool's process-wide state and the functions its files share.
// One instance, owned by the program for its lifetime; everything runs on
// the one user-interface thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/canvas_rules.h"
#include "core/obf_types.h"
#include "gdiplus_api.h"
#include "imaging.h"
#include "skin_texts.h"

namespace paint {

// Text table entries the program reads.
enum TextEntry : size_t {
  T_TITLE = 1,
  T_ABOUT = 2,
  T_SAVE_FILTER_REMOVED_2 = 9,
  T_COLOURS_NOTE = 11,
  T_WORKING_NAME = 13,
  T_OK_CANCEL = 15,
  T_DELETE_QUESTION = 16,
  T_SAVE_BUTTONS = 17,
  T_SAVE_FIELD_LABEL = 18,
  T_SAVE_TEXT_19 = 19,
  T_UNKNOWN_EXTENSION = 20,
  T_SAVED = 21,
  T_REVERT = 22,
  T_PRINTING = 23,
  T_PRINTED_ON = 24,
  T_COPIED = 26,
  T_NOTHING_TO_PASTE = 27,
  T_SAVE_CHANGES = 31,
  T_REDUCED_NOTE = 32,
  T_SYSBUTTON_TIP = 33,
  T_TRACK_TIP = 34,
  T_SAVE_FILTER_REMOVED_1 = 35,
  T_PREVIOUS_TIP = 36,
  T_FULL_VIEW_TIP = 37,
  T_NEXT_TIP = 38,
  T_REVERT_TIP = 39,
  T_BROWSER = 40,
  T_HELP = 42,
  T_HELP_FILE = 43,
  T_HELP_VIEWER = 44,
  T_PICKER_FILTERS = 45,
  T_BOX_TEXTS = 46,
  T_OBJECT_TITLE = 47,
  T_FIRST_TOOL_TIP = 48,
  T_DELETE_ALL_QUESTION = 54,
  T_LOCK_WORDS = 55,
  T_PREVIEW_SIZE = 56,
  T_OBJECT_LIMIT = 57,
  T_OBJECTS_NOT_SAVED = 58,
  T_NOT_SAVED = 59,
};

// Bits of ModifiedFlags.
constexpr uint32_t kPictureChanged = 1;
constexpr uint32_t kRedEyeOnCanvas = 2;
constexpr uint32_t kObjectsChanged = 4;

// Private message to the main window: a new picture list has arrived.
constexpr UINT WM_NEW_PICTURE_LIST = WM_USER + 3;

// Messages of the object manager (ObjectWindowProc called with window 0).
enum ManagerMessage : UINT {
  OM_COMPOSE = 0x401,
  OM_SHOW_HIDDEN = 0x402,
  OM_MERGE_SHOWN = 0x403,
  OM_MERGE_ALL = 0x404,
  OM_HIDE_ALL = 0x405,
  OM_LOCK_ALL = 0x406,
  OM_UNLOCK_ALL = 0x407,
  OM_DELETE_ALL = 0x408,
  OM_SHOW_WINDOWS = 0x409,
  OM_SAVE_SIDECAR = 0x40A,
  OM_LOAD_SIDECAR = 0x40B,
};

// One drawing object: its window and the values an OBF line keeps.
struct DrawObject {
  HWND window = nullptr;
  overlay::ObfObject data;  // kind, style, content, font, colour, place...
  Gdiplus::GpFontFamily* fontFamily = nullptr;
  Gdiplus::GpFont* font = nullptr;
};

// Settings shared by the object manager and the boxes that make objects.
struct BoxSettingsRecord {
  std::string buttons;
  std::string text;
  std::string fontFamily;
  int32_t size = 24;
  uint32_t colour = 0xFFFF0000;  // ARGB
  int32_t shadow = 0;
  int32_t owner = 0;
  uint32_t word = 0;
};

struct PaintState {
  HINSTANCE instance = nullptr;
  std::string programFolder, programName, basePath, tablePath;
  int32_t screenWidth = 0, screenHeight = 0;
  suite::TextTable texts;
  suite::MenuTables menus;
  HMENU menu = nullptr;
  HWND mainWindow = nullptr, menuHolder = nullptr, toolHolder = nullptr, canvasWindow = nullptr;
  HWND fullView = nullptr, statusWindow = nullptr, counterLabel = nullptr, helpButton = nullptr;
  HWND trackBar = nullptr;
  HFONT marlettFont = nullptr;  // the page buttons' symbols
  std::vector<HWND> toolButtons;
  int32_t canvasWidth = 0, canvasHeight = 0;   // the canvas memory bitmap
  int32_t pictureWidth = 0, pictureHeight = 0; // 0: no picture
  int32_t fileWidth = 0, fileHeight = 0;
  int32_t scrollX = 0, scrollY = 0;
  std::string pictureList, pendingList;
  int32_t pictureIndex = 0, pictureCount = 0;
  std::string currentPicture, sourceFile, workingCopy;
  std::string lastFolder, lastFilter;
  std::string conversionFile;
  uint32_t modifiedFlags = 0;
  int32_t colours = 0;          // of the loaded picture, 0 when unknown
  bool reduced = false;         // shrunk by the memory rule
  std::string saveFolder;       // of the last Save As target
  bool skipCounterOnce = false; // after new, paste and capture
  // Selection mode (canvas coordinates; -1 when unset) and the frame last
  // drawn, so that drawing it again erases it.
  bool selectionMode = false, dragging = false;
  Selection selection, drawnFrame;
  POINT selectionAnchor = {-1, -1};  // the first corner, where the drag began
  bool redEyeMode = false;
  RedEyeStrokes redEye;
  // The full-screen view: the holder's place and size, the picture's origin
  // in it, how far it may pan and in which directions.
  bool viewOn = false, viewFitted = false, panX = false, panY = false;
  int32_t viewX = 0, viewY = 0, viewWidth = 0, viewHeight = 0;
  int32_t viewOriginX = 0, viewOriginY = 0, lowestX = 0, lowestY = 0;
  bool startedBrowser = false;
  bool pictureLoaded = false;
  uint32_t toolWord = 0;
  int32_t captureState = 0;
  std::vector<overlay::ObfPoint> pointBuffer;
  POINT lastMouse = {0, 0};
  std::string savedStatus;
  HMENU selectionPopup = nullptr;
  bool menuAnimationOff = false;
  std::string defaultPrinter;
  uintptr_t gdiplusToken = 0;
  std::vector<DrawObject> objects;  // [0] is the canvas record once made
  BoxSettingsRecord boxSettings;
};

PaintState& Paint();

// The exported window procedure of the main window and its holders.
LRESULT CALLBACK PaintWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void RepaintWindow(HWND window, bool erase);
void SetStatusText(const std::string& text);
void TraceProgramCall(const char* function, const std::string& argument, const std::string& result);

// Commands (commands.cpp).
LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam);
void DisarmDrawingTool();

// Paging, revert, delete, clipboard and help (picture_commands.cpp).
LRESULT PageCommand(bool forward);
LRESULT TrackCommand(LPARAM position);
LRESULT RevertCommand();
LRESULT DeleteCommand();
LRESULT CopyCommand();
LRESULT PasteCommand();
LRESULT CaptureCommand(int32_t id);
LRESULT PrintCommand();
LRESULT HelpCommand();

// Open (open_picture.cpp): the picture browser or the file picker chooses.
void OpenPictureDialog();

// Picture files and the working copy (picture_files.cpp).
// The menu text of command `id` without "&" and trailing blanks.
std::string MenuTextOf(int32_t id);
bool LoadPictureIntoCanvas(const std::string& path);
void LoadPictureFile();
void EnablePictureMenus();
// Writes `bitmap` as the working copy (a 24-bit BMP in the temporary
// folder) through a temporary file, so a failed save leaves the old one
// whole; the working sidecar goes only once the new picture is written.
// Its path, or "" when nothing was written.
std::string SaveAsWorkingCopy(BITMAPHANDLE* bitmap);
// The canvas's picture (without the drawing objects) into the working copy.
bool WriteWorkingCopy();
void SaveChangesPrompt();
void FlushWorkingCopy();
// Writes the picture to `target` when the chooser's `result` is 2 (a "*"
// in the target stands for the base name of `chosenName`).  True when the
// picture was written.
bool SavePictureAs(const std::string& target, int32_t result, const std::string& chosenName);
LRESULT SaveCommand();
LRESULT SaveAsCommand();
void UpdateCaptionAndStatus();

// The canvas (canvas.cpp) and its mouse modes (canvas_modes.cpp).
void PaintCanvas(HWND window);
LRESULT OnCanvasMouse(UINT message, WPARAM wParam, LPARAM lParam);
void ScrollCanvas(int bar, WPARAM wParam);
void PlaceCanvasWindow();
void UpdateScrollBars();
// The capture preview, drawn XOR: a second call erases it.
void DrawRubberBand();
void StartSelectionMode();
void StartRedEyeMode();
// Ends the selection and red-eye modes (frame erased, records dropped).
void EndCanvasModes();
void CancelSelection();
LRESULT CropToSelection();
// True when the message was taken by a mode (selection, red-eye).
bool OnCanvasModeMouse(UINT message, WPARAM wParam, LPARAM lParam);

// The full-screen view (full_view.cpp).
void ShowFullView();
// True when the view is on and took the message.
bool OnFullViewMessage(UINT message, WPARAM wParam, LPARAM lParam);

// Drawing objects and their manager (object_manager.cpp).
LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HWND CreateObjectWindow(HWND parent, uint32_t word);
size_t FindObjectIndex(HWND window);
size_t ObjectLimitReached();
// Moves every drawing object by (dx, dy) canvas pixels (after a crop).
void ShiftObjects(int32_t dx, int32_t dy);
intptr_t BlitCanvas(int32_t mode);
LRESULT SendToObjectManager(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// The object records for the popup and dragging (object_popup.cpp): the
// record of a table index (null outside the table), painting one object,
// its window region, composing with the objects-changed bit, the fonts and
// measure of a text, and ORBENUMOBJECT's list without its end marker.
DrawObject* ObjectRecord(size_t index);
void PaintObject(HDC dc, size_t index, int32_t x, int32_t y);
void BuildRegionOf(size_t index);
void ComposeRepaintAndMark();
bool MakeObjectFonts(DrawObject* object);
void MeasureObjectText(DrawObject* object);
std::vector<HWND> ListObjects(int32_t selector);
// Hover status, dragging and the object popup of an object window.
LRESULT OnObjectMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The family of new text objects: the skin's default font when GDI+ can
// make it, else the first of a few common families; "" when none.
std::string FirstUsableFontFamily();

}  // namespace paint
