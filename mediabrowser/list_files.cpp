// Loading and saving the collection (the second list) as a list file of the
// user folder.  The file's bytes are the suite's list format
// (suite/core/list_file); the name comes from the list-file box.  The last
// list saved or loaded becomes the default list file: the save box starts
// with its name and the disc burner takes it as the volume label.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "browser_state.h"
#include "core/list_file.h"
#include "core/path_names.h"
#include "core/pick_box_rules.h"
#include "core/text_rules.h"
#include "file_io.h"
#include "list_files.h"
#include "orbboxes.h"
#include "skin_texts.h"
#include "themecore.h"

namespace browser {

namespace {

// The entries of the collection as it shows them (with their leading
// blank, which the list format drops).
std::vector<std::string> CollectionEntries() {
  const BrowserState& b = Browser();
  LRESULT count = SendMessageA(b.secondList, LB_GETCOUNT, 0, 0);
  std::vector<std::string> entries;
  for (LRESULT i = 0; i < count; ++i) entries.push_back(ListItemText(b.secondList, static_cast<int>(i)));
  return entries;
}

bool IsExistingFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A list file's bytes, at most MAX_LIST_FILE_BYTES of them; `cut` tells
// that the file was longer.  The Windows error number, 0 when read.
uint32_t ReadListBytes(const std::string& path, std::string* bytes, bool* cut) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  uint32_t error = 0;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file, &size) || size.QuadPart < 0) {
    error = GetLastError();
  } else {
    *cut = static_cast<unsigned long long>(size.QuadPart) > suite::MAX_LIST_FILE_BYTES;
    bytes->assign(*cut ? suite::MAX_LIST_FILE_BYTES : static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes->empty() && !ReadFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr)) {
      error = GetLastError();
    }
    bytes->resize(error == 0 ? read : 0);
  }
  CloseHandle(file);
  return error;
}

void ShowWindowsError(uint32_t error) {
  suite::boxes::ShowWarningBox(suite::WindowsErrorText(static_cast<int32_t>(error)));
}

void FillCollection(const std::vector<std::string>& files) {
  BrowserState& b = Browser();
  SendMessageA(b.secondList, LB_RESETCONTENT, 0, 0);
  SendMessageA(b.secondList, LB_SETHORIZONTALEXTENT, 0, 0);
  HeldListDrawing held(b.secondList);
  for (const std::string& file : files) {
    std::string entry = " " + file;
    LRESULT placed = SendMessageA(b.secondList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    if (placed == LB_ERR || placed == LB_ERRSPACE) break;
    GrowListExtent(b.secondList, entry);
  }
}

}  // namespace

void SaveCollectionAsList() {
  BrowserState& b = Browser();
  std::vector<std::string> entries = CollectionEntries();
  if (entries.empty()) {
    suite::boxes::ShowInfoBox(b.texts.entry(kNothingToSaveEntry), "");
    return;
  }
  const std::string& extension = b.texts.entry(kListExtensionEntry);
  std::string name = suite::FileNameOf(b.defaultListFile);
  if (PickListFile(b.mainWindow, b.texts.entry(kSaveListCaptionEntry), b.texts.entry(kSaveListButtonsEntry), &name,
                   1) != PICKFILE_CONFIRM) {
    return;
  }
  name = suite::ListFileBaseName(name, extension);
  if (name.empty()) return;
  std::string path = b.userFolder + name + extension;
  if (SKEXIST(path.c_str()) &&
      suite::boxes::ShowInfoBox(path + b.texts.entry(kReplaceListEntry), b.texts.entry(kListYesNoEntry)) != 1) {
    return;
  }
  b.defaultListFile = path;
  // Written beside the old list and renamed over it once complete: a full
  // disk leaves the old list as it was.
  uint32_t error = 0;
  if (!suite::WriteFileReplacing(path, suite::WriteListFile(entries), &error)) ShowWindowsError(error);
}

void LoadListIntoCollection() {
  BrowserState& b = Browser();
  const std::string& extension = b.texts.entry(kListExtensionEntry);
  if (!SKEXIST((b.userFolder + "*" + extension).c_str())) {
    suite::boxes::ShowInfoBox(b.texts.entry(kNoListFilesEntry), "");
    return;
  }
  std::string name;
  int32_t answer = PickListFile(b.mainWindow, b.texts.entry(kOpenListCaptionEntry),
                                b.texts.entry(kOpenListButtonsEntry), &name, 0);
  if (name.empty()) return;
  std::string path = b.userFolder + name;
  if (answer == PICKFILE_SECOND) {
    RecycleFile(path);
    return;
  }
  if (answer != PICKFILE_CONFIRM) return;
  b.defaultListFile = path;
  if (!IsExistingFile(path)) return;

  std::string bytes;
  bool cut = false;
  if (uint32_t error = ReadListBytes(path, &bytes, &cut)) {
    ShowWindowsError(error);
    return;
  }
  // Of a list cut at the size limit, the line cut with it is not read.
  suite::ListFileContents contents =
      suite::ReadListFile(bytes, suite::LowerAscii(b.programFolder), IsExistingFile, cut);
  FillCollection(contents.files);
  // A list none of whose files is there is kept: they may be on a drive
  // that is not plugged in.
  if (contents.files.empty()) suite::boxes::ShowWarningBox(name + b.texts.entry(kNoListedFileEntry));
}

void GrowListExtent(HWND list, const std::string& text) {
  int32_t width = 0, height = 0;
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0));
  SKGETTEXTEXTENT(list, font, text.c_str(), &width, &height);
  LRESULT extent = SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0);
  if (width + 8 > extent) SendMessageA(list, LB_SETHORIZONTALEXTENT, width + 8, 0);
}

HeldListDrawing::HeldListDrawing(HWND list) : list_(list) {
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
}

HeldListDrawing::~HeldListDrawing() {
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

}  // namespace browser
