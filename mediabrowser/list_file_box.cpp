// The list-file box (class PICKFILE): the list files of the user folder in an
// always-open list with an edit line above it, and a row of skinned buttons.
// It opens, deletes or names a list file for the load and save commands
// (list_files.cpp).  Its size and button row, and the answer each command
// gives, are core/pick_box_rules; the files it lists are the caller's user
// folder and list extension.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "browser_state.h"
#include "list_files.h"
#include "core/item_list.h"
#include "core/path_names.h"
#include "core/pick_box_rules.h"
#include "core/wait_window_layout.h"
#include "themecore.h"
#include "themecore_popup.h"

namespace browser {

namespace {

constexpr char kPickFileClass[] = "PICKFILE";
constexpr int kListId = 1;
// The skin's colours of the box: its text and its background.
constexpr int32_t kTextColour = 101;
constexpr int32_t kBackColour = 104;
constexpr int32_t kPanelColour = 112;

// What the caller and the box's procedure share: before the box the
// buttons' text, the owner and the mode; after it the chosen name and the
// result.
struct PickFileStore {
  std::string text;
  intptr_t number = 0;
  int32_t mode = 0;
};
PickFileStore g_store;

// The one box that runs: its windows and brush.
struct PickFileBox {
  HWND box = nullptr;
  HWND owner = nullptr;
  HWND combo = nullptr;
  HWND label = nullptr;  // shows the chosen entry in the open box
  HBRUSH brush = nullptr;
  std::vector<HWND> buttons;
  bool saveMode = false;
  std::string startName;  // the save box's name to start with
};
PickFileBox g_box;

std::string WindowTextOf(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
  int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(std::max(copied, 0)));
  return text;
}

std::string ComboItemText(HWND combo, LRESULT index) {
  if (index == CB_ERR) return std::string();
  return themecore::FetchText(
      [&](char* out, int32_t size) { return SKGETTEXTCOMBO(combo, static_cast<int32_t>(index), out, size); });
}

// The width of a space and the height of a line in a font.
void FontMetrics(HWND window, HFONT font, int32_t* spaceWidth, int32_t* textHeight) {
  *spaceWidth = 0;
  *textHeight = 0;
  SKGETTEXTEXTENT(window, font, " ", spaceWidth, textHeight);
}


void ListFilesOfUserFolder(HWND combo) {
  const BrowserState& b = Browser();
  WIN32_FIND_DATAA found = {};
  HANDLE search = FindFirstFileA((b.userFolder + "*" + b.texts.entry(kListExtensionEntry)).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) SKADDSTRINGCOMBO(combo, found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

// The open box shows its choice in a label over the hidden edit line.
void CoverEditWithLabel(HWND combo) {
  COMBOBOXINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetComboBoxInfo(combo, &info) || info.hwndItem == nullptr) return;
  RECT editClient = {};
  GetClientRect(info.hwndItem, &editClient);
  ShowWindow(info.hwndItem, SW_HIDE);
  g_box.label = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 2, 2, editClient.right + 2, 16, combo,
                                nullptr, Browser().instance, nullptr);
  if (g_box.label != nullptr) SendMessageA(g_box.label, WM_SETFONT, reinterpret_cast<WPARAM>(SKDEFAULTFONT()), 0);
}

LRESULT OnCreate(HWND box) {
  const BrowserState& b = Browser();
  g_box.box = box;
  PickFileParams(&g_store.text, &g_store.number, &g_store.mode, 0);
  g_box.owner = reinterpret_cast<HWND>(g_store.number);
  g_box.saveMode = g_store.mode == 1;

  HFONT captionFont = SKCAPTIONFONT();
  std::vector<std::string> captions = suite::SplitItemList(g_store.text);
  int32_t widest = 0;
  for (const std::string& caption : captions) {
    int32_t width = 0, height = 0;
    SKGETTEXTEXTENT(box, captionFont, caption.c_str(), &width, &height);
    widest = std::max(widest, width);
  }
  int32_t spaceWidth = 0, textHeight = 0;
  FontMetrics(box, captionFont, &spaceWidth, &textHeight);
  PickBoxLayout layout =
      LayOutPickBox(static_cast<int32_t>(captions.size()), widest, spaceWidth, textHeight);
  const int outerWidth = layout.innerWidth + SKGETSYSTEMMETRICS(4) + SKGETSYSTEMMETRICS(5);
  const int outerHeight = kPickBoxHeight + SKGETSYSTEMMETRICS(1) + SKGETSYSTEMMETRICS(6);
  POINT at = CentredBoxPlace(g_box.owner, outerWidth, outerHeight);

  const DWORD comboStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_SIMPLE | CBS_OWNERDRAWFIXED |
                           CBS_AUTOHSCROLL | CBS_SORT | CBS_HASSTRINGS | CBS_NOINTEGRALHEIGHT;
  g_box.combo = CreateWindowExA(WS_EX_CLIENTEDGE, "COMBOBOX", "", comboStyle, 4, kPickBoxListTop,
                                layout.innerWidth - 8, kPickBoxListHeight, box,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), b.instance, nullptr);
  if (g_box.combo == nullptr) return -1;
  SendMessageA(g_box.combo, WM_SETFONT, reinterpret_cast<WPARAM>(SKDEFAULTFONT()), 0);
  SendMessageA(g_box.combo, CB_LIMITTEXT,
               ListNameLimit(b.userFolder.size(), b.texts.entry(kListExtensionEntry).size()), 0);
  if (g_box.saveMode) {
    SetWindowTextA(g_box.combo, g_box.startName.c_str());
  } else {
    CoverEditWithLabel(g_box.combo);
  }
  g_box.brush = CreateSolidBrush(static_cast<COLORREF>(SKGETSYSCOLOR(kBackColour)));

