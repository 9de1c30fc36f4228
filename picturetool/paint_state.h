// The picture tool's process-wide state and the functions its files share.
// One instance, owned by the program for its lifetime; everything runs on
// the one user-interface thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/obf_types.h"
#include "gdiplus_api.h"
#include "skin_texts.h"

namespace paint {

// Text table entries the program reads.
enum TextEntry : size_t {
  T_TITLE = 1,
  T_ABOUT = 2,
  T_WORKING_NAME = 13,
  T_OK_CANCEL = 15,
  T_REVERT = 22,
  T_SYSBUTTON_TIP = 33,
  T_TRACK_TIP = 34,
  T_PREVIOUS_TIP = 36,
  T_FULL_VIEW_TIP = 37,
  T_NEXT_TIP = 38,
  T_REVERT_TIP = 39,
  T_BROWSER = 40,
  T_HELP = 42,
  T_BOX_TEXTS = 46,
  T_OBJECT_TITLE = 47,
  T_FIRST_TOOL_TIP = 48,
  T_DELETE_ALL_QUESTION = 54,
  T_PREVIEW_SIZE = 56,
  T_OBJECT_LIMIT = 57,
  T_OBJECTS_NOT_SAVED = 58,
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

// Open (open_picture.cpp): the picture browser or the file picker chooses.
void OpenPictureDialog();

// The canvas (canvas.cpp).
bool LoadPictureIntoCanvas(const std::string& path);
void LoadPictureFile();
void PaintCanvas(HWND window);
LRESULT OnCanvasMouse(UINT message, WPARAM wParam, LPARAM lParam);
void ScrollCanvas(int bar, WPARAM wParam);
void PlaceCanvasWindow();

// Drawing objects and their manager (object_manager.cpp).
LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HWND CreateObjectWindow(HWND parent, uint32_t word);
size_t FindObjectIndex(HWND window);
size_t ObjectLimitReached();
intptr_t BlitCanvas(int32_t mode);
LRESULT SendToObjectManager(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// The family of new text objects: the skin's default font when GDI+ can
// make it, else the first of a few common families; "" when none.
std::string FirstUsableFontFamily();

}  // namespace paint
