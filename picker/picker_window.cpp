// The open picker's window procedure (DIRLISTPROC), its loop's keyboard
// filter (DLDIALOGMESSAGE) and the operations they run: filling the list
// from the current folder and pattern, following the list's selection,
// and collecting the choice when a button confirms.  The rules of what is
// listed and returned are core/; the set-up and the loop picker_dialog.cpp.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/file_listing.h"
#include "core/picker_choice.h"
#include "core/picker_layout.h"
#include "file_picker.h"
#include "folder_tree.h"
#include "picker_state.h"
#include "themecore.h"
#include "themecore_popup.h"

namespace picker {

namespace {

constexpr int32_t kListWidth = 184;

std::vector<DirectoryEntry> ReadFolder(const std::string& searchSpec) {
  std::vector<DirectoryEntry> entries;
  if (searchSpec.empty() || searchSpec.size() > kMaxSearchSpec) return entries;
  WIN32_FIND_DATAA found = {};
  HANDLE search = FindFirstFileA(searchSpec.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    entries.push_back({found.cFileName, found.dwFileAttributes});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return entries;
}

int32_t TextWidth(HWND window, const std::string& text) {
  int32_t width = 0;
  int32_t height = 0;
  SKGETTEXTEXTENT(window, SKDEFAULTFONT(), text.c_str(), &width, &height);
  return width;
}

int32_t CurrentListIndex() {
  PickerState& s = State();
  if (s.list == nullptr) return -1;
  // A multi-selection list has no one current selection: its caret item is
  // the one the user last touched.
  const UINT message = s.isMulti ? LB_GETCARETINDEX : LB_GETCURSEL;
  return static_cast<int32_t>(SendMessageA(s.list, message, 0, 0));
}

void SelectListItem(int32_t index) {
  PickerState& s = State();
  if (s.isMulti) {
    SendMessageA(s.list, LB_SETSEL, TRUE, index);
    SendMessageA(s.list, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
  } else {
    SendMessageA(s.list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

std::string ListItemText(int32_t index) {
  PickerState& s = State();
  const LRESULT length = SendMessageA(s.list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied = SendMessageA(s.list, LB_GETTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

std::string ControlText(HWND control) {
  return themecore::FetchText([control](char* out, int32_t size) { return SKGETCTLTEXT(control, out, size); });
}

void ConfirmAs(int32_t button) {
  PickerState& s = State();
  s.result = button;
  if (button == kPickerCancelled) {
    ClosePicker();
    return;
  }
  if (button == kPickerConfirmed && s.hasPreselect) s.resultList = s.preselectPath;
  CollectChoice();
  ClosePicker();
}

void OnListDoubleClick() {
  PickerState& s = State();
  if (s.lastSelection != -1) {
    s.name = ListItemText(s.lastSelection);
    if (s.field != nullptr) SKSETCTLTEXT(s.field, s.name.c_str());
  }
  s.isMulti = false;
  ConfirmAs(kPickerConfirmed);
}

void OnTreeSelection() {
  PickerState& s = State();
  char path[MAX_PATH + 1] = {};
  // The tree copies the path's bytes without a terminating zero and
  // returns their count.
  const LRESULT copied = SendMessageA(s.tree, suite::FTM_GETPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
  const size_t length = copied > 0 ? std::min<size_t>(static_cast<size_t>(copied), MAX_PATH) : 0;
  s.folderSpec = FolderSpecForTreePath(std::string(path, length), s.folderSpec);
  PickerFillList();
  PickerSelectionChanged();
}

void OnFilterChange() {
  PickerState& s = State();
  const int32_t index = static_cast<int32_t>(SendMessageA(s.filter, CB_GETCURSEL, 0, 0));
  if (index == s.previousFilter) return;
  if (index >= 0 && static_cast<size_t>(index) < s.filterTable.items.size()) {
    s.pattern = s.filterTable.items[static_cast<size_t>(index)].patterns;
    if (s.pattern.empty()) s.pattern = "*.*";
  }
  s.filterTable.current = index;
  PickerFillList();
  PickerSelectionChanged();
  s.previousFilter = index;
  RenewFilterTip();
}

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  PickerState& s = State();
  if (s.idBase == 0) return 0;
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  // The skin frame's close box ends the dialog as button 1 does.
  if (id == kFrameCloseId) {
    ConfirmAs(kPickerCancelled);
    return 1;
  }
  const int buttonCount = static_cast<int>(s.buttons.size());
  if (id > s.idBase && id <= s.idBase + buttonCount) {
    ConfirmAs(id - s.idBase);
    return 1;
  }
  switch (id) {
    case kTreeId:
      if (code == suite::FTN_SELCHANGED && s.tree != nullptr) OnTreeSelection();
      return 0;
    case kListId:
      if (code == LBN_SELCHANGE) {
        PickerSelectionChanged();
        return 1;
      }
      if (code == LBN_DBLCLK) {
        OnListDoubleClick();
        return 1;
      }
      break;
    case kFilterId:
      OnFilterChange();
      return 1;
    default:
      break;
  }
  return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

LRESULT OnDrawItem(const DRAWITEMSTRUCT* item) {
  PickerState& s = State();
  const bool isFilter = item->CtlType == ODT_COMBOBOX;
  const bool isList = item->CtlType == ODT_LISTBOX && (item->hwndItem == s.list || item->hwndItem == s.filter);
  if (!isFilter && !isList) return 0;
  HDC dc = item->hDC;
  RECT rect = item->rcItem;
  if (static_cast<int>(item->itemID) < 0) {
    if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &rect);
    return 1;
  }
  const int32_t index = static_cast<int32_t>(item->itemID);
  const std::string text = themecore::FetchText([&](char* out, int32_t size) {
    return isFilter ? SKGETTEXTCOMBO(item->hwndItem, index, out, size)
                    : SKGETTEXTLISTBOX(item->hwndItem, index, out, size);
  });
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  const COLORREF back = static_cast<COLORREF>(SKGETSYSCOLOR(selected ? 114 : 104));
  SKFILLRECT(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, static_cast<int32_t>(back));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, static_cast<COLORREF>(SKGETSYSCOLOR(selected ? 115 : 101)));
  TextOutA(dc, rect.left, rect.top, text.c_str(), static_cast<int>(text.size()));
  if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &rect);
  return 1;
}

void OnKeyDown(HWND window, WPARAM key) {
  PickerState& s = State();
  if (key == VK_RETURN) {
    if (window == s.list && s.list != nullptr) {
      OnListDoubleClick();
    } else if (window == s.field && s.field != nullptr && s.buttons.size() >= 2) {
      SetFocus(s.buttons[1]);
    }
  } else if (key == VK_ESCAPE && !s.buttons.empty()) {
    SetFocus(s.buttons[0]);
  }
}

// The tab stop the focus is on: the window itself, its parent or its
// grandparent (the folder tree's inner tree is the focus when the tree is
// the stop); 0 when none.
int32_t TabStopOf(HWND focus) {
  const std::vector<HWND>& stops = State().tabStops;
  HWND candidates[3] = {focus, focus ? GetParent(focus) : nullptr, nullptr};
  candidates[2] = candidates[1] ? GetParent(candidates[1]) : nullptr;
  for (HWND candidate : candidates) {
    if (candidate == nullptr) continue;
    for (size_t i = 0; i < stops.size(); ++i) {
      if (stops[i] == candidate) return static_cast<int32_t>(i + 1);
    }
  }
  return 0;
}

}  // namespace

PickerState& State() {
  static PickerState state;
  return state;
}

void AddTabStop(HWND window) { State().tabStops.push_back(window); }

void ClosePicker() {
  PickerState& s = State();
  s.isClosing = true;
  // GetMessage does not return for a sent message (a click sent from
  // another thread or process): a posted one wakes the loop.  It goes to
  // the thread, not the dialog, which may be on its way out.
  PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
}

void RenewFilterTip() {
  PickerState& s = State();
  const int32_t current = s.filterTable.current;
  if (s.filter == nullptr || current < 0 || static_cast<size_t>(current) >= s.filterTable.items.size()) return;
  const std::string tip = FilterTooltip(s.filterTable.items[static_cast<size_t>(current)].patterns);
  SKBUTTONTIP(s.dialog, s.filter, tip.c_str());
}

void PickerFillList() {
  PickerState& s = State();
  const ListingSpec spec = MakeListingSpec(s.pattern, GetStore(Store::kListedExtensions));
  s.searchSpec = SearchSpec(s.folderSpec, spec.searchPattern);
  SetStore(Store::kFilterChoice, s.pattern);
  const std::string hidden = GetStore(Store::kHiddenExtensions);
  if (s.list == nullptr) return;
  SendMessageA(s.list, LB_RESETCONTENT, 0, 0);
  const Listing listing = BuildListing(ReadFolder(s.searchSpec), spec, hidden, s.mode,
                                       SearchFolder(s.searchSpec), s.hasPreselect ? s.preselectPath : "");
  s.files = listing.files;
  int32_t width = kListWidth;
  for (const ListedFile& file : s.files) {
    SKADDSTRINGLISTBOX(s.list, file.shown.c_str());
    width = std::max(width, TextWidth(s.list, file.shown));
  }
  if (listing.selected >= 0) SelectListItem(listing.selected);
  SendMessageA(s.list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width), 0);
}

void PickerSelectionChanged() {
  PickerState& s = State();
  const int32_t index = CurrentListIndex();
  s.lastSelection = index;
  if (index == -1 || static_cast<size_t>(index) >= s.files.size()) return;
  const std::string path = ItemPath(SearchFolder(s.searchSpec), s.files, index);
  s.resultList = path;
  if (path == s.lastSelectionPath) return;
  if (!s.isAddressMode && s.field != nullptr) SKSETCTLTEXT(s.field, PathDisplayText(path).c_str());
  s.lastSelectionPath = path;
}

void CollectChoice() {
  PickerState& s = State();
  PickerSelectionChanged();
  if (s.isMulti && s.list != nullptr) {
    const LRESULT count = SendMessageA(s.list, LB_GETSELCOUNT, 0, 0);
    if (count > 0) {
      std::vector<int> items(static_cast<size_t>(count));
      const LRESULT got = SendMessageA(s.list, LB_GETSELITEMS, static_cast<WPARAM>(count),
                                       reinterpret_cast<LPARAM>(items.data()));
      std::vector<int32_t> selected(items.begin(), items.begin() + std::max<LRESULT>(got, 0));
      s.resultList = MultiSelectionList(SearchFolder(s.searchSpec), s.files, selected);
    }
  }
  if (s.isAddressMode && s.field != nullptr) s.name = ControlText(s.field);
}

LRESULT CALLBACK PickerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT skin = SKGETBOX(window, message, wParam, lParam);
  if (skin != 0) return skin;
  PickerState& s = State();
  switch (message) {
    case WM_CREATE:
      s.listBrush = CreateSolidBrush(static_cast<COLORREF>(SKGETSYSCOLOR(104)));
      return 0;
    case WM_DESTROY:
      if (s.listBrush != nullptr) SKDELETEOBJECT(reinterpret_cast<HGDIOBJ*>(&s.listBrush));
      // Destroyed while open (its owner went): the dialog ends as cancelled.
      if (window == s.dialog && s.isOpen && !s.isClosing) {
        s.result = kPickerCancelled;
        ClosePicker();
      }
      return 0;
    case WM_CTLCOLOREDIT: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, static_cast<COLORREF>(SKGETSYSCOLOR(101)));
      SetBkColor(dc, static_cast<COLORREF>(SKGETSYSCOLOR(104)));
      return reinterpret_cast<LRESULT>(s.listBrush);
    }
    case WM_CTLCOLORLISTBOX:
      return reinterpret_cast<LRESULT>(s.listBrush);
    case WM_CTLCOLORBTN:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure->CtlType != ODT_LISTBOX) break;
      measure->itemHeight = 16;
      return 1;
    }
    case WM_DRAWITEM:
      return OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_KEYDOWN:
      OnKeyDown(window, wParam);
      return 0;
    case WM_COMMAND:
      return OnCommand(window, wParam, lParam);
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int32_t PickerDialogMessage(HWND dialog, MSG* message) {
  if (message == nullptr || message->message != WM_KEYDOWN) return 0;
  switch (message->wParam) {
    case VK_RETURN:
    case VK_ESCAPE:
      PickerWindowProc(message->hwnd, WM_KEYDOWN, message->wParam, message->lParam);
      return 0;
    case VK_TAB: {
      const int32_t count = static_cast<int32_t>(State().tabStops.size());
      if (count == 0) return 0;
      const bool backwards = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
      const int32_t next = NextTabStop(TabStopOf(GetFocus()), count, backwards);
      SetFocus(State().tabStops[static_cast<size_t>(next - 1)]);
      return 1;
    }
    default:
      return 0;
  }
}

}  // namespace picker
