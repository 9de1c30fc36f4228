// The media browser's process-wide state, kept together in one place: what
// start-up reads and creates, and what the main window procedure and the
// commands share.  Owned by the main thread.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/startup_rules.h"
#include "skin_texts.h"

namespace browser {

// Ids of the main window's controls.
enum ControlId : int32_t {
  ID_TYPE_COMBO = 1,
  ID_FAVOURITES_COMBO = 2,
  ID_FILE_LIST = 3,
  ID_SECOND_LIST = 4,
  ID_HELP_BUTTON = 9,
  ID_CHECK_BUTTON = 15,
  ID_FOLDER_TREE = 32766,
};

// Popups of the main menu that open as context menus.
constexpr int32_t kFileListPopup = 1;
constexpr int32_t kSecondListPopup = 2;
constexpr int32_t kSkinPopup = 3;
constexpr int32_t kOptionPopup = 4;
constexpr int32_t kFolderMenuPopup = 15;

// Commands of the folder menu.
constexpr int kNewFolderCommand = 1501;
constexpr int kRenameFolderCommand = 1502;
constexpr int kDeleteFolderCommand = 1503;

// Private messages: repaint a window (wParam); one step of a batch picture
// operation.
constexpr UINT WM_BROWSER_REPAINT = WM_USER + 0x58;
constexpr UINT WM_BROWSER_BATCH_STEP = WM_USER + 0x5A;
// From the worker threads: a loaded thumbnail handed over (sent, lParam a
// record the handler may take); files of the current folder changed
// (posted); folders came or went on a fixed drive (posted).
constexpr UINT WM_BROWSER_THUMBNAIL = WM_USER + 0x5B;
constexpr UINT WM_BROWSER_FOLDER_CHANGED = WM_USER + 0x5C;
constexpr UINT WM_BROWSER_DRIVES_CHANGED = WM_USER + 0x5D;

// How the program restarts after its message loop ends.
enum RestartModeValue : int32_t {
  RESTART_NONE = 0,
  RESTART_AFTER_DEVICE = 2,   // restart with "USBDETECTED"
  RESTART_PLAIN = -1,         // restart without arguments
};

struct BrowserState {
  HINSTANCE instance = nullptr;
  std::string programFolder;   // ends in "\"
  std::string exeName;         // file name of the executable
  std::string basePath;        // folder + name without extension
  suite::TextTable texts;
  suite::MenuTables menus;
  int32_t itemHeight = 50;
  std::string userFolder;      // ends in "\"
  std::string defaultListFile;
  std::string skinFile = "LUMINAR.SKL";
  std::vector<std::string> skins;  // full skin file paths, skin menu order
  bool startedByDevice = false;
  int32_t restartMode = RESTART_NONE;

  HICON icon = nullptr;
  HICON smallIcon = nullptr;
  HBITMAP miniLed = nullptr;
  HMENU mainMenu = nullptr;

  HWND mainWindow = nullptr;
  HWND clientHolder = nullptr;
  HWND menuHolder = nullptr;
  HWND statusWindow = nullptr;
  HWND typeCombo = nullptr;
  HWND favouritesCombo = nullptr;
  HWND folderTree = nullptr;
  HWND fileList = nullptr;
  HWND secondList = nullptr;
  HWND checkButton = nullptr;
  HWND helpButton = nullptr;
  std::vector<HWND> buttons;   // 5-8, 10-14, 95

  std::vector<MediaType> types;
  int32_t currentType = -1;
  std::string currentFolder;   // ends in "\"
  std::string filterList;      // text entry 3: extensions the file list hides
  int32_t noticeSeen = 0;
  int32_t option408 = 0;
  bool thumbnailMode = false;    // the picture type is shown with thumbnails
  uintptr_t gdiplusToken = 0;
  bool rightButtonDown = false;  // the key filter's right-button flag
  bool fileOrderChanged = false; // the user reordered the file list
  bool watcherPaused = false;    // a file command changes the current folder
  bool deleteBusy = false;       // a delete runs (its boxes pump messages)
  bool transferBusy = false;     // a copy or move runs
  std::string lastTarget;        // the folder of the last copy or move

