// Filling the file list with the files of the current folder that match the
// selected media type, the status line that counts them, and moving a file
// to the recycle bin.  A refill stops the thumbnail loader and the folder
// watcher first and starts them again for the new listing.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "browser_state.h"
#include "core/file_filter.h"
#include "core/path_names.h"
#include "core/text_rules.h"
#include "themecore.h"
#include "themecore_popup.h"

namespace browser {

namespace {

constexpr size_t kStatusNounEntry = 4;
constexpr int32_t kPictureType = 4;  // the fifth media type lists thumbnails
constexpr int32_t kTextItemHeight = 16;

}  // namespace

std::string CurrentPattern() {
  BrowserState& b = Browser();
  if (b.currentType < 0 || b.currentType >= static_cast<int32_t>(b.types.size())) return "*.*";
  return b.types[b.currentType].pattern;
}

void UpdateStatusText() {
  BrowserState& b = Browser();
  if (b.statusWindow == nullptr || b.fileList == nullptr) return;
  LRESULT count = SendMessageA(b.fileList, LB_GETCOUNT, 0, 0);
  std::string text = FileCountStatus(count > 0 ? static_cast<size_t>(count) : 0,
                                     b.texts.entry(kStatusNounEntry), b.currentFolder);
  SKSETCTLTEXT(b.statusWindow, text.c_str());
}

int32_t RecycleFile(const std::string& path, int32_t confirm) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return 2;
  // The shell takes a list ended by two zero bytes.
  std::string from = path + std::string(2, '\0');
  SHFILEOPSTRUCTA operation = {};
  operation.hwnd = Browser().mainWindow;
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = confirm != 0 ? FOF_ALLOWUNDO : FOF_ALLOWUNDO | FOF_SILENT | FOF_NOCONFIRMATION;
  int result = SHFileOperationA(&operation);
  if (result == 0 && operation.fAnyOperationsAborted) result = ERROR_CANCELLED;
  return result;
}

void FillFileList(const std::string& folder, const std::string& pattern) {
  BrowserState& b = Browser();
  if (b.fileList == nullptr) return;
  StartDriveWatcher();
  const bool multiColumn = (GetWindowLongPtrA(b.fileList, GWL_STYLE) & LBS_MULTICOLUMN) != 0;
  StopFolderWatcher();
  FreeThumbnails();
  b.thumbnailMode = multiColumn && b.currentType == kPictureType;
  const int32_t itemHeight = b.thumbnailMode ? b.itemHeight + 10 : kTextItemHeight;
  FileListFilter filter = MakeFileListFilter(pattern, b.filterList);
  {
    HeldListDrawing held(b.fileList);
    SendMessageA(b.fileList, LB_RESETCONTENT, 0, 0);
    SendMessageA(b.fileList, LB_SETITEMHEIGHT, 0, itemHeight);

    int32_t widest = 0;
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA((suite::WithFinalBackslash(folder) + filter.mask).c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      HFONT font = reinterpret_cast<HFONT>(SendMessageA(b.fileList, WM_GETFONT, 0, 0));
      do {
        if (!FileListTakes(filter, found.cFileName, found.dwFileAttributes)) continue;
        std::string item = " " + suite::LowerAscii(found.cFileName);
        SKADDSTRINGLISTBOX(b.fileList, item.c_str());
        if (b.thumbnailMode) continue;
        int32_t width = 0, height = 0;
        SKGETTEXTEXTENT(b.fileList, font, item.c_str(), &width, &height);
        widest = std::max(widest, width);
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    if (SendMessageA(b.fileList, LB_GETCOUNT, 0, 0) > 0) SendMessageA(b.fileList, LB_SETSEL, TRUE, 0);
    if (b.thumbnailMode) {
      SendMessageA(b.fileList, LB_SETCOLUMNWIDTH, itemHeight, 0);
    } else if (multiColumn) {
      if (widest > 0) SendMessageA(b.fileList, LB_SETCOLUMNWIDTH, widest + 8, 0);
    } else {
      SendMessageA(b.fileList, LB_SETHORIZONTALEXTENT, widest + 8, 0);
    }
  }
  UpdateStatusText();
  MarkListingTime();
  StartFolderWatcher();
  if (b.thumbnailMode) {
    if (b.folderTree != nullptr) UpdateWindow(b.folderTree);
    PostMessageA(b.mainWindow, WM_BROWSER_REPAINT, reinterpret_cast<WPARAM>(b.fileList), 0);
    StartThumbnails();
  }
}

}  // namespace browser