  for (size_t i = 0; i < captions.size(); ++i) {
    g_box.buttons.push_back(SKBUT3D(box, captions[i].c_str(), captionFont, layout.buttonLeft[i],
                                    kPickBoxButtonTop, layout.buttonWidth, layout.buttonHeight,
                                    kPickBoxFirstButtonId + static_cast<int32_t>(i), 0));
  }
  ListFilesOfUserFolder(g_box.combo);
  SKPOPUPCONTAINER(box, "", at.x, at.y, layout.innerWidth, kPickBoxHeight, PickFileProc, 0, 0);
  SetFocus(g_box.combo);
  return 0;
}

void OnSelectionChanged() {
  if (g_box.label == nullptr) return;
  LRESULT index = SendMessageA(g_box.combo, CB_GETCURSEL, 0, 0);
  SetWindowTextA(g_box.label, ComboItemText(g_box.combo, index).c_str());
}

void OnCommand(HWND box, int id, int code) {
  if (id == kListId && code == CBN_SELCHANGE) OnSelectionChanged();
  // In the open box the edit line is hidden: the choice is the selected
  // entry's text.
  std::string text = g_box.saveMode ? WindowTextOf(g_box.combo)
                                    : ComboItemText(g_box.combo, SendMessageA(g_box.combo, CB_GETCURSEL, 0, 0));
  PickFileAnswer answer = PickFileCommand(id, code, g_box.saveMode, text, kSkinFrameCloseId);
  if (!answer.closes) return;
  intptr_t result = answer.result;
  PickFileParams(&answer.name, &result, &g_store.mode, 1);
  PostMessageA(box, WM_CLOSE, 0, 0);
}

void OnPaint(HWND box) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(box, &paint);
  if (dc == nullptr) return;
  RECT client = {};
  GetClientRect(box, &client);
  HBITMAP tile = SKCTLBACK();
  if (tile == nullptr || SKTILEBLT(dc, 0, 0, client.right, client.bottom, tile) == 0) {
    SKFILLRECT(dc, 0, 0, client.right, client.bottom, SKGETSYSCOLOR(kPanelColour));
  }
  EndPaint(box, &paint);
}

void OnClose(HWND box) {
  if (g_box.owner != nullptr && IsWindow(g_box.owner)) EnableWindow(g_box.owner, TRUE);
  ShowWindow(box, SW_HIDE);
  if (g_box.owner != nullptr && IsWindow(g_box.owner)) SetActiveWindow(g_box.owner);
}

void OnDestroy() {
  for (HWND button : g_box.buttons) {
    if (button != nullptr) SKDELETEMEMBMP(button);
  }
  g_box.buttons.clear();
  if (g_box.brush != nullptr) {
    HGDIOBJ brush = g_box.brush;
    SKDELETEOBJECT(&brush);
    g_box.brush = nullptr;
  }
  g_box.box = nullptr;
  g_box.combo = nullptr;
  g_box.label = nullptr;
  if (g_box.owner != nullptr && IsWindow(g_box.owner)) SetActiveWindow(g_box.owner);
}

bool RegisterPickFileClass() {
  if (SKCHECKCLASS(kPickFileClass) != 0) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_BYTEALIGNCLIENT | CS_BYTEALIGNWINDOW;
  windowClass.lpfnWndProc = PickFileProc;
  windowClass.hInstance = Browser().instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  return SKREGISTERCLASS(&windowClass, kPickFileClass) != 0;
}

