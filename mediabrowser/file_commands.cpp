// The file commands that change the current folder: delete the selected
// files to the recycle bin, and copy or move them to a target folder, each
// picture with its side files (keywords, timing, sound, overlay).  While one
// runs, the folder watcher is stopped and the thumbnail loader waits.
// Beside them, the target-folder box the copy and move ask with.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "browser_state.h"
#include "core/file_list_rules.h"
#include "core/item_list.h"
#include "core/path_names.h"
#include "core/text_rules.h"
#include "folder_tree.h"
#include "orbboxes.h"
#include "skin_texts.h"
#include "themecore.h"
#include "themecore_popup.h"
#include "themecore_wait.h"

namespace browser {

namespace {

constexpr size_t kNoSelectionEntry = 22;
constexpr size_t kYesNoEntry = 29;
constexpr size_t kOkCancelEntry = 32;
constexpr size_t kDeleteQuestionEntry = 41;
constexpr size_t kCopyDoneEntry = 45;
constexpr size_t kMoveDoneEntry = 46;
constexpr size_t kCopyButtonsEntry = 47;
constexpr size_t kMoveButtonsEntry = 48;
constexpr size_t kNewFolderSuffixEntry = 49;
constexpr size_t kSideFilesEntry = 50;
constexpr int32_t kPictureType = 4;
constexpr int32_t kCdErrorText = 29;
constexpr int32_t kCreateFailedErrorText = 82;

std::vector<std::string> SelectedNames() {
  BrowserState& b = Browser();
  std::vector<std::string> names;
  for (int index : SelectedIndexes(b.fileList)) names.push_back(ListItemText(b.fileList, index));
  return names;
}

bool IsPicture(const std::string& path) {
  BrowserState& b = Browser();
  if (b.types.size() <= static_cast<size_t>(kPictureType)) return false;
  return suite::PatternListTakes(b.types[kPictureType].pattern, suite::FileNameOf(path));
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Removes a list item by its text, with its thumbnail.
void RemoveItem(const std::string& item) {
  BrowserState& b = Browser();
  LRESULT index =
      SendMessageA(b.fileList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str()));
  if (index == LB_ERR) return;
  DropThumbnail(static_cast<int>(index));
  SendMessageA(b.fileList, LB_DELETESTRING, index, 0);
}

// A command that changes the current folder: the watcher and the loader
// rest meanwhile, and start again for what the folder holds afterwards.
class FolderChange {
 public:
  FolderChange() {
    BrowserState& b = Browser();
    b.watcherPaused = true;
    StopFolderWatcher();
    StopThumbnails();
    SKCURSORWAIT();
  }
  ~FolderChange() {
    BrowserState& b = Browser();
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    b.watcherPaused = false;
    MarkListingTime();
    StartFolderWatcher();
    UpdateStatusText();
    InvalidateRect(b.fileList, nullptr, TRUE);
  }
  FolderChange(const FolderChange&) = delete;
  FolderChange& operator=(const FolderChange&) = delete;
};

}  // namespace

void DeleteSelectedFiles() {
  BrowserState& b = Browser();
  if (b.deleteBusy || RefuseOnCdDrive(b.currentFolder)) return;
  std::vector<std::string> names = SelectedNames();
  if (names.empty()) {
    suite::boxes::ShowInfoBox(b.texts.entry(kNoSelectionEntry), "");
    return;
  }
  if (suite::boxes::ShowInfoBox(b.texts.entry(kDeleteQuestionEntry), b.texts.entry(kYesNoEntry)) != 1) return;
  b.deleteBusy = true;
  {
    FolderChange change;
    for (const std::string& item : names) {
      std::string path = suite::WithFinalBackslash(b.currentFolder) + suite::TrimLeadingBlanks(item);
      RecycleFile(path, 0);
      // The side files go to the recycle bin with their picture, so that
      // restoring it brings them back too.
      if (IsPicture(path)) {
        for (const std::string& side : SideFilePaths(path, b.texts.entry(kSideFilesEntry))) {
          if (Exists(side)) RecycleFile(side, 0);
        }
      }
      if (!Exists(path)) RemoveItem(item);
    }
  }
  b.deleteBusy = false;
}

void TransferSelectedFiles(bool move) {
  BrowserState& b = Browser();
  if (b.transferBusy) return;
  std::vector<std::string> names = SelectedNames();
  if (names.empty()) {
    suite::boxes::ShowInfoBox(b.texts.entry(kNoSelectionEntry), "");
    return;
  }
  std::string chosen = b.lastTarget.empty() ? b.currentFolder : b.lastTarget;
  int32_t answer = TargetBox(b.mainWindow, b.texts.entry(move ? kMoveButtonsEntry : kCopyButtonsEntry), &chosen);
  TargetDecision target = DecideTarget(answer, chosen, b.currentFolder);
  if (target.action == TargetAction::kCancel || target.action == TargetAction::kSameFolder) return;
  if (target.action == TargetAction::kCreate && SKMAKEDIR(target.folder.c_str()) == 0) {
    suite::boxes::ShowWarningBox(suite::WindowsErrorText(kCreateFailedErrorText));
    return;
  }
  if (target.folder.size() >= 2 && target.folder[1] == ':' &&
      GetDriveTypeA(target.folder.substr(0, 3).c_str()) == DRIVE_CDROM) {
    suite::boxes::ShowWarningBox(suite::WindowsErrorText(kCdErrorText));
    return;
  }
  if (move && RefuseOnCdDrive(b.currentFolder)) return;
  b.lastTarget = target.folder;
  b.transferBusy = true;
  bool completed = true;
  {
    FolderChange change;
    for (const std::string& item : names) {
      std::string name = suite::TrimLeadingBlanks(item);
      std::string source = suite::WithFinalBackslash(b.currentFolder) + name;
      // Copied over an existing file of that name; the old one stays until
      // the copy has succeeded.
      if (int32_t error = SKSHELLCOPY(source.c_str(), (target.folder + name).c_str(), "")) {
        suite::boxes::ShowWarningBox(name + "||" + suite::WindowsErrorText(error));
        completed = false;
        break;
      }
      std::vector<std::string> sides;
      if (IsPicture(source)) sides = SideFilePaths(source, b.texts.entry(kSideFilesEntry));
      for (const std::string& side : sides) {
        if (Exists(side)) SKSHELLCOPY(side.c_str(), (target.folder + suite::FileNameOf(side)).c_str(), "");
      }
      if (move) {
        SKKILLFILE(source.c_str());
        for (const std::string& side : sides) SKKILLFILE(side.c_str());
        if (!Exists(source)) RemoveItem(item);
      }
      if (suite::boxes::PumpAndCheckCancel(1) != 0) {
        completed = false;
        break;
      }
    }
  }
  b.transferBusy = false;
  if (completed) suite::boxes::ShowInfoBox(b.texts.entry(move ? kMoveDoneEntry : kCopyDoneEntry), "");
}

// ---------------------------------------------------------------------------
// The target-folder box: the folder tree and three buttons (choose, new
// folder, cancel).

namespace {

constexpr char kTargetClass[] = "TARGETBOX";
constexpr int kTreeId = 1;
constexpr int kChooseId = 2;
constexpr int kNewFolderId = 3;
constexpr int kCancelId = 4;
constexpr int32_t kInnerWidth = 330;
constexpr int32_t kInnerHeight = 227;

struct TargetBoxState {
  HWND box = nullptr;
  HWND frame = nullptr;
  HWND tree = nullptr;
  std::vector<HWND> buttons;
  std::string folder;
  int32_t result = 3;
  bool closing = false;
  HBRUSH brush = nullptr;
};
TargetBoxState g_target;

void CloseTargetBox(const std::string& folder, int32_t result) {
  g_target.folder = folder;
  g_target.result = result;
  g_target.closing = true;
}

void AskNewFolder() {
  BrowserState& b = Browser();
  char caption[256] = "";
  GetWindowTextA(GetDlgItem(g_target.box, kNewFolderId), caption, sizeof(caption));
  std::string prompt = suite::UpperAscii(suite::ReplaceAll(caption, "&", "")) + b.texts.entry(kNewFolderSuffixEntry);
  char text[MAX_PATH + 1] = "";
  std::string start = suite::FolderTreeGetSelectedPath(g_target.tree);
  lstrcpynA(text, start.c_str(), sizeof(text));
  int32_t button = SKINPUTBOX(g_target.box, SKCAPTIONFONT(), b.texts.entry(1).c_str(), prompt.c_str(),
                              b.texts.entry(kOkCancelEntry).c_str(), text, sizeof(text), nullptr, 0);
  std::string typed = suite::TrimBlanks(text);
  if (button == 1 && !typed.empty()) CloseTargetBox(typed, 2);
}

LRESULT CALLBACK TargetBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header == nullptr || header->hwndFrom != g_target.tree) break;
      if (LRESULT handled = suite::FolderTreeHandleNotify(window, kTreeId, header)) return handled;
      if (suite::FolderTreeNotifyCode(g_target.tree, header) == suite::FTN_SELCHANGED && g_target.frame != nullptr) {
        SetWindowTextA(g_target.frame, suite::FolderTreeGetSelectedPath(g_target.tree).c_str());
        RECT strip = {};
        GetClientRect(g_target.frame, &strip);
        strip.bottom = SKGETSYSTEMMETRICS(1);
        InvalidateRect(g_target.frame, &strip, TRUE);
      }
      return 0;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kChooseId:
          CloseTargetBox(suite::FolderTreeGetSelectedPath(g_target.tree), 1);
          return 0;
        case kNewFolderId:
          AskNewFolder();
          return 0;
        case kCancelId:
          CloseTargetBox(std::string(), 3);
          return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (g_target.brush != nullptr) return reinterpret_cast<LRESULT>(g_target.brush);
      break;
    case WM_DRAWITEM:
      return SKDRAWITEM(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    case WM_CLOSE:
      CloseTargetBox(std::string(), 3);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterTargetClass() {
  if (SKCHECKCLASS(kTargetClass) != 0) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = TargetBoxProc;
  windowClass.hInstance = Browser().instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  return SKREGISTERCLASS(&windowClass, kTargetClass) != 0;
}

}  // namespace

int32_t TargetBox(HWND owner, const std::string& buttons, std::string* folder) {
  if (g_target.box != nullptr || folder == nullptr || !RegisterTargetClass()) return 3;
  g_target = TargetBoxState{};
  std::vector<std::string> captions = suite::SplitItemList(buttons);
  captions.resize(3);
  int32_t total = 0;
  std::vector<int32_t> widths;
  for (const std::string& caption : captions) {
    int32_t width = 0, height = 0;
    SKGETTEXTEXTENT(owner, SKCAPTIONFONT(), caption.empty() ? " " : caption.c_str(), &width, &height);
    widths.push_back(width + 20);
    total += width + 20 + 4;
  }
  const int32_t innerWidth = std::max(kInnerWidth, total + 8);
  RECT ownerRect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner != nullptr) GetWindowRect(owner, &ownerRect);
  const int x = ownerRect.left + (ownerRect.right - ownerRect.left - innerWidth) / 2;
  const int y = ownerRect.top + (ownerRect.bottom - ownerRect.top - kInnerHeight) / 2;
  g_target.box = CreateWindowExA(0, kTargetClass, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, innerWidth,
                                 kInnerHeight, owner, nullptr, Browser().instance, nullptr);
  if (g_target.box == nullptr) return 3;
  g_target.brush = CreateSolidBrush(static_cast<COLORREF>(SKGETSYSCOLOR(104)));
  g_target.tree = suite::FolderTreeCreateControl(WS_EX_CLIENTEDGE, g_target.box, WS_VISIBLE | WS_TABSTOP, 4, 4,
                                                 innerWidth - 8, 194, kTreeId, 1);
  if (g_target.tree != nullptr) {
    suite::FolderTreeFill(g_target.tree, nullptr, 0, 1);
    if (!folder->empty()) suite::FolderTreeSelectPath(g_target.tree, folder->c_str());
  }
  int32_t left = std::max(2, (innerWidth - total) / 2);
  for (size_t i = 0; i < captions.size(); ++i) {
    HWND button = SKBUT3D(g_target.box, captions[i].c_str(), SKCAPTIONFONT(), left, 203, widths[i], 22,
                          kChooseId + static_cast<int>(i), 0);
    g_target.buttons.push_back(button);
    left += widths[i] + 2;
  }
  g_target.frame = SKPOPUPCONTAINER(g_target.box, folder->c_str(), x, y, 0, 0, TargetBoxProc, 0, 0);
  const bool disablesOwner = owner != nullptr && IsWindowEnabled(owner);
  if (disablesOwner) EnableWindow(owner, FALSE);

  MSG message = {};
  bool quit = false;
  // The loop ends with the box, however it went.
  while (!g_target.closing && IsWindow(g_target.box)) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      quit = true;
      break;
    }
    if (!IsDialogMessageA(g_target.box, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  if (disablesOwner && IsWindow(owner)) EnableWindow(owner, TRUE);
  for (HWND button : g_target.buttons) {
    if (button != nullptr) SKDELETEMEMBMP(button);
  }
  if (IsWindow(g_target.box)) DestroyWindow(g_target.box);
  if (g_target.brush != nullptr) DeleteObject(g_target.brush);
  if (owner != nullptr) SetActiveWindow(owner);
  int32_t result = quit ? 3 : g_target.result;
  *folder = result == 3 ? std::string() : g_target.folder;
  g_target = TargetBoxState{};
  if (quit) PostQuitMessage(static_cast<int>(message.wParam));
  return result;
}

}  // namespace browser
