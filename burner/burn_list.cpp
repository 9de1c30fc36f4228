// The burn list: filled from a ".upl" list, a suite command's item list or
// dropped files (each line with its companion files), lines removed and
// moved, its width, and its popup menu.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "burner_state.h"
#include "core/burn_list.h"
#include "core/item_list.h"
#include "core/list_file.h"
#include "core/suite_command_codes.h"
#include "core/text_rules.h"
#include "file_io.h"
#include "suite_command.h"
#include "themecore.h"
#include "trace_writer.h"

namespace burner {

namespace {

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void AddLine(const std::string& line) {
  SendMessageA(Burner().list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

std::string LineAt(HWND list, int index) {
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

// With ORB_TRACE set, every change of the list leaves a line with all of
// its lines joined by "|" (how tests read a list of another process).
void TraceList() {
  std::string joined;
  std::vector<std::string> lines = ListLines();
  for (size_t i = 0; i < lines.size(); ++i) joined += (i == 0 ? "" : "|") + lines[i];
  orbtrace::WriteCall(orbtrace::CallLine("orbburn", "BurnList").Text(joined.c_str()),
                      static_cast<int64_t>(lines.size()));
}

void RefreshAfterChange() {
  TraceList();
  UpdateListExtent();
  ComputeImageSize();
}

}  // namespace

std::vector<std::string> ListLines() {
  HWND list = Burner().list;
  std::vector<std::string> lines;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) lines.push_back(LineAt(list, static_cast<int>(i)));
  return lines;
}

void AppendWithCompanions(const std::string& line) {
  AddLine(line);
  for (const std::string& companion :
       CompanionFiles(line, T(T_COMPANION_SUFFIXES), T(T_COMPANION_PATTERNS), FileExists)) {
    AddLine(companion);
  }
}

void FillFromListFile(const std::string& listFile) {
  BurnerState& b = Burner();
  if (listFile.empty() || !FileExists(listFile)) return;
  std::string bytes;
  if (!suite::ReadWholeFile(listFile, suite::MAX_LIST_FILE_BYTES, &bytes)) return;
  SendMessageA(b.list, LB_RESETCONTENT, 0, 0);
  for (const std::string& entry : suite::ReadListEntries(bytes, suite::LowerAscii(b.programFolder))) {
    if (FileExists(entry)) AppendWithCompanions(entry);
  }
  TraceList();
  UpdateListExtent();
}

void OnListArrived() {
  BurnerState& b = Burner();
  std::string items = b.pendingItems;
  b.pendingItems.clear();
  std::vector<std::string> lines = ItemListLines(items, b.programFolder);
  if (lines.empty()) return;
  SendMessageA(b.list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(b.list, LB_RESETCONTENT, 0, 0);
  for (const std::string& line : lines) AppendWithCompanions(line);
  TraceList();
  UpdateListExtent();
  SendMessageA(b.list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(b.list, nullptr, TRUE);
  ComputeImageSize();
}

void OnDropFiles(HDROP drop) {
  BurnerState& b = Burner();
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  if (count > 0) suite::SendSuiteCommand(b.window, suite::CMD_COME_TO_FRONT, "");
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::string path(length + 1, '\0');
    DragQueryFileA(drop, i, path.data(), length + 1);
    path.resize(length);
    if (path.empty()) continue;
    // A folder is known by its attribute, not by the dots of its name.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const bool isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    AppendWithCompanions(DroppedLine(path, isFolder));
  }
  RefreshAfterChange();
  DragFinish(drop);
}

void RemoveSelectedLines() {
  BurnerState& b = Burner();
  if (b.busy != 0) return;
  const LRESULT count = SendMessageA(b.list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = count - 1; i >= 0; --i) {
    if (SendMessageA(b.list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) {
      SendMessageA(b.list, LB_DELETESTRING, static_cast<WPARAM>(i), 0);
    }
  }
  TraceList();
  UpdateListExtent();
  const int64_t result = ComputeImageSize();
  if (result == 0) {
    SetStatusText(T(T_FITS));
  } else if (result < 0) {
    SendMessageA(b.list, LB_SETHORIZONTALEXTENT, 0, 0);
    b.listExtent = 0;
    SetStatusText(T(T_READY));
  }
}

void MoveSelectedLines(bool up) {
  BurnerState& b = Burner();
  std::vector<std::string> lines = ListLines();
  std::vector<bool> selected(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    selected[i] = SendMessageA(b.list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
  }
  if (!MoveSelected(lines, selected, up)) return;
  const LRESULT top = SendMessageA(b.list, LB_GETTOPINDEX, 0, 0);
  SendMessageA(b.list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(b.list, LB_RESETCONTENT, 0, 0);
  for (const std::string& line : lines) AddLine(line);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (selected[i]) SendMessageA(b.list, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
  }
  SendMessageA(b.list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
  SendMessageA(b.list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(b.list, nullptr, TRUE);
  TraceList();
  UpdateListExtent();
}

void UpdateListExtent() {
  BurnerState& b = Burner();
  int32_t widest = 0;
  for (const std::string& line : ListLines()) {
    int32_t width = 0;
    int32_t height = 0;
    if (SKGETTEXTEXTENT(b.list, SKDEFAULTFONT(), line.c_str(), &width, &height) != 0) {
      widest = std::max(widest, width + 8);
    }
  }
  b.listExtent = widest;
  SendMessageA(b.list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest), 0);
}

void ShowListPopup() {
  BurnerState& b = Burner();
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return;
  std::vector<std::string> items = suite::SplitCommaList(T(T_POPUP));
  for (size_t i = 0; i < items.size(); ++i) {
    // Item n sends command 15 + n: 16 removes the selected lines, 17 is help.
    InsertMenuA(menu, static_cast<UINT>(i), MF_BYPOSITION | MF_STRING, ID_REMOVE + i, items[i].c_str());
  }
  POINT at;
  GetCursorPos(&at);
  TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, b.window, nullptr);
  DestroyMenu(menu);
}

}  // namespace burner
