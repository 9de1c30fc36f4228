// Filling the file list with the files of the current folder that match the
// selected media type, and the status line that counts them.  Thumbnails
// and the folder and drive watchers come on top of this.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "browser_state.h"
#include "core/file_filter.h"
#include "core/path_names.h"
#include "core/text_rules.h"
#include "themecore.h"

namespace browser {

namespace {

constexpr size_t kStatusNounEntry = 4;
constexpr int32_t kPictureType = 4;  // the fifth media type lists thumbnails

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

bool RecycleFile(const std::string& path) {
  // The shell takes a list ended by two zero bytes.
  std::string from = path + std::string(2, '\0');
  SHFILEOPSTRUCTA operation = {};
  operation.hwnd = Browser().mainWindow;
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  int result = SHFileOperationA(&operation);
  return result == 0 && !operation.fAnyOperationsAborted &&
         GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

void FillFileList(const std::string& folder, const std::string& pattern) {
  BrowserState& b = Browser();
  if (b.fileList == nullptr) return;
  b.thumbnailMode = b.currentType == kPictureType;
  FileListFilter filter = MakeFileListFilter(pattern, b.filterList);
  SendMessageA(b.fileList, WM_SETREDRAW, FALSE, 0);
  SendMessageA(b.fileList, LB_RESETCONTENT, 0, 0);

  int32_t widest = 0;
  WIN32_FIND_DATAA found = {};
  HANDLE search = FindFirstFileA((suite::WithFinalBackslash(folder) + filter.mask).c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(b.fileList, WM_GETFONT, 0, 0));
    do {
      if (!FileListTakes(filter, found.cFileName, found.dwFileAttributes)) continue;
      std::string item = " " + suite::LowerAscii(found.cFileName);
      SendMessageA(b.fileList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      int32_t width = 0, height = 0;
      SKGETTEXTEXTENT(b.fileList, font, item.c_str(), &width, &height);
      widest = std::max(widest, width);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  if (SendMessageA(b.fileList, LB_GETCOUNT, 0, 0) > 0) SendMessageA(b.fileList, LB_SETSEL, TRUE, 0);
  if (widest > 0) SendMessageA(b.fileList, LB_SETCOLUMNWIDTH, widest + 8, 0);
  SendMessageA(b.fileList, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(b.fileList, nullptr, TRUE);
  UpdateStatusText();
}

}  // namespace browser
