// CHOOSERF's body: the dialog's set-up (size and place, background and
// labels, tree, list, filter box, field, buttons), its own message loop,
// and the clean-up that hands the choice back.  The window procedure and
// the list operations are picker_window.cpp.
//
// The loop ends when a button (or the frame's close box) closes the
// dialog.  It is the program's loop for that time, so a WM_QUIT meant for
// the program can arrive in it (a close command sent to the program while
// the dialog is open): the dialog then ends as cancelled and the WM_QUIT
// is posted again for the program's own loop, which would otherwise never
// end and leave a process without windows.
#include <windows.h>

#include <string>
#include <vector>

#include "core/file_listing.h"
#include "core/item_list.h"
#include "core/picker_choice.h"
#include "core/picker_layout.h"
#include "file_picker.h"
#include "folder_tree.h"
#include "picker_state.h"
#include "themecore.h"
#include "themecore_popup.h"
#include "themecore_wait.h"

namespace picker {

namespace {

const char kDialogClass[] = "ORBDLG";

HINSTANCE PickerModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&PickerWindowProc), &module);
  return module;
}

bool RegisterDialogClass(HINSTANCE instance) {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(instance, kDialogClass, &existing)) return true;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = PickerWindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kDialogClass;
  return RegisterClassExA(&wc) != 0;
}

int32_t WidestCaption(const std::string& buttons, HWND owner) {
  int32_t widest = 0;
  SKSPLITS(buttons.c_str(), "|", owner, SKDEFAULTFONT(), nullptr, 0, &widest);
  return widest;
}

Box OwnerBox(HWND owner) {
  RECT rect = {};
  GetWindowRect(owner, &rect);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void DrawLabel(HDC dc, const std::string& text, int32_t x, int32_t y) {
  if (text.empty()) return;
  SKPRINT3DU(dc, text.c_str(), x, y, SKGETSYSCOLOR(113), SKGETSYSCOLOR(112), SKCAPTIONFONT(), 1);
}

void PaintBackground(HDC dc, const FilePickerArgs& args, const PickerLayout& layout) {
  if (dc == nullptr) return;
  HBITMAP back = SKCTLBACK();
  if (back != nullptr) SKTILEBLT(dc, 0, 0, layout.clientWidth, layout.clientHeight, back);
  SKDRAWEDGE(dc, 1, 1, layout.clientWidth - 2, layout.clientHeight - 2, 6, 0xF);
  if (!args.treeLabel.empty()) DrawLabel(dc, args.treeLabel, layout.tree.x + 3, 9);
  DrawLabel(dc, args.listLabel, layout.listLabelX, 9);
  DrawLabel(dc, args.filterLabel, 13, 195);
}

HWND MakeControl(DWORD exStyle, const char* className, DWORD style, const Box& box, int id) {
  PickerState& s = State();
  return CreateWindowExA(exStyle, className, "", style, box.x, box.y, box.width, box.height, s.dialog,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), PickerModule(), nullptr);
}

void MakeTree(const FilePickerArgs& args, const StartPlace& place, const PickerLayout& layout) {
  PickerState& s = State();
  if (args.treeLabel.empty()) return;
  const Box& box = layout.tree;
  s.tree = suite::FolderTreeCreate(s.dialog, place.folder.c_str(), box.x, box.y, box.width, box.height, kTreeId);
  if (s.tree == nullptr) return;
  SKSETCTLFONT(s.tree, SKDEFAULTFONT());
  AddTabStop(s.tree);
}

void MakeList(const PickerLayout& layout) {
  PickerState& s = State();
  s.isMulti = ExchangeMultiRequest(0) == -1;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_DISABLENOSCROLL |
                LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED | LBS_NOTIFY;
  if (s.isMulti) style |= LBS_MULTIPLESEL | LBS_EXTENDEDSEL;
  s.list = MakeControl(WS_EX_CLIENTEDGE, "LISTBOX", style, layout.list, kListId);
  if (s.list == nullptr) return;
  // The list takes the tree's font; without a tree, the font its names are
  // measured in.
  HWND innerTree = s.tree != nullptr ? GetDlgItem(s.tree, kTreeId) : nullptr;
  auto font = reinterpret_cast<HFONT>(innerTree != nullptr ? SendMessageA(innerTree, WM_GETFONT, 0, 0) : 0);
  SendMessageA(s.list, WM_SETFONT, reinterpret_cast<WPARAM>(font != nullptr ? font : SKDEFAULTFONT()), FALSE);
  SKSETCOLOR(s.list, SKGETSYSCOLOR(101), SKGETSYSCOLOR(104));
  AddTabStop(s.list);
}

