// The picture browser's program-wide state and the functions its source
// files share: startup.cpp (entry, windows, message loop), main_window.cpp
// (window procedure, commands, suite commands, placement file, help),
// strip.cpp (folder scan, film strip, light table, popup label),
// full_screen.cpp (picture view, slide show, picture wall) and printing.cpp
// (layout frames, assignment, printing and preview).
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/view_rules.h"
#include "skin_texts.h"

namespace view {

// Entries of the text table.
constexpr size_t T_ABOUT = 1;
constexpr size_t T_PRINT = 2;
constexpr size_t T_PREVIEW = 3;
constexpr size_t T_TITLE = 4;
constexpr size_t T_LAYOUT = 5;
constexpr size_t T_COUNT_LABEL = 6;
constexpr size_t T_DELETE_CAPTION = 7;
constexpr size_t T_DELETE_TEXT = 8;
constexpr size_t T_WALL_COUNT = 9;
constexpr size_t T_WALL_CAPTION = 10;
constexpr size_t T_WALL_BUTTONS1 = 11;
constexpr size_t T_WALL_BUTTONS2 = 12;
constexpr size_t T_VIEWER = 13;
constexpr size_t T_DOCUMENT = 14;
constexpr size_t T_DOCUMENT_IMAGE = 15;
constexpr size_t T_SYSBUTTON_TIP = 16;
constexpr size_t T_NOTHING_TO_PRINT = 21;
constexpr size_t T_DELETE_BUTTONS = 24;
constexpr size_t T_NEXT_SHEET = 25;
constexpr size_t T_MISSING_PREFIX = 27;
constexpr size_t T_FIRST_BUTTON_TIP = 28;
constexpr size_t T_VIEW_SLOT_TIP = 34;
constexpr size_t T_CLEAR_SLOT_TIP = 35;
constexpr size_t T_SCANNING = 36;
constexpr size_t T_SCAN_WAIT = 38;
constexpr size_t T_HELP_TIP = 39;
constexpr size_t T_HELP_FILE = 40;

// The message that shows a list received by suite command.
constexpr UINT WM_SHOW_RECEIVED_LIST = WM_USER + 3;
constexpr int kPlaceCount = 10;

struct ViewState {
  HINSTANCE instance = nullptr;
  std::string programFolder;
  std::string programName;
  std::string basePath;
  std::string tablePath;
  std::string configPath;
  std::string conversionFile;
  std::string helpFile;
  std::string helpFolder;
  suite::TextTable texts;
  suite::MenuTables menus;
  HMENU menu = nullptr;
  int32_t screenWidth = 0;
  int32_t screenHeight = 0;
  HFONT marlettFont = nullptr;
  uintptr_t gdiplusToken = 0;

  HWND mainWindow = nullptr;
  HWND menuHolder = nullptr;
  HWND clientHolder = nullptr;
  HWND zoomWindow = nullptr;
  HWND statusWindow = nullptr;
  HWND stripWindow = nullptr;
  HWND lightTable = nullptr;
  HWND countBox = nullptr;
  HWND folderTree = nullptr;
  HWND helpButton = nullptr;
  std::array<HWND, 4> slotLabels{};
  std::array<HWND, 4> layoutFrames{};
  std::array<HWND, kPlaceCount> places{};
  ViewGeometry geometry;

  std::string lastFolder;
  std::string scanMask;
  std::string folderName;
  std::string defaultPrinter;
  std::vector<std::string> pendingLists;
  UINT_PTR startupTimer = 0;
  bool showNames = false;
  HDC printDc = nullptr;

  // The folder list, 1-based (list[0] unused), and the strip.
  std::vector<std::string> list{std::string()};
  StripState strip;
  std::array<std::string, 4> slots;
  int32_t dragSource = 0;
  std::array<int32_t, kPlaceCount> assignments{};
  std::string currentFile;
  int32_t lastHovered = 0;
  std::string keywordText;

  // Full-screen view: 0 hidden, 1 picture view, 2 print preview.
  int32_t viewState = 0;
  PanState pan;
  int32_t offsetX = 0;
  int32_t offsetY = 0;
  int32_t viewWidth = 0;
  int32_t viewHeight = 0;
  HBITMAP viewBitmap = nullptr;
  std::string viewFile;
  bool stopFlag = false;
  bool pauseFlag = false;
};

ViewState& View();

// startup.cpp
void TraceProgramCall(const char* function, const std::string& argument, const std::string& result);
LRESULT CALLBACK ViewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// main_window.cpp
bool LoadPlacement(Placement* placement);
void SavePlacement(const Placement& placement);
void BuildControls();
void SetStatusText(const std::string& text);
// A skinned message box with a stock icon (IDI_*); the 1-based answer.
int32_t StockIconBox(const std::string& caption, const std::string& text, const std::string& buttons,
                     LPCSTR stockIcon);

// strip.cpp
int32_t ScanPictureFolder(const std::string& mask, HWND countBox);
void OpenFolder();
void DrawThumbnailPage();
void ClearStrip();
int32_t CheckPictureFile();
void StripCommand(int32_t id);
void ClearSlot(int32_t slot);
void SetList(const std::vector<std::string>& items);
LRESULT StripMouse(UINT message, LPARAM lParam);
LRESULT LightTableMouse(UINT message, LPARAM lParam);
void CreateLightTableRows();
void PaintMemoryWindow(HWND window);
std::string ReadKeywords(const std::string& picture, bool* found);
int32_t ListCount();
// Draws a black-outlined yellow text at (x, y).
void DrawOutlinedText(HDC dc, const std::string& text, int32_t x, int32_t y, HFONT font);
HWND ShowPopupLabel(HWND owner, const std::string& text);

// full_screen.cpp
void ShowPreview(bool fit);
void HidePreview();
LRESULT PreviewKey(WPARAM key);
LRESULT PreviewMouseMove(LPARAM lParam);
void RunSlideShow();
void RunPictureWall(int32_t id);
void ShowSlotPicture(int32_t slot);

// printing.cpp
void CreateLayoutFrames();
LRESULT PlaceClicked(HWND place);
void EmptyPlacesOfSlot(int32_t slot);
void PrintLayouts(bool printMode);
void ChoosePrinter();
bool HasDefaultPrinter();

}  // namespace view