  // Target of chosen files set by another module (program, class).
  std::string overrideProgram;
  std::string overrideClass;
};

BrowserState& Browser();

// The main window procedure (exported as WNDPROC).
LRESULT CALLBACK BrowserWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Settings (<temp><base name>.cfg and .fav) and file associations.
struct WindowSettings {
  int32_t left = 0, top = 0, width = 0, height = 0;
  std::string folder, pattern;
  int32_t option809 = 0;
};
void LoadSettings(WindowSettings* settings);
void SaveSettings(const WindowSettings& settings);
int32_t RegisterFileAssociation(const std::string& entry, int32_t mode);
void ListSubfolders(const std::string& folder, std::vector<std::string>* folders);
std::string SettingsPath();
std::string FavouritesPath();
// The favourites file's lines that can name a folder (none when the file is
// missing, unreadable or too large to be ours).
std::vector<std::string> ReadFavourites();

// Hands an item list to the player (or the module set with code 2).
HWND SendFilesToModule(const std::string& itemList);
// Module launching and hand-overs (module_handover.cpp).
void LaunchAction(int id);
HINSTANCE OpenDocument(const std::string& path);
void OpenWithEditorsAndWait(const std::vector<std::string>& entries);
void ShowBrowserHelp();
void HandPicturesToViewer(bool fromCollection);
// True for the menu item that starts the disc burner, wherever start-up
// moved it; 95 is the burner's button.
bool IsBurnerItem(int id);
void HandToBurner(int id);
void StartModuleWithFiles(int id);
void OpenSelectedInEditors();
void PreviewCaretFile();

// The first-run notice: returns the id of the control that closed it; the
// check mask has bit k-1 set for every ticked k-th check box.
int32_t ShowStartNotice(HWND owner, HFONT font, const std::string& caption,
                        const std::string& lines, const std::string& checkTexts,
                        const std::string& buttons, int32_t* checkMask);

// The message loop's key pre-filter: 1 swallows the message.
int32_t KeyPreFilter(HWND mainWindow, MSG* message);

// The commands of the main window's menus and buttons (commands.cpp).
void DispatchBrowserCommand(HWND window, int id, int code, HWND control);
// Full paths of the file list's selected files, of its caret file ("" for
// none), and of the collection's entries (all, or the selected ones).
std::vector<std::string> SelectedFilePaths();
std::string CaretFilePath();
std::vector<std::string> CollectionPaths(bool selectedOnly);
// Paths joined into an item list ("|" between them).
std::string JoinPaths(const std::vector<std::string>& paths, char separator = '|');
// The selected entries' indexes of a list box in ascending order (of a
// single-selection list, its current entry).
std::vector<int> SelectedIndexes(HWND list);
// The text of a list box entry ("" for none).
std::string ListItemText(HWND list, int index);
// Widens a list's horizontal scroll extent to show `text` whole.
void GrowListExtent(HWND list, const std::string& text);
// Holds off a list box's drawing while many entries go in, and draws it
// once at the end: a repaint after every entry makes a long list slow.
class HeldListDrawing {
 public:
  explicit HeldListDrawing(HWND list);
  ~HeldListDrawing();
  HeldListDrawing(const HeldListDrawing&) = delete;
  HeldListDrawing& operator=(const HeldListDrawing&) = delete;

 private:
  HWND list_;
};
// Makes `folder` the current folder (lower case, final backslash), selects
// it in the folder tree (no selection notification follows) and lists it.
void ShowFolder(const std::string& folder);

// Folder commands (folder_commands.cpp): the folder menu of the tree, the
// end of renaming in place, moving a dragged folder, commands 1501-1503.
void OnTreeRightClick();
void OnTreeEndRename();
void MoveDraggedFolder(const HTREEITEM* items);
void RunFolderCommand(int id);
// Reads the folder tree again from the desktop down (drives came or went).
void RebuildFolderTree();
// Shows the CD error and returns true when `path` lies on a CD drive:
// commands that change files refuse those.
bool RefuseOnCdDrive(const std::string& path);

// Opens a popup menu at the cursor with the menu animation switched off
// (main_window.cpp).
void OpenPopupAtCursor(HMENU popup);

// Where a box of the given outer size goes: centred on the owner (on the
// screen without one), kept inside the work area of the owner's monitor
// (list_file_box.cpp).
POINT CentredBoxPlace(HWND owner, int32_t outerWidth, int32_t outerHeight);

// Ripping CD tracks and converting audio files (audio_copy.cpp): true for
// the ids 1201-1204 and 1301-1304, which it runs.
bool RunAudioCopyCommand(int id);

// The media search, commands 401-406 (media_search.cpp): true for such an
// id, which then ran.
bool RunMediaSearchCommand(int id);

// Moves a file to the recycle bin: SHFileOperationA's result, or 2 when the
// file does not exist.  Silent without `confirm`.
int32_t RecycleFile(const std::string& path, int32_t confirm = 0);

// Thumbnails (thumbnails.cpp).  The loader thread runs after every refill
// and handled command until every item has its thumbnail.
void StartThumbnails();
// Stops the loader and waits for it (answering the messages it sends).
void StopThumbnails();
// Asks the loader to stop without waiting (before a modal box).
void RequestThumbnailStop();
bool ThumbnailsBusy();
void FreeThumbnails();
void DropThumbnail(int index);
LRESULT OnThumbnailLoaded(LPARAM lParam);
void DrawThumbnailCell(const DRAWITEMSTRUCT* item);
void SubclassFileList();

// Watchers (watchers.cpp).
void StartFolderWatcher();
void StopFolderWatcher();
void StartDriveWatcher();
void StopDriveWatcher();
void MarkListingTime();
void RefreshFileListByDiff();
void OnDrivesChanged();
// Waits for a thread to end, answering the messages other threads send to
// this one meanwhile (posted ones stay queued).  True when it ended.
bool WaitForThreadPumpingSent(HANDLE thread, DWORD timeoutMs);

// File commands (file_commands.cpp): delete (7, 105), copy (106), move (107).
void DeleteSelectedFiles();
void TransferSelectedFiles(bool move);
// The target-folder box: 1 chosen, 2 a new folder typed, 3 cancelled;
// `folder` in is the start folder, out the chosen or typed one.
int32_t TargetBox(HWND owner, const std::string& buttons, std::string* folder);

// The file list: the files of `folder` that match `pattern`, and the status
// line that counts them.
void FillFileList(const std::string& folder, const std::string& pattern);
void UpdateStatusText();
// The pattern of the selected media type ("*.*" when none is selected).
std::string CurrentPattern();

// Lays out the controls for the main window's client size.
void LayoutBrowserWindow(int32_t width, int32_t height);

}  // namespace browser