void MakeFilterBox(const FilePickerArgs& args, const PickerLayout& layout) {
  PickerState& s = State();
  s.filter = MakeControl(WS_EX_CLIENTEDGE, "COMBOBOX",
                         WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_HASSTRINGS | CBS_OWNERDRAWFIXED |
                             CBS_DROPDOWNLIST,
                         layout.filter, kFilterId);
  if (s.filter == nullptr) return;
  AddTabStop(s.filter);
  SKSETCTLFONT(s.filter, SKDEFAULTFONT());
  s.filterTable = MakeFilterTable(args.filters, s.pattern);
  for (const FilterItem& item : s.filterTable.items) SKADDSTRINGCOMBO(s.filter, item.caption.c_str());
  if (s.filterTable.current >= 0) {
    SendMessageA(s.filter, CB_SETCURSEL, static_cast<WPARAM>(s.filterTable.current), 0);
    RenewFilterTip();
  }
  s.previousFilter = s.filterTable.current;
}

void MakeField(HDC dc, const FilePickerArgs& args, const PickerLayout& layout) {
  PickerState& s = State();
  if (!layout.hasFieldRow) return;
  const Box& frame = layout.fieldFrame;
  if (dc != nullptr) {
    SKDRAWEDGE(dc, frame.x, frame.y, frame.width, frame.height, s.isAddressMode ? 9 : 6, 0xF);
    DrawLabel(dc, args.fieldLabel, 207, 195);
    SKFILLRECT(dc, 206, 213, frame.width - 4, 19, SKGETSYSCOLOR(104));
  }
  if (s.isAddressMode) {
    s.field = MakeControl(0, "EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, layout.edit, kFieldId);
    if (s.field == nullptr) return;
    SKSETCTLFONT(s.field, SKDEFAULTFONT());
    SKLIMITTEXTEDIT(s.field, 260);
    AddTabStop(s.field);
    SKSETCTLTEXT(s.field, s.name.c_str());
  } else if (!args.fieldLabel.empty()) {
    s.field = MakeControl(0, "STATIC", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, layout.pathDisplay, kFieldId);
    if (s.field == nullptr) return;
    SKSETCTLFONT(s.field, SKDEFAULTFONT());
    SKSETCOLOR(s.field, SKGETSYSCOLOR(101), SKGETSYSCOLOR(104));
  }
}

void MakeButtons(const FilePickerArgs& args, const PickerLayout& layout) {
  PickerState& s = State();
  s.idBase = kButtonIdBase;
  const std::vector<std::string> captions = suite::SplitItemList(args.buttons);
  for (size_t i = 0; i < captions.size(); ++i) {
    const int32_t k = static_cast<int32_t>(i + 1);
    const Box box = ButtonBox(layout, k);
    HWND button = SKBUT3D(s.dialog, captions[i].c_str(), SKCAPTIONFONT(), box.x, box.y, box.width, box.height,
                          kButtonIdBase + k, 0);
    s.buttons.push_back(button);
    AddTabStop(button);
  }
}

// The dialog's own loop; false when it ended on a WM_QUIT (whose code is
// then in *quitCode).
bool RunLoop(WPARAM* quitCode) {
  PickerState& s = State();
  MSG message = {};
  while (!s.isClosing) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      *quitCode = message.wParam;
      return false;
    }
    if (PickerDialogMessage(s.dialog, &message) == 0) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return true;
}

}  // namespace