// Return in the list confirms as the first button does (on a button it
// presses that button), and Escape closes the box as its frame's close box
// does.  The dialog manager would send Escape to the control of IDCANCEL,
// which is the first button (id 2) here: Escape would save or open.
bool TakeBoxKey(HWND box, const MSG& message) {
  if (message.message != WM_KEYDOWN || (message.hwnd != box && !IsChild(box, message.hwnd))) return false;
  const bool inList = g_box.combo != nullptr && (message.hwnd == g_box.combo || IsChild(g_box.combo, message.hwnd));
  int id = 0;
  if (message.wParam == VK_RETURN && inList) id = kPickBoxFirstButtonId;
  if (message.wParam == VK_ESCAPE) id = kSkinFrameCloseId;
  if (id == 0) return false;
  SendMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  return true;
}

// The box's own loop: it ends when the box is gone, however it went (a
// button, its frame's close box, the owner destroyed under it).  A quit
// request is left for the program's own loop.
void RunBoxLoop(HWND box) {
  MSG message = {};
  while (IsWindow(box)) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (TakeBoxKey(box, message)) continue;
    if (!IsDialogMessageA(box, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

}  // namespace

void PickFileParams(std::string* text, intptr_t* number, int32_t* mode, int32_t store) {
  if (store != 0) {
    g_store.text = *text;
    g_store.number = *number;
    g_store.mode = *mode;
  } else {
    *text = g_store.text;
    *number = g_store.number;
    *mode = g_store.mode;
  }
}

LRESULT CALLBACK PickFileProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window);
    case WM_CTLCOLORLISTBOX:
      if (g_box.brush != nullptr) return reinterpret_cast<LRESULT>(g_box.brush);
      break;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, static_cast<COLORREF>(SKGETSYSCOLOR(kTextColour)));
      SetBkColor(dc, static_cast<COLORREF>(SKGETSYSCOLOR(kBackColour)));
      if (g_box.brush != nullptr) return reinterpret_cast<LRESULT>(g_box.brush);
      break;
    }
    case WM_CTLCOLORBTN:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item == nullptr || item->CtlType != ODT_COMBOBOX) break;
      int32_t width = 0, height = 0;
      SKGETTEXTEXTENT(window, SKDEFAULTFONT(), "Ag", &width, &height);
      item->itemHeight = static_cast<UINT>(std::max(height, 1) + 1);
      return 1;
    }
    case WM_DRAWITEM:
      return SKDRAWITEM(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_COMMAND:
      OnCommand(window, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CLOSE:
      OnClose(window);
      break;
    case WM_DESTROY:
      OnDestroy();
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int32_t PickListFile(HWND owner, const std::string& caption, const std::string& buttons, std::string* name,
                     int32_t mode) {
  if (name == nullptr || g_box.box != nullptr) return PICKFILE_NONE;
  std::string text = buttons;
  intptr_t number = reinterpret_cast<intptr_t>(owner);
  PickFileParams(&text, &number, &mode, 1);
  if (!RegisterPickFileClass()) return PICKFILE_NONE;
  g_box = PickFileBox{};
  g_box.startName = *name;

  HWND box = CreateWindowExA(0, kPickFileClass, caption.c_str(), WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, owner,
                             nullptr, Browser().instance, nullptr);
  if (box != nullptr) {
    // Closing without a button answers nothing.
    std::string none;
    intptr_t noResult = PICKFILE_NONE;
    PickFileParams(&none, &noResult, &mode, 1);
    const bool disablesOwner = owner != nullptr && IsWindowEnabled(owner);
    if (disablesOwner) EnableWindow(owner, FALSE);
    RunBoxLoop(box);
    if (disablesOwner && IsWindow(owner)) EnableWindow(owner, TRUE);
  }
  g_box = PickFileBox{};
  intptr_t result = PICKFILE_NONE;
  PickFileParams(name, &result, &mode, 0);
  if (box == nullptr) {
    name->clear();
    return PICKFILE_NONE;
  }
  return static_cast<int32_t>(result);
}

POINT CentredBoxPlace(HWND owner, int32_t outerWidth, int32_t outerHeight) {
  RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT over = area;
  if (owner != nullptr && IsWindow(owner)) GetWindowRect(owner, &over);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  if (GetMonitorInfoA(MonitorFromRect(&over, MONITOR_DEFAULTTONEAREST), &monitor)) area = monitor.rcWork;
  // Placed as the suite places its boxes, with the work area as the screen.
  const suite::boxes::ScreenRect anchor{over.left - area.left, over.top - area.top, over.right - area.left,
                                        over.bottom - area.top};
  const suite::boxes::WindowPlace place = suite::boxes::CentreAndClamp(
      anchor, suite::boxes::WindowSize{outerWidth, outerHeight}, area.right - area.left, area.bottom - area.top);
  return {area.left + place.x, area.top + place.y};
}

}  // namespace browser
