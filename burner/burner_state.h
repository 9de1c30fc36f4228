// The disc burner's program-wide state and what its parts call of one
// another: the main window and its controls, the text table, the disc
// display, the burn list and the sessions.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "skin_texts.h"

namespace burner {

// Window ids of the controls (WM_COMMAND ids).
enum ControlId : int {
  ID_DEVICES = 1,
  ID_LIST = 2,
  ID_STATUS = 3,
  ID_SIZE_TEXT = 5,
  ID_BURN = 7,
  ID_ERASE_FIRST = 8,
  ID_EJECT = 9,
  ID_LOAD = 10,
  ID_KEEP_LABEL = 11,
  ID_MEDIUM_PICTURE = 12,
  ID_CAPACITY_TEXT = 13,
  ID_LABEL = 14,
  ID_SUMMARY = 15,
  ID_REMOVE = 16,
  ID_HELP = 17,
};

// Text-table entries.
enum Text : size_t {
  T_TITLE = 1,
  T_ERASED = 3,
  T_ERASE_FAILED = 4,
  T_BURNT = 5,
  T_BURN_FAILED = 6,
  T_PERCENT = 7,
  T_MIB = 8,
  T_CLOSING = 9,
  T_BLINK = 10,
  T_ERASING = 11,
  T_IDLE = 12,
  T_FINISHING = 13,
  T_READY = 14,
  T_BURN_BUTTON = 15,
  T_ERASE_FIRST = 16,
  T_KEEP_LABEL = 17,
  T_EJECT_BUTTON = 18,
  T_LOAD_BUTTON = 19,
  T_CAPTION_TIPS = 20,
  T_DEFAULT_LABEL = 21,
  T_CANNOT_INSERT = 22,
  T_TOO_LARGE_STATUS = 23,
  T_TOO_LARGE = 24,
  T_SIZE_AFTER = 25,
  T_CLOSING_PLAYERS = 27,
  T_DISC_CAPTION = 28,
  T_LABEL_CAPTION = 29,
  T_COMPANION_SUFFIXES = 30,
  T_COMPANION_PATTERNS = 31,
  T_IMPORT_FAILED = 32,
  T_SUMMARY = 34,
  T_OVER = 35,
  T_EFFECT = 36,
  T_FITS = 37,
  T_POPUP = 38,
  T_HELP_BUTTON = 39,
  T_HELP = 40,
  T_NAME_CLASH = 41,
};

// The list-arrived message.
constexpr UINT WM_LIST_ARRIVED = WM_USER + 3;

struct BurnerState {
  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  HWND devices = nullptr;
  HWND list = nullptr;
  HWND status = nullptr;
  HWND sizeText = nullptr;
  HWND burnButton = nullptr;
  HWND eraseFirst = nullptr;
  HWND ejectButton = nullptr;
  HWND loadButton = nullptr;
  HWND keepLabel = nullptr;
  HWND mediumPicture = nullptr;
  HWND capacityText = nullptr;
  HWND label = nullptr;
  HWND summary = nullptr;
  HWND helpButton = nullptr;
  HWND progress = nullptr;
  HWND capacityBar = nullptr;

  suite::TextTable texts;
  std::string programFolder;  // with a final backslash
  std::string baseName;       // the program file without its extension

  int32_t busy = 0;  // -1 while a session runs
  // Raised (-1) by the library's callbacks on its threads; the session's
  // pumps wait for them.  The result comes with the flag.
  std::atomic<int32_t> eraseDone{-1};
  std::atomic<int32_t> burnDone{-1};
  std::atomic<int32_t> eraseResult{0};
  std::atomic<int32_t> burnResult{0};
  UINT_PTR pollTimer = 0;
  UINT_PTR progressTimer = 0;

  std::string mediumName;
  HBITMAP mediumBitmap = nullptr;
  std::string pendingItems;
  int32_t listExtent = 0;
  int32_t firstBurner = 0;
  int32_t deviceCount = 0;

  // The capacity bar's shares and the progress step's memory.
  int32_t usedPercent = 100;
  int32_t imagePercent = 0;
  int32_t keptPercent = 0;
  bool blink = false;
  HCURSOR busyCursor = nullptr;
  HCURSOR savedCursor = nullptr;
};

BurnerState& Burner();
const std::string& T(size_t n);

// main_window.cpp
bool CreateMainWindow(const std::string& listFile);
LRESULT CALLBACK BurnerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool PreFilterMessage(MSG& message);
void SetStatusText(const std::string& text);
std::string ControlText(HWND control);
void EnableControls(bool enable);

// burn_list.cpp
std::vector<std::string> ListLines();
void AppendWithCompanions(const std::string& line);
void FillFromListFile(const std::string& listFile);
void OnListArrived();
void OnDropFiles(HDROP drop);
void RemoveSelectedLines();
void MoveSelectedLines(bool up);
void UpdateListExtent();
void ShowListPopup();

// disc_display.cpp
int32_t FirstBurner();
void FillDevices();
std::string VolumeLabelOf(const std::string& deviceLine);
std::string CurrentDeviceLine();
std::string ReadMediumName();
void SetMediumPicture(const std::string& name);
void ShowDiscFigures();
void PollDisc();
void OnDeviceChanged();
void StartPollTimer();
void StopPollTimer();
void SetCapacityShares(int32_t usedPercent, int32_t imagePercent);
bool BurnerSelected();

// burn_session.cpp
int64_t ComputeImageSize();
void RunBurnSession();
void ShowMessage(const std::string& text, UINT flags);

// capacity_bar.cpp
HWND CreateCapacityBar(HWND parent, int id, int x, int y, int width, int height, int flag);

}  // namespace burner