int32_t ChooseFiles(const FilePickerArgs& args, std::string* resultList, std::string* name) {
  PickerState& s = State();
  // One dialog at a time: a call from inside an open dialog ends at once.
  if (s.isOpen) return kPickerEndedWithoutButton;
  s = PickerState{};
  s.isOpen = true;
  s.owner = args.owner != nullptr ? args.owner : GetDesktopWindow();
  const std::string title = DialogTitle(args.title);
  s.isAddressMode = args.mode != 0;
  s.mode = args.mode;
  s.isSaveMode = args.saveMode;

  const StartPlace place = SplitStart(args.start);
  s.pattern = place.pattern;
  const NameArgument nameArgument = SplitNameArgument(name != nullptr ? *name : std::string());
  s.hasPreselect = nameArgument.hasPreselect;
  s.preselectPath = nameArgument.preselectPath;
  s.name = nameArgument.name;
  s.folderSpec = place.folder + "*.*";

  PickerLayoutInput input;
  input.mode = args.mode;
  input.hasTreeLabel = !args.treeLabel.empty();
  input.hasFieldLabel = !args.fieldLabel.empty();
  input.widestCaption = WidestCaption(args.buttons, s.owner);
  input.buttonCount = static_cast<int32_t>(suite::ItemFieldCount(args.buttons));
  const PickerLayout layout = LayOutPicker(input);
  const int32_t framedWidth = layout.clientWidth + SKGETSYSTEMMETRICS(4) + SKGETSYSTEMMETRICS(5);
  const int32_t framedHeight = layout.clientHeight + SKGETSYSTEMMETRICS(1) + SKGETSYSTEMMETRICS(6);
  const Point at = PlaceCentred(OwnerBox(s.owner), framedWidth, framedHeight, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN));

  const HINSTANCE instance = PickerModule();
  if (RegisterDialogClass(instance)) {
    s.dialog = CreateWindowExA(0, kDialogClass, title.c_str(), WS_POPUP | WS_CLIPCHILDREN, at.x, at.y,
                               layout.clientWidth, layout.clientHeight, s.owner, nullptr, instance, nullptr);
  }
  if (s.dialog == nullptr) {
    s.isOpen = false;
    return kPickerEndedWithoutButton;
  }

  SKCREATEMEMBMP(s.dialog, layout.clientWidth, layout.clientHeight);
  HDC background = SKGETHDCMEMBMP(s.dialog);
  PaintBackground(background, args, layout);
  MakeTree(args, place, layout);
  MakeList(layout);
  MakeFilterBox(args, layout);
  MakeField(background, args, layout);
  MakeButtons(args, layout);
  PickerFillList();
  PickerSelectionChanged();

  s.frame = SKPOPUPCONTAINER(s.dialog, "", at.x, at.y, 0, 0, PickerWindowProc, 0, 0);
  SetFocus(s.frame != nullptr ? s.frame : s.dialog);
  if (s.isAddressMode && s.field != nullptr) {
    SetFocus(s.field);
    const WPARAM end = static_cast<WPARAM>(GetWindowTextLengthA(s.field));
    SendMessageA(s.field, EM_SETSEL, end, static_cast<LPARAM>(end));
  }
  // The desktop is never disabled: that would take the input of every
  // window away.
  const bool disablesOwner = s.owner != GetDesktopWindow() && IsWindowEnabled(s.owner);
  if (disablesOwner) EnableWindow(s.owner, FALSE);

  WPARAM quitCode = 0;
  const bool endedByButton = RunLoop(&quitCode);
  if (!endedByButton) s.result = kPickerCancelled;

  if (disablesOwner && IsWindow(s.owner)) EnableWindow(s.owner, TRUE);
  if (IsWindow(s.dialog)) ShowWindow(s.dialog, SW_HIDE);
  if (IsWindow(s.owner) && s.owner != GetDesktopWindow()) {
    SetFocus(s.owner);
    SetActiveWindow(s.owner);
  }
  SKDELETEMEMBMP(s.dialog);
  for (HWND button : s.buttons) SKDELETEMEMBMP(button);
  if (IsWindow(s.dialog)) DestroyWindow(s.dialog);

  if (s.isSaveMode && s.result == kPickerConfirmed) s.resultList = SaveTarget(s.searchSpec, s.pattern);
  if (resultList != nullptr) *resultList = s.resultList;
  std::string finalName = s.name;
  if (s.isAddressMode) finalName = CompleteAddressName(finalName, s.searchSpec);
  if (name != nullptr) *name = finalName;
  const int32_t result = s.result;
  s.isOpen = false;
  s.isClosing = false;
  if (!endedByButton) PostQuitMessage(static_cast<int>(quitCode));
  return result;
}

}  // namespace picker
